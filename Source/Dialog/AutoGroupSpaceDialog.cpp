// The gaps dialog of automatic grouping.
#include "Dialog/AutoGroupSpaceDialog.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Dialog/DialogCommon.h"

const Item_Control_arg dlgAutoGroupSpaceItem[kAutoGroupSpaceItemCount] = {
    {kADMTextPushButtonType, kAutoGroupSpaceOKString, 0, 0, kAutoGroupSpaceOKItem, 10, 100, 62, 21,
     AutoGroupSpaceDlgButtonInitProc, nullptr},
    {kADMTextPushButtonType, kAutoGroupSpaceCancelString, 0, 0, kAutoGroupSpaceCancelItem, 120, 100, 62, 21,
     AutoGroupSpaceDlgButtonInitProc, nullptr},
    {kADMTextStaticType, kAutoGroupSpaceGapXLabelString, 0, 0, kAutoGroupSpaceGapXLabelItem, 5, 70 + sp_width_adjust,
     17, 15, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kAutoGroupSpaceGapXItem, 75 + sp_width_adjust, 115 - sp_width_adjust, 12, 20,
     AutoGroupSpaceDlgSpinEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kWidthArrowPicture, kAutoGroupSpaceGapXPictureItem, 190, 20, 12, 20, nullptr,
     nullptr},
    {kADMTextStaticType, kAutoGroupSpaceGapYLabelString, 0, 0, kAutoGroupSpaceGapYLabelItem, 5, 70 + sp_width_adjust,
     42, 15, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kAutoGroupSpaceGapYItem, 75 + sp_width_adjust, 115 - sp_width_adjust, 37, 20,
     AutoGroupSpaceDlgSpinEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kLengthArrowPicture, kAutoGroupSpaceGapYPictureItem, 190, 20, 37, 20, nullptr,
     nullptr},
};

int32_t goAutoGroupSpace()
{
    ASErr result = runModalDialog(kAutoGroupSpaceDialog, AutoGroupSpacePluginInitProc);
    return result == kAutoGroupSpaceCancelItem ? kAutoGroupSpaceCancelled : kAutoGroupSpaceConfirmed;
}

ASErr AutoGroupSpacePluginInitProc(ADMDialogRef dialog)
{
    if (setUpDialog(dialog, kAutoGroupSpaceDialog, kAutoGroupSpaceTitleString, dlgAutoGroupSpaceItem,
                    kAutoGroupSpaceItemCount) != 1)
        return kNoErr;
    for (int32_t id : {kAutoGroupSpaceGapXLabelItem, kAutoGroupSpaceGapYLabelItem}) {
        ADMItemRef label = sADMDialog->GetItem(dialog, id);
        if (label != nullptr) sADMItem->SetJustify(label, kADMRightJustify);
    }
    return kNoErr;
}

ASErr AutoGroupSpaceDlgSpinEditInitProc(ADMItemRef item)
{
    setMillimetreField(item, sADMItem->GetID(item) == kAutoGroupSpaceGapXItem ? g->autoGroupGapX : g->autoGroupGapY);
    return kNoErr;
}

ASErr AutoGroupSpaceDlgButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, AutoGroupSpaceDlgButtonNotifyProc);
}

static bool storeGaps(ADMDialogRef dialog)
{
    ADMItemRef gapX = sADMDialog->GetItem(dialog, kAutoGroupSpaceGapXItem);
    ADMItemRef gapY = sADMDialog->GetItem(dialog, kAutoGroupSpaceGapYItem);
    if (gapX != nullptr) g->autoGroupGapX = sADMItem->GetFloatValue(gapX) * kPointToMillimetre;
    if (gapY != nullptr) g->autoGroupGapY = sADMItem->GetFloatValue(gapY) * kPointToMillimetre;
    return true;
}

ASErr AutoGroupSpaceDlgButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return okOrCancelOnClick(item, notifier, kAutoGroupSpaceOKItem, kAutoGroupSpaceOKItem, kAutoGroupSpaceCancelItem,
                             storeGaps);
}
