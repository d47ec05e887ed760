// The Plot Out dialog: the frame of a plot job. Opening it loads the selection
// into the cut model with its layer and colour tables; its buttons send the
// job to the output preview, to a file or to the cutter; closing it frees the
// whole job.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/ColorLayerRecords.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"
#include "Dialog/OutputPreview.h"  // kPreviewFileName
#include "Math/Bezier.h"

enum { kPlotOutItemCount = 73 };

// The smallest the dialog can be made (kPlotOutDialog holds the size it opens at).
enum { kPlotOutMinWidth = 840, kPlotOutMinHeight = 587 };

// Items of the dialog. Ids 46, 64, 76 and 77 are not used.
enum {
    // Position of the selection on the media.
    kPlotOutOffsetXLabelItem = 1,
    kPlotOutOffsetXItem = 2,
    kPlotOutOffsetYLabelItem = 3,
    kPlotOutOffsetYItem = 4,
    kPlotOutBoardCenterXItem = 5,  // centre the selection on the media horizontally
    kPlotOutBoardCenterYItem = 6,  // and vertically
    kPlotOutAlignLeftItem = 7,
    kPlotOutAlignCenterXItem = 8,
    kPlotOutAlignRightItem = 9,
    kPlotOutAlignTopItem = 10,
    kPlotOutAlignCenterYItem = 11,
    kPlotOutAlignBottomItem = 12,
    kPlotOutAutoGroupItem = 13,       // the gaps dialog, then packing
    kPlotOutResetPositionsItem = 14,  // every volume back where it was loaded
    kPlotOutOffsetBoxItem = 15,
    // Transform.
    kPlotOutMirrorItem = 16,
    kPlotOutRotationLabelItem = 17,
    kPlotOutRotationItem = 18,
    kPlotOutScaleXLabelItem = 19,
    kPlotOutScaleXItem = 20,
    kPlotOutScaleYLabelItem = 21,
    kPlotOutScaleYItem = 22,
    kPlotOutScaleLockItem = 23,
    kPlotOutWidthItem = 24,
    kPlotOutHeightItem = 25,
    kPlotOutCutSettingsItem = 26,
    kPlotOutTransformBoxItem = 27,
    // Copies.
    kPlotOutCopiesXLabelItem = 28,
    kPlotOutCopiesXItem = 29,
    kPlotOutCopiesYLabelItem = 30,
    kPlotOutCopiesYItem = 31,
    kPlotOutGapXLabelItem = 32,
    kPlotOutGapXItem = 33,
    kPlotOutGapYLabelItem = 34,
    kPlotOutGapYItem = 35,
    kPlotOutCopiesBoxItem = 36,
    // Curve fitting.
    kPlotOutFitLinesItem = 37,
    kPlotOutFitArcsItem = 38,
    kPlotOutFitPrecisionLabelItem = 39,
    kPlotOutFitPrecisionItem = 40,
    kPlotOutFitBoxItem = 41,
    // Media size.
    kPlotOutMediaWidthPictureItem = 42,
    kPlotOutMediaWidthItem = 43,
    kPlotOutMediaLengthPictureItem = 44,
    kPlotOutMediaLengthItem = 45,
    kPlotOutMediaBoxItem = 47,
    // What the preview shows.
    kPlotOutShowIndexItem = 48,
    kPlotOutShowControlPointsItem = 49,
    kPlotOutShowStartPointsItem = 50,
    kPlotOutPreviewOptionsItem = 51,
    kPlotOutViewBoxItem = 52,
    // Cut by layer or by colour, and the cut order.
    kPlotOutCutByLayerItem = 53,
    kPlotOutCutByColorItem = 54,
    kPlotOutLayerListItem = 55,
    kPlotOutColorListItem = 56,
    kPlotOutAutoOrderItem = 57,
    kPlotOutRenumberToolItem = 58,
    kPlotOutSwapToolItem = 59,
    kPlotOutListsBoxItem = 60,
    // The preview, its zoom and the row of picture buttons under it.
    kPlotOutPreviewItem = 61,
    kPlotOutZoomValueItem = 62,
    kPlotOutZoomSliderItem = 63,
    kPlotOutZoomToolItem = 65,
    kPlotOutPanToolItem = 66,
    kPlotOutSelectToolItem = 67,
    kPlotOutBestFitItem = 68,
    kPlotOutUndoItem = 69,
    kPlotOutRedoItem = 70,
    kPlotOutPreviewOutputItem = 71,
    kPlotOutFileOutputItem = 72,
    kPlotOutUSBOutputItem = 73,
    kPlotOutExitItem = 74,
    kPlotOutStatusItem = 75  // cut length and tool messages
};

// Notifications the dialog's items send each other.
#define kPreviewSelectionChangedNotify "Preview Selection Changed Notify"
#define kValueChangedNotify "Value Changed Notify"
#define kUpdateItemSettingNotify "Update Item Setting Notify"

