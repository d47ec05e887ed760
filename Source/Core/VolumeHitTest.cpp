// Hit tests on the placed outlines of the volumes, and the picks built on them.
//
// A volume's outlines are flattened once for the placement it has, with its
// first copy at the origin, and kept until the placement changes; a copy is
// tested by moving the point (or rectangle) by the copy's offset instead of
// moving the outlines. Before any outline is looked at, the box of the placed
// control points rejects (or, for a drag, takes) a copy whole: a flattened
// segment never leaves the box of its control points.
//
// Only the rings that are cut are looked at. The pieces of a perforation are
// open paths; those that continue one another, as the knife runs on from one
// to the next, are joined into one outline, so that the perforated shape is
// picked inside as the shape it was made from.
#include "Core/VolumeHitTest.h"

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/UndoHistory.h"
#include "Core/VolumePlacement.h"

static const ASErr kNothingHit = '!Sel';

namespace {

// The outlines of one volume for one placement.
struct Outlines {
    // The placement they were made for.
    const bezier_stru* firstSegments;
    AIArtHandle firstArt;
    int32_t ringCount;
    uint8_t mirror;
    double angle, scaleX, scaleY, rotMinX, rotMinY;
    float loadWidth, loadHeight;

    bool made;

    // Box of the placed control points of the first copy at the origin.
    bool hasPoints;
    double low[2], high[2];

