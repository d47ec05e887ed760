// Preparing the artwork: text as characters, the rectangle distance, the
// regrouping of text outlines, inverted text, line-width confirmation and
// contour offsets, run in the stand-in host on real documents.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PreProcess.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "DocumentFixture.h"
#include "Suites/SuiteTables.h"

using namespace vt;
using namespace vt::host;

namespace {

using test::kids;


constexpr double kMm = 72.0 / 25.4;

// ---- Text as characters (no host needed) ----

// The inverted text of a frame's text, as the inverted-text operation makes it.
std::string inverted(const std::string& text)
{
    std::string withEnd = text + "\r";
    std::vector<TextUnit> units(withEnd.size());
    int32_t count = textToUnits(withEnd.data(), int32_t(withEnd.size()), units.data());
    count = reverseTextLines(units.data(), count);
    std::vector<char> out(withEnd.size() + 1);
    int32_t bytes = unitsToText(units.data(), count, out.data());
    return bytes > 0 ? std::string(out.data(), size_t(bytes) - 1) : "";
}

TEST(TextUnits, EachLineIsReversedCharacterByCharacter)
{
    struct Row {
        const char* shows;
        std::string text, expected;
    } rows[] = {
        {"two lines of two letters", "AB\rCD", "BA\rDC"},
        {"characters of two and three bytes move whole", "é€x", "x€é"},
        {"a four-byte character", "a\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80" "a"},
        {"a text ending in a lone lead byte", "AB\xC3", "\xC3" "BA"},
        {"a lead byte before a letter is one unit", "\xC3" "A", "A\xC3"},
        {"a stray continuation byte is one unit", "\x80Z", "Z\x80"},
        {"bytes just outside the leads are single units", "\xC1\x81\xF5\x80\x80\x80", "\x80\x80\x80\xF5\x81\xC1"},
        {"the last lead of each length", "\xDF\xBF\xEF\xBF\xBD\xF4\x8F\xBF\xBF",
         "\xF4\x8F\xBF\xBF\xEF\xBF\xBD\xDF\xBF"},
        {"a three-byte lead cut short by the end", "x\xE2\x82", "\x82\xE2x"},
        {"an empty last line", "AB\r", "BA\r"},
        {"nothing", "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(inverted(row.text), row.expected) << row.shows;
        // The text's end cuts no character short: the line end is one unit more.
        std::string withEnd = row.text + "\r";
        std::vector<TextUnit> units(withEnd.size());
        EXPECT_EQ(textToUnits(row.text.data(), int32_t(row.text.size()), units.data()) + 1,
                  textToUnits(withEnd.data(), int32_t(withEnd.size()), units.data()))
            << row.shows;
    }
}

TEST(TextUnits, LineEndsAndBlanksAreKnownOnlyAsSingleBytes)
{
    std::string text = "é€ x\r";
    std::vector<TextUnit> units(text.size());
    int32_t count = textToUnits(text.data(), int32_t(text.size()), units.data());
    ASSERT_EQ(count, 5);
    int drawn = 0;
    for (int32_t i = 0; i < count; ++i)
        if (!textUnitIs(&units[i], kTextLineEnd) && !textUnitIs(&units[i], kTextBlank)) ++drawn;
    EXPECT_EQ(drawn, 3);
    EXPECT_EQ(units[1].length, 3);
}

TEST(RectangleDistance, GapsBetweenFacingSidesElseTheCornerDistance)
{
    struct Row {
        const char* shows;
        AIRealRect a, b;  // left, top, right, bottom
        float expected;
    } rows[] = {
        {"one above the other", {0, 10, 10, 0}, {2, 30, 8, 20}, 10},
        {"side by side", {0, 10, 10, 0}, {15, 8, 20, 2}, 5},
        {"corner to corner", {0, 10, 10, 0}, {13, 20, 20, 14}, 5},
        {"side by side, partly level", {0, 10, 10, 0}, {20, 15, 30, 5}, 10},
        {"either order", {13, 20, 20, 14}, {0, 10, 10, 0}, 5},
    };
    for (const Row& row : rows) EXPECT_FLOAT_EQ(distanceOfRectangle(&row.a, &row.b), row.expected) << row.shows;
}

// ---- In the host ----

class PreProcessTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { EXPECT_EQ(releaseSuites(hostApp().basic()), kNoErr); }

    // Opens SVG art (millimetres, y down) on a layer "Art" and selects it all.
    Document& open(const std::string& body)
    {
        std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="300mm" height="300mm" viewBox="0 0 300 300"><g id="Art">)" +
                          body + "</g></svg>";
        std::string error;
        auto d = readSvgText(documents(), svg, "job.svg", error);
        EXPECT_TRUE(d) << error;
        documents().adopt(std::move(d));
        Document& doc = *currentDocument();
        for (ArtNode* a : top()) doc.setSelected(a, true);
        return doc;
    }
    Document& doc() { return *currentDocument(); }
    std::vector<ArtNode*> top(size_t layer = 0) { return kids(doc().layers()[layer]->root); }
    static AIArtHandle h(const ArtNode* n) { return Document::handle(n); }

