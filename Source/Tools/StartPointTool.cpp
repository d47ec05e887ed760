#include "Tools/StartPointTool.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Dialog/ErrorMessageDialog.h"
#include "Tools/ToolNames.h"

// What the tool hit-tests for: anchors, handles and curves, fills ignored.
enum { kStartPointHitRequest = kAllNoFillRequest };

static ASErr informationLayer(AILayerHandle* layer)
{
    *layer = NULL;
    if (sAILayer->GetLayerByTitle(layer, kInformationLayerTitle) != kNoErr || *layer == NULL)
        return kNoInformationLayerErr;
    return kNoErr;
}

static ASErr pathIsClosed(AIArtHandle path, bool* closed)
{
    AIBoolean c = false;
    ASErr err = sAIPath->GetPathClosed(path, &c);
    *closed = err == kNoErr && c;
    return err;
}

static ASErr markAnchor(AILayerHandle layer, AIRealPoint anchor)
{
    const AIReal r = kStartPointMarkerSize / 2;
    AIArtHandle marker = NULL, top = NULL;
    ASErr err = sAIShapeConstruction->NewRoundedRect(anchor.v + r, anchor.h - r, anchor.v - r, anchor.h + r, r, r,
                                                     false, &marker);
    if (err != kNoErr) return err;
    AIPathStyle style;
    err = sAIPathStyle->GetPathStyle(marker, &style);
    if (err == kNoErr) {
        AIColor orange;
        memset(&orange, 0, sizeof orange);
        orange.kind = kFourColor;
        orange.c.f = AIFourColorStyle{0.0f, 0.5f, 1.0f, 0.0f};
        style.fillPaint = true;
        style.fill.color = orange;
        style.strokePaint = true;
        style.stroke.color = orange;
        style.stroke.width = 1.0f;
        err = sAIPathStyle->SetPathStyle(marker, &style);
    }
    if (err == kNoErr) err = sAIArt->GetFirstArtOfLayer(layer, &top);
    if (err == kNoErr) err = sAIArt->ReorderArt(marker, kPlaceInsideOnTop, top);
    // A marker that could not be put on the marker layer must not stay
    // among the user's art, where it would be cut.
    if (err != kNoErr) (void)sAIArt->DisposeArt(marker);
    return err;
}

ASErr showPathStartPoint(AILayerHandle layer, AIArtHandle art)
{
    int16_t type = kUnknownArt;
    ASErr err = sAIArt->GetArtType(art, &type);
    if (err != kNoErr) return err;
    if (type == kPathArt) {
        bool closed = false;
        int32_t count = 0;
        AIPathSegment first;
        err = pathIsClosed(art, &closed);
        if (err != kNoErr || !closed) return err;
        err = sAIPath->GetPathSegmentCount(art, &count);
        if (err != kNoErr || count == 0) return err;
        err = sAIPath->GetPathSegments(art, 0, 1, &first);
        if (err == kNoErr) err = markAnchor(layer, first.p);
        return err;
    }
    if (type == kGroupArt || type == kCompoundPathArt) {
        AIArtHandle child = NULL;
        err = sAIArt->GetArtFirstChild(art, &child);
        while (err == kNoErr && child != NULL) {
            err = showPathStartPoint(layer, child);
            if (err == kNoErr) err = sAIArt->GetArtSibling(child, &child);
        }
    }
    return err;
}

ASErr toolStartPointSelect()
{
    // A marker layer saved with a document (or left by a tool that never
    // heard its deselect) goes first: markers must never pile up, nor be cut.
    AILayerHandle old = NULL;
    while (informationLayer(&old) == kNoErr)
        if (sAILayer->DeleteLayer(old) != kNoErr) break;

    // A new layer becomes the current one; the user's stays current, so
    // that nothing the user draws meanwhile lands among the markers.
    AILayerHandle info = NULL, current = NULL;
    (void)sAILayer->GetCurrentLayer(&current);  // without one, none is restored
    ASErr err = sAILayer->InsertLayer(NULL, kPlaceAboveAll, &info);
    if (err == kNoErr) err = sAILayer->SetLayerTitle(info, kInformationLayerTitle);
    if (current != NULL) (void)sAILayer->SetCurrentLayer(current);  // the old one is still a layer
    if (err != kNoErr) return err;

    int32_t count = 0;
    if (sAILayer->CountLayers(&count) != kNoErr) return kNoErr;
    for (int32_t i = 0; i < count; ++i) {
        AILayerHandle layer = NULL;
        AIArtHandle top = NULL, art = NULL;
        if (sAILayer->GetNthLayer(i, &layer) != kNoErr || layer == info) continue;
        if (sAIArt->GetFirstArtOfLayer(layer, &top) != kNoErr) continue;
        ASErr walk = sAIArt->GetArtFirstChild(top, &art);
        while (walk == kNoErr && art != NULL) {
            // A path that cannot be marked leaves the others marked.
            (void)showPathStartPoint(info, art);
            walk = sAIArt->GetArtSibling(art, &art);
        }
    }
    return kNoErr;
}

