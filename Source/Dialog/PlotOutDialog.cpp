#include "Dialog/PlotOutDialog.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/ColorLayer.h"
#include "Core/CutModel.h"
#include "Core/PlotterPreferences.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Dialog/CuttingSettingsDialog.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/OutputPreview.h"
#include "Dialog/PlotOutPreviewTools.h"
#include "Dialog/PreviewOptionDialog.h"
#include "Core/UndoHistory.h"
#include "Core/VolumePlacement.h"
#include "Dialog/AutoGroupSpaceDialog.h"
#include "Dialog/PlotOutFields.h"
#include "Dialog/PlotOutLists.h"
#include "Dialog/PlotOutShared.h"
#include "PlotOut/PlotOut.h"
#include "PlotOut/USB.h"

Layer* g_lyLoad = NULL;
int32_t g_iLayerNum = 0;
Color* g_clLoad = NULL;
int32_t g_iColorNum = 0;
double g_dMinZoom = 0.1;
double g_dMaxZoom = 10.0;
int32_t g_iPreviewOpType = kPreviewToolSelect;
int32_t g_iPreviewDrawType = kPreviewDrawAll;

// Left column 210 pixels wide with its group boxes; the preview to its right;
// the zoom and the row of picture buttons under it. The resizable part is
// placed again by the notify procedure whenever the dialog is resized.
// Each field has room for the values a job can give it in the dialog's font
// (positions past a metre across and along a 50 m roll, sizes as long as the
// roll, each with its unit), and each label for its text in every language:
// so the copies take three rows and the media two, with the cut settings
// beside the media width.
const Item_Control_arg dlgPlotOutItem[kPlotOutItemCount] = {
    // Position (its box: y 2 to 61)
    {kADMTextStaticType, kPlotOutOffsetXLabelString, 0, 0, kPlotOutOffsetXLabelItem, 4, 14, 18, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutOffsetXItem, 18, 85, 16, 20, PlotOutDlgOffsetSpinEditInitProc, NULL},
    {kADMTextStaticType, kPlotOutOffsetYLabelString, 0, 0, kPlotOutOffsetYLabelItem, 104, 14, 18, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutOffsetYItem, 118, 87, 16, 20, PlotOutDlgOffsetSpinEditInitProc, NULL},
    {PPB, 0, kPlotOutBoardCenterXTip, kPlotOutBoardCenterXPicture, kPlotOutBoardCenterXItem, 8, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutBoardCenterYTip, kPlotOutBoardCenterYPicture, kPlotOutBoardCenterYItem, 27, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAlignLeftTip, kPlotOutAlignLeftPicture, kPlotOutAlignLeftItem, 46, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAlignCenterXTip, kPlotOutAlignCenterXPicture, kPlotOutAlignCenterXItem, 65, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAlignRightTip, kPlotOutAlignRightPicture, kPlotOutAlignRightItem, 84, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAlignTopTip, kPlotOutAlignTopPicture, kPlotOutAlignTopItem, 103, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAlignCenterYTip, kPlotOutAlignCenterYPicture, kPlotOutAlignCenterYItem, 122, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAlignBottomTip, kPlotOutAlignBottomPicture, kPlotOutAlignBottomItem, 141, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutAutoGroupTip, kPlotOutAutoGroupPicture, kPlotOutAutoGroupItem, 160, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {PPB, 0, kPlotOutResetPositionsTip, kPlotOutResetPositionsPicture, kPlotOutResetPositionsItem, 179, 19, 39, 19,
     PlotOutDlgOffsetPushButtonInitProc, NULL},
    {kADMFrameType, kPlotOutOffsetBoxString, 0, 0, kPlotOutOffsetBoxItem, 2, 205, 2, 59, NULL, NULL},
    // Transform (y 62 to 143)
    {kADMTextCheckBoxType, kPlotOutMirrorString, 0, 0, kPlotOutMirrorItem, 8, 56, 77, 18,
     PlotOutDlgTransformCheckInitProc, NULL},
    {kADMTextStaticType, kPlotOutRotationLabelString, 0, 0, kPlotOutRotationLabelItem, 66, 77, 78, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutRotationItem, 145, 60, 76, 20, PlotOutDlgTransformSpinEditInitProc, NULL},
    {kADMTextStaticType, kPlotOutScaleXLabelString, 0, 0, kPlotOutScaleXLabelItem, 4, 47, 100, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutScaleXItem, 51, 48, 98, 20, PlotOutDlgTransformSpinEditInitProc, NULL},
    {kADMTextStaticType, kPlotOutScaleYLabelString, 0, 0, kPlotOutScaleYLabelItem, 4, 47, 122, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutScaleYItem, 51, 48, 120, 20, PlotOutDlgTransformSpinEditInitProc, NULL},
    {kADMPictureStaticType, 0, 0, kScaleLockedPicture, kPlotOutScaleLockItem, 99, 18, 102, 34,
     PlotOutDlgTransformPictureStaticInitProc, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutWidthItem, 118, 87, 98, 20, PlotOutDlgTransformSpinEditInitProc, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutHeightItem, 118, 87, 120, 20, PlotOutDlgTransformSpinEditInitProc, NULL},
    {kADMTextPushButtonType, kCuttingSettingsTitleString, 0, 0, kPlotOutCutSettingsItem, 126, 76, 300, 20,
     PlotOutDlgTextPushButtonInitProc, NULL},
    {kADMFrameType, kPlotOutTransformBoxString, 0, 0, kPlotOutTransformBoxItem, 2, 205, 62, 81, NULL, NULL},
    // Copies (y 144 to 225)
    {kADMTextStaticType, kPlotOutCopiesXLabelString, 0, 0, kPlotOutCopiesXLabelItem, 4, 50, 160, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutCopiesXItem, 54, 48, 158, 20, PlotOutDlgTileSpinEditInitProc, NULL},
    {kADMTextStaticType, kPlotOutCopiesYLabelString, 0, 0, kPlotOutCopiesYLabelItem, 104, 50, 160, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutCopiesYItem, 154, 51, 158, 20, PlotOutDlgTileSpinEditInitProc, NULL},
    {kADMTextStaticType, kPlotOutGapXLabelString, 0, 0, kPlotOutGapXLabelItem, 4, 56, 182, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutGapXItem, 60, 90, 180, 20, PlotOutDlgTileSpinEditInitProc, NULL},
    {kADMTextStaticType, kPlotOutGapYLabelString, 0, 0, kPlotOutGapYLabelItem, 4, 56, 204, 16, NULL, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutGapYItem, 60, 90, 202, 20, PlotOutDlgTileSpinEditInitProc, NULL},
    {kADMFrameType, kPlotOutCopiesBoxString, 0, 0, kPlotOutCopiesBoxItem, 2, 205, 144, 81, NULL, NULL},
    // Curve fitting (y 226 to 285)
    {kADMTextRadioButtonType, kPlotOutFitLinesString, 0, 0, kPlotOutFitLinesItem, 8, 90, 240, 18,
     PlotOutDlgFitRadioButtonInitProc, NULL},
    {kADMTextRadioButtonType, kPlotOutFitArcsString, 0, 0, kPlotOutFitArcsItem, 104, 90, 240, 18,
     PlotOutDlgFitRadioButtonInitProc, NULL},
    {kADMTextStaticType, kPlotOutFitPrecisionLabelString, 0, 0, kPlotOutFitPrecisionLabelItem, 4, 72, 263, 16, NULL,
     NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutFitPrecisionItem, 78, 70, 261, 20, PlotOutDlgFitSpinEditInitProc, NULL},
    {kADMFrameType, kPlotOutFitBoxString, 0, 0, kPlotOutFitBoxItem, 2, 205, 226, 59, NULL, NULL},
    // Media size (y 286 to 345)
    {PPB, 0, kPlotOutMediaWidthPictureTip, kWidthArrowPicture, kPlotOutMediaWidthPictureItem, 8, 20, 300, 20,
     PlotOutDlgPaperPicturePushButtonInitProc, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutMediaWidthItem, 30, 90, 300, 20, PlotOutDlgPaperSpinEditInitProc, NULL},
    {PPB, 0, kPlotOutMediaLengthPictureTip, kLengthArrowPicture, kPlotOutMediaLengthPictureItem, 8, 20, 322, 20,
     PlotOutDlgPaperPicturePushButtonInitProc, NULL},
    {kADMSpinEditType, 0, 0, 0, kPlotOutMediaLengthItem, 30, 90, 322, 20, PlotOutDlgPaperSpinEditInitProc, NULL},
    {kADMFrameType, kPlotOutMediaBoxString, 0, 0, kPlotOutMediaBoxItem, 2, 205, 286, 59, NULL, NULL},
    // View (y 346 to 419)
    {kADMTextCheckBoxType, kPlotOutShowIndexString, 0, 0, kPlotOutShowIndexItem, 8, 120, 360, 18,
     PlotOutDlgViewSettingCheckBoxInitProc, NULL},
    {kADMTextCheckBoxType, kPlotOutShowControlPointsString, 0, 0, kPlotOutShowControlPointsItem, 8, 120, 379, 18,
     PlotOutDlgViewSettingCheckBoxInitProc, NULL},
    {kADMTextCheckBoxType, kPlotOutShowStartPointsString, 0, 0, kPlotOutShowStartPointsItem, 8, 120, 398, 18,
     PlotOutDlgViewSettingCheckBoxInitProc, NULL},
    {PPB, 0, kPlotOutPreviewOptionsTip, kPlotOutPreviewOptionsPicture, kPlotOutPreviewOptionsItem, 178, 24, 360, 24,
     PlotOutDlgViewSettingPicButtonInitProc, NULL},
    {kADMFrameType, kPlotOutViewBoxString, 0, 0, kPlotOutViewBoxItem, 2, 205, 346, 73, NULL, NULL},
    // Lists and cut order (y 420 to 567); the radios stand right of the
    // group's title, clear of it in every language.
    {PRB, 0, kPlotOutCutByLayerTip, kPlotOutCutByLayerPicture, kPlotOutCutByLayerItem, 160, 22, 427, 20,
     PlotOutDlgLayerColorPictureRatioButtonInitProc, NULL},
    {PRB, 0, kPlotOutCutByColorTip, kPlotOutCutByColorPicture, kPlotOutCutByColorItem, 183, 22, 427, 20,
     PlotOutDlgLayerColorPictureRatioButtonInitProc, NULL},
    {kADMListBoxType, 0, 0, 0, kPlotOutLayerListItem, 5, 200, 450, 92, PlotOutDlgLayerColorListBoxInitProc, NULL},
    {kADMListBoxType, 0, 0, 0, kPlotOutColorListItem, 5, 200, 450, 92, PlotOutDlgLayerColorListBoxInitProc, NULL},
    {PPB, 0, kPlotOutAutoOrderTip, kPlotOutAutoOrderPicture, kPlotOutAutoOrderItem, 144, 21, 545, 19,
     PlotOutDlgAutoIndexPushButtonInitProc, NULL},
    {PRB, 0, kPlotOutRenumberToolTip, kPlotOutRenumberToolPicture, kPlotOutRenumberToolItem, 164, 21, 545, 19,
     PlotOutDlgManuIndexRadioButtonInitProc, NULL},
    {PRB, 0, kPlotOutSwapToolTip, kPlotOutSwapToolPicture, kPlotOutSwapToolItem, 184, 21, 545, 19,
     PlotOutDlgManuIndexRadioButtonInitProc, NULL},
    {kADMFrameType, kPlotOutListsBoxString, 0, 0, kPlotOutListsBoxItem, 2, 205, 420, 147, NULL, NULL},
    // Preview, zoom and the row of picture buttons
    {kADMFrameType, 0, 0, 0, kPlotOutPreviewItem, 210, 616, 2, 543, PlotOutDlgPreviewFrameInitProc, NULL},
    {kADMTextEditType, 0, 0, 0, kPlotOutZoomValueItem, 210, 40, 552, 20, PlotOutDlgPreviewZoomEditInitProc, NULL},
    {kADMSliderType, 0, 0, 0, kPlotOutZoomSliderItem, 255, 579, 562, 10, PlotOutDlgPreviewSlideInitProc, NULL},
    {PPB, 0, kPlotOutUndoTip, kPlotOutUndoPicture, kPlotOutUndoItem, 500, 32, 573, 32, PlotOutDlgPreviewButtonInitProc,
     NULL},
    {PPB, 0, kPlotOutRedoTip, kPlotOutRedoPicture, kPlotOutRedoItem, 532, 32, 573, 32, PlotOutDlgPreviewButtonInitProc,
     NULL},
    {PRB, 0, kPlotOutZoomToolTip, kPlotOutZoomToolPicture, kPlotOutZoomToolItem, 564, 32, 573, 32,
     PlotOutDlgPreviewPictureRadioButtonInitProc, NULL},
    {PRB, 0, kPlotOutPanToolTip, kPlotOutPanToolPicture, kPlotOutPanToolItem, 596, 32, 573, 32,
     PlotOutDlgPreviewPictureRadioButtonInitProc, NULL},
    {PRB, 0, kPlotOutSelectToolTip, kPlotOutSelectToolPicture, kPlotOutSelectToolItem, 628, 32, 573, 32,
     PlotOutDlgPreviewPictureRadioButtonInitProc, NULL},
    {PPB, 0, kPlotOutBestFitTip, kPlotOutBestFitPicture, kPlotOutBestFitItem, 660, 32, 573, 32,
     PlotOutDlgPreviewButtonInitProc, NULL},
    {PPB, 0, kPlotOutPreviewOutputTip, kPlotOutPreviewOutputPicture, kPlotOutPreviewOutputItem, 692, 32, 573, 32,
     PlotOutDlgPreviewButtonInitProc, NULL},
    {PPB, 0, kPlotOutFileOutputTip, kPlotOutFileOutputPicture, kPlotOutFileOutputItem, 724, 32, 573, 32,
     PlotOutDlgPreviewButtonInitProc, NULL},
    {PPB, 0, kPlotOutUSBOutputTip, kPlotOutUSBOutputPicture, kPlotOutUSBOutputItem, 756, 32, 573, 32,
     PlotOutDlgPreviewButtonInitProc, NULL},
    {PPB, 0, kPlotOutExitTip, kPlotOutExitPicture, kPlotOutExitItem, 788, 32, 573, 32, PlotOutDlgPreviewButtonInitProc,
     NULL},
    {kADMTextStaticType, 0, 0, 0, kPlotOutStatusItem, 2, 248, 573, 32, NULL, NULL},
};

// The value controls that keep each other up to date, in the order they hear
// of a change.
const int32_t kValueControls[kValueControlCount] = {
    kPlotOutOffsetXItem, kPlotOutOffsetYItem, kPlotOutMirrorItem,       kPlotOutScaleXItem,   kPlotOutScaleYItem,
    kPlotOutWidthItem,   kPlotOutHeightItem,  kPlotOutRotationItem,     kPlotOutCopiesXItem,  kPlotOutCopiesYItem,
    kPlotOutGapXItem,    kPlotOutGapYItem,    kPlotOutFitPrecisionItem, kPlotOutFitLinesItem, kPlotOutFitArcsItem};

// ---- Alerts ------------------------------------------------------------------------------

enum { kAlertTextSize = 255 };

// An alert with a text of the string list, followed by what it is about.
static void alertWith(int32_t index, const char* detail)
{
    char text[kAlertTextSize];
    char message[kAlertTextSize + kSPMaxPathLength + 2];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, index, text, kAlertTextSize);
    if (detail != NULL && detail[0] != 0)
        snprintf(message, sizeof message, "%s %s", text, detail);
    else
        snprintf(message, sizeof message, "%s", text);
    sADMBasic->ErrorAlert(message);
}

