// The document suites called straight from their tables, as the plug-in calls
// them: handles the plug-in may hold too long are refused with the suite's
// own error, and the shapes it asks for come out as it expects them.
#include <cmath>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "Documents/Document.h"
#include "HostFixture.h"
#include "Host.h"
#include "Suites/SuiteTables.h"

using namespace vt;

namespace {

class DocumentSuites : public ::testing::Test {
protected:
    DocumentSuites()
    {
        host::HostOptions options;
        options.out = &out_;
        host_ = std::make_unique<host::Host>(options);
        host::documents().newDocument();
    }
    AIArtSuite& art() { return host::suiteTable<AIArtSuite>(); }
    AIPathSuite& path() { return host::suiteTable<AIPathSuite>(); }
    AILayerSuite& layers() { return host::suiteTable<AILayerSuite>(); }
    AIShapeConstructionSuite& shapes() { return host::suiteTable<AIShapeConstructionSuite>(); }

    std::ostringstream out_;
    std::unique_ptr<host::Host> host_;
};

TEST_F(DocumentSuites, HandlesHeldTooLongAreRefusedNotFollowed)
{
    AIArtHandle group = nullptr, square = nullptr, gone = nullptr;
    ASSERT_EQ(art().NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group), kNoErr);
    ASSERT_EQ(shapes().NewRect(10, 0, 0, 10, false, &square), kNoErr);
    ASSERT_EQ(shapes().NewRect(10, 0, 0, 10, false, &gone), kNoErr);
    ASSERT_EQ(art().DisposeArt(gone), kNoErr);
    AILayerHandle layer = nullptr, deleted = nullptr;
    ASSERT_EQ(layers().GetFirstLayer(&layer), kNoErr);
    ASSERT_EQ(layers().InsertLayer(layer, kPlaceBelow, &deleted), kNoErr);
    ASSERT_EQ(layers().DeleteLayer(deleted), kNoErr);
    AIArtHandle layerGroup = nullptr;
    ASSERT_EQ(art().GetFirstArtOfLayer(layer, &layerGroup), kNoErr);
    int32_t count = 0;
    AIBoolean closed = false;
    int16_t type = 0;

    struct Row {
        const char* shows;
        std::function<ASErr()> call;
        ASErr expected;
    } rows[] = {
        {"a path operation on a path", [&] { return path().GetPathSegmentCount(square, &count); }, kNoErr},
        {"a path operation on a group", [&] { return path().GetPathSegmentCount(group, &count); }, kWrongArtTypeErr},
        {"disposed art", [&] { return path().GetPathClosed(gone, &closed); }, kBadArtErr},
        {"disposed art, again", [&] { return art().GetArtType(gone, &type); }, kBadArtErr},
        {"a segment range past the end", [&] {
             AIPathSegment s[2];
             return path().GetPathSegments(square, 3, 2, s);
         },
         kBadSegmentRangeErr},
        {"a deleted layer", [&] { return layers().SetLayerVisible(deleted, false); }, kBadLayerErr},
        {"a layer asked below a deleted one", [&] { return layers().InsertLayer(deleted, kPlaceBelow, nullptr); },
         kBadLayerErr},
        {"a layer's own group disposed as art", [&] { return art().DisposeArt(layerGroup); }, kBadParameterErr},
        {"a layer's own group duplicated as art",
         [&] { return art().DuplicateArt(layerGroup, kPlaceAboveAll, nullptr, nullptr); }, kBadArtErr},
        // Above or below all needs no art to go by; every other place does.
        {"art moved below all", [&] { return art().ReorderArt(square, kPlaceBelowAll, nullptr); }, kNoErr},
        {"art moved above all", [&] { return art().ReorderArt(square, kPlaceAboveAll, nullptr); }, kNoErr},
        {"art moved beside no art", [&] { return art().ReorderArt(square, kPlaceAbove, nullptr); }, kBadArtErr},
        {"a copy below all", [&] { return art().DuplicateArt(square, kPlaceBelowAll, nullptr, nullptr); }, kNoErr},
        {"a copy above all", [&] { return art().DuplicateArt(square, kPlaceAboveAll, nullptr, nullptr); }, kNoErr},
        {"a copy beside no art", [&] { return art().DuplicateArt(square, kPlaceBelow, nullptr, nullptr); }, kBadArtErr},
    };
    for (const Row& row : rows) EXPECT_EQ(row.call(), row.expected) << row.shows;
    EXPECT_EQ(count, 4);
    EXPECT_FALSE(art().ValidArt(gone));

