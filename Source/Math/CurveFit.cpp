// Polyline fitting with lines and arcs, and arcs back to points.
#include "Math/CurveFit.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>

// A circle through three nearly collinear points can have its centre
// arbitrarily far away; cut as an arc it would send the cutter a radius beyond
// its coordinate range. When the radius exceeds this many times the longest
// side of the triangle (its widest angle then lies within 0.003 degrees of a
// straight one) the three points are taken as a line.
static const double g_dMaxRadiusPerSide = 1e4;

// Drawing an arc back as points: a tolerance of 0 or a huge radius would ask
// for an unbounded number of points; this many draw any arc a cutter can cut
// finer than its step.
static const int g_iMaxArcPoints = 65536;

static bool samePoint(point_struct a, point_struct b)
{
    return fabs(a.x - b.x) <= kMathTolerance && fabs(a.y - b.y) <= kMathTolerance;
}

static double distance(point_struct a, point_struct b)
{
    return sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
}

void fill3PtArc(arc_struct* arc)
{
    double x0 = arc->start.x, y0 = arc->start.y;
    double x1 = arc->mid.x, y1 = arc->mid.y;
    double x2 = arc->end.x, y2 = arc->end.y;
    if (samePoint(arc->start, arc->end)) {
        arc->type = samePoint(arc->start, arc->mid) ? kArcPoint : kArcFull;
        arc->center.x = (x0 + x1) / 2.0;
        arc->center.y = (y0 + y1) / 2.0;
        return;
    }
    double det = x0 * y1 + y0 * x2 + x1 * y2 - x2 * y1 - y2 * x0 - x1 * y0;
    if (fabs(det) <= kMathTolerance) {
        arc->type = kArcLine;
        arc->center = arc->start;
        return;
    }
    double s0 = x0 * x0 + y0 * y0, s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2;
    point_struct c;
    c.x = (s0 * y1 + y0 * s2 + s1 * y2 - s2 * y1 - y2 * s0 - s1 * y0) / (2.0 * det);
    c.y = -(s0 * x1 + x0 * s2 + s1 * x2 - s2 * x1 - x2 * s0 - s1 * x0) / (2.0 * det);
    double side =
        std::max({distance(arc->start, arc->end), distance(arc->start, arc->mid), distance(arc->mid, arc->end)});
    double r = distance(c, arc->start);
    if (!(r <= g_dMaxRadiusPerSide * side)) {  // also catches a non-finite centre
        arc->type = kArcLine;
        arc->center = arc->start;
        return;
    }
    arc->type = kArcCircle;
    arc->center = c;
}

double CalculateRadian(point_struct from, point_struct to)
{
    double dx = to.x - from.x, dy = to.y - from.y;
    if (fabs(dx) <= kMathTolerance)
        return dy < 0.0 ? kMath3HalfPi : kMathHalfPi;
    if (fabs(dy) <= kMathTolerance)
        return dx < 0.0 ? kMathPi : 0.0;
    double cosA = dx / sqrt(dx * dx + dy * dy);
    cosA = std::max(std::min(cosA, 1.0), -1.0);
    double a = acos(cosA);
    return dy < 0.0 ? kMath2Pi - a : a;
}

int PointOnWhere(point_struct a, point_struct b, point_struct p)
{
    if (a.x == b.x && a.y == b.y)
        return -1;
    double c = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
    if (fabs(c) <= kMathTolerance)
        return 1;
    return c > 0.0 ? 2 : 3;
}

// Pieces are gathered here while the recursion runs and handed to the
// caller's array in one step at the end, in the same order. The first few
// stay in the list itself: most runs fit in one or two pieces.
enum { kInlinePieces = 16 };

template <typename T>
struct PieceList {
    T* data;
    int count;
    int capacity;
    T inlined[kInlinePieces];
};

template <typename T>
static void startPieces(PieceList<T>* list)
{
    list->data = list->inlined;
    list->count = 0;
    list->capacity = kInlinePieces;
}

