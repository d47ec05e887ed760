// Panels: the selected art cut along straight guides into one group per panel,
// each holding the art's outline clipped to the panel and its align marks.
#include "Core/Split.h"

#include <algorithm>
#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Math/Crossings.h"

// The selection's bounds grow by this on every side, so that outlines lying on
// the bounds are inside the outer panels rather than on their edges.
static const double kSplitBoundsMargin = 5.0;
// Handle length of a quarter ellipse, as a fraction of its radius.
static const double kSplitCircleHandle = 0.55;

// ---- Growing arrays -------------------------------------------------------------

// Appends one element. The array's room doubles whenever the count reaches a
// power of two, so appending n elements copies O(n) rather than O(n^2); the room
// follows from the count alone (an array that starts as null and 0 and changes
// only through this, or by dropping elements from its end, always has room for
// the next power of two). Answers 0 or kMemoryErr (the array is kept).
template <typename T>
VT_NODISCARD static ASErr appendGrowing(T** array, int32_t* count, const T& value)
{
    int32_t n = *count;
    if (n == 0 || (n & (n - 1)) == 0) {
        if (n >= INT32_MAX / 2) return kMemoryErr;
        size_t room = n == 0 ? 1 : (size_t)n * 2;
        T* grown = (T*)realloc(*array, room * sizeof(T));
        if (grown == NULL) return kMemoryErr;
        *array = grown;
    }
    (*array)[n] = value;
    *count = n + 1;
    return kNoErr;
}

// ---- Guides and panels ------------------------------------------------------------

static int compareDoubles(const void* a, const void* b)
{
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : (x > y ? 1 : 0);
}

static bool handlesOnAnchor(const AIPathSegment& s)
{
    return s.in.h == s.p.h && s.in.v == s.p.v && s.out.h == s.p.h && s.out.v == s.p.v;
}

// How a panel order numbers the panels: the corner panel 0 sits in, whether
// the numbering runs down the columns (orders 1 to 4) or along the rows (5 to
// 8), and whether the order is one of the eight at all.
struct PanelOrder {
    int known;
    int startRight;
    int startTop;
    int columnsFirst;
};

static PanelOrder panelOrder(int32_t order)
{
    PanelOrder o;
    o.known = order >= 1 && order <= 8;
    if (!o.known) order = 8;  // numbered as order 8, without any overlap
    o.startRight = order % 2 == 1;
    o.startTop = order == 1 || order == 2 || order == 5 || order == 6;
    o.columnsFirst = order <= 4;
    return o;
}

ASErr getClipRect(AIArtHandle guideGroup, AIRealRect** clipRects, AIRealRect** markRects, int32_t* panelCount,
                  AIRealRect bounds, int32_t* colsOut, int32_t* rowsOut)
{
    *clipRects = NULL;
    *markRects = NULL;
    *panelCount = 0;
    *colsOut = 0;
    *rowsOut = 0;
    if (guideGroup == NULL) return kNoGuideGroupErr;

    double* xs = NULL;  // vertical guides
    double* ys = NULL;  // horizontal guides
    int32_t nV = 0, nH = 0;
    AIArtHandle child = NULL;
    ASErr err = sAIArt->GetArtFirstChild(guideGroup, &child);
    while (err == kNoErr && child != NULL) {
        int16_t type = kUnknownArt;
        AIBoolean guide = 0;
        int32_t anchors = 0;
        AIPathSegment seg[2];
        if ((err = sAIArt->GetArtType(child, &type))) break;
        if (type != kPathArt) {
            err = kNotAGuideErr;
            break;
        }
        if ((err = sAIPath->GetPathGuide(child, &guide))) break;
        if (!guide) {
            err = kNotAGuideErr;
            break;
        }
        if ((err = sAIPath->GetPathSegmentCount(child, &anchors))) break;
        if (anchors != 2) {
            err = kGuideNotALineErr;
            break;
        }
        if ((err = sAIPath->GetPathSegments(child, 0, 2, seg))) break;
        // Only straight lines count, and of those only the level and the
        // upright ones; a slanted or curved guide cuts nothing.
        if (handlesOnAnchor(seg[0]) && handlesOnAnchor(seg[1])) {
            if (seg[0].p.v == seg[1].p.v)
                err = appendGrowing(&ys, &nH, (double)seg[0].p.v);
            else if (seg[0].p.h == seg[1].p.h)
                err = appendGrowing(&xs, &nV, (double)seg[0].p.h);
            if (err) break;
        }
        err = sAIArt->GetArtSibling(child, &child);
    }
    if (err) {
        free(xs);
        free(ys);
        return err;
    }
    // Equal positions stay: two guides on one line make a strip of no width.
    if (nV > 1) qsort(xs, (size_t)nV, sizeof(double), compareDoubles);
    if (nH > 1) qsort(ys, (size_t)nH, sizeof(double), compareDoubles);

    int32_t cols = nV + 1, rows = nH + 1;
    int64_t panels = (int64_t)cols * rows;
    AIRealRect* clip = panels <= INT32_MAX ? (AIRealRect*)calloc((size_t)panels, sizeof(AIRealRect)) : NULL;
    AIRealRect* mark = clip ? (AIRealRect*)calloc((size_t)panels, sizeof(AIRealRect)) : NULL;
    if (clip == NULL || mark == NULL) {
        free(clip);
        free(xs);
        free(ys);
        return kMemoryErr;
    }

    PanelOrder o = panelOrder(g->splitSortMethod);
    double ox = g->splitOverlapX * kMillimetreToPoint;
    double oy = g->splitOverlapY * kMillimetreToPoint;
    // Each panel reaches over the neighbours numbered after it: the inner
    // edges away from the start corner take the overlap.
    int overlapLeft = o.known && o.startRight, overlapRight = o.known && !o.startRight;
    int overlapBottom = o.known && o.startTop, overlapTop = o.known && !o.startTop;
    for (int32_t i = 0; i < cols; i++) {
        for (int32_t j = 0; j < rows; j++) {
            double left = i == 0 ? bounds.left : xs[i - 1];
            double right = i == nV ? bounds.right : xs[i];
            double bottom = j == 0 ? bounds.bottom : ys[j - 1];
            double top = j == nH ? bounds.top : ys[j];
            int32_t ci = o.startRight ? nV - i : i;
            int32_t rj = o.startTop ? nH - j : j;
            int32_t k = o.columnsFirst ? ci * rows + rj : rj * cols + ci;
            mark[k].left = (AIReal)left;
            mark[k].top = (AIReal)top;
            mark[k].right = (AIReal)right;
            mark[k].bottom = (AIReal)bottom;
            clip[k].left = (AIReal)(i > 0 && overlapLeft ? left - ox : left);
            clip[k].right = (AIReal)(i < nV && overlapRight ? right + ox : right);
            clip[k].bottom = (AIReal)(j > 0 && overlapBottom ? bottom - oy : bottom);
            clip[k].top = (AIReal)(j < nH && overlapTop ? top + oy : top);
        }
    }
    free(xs);
    free(ys);
    *clipRects = clip;
    *markRects = mark;
    *panelCount = (int32_t)panels;
    *colsOut = cols;
    *rowsOut = rows;
    return kNoErr;
}

