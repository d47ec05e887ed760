#include "Toolkit/Driver.h"

#include <algorithm>
#include <cmath>

namespace vt::host::toolkit {

// A person takes a moment between two gestures; only the two presses of a
// double click come quickly after each other.
static constexpr uint32_t kTicksBetweenGestures = 600;
static constexpr uint32_t kTicksOfDoubleClick = 10;

Dialog* Driver::dialog() const { return tk_.isLive(dialog_) ? dialog_ : nullptr; }

bool Driver::ready(std::string& error)
{
    Dialog* d = dialog();
    if (!d) {
        error = "the dialog is gone";
        return false;
    }
    if (d->modal && d->ended) {
        error = "\"" + d->name + "\" has already ended";
        return false;
    }
    return true;
}

Item* Driver::find(ASInt32 itemId, std::string& error)
{
    if (!ready(error)) return nullptr;
    Item* item = dialog_->item(itemId);
    if (!item) error = "\"" + dialog_->name + "\" has no item " + std::to_string(itemId);
    return item;
}

Item* Driver::usable(ASInt32 itemId, std::string& error)
{
    Item* item = find(itemId, error);
    if (!item) return nullptr;
    if (!item->visible) {
        error = "item " + std::to_string(itemId) + " is hidden";
        return nullptr;
    }
    if (!item->enabled) {
        error = "item " + std::to_string(itemId) + " is disabled";
        return nullptr;
    }
    return item;
}

void Driver::settle()
{
    for (int i = 0; i < tk_.updatePassesAfterAction; ++i)
        if (tk_.updatePass() == 0) break;
}

void Driver::wait(uint32_t ticks, int passes)
{
    tk_.ticks += ticks;
    for (int i = 0; i < passes; ++i)
        if (tk_.updatePass() == 0) break;
}

bool Driver::sendUserChange(Item* item, Entry* entry)
{
    if (!tk_.isLive(item)) return false;
    switch (item->kind) {
    case ItemKind::TextCheckBox: tk_.setBoolean(item, item->value == 0.0f); break;
    case ItemKind::TextRadioButton:
    case ItemKind::PictureRadioButton: tk_.setBoolean(item, true); break;
    case ItemKind::TextPushButton:
    case ItemKind::PicturePushButton:
    case ItemKind::Slider:
    case ItemKind::ListBox:
    case ItemKind::PopupList: break;
    default: return false;  // frames and static items have no change of their own
    }
    if (entry && tk_.isLive(entry))
        tk_.notify(entry, kADMUserChangedNotifier);
    else
        tk_.notify(item, kADMUserChangedNotifier);
    return true;
}

bool Driver::press(ASInt32 itemId, Point point, ADMModifiers modifiers, std::string& error)
{
    Item* item = usable(itemId, error);
    if (!item) return false;
    if (captured_) {
        error = "the button is already down";
        return false;
    }
    tk_.ticks += kTicksBetweenGestures;
    captured_ = item;
    aborted_ = false;
    pressedEntry_ = nullptr;
    if (item->list && item->kind == ItemKind::ListBox) {
        List* l = item->list.get();
        int i = l->entryHeight > 0 ? point.v / l->entryHeight : -1;
        if (point.v >= 0 && i >= 0 && i < static_cast<int>(l->entries.size())) pressedEntry_ = l->entries[i].get();
    }
    aborted_ = trackPointer(item, kADMButtonDownAction, point, modifiers, true);
    settle();
    return true;
}

// One pointer event to an item's tracking at the current tick; answers
// whether the item's track procedure aborted the tracking.
bool Driver::trackPointer(Item* item, ADMAction action, Point point, ADMModifiers modifiers, bool mouseDown)
{
    Tracker t;
    t.action = action;
    t.point = point;
    t.modifiers = modifiers;
    t.time = tk_.ticks;
    t.mouseDown = mouseDown;
    tk_.track(item, t);
    return t.aborted;
}

bool Driver::drag(Point point, ADMModifiers modifiers, std::string& error)
{
    if (!ready(error)) return false;
    if (!captured_ || !tk_.isLive(captured_)) {
        error = "drag without a press";
        return false;
    }
    tk_.ticks += 1;
    if (!aborted_) {
        aborted_ = trackPointer(captured_, kADMMouseMovedDownAction, point, modifiers, true);
    }
    settle();
    return true;
}

bool Driver::release(Point point, ADMModifiers modifiers, std::string& error)
{
    if (!ready(error)) return false;
    if (!captured_ || !tk_.isLive(captured_)) {
        error = "release without a press";
        captured_ = nullptr;
        return false;
    }
    Item* item = captured_;
    Entry* entry = pressedEntry_;
    captured_ = nullptr;
    pressedEntry_ = nullptr;
    tk_.ticks += 1;
    if (!aborted_) {
        trackPointer(item, kADMButtonUpAction, point, modifiers, false);
    }
    // A click counts when it is released over the item (or was taken over
    // by the item's own tracking).
    bool inside = point.h >= 0 && point.v >= 0 && point.h < item->width() && point.v < item->height();
    if (inside || aborted_) sendUserChange(item, entry);
    settle();
    return true;
}

bool Driver::click(ASInt32 itemId, std::string& error, ADMModifiers modifiers)
{
    Item* item = usable(itemId, error);
    if (!item) return false;
    Point centre{item->width() / 2, item->height() / 2};
    return press(itemId, centre, modifiers, error) && release(centre, modifiers, error);
}

bool Driver::doubleClick(ASInt32 itemId, Point point, ADMModifiers modifiers, std::string& error)
{
    if (!press(itemId, point, modifiers, error) || !release(point, modifiers, error)) return false;
    tk_.ticks -= kTicksBetweenGestures;
    tk_.ticks += kTicksOfDoubleClick;
    return press(itemId, point, modifiers, error) && release(point, modifiers, error);
}

bool Driver::hover(ASInt32 itemId, Point point, ADMModifiers modifiers, std::string& error)
{
    Item* item = find(itemId, error);
    if (!item) return false;
    tk_.ticks += 1;
    trackPointer(item, kADMMouseMovedUpAction, point, modifiers, false);
    settle();
    return true;
}

bool Driver::type(ASInt32 itemId, const std::string& text, std::string& error)
{
    Item* item = usable(itemId, error);
    if (!item) return false;
    if (!isEditable(item->kind)) {
        error = "item " + std::to_string(itemId) + " (" + item->typeName + ") takes no typing";
        return false;
    }
    tk_.ticks += kTicksBetweenGestures;
    if (item->kind == ItemKind::SpinEdit) {
        Item* field = nullptr;
        for (auto& c : item->children)
            if (c->id == kADMSpinEditTextEditChildID) field = c.get();
        if (field && (!field->enabled || !field->visible)) {
            error = "the text field of item " + std::to_string(itemId) + " is switched off";
            return false;
        }
    }
    if (item->numeric) {
        float points;
        if (!parseValue(text, item->units, points)) {
            // As a real toolkit: the field refuses the text, beeps and keeps its value.
            tk_.report("item " + std::to_string(itemId) + " refused \"" + text + "\": not a number");
            return true;
        }
        tk_.setValue(item, points);
    } else {
        item->text = text;
        tk_.invalidate(item);
    }
    tk_.notify(item, kADMUserChangedNotifier);
    settle();
    return true;
}

bool Driver::spin(ASInt32 itemId, int steps, bool large, std::string& error)
{
    Item* item = usable(itemId, error);
    if (!item) return false;
    if (item->kind != ItemKind::SpinEdit) {
        error = "item " + std::to_string(itemId) + " is not a spin edit";
        return false;
    }
    long long presses = steps < 0 ? -static_cast<long long>(steps) : steps;
    if (presses < 1 || presses > kMostSpinPresses) {
        error = "a spin edit's arrow is pressed 1 to " + std::to_string(kMostSpinPresses) + " times, not " +
                std::to_string(presses);
        return false;
    }
    float inc = large ? item->largeIncrement : item->smallIncrement;
    for (long long i = 0; i < presses; ++i) {
        tk_.ticks += kTicksBetweenGestures;
        tk_.setValue(item, item->value + (steps > 0 ? inc : -inc));
        tk_.notify(item, kADMUserChangedNotifier);
        if (!ready(error)) return false;
    }
    settle();
    return true;
}

static Entry* findEntry(List* l, const std::string& what)
{
    if (what.size() > 1 && what[0] == '#') {
        char* end = nullptr;
        long i = std::strtol(what.c_str() + 1, &end, 10);
        if (*end == 0 && i >= 0 && i < static_cast<long>(l->entries.size())) return l->entries[i].get();
        return nullptr;
    }
    if (what.rfind("id=", 0) == 0) {
        char* end = nullptr;
        long id = std::strtol(what.c_str() + 3, &end, 10);
        if (*end != 0) return nullptr;
        for (auto& e : l->entries)
            if (e->id == id) return e.get();
        return nullptr;
    }
    for (auto& e : l->entries)
        if (e->text == what) return e.get();
    // Lists often pad their texts; a trimmed match will do.
    for (auto& e : l->entries) {
        std::string t = e->text;
        t.erase(0, t.find_first_not_of(' '));
        if (t == what) return e.get();
    }
    return nullptr;
}

bool Driver::choose(ASInt32 itemId, const std::string& what, std::string& error)
{
    Item* item = usable(itemId, error);
    if (!item) return false;
    if (!item->list) {
        error = "item " + std::to_string(itemId) + " has no list";
        return false;
    }
    List* l = item->list.get();
    Entry* e = findEntry(l, what);
    if (!e) {
        error = "item " + std::to_string(itemId) + " has no entry \"" + what + "\"";
        return false;
    }
    if (!e->enabled) {
        error = "entry \"" + what + "\" is disabled";
        return false;
    }
    if (l->popup) {
        tk_.ticks += kTicksBetweenGestures;
        for (auto& other : l->entries) other->selected = other->active = false;
        e->selected = e->active = true;
        tk_.invalidate(item);
        tk_.notify(item, kADMUserChangedNotifier);
        settle();
        return true;
    }
    int index = l->indexOf(e);
    int width = l->entryWidth > 0 ? std::min<int>(l->entryWidth, item->width()) : item->width();
    Point p{width / 2, index * l->entryHeight + l->entryHeight / 2};
    return press(itemId, p, 0, error) && release(p, 0, error);
}

bool Driver::key(ADMUInt16 character, ADMModifiers modifiers, std::string& error)
{
    if (!ready(error)) return false;
    tk_.ticks += kTicksBetweenGestures;
    Tracker t;
    t.action = kADMKeyStrokeAction;
    t.character = character;
    t.modifiers = modifiers;
    t.time = tk_.ticks;
    tk_.track(dialog_, t);
    settle();
    return true;
}

bool Driver::resize(int width, int height, std::string& error)
{
    if (!ready(error)) return false;
    Dialog* d = dialog_;
    if (d->style != kADMResizingModalDialogStyle && d->modal) {
        error = "\"" + d->name + "\" cannot be resized";
        return false;
    }
    // The window grows and shrinks in steps of its increments from its minimum size.
    auto snap = [](int v, int min, int inc) {
        if (inc <= 1) return v;
        int base = min > 0 ? min : 0;
        if (v <= base) return base;
        return base + ((v - base) / inc) * inc;
    };
    width = snap(width, d->minWidth, d->horizontalIncrement);
    height = snap(height, d->minHeight, d->verticalIncrement);
    ADMRect b = d->bounds;
    b.right = static_cast<ASInt16>(b.left + width);
    b.bottom = static_cast<ASInt16>(b.top + height);
    tk_.setBounds(d, b, true);
    settle();
    return true;
}

bool Driver::close(std::string& error)
{
    if (!ready(error)) return false;
    Dialog* d = dialog_;
    if (!d->modal) {
        d->visible = false;
        return true;
    }
    d->ended = true;
    d->cancelled = true;
    d->result = d->cancelItem != 0 ? d->cancelItem : 2;
    return true;
}

bool Driver::savePicture(const std::string& path, ASInt32 itemId, std::string& error)
{
    if (!ready(error)) return false;
    bool ok;
    if (itemId == 0) {
        Raster picture;
        tk_.renderDialog(dialog_, picture);
        ok = picture.savePng(path, error);
    } else {
        Item* item = find(itemId, error);
        if (!item) return false;
        if (item->invalid || !item->raster.surface()) tk_.draw(item);
        ok = item->raster.savePng(path, error);
    }
    return ok;
}

}  // namespace vt::host::toolkit