// The same for a file, with the system's reason when there is one.
static void alertWithFile(int32_t index, const char* path, int systemError)
{
    char detail[kSPMaxPathLength + 128];
    if (systemError == kOSNotRegularFile)
        snprintf(detail, sizeof detail, "%s (not a regular file)", path);
    else if (systemError != 0)
        snprintf(detail, sizeof detail, "%s (%s)", path, strerror(systemError));
    else
        snprintf(detail, sizeof detail, "%s", path);
    alertWith(index, detail);
}

// ---- Opening ---------------------------------------------------------------------------------

// Why a job cannot be opened, from the check before the dialog or from the
// loading in it.
static void alertCannotOpen(ASErr error)
{
    int32_t index = error == kNoCurrentPlotterErr ? kNoCurrentPlotterString
                    : error == kUnsupportedArtErr   ? kUnsupportedObjectString
                    : error == kMemoryErr           ? kJobOutOfMemoryString
                                                    : kNothingSelectedString;
    // A current plotter that is there but holds values no job can be cut
    // with is named, with the field that is wrong.
    char problem[kAlertTextSize] = "";
    if (error == kNoCurrentPlotterErr) (void)describeCurrentPlotterValues(problem, sizeof problem);
    alertWith(index, problem);
}

// The code of a load that failed while the dialog opened; goPlotOut returns
// it in place of the modal result.
static ASErr g_openError = kNoErr;