// ---- Clipping curves --------------------------------------------------------------

// A margin no rounding of points near v can cross: the curves come from float
// art and the rectangles are floats, whose steps are about 1e-7 of the value.
static double roundingMargin(double v) { return 1e-5 * (1.0 + fabs(v)); }

// A piece no longer than the rounding of its points: where a curve runs
// through a corner of the panel it is cut at both edge lines, at parameters
// that differ only by rounding, and the part between them is such a piece.
// It adds nothing to an outline (its neighbours join without it, well within
// the joining distance), and on its own it would make a path of no area.
static bool negligible(const bezier_stru& b)
{
    for (int k = 0; k < 2; k++) {
        double lo = b.P[0][k], hi = lo;
        for (int i = 1; i < 4; i++) {
            lo = fmin(lo, b.P[i][k]);
            hi = fmax(hi, b.P[i][k]);
        }
        if (hi - lo > roundingMargin(fmax(fabs(lo), fabs(hi)))) return false;
    }
    return true;
}

ASErr divSingleBezier(AIRealRect panel, bezier_stru curve, bezier_stru** pieces, int32_t* count)
{
    double lo[2], hi[2];
    for (int k = 0; k < 2; k++) {
        lo[k] = hi[k] = curve.P[0][k];
        for (int i = 1; i < 4; i++) {
            lo[k] = std::min(lo[k], curve.P[i][k]);
            hi[k] = std::max(hi[k], curve.P[i][k]);
        }
    }
    // The curve lies within its control points. Where they are plainly inside
    // or plainly outside the panel, its measured bounds would say the same, so
    // the measuring (a flattening of the curve) is spared.
    if (lo[0] >= panel.left + roundingMargin(panel.left) && hi[0] <= panel.right - roundingMargin(panel.right) &&
        lo[1] >= panel.bottom + roundingMargin(panel.bottom) && hi[1] <= panel.top - roundingMargin(panel.top))
        return appendGrowing(pieces, count, curve);
    if (lo[0] >= panel.right + roundingMargin(panel.right) || hi[0] <= panel.left - roundingMargin(panel.left) ||
        lo[1] >= panel.top + roundingMargin(panel.top) || hi[1] <= panel.bottom - roundingMargin(panel.bottom))
        return kNoErr;

    // When the curve cannot be measured its control points stand in.
    double maxPt[] = {hi[0], hi[1]}, minPt[] = {lo[0], lo[1]};
    (void)BezierBound(&curve, maxPt, minPt);
    AIRealRect box;
    box.left = (AIReal)minPt[0];
    box.top = (AIReal)maxPt[1];
    box.right = (AIReal)maxPt[0];
    box.bottom = (AIReal)minPt[1];
    if (sAIRealMath->AIRealRectInAIRealRect(&box, &panel)) return appendGrowing(pieces, count, curve);
    AIRealRect meet;
    if (!sAIRealMath->AIRealRectIntersect(&box, &panel, &meet)) return kNoErr;

    Vexa_Line edges[] = {{panel.left, panel.bottom, panel.left, panel.top},
                         {panel.left, panel.top, panel.right, panel.top},
                         {panel.right, panel.top, panel.right, panel.bottom},
                         {panel.right, panel.bottom, panel.left, panel.bottom}};
    double* t = NULL;
    int nt = 0;
    for (int e = 0; e < 4; e++)
        BezierLineCross(curve, edges[e], &t, &nt);
    if (nt == 0) {
        free(t);
        return kNoErr;
    }
    qsort(t, (size_t)nt, sizeof(double), compareDoubles);
    bezier_stru* parts = NULL;
    int np = 0;
    BezierDivide(&curve, t, nt, &parts, &np);
    // The division skips only parts whose parameters do not increase; any
    // other part missing is memory that ran out.
    int expected = 2;
    for (int i = 1; i < nt; i++)
        if (t[i - 1] < t[i]) expected++;
    free(t);
    ASErr err = np == expected ? kNoErr : kMemoryErr;
    for (int i = 0; i < np && err == kNoErr; i++)
        err = appendGrowing(pieces, count, parts[i]);
    free(parts);
    return err;
}

VT_NODISCARD static ASErr clipPath(AIArtHandle path, AIRealRect panel, bezier_stru** pieces, int32_t* count)
{
    int32_t n = 0;
    AIBoolean closed = 0;
    ASErr err = sAIPath->GetPathSegmentCount(path, &n);
    if (!err) err = sAIPath->GetPathClosed(path, &closed);
    if (err) return err;
    int32_t curves = closed ? n : n - 1;
    if (curves <= 0) return kNoErr;
    AIPathSegment* seg = (AIPathSegment*)malloc((size_t)n * sizeof(AIPathSegment));
    if (seg == NULL) return kMemoryErr;
    if ((err = sAIPath->GetPathSegments(path, 0, n, seg))) {
        free(seg);
        return err;
    }
    for (int32_t s = 0; s < curves && err == kNoErr; s++) {
        const AIPathSegment& a = seg[s];
        const AIPathSegment& b = seg[s + 1 < n ? s + 1 : 0];
        bezier_stru curve = {3, {{a.p.h, a.p.v}, {a.out.h, a.out.v}, {b.in.h, b.in.v}, {b.p.h, b.p.v}}};
        int32_t before = *count;
        err = divSingleBezier(panel, curve, pieces, count);
        // Of the parts, those whose middle lies strictly inside the panel are
        // kept; a part running along an edge is left to the border walk.
        int32_t kept = before;
        for (int32_t i = before; i < *count; i++) {
            double x, y;
            BezierXY((*pieces)[i], 0.5, &x, &y);
            if (panel.left < x && x < panel.right && panel.bottom < y && y < panel.top &&
                !negligible((*pieces)[i]))
                (*pieces)[kept++] = (*pieces)[i];
        }
        *count = kept;
    }
    free(seg);
    return err;
}

