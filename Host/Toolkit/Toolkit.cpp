// The toolkit's model: object life cycles, values, notifications, tracking,
// drawing passes and the modal loop.
#include "Toolkit/Toolkit.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ErrorText.h"
#include "Host.h"
#include "OutputFile.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Paint.h"
#include "Utf8.h"

namespace vt::host::toolkit {

// ---- Item kinds ------------------------------------------------------------------

static const std::pair<const char*, ItemKind> kKinds[] = {
    {kADMFrameType, ItemKind::Frame},
    {kADMListBoxType, ItemKind::ListBox},
    {kADMPicturePushButtonType, ItemKind::PicturePushButton},
    {kADMPictureRadioButtonType, ItemKind::PictureRadioButton},
    {kADMPictureStaticType, ItemKind::PictureStatic},
    {kADMPopupListType, ItemKind::PopupList},
    {kADMSliderType, ItemKind::Slider},
    {kADMSpinEditType, ItemKind::SpinEdit},
    {kADMTextCheckBoxType, ItemKind::TextCheckBox},
    {kADMTextEditMultiLineType, ItemKind::TextEditMultiLine},
    {kADMTextEditType, ItemKind::TextEdit},
    {kADMTextPushButtonType, ItemKind::TextPushButton},
    {kADMTextRadioButtonType, ItemKind::TextRadioButton},
    {kADMTextStaticType, ItemKind::TextStatic},
};

bool kindOfTypeName(const std::string& name, ItemKind& kind)
{
    for (const auto& k : kKinds)
        if (name == k.first) {
            kind = k.second;
            return true;
        }
    return false;
}

bool isRadio(ItemKind kind) { return kind == ItemKind::PictureRadioButton || kind == ItemKind::TextRadioButton; }

bool isButtonLike(ItemKind kind)
{
    return kind == ItemKind::PicturePushButton || kind == ItemKind::TextPushButton || kind == ItemKind::TextCheckBox ||
           isRadio(kind);
}

bool isList(ItemKind kind) { return kind == ItemKind::ListBox || kind == ItemKind::PopupList; }

bool isEditable(ItemKind kind)
{
    return kind == ItemKind::TextEdit || kind == ItemKind::TextEditMultiLine || kind == ItemKind::SpinEdit ||
           kind == ItemKind::Child;
}

// ---- Raster ----------------------------------------------------------------------

Raster::~Raster()
{
    if (surface_) cairo_surface_destroy(surface_);
}

void Raster::ensure(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (surface_ && width == width_ && height == height_) return;
    if (surface_) cairo_surface_destroy(surface_);
    direct_ = false;
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    data_ = cairo_image_surface_get_data(surface_);
    stride_ = cairo_image_surface_get_stride(surface_);
    width_ = width;
    height_ = height;
    cairo_t* cr = cairo_create(surface_);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
}

void Raster::beginDirectWritesNow()
{
    if (direct_ || !surface_) return;
    cairo_surface_flush(surface_);
    direct_ = true;
}

void Raster::endDirectWrites() const
{
    if (!direct_) return;
    cairo_surface_mark_dirty(surface_);
    direct_ = false;
}

long Raster::pixel(int x, int y) const
{
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    uint32_t v;
    std::memcpy(&v, data + y * stride + x * 4, 4);
    return static_cast<long>(v & 0xFFFFFF);
}

bool Raster::savePng(const std::string& path, std::string& error) const
{
    if (!surface_) {
        error = "cannot write the picture " + path + ": nothing has been drawn";
        return false;
    }
    endDirectWrites();
    std::string png;
    auto append = [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    };
    cairo_status_t status = cairo_surface_write_to_png_stream(surface_, append, &png);
    if (status != CAIRO_STATUS_SUCCESS) {
        error = "cannot write the picture " + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return writeFileAtomically(path, png, &error);
}

// ---- Values ----------------------------------------------------------------------

float toPoints(double value, ADMUnits units)
{
    switch (units) {
    case kADMInchUnits: return static_cast<float>(value * 72.0);
    case kADMMillimeterUnits: return static_cast<float>(value * 72.0 / 25.4);
    default: return static_cast<float>(value);
    }
}

double fromPoints(float points, ADMUnits units)
{
    switch (units) {
    case kADMInchUnits: return points / 72.0;
    case kADMMillimeterUnits: return points * 25.4 / 72.0;
    default: return points;
    }
}

static const char* unitSuffix(ADMUnits units)
{
    switch (units) {
    case kADMPointUnits: return " pt";
    case kADMInchUnits: return " in";
    case kADMMillimeterUnits: return " mm";
    default: return "";
    }
}

// Numbers are shown and read in the C locale whatever the user's locale.
static std::string formatC(double value, int precision)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(std::ios::fixed);
    out.precision(precision);
    out << value;
    std::string s = out.str();
    if (s == "-0" || s.rfind("-0.", 0) == 0) {
        bool allZero = s.find_first_not_of("-0.") == std::string::npos;
        if (allZero) s.erase(0, 1);
    }
    return s;
}

std::string formatValue(float points, ADMUnits units, int precision)
{
    if (precision < 0) precision = 2;
    return formatC(fromPoints(points, units), precision) + unitSuffix(units);
}

bool parseValue(const std::string& text, ADMUnits units, float& points)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double v;
    if (!(in >> v) || !std::isfinite(v)) return false;
    std::string suffix;
    in >> suffix;
    std::string rest;
    if (in >> rest) return false;
    ADMUnits u = units;
    if (suffix.empty()) {
    } else if (suffix == "pt") {
        u = kADMPointUnits;
    } else if (suffix == "in") {
        u = kADMInchUnits;
    } else if (suffix == "mm") {
        u = kADMMillimeterUnits;
    } else {
        return false;
    }
    points = toPoints(v, u);
    return true;
}

