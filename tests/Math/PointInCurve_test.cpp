#include "Math/PointInCurve.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

#include "Math/GeometryFixtures.h"

namespace {

struct ClassifyCase {
    const char* name;
    double x, y;
    bool withBox;
    int expected;
};

TEST(PointInBeziers, PointsAgainstACircle)
{
    std::vector<bezier_stru> circle = makeCircle(0, 0, 10);
    _t_ASRealRect box = {-10, 10, 10, -10};
    const ClassifyCase cases[] = {
        {"centre", 0, 0, false, kPointInside},
        {"centre with box", 0, 0, true, kPointInside},
        {"beyond to the side", 15, 0, false, kPointOutside},
        {"above the outline", 0, 20, false, kPointOutside},
        {"below the outline", 0, -20, false, kPointOutside},
        {"inside near the outline", 9.995, 0, false, kPointOnOutline},
        {"on the outline between joints", 10 * cos(0.7), 10 * sin(0.7), false, kPointOnOutline},
        {"outside the box without curve work", 10.5, 0, true, kPointOutside},
        {"on the box edge goes on", 10, 0, true, kPointOnOutline},
        {"inside below a joint", 0, -9.5, false, kPointInside},
        {"inside near the left joint", -9.9, 0, false, kPointInside},
    };
    for (const ClassifyCase& c : cases) {
        _t_ASRealPoint p = {(float)c.x, (float)c.y};
        EXPECT_EQ(PointInBeziers(circle.data(), (int)circle.size(), p, c.withBox ? &box : NULL), c.expected) << c.name;
    }
}

TEST(PointInBeziers, EveryWhereAroundTheCircle)
{
    // The nearest-point search must find points on the outline in the middle
    // of a segment, not only at its joints.
    std::vector<bezier_stru> circle = makeCircle(0, 0, 10);
    for (int i = 0; i < 360; i += 7) {
        double a = i * M_PI / 180;
        _t_ASRealPoint on = {(float)(10 * cos(a)), (float)(10 * sin(a))};
        _t_ASRealPoint in = {(float)(9.97 * cos(a)), (float)(9.97 * sin(a))};
        _t_ASRealPoint out = {(float)(10.03 * cos(a)), (float)(10.03 * sin(a))};
        EXPECT_EQ(PointInBeziers(circle.data(), 4, on, NULL), kPointOnOutline) << i;
        EXPECT_EQ(PointInBeziers(circle.data(), 4, in, NULL), kPointInside) << i;
        EXPECT_EQ(PointInBeziers(circle.data(), 4, out, NULL), kPointOutside) << i;
    }
}

TEST(PointInBeziers, RingBetweenTwoOutlines)
{
    std::vector<bezier_stru> ring = makeCircle(0, 0, 10);
    for (const bezier_stru& b : makeCircle(0, 0, 5))
        ring.push_back(b);
    EXPECT_EQ(PointInBeziers(ring.data(), (int)ring.size(), _t_ASRealPoint{0, 0}, NULL), kPointOutside);
    EXPECT_EQ(PointInBeziers(ring.data(), (int)ring.size(), _t_ASRealPoint{7.5f, 0.3f}, NULL), kPointInside);
}

std::vector<double> roots(const double c[6])
{
    double* r = NULL;
    int n = 0;
    EXPECT_EQ(SolveEquationByBezier(c, &n, &r), 1);
    std::vector<double> out(r, r + n);
    free(r);
    return out;
}

TEST(SolveEquationByBezier, RootsInTheUnitIntervalInOrder)
{
    // (t - 0.25)(t - 0.75)(t^3 + 1) = t^5 - t^4 + 0.1875 t^3 + t^2 - t + 0.1875
    const double c[6] = {0.1875, -1, 1, 0.1875, -1, 1};
    std::vector<double> r = roots(c);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0], 0.25, 0.005);
    EXPECT_NEAR(r[1], 0.75, 0.005);
}

TEST(RootFind, WidthZeroStopsAtTheDepthLimit)
{
    // A single crossing at 0.3 and a width nothing can get under.
    double pts[6][2];
    for (int i = 0; i < 6; i++) {
        pts[i][0] = i / 5.0;
        pts[i][1] = i / 5.0 - 0.3;
    }
    double* r = NULL;
    int n = 0;
    RootFind(pts, 0.0, &n, &r);
    ASSERT_EQ(n, 1);
    EXPECT_NEAR(r[0], 0.3, 1e-12);
    free(r);
}

TEST(PointBezierDistance, NearestPoints)
{
    bezier_stru b = makeBezier(0, 0, 3, 3, 7, 3, 10, 0);
    double t, d;
    const double beyond[2] = {14, -3};
    PointBezierDistance(b, beyond, &t, &d, 0);
    EXPECT_EQ(t, 1.0);
    EXPECT_DOUBLE_EQ(d, 5.0);

    const double above[2] = {5, 10};  // the curve's top is (5, 2.25)
    PointBezierDistance(b, above, &t, &d, 0);
    EXPECT_NEAR(t, 0.5, 0.01);
    EXPECT_NEAR(d, 7.75, 1e-3);
}

}  // namespace
