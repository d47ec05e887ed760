#include "Math/CurveFit.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

#include <vector>

namespace {

std::vector<point_struct> arcPoints(double cx, double cy, double r, double a0, double a1, int n)
{
    std::vector<point_struct> pts;
    for (int i = 0; i < n; i++) {
        double a = a0 + (a1 - a0) * i / (n - 1);
        pts.push_back(point_struct{cx + r * cos(a), cy + r * sin(a)});
    }
    return pts;
}

std::vector<arc_struct> fitArcs(const std::vector<point_struct>& pts, double tol)
{
    arc_struct* arcs = NULL;
    int n = 0;
    EXPECT_EQ(fitPointByArc(pts.data(), (int)pts.size(), tol, &arcs, &n), 1);
    std::vector<arc_struct> out(arcs, arcs + n);
    free(arcs);
    for (size_t i = 1; i < out.size(); i++) {
        EXPECT_EQ(out[i].start.x, out[i - 1].end.x);
        EXPECT_EQ(out[i].start.y, out[i - 1].end.y);
    }
    return out;
}

struct ClassCase {
    const char* name;
    point_struct start, mid, end;
    int type;
};

TEST(fill3PtArc, Classification)
{
    const ClassCase cases[] = {
        {"collinear", {0, 0}, {5, 0}, {10, 0}, kArcLine},
        {"quarter circle", {10, 0}, {7.0710678, 7.0710678}, {0, 10}, kArcCircle},
        {"single point", {1, 1}, {1, 1}, {1, 1}, kArcPoint},
        {"full circle", {1, 1}, {3, 1}, {1, 1}, kArcFull},
        // The circumcentre would lie about 1.25e10 away.
        {"near-collinear with an absurd centre", {0, 0}, {50, 1e-7}, {100, 0}, kArcLine},
    };
    for (const ClassCase& c : cases) {
        arc_struct a = {c.start, c.mid, c.end, {-1, -1}, 0};
        fill3PtArc(&a);
        EXPECT_EQ(a.type, c.type) << c.name;
        if (c.type == kArcLine) {
            EXPECT_EQ(a.center.x, c.start.x) << c.name;
            EXPECT_EQ(a.center.y, c.start.y) << c.name;
        }
        if (c.type == kArcCircle) {
            EXPECT_NEAR(a.center.x, 0, 1e-6) << c.name;
            EXPECT_NEAR(a.center.y, 0, 1e-6) << c.name;
        }
    }
}

struct RadianCase {
    point_struct to;
    double expected;
};

TEST(CalculateRadian, Axes)
{
    const RadianCase cases[] = {
        {{1, 0}, 0.0}, {{0, 1}, 1.57079632675}, {{-1, 0}, 3.1415926535},
        {{0, -1}, 4.71238898025}, {{0, 0}, 1.57079632675}, {{1, -1}, 6.283185307 - M_PI / 4},
    };
    for (const RadianCase& c : cases)
        EXPECT_NEAR(CalculateRadian(point_struct{0, 0}, c.to), c.expected, 1e-12) << c.to.x << "," << c.to.y;
}

TEST(PointOnWhere, SideOfTheChordFromAToB)
{
    // Chord from (2, 1) to (6, 1), run left to right and back: a point above it
    // is on its left the first way, on its right the other; a point within a
    // millionth of a square unit of cross product is on it.
    struct Row {
        const char* what;
        point_struct a, b, p;
        int expected;
    } rows[] = {
        {"above, run rightwards", {2, 1}, {6, 1}, {3, 5}, 2},
        {"below, run rightwards", {2, 1}, {6, 1}, {3, -5}, 3},
        {"above, run leftwards", {6, 1}, {2, 1}, {3, 5}, 3},
        {"on the line beyond an end", {2, 1}, {6, 1}, {9, 1}, 1},
        {"a cross product of exactly the tolerance", {0, 0}, {1, 0}, {0.5, 1e-6}, 1},
        {"the same below", {0, 0}, {1, 0}, {0.5, -1e-6}, 1},
        {"twice the tolerance", {0, 0}, {1, 0}, {0.5, 2e-6}, 2},
        {"no chord at all", {4, 4}, {4, 4}, {0, 9}, -1},
    };
    for (const Row& row : rows) EXPECT_EQ(PointOnWhere(row.a, row.b, row.p), row.expected) << row.what;
}

TEST(fitPointByLine, RunsOfPoints)
{
    Vexa_Line* lines = NULL;
    int n = 0;
    std::vector<point_struct> two = {{0, 0}, {3, 4}};
    fitPointByLine(two.data(), 2, 0.01, &lines, &n);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(lines[0].x2, 3);
    free(lines);

    lines = NULL;
    n = 0;
    std::vector<point_struct> three = {{0, 0}, {5, 0}, {10, 0}};
    fitPointByLine(three.data(), 3, 0.01, &lines, &n);
    EXPECT_EQ(n, 1);
    free(lines);

    lines = NULL;
    n = 0;
    std::vector<point_struct> quarter = arcPoints(0, 0, 10, 0, M_PI / 2, 33);
    fitPointByLine(quarter.data(), 33, 0.01, &lines, &n);
    EXPECT_GT(n, 1);
    EXPECT_EQ(lines[n - 1].x2, quarter.back().x);
    for (int i = 1; i < n; i++)
        EXPECT_EQ(lines[i].x1, lines[i - 1].x2);
    free(lines);

    lines = (Vexa_Line*)malloc(sizeof(Vexa_Line));  // an empty input resets, it does not append
    free(lines);
    n = 5;
    fitPointByLine(NULL, 0, 0.01, &lines, &n);
    EXPECT_EQ(lines, nullptr);
    EXPECT_EQ(n, 0);
}

TEST(fitPointByArc, QuarterHalfAndClosedRuns)
{
    std::vector<arc_struct> a = fitArcs(arcPoints(0, 0, 10, 0, M_PI / 2, 25), 0.01);
    ASSERT_EQ(a.size(), 1u) << "a quarter circle fits as one arc";
    EXPECT_EQ(a[0].type, kArcCircle);
    EXPECT_NEAR(a[0].center.x, 0, 1e-6);
    EXPECT_NEAR(a[0].center.y, 0, 1e-6);

    a = fitArcs(arcPoints(0, 0, 10, 0, M_PI, 49), 0.01);
    EXPECT_GE(a.size(), 2u) << "a half circle is always split";

    std::vector<point_struct> closed = arcPoints(0, 0, 10, 0, 2 * M_PI, 97);
    closed.back() = closed.front();
    a = fitArcs(closed, 0.01);
    EXPECT_GE(a.size(), 2u) << "a closed run is never one arc";

    a = fitArcs(std::vector<point_struct>{{0, 0}, {5, 0.001}, {10, 0}}, 0.01);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0].type, kArcLine);
}