std::string Item::displayText() const
{
    if (!numeric || showsText) return text;
    return formatValue(value, units, precision);
}

// ---- Toolkit -------------------------------------------------------------------

Toolkit::Toolkit() = default;

Host* Toolkit::keptHost_ = nullptr;
Toolkit* Toolkit::kept_ = nullptr;

Toolkit::~Toolkit()
{
    if (kept_ == this) {
        kept_ = nullptr;
        keptHost_ = nullptr;
    }
    // The plug-in may be gone by now: dialogs still open are freed without
    // calling its procedures.
    dialogs_.clear();
}

Toolkit& Toolkit::keep(Host& host)
{
    Toolkit& kit = host.service<Toolkit>();
    keptHost_ = &host;
    kept_ = &kit;
    return kit;
}

template <typename T, typename R>
static T* checked(const Toolkit& kit, R ref, const char* operation, const char* what)
{
    T* object = reinterpret_cast<T*>(ref);
    if (object == nullptr) return nullptr;
    if (!kit.isLive(object)) {
        std::fprintf(stderr, "vantorel-host: %s: stale or unknown %s handle\n", operation, what);
        return nullptr;
    }
    return object;
}

Dialog* Toolkit::dialog(ADMDialogRef r, const char* op) { return checked<Dialog>(*this, r, op, "dialog"); }
Item* Toolkit::item(ADMItemRef r, const char* op) { return checked<Item>(*this, r, op, "item"); }
List* Toolkit::list(ADMListRef r, const char* op) { return checked<List>(*this, r, op, "list"); }
Entry* Toolkit::entry(ADMEntryRef r, const char* op) { return checked<Entry>(*this, r, op, "entry"); }
Notifier* Toolkit::notifier(ADMNotifierRef r, const char* op) { return checked<Notifier>(*this, r, op, "notifier"); }
Tracker* Toolkit::tracker(ADMTrackerRef r, const char* op) { return checked<Tracker>(*this, r, op, "tracker"); }
Drawer* Toolkit::drawer(ADMDrawerRef r, const char* op) { return checked<Drawer>(*this, r, op, "drawer"); }
Icon* Toolkit::icon(ADMIconRef r, const char* op) { return checked<Icon>(*this, r, op, "icon"); }

Item* Dialog::item(ASInt32 itemId) const
{
    for (const auto& i : items)
        if (i->id == itemId) return i.get();
    return nullptr;
}

int List::indexOf(const Entry* e) const
{
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].get() == e) return static_cast<int>(i);
    return -1;
}

