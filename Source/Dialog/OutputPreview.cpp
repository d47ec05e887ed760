// The output preview: the written job replayed command by command.
#include "Dialog/OutputPreview.h"

#include <algorithm>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "QuickDraw.h"
#include "Toolbox.h"

// The commands of the file, in file order; they live while goOutputPreview runs.
static UDT_CommandLine* g_cmdLine = nullptr;
static int32_t g_icmdNumber = 0;

static ADMDialogRef g_Dialog = nullptr;
// The pen of the replay: its position (g_iCurX, g_iCurY), its colour
// (g_iColor) and the extent of the whole file (g_iMinX ... g_iMaxY).
static ReplayPen g_pen = {0.0, 0.0, 1, 0, 0.0001, 0, 0, 0, 0};
// Ticks between two animation steps; kept from one opening to the next.
static int32_t g_iInterval = 10;
// Commands on the screen (-1: none), and commands the screen must show (-1: blank).
static int32_t g_iCurrentStep = -1;
static int32_t g_iDrawToStep = 0;
static bool g_bPlay = false;
// Kept from one opening to the next.
static bool g_bLoopPlay = false;
// Set when the next draw of the frame is one the replay asked for.
static bool g_bActiveCallRedraw = false;
static double g_dZoom = 1.0;
static int32_t g_iHeight = 0;

// Faster and Slower change the pause by a step, from the shortest pause to the longest.
static const int32_t kIntervalStep = 5;
static const int32_t kIntervalMin = 5;
static const int32_t kIntervalMax = 25;

const Item_Control_arg dlgPreviewItem[kPreviewItemCount] = {
    {kADMFrameType, 0, 0, 0, kPreviewFrameItem, 221, 505, 2, 546, PlotOutDlgOutPreviewFrameInitProc, nullptr},
    {kADMSliderType, 0, 0, 0, kPreviewSliderItem, 221, 505, 550, 10, PlotOutDlgOutPreviewCmdSlideInitProc, nullptr},
    {kADMPictureRadioButtonType, 0, kPreviewPlayTip, kPreviewPlayPicture, kPreviewPlayItem, 3, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPictureRadioButtonType, 0, kPreviewLoopTip, kPreviewLoopPicture, kPreviewLoopItem, 25, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPictureRadioButtonType, 0, kPreviewPauseTip, kPreviewPausePicture, kPreviewPauseItem, 47, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPictureRadioButtonType, 0, kPreviewStopTip, kPreviewStopPicture, kPreviewStopItem, 69, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPreviewFasterTip, kPreviewFasterPicture, kPreviewFasterItem, 100, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPreviewSlowerTip, kPreviewSlowerPicture, kPreviewSlowerItem, 122, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPreviewStepForwardTip, kPreviewStepForwardPicture, kPreviewStepForwardItem, 144, 22,
     550, 22, PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPreviewStepBackTip, kPreviewStepBackPicture, kPreviewStepBackItem, 166, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMPicturePushButtonType, 0, kPreviewCloseTip, kPreviewClosePicture, kPreviewCloseItem, 197, 22, 550, 22,
     PlotOutDlgOutPreviewPicButtonInitProc, nullptr},
    {kADMListBoxType, 0, 0, 0, kPreviewListItem, 2, 218, 2, 546, PlotOutDlgOutPreviewCmdListInitProc, nullptr},
    {kADMTextStaticType, 0, 0, 0, kPreviewInfoItem, 2, 600, 575, 15, PlotOutDlgOutPreviewInfoStaticTextInitProc,
     nullptr},
};

// ---- Reading ---------------------------------------------------------------------

// The unit of the arc angles of the preview file; the Plot Out dialog sets it
// before writing. An unset or broken unit falls back to the preview file's own.
static double previewArcAngleUnit()
{
    double unit = g->arcAngleUnit;
    return (isfinite(unit) && unit > 0.0) ? unit : 0.0001;
}

int readHpglFile()
{
    g_pen.minX = g_pen.minY = g_pen.maxX = g_pen.maxY = 0;
    char path[kSPMaxPathLength + 1];
    if (pluginFolderFilePath(kPreviewFileName, path, sizeof path) != kNoErr)
        return 1;
    FILE* file = fopen(path, "r");
    if (file == nullptr)
        return 1;
    int count = g_icmdNumber;
    ASErr error = readCommandFile(file, g->curPlotter.Language, &g_cmdLine, &count);
    g_icmdNumber = count;
    fclose(file);
    return error == kNoErr ? 0 : error;
}

int freeCommandLine()
{
    int count = g_icmdNumber;
    freeCommandLines(&g_cmdLine, &count);
    g_icmdNumber = 0;
    return 0;
}

