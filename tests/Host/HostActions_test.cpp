// The host actions the plug-in plays by name on the selection: expand
// (strokes and fills become areas) and merge (areas of a colour united, each
// trimmed by what lies in front), and what they refuse.
#include <cmath>

#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "DocumentFixture.h"
#include "Host.h"
#include "Suites/SuiteTables.h"

using namespace vt;
using host::ArtNode;

namespace {

using test::kids;


constexpr double kMm = 72.0 / 25.4;

class HostActions : public ::testing::Test {
protected:
    HostActions()
    {
        host::HostOptions options;
        options.out = &out_;
        host_ = std::make_unique<host::Host>(options);
    }
    // Opens SVG art (millimetres, y down) on one layer and selects all of it.
    void open(const std::string& body)
    {
        std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="300mm" height="300mm" viewBox="0 0 300 300"><g id="Layer 1">)" +
                          body + "</g></svg>";
        std::string error;
        auto d = host::readSvgText(host::documents(), svg, "job.svg", error);
        ASSERT_TRUE(d) << error;
        host::documents().adopt(std::move(d));
        for (ArtNode* a : top()) doc().setSelected(a, true);
    }
    host::Document& doc() { return *host::currentDocument(); }
    std::vector<ArtNode*> top() { return kids(doc().layers()[0]->root); }
    AIActionManagerSuite& actions() { return host::suiteTable<AIActionManagerSuite>(); }

    ASErr expand(bool withSmooth = true)
    {
        AIActionParamValueRef p = nullptr;
        EXPECT_EQ(actions().AINewActionParamValue(&p), kNoErr);
        for (ActionParamKeyID key : {'objt', 'fill', 'strk'}) actions().AIActionSetBoolean(p, key, true);
        if (withSmooth) actions().AIActionSetBoolean(p, 'smth', true);
        ASErr result = actions().PlayActionEvent(kExpandActionName, kDialogNone, p);
        EXPECT_EQ(actions().AIDeleteActionParamValue(p), kNoErr);
        return result;
    }
    ASErr merge(ASInt32 operation = kPathfinderMergeValue)
    {
        AIActionParamValueRef p = nullptr;
        EXPECT_EQ(actions().AINewActionParamValue(&p), kNoErr);
        actions().AIActionSetEnumerated(p, 'name', "merge", operation);
        actions().AIActionSetReal(p, 'prec', 10.0f);
        ASErr result = actions().PlayActionEvent(kPathfinderActionName, kDialogNone, p);
        actions().AIDeleteActionParamValue(p);
        return result;
    }

    std::ostringstream out_;
    std::unique_ptr<host::Host> host_;
};

// Area of a path or compound path in square millimetres, holes counting
// against it.
double areaMm2(const ArtNode* art)
{
    if (art->type == kPathArt) return std::fabs(host::pathArea(art)) / (kMm * kMm);
    double outer = 0, holes = 0;
    for (size_t i = 0; i < art->children.size(); ++i)
        (i == 0 ? outer : holes) += std::fabs(host::pathArea(kids(art)[i])) / (kMm * kMm);
    return outer - holes;
}

AIRealRect boundsMm(const ArtNode* art)
{
    AIRealRect r{};
    host::artBounds(art, false, r);
    return AIRealRect{float(r.left / kMm), float(r.top / kMm), float(r.right / kMm), float(r.bottom / kMm)};
}

