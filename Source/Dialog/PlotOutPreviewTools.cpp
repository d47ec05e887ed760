#include "Dialog/PlotOutPreviewTools.h"

#include <algorithm>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Core/VolumeHitTest.h"
#include "Core/VolumePlacement.h"
#include "Dialog/DialogCommon.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotOutLists.h"
#include "Dialog/PlotOutShared.h"

int32_t g_iPreviewScaleMode = 0;
ADMPoint g_ptMouseUp = {0, 0};
AIRealRect g_rectDimenNewUnion = {0, 0, 0, 0};

namespace {

// A plotter whose origin is its upper-left corner: y grows downwards on the
// screen.
bool yDownwards() { return g->curPlotter.PlotterOrigin == 2; }

// A pan, a re-centring or a fit (whose zoom has no upper limit) that would
// take the view's base point beyond what it holds stops it there rather than
// letting it wrap round to the other side.
int32_t heldOrigin(long long value)
{
    return (int32_t)std::clamp<long long>(value, -kPreviewOriginLimit, kPreviewOriginLimit);
}

// Outline coordinates stay where the preview's own conversions hold them.
ASInt16 heldPixel(long value) { return (ASInt16)std::clamp(value, -kPreviewPixelLimit, kPreviewPixelLimit); }

ADMItemRef dialogItem(ADMItemRef item, int32_t id) { return plotOutItem(sADMItem->GetDialog(item), id); }

void frameSize(ADMItemRef frame, int32_t* width, int32_t* height)
{
    ADMRect bounds = {0, 0, 0, 0};
    if (frame != NULL) sADMItem->GetBoundsRect(frame, &bounds);
    *width = bounds.right - bounds.left;
    *height = bounds.bottom - bounds.top;
}

// The slider and the edit show the zoom anew.
void zoomChanged(ADMItemRef anyItem)
{
    ADMItemRef slider = dialogItem(anyItem, kPlotOutZoomSliderItem);
    ADMItemRef edit = dialogItem(anyItem, kPlotOutZoomValueItem);
    if (slider != NULL) sADMItem->SendNotify(slider, kValueChangedNotify);
    if (edit != NULL) sADMItem->SendNotify(edit, kValueChangedNotify);
}

void sendToItem(ADMItemRef anyItem, int32_t id, const char* notifierName)
{
    ADMItemRef receiver = dialogItem(anyItem, id);
    if (receiver != NULL) sADMItem->SendNotify(receiver, notifierName);
}

// The renumber and swap tools work within the group kind the list shown holds.
int32_t groupFlag(ADMItemRef anyItem) { return layerListShown(sADMItem->GetDialog(anyItem)) ? 1 : 0; }

void setCursor(ADMItemRef frame, int32_t cursor) { sADMItem->SetCursorID(frame, g->pluginRef, cursor); }

ADMRect spanned(ADMPoint a, ADMPoint b)
{
    ADMRect r;
    r.top = std::min(a.v, b.v);
    r.bottom = std::max(a.v, b.v);
    r.left = std::min(a.h, b.h);
    r.right = std::max(a.h, b.h);
    return r;
}

// ---- Button down, drag, button up, hover ------------------------------------------------------

void buttonDown(ADMItemRef frame, ADMPoint point)
{
    // The zoom's rectangle gets its moving corner from each drag, before it is drawn.
    g_ptMouseDown = point;
    g_ptMouseDragOld = point;
    // Nothing selected: the outline stays as the last redraw left it, and
    // neither the move nor the scale tool can be reached without a handle.
    (void)getSelectionVolumeRealRect(&g_rectDimenBeginUnion);
    convertDimenRectToFrameRect(g_rectDimenBeginUnion, &g_rectBeginUnion);
    g_rectOldUnion = g_rectBeginUnion;
    // A press and release without a drag leaves the selection where it is.
    g_rectNewUnion = g_rectBeginUnion;
    if (g_iPreviewOpType == kPreviewToolPan) setCursor(frame, kPreviewSwapSecondCursor);
}

void dragged(ADMItemRef frame, ADMPoint point, uint8_t shift)
{
    g_ptMouseDrag = point;
    switch (g_iPreviewOpType) {
    case kPreviewToolSelect:
    case kPreviewToolZoom: redrawPlotOutPreview(sADMItem->GetDialog(frame), kPreviewDrawDragRect); break;
    case kPreviewToolMove: {
        if (shift) {
            int32_t oh, ov;
            previewShiftMoveOffset(point.h - g_ptMouseDown.h, point.v - g_ptMouseDown.v, &oh, &ov);
            g_rectNewUnion.left = heldPixel(g_rectBeginUnion.left + oh);
            g_rectNewUnion.right = heldPixel(g_rectBeginUnion.right + oh);
            g_rectNewUnion.top = heldPixel(g_rectBeginUnion.top + ov);
            g_rectNewUnion.bottom = heldPixel(g_rectBeginUnion.bottom + ov);
        } else {
            // The outline is carried centred on the mouse.
            int32_t halfWidth = g_ptUnionSize.h / 2, halfHeight = g_ptUnionSize.v / 2;
            g_rectNewUnion.left = heldPixel(point.h - halfWidth);
            g_rectNewUnion.right = heldPixel(point.h + halfWidth);
            g_rectNewUnion.top = heldPixel(point.v - halfHeight);
            g_rectNewUnion.bottom = heldPixel(point.v + halfHeight);
        }
        redrawPlotOutPreview(sADMItem->GetDialog(frame), kPreviewDrawDragUnion);
        break;
    }
    case kPreviewToolScale:
        g_rectNewUnion = previewScaleOutline(g_rectBeginUnion, g_iPreviewScaleMode, point, shift,
                                             g_rectDimenBeginUnion.right - g_rectDimenBeginUnion.left,
                                             g_rectDimenBeginUnion.top - g_rectDimenBeginUnion.bottom);
        redrawPlotOutPreview(sADMItem->GetDialog(frame), kPreviewDrawDragUnion);
        break;
    case kPreviewToolPan:
        g->previewOrigin.h = heldOrigin((long long)g->previewOrigin.h + point.h - g_ptMouseDragOld.h);
        g->previewOrigin.v = heldOrigin((long long)g->previewOrigin.v + point.v - g_ptMouseDragOld.v);
        g_ptMouseDragOld = point;
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        break;
    default: break;
    }
}

void zoomReleased(ADMItemRef frame, ADMPoint up)
{
    int32_t width, height;
    frameSize(frame, &width, &height);
    int32_t dh = up.h - g_ptMouseDown.h, dv = up.v - g_ptMouseDown.v;
    if (abs(dh) < kZoomClickSize || abs(dv) < kZoomClickSize) {
        previewResetView(height);
        zoomChanged(frame);
        return;
    }
    // The centre of the rectangle comes to the centre of the frame.
    ADMPoint centre;
    centre.h = (ASInt16)((g_ptMouseDown.h + up.h) / 2);
    centre.v = (ASInt16)((g_ptMouseDown.v + up.v) / 2);
    AIRealPoint middle;
    convertFramePointToDimenPoint(centre, &middle);
    g->previewZoomX = previewZoomOfDrag(g->previewZoomX, g_ptMouseDown, up, width, height, g_dMinZoom, g_dMaxZoom);
    g->previewZoomY = g->previewZoomX;
    zoomChanged(frame);
    double xy[2] = {middle.h, middle.v};
    long hv[2];
    convertDimenDoubleToFrameLong(xy, hv);
    g->previewOrigin.h = heldOrigin((long long)g->previewOrigin.h + width / 2 - hv[0]);
    g->previewOrigin.v = heldOrigin((long long)g->previewOrigin.v + height / 2 - hv[1]);
}

void released(ADMItemRef frame, ADMPoint point, uint8_t shift)
{
    g_ptMouseUp = point;
    switch (g_iPreviewOpType) {
    case kPreviewToolSelect: {
        AIRealRect picked;
        convertFrameRectToDimenRect(spanned(g_ptMouseDown, point), &picked);
        (void)selectVolume(picked, shift ? 0 : 1);
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        (void)notifySend(frame, kPreviewSelectionChangedNotify);
        break;
    }
    case kPreviewToolMove: {
        AIRealRect begin, now;
        convertFrameRectToDimenRect(g_rectBeginUnion, &begin);
        convertFrameRectToDimenRect(g_rectNewUnion, &now);
        double dx = (double)now.left - begin.left, dy = (double)now.top - begin.top;
        // A press on the centre without a move is no step to undo.
        if (dx != 0.0 || dy != 0.0) {
            g->undoNewStep = 1;
            (void)setSelectionVolumeDoubleValue(kVolumeValueLeft, dx, 1);
            (void)setSelectionVolumeDoubleValue(kVolumeValueBottom, dy, 1);
        }
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        (void)notifySend(frame, kPreviewSelectionChangedNotify);
        break;
    }
    case kPreviewToolScale: {
        convertFrameRectToDimenRect(g_rectNewUnion, &g_rectDimenNewUnion);
        double sx, sy;
        previewScaleFactors(g_rectDimenBeginUnion, g_rectDimenNewUnion, shift, &sx, &sy);
        if (sx != 1.0 || sy != 1.0) {
            g->undoNewStep = 1;
            (void)setSelectionVolumeScale(g_rectDimenBeginUnion, g_iPreviewScaleMode, sx, sy, 1);
        }
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        (void)notifySend(frame, kPreviewSelectionChangedNotify);
        break;
    }
    case kPreviewToolPan: redrawPlotOutPreview(sADMItem->GetDialog(frame)); break;
    case kPreviewToolRenumber: {
        if (g_iCurrentIndex == 0) g_iCurrentIndex = 1;
        AIRealPoint at;
        convertFramePointToDimenPoint(point, &at);
        // A click that hits nothing ends the renumbering; the counter moves
        // on either way.
        if (changeVolumeIndex(&g_iCurrentIndex, at, groupFlag(frame)) != kNoErr)
            sendToItem(frame, kPlotOutRenumberToolItem, kManuSortFinishedNotify);
        g_iCurrentIndex++;
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        break;
    }
    case kPreviewToolSwap: {
        AIRealPoint at;
        convertFramePointToDimenPoint(point, &at);
        if (swapVolumeIndex(&g_iSwapA, &g_iSwapB, at, groupFlag(frame)) != kNoErr)
            sendToItem(frame, kPlotOutSwapToolItem, kManuSortFinishedNotify);
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        break;
    }
    case kPreviewToolZoom:
        zoomReleased(frame, point);
        redrawPlotOutPreview(sADMItem->GetDialog(frame));
        break;
    default: break;
    }
}

void hovered(ADMItemRef frame, ADMPoint point)
{
    switch (g_iPreviewOpType) {
    case kPreviewToolSelect:
    case kPreviewToolMove:
    case kPreviewToolScale: {
        int32_t handle = checkHotRect(point);
        if (handle < 0) {
            g_iPreviewOpType = kPreviewToolSelect;
            setCursor(frame, kPreviewSelectCursor);
        } else {
            g_iPreviewOpType = handle == 8 ? kPreviewToolMove : kPreviewToolScale;
            if (handle < 8) g_iPreviewScaleMode = handle;
            setCursor(frame, previewHandleCursor(handle, g->curPlotter.PlotterOrigin));
        }
        break;
    }
    case kPreviewToolPan: setCursor(frame, kPreviewPanCursor); break;
    case kPreviewToolRenumber: setCursor(frame, kPreviewRenumberCursor); break;
    case kPreviewToolSwap: setCursor(frame, g_iSwapA == -1 ? kPreviewSwapFirstCursor : kPreviewSwapSecondCursor); break;
    default: break;  // the zoom tool keeps the cursor its button set
    }

    enum { kLabelSize = 256 };
    char x[kLabelSize], y[kLabelSize], length[kLabelSize];
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kStatusXString, x, kLabelSize);
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kStatusYString, y, kLabelSize);
    sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kStatusLengthString, length, kLabelSize);
    AIRealPoint at;
    convertFramePointToDimenPoint(point, &at);
    char status[3 * kLabelSize + 96];
    snprintf(status, sizeof status, "%s%.2fmm, %s%.2fmm\n%s%.2fmm", x, (double)at.h, y, (double)at.v, length,
             g->totalCutLength);
    ADMItemRef line = dialogItem(frame, kPlotOutStatusItem);
    if (line != NULL) sADMItem->SetText(line, status);
}

}  // namespace

