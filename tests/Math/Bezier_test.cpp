#include "Math/Bezier.h"

#include <gtest/gtest.h>

#include <functional>
#include <math.h>
#include <stdlib.h>

#include "Math/GeometryFixtures.h"

namespace {

TEST(BezierXY, EndsAreTheAnchorsAndOtherDegreesGiveTheOrigin)
{
    bezier_stru b = makeBezier(1, 2, 5, 9, 7, -3, 10, 4);
    double x, y;
    BezierXY(b, 0.0, &x, &y);
    EXPECT_DOUBLE_EQ(x, 1);
    EXPECT_DOUBLE_EQ(y, 2);
    BezierXY(b, 1.0, &x, &y);
    EXPECT_DOUBLE_EQ(x, 10);
    EXPECT_DOUBLE_EQ(y, 4);
    b.degree = 2;
    BezierXY(b, 0.5, &x, &y);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
}

struct FlatCase {
    const char* name;
    bezier_stru bezier;
    int expected;
};

TEST(BezierIsLine, Flatness)
{
    const FlatCase cases[] = {
        {"handles on their anchors", makeLine(0, 0, 10, 5), 1},
        {"handles on the chord", makeBezier(0, 0, 3, 0, 7, 0, 10, 0), 1},
        {"handle beyond an anchor on the same line", makeBezier(0, 0, -1e-5, 0, 7, 0, 10, 0), -1},
        {"handle off the chord", makeBezier(0, 0, 3, 1, 7, 0, 10, 0), -1},
    };
    for (const FlatCase& c : cases)
        EXPECT_EQ(BezierIsLine(&c.bezier), c.expected) << c.name;
}

TEST(BezierToLineBy2Div, FlatSegmentComesBackAsItself)
{
    bezier_stru b = makeLine(0, 0, 10, 5);
    int n = 0;
    bezier_stru* pieces = NULL;
    ASSERT_EQ(BezierToLineBy2Div(&b, &n, &pieces), 0);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(memcmp(&pieces[0], &b, sizeof b), 0);
    free(pieces);
}

TEST(BezierToLineBy2Div, QuarterCircleFlattensWithinTolerance)
{
    bezier_stru b = makeCircle(0, 0, 100)[0];
    int levels = BezierDivisions(&b, 0.01);
    ASSERT_GT(levels, 0);
    int n = 0;
    bezier_stru* pieces = NULL;
    ASSERT_EQ(BezierToLineBy2Div(&b, &n, &pieces), 0);
    EXPECT_GT(n, 1);
    EXPECT_LE(n, 1 << levels);
    EXPECT_EQ(pieces[0].P[0][0], b.P[0][0]);
    EXPECT_EQ(pieces[n - 1].P[3][1], b.P[3][1]);
    for (int i = 0; i < n; i++) {
        EXPECT_EQ(pieces[i].degree, 3);
        if (i > 0) {
            EXPECT_EQ(pieces[i].P[0][0], pieces[i - 1].P[3][0]);
            EXPECT_EQ(pieces[i].P[0][1], pieces[i - 1].P[3][1]);
        }
        // Each piece, drawn as its chord, strays from the circle by less than
        // the flattening tolerance of 0.01.
        double mx, my;
        BezierXY(pieces[i], 0.5, &mx, &my);
        double chordMid[2] = {(pieces[i].P[0][0] + pieces[i].P[3][0]) / 2, (pieces[i].P[0][1] + pieces[i].P[3][1]) / 2};
        double mid[2] = {mx, my};
        EXPECT_LT(PointToPointDistance(mid, chordMid), 0.01) << "piece " << i;
    }
    free(pieces);
}

TEST(BezierDivisions, NeverReadsPastTheRecordAndStaysBounded)
{
    // On the heap so that a read past the four points is caught by the sanitizer.
    bezier_stru* b = (bezier_stru*)malloc(sizeof(bezier_stru));
    *b = makeCircle(0, 0, 100)[0];
    b->degree = 9;
    int levels = BezierDivisions(b, 0.01);
    EXPECT_GE(levels, 0);
    EXPECT_LE(levels, 20);
    int n = 0;
    bezier_stru* pieces = NULL;
    ASSERT_EQ(BezierToLineBy2Div(b, &n, &pieces), 0);
    free(pieces);
    b->degree = INT32_MIN;
    EXPECT_EQ(BezierDivisions(b, 0.01), 0);
    b->degree = 3;
    EXPECT_EQ(BezierDivisions(b, 0.0), 20) << "a tolerance of zero asks for unbounded halving";
    EXPECT_EQ(BezierDivisions(b, -1.0), 0);
    free(b);
}

TEST(BezierBound, MaximumCornerFirstThenMinimum)
{
    // The box of the curve, not of its handles: an arch away from the origin
    // tops out at three quarters of its handles' height, at its middle.
    struct Row {
        const char* shows;
        bezier_stru b;
        double maxX, maxY, minX, minY;
    } rows[] = {
        {"a line up and right", makeLine(100, 40, 110, 45), 110, 45, 100, 40},
        {"a line down and left", makeLine(110, 45, 100, 40), 110, 45, 100, 40},
        {"an arch", makeBezier(100, 50, 100, 90, 140, 90, 140, 50), 140, 80, 100, 50},
        {"a trough", makeBezier(100, 50, 100, 10, 140, 10, 140, 50), 140, 50, 100, 20},
        {"a bulge to the left", makeBezier(300, 200, 260, 200, 260, 240, 300, 240), 300, 240, 270, 200},
    };
    for (const Row& row : rows) {
        double maxPt[2] = {-1, -1}, minPt[2] = {-1, -1};
        BezierBound(&row.b, maxPt, minPt);
        EXPECT_NEAR(maxPt[0], row.maxX, 1e-9) << row.shows;
        EXPECT_NEAR(maxPt[1], row.maxY, 1e-9) << row.shows;
        EXPECT_NEAR(minPt[0], row.minX, 1e-9) << row.shows;
        EXPECT_NEAR(minPt[1], row.minY, 1e-9) << row.shows;
    }
}

// Each transform of a curve away from the origin, about a centre away from
// it, against the points worked out by hand; every point of the record moves.
TEST(BezierTransforms, EveryPointMovesAsWorkedOutByHand)
{
    const bezier_stru b = makeBezier(12, 3, 14, 8, 20, 9, 25, 4);
    const double centre[2] = {10, 2};
    const double offset[2] = {-7, 30};
    const double factor[2] = {2, -3};
    struct Row {
        const char* shows;
        std::function<void(bezier_stru*)> apply;
        std::function<void(double, double, double*, double*)> expected;
    } rows[] = {
        {"moved", [&](bezier_stru* out) { BezierMove(b, out, offset); },
         [](double x, double y, double* ex, double* ey) { *ex = x - 7, *ey = y + 30; }},
        {"scaled about the centre", [&](bezier_stru* out) { BezierScale(b, out, centre, factor); },
         [](double x, double y, double* ex, double* ey) { *ex = 10 + 2 * (x - 10), *ey = 2 - 3 * (y - 2); }},
        {"turned a quarter left about the centre", [&](bezier_stru* out) { BezierRotate(b, out, 90, centre); },
         [](double x, double y, double* ex, double* ey) { *ex = 10 - (y - 2), *ey = 2 + (x - 10); }},
        {"turned a quarter right about the centre", [&](bezier_stru* out) { BezierRotate(b, out, -90, centre); },
         [](double x, double y, double* ex, double* ey) { *ex = 10 + (y - 2), *ey = 2 - (x - 10); }},
        {"turned half about the centre", [&](bezier_stru* out) { BezierRotate(b, out, 180, centre); },
         [](double x, double y, double* ex, double* ey) { *ex = 20 - x, *ey = 4 - y; }},
        {"mirrored about the centre's vertical", [&](bezier_stru* out) { BezierYMirror(b, out, centre); },
         [](double x, double y, double* ex, double* ey) { *ex = 20 - x, *ey = y; }},
    };
    for (const Row& row : rows) {
        bezier_stru out;
        out.degree = 0;
        row.apply(&out);
        EXPECT_EQ(out.degree, 3) << row.shows;
        for (int i = 0; i < 4; i++) {
            double ex, ey;
            row.expected(b.P[i][0], b.P[i][1], &ex, &ey);
            // The turns take pi to the digits the cutter output always had.
            EXPECT_NEAR(out.P[i][0], ex, 1e-8) << row.shows << ", point " << i;
            EXPECT_NEAR(out.P[i][1], ey, 1e-8) << row.shows << ", point " << i;
        }
    }
}

TEST(PointToLineDistance, FootAtAnEndIsNeverNaN)
{
    // p stands on the perpendicular through a: the squared lengths differ only
    // by rounding, which must not produce NaN.
    for (int i = 1; i <= 200; i++) {
        double a[2] = {0.1 * i, 0.3 * i}, b[2] = {0.1 * i + 7.7, 0.3 * i + 1.3};
        double p[2] = {a[0] - 1.3 * 0.01 * i, a[1] + 7.7 * 0.01 * i};
        double d;
        PointToLineDistance(p, a, b, &d);
        ASSERT_FALSE(isnan(d)) << i;
        EXPECT_NEAR(d, PointToPointDistance(p, a), 1e-9) << i;
    }
}

}  // namespace
