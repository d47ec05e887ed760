#include "Math/Crossings.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

#include "Math/GeometryFixtures.h"

namespace {

std::vector<double> crossings(const bezier_stru& b, Vexa_Line line)
{
    double* t = NULL;
    int n = 0;
    EXPECT_EQ(BezierLineCross(b, line, &t, &n), 1);
    std::vector<double> out(t, t + n);
    free(t);
    return out;
}

TEST(BezierLineCross, EndOfSegmentIsLeftToTheNextOne)
{
    // Rises from y = 0 and reaches y = 10 only at its end.
    bezier_stru b = makeBezier(0, 0, 3, 4, 6, 8, 10, 10);
    EXPECT_TRUE(crossings(b, Vexa_Line{-5, 10, 15, 10}).empty());
    // Crossing a vertical line at its very start counts, with t = 0.
    std::vector<double> t = crossings(b, Vexa_Line{0, -5, 0, 20});
    ASSERT_EQ(t.size(), 1u);
    EXPECT_NEAR(t[0], 0.0, 1e-6);
}

TEST(BezierLineCross, SlantedLineThroughAStraightSegment)
{
    std::vector<double> t = crossings(makeBezier(0, 0, 10.0 / 3, 0, 20.0 / 3, 0, 10, 0), Vexa_Line{0, -5, 10, 5});
    ASSERT_EQ(t.size(), 1u);
    EXPECT_NEAR(t[0], 0.5, 1e-9);
}

struct DivideCase {
    const char* name;
    std::vector<double> t;
    int pieces;
};

TEST(BezierDivide, PiecesAtParameterLists)
{
    const bezier_stru b = makeBezier(0, 0, 0, 10, 10, 10, 10, 0);
    const DivideCase cases[] = {
        {"two cuts make three pieces", {0.25, 0.75}, 3},
        {"a repeated cut is skipped", {0.5, 0.5}, 2},
        {"no cut makes nothing", {}, 0},
    };
    for (const DivideCase& c : cases) {
        bezier_stru* pieces = NULL;
        int n = 0;
        EXPECT_EQ(BezierDivide(&b, c.t.data(), (int)c.t.size(), &pieces, &n), 1);
        ASSERT_EQ(n, c.pieces) << c.name;
        if (n > 0) {
            EXPECT_EQ(pieces[0].P[0][0], 0.0) << c.name;
            EXPECT_NEAR(pieces[n - 1].P[3][0], 10.0, 1e-12) << c.name;
        }
        for (int i = 1; i < n; i++) {
            EXPECT_NEAR(pieces[i].P[0][0], pieces[i - 1].P[3][0], 1e-12) << c.name;
            EXPECT_NEAR(pieces[i].P[0][1], pieces[i - 1].P[3][1], 1e-12) << c.name;
        }
        free(pieces);
    }
}

struct LengthCase {
    const char* name;
    bezier_stru bezier;
    double length;
};

TEST(BezierApriLen, StraightSegments)
{
    const LengthCase cases[] = {
        {"handles at the thirds", makeBezier(0, 0, 1, 4.0 / 3, 2, 8.0 / 3, 3, 4), 5.0},
        {"retracted handles", makeLine(0, 0, 3, 4), 5.0},
        // Second differences of about 1e-6 drive the level estimate below -3,
        // which once left no chords and a length of 0.
        {"handles a hair off the thirds", makeBezier(0, 0, 1, 0, 2, 0, 3.000001, 0), 3.000001},
    };
    for (const LengthCase& c : cases)
        EXPECT_NEAR(BezierApriLen(&c.bezier, 0.0, 1.0), c.length, 1e-9) << c.name;
}

TEST(BezierApriLen, QuarterCircleIsCloseToItsArc)
{
    bezier_stru b = makeCircle(0, 0, 100)[0];
    // Eleven chords: short of the arc by about a thousandth.
    double len = BezierApriLen(&b, 0.0, 1.0);
    EXPECT_LT(len, 100 * M_PI / 2);
    EXPECT_NEAR(len, 100 * M_PI / 2, 0.15);
}

std::vector<_t_ASRealPoint> polyCrossings(Vexa_Line line, std::vector<std::vector<bezier_stru>>& shapes)
{
    std::vector<UDT_PolyBezier> paths;
    for (auto& s : shapes)
        paths.push_back(UDT_PolyBezier{s.data(), (int32_t)s.size()});
    _t_ASRealPoint* pts = NULL;
    int n = 0;
    LineIntersectWithPolyBeziers(line, paths.data(), (int)paths.size(), &pts, &n);
    std::vector<_t_ASRealPoint> out(pts, pts + n);
    free(pts);
    return out;
}

struct PolyCase {
    const char* name;
    Vexa_Line line;
    std::vector<std::pair<double, double>> expected;
};

TEST(LineIntersectWithPolyBeziers, PointsAlongTheLineFromItsStart)
{
    const PolyCase cases[] = {
        {"horizontal through the joints, once each", {-20, 0, 20, 0}, {{-20, 0}, {-10, 0}, {10, 0}, {20, 0}}},
        {"horizontal from the right", {20, 0, -20, 0}, {{20, 0}, {10, 0}, {-10, 0}, {-20, 0}}},
        {"vertical through the joints", {0, 15, 0, -15}, {{0, 15}, {0, 10}, {0, -10}, {0, -15}}},
        {"horizontal off the joints", {-20, 6, 20, 6}, {{-20, 6}, {-8, 6}, {8, 6}, {20, 6}}},
        {"line that misses", {-20, 30, 20, 30}, {{-20, 30}, {20, 30}}},
    };
    std::vector<std::vector<bezier_stru>> circle = {makeCircle(0, 0, 10)};
    for (const PolyCase& c : cases) {
        std::vector<_t_ASRealPoint> pts = polyCrossings(c.line, circle);
        ASSERT_EQ(pts.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < pts.size(); i++) {
            EXPECT_NEAR(pts[i].h, c.expected[i].first, 0.02) << c.name << " point " << i;
            EXPECT_NEAR(pts[i].v, c.expected[i].second, 0.02) << c.name << " point " << i;
        }
        if (c.line.y1 == c.line.y2) {
            for (const _t_ASRealPoint& p : pts)
                EXPECT_EQ(p.v, (float)c.line.y1) << c.name;
        }
    }
}

TEST(LineIntersectWithPolyBeziers, SeveralPathsAndInexactEnds)
{
    std::vector<std::vector<bezier_stru>> shapes = {makeCircle(0, 0, 10), makeCircle(30, 0, 5)};
    // 0.1 and 40.3 are not exact in single precision; the line's own ends,
    // collected once per path, must not come back as crossings.
    std::vector<_t_ASRealPoint> pts = polyCrossings(Vexa_Line{-20.1, 0.3, 40.3, 0.3}, shapes);
    ASSERT_EQ(pts.size(), 6u);
    for (size_t i = 1; i < pts.size(); i++)
        EXPECT_GT(pts[i].h, pts[i - 1].h);
}

}  // namespace