TEST_F(HostActions, ExpandTurnsAStrokedLineIntoAnAreaOfItsStrokeColour)
{
    open(R"(<path d="M20 60 L120 60" stroke="#ff0000" stroke-width="2" fill="none"/>)");
    ASSERT_EQ(expand(), kNoErr);
    ASSERT_EQ(top().size(), 1u);
    ArtNode* group = top()[0];
    ASSERT_EQ(group->type, kGroupArt);
    EXPECT_TRUE(group->attrs & kArtSelected);
    ASSERT_EQ(group->children.size(), 1u) << "no fill, so only the stroke";
    ArtNode* area = kids(group)[0];
    ASSERT_EQ(area->type, kPathArt);
    EXPECT_TRUE(area->closed);
    EXPECT_TRUE(area->style->fillPaint);
    EXPECT_FALSE(area->style->strokePaint);
    EXPECT_FLOAT_EQ(area->style->fill.color.c.rgb.red, 1.0f);
    AIRealRect b = boundsMm(area);
    EXPECT_NEAR(b.right - b.left, 100, 1e-3) << "butt caps";
    EXPECT_NEAR(b.top - b.bottom, 2, 1e-3);
}

TEST_F(HostActions, ExpandGivesAFilledStrokedShapeItsRingInFrontOfItsFill)
{
    open(R"(<rect x="10" y="10" width="40" height="20" fill="#0000ff" stroke="#000000" stroke-width="2"/>
            <path d="M100 20 L140 20 L120 50" stroke="black" stroke-width="4" stroke-linejoin="round" stroke-linecap="round" fill="none"/>)");
    ASSERT_EQ(expand(), kNoErr);
    ASSERT_EQ(top().size(), 2u);
    ArtNode* rect = top()[1];
    ASSERT_EQ(rect->children.size(), 2u);
    ArtNode* ring = kids(rect)[0];
    ArtNode* fill = kids(rect)[1];
    ASSERT_EQ(ring->type, kCompoundPathArt) << "the stroke of a closed path is a ring";
    // Within what a thousandth of a point on a 128 mm outline can add.
    EXPECT_NEAR(areaMm2(ring), 42 * 22 - 38 * 18, 0.1);
    EXPECT_FLOAT_EQ(kids(ring)[0]->style->fill.color.c.rgb.blue, 0.0f) << "the stroke's colour";
    EXPECT_NEAR(areaMm2(fill), 40 * 20, 0.01);
    EXPECT_FLOAT_EQ(fill->style->fill.color.c.rgb.blue, 1.0f);
    EXPECT_FALSE(fill->style->strokePaint);
    // Round joins and caps: the open line's area reaches 2 mm past its ends.
    AIRealRect b = boundsMm(kids(top()[0])[0]);
    EXPECT_NEAR(b.left, 98, 0.02);
    EXPECT_NEAR(b.right, 142, 0.02);
}

TEST_F(HostActions, ExpandOutlinesTextFirstOneCompoundPathPerCharacter)
{
    open(R"(<text x="10" y="100" font-size="20" font-family="DejaVu Sans" fill="black">Oi A</text>)");
    ASSERT_EQ(expand(), kNoErr);
    ASSERT_EQ(top().size(), 1u);
    ArtNode* group = top()[0];
    ASSERT_EQ(group->children.size(), 3u);
    for (ArtNode* c : group->children) {
        EXPECT_EQ(c->type, kCompoundPathArt);
        EXPECT_EQ(c->children.size(), 2u);
    }
    // A character's outlines are closed: the stroke of an "I" is a ring, one
    // hole inside one outline, not a line with two ends.
    open(
        R"(<text x="10" y="100" font-size="20" font-family="DejaVu Sans" fill="none" stroke="black" stroke-width="0.5">I</text>)");
    ASSERT_EQ(expand(), kNoErr);
    ASSERT_EQ(top().size(), 1u);
    ASSERT_EQ(top()[0]->children.size(), 1u) << "no fill, so only the stroke";
    ArtNode* ring = kids(top()[0])[0];
    ASSERT_EQ(ring->type, kCompoundPathArt);
    EXPECT_EQ(ring->children.size(), 2u);
}

TEST_F(HostActions, ExpandOfATextWithACharacterNoFontHasIsAReportedFailureThatChangesNothing)
{
    open(R"(<rect x="0" y="0" width="20" height="20" stroke="black"/><text id="t" x="10" y="100">A&#x10FFFD;</text>)");
    std::string before = host::writeSvgText(doc());
    EXPECT_EQ(expand(), kNoFontErr);
    EXPECT_EQ(host::writeSvgText(doc()), before);
    ASSERT_EQ(host_->problems().size(), 1u);
    EXPECT_NE(host_->problems()[0].find("action \"ai_plugin_expand\": the text \"t\" holds U+10FFFD"), std::string::npos)
        << host_->problems()[0];
}

TEST_F(HostActions, MergeUnitesOneColourAndTrimsTheBackOneOfTwo)
{
    struct Row {
        const char* shows;
        const char* svg;  // the back square first: SVG paints later ones in front
        std::vector<double> areas;  // of the results, front-most first
        // A chord a hundredth of a millimetre inside its arc cuts off at most
        // two thirds of chord x 0.01 mm: round outlines lose up to that.
        double within = 0.1;
    } rows[] = {
        {"two squares of one colour become one path of their union",
         R"(<rect x="0" y="0" width="20" height="20" fill="black"/><rect x="10" y="10" width="20" height="20" fill="black"/>)",
         {700}},
        // Blue and black are apart in their blue alone.
        {"of two colours the back one loses the overlap",
         R"(<rect x="0" y="0" width="20" height="20" fill="blue"/><rect x="10" y="10" width="20" height="20" fill="black"/>)",
         {400, 300}},
        {"process colours apart in their black alone are two colours",
         R"(<rect x="0" y="0" width="20" height="20" fill="red" data-vt-fill="cmyk 0.1 0.2 0.3 0.4"/>
            <rect x="10" y="10" width="20" height="20" fill="red" data-vt-fill="cmyk 0.1 0.2 0.3 0.4"/>
            <rect x="25" y="25" width="20" height="20" fill="red" data-vt-fill="cmyk 0.1 0.2 0.3 0.5"/>)",
         {400, 700 - 25}},
        {"a square in the hole of a ring of its colour stays an island",
         R"(<path d="M0 0 H40 V40 H0 Z M10 10 V30 H30 V10 Z" fill="black"/><rect x="15" y="15" width="10" height="10" fill="black"/>)",
         {1600 - 400, 100}},
        // Both contours wind one way: only the even-odd rule makes the inner one a hole.
        {"the hole of an even-odd ring wound one way stays open",
         R"(<path d="M0 0 H40 V40 H0 Z M10 10 H30 V30 H10 Z" fill="black" fill-rule="evenodd"/><rect x="15" y="15" width="10" height="10" fill="black"/>)",
         {1600 - 400, 100}},
        {"a square of another colour in front parts two of one colour",
         R"(<rect x="0" y="0" width="20" height="20" fill="black"/><rect x="25" y="0" width="20" height="20" fill="black"/><rect x="15" y="0" width="15" height="20" fill="red"/>)",
         {300, 300, 300}},
        {"what another colour keeps of itself is cut from a back area, what it lost is not",
         R"(<rect x="0" y="0" width="20" height="20" fill="black"/><rect x="15" y="0" width="15" height="20" fill="red"/><rect x="25" y="0" width="20" height="20" fill="black"/>)",
         {400, 200, 300}},
        {"a square over the ring's hole fills it",
         R"(<path d="M0 0 H40 V40 H0 Z M10 10 V30 H30 V10 Z" fill="black"/><rect x="5" y="5" width="30" height="30" fill="black"/>)",
         {1600}},
        {"a circle keeps its area, its curves flattened within a hundredth of a millimetre",
         R"(<circle cx="50" cy="50" r="20" fill="black"/>)", {M_PI * 20 * 20}, 2.0 / 3 * 2 * M_PI * 20 * 0.01},
        // The bulge of a curve whose second handle lies on its end is three
        // tenths of its first handle crossed with its chord: 0.3 x (10 x 20 +
        // 10 x 20). The first handle stands square to the chord; 33 mm long.
        {"a curve lopsided on its chord keeps its bulge", R"(<path d="M0 0 C10 -10 20 20 20 20 Z" fill="black"/>)",
         {0.3 * 400}, 2.0 / 3 * 33.1 * 0.01},
        // A curve ending where it starts has no chord to measure its handles
        // from; its loop holds 3/20 of its handles crossed: 0.15 x 40 x 40.
        // The loop is 57.6 mm round; the line after it encloses nothing.
        {"a curve looping back to its start keeps its loop",
         R"(<path d="M10 10 C50 10 10 50 10 10 L10 0 Z" fill="black"/>)",
         {0.15 * 1600}, 2.0 / 3 * 57.6 * 0.01},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        open(row.svg);
        ASSERT_EQ(merge(), kNoErr);
        ASSERT_EQ(top().size(), row.areas.size());
        for (size_t i = 0; i < row.areas.size(); ++i) {
            EXPECT_NEAR(areaMm2(top()[i]), row.areas[i], row.within) << i;
            EXPECT_TRUE(top()[i]->attrs & kArtSelected);
            const ArtNode* p = top()[i]->type == kPathArt ? top()[i] : kids(top()[i])[0];
            EXPECT_TRUE(p->style->fillPaint);
            EXPECT_FALSE(p->style->strokePaint);
        }
    }
}