ASErr clipArt(AIArtHandle art, AIRealRect panel, bezier_stru** pieces, int32_t* count)
{
    int16_t type = kUnknownArt;
    ASErr err = sAIArt->GetArtType(art, &type);
    if (err) return err;
    if (type == kPathArt) return clipPath(art, panel, pieces, count);
    if (type != kGroupArt && type != kCompoundPathArt) return kNoErr;
    AIArtHandle child = NULL;
    err = sAIArt->GetArtFirstChild(art, &child);
    while (err == kNoErr && child != NULL) {
        if ((err = clipArt(child, panel, pieces, count))) break;
        err = sAIArt->GetArtSibling(child, &child);
    }
    return err;
}

// ---- The border walk ------------------------------------------------------------

// The paths whose control points come near the line (within a margin no
// rounding crosses): only they can cross it or have an anchor on it. In art of
// many outlines a panel edge passes near only a few of them.
static int32_t pathsNear(Vexa_Line line, const UDT_PolyBezier* paths, const PolyBezierBox* boxes, int32_t pathCount,
                         UDT_PolyBezier* near)
{
    double lineLo[] = {fmin(line.x1, line.x2), fmin(line.y1, line.y2)};
    double lineHi[] = {fmax(line.x1, line.x2), fmax(line.y1, line.y2)};
    int32_t n = 0;
    for (int32_t i = 0; i < pathCount; i++) {
        const PolyBezierBox& b = boxes[i];
        bool clear = false;
        for (int k = 0; k < 2 && !clear; k++) {
            double m = 1e-4 * (1.0 + fmax(fmax(fabs(b.lo[k]), fabs(b.hi[k])), fmax(fabs(lineLo[k]), fabs(lineHi[k]))));
            clear = b.lo[k] > lineHi[k] + m || b.hi[k] < lineLo[k] - m;
        }
        if (!clear) near[n++] = paths[i];
    }
    return n;
}

// Position along an upright or level line, from its start.
static double along(Vexa_Line line, double x, double y)
{
    return line.x1 == line.x2 ? fabs(y - line.y1) : fabs(x - line.x1);
}

static int compareAlong(const void* a, const void* b) { return compareDoubles(a, b); }

// The positions along one edge where the border may pass from outside the art
// to inside it: the crossings with the art, and the art's anchors lying on the
// edge (where an outline runs along the edge, no crossing is seen at its
// ends). With the edge's two ends first and last; a fresh malloc'd array, or
// null when memory ran out.
static double* edgeStops(Vexa_Line edge, const UDT_PolyBezier* near, int32_t nearCount, int32_t* stopCount)
{
    _t_ASRealPoint* p = NULL;
    int np = 0;
    LineIntersectWithPolyBeziers(edge, near, nearCount, &p, &np);
    double length = along(edge, edge.x2, edge.y2);
    double* u = NULL;
    int32_t n = 0;
    ASErr err = kNoErr;
    for (int i = 0; i < np && err == kNoErr; i++)
        err = appendGrowing(&u, &n, along(edge, p[i].h, p[i].v));
    free(p);
    bool upright = edge.x1 == edge.x2;
    double fixed = upright ? edge.x1 : edge.y1;
    for (int32_t i = 0; i < nearCount && err == kNoErr; i++) {
        for (int32_t c = 0; c < near[i].count && err == kNoErr; c++) {
            for (int end = 0; end < 4 && err == kNoErr; end += 3) {
                const double* q = near[i].bezier[c].P[end];
                if ((upright ? q[0] : q[1]) != fixed) continue;
                double at = along(edge, q[0], q[1]);
                if (at > 0.0 && at < length) err = appendGrowing(&u, &n, at);
            }
        }
    }
    if (err) {
        free(u);
        return NULL;
    }
    qsort(u, (size_t)n, sizeof(double), compareAlong);
    int32_t kept = 0;
    for (int32_t i = 0; i < n; i++)
        if (kept == 0 || u[i] != u[kept - 1]) u[kept++] = u[i];
    *stopCount = kept;
    return u;
}

// Whether the border lies inside the art is told piece by piece, just within
// the panel beside each piece: between two neighbouring stops nothing of the
// art meets the edge, so one point of the piece tells for all of it. That
// point is the piece's middle, a hair's breadth on the panel's side of the
// edge, shrunk to nothing: the art's crossings with a ray from it straight
// across the edge, away to either side, are odd exactly when the art's
// inside lies there. Art running along the edge itself lies between that
// point and the outer side, so a ray outwards crosses it and a ray inwards
// does not. Each piece is told on its own: no doubt about one crossing (one
// running exactly through a corner of the panel, say) carries over to the
// rest of the border.

// A ray parallel to an axis from a point of an edge: the points whose
// coordinate `fixed` is `level` and whose other coordinate lies beyond `from`
// in the direction `dir`; with `onEdge`, the edge's own line counts as beyond.
struct Ray {
    int fixed;
    double level;
    double from;
    int dir;
    bool onEdge;
};

static bool beyond(const Ray& ray, double at)
{
    double d = (at - ray.from) * ray.dir;
    return ray.onEdge ? d >= 0 : d > 0;
}

// The parameters in (0, 1) where coordinate k of the curve turns, ascending.
static int turningPoints(const bezier_stru& b, int k, double t[2])
{
    double d0 = b.P[1][k] - b.P[0][k], d1 = b.P[2][k] - b.P[1][k], d2 = b.P[3][k] - b.P[2][k];
    double a = d0 - 2 * d1 + d2, bb = 2 * (d1 - d0), c = d0;
    double r[2];
    int n = 0;
    if (fabs(a) <= 1e-12 * (fabs(d0) + fabs(d1) + fabs(d2))) {
        if (bb != 0) r[n++] = -c / bb;
    } else {
        double disc = bb * bb - 4 * a * c;
        if (disc >= 0) {
            double q = -0.5 * (bb + (bb < 0 ? -sqrt(disc) : sqrt(disc)));
            r[n++] = q / a;
            if (q != 0) r[n++] = c / q;
        }
    }
    int kept = 0;
    for (int i = 0; i < n; i++)
        if (r[i] > 0 && r[i] < 1) t[kept++] = r[i];
    if (kept == 2 && t[0] > t[1]) {
        double x = t[0];
        t[0] = t[1];
        t[1] = x;
    }
    return kept;
}