// ---- The figures --------------------------------------------------------------------------

void previewShiftMoveOffset(int32_t dh, int32_t dv, int32_t* offsetH, int32_t* offsetV)
{
    int32_t ah = abs(dh), av = abs(dv);
    if (ah > 2 * av) {
        *offsetH = dh;
        *offsetV = 0;
    } else if (av > 2 * ah) {
        *offsetH = 0;
        *offsetV = dv;
    } else if (ah > av) {
        *offsetH = dh < 1 ? -av : av;
        *offsetV = dv;
    } else {
        *offsetH = dh;
        *offsetV = dv < 1 ? -ah : ah;
    }
}

ADMRect previewScaleOutline(ADMRect begin, int32_t handle, ADMPoint mouse, uint8_t keepAspect, double width,
                            double height)
{
    const ADMRect& B = begin;
    long left = B.left, top = B.top, right = B.right, bottom = B.bottom;
    // The outline's top lies above its bottom on the screen unless y grows
    // downwards; the aspect's extents are measured the way the outline faces,
    // so that it is never turned inside out by the plotter's origin.
    long fy = B.bottom >= B.top ? 1 : -1;
    bool aspect = keepAspect && width > 0.0 && height > 0.0;

    if (aspect && (handle == 0 || handle == 2 || handle == 4 || handle == 6)) {
        // The opposite corner stays; the extent that reaches further in the
        // selection's own shape decides.
        long rx = (handle == 0 || handle == 2) ? B.right - mouse.h : mouse.h - B.left;
        long ry = ((handle == 0 || handle == 6) ? mouse.v - B.top : B.bottom - mouse.v) * fy;
        long ex, ey;
        if ((double)rx * height > (double)ry * width) {
            ey = ry;
            ex = (long)(ry * width / height);
        } else {
            ex = rx;
            ey = (long)(rx * height / width);
        }
        if (handle == 0 || handle == 2)
            left = B.right - ex;
        else
            right = B.left + ex;
        if (handle == 0 || handle == 6)
            bottom = B.top + fy * ey;
        else
            top = B.bottom - fy * ey;
    } else {
        if (handle == 0 || handle == 1 || handle == 2) left = mouse.h;
        if (handle == 4 || handle == 5 || handle == 6) right = mouse.h;
        if (handle == 2 || handle == 3 || handle == 4) top = mouse.v;
        if (handle == 0 || handle == 6 || handle == 7) bottom = mouse.v;
        if (aspect && (handle == 1 || handle == 5)) {
            long k = (long)((right - left) * height / width) * fy;
            top = (B.top + B.bottom - k) / 2;
            bottom = (B.top + B.bottom + k) / 2;
        } else if (aspect && (handle == 3 || handle == 7)) {
            long k = (long)((bottom - top) * fy * width / height);
            left = (B.left + B.right - k) / 2;
            right = (B.left + B.right + k) / 2;
        } else if (keepAspect) {
            // An axis without extent has no shape to keep: it keeps its size.
            if (!(width > 0.0)) {
                left = B.left;
                right = B.right;
            }
            if (!(height > 0.0)) {
                top = B.top;
                bottom = B.bottom;
            }
        }
    }
    ADMRect r;
    r.left = heldPixel(left);
    r.top = heldPixel(top);
    r.right = heldPixel(right);
    r.bottom = heldPixel(bottom);
    return r;
}

