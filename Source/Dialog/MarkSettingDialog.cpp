// The "AASSetting Dialog": the registration-mark settings, and the marks made
// when the user confirms them.
#include "Dialog/MarkSettingDialog.h"

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/MarkSetting.h"
#include "Dialog/DialogCommon.h"

// The length items: the setting each shows (micrometres) and its limits and
// arrow steps in millimetres; the toolkit is given them in points, single
// precision.
struct MarkLengthItem {
    int32_t itemId;
    int32_t PluginGlobals::*setting;
    double minimum, maximum, smallStep, largeStep;
};

static const MarkLengthItem kMarkLengthItems[] = {
    {kAASSettingLengthItem, &PluginGlobals::markLength, 10, 50, 1, 10},
    {kAASSettingThicknessItem, &PluginGlobals::markThickness, 1, 2, 0.01, 0.1},
    {kAASSettingMarginItem, &PluginGlobals::markMargin, 1, 50, 1, 10},
    {kAASSettingXStepItem, &PluginGlobals::markXStep, 200, 600, 10, 100},
    {kAASSettingYStepItem, &PluginGlobals::markYStep, 200, 600, 10, 100},
    {kAASSettingSpaceItem, &PluginGlobals::markSpace, 0, 100, 1, 10},
};

static ADMFloat pointsOf(double millimetres) { return (ADMFloat)(millimetres * kMillimetreToPoint); }

static const MarkLengthItem* lengthItem(int32_t itemId)
{
    for (const MarkLengthItem& row : kMarkLengthItems)
        if (row.itemId == itemId) return &row;
    return nullptr;
}

// The layout radios and the flag each shows.
static const struct {
    int32_t itemId;
    uint8_t PluginGlobals::*flag;
} kLayoutRadios[] = {
    {kAASSetting4PointItem, &PluginGlobals::mark4PointPosition},
    {kAASSettingSegmentalItem, &PluginGlobals::markSegmentalPosition},
    {kAASSettingMultipleCopiesItem, &PluginGlobals::markMultipleCopies},
};

VT_NODISCARD static ASErr AASSettingDialogRadioButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        ASInt32 id = sADMItem->GetID(item);
        for (const auto& radio : kLayoutRadios) {
            if (radio.itemId == id) continue;
            ADMItemRef other = sADMDialog->GetItem(dialog, radio.itemId);
            if (other != nullptr) sADMItem->SetBooleanValue(other, FALSE);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

VT_NODISCARD static ASErr dlgAASSettingRadioButtonInitProc(ADMItemRef item)
{
    ASInt32 id = sADMItem->GetID(item);
    for (const auto& radio : kLayoutRadios)
        if (radio.itemId == id) sADMItem->SetBooleanValue(item, g->*radio.flag);
    return useNotifyProc(item, AASSettingDialogRadioButtonProc);
}

VT_NODISCARD static ASErr dlgAASSettingSpinEditInitProc(ADMItemRef item)
{
    const MarkLengthItem* row = lengthItem(sADMItem->GetID(item));
    if (row == nullptr) return kNoErr;
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetMinFloatValue(item, pointsOf(row->minimum));
    sADMItem->SetMaxFloatValue(item, pointsOf(row->maximum));
    sADMItem->SetSmallIncrement(item, pointsOf(row->smallStep));
    sADMItem->SetLargeIncrement(item, pointsOf(row->largeStep));
    sADMItem->SetFloatValue(item, pointsOf(g->*row->setting * 0.001));
    return kNoErr;
}

VT_NODISCARD static ASErr dlgAASSettingCopiesEditInitProc(ADMItemRef item)
{
    ASInt32 id = sADMItem->GetID(item);
    sADMItem->SetUnits(item, kADMNoUnits);
    sADMItem->SetPrecision(item, 0);
    sADMItem->SetMinIntValue(item, 1);
    sADMItem->SetMaxIntValue(item, 10);
    sADMItem->SetIntValue(item, id == kAASSettingXCopiesItem ? g->markXCopies : g->markYCopies);
    return kNoErr;
}

// A length item's points as whole micrometres, rounded half up.
static int32_t micrometresOf(ADMItemRef item)
{
    return (int32_t)(sADMItem->GetFloatValue(item) * kPointToMillimetre * 1000.0 + 0.5);
}

static bool storeSettings(ADMDialogRef dialog)
{
    for (const auto& radio : kLayoutRadios) {
        ADMItemRef r = sADMDialog->GetItem(dialog, radio.itemId);
        if (r != nullptr) g->*radio.flag = sADMItem->GetBooleanValue(r) ? 1 : 0;
    }
    ADMItemRef outline = sADMDialog->GetItem(dialog, kAASSettingWithOutlineItem);
    if (outline != nullptr) g->markCopiesWithOutline = sADMItem->GetBooleanValue(outline) ? 1 : 0;
    for (const MarkLengthItem& row : kMarkLengthItems) {
        ADMItemRef length = sADMDialog->GetItem(dialog, row.itemId);
        if (length != nullptr) g->*row.setting = micrometresOf(length);
    }
    ADMItemRef across = sADMDialog->GetItem(dialog, kAASSettingXCopiesItem);
    ADMItemRef up = sADMDialog->GetItem(dialog, kAASSettingYCopiesItem);
    if (across != nullptr) g->markXCopies = sADMItem->GetIntValue(across);
    if (up != nullptr) g->markYCopies = sADMItem->GetIntValue(up);
    return true;
}

VT_NODISCARD static ASErr AASSettingDialogButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return okOrCancelOnClick(item, notifier, kAASSettingOKItem, kAASSettingOKItem, kAASSettingCancelItem,
                             storeSettings);
}

