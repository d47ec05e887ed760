// "ADM Item Suite": items, their state, texts, pictures and numeric values.
#include <cmath>
#include <cstring>

#include "ErrorText.h"
#include "Toolkit/SuiteOps.h"

namespace vt::host::toolkit {
namespace {

void setBounds(Item* i, const ADMRect& b)
{
    bool changed = std::memcmp(&b, &i->bounds, sizeof b) != 0;
    i->bounds = b;
    tk().invalidate(i);
    if (changed && i->parent == nullptr) tk().notify(i, kADMBoundsChangedNotifier);
}

// Anything that sets a number makes the item numeric.
void makeNumeric(Item* i)
{
    if (i->numeric) return;
    i->numeric = true;
    float points;
    i->value = parseValue(i->text, i->units, points) ? points : 0.0f;
}

float valueOf(Item* i)
{
    if (i->numeric) return i->value;
    float points;
    return parseValue(i->text, i->units, points) ? points : i->value;
}
// A lower or upper limit of the item's value; the value is kept within it.
void setLimit(ADMItemRef item, bool Item::*has, float Item::*limit, float v, const char* op)
{
    Item* i = lookup(item, op);
    if (!i) return;
    makeNumeric(i);
    i->*has = true;
    i->*limit = v;
    tk().setValue(i, i->value);
}

// One of the item's pictures: the id is kept among those the dialogs use, and
// the item is drawn again.
void setPicture(ADMItemRef item, ASInt32 Item::*picture, ASInt32 id, const char* op)
{
    Item* i = lookup(item, op);
    if (!i) return;
    i->*picture = id;
    if (id != 0) tk().pictureIds.insert(id);
    tk().invalidate(i);
}

struct ItemOps {
    using Suite = ADMItemSuite;