ASErr toolStartPointDeselect()
{
    AILayerHandle info = NULL;
    if (informationLayer(&info) == kNoErr) (void)sAILayer->DeleteLayer(info);  // nothing to tell the host
    return kNoErr;
}

ASErr testCursorOnPath(AIRealPoint point, AIToolHitData* hit, int32_t request)
{
    hit->hit = false;
    int32_t count = 0;
    ASErr err = sAILayer->CountLayers(&count);
    if (err != kNoErr) return err;
    for (int32_t i = 0; i < count; ++i) {
        AILayerHandle layer = NULL;
        AIArtHandle top = NULL;
        AIHitRef ref = NULL;
        AIToolHitData data;
        memset(&data, 0, sizeof data);
        err = sAILayer->GetNthLayer(i, &layer);
        if (err != kNoErr) return err;
        if (isInformationLayer(layer)) continue;
        err = sAIArt->GetFirstArtOfLayer(layer, &top);
        if (err == kNoErr) err = sAIHitTest->HitTest(top, &point, request, &ref);
        if (err != kNoErr) return err;
        err = sAIHitTest->GetHitData(ref, &data);
        (void)sAIHitTest->ReleaseHitRef(ref);  // the data is copied out
        if (err != kNoErr) return err;
        if (data.hit && data.object != NULL) {
            *hit = data;
            return kNoErr;
        }
    }
    return kNoErr;  // nothing hit: as set on entry
}

ASErr toolStartPointMouseMove(AIToolMessage* message)
{
    AIToolHitData hit;
    ASErr err = testCursorOnPath(message->cursor, &hit, kStartPointHitRequest);
    if (err != kNoErr) return err;
    int32_t cursor = !hit.hit ? kStartPointNothingCursor
                     : hit.type == kSegmentHitType ? kStartPointSegmentCursor
                                                   : kStartPointAnchorCursor;
    SetPlatformCursor(g->pluginRef, cursor);
    return kNoErr;
}

ASErr getCubicBezier(AIArtHandle path, int32_t i, bezier_stru* bezier)
{
    bezier->degree = 3;
    int32_t count = 0;
    bool closed = false;
    AIPathSegment a, b;
    ASErr err = sAIPath->GetPathSegmentCount(path, &count);
    if (err == kNoErr) err = pathIsClosed(path, &closed);
    if (err != kNoErr) return err;
    const int32_t next = closed && i == count - 1 ? 0 : i + 1;
    err = sAIPath->GetPathSegments(path, i, 1, &a);
    if (err == kNoErr) err = sAIPath->GetPathSegments(path, next, 1, &b);
    if (err != kNoErr) return err;
    const AIRealPoint points[4] = {a.p, a.out, b.in, b.p};
    for (int k = 0; k < 4; ++k) {
        bezier->P[k][0] = points[k].h;
        bezier->P[k][1] = points[k].v;
    }
    return kNoErr;
}

ASErr delPathStartPoint(AIArtHandle path)
{
    bool closed = false;
    if (pathIsClosed(path, &closed) != kNoErr || !closed) return kPathNotClosedErr;
    AILayerHandle info = NULL;
    ASErr err = informationLayer(&info);
    if (err != kNoErr) return err;
    AIPathSegment first;
    AIArtHandle top = NULL, marker = NULL;
    if (sAIPath->GetPathSegments(path, 0, 1, &first) != kNoErr) return kNoErr;
    if (sAIArt->GetFirstArtOfLayer(info, &top) != kNoErr) return kNoErr;
    ASErr walk = sAIArt->GetArtFirstChild(top, &marker);
    while (walk == kNoErr && marker != NULL) {
        AIRealRect bounds;
        if (sAIArt->GetArtBounds(marker, &bounds) == kNoErr && sAIRealMath->AIRealPointInAIRealRect(&first.p, &bounds)) {
            (void)sAIArt->DisposeArt(marker);  // a marker that stays is drawn again over, no harm
            break;
        }
        walk = sAIArt->GetArtSibling(marker, &marker);
    }
    return kNoErr;
}