VT_NODISCARD static ASErr dlgAASSettingButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, AASSettingDialogButtonProc);
}

// Every length field is as wide as the first, for its longest value with
// its unit ("600.00 mm", "100.00 mm").
const Item_Control_arg dlgAASSteingItem[kAASSettingItemCount] = {
    {kADMTextRadioButtonType, kAASSetting4PointString, 0, 0, kAASSetting4PointItem, 10, 160, 10, 21,
     dlgAASSettingRadioButtonInitProc, nullptr},
    {kADMTextStaticType, kAASSettingLengthLabelString, 0, 0, kAASSettingLengthLabelItem, 20, 80, 36, 21, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kAASSettingLengthItem, 100, 80, 36, 21, dlgAASSettingSpinEditInitProc, nullptr},
    {kADMTextStaticType, kAASSettingThicknessLabelString, 0, 0, kAASSettingThicknessLabelItem, 20, 80, 60, 21, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kAASSettingThicknessItem, 100, 80, 60, 21, dlgAASSettingSpinEditInitProc, nullptr},
    {kADMTextStaticType, kAASSettingMarginLabelString, 0, 0, kAASSettingMarginLabelItem, 20, 80, 83, 21, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kAASSettingMarginItem, 100, 80, 83, 21, dlgAASSettingSpinEditInitProc, nullptr},
    {kADMFrameType, 0, 0, 0, kAASSetting4PointFrameItem, 10, 180, 32, 76, nullptr, nullptr},
    {kADMTextRadioButtonType, kAASSettingSegmentalString, 0, 0, kAASSettingSegmentalItem, 10, 160, 109, 21,
     dlgAASSettingRadioButtonInitProc, nullptr},
    {kADMTextStaticType, kAASSettingXStepLabelString, 0, 0, kAASSettingXStepLabelItem, 20, 80, 134, 21, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kAASSettingXStepItem, 100, 80, 134, 21, dlgAASSettingSpinEditInitProc, nullptr},
    {kADMTextStaticType, kAASSettingYStepLabelString, 0, 0, kAASSettingYStepLabelItem, 20, 80, 157, 21, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kAASSettingYStepItem, 100, 80, 157, 21, dlgAASSettingSpinEditInitProc, nullptr},
    {kADMFrameType, 0, 0, 0, kAASSettingSegmentalFrameItem, 10, 180, 130, 52, nullptr, nullptr},
    {kADMTextRadioButtonType, kAASSettingMultipleCopiesString, 0, 0, kAASSettingMultipleCopiesItem, 10, 160, 183, 21,
     dlgAASSettingRadioButtonInitProc, nullptr},
    {kADMTextStaticType, kAASSettingXCopiesLabelString, 0, 0, kAASSettingXCopiesLabelItem, 20, 100, 208, 21, nullptr,
     nullptr},
    {kADMTextEditType, 0, 0, 0, kAASSettingXCopiesItem, 125, 50, 208, 21, dlgAASSettingCopiesEditInitProc, nullptr},
    {kADMTextStaticType, kAASSettingYCopiesLabelString, 0, 0, kAASSettingYCopiesLabelItem, 20, 100, 231, 21, nullptr,
     nullptr},
    {kADMTextEditType, 0, 0, 0, kAASSettingYCopiesItem, 125, 50, 231, 21, dlgAASSettingCopiesEditInitProc, nullptr},
    {kADMTextStaticType, kAASSettingSpaceLabelString, 0, 0, kAASSettingSpaceLabelItem, 20, 80, 256, 21, nullptr,
     nullptr},
    {kADMSpinEditType, 0, 0, 0, kAASSettingSpaceItem, 100, 80, 256, 21, dlgAASSettingSpinEditInitProc, nullptr},
    {kADMTextCheckBoxType, kAASSettingWithOutlineString, 0, 0, kAASSettingWithOutlineItem, 20, 160, 278, 21, nullptr,
     nullptr},
    {kADMFrameType, 0, 0, 0, kAASSettingCopiesFrameItem, 10, 180, 205, 101, nullptr, nullptr},
    {kADMTextPushButtonType, kAASSettingOKString, 0, 0, kAASSettingOKItem, 10, 80, 325, 21, dlgAASSettingButtonInitProc,
     nullptr},
    {kADMTextPushButtonType, kAASSettingCancelString, 0, 0, kAASSettingCancelItem, 100, 80, 325, 21,
     dlgAASSettingButtonInitProc, nullptr},
};