void previewScaleFactors(AIRealRect begin, AIRealRect now, uint8_t keepAspect, double* scaleX, double* scaleY)
{
    double bw = (double)begin.right - begin.left, bh = (double)begin.top - begin.bottom;
    double sx = bw != 0.0 ? fabs(((double)now.right - now.left) / bw) : 1.0;
    double sy = bh != 0.0 ? fabs(((double)now.top - now.bottom) / bh) : 1.0;
    if (keepAspect) {
        if (bw == 0.0)
            sx = sy;
        else if (bh == 0.0)
            sy = sx;
        else
            sx = sy = std::min(sx, sy);
    }
    *scaleX = sx;
    *scaleY = sy;
}

double previewZoomOfDrag(double zoom, ADMPoint down, ADMPoint up, int32_t width, int32_t height, double minZoom,
                         double maxZoom)
{
    long dh = up.h - down.h, dv = up.v - down.v;
    if (dh == 0 || dv == 0) return zoom;
    double sx = fabs((double)width / dh), sy = fabs((double)height / dv);
    // Towards the upper right or the lower left: out.
    if (dh * dv < 0)
        zoom /= std::max(sx, sy);
    else
        zoom *= std::min(sx, sy);
    return std::min(std::max(zoom, minZoom), maxZoom);
}