static double coordinateAt(const bezier_stru& b, double t, int k)
{
    if (t <= 0) return b.P[0][k];
    if (t >= 1) return b.P[3][k];
    double x, y;
    BezierXY(b, t, &x, &y);
    return k == 0 ? x : y;
}

// How often one curve crosses the ray. The curve is taken in pieces along
// which its fixed coordinate only rises or only falls, and a piece crosses
// when one of its ends lies on or above the level and the other below, so a
// curve passing through the ray at an anchor or a turning point is counted
// once or not at all, as the pieces on either side say.
static int rayCrossings(const bezier_stru& b, const Ray& ray)
{
    int f = ray.fixed, r = 1 - ray.fixed;
    double lo = b.P[0][f], hi = lo;
    for (int i = 1; i < 4; i++) {
        lo = fmin(lo, b.P[i][f]);
        hi = fmax(hi, b.P[i][f]);
    }
    if (ray.level < lo || ray.level > hi) return 0;
    // Where the whole curve lies beyond the ray's start, or short of it,
    // each crossing counts or none does, wherever along the curve it lies.
    int ahead = 0;
    for (int i = 0; i < 4; i++) ahead += beyond(ray, b.P[i][r]);
    if (ahead == 0) return 0;
    double cuts[4] = {0};  // the start, the turning points, then the end
    int n = 1 + turningPoints(b, f, cuts + 1);
    cuts[n] = 1;
    int count = 0;
    double t0 = 0, v0 = b.P[0][f];
    for (int i = 1; i <= n; i++) {
        double t1 = cuts[i], v1 = coordinateAt(b, t1, f);
        if ((v0 >= ray.level) != (v1 >= ray.level)) {
            if (ahead == 4) {
                count++;
            } else {
                // The one parameter of the piece where it meets the level.
                double a = t0, z = t1;
                bool rising = v1 > v0;
                for (int step = 0; step < 64; step++) {
                    double m = (a + z) / 2;
                    if (m <= a || m >= z) break;
                    if ((coordinateAt(b, m, f) >= ray.level) == rising)
                        z = m;
                    else
                        a = m;
                }
                count += beyond(ray, coordinateAt(b, (a + z) / 2, r));
            }
        }
        t0 = t1;
        v0 = v1;
    }
    return count;
}

// A path the rays from one edge towards one side may cross, with its box.
struct PathBeside {
    UDT_PolyBezier path;
    PolyBezierBox box;
};

// The paths a ray from the edge towards one side (dir) may cross: those whose
// boxes reach over the edge's span and beyond the edge on that side (the edge
// line included, within a margin no rounding crosses).
static int32_t pathsBeside(Vexa_Line edge, int dir, const UDT_PolyBezier* paths, const PolyBezierBox* boxes,
                           int32_t pathCount, PathBeside* beside)
{
    int f = edge.x1 == edge.x2 ? 1 : 0, r = 1 - f;
    double from = r == 0 ? edge.x1 : edge.y1;
    double spanLo = f == 0 ? fmin(edge.x1, edge.x2) : fmin(edge.y1, edge.y2);
    double spanHi = f == 0 ? fmax(edge.x1, edge.x2) : fmax(edge.y1, edge.y2);
    int32_t n = 0;
    for (int32_t i = 0; i < pathCount; i++) {
        const PolyBezierBox& b = boxes[i];
        if (paths[i].count <= 0) continue;
        double m = 1e-4 * (1.0 + fmax(fmax(fabs(b.lo[f]), fabs(b.hi[f])), fmax(fabs(spanLo), fabs(spanHi))));
        double mr = 1e-4 * (1.0 + fmax(fmax(fabs(b.lo[r]), fabs(b.hi[r])), fabs(from)));
        if (b.hi[f] < spanLo - m || b.lo[f] > spanHi + m) continue;
        if (dir > 0 ? b.hi[r] < from - mr : b.lo[r] > from + mr) continue;
        beside[n].path = paths[i];
        beside[n].box = b;
        n++;
    }
    return n;
}

// Whether the art's inside lies on the panel's side of the edge at a point
// of it that no crossing or anchor of the art lies on, by the ray towards
// dir, which is the panel's side (inward) or the other.
static bool insideBeside(Vexa_Line edge, int dir, bool inward, double x, double y, const PathBeside* beside,
                         int32_t count)
{
    bool upright = edge.x1 == edge.x2;
    Ray ray;
    ray.fixed = upright ? 1 : 0;
    ray.level = upright ? y : x;
    ray.from = upright ? x : y;
    ray.dir = dir;
    ray.onEdge = !inward;
    int f = ray.fixed;
    int crossings = 0;
    for (int32_t i = 0; i < count; i++) {
        const PolyBezierBox& b = beside[i].box;
        double m = 1e-4 * (1.0 + fmax(fabs(b.lo[f]), fabs(b.hi[f])));
        if (ray.level < b.lo[f] - m || ray.level > b.hi[f] + m) continue;
        for (int32_t c = 0; c < beside[i].path.count; c++)
            crossings += rayCrossings(beside[i].path.bezier[c], ray);
    }
    return crossings % 2 == 1;
}