Entry* List::active() const
{
    for (const auto& e : entries)
        if (e->active) return e.get();
    return nullptr;
}

Dialog* Toolkit::createDialog(SPPluginRef plugin, const std::string& name, ASInt32 resourceId, ADMDialogStyle style,
                              ADMUserData userData, bool modal)
{
    auto d = std::make_unique<Dialog>();
    d->plugin = plugin;
    d->name = name;
    d->resourceId = resourceId;
    d->style = style;
    d->userData = userData;
    d->modal = modal;
    // Until the init procedure places it: a small window centred on the screen.
    int w = 200, h = 100;
    int cx = (screen.left + screen.right) / 2, cy = (screen.top + screen.bottom) / 2;
    d->bounds = ADMRect{static_cast<ASInt16>(cy - h / 2), static_cast<ASInt16>(cx - w / 2),
                        static_cast<ASInt16>(cy + h / 2), static_cast<ASInt16>(cx + w / 2)};
    Dialog* raw = d.get();
    live(raw);
    dialogs_.push_back(std::move(d));
    return raw;
}

static void forgetItem(Toolkit& tk, Item* item)
{
    for (auto& c : item->children) forgetItem(tk, c.get());
    if (item->list) {
        for (auto& e : item->list->entries) tk.dead(e.get());
        tk.dead(item->list.get());
    }
    tk.dead(item);
}

static void runItemDestroyProcs(Toolkit& tk, Item* item)
{
    if (item->list && item->list->destroyProc)
        for (auto& e : item->list->entries)
            if (tk.isLive(e.get())) item->list->destroyProc(ref(e.get()));
    if (item->destroyProc) item->destroyProc(ref(item));
}

void Toolkit::destroyDialog(Dialog* d)
{
    if (d == nullptr || d->destroying) return;
    d->destroying = true;
    for (size_t i = 0; i < d->items.size(); ++i) runItemDestroyProcs(*this, d->items[i].get());
    if (d->destroyProc) d->destroyProc(ref(d));
    for (auto& i : d->items) forgetItem(*this, i.get());
    dead(d);
    modalStack.erase(std::remove(modalStack.begin(), modalStack.end(), d), modalStack.end());
    for (auto it = dialogs_.begin(); it != dialogs_.end(); ++it)
        if (it->get() == d) {
            dialogs_.erase(it);
            break;
        }
}

Dialog* Toolkit::findDialog(const std::string& name) const
{
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
        if ((*it)->name == name && !(*it)->destroying) return it->get();
    return nullptr;
}

Item* Toolkit::createItem(Dialog* d, ASInt32 id, ItemKind kind, const std::string& typeName, const ADMRect& bounds,
                          ADMUserData userData)
{
    auto item = std::make_unique<Item>();
    item->dialog = d;
    item->id = id;
    item->kind = kind;
    item->typeName = typeName;
    item->bounds = bounds;
    item->userData = userData;
    switch (kind) {
    case ItemKind::SpinEdit:
    case ItemKind::Slider:
        item->numeric = true;
        break;
    default: break;
    }
    if (kind == ItemKind::Slider) {
        item->hasMin = item->hasMax = true;
        item->minValue = 0.0f;
        item->maxValue = 100.0f;
    }
    if (isList(kind)) {
        item->list = std::make_unique<List>();
        item->list->item = item.get();
        item->list->popup = kind == ItemKind::PopupList;
        live(item->list.get());
    }
    // Radio buttons made one after another form one group.
    if (isRadio(kind)) {
        if (d->lastRadioGroup == 0) d->lastRadioGroup = d->nextRadioGroup++;
        item->radioGroup = d->lastRadioGroup;
    } else {
        d->lastRadioGroup = 0;
    }
    if (kind == ItemKind::SpinEdit) {
        // The text field and the two arrows.
        int w = item->width(), h = item->height();
        const ASInt32 ids[] = {kADMSpinEditTextEditChildID, kADMSpinEditUpButtonChildID, kADMSpinEditDownButtonChildID};
        for (ASInt32 childId : ids) {
            auto c = std::make_unique<Item>();
            c->dialog = d;
            c->parent = item.get();
            c->id = childId;
            c->kind = ItemKind::Child;
            c->typeName = childId == kADMSpinEditTextEditChildID ? kADMTextEditType : kADMPicturePushButtonType;
            c->bounds = childId == kADMSpinEditTextEditChildID
                            ? ADMRect{0, 0, static_cast<ASInt16>(h), static_cast<ASInt16>(std::max(0, w - 14))}
                            : ADMRect{static_cast<ASInt16>(childId == kADMSpinEditUpButtonChildID ? 0 : h / 2),
                                      static_cast<ASInt16>(std::max(0, w - 14)),
                                      static_cast<ASInt16>(childId == kADMSpinEditUpButtonChildID ? h / 2 : h),
                                      static_cast<ASInt16>(w)};
            live(c.get());
            item->children.push_back(std::move(c));
        }
    }
    Item* raw = item.get();
    live(raw);
    d->items.push_back(std::move(item));
    return raw;
}