double previewZoomOfSlider(double position, double minZoom, double maxZoom)
{
    double t = (100.0 - position) / 99.0;
    return pow(maxZoom, 1.0 - t) * pow(minZoom, t);
}

double previewSliderOfZoom(double zoom, double minZoom, double maxZoom)
{
    double span = log(maxZoom) - log(minZoom);
    if (!(zoom > 0.0) || !(span > 0.0)) return 1.0;
    // The inverse of the setting: the slider sits where it would set this zoom.
    double position = 100.0 - 99.0 * (log(maxZoom) - log(zoom)) / span;
    return std::clamp(position, 1.0, 100.0);
}

int32_t previewHandleCursor(int32_t handle, int32_t origin)
{
    if (handle < 0 || handle > 8) return kPreviewSelectCursor;
    // With y downwards the corners change places on the screen: the lower
    // left handle (0) is at the upper left, and so on.
    if (origin == 2) {
        switch (handle) {
        case 0: return kPreviewHandleCursor + 2;
        case 2: return kPreviewHandleCursor + 0;
        case 4: return kPreviewHandleCursor + 6;
        case 6: return kPreviewHandleCursor + 4;
        default: break;
        }
    }
    return kPreviewHandleCursor + handle;
}

void previewResetView(int32_t frameHeight)
{
    g->previewZoomX = 1.0;
    g->previewZoomY = 1.0;
    g->previewOrigin.h = 0;
    g->previewOrigin.v = yDownwards() ? 0 : heldOrigin(frameHeight);
}