ASErr goPlotOut(void* message)
{
    (void)message;
    ASErr error = checkData(1);
    if (error != kNoErr) {
        alertCannotOpen(error);
        return error;
    }
    g->mediaWidth = (float)g->curPlotter.PlotterSizeX;
    g->mediaLength = (float)g->curPlotter.PlotterSizeY;
    g_openError = kNoErr;
    ASErr result = runModalDialog(kPlotOutDialog, PlotOutDialogInitProc, kADMResizingModalDialogStyle);
    return g_openError != kNoErr ? g_openError : result;
}

// Frees the cut model, the layer and colour tables and the undo history;
// what is already free is passed over. Freeing cannot fail.
static void freeJob()
{
    (void)freeData();
    if (g_lyLoad != NULL) {
        (void)freeLayer(g_lyLoad, g_iLayerNum);
        free(g_lyLoad);
        g_lyLoad = NULL;
    }
    g_iLayerNum = 0;
    if (g_clLoad != NULL) {
        (void)freeColor(g_clLoad, g_iColorNum);
        free(g_clLoad);
        g_clLoad = NULL;
    }
    g_iColorNum = 0;
    freeUndoHistory();
}

// The states the dialog opens with: cut by layer with the layer list shown,
// and the select tool. The fit controls need nothing here: their init procs
// show the values kept from the last exit.
static void setOpenStates(ADMDialogRef dialog)
{
    ADMItemRef item;
    if ((item = plotOutItem(dialog, kPlotOutColorListItem)) != NULL) sADMItem->Show(item, FALSE);
    if ((item = plotOutItem(dialog, kPlotOutSelectToolItem)) != NULL) sADMItem->SetBooleanValue(item, TRUE);
}

