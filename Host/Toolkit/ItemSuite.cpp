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

    static ASInt32 GetID(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->id;
    }

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

    static ADMUserData GetUserData(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->userData;
    }

    static void SetUserData(ADMItemRef item, ADMUserData data)
    {
        ITEM_OR();
        i->userData = data;
    }

    static void SetItemStyle(ADMItemRef item, ADMItemStyle style)
    {
        ITEM_OR();
        i->style = style;
        tk().invalidate(i);
    }

    static ADMItemStyle GetItemStyle(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->style;
    }

    static void Show(ADMItemRef item, ASBoolean on)
    {
        ITEM_OR();
        i->visible = on != 0;
        tk().invalidate(i);
    }

    static ASBoolean IsVisible(ADMItemRef item)
    {
        ITEM_OR(false);
        return i->visible;
    }

    static void Enable(ADMItemRef item, ASBoolean on)
    {
        ITEM_OR();
        i->enabled = on != 0;
        tk().invalidate(i);
    }

    static ASBoolean IsEnabled(ADMItemRef item)
    {
        ITEM_OR(false);
        return i->enabled;
    }

    static void Activate(ADMItemRef item, ASBoolean on)
    {
        ITEM_OR();
        i->active = on != 0;
        tk().invalidate(i);
    }

    static ASBoolean IsActive(ADMItemRef item)
    {
        ITEM_OR(false);
        return i->active;
    }

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
        ITEM_OR();
        i->drawProc = p;
        tk().invalidate(i);
    }

    static void SetTrackProc(ADMItemRef item, ADMItemTrackProc p)
    {
        ITEM_OR();
        i->trackProc = p;
    }

    static void SetNotifyProc(ADMItemRef item, ADMItemNotifyProc p)
    {
        ITEM_OR();
        i->notifyProc = p;
    }

    static void SetDestroyProc(ADMItemRef item, ADMItemDestroyProc p)
    {
        ITEM_OR();
        i->destroyProc = p;
    }

    static ADMItemDrawProc GetDrawProc(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->drawProc;
    }

    static ADMItemTrackProc GetTrackProc(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->trackProc;
    }

    static ADMItemNotifyProc GetNotifyProc(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->notifyProc;
    }

    static ADMItemDestroyProc GetDestroyProc(ADMItemRef item)
    {
        ITEM_OR(nullptr);
        return i->destroyProc;
    }

    static void SetMask(ADMItemRef item, ADMActionMask mask)
    {
        ITEM_OR();
        i->mask = mask;
    }

    static ADMActionMask GetMask(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->mask;
    }

    static void DefaultDraw(ADMItemRef item, ADMDrawerRef drawer)
    {
        ITEM_OR();
        Drawer* d = tk().drawer(drawer, "DefaultDraw");
        if (d) tk().drawDefault(i, *d);
    }

    static ASBoolean DefaultTrack(ADMItemRef item, ADMTrackerRef tracker)
    {
        ITEM_OR(false);
        Tracker* t = tk().tracker(tracker, "DefaultTrack");
        return t ? tk().defaultTrack(i, *t) : false;
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
        ITEM_OR();
        i->cursor = cursorID;
    }

    static ASInt32 GetCursorID(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->cursor;
    }

    static void SetPictureID(ADMItemRef item, ASInt32 id)
    {
        ITEM_OR();
        i->picture = id;
        if (id != 0) tk().pictureIds.insert(id);
        tk().invalidate(i);
    }

    static ASInt32 GetPictureID(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->picture;
    }

    static void SetSelectedPictureID(ADMItemRef item, ASInt32 id)
    {
        ITEM_OR();
        i->selectedPicture = id;
        if (id != 0) tk().pictureIds.insert(id);
        tk().invalidate(i);
    }

    static ASInt32 GetSelectedPictureID(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->selectedPicture;
    }

    static void SetDisabledPictureID(ADMItemRef item, ASInt32 id)
    {
        ITEM_OR();
        i->disabledPicture = id;
        if (id != 0) tk().pictureIds.insert(id);
        tk().invalidate(i);
    }

    static ASInt32 GetDisabledPictureID(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->disabledPicture;
    }

    static void SetTipString(ADMItemRef item, const char* tip)
    {
        ITEM_OR();
        i->tip = tip ? tip : "";
    }

    static void GetTipString(ADMItemRef item, char* tip, ASInt32 maxLength)
    {
        ITEM_OR();
        copyText(i->tip, tip, maxLength);
    }

    static void EnableTip(ADMItemRef item, ASBoolean on)
    {
        ITEM_OR();
        i->tipEnabled = on != 0;
    }

    static ASBoolean IsTipEnabled(ADMItemRef item)
    {
        ITEM_OR(false);
        return i->tipEnabled;
    }

    // A numeric item given a text reads the number in it; any other text makes
    // it a plain text item again.
    static void SetText(ADMItemRef item, const char* text)
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

    static void SetJustify(ADMItemRef item, ADMJustify j)
    {
        ITEM_OR();
        i->justify = j;
        tk().invalidate(i);
    }

    static void SetFont(ADMItemRef item, ADMFont font)
    {
        ITEM_OR();
        i->font = font;
        tk().invalidate(i);
    }

    static ADMFont GetFont(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->font;
    }

    static ADMJustify GetJustify(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->justify;
    }

    static void SetUnits(ADMItemRef item, ADMUnits units)
    {
        ITEM_OR();
        makeNumeric(i);
        i->units = units;
        tk().invalidate(i);
    }

    static ADMUnits GetUnits(ADMItemRef item)
    {
        ITEM_OR(0);
        return i->units;
    }

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
        ITEM_OR();
        setMin(i, static_cast<float>(v));
    }

    static ASInt32 GetMinIntValue(ADMItemRef item)
    {
        ITEM_OR(0);
        return static_cast<ASInt32>(std::lround(i->minValue));
    }

    static void SetMaxIntValue(ADMItemRef item, ASInt32 v)
    {
        ITEM_OR();
        setMax(i, static_cast<float>(v));
    }

    static ASInt32 GetMaxIntValue(ADMItemRef item)
    {
        ITEM_OR(0);
        return static_cast<ASInt32>(std::lround(i->maxValue));
    }

    static void SetMinFloatValue(ADMItemRef item, ADMFloat v)
    {
        ITEM_OR();
        setMin(i, v);
    }

    static ADMFloat GetMinFloatValue(ADMItemRef item)
    {
        ITEM_OR(0.0f);
        return i->minValue;
    }

    static void SetMaxFloatValue(ADMItemRef item, ADMFloat v)
    {
        ITEM_OR();
        setMax(i, v);
    }

    static ADMFloat GetMaxFloatValue(ADMItemRef item)
    {
        ITEM_OR(0.0f);
        return i->maxValue;
    }

    static void SetSmallIncrement(ADMItemRef item, ADMFloat v)
    {
        ITEM_OR();
        i->smallIncrement = v;
    }

    static ADMFloat GetSmallIncrement(ADMItemRef item)
    {
        ITEM_OR(0.0f);
        return i->smallIncrement;
    }

    static void SetLargeIncrement(ADMItemRef item, ADMFloat v)
    {
        ITEM_OR();
        i->largeIncrement = v;
    }

    static ADMFloat GetLargeIncrement(ADMItemRef item)
    {
        ITEM_OR(0.0f);
        return i->largeIncrement;
    }
};

SuiteInstaller installer(installOps<ItemOps>);

}  // namespace
}  // namespace vt::host::toolkit
