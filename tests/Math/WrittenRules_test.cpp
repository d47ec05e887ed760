// The flattening and fitting that every cut goes through take quick ways out
// (a point plainly off a chord, lengths measured once, lists on the stack);
// here they are held to the rules as first written, kept below as they were:
// the same decisions, the same pieces and the same numbers to the last bit,
// on random geometry and on geometry built to sit at the tolerances.
#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <vector>

#include "Math/Bezier.h"
#include "Math/Crossings.h"
#include "Math/CurveFit.h"

namespace {

// ---- The rules as first written -------------------------------------------------------

double refSqrtClamped(double v) { return v > 0.0 ? sqrt(v) : 0.0; }

void refPointToLineDistance(const double (&p)[2], const double (&a)[2], const double (&b)[2], double* distance)
{
    double dpa = PointToPointDistance(p, a);
    double dpb = PointToPointDistance(p, b);
    double L = PointToPointDistance(a, b);
    if (L == 0.0) {
        *distance = dpa;
        return;
    }
    double h = fabs((b[1] - a[1]) * (p[0] - a[0]) - (p[1] - a[1]) * (b[0] - a[0])) / L;
    double ra = refSqrtClamped(dpa * dpa - h * h) / L;
    double rb = refSqrtClamped(dpb * dpb - h * h) / L;
    if (!(ra > 1.0) && !(rb > 1.0))
        *distance = h;
    else
        *distance = dpa < dpb ? dpa : dpb;
}

int refIsLine(const bezier_stru* bezier)
{
    const double(*P)[2] = bezier->P;
    if (fabs(P[0][0] - P[1][0]) <= kMathTolerance && fabs(P[0][1] - P[1][1]) <= kMathTolerance &&
        fabs(P[2][0] - P[3][0]) <= kMathTolerance && fabs(P[2][1] - P[3][1]) <= kMathTolerance)
        return 1;
    for (int i = 1; i <= 2; i++) {
        double d;
        refPointToLineDistance(P[i], P[0], P[3], &d);
        if (d > 0.0 && d > kMathTolerance)
            return -1;
    }
    return 1;
}

std::vector<bezier_stru> refFlatten(const bezier_stru& bezier)
{
    int levels = BezierDivisions(&bezier, 0.01);
    std::vector<bezier_stru> list{bezier};
    int passes = 0;
    bool splitAny = true;
    while (passes < levels && splitAny) {
        std::vector<bezier_stru> next;
        splitAny = false;
        for (const bezier_stru& piece : list) {
            if (refIsLine(&piece) == -1) {
                bezier_stru l, r;
                BezierDeCasteljau(&piece, 0.5, &l, &r);
                next.push_back(l);
                next.push_back(r);
                splitAny = true;
            } else {
                next.push_back(piece);
            }
        }
        list = next;
        passes++;
    }
    return list;
}

int refCheckPointLine(point_struct p, Vexa_Line line, double tolerance)
{
    double q[2] = {p.x, p.y}, a[2] = {line.x1, line.y1}, b[2] = {line.x2, line.y2};
    double d;
    refPointToLineDistance(q, a, b, &d);
    return d <= tolerance ? 1 : 0;
}

double refDistance(point_struct a, point_struct b) { return sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y)); }

int refCheckLineCircle(point_struct a, point_struct b, arc_struct arc, double tolerance)
{
    if (arc.type == kArcLine) {
        Vexa_Line line = {arc.start.x, arc.start.y, arc.end.x, arc.end.y};
        return refCheckPointLine(a, line, tolerance) && refCheckPointLine(b, line, tolerance);
    }
    if (PointOnWhere(arc.start, arc.end, arc.mid) + PointOnWhere(arc.start, arc.end, arc.center) != 5)
        return 0;
    double r = refDistance(arc.center, arc.start);
    if (fabs(refDistance(a, arc.center) - r) > tolerance || fabs(refDistance(b, arc.center) - r) > tolerance)
        return 0;
    double c[2] = {arc.center.x, arc.center.y}, pa[2] = {a.x, a.y}, pb[2] = {b.x, b.y};
    double d;
    refPointToLineDistance(c, pa, pb, &d);
    return fabs(d - r) <= tolerance ? 1 : 0;
}