    ArtNode* rect(ArtNode* parent, float l, float b, float r, float t)
    {
        ArtNode* p = doc().newArt(kPathArt);
        p->segments = {cornerSegment(l, b), cornerSegment(r, b), cornerSegment(r, t), cornerSegment(l, t)};
        p->closed = true;
        p->style.edit().fillPaint = 1;
        p->style.edit().strokePaint = 0;  // bounds without a stroke's half width
        doc().place(p, kPlaceInsideOnBottom, parent);
        return p;
    }
    ArtNode* outlineGroup()
    {
        ArtNode* g = doc().newArt(kGroupArt);
        doc().place(g, kPlaceAboveAll, nullptr);
        return g;
    }
    // The compound paths combineGroups made, each as the paths it holds.
    std::vector<std::vector<ArtNode*>> compounds()
    {
        std::vector<std::vector<ArtNode*>> out;
        for (ArtNode* a : top())
            if (a->type == kCompoundPathArt) out.push_back(kids(a));
        return out;
    }
};

AIRealRect boundsMm(const ArtNode* art)
{
    AIRealRect r{};
    artBounds(art, false, r);
    return AIRealRect{float(r.left / kMm), float(r.top / kMm), float(r.right / kMm), float(r.bottom / kMm)};
}

TEST_F(PreProcessTest, OiAAt72PointsKeepsTheDotOfTheIWithItsStem)
{
    open(R"(<text x="10" y="100" font-size="25.4" font-family="DejaVu Sans" fill="black">Oi A</text>)");
    ASSERT_EQ(doTextOutline(), kNoErr);
    auto groups = compounds();
    ASSERT_EQ(groups.size(), 3u) << "four characters, one of them a blank";
    for (const auto& paths : groups) EXPECT_EQ(paths.size(), 2u) << "an outline with its hole, or a stem with its dot";
    for (ArtNode* a : doc().allArt()) EXPECT_NE(a->type, kTextFrameArt) << "the text is gone";
    // The i is the narrowest of the three.
    auto narrowest = *std::min_element(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
        AIRealRect ra = boundsMm(a[0]), rb = boundsMm(b[0]);
        return ra.right - ra.left < rb.right - rb.left;
    });
    AIRealRect stem = boundsMm(narrowest[0]), dot = boundsMm(narrowest[1]);
    if (stem.top - stem.bottom < dot.top - dot.bottom) std::swap(stem, dot);
    EXPECT_GT(dot.bottom, stem.top) << "the dot above the stem";
    for (ArtNode* a : top())
        if (a->type == kCompoundPathArt) {
            EXPECT_TRUE(a->attrs & kArtSelected);
        }
}