    // The outlines' polygons, one after another, made on first need: one
    // outline per cut ring, or per run of pieces that continue one another.
    bool flattened;
    std::vector<AIRealPoint> points;
    std::vector<int32_t> runStart;  // one entry per outline, and the end
    std::vector<float> runBox;      // left, bottom, right, top per outline
    int32_t runs() const { return (int32_t)runStart.size() - 1; }
};

std::unordered_map<const Ring*, Outlines> g_outlines;

bool madeFor(const Outlines& o, const Volume& v)
{
    return o.firstSegments == v.rings[0].beziers && o.firstArt == v.rings[0].art && o.ringCount == v.ringCount &&
           o.mirror == v.mirror &&
           o.angle == v.angle && o.scaleX == v.scaleX && o.scaleY == v.scaleY && o.rotMinX == v.rotMinX &&
           o.rotMinY == v.rotMinY && o.loadWidth == v.loadRect[2] - v.loadRect[0] &&
           o.loadHeight == v.loadRect[1] - v.loadRect[3];
}

const double kOrigin[] = {0.0, 0.0};

// The segments of a ring; null when it has none or they cannot be read (it
// is then left out of the outlines).
const bezier_stru* segmentsOf(const Ring& ring)
{
    const bezier_stru* segments = NULL;
    return ringSegments(&ring, segmentRoom(kSegmentsForPicking), &segments) == kNoErr ? segments : NULL;
}

// The outlines of a volume with rings for its current placement.
Outlines& outlinesOf(const Volume& v)
{
    Outlines& o = g_outlines[v.rings];
    if (o.made && madeFor(o, v))
        return o;
    o.made = true;
    o.firstSegments = v.rings[0].beziers;
    o.firstArt = v.rings[0].art;
    o.ringCount = v.ringCount;
    o.mirror = v.mirror;
    o.angle = v.angle;
    o.scaleX = v.scaleX;
    o.scaleY = v.scaleY;
    o.rotMinX = v.rotMinX;
    o.rotMinY = v.rotMinY;
    o.loadWidth = v.loadRect[2] - v.loadRect[0];
    o.loadHeight = v.loadRect[1] - v.loadRect[3];
    o.hasPoints = false;
    o.flattened = false;
    o.points.clear();
    o.runBox.clear();
    o.runStart.assign(1, 0);
    Placement placement = placementOf(v);
    for (int32_t r = 0; r < v.ringCount; r++) {
        const Ring& ring = v.rings[r];
        if (ringInJob(&v, r) != kJobCut)
            continue;
        const bezier_stru* segments = segmentsOf(ring);
        for (int32_t k = 0; segments != NULL && k < ring.count; k++) {
            bezier_stru b = placeWith(placement, segments[k], kOrigin);
            for (int p = 0; p < 4; p++) {
                for (int c = 0; c < 2; c++) {
                    if (!o.hasPoints || b.P[p][c] < o.low[c]) o.low[c] = b.P[p][c];
                    if (!o.hasPoints || b.P[p][c] > o.high[c]) o.high[c] = b.P[p][c];
                }
                o.hasPoints = true;
            }
        }
    }
    return o;
}

// Whether two placed points are one, as where one perforation piece ends and
// the next begins.
bool samePoint(const AIRealPoint& a, const AIRealPoint& b)
{
    return fabsf(a.h - b.h) <= 1e-3f && fabsf(a.v - b.v) <= 1e-3f;
}

// Flattens every cut segment as the writer does: the first segment of a ring
// gives the start of its first piece, every piece its end. A perforation
// piece that starts where the last one ended carries its outline on.
void flatten(Outlines& o, const Volume& v)
{
    if (o.flattened)
        return;
    o.points.clear();
    o.runStart.assign(1, 0);
    bool lastWasPiece = false;
    Placement placement = placementOf(v);
    for (int32_t r = 0; r < v.ringCount; r++) {
        const Ring& ring = v.rings[r];
        if (ringInJob(&v, r) != kJobCut)
            continue;
        bool piece = ring.dotCut == kRingDotCutPiece;
        size_t before = o.points.size();
        const bezier_stru* segments = segmentsOf(ring);
        for (int32_t k = 0; segments != NULL && k < ring.count; k++) {
            bezier_stru b = placeWith(placement, segments[k], kOrigin);
            bezier_stru* pieces = NULL;
            int n = 0;
            if (BezierToLineBy2Div(&b, &n, &pieces) != 0 || n < 1) {
                free(pieces);
                continue;  // no memory: the segment is left out of the outline
            }
            if (k == 0)
                o.points.push_back(AIRealPoint{(AIReal)pieces[0].P[0][0], (AIReal)pieces[0].P[0][1]});
            for (int i = 0; i < n; i++)
                o.points.push_back(AIRealPoint{(AIReal)pieces[i].P[3][0], (AIReal)pieces[i].P[3][1]});
            free(pieces);
        }
        if (o.points.size() == before)
            continue;  // nothing to add to any outline
        // runStart's last entry is the end of the outlines so far: a ring
        // that carries the last outline on moves it, any other ring starts
        // an outline there.
        bool carriesOn = piece && lastWasPiece && o.runs() > 0 && samePoint(o.points[before - 1], o.points[before]);
        if (carriesOn) {
            o.points.erase(o.points.begin() + (std::ptrdiff_t)before);
            o.runStart.back() = (int32_t)o.points.size();
        } else {
            o.runStart.push_back((int32_t)o.points.size());
        }
        lastWasPiece = piece;
    }
    o.runBox.assign(4 * (size_t)o.runs(), 0.0f);
    for (int32_t r = 0; r < o.runs(); r++) {
        float* box = &o.runBox[4 * (size_t)r];
        for (int32_t i = o.runStart[r]; i < o.runStart[r + 1]; i++) {
            const AIRealPoint& p = o.points[(size_t)i];
            if (i == o.runStart[r]) {
                box[0] = box[2] = p.h;
                box[1] = box[3] = p.v;
            }
            box[0] = fminf(box[0], p.h);
            box[1] = fminf(box[1], p.v);
            box[2] = fmaxf(box[2], p.h);
            box[3] = fmaxf(box[3], p.v);
        }
    }
    o.flattened = true;
}

// Room for the rounding of a placed point to single precision.
double slack(double a, double b) { return 1e-3 + 1e-6 * (fabs(a) + fabs(b)); }

// Whether the segment a-b meets the rectangle (edges included): the segment is
// clipped against each side in turn.
bool segmentMeetsRect(double ax, double ay, double bx, double by, double left, double bottom, double right,
                      double top)
{
    double t0 = 0.0, t1 = 1.0;
    double dx = bx - ax, dy = by - ay;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {ax - left, right - ax, ay - bottom, top - ay};
    for (int k = 0; k < 4; k++) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;  // parallel to this side and outside it
            continue;
        }
        double t = q[k] / p[k];
        if (p[k] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    return t0 <= t1;
}

// Only what is cut is picked: not a hidden volume, nor the registration marks.
bool pickable(const Volume& v) { return volumeInJob(&v) == kJobCut; }

// Inside for the pointer: a volume without rings is hit nowhere.
bool contains(const Volume& v, AIRealPoint point) { return PointOnVolume(point, &v) == kHitInside; }

double rectArea(const Volume& v) { return fabs(((double)v.rect[2] - v.rect[0]) * ((double)v.rect[1] - v.rect[3])); }

// Of the first n volumes, the pickable one of the smallest rectangle (the
// first of equals) that contains point; -1 when none does. shown, when
// given, counts the pickable volumes.
int32_t smallestVolumeAt(AIRealPoint point, int32_t n, int32_t* shown)
{
    int32_t picked = -1;
    double pickedArea = 0;
    for (int32_t i = 0; i < n; i++) {
        const Volume& v = g->volumes[i];
        if (!pickable(v))
            continue;
        if (shown != NULL)
            (*shown)++;
        double area = rectArea(v);
        // A larger volume cannot win, so its outlines need not be looked at.
        if (picked >= 0 && area >= pickedArea)
            continue;
        if (!contains(v, point))
            continue;
        picked = i;
        pickedArea = area;
    }
    return picked;
}

// Asks hit(outlines, offset) of every copy of v, at the copy's offset, until
// one is hit. A volume without rings answers noRings; one whose rings hold no
// points is hit nowhere.
template <typename Hit>
int32_t anyCopyHit(const Volume& v, int32_t noRings, Hit hit)
{
    if (v.rings == NULL || v.ringCount <= 0)
        return noRings;
    Outlines& o = outlinesOf(v);
    if (!o.hasPoints)
        return kHitOutside;
    for (int32_t i = 0; i < v.copiesX; i++) {
        for (int32_t j = 0; j < v.copiesY; j++) {
            double offset[2];
            getVolumeCopyOffset(v, i, j, offset);
            if (hit(o, offset))
                return kHitInside;
        }
    }
    return kHitOutside;
}

}  // namespace