bool refNearChord(const point_struct* p, int n, double tolerance)
{
    Vexa_Line chord = {p[0].x, p[0].y, p[n - 1].x, p[n - 1].y};
    for (int i = 0; i <= n - 2; i++)
        if (!refCheckPointLine(p[i], chord, tolerance))
            return false;
    return true;
}

void refFitLines(const point_struct* p, int n, double tolerance, std::vector<Vexa_Line>& out)
{
    if (n == 2 || refNearChord(p, n, tolerance)) {
        out.push_back(Vexa_Line{p[0].x, p[0].y, p[n - 1].x, p[n - 1].y});
        return;
    }
    int m = (n - 1) / 2;
    refFitLines(p, m + 1, tolerance, out);
    refFitLines(p + m, n - m, tolerance, out);
}

void refFitArcs(const point_struct* p, int n, double tolerance, std::vector<arc_struct>& out)
{
    int m = (n - 1) / 2;
    arc_struct piece;
    memset(&piece, 0, sizeof piece);
    if (n == 2) {
        piece.type = kArcLine;
        piece.start = p[0];
        piece.end = p[1];
        out.push_back(piece);
        return;
    }
    piece.start = p[0];
    piece.mid = p[m];
    piece.end = p[n - 1];
    if (refNearChord(p, n, tolerance)) {
        piece.type = kArcLine;
        out.push_back(piece);
        return;
    }
    fill3PtArc(&piece);
    bool fits = true;
    for (int i = 0; i <= n - 2 && fits; i++)
        fits = refCheckLineCircle(p[i], p[i + 1], piece, tolerance) != 0;
    if (fits) {
        out.push_back(piece);
        return;
    }
    refFitArcs(p, m + 1, tolerance, out);
    refFitArcs(p + m, n - m, tolerance, out);
}

double refApriLen(const bezier_stru* bezier, double t0, double t1)
{
    int levels = BezierDivisions(bezier, 0.001);
    if (levels < 0)
        levels = 0;
    int n = levels + 3;
    double step = (t1 - t0) / n;
    double len = 0.0;
    double t = t0;
    double prev[2], cur[2];
    BezierXY(*bezier, t, &prev[0], &prev[1]);
    for (int i = 1; i <= n; i++) {
        t += step;
        BezierXY(*bezier, t, &cur[0], &cur[1]);
        len += PointToPointDistance(prev, cur);
        prev[0] = cur[0];
        prev[1] = cur[1];
    }
    return len;
}

// The same to the last bit, field by field (the records hold padding).
bool same(double a, double b) { return memcmp(&a, &b, sizeof a) == 0; }
bool same(point_struct a, point_struct b) { return same(a.x, b.x) && same(a.y, b.y); }
bool same(const bezier_stru& a, const bezier_stru& b)
{
    return a.degree == b.degree && memcmp(a.P, b.P, sizeof a.P) == 0;
}
bool same(const arc_struct& a, const arc_struct& b)
{
    return a.type == b.type && same(a.start, b.start) && same(a.mid, b.mid) && same(a.end, b.end) &&
           same(a.center, b.center);
}
bool same(const Vexa_Line& a, const Vexa_Line& b)
{
    return same(a.x1, b.x1) && same(a.y1, b.y1) && same(a.x2, b.x2) && same(a.y2, b.y2);
}
template <typename T>
bool sameList(const T* list, int count, const std::vector<T>& expected)
{
    if (count != static_cast<int>(expected.size())) return false;
    for (int i = 0; i < count; ++i)
        if (!same(list[i], expected[i])) return false;
    return true;
}

// ---- Geometry to try them on ------------------------------------------------------------

struct Random {
    std::mt19937_64 engine{29};
    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(engine); }
    int below(int n) { return static_cast<int>(engine() % static_cast<uint64_t>(n)); }
};

