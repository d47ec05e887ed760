// The stand-in host's dialog toolkit: the model behind the ADM suites.
//
// Dialogs own items; list items own a list of entries. The plug-in holds
// opaque handles, which the toolkit checks against its live objects before
// every use, so a stale handle is reported instead of crashing the host.
// Nothing here waits for a person: modal dialogs are answered by queued
// actions (Driver.h), drawing goes to per-item rasters, the clock is virtual.
#pragma once

#include <cairo.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <unordered_set>
#include <string>
#include <vector>

#include "ADMSuites.h"
#include "Host.h"

namespace vt::host::toolkit {

struct Dialog;
struct Item;
struct List;
struct Entry;
class Driver;

enum class ItemKind {
    Frame,
    ListBox,
    PicturePushButton,
    PictureRadioButton,
    PictureStatic,
    PopupList,
    Slider,
    SpinEdit,
    TextCheckBox,
    TextEditMultiLine,
    TextEdit,
    TextPushButton,
    TextRadioButton,
    TextStatic,
    Child  // the text field and arrows of a spin edit
};

// The kind of an item type name; false for a name the toolkit does not know.
bool kindOfTypeName(const std::string& name, ItemKind& kind);
bool isRadio(ItemKind kind);
bool isButtonLike(ItemKind kind);  // push buttons, check boxes, radios
bool isList(ItemKind kind);
bool isEditable(ItemKind kind);  // takes typed text

// An ARGB image that drawing goes to; it keeps its pixels between draws so
// that a draw procedure can paint over what an earlier draw left.
class Raster {
public:
    Raster() = default;
    ~Raster();
    Raster(const Raster&) = delete;
    Raster& operator=(const Raster&) = delete;
    // Makes the image width x height; a new or resized image starts white.
    void ensure(int width, int height);
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The image's pixels and the bytes from one row to the next, as cairo
    // gave them when the image was made (they stay while it does): the
    // toolkit's own drawing writes them at every call.
    unsigned char* data() const { return data_; }
    int stride() const { return stride_; }
    // 0xRRGGBB of a pixel, or -1 outside the image.
    long pixel(int x, int y) const;
    // Written beside path and renamed over it when complete; error says why not.
    bool savePng(const std::string& path, std::string& error) const;
    // Pixels put straight into the image rather than through cairo: cairo
    // finishes its own drawing before the first such write, and is told of
    // them before it draws or reads the image again (endDirectWrites, which
    // every drawing through cairo calls first).
    void beginDirectWrites()
    {
        if (!direct_) beginDirectWritesNow();
    }
    void endDirectWrites() const;

private:
    void beginDirectWritesNow();

    cairo_surface_t* surface_ = nullptr;
    unsigned char* data_ = nullptr;
    int stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    mutable bool direct_ = false;
};

struct Entry {
    List* list = nullptr;
    ASInt32 id = 0;
    std::string text;
    ASInt32 picture = 0;
    ASInt32 selectedPicture = 0;
    ADMUserData userData = nullptr;
    bool selected = false;
    bool active = false;
    bool enabled = true;
};

struct List {
    Item* item = nullptr;
    bool popup = false;
    std::vector<std::unique_ptr<Entry>> entries;
    ADMEntryInitProc initProc = nullptr;
    ADMEntryDrawProc drawProc = nullptr;
    ADMEntryTrackProc trackProc = nullptr;
    ADMEntryNotifyProc notifyProc = nullptr;
    ADMEntryDestroyProc destroyProc = nullptr;
    ADMActionMask mask = kADMDefaultItemActionMask;
    ASInt32 menuId = 0;
    ASInt32 entryWidth = 0;  // 0: the item's width
    ASInt32 entryHeight = 16;
    ADMUserData userData = nullptr;

    int indexOf(const Entry* entry) const;
    Entry* active() const;
};

struct Item {
    Dialog* dialog = nullptr;
    Item* parent = nullptr;  // for the children of a spin edit
    ASInt32 id = 0;
    ItemKind kind = ItemKind::Frame;
    std::string typeName;
    ADMRect bounds{};  // within the dialog (a child: within its parent)
    ADMItemStyle style = 0;
    std::string text;
    std::string tip;
    bool tipEnabled = false;
    ASInt32 picture = 0;
    ASInt32 selectedPicture = 0;
    ASInt32 disabledPicture = 0;
    ADMJustify justify = kADMLeftJustify;
    ADMFont font = kADMDefaultFont;
    ASInt32 cursor = 0;
    bool visible = true;
    bool enabled = true;
    bool active = true;
    int radioGroup = 0;  // radio buttons created one after another share a group

