#include "Math/Bezier.h"

#include <gtest/gtest.h>
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
    bezier_stru b = makeLine(0, 0, 10, 5);
    double maxPt[2], minPt[2];
    BezierBound(&b, maxPt, minPt);
    EXPECT_EQ(maxPt[0], 10);
    EXPECT_EQ(maxPt[1], 5);
    EXPECT_EQ(minPt[0], 0);
    EXPECT_EQ(minPt[1], 0);
}

TEST(BezierTransforms, RotateAndMirror)
{
    bezier_stru b = makeLine(1, 0, 1, 0);
    const double origin[2] = {0, 0};
    bezier_stru r;
    BezierRotate(b, &r, 90.0, origin);
    EXPECT_NEAR(r.P[0][0], 0.0, 1e-9);
    EXPECT_NEAR(r.P[0][1], 1.0, 1e-9);

    const double centre[2] = {5, 1000};  // centre.y plays no part in the mirror
    bezier_stru m;
    BezierYMirror(makeLine(1, 2, 3, 4), &m, centre);
    EXPECT_EQ(m.P[0][0], 9);
    EXPECT_EQ(m.P[0][1], 2);
    EXPECT_EQ(m.P[3][0], 7);
    EXPECT_EQ(m.P[3][1], 4);
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