ASErr changeStartPoint(AIArtHandle path, AIRealPoint point)
{
    AILayerHandle info = NULL;
    ASErr err = informationLayer(&info);
    if (err != kNoErr) return err;
    (void)delPathStartPoint(path);  // a path without a marker gets one below

    int32_t count = 0;
    err = sAIPath->GetPathSegmentCount(path, &count);
    AIPathSegment* anchors = NULL;
    if (err == kNoErr && count > 0) {
        anchors = static_cast<AIPathSegment*>(malloc(sizeof(AIPathSegment) * 2 * count));
        if (anchors == NULL) err = kMemoryErr;
    }
    // All anchors are read before any is written, and the rotated order is
    // made in memory: a read that fails leaves the path as it was.
    if (err == kNoErr && anchors != NULL) err = sAIPath->GetPathSegments(path, 0, count, anchors);
    if (err == kNoErr && anchors != NULL) {
        int32_t nearest = 0;
        double best = 0.0;
        for (int32_t k = 0; k < count; ++k) {
            const double d = hypot(static_cast<double>(anchors[k].p.h) - point.h,
                                   static_cast<double>(anchors[k].p.v) - point.v);
            if (k == 0 || d < best) {
                best = d;
                nearest = k;
            }
        }
        if (nearest != 0) {
            AIPathSegment* rotated = anchors + count;
            memcpy(rotated, anchors + nearest, sizeof(AIPathSegment) * (count - nearest));
            memcpy(rotated + (count - nearest), anchors, sizeof(AIPathSegment) * nearest);
            err = sAIPath->SetPathSegments(path, 0, count, rotated);
        }
    }
    free(anchors);
    ASErr shown = showPathStartPoint(info, path);
    return err != kNoErr ? err : shown;
}

// Splits the curve that a click hit at parameter t and puts a new anchor at
// the split point, between anchor i and anchor s (s = i + 1, or 0 for the
// closing curve). The new outline is made in memory and written once; a write
// that fails puts the old anchors back, so the path is never left half changed.
static ASErr insertAnchorOnCurve(AIArtHandle path, int32_t s, AIReal t)
{
    int32_t count = 0;
    ASErr err = sAIPath->GetPathSegmentCount(path, &count);
    if (err != kNoErr) return err;
    if (s < 0 || s >= count) return kBadSegmentRangeErr;
    const int32_t i = s == 0 ? count - 1 : s - 1;

    bezier_stru curve, left, right;
    err = getCubicBezier(path, i, &curve);
    if (err != kNoErr) return err;  // a half-read curve must not be split
    BezierDeCasteljau(&curve, t, &left, &right);

    // The old anchors, then the new outline: anchors 0 .. i, the split point,
    // anchors i + 1 .. count - 1.
    AIPathSegment* anchors = static_cast<AIPathSegment*>(malloc(sizeof(AIPathSegment) * (2 * (size_t)count + 1)));
    if (anchors == NULL) return kMemoryErr;
    err = sAIPath->GetPathSegments(path, 0, count, anchors);
    if (err != kNoErr) {
        free(anchors);
        return err;
    }
    AIPathSegment* outline = anchors + count;
    memcpy(outline, anchors, sizeof(AIPathSegment) * (i + 1));
    memcpy(outline + i + 2, anchors + i + 1, sizeof(AIPathSegment) * (count - i - 1));
    AIPathSegment& from = outline[i];
    AIPathSegment& to = outline[s == 0 ? 0 : s + 1];
    AIPathSegment& middle = outline[i + 1];

    auto pointOf = [](const double p[2]) { return AIRealPoint{static_cast<AIReal>(p[0]), static_cast<AIReal>(p[1])}; };
    from.p = pointOf(left.P[0]);
    from.out = pointOf(left.P[1]);
    to.in = pointOf(right.P[2]);
    to.p = pointOf(right.P[3]);
    middle.p = pointOf(left.P[3]);
    middle.in = pointOf(left.P[2]);
    middle.out = pointOf(right.P[1]);
    middle.corner = to.corner;

    err = sAIPath->SetPathSegmentCount(path, count + 1);
    if (err == kNoErr) {
        err = sAIPath->SetPathSegments(path, 0, count + 1, outline);
        if (err != kNoErr) {
            // Back to the outline as it was; nothing more can be done if that fails too.
            if (sAIPath->SetPathSegmentCount(path, count) == kNoErr)
                (void)sAIPath->SetPathSegments(path, 0, count, anchors);
        }
    }
    free(anchors);
    // The first anchor keeps its place, so the marker is still found by it;
    // changeStartPoint draws it again.
    if (err == kNoErr) (void)delPathStartPoint(path);
    return err;
}

ASErr toolStartPointMouseUp(AIRealPoint point)
{
    AIToolHitData hit;
    ASErr err = testCursorOnPath(point, &hit, kStartPointHitRequest);
    if (err != kNoErr || !hit.hit) return err;

    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(hit.object, &type) != kNoErr || type != kPathArt) return kNoErr;
    bool closed = false;
    err = pathIsClosed(hit.object, &closed);
    if (err != kNoErr) return err;
    if (!closed) {
        char text[256];
        sADMBasic->GetIndexString(g->pluginRef, g->stringListId, kOpenPathStartPointString, text, sizeof text);
        (void)ErrorMessageDialog(kStartPointErrorTitle, text);  // the box is the whole answer
        return kNoErr;
    }
    if (hit.type == kSegmentHitType) {
        err = insertAnchorOnCurve(hit.object, hit.segment, hit.t);
        if (err != kNoErr) return err;
    }
    return changeStartPoint(hit.object, point);
}