int32_t PointOnPloygon(AIRealPoint point, const AIRealPoint* polygon, int32_t count)
{
    bool inside = false;
    float x = point.h, y = point.v;
    for (int32_t i = 0, j = count - 1; i < count; j = i++) {
        float yi = polygon[i].v, yj = polygon[j].v;
        if ((yi <= y && y < yj) || (yj <= y && y < yi)) {
            float xi = polygon[i].h, xj = polygon[j].h;
            float edgeX = xi + (y - yi) * (xj - xi) / (yj - yi);
            if (x < edgeX)
                inside = !inside;
        }
    }
    return inside ? kHitInside : kHitOutside;
}

int32_t PointOnVolume(AIRealPoint point, const Volume* volume)
{
    const Volume& v = *volume;
    return anyCopyHit(v, kHitNoRings, [&](Outlines& o, const double (&offset)[2]) {
        double x = point.h - offset[0], y = point.v - offset[1];
        double m = slack(x, o.high[0]) + slack(y, o.high[1]);
        if (x < o.low[0] - m || x > o.high[0] + m || y < o.low[1] - m || y > o.high[1] + m)
            return false;
        flatten(o, v);
        AIRealPoint local = {(AIReal)x, (AIReal)y};
        // Even-odd over the outlines: a point in an outline and in one of its
        // holes is outside.
        bool inside = false;
        for (int32_t r = 0; r < o.runs(); r++) {
            const float* box = &o.runBox[4 * (size_t)r];
            if (local.h < box[0] || local.v < box[1] || local.h > box[2] || local.v > box[3])
                continue;
            int32_t first = o.runStart[r];
            if (PointOnPloygon(local, &o.points[first], o.runStart[r + 1] - first) == kHitInside)
                inside = !inside;
        }
        return inside;
    });
}