template <typename T>
static void pushPiece(PieceList<T>* list, const T& piece)
{
    if (list->count == list->capacity) {
        int cap = list->capacity * 2;
        T* grown = (T*)malloc(sizeof(T) * (size_t)cap);
        if (!grown)
            return;
        memcpy(grown, list->data, sizeof(T) * (size_t)list->count);
        if (list->data != list->inlined)
            free(list->data);
        list->data = grown;
        list->capacity = cap;
    }
    list->data[list->count++] = piece;
}

template <typename T>
static void appendPieces(PieceList<T>* list, T** array, int* count)
{
    if (list->count > 0) {
        T* grown = (T*)realloc(*array, sizeof(T) * ((size_t)*count + (size_t)list->count));
        if (grown) {
            memcpy(grown + *count, list->data, sizeof(T) * (size_t)list->count);
            *array = grown;
            *count += list->count;
        }
    }
    if (list->data != list->inlined)
        free(list->data);
}

// Whether a point lies within the tolerance of a chord (its distance to the
// segment, PointToLineDistance), for many points against one chord: the
// chord's length is measured once, and points plainly off it are settled
// without the exact distance. The same answers, point for point.
static bool nearChord(point_struct p, const double (&a)[2], const double (&b)[2], double L, double tolerance)
{
    double q[] = {p.x, p.y};
    if (PointClearlyFartherThan(q, a, b, L, tolerance))
        return false;
    double d;
    PointToLineDistanceOfLength(q, a, b, L, &d);
    return d <= tolerance;
}

static bool runNearChord(const point_struct* p, int n, double tolerance)
{
    double a[] = {p[0].x, p[0].y}, b[] = {p[n - 1].x, p[n - 1].y};
    double L = PointToPointDistance(a, b);
    for (int i = 0; i <= n - 2; i++)
        if (!nearChord(p[i], a, b, L, tolerance))
            return false;
    return true;
}

// Whether every step p[i] to p[i + 1] of the run (three points or more) lies
// on the arc piece within the tolerance: its middle and centre on opposite
// sides of its chord, both ends within the tolerance of its radius from the
// centre and the step's own distance from the centre too, measured for each
// step in turn, with what depends on the piece alone measured once, and the
// distance of each point from the centre measured once though two steps
// share it.
static bool runFitsPiece(const point_struct* p, int n, const arc_struct& piece, double tolerance)
{
    // A straight piece is the run's own chord, which fitArcs found the run
    // does not follow before it asked.
    if (piece.type == kArcLine)
        return false;
    if (PointOnWhere(piece.start, piece.end, piece.mid) + PointOnWhere(piece.start, piece.end, piece.center) != 5)
        return false;
    double r = distance(piece.center, piece.start);
    double c[] = {piece.center.x, piece.center.y};
    bool startOnCircle = !(fabs(distance(p[0], piece.center) - r) > tolerance);
    for (int i = 0; i <= n - 2; i++) {
        if (!startOnCircle)
            return false;
        startOnCircle = !(fabs(distance(p[i + 1], piece.center) - r) > tolerance);
        if (!startOnCircle)
            return false;
        double pa[] = {p[i].x, p[i].y}, pb[] = {p[i + 1].x, p[i + 1].y};
        double d;
        PointToLineDistance(c, pa, pb, &d);
        if (!(fabs(d - r) <= tolerance))
            return false;
    }
    return true;
}

static void fitLines(const point_struct* p, int n, double tolerance, PieceList<Vexa_Line>* out)
{
    if (n == 2 || runNearChord(p, n, tolerance)) {
        Vexa_Line chord = {p[0].x, p[0].y, p[n - 1].x, p[n - 1].y};
        pushPiece(out, chord);
        return;
    }
    int m = (n - 1) / 2;
    fitLines(p, m + 1, tolerance, out);
    fitLines(p + m, n - m, tolerance, out);
}

// Fits the run of points with fit into a new array of pieces (none for no
// points).
template <typename T>
static int fitPoints(const point_struct* points, int count, double tolerance,
                     void (*fit)(const point_struct*, int, double, PieceList<T>*), T** pieces, int* pieceCount)
{
    if (!points || count <= 0) {
        *pieces = NULL;
        *pieceCount = 0;
        return 1;
    }
    PieceList<T> out;
    startPieces(&out);
    fit(points, count, tolerance, &out);
    appendPieces(&out, pieces, pieceCount);
    return 1;
}

