// Dot cut in the document: the pieces of lines, corners and curves, their
// pens, tags and looks, the group that holds them, giving the source back,
// what is left alone, and the pen list read for the dialog's popups.
#include <cmath>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/DotCut.h"
#include "Core/PlotterPreferences.h"
#include "DocumentFixture.h"
#include "Math/PointInCurve.h"
#include "Preferences.h"

using namespace vt;
using namespace vt::host;

namespace {

using test::kids;
using test::kMM;

std::string tagOf(const ArtNode* n)
{
    const std::string* t = n->tag(kTagDotCut);
    return t ? *t : std::string("(none)");
}

double chordLength(const ArtNode* piece)
{
    const AIPathSegment& a = piece->segments[0];
    const AIPathSegment& b = piece->segments[1];
    return std::hypot(double(b.p.h) - a.p.h, double(b.p.v) - a.p.v);
}

bezier_stru toBezier(const AIRealBezier& b)
{
    bezier_stru z;
    z.degree = 3;
    const AIRealPoint p[4] = {b.p0, b.p1, b.p2, b.p3};
    for (int i = 0; i < 4; i++) {
        z.P[i][0] = p[i].h;
        z.P[i][1] = p[i].v;
    }
    return z;
}

bezier_stru pieceBezier(const ArtNode* piece)
{
    const AIPathSegment& a = piece->segments[0];
    const AIPathSegment& b = piece->segments[1];
    return toBezier(AIRealBezier{a.p, a.out, b.in, b.p});
}

double fineLength(const bezier_stru& b)
{
    double sum = 0, px, py;
    BezierXY(b, 0, &px, &py);
    for (int i = 1; i <= 20000; i++) {
        double x, y;
        BezierXY(b, i / 20000.0, &x, &y);
        sum += std::hypot(x - px, y - py);
        px = x;
        py = y;
    }
    return sum;
}

class DotCutTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        if (HasFatalFailure()) return;
        g->dotCutThroughLength = 300;
        g->dotCutHalfCutLength = 200;
        g->dotCutThroughPen = 1;
        g->dotCutHalfCutPen = 0;
    }

    ArtNode* path(std::vector<AIPathSegment> segs, bool closed, ArtNode* parent = nullptr)
    {
        ArtNode* p = d().newArt(kPathArt);
        p->segments = std::move(segs);
        p->closed = closed;
        p->style = defaultPathStyle();
        d().place(p, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return p;
    }
    ArtNode* line(double millimetres) { return path({cornerSegment(0, 0), cornerSegment(float(millimetres * kMM), 0)}, false); }
    // The one dot-cut group the layer holds after a cut.
    ArtNode* cutGroup()
    {
        for (ArtNode* c : kids(root()))
            if (c->type == kGroupArt && c->tag(kTagDotCut)) return c;
        return nullptr;
    }
    std::vector<ArtNode*> pieces(const ArtNode* group)
    {
        std::vector<ArtNode*> v = kids(group);
        v.erase(v.begin());  // the source
        return v;
    }
};

// ---- Pieces -------------------------------------------------------------------------