void previewBestFit(int32_t frameWidth, int32_t frameHeight)
{
    if (g->volumes == NULL || g->volumeCount <= 0) {
        previewResetView(frameHeight);
        return;
    }
    double left = g->volumes[0].rect[0], top = g->volumes[0].rect[1];
    double right = g->volumes[0].rect[2], bottom = g->volumes[0].rect[3];
    for (int32_t i = 1; i < g->volumeCount; i++) {
        const float* r = g->volumes[i].rect;
        left = std::min(left, (double)r[0]);
        top = std::max(top, (double)r[1]);
        right = std::max(right, (double)r[2]);
        bottom = std::min(bottom, (double)r[3]);
    }
    double lowerLeft[2] = {left, bottom}, upperRight[2] = {right, top};
    long a[2], b[2];
    convertDimenDoubleToFrameLong(lowerLeft, a);
    convertDimenDoubleToFrameLong(upperRight, b);
    long across = b[0] - a[0], down = a[1] - b[1];
    // A job without width fits by its height and one without height by its
    // width; a single point keeps the zoom it has.
    double kx = across != 0 ? fabs((double)(frameWidth - kBestFitMargin) / across) : HUGE_VAL;
    double ky = down != 0 ? fabs((double)(frameHeight - kBestFitMargin) / down) : HUGE_VAL;
    double k = std::min(kx, ky);
    if (k != HUGE_VAL) {
        g->previewZoomX *= k;
        if (fabs(g->previewZoomX) <= 1e-6) g->previewZoomX = 1.0;
        g->previewZoomY = g->previewZoomX;
    }

    convertDimenDoubleToFrameLong(lowerLeft, a);
    g->previewOrigin.h = heldOrigin((long long)g->previewOrigin.h - a[0] + kPreviewRulerWidth);
    if (yDownwards())
        g->previewOrigin.v = heldOrigin((long long)g->previewOrigin.v - a[1] + kPreviewRulerWidth);
    else
        g->previewOrigin.v = heldOrigin((long long)g->previewOrigin.v + (frameHeight - a[1]) - kPreviewRulerWidth);
}

// ---- The procedures -----------------------------------------------------------------------

ASBoolean PlotOutDlgPreviewFrameTrackProc(ADMItemRef item, ADMTrackerRef tracker)
{
    ADMPoint point;
    sADMTracker->GetPoint(tracker, &point);
    uint8_t shift = sADMTracker->TestModifier(tracker, kADMShiftKeyModifier) ? 1 : 0;
    if (sADMTracker->TestAction(tracker, kADMButtonDownAction))
        buttonDown(item, point);
    else if (sADMTracker->TestAction(tracker, kADMMouseMovedDownAction))
        dragged(item, point, shift);
    else if (sADMTracker->TestAction(tracker, kADMButtonUpAction))
        released(item, point, shift);
    else if (sADMTracker->TestAction(tracker, kADMMouseMovedUpAction))
        hovered(item, point);
    return (ASBoolean)sADMItem->DefaultTrack(item, tracker);
}

ASErr PlotOutDlgPreviewZoomEditInitProc(ADMItemRef item)
{
    sADMItem->SetUnits(item, kADMNoUnits);
    sADMItem->SetFloatValue(item, 1.0f);
    sADMItem->SetMinFloatValue(item, (ADMFloat)g_dMinZoom);
    sADMItem->SetMaxFloatValue(item, (ADMFloat)g_dMaxZoom);
    sADMItem->SetJustify(item, kADMCenterJustify);
    return useNotifyProc(item, PlotOutDlgPreviewZoomEditNotifyProc);
}