// ---- Drawing -----------------------------------------------------------------------

// The frame's place in the dialog, for the mapping of plotter steps to pixels.
struct FrameOrigin {
    int32_t left;
    int32_t top;
};

// A pixel coordinate: truncated toward zero and held to the 16-bit range, so
// a point far outside the frame stays far outside instead of wrapping round.
static short toPixel(double value)
{
    if (!(value == value))
        return 0;
    if (value > 32767.0)
        return 32767;
    if (value < -32768.0)
        return -32768;
    return (short)value;
}

static void frameLine(void* data, double x0, double y0, double x1, double y1, int32_t color)
{
    const FrameOrigin* origin = (const FrameOrigin*)data;
    double h0 = trunc(x0 * g_dZoom) + origin->left + 10;
    double v0 = trunc(g_iHeight - y0 * g_dZoom) + origin->top - 10;
    double h1 = trunc(x1 * g_dZoom) + origin->left + 10;
    double v1 = trunc(g_iHeight - y1 * g_dZoom) + origin->top - 10;
    MoveTo(toPixel(h0), toPixel(v0));
    LineTo(toPixel(h1), toPixel(v1));
}

int drawCmdLine(UDT_CommandLine command, ADMItemRef item)
{
    if (item == nullptr)
        return replayCommand(command.text, &g_pen, nullptr, nullptr);
    ADMRect bounds;
    sADMItem->GetBoundsRect(item, &bounds);
    FrameOrigin origin = {bounds.left, bounds.top};
    RGBColor color;
    switch (g_pen.color) {
    case 1: color = RGBColor{0, 0, 0}; break;
    case 2: color = RGBColor{0, 0xFFFF, 0}; break;
    case 3: color = RGBColor{0, 0, 0xFFFF}; break;
    case 4: color = RGBColor{0xFFFF, 0, 0}; break;
    default: color = RGBColor{0xFFFF, 0xFFFF, 0}; break;
    }
    PixPatHandle pattern = NewPixPat();
    MakeRGBPat(pattern, &color);
    PenPixPat(pattern);
    ASErr error = replayCommand(command.text, &g_pen, frameLine, &origin);
    DisposePixPat(pattern);
    return error;
}

// Draws commands from up to (not including) to over what the frame shows. A
// replay from the first command starts with the pen at the origin and pen 1,
// as the cutter does, whatever an earlier replay left.
static void drawCommands(ADMItemRef item, int32_t from, int32_t to)
{
    from = std::max(from, 0);
    to = std::min(to, g_icmdNumber);
    if (from == 0) {
        g_pen.x = g_pen.y = 0.0;
        g_pen.color = 1;
    }
    for (int32_t i = from; i < to; i++)
        drawCmdLine(g_cmdLine[i], item);
}

static void clearFrame(ADMDrawerRef drawer)
{
    ADMRect local;
    sADMDrawer->GetBoundsRect(drawer, &local);
    sADMDrawer->SetColor(drawer, kADMWhiteColor);
    sADMDrawer->FillRect(drawer, &local);
}

static ADMItemRef previewItem(int32_t id) { return g_Dialog ? sADMDialog->GetItem(g_Dialog, id) : nullptr; }

static void sendTo(int32_t id, const char* notifierType)
{
    ADMItemRef item = previewItem(id);
    if (item)
        sADMItem->SendNotify(item, notifierType);
}

// The list and the slider follow the step counters; the frame redraws.
static void refresh()
{
    sendTo(kPreviewListItem, kUpdateCommandListNotifier);
    sendTo(kPreviewSliderItem, kUpdateCommandSlideNotifier);
    g_bActiveCallRedraw = true;
    ADMItemRef frame = previewItem(kPreviewFrameItem);
    if (frame)
        sADMItem->Invalidate(frame);
}

ASErr PlotOutDlgOutPreviewFrameDrawProc(ADMItemRef item, ADMDrawerRef drawer)
{
    if (g_bActiveCallRedraw) {
        if (g_iDrawToStep == -1) {
            clearFrame(drawer);
        } else if (g_iDrawToStep > g_iCurrentStep) {
            drawCommands(item, g_iCurrentStep, g_iDrawToStep);
        } else {
            clearFrame(drawer);
            drawCommands(item, 0, g_iDrawToStep);
        }
        g_bActiveCallRedraw = false;
    } else {
        clearFrame(drawer);
        drawCommands(item, 0, g_iCurrentStep);
    }
    if (g_bPlay) {
        Delay((uint32_t)g_iInterval, nullptr);
        sendTo(kPreviewStepForwardItem, kPlayItNotifier);
    }
    sADMItem->DefaultDraw(item, drawer);
    return kNoErr;
}

