// Cutting art into panels: the panels of the guides and their numbering in
// every order, the clipped outlines, the border walk, the chaining of pieces,
// the align marks, and what is never lost.
#include <polyclipping/clipper.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <vector>

#include <polyclipping/clipper.hpp>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/Split.h"
#include "Dialog/SplitDialog.h"
#include "Documents/Svg.h"
#include "Math/Crossings.h"
#include "Suites/SuiteTables.h"
#include "DocumentFixture.h"

using namespace vt;
using namespace vt::host;

namespace {

using test::kids;
using test::kMM;

AIArtHandle H(const ArtNode* n) { return Document::handle(n); }

// The same segment to the last bit (the record's padding aside).
bool same(const bezier_stru& a, const bezier_stru& b)
{
    return a.degree == b.degree && memcmp(a.P, b.P, sizeof a.P) == 0;
}

class SplitTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        if (HasFatalFailure()) return;
        g->splitSortMethod = 1;
        g->splitMarkStyle = kSplitNoMarks;
        g->splitMarkWidth = g->splitMarkHeight = 5.0;
        g->splitOverlapX = g->splitOverlapY = 0.0;
    }

    ArtNode* path(std::vector<AIPathSegment> segs, bool closed, ArtNode* parent = nullptr)
    {
        ArtNode* p = d().newArt(kPathArt);
        p->segments = std::move(segs);
        p->closed = closed;
        d().place(p, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return p;
    }
    ArtNode* rect(float l, float b, float r, float t, ArtNode* parent = nullptr)
    {
        return path({cornerSegment(l, b), cornerSegment(r, b), cornerSegment(r, t), cornerSegment(l, t)}, true, parent);
    }
    ArtNode* group(ArtNode* parent = nullptr)
    {
        ArtNode* gr = d().newArt(kGroupArt);
        d().place(gr, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return gr;
    }
    // A guide group above all art; guides are "x=.." or "y=.." lines across a
    // page of 1000 points.
    ArtNode* guides(std::vector<std::pair<char, float>> lines)
    {
        ArtNode* gr = d().newArt(kGroupArt);
        d().place(gr, kPlaceAboveAll, nullptr);
        for (auto [axis, v] : lines) {
            ArtNode* p = axis == 'x' ? path({cornerSegment(v, -1000), cornerSegment(v, 1000)}, false, gr)
                                     : path({cornerSegment(-1000, v), cornerSegment(1000, v)}, false, gr);
            p->guide = true;
        }
        return gr;
    }
    void select(std::vector<ArtNode*> art)
    {
        for (ArtNode* a : art) d().setSelected(a, true);
    }
    // What the layer holds, by handle (art freed by the cutting may leave its
    // address to new art).
    std::vector<AIArtHandle> layerArt()
    {
        std::vector<AIArtHandle> v;
        for (ArtNode* c : kids(root())) v.push_back(H(c));
        return v;
    }
    // The panel groups made on the layer, in panel order (the last made is on top).
    std::vector<ArtNode*> panels(const std::vector<AIArtHandle>& before)
    {
        std::vector<ArtNode*> made;
        for (ArtNode* c : kids(root()))
            if (c->type == kGroupArt && std::find(before.begin(), before.end(), H(c)) == before.end())
                made.push_back(c);
        std::reverse(made.begin(), made.end());
        return made;
    }
    // The outlines of one panel group: the paths of its compound path.
    std::vector<ArtNode*> outlines(const ArtNode* panel)
    {
        for (ArtNode* c : kids(panel))
            if (c->type == kCompoundPathArt) return kids(c);
        return {};
    }
    std::vector<ArtNode*> marks(const ArtNode* panel)
    {
        std::vector<ArtNode*> m;
        for (ArtNode* c : kids(panel))
            if (c->type == kPathArt) m.push_back(c);
        return m;
    }
    static AIRealRect boundsOf(const ArtNode* p)
    {
        AIRealRect r{1e30f, -1e30f, -1e30f, 1e30f};
        for (const AIPathSegment& s : p->segments) {
            r.left = std::min(r.left, s.p.h);
            r.right = std::max(r.right, s.p.h);
            r.bottom = std::min(r.bottom, s.p.v);
            r.top = std::max(r.top, s.p.v);
        }
        return r;
    }
    static AIRealPoint centreOf(const ArtNode* p)
    {
        AIRealRect r = boundsOf(p);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

// ---- Panels of the guides ---------------------------------------------------------

TEST_F(SplitTest, GuidesThePanelsCannotBeMadeOfAreRefusedAndChangeNothing)
{
    ArtNode* square = rect(0, 0, 100, 100);
    ArtNode* notGuide = d().newArt(kGroupArt);
    d().place(notGuide, kPlaceAboveAll, nullptr);
    path({cornerSegment(50, -10), cornerSegment(50, 110)}, false, notGuide);
    ArtNode* holdsText = guides({{'x', 50}});
    ArtNode* text = d().newArt(kTextFrameArt);
    d().place(text, kPlaceInsideOnBottom, holdsText);
    ArtNode* bent = d().newArt(kGroupArt);
    d().place(bent, kPlaceAboveAll, nullptr);
    path({cornerSegment(50, -10), cornerSegment(50, 50), cornerSegment(50, 110)}, false, bent)->guide = true;
    select({square});

    struct Row {
        const char* shows;
        AIArtHandle group;
        ASErr expected;
    } rows[] = {
        {"no guide group", nullptr, kNoGuideGroupErr},
        {"a path that is not a guide", H(notGuide), kNotAGuideErr},
        {"a text frame among the guides", H(holdsText), kNotAGuideErr},
        {"a guide of three anchors", H(bent), kGuideNotALineErr},
    };
    AIRealRect bounds{-5, 105, 105, -5};
    for (const Row& row : rows) {
        AIRealRect* clip = nullptr;
        AIRealRect* mark = nullptr;
        int32_t panels = -1, cols = -1, rows = -1;
        EXPECT_EQ(getClipRect(row.group, &clip, &mark, &panels, bounds, &cols, &rows), row.expected) << row.shows;
        EXPECT_EQ(clip, nullptr) << row.shows;
        EXPECT_EQ(panels, 0) << row.shows;
        size_t before = root()->children.size();
        EXPECT_EQ(doClipArt(row.group), kNoErr) << row.shows << ": the cutting is silent";
        EXPECT_TRUE(d().art(H(square))) << row.shows;
        EXPECT_EQ(root()->children.size(), before) << row.shows;
    }
}

TEST_F(SplitTest, OneUprightGuideWithOrderOneMakesTheRightPanelFirstReachingOverTheGuide)
{
    ArtNode* guide = guides({{'x', 100}});
    g->splitOverlapX = g->splitOverlapY = 10.0;
    AIRealRect* clip = nullptr;
    AIRealRect* mark = nullptr;
    int32_t panels = 0, cols = 0, rows = 0;
    ASSERT_EQ(getClipRect(H(guide), &clip, &mark, &panels, AIRealRect{-5, 105, 205, -5}, &cols, &rows), kNoErr);
    ASSERT_EQ(panels, 2);
    EXPECT_EQ(cols, 2);
    EXPECT_EQ(rows, 1);
    EXPECT_FLOAT_EQ(clip[0].left, float(100 - 28.346458)) << "panel 0 is the right one";
    EXPECT_FLOAT_EQ(clip[0].right, 205);
    EXPECT_FLOAT_EQ(mark[0].left, 100);
    EXPECT_FLOAT_EQ(clip[1].left, -5);
    EXPECT_FLOAT_EQ(clip[1].right, 100) << "panel 1 ends at the guide";
    EXPECT_FLOAT_EQ(clip[1].top, 105) << "edges at the bounds never move";
    free(clip);
    free(mark);
}

TEST_F(SplitTest, EveryOrderNumbersThePanelsAndOverlapsTheSidesItNames)
{
    // Three columns and two rows: guides at x 100 and 200, y 50, in bounds 0..300 x 0..100.
    // Numbers as the panels lie, top row left to right, then the bottom row.
    struct Row {
        const char* shows;
        int32_t order;
        int numbers[6];
        bool left, right, bottom, top;  // inner edges that take the overlap
    } rows[] = {
        {"1: top right, down the columns from the right", 1, {4, 2, 0, 5, 3, 1}, true, false, true, false},
        {"2: top left, down the columns from the left", 2, {0, 2, 4, 1, 3, 5}, false, true, true, false},
        {"3: bottom right, up the columns from the right", 3, {5, 3, 1, 4, 2, 0}, true, false, false, true},
        {"4: bottom left, up the columns from the left", 4, {1, 3, 5, 0, 2, 4}, false, true, false, true},
        {"5: top right, along the rows from the right", 5, {2, 1, 0, 5, 4, 3}, true, false, true, false},
        {"6: top left, along the rows from the left", 6, {0, 1, 2, 3, 4, 5}, false, true, true, false},
        {"7: bottom right, along the rows from the right", 7, {5, 4, 3, 2, 1, 0}, true, false, false, true},
        {"8: bottom left, along the rows from the left", 8, {3, 4, 5, 0, 1, 2}, false, true, false, true},
        {"an order outside 1 to 8 numbers as 8 without overlap", 0, {3, 4, 5, 0, 1, 2}, false, false, false, false},
        {"9 as well", 9, {3, 4, 5, 0, 1, 2}, false, false, false, false},
    };
    ArtNode* guide = guides({{'x', 200}, {'y', 50}, {'x', 100}});
    g->splitOverlapX = 10.0;
    g->splitOverlapY = 5.0;
    const float xs[4] = {0, 100, 200, 300}, ys[3] = {0, 50, 100};
    for (const Row& row : rows) {
        g->splitSortMethod = row.order;
        AIRealRect* clip = nullptr;
        AIRealRect* mark = nullptr;
        int32_t panels = 0, cols = 0, rowCount = 0;
        ASSERT_EQ(getClipRect(H(guide), &clip, &mark, &panels, AIRealRect{0, 100, 300, 0}, &cols, &rowCount), kNoErr);
        ASSERT_EQ(panels, 6);
        for (int cell = 0; cell < 6; cell++) {
            int i = cell % 3, j = cell < 3 ? 1 : 0;
            int k = row.numbers[cell];
            SCOPED_TRACE(std::string(row.shows) + ", column " + std::to_string(i) + " row " + std::to_string(j));
            EXPECT_FLOAT_EQ(mark[k].left, xs[i]);
            EXPECT_FLOAT_EQ(mark[k].right, xs[i + 1]);
            EXPECT_FLOAT_EQ(mark[k].bottom, ys[j]);
            EXPECT_FLOAT_EQ(mark[k].top, ys[j + 1]);
            EXPECT_FLOAT_EQ(clip[k].left, float(xs[i] - (row.left && i > 0 ? 10 * kMM : 0)));
            EXPECT_FLOAT_EQ(clip[k].right, float(xs[i + 1] + (row.right && i < 2 ? 10 * kMM : 0)));
            EXPECT_FLOAT_EQ(clip[k].bottom, float(ys[j] - (row.bottom && j > 0 ? 5 * kMM : 0)));
            EXPECT_FLOAT_EQ(clip[k].top, float(ys[j + 1] + (row.top && j < 1 ? 5 * kMM : 0)));
        }
        free(clip);
        free(mark);
    }
}

TEST_F(SplitTest, OnlySlantedOrCurvedGuidesGiveOnePanelAndNoMarks)
{
    ArtNode* square = rect(0, 0, 100, 60);
    ArtNode* gr = guides({});
    path({cornerSegment(0, 0), cornerSegment(100, 100)}, false, gr)->guide = true;
    AIPathSegment bow = cornerSegment(0, 50);
    bow.out = {50, 80};
    path({bow, cornerSegment(100, 50)}, false, gr)->guide = true;
    g->splitMarkStyle = kSplitMarkCircle;
    select({square});
    AIArtHandle source = H(square);
    std::vector<AIArtHandle> before = layerArt();
    ASSERT_EQ(doClipArt(H(gr)), kNoErr);
    std::vector<ArtNode*> made = panels(before);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_TRUE(marks(made[0]).empty()) << "all four corners of the only panel are outer corners";
    std::vector<ArtNode*> o = outlines(made[0]);
    ASSERT_EQ(o.size(), 1u);
    EXPECT_TRUE(o[0]->closed);
    AIRealRect b = boundsOf(o[0]);
    EXPECT_FLOAT_EQ(b.left, 0);
    EXPECT_FLOAT_EQ(b.right, 100);
    EXPECT_FLOAT_EQ(b.top, 60);
    EXPECT_NEAR(std::fabs(pathArea(o[0])), 6000, 1e-3);
    EXPECT_FALSE(d().art(source)) << "the source is replaced";
    EXPECT_TRUE(d().art(H(gr))) << "the guides are the palette's to delete";
}

// The plain way to cut one curve: measure its bounds, then inside whole,
// outside nothing, else parts between its crossings with the edge lines.
std::vector<bezier_stru> measuredParts(AIRealRect panel, bezier_stru curve)
{
    double maxPt[2], minPt[2];
    BezierBound(&curve, maxPt, minPt);
    AIRealRect box{(AIReal)minPt[0], (AIReal)maxPt[1], (AIReal)maxPt[0], (AIReal)minPt[1]};
    auto& math = host::suiteTable<AIRealMathSuite>();
    if (math.AIRealRectInAIRealRect(&box, &panel)) return {curve};
    AIRealRect meet;
    if (!math.AIRealRectIntersect(&box, &panel, &meet)) return {};
    Vexa_Line edges[4] = {{panel.left, panel.bottom, panel.left, panel.top},
                          {panel.left, panel.top, panel.right, panel.top},
                          {panel.right, panel.top, panel.right, panel.bottom},
                          {panel.right, panel.bottom, panel.left, panel.bottom}};
    double* t = nullptr;
    int nt = 0;
    for (auto& e : edges) BezierLineCross(curve, e, &t, &nt);
    std::sort(t, t + nt);
    bezier_stru* parts = nullptr;
    int np = 0;
    if (nt > 0) BezierDivide(&curve, t, nt, &parts, &np);
    std::vector<bezier_stru> out(parts, parts + np);
    free(t);
    free(parts);
    return out;
}

TEST_F(SplitTest, CurvesPlainlyInsideOrOutsideArePartedAsMeasuringThemWould)
{
    std::mt19937 random(6105);
    std::uniform_real_distribution<float> at(-60, 160);
    const AIRealRect panel{0, 100, 100, 0};
    int whole = 0, none = 0, cut = 0;
    for (int i = 0; i < 3000; i++) {
        bezier_stru c{3, {}};
        float x = at(random), y = at(random);
        for (int p = 0; p < 4; p++) {
            c.P[p][0] = x + float(at(random) / 8);
            c.P[p][1] = y + float(at(random) / 8);
        }
        bezier_stru* parts = nullptr;
        int32_t n = 0;
        ASSERT_EQ(divSingleBezier(panel, c, &parts, &n), kNoErr);
        std::vector<bezier_stru> expected = measuredParts(panel, c);
        ASSERT_EQ((size_t)n, expected.size()) << "curve " << i;
        for (int32_t k = 0; k < n; k++) EXPECT_TRUE(same(parts[k], expected[k])) << "curve " << i << ", part " << k;
        (n == 0 ? none : n == 1 && same(parts[0], c) ? whole : cut)++;
        free(parts);
    }
    EXPECT_GT(whole, 100);
    EXPECT_GT(none, 100);
    EXPECT_GT(cut, 100);
}

// The length of a polyline within a rectangle, by Clipper clipping it as an
// open path.
double clipperLengthWithin(std::vector<AIRealPoint> corners, bool closed, const AIRealRect& r)
{
    const double k = 1000;  // Clipper units to the point
    if (closed) corners.push_back(corners.front());
    ClipperLib::Path line, box;
    for (const AIRealPoint& p : corners)
        line.push_back({ClipperLib::cInt(std::llround(p.h * k)), ClipperLib::cInt(std::llround(p.v * k))});
    for (auto [x, y] : {std::pair{r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top}})
        box.push_back({ClipperLib::cInt(std::llround(x * k)), ClipperLib::cInt(std::llround(y * k))});
    ClipperLib::Clipper clipper;
    clipper.AddPath(line, ClipperLib::ptSubject, false);
    clipper.AddPath(box, ClipperLib::ptClip, true);
    ClipperLib::PolyTree tree;
    clipper.Execute(ClipperLib::ctIntersection, tree, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    ClipperLib::Paths within;
    ClipperLib::OpenPathsFromPolyTree(tree, within);
    double length = 0;
    for (const auto& p : within)
        for (size_t i = 1; i < p.size(); i++)
            length += std::hypot(double(p[i].X - p[i - 1].X), double(p[i].Y - p[i - 1].Y)) / k;
    return length;
}

// A path gives a panel the parts of its curves within it; an open path has no
// curve from its end back to its start.
TEST_F(SplitTest, APathGivesThePanelItsCurvesWithinItAndAnOpenOneNoClosingCurve)
{
    const AIRealRect panel{0, 100, 100, 0};
    struct Row {
        const char* shows;
        std::vector<AIRealPoint> corners;
        bool closed;
        size_t pieces;
    } rows[] = {
        {"an open V inside", {{10, 10}, {50, 90}, {90, 10}}, false, 2},
        {"the V closed", {{10, 10}, {50, 90}, {90, 10}}, true, 3},
        {"an open hook leaving the panel", {{50, 50}, {150, 50}, {150, 150}}, false, 1},
        {"the hook closed, back through the panel's corner", {{50, 50}, {150, 50}, {150, 150}}, true, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::vector<AIPathSegment> segments;
        for (const AIRealPoint& p : row.corners) segments.push_back(cornerSegment(p.h, p.v));
        ArtNode* shape = path(segments, row.closed);
        bezier_stru* pieces = nullptr;
        int32_t count = 0;
        ASSERT_EQ(clipArt(H(shape), panel, &pieces, &count), kNoErr);
        EXPECT_EQ((size_t)count, row.pieces);
        double length = 0;
        for (int32_t i = 0; i < count; i++)
            length += std::hypot(pieces[i].P[3][0] - pieces[i].P[0][0], pieces[i].P[3][1] - pieces[i].P[0][1]);
        EXPECT_NEAR(length, clipperLengthWithin(row.corners, row.closed, panel), 1e-2);
        free(pieces);
    }
}

// ---- Clipped outlines ---------------------------------------------------------------

TEST_F(SplitTest, ARectangleCutByOneGuideGivesTwoClosedOutlinesMeetingOnIt)
{
    struct Row {
        const char* shows;
        float bottom, top;
    } rows[] = {
        {"near the origin", 0, 100},
        {"wholly below -3000 points, where the corner's inside test must still reach it", -5000, -4000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        doc_ = &documents().newDocument();
        ArtNode* square = rect(0, row.bottom, 200, row.top);
        ArtNode* gr = guides({{'x', 100}});
        select({square});
        AIArtHandle source = H(square);
        std::vector<AIArtHandle> before = layerArt();
        ASSERT_EQ(doClipArt(H(gr)), kNoErr);
        std::vector<ArtNode*> made = panels(before);
        ASSERT_EQ(made.size(), 2u);
        float lefts[2] = {100, 0}, rights[2] = {200, 100};  // panel 0 is the right one
        for (int k = 0; k < 2; k++) {
            std::vector<ArtNode*> o = outlines(made[k]);
            ASSERT_EQ(o.size(), 1u) << "panel " << k;
            EXPECT_TRUE(o[0]->closed);
            AIRealRect b = boundsOf(o[0]);
            EXPECT_FLOAT_EQ(b.left, lefts[k]) << "panel " << k;
            EXPECT_FLOAT_EQ(b.right, rights[k]) << "panel " << k;
            EXPECT_FLOAT_EQ(b.bottom, row.bottom);
            EXPECT_FLOAT_EQ(b.top, row.top);
            EXPECT_NEAR(std::fabs(pathArea(o[0])), 100.0 * (row.top - row.bottom), 1e-2) << "panel " << k;
        }
        EXPECT_FALSE(d().art(source));
    }
}

// The area of a shape's part within a quarter of the plane, by Clipper on the
// shape's outline flattened finely: the panels' outlines must enclose the same.
double clipperAreaWithin(const std::vector<AIPathSegment>& shape, double x, double y, int quarter)
{
    const double k = 1000;  // Clipper units to the point
    ClipperLib::Path outline, corner;
    for (size_t i = 0; i < shape.size(); ++i)
        for (int s = 0; s < 256; ++s) {
            AIRealPoint p = test::pointOnContour(shape, i, s / 256.0);
            outline.push_back({ClipperLib::cInt(std::llround(p.h * k)), ClipperLib::cInt(std::llround(p.v * k))});
        }
    const double far = 1e6;
    double x0 = quarter & 1 ? x : -far, x1 = quarter & 1 ? far : x;
    double y0 = quarter & 2 ? y : -far, y1 = quarter & 2 ? far : y;
    for (auto [px, py] : {std::pair{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}})
        corner.push_back({ClipperLib::cInt(std::llround(px * k)), ClipperLib::cInt(std::llround(py * k))});
    ClipperLib::Clipper clipper;
    clipper.AddPath(outline, ClipperLib::ptSubject, true);
    clipper.AddPath(corner, ClipperLib::ptClip, true);
    ClipperLib::Paths within;
    clipper.Execute(ClipperLib::ctIntersection, within, ClipperLib::pftNonZero, ClipperLib::pftNonZero);
    double area = 0;
    for (const auto& p : within) area += std::fabs(ClipperLib::Area(p));
    return area / (k * k);
}

TEST_F(SplitTest, EachPanelHoldsThePartOfASlantedOrCurvedShapeWithinIt)
{
    auto smooth = [](float x, float y, float ix, float iy, float ox, float oy) {
        AIPathSegment s = cornerSegment(x, y);
        s.in = {ix, iy};
        s.out = {ox, oy};
        return s;
    };
    const float k = 0.5522847f * 30;  // a circle of radius 30 round (60, 30)
    struct Row {
        const char* shape;
        std::vector<AIPathSegment> outline;
        bool smooth;  // the shape's anchors are smooth points, not corners
    } rows[] = {
        {"a diamond round the guides' crossing",
         {cornerSegment(50, -20), cornerSegment(110, 40), cornerSegment(50, 100), cornerSegment(-10, 40)},
         false},
        {"a slanted quadrilateral off the crossing",
         {cornerSegment(10, 5), cornerSegment(95, 20), cornerSegment(70, 75), cornerSegment(20, 55)},
         false},
        {"a concave star",
         {cornerSegment(50, 95), cornerSegment(60, 55), cornerSegment(100, 50), cornerSegment(62, 30),
          cornerSegment(80, -10), cornerSegment(50, 20), cornerSegment(15, -5), cornerSegment(35, 35),
          cornerSegment(0, 55), cornerSegment(42, 55)},
         false},
        {"a circle",
         {smooth(90, 30, 90, 30 - k, 90, 30 + k), smooth(60, 60, 60 + k, 60, 60 - k, 60),
          smooth(30, 30, 30, 30 + k, 30, 30 - k), smooth(60, 0, 60 - k, 0, 60 + k, 0)},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shape);
        doc_ = &documents().newDocument();
        ArtNode* shape = path(row.outline, true);
        ArtNode* gr = guides({{'x', 50}, {'y', 40}});
        select({shape});
        std::vector<AIArtHandle> before = layerArt();
        ASSERT_EQ(doClipArt(H(gr)), kNoErr);
        std::vector<ArtNode*> made = panels(before);
        ASSERT_EQ(made.size(), 4u);
        // Each outline lies in one quarter of the guides' cross.
        double area[4] = {0, 0, 0, 0};
        for (ArtNode* panel : made)
            for (ArtNode* o : outlines(panel)) {
                EXPECT_TRUE(o->closed);
                AIRealRect b = boundsOf(o);
                int quarter = (b.left >= 50 - 1e-3 ? 1 : 0) | (b.bottom >= 40 - 1e-3 ? 2 : 0);
                EXPECT_TRUE(quarter & 1 || b.right <= 50 + 1e-3) << "an outline across x = 50";
                EXPECT_TRUE(quarter & 2 || b.top <= 40 + 1e-3) << "an outline across y = 40";
                area[quarter] += std::fabs(pathArea(o));
                // An anchor of the shape that no guide crosses keeps its kind.
                for (const AIPathSegment& s : o->segments)
                    for (const AIPathSegment& anchor : row.outline) {
                        bool same = std::fabs(s.p.h - anchor.p.h) < 1e-3 && std::fabs(s.p.v - anchor.p.v) < 1e-3;
                        bool onAGuide = anchor.p.h == 50 || anchor.p.v == 40;
                        EXPECT_TRUE(!same || onAGuide || s.corner == !row.smooth)
                            << "the anchor at " << s.p.h << ", " << s.p.v;
                    }
            }
        for (int q = 0; q < 4; ++q) {
            double want = clipperAreaWithin(row.outline, 50, 40, q);
            EXPECT_NEAR(area[q], want, 1e-3 * std::max(want, 10.0)) << "quarter " << q;
        }
    }
}

TEST_F(SplitTest, AnOutlineOnAPanelEdgeComesFromTheBorderWalk)
{
    // A side of the square lies on the guide: its middle is not strictly inside
    // the panel, so the walk along the panel's edge closes the outline, once.
    // A small square beyond the guide makes it a guide within the art.
    struct Row {
        const char* side;
        char axis;
        float at;
        AIRealRect beyond;  // left, top, right, bottom
    } rows[] = {
        {"right", 'x', 100, {150, 40, 190, 0}},
        {"left", 'x', 0, {-90, 40, -50, 0}},
        {"top", 'y', 100, {0, 190, 40, 150}},
        {"bottom", 'y', 0, {0, -50, 40, -90}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.side);
        doc_ = &documents().newDocument();
        ArtNode* square = rect(0, 0, 100, 100);
        ArtNode* small = rect(row.beyond.left, row.beyond.bottom, row.beyond.right, row.beyond.top);
        ArtNode* gr = guides({{row.axis, row.at}});
        select({square, small});
        std::vector<AIArtHandle> before = layerArt();
        ASSERT_EQ(doClipArt(H(gr)), kNoErr);
        std::vector<ArtNode*> made = panels(before);
        ASSERT_EQ(made.size(), 4u) << "a group for each square in each panel";
        std::vector<double> areas;
        for (ArtNode* panel : made)
            for (ArtNode* o : outlines(panel)) {
                areas.push_back(std::fabs(pathArea(o)));
                if (areas.back() < 5000) continue;  // the small square
                int onEdge = 0;
                for (const AIPathSegment& s : o->segments) onEdge += (row.axis == 'x' ? s.p.h : s.p.v) == row.at;
                EXPECT_EQ(onEdge, 2) << "both ends of the side";
            }
        std::sort(areas.begin(), areas.end());
        ASSERT_EQ(areas.size(), 2u) << "one outline of each square, none of the side alone";
        EXPECT_NEAR(areas[0], 1600, 1e-2);
        EXPECT_NEAR(areas[1], 10000, 1e-2);
    }
}

TEST_F(SplitTest, APanelTheArtDoesNotReachStillGetsItsGroupAndMarks)
{
    ArtNode* a = rect(0, 0, 100, 100);
    ArtNode* b = rect(400, 0, 500, 100);
    ArtNode* gr = guides({{'x', 250}});
    g->splitMarkStyle = kSplitMarkRectangle;
    select({a, b});
    std::vector<AIArtHandle> before = layerArt();
    ASSERT_EQ(doClipArt(H(gr)), kNoErr);
    std::vector<ArtNode*> made = panels(before);
    ASSERT_EQ(made.size(), 4u) << "two panels for each object";
    // Panels are made object by object, panel 0 (the right one) first.
    EXPECT_TRUE(outlines(made[0]).empty()) << "the left square does not reach the right panel";
    EXPECT_EQ(marks(made[0]).size(), 2u);
    EXPECT_EQ(outlines(made[1]).size(), 1u);
    EXPECT_EQ(outlines(made[2]).size(), 1u);
    EXPECT_TRUE(outlines(made[3]).empty());
    EXPECT_EQ(marks(made[3]).size(), 2u);
}

TEST_F(SplitTest, NoMarksStyleMakesNoMarks)
{
    ArtNode* square = rect(0, 0, 300, 100);
    ArtNode* gr = guides({{'x', 100}, {'x', 200}});
    select({square});
    std::vector<AIArtHandle> before = layerArt();
    ASSERT_EQ(doClipArt(H(gr)), kNoErr);
    std::vector<ArtNode*> made = panels(before);
    ASSERT_EQ(made.size(), 3u);
    for (ArtNode* p : made) {
        EXPECT_TRUE(marks(p).empty());
        EXPECT_EQ(kids(p).size(), 1u) << "only the outlines";
    }
}

TEST_F(SplitTest, AGroupIsCutAsOneObjectAndWhatCannotBeCutIsKept)
{
    ArtNode* gr = group();
    ArtNode* inner = rect(0, 0, 100, 100, gr);
    ArtNode* caption = d().newArt(kTextFrameArt);
    caption->textFrame->text = "OPEN";
    d().place(caption, kPlaceInsideOnBottom, gr);
    ArtNode* nested = group(gr);
    ArtNode* placed = d().newArt(kPlacedArt);
    d().place(placed, kPlaceInsideOnBottom, nested);
    ArtNode* loose = d().newArt(kTextFrameArt);
    d().place(loose, kPlaceBelowAll, nullptr);
    ArtNode* guide = guides({{'x', 50}});
    select({gr, loose});
    AIArtHandle source = H(gr), cut = H(inner);
    std::vector<AIArtHandle> before = layerArt();
    ASSERT_EQ(doClipArt(H(guide)), kNoErr);
    EXPECT_FALSE(d().art(source));
    EXPECT_FALSE(d().art(cut));
    EXPECT_EQ(panels(before).size(), 2u);
    // The text and the placed art sit, in their order, where the group was.
    std::vector<ArtNode*> now = kids(root());
    auto at = [&](ArtNode* n) { return std::find(now.begin(), now.end(), n) - now.begin(); };
    ASSERT_TRUE(d().art(H(caption)));
    ASSERT_TRUE(d().art(H(placed)));
    EXPECT_EQ(caption->parent, root());
    EXPECT_EQ(placed->parent, root());
    EXPECT_LT(at(caption), at(placed));
    EXPECT_LT(at(placed), at(loose));
    EXPECT_EQ(loose->parent, root()) << "a selected text frame stays as it was";
    EXPECT_EQ(caption->textFrame->text, "OPEN");
}

TEST_F(SplitTest, TheGuideGroupIsNeverCutEvenWhenSelected)
{
    ArtNode* square = rect(0, 0, 200, 100);
    ArtNode* gr = guides({{'x', 100}});
    select({square, gr});
    std::vector<AIArtHandle> before = layerArt();
    ASSERT_EQ(doClipArt(H(gr)), kNoErr);
    EXPECT_TRUE(d().art(H(gr)));
    std::vector<ArtNode*> made = panels(before);
    ASSERT_EQ(made.size(), 2u);
    AIRealRect b = boundsOf(outlines(made[0])[0]);
    EXPECT_FLOAT_EQ(b.top, 100) << "the guides' length is not in the bounds";
}

// A document whose art suite refuses to make art from the n-th NewArt on.
AIArtSuite* g_realArt = nullptr;
AIArtSuite g_refusingArt;
int g_newArts = 0;
int g_refuseFrom = 0;
ASErr refusingNewArt(int16_t type, int16_t order, AIArtHandle prep, AIArtHandle* art)
{
    if (++g_newArts >= g_refuseFrom) return kBadParameterErr;
    return g_realArt->NewArt(type, order, prep, art);
}

TEST_F(SplitTest, AnObjectWhosePanelsFailPartWayKeepsItsSourceAndLosesThePartialPanels)
{
    // Each panel makes a group, a compound path, an outline and marks.
    for (int from : {1, 2, 3, 5, 9}) {
        SCOPED_TRACE("art refused from the " + std::to_string(from) + "th");
        doc_ = &documents().newDocument();
        g->splitMarkStyle = kSplitMarkCircle;
        ArtNode* first = rect(0, 0, 200, 100);
        ArtNode* gr = guides({{'x', 100}});
        select({first});
        std::vector<AIArtHandle> before = layerArt();
        g_realArt = sAIArt;
        g_refusingArt = *sAIArt;
        g_refusingArt.NewArt = refusingNewArt;
        g_newArts = 0;
        g_refuseFrom = from;
        sAIArt = &g_refusingArt;
        ASErr err = doClipArt(H(gr));
        sAIArt = g_realArt;
        EXPECT_EQ(err, kBadParameterErr);
        EXPECT_TRUE(d().art(H(first)));
        EXPECT_EQ(layerArt(), before) << "no partial panel stays";
    }
}

// ---- Panel areas against an independent clipping -------------------------------------

// Areas by Clipper on outlines flattened here, a thousand units to the point.
constexpr double kUnits = 1000.0;

ClipperLib::Path flattened(const ArtNode* path)
{
    ClipperLib::Path out;
    auto add = [&](double x, double y) {
        ClipperLib::IntPoint p(std::llround(x * kUnits), std::llround(y * kUnits));
        if (out.empty() || !(out.back() == p)) out.push_back(p);
    };
    for (size_t i = 0; i < pathBezierCount(path); i++) {
        AIRealBezier b = pathBezier(path, i);
        // Chords of at most about a fifth of a point: far finer than any
        // area the cutting could lose.
        double reach = std::hypot(b.p1.h - b.p0.h, b.p1.v - b.p0.v) + std::hypot(b.p2.h - b.p1.h, b.p2.v - b.p1.v) +
                       std::hypot(b.p3.h - b.p2.h, b.p3.v - b.p2.v);
        bool straight = b.p1.h == b.p0.h && b.p1.v == b.p0.v && b.p2.h == b.p3.h && b.p2.v == b.p3.v;
        int steps = straight ? 1 : std::clamp(int(reach / 0.2), 1, 8192);
        for (int k = i == 0 ? 0 : 1; k <= steps; k++) {
            double x, y;
            bezierPoint(b, double(k) / steps, x, y);
            add(x, y);
        }
    }
    return out;
}

// Every closed path under art (groups and compound paths walked).
void closedPaths(const ArtNode* art, std::vector<const ArtNode*>& out)
{
    if (art->type == kPathArt && art->closed && !art->guide) out.push_back(art);
    for (const ArtNode* c : art->children) closedPaths(c, out);
}

ClipperLib::Paths flattened(const std::vector<const ArtNode*>& paths)
{
    ClipperLib::Paths out;
    for (const ArtNode* p : paths) {
        ClipperLib::Path poly = flattened(p);
        if (poly.size() >= 3) out.push_back(std::move(poly));
    }
    return out;
}

// The area the outlines enclose by the even-odd rule, within the rectangle.
double evenOddArea(const ClipperLib::Paths& outlines, const AIRealRect* within)
{
    ClipperLib::Clipper c;
    c.AddPaths(outlines, ClipperLib::ptSubject, true);
    ClipperLib::Paths area;
    if (within != nullptr) {
        ClipperLib::Path box = {{std::llround(within->left * kUnits), std::llround(within->bottom * kUnits)},
                                {std::llround(within->right * kUnits), std::llround(within->bottom * kUnits)},
                                {std::llround(within->right * kUnits), std::llround(within->top * kUnits)},
                                {std::llround(within->left * kUnits), std::llround(within->top * kUnits)}};
        c.AddPath(box, ClipperLib::ptClip, true);
        c.Execute(ClipperLib::ctIntersection, area, ClipperLib::pftEvenOdd, ClipperLib::pftNonZero);
    } else {
        c.Execute(ClipperLib::ctUnion, area, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    }
    double sum = 0;
    for (const ClipperLib::Path& a : area) sum += ClipperLib::Area(a);
    return sum / (kUnits * kUnits);
}

struct PanelCase {
    const char* shows;
    const char* d;              // SVG path data, page 300 x 300 of the unit, y down
    const char* unit;           // "mm" or "pt"
    float cell;                 // guides of the split palette's grid, cells this many units; or
    std::vector<std::pair<char, float>> lines;  // guides at these document points
};

class SplitAreaTest : public SplitTest {
protected:
    // Opens the shape and selects it; guides as the case says.
    AIArtHandle open(const PanelCase& c)
    {
        std::string svg = std::string("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"300") + c.unit +
                          "\" height=\"300" + c.unit + "\" viewBox=\"0 0 300 300\"><g id=\"Art\"><path d=\"" + c.d +
                          "\"/></g></svg>";
        std::string error;
        auto read = readSvgText(documents(), svg, "shape.svg", error);
        EXPECT_TRUE(read) << error;
        if (!read) return nullptr;
        documents().adopt(std::move(read));
        doc_ = currentDocument();
        for (ArtNode* a : kids(root())) d().setSelected(a, true);
        if (c.cell > 0) {
            g_artSplitGroup = nullptr;
            float cell = float(c.cell * (std::string(c.unit) == "mm" ? kMM : 1.0));
            EXPECT_EQ(drawSplitLine(cell, cell, 0), kNoErr);
            return g_artSplitGroup;
        }
        return H(guides(c.lines));
    }
};

TEST_F(SplitAreaTest, EveryPanelHoldsTheArtOfItsRectangleInEveryOrderWithAndWithoutOverlap)
{
    const PanelCase cases[] = {
        {"a right triangle whose slanted side runs through guide crossings", "M50 250 L250 250 L250 50 Z", "mm", 50, {}},
        {"the triangle turned a quarter", "M50 50 L250 50 L250 250 Z", "mm", 50, {}},
        {"the triangle turned half", "M250 50 L50 50 L50 250 Z", "mm", 50, {}},
        {"the triangle turned three quarters", "M250 250 L50 250 L50 50 Z", "mm", 50, {}},
        {"a diamond with a vertex on a guide crossing", "M150 50 L250 150 L150 250 L50 150 Z", "mm", 50, {}},
        {"a diamond across guide crossings", "M150 60 L240 150 L150 240 L60 150 Z", "mm", 45, {}},
        {"a square with a hole the guides cut", "M40 40 L260 40 L260 260 L40 260 Z M90 90 L90 210 L210 210 L210 90 Z",
         "mm", 50, {}},
        {"a circle of curves", "M150 30 C216 30 270 84 270 150 C270 216 216 270 150 270 C84 270 30 216 30 150 C30 84 84 30 150 30 Z",
         "mm", 60, {}},
        {"a curve through a guide crossing",
         "M50 250 C50 150 150 150 250 50 L250 250 Z", "mm", 50, {}},
        {"a short border piece beside a side on a guide", "M50 200 L150 200 L81.26 60 L50 60 Z", "pt", 0,
         {{'x', 100}, {'y', 100}}},
        {"a side on a guide, with more outlines on its own side of it",
         "M20 20 L100 20 L100 120 L20 120 Z M30 200 L40 200 L40 210 L30 210 Z M60 200 L70 200 L70 210 L60 210 Z", "pt",
         0, {{'x', 100}}},
        {"a thin spike across a guide", "M20 100 L90 100 L90 150 L200 150 L200 150.5 L90 150.5 L90 200 L20 200 Z", "pt",
         0, {{'x', 100}}},
        {"the thin spike drawn the other way round", "M20 200 L90 200 L90 150.5 L200 150.5 L200 150 L90 150 L90 100 L20 100 Z",
         "pt", 0, {{'x', 100}}},
        {"a spike crossing a guide by less than a point", "M20 280 L180 280 L180 150.4 L100 150.4 L100 149.6 L20 149.6 Z",
         "pt", 0, {{'x', 100}, {'y', 150}}},
        // The guide's piece between the arches is inside: a ray from it
        // just under the outer arch's top crosses that arch on one side only.
        {"an arch cut through its top", "M20 250 C20 50 180 50 180 250 L170 250 C170 70 30 70 30 250 Z", "pt", 0,
         {{'x', 100}}},
        // A side that climbs, falls back and climbs again while it crosses the
        // guide: a ray from the guide beside the fold meets the curve three
        // times, on both sides of its start, each found between two turning
        // points taken in order along the curve.
        {"a curve doubling back across a guide", "M60 100 C160 400 40 -100 140 200 L250 200 L250 100 Z", "pt", 0,
         {{'x', 100}}},
    };
    for (const PanelCase& c : cases) {
        for (int32_t order = 1; order <= 8; order++) {
            for (double overlap : {0.0, 3.0}) {
                std::string row = std::string(c.shows) + ", order " + std::to_string(order) +
                                  (overlap > 0 ? ", overlap" : "");
                SCOPED_TRACE(row);
                g->splitSortMethod = order;
                g->splitOverlapX = g->splitOverlapY = overlap;
                AIArtHandle guideGroup = open(c);
                ASSERT_NE(guideGroup, nullptr);
                std::vector<const ArtNode*> source;
                closedPaths(root(), source);
                // The panels of the guides over the art's bounds, grown as the cutting grows them.
                AIRealRect bounds;
                ASSERT_TRUE(artBounds(kids(root()).back(), false, bounds)) << "the shape, below the guides";
                AIRealRect grown{bounds.left - 5, bounds.top + 5, bounds.right + 5, bounds.bottom - 5};
                AIRealRect* clip = nullptr;
                AIRealRect* mark = nullptr;
                int32_t count = 0, cols = 0, rows = 0;
                ASSERT_EQ(getClipRect(guideGroup, &clip, &mark, &count, grown, &cols, &rows), kNoErr);
                std::vector<double> expected;
                ClipperLib::Paths art = flattened(source);
                for (int32_t k = 0; k < count; k++) expected.push_back(evenOddArea(art, &clip[k]));
                free(clip);
                free(mark);
                std::vector<AIArtHandle> before = layerArt();
                ASSERT_EQ(doClipArt(guideGroup), kNoErr);
                std::vector<ArtNode*> made = panels(before);
                ASSERT_EQ(made.size(), expected.size());
                for (size_t k = 0; k < made.size(); k++) {
                    std::vector<const ArtNode*> outlinesMade;
                    for (ArtNode* o : outlines(made[k])) {
                        outlinesMade.push_back(o);
                        EXPECT_GT(std::fabs(pathArea(o)), 1e-3) << "panel " << k << ": a path enclosing nothing";
                    }
                    EXPECT_NEAR(evenOddArea(flattened(outlinesMade), nullptr), expected[k], 0.05 + 1e-5 * expected[k])
                        << "panel " << k;
                }
            }
        }
    }
}

// ---- Chaining ------------------------------------------------------------------------

bezier_stru line(double x1, double y1, double x2, double y2) { return {3, {{x1, y1}, {x1, y1}, {x2, y2}, {x2, y2}}}; }

std::vector<std::vector<bezier_stru>> chains(std::vector<bezier_stru> pieces, bool indexed)
{
    std::unique_ptr<bool[]> used(new bool[pieces.size()]());
    PieceEndIndex* index = indexed ? NewPieceEndIndex(pieces.data(), (int32_t)pieces.size()) : nullptr;
    std::vector<std::vector<bezier_stru>> out;
    for (;;) {
        bezier_stru* chain = nullptr;
        int32_t n = 0;
        EXPECT_EQ(SortBezier(pieces.data(), (int32_t)pieces.size(), used.get(), &n, &chain, index), kNoErr);
        if (n == 0) break;
        out.emplace_back(chain, chain + n);
        free(chain);
    }
    FreePieceEndIndex(index);
    return out;
}

TEST_F(SplitTest, EndsJoinOnlyUnderOnePointApart)
{
    struct Row {
        const char* shows;
        double gap;
        size_t chains;
    } rows[] = {
        {"touching", 0.0, 1},
        {"0.99 points apart", 0.99, 1},
        {"1 point apart", 1.0, 2},
        {"1.5 points apart", 1.5, 2},
    };
    for (const Row& row : rows) {
        std::vector<bezier_stru> pieces = {line(0, 0, 10, 0), line(10, row.gap, 10, 10)};
        for (bool indexed : {false, true})
            EXPECT_EQ(chains(pieces, indexed).size(), row.chains) << row.shows << (indexed ? ", indexed" : "");
    }
}

TEST_F(SplitTest, APieceEndingWhereTheChainEndsIsTurnedRoundAndStartsWin)
{
    // From (10, 0) both a piece ending there and a later one starting there
    // join: the one starting there is taken first.
    std::vector<bezier_stru> pieces = {line(0, 0, 10, 0), line(20, 5, 10, 0), line(10, 0, 10, 10),
                                       line(10, 10, 20, 5)};
    for (bool indexed : {false, true}) {
        auto c = chains(pieces, indexed);
        ASSERT_EQ(c.size(), 1u);
        ASSERT_EQ(c[0].size(), 4u);
        EXPECT_DOUBLE_EQ(c[0][1].P[3][1], 10) << "the piece that starts at the end";
        EXPECT_DOUBLE_EQ(c[0][3].P[0][0], 20) << "then the piece turned round";
        EXPECT_DOUBLE_EQ(c[0][3].P[3][0], 10);
    }
}

TEST_F(SplitTest, TheNearestEndWithinReachGoesOnWithTheChain)
{
    // The chain ends at (10, 0); pieces shorter than the joining distance
    // put other ends within reach as well.
    struct Row {
        const char* shows;
        std::vector<bezier_stru> pieces;
        double next[2][2];  // the second piece of the chain, start and end
    } rows[] = {
        {"an end exactly there before a start half a point away",
         {line(0, 0, 10, 0), line(10, 0.5, 20, 0.5), line(10, -5, 10, 0)},
         {{10, 0}, {10, -5}}},
        {"a start a tenth of a point away before one more than half a point away",
         {line(0, 0, 10, 0), line(10, 0.6, 0, 0.6), line(10, 0.1, 10, 5)},
         {{10, 0.1}, {10, 5}}},
        {"a start exactly there before an end exactly there",
         {line(0, 0, 10, 0), line(10, 5, 10, 0), line(10, 0, 10, -5)},
         {{10, 0}, {10, -5}}},
    };
    for (const Row& row : rows)
        for (bool indexed : {false, true}) {
            auto c = chains(row.pieces, indexed);
            ASSERT_FALSE(c.empty());
            ASSERT_GE(c[0].size(), 2u) << row.shows;
            EXPECT_DOUBLE_EQ(c[0][1].P[0][0], row.next[0][0]) << row.shows << (indexed ? ", indexed" : "");
            EXPECT_DOUBLE_EQ(c[0][1].P[0][1], row.next[0][1]) << row.shows << (indexed ? ", indexed" : "");
            EXPECT_DOUBLE_EQ(c[0][1].P[3][0], row.next[1][0]) << row.shows << (indexed ? ", indexed" : "");
            EXPECT_DOUBLE_EQ(c[0][1].P[3][1], row.next[1][1]) << row.shows << (indexed ? ", indexed" : "");
        }
}

TEST_F(SplitTest, TheIndexFindsTheSameChainsAsLookingAtEveryPiece)
{
    // Pieces of many small outlines, shuffled, with ends jittered below and
    // around the joining distance, some nearly on cell borders.
    std::mt19937 random(24);
    std::uniform_real_distribution<double> jitter(-0.8, 0.8);
    for (int round = 0; round < 20; round++) {
        std::vector<bezier_stru> pieces;
        for (int o = 0; o < 40; o++) {
            double x = (o % 8) * 7.0 + (round % 2 ? 0.999999 : 0.0), y = (o / 8) * 7.0;
            double pts[5][2] = {{x, y}, {x + 5, y}, {x + 5, y + 5}, {x, y + 5}, {x, y}};
            for (int s = 0; s < 4; s++)
                pieces.push_back(line(pts[s][0] + jitter(random) * (s % 2), pts[s][1], pts[s + 1][0],
                                      pts[s + 1][1] + jitter(random)));
        }
        std::shuffle(pieces.begin(), pieces.end(), random);
        auto plain = chains(pieces, false), indexed = chains(pieces, true);
        ASSERT_EQ(plain.size(), indexed.size()) << "round " << round;
        for (size_t c = 0; c < plain.size(); c++) {
            ASSERT_EQ(plain[c].size(), indexed[c].size()) << "round " << round << ", chain " << c;
            for (size_t p = 0; p < plain[c].size(); p++)
                EXPECT_TRUE(same(plain[c][p], indexed[c][p])) << "round " << round << ", chain " << c;
        }
    }
}

// ---- Align marks ---------------------------------------------------------------------

TEST_F(SplitTest, MarkShapesHaveTheirAnchorsInOrder)
{
    struct Row {
        const char* shows;
        int32_t style;
        std::vector<AIRealPoint> anchors;
    } rows[] = {
        {"circle", kSplitMarkCircle, {{8, 20}, {10, 23}, {12, 20}, {10, 17}}},
        {"rectangle", kSplitMarkRectangle, {{8, 17}, {12, 17}, {12, 23}, {8, 23}}},
        {"triangle with its apex up", kSplitMarkTriangleUp, {{8, 17}, {12, 17}, {10, 23}}},
        {"triangle with its apex down", kSplitMarkTriangleDown, {{8, 23}, {12, 23}, {10, 17}}},
        {"diamond", kSplitMarkDiamond, {{10, 17}, {12, 20}, {10, 23}, {8, 20}}},
        {"a style of no shape", 7, {}},
    };
    ArtNode* gr = group();
    for (const Row& row : rows) {
        g->splitMarkStyle = row.style;
        ASSERT_EQ(DrawTombRect(H(gr), 10, 20, 4, 6), kNoErr);
        ArtNode* mark = kids(gr).front();
        EXPECT_TRUE(mark->closed) << row.shows;
        ASSERT_EQ(mark->segments.size(), row.anchors.size()) << row.shows;
        for (size_t i = 0; i < row.anchors.size(); i++) {
            EXPECT_FLOAT_EQ(mark->segments[i].p.h, row.anchors[i].h) << row.shows << " anchor " << i;
            EXPECT_FLOAT_EQ(mark->segments[i].p.v, row.anchors[i].v) << row.shows << " anchor " << i;
            // Only the circle's anchors are smooth points.
            EXPECT_EQ(mark->segments[i].corner != 0, row.style != kSplitMarkCircle) << row.shows << " anchor " << i;
        }
    }
    // The circle's handles reach 0.55 of the radius along its tangents.
    g->splitMarkStyle = kSplitMarkCircle;
    ASSERT_EQ(DrawTombRect(H(gr), 10, 20, 4, 6), kNoErr);
    const AIPathSegment& west = kids(gr).front()->segments[0];
    EXPECT_FLOAT_EQ(west.in.v, 20 - 0.55f * 3);
    EXPECT_FLOAT_EQ(west.out.v, 20 + 0.55f * 3);
    EXPECT_FLOAT_EQ(kids(gr).front()->segments[1].out.h, 10 + 0.55f * 2);
    // Every anchor of the circle is smooth: its two handles stand opposite
    // each other about it, so the mark has no kink.
    for (const AIPathSegment& s : kids(gr).front()->segments) {
        EXPECT_FLOAT_EQ(s.in.h + s.out.h, 2 * s.p.h) << "anchor at " << s.p.h << ", " << s.p.v;
        EXPECT_FLOAT_EQ(s.in.v + s.out.v, 2 * s.p.v) << "anchor at " << s.p.h << ", " << s.p.v;
    }
}

TEST_F(SplitTest, NeighbouringPanelsPutTheirSharedMarksAtTheSamePoints)
{
    for (int32_t order = 1; order <= 8; order++) {
        SCOPED_TRACE("order " + std::to_string(order));
        // The same tiling at the origin and moved off it: the marks move with
        // the art, wherever the origin lies.
        std::map<std::pair<float, float>, int> seen[2];
        AIRealRect art{};  // the square's bounds at the origin, its stroke taken in
        const float dx[2] = {0, 20}, dy[2] = {0, 30};
        for (int at = 0; at < 2; at++) {
            doc_ = &documents().newDocument();
            g->splitSortMethod = order;
            g->splitMarkStyle = kSplitMarkRectangle;
            ArtNode* square = rect(dx[at], dy[at], 300 + dx[at], 200 + dy[at]);
            ArtNode* gr = guides({{'x', 100 + dx[at]}, {'x', 200 + dx[at]}, {'y', 100 + dy[at]}});
            select({square});
            if (at == 0) {
                ASSERT_EQ(sAIArt->GetArtBounds(H(square), &art), kNoErr);
            }
            std::vector<AIArtHandle> before = layerArt();
            ASSERT_EQ(doClipArt(H(gr)), kNoErr);
            std::vector<ArtNode*> made = panels(before);
            ASSERT_EQ(made.size(), 6u);
            for (ArtNode* p : made)
                for (ArtNode* m : marks(p)) {
                    AIRealPoint c = centreOf(m);
                    seen[at][{std::round((c.h - dx[at]) * 1000) / 1000, std::round((c.v - dy[at]) * 1000) / 1000}]++;
                }
        }
        // The ends of the three guides and their two crossings carry a mark
        // each, made by the panels beside it, never by one alone.
        EXPECT_EQ(seen[0].size(), 8u);
        for (auto& [at, panelsMaking] : seen[0]) EXPECT_GE(panelsMaking, 2) << at.first << ", " << at.second;
        // The guides end 5 points beyond the art's bounds on every side, and
        // the marks there stand outside those ends by half a mark (5 mm).
        float low[2] = {1e9f, 1e9f}, high[2] = {-1e9f, -1e9f};
        for (auto& [at, panelsMaking] : seen[0]) {
            low[0] = std::min(low[0], at.first), high[0] = std::max(high[0], at.first);
            low[1] = std::min(low[1], at.second), high[1] = std::max(high[1], at.second);
        }
        const double half = 2.5 * kMM;
        EXPECT_NEAR(low[0], art.left - 5 - half, 1e-2);
        EXPECT_NEAR(high[0], art.right + 5 + half, 1e-2);
        EXPECT_NEAR(low[1], art.bottom - 5 - half, 1e-2);
        EXPECT_NEAR(high[1], art.top + 5 + half, 1e-2);
        EXPECT_EQ(seen[1], seen[0]) << "the marks of the tiling moved off the origin";
    }
}

TEST_F(SplitTest, AOneRowTilingHasItsMarksBesideTheGuidesOnly)
{
    g->splitMarkStyle = kSplitMarkRectangle;
    ArtNode* gr = group();
    const AIRealRect mark[3] = {{200, 105, 305, -5}, {100, 105, 200, -5}, {-5, 105, 100, -5}};
    const size_t count[3] = {2, 4, 2};
    for (int k = 0; k < 3; k++) {
        size_t was = gr->children.size();
        ASSERT_EQ(DrawTomb(H(gr), mark[k], k, 3, 1), kNoErr);
        EXPECT_EQ(gr->children.size() - was, count[k]) << "panel " << k;
    }
    double half = 2.5 * kMM;
    std::set<std::pair<float, float>> centres;
    for (ArtNode* m : kids(gr)) {
        AIRealPoint c = centreOf(m);
        centres.insert({c.h, c.v});
        EXPECT_TRUE(std::fabs(c.h - (100 - half)) < 1e-3 || std::fabs(c.h - (200 - half)) < 1e-3) << c.h;
        EXPECT_TRUE(std::fabs(c.v - (105 + half)) < 1e-3 || std::fabs(c.v - (-5 - half)) < 1e-3) << c.v;
    }
    EXPECT_EQ(centres.size(), 4u);
}

TEST_F(SplitTest, TheMarkAtTheGuidesCrossingLiesAwayFromTheStartCorner)
{
    // Two by two panels, guides at 100; marks 4 x 6 mm. The first panel's
    // mark at the crossing lies a half mark away from the start corner.
    struct Row {
        int32_t order;
        int sx, sy;  // the offset's direction: away from the start corner
    } rows[] = {{1, -1, -1}, {2, 1, -1}, {3, -1, 1}, {4, 1, 1}, {5, -1, -1}, {6, 1, -1}, {7, -1, 1}, {8, 1, 1}};
    g->splitMarkStyle = kSplitMarkRectangle;
    g->splitMarkWidth = 4;
    g->splitMarkHeight = 6;
    ArtNode* gr = guides({{'x', 100}, {'y', 100}});
    for (const Row& row : rows) {
        SCOPED_TRACE("order " + std::to_string(row.order));
        g->splitSortMethod = row.order;
        AIRealRect* clip = nullptr;
        AIRealRect* mark = nullptr;
        int32_t panels = 0, cols = 0, rows = 0;
        ASSERT_EQ(getClipRect(H(gr), &clip, &mark, &panels, AIRealRect{0, 200, 200, 0}, &cols, &rows), kNoErr);
        ArtNode* group = this->group();
        ASSERT_EQ(DrawTomb(H(group), mark[0], 0, cols, rows), kNoErr);
        free(clip);
        free(mark);
        bool found = false;
        for (ArtNode* m : kids(group)) {
            AIRealPoint c = centreOf(m);
            found = found || (std::fabs(c.h - (100 + row.sx * 2 * kMM)) < 1e-3 && std::fabs(c.v - (100 + row.sy * 3 * kMM)) < 1e-3);
        }
        EXPECT_TRUE(found);
    }
}

TEST_F(SplitTest, MarksAreMadeDownTheColumnsOrAlongTheRowsAsTheOrderRuns)
{
    // The bottom-left panel of two by two (guides at 100), panel 3 in orders 1
    // and 5: its marks sit below the upright guide's foot and left of the level
    // guide's end; the one made last lies on top.
    g->splitMarkStyle = kSplitMarkRectangle;
    const AIRealRect bottomLeft{-5, 100, 100, -5};
    double half = 2.5 * kMM;
    struct Row {
        const char* shows;
        int32_t order;
        AIRealPoint top, under;
    } rows[] = {
        {"order 1: b then c", 1, {float(-5 - half), float(100 - half)}, {float(100 - half), float(-5 - half)}},
        {"order 5: c then b", 5, {float(100 - half), float(-5 - half)}, {float(-5 - half), float(100 - half)}},
        {"order 0: none", 0, {0, 0}, {0, 0}},
    };
    for (const Row& row : rows) {
        g->splitSortMethod = row.order;
        ArtNode* gr = group();
        ASSERT_EQ(DrawTomb(H(gr), bottomLeft, 3, 2, 2), kNoErr);
        std::vector<ArtNode*> m = kids(gr);
        if (row.order == 0) {
            EXPECT_TRUE(m.empty()) << row.shows;
            continue;
        }
        ASSERT_EQ(m.size(), 2u) << row.shows;
        EXPECT_NEAR(centreOf(m[0]).h, row.top.h, 1e-3) << row.shows;
        EXPECT_NEAR(centreOf(m[0]).v, row.top.v, 1e-3) << row.shows;
        EXPECT_NEAR(centreOf(m[1]).h, row.under.h, 1e-3) << row.shows;
        EXPECT_NEAR(centreOf(m[1]).v, row.under.v, 1e-3) << row.shows;
    }
}

}  // namespace