    // Numeric state. Values are points as 32-bit floats.
    bool numeric = false;  // shows its value rather than free text
    float value = 0.0f;
    // A spin edit or slider given a text that is no number (an empty one,
    // say) shows that text over its value until a value is set.
    bool showsText = false;
    bool hasMin = false;
    bool hasMax = false;
    float minValue = 0.0f;
    float maxValue = 0.0f;
    float smallIncrement = 1.0f;
    float largeIncrement = 10.0f;
    ADMUnits units = kADMNoUnits;
    int precision = -1;  // -1: the toolkit's default

    ADMItemDrawProc drawProc = nullptr;
    ADMItemTrackProc trackProc = nullptr;
    ADMItemNotifyProc notifyProc = nullptr;
    ADMItemDestroyProc destroyProc = nullptr;
    ADMActionMask mask = kADMDefaultItemActionMask;
    ADMUserData userData = nullptr;

    std::unique_ptr<List> list;
    std::vector<std::unique_ptr<Item>> children;

    bool invalid = true;
    Raster raster;
    std::vector<std::string> calls;  // every drawing call made into this item, in order

    int width() const { return bounds.right - bounds.left; }
    int height() const { return bounds.bottom - bounds.top; }
    // Only a disabled (or hidden) item refuses input; a deactivated one is
    // merely shown as such.
    bool takesInput() const { return visible && enabled; }
    // The text shown: free text, or the value in the item's units (unless a
    // text is shown over it).
    std::string displayText() const;
};

struct Dialog {
    SPPluginRef plugin = nullptr;
    std::string name;
    ASInt32 resourceId = 0;
    ADMDialogStyle style = kADMModalDialogStyle;
    ADMRect bounds{};
    std::string title;
    ADMDialogDrawProc drawProc = nullptr;
    ADMDialogTrackProc trackProc = nullptr;
    ADMDialogNotifyProc notifyProc = nullptr;
    ADMDialogDestroyProc destroyProc = nullptr;
    ADMActionMask mask = 0;
    ADMUserData userData = nullptr;
    ASInt32 defaultItem = 0;
    ASInt32 cancelItem = 0;
    ASInt32 minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    ASInt32 horizontalIncrement = 1, verticalIncrement = 1;
    bool visible = true;
    bool enabled = true;
    bool modal = false;
    bool ended = false;
    ASInt32 result = 0;
    bool cancelled = false;
    bool destroying = false;
    bool hasGroup = false;
    std::string groupName;
    // Where a palette docks, in the host's numbering; 7168 is a palette
    // floating on its own, as every palette starts.
    ASInt32 positionCode = 7168;
    std::vector<std::unique_ptr<Item>> items;
    int lastRadioGroup = 0;
    int nextRadioGroup = 1;