    // Once the document is closed, none of its handles lead anywhere, and
    // what needs a document says there is none.
    host::documents().close();
    auto& document = host::suiteTable<AIDocumentSuite>();
    AIDocumentHandle handle = nullptr;
    char name[8] = "kept";
    const Row afterClosing[] = {
        {"art of the closed document", [&] { return art().GetArtType(square, &type); }, kBadArtErr},
        {"counting layers", [&] { return layers().CountLayers(&count); }, kNoDocumentErr},
        {"a new rectangle", [&] { return shapes().NewRect(10, 0, 0, 10, false, &square); }, kNoDocumentErr},
        {"the document's handle", [&] { return document.GetDocument(&handle); }, kNoDocumentErr},
        {"the document's file name", [&] { return document.GetDocumentFileName(name, sizeof name); }, kNoDocumentErr},
    };
    for (const Row& row : afterClosing) EXPECT_EQ(row.call(), row.expected) << row.shows;
    EXPECT_EQ(handle, nullptr);
    EXPECT_STREQ(name, "kept");
}

TEST_F(DocumentSuites, ShapesComeOutWithTheAnchorsAndAreaAsked)
{
    const double pi = 3.14159265358979;
    struct Row {
        const char* shows;
        std::function<ASErr(AIArtHandle*)> make;
        int32_t anchors;
        double area;  // counter-clockwise positive
    } rows[] = {
        {"a rectangle", [&](AIArtHandle* a) { return shapes().NewRect(50, 0, 0, 100, false, a); }, 4, 5000},
        {"a reversed rectangle", [&](AIArtHandle* a) { return shapes().NewRect(50, 0, 0, 100, true, a); }, 4, -5000},
        {"corners of no radius", [&](AIArtHandle* a) { return shapes().NewRoundedRect(50, 0, 0, 100, 0, 0, false, a); },
         4, 5000},
        {"rounded corners", [&](AIArtHandle* a) { return shapes().NewRoundedRect(50, 0, 0, 100, 10, 10, false, a); },
         8, 5000 - (4 - pi) * 100},
        {"corners as round as the sides are long: the sides fall away",
         [&](AIArtHandle* a) { return shapes().NewRoundedRect(100, 0, 0, 100, 50, 50, false, a); }, 4, pi * 2500},
        {"corners rounder than half the sides, away from the origin: a circle",
         [&](AIArtHandle* a) { return shapes().NewRoundedRect(350, 300, 250, 400, 80, 80, false, a); }, 4, pi * 2500},
        {"an oval round the origin", [&](AIArtHandle* a) { return shapes().NewOval(10, -20, -10, 20, false, a); }, 4,
         pi * 20 * 10},
        {"no height to round: square corners",
         [&](AIArtHandle* a) { return shapes().NewRoundedRect(250, 300, 200, 400, 10, 0, false, a); }, 4, 5000},
        {"no width to round: square corners",
         [&](AIArtHandle* a) { return shapes().NewRoundedRect(250, 300, 200, 400, 0, 10, false, a); }, 4, 5000},
        {"corners rounder across than up, away from the origin",
         [&](AIArtHandle* a) { return shapes().NewRoundedRect(250, 300, 200, 400, 10, 5, false, a); }, 8,
         5000 - (4 - pi) * 50},
        {"the same given upside down and right to left",
         [&](AIArtHandle* a) { return shapes().NewRoundedRect(200, 400, 250, 300, 10, 5, false, a); }, 8,
         5000 - (4 - pi) * 50},
        {"the same reversed", [&](AIArtHandle* a) { return shapes().NewRoundedRect(250, 300, 200, 400, 10, 5, true, a); },
         8, -(5000 - (4 - pi) * 50)},
        {"an oval away from the origin", [&](AIArtHandle* a) { return shapes().NewOval(260, 300, 200, 340, false, a); },
         4, pi * 20 * 30},
    };
    for (const Row& row : rows) {
        AIArtHandle shape = nullptr;
        ASSERT_EQ(row.make(&shape), kNoErr) << row.shows;
        int32_t anchors = 0;
        AIReal area = 0;
        AIBoolean closed = false;
        EXPECT_EQ(path().GetPathSegmentCount(shape, &anchors), kNoErr);
        EXPECT_EQ(anchors, row.anchors) << row.shows;
        EXPECT_EQ(path().GetPathClosed(shape, &closed), kNoErr);
        EXPECT_TRUE(closed) << row.shows;
        EXPECT_EQ(path().GetPathArea(shape, &area), kNoErr);
        // Quarter arcs as cubics hold a little more than the true quarter circles.
        EXPECT_NEAR(area, row.area, std::fabs(row.area) * 0.001) << row.shows;
    }
}