// The name the save dialog offers for a plot file.
#define kDefaultPlotFileName "Temp.HPGL"

// The job's tables, built when the dialog opens and freed when it closes.
extern Layer* g_lyLoad;
extern int32_t g_iLayerNum;
extern Color* g_clLoad;
extern int32_t g_iColorNum;
// Preview zoom bounds, tool mode (1 select) and redraw kind (1 full redraw).
extern double g_dMinZoom;
extern double g_dMaxZoom;
extern int32_t g_iPreviewOpType;
extern int32_t g_iPreviewDrawType;

// What the preview's next draw does (bits of g_iPreviewDrawType): a full
// redraw, the rubber band, the dragged selection outline. Every draw resets it
// to a full redraw.
enum { kPreviewDrawAll = 1, kPreviewDrawDragRect = 4, kPreviewDrawDragUnion = 8 };

// The pointer's drag in the preview, frame pixels: where the button went down,
// where the mouse is and where it was at the last draw; the selection outline
// at the drag's start, as last drawn and as it is to be drawn, its size (v
// height, h width), and the selection at the drag's start in millimetres. A
// full redraw sets the outlines from the selection.
extern ADMPoint g_ptMouseDown;
extern ADMPoint g_ptMouseDrag;
extern ADMPoint g_ptMouseDragOld;
extern ADMRect g_rectBeginUnion;
extern ADMRect g_rectOldUnion;
extern ADMRect g_rectNewUnion;
extern ADMPoint g_ptUnionSize;
extern AIRealRect g_rectDimenBeginUnion;

extern const Item_Control_arg dlgPlotOutItem[kPlotOutItemCount];

// Tests the selection and the current plotter (an alert on failure, with the
// check's code returned), then runs the modal dialog and returns its result.
// A job that cannot be loaded is not shown on partial tables: the dialog
// closes at once after an alert, and the loader's code is returned.
VT_NODISCARD ASErr goPlotOut(void* message);

VT_NODISCARD ASErr PlotOutDialogInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PlotOutDialogDestroyProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PlotOutDialogNotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier);
ASBoolean PlotOutDialogTrackProc(ADMDialogRef dialog, ADMTrackerRef tracker);

// The value controls that keep each other up to date, in the order they hear
// of a change; inactive while nothing is selected.
enum { kValueControlCount = 15 };
extern const int32_t kValueControls[kValueControlCount];

// Sends a notification to the fifteen value controls, except the sender.
VT_NODISCARD ASErr notifySend(ADMItemRef item, const char* notifierName);

// The placement buttons 5 to 14: centre the selection on the board (5, 6),
// align its edges or centres (7 to 12), pack every volume onto the page after
// the gaps dialog (13), put every volume back where it was loaded (14). Each
// click is one undo step (reset none); the value controls and the preview
// follow.
ASErr PlotOutDlgOffsetPushButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgOffsetPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// The preview frame (item 61): its init procedure installs the mouse tools'
// track procedure (Dialog/PlotOutPreviewTools.h) and the draw procedure,
// which draws what g_iPreviewDrawType asks for.
ASErr PlotOutDlgPreviewFrameInitProc(ADMItemRef item);
ASErr PlotOutDlgPreviewFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer);

// The view checks 48 to 50 (cut-order numbers, control points, start points)
// and the preview-options button 51; each redraws the preview.
ASErr PlotOutDlgViewSettingCheckBoxInitProc(ADMItemRef item);
ASErr PlotOutDlgViewSettingCheckBoxNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgViewSettingPicButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgViewSettingPicPushButtonColorStyleNotifyProc(ADMItemRef item, ADMNotifierRef notifier);

// The layer and colour radios: the list of the chosen kind is shown, and its
// table's visibility applied to the volumes. Which list is shown decides how
// the output roads group the job.
VT_NODISCARD ASErr PlotOutDlgLayerColorPictureRatioButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgLayerColorPictureRatioButtonProc(ADMItemRef item, ADMNotifierRef notifier);

VT_NODISCARD ASErr PlotOutDlgPreviewButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgOutputPiturePushButtonUndoProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutputPiturePushButtonRedoProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutputPreviewPicturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutputFilePiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutputPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgExitDlgPicturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// The cut-off line across the media, cutOffDistance above the top of all
// volumes' placed rectangles; 0 when there are no volumes to measure.
uint8_t getCutOffLine(Vexa_Line* line);

// The extent on the media (mm, left, top, right, bottom) of what the job cuts:
// every visible volume off the marks layer, with all its copies. 0 when
// nothing is cut.
uint8_t getJobExtent(AIRealRect* extent);

// Writes the whole job to a file, or to the cutter when file is null and
// usbOutput is set: plotter start, the volumes by layer or by colour, the
// cut-off line when it is on, the end of job. Stops at the first error.
VT_NODISCARD ASErr writePlotJob(FILE* file, uint8_t byLayer);