ASErr PlotOutDialogInitProc(ADMDialogRef dialog)
{
    ADMRect screen, bounds;
    sADMBasic->GetScreenDimensions(&screen);
    int32_t centreX = (screen.left + screen.right) / 2;
    int32_t centreY = (screen.top + screen.bottom) / 2;
    bounds.left = (ASInt16)(centreX - kPlotOutDialog.width / 2);
    bounds.top = (ASInt16)(centreY - 315);
    bounds.right = (ASInt16)(bounds.left + kPlotOutDialog.width);
    bounds.bottom = (ASInt16)(bounds.top + kPlotOutDialog.height);
    sADMDialog->SetBoundsRect(dialog, &bounds);

    char title[kAlertTextSize];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kPlotOutTitleString, title, kAlertTextSize);
    sADMDialog->SetText(dialog, title);

    // Key strokes reach the track procedure for Control-Z.
    sADMDialog->SetMask(dialog, sADMDialog->GetMask(dialog) | kADMUncapturedActionMask | kADMKeyStrokeMask);
    sADMDialog->SetDestroyProc(dialog, PlotOutDialogDestroyProc);
    sADMDialog->SetNotifyProc(dialog, PlotOutDialogNotifyProc);
    sADMDialog->SetTrackProc(dialog, PlotOutDialogTrackProc);
    sADMDialog->SetMinWidth(dialog, kPlotOutMinWidth);
    sADMDialog->SetMinHeight(dialog, kPlotOutMinHeight);
    sADMDialog->SetHorizontalIncrement(dialog, 20);
    sADMDialog->SetVerticalIncrement(dialog, 20);

    if (loadDialogItems(dlgPlotOutItem, kPlotOutItemCount, dialog) != 1) return kNoErr;
    setOpenStates(dialog);

    const int32_t statusLine = kPlotOutStatusItem;
    justifyLabels(dialog, dlgPlotOutItem, kPlotOutItemCount, &statusLine, 1);

    ADMRect frame = {0, 0, 0, 0};
    ADMItemRef preview = plotOutItem(dialog, kPlotOutPreviewItem);
    if (preview != NULL) sADMItem->GetLocalRect(preview, &frame);
    int32_t frameWidth = frame.right - frame.left;
    int32_t frameHeight = frame.bottom - frame.top;
    g->previewZoomX = 1.0;
    g->previewZoomY = 1.0;
    g_dMaxZoom = 10.0;
    g_dMinZoom = 0.1;
    g_iPreviewOpType = kPreviewToolSelect;
    if (g->curPlotter.PlotterOrigin == 1) {
        g->previewOrigin.v = frameHeight;
        g->previewOrigin.h = 0;
    } else if (g->curPlotter.PlotterOrigin == 2) {
        g->previewOrigin.v = 0;
        g->previewOrigin.h = 0;
    } else {
        g->previewOrigin.v = frameHeight / 2;
        g->previewOrigin.h = frameWidth / 2;
    }

    initUndoHistory();
    g_lyLoad = NULL;
    g_iLayerNum = 0;
    g_clLoad = NULL;
    g_iColorNum = 0;
    ASErr error = loadData(NULL);
    if (error == kNoErr) error = loadLayer(&g_lyLoad, &g_iLayerNum);
    if (error == kNoErr) error = loadColor(&g_clLoad, &g_iColorNum);
    if (error != kNoErr) {
        // A job with volumes or table entries missing would be cut without
        // them; nobody gets to work on it.
        g_openError = error;
        freeJob();
        alertCannotOpen(error);
        abandonDialog(dialog);
        return kNoErr;
    }
    (void)getGlobalDistance(&g->totalCutLength);  // only sums lengths: cannot fail

    redrawPlotOutPreview(dialog);
    static const int32_t kUpdatedFirst[6] = {kPlotOutZoomSliderItem, kPlotOutZoomValueItem, kPlotOutLayerListItem,
                                             kPlotOutColorListItem,  kPlotOutWidthItem,     kPlotOutHeightItem};
    for (int i = 0; i < 6; ++i) {
        ADMItemRef item = plotOutItem(dialog, kUpdatedFirst[i]);
        if (item != NULL) sADMItem->SendNotify(item, kUpdateItemSettingNotify);
    }
    return kNoErr;
}