TEST_F(DocumentSuites, ARectangleOnTheEdgeOfAnotherLiesInsideIt)
{
    auto& math = host::suiteTable<AIRealMathSuite>();
    const AIRealRect panel{0, 100, 50, 0};  // left, top, right, bottom
    struct Row {
        const char* shows;
        AIRealRect r;
        bool inside;
    } rows[] = {
        {"well inside", {10, 90, 40, 10}, true},
        {"the same rectangle", panel, true},
        {"a line on the left edge", {0, 60, 0, 20}, true},
        {"a point at a corner", {50, 0, 50, 0}, true},
        {"crossing the right edge", {40, 90, 60, 10}, false},
        {"above the top", {10, 120, 40, 101}, false},
        {"holding the panel", {-1, 101, 51, -1}, false},
    };
    for (const Row& row : rows) EXPECT_EQ(math.AIRealRectInAIRealRect(&row.r, &panel) != 0, row.inside) << row.shows;
    EXPECT_FALSE(math.AIRealRectInAIRealRect(nullptr, &panel));
}

// Two rectangles joined, cut to what they share, a rectangle drawn in and a
// point tried: figures worked out by hand, away from the origin, edges included.
TEST_F(DocumentSuites, RectanglesJoinMeetAndHoldByTheirEdges)
{
    auto& math = host::suiteTable<AIRealMathSuite>();
    const AIRealRect a{10, 50, 30, 20};  // left, top, right, bottom
    struct Row {
        const char* shows;
        AIRealRect b;
        AIRealRect joined;
        bool meet;
        AIRealRect shared;
    } rows[] = {
        {"overlapping up and right", {25, 80, 60, 40}, {10, 80, 60, 20}, true, {25, 50, 30, 40}},
        {"holding it", {0, 90, 70, 5}, {0, 90, 70, 5}, true, a},
        {"touching its right edge", {30, 45, 40, 25}, {10, 50, 40, 20}, true, {30, 45, 30, 25}},
        {"touching its top right corner", {30, 60, 40, 50}, {10, 60, 40, 20}, true, {30, 50, 30, 50}},
        {"beside it, a little right", {31, 50, 40, 20}, {10, 50, 40, 20}, false, {0, 0, 0, 0}},
        {"below it, a little down", {10, 19, 30, 0}, {10, 50, 30, 0}, false, {0, 0, 0, 0}},
        {"left of it and above", {0, 70, 9, 51}, {0, 70, 30, 20}, false, {0, 0, 0, 0}},
    };
    auto same = [](const AIRealRect& x, const AIRealRect& y) {
        return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        AIRealRect got{-1, -1, -1, -1};
        math.AIRealRectUnion(&a, &row.b, &got);
        EXPECT_TRUE(same(got, row.joined)) << got.left << " " << got.top << " " << got.right << " " << got.bottom;
        math.AIRealRectUnion(&row.b, &a, &got);
        EXPECT_TRUE(same(got, row.joined)) << "either way round";
        got = AIRealRect{-1, -1, -1, -1};
        EXPECT_EQ(math.AIRealRectIntersect(&a, &row.b, &got) != 0, row.meet);
        EXPECT_TRUE(same(got, row.shared)) << got.left << " " << got.top << " " << got.right << " " << got.bottom;
        EXPECT_EQ(math.AIRealRectIntersect(&row.b, &a, nullptr) != 0, row.meet) << "either way round";
        EXPECT_EQ(math.AIRealRectOverlap(&a, &row.b) != 0, row.meet);
    }

    AIRealRect inset = a;
    math.AIRealRectInset(&inset, 2, 3);
    EXPECT_TRUE(same(inset, AIRealRect{12, 47, 28, 23})) << "each side moved inwards";

    struct PointRow {
        const char* shows;
        AIRealPoint p;
        bool inside;
    } points[] = {
        {"in the middle", {20, 35}, true},
        {"on the bottom left corner", {10, 20}, true},
        {"on the top right corner", {30, 50}, true},
        {"just left", {9.9f, 35}, false},
        {"just right", {30.1f, 35}, false},
        {"just above", {20, 50.1f}, false},
        {"just below", {20, 19.9f}, false},
    };
    const AIRealRect upsideDown{10, 20, 30, 50};  // top and bottom given the other way round
    for (const PointRow& row : points) {
        EXPECT_EQ(math.AIRealPointInAIRealRect(&row.p, &a) != 0, row.inside) << row.shows;
        EXPECT_EQ(math.AIRealPointInAIRealRect(&row.p, &upsideDown) != 0, row.inside) << row.shows << ", upside down";
    }

    AIRealMatrix m{};
    math.AIRealMatrixSetScale(&m, 2, 3);
    math.AIRealMatrixConcatTranslate(&m, 5, -7);
    math.AIRealMatrixConcatTranslate(&m, 1, 2);
    AIRealPoint in{4, 5}, out{};
    math.AIRealMatrixXformPoint(&m, &in, &out);
    EXPECT_TRUE(out.h == 14 && out.v == 10) << out.h << " " << out.v << ": scaled, then moved by both";
}