// Sizes from a hundredth of a millimetre to ten metres, placed anywhere on a
// long roll; some handles laid on the chord, some just off it by about the
// flatness tolerance.
bezier_stru randomBezier(Random& r)
{
    double size = pow(10.0, r.uniform(-2, 4));
    double x0 = r.uniform(-2e4, 2e4), y0 = r.uniform(-2e4, 2e4);
    bezier_stru b;
    b.degree = 3;
    for (int i = 0; i < 4; i++) {
        b.P[i][0] = x0 + r.uniform(-size, size);
        b.P[i][1] = y0 + r.uniform(-size, size);
    }
    int kind = r.below(4);
    if (kind >= 2) {
        // Handles on the chord, then (kind 3) nudged off it by about 1e-6.
        double dx = b.P[3][0] - b.P[0][0], dy = b.P[3][1] - b.P[0][1];
        double L = sqrt(dx * dx + dy * dy);
        for (int i = 1; i <= 2; i++) {
            double t = r.uniform(-0.2, 1.2);
            b.P[i][0] = b.P[0][0] + t * dx;
            b.P[i][1] = b.P[0][1] + t * dy;
            if (kind == 3 && L > 0) {
                double off = r.uniform(0.5e-6, 2e-6) * (r.below(2) ? 1 : -1);
                b.P[i][0] += -dy / L * off;
                b.P[i][1] += dx / L * off;
            }
        }
    }
    return b;
}

TEST(WrittenRules, DistancesAndFlatnessToTheLastBit)
{
    Random r;
    for (int k = 0; k < 200000; ++k) {
        bezier_stru b = randomBezier(r);
        ASSERT_EQ(BezierIsLine(&b), refIsLine(&b)) << k;
        double d1, d2;
        PointToLineDistance(b.P[1], b.P[0], b.P[3], &d1);
        refPointToLineDistance(b.P[1], b.P[0], b.P[3], &d2);
        ASSERT_TRUE(same(d1, d2)) << k << ": " << d1 << " " << d2;
    }
}

TEST(WrittenRules, DistancesOfPointsAlongAndAroundASegmentToTheLastBit)
{
    // Points whose foot falls inside, at and just beyond either end, near the
    // line and far from it (as a circle's centre is from a short step).
    Random r;
    for (int k = 0; k < 300000; ++k) {
        double size = pow(10.0, r.uniform(-4, 3));
        double a[2] = {r.uniform(-2e4, 2e4), r.uniform(-2e4, 2e4)};
        double angle = r.uniform(0, 6.283185307);
        double b[2] = {a[0] + size * cos(angle), a[1] + size * sin(angle)};
        double along;
        switch (r.below(4)) {
        case 0: along = r.uniform(-0.1, 1.1); break;
        case 1: along = r.uniform(-1e-5, 1e-5); break;
        case 2: along = 1 + r.uniform(-1e-5, 1e-5); break;
        default: along = r.uniform(-1e-12, 1e-12) + (r.below(2) ? 0 : 1); break;
        }
        double off = size * pow(10.0, r.uniform(-12, 3)) * (r.below(2) ? 1 : -1);
        double p[2] = {a[0] + along * (b[0] - a[0]) - off * sin(angle), a[1] + along * (b[1] - a[1]) + off * cos(angle)};
        if (k % 50 == 0) std::copy(k % 100 ? a : b, (k % 100 ? a : b) + 2, p);  // on an end
        if (k % 1000 == 0) std::copy(a, a + 2, b);                             // no segment at all
        double d1, d2;
        PointToLineDistance(p, a, b, &d1);
        refPointToLineDistance(p, a, b, &d2);
        ASSERT_TRUE(same(d1, d2)) << k << ": " << d1 << " " << d2;
    }
}

TEST(WrittenRules, CutLengthsToTheLastBit)
{
    Random r;
    for (int k = 0; k < 20000; ++k) {
        bezier_stru b = randomBezier(r);
        if (k % 7 == 0) b.degree = 2;
        double t0 = r.uniform(0, 0.5), t1 = r.uniform(0.5, 1);
        ASSERT_TRUE(same(BezierApriLen(&b, t0, t1), refApriLen(&b, t0, t1))) << k;
    }
}