void Toolkit::destroyItem(Item* item)
{
    if (!item || item->parent) return;
    Dialog* d = item->dialog;
    runItemDestroyProcs(*this, item);
    forgetItem(*this, item);
    for (auto it = d->items.begin(); it != d->items.end(); ++it)
        if (it->get() == item) {
            d->items.erase(it);
            break;
        }
}

Entry* Toolkit::insertEntry(List* l, int index)
{
    auto e = std::make_unique<Entry>();
    e->list = l;
    Entry* raw = e.get();
    live(raw);
    if (index < 0 || index > static_cast<int>(l->entries.size())) index = static_cast<int>(l->entries.size());
    l->entries.insert(l->entries.begin() + index, std::move(e));
    if (l->initProc) l->initProc(ref(raw));
    invalidate(l->item);
    return raw;
}

void Toolkit::removeEntry(List* l, int index)
{
    if (index < 0 || index >= static_cast<int>(l->entries.size())) return;
    Entry* e = l->entries[index].get();
    if (l->destroyProc) l->destroyProc(ref(e));
    dead(e);
    l->entries.erase(l->entries.begin() + index);
    invalidate(l->item);
}

// ---- Values ----------------------------------------------------------------------

void Toolkit::setValue(Item* item, float points)
{
    if (std::isnan(points)) return;
    if (item->hasMax && points > item->maxValue) points = item->maxValue;
    if (item->hasMin && points < item->minValue) points = item->minValue;
    item->value = points;
    item->showsText = false;
    invalidate(item);
}

void Toolkit::setBoolean(Item* item, bool on)
{
    item->value = on ? 1.0f : 0.0f;
    invalidate(item);
    if (on && isRadio(item->kind) && item->radioGroup != 0) {
        for (auto& other : item->dialog->items)
            if (other.get() != item && other->radioGroup == item->radioGroup && other->value != 0.0f) {
                other->value = 0.0f;
                invalidate(other.get());
            }
    }
}

void Toolkit::setBounds(Dialog* d, const ADMRect& bounds, bool notifyChange)
{
    ADMRect b = bounds;
    int w = b.right - b.left, h = b.bottom - b.top;
    if (d->minWidth > 0 && w < d->minWidth) w = d->minWidth;
    if (d->minHeight > 0 && h < d->minHeight) h = d->minHeight;
    if (d->maxWidth > 0 && w > d->maxWidth) w = d->maxWidth;
    if (d->maxHeight > 0 && h > d->maxHeight) h = d->maxHeight;
    b.right = static_cast<ASInt16>(b.left + w);
    b.bottom = static_cast<ASInt16>(b.top + h);
    bool changed = std::memcmp(&b, &d->bounds, sizeof b) != 0;
    d->bounds = b;
    if (changed && notifyChange) notify(d, kADMBoundsChangedNotifier);
}

// ---- Notifications -----------------------------------------------------------------

namespace {
template <typename T>
struct LiveGuard {
    Toolkit& tk;
    T* object;
    LiveGuard(Toolkit& t, T* o) : tk(t), object(o) { tk.live(o); }
    ~LiveGuard() { tk.dead(object); }
};
}  // namespace