    int width() const { return bounds.right - bounds.left; }
    int height() const { return bounds.bottom - bounds.top; }
    Item* item(ASInt32 id) const;  // the first item with that id
    bool isFloating() const { return !modal; }
};

struct Notifier {
    std::string type;
    Dialog* dialog = nullptr;
    Item* item = nullptr;
    Entry* entry = nullptr;
};

// A point local to an item, in whole pixels. A list is as tall as its
// entries, which the 16 bits of an ADMPoint cannot reach beyond about 1,600
// entries of 20 pixels; the toolkit keeps its points wide, and what it hands
// the plug-in (a point local to an entry, to a frame) is narrow again.
struct Point {
    int h = 0;
    int v = 0;
    Point() = default;
    Point(int horizontal, int vertical) : h(horizontal), v(vertical) {}
    Point(ADMPoint p) : h(p.h), v(p.v) {}
    // Within what an ADMPoint holds.
    ADMPoint narrow() const;
};

struct Tracker {
    ADMAction action = 0;
    Point point{};
    ADMModifiers modifiers = 0;
    ADMTime time = 0;
    ADMUInt16 character = 0;
    bool mouseDown = false;
    bool aborted = false;
};

// Draws into a raster; records every call into a call list.
struct Drawer {
    cairo_t* cr = nullptr;
    ADMRect bounds{};  // the drawn area, local
    ADMColor color = kADMBlackColor;
    ADMDrawMode mode = kADMNormalMode;
    std::vector<std::string>* calls = nullptr;
    Raster* raster = nullptr;
    int offsetX = 0, offsetY = 0;  // the drawn area within the raster (entries)
    // Where drawing can land, in raster pixels (right and bottom left out):
    // the clip of cr, kept here by whoever sets that clip so that drawing
    // need not ask cairo for it at every call. Unknown: cairo is asked.
    bool clipKnown = false;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    // Whether the toolkit may put pixels straight into the raster: cr draws
    // into it and shapes are stamped (Toolkit::stampShapes). Neither changes
    // while a drawing runs, so it is worked out once when the drawing starts
    // rather than at each of its hundreds of thousands of calls.
    bool direct = false;
    // Set while the fit check asks a list's draw procedure what it puts over
    // an entry's text (a swatch, a marker): nothing is painted, the box of
    // every shape the procedure draws is kept in order, and how many there
    // were when the entry's own text was set (DefaultDraw).
    std::vector<ADMRect>* shapes = nullptr;
    size_t shapesBeforeText = 0;
};

struct Icon {
    ASInt32 id = 0;
    ADMIconType type = kADMUnknownIconType;
};

// A user's answer for a file dialog: a path, or nothing for Cancel.
using FileAnswer = std::optional<std::string>;
using ColorAnswer = std::optional<ADMRGBColor>;

// One step of a scripted user inside an open modal dialog; returns false and
// sets error when it cannot be done.
using DialogAction = std::function<bool(Driver& driver, std::string& error)>;

// What happened when code drove a modal dialog (Toolkit::driveModal). The
// caller learns everything from this record and reads none of the toolkit's
// fields.
struct ModalOutcome {
    std::string name;        // the dialog that was to open
    bool opened = false;     // it opened: its init procedure ran and succeeded
    bool answered = false;   // the queued actions were run in it
    ASInt32 result = 0;      // the result it ended with (when it opened)
    bool cancelled = false;  // it ended as a cancel
    // What the code that was to open it reported (a greyed-out menu item, a
    // failed message); empty when that code did its part.
    std::string openError;
    std::vector<std::string> alerts;    // the texts of the alerts shown meanwhile, in order
    std::vector<std::string> alertKinds;  // the kind of each ("message" for a warning, "error" ...)
    std::vector<std::string> failures;  // the queued actions that failed, as the toolkit reported them

    // Opened, nothing failed and no alert was shown.
    bool clean() const { return opened && openError.empty() && failures.empty() && alerts.empty(); }
};

class Toolkit {
public:
    Toolkit();
    ~Toolkit();
    Toolkit(const Toolkit&) = delete;
    Toolkit& operator=(const Toolkit&) = delete;

    // The toolkit of the running host. The one asked for last is kept at
    // hand: every drawing call asks for it several times.
    static Toolkit& get()
    {
        Host& host = Host::current();
        return &host == keptHost_ ? *kept_ : keep(host);
    }

    // ---- Handles ----
    Dialog* dialog(ADMDialogRef ref, const char* operation);
    Item* item(ADMItemRef ref, const char* operation);
    List* list(ADMListRef ref, const char* operation);
    Entry* entry(ADMEntryRef ref, const char* operation);
    Notifier* notifier(ADMNotifierRef ref, const char* operation);
    Tracker* tracker(ADMTrackerRef ref, const char* operation);
    Drawer* drawer(ADMDrawerRef ref, const char* operation);
    Icon* icon(ADMIconRef ref, const char* operation);
    template <typename T>
    void live(T* object) { live_.insert(object); }
    template <typename T>
    void dead(T* object)
    {
        live_.erase(object);
        if (object == lastLive_) lastLive_ = nullptr;
    }
    bool isLive(const void* object) const
    {
        // A draw procedure names one drawer in call after call: the handle
        // found live last is known without searching the set again.
        if (object != nullptr && object == lastLive_) return true;
        if (live_.count(object) == 0) return false;
        lastLive_ = object;
        return true;
    }

    // ---- Dialogs and items ----
    Dialog* createDialog(SPPluginRef plugin, const std::string& name, ASInt32 resourceId, ADMDialogStyle style,
                         ADMUserData userData, bool modal);
    // Runs the destroy procedures (items first, then the dialog) and frees it.
    void destroyDialog(Dialog* dialog);
    Item* createItem(Dialog* dialog, ASInt32 id, ItemKind kind, const std::string& typeName, const ADMRect& bounds,
                     ADMUserData userData);
    void destroyItem(Item* item);
    Entry* insertEntry(List* list, int index);
    void removeEntry(List* list, int index);
    const std::vector<std::unique_ptr<Dialog>>& dialogs() const { return dialogs_; }
    Dialog* findDialog(const std::string& name) const;  // the newest open dialog of that name
    std::vector<Dialog*> modalStack;  // innermost last

    // Runs a modal dialog to its end (see Driver.h for how it is answered).
    ASInt32 runModal(Dialog* dialog, ADMDialogInitProc initProc);