TEST(fitPointByArc, GentleBendNeverGivesAnAbsurdCentre)
{
    // A run bending by far less than a tolerance of 1e-9 can resolve would fit
    // as an arc whose centre lies 1e10 away; it comes back as lines instead.
    std::vector<point_struct> pts = arcPoints(0, -1e10, 1e10, M_PI / 2 + 5e-9, M_PI / 2 - 5e-9, 9);
    for (const arc_struct& a : fitArcs(pts, 1e-9))
        EXPECT_EQ(a.type, kArcLine);
}

TEST(fitArcByPoint, PointCounts)
{
    point_struct* pts = NULL;
    int n = 0;
    arc_struct quarter = {{100, 0}, {70.710678, 70.710678}, {0, 100}, {0, 0}, kArcCircle};
    fitArcByPoint(quarter, 0.01, &pts, &n);
    ASSERT_EQ(n, 56);
    EXPECT_NEAR(pts[0].x, 100, 1e-9);
    EXPECT_NEAR(pts[0].y, 0, 1e-9);
    EXPECT_NEAR(pts[55].x, 0, 1e-6);
    EXPECT_NEAR(pts[55].y, 100, 1e-6);
    for (int i = 1; i < n; i++)  // counter-clockwise: mid lies right of start->end
        EXPECT_GT(atan2(pts[i].y, pts[i].x), atan2(pts[i - 1].y, pts[i - 1].x));
    free(pts);

    // Quarter arcs of radius 100 either way round, also across the angles
    // where the direction's angle wraps: each runs the short way through its
    // middle point.
    const double c = 70.710678;
    struct Row {
        const char* shows;
        point_struct start, mid, end;
    } rows[] = {
        {"clockwise", {0, 100}, {c, c}, {100, 0}},
        {"counter-clockwise across angle 0", {c, -c}, {100, 0}, {c, c}},
        {"clockwise across angle 0", {c, c}, {100, 0}, {c, -c}},
        {"counter-clockwise across a half turn", {-c, c}, {-100, 0}, {-c, -c}},
        {"clockwise across a half turn", {-c, -c}, {-100, 0}, {-c, c}},
    };
    for (const Row& row : rows) {
        arc_struct arc = {row.start, row.mid, row.end, {0, 0}, kArcCircle};
        fitArcByPoint(arc, 0.01, &pts, &n);
        ASSERT_EQ(n, 56) << row.shows;
        EXPECT_NEAR(pts[n - 1].x, row.end.x, 1e-6) << row.shows;
        EXPECT_NEAR(pts[n - 1].y, row.end.y, 1e-6) << row.shows;
        double middleX = (pts[n / 2 - 1].x + pts[n / 2].x) / 2, middleY = (pts[n / 2 - 1].y + pts[n / 2].y) / 2;
        EXPECT_NEAR(hypot(middleX - row.mid.x, middleY - row.mid.y), 0, 0.1) << row.shows;
        free(pts);
    }

    arc_struct tiny = {{1e-3, 0}, {7e-4, 7e-4}, {0, 1e-3}, {0, 0}, kArcCircle};
    fitArcByPoint(tiny, 0.01, &pts, &n);
    EXPECT_EQ(n, 3);
    free(pts);

    fitArcByPoint(quarter, 0.0, &pts, &n);
    EXPECT_EQ(n, 65536) << "a tolerance of 0 is bounded";
    free(pts);

    arc_struct huge = {{1e300, 0}, {7e299, 7e299}, {0, 1e300}, {0, 0}, kArcCircle};
    fitArcByPoint(huge, 0.01, &pts, &n);
    EXPECT_EQ(n, 65536) << "a huge radius is bounded";
    free(pts);

    arc_struct full = {{10, 0}, {-10, 0}, {10, 0}, {0, 0}, kArcFull};
    fitArcByPoint(full, 0.01, &pts, &n);
    EXPECT_EQ(n, (int)(3.1415926535 * sqrt(10 / 0.02)) + 1);
    EXPECT_NEAR(pts[n - 1].x, pts[0].x, 1e-8);  // 2 pi as written closes to 2e-10 of the radius
    EXPECT_NEAR(pts[n - 1].y, pts[0].y, 1e-8);
    free(pts);

    arc_struct point = {{0, 0}, {0, 0}, {0, 0}, {0, 0}, kArcFull};
    fitArcByPoint(point, 0.0, &pts, &n);
    EXPECT_EQ(n, 3) << "a circle of no size at no tolerance: no count to measure, the fewest points";
    free(pts);

    arc_struct line = {{1, 2}, {0, 0}, {3, 4}, {0, 0}, kArcLine};
    fitArcByPoint(line, 0.01, &pts, &n);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(pts[1].y, 4);
    free(pts);
}

}  // namespace