void Toolkit::notify(Item* item, const std::string& type)
{
    Notifier n{type, item->dialog, item, nullptr};
    LiveGuard<Notifier> guard(*this, &n);
    if (item->notifyProc)
        item->notifyProc(ref(item), ref(&n));
    else
        defaultNotify(item, n);
}

void Toolkit::defaultNotify(Item* item, Notifier& n)
{
    // What an item does not handle goes on to its dialog.
    Dialog* d = item->dialog;
    if (item->parent == nullptr && d && d->notifyProc && isLive(d) && !d->destroying) d->notifyProc(ref(d), ref(&n));
}

void Toolkit::notify(Dialog* d, const std::string& type, Item* about)
{
    Notifier n{type, d, about, nullptr};
    LiveGuard<Notifier> guard(*this, &n);
    if (d->notifyProc) d->notifyProc(ref(d), ref(&n));
}

void Toolkit::notify(Entry* e, const std::string& type)
{
    Item* item = e->list->item;
    Notifier n{type, item->dialog, item, e};
    LiveGuard<Notifier> guard(*this, &n);
    if (e->list->notifyProc)
        e->list->notifyProc(ref(e), ref(&n));
    else
        notify(item, type);
}

// ---- Tracking ----------------------------------------------------------------------

static bool maskAllows(ADMActionMask mask, ADMAction action)
{
    switch (action) {
    case kADMButtonDownAction: return mask & kADMButtonDownMask;
    case kADMMouseMovedDownAction: return mask & kADMMouseMovedDownMask;
    case kADMButtonUpAction: return mask & kADMButtonUpMask;
    case kADMMouseMovedUpAction: return mask & kADMMouseMovedUpMask;
    case kADMKeyStrokeAction: return mask & kADMKeyStrokeMask;
    default: return false;
    }
}

ASBoolean Toolkit::track(Item* item, Tracker& t)
{
    if (!maskAllows(item->mask, t.action)) {
        // Lists hand their entries the events the list's own mask asks for.
        if (item->list && maskAllows(item->list->mask, t.action)) return defaultTrack(item, t);
        return false;
    }
    LiveGuard<Tracker> guard(*this, &t);
    if (item->trackProc) return item->trackProc(ref(item), ref(&t));
    return defaultTrack(item, t);
}

ADMPoint Point::narrow() const
{
    auto hold = [](int value) {
        return static_cast<ASInt16>(std::clamp(value, int(INT16_MIN), int(INT16_MAX)));
    };
    return ADMPoint{hold(h), hold(v)};
}

static Entry* entryAt(List* l, Point p, int* index)
{
    if (index) *index = -1;
    if (l->popup || l->entryHeight <= 0 || p.v < 0 || p.h < 0) return nullptr;
    int width = l->entryWidth > 0 ? l->entryWidth : l->item->width();
    if (p.h >= width) return nullptr;
    int i = p.v / l->entryHeight;
    if (i >= static_cast<int>(l->entries.size())) return nullptr;
    if (index) *index = i;
    return l->entries[i].get();
}

ASBoolean Toolkit::defaultTrack(Item* item, Tracker& t)
{
    if (item->kind == ItemKind::ListBox && item->list) {
        Entry* e = entryAt(item->list.get(), t.point, nullptr);
        if (e && maskAllows(item->list->mask, t.action)) {
            Tracker et = t;
            // Entry trackers see points local to the entry.
            et.point.v = t.point.v - item->list->indexOf(e) * item->list->entryHeight;
            ASBoolean r = track(e, et);
            t.aborted = t.aborted || et.aborted;
            return r;
        }
        return false;
    }
    if (item->kind == ItemKind::Slider && (t.action == kADMButtonDownAction || t.action == kADMMouseMovedDownAction)) {
        int w = std::max(1, item->width());
        float f = std::clamp(static_cast<float>(t.point.h) / static_cast<float>(w), 0.0f, 1.0f);
        setValue(item, item->minValue + f * (item->maxValue - item->minValue));
    }
    return false;
}

ASBoolean Toolkit::track(Entry* e, Tracker& t)
{
    LiveGuard<Tracker> guard(*this, &t);
    if (e->list->trackProc) return e->list->trackProc(ref(e), ref(&t));
    return defaultTrack(e, t);
}