    // Drives the modal dialog called name from code, as a user would: queues
    // actions as its answer, runs open (which makes the plug-in open the
    // dialog: a menu item chosen, a message sent; it returns false and sets
    // its error when it cannot), and returns what happened. An answer the
    // dialog never took is taken back, and the failures of the actions go to
    // the caller in the outcome instead of staying behind for a script to
    // stop at.
    ModalOutcome driveModal(const std::string& name, std::vector<DialogAction> actions,
                            const std::function<bool(std::string& error)>& open);

    // ---- Values ----
    void setValue(Item* item, float points);  // clamped to the item's limits
    void setBoolean(Item* item, bool on);     // radios turn the rest of their group off
    void setBounds(Dialog* dialog, const ADMRect& bounds, bool notify);

    // ---- Notifications, tracking, drawing ----
    void notify(Item* item, const std::string& type);
    void notify(Dialog* dialog, const std::string& type, Item* about = nullptr);
    void notify(Entry* entry, const std::string& type);
    ASBoolean track(Item* item, Tracker& tracker);
    ASBoolean track(Entry* entry, Tracker& tracker);
    ASBoolean track(Dialog* dialog, Tracker& tracker);
    void defaultNotify(Item* item, Notifier& notifier);
    ASBoolean defaultTrack(Item* item, Tracker& tracker);
    ASBoolean defaultTrack(Entry* entry, Tracker& tracker);
    void invalidate(Item* item);
    // Draws one item now through its draw procedure (or the default look).
    void draw(Item* item);
    // Draws every invalid visible item once; items invalidated while this
    // runs wait for the next pass. Returns how many items were drawn.
    int updatePass();
    // The pass a screen makes by itself after every action and when a dialog
    // opens: an update pass while somebody watches, else nothing.
    int updatePassIfWatched() { return watched ? updatePass() : 0; }
    // The whole dialog as one picture, every visible item drawn.
    void renderDialog(Dialog* dialog, Raster& out);

    // ---- Standard look (Render.cpp) ----
    void drawDefault(Item* item, Drawer& drawer);
    void drawDefault(Entry* entry, Drawer& drawer);

    // ---- The machine ----
    ADMRect screen{0, 0, 768, 1024};
    ADMRect paletteArea{22, 0, 768, 1024};
    uint32_t ticks = 0;
    int updatePassesAfterAction = 1;
    // Whether somebody watches the dialogs, as a person at a screen does (a
    // script's or a test's scripted user: the default). Then what became
    // invalid is painted after every action and when a dialog opens, so a draw
    // procedure runs whenever it would for a person (one that plays an
    // animation on, or keeps what the pointer tools read, relies on it). A
    // host command that only wants what a dialog writes (plot) watches
    // nothing: invalid items are then painted only when something looks at
    // them (a saved picture, a pixel read, a wait, the pointer on the item).
    bool watched = true;

    // ---- Drawing ----
    // An item records at most this many drawing calls (a large job's preview
    // makes hundreds of thousands); the rest are drawn but not recorded.
    size_t callRecordLimit = 100000;
    // Lines, rectangles and ovals are put down as the pixel sets cairo makes
    // for them, kept by shape; false draws every one through cairo (tests
    // compare the two).
    bool stampShapes = true;

    // ---- Scripted answers ----
    void queueDialog(const std::string& name, std::vector<DialogAction> actions);
    size_t queuedFor(const std::string& name) const;
    // Takes back the block queued last for name (one whose dialog never
    // opened); false when there is none.
    bool dropLastQueued(const std::string& name);
    // Names of the dialogs that still have queued answers.
    std::vector<std::string> pendingQueues() const;
    void clearQueues() { queues_.clear(); }
    std::deque<FileAnswer> fileAnswers;
    std::deque<ColorAnswer> colorAnswers;
    // What the toolkit reports (unanswered dialogs, file dialogs, failed
    // actions); each is also written to the host's output.
    std::vector<std::string> reports;
    // Queued actions that failed; a script stops at the next line.
    std::vector<std::string> failures;
    void report(const std::string& text);
    void fail(const std::string& text);
    // Every modal dialog shown, in order, with how it ended.
    struct ModalRecord {
        std::string name;
        ASInt32 result = 0;
        bool cancelled = false;
        bool answered = false;
        bool initFailed = false;  // its init procedure failed: it was never shown
    };
    std::vector<ModalRecord> modalLog;

