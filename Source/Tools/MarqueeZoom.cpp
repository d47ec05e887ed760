#include "Tools/MarqueeZoom.h"

#include <math.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Tools/HeldArt.h"

// A marquee smaller than the view by more than this goes back instead.
static const float kMarqueeZoomMaxRatio = 10.0f;

AIArtHandle g_artDragZoom = NULL;

ASErr disposeDragZoom() { return disposeHeldArt(&g_artDragZoom); }

ASErr marqueeZoomMouseDown(AIToolMessage* message)
{
    g->toolDragStart = message->cursor;
    g->toolDragCurrent = message->cursor;
    ASErr err = disposeDragZoom();
    if (err == kNoErr) err = sAIArt->NewArt(kPathArt, kPlaceAboveAll, NULL, &g_artDragZoom);
    if (err != kNoErr) g_artDragZoom = NULL;
    return err;
}

ASErr marqueeZoomMouseDrag(AIToolMessage* message)
{
    g->toolDragCurrent = message->cursor;
    if (g_artDragZoom == NULL) return kNoErr;
    const AIRealPoint s = g->toolDragStart, c = g->toolDragCurrent;
    const AIRealPoint corners[4] = {s, {s.h, c.v}, c, {c.h, s.v}};
    AIPathSegment segments[4];
    for (int i = 0; i < 4; ++i) segments[i] = AIPathSegment{corners[i], corners[i], corners[i], true};
    ASErr err = sAIPath->SetPathSegmentCount(g_artDragZoom, 4);
    if (err == kNoErr) err = sAIPath->SetPathSegments(g_artDragZoom, 0, 4, segments);
    if (err == kNoErr) err = sAIPath->SetPathClosed(g_artDragZoom, true);
    return err;
}

bool marqueeZoomRatio(const AIRealRect& view, AIRealPoint start, AIRealPoint end, float* ratio, bool* zoomIn)
{
    const float dx = end.h - start.h, dy = end.v - start.v;
    if (dx == 0.0f || dy == 0.0f) return false;
    const float rx = (view.right - view.left) / dx;
    const float ry = (view.top - view.bottom) / dy;
    *ratio = fabsf(rx) < fabsf(ry) ? fabsf(rx) : fabsf(ry);
    *zoomIn = rx * ry < 0.0f;
    return true;
}

ASErr marqueeZoomMouseUp(AIToolMessage* message)
{
    g->toolDragEnd = message->cursor;
    ASErr err = disposeDragZoom();
    AIDocumentViewHandle view = NULL;
    AIRealRect bounds;
    if (err == kNoErr) err = sAIDocumentView->GetNthDocumentView(0, &view);
    if (err == kNoErr) err = sAIDocumentView->GetDocumentViewBounds(view, &bounds);
    if (err != kNoErr) return err;

    float ratio = 0.0f;
    bool zoomIn = false;
    const bool sized = marqueeZoomRatio(bounds, g->toolDragStart, g->toolDragEnd, &ratio, &zoomIn);
    if (!sized || ratio > kMarqueeZoomMaxRatio) {
        const AIRealPoint saved = {g->savedViewCenter[0], g->savedViewCenter[1]};
        err = sAIDocumentView->SetDocumentViewZoom(view, g->savedViewZoom);
        if (err == kNoErr) err = sAIDocumentView->SetDocumentViewCenter(view, &saved);
        return err;
    }
    const AIRealPoint middle = {(g->toolDragStart.h + g->toolDragEnd.h) / 2,
                                (g->toolDragStart.v + g->toolDragEnd.v) / 2};
    AIReal zoom = 1.0f;
    AIRealPoint center;
    err = sAIDocumentView->GetDocumentViewZoom(view, &zoom);
    if (err != kNoErr) return err;
    g->savedViewZoom = zoom;
    const float newZoom = zoomIn ? zoom * ratio : zoom / ratio;
    err = sAIDocumentView->SetDocumentViewZoom(view, newZoom);
    if (err == kNoErr) err = sAIDocumentView->GetDocumentViewCenter(view, &center);
    if (err == kNoErr) {
        g->savedViewCenter[0] = center.h;
        g->savedViewCenter[1] = center.v;
        err = sAIDocumentView->SetDocumentViewCenter(view, &middle);
    }
    return err;
}
