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
        tk().updatePass();
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

    static SPPluginRef GetPluginRef(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->plugin;
    }

    static const char* GetDialogName(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->name.c_str();
    }

    static ADMDialogStyle GetDialogStyle(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->style;
    }

    static ADMUserData GetUserData(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->userData;
    }

    static void SetUserData(ADMDialogRef dialog, ADMUserData data)
    {
        DIALOG_OR();
        d->userData = data;
    }

    static void SetText(ADMDialogRef dialog, const char* text)
    {
        DIALOG_OR();
        d->title = text ? text : "";
    }

    static void GetText(ADMDialogRef dialog, char* text, ASInt32 maxLength)
    {
        DIALOG_OR();
        copyText(d->title, text, maxLength);
    }

    static void Show(ADMDialogRef dialog, ASBoolean on)
    {
        DIALOG_OR();
        d->visible = on != 0;
    }

    static ASBoolean IsVisible(ADMDialogRef dialog)
    {
        DIALOG_OR(false);
        return d->visible;
    }

    static void Enable(ADMDialogRef dialog, ASBoolean on)
    {
        DIALOG_OR();
        d->enabled = on != 0;
    }

    static ASBoolean IsEnabled(ADMDialogRef dialog)
    {
        DIALOG_OR(false);
        return d->enabled;
    }

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

    static void SetMinWidth(ADMDialogRef dialog, ASInt32 v)
    {
        DIALOG_OR();
        d->minWidth = v;
    }

    static void SetMinHeight(ADMDialogRef dialog, ASInt32 v)
    {
        DIALOG_OR();
        d->minHeight = v;
    }

    static void SetMaxWidth(ADMDialogRef dialog, ASInt32 v)
    {
        DIALOG_OR();
        d->maxWidth = v;
    }

    static void SetMaxHeight(ADMDialogRef dialog, ASInt32 v)
    {
        DIALOG_OR();
        d->maxHeight = v;
    }

    static void SetHorizontalIncrement(ADMDialogRef dialog, ASInt32 v)
    {
        DIALOG_OR();
        d->horizontalIncrement = v > 0 ? v : 1;
    }

    static void SetVerticalIncrement(ADMDialogRef dialog, ASInt32 v)
    {
        DIALOG_OR();
        d->verticalIncrement = v > 0 ? v : 1;
    }

    static ASInt32 GetMinWidth(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->minWidth;
    }

    static ASInt32 GetMinHeight(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->minHeight;
    }

    static ASInt32 GetHorizontalIncrement(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->horizontalIncrement;
    }

    static ASInt32 GetVerticalIncrement(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->verticalIncrement;
    }

    static void SetDrawProc(ADMDialogRef dialog, ADMDialogDrawProc p)
    {
        DIALOG_OR();
        d->drawProc = p;
    }

    static void SetTrackProc(ADMDialogRef dialog, ADMDialogTrackProc p)
    {
        DIALOG_OR();
        d->trackProc = p;
    }

    static void SetNotifyProc(ADMDialogRef dialog, ADMDialogNotifyProc p)
    {
        DIALOG_OR();
        d->notifyProc = p;
    }

    static void SetDestroyProc(ADMDialogRef dialog, ADMDialogDestroyProc p)
    {
        DIALOG_OR();
        d->destroyProc = p;
    }

    static ADMDialogDrawProc GetDrawProc(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->drawProc;
    }

    static ADMDialogTrackProc GetTrackProc(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->trackProc;
    }

    static ADMDialogNotifyProc GetNotifyProc(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->notifyProc;
    }

    static ADMDialogDestroyProc GetDestroyProc(ADMDialogRef dialog)
    {
        DIALOG_OR(nullptr);
        return d->destroyProc;
    }

    static void SetMask(ADMDialogRef dialog, ADMActionMask mask)
    {
        DIALOG_OR();
        d->mask = mask;
    }

    static ADMActionMask GetMask(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->mask;
    }

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
        DIALOG_OR();
        d->defaultItem = id;
    }

    static ASInt32 GetDefaultItemID(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->defaultItem;
    }

    static void SetCancelItemID(ADMDialogRef dialog, ASInt32 id)
    {
        DIALOG_OR();
        d->cancelItem = id;
    }

    static ASInt32 GetCancelItemID(ADMDialogRef dialog)
    {
        DIALOG_OR(0);
        return d->cancelItem;
    }

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