// ---- Closing ---------------------------------------------------------------------------------

ASErr PlotOutDialogDestroyProc(ADMDialogRef dialog)
{
    (void)dialog;
    // No timer ever holds on to the cut model, so it goes with the dialog.
    freeJob();
    return kNoErr;
}

// ---- Relayout --------------------------------------------------------------------------------

static void placeItem(ADMDialogRef dialog, int32_t id, int32_t left, int32_t right, int32_t top, int32_t bottom)
{
    ADMItemRef item = plotOutItem(dialog, id);
    if (item == NULL) return;
    ADMRect r;
    r.left = (ASInt16)left;
    r.right = (ASInt16)right;
    r.top = (ASInt16)top;
    r.bottom = (ASInt16)bottom;
    sADMItem->SetBoundsRect(item, &r);
}

static void relayout(ADMDialogRef dialog)
{
    ADMRect local;
    sADMDialog->GetLocalRect(dialog, &local);
    int32_t W = local.right - local.left;
    int32_t H = local.bottom - local.top;
    placeItem(dialog, kPlotOutLayerListItem, 5, 205, 450, H - 95);
    placeItem(dialog, kPlotOutColorListItem, 5, 205, 450, H - 95);
    placeItem(dialog, kPlotOutAutoOrderItem, 144, 165, H - 92, H - 73);
    placeItem(dialog, kPlotOutRenumberToolItem, 164, 185, H - 92, H - 73);
    placeItem(dialog, kPlotOutSwapToolItem, 184, 205, H - 92, H - 73);
    placeItem(dialog, kPlotOutListsBoxItem, 2, 207, 420, H - 64);
    placeItem(dialog, kPlotOutPreviewItem, 210, W - 6, 2, H - 87);
    placeItem(dialog, kPlotOutZoomValueItem, 210, 250, H - 85, H - 65);
    placeItem(dialog, kPlotOutZoomSliderItem, 255, W - 6, H - 75, H - 65);
    static const int32_t kButtonRow[10] = {kPlotOutUndoItem,          kPlotOutRedoItem,       kPlotOutZoomToolItem,
                                           kPlotOutPanToolItem,       kPlotOutSelectToolItem, kPlotOutBestFitItem,
                                           kPlotOutPreviewOutputItem, kPlotOutFileOutputItem, kPlotOutUSBOutputItem,
                                           kPlotOutExitItem};
    for (int k = 0; k < 10; ++k) placeItem(dialog, kButtonRow[k], W - 340 + 32 * k, W - 308 + 32 * k, H - 64, H - 32);
    placeItem(dialog, kPlotOutStatusItem, 2, 250, H - 64, H - 32);
}

ASErr PlotOutDialogNotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kADMBoundsChangedNotifier)) {
        // Items report their own moves too; only the dialog's resize lays out.
        if (sADMNotifier->GetItem(notifier) != NULL) return kNoErr;
        relayout(dialog);
        sADMDialog->Invalidate(dialog);
    }
    sADMDialog->DefaultNotify(dialog, notifier);
    return kNoErr;
}

// ---- Undo and redo -------------------------------------------------------------------------

static void afterHistoryStep(ADMDialogRef dialog)
{
    redrawPlotOutPreview(dialog);
    // The value controls read the selection as it was taken back.
    ADMItemRef preview = plotOutItem(dialog, kPlotOutPreviewItem);
    if (preview != NULL) (void)notifySend(preview, kValueChangedNotify);
}

ASBoolean PlotOutDialogTrackProc(ADMDialogRef dialog, ADMTrackerRef tracker)
{
    if (sADMTracker->GetAction(tracker) == kADMKeyStrokeAction &&
        sADMTracker->TestModifier(tracker, kADMControlKeyModifier) && sADMTracker->GetCharacter(tracker) == 26) {
        ASErr error = sADMTracker->TestModifier(tracker, kADMShiftKeyModifier) ? redoVolumeChange()
                                                                               : undoVolumeChange();
        if (error == kNoErr) afterHistoryStep(dialog);
    }
    return sADMDialog->DefaultTrack(dialog, tracker);
}

ASErr notifySend(ADMItemRef item, const char* notifierName)
{
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    // The controls only show what they are told of: the selection is read
    // once for all fifteen, not by each (10,000 volumes are a pass each).
    beginSelectionBroadcast();
    for (int i = 0; i < kValueControlCount; ++i) {
        ADMItemRef receiver = plotOutItem(dialog, kValueControls[i]);
        if (receiver != NULL && receiver != item) sADMItem->SendNotify(receiver, notifierName);
    }
    endSelectionBroadcast();
    return kNoErr;
}