// ---- The dialog ---------------------------------------------------------------------

int goOutputPreview(ADMDialogRef dialog)
{
    int result = 0;
    // A file cut short by a lack of memory is still shown as far as it was read.
    if (readHpglFile() != 1) {
        replayPenReset(&g_pen, g->curPlotter.Language, previewArcAngleUnit());
        for (int32_t i = 0; i < g_icmdNumber; i++)
            drawCmdLine(g_cmdLine[i], nullptr);
        result = runModalDialog(kPreviewDialog, PreviewDialogInitProc);
    }
    freeCommandLine();
    return result;
}

ASErr PreviewDialogInitProc(ADMDialogRef dialog)
{
    ADMRect screen;
    sADMBasic->GetScreenDimensions(&screen);
    ADMRect bounds;
    bounds.left = (ASInt16)((screen.left + screen.right) / 2 - kPreviewDialog.width / 2);
    bounds.top = (ASInt16)((screen.top + screen.bottom) / 2 - kPreviewDialog.height / 2);
    bounds.right = (ASInt16)(bounds.left + kPreviewDialog.width);
    bounds.bottom = (ASInt16)(bounds.top + kPreviewDialog.height);
    sADMDialog->SetBoundsRect(dialog, &bounds);
    char title[256];
    sADMBasic->GetIndexString(sADMDialog->GetPluginRef(dialog), g->stringListId, kOutputPreviewTitleString, title, 256);
    sADMDialog->SetText(dialog, title);
    sADMDialog->SetDestroyProc(dialog, PreviewDialogDestroyProc);
    g_Dialog = dialog;
    g_bPlay = false;
    g_bActiveCallRedraw = false;
    g_pen.x = g_pen.y = 0.0;
    g_iCurrentStep = -1;
    g_iDrawToStep = 0;
    if (loadDialogItems(dlgPreviewItem, kPreviewItemCount, dialog) != 1) return kNoErr;

    // The whole extent fills the frame less a margin of 10 pixels all round.
    // An extent without width (or height) takes the zoom of the other
    // direction; a job of no extent at all is drawn at one pixel a step.
    ADMRect frame = {0, 0, 0, 0};
    ADMItemRef frameItem = sADMDialog->GetItem(dialog, kPreviewFrameItem);
    if (frameItem)
        sADMItem->GetBoundsRect(frameItem, &frame);
    double spanX = (double)g_pen.maxX - (double)g_pen.minX;
    double spanY = (double)g_pen.maxY - (double)g_pen.minY;
    double zx = (abs(frame.left - frame.right) - 20) / spanX;
    double zy = (abs(frame.top - frame.bottom) - 20) / spanY;
    if (spanX > 0.0 && spanY > 0.0)
        g_dZoom = std::min(zx, zy);
    else if (spanX > 0.0)
        g_dZoom = zx;
    else if (spanY > 0.0)
        g_dZoom = zy;
    else
        g_dZoom = 1.0;
    g_iHeight = frame.bottom - frame.top;
    return kNoErr;
}

ASErr PreviewDialogDestroyProc(ADMDialogRef dialog) { return kNoErr; }

ASErr PlotOutDlgOutPreviewFrameInitProc(ADMItemRef item)
{
    return useDrawProc(item, PlotOutDlgOutPreviewFrameDrawProc);
}

ASErr PlotOutDlgOutPreviewPicButtonInitProc(ADMItemRef item)
{
    return useNotifyProc(item, PlotOutDlgOutputPreviewPushButtonNotifyProc);
}

