// The weeding-line settings dialog.
#include "Dialog/RipSettingDialog.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Dialog/DialogCommon.h"

// The counts step by 1 and 5.
static const ADMFloat kCountSmallStep = 1.0f;
static const ADMFloat kCountLargeStep = 5.0f;

// The toolkit's colour of the preview's grid lines.
static const ADMColor kRipPreviewGridColor = 16;

VT_NODISCARD static ASErr RipSettingDlgRipNumSpinEditProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMItemRef preview = sADMDialog->GetItem(sADMItem->GetDialog(item), kRipSettingPreviewItem);
        if (preview != nullptr) sADMItem->Invalidate(preview);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

static bool storeRipSettings(ADMDialogRef dialog)
{
    g->ripMarginX = kPointToMillimetre * sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, kRipSettingMarginXItem));
    g->ripMarginY = kPointToMillimetre * sADMItem->GetFloatValue(sADMDialog->GetItem(dialog, kRipSettingMarginYItem));
    g->ripVLines = sADMItem->GetIntValue(sADMDialog->GetItem(dialog, kRipSettingVLinesItem));
    g->ripHLines = sADMItem->GetIntValue(sADMDialog->GetItem(dialog, kRipSettingHLinesItem));
    return true;
}

VT_NODISCARD static ASErr RipSettingDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, kRipSettingOKItem, storeRipSettings);
}

VT_NODISCARD static ASErr RipSettingDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, kRipSettingCancelItem, true);
}

VT_NODISCARD static ASErr RipSettingDlgFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer)
{
    ADMRect local;
    sADMItem->GetLocalRect(item, &local);
    int width = local.right - local.left, height = local.bottom - local.top;
    ADMRect all = {0, 0, (ASInt16)height, (ASInt16)width};
    sADMDrawer->SetColor(drawer, kADMWhiteColor);
    sADMDrawer->FillRect(drawer, &all);

    // The counts as the spins show them now, so the grid follows them before OK.
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    int nv = sADMItem->GetIntValue(sADMDialog->GetItem(dialog, kRipSettingVLinesItem));
    int nh = sADMItem->GetIntValue(sADMDialog->GetItem(dialog, kRipSettingHLinesItem));
    int ox = (width - kRipPreviewGridWidth) / 2, oy = (height - kRipPreviewGridHeight) / 2;
    sADMDrawer->SetColor(drawer, kRipPreviewGridColor);
    // The border and the inner lines. Once there are more lines than the grid
    // has pixels every pixel row or column holds one; drawing each once gives
    // the same picture without a line per count.
    if (nv >= 0) {
        bool dense = nv + 1 >= kRipPreviewGridWidth;
        int last = dense ? kRipPreviewGridWidth - 1 : nv;
        for (int i = -1; i <= last; i++) {
            int x = ox + (dense ? i + 1 : kRipPreviewGridWidth * (i + 1) / (nv + 1));
            ADMPoint a = admPoint(x, oy), b = admPoint(x, oy + kRipPreviewGridHeight - 1);
            sADMDrawer->DrawLine(drawer, &a, &b);
        }
    }
    if (nh >= 0) {
        bool dense = nh + 1 >= kRipPreviewGridHeight;
        int last = dense ? kRipPreviewGridHeight - 1 : nh;
        for (int j = -1; j <= last; j++) {
            int y = oy + (dense ? j + 1 : kRipPreviewGridHeight * (j + 1) / (nh + 1));
            ADMPoint a = admPoint(ox, y), b = admPoint(ox + kRipPreviewGridWidth, y);
            sADMDrawer->DrawLine(drawer, &a, &b);
        }
    }

    sADMDrawer->SetColor(drawer, kADMBlackColor);
    ADMIconRef icon = sADMIcon->GetFromResource(g->pluginRef, kRipPreviewIconPicture, 0);
    if (icon != nullptr) {
        sADMDrawer->DrawIconCentered(drawer, icon, &all);
        sADMIcon->Destroy(icon);
    }
    sADMItem->DefaultDraw(item, drawer);
    return kNoErr;
}


