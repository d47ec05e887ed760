// The output preview: the job just written to "~Temp.hpgl" in the plug-in's
// folder is read back in the current plotter's language and replayed command
// by command in the modal "Preview Dialog": a frame drawn to scale, the list
// of the commands drawn so far, a slider to jump to any step, and buttons to
// play, loop, pause, stop, step, and change the speed. The animation runs from
// the frame's draw procedure, waiting the interval on the tick clock between
// two steps; no timer is involved.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"
#include "Dialog/ItemControl.h"
#include "PlotOut/CommandReader.h"

// The job the preview replays, written by the Plot Out dialog into the
// plug-in's folder.
#define kPreviewFileName "~Temp.hpgl"

// Item ids of the preview dialog.
enum {
    kPreviewFrameItem = 1,
    kPreviewSliderItem = 2,
    kPreviewPlayItem = 3,
    kPreviewPauseItem = 4,
    kPreviewStopItem = 5,
    kPreviewLoopItem = 6,
    kPreviewFasterItem = 7,
    kPreviewSlowerItem = 8,
    kPreviewStepForwardItem = 9,
    kPreviewStepBackItem = 10,
    kPreviewListItem = 11,
    kPreviewCloseItem = 12,
    kPreviewInfoItem = 13
};
enum { kPreviewItemCount = 13 };

// Named notifications among the items of the dialog.
#define kUpdateCommandListNotifier "Update Command List Notifier"
#define kUpdateCommandSlideNotifier "Update Command Slide Notifier"
#define kUpdateCommandStaticTextNotifier "Update Command StaticText Notifier"
#define kPlayItNotifier "Play It!"

// Reads "~Temp.hpgl" and runs the preview dialog on it. Returns the dialog's
// modal result (0 when closed with its close button), or 0 when the file
// cannot be read. The argument (the calling dialog) is not used.
int goOutputPreview(ADMDialogRef dialog);

// Reads the preview file into the command list: 0, 1 when it cannot be
// opened, or '!Mem' when memory ran out while reading (what was read stays).
VT_NODISCARD int readHpglFile();
// Replays one command: with the frame item it draws into the frame, with a
// null item it only widens the extent. Returns 0.
int drawCmdLine(UDT_CommandLine command, ADMItemRef item);
// Frees the command list.
int freeCommandLine();

VT_NODISCARD ASErr PreviewDialogInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PreviewDialogDestroyProc(ADMDialogRef dialog);
VT_NODISCARD ASErr PlotOutDlgOutPreviewFrameInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgOutPreviewFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer);
VT_NODISCARD ASErr PlotOutDlgOutPreviewPicButtonInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgOutputPreviewPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutPreviewCmdListInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgOutPreviewCmdListNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutPreviewCmdSlideInitProc(ADMItemRef item);
VT_NODISCARD ASErr PlotOutDlgOutPreviewCmdSlideNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
VT_NODISCARD ASErr PlotOutDlgOutPreviewInfoStaticTextInitProc(ADMItemRef item);

extern const Item_Control_arg dlgPreviewItem[kPreviewItemCount];