int fitPointByLine(const point_struct* points, int count, double tolerance, Vexa_Line** lines, int* lineCount)
{
    return fitPoints(points, count, tolerance, fitLines, lines, lineCount);
}

static void fitArcs(const point_struct* p, int n, double tolerance, PieceList<arc_struct>* out)
{
    int m = (n - 1) / 2;
    arc_struct piece;
    memset(&piece, 0, sizeof piece);
    if (n == 2) {
        piece.type = kArcLine;
        piece.start = p[0];
        piece.end = p[1];
        pushPiece(out, piece);
        return;
    }
    piece.start = p[0];
    piece.mid = p[m];
    piece.end = p[n - 1];
    if (runNearChord(p, n, tolerance)) {
        piece.type = kArcLine;
        pushPiece(out, piece);
        return;
    }
    fill3PtArc(&piece);
    if (runFitsPiece(p, n, piece, tolerance)) {
        pushPiece(out, piece);
        return;
    }
    fitArcs(p, m + 1, tolerance, out);
    fitArcs(p + m, n - m, tolerance, out);
}

int fitPointByArc(const point_struct* points, int count, double tolerance, arc_struct** arcs, int* arcCount)
{
    return fitPoints(points, count, tolerance, fitArcs, arcs, arcCount);
}

// Point count of an arc drawn back: at least 3, at most the cap, whatever the
// tolerance (zero, negative) or radius (huge, non-finite) make of the estimate.
static int arcPointCount(double estimate)
{
    if (estimate != estimate)
        return 3;
    if (estimate >= g_iMaxArcPoints)
        return g_iMaxArcPoints;
    int n = (int)estimate + 1;
    return std::max(n, 3);
}

int arcStepCount(const arc_struct& arc, double tolerance, ArcSteps* steps)
{
    steps->arc = arc;
    steps->radius = steps->from = steps->sweep = 0.0;
    if (arc.type == kArcFull || arc.type == kArcCircle) {
        double r = distance(arc.center, arc.start);
        double a0 = CalculateRadian(arc.center, arc.start);
        double sweep;
        if (arc.type == kArcFull) {
            sweep = kMath2Pi;
            steps->count = arcPointCount(kMathPi * sqrt(fabs(r / (2.0 * tolerance))));
        } else {
            double a1 = CalculateRadian(arc.center, arc.end);
            sweep = a1 - a0;
            bool midLeft = PointOnWhere(arc.start, arc.end, arc.mid) == 2;
            if (midLeft && sweep > 0.0)
                sweep -= kMath2Pi;
            if (!midLeft && sweep < 0.0)
                sweep += kMath2Pi;
            steps->count = arcPointCount(fabs(sweep) * sqrt(fabs(r / (8.0 * tolerance))));
        }
        steps->radius = r;
        steps->from = a0;
        steps->sweep = sweep;
    } else {
        // Lines, single points and any type the fitter never makes: the two ends.
        steps->count = 2;
    }
    return steps->count;
}

point_struct arcStepPoint(const ArcSteps& steps, int i)
{
    const arc_struct& arc = steps.arc;
    if (arc.type != kArcFull && arc.type != kArcCircle)
        return i == 0 ? arc.start : arc.end;
    double a = steps.from + steps.sweep * i / (steps.count - 1);
    return point_struct{arc.center.x + steps.radius * cos(a), arc.center.y + steps.radius * sin(a)};
}

int fitArcByPoint(arc_struct arc, double tolerance, point_struct** points, int* count)
{
    ArcSteps steps;
    int n = arcStepCount(arc, tolerance, &steps);
    point_struct* pts = (point_struct*)malloc(sizeof(point_struct) * (size_t)n);
    if (!pts) {
        *points = NULL;
        *count = 0;
        return 1;
    }
    for (int i = 0; i < n; i++)
        pts[i] = arcStepPoint(steps, i);
    *points = pts;
    *count = n;
    return 1;
}