ASBoolean Toolkit::defaultTrack(Entry* e, Tracker& t)
{
    if (t.action == kADMButtonDownAction && e->enabled) {
        for (auto& other : e->list->entries) {
            other->selected = false;
            other->active = false;
        }
        e->selected = true;
        e->active = true;
        invalidate(e->list->item);
    }
    return false;
}

ASBoolean Toolkit::track(Dialog* d, Tracker& t)
{
    if (!maskAllows(d->mask, t.action)) return false;
    LiveGuard<Tracker> guard(*this, &t);
    if (d->trackProc) return d->trackProc(ref(d), ref(&t));
    return false;
}

// ---- Drawing -----------------------------------------------------------------------

void Toolkit::invalidate(Item* item)
{
    if (item) item->invalid = true;
}

Port*& currentPort()
{
    static Port* port = nullptr;
    return port;
}

Port::Port(Item* item, cairo_t* cr, const Drawer* drawer) : item_(item), cr_(cr)
{
    pen_.cr = cr;
    if (item) {
        pen_.raster = &item->raster;
        pen_.calls = &item->calls;
    }
    setDrawer(drawer);
    setPenColor(0x000000);
}

void Port::setDrawer(const Drawer* drawer)
{
    drawer_ = drawer;
    pen_.clipKnown = drawer && drawer->clipKnown;
    if (pen_.clipKnown) {
        pen_.clipLeft = drawer->clipLeft;
        pen_.clipTop = drawer->clipTop;
        pen_.clipRight = drawer->clipRight;
        pen_.clipBottom = drawer->clipBottom;
    }
    pen_.direct = drawer && drawer->direct;
}

void Port::setPenColor(uint32_t rgb)
{
    penColor_ = rgb;
    pen_.color = (rgb << 8) | 0xFF;  // a colour of its own, black and white included
}

Drawer* Port::pen()
{
    if (!item_ || !cr_) return nullptr;
    // The item's place in the window is read at each call: a draw procedure
    // may move its item.
    pen_.offsetX = -item_->bounds.left;
    pen_.offsetY = -item_->bounds.top;
    return &pen_;
}

void Toolkit::draw(Item* item)
{
    item->raster.ensure(item->width(), item->height());
    cairo_t* cr = cairo_create(item->raster.surface());
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    Drawer drawer;
    drawer.cr = cr;
    drawer.bounds = ADMRect{0, 0, static_cast<ASInt16>(item->height()), static_cast<ASInt16>(item->width())};
    drawer.calls = &item->calls;
    drawer.raster = &item->raster;
    drawer.clipKnown = true;  // a new context: the whole raster
    drawer.clipRight = item->raster.width();
    drawer.clipBottom = item->raster.height();
    drawer.direct = stampShapes && item->raster.data() && cairo_get_target(cr) == item->raster.surface();
    Port port(item, cr, &drawer);
    Port* previous = currentPort();
    currentPort() = &port;
    item->invalid = false;
    {
        LiveGuard<Drawer> guard(*this, &drawer);
        if (item->drawProc) {
            item->drawProc(ref(item), ref(&drawer));
        } else {
            if (item->kind == ItemKind::Frame) {
                item->raster.endDirectWrites();
                // A group box nobody draws into shows the dialog behind it.
                uint32_t bg = rgbOf(kADMBackgroundColor);
                cairo_set_source_rgb(cr, ((bg >> 16) & 0xFF) / 255.0, ((bg >> 8) & 0xFF) / 255.0, (bg & 0xFF) / 255.0);
                cairo_paint(cr);
            }
            drawDefault(item, drawer);
        }
    }
    currentPort() = previous;
    item->raster.endDirectWrites();
    cairo_destroy(cr);
}

int Toolkit::updatePass()
{
    std::vector<Item*> pending;
    for (auto& d : dialogs_)
        if (d->visible && !d->destroying)
            for (auto& i : d->items)
                if (i->visible && i->invalid) pending.push_back(i.get());
    int drawn = 0;
    for (Item* i : pending)
        if (isLive(i) && i->invalid) {
            draw(i);
            ++drawn;
        }
    return drawn;
}