TEST_F(PreProcessTest, OutlinesThatOverlapJoinForGoodAndEqualDistancesMergeTheFirstPair)
{
    open("");
    struct Row {
        const char* shows;
        std::vector<AIRealRect> rects;  // left, top, right, bottom, in the outline's order
        int32_t count;
        std::vector<std::vector<int>> expected;  // the rectangles of each compound path, in path order
    } rows[] = {
        {"overlapping outlines stay one even with room for more", {{0, 10, 10, 0}, {5, 12, 15, 2}, {100, 10, 110, 0}}, 3,
         {{0, 1}, {2}}},
        {"equal gaps: the first pair met merges", {{0, 10, 10, 0}, {20, 10, 30, 0}, {40, 10, 50, 0}}, 2, {{0, 1}, {2}}},
        {"the nearest pair merges", {{0, 10, 10, 0}, {30, 10, 40, 0}, {45, 10, 55, 0}}, 2, {{0}, {1, 2}}},
        {"a count of 0 still ends, in one compound path", {{0, 10, 10, 0}, {30, 10, 40, 0}, {80, 10, 90, 0}}, 0,
         {{0, 1, 2}}},
        {"the largest first", {{0, 1, 1, 0}, {50, 10, 60, 0}}, 5, {{1}, {0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        open("");
        ArtNode* outline = outlineGroup();
        std::vector<ArtNode*> paths;
        for (const AIRealRect& r : row.rects) paths.push_back(rect(outline, r.left, r.bottom, r.right, r.top));
        ASSERT_EQ(combineGroups(h(outline), row.count), kNoErr);
        EXPECT_TRUE(outline->children.empty()) << "every path moved";
        // Compound paths go below all art: the first made is the front-most of them.
        auto made = compounds();
        ASSERT_EQ(made.size(), row.expected.size());
        for (size_t c = 0; c < made.size(); ++c) {
            std::vector<int> got;
            for (ArtNode* p : made[c]) got.push_back(int(std::find(paths.begin(), paths.end(), p) - paths.begin()));
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, row.expected[c]) << "compound path " << c;
        }
    }
}

// The regrouping as the description reads, every pair scanned every round:
// the reference the fast merge must agree with.
std::vector<std::vector<int>> naiveClusters(const std::vector<AIRealRect>& rects, int32_t count)
{
    AIRealMathSuite& math = suiteTable<AIRealMathSuite>();
    size_t n = rects.size();
    std::vector<int> order(n);
    std::vector<float> area(n);
    for (size_t i = 0; i < n; ++i) {
        order[i] = int(i);
        area[i] = std::fabs((rects[i].right - rects[i].left) * (rects[i].top - rects[i].bottom));
    }
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (area[order[j]] > area[order[i]]) std::swap(order[i], order[j]);
    std::vector<AIRealRect> box;
    std::vector<std::vector<int>> members;
    for (int p : order) {
        size_t c = 0;
        AIRealRect meet;
        while (c < box.size() && !math.AIRealRectIntersect(&box[c], &rects[p], &meet)) ++c;
        if (c == box.size()) {
            box.push_back(rects[p]);
            members.push_back({p});
        } else {
            AIRealRect u;
            math.AIRealRectUnion(&box[c], &rects[p], &u);
            box[c] = u;
            members[c].push_back(p);
        }
    }
    size_t aim = size_t(std::max(count, 1));
    auto alive = [&] { return std::count_if(members.begin(), members.end(), [](auto& m) { return !m.empty(); }); };
    while (size_t(alive()) > aim) {
        int bi = -1, bj = -1;
        float best = 0;
        for (size_t i = 0; i < box.size() && bi != -2; ++i) {
            if (members[i].empty()) continue;
            for (size_t j = i + 1; j < box.size(); ++j) {
                if (members[j].empty()) continue;
                AIRealRect meet;
                if (math.AIRealRectIntersect(&box[i], &box[j], &meet)) {
                    bi = int(i), bj = int(j);
                    i = box.size();  // taken at once
                    break;
                }
                float d = distanceOfRectangle(&box[i], &box[j]);
                if (bi < 0 || d < best) bi = int(i), bj = int(j), best = d;
            }
        }
        if (bi < 0) break;
        members[bi].insert(members[bi].end(), members[bj].begin(), members[bj].end());
        members[bj].clear();
        AIRealRect u;
        math.AIRealRectUnion(&box[bi], &box[bj], &u);
        box[bi] = u;
    }
    std::vector<std::vector<int>> out;
    for (auto& m : members)
        if (!m.empty()) out.push_back(m);
    return out;
}

// Layouts of outline paths (left, bottom, width, height) that lead the
// regrouping down each of its roads.
using Layout = std::function<std::vector<AIRealRect>(std::mt19937&)>;

std::vector<AIRealRect> grid(std::mt19937& random, int n, int columns, int rows, float step, int sizes)
{
    std::vector<AIRealRect> rects;
    for (int i = 0; i < n; ++i) {
        // A coarse grid makes equal sizes and equal gaps common.
        float l = float(random() % unsigned(columns)) * step, b = float(random() % unsigned(rows)) * step;
        float w = float(1 + random() % unsigned(sizes)) * 2, t = float(1 + random() % unsigned(sizes)) * 2;
        rects.push_back(AIRealRect{l, b + t, l + w, b});
    }
    return rects;
}

TEST_F(PreProcessTest, TheFastRegroupingAgreesWithEveryPairScannedEveryRound)
{
    struct Row {
        const char* shows;
        Layout layout;
        int rounds;
    } rows[] = {
        {"a coarse grid: equal sizes, equal gaps, overlaps", [](std::mt19937& r) { return grid(r, 5 + int(r() % 60), 40, 10, 5, 3); }, 40},
        {"lines of letters, many of one size",
         [](std::mt19937& r) {
             std::vector<AIRealRect> rects;
             int n = 100 + int(r() % 150);
             for (int i = 0; i < n; ++i) {
                 float x = float(i % 30) * 7, y = float(i / 30) * 12;
                 bool dot = r() % 4 == 0;  // an i: a stem and a dot above it
                 rects.push_back(AIRealRect{x, y + 6, x + 2, y});
                 if (dot) rects.push_back(AIRealRect{x, y + 9, x + 2, y + 7});
             }
             return rects;
         },
         6},
        {"far apart: merging looks farther and farther",
         [](std::mt19937& r) { return grid(r, 5 + int(r() % 25), 1000, 1000, 37, 2); }, 20},
        {"one rectangle thousands of cells wide",
         [](std::mt19937& r) {
             std::vector<AIRealRect> rects = grid(r, 20 + int(r() % 40), 60, 6, 3, 2);
             rects.push_back(AIRealRect{-50000, 7, 50000, 6});
             return rects;
         },
         10},
        {"a pile where every rectangle meets another", [](std::mt19937& r) { return grid(r, 20 + int(r() % 40), 8, 8, 1, 4); }, 10},
        {"a coordinate past any number: every pair looked at",
         [](std::mt19937& r) {
             std::vector<AIRealRect> rects = grid(r, 5 + int(r() % 20), 40, 10, 5, 3);
             rects.push_back(AIRealRect{0, 3, INFINITY, 0});
             return rects;
         },
         5},
    };
    std::mt19937 random(21);
    for (const Row& row : rows) {
        for (int round = 0; round < row.rounds; ++round) {
            SCOPED_TRACE(std::string(row.shows) + ", round " + std::to_string(round));
            open("");
            ArtNode* outline = outlineGroup();
            std::vector<AIRealRect> rects = row.layout(random);
            std::vector<ArtNode*> paths;
            for (const AIRealRect& r : rects) paths.push_back(rect(outline, r.left, r.bottom, r.right, r.top));
            // The host's bounds of each path: what both regroupings read.
            for (size_t i = 0; i < rects.size(); ++i) artBounds(paths[i], false, rects[i]);
            int32_t count = int32_t(random() % (rects.size() + 1));
            ASSERT_EQ(combineGroups(h(outline), count), kNoErr);
            auto expected = naiveClusters(rects, count);
            auto made = compounds();
            ASSERT_EQ(made.size(), expected.size());
            for (size_t c = 0; c < made.size(); ++c) {
                // Paths are moved in one by one, each on top: the last is first.
                std::vector<int> got;
                for (auto it = made[c].rbegin(); it != made[c].rend(); ++it)
                    got.push_back(int(std::find(paths.begin(), paths.end(), *it) - paths.begin()));
                EXPECT_EQ(got, expected[c]) << "compound path " << c;
            }
        }
    }
}

TEST_F(PreProcessTest, AFrameOfBlanksOnlyGoesLikeAnyOtherLeavingItsEmptyGroup)
{
    open(R"(<text id="t" x="10" y="100" font-size="20"> </text><text id="u" x="10" y="150" font-size="20">I</text>)");
    for (ArtNode* a : top())
        if (a->name == "t") a->textFrame->text = "  \r ";
    ASSERT_EQ(doTextOutline(), kNoErr);
    size_t frames = 0, emptyGroups = 0, compoundPaths = 0;
    for (ArtNode* a : doc().allArt()) {
        frames += a->type == kTextFrameArt;
        emptyGroups += a->type == kGroupArt && a->children.empty();
        compoundPaths += a->type == kCompoundPathArt;
    }
    EXPECT_EQ(frames, 0u) << "the blank frame went too";
    EXPECT_EQ(emptyGroups, 2u) << "each frame leaves its emptied outline group";
    EXPECT_EQ(compoundPaths, 1u) << "I became one compound path";
}

TEST_F(PreProcessTest, InvertedTextAddsEachLineBackToFrontToTheRight)
{
    struct Row {
        const char* shows;
        std::string text, expected;
    } rows[] = {
        {"two lines of two letters", "AB\rCD", "BA\rDC"},
        {"characters of several bytes", "é€x", "x€é"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        open(R"(<text id="t" x="10" y="100" font-size="20" font-family="DejaVu Sans">x</text>)");
        ArtNode* source = top()[0];
        source->textFrame->text = row.text;
        AIRealRect before{};
        artBounds(source, true, before);
        ASSERT_EQ(doInvertWord(), kNoErr);
        ASSERT_EQ(top().size(), 2u);
        EXPECT_EQ(top()[0], source);
        ArtNode* copy = top()[1];
        EXPECT_EQ(copy->textFrame->text, row.expected);
        EXPECT_EQ(source->textFrame->text, row.text);
        EXPECT_FLOAT_EQ(copy->textFrame->origin.h, source->textFrame->origin.h + (before.right - before.left));
        EXPECT_FLOAT_EQ(copy->textFrame->origin.v, source->textFrame->origin.v);
        EXPECT_EQ(copy->name, "t-2");
    }
}

TEST_F(PreProcessTest, LineWidthConfirmationLeavesAFilledUnstrokedArea)
{
    open(R"(<path d="M20 60 L120 60" stroke="black" stroke-width="2" fill="none"/>)");
    ASSERT_EQ(doLineWidthConfirm(), kNoErr);
    std::vector<ArtNode*> paths;
    for (ArtNode* a : doc().allArt())
        if (a->type == kPathArt) paths.push_back(a);
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_TRUE(paths[0]->style->fillPaint);
    EXPECT_FALSE(paths[0]->style->strokePaint);
    AIRealRect b = boundsMm(paths[0]);
    EXPECT_NEAR(b.right - b.left, 100, 1e-3);
    EXPECT_NEAR(b.top - b.bottom, 2, 1e-3);
}

TEST_F(PreProcessTest, ReleaseNullArtDisposesThePathsThatPaintNothing)
{
    open(R"(<g><path id="null" d="M0 0 L10 0" stroke="none" fill="none"/><rect id="kept" width="5" height="5"/>
            <g><path id="inner" d="M0 0 L10 10" stroke="none" fill="none"/></g></g>)");
    ASSERT_EQ(releaseNullArt(h(top()[0])), kNoErr);
    std::vector<std::string> names;
    for (ArtNode* a : doc().allArt())
        if (a->type == kPathArt) names.push_back(a->name);
    EXPECT_EQ(names, std::vector<std::string>{"kept"});
}

class OffsetTest : public PreProcessTest {
protected:
    // The art's own layer; the offset layer goes above it.
    std::vector<ArtNode*> art() { return kids(doc().layerByTitle("Art")->root); }
    // The contours on the offset layer, which must be there.
    std::vector<ArtNode*> contours()
    {
        LayerNode* layer = doc().layerByTitle(kOffsetLayerTitle);
        EXPECT_NE(layer, nullptr);
        std::vector<ArtNode*> out;
        if (!layer) return out;
        for (ArtNode* g : layer->root->children)
            for (ArtNode* p : g->children) out.push_back(p);
        return out;
    }
};

TEST_F(OffsetTest, ARectangleGetsOneContourTheOffsetAwayOnItsOwnLayer)
{
    open(R"(<rect id="r" x="20" y="100" width="100" height="50" fill="none" stroke="black"/>)");
    LayerNode* artLayer = doc().layers()[0];
    g->offsetSize = 1.0f;
    ASSERT_EQ(doOffset(), kNoErr);
    ASSERT_EQ(doc().layers().size(), 2u) << "the temporary layer is gone";
    EXPECT_EQ(doc().currentLayer(), artLayer) << "the current layer is kept";
    auto c = contours();
    ASSERT_EQ(c.size(), 1u);
    AIRealRect b = boundsMm(c[0]);
    EXPECT_NEAR(b.right - b.left, 102, 1e-2);
    EXPECT_NEAR(b.top - b.bottom, 52, 1e-2);
    EXPECT_FALSE(c[0]->style->fillPaint);
    EXPECT_TRUE(c[0]->style->strokePaint);
    EXPECT_FLOAT_EQ(c[0]->style->stroke.width, 1.0f);
    EXPECT_TRUE(c[0]->parent->attrs & kArtSelected);
    EXPECT_FALSE(art()[0]->attrs & kArtSelected) << "the rectangle itself is deselected";
    EXPECT_EQ(art()[0]->name, "r");

    // A second offset goes to the same layer (the first contour, selected
    // and on the top layer, would be first otherwise).
    doc().setSelected(contours()[0]->parent, false);
    doc().setSelected(art()[0], true);
    g->offsetSize = 5.0f;
    ASSERT_EQ(doOffset(), kNoErr);
    ASSERT_EQ(doc().layers().size(), 2u);
    ASSERT_EQ(contours().size(), 2u);
    EXPECT_NEAR(boundsMm(contours()[0]).right - boundsMm(contours()[0]).left, 110, 1e-2);
}

TEST_F(OffsetTest, OfThreeObjectsOnlyTheFirstAndOfARingOnlyItsOuterContour)
{
    // The first is the front-most, the last one in the file.
    open(R"(<rect id="c" x="200" width="10" height="10"/><rect id="b" x="100" width="10" height="10"/>
            <path id="ring" d="M0 0 H40 V40 H0 Z M10 10 V30 H30 V10 Z" fill="black"/>)");
    g->offsetSize = 2.0f;
    ASSERT_EQ(doOffset(), kNoErr);
    auto c = contours();
    ASSERT_EQ(c.size(), 1u) << "one contour, and no hole of the ring gets one";
    AIRealRect b = boundsMm(c[0]);
    EXPECT_NEAR(b.left, -2, 1e-2) << "the ring is the first object";
    EXPECT_NEAR(b.right, 42, 1e-2);
    for (ArtNode* a : art()) EXPECT_FALSE(a->attrs & kArtSelected) << a->name;
}

TEST_F(OffsetTest, OfAGroupOfApartShapesTheLargestGetsTheContourInEitherOrder)
{
    // Merged, the group's shapes stay apart: one outline each, of which the
    // contour keeps the one of the largest area wherever it lies.
    const char* small = R"(<rect x="200" width="10" height="10"/>)";
    const char* large = R"(<rect x="0" width="40" height="30"/>)";
    for (bool largeFirst : {true, false}) {
        SCOPED_TRACE(largeFirst ? "large first" : "small first");
        open(std::string("<g>") + (largeFirst ? large : small) + (largeFirst ? small : large) + "</g>");
        g->offsetSize = 2.0f;
        ASSERT_EQ(doOffset(), kNoErr);
        auto c = contours();
        ASSERT_EQ(c.size(), 1u);
        AIRealRect b = boundsMm(c[0]);
        EXPECT_NEAR(b.left, -2, 1e-2);
        EXPECT_NEAR(b.right, 42, 1e-2);
        EXPECT_NEAR(b.top - b.bottom, 34, 1e-2);
    }
}

TEST_F(OffsetTest, AFailedActionLeavesNoLayerBehindAndIsReturned)
{
    open(R"(<rect id="r" width="10" height="10"/>)");
    AIActionManagerSuite& table = suiteTable<AIActionManagerSuite>();
    auto saved = table.PlayActionEvent;
    table.PlayActionEvent = [](const char*, ActionDialogStatus, AIActionParamValueRef) -> ASErr { return 'FAIL'; };
    ASErr result = doOffset();
    table.PlayActionEvent = saved;
    EXPECT_EQ(result, 'FAIL');
    EXPECT_EQ(doc().layers().size(), 1u);
    EXPECT_EQ(doc().layerByTitle(kOffsetLayerTitle), nullptr) << "nothing made without a winner";
}

// The parameter records of the actions: what is played, and what is not.
TEST_F(PreProcessTest, AnActionIsPlayedOnlyWithEveryKeySet)
{
    static std::vector<std::string> played;
    static int keys;
    struct Row {
        const char* shows;
        ASErr (*create)(AIActionParamValueRef*);
        ASErr (*setBoolean)(AIActionParamValueRef, ActionParamKeyID, ASBoolean);
        ASErr expected;
        std::vector<std::string> played;
    } rows[] = {
        {"every key set, then played",
         [](AIActionParamValueRef* p) -> ASErr {
             *p = reinterpret_cast<AIActionParamValueRef>(0x10);
             return kNoErr;
         },
         [](AIActionParamValueRef, ActionParamKeyID, ASBoolean) -> ASErr { return ++keys, kNoErr; }, kNoErr,
         {"ai_plugin_expand with a record"}},
        {"no record made: nothing played", [](AIActionParamValueRef*) -> ASErr { return 'NoRc'; },
         [](AIActionParamValueRef, ActionParamKeyID, ASBoolean) -> ASErr { return ++keys, kNoErr; }, 'NoRc', {}},
        {"a null record: played without parameters",
         [](AIActionParamValueRef* p) -> ASErr {
             *p = nullptr;
             return kNoErr;
         },
         [](AIActionParamValueRef, ActionParamKeyID, ASBoolean) -> ASErr { return ++keys, kNoErr; }, kNoErr,
         {"ai_plugin_expand without"}},
        {"a key refused: nothing played",
         [](AIActionParamValueRef* p) -> ASErr {
             *p = reinterpret_cast<AIActionParamValueRef>(0x10);
             return kNoErr;
         },
         [](AIActionParamValueRef, ActionParamKeyID, ASBoolean) -> ASErr { return 'NoKy'; }, 'NoKy', {}},
    };
    AIActionManagerSuite& table = suiteTable<AIActionManagerSuite>();
    AIActionManagerSuite saved = table;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        played.clear();
        keys = 0;
        table.AINewActionParamValue = row.create;
        table.AIActionSetBoolean = row.setBoolean;
        table.AIDeleteActionParamValue = [](AIActionParamValueRef) -> ASErr { return kNoErr; };
        table.PlayActionEvent = [](const char* name, ActionDialogStatus status, AIActionParamValueRef p) -> ASErr {
            EXPECT_EQ(status, kDialogNone);
            played.push_back(std::string(name) + (p ? " with a record" : " without"));
            return kNoErr;
        };
        EXPECT_EQ(pluginArtOutline(), row.expected);
        EXPECT_EQ(played, row.played);
    }
    table = saved;
}

}  // namespace