TEST_F(DotCutTest, LinesAreCutIntoPiecesThatTakeTurnsBetweenThePens)
{
    struct Row {
        const char* shows;
        double lineMillimetres;
        size_t pieces;
        double lastMillimetres;
        const char* lastTag;
    } rows[] = {
        {"101 mm: 20 whole turns and a 1 mm through piece", 101, 41, 1, "1"},
        {"100 mm: the last half-cut piece ends on the end, no stab of the other pen", 100, 40, 2, "0"},
        {"4 mm: a through piece and a short half-cut one", 4, 2, 1, "0"},
        {"2 mm: shorter than one through length", 2, 1, 2, "1"},
    };
    for (const Row& row : rows) {
        for (ArtNode* c : kids(root())) d().dispose(c);
        ArtNode* source = line(row.lineMillimetres);
        d().setSelected(source, true);
        ASSERT_EQ(dotCutSelection(), kNoErr) << row.shows;
        ArtNode* group = cutGroup();
        ASSERT_NE(group, nullptr) << row.shows;
        EXPECT_EQ(kids(group).front(), source) << row.shows << ": the source comes first";
        EXPECT_EQ(tagOf(group), "10") << row.shows;
        std::vector<ArtNode*> made = pieces(group);
        ASSERT_EQ(made.size(), row.pieces) << row.shows;
        double x = 0;
        for (size_t i = 0; i < made.size(); i++) {
            const ArtNode* p = made[i];
            bool through = i % 2 == 0;
            ASSERT_EQ(p->segments.size(), 2u) << row.shows;
            EXPECT_FALSE(p->closed) << row.shows;
            EXPECT_EQ(tagOf(p), through ? "1" : "0") << row.shows << " piece " << i;
            EXPECT_NEAR(p->segments[0].p.h, x, 1e-3) << row.shows << ": pieces follow on, piece " << i;
            EXPECT_GT(chordLength(p), 0.001) << row.shows << " piece " << i;
            if (i + 1 < made.size()) {
                EXPECT_NEAR(chordLength(p), (through ? 3 : 2) * kMM, 1e-3) << row.shows << " piece " << i;
            }
            x = p->segments[1].p.h;
        }
        EXPECT_NEAR(chordLength(made.back()), row.lastMillimetres * kMM, 1e-3) << row.shows;
        EXPECT_EQ(tagOf(made.back()), row.lastTag) << row.shows;
        EXPECT_NEAR(x, row.lineMillimetres * kMM, 1e-3) << row.shows << ": the pieces reach the end";
    }
}