void Toolkit::renderDialog(Dialog* d, Raster& out)
{
    out.ensure(d->width(), d->height());
    cairo_t* cr = cairo_create(out.surface());
    uint32_t bg = rgbOf(kADMBackgroundColor);
    cairo_set_source_rgb(cr, ((bg >> 16) & 0xFF) / 255.0, ((bg >> 8) & 0xFF) / 255.0, (bg & 0xFF) / 255.0);
    cairo_paint(cr);
    for (Item* item : paintOrder(*d)) {
        if (item->invalid || !item->raster.surface()) draw(item);
        item->raster.endDirectWrites();
        cairo_set_source_surface(cr, item->raster.surface(), item->bounds.left, item->bounds.top);
        cairo_rectangle(cr, item->bounds.left, item->bounds.top, item->width(), item->height());
        cairo_fill(cr);
    }
    cairo_destroy(cr);
}

std::vector<Item*> paintOrder(const Dialog& d)
{
    // Group boxes (frames the plug-in does not draw) lie behind the items they
    // group, wherever they stand in the item order; the rest in item order.
    std::vector<Item*> order;
    auto groupBox = [](const Item* item) { return item->kind == ItemKind::Frame && !item->drawProc; };
    for (bool boxes : {true, false})
        for (const auto& item : d.items)
            if (item->visible && groupBox(item.get()) == boxes) order.push_back(item.get());
    return order;
}

// ---- Modal dialogs ---------------------------------------------------------------------

void Toolkit::queueDialog(const std::string& name, std::vector<DialogAction> actions)
{
    queues_[name].push_back(std::move(actions));
}

bool Toolkit::dropLastQueued(const std::string& name)
{
    auto it = queues_.find(name);
    if (it == queues_.end() || it->second.empty()) return false;
    it->second.pop_back();
    return true;
}

size_t Toolkit::queuedFor(const std::string& name) const
{
    auto it = queues_.find(name);
    return it == queues_.end() ? 0 : it->second.size();
}

std::vector<std::string> Toolkit::pendingQueues() const
{
    std::vector<std::string> names;
    for (const auto& [name, blocks] : queues_)
        if (!blocks.empty()) names.push_back(name);
    return names;
}

void Toolkit::report(const std::string& text)
{
    reports.push_back(text);
    if (Host::exists()) Host::current().out() << "toolkit: " << text << "\n";
}

void Toolkit::fail(const std::string& text)
{
    failures.push_back(text);
    report(text);
}

ASInt32 Toolkit::runModal(Dialog* d, ADMDialogInitProc initProc)
{
    modalStack.push_back(d);
    ModalRecord record{d->name};
    ASErr error = initProc ? initProc(ref(d)) : kNoErr;
    if (error != kNoErr) {
        report("\"" + d->name + "\": the init procedure failed with error " + errorText(error));
        d->ended = true;
        d->result = -1;
        d->cancelled = true;
        record.initFailed = true;
    } else {
        updatePassIfWatched();
        auto it = queues_.find(d->name);
        if (it != queues_.end() && !it->second.empty()) {
            std::vector<DialogAction> actions = std::move(it->second.front());
            it->second.pop_front();
            record.answered = true;
            Driver driver(*this, d);
            for (size_t i = 0; i < actions.size(); ++i) {
                if (d->ended) {
                    fail("\"" + d->name + "\" ended before its action " + std::to_string(i + 1) + " of " +
                         std::to_string(actions.size()));
                    break;
                }
                std::string problem;
                if (!actions[i](driver, problem)) {
                    fail("\"" + d->name + "\", action " + std::to_string(i + 1) + ": " + problem);
                    break;
                }
            }
        }
        if (!d->ended && isLive(d)) {
            d->ended = true;
            d->cancelled = true;
            d->result = d->cancelItem != 0 ? d->cancelItem : 2;
            report("\"" + d->name + "\" was not answered; closed as a cancel with result " + std::to_string(d->result));
        }
    }
    ASInt32 result = d->result;
    record.result = result;
    record.cancelled = d->cancelled;
    modalLog.push_back(record);
    destroyDialog(d);
    return result;
}

