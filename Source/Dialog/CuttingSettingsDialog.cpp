#include "Dialog/CuttingSettingsDialog.h"

#include <algorithm>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutDialog.h"

// The items, made with the toolkit's Create in this order. The buttons' texts
// are the same in every language and are set in code; the other texts come
// from the string list.
const Item_Control_arg dlgArdoSettingItem[kCuttingSettingsItemCount] = {
    {kADMTextPushButtonType, 0, 0, 0, kCuttingSettingsOKItem, 105, 90, 175, 20, nullptr, nullptr},
    {kADMTextPushButtonType, 0, 0, 0, kCuttingSettingsCancelItem, 205, 90, 175, 20, nullptr, nullptr},
    {kADMTextCheckBoxType, kCuttingSettingsBackToHomeString, 0, 0, kCuttingSettingsBackToHomeItem, 5, 290, 5, 20,
     nullptr, nullptr},
    {kADMTextCheckBoxType, kCuttingSettingsUsePlotterSettingString, 0, 0, kCuttingSettingsUsePlotterSettingItem, 5,
     290, 30, 20, nullptr, nullptr},
    {kADMTextCheckBoxType, kCuttingSettingsCutOffString, 0, 0, kCuttingSettingsCutOffItem, 5, 190, 55, 20, nullptr,
     nullptr},
    {kADMTextEditType, 0, 0, 0, kCuttingSettingsCutOffDistanceItem, 200, 95, 55, 20, nullptr, nullptr},
};

static ADMItemRef itemOf(ADMDialogRef dialog, int32_t id) { return sADMDialog->GetItem(dialog, id); }

static bool plotterCanCutOff()
{
    return (g->curPlotter.PlotterReserved & kCuttingSettingsCutOffCapability) != 0;
}

uint8_t cutOffLineWanted() { return g->cutOff != 0 && plotterCanCutOff(); }

ASErr goArdoSettingDialog()
{
    // The result says only which button ended it; what OK stored is in the globals.
    (void)runModalDialog(kCuttingSettingsDialog, PlotOutDlgArdoSettinDlgInitProc);
    return kNoErr;
}

ASErr PlotOutDlgArdoSettinDlgInitProc(ADMDialogRef dialog)
{
    if (setUpDialog(dialog, kCuttingSettingsDialog, kCuttingSettingsTitleString, dlgArdoSettingItem,
                    kCuttingSettingsItemCount) != 1)
        return kNoErr;

    ADMItemRef item;
    if ((item = itemOf(dialog, kCuttingSettingsOKItem)) != nullptr) {
        sADMItem->SetText(item, "OK");
        sADMItem->SetNotifyProc(item, PlotOutDlgArdoSettingDlgTextPushButtonNotifyProc);
    }
    if ((item = itemOf(dialog, kCuttingSettingsCancelItem)) != nullptr) {
        sADMItem->SetText(item, "Cancel");
        sADMItem->SetNotifyProc(item, PlotOutDlgArdoSettingDlgTextPushButtonNotifyProc);
    }

    // The boxes show what the next job will do. Nothing is changed here:
    // only OK stores, so opening the dialog and leaving it by Cancel keeps
    // every setting as it was.
    if ((item = itemOf(dialog, kCuttingSettingsBackToHomeItem)) != nullptr)
        sADMItem->SetBooleanValue(item, g->backToHome != 0);
    if ((item = itemOf(dialog, kCuttingSettingsUsePlotterSettingItem)) != nullptr)
        sADMItem->SetBooleanValue(item, g->usePlotterSetting != 0);

    // A cutter that cannot cut off the media shows the box off and out of
    // reach; the stored choice is left for a cutter that can.
    bool canCutOff = plotterCanCutOff();
    bool cutOffShown = canCutOff && g->cutOff != 0;
    if ((item = itemOf(dialog, kCuttingSettingsCutOffItem)) != nullptr) {
        sADMItem->SetNotifyProc(item, ArdoSettingDlgCheckBoxNotifyProc);
        sADMItem->SetBooleanValue(item, cutOffShown);
        if (!canCutOff) sADMItem->Enable(item, FALSE);
    }

    // The distance can be no more than the media is long. A longer stored
    // distance is shown lowered to the length; it is stored so only by OK.
    if ((item = itemOf(dialog, kCuttingSettingsCutOffDistanceItem)) != nullptr) {
        double mediaLength = g->mediaLength > 0.0f ? (double)g->mediaLength : 0.0;
        double shown = std::clamp((double)g->cutOffDistance, 0.0, mediaLength);
        sADMItem->SetUnits(item, kADMMillimeterUnits);
        sADMItem->SetPrecision(item, 3);
        sADMItem->SetMinFloatValue(item, 0.0f);
        sADMItem->SetMaxFloatValue(item, (ADMFloat)(mediaLength * kMillimetreToPoint));
        sADMItem->SetFloatValue(item, (ADMFloat)(shown * kMillimetreToPoint));
        sADMItem->Enable(item, cutOffShown);
    }
    return kNoErr;
}

ASErr ArdoSettingDlgCheckBoxNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMItemRef distance = itemOf(sADMItem->GetDialog(item), kCuttingSettingsCutOffDistanceItem);
        if (distance != nullptr) sADMItem->Enable(distance, sADMItem->GetBooleanValue(item));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

static bool checked(ADMDialogRef dialog, int32_t id)
{
    ADMItemRef item = itemOf(dialog, id);
    return item != nullptr && sADMItem->GetBooleanValue(item);
}

static bool storeCuttingSettings(ADMDialogRef dialog)
{
    g->backToHome = checked(dialog, kCuttingSettingsBackToHomeItem);
    g->usePlotterSetting = checked(dialog, kCuttingSettingsUsePlotterSettingItem);
    g->cutOff = checked(dialog, kCuttingSettingsCutOffItem);
    ADMItemRef distance = itemOf(dialog, kCuttingSettingsCutOffDistanceItem);
    if (distance != nullptr) g->cutOffDistance = sADMItem->GetFloatValue(distance) * kPointToMillimetre;
    // The overcut settings belong to their own dialog and stay as they are.
    return true;
}

ASErr PlotOutDlgArdoSettingDlgTextPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return okOrCancelOnClick(item, notifier, kCuttingSettingsOKItem, kCuttingSettingsOKItem,
                             kCuttingSettingsCancelItem, storeCuttingSettings);
}

// ---- The Plot Out dialog's button ------------------------------------------------------------

ASErr PlotOutDlgTextPushButtonInitProc(ADMItemRef item)
{
    if (sADMItem->GetID(item) == kPlotOutCutSettingsItem)
        sADMItem->SetNotifyProc(item, PlotOutDlgArdoSettingsNotifyProc);
    return kNoErr;
}

ASErr PlotOutDlgArdoSettingsNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        (void)goArdoSettingDialog();
        // A dialog has been over the preview: it is drawn again in full.
        g_iPreviewDrawType = kPreviewDrawAll;
        ADMItemRef preview = itemOf(sADMItem->GetDialog(item), kPlotOutPreviewItem);
        if (preview != nullptr) sADMItem->Invalidate(preview);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
