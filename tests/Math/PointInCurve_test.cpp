#include "Math/PointInCurve.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

#include <vector>

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

// The oracle: each segment flattened into many chords. Its distance to a
// point is the nearest chord's (off by far less than the bands below), its
// inside the even-odd count of the chords a ray from the point crosses.
struct Flattening {
    std::vector<double> x, y;  // one polygon, closed unless made of one open curve
    bool closed;
    explicit Flattening(const std::vector<bezier_stru>& outline, bool closedOutline = true) : closed(closedOutline)
    {
        for (const bezier_stru& b : outline)
            for (int k = 0; k <= (closed ? 3999 : 4000); k++) {
                double t = k / 4000.0, s = 1 - t;
                double w[4] = {s * s * s, 3 * s * s * t, 3 * s * t * t, t * t * t};
                x.push_back(w[0] * b.P[0][0] + w[1] * b.P[1][0] + w[2] * b.P[2][0] + w[3] * b.P[3][0]);
                y.push_back(w[0] * b.P[0][1] + w[1] * b.P[1][1] + w[2] * b.P[2][1] + w[3] * b.P[3][1]);
            }
    }
    double distance(double px, double py) const
    {
        double best = 1e300;
        for (size_t i = 0; i + (closed ? 0 : 1) < x.size(); i++) {
            size_t j = (i + 1) % x.size();
            double dx = x[j] - x[i], dy = y[j] - y[i], len2 = dx * dx + dy * dy;
            double u = len2 > 0 ? ((px - x[i]) * dx + (py - y[i]) * dy) / len2 : 0;
            u = u < 0 ? 0 : (u > 1 ? 1 : u);
            best = fmin(best, hypot(x[i] + u * dx - px, y[i] + u * dy - py));
        }
        return best;
    }
    bool inside(double px, double py) const
    {
        bool in = false;
        for (size_t i = 0, j = x.size() - 1; i < x.size(); j = i++)
            if ((y[i] > py) != (y[j] > py) && px < x[j] + (py - y[j]) * (x[i] - x[j]) / (y[i] - y[j])) in = !in;
        return in;
    }
};

// Points over and around outlines away from the origin, each classified as
// the flattening classifies it: inside, outside, or on the outline (within a
// hundredth). Points in the band where rounding could go either way are left out.
TEST(PointInBeziers, AGridOfPointsIsClassifiedAsAFineFlatteningClassifiesIt)
{
    struct Row {
        const char* shows;
        std::vector<bezier_stru> outline;
    } rows[] = {
        {"a circle away from the origin", makeCircle(140, 225, 12)},
        {"a lopsided blob", {makeBezier(131, 217, 145, 205, 160, 212, 152, 228),
                             makeBezier(152, 228, 147, 240, 138, 226, 128, 236),
                             makeBezier(128, 236, 120, 244, 118, 228, 131, 217)}},
        {"a figure with a dent from above", {makeBezier(128, 214, 138, 214, 148, 214, 156, 214),
                                             makeBezier(156, 214, 156, 222, 156, 230, 156, 238),
                                             makeBezier(156, 238, 146, 220, 138, 220, 128, 238),
                                             makeBezier(128, 238, 128, 230, 128, 222, 128, 214)}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        Flattening flat(row.outline);
        double l = 1e300, r = -1e300, b = 1e300, t = -1e300;
        for (size_t i = 0; i < flat.x.size(); i++) {
            l = fmin(l, flat.x[i]), r = fmax(r, flat.x[i]);
            b = fmin(b, flat.y[i]), t = fmax(t, flat.y[i]);
        }
        _t_ASRealRect box = {(float)l, (float)t, (float)r, (float)b};
        std::vector<_t_ASRealPoint> points;
        for (double y = 205.13; y < 246; y += 1.71)
            for (double x = 112.37; x < 166; x += 1.53) points.push_back({(float)x, (float)y});
        for (const bezier_stru& z : row.outline)  // on the outline, inside segments
            for (double u : {0.13, 0.5, 0.77}) {
                double s = 1 - u;
                double w[4] = {s * s * s, 3 * s * s * u, 3 * s * u * u, u * u * u};
                points.push_back({(float)(w[0] * z.P[0][0] + w[1] * z.P[1][0] + w[2] * z.P[2][0] + w[3] * z.P[3][0]),
                                  (float)(w[0] * z.P[0][1] + w[1] * z.P[1][1] + w[2] * z.P[2][1] + w[3] * z.P[3][1])});
            }
        int counted[5] = {0, 0, 0, 0, 0};
        for (const _t_ASRealPoint& p : points) {
            double d = flat.distance(p.h, p.v);
            if (d > 0.005 && d < 0.02) continue;
            int want = d <= 0.005 ? kPointOnOutline : (flat.inside(p.h, p.v) ? kPointInside : kPointOutside);
            counted[want]++;
            int n = (int)row.outline.size();
            EXPECT_EQ(PointInBeziers(row.outline.data(), n, p, NULL), want) << p.h << ", " << p.v << " at " << d;
            EXPECT_EQ(PointInBeziers(row.outline.data(), n, p, &box), want) << p.h << ", " << p.v << " with the box";
        }
        EXPECT_GT(counted[kPointInside], 20);
        EXPECT_GT(counted[kPointOutside], 20);
        EXPECT_GE(counted[kPointOnOutline], 6);
    }
}

std::vector<double> roots(const double (&c)[6])
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

// The nearest point's distance is the least distance to a fine flattening of
// the curve, and the parameter given lies at that distance, for points on
// every side of curves of every shape, away from the origin.
TEST(PointBezierDistance, TheNearestPointIsAsNearAsAFineFlatteningsNearest)
{
    const bezier_stru curves[] = {
        makeBezier(200, 100, 230, 160, 290, 40, 320, 100),   // an S
        makeBezier(200, 100, 330, 180, 190, 180, 320, 100),  // a loop-like swing, handles crossed
        makeBezier(200, 100, 200, 100, 320, 130, 320, 130),  // a straight line
        makeBezier(200, 100, 250, 200, 270, 200, 320, 100),  // an arch
    };
    const double points[][2] = {{205, 140}, {260, 100}, {330, 90}, {190, 95}, {262, 135},
                                {300, 60},  {250, 170}, {240, 20}, {321, 101}, {260.3, 157.1}};
    for (const bezier_stru& b : curves) {
        Flattening flat({b}, false);
        for (const auto& p : points) {
            double t = -1, d = -1;
            PointBezierDistance(b, p, &t, &d, 0);
            SCOPED_TRACE(testing::Message() << "curve from " << b.P[1][0] << "," << b.P[1][1] << ", point " << p[0]
                                            << "," << p[1]);
            EXPECT_NEAR(d, flat.distance(p[0], p[1]), 1e-4);
            ASSERT_GE(t, 0.0);
            ASSERT_LE(t, 1.0);
            double s = 1 - t, w[4] = {s * s * s, 3 * s * s * t, 3 * s * t * t, t * t * t};
            double x = w[0] * b.P[0][0] + w[1] * b.P[1][0] + w[2] * b.P[2][0] + w[3] * b.P[3][0];
            double y = w[0] * b.P[0][1] + w[1] * b.P[1][1] + w[2] * b.P[2][1] + w[3] * b.P[3][1];
            EXPECT_NEAR(hypot(x - p[0], y - p[1]), d, 1e-9) << "the point at t is at the distance given";
        }
    }
}

}  // namespace