ASErr clipRect(AIArtHandle art, AIRealRect panel, bezier_stru** pieces, int32_t* count)
{
    UDT_PolyBezier* paths = NULL;
    int32_t pathCount = 0;
    (void)loadPloyBezier(art, &paths, &pathCount);
    size_t room = pathCount > 0 ? (size_t)pathCount : 1;
    PolyBezierBox* boxes = (PolyBezierBox*)malloc(room * sizeof(PolyBezierBox));
    UDT_PolyBezier* near = (UDT_PolyBezier*)malloc(room * sizeof(UDT_PolyBezier));
    PathBeside* inside = (PathBeside*)malloc(room * sizeof(PathBeside));
    PathBeside* outside = (PathBeside*)malloc(room * sizeof(PathBeside));
    ASErr err = kNoErr;
    if (boxes == NULL || near == NULL || inside == NULL || outside == NULL) err = kMemoryErr;
    for (int32_t i = 0; i < pathCount && err == kNoErr; i++)
        boxes[i] = PolyBezierControlBox(paths[i]);

    double left = panel.left, top = panel.top, right = panel.right, bottom = panel.bottom;
    // Round the border from the top-left corner: down the left edge, along
    // the bottom, up the right edge and back along the top; inward is the
    // direction into the panel, across each edge.
    Vexa_Line edges[] = {{left, top, left, bottom},
                         {left, bottom, right, bottom},
                         {right, bottom, right, top},
                         {right, top, left, top}};
    const int inward[] = {1, 1, -1, -1};
    for (int e = 0; e < 4 && err == kNoErr; e++) {
        const Vexa_Line& l = edges[e];
        int32_t n = pathsNear(l, paths, boxes, pathCount, near);
        int32_t stopCount = 0;
        double* stops = edgeStops(l, near, n, &stopCount);
        if (stops == NULL) err = kMemoryErr;
        // The rays go to whichever side of the edge holds fewer of the art's paths.
        int32_t nIn = 0, nOut = 0;
        if (stopCount > 1) {
            nIn = pathsBeside(l, inward[e], paths, boxes, pathCount, inside);
            nOut = pathsBeside(l, -inward[e], paths, boxes, pathCount, outside);
        }
        bool in = nIn <= nOut;
        double sx = l.x1 == l.x2 ? 0.0 : (l.x2 > l.x1 ? 1.0 : -1.0);
        double sy = l.y1 == l.y2 ? 0.0 : (l.y2 > l.y1 ? 1.0 : -1.0);
        for (int32_t m = 0; m + 1 < stopCount && err == kNoErr; m++) {
            double a = stops[m], b = stops[m + 1];
            double x1 = l.x1 + sx * a, y1 = l.y1 + sy * a, x2 = l.x1 + sx * b, y2 = l.y1 + sy * b;
            bezier_stru s = {3, {{x1, y1}, {x1, y1}, {x2, y2}, {x2, y2}}};
            double middle = (a + b) / 2;
            if (negligible(s) || !insideBeside(l, in ? inward[e] : -inward[e], in, l.x1 + sx * middle,
                                               l.y1 + sy * middle, in ? inside : outside, in ? nIn : nOut))
                continue;
            err = appendGrowing(pieces, count, s);
        }
        free(stops);
    }
    for (int32_t i = 0; i < pathCount; i++)
        free(paths[i].bezier);
    free(paths);
    free(boxes);
    free(near);
    free(inside);
    free(outside);
    return err;
}

// ---- Chaining pieces into paths ----------------------------------------------------

// One end of a piece in the index: its cell of 1 x 1 point and the piece.
struct PieceEnd {
    int64_t cx, cy;
    int32_t piece;
};

struct PieceEndIndex {
    int32_t count;
    PieceEnd* starts;     // P0 of every piece, sorted by cell, then piece
    PieceEnd* ends;       // P3 of every piece, the same
    int32_t firstUnused;  // no piece before it is unused
};

static int64_t cellOf(double v)
{
    if (!(v > -9.0e15 && v < 9.0e15)) return 0;  // not finite, or nowhere a document reaches
    return (int64_t)floor(v);
}

static int comparePieceEnds(const void* a, const void* b)
{
    const PieceEnd* x = (const PieceEnd*)a;
    const PieceEnd* y = (const PieceEnd*)b;
    if (x->cx != y->cx) return x->cx < y->cx ? -1 : 1;
    if (x->cy != y->cy) return x->cy < y->cy ? -1 : 1;
    return x->piece < y->piece ? -1 : (x->piece > y->piece ? 1 : 0);
}

PieceEndIndex* NewPieceEndIndex(const bezier_stru* pieces, int32_t count)
{
    PieceEndIndex* index = (PieceEndIndex*)calloc(1, sizeof(PieceEndIndex));
    if (index == NULL) return NULL;
    size_t n = count > 0 ? (size_t)count : 1;
    index->starts = (PieceEnd*)malloc(n * sizeof(PieceEnd));
    index->ends = (PieceEnd*)malloc(n * sizeof(PieceEnd));
    if (index->starts == NULL || index->ends == NULL) {
        FreePieceEndIndex(index);
        return NULL;
    }
    index->count = std::max(count, 0);
    for (int32_t i = 0; i < index->count; i++) {
        index->starts[i].cx = cellOf(pieces[i].P[0][0]);
        index->starts[i].cy = cellOf(pieces[i].P[0][1]);
        index->starts[i].piece = i;
        index->ends[i].cx = cellOf(pieces[i].P[3][0]);
        index->ends[i].cy = cellOf(pieces[i].P[3][1]);
        index->ends[i].piece = i;
    }
    qsort(index->starts, (size_t)index->count, sizeof(PieceEnd), comparePieceEnds);
    qsort(index->ends, (size_t)index->count, sizeof(PieceEnd), comparePieceEnds);
    return index;
}

void FreePieceEndIndex(PieceEndIndex* index)
{
    if (index == NULL) return;
    free(index->starts);
    free(index->ends);
    free(index);
}

// Squared distance from a piece's end to the chain's end.
static double distance2(const double (&q)[2], const double (&end)[2])
{
    double dx = q[0] - end[0], dy = q[1] - end[1];
    return dx * dx + dy * dy;
}

// A piece that may follow the chain: its start (which 0) or its end (which
// 3, then it is turned round) lies this near the chain's end.
struct Joining {
    int32_t piece;  // -1: none
    int which;
    double d2;
};

// Of two candidates, the one nearer the chain's end; at equal distances a
// piece that starts there before one that ends there, then the lower number.
static bool better(const Joining& a, const Joining& b)
{
    if (b.piece < 0) return a.piece >= 0;
    if (a.piece < 0) return false;
    if (a.d2 != b.d2) return a.d2 < b.d2;
    if (a.which != b.which) return a.which < b.which;
    return a.piece < b.piece;
}