// A transform moves the art; its stroke widths change only when asked for.
TEST_F(DocumentSuites, StrokesAreScaledOnlyWhenLinesAreAskedFor)
{
    auto& transform = host::suiteTable<AITransformArtSuite>();
    const AIRealMatrix twice{2, 0, 0, 2, 5, 0};
    struct Row {
        const char* shows;
        int32_t flags;
        AIReal left, width;
    } rows[] = {
        {"the objects alone", kTransformObjects, 25, 1.5f},
        {"the objects and their lines", kTransformObjects | kScaleLines, 25, 4.5f},
        {"lines without the objects", kScaleLines, 10, 1.5f},
    };
    for (const Row& row : rows) {
        AIArtHandle rect = nullptr;
        ASSERT_EQ(shapes().NewRect(40, 10, 20, 30, false, &rect), kNoErr);
        host::ArtNode* n = host::currentDocument()->art(rect);
        n->style.edit().strokePaint = 1;
        n->style.edit().stroke.width = 1.5f;
        ASSERT_EQ(transform.TransformArt(rect, &twice, 3, row.flags), kNoErr) << row.shows;
        AIRealRect b{};
        ASSERT_EQ(art().GetArtBounds(rect, &b), kNoErr);
        EXPECT_EQ(b.left, row.left - row.width / 2) << row.shows << ": the bounds take in half the stroke";
        EXPECT_EQ(n->style->stroke.width, row.width) << row.shows;
    }
}

}  // namespace