    static ADMItemRef Create(ADMDialogRef dialog, ASInt32 itemID, const char* itemType, const ADMRect* bounds,
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

    static void Destroy(ADMItemRef item)
    {
        ITEM_OR();
        tk().destroyItem(i);
    }

    static ADMDialogRef GetDialog(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return ref(i->dialog);
    }

    static ASInt32 GetID(ADMItemRef item) { return getField(item, &Item::id, __func__); }

    static const char* GetItemType(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->typeName.c_str();
    }

    static ADMItemRef GetChildItem(ADMItemRef item, ASInt32 childID)
    {
        ITEM_OR(nullptr);
        for (auto& c : i->children)
            if (c->id == childID) return ref(c.get());
        return nullptr;
    }

    static ADMListRef GetList(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->list ? ref(i->list.get()) : nullptr;
    }

    static ADMUserData GetUserData(ADMItemRef item) { return getField(item, &Item::userData, __func__); }
    static void SetUserData(ADMItemRef item, ADMUserData data) { setField(item, &Item::userData, data, __func__); }

    static void SetItemStyle(ADMItemRef item, ADMItemStyle style)
    {
        setFieldAndInvalidate(item, &Item::style, style, __func__);
    }

    static ADMItemStyle GetItemStyle(ADMItemRef item) { return getField(item, &Item::style, __func__); }
    static void Show(ADMItemRef item, ASBoolean on) { setFieldAndInvalidate(item, &Item::visible, on != 0, __func__); }
    static ASBoolean IsVisible(ADMItemRef item) { return getField(item, &Item::visible, __func__); }

    static void Enable(ADMItemRef item, ASBoolean on)
    {
        setFieldAndInvalidate(item, &Item::enabled, on != 0, __func__);
    }

    static ASBoolean IsEnabled(ADMItemRef item) { return getField(item, &Item::enabled, __func__); }

    static void Activate(ADMItemRef item, ASBoolean on)
    {
        setFieldAndInvalidate(item, &Item::active, on != 0, __func__);
    }

    static ASBoolean IsActive(ADMItemRef item) { return getField(item, &Item::active, __func__); }

    static void GetBoundsRect(ADMItemRef item, ADMRect* bounds)
    {
        ITEM_OR();
        if (bounds) *bounds = i->bounds;
    }

    static void SetBoundsRect(ADMItemRef item, const ADMRect* bounds)
    {
        ITEM_OR();
        if (bounds) setBounds(i, *bounds);
    }

    static void GetLocalRect(ADMItemRef item, ADMRect* rect)
    {
        ITEM_OR();
        if (rect) *rect = ADMRect{0, 0, static_cast<ASInt16>(i->height()), static_cast<ASInt16>(i->width())};
    }

    static void Move(ADMItemRef item, ASInt32 h, ASInt32 v)
    {
        ITEM_OR();
        setBounds(i, ADMRect{static_cast<ASInt16>(v), static_cast<ASInt16>(h), static_cast<ASInt16>(v + i->height()),
                             static_cast<ASInt16>(h + i->width())});
    }

    static void Size(ADMItemRef item, ASInt32 width, ASInt32 height)
    {
        ITEM_OR();
        ADMRect b = i->bounds;
        b.right = static_cast<ASInt16>(b.left + width);
        b.bottom = static_cast<ASInt16>(b.top + height);
        setBounds(i, b);
    }

    static void SetDrawProc(ADMItemRef item, ADMItemDrawProc p)
    {
        setFieldAndInvalidate(item, &Item::drawProc, p, __func__);
    }

    static void SetTrackProc(ADMItemRef item, ADMItemTrackProc p) { setField(item, &Item::trackProc, p, __func__); }
    static void SetNotifyProc(ADMItemRef item, ADMItemNotifyProc p) { setField(item, &Item::notifyProc, p, __func__); }

    static void SetDestroyProc(ADMItemRef item, ADMItemDestroyProc p)
    {
        setField(item, &Item::destroyProc, p, __func__);
    }

    static ADMItemDrawProc GetDrawProc(ADMItemRef item) { return getField(item, &Item::drawProc, __func__); }
    static ADMItemTrackProc GetTrackProc(ADMItemRef item) { return getField(item, &Item::trackProc, __func__); }
    static ADMItemNotifyProc GetNotifyProc(ADMItemRef item) { return getField(item, &Item::notifyProc, __func__); }
    static ADMItemDestroyProc GetDestroyProc(ADMItemRef item) { return getField(item, &Item::destroyProc, __func__); }
    static void SetMask(ADMItemRef item, ADMActionMask mask) { setField(item, &Item::mask, mask, __func__); }
    static ADMActionMask GetMask(ADMItemRef item) { return getField(item, &Item::mask, __func__); }

    static void DefaultDraw(ADMItemRef item, ADMDrawerRef drawer) { defaultDraw(item, drawer, __func__); }

    static ASBoolean DefaultTrack(ADMItemRef item, ADMTrackerRef tracker)
    {
        return defaultTrack(item, tracker, __func__);
    }

    static void DefaultNotify(ADMItemRef item, ADMNotifierRef notifier)
    {
        ITEM_OR();
        Notifier* n = tk().notifier(notifier, "DefaultNotify");
        if (n) tk().defaultNotify(i, *n);
    }

    static void SendNotify(ADMItemRef item, const char* type)
    {
        ITEM_OR();
        tk().notify(i, type ? type : "");
    }

    static void Invalidate(ADMItemRef item)
    {
        ITEM_OR();
        tk().invalidate(i);
    }

    static void Update(ADMItemRef item)
    {
        ITEM_OR();
        if (i->visible && i->invalid) tk().draw(i);
    }

    static void SetCursorID(ADMItemRef item, SPPluginRef plugin, ASInt32 cursorID)
    {
        setField(item, &Item::cursor, cursorID, __func__);
    }

    static ASInt32 GetCursorID(ADMItemRef item) { return getField(item, &Item::cursor, __func__); }

    static void SetPictureID(ADMItemRef item, ASInt32 id) { setPicture(item, &Item::picture, id, __func__); }

    static ASInt32 GetPictureID(ADMItemRef item) { return getField(item, &Item::picture, __func__); }

    static void SetSelectedPictureID(ADMItemRef item, ASInt32 id)
    {
        setPicture(item, &Item::selectedPicture, id, __func__);
    }

    static ASInt32 GetSelectedPictureID(ADMItemRef item) { return getField(item, &Item::selectedPicture, __func__); }

    static void SetDisabledPictureID(ADMItemRef item, ASInt32 id)
    {
        setPicture(item, &Item::disabledPicture, id, __func__);
    }

    static ASInt32 GetDisabledPictureID(ADMItemRef item) { return getField(item, &Item::disabledPicture, __func__); }
    static void SetTipString(ADMItemRef item, const char* tip) { setField(item, &Item::tip, tip ? tip : "", __func__); }

    static void GetTipString(ADMItemRef item, char* tip, ASInt32 maxLength)
    {
        ITEM_OR();
        copyText(i->tip, tip, maxLength);
    }

    static void EnableTip(ADMItemRef item, ASBoolean on) { setField(item, &Item::tipEnabled, on != 0, __func__); }
    static ASBoolean IsTipEnabled(ADMItemRef item) { return getField(item, &Item::tipEnabled, __func__); }

    // A numeric item given a text reads the number in it. Any other text
    // makes it a plain text item again, but a spin edit or a slider stays
    // numeric and shows the text (an empty field, say) over the value it
    // keeps, until a value is set.
    static void SetText(ADMItemRef item, const char* text)
    {
        ITEM_OR();
        std::string t = text ? text : "";
        float points;
        if (i->numeric && parseValue(t, i->units, points)) {
            tk().setValue(i, points);
            return;
        }
        if (i->kind != ItemKind::SpinEdit && i->kind != ItemKind::Slider)
            i->numeric = false;
        else
            i->showsText = i->numeric;
        i->text = t;
        tk().invalidate(i);
    }

    static void GetText(ADMItemRef item, char* text, ASInt32 maxLength)
    {
        ITEM_OR();
        copyText(i->displayText(), text, maxLength);
    }

    static ASInt32 GetTextLength(ADMItemRef item)
    {
        ITEM_OR(0);
        return static_cast<ASInt32>(i->displayText().size());
    }

    static void SetJustify(ADMItemRef item, ADMJustify j) { setFieldAndInvalidate(item, &Item::justify, j, __func__); }
    static void SetFont(ADMItemRef item, ADMFont font) { setFieldAndInvalidate(item, &Item::font, font, __func__); }
    static ADMFont GetFont(ADMItemRef item) { return getField(item, &Item::font, __func__); }
    static ADMJustify GetJustify(ADMItemRef item) { return getField(item, &Item::justify, __func__); }

    static void SetUnits(ADMItemRef item, ADMUnits units)
    {
        ITEM_OR();
        makeNumeric(i);
        i->units = units;
        tk().invalidate(i);
    }

    static ADMUnits GetUnits(ADMItemRef item) { return getField(item, &Item::units, __func__); }

    static void SetPrecision(ADMItemRef item, ASInt32 precision)
    {
        ITEM_OR();
        makeNumeric(i);
        i->precision = precision < 0 ? 0 : precision;
        tk().invalidate(i);
    }

    static ASInt32 GetPrecision(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->precision < 0 ? 2 : i->precision;
    }

    static void SetBooleanValue(ADMItemRef item, ASBoolean v)
    {
        ITEM_OR();
        tk().setBoolean(i, v != 0);
    }

    static ASBoolean GetBooleanValue(ADMItemRef item)
    {
        ITEM_OR(false);
        return i->value != 0.0f;
    }

    static void SetFloatValue(ADMItemRef item, ADMFloat v)
    {
        ITEM_OR();
        makeNumeric(i);
        tk().setValue(i, v);
    }

    static ADMFloat GetFloatValue(ADMItemRef item)
    {
        ITEM_OR(0.0f);
        return valueOf(i);
    }

    static void SetIntValue(ADMItemRef item, ASInt32 v)
    {
        ITEM_OR();
        makeNumeric(i);
        tk().setValue(i, static_cast<float>(v));
    }

    static ASInt32 GetIntValue(ADMItemRef item)
    {
        ITEM_OR(0);
        return static_cast<ASInt32>(std::lround(valueOf(i)));
    }

    static void SetMinIntValue(ADMItemRef item, ASInt32 v)
    {
        setLimit(item, &Item::hasMin, &Item::minValue, static_cast<float>(v), __func__);
    }

    static ASInt32 GetMinIntValue(ADMItemRef item)
    {
        return static_cast<ASInt32>(std::lround(getField(item, &Item::minValue, __func__)));
    }

    static void SetMaxIntValue(ADMItemRef item, ASInt32 v)
    {
        setLimit(item, &Item::hasMax, &Item::maxValue, static_cast<float>(v), __func__);
    }

    static ASInt32 GetMaxIntValue(ADMItemRef item)
    {
        return static_cast<ASInt32>(std::lround(getField(item, &Item::maxValue, __func__)));
    }

    static void SetMinFloatValue(ADMItemRef item, ADMFloat v)
    {
        setLimit(item, &Item::hasMin, &Item::minValue, v, __func__);
    }

    static ADMFloat GetMinFloatValue(ADMItemRef item) { return getField(item, &Item::minValue, __func__); }

    static void SetMaxFloatValue(ADMItemRef item, ADMFloat v)
    {
        setLimit(item, &Item::hasMax, &Item::maxValue, v, __func__);
    }

    static ADMFloat GetMaxFloatValue(ADMItemRef item) { return getField(item, &Item::maxValue, __func__); }
    static void SetSmallIncrement(ADMItemRef item, ADMFloat v) { setField(item, &Item::smallIncrement, v, __func__); }
    static ADMFloat GetSmallIncrement(ADMItemRef item) { return getField(item, &Item::smallIncrement, __func__); }
    static void SetLargeIncrement(ADMItemRef item, ADMFloat v) { setField(item, &Item::largeIncrement, v, __func__); }
    static ADMFloat GetLargeIncrement(ADMItemRef item) { return getField(item, &Item::largeIncrement, __func__); }
};

SuiteInstaller installer(installOps<ItemOps>);

}  // namespace
}  // namespace vt::host::toolkit