ASErr PlotOutDlgPreviewButtonInitProc(ADMItemRef item)
{
    static const ItemNotifyProc procs[] = {
        {kPlotOutUndoItem, PlotOutDlgOutputPiturePushButtonUndoProc},
        {kPlotOutRedoItem, PlotOutDlgOutputPiturePushButtonRedoProc},
        {kPlotOutPreviewOutputItem, PlotOutDlgOutputPreviewPicturePushButtonProc},
        {kPlotOutFileOutputItem, PlotOutDlgOutputFilePiturePushButtonProc},
        {kPlotOutUSBOutputItem, PlotOutDlgOutputPiturePushButtonProc},
        {kPlotOutExitItem, PlotOutDlgExitDlgPicturePushButtonProc},
        {kPlotOutBestFitItem, PlotOutDlgBestFitPiturePushButtonProc},
    };
    return useNotifyProcOf(item, procs);
}

ASErr PlotOutDlgOutputPiturePushButtonUndoProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        // With nothing to undo the preview is redrawn all the same.
        (void)undoVolumeChange();
        afterHistoryStep(sADMItem->GetDialog(item));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgOutputPiturePushButtonRedoProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        (void)redoVolumeChange();  // as undo: nothing to redo still redraws
        afterHistoryStep(sADMItem->GetDialog(item));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgExitDlgPicturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        // The fit settings are kept only when the user leaves through this
        // button; resizing or closing the window keeps the earlier ones.
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        ADMItemRef precision = plotOutItem(dialog, kPlotOutFitPrecisionItem);
        ADMItemRef arcs = plotOutItem(dialog, kPlotOutFitArcsItem);
        if (precision != NULL) g->Precious = sADMItem->GetFloatValue(precision) * kPointToMillimetre;
        g->FitType = (arcs != NULL && sADMItem->GetBooleanValue(arcs)) ? 2 : 1;
        sADMDialog->EndModal(dialog, kPlotOutExitItem, TRUE);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Placement buttons -----------------------------------------------------------------------

ASErr PlotOutDlgOffsetPushButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, PlotOutDlgOffsetPushButtonNotifyProc);
}

ASErr PlotOutDlgOffsetPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        g->undoNewStep = 1;
        // With nothing selected an align moves nothing; the dialog's controls
        // are inactive then anyway.
        switch (sADMItem->GetID(item)) {
        case kPlotOutBoardCenterXItem: (void)setSelectVolumeALignBoardCenterX(); break;
        case kPlotOutBoardCenterYItem: (void)setSelectVolumeALignBoardCenterY(); break;
        case kPlotOutAlignLeftItem: (void)setSelectVolumeAlignLeft(); break;
        case kPlotOutAlignCenterXItem: (void)setSelectVolumeAlignCenterX(); break;
        case kPlotOutAlignRightItem: (void)setSelectVolumeAlignRight(); break;
        case kPlotOutAlignTopItem: (void)setSelectVolumeAlignTop(); break;
        case kPlotOutAlignCenterYItem: (void)setSelectVolumeAlignCenterY(); break;
        case kPlotOutAlignBottomItem: (void)setSelectVolumeAlignBottom(); break;
        case kPlotOutAutoGroupItem:
            if (goAutoGroupSpace() == kAutoGroupSpaceConfirmed) {
                int32_t notPlaced = 0;
                (void)setVolumeAutoGroup(&notPlaced);
                if (notPlaced > 0) {
                    char count[16];
                    snprintf(count, sizeof count, "%d", (int)notPlaced);
                    alertWith(kVolumesNotPackedString, count);
                }
            }
            break;
        case kPlotOutResetPositionsItem: (void)resetVolumePositions(); break;
        default: break;
        }
        (void)notifySend(item, kPreviewSelectionChangedNotify);
        redrawPlotOutPreview(sADMItem->GetDialog(item));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- Cut by layer or by colour ---------------------------------------------------------------

ASErr PlotOutDlgLayerColorPictureRatioButtonInitProc(ADMItemRef item)
{
    sADMItem->SetBooleanValue(item, sADMItem->GetID(item) == kPlotOutCutByLayerItem);
    return useNotifyProc(item, PlotOutDlgLayerColorPictureRatioButtonProc);
}

ASErr PlotOutDlgLayerColorPictureRatioButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    int32_t id = sADMItem->GetID(item);
    ADMItemRef other = plotOutItem(dialog, id == kPlotOutCutByLayerItem ? kPlotOutCutByColorItem : kPlotOutCutByLayerItem);
    ASBoolean on = sADMItem->GetBooleanValue(item);
    if (other != NULL) sADMItem->SetBooleanValue(other, !on);
    uint8_t byLayer = (id == kPlotOutCutByLayerItem) == (on != 0);
    ADMItemRef layers = plotOutItem(dialog, kPlotOutLayerListItem);
    ADMItemRef colors = plotOutItem(dialog, kPlotOutColorListItem);
    if (layers != NULL) sADMItem->Show(layers, byLayer);
    if (colors != NULL) sADMItem->Show(colors, !byLayer);
    // The chosen table's visibility goes back onto the volumes.
    ASErr error =
        byLayer ? updateVisibleLayer(g_lyLoad, g_iLayerNum) : updateVisibleColor(g_clLoad, g_iColorNum);
    redrawPlotOutPreview(dialog);
    sADMItem->DefaultNotify(item, notifier);
    return error;
}

// ---- The output roads -------------------------------------------------------------------------

uint8_t getCutOffLine(Vexa_Line* line)
{
    if (g->volumes == NULL || g->volumeCount <= 0) return 0;
    AIRealRect all;
    for (int32_t i = 0; i < g->volumeCount; ++i) {
        const float* r = g->volumes[i].rect;
        AIRealRect one = {r[0], r[1], r[2], r[3]};
        if (i == 0)
            all = one;
        else
            sAIRealMath->AIRealRectUnion(&all, &one, &all);
    }
    line->x1 = 0.0;
    line->y1 = g->cutOffDistance + all.top;
    line->x2 = g->mediaWidth;
    line->y2 = g->cutOffDistance + all.top;
    return 1;
}