namespace {

// The parameter at a length lands at that length along the curve, also
// where the curve's speed is uneven, and the whole length gives the end.
TEST_F(DocumentSuites, TheParameterAtALengthLandsAtThatLength)
{
    auto& bz = host::suiteTable<AIRealBezierSuite>();
    float k = 0.5522847f * 100;
    struct Row {
        const char* shows;
        AIRealBezier b;
        double exactLength;  // 0: not known in closed form
    } rows[] = {
        {"a line with its handles on the anchors", {{0, 0}, {0, 0}, {300, 0}, {300, 0}}, 300},
        {"a line with even handles", {{0, 0}, {100, 0}, {200, 0}, {300, 0}}, 300},
        {"a quarter circle", {{100, 0}, {100, k}, {k, 100}, {0, 100}}, 0},
    };
    for (const Row& row : rows) {
        AIReal total = bz.Length(&row.b, 0.01f);
        if (row.exactLength > 0) {
            EXPECT_NEAR(total, row.exactLength, 1e-3) << row.shows;
        }
        EXPECT_FLOAT_EQ(bz.TAtLength(&row.b, total, total, 0.01f), 1) << row.shows;
        EXPECT_FLOAT_EQ(bz.TAtLength(&row.b, 0, total, 0.01f), 0) << row.shows;
        for (float want : {1.0f, 8.5f, 57.0f, 140.0f}) {
            AIReal t = bz.TAtLength(&row.b, want, total, 0.01f);
            AIRealBezier head, tail;
            bz.Divide(&row.b, t, &head, &tail);
            EXPECT_NEAR(bz.Length(&head, 0.01f), want, 2e-3) << row.shows << " at " << want;
            EXPECT_NEAR(bz.Length(&head, 0.01f) + bz.Length(&tail, 0.01f), total, 2e-3) << row.shows;
        }
    }
}

TEST_F(DocumentSuites, TheSmallerOperationsAnswerWhatTheDocumentHolds)
{
    auto& document = host::suiteTable<AIDocumentSuite>();
    auto& colors = host::suiteTable<AICustomColorSuite>();
    auto& tags = host::suiteTable<AITagSuite>();
    auto& bezier = host::suiteTable<AIRealBezierSuite>();
    auto& math = host::suiteTable<AIRealMathSuite>();
    auto& matching = host::suiteTable<AIMatchingArtSuite>();

    // The page.
    const AIRealRect page{0, 500, 300, 0};
    ASSERT_EQ(document.SetDocumentPageBounds(&page), kNoErr);
    AIRealRect got{};
    ASSERT_EQ(document.GetDocumentPageBounds(&got), kNoErr);
    EXPECT_TRUE(got.left == 0 && got.top == 500 && got.right == 300 && got.bottom == 0);

    // A custom colour, changed.
    AICustomColor red{};
    red.kind = kCustomFourColor;
    red.c.f = {0, 1, 1, 0};
    AICustomColorHandle handle = nullptr;
    ASSERT_EQ(colors.NewCustomColor(&red, "Signal", &handle), kNoErr);
    red.c.f.black = 0.25f;
    ASSERT_EQ(colors.SetCustomColor(handle, &red), kNoErr);
    AICustomColor back{};
    ASSERT_EQ(colors.GetCustomColor(handle, &back), kNoErr);
    EXPECT_EQ(back.c.f.black, 0.25f);
    EXPECT_EQ(back.c.f.magenta, 1.0f);
    char name[16];
    ASSERT_EQ(colors.GetCustomColorName(handle, name, sizeof name), kNoErr);
    EXPECT_STREQ(name, "Signal");

    // Tags, set, replaced and removed.
    AIArtHandle first = nullptr, second = nullptr;
    ASSERT_EQ(shapes().NewRect(40, 0, 0, 30, false, &first), kNoErr);  // a 3 x 4 x 5 outline below
    ASSERT_EQ(shapes().NewRect(10, 0, 0, 10, false, &second), kNoErr);
    ASSERT_EQ(tags.SetTag(first, "PEN", "string", "1"), kNoErr);
    ASSERT_EQ(tags.SetTag(first, "PEN", "string", "2"), kNoErr);
    const char* value = nullptr;
    ASSERT_EQ(tags.GetTag(first, "PEN", "string", &value), kNoErr);
    EXPECT_STREQ(value, "2");
    EXPECT_EQ(tags.RemoveTag(first, "PEN"), kNoErr);
    AIBoolean has = true;
    ASSERT_EQ(tags.HasTag(first, "PEN", &has), kNoErr);
    EXPECT_FALSE(has);
    EXPECT_EQ(tags.RemoveTag(first, "PEN"), kNoSuchTagErr);
    EXPECT_EQ(tags.GetTag(first, "PEN", "string", &value), kNoSuchTagErr);

    // Siblings and layers, both ways round.
    AIArtHandle prior = nullptr, next = nullptr;
    ASSERT_EQ(art().GetArtSibling(second, &next), kNoErr);
    EXPECT_EQ(next, first) << "the second made lies in front";
    ASSERT_EQ(art().GetArtPriorSibling(first, &prior), kNoErr);
    EXPECT_EQ(prior, second);
    ASSERT_EQ(art().GetArtPriorSibling(second, &prior), kNoErr);
    EXPECT_EQ(prior, nullptr);
    AILayerHandle top = nullptr, below = nullptr, walk = nullptr;
    ASSERT_EQ(layers().GetFirstLayer(&top), kNoErr);
    ASSERT_EQ(layers().InsertLayer(top, kPlaceBelow, &below), kNoErr);
    ASSERT_EQ(layers().GetNextLayer(top, &walk), kNoErr);
    EXPECT_EQ(walk, below);
    ASSERT_EQ(layers().GetNextLayer(below, &walk), kNoErr);
    EXPECT_EQ(walk, nullptr);

    // The selection.
    AIArtHandle** selected = nullptr;
    int32_t count = -1;
    ASSERT_EQ(art().SetArtUserAttr(second, kArtSelected, kArtSelected), kNoErr);
    ASSERT_EQ(matching.GetSelectedArt(&selected, &count), kNoErr);
    ASSERT_EQ(count, 1);
    EXPECT_EQ((*selected)[0], second);
    EXPECT_EQ(host::suiteTable<AIMdMemorySuite>().MdMemoryDisposeHandle((AIMdMemoryHandle)selected), kNoErr);

    // Lengths and bounds of curves, and the matrices.
    AIPathSegment triangle[3] = {host::cornerSegment(0, 0), host::cornerSegment(30, 0), host::cornerSegment(0, 40)};
    ASSERT_EQ(path().SetPathSegmentCount(first, 3), kNoErr);
    ASSERT_EQ(path().SetPathSegments(first, 0, 3, triangle), kNoErr);
    AIReal length = 0;
    ASSERT_EQ(path().GetPathLength(first, &length, 0.01f), kNoErr);
    EXPECT_NEAR(length, 120, 1e-3) << "30 + 50 + 40, closed";
    const AIRealBezier arch{{0, 0}, {0, 10}, {10, 10}, {10, 0}};
    AIRealRect box{};
    bezier.Bounds(&arch, &box);
    EXPECT_NEAR(box.top, 7.5, 1e-3) << "three quarters of the handles' height";
    EXPECT_NEAR(box.left, 0, 1e-3);
    EXPECT_NEAR(box.right, 10, 1e-3);
    AIRealPoint middle{};
    bezier.Evaluate(&arch, 0.5f, &middle);
    EXPECT_NEAR(middle.h, 5, 1e-5);
    EXPECT_NEAR(middle.v, 7.5, 1e-5);
    AIRealMatrix m{};
    AIRealPoint in{3, 4}, out{};
    math.AIRealMatrixSetTranslate(&m, 10, 20);
    math.AIRealMatrixXformPoint(&m, &in, &out);
    EXPECT_TRUE(out.h == 13 && out.v == 24);
    math.AIRealMatrixSetScale(&m, 2, -1);
    math.AIRealMatrixXformPoint(&m, &in, &out);
    EXPECT_TRUE(out.h == 6 && out.v == -4);
    math.AIRealMatrixSetRotate(&m, 3.14159265f / 2);
    math.AIRealMatrixXformPoint(&m, &in, &out);
    EXPECT_NEAR(out.h, -4, 1e-5);
    EXPECT_NEAR(out.v, 3, 1e-5);
}

}  // namespace

