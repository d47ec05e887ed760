#include "Dialog/OverCutDialog.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/Texts.h"

ASErr goOverCut()
{
    // The dialog stores what it must itself; its result says only which
    // button ended it.
    (void)runModalDialog(kOverCutDialog, OverCutDlgInitProc);
    return kNoErr;
}

static ADMItemRef makeItem(ADMDialogRef dialog, ASInt32 id, const char* type, int left, int top, int right,
                           int bottom, bool notify)
{
    ADMRect rect = {static_cast<ASInt16>(top), static_cast<ASInt16>(left), static_cast<ASInt16>(bottom),
                    static_cast<ASInt16>(right)};
    ADMItemRef item = sADMItem->Create(dialog, id, type, &rect, nullptr, nullptr, 0);
    if (item != nullptr && notify) sADMItem->SetNotifyProc(item, OverCutDlgTextPushButtonNotifyProc);
    return item;
}

static void makeLengthItem(ADMDialogRef dialog, ASInt32 id, int top, double millimetres)
{
    ADMItemRef item = makeItem(dialog, id, kADMTextEditType, 55, top, 155, top + 20, false);
    if (item == nullptr) return;
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetPrecision(item, 3);
    sADMItem->SetMinFloatValue(item, static_cast<ADMFloat>(-kOverCutLimit * kMillimetreToPoint));
    sADMItem->SetMaxFloatValue(item, static_cast<ADMFloat>(kOverCutLimit * kMillimetreToPoint));
    sADMItem->SetFloatValue(item, static_cast<ADMFloat>(millimetres * kMillimetreToPoint));
    sADMItem->Enable(item, g->overCut != 0);
}

ASErr OverCutDlgInitProc(ADMDialogRef dialog)
{
    sADMDialog->SetSize(dialog, kOverCutDialog.width, kOverCutDialog.height);

    char text[256];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kOverCutCheckString, text, sizeof text);
    ADMItemRef check = makeItem(dialog, kOverCutCheckItem, kADMTextCheckBoxType, 5, 5, 150, 25, true);
    if (check != nullptr) {
        sADMItem->SetText(check, text);
        sADMItem->SetBooleanValue(check, g->overCut != 0);
    }
    ADMItemRef label = makeItem(dialog, kOverCutStartLabelItem, kADMTextStaticType, 5, 30, 50, 50, false);
    if (label != nullptr) sADMItem->SetText(label, "Start:");
    makeLengthItem(dialog, kOverCutStartItem, 30, g->overCutStart);
    label = makeItem(dialog, kOverCutEndLabelItem, kADMTextStaticType, 5, 55, 50, 75, false);
    if (label != nullptr) sADMItem->SetText(label, "End:");
    makeLengthItem(dialog, kOverCutEndItem, 55, g->overCutEnd);
    ADMItemRef ok = makeItem(dialog, kOverCutOKItem, kADMTextPushButtonType, 30, 80, 110, 100, true);
    if (ok != nullptr) sADMItem->SetText(ok, "OK");
    ADMItemRef cancel = makeItem(dialog, kOverCutCancelItem, kADMTextPushButtonType, 120, 80, 200, 100, true);
    if (cancel != nullptr) sADMItem->SetText(cancel, "Cancel");
    // Closing the window is a Cancel: nothing is stored.
    sADMDialog->SetDefaultItemID(dialog, kOverCutOKItem);
    sADMDialog->SetCancelItemID(dialog, kOverCutCancelItem);
    return kNoErr;
}

static double lengthOf(ADMDialogRef dialog, ASInt32 id, double keep)
{
    ADMItemRef item = sADMDialog->GetItem(dialog, id);
    if (item == nullptr) return keep;
    return sADMItem->GetFloatValue(item) * kPointToMillimetre;
}

ASErr OverCutDlgTextPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        switch (sADMItem->GetID(item)) {
        case kOverCutCheckItem: {
            const ASBoolean on = sADMItem->GetBooleanValue(item);
            for (ASInt32 id : {kOverCutStartItem, kOverCutEndItem}) {
                ADMItemRef length = sADMDialog->GetItem(dialog, id);
                if (length != nullptr) sADMItem->Enable(length, on);
            }
            break;
        }
        case kOverCutOKItem: {
            ADMItemRef check = sADMDialog->GetItem(dialog, kOverCutCheckItem);
            if (check != nullptr) g->overCut = sADMItem->GetBooleanValue(check) ? 1 : 0;
            g->overCutStart = lengthOf(dialog, kOverCutStartItem, g->overCutStart);
            g->overCutEnd = lengthOf(dialog, kOverCutEndItem, g->overCutEnd);
            sADMDialog->EndModal(dialog, kOverCutOKItem, FALSE);
            break;
        }
        case kOverCutCancelItem:
            sADMDialog->EndModal(dialog, kOverCutCancelItem, TRUE);
            break;
        default:
            break;
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
