// The Plot Out dialog: the frame of a plot job. Opening it loads the selection
// into the cut model with its layer and colour tables; its buttons send the
// job to the output preview, to a file or to the cutter; closing it frees the
// whole job.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include "AllSuites.h"
#include "Core/ColorLayerRecords.h"
#include "Dialog/ItemControl.h"
#include "Math/Bezier.h"

#define kPlotOutDialogName "Plot Out Dialog"
enum { kPlotOutDialogResource = 121, kPlotOutItemCount = 73 };

// Size of the dialog when it opens, and the smallest it can be made.
enum { kPlotOutDialogWidth = 840, kPlotOutDialogHeight = 637, kPlotOutMinWidth = 840, kPlotOutMinHeight = 587 };

// Items the dialog itself drives.
enum {
    kPlotOutFitPrecisionItem = 40,
    kPlotOutFitLinesItem = 37,
    kPlotOutFitArcsItem = 38,
    kPlotOutCutByLayerItem = 53,
    kPlotOutLayerListItem = 55,
    kPlotOutColorListItem = 56,
    kPlotOutPreviewItem = 61,
    kPlotOutSelectToolItem = 67,
    kPlotOutUndoItem = 69,
    kPlotOutRedoItem = 70,
    kPlotOutPreviewOutputItem = 71,
    kPlotOutFileOutputItem = 72,
    kPlotOutUSBOutputItem = 73,
    kPlotOutExitItem = 74,
    kPlotOutStatusItem = 75
};

// Notifications the dialog's items send each other.
#define kPreviewSelectionChangedNotify "Preview Selection Changed Notify"
#define kValueChangedNotify "Value Changed Notify"
#define kUpdateItemSettingNotify "Update Item Setting Notify"

// The preview file the output preview replays, in the plug-in's folder.
#define kPreviewFileName "~Temp.hpgl"
// The name the save dialog offers for a plot file.
#define kDefaultPlotFileName "Temp.HPGL"

// String-list texts of the dialog's alerts.
enum {
    kPlotOutTitleString = 101,
    kSavePlotFilePromptString = 146,
    kUnsupportedObjectString = 157,
    kNothingSelectedString = 158,
    kNoCurrentPlotterString = 159,
    kPlotFileNotCreatedString = 180,
    kPlotFileNotWrittenString = 181,
    kCutterNotFoundString = 182,
    kCutterSendFailedString = 183,
    kPreviewFileNotWrittenString = 184
};

// The job's tables, built when the dialog opens and freed when it closes.
extern Layer* g_lyLoad;
extern int32_t g_iLayerNum;
extern Color* g_clLoad;
extern int32_t g_iColorNum;
// Curve-fit precision (mm) and type (1 lines, 2 arcs) kept from the last exit.
extern double g_Precious;
extern int32_t g_FitType;
// Preview zoom bounds, tool mode (1 select) and redraw kind (1 full redraw).
extern double g_dMinZoom;
extern double g_dMaxZoom;
extern int32_t g_iPreviewOpType;
extern int32_t g_iPreviewDrawType;

extern const Item_Control_arg dlgPlotOutItem[];

// Tests the selection and the current plotter (an alert on failure, with the
// check's code returned), then runs the modal dialog and returns its result.
ASErr goPlotOut(void* message);

ASErr PlotOutDialogInitProc(ADMDialogRef dialog);
ASErr PlotOutDialogDestroyProc(ADMDialogRef dialog);
ASErr PlotOutDialogNotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier);
ASBoolean PlotOutDialogTrackProc(ADMDialogRef dialog, ADMTrackerRef tracker);

// Sends a notification to the fifteen value controls, except the sender.
ASErr notifySend(ADMItemRef item, const char* notifierName);

// The layer and colour radios: the list of the chosen kind is shown, and its
// table's visibility applied to the volumes. Which list is shown decides how
// the output roads group the job.
ASErr PlotOutDlgLayerColorPictureRatioButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgLayerColorPictureRatioButtonProc(ADMItemRef item, ADMNotifierRef notifier);

ASErr PlotOutDlgPreviewButtonInitProc(ADMItemRef item);
ASErr PlotOutDlgOutputPiturePushButtonUndoProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgOutputPiturePushButtonRedoProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgOutputPreviewPicturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgOutputFilePiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgOutputPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotOutDlgExitDlgPicturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// The cut-off line across the media, cutOffDistance above the top of all
// volumes' placed rectangles; 0 when there are no volumes to measure.
uint8_t getCutOffLine(Vexa_Line* line);

// Writes the whole job to a file, or to the cutter when file is null and
// usbOutput is set: plotter start, the volumes by layer or by colour, the
// cut-off line when it is on, the end of job. Stops at the first error.
ASErr writePlotJob(FILE* file, uint8_t byLayer);