namespace {

// The same bits in every field that a segment carries (not its padding).
bool sameSegment(const AIPathSegment& a, const AIPathSegment& b)
{
    return std::memcmp(&a.p, &b.p, sizeof a.p) == 0 && std::memcmp(&a.in, &b.in, sizeof a.in) == 0 &&
           std::memcmp(&a.out, &b.out, sizeof a.out) == 0 && a.corner == b.corner;
}

// A path keeps the segments of a polyline as anchors alone and whole
// segments otherwise. Whatever it is written with, every reader (the suite's
// copy, the host's own walk by index) gets back exactly what a plain list of
// segments given the same writes holds.
TEST_F(DocumentSuites, SegmentsReadBackAsWrittenHoweverThePathHoldsThem)
{
    auto curve = [](AIReal x, AIReal y) {
        AIPathSegment s = host::cornerSegment(x, y);
        s.in = {x - 3, y + 1};
        s.out = {x + 3, y - 1};
        s.corner = 0;
        return s;
    };
    auto onAnchorBut = [](AIReal x, AIReal y, AIBoolean corner) {
        AIPathSegment s = host::cornerSegment(x, y);
        s.corner = corner;
        return s;
    };
    AIPathSegment minusZero = host::cornerSegment(0, 5);
    minusZero.in.h = -0.0f;  // equal to the anchor's 0, but not in its bits
    AIPathSegment oneHandleOff = host::cornerSegment(10, 0);
    oneHandleOff.out = {10, 4};

    using Path = std::vector<AIPathSegment>;
    using Write = std::function<void(AIPathSuite&, AIArtHandle, Path&)>;
    // Segment i set to s, through the suite and in the plain list.
    auto setOne = [](AIPathSegment s, int32_t i) -> Write {
        return [s, i](AIPathSuite& ps, AIArtHandle p, Path& m) {
            ASSERT_EQ(ps.SetPathSegments(p, i, 1, &s), kNoErr);
            m[i] = s;
        };
    };
    struct Row {
        const char* shows;
        // The writes, made through the suite on the path and alike on the plain list.
        Write write;
        bool anchorsOnly;  // how the path should hold what it was given
    } rows[] = {
        {"corners stay anchors alone", [](AIPathSuite&, AIArtHandle, Path&) {}, true},
        {"one handle off its anchor", setOne(oneHandleOff, 1), false},
        {"handles on the anchor of a smooth point", setOne(onAnchorBut(10, 10, 0), 2), false},
        {"a corner flag other than 1", setOne(onAnchorBut(0, 10, 2), 3), false},
        {"a handle at minus zero on an anchor at zero", setOne(minusZero, 0), false},
        {"a corner moved stays anchors alone", setOne(host::cornerSegment(-7, 3), 2), true},
        {"corners put in at the front",
         [&](AIPathSuite& ps, AIArtHandle p, Path& m) {
             AIPathSegment s[2] = {host::cornerSegment(-5, 0), host::cornerSegment(-5, -5)};
             ASSERT_EQ(ps.InsertPathSegments(p, -1, 2, s), kNoErr);
             m.insert(m.begin(), s, s + 2);
         },
         true},
        {"a curve put in after the second anchor",
         [&](AIPathSuite& ps, AIArtHandle p, Path& m) {
             AIPathSegment s[2] = {host::cornerSegment(12, 2), curve(12, 8)};
             ASSERT_EQ(ps.InsertPathSegments(p, 1, 2, s), kNoErr);
             m.insert(m.begin() + 2, s, s + 2);
         },
         false},
        {"grown with corners, then cut short",
         [&](AIPathSuite& ps, AIArtHandle p, Path& m) {
             ASSERT_EQ(ps.SetPathSegmentCount(p, 7), kNoErr);
             m.resize(7, host::cornerSegment(0, 0));
             ASSERT_EQ(ps.SetPathSegmentCount(p, 3), kNoErr);
             m.resize(3);
         },
         true},
        {"a curve, then grown with corners",
         [&](AIPathSuite& ps, AIArtHandle p, Path& m) {
             setOne(curve(4, 4), 3)(ps, p, m);
             ASSERT_EQ(ps.SetPathSegmentCount(p, 6), kNoErr);
             m.resize(6, host::cornerSegment(0, 0));
         },
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        AIArtHandle p = nullptr;
        ASSERT_EQ(shapes().NewRect(10, 0, 0, 10, false, &p), kNoErr);
        Path model(4);
        ASSERT_EQ(path().GetPathSegments(p, 0, 4, model.data()), kNoErr);
        row.write(path(), p, model);
        int32_t count = 0;
        ASSERT_EQ(path().GetPathSegmentCount(p, &count), kNoErr);
        ASSERT_EQ(static_cast<size_t>(count), model.size());
        Path got(model.size());
        ASSERT_EQ(path().GetPathSegments(p, 0, count, got.data()), kNoErr);
        const host::PathSegments& held = host::currentDocument()->art(p)->segments;
        EXPECT_EQ(held.anchorsOnly(), row.anchorsOnly);
        for (size_t i = 0; i < model.size(); ++i) {
            EXPECT_TRUE(sameSegment(got[i], model[i])) << "segment " << i << " as the suite copies it";
            EXPECT_TRUE(sameSegment(held[i], model[i])) << "segment " << i << " as the host reads it";
        }
        // A range from the middle, copied by the suite and walked by the
        // host: each starts where it is asked to and holds what it should.
        if (count > 2) {
            AIPathSegment one{};
            ASSERT_EQ(path().GetPathSegments(p, count - 2, 1, &one), kNoErr);
            EXPECT_TRUE(sameSegment(one, model[model.size() - 2]));
            const Path tail(held.begin() + 1, held.end());
            ASSERT_EQ(tail.size(), model.size() - 1);
            for (size_t i = 0; i < tail.size(); ++i) EXPECT_TRUE(sameSegment(tail[i], model[i + 1])) << i;
        }
    }
}

// Paths given the same style share one; a write through any one of them, by
// the suite, by a transform that scales lines, in place or on a duplicate,
// changes that path's style alone.
TEST_F(DocumentSuites, AStyleWrittenThroughOnePathNeverShowsInAnother)
{
    auto& styles = host::suiteTable<AIPathStyleSuite>();
    auto& transform = host::suiteTable<AITransformArtSuite>();
    AIPathStyle red = host::defaultPathStyle();
    red.fillPaint = 1;
    red.fill.color.kind = kThreeColor;
    red.fill.color.c.rgb = {1, 0, 0};
    red.stroke.width = 2;
    AIPathStyle blue = red;
    blue.fill.color.c.rgb = {0, 0, 1};
    auto widthAndBlue = [&](AIArtHandle a) {
        AIPathStyle s{};
        EXPECT_EQ(styles.GetPathStyle(a, &s), kNoErr);
        return std::make_pair(s.stroke.width, s.fill.color.c.rgb.blue);
    };
    struct Row {
        const char* shows;
        // Writes through `first`; returns the art whose style was written.
        std::function<AIArtHandle(AIArtSuite&, AIArtHandle first)> write;
        AIReal width, blueness;  // of the written art's style afterwards
    } rows[] = {
        {"set by the suite",
         [&](AIArtSuite&, AIArtHandle a) {
             EXPECT_EQ(styles.SetPathStyle(a, &blue), kNoErr);
             return a;
         },
         2, 1},
        {"its lines scaled by a transform",
         [&](AIArtSuite&, AIArtHandle a) {
             const AIRealMatrix twice{2, 0, 0, 2, 0, 0};
             EXPECT_EQ(transform.TransformArt(a, &twice, 3, kTransformObjects | kScaleLines), kNoErr);
             return a;
         },
         6, 0},
        {"written in place",
         [&](AIArtSuite&, AIArtHandle a) {
             host::currentDocument()->art(a)->style.edit().stroke.width = 5;
             return a;
         },
         5, 0},
        {"set on a duplicate",
         [&](AIArtSuite& artSuite, AIArtHandle a) {
             AIArtHandle copy = nullptr;
             EXPECT_EQ(artSuite.DuplicateArt(a, kPlaceAboveAll, nullptr, &copy), kNoErr);
             EXPECT_EQ(styles.SetPathStyle(copy, &blue), kNoErr);
             return copy;
         },
         2, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        AIArtHandle paths[3] = {};
        for (AIArtHandle& a : paths) {
            ASSERT_EQ(shapes().NewRect(10, 0, 0, 10, false, &a), kNoErr);
            ASSERT_EQ(styles.SetPathStyle(a, &red), kNoErr);
        }
        host::Document* d = host::currentDocument();
        EXPECT_TRUE(d->art(paths[0])->style.sharedWith(d->art(paths[2])->style)) << "one style, held once";
        AIArtHandle written = row.write(art(), paths[0]);
        EXPECT_EQ(widthAndBlue(written), std::make_pair(row.width, row.blueness));
        for (AIArtHandle other : paths) {
            if (other == written) continue;
            EXPECT_EQ(widthAndBlue(other), std::make_pair(AIReal(2), AIReal(0)));
        }
    }
}

}  // namespace