    // ---- Resources of the plug-in ----
    std::string pluginFolder() const;
    // "Pictures/<id>.png" in the plug-in folder: the picture of an item, an
    // entry or an icon.
    std::string picturePath(ASInt32 id) const;
    // True for the toolkit's own pictures and for those the plug-in folder holds.
    bool hasPicture(ASInt32 id) const;
    // Every picture id the plug-in has handed the toolkit (items, entries,
    // the drawer, icons), and those drawn as a labelled box for want of the
    // file: tests check that the dialogs ship every picture they show.
    std::set<ASInt32> pictureIds;
    std::set<ASInt32> missingPictures;
    // The entries of a popup menu resource: "Menus/Menu-<id>.txt", lines
    // "<id>\t<text>" in UTF-8 (a byte-order mark in front is skipped).
    // False when there is no such resource; one that cannot be read is
    // reported to the host with the system's reason.
    bool loadMenu(ASInt32 menuId, std::vector<std::pair<ASInt32, std::string>>& entries);
    // The entries of a menu resource's text ('#' starts a comment line; a line
    // without a number and a tab is skipped).
    static std::vector<std::pair<ASInt32, std::string>> parseMenu(const std::string& text);
    std::vector<std::unique_ptr<Icon>> icons;

private:
    static Toolkit& keep(Host& host);
    // Forgotten when the toolkit goes, so that a host made later (perhaps
    // where the last one was) never finds it.
    static Host* keptHost_;
    static Toolkit* kept_;
    // Asked about on every call a plug-in makes, drawing included.
    std::unordered_set<const void*> live_;
    mutable const void* lastLive_ = nullptr;  // in live_ while set
    std::vector<std::unique_ptr<Dialog>> dialogs_;
    std::map<std::string, std::deque<std::vector<DialogAction>>> queues_;
};

// The visible items of a dialog in the order its picture paints them, each
// over those before it.
std::vector<Item*> paintOrder(const Dialog& dialog);

// Formats a value in points for display in units with a precision.
std::string formatValue(float points, ADMUnits units, int precision);
// Parses text typed in an item: a number in the item's units, optionally
// followed by "pt", "in" or "mm". False when it is not a number.
bool parseValue(const std::string& text, ADMUnits units, float& points);
float toPoints(double value, ADMUnits units);
double fromPoints(float points, ADMUnits units);

// Copies text into a caller's buffer of maxLength bytes, always terminated,
// never cutting through a UTF-8 character.
void copyText(const std::string& text, char* out, ASInt32 maxLength);

// RGB of a toolkit colour value (0xRRGGBB).
uint32_t rgbOf(ADMColor color);

// Handles from objects.
inline ADMDialogRef ref(Dialog* d) { return reinterpret_cast<ADMDialogRef>(d); }
inline ADMItemRef ref(Item* i) { return reinterpret_cast<ADMItemRef>(i); }
inline ADMListRef ref(List* l) { return reinterpret_cast<ADMListRef>(l); }
inline ADMEntryRef ref(Entry* e) { return reinterpret_cast<ADMEntryRef>(e); }
inline ADMNotifierRef ref(Notifier* n) { return reinterpret_cast<ADMNotifierRef>(n); }
inline ADMTrackerRef ref(Tracker* t) { return reinterpret_cast<ADMTrackerRef>(t); }
inline ADMDrawerRef ref(Drawer* d) { return reinterpret_cast<ADMDrawerRef>(d); }
inline ADMIconRef ref(Icon* i) { return reinterpret_cast<ADMIconRef>(i); }

// The QuickDraw port: set while an item's draw procedure runs.
class Port {
public:
    // A port over the item drawn through cr, keeping to the clip of drawer.
    Port(Item* item, cairo_t* cr, const Drawer* drawer);

    Item* item() const { return item_; }
    // The drawer of the item or entry being drawn: its clip is the port's.
    const Drawer* drawer() const { return drawer_; }
    void setDrawer(const Drawer* drawer);
    uint32_t penColor() const { return penColor_; }  // 0xRRGGBB
    void setPenColor(uint32_t rgb);
    // The drawer the pen draws with, in window coordinates; null when no
    // item is being drawn. QuickDraw's calls come by the hundred thousand
    // a redraw, so the pen's drawer is kept ready, changed only as the
    // drawer or the colour is, rather than put together at every call.
    Drawer* pen();

    int penH = 0, penV = 0;
    // Text drawn last whose width the pen has still to move by: measured
    // only when the pen's place is next needed, not when it is moved anew.
    std::string penAdvance;

private:
    Item* item_;
    cairo_t* cr_;
    const Drawer* drawer_ = nullptr;
    uint32_t penColor_ = 0x000000;
    Drawer pen_;
};
Port*& currentPort();

}  // namespace vt::host::toolkit
