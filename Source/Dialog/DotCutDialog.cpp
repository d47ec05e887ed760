// The dot-cut dialog and its helpers.
#include "Dialog/DotCutDialog.h"

#include <math.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/DotCut.h"
#include "Dialog/DialogCommon.h"

// The lengths are kept in hundredths of a millimetre.
static const double kHundredthsPerMillimetre = 100.0;
static const int kDotCutDecimals = 2;

// The labels keep the room the longest (Japanese) needs; the rest goes to the
// pen popups, which show the library's pen names whole.
const Item_Control_arg dlgDotCutItem[kDotCutItemCount] = {
    {kADMTextStaticType, kDotCutThroughLabelString, 0, 0, kDotCutThroughLabelItem, 5, 120, 5, 20, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kDotCutThroughLengthItem, 125, 82, 5, 20, nullptr, nullptr},
    {kADMPopupListType, 0, 0, 0, kDotCutThroughPenItem, 212, 123, 5, 20, nullptr, nullptr},
    {kADMTextStaticType, kDotCutHalfCutLabelString, 0, 0, kDotCutHalfCutLabelItem, 5, 120, 30, 20, nullptr, nullptr},
    {kADMSpinEditType, 0, 0, 0, kDotCutHalfCutLengthItem, 125, 82, 30, 20, nullptr, nullptr},
    {kADMPopupListType, 0, 0, 0, kDotCutHalfCutPenItem, 212, 123, 30, 20, nullptr, nullptr},
    {kADMTextPushButtonType, kDotCutOKString, 0, 0, kDotCutOKItem, 120, 100, 70, 20, nullptr, nullptr},
    {kADMTextPushButtonType, kDotCutCancelString, 0, 0, kDotCutCancelItem, 230, 100, 70, 20, nullptr, nullptr},
};

static void initLength(ADMItemRef item, int32_t hundredths)
{
    sADMItem->SetUnits(item, kADMMillimeterUnits);
    sADMItem->SetPrecision(item, kDotCutDecimals);
    sADMItem->SetMinFloatValue(item, 0.0f);
    sADMItem->SetFloatValue(item, (ADMFloat)(hundredths * 0.01 * kMillimetreToPoint));
}

ASErr DotCutDialogInitProc(ADMDialogRef dialog)
{
    if (setUpDialog(dialog, kDotCutDialog, kDotCutTitleString, dlgDotCutItem, kDotCutItemCount) != 1) return kNoErr;

    initLength(sADMDialog->GetItem(dialog, kDotCutThroughLengthItem), g->dotCutThroughLength);
    initLength(sADMDialog->GetItem(dialog, kDotCutHalfCutLengthItem), g->dotCutHalfCutLength);
    InitializePenPopupList(sADMDialog->GetItem(dialog, kDotCutThroughPenItem), g->dotCutThroughPen);
    InitializePenPopupList(sADMDialog->GetItem(dialog, kDotCutHalfCutPenItem), g->dotCutHalfCutPen);
    for (int32_t id : {kDotCutOKItem, kDotCutCancelItem})
        sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, id), DotCutDialogIButtonProc);
    // Return and the close box answer as the buttons do.
    sADMDialog->SetDefaultItemID(dialog, kDotCutOKItem);
    sADMDialog->SetCancelItemID(dialog, kDotCutCancelItem);
    return kNoErr;
}

// A length as shown (points, single precision) in hundredths of a millimetre,
// rounded half up.
static int32_t hundredthsOf(ADMItemRef item)
{
    float points = sADMItem->GetFloatValue(item);
    return (int32_t)trunc(0.5 + points * kPointToMillimetre * kHundredthsPerMillimetre);
}

// A popup with no entry chosen (no current plotter, no pens) keeps the pen
// chosen before, rather than a pen that does not exist.
static void storePen(ADMItemRef popup, int32_t* pen)
{
    ASInt32 id = GetSelectedEntryID(popup);
    if (id >= 0) *pen = id;
}

static bool storeDotCut(ADMDialogRef dialog)
{
    g->dotCutHalfCutLength = hundredthsOf(sADMDialog->GetItem(dialog, kDotCutHalfCutLengthItem));
    g->dotCutThroughLength = hundredthsOf(sADMDialog->GetItem(dialog, kDotCutThroughLengthItem));
    storePen(sADMDialog->GetItem(dialog, kDotCutHalfCutPenItem), &g->dotCutHalfCutPen);
    storePen(sADMDialog->GetItem(dialog, kDotCutThroughPenItem), &g->dotCutThroughPen);
    return true;
}

// Only the OK and Cancel buttons have this procedure.
ASErr DotCutDialogIButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return okOrCancelOnClick(item, notifier, kDotCutOKItem, kDotCutConfirmed, kDotCutCancelled, storeDotCut);
}

int32_t goMakeDotCut(void)
{
    // The popups list the pens of the preferences as they are now; a pen
    // list that cannot be read leaves them empty and the pens as they were.
    (void)GetCurrentEnvPen();
    int32_t result = runModalDialog(kDotCutDialog, DotCutDialogInitProc);
    if (result != kDotCutConfirmed) return result;
    if (g->dotCutThroughLength <= 0 || g->dotCutHalfCutLength <= 0) return result;
    // Layers that cannot be counted leave the document as it was; the dialog
    // has nothing more to say.
    (void)dotCutSelection();
    return result;
}