TEST_F(DotCutTest, ALengthCrossingACornerIsTwoPiecesOfTheSamePen)
{
    // 11 mm sides: T3 H2 T3 H2, then 1 mm of through pen before the corner
    // and 2 mm after it.
    float s = float(11 * kMM);
    ArtNode* square = path({cornerSegment(0, 0), cornerSegment(s, 0), cornerSegment(s, s), cornerSegment(0, s)}, true);
    d().setSelected(square, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    std::vector<ArtNode*> made = pieces(cutGroup());
    ASSERT_GE(made.size(), 6u);
    EXPECT_EQ(tagOf(made[4]), "1");
    EXPECT_EQ(tagOf(made[5]), "1");
    EXPECT_NEAR(chordLength(made[4]), 1 * kMM, 1e-3);
    EXPECT_NEAR(chordLength(made[5]), 2 * kMM, 1e-3);
    EXPECT_NEAR(made[4]->segments[1].p.h, s, 1e-3);
    EXPECT_EQ(tagOf(made[6]), "0");
    // The closing side is cut too: the last piece ends where the path began.
    EXPECT_NEAR(made.back()->segments[1].p.h, 0, 1e-3);
    EXPECT_NEAR(made.back()->segments[1].p.v, 0, 1e-3);
}

TEST_F(DotCutTest, PiecesOfACurveLieOnItAndAddUpToItsLength)
{
    // A quarter circle of radius 50 mm.
    float r = float(50 * kMM), k = 0.5522847f * r;
    AIPathSegment a = cornerSegment(r, 0), b = cornerSegment(0, r);
    a.out = AIRealPoint{r, k};
    b.in = AIRealPoint{k, r};
    ArtNode* arc = path({a, b}, false);
    bezier_stru source = toBezier(AIRealBezier{a.p, a.out, b.in, b.p});
    d().setSelected(arc, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    std::vector<ArtNode*> made = pieces(cutGroup());
    ASSERT_GT(made.size(), 20u);
    for (size_t i = 0; i < made.size(); i++) {
        bezier_stru p = pieceBezier(made[i]);
        double mid[2];
        BezierXY(p, 0.5, &mid[0], &mid[1]);
        double t, distance;
        PointBezierDistance(source, mid, &t, &distance, 0);
        EXPECT_LT(distance, 1e-3) << "piece " << i << "'s midpoint is on the curve";
    }
    double total = 0;
    for (ArtNode* p : made) total += fineLength(pieceBezier(p));
    EXPECT_NEAR(total, fineLength(source), 1e-3);
}

TEST_F(DotCutTest, PiecesAreDrawnInThePenColoursWithoutFill)
{
    ArtNode* source = line(5);
    d().setSelected(source, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    std::vector<ArtNode*> made = pieces(cutGroup());
    ASSERT_EQ(made.size(), 2u);
    struct Row {
        const char* shows;
        const ArtNode* piece;
        float red, green, blue, width;
    } rows[] = {
        {"cut-through", made[0], 1, 0, 0, 5},
        {"half-cut", made[1], 0, 128.0f / 255, 128.0f / 255, 3},
    };
    for (const Row& row : rows) {
        const AIPathStyle& s = row.piece->style;
        EXPECT_FALSE(s.fillPaint) << row.shows;
        EXPECT_TRUE(s.strokePaint) << row.shows;
        EXPECT_EQ(s.stroke.color.kind, kThreeColor) << row.shows;
        EXPECT_FLOAT_EQ(s.stroke.color.c.rgb.red, row.red) << row.shows;
        EXPECT_FLOAT_EQ(s.stroke.color.c.rgb.green, row.green) << row.shows;
        EXPECT_FLOAT_EQ(s.stroke.color.c.rgb.blue, row.blue) << row.shows;
        EXPECT_FLOAT_EQ(s.stroke.width, row.width) << row.shows;
    }
}

// ---- The document -------------------------------------------------------------------

TEST_F(DotCutTest, CuttingAGroupAgainGivesTheSourceBackInItsPlace)
{
    ArtNode* above = line(10);
    ArtNode* source = line(20);
    ArtNode* below = line(30);
    d().setSelected(source, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    ArtNode* group = cutGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(kids(root()), (std::vector<ArtNode*>{above, group, below}));
    AIArtHandle groupHandle = Document::handle(group);

    d().setSelected(group, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    EXPECT_EQ(kids(root()), (std::vector<ArtNode*>{above, source, below}));
    EXPECT_EQ(d().art(groupHandle), nullptr) << "the group and its pieces are gone";
    EXPECT_EQ(source->segments.size(), 2u);
}

TEST_F(DotCutTest, GroupsAreCutWholeAndMarksAndUnselectedArtAreLeftAlone)
{
    ArtNode* layerRoot = root();
    ArtNode* group = d().newArt(kGroupArt);
    d().place(group, kPlaceBelowAll, nullptr);
    path({cornerSegment(0, 0), cornerSegment(float(5 * kMM), 0)}, false, group);
    path({cornerSegment(0, 10), cornerSegment(float(5 * kMM), 10)}, false, group);
    ArtNode* loose = line(50);
    LayerNode* marks = d().insertLayer(0, "Layer of 4 Marks Printed");
    ArtNode* mark = d().newArt(kPathArt);
    mark->segments = {cornerSegment(0, 0), cornerSegment(100, 0)};
    d().place(mark, kPlaceInsideOnTop, marks->root);
    d().setSelected(group, true);
    d().setSelected(mark, true);

    ASSERT_EQ(dotCutSelection(), kNoErr);
    ArtNode* made = nullptr;
    for (ArtNode* c : kids(layerRoot))
        if (c->tag(kTagDotCut)) made = c;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(kids(made).front(), group) << "the selected group is the source";
    EXPECT_EQ(pieces(made).size(), 4u) << "each 5 mm path: 3 mm through and 2 mm half";
    for (ArtNode* c : kids(group)) EXPECT_TRUE(c->children.empty());
    EXPECT_EQ(kids(marks->root), std::vector<ArtNode*>{mark}) << "the marks layer is not touched";
    EXPECT_EQ(loose->parent, layerRoot) << "unselected art stays";
    EXPECT_EQ(layerRoot->children.size(), 2u);
}

TEST_F(DotCutTest, NothingIsCutUnlessBothLengthsArePositive)
{
    struct Row {
        const char* shows;
        int32_t through, half;
    } rows[] = {
        {"no through length", 0, 200},
        {"no half-cut length", 300, 0},
        {"a negative length, which would never end", -300, 200},
    };
    for (const Row& row : rows) {
        ArtNode* source = line(10);
        d().setSelected(source, true);
        g->dotCutThroughLength = row.through;
        g->dotCutHalfCutLength = row.half;
        ASSERT_EQ(dotCutSelection(), kNoErr) << row.shows;
        EXPECT_EQ(cutGroup(), nullptr) << row.shows;
        EXPECT_EQ(source->parent, root()) << row.shows;
        d().dispose(source);
    }
}

TEST_F(DotCutTest, FarFromTheOriginTheShortestLengthsStillEnd)
{
    // At 10,000,000 pt a float moves by whole points: 0.01 mm splits move
    // nothing, and the cutting must end all the same.
    g->dotCutThroughLength = g->dotCutHalfCutLength = 1;
    ArtNode* source = path({cornerSegment(1e7f, 0), cornerSegment(1e7f + 30, 0)}, false);
    d().setSelected(source, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    ASSERT_NE(cutGroup(), nullptr);
    EXPECT_LT(cutGroup()->children.size(), 2200u);
}

TEST_F(DotCutTest, TheGroupTagNamesBothPens)
{
    g->dotCutThroughPen = 3;
    g->dotCutHalfCutPen = 2;
    ArtNode* source = line(5);
    d().setSelected(source, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    ArtNode* group = cutGroup();
    EXPECT_EQ(tagOf(group), "32");
    std::vector<ArtNode*> made = pieces(group);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(tagOf(made[0]), "3");
    EXPECT_EQ(tagOf(made[1]), "2");
}

TEST_F(DotCutTest, ALoosePieceIsNotTakenForADotCutGroup)
{
    // A piece moved out of its group still carries its pen's tag; it is cut
    // like any path rather than thrown away as a group's pieces would be.
    ArtNode* piece = line(6);
    piece->setTag(kTagDotCut, "1");
    d().setSelected(piece, true);
    ASSERT_EQ(dotCutSelection(), kNoErr);
    ASSERT_NE(d().art(Document::handle(piece)), nullptr);
    EXPECT_EQ(piece->parent->type, kGroupArt);
    EXPECT_EQ(kids(piece->parent).front(), piece);
}

// ---- The pens of the popups --------------------------------------------------------

TEST_F(DotCutTest, ThePenListHoldsOnlyPensWhoseNamesWereRead)
{
    struct Row {
        const char* shows;
        int count;  // -1: no count stored
        std::vector<std::string> names;
        int32_t listed;
    } rows[] = {
        {"three named pens", 3, {"Knife", "Pen", "Pounce"}, 3},
        {"names past the count, left by a plotter with more pens", 2, {"Knife", "Pen", "Pounce", "Wheel"}, 2},
        {"a name missing ends the list", 3, {"Knife"}, 1},
        {"an empty name ends the list", 3, {"Knife", "", "Pounce"}, 1},
        {"no count", -1, {"Knife"}, 0},
        {"a count of 0", 0, {"Knife"}, 0},
        {"a negative count", -5, {"Knife"}, 0},
        {"an absurd count", kMaxPenCount + 1, {"Knife"}, 0},
        {"the most pens a plotter may have", kMaxPenCount, {"Knife", "Pen"}, 2},
    };
    for (const Row& row : rows) {
        Preferences& prefs = hostApp().prefs();
        prefs.remove(kCurrentPlotterPrefix, "EnvironmentPenNum");
        for (int i = 0; i < 4; i++) prefs.remove(kCurrentPlotterPrefix, "PenName-" + std::to_string(i));
        if (row.count != -1 || std::string(row.shows) != "no count")
            prefs.putInteger(kCurrentPlotterPrefix, "EnvironmentPenNum", row.count);
        for (size_t i = 0; i < row.names.size(); i++)
            prefs.putString(kCurrentPlotterPrefix, "PenName-" + std::to_string(i), row.names[i]);
        (void)GetCurrentEnvPen();
        EXPECT_EQ(g->curEnvironment.PenNumber, row.listed) << row.shows;
        EXPECT_EQ(g->curEnvironment.Pens != nullptr, row.listed > 0) << row.shows;
        for (int32_t i = 0; i < row.listed; i++)
            EXPECT_EQ(std::string(g->curEnvironment.Pens[i].PenName), row.names[i]) << row.shows;
    }
}

}  // namespace