VT_NODISCARD static ASErr RipSettingDlgSpinEditInitProc(ADMItemRef item)
{
    switch (sADMItem->GetID(item)) {
    case kRipSettingMarginXItem:
    case kRipSettingMarginYItem:
        setMillimetreField(item, sADMItem->GetID(item) == kRipSettingMarginXItem ? g->ripMarginX : g->ripMarginY);
        break;
    case kRipSettingVLinesItem:
    case kRipSettingHLinesItem:
        sADMItem->SetMinIntValue(item, 0);
        sADMItem->SetSmallIncrement(item, kCountSmallStep);
        sADMItem->SetLargeIncrement(item, kCountLargeStep);
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetPrecision(item, 0);  // whole lines, shown without decimals
        sADMItem->SetIntValue(item, sADMItem->GetID(item) == kRipSettingVLinesItem ? g->ripVLines : g->ripHLines);
        sADMItem->SetNotifyProc(item, RipSettingDlgRipNumSpinEditProc);
        break;
    default:
        break;
    }
    return kNoErr;
}

VT_NODISCARD static ASErr RipSettingDlgTextPushButtonInitProc(ADMItemRef item)
{
    if (sADMItem->GetID(item) == kRipSettingOKItem)
        sADMItem->SetNotifyProc(item, RipSettingDlgOKButtonProc);
    else if (sADMItem->GetID(item) == kRipSettingCancelItem)
        sADMItem->SetNotifyProc(item, RipSettingDlgCancelButtonProc);
    return kNoErr;
}

VT_NODISCARD static ASErr RipSettingDlgFrameLegendInit(ADMItemRef item)
{
    return useDrawProc(item, RipSettingDlgFrameDrawProc);
}

// The fields are wide enough for a margin with its unit ("100.00 mm").
const Item_Control_arg dlgRipSettingItem[kRipSettingItemCount] = {
    {kADMTextPushButtonType, kRipSettingOKString, 0, 0, kRipSettingOKItem, 10, 100, 109, 21,
     RipSettingDlgTextPushButtonInitProc, nullptr},
    {kADMTextPushButtonType, kRipSettingCancelString, 0, 0, kRipSettingCancelItem, 150, 100, 109, 21,
     RipSettingDlgTextPushButtonInitProc, nullptr},
    {kADMTextStaticType, kRipSettingMarginLabelString, 0, 0, kRipSettingMarginLabelItem, 5, 70, 17, 15, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kRipSettingMarginXItem, 75, 85, 12, 20, RipSettingDlgSpinEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kWidthArrowPicture, kRipSettingMarginXPictureItem, 160, 20, 12, 20, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kRipSettingMarginYItem, 75, 85, 35, 20, RipSettingDlgSpinEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kLengthArrowPicture, kRipSettingMarginYPictureItem, 160, 20, 35, 20, nullptr,
     nullptr},
    {kADMTextStaticType, kRipSettingLinesLabelString, 0, 0, kRipSettingLinesLabelItem, 5, 70, 63, 15, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kRipSettingVLinesItem, 75, 85, 58, 20, RipSettingDlgSpinEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kWidthArrowPicture, kRipSettingVLinesPictureItem, 160, 20, 58, 20, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kRipSettingHLinesItem, 75, 85, 81, 20, RipSettingDlgSpinEditInitProc, nullptr},
    {kADMPictureStaticType, 0, 0, kLengthArrowPicture, kRipSettingHLinesPictureItem, 160, 20, 81, 20, nullptr, nullptr},
    {kADMFrameType, 0, 0, 0, kRipSettingPreviewItem, 185, 65, 12, 89, RipSettingDlgFrameLegendInit, nullptr},
};

VT_NODISCARD static ASErr RipSettingPluginInitProc(ADMDialogRef dialog)
{
    (void)setUpDialog(dialog, kRipSettingDialog, kRipSettingTitleString, dlgRipSettingItem, kRipSettingItemCount);
    return kNoErr;
}

ASErr goRipSetting(void)
{
    ASInt32 result = runModalDialog(kRipSettingDialog, RipSettingPluginInitProc);
    return result == kRipSettingOKItem ? kNoErr : kSettingsNotConfirmedErr;
}