ASErr PlotOutDlgOutputPreviewPushButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    int32_t id = sADMItem->GetID(item);
    if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        switch (id) {
        case kPreviewPlayItem:
            g_iCurrentStep = g_iDrawToStep = -1;
            sendTo(kPreviewListItem, kUpdateCommandListNotifier);
            sendTo(kPreviewSliderItem, kUpdateCommandSlideNotifier);
            g_bActiveCallRedraw = true;
            g_bPlay = true;
            g_bLoopPlay = false;
            sendTo(kPreviewStepForwardItem, kPlayItNotifier);
            break;
        case kPreviewPauseItem: g_bPlay = false; break;
        case kPreviewStopItem:
            g_bPlay = false;
            g_bLoopPlay = false;
            g_iCurrentStep = g_iDrawToStep = -1;
            refresh();
            break;
        case kPreviewLoopItem:
            g_bPlay = true;
            g_bLoopPlay = true;
            sendTo(kPreviewStepForwardItem, kPlayItNotifier);
            break;
        case kPreviewFasterItem:
            g_iInterval = std::max(g_iInterval - kIntervalStep, kIntervalMin);
            break;
        case kPreviewSlowerItem:
            g_iInterval = std::min(g_iInterval + kIntervalStep, kIntervalMax);
            break;
        case kPreviewStepForwardItem:
            g_iCurrentStep = g_iDrawToStep;
            g_iDrawToStep += 1;
            if (g_iDrawToStep > g_icmdNumber)
                g_iCurrentStep = g_iDrawToStep = -1;
            refresh();
            break;
        case kPreviewStepBackItem:
            g_iCurrentStep = g_iDrawToStep;
            g_iDrawToStep -= 1;
            if (g_iDrawToStep < 0)
                g_iDrawToStep = g_icmdNumber;
            refresh();
            break;
        case kPreviewCloseItem: sADMDialog->EndModal(sADMItem->GetDialog(item), 0, TRUE); break;
        default: break;
        }
    } else if (id == kPreviewStepForwardItem && sADMNotifier->IsNotifierType(notifier, kPlayItNotifier)) {
        g_iCurrentStep = g_iDrawToStep;
        g_iDrawToStep += 1;
        if (g_iDrawToStep > g_icmdNumber) {
            if (!g_bLoopPlay) {
                // The picture stays complete.
                g_bPlay = false;
            } else {
                g_iCurrentStep = g_iDrawToStep = -1;
                refresh();
            }
        } else {
            refresh();
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgOutPreviewCmdListInitProc(ADMItemRef item)
{
    ADMListRef list = sADMItem->GetList(item);
    sADMList->SetEntryHeight(list, 20);
    sADMList->SetEntryWidth(list, 218);
    sADMItem->SetItemStyle(item, 42);
    sADMItem->SetNotifyProc(item, PlotOutDlgOutPreviewCmdListNotifyProc);
    sADMItem->Size(item, 218, 546);
    return kNoErr;
}

// The list holds exactly the commands drawn, the newest one active and selected.
ASErr PlotOutDlgOutPreviewCmdListNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kUpdateCommandListNotifier)) {
        ADMListRef list = sADMItem->GetList(item);
        int32_t target = std::min(std::max(g_iDrawToStep, 0), g_icmdNumber);
        if (target == 0) {
            sADMList->RemoveAllEntries(list);
        } else {
            ADMEntryRef active = sADMList->GetActiveEntry(list);
            if (active) {
                sADMEntry->Select(active, FALSE);
                sADMEntry->Activate(active, FALSE);
            }
            int32_t count = sADMList->NumberOfEntries(list);
            while (count > target)
                sADMList->RemoveEntry(list, --count);
            while (count < target) {
                ADMEntryRef entry = sADMList->InsertEntry(list, count);
                if (entry == nullptr)
                    break;
                sADMEntry->SetText(entry, g_cmdLine[count].text);
                count++;
            }
            ADMEntryRef last = sADMList->IndexEntry(list, count - 1);
            if (last) {
                sADMEntry->Activate(last, TRUE);
                sADMEntry->Select(last, TRUE);
            }
        }
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgOutPreviewCmdSlideInitProc(ADMItemRef item)
{
    sADMItem->SetMinIntValue(item, 0);
    sADMItem->SetMaxIntValue(item, g_icmdNumber);
    sADMItem->SetIntValue(item, 0);
    return useNotifyProc(item, PlotOutDlgOutPreviewCmdSlideNotifyProc);
}

ASErr PlotOutDlgOutPreviewCmdSlideNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (sADMNotifier->IsNotifierType(notifier, kUpdateCommandSlideNotifier)) {
        sADMItem->SetIntValue(item, g_iDrawToStep);
    } else if (sADMNotifier->IsNotifierType(notifier, kADMUserChangedNotifier)) {
        float value = sADMItem->GetFloatValue(item);
        g_iDrawToStep = std::min((isfinite(value) && value > 0.0f) ? (int32_t)value : 0, g_icmdNumber);
        sendTo(kPreviewListItem, kUpdateCommandListNotifier);
        sendTo(kPreviewInfoItem, kUpdateCommandStaticTextNotifier);
        g_bActiveCallRedraw = g_iCurrentStep <= g_iDrawToStep;
        ADMItemRef frame = previewItem(kPreviewFrameItem);
        if (frame)
            sADMItem->Invalidate(frame);
        g_iCurrentStep = g_iDrawToStep;
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgOutPreviewInfoStaticTextInitProc(ADMItemRef item) { return kNoErr; }