ModalOutcome Toolkit::driveModal(const std::string& name, std::vector<DialogAction> actions,
                                 const std::function<bool(std::string& error)>& open)
{
    ModalOutcome outcome;
    outcome.name = name;
    const size_t logBefore = modalLog.size();
    const size_t failuresBefore = failures.size();
    const size_t alertsBefore = Host::exists() ? Host::current().alerts().size() : 0;
    queueDialog(name, std::move(actions));

    std::string error;
    if (!open(error) && error.empty()) error = "\"" + name + "\" could not be opened";
    outcome.openError = error;

    // The last run of the dialog is the one that counts (a dialog shown from
    // inside another ends before it).
    const ModalRecord* record = nullptr;
    for (size_t i = logBefore; i < modalLog.size(); ++i)
        if (modalLog[i].name == name) record = &modalLog[i];
    if (record != nullptr) {
        outcome.opened = !record->initFailed;
        outcome.answered = record->answered;
        outcome.result = record->result;
        outcome.cancelled = record->cancelled;
    }
    // Answers are taken oldest first: while any answer for the dialog is
    // left, the driven one (the newest) is among them.
    if (queuedFor(name) > 0) dropLastQueued(name);
    if (failures.size() > failuresBefore) {
        outcome.failures.assign(failures.begin() + static_cast<std::ptrdiff_t>(failuresBefore), failures.end());
        failures.resize(failuresBefore);
    }
    if (Host::exists()) {
        const auto& alerts = Host::current().alerts();
        for (size_t i = alertsBefore; i < alerts.size(); ++i) {
            outcome.alerts.push_back(alerts[i].text);
            outcome.alertKinds.push_back(alerts[i].kind);
        }
    }
    return outcome;
}

// ---- Resources -------------------------------------------------------------------------

std::string Toolkit::pluginFolder() const { return Host::exists() ? Host::current().pluginFolder() : std::string(); }

std::string Toolkit::picturePath(ASInt32 id) const { return pluginFolder() + "/Pictures/" + std::to_string(id) + ".png"; }

bool Toolkit::hasPicture(ASInt32 id) const
{
    if (hasBuiltInPicture(id)) return true;
    std::error_code ec;
    return id != 0 && std::filesystem::is_regular_file(picturePath(id), ec);
}

bool Toolkit::loadMenu(ASInt32 menuId, std::vector<std::pair<ASInt32, std::string>>& entries)
{
    std::string path = pluginFolder() + "/Menus/Menu-" + std::to_string(menuId) + ".txt", text, error;
    switch (readWholeFile(path, text, error, kResourceFileLimit, "a menu file")) {
    case ReadStatus::Missing:
        return false;
    case ReadStatus::Unreadable:
        if (Host::exists()) Host::current().reportProblem(error);
        return false;
    case ReadStatus::Read:
        break;
    }
    entries = parseMenu(text);
    return true;
}

std::vector<std::pair<ASInt32, std::string>> Toolkit::parseMenu(const std::string& text)
{
    return numberedLines(text);
}

// A text longer than the buffer is cut before the character that does not fit
// whole, never through it.
void copyText(const std::string& text, char* out, ASInt32 maxLength)
{
    if (!out || maxLength <= 0) return;
    size_t n = utf8CutLength(text, static_cast<size_t>(maxLength - 1));
    std::memcpy(out, text.data(), n);
    out[n] = 0;
}

// ---- Colours ------------------------------------------------------------------------------

uint32_t rgbOf(ADMColor color)
{
    static const uint32_t palette[] = {
        0x000000,  // black
        0xFFFFFF,  // white
        0x3875D7,  // highlight
        0xFFFFFF,  // highlighted text
        0xF4F4F4,  // light
        0xECECEC,  // dialog background
        0x9A9A9A,  // shadow
        0xA8A8A8,  // disabled
        0xF8F8F8,  // button up
        0xC8C8C8,  // button down
        0x808080,  // button down shadow
        0xFFFFE1,  // tool tip background
        0x000000,  // tool tip text
        0xFFFFFF,  // window
        0x000000,  // text
        0x404040,  // dark shadow
        0xB4B4B4,  // grid
    };
    if (color < sizeof palette / sizeof palette[0]) return palette[color];
    if (color < 256) return 0x000000;
    return color >> 8;
}

}  // namespace vt::host::toolkit
