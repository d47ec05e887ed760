// "ADM Dialog Suite" and "ADM Dialog Group Suite".
#include <cstring>

#include "ErrorText.h"
#include "Toolkit/SuiteOps.h"

namespace vt::host::toolkit {
namespace {

struct DialogOps {
    using Suite = ADMDialogSuite;

    static ADMDialogRef Create(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                               ADMDialogInitProc initProc, ADMUserData userData, ASInt32 options)
    {
        Dialog* d = tk().createDialog(plugin, name ? name : "", dialogID, style, userData, false);
        if (initProc) {
            ASErr error = initProc(ref(d));
            if (error != kNoErr) {
                tk().report("\"" + d->name + "\": the init procedure failed with error " + errorText(error));
                tk().destroyDialog(d);
                return nullptr;
            }
        }
        tk().updatePassIfWatched();
        return ref(d);
    }

    static ASInt32 Modal(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                         ADMDialogInitProc initProc, ADMUserData userData, ASInt32 options)
    {
        Dialog* d = tk().createDialog(plugin, name ? name : "", dialogID, style, userData, true);
        return tk().runModal(d, initProc);
    }

    static void Destroy(ADMDialogRef dialog)
    {
        DIALOG_OR();
        if (d->modal && !d->ended) {
            // A modal dialog is freed by its modal loop; destroying it ends it.
            d->ended = true;
            d->cancelled = true;
            d->result = d->cancelItem ? d->cancelItem : 2;
            return;
        }
        tk().destroyDialog(d);
    }

    static void EndModal(ADMDialogRef dialog, ASInt32 modalResult, ASBoolean cancelling)
    {
        DIALOG_OR();
        if (!d->modal) {
            tk().report("EndModal on the floating dialog \"" + d->name + "\" is ignored");
            return;
        }
        if (d->ended) return;
        d->ended = true;
        d->result = modalResult;
        d->cancelled = cancelling != 0;
    }

    static SPPluginRef GetPluginRef(ADMDialogRef dialog) { return getField(dialog, &Dialog::plugin, __func__); }

    static const char* GetDialogName(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->name.c_str();
    }

    static ADMDialogStyle GetDialogStyle(ADMDialogRef dialog) { return getField(dialog, &Dialog::style, __func__); }
    static ADMUserData GetUserData(ADMDialogRef dialog) { return getField(dialog, &Dialog::userData, __func__); }

    static void SetUserData(ADMDialogRef dialog, ADMUserData data)
    {
        setField(dialog, &Dialog::userData, data, __func__);
    }

    static void SetText(ADMDialogRef dialog, const char* text)
    {
        setField(dialog, &Dialog::title, text ? text : "", __func__);
    }

    static void GetText(ADMDialogRef dialog, char* text, ASInt32 maxLength)
    {
        DIALOG_OR();
        copyText(d->title, text, maxLength);
    }

    static void Show(ADMDialogRef dialog, ASBoolean on) { setField(dialog, &Dialog::visible, on != 0, __func__); }
    static ASBoolean IsVisible(ADMDialogRef dialog) { return getField(dialog, &Dialog::visible, __func__); }
    static void Enable(ADMDialogRef dialog, ASBoolean on) { setField(dialog, &Dialog::enabled, on != 0, __func__); }
    static ASBoolean IsEnabled(ADMDialogRef dialog) { return getField(dialog, &Dialog::enabled, __func__); }

    static void GetBoundsRect(ADMDialogRef dialog, ADMRect* bounds)
    {
        DIALOG_OR();
        if (bounds) *bounds = d->bounds;
    }

    static void SetBoundsRect(ADMDialogRef dialog, const ADMRect* bounds)
    {
        DIALOG_OR();
        if (bounds) tk().setBounds(d, *bounds, true);
    }

    static void GetLocalRect(ADMDialogRef dialog, ADMRect* rect)
    {
        DIALOG_OR();
        if (rect) *rect = ADMRect{0, 0, static_cast<ASInt16>(d->height()), static_cast<ASInt16>(d->width())};
    }

    static void Move(ADMDialogRef dialog, ASInt32 h, ASInt32 v)
    {
        DIALOG_OR();
        ADMRect b{static_cast<ASInt16>(v), static_cast<ASInt16>(h), static_cast<ASInt16>(v + d->height()),
                  static_cast<ASInt16>(h + d->width())};
        tk().setBounds(d, b, true);
    }

    static void SetSize(ADMDialogRef dialog, ASInt32 width, ASInt32 height)
    {
        DIALOG_OR();
        ADMRect b = d->bounds;
        b.right = static_cast<ASInt16>(b.left + width);
        b.bottom = static_cast<ASInt16>(b.top + height);
        tk().setBounds(d, b, true);
    }

    static void SetMinWidth(ADMDialogRef dialog, ASInt32 v) { setField(dialog, &Dialog::minWidth, v, __func__); }
    static void SetMinHeight(ADMDialogRef dialog, ASInt32 v) { setField(dialog, &Dialog::minHeight, v, __func__); }
    static void SetMaxWidth(ADMDialogRef dialog, ASInt32 v) { setField(dialog, &Dialog::maxWidth, v, __func__); }
    static void SetMaxHeight(ADMDialogRef dialog, ASInt32 v) { setField(dialog, &Dialog::maxHeight, v, __func__); }

