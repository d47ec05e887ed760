// "ADM Item Suite": items, their state, texts, pictures and numeric values.
#include <cmath>
#include <cstring>

#include "ErrorText.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {
namespace {

Toolkit& tk() { return Toolkit::get(); }

#define ITEM_OR(ret)                        \
    Item* i = tk().item(item, __func__);   \
    if (!i) return ret

ADMItemRef create(ADMDialogRef dialog, ASInt32 itemID, const char* itemType, const ADMRect* bounds,
                  ADMItemInitProc initProc, ADMUserData userData, ASInt32 options)
{
    Dialog* d = tk().dialog(dialog, "Create");
    if (!d) return nullptr;
    ItemKind kind;
    std::string type = itemType ? itemType : "";
    if (!kindOfTypeName(type, kind)) {
        tk().report("\"" + d->name + "\": unknown item type \"" + type + "\" for item " + std::to_string(itemID));
        return nullptr;
    }
    ADMRect b = bounds ? *bounds : ADMRect{0, 0, 0, 0};
    Item* i = tk().createItem(d, itemID, kind, type, b, userData);
    if (initProc) {
        ASErr error = initProc(ref(i));
        if (error != kNoErr)
            tk().report("\"" + d->name + "\": item " + std::to_string(itemID) + ": init procedure error " +
                        errorText(error));
    }
    return tk().isLive(i) ? ref(i) : nullptr;
}

void destroy(ADMItemRef item)
{
    ITEM_OR();
    tk().destroyItem(i);
}

ADMDialogRef getDialog(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return ref(i->dialog);
}
ASInt32 getID(ADMItemRef item)
{
    ITEM_OR(0);
    return i->id;
}
const char* getItemType(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->typeName.c_str();
}
ADMItemRef getChildItem(ADMItemRef item, ASInt32 childID)
{
    ITEM_OR(nullptr);
    for (auto& c : i->children)
        if (c->id == childID) return ref(c.get());
    return nullptr;
}
ADMListRef getList(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->list ? ref(i->list.get()) : nullptr;
}
ADMUserData getUserData(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->userData;
}
void setUserData(ADMItemRef item, ADMUserData data)
{
    ITEM_OR();
    i->userData = data;
}
void setItemStyle(ADMItemRef item, ADMItemStyle style)
{
    ITEM_OR();
    i->style = style;
    tk().invalidate(i);
}
ADMItemStyle getItemStyle(ADMItemRef item)
{
    ITEM_OR(0);
    return i->style;
}
void show(ADMItemRef item, ASBoolean on)
{
    ITEM_OR();
    i->visible = on != 0;
    tk().invalidate(i);
}
ASBoolean isVisible(ADMItemRef item)
{
    ITEM_OR(false);
    return i->visible;
}
void enable(ADMItemRef item, ASBoolean on)
{
    ITEM_OR();
    i->enabled = on != 0;
    tk().invalidate(i);
}
ASBoolean isEnabled(ADMItemRef item)
{
    ITEM_OR(false);
    return i->enabled;
}
void activate(ADMItemRef item, ASBoolean on)
{
    ITEM_OR();
    i->active = on != 0;
    tk().invalidate(i);
}
ASBoolean isActive(ADMItemRef item)
{
    ITEM_OR(false);
    return i->active;
}
void getBoundsRect(ADMItemRef item, ADMRect* bounds)
{
    ITEM_OR();
    if (bounds) *bounds = i->bounds;
}
void setBounds(Item* i, const ADMRect& b)
{
    bool changed = std::memcmp(&b, &i->bounds, sizeof b) != 0;
    i->bounds = b;
    tk().invalidate(i);
    if (changed && i->parent == nullptr) tk().notify(i, kADMBoundsChangedNotifier);
}
void setBoundsRect(ADMItemRef item, const ADMRect* bounds)
{
    ITEM_OR();
    if (bounds) setBounds(i, *bounds);
}
void getLocalRect(ADMItemRef item, ADMRect* rect)
{
    ITEM_OR();
    if (rect) *rect = ADMRect{0, 0, static_cast<ASInt16>(i->height()), static_cast<ASInt16>(i->width())};
}
void move(ADMItemRef item, ASInt32 h, ASInt32 v)
{
    ITEM_OR();
    setBounds(i, ADMRect{static_cast<ASInt16>(v), static_cast<ASInt16>(h), static_cast<ASInt16>(v + i->height()),
                         static_cast<ASInt16>(h + i->width())});
}
void size(ADMItemRef item, ASInt32 width, ASInt32 height)
{
    ITEM_OR();
    ADMRect b = i->bounds;
    b.right = static_cast<ASInt16>(b.left + width);
    b.bottom = static_cast<ASInt16>(b.top + height);
    setBounds(i, b);
}
void setDrawProc(ADMItemRef item, ADMItemDrawProc p)
{
    ITEM_OR();
    i->drawProc = p;
    tk().invalidate(i);
}
void setTrackProc(ADMItemRef item, ADMItemTrackProc p)
{
    ITEM_OR();
    i->trackProc = p;
}
void setNotifyProc(ADMItemRef item, ADMItemNotifyProc p)
{
    ITEM_OR();
    i->notifyProc = p;
}
void setDestroyProc(ADMItemRef item, ADMItemDestroyProc p)
{
    ITEM_OR();
    i->destroyProc = p;
}
ADMItemDrawProc getDrawProc(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->drawProc;
}
ADMItemTrackProc getTrackProc(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->trackProc;
}
ADMItemNotifyProc getNotifyProc(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->notifyProc;
}
ADMItemDestroyProc getDestroyProc(ADMItemRef item)
{
    ITEM_OR(nullptr);
    return i->destroyProc;
}
void setMask(ADMItemRef item, ADMActionMask mask)
{
    ITEM_OR();
    i->mask = mask;
}
ADMActionMask getMask(ADMItemRef item)
{
    ITEM_OR(0);
    return i->mask;
}
void defaultDraw(ADMItemRef item, ADMDrawerRef drawer)
{
    ITEM_OR();
    Drawer* d = tk().drawer(drawer, "DefaultDraw");
    if (d) tk().drawDefault(i, *d);
}
ASBoolean defaultTrack(ADMItemRef item, ADMTrackerRef tracker)
{
    ITEM_OR(false);
    Tracker* t = tk().tracker(tracker, "DefaultTrack");
    return t ? tk().defaultTrack(i, *t) : false;
}
void defaultNotify(ADMItemRef item, ADMNotifierRef notifier)
{
    ITEM_OR();
    Notifier* n = tk().notifier(notifier, "DefaultNotify");
    if (n) tk().defaultNotify(i, *n);
}
void sendNotify(ADMItemRef item, const char* type)
{
    ITEM_OR();
    tk().notify(i, type ? type : "");
}
void invalidate(ADMItemRef item)
{
    ITEM_OR();
    tk().invalidate(i);
}
void update(ADMItemRef item)
{
    ITEM_OR();
    if (i->visible && i->invalid) tk().draw(i);
}
void setCursorID(ADMItemRef item, SPPluginRef plugin, ASInt32 cursorID)
{
    ITEM_OR();
    i->cursor = cursorID;
}
ASInt32 getCursorID(ADMItemRef item)
{
    ITEM_OR(0);
    return i->cursor;
}
void setPictureID(ADMItemRef item, ASInt32 id)
{
    ITEM_OR();
    i->picture = id;
    if (id != 0) tk().pictureIds.insert(id);
    tk().invalidate(i);
}
ASInt32 getPictureID(ADMItemRef item)
{
    ITEM_OR(0);
    return i->picture;
}
void setSelectedPictureID(ADMItemRef item, ASInt32 id)
{
    ITEM_OR();
    i->selectedPicture = id;
    if (id != 0) tk().pictureIds.insert(id);
    tk().invalidate(i);
}
ASInt32 getSelectedPictureID(ADMItemRef item)
{
    ITEM_OR(0);
    return i->selectedPicture;
}
void setDisabledPictureID(ADMItemRef item, ASInt32 id)
{
    ITEM_OR();
    i->disabledPicture = id;
    if (id != 0) tk().pictureIds.insert(id);
    tk().invalidate(i);
}
ASInt32 getDisabledPictureID(ADMItemRef item)
{
    ITEM_OR(0);
    return i->disabledPicture;
}
void setTipString(ADMItemRef item, const char* tip)
{
    ITEM_OR();
    i->tip = tip ? tip : "";
}
void getTipString(ADMItemRef item, char* tip, ASInt32 maxLength)
{
    ITEM_OR();
    copyText(i->tip, tip, maxLength);
}
void enableTip(ADMItemRef item, ASBoolean on)
{
    ITEM_OR();
    i->tipEnabled = on != 0;
}
ASBoolean isTipEnabled(ADMItemRef item)
{
    ITEM_OR(false);
    return i->tipEnabled;
}

// A numeric item given a text reads the number in it; any other text makes
// it a plain text item again.
void setText(ADMItemRef item, const char* text)
{
    ITEM_OR();
    std::string t = text ? text : "";
    float points;
    if (i->numeric && parseValue(t, i->units, points)) {
        tk().setValue(i, points);
        return;
    }
    if (i->kind != ItemKind::SpinEdit && i->kind != ItemKind::Slider) i->numeric = false;
    i->text = t;
    tk().invalidate(i);
}
void getText(ADMItemRef item, char* text, ASInt32 maxLength)
{
    ITEM_OR();
    copyText(i->displayText(), text, maxLength);
}
ASInt32 getTextLength(ADMItemRef item)
{
    ITEM_OR(0);
    return static_cast<ASInt32>(i->displayText().size());
}
void setJustify(ADMItemRef item, ADMJustify j)
{
    ITEM_OR();
    i->justify = j;
    tk().invalidate(i);
}
void setFont(ADMItemRef item, ADMFont font)
{
    ITEM_OR();
    i->font = font;
    tk().invalidate(i);
}
ADMFont getFont(ADMItemRef item)
{
    ITEM_OR(0);
    return i->font;
}
ADMJustify getJustify(ADMItemRef item)
{
    ITEM_OR(0);
    return i->justify;
}

// Anything that sets a number makes the item numeric.
void makeNumeric(Item* i)
{
    if (i->numeric) return;
    i->numeric = true;
    float points;
    i->value = parseValue(i->text, i->units, points) ? points : 0.0f;
}

void setUnits(ADMItemRef item, ADMUnits units)
{
    ITEM_OR();
    makeNumeric(i);
    i->units = units;
    tk().invalidate(i);
}
ADMUnits getUnits(ADMItemRef item)
{
    ITEM_OR(0);
    return i->units;
}
void setPrecision(ADMItemRef item, ASInt32 precision)
{
    ITEM_OR();
    makeNumeric(i);
    i->precision = precision < 0 ? 0 : precision;
    tk().invalidate(i);
}
ASInt32 getPrecision(ADMItemRef item)
{
    ITEM_OR(0);
    return i->precision < 0 ? 2 : i->precision;
}
void setBooleanValue(ADMItemRef item, ASBoolean v)
{
    ITEM_OR();
    tk().setBoolean(i, v != 0);
}
ASBoolean getBooleanValue(ADMItemRef item)
{
    ITEM_OR(false);
    return i->value != 0.0f;
}
float valueOf(Item* i)
{
    if (i->numeric) return i->value;
    float points;
    return parseValue(i->text, i->units, points) ? points : i->value;
}
void setFloatValue(ADMItemRef item, ADMFloat v)
{
    ITEM_OR();
    makeNumeric(i);
    tk().setValue(i, v);
}
ADMFloat getFloatValue(ADMItemRef item)
{
    ITEM_OR(0.0f);
    return valueOf(i);
}
void setIntValue(ADMItemRef item, ASInt32 v)
{
    ITEM_OR();
    makeNumeric(i);
    tk().setValue(i, static_cast<float>(v));
}
ASInt32 getIntValue(ADMItemRef item)
{
    ITEM_OR(0);
    return static_cast<ASInt32>(std::lround(valueOf(i)));
}
void setMin(Item* i, float v)
{
    makeNumeric(i);
    i->hasMin = true;
    i->minValue = v;
    tk().setValue(i, i->value);
}
void setMax(Item* i, float v)
{
    makeNumeric(i);
    i->hasMax = true;
    i->maxValue = v;
    tk().setValue(i, i->value);
}
void setMinIntValue(ADMItemRef item, ASInt32 v)
{
    ITEM_OR();
    setMin(i, static_cast<float>(v));
}
ASInt32 getMinIntValue(ADMItemRef item)
{
    ITEM_OR(0);
    return static_cast<ASInt32>(std::lround(i->minValue));
}
void setMaxIntValue(ADMItemRef item, ASInt32 v)
{
    ITEM_OR();
    setMax(i, static_cast<float>(v));
}
ASInt32 getMaxIntValue(ADMItemRef item)
{
    ITEM_OR(0);
    return static_cast<ASInt32>(std::lround(i->maxValue));
}
void setMinFloatValue(ADMItemRef item, ADMFloat v)
{
    ITEM_OR();
    setMin(i, v);
}
ADMFloat getMinFloatValue(ADMItemRef item)
{
    ITEM_OR(0.0f);
    return i->minValue;
}
void setMaxFloatValue(ADMItemRef item, ADMFloat v)
{
    ITEM_OR();
    setMax(i, v);
}
ADMFloat getMaxFloatValue(ADMItemRef item)
{
    ITEM_OR(0.0f);
    return i->maxValue;
}
void setSmallIncrement(ADMItemRef item, ADMFloat v)
{
    ITEM_OR();
    i->smallIncrement = v;
}
ADMFloat getSmallIncrement(ADMItemRef item)
{
    ITEM_OR(0.0f);
    return i->smallIncrement;
}
void setLargeIncrement(ADMItemRef item, ADMFloat v)
{
    ITEM_OR();
    i->largeIncrement = v;
}
ADMFloat getLargeIncrement(ADMItemRef item)
{
    ITEM_OR(0.0f);
    return i->largeIncrement;
}

SuiteInstaller installer([] {
    auto& s = suiteTable<ADMItemSuite>();
    s.Create = create;
    s.Destroy = destroy;
    s.GetDialog = getDialog;
    s.GetID = getID;
    s.GetItemType = getItemType;
    s.GetChildItem = getChildItem;
    s.GetList = getList;
    s.GetUserData = getUserData;
    s.SetUserData = setUserData;
    s.SetItemStyle = setItemStyle;
    s.GetItemStyle = getItemStyle;
    s.Show = show;
    s.IsVisible = isVisible;
    s.Enable = enable;
    s.IsEnabled = isEnabled;
    s.Activate = activate;
    s.IsActive = isActive;
    s.GetBoundsRect = getBoundsRect;
    s.SetBoundsRect = setBoundsRect;
    s.GetLocalRect = getLocalRect;
    s.Move = move;
    s.Size = size;
    s.SetDrawProc = setDrawProc;
    s.SetTrackProc = setTrackProc;
    s.SetNotifyProc = setNotifyProc;
    s.SetDestroyProc = setDestroyProc;
    s.GetDrawProc = getDrawProc;
    s.GetTrackProc = getTrackProc;
    s.GetNotifyProc = getNotifyProc;
    s.GetDestroyProc = getDestroyProc;
    s.SetMask = setMask;
    s.GetMask = getMask;
    s.DefaultDraw = defaultDraw;
    s.DefaultTrack = defaultTrack;
    s.DefaultNotify = defaultNotify;
    s.SendNotify = sendNotify;
    s.Invalidate = invalidate;
    s.Update = update;
    s.SetCursorID = setCursorID;
    s.GetCursorID = getCursorID;
    s.SetPictureID = setPictureID;
    s.GetPictureID = getPictureID;
    s.SetSelectedPictureID = setSelectedPictureID;
    s.GetSelectedPictureID = getSelectedPictureID;
    s.SetDisabledPictureID = setDisabledPictureID;
    s.GetDisabledPictureID = getDisabledPictureID;
    s.SetTipString = setTipString;
    s.GetTipString = getTipString;
    s.EnableTip = enableTip;
    s.IsTipEnabled = isTipEnabled;
    s.SetText = setText;
    s.GetText = getText;
    s.GetTextLength = getTextLength;
    s.SetJustify = setJustify;
    s.GetJustify = getJustify;
    s.SetFont = setFont;
    s.GetFont = getFont;
    s.SetUnits = setUnits;
    s.GetUnits = getUnits;
    s.SetPrecision = setPrecision;
    s.GetPrecision = getPrecision;
    s.SetBooleanValue = setBooleanValue;
    s.GetBooleanValue = getBooleanValue;
    s.SetIntValue = setIntValue;
    s.GetIntValue = getIntValue;
    s.SetFloatValue = setFloatValue;
    s.GetFloatValue = getFloatValue;
    s.SetMinIntValue = setMinIntValue;
    s.GetMinIntValue = getMinIntValue;
    s.SetMaxIntValue = setMaxIntValue;
    s.GetMaxIntValue = getMaxIntValue;
    s.SetMinFloatValue = setMinFloatValue;
    s.GetMinFloatValue = getMinFloatValue;
    s.SetMaxFloatValue = setMaxFloatValue;
    s.GetMaxFloatValue = getMaxFloatValue;
    s.SetSmallIncrement = setSmallIncrement;
    s.GetSmallIncrement = getSmallIncrement;
    s.SetLargeIncrement = setLargeIncrement;
    s.GetLargeIncrement = getLargeIncrement;
});

}  // namespace
}  // namespace vt::host::toolkit
