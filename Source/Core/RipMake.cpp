// Weeding lines round the selected objects.
#include "Core/RipMake.h"

#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Core/StrokeStyle.h"
#include "Math/Crossings.h"
#include "Math/PointInCurve.h"

// Weeding lines are thin black strokes with no fill: they are cut, not
// printed, and must not hide the art.
static void styleWeedingPath(AIArtHandle path) { (void)setStrokeOnly(path, 0, 0, 0, 0); }

// A path of straight segments at the bottom of the group. Host errors leave
// the path as the host made it: the object itself is never touched.
static void addWeedingPath(AIArtHandle group, const AIPathSegment* segments, int32_t count, AIBoolean closed)
{
    AIArtHandle path = NULL;
    if (sAIArt->NewArt(kPathArt, kPlaceInsideOnBottom, group, &path) || path == NULL) return;
    if (sAIPath->SetPathSegmentCount(path, count)) return;
    if (sAIPath->SetPathSegments(path, 0, count, segments)) return;
    (void)sAIPath->SetPathClosed(path, closed);
    styleWeedingPath(path);
}

// A point farther than this from a path's box is outside the path whatever
// the rounding: only paths whose box holds it need the full test.
static const double kBoxMargin = 1.0;

static bool mayHold(const PolyBezierBox& box, _t_ASRealPoint p)
{
    return p.h >= box.lo[0] - kBoxMargin && p.h <= box.hi[0] + kBoxMargin && p.v >= box.lo[1] - kBoxMargin &&
           p.v <= box.hi[1] + kBoxMargin;
}

// The pieces of one line outside the object: the line is broken at every
// crossing with the outline, and a piece whose middle lies inside any one of
// the object's paths (a hole's piece too) is dropped.
static void addLinePieces(AIArtHandle group, Vexa_Line line, const UDT_PolyBezier* paths, const PolyBezierBox* boxes,
                          int32_t pathCount, const AIRealRect* frame)
{
    _t_ASRealPoint* points = NULL;
    int count = 0;
    LineIntersectWithPolyBeziers(line, paths, pathCount, &points, &count);
    for (int i = 0; i + 1 < count; i++) {
        _t_ASRealPoint m;
        m.h = (points[i].h + points[i + 1].h) / 2.0f;
        m.v = (points[i].v + points[i + 1].v) / 2.0f;
        bool inside = false;
        for (int32_t k = 0; k < pathCount && !inside; k++)
            inside = mayHold(boxes[k], m) && PointInBeziers(paths[k].bezier, paths[k].count, m, frame) == kPointInside;
        if (inside) continue;
        AIPathSegment seg[] = {cornerAnchor(points[i].h, points[i].v), cornerAnchor(points[i + 1].h, points[i + 1].v)};
        addWeedingPath(group, seg, 2, 0);
    }
    free(points);
}

void getArtRip(AIArtHandle art, double marginX, double marginY, int vLines, int hLines)
{
    UDT_PolyBezier* paths = NULL;
    int32_t pathCount = 0;
    // Paths that cannot be read are left out: their pieces are kept whole.
    (void)loadPloyBezier(art, &paths, &pathCount);

    AIRealRect frame;
    memset(&frame, 0, sizeof frame);
    (void)sAIArt->GetArtBounds(art, &frame);
    sAIRealMath->AIRealRectInset(&frame, (AIReal)-marginX, (AIReal)-marginY);

    PolyBezierBox* boxes = pathCount > 0 ? (PolyBezierBox*)malloc((size_t)pathCount * sizeof(PolyBezierBox)) : NULL;
    for (int32_t i = 0; boxes != NULL && i < pathCount; i++) boxes[i] = PolyBezierControlBox(paths[i]);

    AIArtHandle group = NULL;
    bool grouped = (pathCount == 0 || boxes != NULL) &&
                   sAIArt->NewArt(kGroupArt, kPlaceAbove, art, &group) == kNoErr && group != NULL;
    if (grouped && sAIArt->ReorderArt(art, kPlaceInsideOnTop, group)) {
        (void)sAIArt->DisposeArt(group);  // still empty
        grouped = false;
    }
    if (grouped) {
        // Positions in single precision, as the frame is: the first horizontal
        // line nearest the bottom, the first vertical one nearest the right.
        float left = frame.left, top = frame.top, right = frame.right, bottom = frame.bottom;
        for (int k = 0; k < hLines; k++) {
            float y = ((float)(k + 1) * top + ((float)hLines - (float)k) * bottom) / ((float)hLines + 1.0f);
            Vexa_Line line = {left, y, right, y};
            addLinePieces(group, line, paths, boxes, pathCount, &frame);
        }
        for (int k = 0; k < vLines; k++) {
            float x = ((float)(k + 1) * left + ((float)vLines - (float)k) * right) / ((float)vLines + 1.0f);
            Vexa_Line line = {x, bottom, x, top};
            addLinePieces(group, line, paths, boxes, pathCount, &frame);
        }
        AIPathSegment border[] = {cornerAnchor(left, bottom), cornerAnchor(left, top), cornerAnchor(right, top),
                                  cornerAnchor(right, bottom)};
        addWeedingPath(group, border, 4, 1);
    }

    free(boxes);
    for (int32_t i = 0; i < pathCount; i++) free(paths[i].bezier);
    free(paths);
}

int32_t doRipMake(double marginX, double marginY, int vLines, int hLines)
{
    AIMatchingArtSpec spec = {kAnyArt, kArtSelected, kArtSelected};
    AIArtHandle** matches = NULL;
    int32_t count = 0;
    if (sMatchingArt->GetMatchingArt(&spec, 1, &matches, &count) || matches == NULL) return kNoErr;
    for (int32_t i = 0; i < count; i++) {
        AIArtHandle art = (*matches)[i];
        if (isTopLevel(art))
            getArtRip(art, marginX * kMillimetreToPoint, marginY * kMillimetreToPoint, vLines, hLines);
    }
    (void)sAIMdMemory->MdMemoryDisposeHandle((AIMdMemoryHandle)matches);
    return kNoErr;
}