    static void SetHorizontalIncrement(ADMDialogRef dialog, ASInt32 v)
    {
        setField(dialog, &Dialog::horizontalIncrement, v > 0 ? v : 1, __func__);
    }

    static void SetVerticalIncrement(ADMDialogRef dialog, ASInt32 v)
    {
        setField(dialog, &Dialog::verticalIncrement, v > 0 ? v : 1, __func__);
    }

    static ASInt32 GetMinWidth(ADMDialogRef dialog) { return getField(dialog, &Dialog::minWidth, __func__); }
    static ASInt32 GetMinHeight(ADMDialogRef dialog) { return getField(dialog, &Dialog::minHeight, __func__); }

    static ASInt32 GetHorizontalIncrement(ADMDialogRef dialog)
    {
        return getField(dialog, &Dialog::horizontalIncrement, __func__);
    }

    static ASInt32 GetVerticalIncrement(ADMDialogRef dialog)
    {
        return getField(dialog, &Dialog::verticalIncrement, __func__);
    }

    static void SetDrawProc(ADMDialogRef dialog, ADMDialogDrawProc p)
    {
        setField(dialog, &Dialog::drawProc, p, __func__);
    }

    static void SetTrackProc(ADMDialogRef dialog, ADMDialogTrackProc p)
    {
        setField(dialog, &Dialog::trackProc, p, __func__);
    }

    static void SetNotifyProc(ADMDialogRef dialog, ADMDialogNotifyProc p)
    {
        setField(dialog, &Dialog::notifyProc, p, __func__);
    }

    static void SetDestroyProc(ADMDialogRef dialog, ADMDialogDestroyProc p)
    {
        setField(dialog, &Dialog::destroyProc, p, __func__);
    }

    static ADMDialogDrawProc GetDrawProc(ADMDialogRef dialog) { return getField(dialog, &Dialog::drawProc, __func__); }

    static ADMDialogTrackProc GetTrackProc(ADMDialogRef dialog)
    {
        return getField(dialog, &Dialog::trackProc, __func__);
    }

    static ADMDialogNotifyProc GetNotifyProc(ADMDialogRef dialog)
    {
        return getField(dialog, &Dialog::notifyProc, __func__);
    }

    static ADMDialogDestroyProc GetDestroyProc(ADMDialogRef dialog)
    {
        return getField(dialog, &Dialog::destroyProc, __func__);
    }

    static void SetMask(ADMDialogRef dialog, ADMActionMask mask) { setField(dialog, &Dialog::mask, mask, __func__); }
    static ADMActionMask GetMask(ADMDialogRef dialog) { return getField(dialog, &Dialog::mask, __func__); }
    static void DefaultDraw(ADMDialogRef dialog, ADMDrawerRef drawer) { DIALOG_OR(); }

    static ASBoolean DefaultTrack(ADMDialogRef dialog, ADMTrackerRef tracker)
    {
        DIALOG_OR(false);
        return false;
    }

    static void DefaultNotify(ADMDialogRef dialog, ADMNotifierRef notifier) { DIALOG_OR(); }

    static void SendNotify(ADMDialogRef dialog, const char* type)
    {
        DIALOG_OR();
        tk().notify(d, type ? type : "");
    }

    static ADMItemRef GetItem(ADMDialogRef dialog, ASInt32 itemID)
    {
        DIALOG_OR(nullptr);
        Item* i = d->item(itemID);
        return i ? ref(i) : nullptr;
    }

    static void SetDefaultItemID(ADMDialogRef dialog, ASInt32 id)
    {
        setField(dialog, &Dialog::defaultItem, id, __func__);
    }

    static ASInt32 GetDefaultItemID(ADMDialogRef dialog) { return getField(dialog, &Dialog::defaultItem, __func__); }

    static void SetCancelItemID(ADMDialogRef dialog, ASInt32 id)
    {
        setField(dialog, &Dialog::cancelItem, id, __func__);
    }

    static ASInt32 GetCancelItemID(ADMDialogRef dialog) { return getField(dialog, &Dialog::cancelItem, __func__); }

    static void Invalidate(ADMDialogRef dialog)
    {
        DIALOG_OR();
        for (auto& i : d->items) tk().invalidate(i.get());
    }

    static void Update(ADMDialogRef dialog)
    {
        DIALOG_OR();
        for (size_t i = 0; i < d->items.size(); ++i) {
            Item* item = d->items[i].get();
            if (item->visible && item->invalid) tk().draw(item);
        }
    }
};

struct DialogGroupOps {
    using Suite = ADMDialogGroupSuite;

    static ASErr GetDialogGroupInfo(ADMDialogRef dialog, const char** groupName, ASInt32* positionCode)
    {
        DIALOG_OR(kBadParameterErr);
        if (groupName) *groupName = d->hasGroup ? d->groupName.c_str() : nullptr;
        if (positionCode) *positionCode = d->positionCode;
        return kNoErr;
    }

    static ASErr SetDialogGroupInfo(ADMDialogRef dialog, const char* groupName, ASInt32 positionCode)
    {
        DIALOG_OR(kBadParameterErr);
        d->hasGroup = groupName != nullptr;
        d->groupName = groupName ? groupName : "";
        d->positionCode = positionCode;
        return kNoErr;
    }
};

SuiteInstaller installer(installOps<DialogOps, DialogGroupOps>);

}  // namespace
}  // namespace vt::host::toolkit