TEST_F(HostActions, MergeLeavesUnfilledArtAndTakesAwayTheGroupsItEmptied)
{
    open(R"(<g id="back"><rect x="0" y="0" width="20" height="20" fill="black"/></g>
            <g id="front"><rect x="10" y="10" width="20" height="20" fill="black"/></g>
            <path id="line" d="M0 50 L50 50" stroke="black" fill="none"/>)");
    ASSERT_EQ(merge(), kNoErr);
    ASSERT_EQ(top().size(), 2u);
    EXPECT_EQ(top()[0]->name, "line") << "an outline without fill has nothing to merge";
    EXPECT_EQ(top()[1]->name, "front") << "the result takes the front-most square's place; the back group went";
    ASSERT_EQ(top()[1]->children.size(), 1u);
    EXPECT_NEAR(areaMm2(kids(top()[1])[0]), 700, 0.1);
}

TEST_F(HostActions, WhatTheHostCannotDoIsAnErrorAndChangesNothing)
{
    open(R"(<rect x="0" y="0" width="20" height="20" fill="black" stroke="black"/>)");
    std::string before = host::writeSvgText(doc());
    AIActionParamValueRef p = nullptr;
    ASSERT_EQ(actions().AINewActionParamValue(&p), kNoErr);
    EXPECT_EQ(actions().PlayActionEvent("ai_plugin_unknown", kDialogNone, p), kUnknownActionErr);
    EXPECT_EQ(actions().PlayActionEvent(kExpandActionName, kDialogNone, nullptr), kActionParamErr) << "no record";
    EXPECT_EQ(expand(false), kActionParamErr) << "'smth' missing";
    actions().AIActionSetReal(p, 'name', 8);
    EXPECT_EQ(actions().PlayActionEvent(kPathfinderActionName, kDialogNone, p), kActionParamErr) << "not enumerated";
    EXPECT_EQ(merge(3), kActionParamErr) << "another pathfinder operation";
    EXPECT_EQ(actions().AIDeleteActionParamValue(p), kNoErr);
    EXPECT_EQ(actions().PlayActionEvent(kExpandActionName, kDialogNone, p), kBadParameterErr) << "a deleted record";
    EXPECT_EQ(host::writeSvgText(doc()), before);
    EXPECT_EQ(actions().PlayActionEvent(kOutlineActionName, kDialogNone, nullptr), kNoErr);
    EXPECT_EQ(host::writeSvgText(doc()), before) << "outline changes nothing";
}

}  // namespace