uint8_t getJobExtent(AIRealRect* extent)
{
    uint8_t found = 0;
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; ++i) {
        const Volume* v = &g->volumes[i];
        if (volumeInJob(v) != kJobCut) continue;
        // The placed rectangle holds every copy, whichever way they run.
        AIRealRect one = {v->rect[0], v->rect[1], v->rect[2], v->rect[3]};
        if (!found) {
            *extent = one;
            found = 1;
        } else {
            if (one.left < extent->left) extent->left = one.left;
            if (one.bottom < extent->bottom) extent->bottom = one.bottom;
            if (one.right > extent->right) extent->right = one.right;
            if (one.top > extent->top) extent->top = one.top;
        }
    }
    return found;
}

// A job that reaches beyond the media would run off the cutter's material or
// against its limits: the user is told before it is written or sent, and may
// still write it (a roll may be longer than the plotter's nominal length).
static void warnWhenBeyondMedia(void)
{
    const double tolerance = 0.001;  // mm: placement arithmetic, not art
    AIRealRect extent;
    if (!getJobExtent(&extent)) return;
    if (extent.left >= -tolerance && extent.bottom >= -tolerance && extent.right <= g->mediaWidth + tolerance &&
        extent.top <= g->mediaLength + tolerance)
        return;
    char text[kAlertTextSize], media[kAlertTextSize];
    char message[3 * kAlertTextSize];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kJobBeyondMediaString, text, kAlertTextSize);
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kMediaSizeString, media, kAlertTextSize);
    snprintf(message, sizeof message, "%s x %.1f - %.1f mm, y %.1f - %.1f mm. %s %.1f x %.1f mm.", text, extent.left,
             extent.right, extent.bottom, extent.top, media, g->mediaWidth, g->mediaLength);
    sADMBasic->MessageAlert(message);
}

ASErr writePlotJob(FILE* file, uint8_t byLayer)
{
    int language = g->curPlotter.Language;
    ASErr error = initialPloter(language, file);
    if (error == kNoErr)
        error = plotOutGlobalVolumes(g_lyLoad, g_iLayerNum, g_clLoad, g_iColorNum, language, file, byLayer);
    Vexa_Line line;
    if (error == kNoErr && cutOffLineWanted() && getCutOffLine(&line)) {
        unsigned char penUp = 1;
        error = lineOutCutOff(line, language, file, &penUp);
    }
    if (error == kNoErr) error = endOfPlotOut(language, file);
    return error;
}

// The plug-in's own file, the starting place of the save dialog.
VT_NODISCARD static ASErr pluginFile(SPPlatformFileSpecification* file)
{
    memset(file, 0, sizeof *file);
    return sSPPlugins->GetPluginFileSpecification(g->pluginRef, file);
}

// Writes the job to a file opened for it, closes the file and returns the
// first error of writing or closing.
VT_NODISCARD static ASErr writeJobToFile(FILE* file, uint8_t byLayer)
{
    // A job is millions of short commands: they go to the disk in large blocks.
    setvbuf(file, NULL, _IOFBF, 1 << 16);
    // A job written to its end has flushed its bytes and found no error on
    // the stream (endOfPlotOut); what the close finds is still to be told.
    ASErr error = writePlotJob(file, byLayer);
    if (fclose(file) != 0 && error == kNoErr) error = kWriteErr;
    return error;
}

