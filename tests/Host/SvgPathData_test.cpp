// Path data on its own: every command, absolute and relative, the handles
// of curves (smooth ones reflected, quadratics raised to cubics, arcs on
// their circle), and the place and reason of a fault.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Documents/SvgPathData.h"

using namespace vt::host::svg;

namespace {

// The point half way along the cubic from a to b.
Point midpoint(const SubPath::Anchor& a, const SubPath::Anchor& b)
{
    return Point{0.125 * a.p.x + 0.375 * a.out.x + 0.375 * b.in.x + 0.125 * b.p.x,
                 0.125 * a.p.y + 0.375 * a.out.y + 0.375 * b.in.y + 0.125 * b.p.y};
}

TEST(SvgPathData, CommandsAbsoluteAndRelative)
{
    struct Row {
        const char* what;
        const char* d;
        size_t subpaths;
        size_t anchors;  // of the last subpath
        bool closed;
        double lastX, lastY;
    } rows[] = {
        {"lines", "M10 10 L20 10 L20 20", 1, 3, false, 20, 20},
        {"horizontal and vertical, relative", "m10 10 h10 v10 H10 z", 1, 4, true, 10, 20},
        {"implicit lineto after moveto", "M0 0 10 0 10 10", 1, 3, false, 10, 10},
        {"implicit relative lineto after a relative moveto", "m5 5 10 0 0 10", 1, 3, false, 15, 15},
        {"compact numbers", "M1.5.5L-2-3e1", 1, 2, false, -2, -30},
        {"cubic and smooth cubic", "M0 0 C0 10 10 10 10 0 S20 -10 20 0", 1, 3, false, 20, 0},
        {"quadratic and smooth quadratic", "M0 0 Q5 10 10 0 T20 0", 1, 3, false, 20, 0},
        {"quarter arc", "M0 0 A10 10 0 0 1 10 10", 1, 2, false, 10, 10},
        {"compact arc flags", "M0 0 a10 10 0 0110 10", 1, 2, false, 10, 10},
        {"full circle of two arcs closes on its start", "M0 0 A5 5 0 0 1 10 0 A5 5 0 0 1 0 0 Z", 1, 4, true, 5, 5},
        // Where it is told to, not where the sine and cosine of its sweep land.
        {"an arc ends on its end point", "M10 0 A10 10 0 0 1 0 10", 1, 2, false, 0, 10},
        {"each moveto starts a subpath", "M0 0 L10 0 M20 20 L30 20", 2, 2, false, 30, 20},
        {"a relative moveto after closepath starts from the start", "M0 0 L10 0 L10 10 Z m5 5 l1 0", 2, 2, false,
         6, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string bad;
        size_t at = 0;
        std::vector<SubPath> paths = parsePathData(r.d, bad, at);
        EXPECT_EQ(bad, "");
        ASSERT_EQ(paths.size(), r.subpaths);
        const SubPath& p = paths.back();
        ASSERT_EQ(p.anchors.size(), r.anchors);
        EXPECT_EQ(p.closed, r.closed);
        // A closed path ends where it began: its last anchor is the one before.
        EXPECT_EQ(p.anchors.back().p.x, r.lastX);
        EXPECT_EQ(p.anchors.back().p.y, r.lastY);
    }
}

TEST(SvgPathData, CurvesKeepTheirShape)
{
    const double r = 10, s = std::sqrt(0.5);
    struct Row {
        const char* what;
        const char* d;
        size_t segment;  // the curve from anchor segment to segment + 1
        Point out, in;   // its handles
        Point middle;    // the point half way along it
    } rows[] = {
        {"cubic", "M0 0 C0 10 10 10 10 0", 0, {0, 10}, {10, 10}, {5, 7.5}},
        {"smooth cubic reflects the last handle", "M0 0 C0 10 10 10 10 0 S20 -10 20 0", 1, {10, -10}, {20, -10},
         {15, -7.5}},
        {"smooth cubic after a line starts at its point", "M0 0 L10 0 S20 10 20 0", 1, {10, 0}, {20, 10}, {15, 3.75}},
        {"quadratic as a cubic", "M0 0 Q5 10 10 0", 0, {10 / 3.0, 20 / 3.0}, {20 / 3.0, 20 / 3.0}, {5, 5}},
        {"smooth quadratic reflects the control point", "M0 0 Q5 10 10 0 T20 0", 1, {40 / 3.0, -20 / 3.0},
         {50 / 3.0, -20 / 3.0}, {15, -5}},
        {"relative cubic", "m10 10 c0 10 10 10 10 0", 0, {10, 20}, {20, 20}, {15, 17.5}},
        {"arc with the sweep flag runs round (0, 10)", "M0 0 A10 10 0 0 1 10 10", 0, {5.5228, 0}, {10, 4.4772},
         {r * s, r - r * s}},
        {"arc without it runs round (10, 0)", "M0 0 A10 10 0 0 0 10 10", 0, {0, 5.5228}, {4.4772, 10},
         {r - r * s, r * s}},
        {"a radius too small grows to reach the end", "M0 0 A1 1 0 0 1 10 0", 0, {0, -2.7614}, {2.2386, -5},
         {5 - 5 * s, -5 * s}},
        {"a negative radius counts as positive", "M0 0 A10 -10 0 0 1 10 10", 0, {5.5228, 0}, {10, 4.4772},
         {r * s, r - r * s}},
        // Radii 5 across and 10 down, round (0, 10).
        {"an elliptical arc turned a quarter", "M0 0 A10 5 90 0 1 5 10", 0, {2.7614, 0}, {5, 4.4772},
         {5 * s, r - r * s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::string bad;
        size_t at = 0;
        std::vector<SubPath> paths = parsePathData(row.d, bad, at);
        EXPECT_EQ(bad, "");
        ASSERT_EQ(paths.size(), 1u);
        ASSERT_GT(paths[0].anchors.size(), row.segment + 1);
        const SubPath::Anchor &a = paths[0].anchors[row.segment], &b = paths[0].anchors[row.segment + 1];
        EXPECT_NEAR(a.out.x, row.out.x, 1e-3);
        EXPECT_NEAR(a.out.y, row.out.y, 1e-3);
        EXPECT_NEAR(b.in.x, row.in.x, 1e-3);
        EXPECT_NEAR(b.in.y, row.in.y, 1e-3);
        Point m = midpoint(a, b);
        EXPECT_NEAR(m.x, row.middle.x, 3e-3);
        EXPECT_NEAR(m.y, row.middle.y, 3e-3);
    }
}

TEST(SvgPathData, FaultsSayWhatAndWhere)
{
    struct Row {
        const char* d;
        const char* bad;
        size_t at;  // offset where reading stopped
    } rows[] = {
        {"X0 0", "unknown command 'X'", 1},
        {"1 1", "path data must begin with a moveto", 0},
        {"M0 0 L10", "lineto needs two numbers", 8},
        {"M0 0 C1 2 3 4 5", "curveto needs six numbers", 15},
        {"M0 0 H", "horizontal lineto needs a number", 6},
        {"M0 0 L1 1 Z 5", "number after closepath", 12},
        {"M0 0 A1 1 0 2 1 5 5", "arc needs rx ry angle large-arc sweep x y", 12},
        {"M0 0 T", "smooth quadratic curveto needs two numbers", 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.d);
        std::string bad;
        size_t at = 0;
        parsePathData(r.d, bad, at);
        EXPECT_EQ(bad, r.bad);
        EXPECT_EQ(at, r.at);
    }
}

}  // namespace
