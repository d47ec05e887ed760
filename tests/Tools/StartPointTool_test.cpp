// The start-point tool: markers on the first anchors of closed paths, the
// nearest anchor made the first, a new anchor where a curve is clicked, the
// box for an open path, and what happens when the marker layer or a read is
// missing.
#include <cmath>
#include <utility>

#include <gmock/gmock.h>

#include "Common/Suites.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"
#include "Tools/StartPointTool.h"
#include "Tools/ToolFixture.h"

using namespace vt;
using namespace vt::host;

namespace {

class StartPointTool : public test::ToolTest {
protected:
    LayerNode* infoLayer() { return d().layerByTitle(kInformationLayerTitle); }
    std::vector<AIRealPoint> markers()
    {
        std::vector<AIRealPoint> v;
        if (LayerNode* l = infoLayer())
            for (ArtNode* m : l->root->children) {
                AIRealRect r;
                if (artBounds(m, false, r)) v.push_back(AIRealPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            }
        return v;
    }
    static std::vector<AIRealPoint> anchors(const ArtNode* p)
    {
        std::vector<AIRealPoint> v;
        for (const AIPathSegment& s : p->segments) v.push_back(s.p);
        return v;
    }
    void click(float x, float y)
    {
        run("track " + std::to_string(x) + " " + std::to_string(y) + "\nmouse-down " + std::to_string(x) + " " +
            std::to_string(y) + "\nmouse-up " + std::to_string(x) + " " + std::to_string(y));
    }
};

const double kPi = 3.14159265358979;

MATCHER_P2(IsPoint, x, y, "") { return std::fabs(arg.h - x) < 1e-3 && std::fabs(arg.v - y) < 1e-3; }

TEST_F(StartPointTool, ClosedPathsAreMarkedOpenOnesNotAndTheLayerGoesWithTheTool)
{
    ArtNode* letters = group();
    square(100, 100, 50, letters);
    square(200, 120, 50, letters);
    polygon({{300, 300}, {350, 300}}, false, letters);
    square(10, 20, 30);
    // A letter with a counter: both of its closed paths are marked.
    ArtNode* o = d().newArt(kCompoundPathArt);
    d().place(o, kPlaceInsideOnBottom, root());
    square(400, 10, 60, o);
    square(420, 30, 20, o);
    ArtNode* text = d().newArt(kTextFrameArt);
    text->textFrame->text = "no paths";
    d().place(text, kPlaceInsideOnBottom, root());
    run("tool \"Start Point Tool\"");
    ASSERT_NE(infoLayer(), nullptr);
    EXPECT_EQ(d().layers().front(), infoLayer());
    EXPECT_EQ(d().currentLayer(), d().layers()[1]);  // the user's layer stays current
    EXPECT_THAT(markers(), ::testing::UnorderedElementsAre(IsPoint(100, 100), IsPoint(200, 120), IsPoint(10, 20),
                                                           IsPoint(400, 10), IsPoint(420, 30)));
    // Each marker is a small orange disc: 5 points across, filled and outlined in
    // orange (no cyan, half magenta, full yellow), its outline 1 point wide.
    for (ArtNode* m : infoLayer()->root->children) {
        AIRealRect r;
        ASSERT_TRUE(artBounds(m, false, r));
        EXPECT_NEAR(r.right - r.left, 5, 1e-3);
        EXPECT_NEAR(r.top - r.bottom, 5, 1e-3);
        EXPECT_NEAR(std::fabs(pathArea(m)), kPi * 2.5 * 2.5, 0.05) << "round, not square";
        const AIPathStyle& style = m->style;
        EXPECT_TRUE(style.fillPaint && style.strokePaint);
        for (const AIColor& c : {style.fill.color, style.stroke.color}) {
            ASSERT_EQ(c.kind, kFourColor);
            EXPECT_EQ(c.c.f.cyan, 0.0f);
            EXPECT_EQ(c.c.f.magenta, 0.5f);
            EXPECT_EQ(c.c.f.yellow, 1.0f);
            EXPECT_EQ(c.c.f.black, 0.0f);
        }
        EXPECT_EQ(style.stroke.width, 1.0f);
    }
    run("tool \"Selection Tool\"");
    EXPECT_EQ(infoLayer(), nullptr);
}

TEST_F(StartPointTool, AMarkerLayerSavedWithTheDocumentIsReplaced)
{
    square(10, 20, 30);
    // Two of them: a document saved twice while the tool was chosen.
    for (int k = 0; k < 2; ++k) {
        LayerNode* old = d().insertLayer(0, kInformationLayerTitle);
        ArtNode* stale = d().newArt(kPathArt);
        stale->segments = {cornerSegment(500, 500)};
        d().place(stale, kPlaceInsideOnTop, old->root);
    }
    run("tool \"Start Point Tool\"");
    int count = 0;
    for (LayerNode* l : d().layers()) count += l->title == kInformationLayerTitle;
    EXPECT_EQ(count, 1);
    EXPECT_THAT(markers(), ::testing::ElementsAre(IsPoint(10, 20)));
}

TEST_F(StartPointTool, AClickMovesTheStartPoint)
{
    struct Row {
        const char* name;
        AIRealPoint click;
        std::vector<AIRealPoint> anchors;  // afterwards, of the square (0,0)-(100,100)
        int cursor;                        // while tracking over the click point
    };
    const Row rows[] = {
        {"an anchor becomes the first, the order kept round", {100, 101}, {{100, 100}, {0, 100}, {0, 0}, {100, 0}}, 6002},
        {"the first anchor clicked changes nothing", {0, 0}, {{0, 0}, {100, 0}, {100, 100}, {0, 100}}, 6002},
        {"a side: a new anchor, first, the outline kept", {100, 40}, {{100, 40}, {100, 100}, {0, 100}, {0, 0}, {100, 0}}, 6016},
        {"the closing side: the new anchor between the last and the first", {0, 30},
         {{0, 30}, {0, 0}, {100, 0}, {100, 100}, {0, 100}}, 6016},
    };
    for (const Row& r : rows) {
        if (!session_) SetUp();  // a fresh session and document for every row
        ArtNode* sq = square(0, 0, 100);
        run("tool \"Start Point Tool\"\ntrack " + std::to_string(r.click.h) + " " + std::to_string(r.click.v));
        EXPECT_EQ(tools().cursorId, r.cursor) << r.name;
        click(r.click.h, r.click.v);
        std::vector<AIRealPoint> got = anchors(sq);
        ASSERT_EQ(got.size(), r.anchors.size()) << r.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_NEAR(got[i].h, r.anchors[i].h, 0.01) << r.name << " anchor " << i;
            EXPECT_NEAR(got[i].v, r.anchors[i].v, 0.01) << r.name << " anchor " << i;
        }
        EXPECT_TRUE(sq->closed) << r.name;
        EXPECT_NEAR(pathArea(sq), 10000, 0.01) << r.name;
        EXPECT_THAT(markers(), ::testing::ElementsAre(IsPoint(r.anchors[0].h, r.anchors[0].v))) << r.name;
        run("tool \"Selection Tool\"");
        stopSession();
    }
}

// A click on a curve splits it where it was clicked and keeps its shape: a
// circle of four cubics stays on its circle, to the cubics' own 0.03 %.
TEST_F(StartPointTool, AClickOnACurveSplitsItWithoutChangingItsShape)
{
    const float c = 50, r = 50, k = r * 0.5522847f;
    ArtNode* circle = polygon({{c + r, c}, {c, c + r}, {c - r, c}, {c, c - r}});
    std::vector<AIPathSegment> round = circle->segments.toVector();
    for (AIPathSegment& s : round) {
        float dx = s.p.v - c, dy = c - s.p.h;  // the turn direction, counter-clockwise
        s.in = AIRealPoint{s.p.h + dx * k / r, s.p.v + dy * k / r};
        s.out = AIRealPoint{s.p.h - dx * k / r, s.p.v - dy * k / r};
        s.corner = 0;
    }
    circle->segments = round;
    float at = static_cast<float>(c + r * std::cos(kPi / 6)), up = static_cast<float>(c + r * std::sin(kPi / 6));
    run("tool \"Start Point Tool\"");
    click(at, up);
    ASSERT_EQ(circle->segments.size(), 5u);
    EXPECT_NEAR(circle->segments[0].p.h, at, 0.05);
    EXPECT_NEAR(circle->segments[0].p.v, up, 0.05);
    for (size_t i = 0; i < 5; ++i) {
        const AIPathSegment &a = circle->segments[i], &b = circle->segments[(i + 1) % 5];
        for (double t : {0.0, 0.25, 0.5, 0.75}) {
            double u = 1 - t, w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
            double x = w[0] * a.p.h + w[1] * a.out.h + w[2] * b.in.h + w[3] * b.p.h;
            double y = w[0] * a.p.v + w[1] * a.out.v + w[2] * b.in.v + w[3] * b.p.v;
            EXPECT_NEAR(std::hypot(x - c, y - c), r, 0.02) << "piece " << i << " at " << t;
        }
    }
    run("tool \"Selection Tool\"");
}

// The host's path writes, of which the n-th (counting from 1) is refused.
struct PathWrites {
    static inline int refused = 0, made = 0;
    static inline decltype(AIPathSuite::SetPathSegmentCount) setCount = nullptr;
    static inline decltype(AIPathSuite::SetPathSegments) setSegments = nullptr;
    static inline decltype(AIPathSuite::InsertPathSegments) insertSegments = nullptr;
    static bool refuse() { return ++made == refused; }
    static ASErr count(AIArtHandle path, int32_t n) { return refuse() ? kBadParameterErr : setCount(path, n); }
    static ASErr set(AIArtHandle path, int32_t first, int32_t n, const AIPathSegment* s)
    {
        return refuse() ? kBadParameterErr : setSegments(path, first, n, s);
    }
    static ASErr insert(AIArtHandle path, int32_t after, int32_t n, const AIPathSegment* s)
    {
        return refuse() ? kBadParameterErr : insertSegments(path, after, n, s);
    }
    explicit PathWrites(int n)
    {
        refused = n;
        made = 0;
        auto& suite = suiteTable<AIPathSuite>();
        setCount = suite.SetPathSegmentCount;
        setSegments = suite.SetPathSegments;
        insertSegments = suite.InsertPathSegments;
        suite.SetPathSegmentCount = count;
        suite.SetPathSegments = set;
        suite.InsertPathSegments = insert;
    }
    ~PathWrites()
    {
        auto& suite = suiteTable<AIPathSuite>();
        suite.SetPathSegmentCount = setCount;
        suite.SetPathSegments = setSegments;
        suite.InsertPathSegments = insertSegments;
    }
};

TEST_F(StartPointTool, ARefusedWriteOfANewAnchorLeavesThePathAsItWas)
{
    for (int refused : {1, 2}) {
        SCOPED_TRACE(refused);
        if (!session_) SetUp();
        // A square whose right side bulges out: splitting it changes the
        // handles of both its anchors.
        ArtNode* sq = square(0, 0, 100);
        std::vector<AIPathSegment> bulging = sq->segments.toVector();
        bulging[1].out = AIRealPoint{120, 30};
        bulging[2].in = AIRealPoint{120, 70};
        sq->segments = bulging;
        const std::vector<AIPathSegment> before = sq->segments.toVector();
        run("tool \"Start Point Tool\"");
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        {
            PathWrites writes(refused);
            EXPECT_EQ(toolStartPointMouseUp(AIRealPoint{115, 50}), kBadParameterErr);  // the bulge's middle
        }
        (void)releaseSuites(hostApp().basic());
        ASSERT_EQ(sq->segments.size(), before.size());
        for (size_t k = 0; k < before.size(); ++k) {
            const AIPathSegment &now = sq->segments[k], &was = before[k];
            for (auto [a, b] : {std::pair{now.p, was.p}, std::pair{now.in, was.in}, std::pair{now.out, was.out}})
                EXPECT_TRUE(a.h == b.h && a.v == b.v) << "anchor " << k;
        }
        EXPECT_THAT(markers(), ::testing::ElementsAre(IsPoint(0, 0))) << "the marker stays";
        stopSession();
    }
}

TEST_F(StartPointTool, ATieGoesToTheAnchorMetFirst)
{
    ArtNode* sq = square(0, 0, 100);
    run("tool \"Start Point Tool\"");
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    // (100, 50) lies as far from (100, 0) as from (100, 100).
    EXPECT_EQ(changeStartPoint(Document::handle(sq), AIRealPoint{100, 50}), kNoErr);
    EXPECT_THAT(anchors(sq)[0], IsPoint(100, 0));
    // Without the marker layer nothing changes.
    run("tool \"Selection Tool\"");
    EXPECT_EQ(changeStartPoint(Document::handle(sq), AIRealPoint{0, 100}), kNoInformationLayerErr);
    EXPECT_THAT(anchors(sq)[0], IsPoint(100, 0));
    EXPECT_EQ(delPathStartPoint(Document::handle(polygon({{0, 0}, {5, 5}}, false))), kPathNotClosedErr);
    // A curve that cannot be read is reported and keeps only its degree.
    bezier_stru b{};
    EXPECT_EQ(getCubicBezier(Document::handle(sq), 7, &b), kBadSegmentRangeErr);
    EXPECT_EQ(b.degree, 3);
    EXPECT_EQ(b.P[0][0], 0);
    (void)releaseSuites(hostApp().basic());
}

TEST_F(StartPointTool, AClickOnTextOrOffEveryPathIsIgnored)
{
    ArtNode* sq = square(0, 0, 100);
    ArtNode* text = d().newArt(kTextFrameArt);
    text->textFrame->text = "OPEN";
    text->textFrame->origin = AIRealPoint{300, 300};
    text->textFrame->fontSize = 40;
    d().place(text, kPlaceInsideOnTop, root());
    AIRealRect box;
    ASSERT_TRUE(artBounds(text, false, box));
    const AIRealPoint onText = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    run("tool \"Start Point Tool\"");
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    for (AIRealPoint click : {onText, AIRealPoint{500, 50}}) {
        EXPECT_EQ(toolStartPointMouseUp(click), kNoErr) << click.h;
        EXPECT_THAT(anchors(sq)[0], IsPoint(0, 0));
        EXPECT_THAT(markers(), ::testing::ElementsAre(IsPoint(0, 0)));
    }
    (void)releaseSuites(hostApp().basic());
}

TEST_F(StartPointTool, AnOpenPathShowsTheBoxAndStaysAsItWas)
{
    ArtNode* line = polygon({{0, 0}, {100, 0}, {100, 100}}, false);
    run("tool \"Start Point Tool\"\ndialog \"Error Message Dialog\"\nclick 1\nend-dialog\n"
        "track 100 100\nmouse-down 100 100\nmouse-up 100 100\nexpect-dialog \"Error Message Dialog\"");
    EXPECT_THAT(anchors(line)[0], IsPoint(0, 0));
    EXPECT_TRUE(markers().empty());
}

}  // namespace