// Each road first ends a manual order that is running: its tool hides every
// group but the one being ordered, and the job written is always the whole
// job as the lists show it.
ASErr PlotOutDlgOutputPreviewPicturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        endManualOrder(dialog);
        char path[kSPMaxPathLength + 1];
        // Without the plug-in's folder there is no file the preview could read back.
        FILE* file = pluginFolderFilePath(kPreviewFileName, path, sizeof path) == kNoErr ? fopen(path, "w") : NULL;
        if (file == NULL) {
            alertWith(kPreviewFileNotWrittenString, path[0] != 0 ? path : kPreviewFileName);
        } else {
            g->arcAngleUnit = 0.0001;
            if (writeJobToFile(file, layerListShown(dialog)) != kNoErr)
                alertWith(kPreviewFileNotWrittenString, path);
            else
                goOutputPreview(dialog);
        }
        // Back to the select tool, as after any preview.
        ADMItemRef select = plotOutItem(dialog, kPlotOutSelectToolItem);
        if (select != NULL) {
            sADMItem->SetBooleanValue(select, TRUE);
            sADMItem->SendNotify(select, kADMUserChangedNotifier);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgOutputFilePiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        endManualOrder(dialog);
        g->usbOutput = 0;
        char prompt[kAlertTextSize];
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kSavePlotFilePromptString, prompt, kAlertTextSize);
        SPPlatformFileSpecification start, chosen;
        // Without the plug-in's own place the save dialog starts where the
        // host likes: an empty start is still a start.
        (void)pluginFile(&start);
        memset(&chosen, 0, sizeof chosen);
        if (sADMBasic->StandardPutFileDialog(prompt, NULL, &start, kDefaultPlotFileName, &chosen)) {
            chosen.path[sizeof chosen.path - 1] = 0;
            // The job goes to a temporary file that replaces the chosen one
            // only when complete: a failed write keeps the user's old file.
            warnWhenBeyondMedia();
            OSReplacingFile out;
            if (OS_fopenReplacing(&chosen, &out) != kNoErr) {
                alertWithFile(kPlotFileNotCreatedString, out.path[0] ? out.path : chosen.path, out.systemError);
            } else {
                g->arcAngleUnit = 0.1;
                ASErr error = writePlotJob(out.stream, layerListShown(dialog));
                if (OS_fcloseReplacing(&out, error) != kNoErr)
                    alertWithFile(kPlotFileNotWrittenString, out.path, out.systemError);
            }
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgOutputPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    g->arcAngleUnit = 0.1;
    if (userChanged(notifier)) {
        ADMDialogRef dialog = sADMItem->GetDialog(item);
        endManualOrder(dialog);
        g->usbOutput = 1;
        ASErr error = USB_Open((unsigned short)(g->curPlotter.PlotterPID & 0xFFFF),
                               (unsigned short)(g->curPlotter.PlotterVID & 0xFFFF));
        if (error != kNoErr) {
            // Nothing would reach a cutter that is not there; say so rather
            // than let the job seem sent. What the close says adds nothing.
            (void)USB_Close();
            alertWith(kCutterNotFoundString, NULL);
        } else {
            warnWhenBeyondMedia();
            error = writePlotJob(NULL, layerListShown(dialog));
            // The send decides what the user is told: every byte that was
            // going out is out, and a failed close has been logged.
            (void)USB_Close();
            if (error != kNoErr) alertWith(kCutterSendFailedString, NULL);
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

// ---- The preview frame ------------------------------------------------------------------------

ADMPoint g_ptMouseDown = {0, 0};
ADMPoint g_ptMouseDrag = {0, 0};
ADMPoint g_ptMouseDragOld = {0, 0};
ADMRect g_rectBeginUnion = {0, 0, 0, 0};
ADMRect g_rectOldUnion = {0, 0, 0, 0};
ADMRect g_rectNewUnion = {0, 0, 0, 0};
ADMPoint g_ptUnionSize = {0, 0};
AIRealRect g_rectDimenBeginUnion = {0, 0, 0, 0};

ASErr PlotOutDlgPreviewFrameInitProc(ADMItemRef item)
{
    sADMItem->SetItemStyle(item, 0);
    // The pointer tools also hear the mouse moving over the frame with the
    // button up.
    sADMItem->SetMask(item, sADMItem->GetMask(item) | kADMMouseMovedUpMask);
    sADMItem->SetTrackProc(item, PlotOutDlgPreviewFrameTrackProc);
    return useDrawProc(item, PlotOutDlgPreviewFrameDrawProc);
}

ASErr PlotOutDlgPreviewFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer)
{
    if (g_iPreviewDrawType & kPreviewDrawAll) {
        // The drags start from the selection as this redraw shows it.
        if (getSelectionVolumeRealRect(&g_rectDimenBeginUnion) != kNoErr) {
            memset(&g_rectBeginUnion, 0, sizeof g_rectBeginUnion);
            memset(&g_rectOldUnion, 0, sizeof g_rectOldUnion);
            memset(&g_rectNewUnion, 0, sizeof g_rectNewUnion);
            memset(&g_ptUnionSize, 0, sizeof g_ptUnionSize);
        } else {
            convertDimenRectToFrameRect(g_rectDimenBeginUnion, &g_rectBeginUnion);
            g_rectOldUnion = g_rectBeginUnion;
            g_rectNewUnion = g_rectBeginUnion;
            g_ptUnionSize.v = (ASInt16)(g_rectBeginUnion.bottom - g_rectBeginUnion.top);
            g_ptUnionSize.h = (ASInt16)(g_rectBeginUnion.right - g_rectBeginUnion.left);
        }
        drawPreviewFrame(item, drawer);
    }
    if (g_iPreviewDrawType & kPreviewDrawDragRect)
        drawDragRect(item, drawer, &g_ptMouseDown, &g_ptMouseDragOld, &g_ptMouseDrag);
    if (g_iPreviewDrawType & kPreviewDrawDragUnion)
        drawDragRectUnion(item, drawer, &g_rectOldUnion, &g_rectNewUnion);
    g_iPreviewDrawType = kPreviewDrawAll;
    sADMItem->DefaultDraw(item, drawer);
    return kNoErr;
}

// ---- What the preview shows -------------------------------------------------------------------

static uint8_t* viewSettingOf(int32_t id)
{
    switch (id) {
    case kPlotOutShowIndexItem: return &g->viewShowIndex;
    case kPlotOutShowControlPointsItem: return &g->viewShowControlPoints;
    case kPlotOutShowStartPointsItem: return &g->viewShowStartPoint;
    default: return NULL;
    }
}

ASErr PlotOutDlgViewSettingCheckBoxInitProc(ADMItemRef item)
{
    uint8_t* setting = viewSettingOf(sADMItem->GetID(item));
    if (setting != NULL)
        sADMItem->SetBooleanValue(item, *setting != 0);
    return useNotifyProc(item, PlotOutDlgViewSettingCheckBoxNotifyProc);
}

ASErr PlotOutDlgViewSettingCheckBoxNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        uint8_t* setting = viewSettingOf(sADMItem->GetID(item));
        if (setting != NULL)
            *setting = sADMItem->GetBooleanValue(item) ? 1 : 0;
        redrawPlotOutPreview(sADMItem->GetDialog(item));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgViewSettingPicButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, PlotOutDlgViewSettingPicPushButtonColorStyleNotifyProc);
}

ASErr PlotOutDlgViewSettingPicPushButtonColorStyleNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    // The click is this button's whole business; nothing goes on to the toolkit.
    if (userChanged(notifier)) {
        (void)goPreviewOption();  // OK or Cancel, the preview is drawn from what the options hold now
        redrawPlotOutPreview(sADMItem->GetDialog(item));
    }
    return kNoErr;
}