int32_t RectVolumeIntersect(AIRealRect rect, const Volume* volume)
{
    const Volume& v = *volume;
    double left = fmin(rect.left, rect.right), right = fmax(rect.left, rect.right);
    double bottom = fmin(rect.bottom, rect.top), top = fmax(rect.bottom, rect.top);
    AIRealRect box = {(AIReal)left, (AIReal)top, (AIReal)right, (AIReal)bottom};
    return anyCopyHit(v, kHitOutside, [&](Outlines& o, const double (&offset)[2]) {
        double lowX = o.low[0] + offset[0], highX = o.high[0] + offset[0];
        double lowY = o.low[1] + offset[1], highY = o.high[1] + offset[1];
        double m = slack(lowX, highX) + slack(lowY, highY);
        if (highX < left - m || lowX > right + m || highY < bottom - m || lowY > top + m)
            return false;
        // Every point of a copy whose box lies well inside is inside.
        if (lowX > left + m && highX < right - m && lowY > bottom + m && highY < top - m)
            return true;
        flatten(o, v);
        for (const AIRealPoint& p : o.points) {
            AIRealPoint placed = {(AIReal)(p.h + offset[0]), (AIReal)(p.v + offset[1])};
            if (sAIRealMath->AIRealPointInAIRealRect(&placed, &box))
                return true;
        }
        // A rectangle across a long straight side holds none of its
        // points, yet touches the outline.
        for (int32_t r = 0; r < o.runs(); r++) {
            for (int32_t k = o.runStart[r] + 1; k < o.runStart[r + 1]; k++) {
                const AIRealPoint& a = o.points[k - 1];
                const AIRealPoint& b = o.points[k];
                if (segmentMeetsRect(a.h + offset[0], a.v + offset[1], b.h + offset[0], b.v + offset[1], left,
                                     bottom, right, top))
                    return true;
            }
        }
        return false;
    });
}

ASErr selectVolume(AIRealRect rect, uint8_t replace)
{
    int32_t n = g->volumes != NULL ? g->volumeCount : 0;
    if (replace == 1) {
        for (int32_t i = 0; i < n; i++)
            g->volumes[i].flags &= ~(uint32_t)kVolumeSelected;
    }
    bool drag = fabs((double)rect.right - rect.left) >= kDragMinimumSize ||
                fabs((double)rect.top - rect.bottom) >= kDragMinimumSize;
    if (drag) {
        for (int32_t i = 0; i < n; i++) {
            Volume& v = g->volumes[i];
            if (!pickable(v) || RectVolumeIntersect(rect, &v) != kHitInside)
                continue;
            if (replace == 1)
                v.flags |= kVolumeSelected;
            else
                v.flags ^= kVolumeSelected;
        }
    } else {
        AIRealPoint centre = {(AIReal)(((double)rect.left + rect.right) / 2),
                              (AIReal)(((double)rect.top + rect.bottom) / 2)};
        int32_t picked = smallestVolumeAt(centre, n, NULL);
        if (picked >= 0) {
            if (replace == 1)
                g->volumes[picked].flags |= kVolumeSelected;
            else
                g->volumes[picked].flags ^= kVolumeSelected;
        }
    }
    (void)getGlobalDistance(&g->totalCutLength);
    return kNoErr;
}

ASErr swapVolumeIndex(int32_t* first, int32_t* second, AIRealPoint point, int32_t flag)
{
    (void)flag;
    int32_t n = g->volumes != NULL ? g->volumeCount : 0;
    int32_t hit = -1;
    for (int32_t i = 0; i < n && hit < 0; i++) {
        if (pickable(g->volumes[i]) && contains(g->volumes[i], point))
            hit = i;
    }
    if (*first == -1) {
        if (hit < 0)
            return 1;
        *first = hit;
        return kNoErr;
    }
    if (*first < 0 || *first >= n) {
        *first = -1;
        *second = -1;
        return kNoErr;
    }
    if (hit < 0)
        return 1;
    int32_t number = g->volumes[hit].index;
    g->volumes[hit].index = g->volumes[*first].index;
    g->volumes[*first].index = number;
    *first = -1;
    *second = -1;
    return kNoErr;
}

ASErr changeVolumeIndex(int32_t* next, AIRealPoint point, int32_t flag)
{
    (void)flag;
    int32_t n = g->volumes != NULL ? g->volumeCount : 0;
    if (*next > n)
        *next = n;
    int32_t shown = 0;
    int32_t picked = smallestVolumeAt(point, n, &shown);
    if (picked < 0)
        return kNothingHit;
    int32_t number = *next < shown ? *next : shown;
    int32_t old = g->volumes[picked].index;
    for (int32_t i = 0; i < n; i++) {
        if (pickable(g->volumes[i]) && g->volumes[i].index == number)
            g->volumes[i].index = old;
    }
    g->volumes[picked].index = number;
    return kNoErr;
}

void releaseVolumeHitCache()
{
    std::unordered_map<const Ring*, Outlines> none;
    g_outlines.swap(none);
}
