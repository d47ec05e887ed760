// The "OffsetSize Dialog": the distance of a contour offset, in millimetres.
#include "Dialog/OffsetSizeDialog.h"

#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Dialog/DialogCommon.h"

const Item_Control_arg dlgOffsetSizeItem[kOffsetSizeItemCount] = {
    {kADMTextPushButtonType, kOffsetSizeOKString, 0, 0, kOffsetSizeOKItem, 10, 100, 40, 21, OffsetSizeDlgButtonInitProc,
     nullptr},
    {kADMTextPushButtonType, kOffsetSizeCancelString, 0, 0, kOffsetSizeCancelItem, 120, 100, 40, 21,
     OffsetSizeDlgButtonInitProc, nullptr},
    {kADMTextStaticType, kOffsetSizeLabelString, 0, 0, kOffsetSizeLabelItem, 10, 75, 17, 15, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kOffsetSizeDistanceItem, 90, 130, 12, 20, OffsetSizeDlgTextEditInitProc, nullptr},
};

ASErr goOffsetSize(void)
{
    ASInt32 result = runModalDialog(kOffsetSizeDialog, OffsetSizePluginInitProc);
    return result == kOffsetSizeOKItem ? ASErr(kNoErr) : ASErr(kSettingsNotConfirmedErr);
}

ASErr OffsetSizePluginInitProc(ADMDialogRef dialog)
{
    if (setUpDialog(dialog, kOffsetSizeDialog, kOffsetSizeTitleString, dlgOffsetSizeItem, kOffsetSizeItemCount) != 1)
        return kNoErr;
    // The labels stand right against their fields.
    justifyLabels(dialog, dlgOffsetSizeItem, kOffsetSizeItemCount);
    return kNoErr;
}

ASErr OffsetSizeDlgButtonInitProc(ADMItemRef item)
{
    ASInt32 id = sADMItem->GetID(item);
    if (id == kOffsetSizeOKItem) sADMItem->SetNotifyProc(item, OffsetSizeDlgOKButtonProc);
    if (id == kOffsetSizeCancelItem) sADMItem->SetNotifyProc(item, OffsetSizeDlgCancelButtonProc);
    return kNoErr;
}

ASErr OffsetSizeDlgTextEditInitProc(ADMItemRef item)
{
    sADMItem->SetMinFloatValue(item, 0.0f);
    setMillimetreField(item, g->offsetSize);
    return kNoErr;
}

static bool storeDistance(ADMDialogRef dialog)
{
    ADMItemRef distance = sADMDialog->GetItem(dialog, kOffsetSizeDistanceItem);
    if (distance != nullptr) g->offsetSize = (float)(sADMItem->GetFloatValue(distance) * kPointToMillimetre);
    return true;
}

ASErr OffsetSizeDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, kOffsetSizeOKItem, storeDistance);
}

ASErr OffsetSizeDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, kOffsetSizeCancelItem, true);
}