VT_NODISCARD static ASErr AASSettingDialogInitProc(ADMDialogRef dialog)
{
    // Exactly one layout is chosen, the first set one by priority.
    if (g->mark4PointPosition) {
        g->markSegmentalPosition = 0;
        g->markMultipleCopies = 0;
    } else if (g->markSegmentalPosition) {
        g->markMultipleCopies = 0;
    } else if (!g->markMultipleCopies) {
        g->mark4PointPosition = 1;
    }
    if (setUpDialog(dialog, kAASSettingDialog, kAASSettingTitleString, dlgAASSteingItem, kAASSettingItemCount) != 1)
        return kNoErr;
    // Return and the close box answer as OK and Cancel do.
    sADMDialog->SetDefaultItemID(dialog, kAASSettingOKItem);
    sADMDialog->SetCancelItemID(dialog, kAASSettingCancelItem);
    ADMItemRef outline = sADMDialog->GetItem(dialog, kAASSettingWithOutlineItem);
    if (outline != nullptr) sADMItem->SetBooleanValue(outline, g->markCopiesWithOutline);
    return kNoErr;
}

ASErr goAASSettingDialog(AIRealRect bounds)
{
    ASInt32 result = runModalDialog(kAASSettingDialog, AASSettingDialogInitProc);
    if (result != kAASSettingOKItem) return result;
    ASErr err = MakeAASSetting(bounds);
    if (err) {
        char text[512];
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kAASSettingNotMadeString, text, sizeof text);
        sADMBasic->ErrorAlert(text);
    }
    return err;
}