ASErr PlotOutDlgPreviewZoomEditNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        g->previewZoomX = sADMItem->GetFloatValue(item);
        g->previewZoomY = g->previewZoomX;
        ADMItemRef slider = dialogItem(item, kPlotOutZoomSliderItem);
        if (slider != NULL) sADMItem->SendNotify(slider, kValueChangedNotify);
        redrawPlotOutPreview(sADMItem->GetDialog(item));
    } else if (sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify)) {
        sADMItem->SetMaxFloatValue(item, (ADMFloat)g_dMaxZoom);
        sADMItem->SetMinFloatValue(item, (ADMFloat)g_dMinZoom);
    } else if (sADMNotifier->IsNotifierType(notifier, kValueChangedNotify)) {
        sADMItem->SetFloatValue(item, (ADMFloat)g->previewZoomX);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

enum { kSliderFirst = 1, kSliderLast = 100 };

ASErr PlotOutDlgPreviewSlideInitProc(ADMItemRef item)
{
    sADMItem->SetMinFloatValue(item, kSliderFirst);
    sADMItem->SetMaxFloatValue(item, kSliderLast);
    sADMItem->SetFloatValue(item, 50.5f);
    return useNotifyProc(item, PlotOutDlgPreviewSlideNotifyProc);
}

ASErr PlotOutDlgPreviewSlideNotifyProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        g->previewZoomX = previewZoomOfSlider(sADMItem->GetFloatValue(item), g_dMinZoom, g_dMaxZoom);
        g->previewZoomY = g->previewZoomX;
        ADMItemRef edit = dialogItem(item, kPlotOutZoomValueItem);
        if (edit != NULL) sADMItem->SendNotify(edit, kValueChangedNotify);
        redrawPlotOutPreview(sADMItem->GetDialog(item));
    } else if (sADMNotifier->IsNotifierType(notifier, kUpdateItemSettingNotify)) {
        sADMItem->SetMinFloatValue(item, kSliderFirst);
        sADMItem->SetMaxFloatValue(item, kSliderLast);
    } else if (sADMNotifier->IsNotifierType(notifier, kValueChangedNotify)) {
        sADMItem->SetFloatValue(item, (ADMFloat)previewSliderOfZoom(g->previewZoomX, g_dMinZoom, g_dMaxZoom));
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgPreviewPictureRadioButtonInitProc(ADMItemRef item)
{
    static const ItemNotifyProc procs[] = {
        {kPlotOutZoomToolItem, PlotOutDlgZoomPiturePushButtonProc},
        {kPlotOutPanToolItem, PlotOutDlgMovePiturePushButtonProc},
        {kPlotOutSelectToolItem, PlotOutDlgSelectPiturePushButtonProc},
    };
    (void)useNotifyProcOf(item, procs);
    sADMItem->SetBooleanValue(item, sADMItem->GetID(item) == kPlotOutSelectToolItem);
    return kNoErr;
}

// A tool button chosen: the tool's mode and cursor; the button shows itself
// as the tool in use (deactivated) and still takes the next click.
static void chooseTool(ADMItemRef item, int32_t mode, int32_t cursor)
{
    g_iPreviewOpType = mode;
    ADMItemRef frame = dialogItem(item, kPlotOutPreviewItem);
    if (frame != NULL && cursor != 0) setCursor(frame, cursor);
    sADMItem->Activate(item, FALSE);
}

ASErr PlotOutDlgZoomPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) chooseTool(item, kPreviewToolZoom, kPreviewZoomCursor);
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgMovePiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) chooseTool(item, kPreviewToolPan, kPreviewPanCursor);
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgSelectPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) chooseTool(item, kPreviewToolSelect, 0);
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}

ASErr PlotOutDlgBestFitPiturePushButtonProc(ADMItemRef item, ADMNotifierRef notifier)
{
    if (userChanged(notifier)) {
        ADMItemRef frame = dialogItem(item, kPlotOutPreviewItem);
        int32_t width, height;
        frameSize(frame, &width, &height);
        previewBestFit(width, height);
        zoomChanged(item);
        // Every draw leaves the draw type at a full redraw.
        if (frame != NULL) sADMItem->Invalidate(frame);
    }
    sADMItem->DefaultNotify(item, notifier);
    return kNoErr;
}