static void consider(Joining* best, int32_t piece, int which, const bezier_stru* pieces, const bool* used,
                     const double (&end)[2])
{
    if (used[piece]) return;
    Joining c = {piece, which, distance2(pieces[piece].P[which], end)};
    if (c.d2 < kSplitJoinDistance && better(c, *best)) *best = c;
}

// The first of the count sorted entries of list that lies in key's cell, or
// where such entries would stand.
static int32_t firstInCell(const PieceEnd* list, int32_t count, const PieceEnd* key)
{
    int32_t lo = 0, hi = count;
    while (lo < hi) {
        int32_t mid = lo + (hi - lo) / 2;
        if (comparePieceEnds(&list[mid], key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// The unused piece whose start (end: which 3) lies nearest the point, within
// the joining distance. Any point within 1 of it lies in its cell or a
// neighbouring one.
static void findJoining(const PieceEndIndex* index, const PieceEnd* list, int which, const bezier_stru* pieces,
                        const bool* used, const double (&end)[2], Joining* best)
{
    int64_t cx = cellOf(end[0]), cy = cellOf(end[1]);
    for (int64_t dx = -1; dx <= 1; dx++) {
        for (int64_t dy = -1; dy <= 1; dy++) {
            PieceEnd key = {cx + dx, cy + dy, -1};
            for (int32_t i = firstInCell(list, index->count, &key);
                 i < index->count && list[i].cx == key.cx && list[i].cy == key.cy; i++)
                consider(best, list[i].piece, which, pieces, used, end);
        }
    }
}

// The lowest-numbered unused piece starting exactly at the point, if any:
// it lies in the point's own cell, whose entries run in piece order.
static bool findExactStart(const PieceEndIndex* index, const bezier_stru* pieces, const bool* used,
                           const double (&end)[2], Joining* best)
{
    PieceEnd key = {cellOf(end[0]), cellOf(end[1]), -1};
    const PieceEnd* list = index->starts;
    for (int32_t i = firstInCell(list, index->count, &key);
         i < index->count && list[i].cx == key.cx && list[i].cy == key.cy; i++) {
        int32_t piece = list[i].piece;
        if (!used[piece] && distance2(pieces[piece].P[0], end) == 0.0) {
            *best = {piece, 0, 0.0};
            return true;
        }
    }
    return false;
}

// The same by looking at every piece.
static void scanJoining(const bezier_stru* pieces, int32_t count, const bool* used, int which, const double (&end)[2],
                        Joining* best)
{
    for (int32_t i = 0; i < count; i++)
        consider(best, i, which, pieces, used, end);
}

static bezier_stru reversed(const bezier_stru& b)
{
    bezier_stru r = b;
    for (int p = 0; p < 4; p++) {
        r.P[p][0] = b.P[3 - p][0];
        r.P[p][1] = b.P[3 - p][1];
    }
    return r;
}

ASErr SortBezier(bezier_stru* pieces, int32_t count, bool* used, int32_t* chainCount, bezier_stru** chain,
                 PieceEndIndex* index)
{
    *chain = NULL;
    *chainCount = 0;
    bezier_stru* out = NULL;
    int32_t n = 0;
    int32_t first = index ? index->firstUnused : 0;
    while (first < count && used[first]) first++;
    if (index) index->firstUnused = first;
    if (first >= count) return kNoErr;

    // The chain starts with the first unused piece and grows at its end with
    // the unused piece whose start or end (then turned round) lies nearest
    // it, until none lies within the joining distance. The nearest, not the
    // first within reach: where pieces shorter than the joining distance meet
    // (a thin spike across the edge, a corner cut twice), another piece's
    // start may lie within reach of the end as well, and taking it would skip
    // the piece that really goes on from there.
    ASErr err = appendGrowing(&out, &n, pieces[first]);
    if (!err) used[first] = true;
    while (err == kNoErr) {
        const double(&end)[2] = out[n - 1].P[3];
        Joining next = {-1, 0, 0.0};
        // Nothing is nearer than a piece starting exactly there.
        bool exact = index != NULL && findExactStart(index, pieces, used, end, &next);
        for (int which = 0; which < 4 && !exact; which += 3) {
            if (index)
                findJoining(index, which == 0 ? index->starts : index->ends, which, pieces, used, end, &next);
            else
                scanJoining(pieces, count, used, which, end, &next);
        }
        if (next.piece < 0) break;
        err = appendGrowing(&out, &n, next.which == 3 ? reversed(pieces[next.piece]) : pieces[next.piece]);
        if (!err) used[next.piece] = true;
    }
    if (err) {
        free(out);
        return err;
    }
    *chain = out;
    *chainCount = n;
    return kNoErr;
}

static AIRealPoint realPoint(const double (&p)[2])
{
    AIRealPoint r;
    r.h = (AIReal)p[0];
    r.v = (AIReal)p[1];
    return r;
}

// One closed path of a chain: segment m has its anchor at the start of piece m,
// arrives along the handle of the piece before and leaves along its own.
VT_NODISCARD static ASErr drawChain(const bezier_stru* chain, int32_t n, AIArtHandle compound)
{
    AIArtHandle path = NULL;
    ASErr err = sAIArt->NewArt(kPathArt, kPlaceInsideOnBottom, compound, &path);
    if (err) return err;
    AIPathSegment* seg = (AIPathSegment*)malloc((size_t)n * sizeof(AIPathSegment));
    if (seg == NULL) return kMemoryErr;
    for (int32_t m = 0; m < n; m++) {
        const bezier_stru& before = chain[m == 0 ? n - 1 : m - 1];
        seg[m].p = realPoint(chain[m].P[0]);
        seg[m].in = realPoint(before.P[2]);
        seg[m].out = realPoint(chain[m].P[1]);
        seg[m].corner = (seg[m].in.h == seg[m].p.h && seg[m].in.v == seg[m].p.v) ||
                        (seg[m].out.h == seg[m].p.h && seg[m].out.v == seg[m].p.v);
    }
    err = sAIPath->SetPathSegmentCount(path, n);
    if (!err) err = sAIPath->SetPathSegments(path, 0, n, seg);
    if (!err) err = sAIPath->SetPathClosed(path, 1);
    free(seg);
    return err;
}

ASErr DrawUnsortedBezier(bezier_stru* pieces, int32_t count, AIArtHandle parent)
{
    // A panel the art does not reach gets no empty compound path.
    if (count <= 0) return kNoErr;
    bool* used = (bool*)calloc((size_t)count, sizeof(bool));
    PieceEndIndex* index = NewPieceEndIndex(pieces, count);
    if (used == NULL || index == NULL) {
        free(used);
        FreePieceEndIndex(index);
        return kMemoryErr;
    }
    AIArtHandle compound = NULL;
    ASErr err = parent ? sAIArt->NewArt(kCompoundPathArt, kPlaceInsideOnBottom, parent, &compound)
                       : sAIArt->NewArt(kCompoundPathArt, kPlaceAboveAll, NULL, &compound);
    int32_t left = count;
    while (err == kNoErr && left > 0) {
        bezier_stru* chain = NULL;
        int32_t n = 0;
        err = SortBezier(pieces, count, used, &n, &chain, index);
        if (err == kNoErr && n == 0) break;
        if (err == kNoErr) err = drawChain(chain, n, compound);
        left -= n;
        free(chain);
    }
    free(used);
    FreePieceEndIndex(index);
    return err;
}

// ---- Align marks ------------------------------------------------------------------

ASErr DrawTombRect(AIArtHandle group, double cx, double cy, double w, double h)
{
    AIArtHandle path = NULL;
    ASErr err = sAIArt->NewArt(kPathArt, kPlaceInsideOnTop, group, &path);
    if (err) return err;
    double a[4][6];  // per anchor: x, y, in x, in y, out x, out y
    int n = 0;
    double hw = w / 2, hh = h / 2, kw = kSplitCircleHandle * w / 2, kh = kSplitCircleHandle * h / 2;
    auto corner = [&](double x, double y) {
        double* s = a[n++];
        s[0] = s[2] = s[4] = x;
        s[1] = s[3] = s[5] = y;
    };
    auto smooth = [&](double x, double y, double ix, double iy, double ox, double oy) {
        double* s = a[n++];
        s[0] = x, s[1] = y, s[2] = ix, s[3] = iy, s[4] = ox, s[5] = oy;
    };
    switch (g->splitMarkStyle) {
    case kSplitMarkCircle:
        smooth(cx - hw, cy, cx - hw, cy - kh, cx - hw, cy + kh);
        smooth(cx, cy + hh, cx - kw, cy + hh, cx + kw, cy + hh);
        smooth(cx + hw, cy, cx + hw, cy + kh, cx + hw, cy - kh);
        smooth(cx, cy - hh, cx + kw, cy - hh, cx - kw, cy - hh);
        break;
    case kSplitMarkRectangle:
        corner(cx - hw, cy - hh);
        corner(cx + hw, cy - hh);
        corner(cx + hw, cy + hh);
        corner(cx - hw, cy + hh);
        break;
    case kSplitMarkTriangleUp:
        corner(cx - hw, cy - hh);
        corner(cx + hw, cy - hh);
        corner(cx, cy + hh);
        break;
    case kSplitMarkTriangleDown:
        corner(cx - hw, cy + hh);
        corner(cx + hw, cy + hh);
        corner(cx, cy - hh);
        break;
    case kSplitMarkDiamond:
        corner(cx, cy - hh);
        corner(cx + hw, cy);
        corner(cx, cy + hh);
        corner(cx - hw, cy);
        break;
    default:
        break;
    }
    AIPathSegment seg[4];
    for (int i = 0; i < n; i++) {
        seg[i].p.h = (AIReal)a[i][0];
        seg[i].p.v = (AIReal)a[i][1];
        seg[i].in.h = (AIReal)a[i][2];
        seg[i].in.v = (AIReal)a[i][3];
        seg[i].out.h = (AIReal)a[i][4];
        seg[i].out.v = (AIReal)a[i][5];
        seg[i].corner = g->splitMarkStyle != kSplitMarkCircle;
    }
    if (n > 0) {
        err = sAIPath->SetPathSegmentCount(path, n);
        if (!err) err = sAIPath->SetPathSegments(path, 0, n, seg);
    }
    if (!err) err = sAIPath->SetPathClosed(path, 1);
    return err;
}

ASErr DrawTomb(AIArtHandle group, AIRealRect markRect, int32_t k, int32_t cols, int32_t rows)
{
    int32_t order = g->splitSortMethod;
    if (order < 1 || order > 8 || cols < 1 || rows < 1) return kNoErr;
    PanelOrder o = panelOrder(order);
    double w = g->splitMarkWidth * kMillimetreToPoint;
    double h = g->splitMarkHeight * kMillimetreToPoint;
    // Offsets from a corner to a mark's centre point away from the start corner.
    double dx = o.startRight ? -w / 2 : w / 2;
    double dy = o.startTop ? -h / 2 : h / 2;
    bool firstColumn = o.columnsFirst ? k < rows : k % cols == 0;
    bool firstRow = o.columnsFirst ? k % rows == 0 : k < cols;
    int32_t lastOfFirstColumn = o.columnsFirst ? rows - 1 : (rows - 1) * cols;
    int32_t firstOfLastColumn = o.columnsFirst ? (cols - 1) * rows : cols - 1;
    double nearX = o.startRight ? markRect.right : markRect.left, farX = o.startRight ? markRect.left : markRect.right;
    double nearY = o.startTop ? markRect.top : markRect.bottom, farY = o.startTop ? markRect.bottom : markRect.top;

    struct Candidate {
        bool made;
        double x, y;
        bool onlyOutside;
    } c[4] = {
        {k != 0, nearX + (firstColumn ? -dx : dx), nearY + (firstRow ? -dy : dy), true},
        {k != lastOfFirstColumn, nearX + (firstColumn ? -dx : dx), farY + dy, true},
        {k != firstOfLastColumn, farX + dx, nearY + (firstRow ? -dy : dy), true},
        {k != cols * rows - 1, farX + dx, farY + dy, false},
    };
    // No mark sits at the four outer corners of the whole tiling; the others
    // fall where neighbouring panels put theirs, so both carry the same marks.
    static const int kDownColumns[] = {0, 1, 2, 3};
    static const int kAlongRows[] = {0, 2, 1, 3};
    const int* sequence = order <= 4 || order == 8 ? kDownColumns : kAlongRows;
    for (int s = 0; s < 4; s++) {
        const Candidate& m = c[sequence[s]];
        if (!m.made) continue;
        if (m.onlyOutside) {
            AIRealPoint centre = {(AIReal)m.x, (AIReal)m.y};
            if (sAIRealMath->AIRealPointInAIRealRect(&centre, &markRect)) continue;
        }
        ASErr err = DrawTombRect(group, m.x, m.y, w, h);
        if (err) return err;
    }
    return kNoErr;
}

// ---- The whole run ------------------------------------------------------------------

// The guide group itself or art inside it.
static bool isGuideArt(AIArtHandle art, AIArtHandle guideGroup)
{
    for (int depth = 0; art != NULL && guideGroup != NULL && depth < 10000; depth++) {
        if (art == guideGroup) return true;
        AIArtHandle parent = NULL;
        if (sAIArt->GetArtParent(art, &parent)) return false;
        art = parent;
    }
    return false;
}

// The root group of art's layer, or null.
static AIArtHandle layerRoot(AIArtHandle art)
{
    AILayerHandle layer = NULL;
    AIArtHandle root = NULL;
    if (sAIArt->GetLayerOfArt(art, &layer) || sAIArt->GetFirstArtOfLayer(layer, &root)) return NULL;
    return root;
}

static bool cuttable(int16_t type)
{
    return type == kGroupArt || type == kPathArt || type == kCompoundPathArt;
}

// Moves whatever inside a group the panels cannot hold (text frames, placed
// and other art) out of it, in its order, to where the group lies, so that
// disposing of the group loses none of it.
VT_NODISCARD static ASErr keepUncuttable(AIArtHandle group, AIArtHandle place)
{
    AIArtHandle child = NULL;
    ASErr err = sAIArt->GetArtFirstChild(group, &child);
    while (err == kNoErr && child != NULL) {
        AIArtHandle next = NULL;
        int16_t type = kUnknownArt;
        if ((err = sAIArt->GetArtSibling(child, &next)) || (err = sAIArt->GetArtType(child, &type))) break;
        if (type == kGroupArt)
            err = keepUncuttable(child, place);
        else if (!cuttable(type))
            err = sAIArt->ReorderArt(child, kPlaceAbove, place);
        child = next;
    }
    return err;
}

// Replaces one top-level object by its panels. On any failure the panels made
// so far go and the object stays.
VT_NODISCARD static ASErr clipObject(AIArtHandle art, AIArtHandle root, const AIRealRect* clip,
                                     const AIRealRect* mark, int32_t panels, int32_t cols, int32_t rows)
{
    AIArtHandle* made = (AIArtHandle*)calloc((size_t)panels, sizeof(AIArtHandle));
    if (made == NULL) return kMemoryErr;
    ASErr err = kNoErr;
    for (int32_t k = 0; k < panels && err == kNoErr; k++) {
        bezier_stru* pieces = NULL;
        int32_t count = 0;
        err = clipArt(art, clip[k], &pieces, &count);
        if (!err) err = clipRect(art, clip[k], &pieces, &count);
        if (!err) err = sAIArt->NewArt(kGroupArt, kPlaceInsideOnTop, root, &made[k]);
        if (!err) err = DrawUnsortedBezier(pieces, count, made[k]);
        if (!err && g->splitMarkStyle != kSplitNoMarks) err = DrawTomb(made[k], mark[k], k, cols, rows);
        free(pieces);
    }
    int16_t type = kUnknownArt;
    if (!err) err = sAIArt->GetArtType(art, &type);
    if (!err && type == kGroupArt) err = keepUncuttable(art, art);
    if (!err) err = sAIArt->DisposeArt(art);
    if (err) {
        for (int32_t k = 0; k < panels; k++)
            if (made[k] != NULL) (void)sAIArt->DisposeArt(made[k]);
    }
    free(made);
    return err;
}

ASErr doClipArt(AIArtHandle guideGroup)
{
    AIMatchingArtSpec spec = {kAnyArt, kArtSelected, kArtSelected};
    AIArtHandle** matches = NULL;
    int32_t n = 0;
    ASErr err = sMatchingArt->GetMatchingArt(&spec, 1, &matches, &n);
    if (err) return err;
    if (n <= 0 || matches == NULL) return kNoErr;

    // The bounds of everything selected but the guides, grown a little.
    AIRealRect bounds = {0, 0, 0, 0};
    bool have = false;
    for (int32_t i = 0; i < n; i++) {
        AIArtHandle art = (*matches)[i];
        AIRealRect r;
        if (isGuideArt(art, guideGroup) || sAIArt->GetArtBounds(art, &r)) continue;
        if (have)
            sAIRealMath->AIRealRectUnion(&bounds, &r, &bounds);
        else
            bounds = r;
        have = true;
    }
    AIRealRect* clip = NULL;
    AIRealRect* mark = NULL;
    int32_t panels = 0, cols = 0, rows = 0;
    if (have) {
        bounds.left = (AIReal)(bounds.left - kSplitBoundsMargin);
        bounds.top = (AIReal)(bounds.top + kSplitBoundsMargin);
        bounds.right = (AIReal)(bounds.right + kSplitBoundsMargin);
        bounds.bottom = (AIReal)(bounds.bottom - kSplitBoundsMargin);
        // Guides the panels cannot be made of leave the document as it is,
        // without a word: there is nothing to cut along.
        (void)getClipRect(guideGroup, &clip, &mark, &panels, bounds, &cols, &rows);
    }

    ASErr first = kNoErr;
    for (int32_t i = 0; i < n && panels > 0; i++) {
        AIArtHandle art = (*matches)[i];
        // Art inside an object already cut went with it.
        if (!sAIArt->ValidArt(art) || isGuideArt(art, guideGroup)) continue;
        AIArtHandle root = isTopLevel(art) ? layerRoot(art) : NULL;
        int16_t type = kUnknownArt;
        if (root == NULL || sAIArt->GetArtType(art, &type) || !cuttable(type)) continue;
        err = clipObject(art, root, clip, mark, panels, cols, rows);
        if (err && first == kNoErr) first = err;
    }
    (void)sAIMdMemory->MdMemoryDisposeHandle((AIMdMemoryHandle)matches);
    free(clip);
    free(mark);
    return first;
}