TEST(WrittenRules, FlatteningGivesTheSamePieces)
{
    Random r;
    for (int k = 0; k < 20000; ++k) {
        bezier_stru b = randomBezier(r);
        std::vector<bezier_stru> expected = refFlatten(b);
        bezier_stru* pieces = NULL;
        int count = 0;
        ASSERT_EQ(BezierToLineBy2Div(&b, &count, &pieces), 0);
        EXPECT_TRUE(sameList(pieces, count, expected)) << k;
        free(pieces);
    }
}

// The points the writer fits: a segment flattened as it is cut.
std::vector<point_struct> runOf(const bezier_stru& b)
{
    std::vector<bezier_stru> pieces = refFlatten(b);
    std::vector<point_struct> points;
    for (const bezier_stru& p : pieces) points.push_back(point_struct{p.P[0][0], p.P[0][1]});
    points.push_back(point_struct{pieces.back().P[3][0], pieces.back().P[3][1]});
    return points;
}

TEST(WrittenRules, FittingGivesTheSameLinesAndArcs)
{
    Random r;
    for (int k = 0; k < 20000; ++k) {
        bezier_stru b = randomBezier(r);
        std::vector<point_struct> points = runOf(b);
        int n = static_cast<int>(points.size());
        // Tolerances from a thousandth of a millimetre to a few, and one that
        // sits on a point's own distance from the chord.
        double tolerance = pow(10.0, r.uniform(-3, 0.5));
        if (k % 5 == 0 && n > 2) {
            double a[2] = {points[0].x, points[0].y}, c[2] = {points[n - 1].x, points[n - 1].y};
            double q[2] = {points[n / 2].x, points[n / 2].y};
            refPointToLineDistance(q, a, c, &tolerance);
        }
        std::vector<arc_struct> expectedArcs;
        refFitArcs(points.data(), n, tolerance, expectedArcs);
        arc_struct* arcs = NULL;
        int arcCount = 0;
        fitPointByArc(points.data(), n, tolerance, &arcs, &arcCount);
        EXPECT_TRUE(sameList(arcs, arcCount, expectedArcs)) << k;
        free(arcs);

        std::vector<Vexa_Line> expectedLines;
        refFitLines(points.data(), n, tolerance, expectedLines);
        Vexa_Line* lines = NULL;
        int lineCount = 0;
        fitPointByLine(points.data(), n, tolerance, &lines, &lineCount);
        EXPECT_TRUE(sameList(lines, lineCount, expectedLines)) << k;
        free(lines);
    }
}

TEST(WrittenRules, LongRunsLeaveTheStackForTheHeapUnchanged)
{
    // A sweeping curve at a tight tolerance flattens into hundreds of pieces.
    bezier_stru b = {3, {{0, 0}, {4000, 9000}, {-3000, 9000}, {1000, 0}}};
    std::vector<bezier_stru> expected = refFlatten(b);
    ASSERT_GT(expected.size(), 64u);
    bezier_stru* pieces = NULL;
    int count = 0;
    ASSERT_EQ(BezierToLineBy2Div(&b, &count, &pieces), 0);
    EXPECT_TRUE(sameList(pieces, count, expected));
    free(pieces);
    std::vector<point_struct> points = runOf(b);
    std::vector<arc_struct> expectedArcs;
    refFitArcs(points.data(), static_cast<int>(points.size()), 0.001, expectedArcs);
    ASSERT_GT(expectedArcs.size(), 16u) << "more pieces than the list holds in itself";
    arc_struct* arcs = NULL;
    int arcCount = 0;
    fitPointByArc(points.data(), static_cast<int>(points.size()), 0.001, &arcs, &arcCount);
    EXPECT_TRUE(sameList(arcs, arcCount, expectedArcs));
    free(arcs);
}

}  // namespace
