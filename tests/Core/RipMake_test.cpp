// Weeding lines in the document: the frame, where the lines lie, which
// pieces are kept, the border, the group they make with the object, and
// which objects get them.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/RipMake.h"
#include "DocumentFixture.h"

using namespace vt;
using namespace vt::host;

namespace {

using test::kids;
using test::kMM;

// A piece as "(x1,y1)-(x2,y2)" to 0.01 pt.
std::string pieceText(const ArtNode* p)
{
    char s[128];
    snprintf(s, sizeof s, "(%.2f,%.2f)-(%.2f,%.2f)", p->segments[0].p.h, p->segments[0].p.v, p->segments[1].p.h,
             p->segments[1].p.v);
    return s;
}

class RipMakeTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        if (HasFatalFailure()) return;
        layerRoot_ = root();
    }

public:
    ArtNode* polygon(std::vector<std::pair<float, float>> corners, ArtNode* parent = nullptr)
    {
        ArtNode* p = d().newArt(kPathArt);
        for (auto [x, y] : corners) p->segments.push_back(cornerSegment(x, y));
        p->closed = true;
        p->style = defaultPathStyle();
        p->style.edit().strokePaint = false;
        d().place(p, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return p;
    }
    ArtNode* rect(float l, float b, float r, float t, ArtNode* parent = nullptr)
    {
        return polygon({{l, b}, {r, b}, {r, t}, {l, t}}, parent);
    }
    ArtNode* compound(std::vector<std::vector<std::pair<float, float>>> rings)
    {
        ArtNode* c = d().newArt(kCompoundPathArt);
        d().place(c, kPlaceBelowAll, nullptr);
        for (auto& r : rings) polygon(r, c);
        return c;
    }
protected:
    // The pieces the weeding made for an object: the open paths of its group.
    std::vector<std::string> pieces(const ArtNode* object)
    {
        std::vector<std::string> v;
        for (ArtNode* c : kids(object->parent))
            if (c != object && c->type == kPathArt && !c->closed) v.push_back(pieceText(c));
        return v;
    }
    const ArtNode* border(const ArtNode* object)
    {
        const ArtNode* last = kids(object->parent).back();
        return last->closed ? last : nullptr;
    }

    ArtNode* layerRoot_ = nullptr;
};

TEST_F(RipMakeTest, LinesCrossTheFrameAndAreKeptOnlyOutsideTheObject)
{
    struct Row {
        const char* shows;
        std::function<ArtNode*(RipMakeTest&)> make;
        double marginMillimetres;
        int vLines, hLines;
        std::vector<std::string> pieces;  // horizontal lines first, then the upright ones
    } rows[] = {
        {"a 100 x 50 pt rectangle, 1 mm margins, one line each: two pieces a line",
         [](RipMakeTest& t) { return t.rect(0, 0, 100, 50); }, 1, 1, 1,
         {"(-2.83,25.00)-(0.00,25.00)", "(100.00,25.00)-(102.83,25.00)", "(50.00,-2.83)-(50.00,0.00)",
          "(50.00,50.00)-(50.00,52.83)"}},
        {"lines that miss the object stay whole",
         [](RipMakeTest& t) {
             return t.compound({{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{90, 90}, {100, 90}, {100, 100}, {90, 100}}});
         },
         0, 1, 1, {"(0.00,50.00)-(100.00,50.00)", "(50.00,0.00)-(50.00,100.00)"}},
        {"a piece inside a hole is dropped",
         [](RipMakeTest& t) {
             return t.compound({{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{40, 40}, {60, 40}, {60, 60}, {40, 60}}});
         },
         1, 0, 1, {"(-2.83,50.00)-(0.00,50.00)", "(100.00,50.00)-(102.83,50.00)"}},
        {"two level lines: the first nearest the bottom",
         [](RipMakeTest& t) { return t.rect(0, 0, 30, 30); }, 1, 0, 2,
         {"(-2.83,9.06)-(0.00,9.06)", "(30.00,9.06)-(32.83,9.06)", "(-2.83,20.94)-(0.00,20.94)",
          "(30.00,20.94)-(32.83,20.94)"}},
        {"two upright lines: the first nearest the right",
         [](RipMakeTest& t) { return t.rect(0, 0, 30, 30); }, 1, 2, 0,
         {"(20.94,-2.83)-(20.94,0.00)", "(20.94,30.00)-(20.94,32.83)", "(9.06,-2.83)-(9.06,0.00)",
          "(9.06,30.00)-(9.06,32.83)"}},
        {"no margin: a line starting on the outline has nothing outside",
         [](RipMakeTest& t) { return t.rect(0, 0, 30, 30); }, 0, 1, 1, {}},
        {"no lines: only the border", [](RipMakeTest& t) { return t.rect(0, 0, 30, 30); }, 1, 0, 0, {}},
    };
    for (const Row& row : rows) {
        for (ArtNode* c : kids(layerRoot_)) d().dispose(c);
        ArtNode* object = row.make(*this);
        d().setSelected(object, true);
        EXPECT_EQ(doRipMake(row.marginMillimetres, row.marginMillimetres, row.vLines, row.hLines), kNoErr) << row.shows;
        ASSERT_EQ(object->parent->type, kGroupArt) << row.shows;
        EXPECT_EQ(pieces(object), row.pieces) << row.shows;
        const ArtNode* frame = border(object);
        ASSERT_NE(frame, nullptr) << row.shows;
        ASSERT_EQ(frame->segments.size(), 4u) << row.shows;
        for (const ArtNode* c : kids(object->parent)) {
            if (c == object) continue;
            EXPECT_FALSE(c->style->fillPaint) << row.shows;
            EXPECT_TRUE(c->style->strokePaint) << row.shows;
            EXPECT_EQ(c->style->stroke.color.kind, kThreeColor) << row.shows;
            EXPECT_EQ(c->style->stroke.color.c.rgb.red + c->style->stroke.color.c.rgb.green +
                          c->style->stroke.color.c.rgb.blue, 0) << row.shows;
            EXPECT_EQ(c->style->stroke.width, 0) << row.shows;
            for (const AIPathSegment& s : c->segments) {
                EXPECT_EQ(s.in.h, s.p.h) << row.shows;
                EXPECT_EQ(s.out.v, s.p.v) << row.shows;
            }
        }
    }
}

TEST_F(RipMakeTest, TheBorderIsTheBoundsWidenedByTheMargins)
{
    ArtNode* object = rect(0, 0, 100, 50);
    d().setSelected(object, true);
    EXPECT_EQ(doRipMake(1, 2, 1, 1), kNoErr);
    const ArtNode* frame = border(object);
    ASSERT_NE(frame, nullptr);
    float mx = float(kMM), my = float(2 * kMM);
    std::vector<std::pair<float, float>> want = {{-mx, -my}, {-mx, 50 + my}, {100 + mx, 50 + my}, {100 + mx, -my}};
    for (size_t i = 0; i < 4; i++) {
        EXPECT_NEAR(frame->segments[i].p.h, want[i].first, 1e-4) << "corner " << i;
        EXPECT_NEAR(frame->segments[i].p.v, want[i].second, 1e-4) << "corner " << i;
    }
    EXPECT_TRUE(frame->closed);
}

TEST_F(RipMakeTest, TheObjectAndItsLinesFormOneGroupInItsPlaceLinesBelow)
{
    ArtNode* above = rect(200, 0, 210, 10);
    ArtNode* object = rect(0, 0, 100, 50);
    ArtNode* below = rect(300, 0, 310, 10);
    d().setSelected(object, true);
    EXPECT_EQ(doRipMake(1, 1, 1, 1), kNoErr);
    ArtNode* group = object->parent;
    EXPECT_EQ(kids(layerRoot_), (std::vector<ArtNode*>{above, group, below}));
    std::vector<ArtNode*> inside = kids(group);
    ASSERT_EQ(inside.size(), 6u);
    EXPECT_EQ(inside.front(), object) << "the object is on top of its lines";
}

TEST_F(RipMakeTest, OnlyTopLevelObjectsGetLinesEachItsOwn)
{
    ArtNode* holder = d().newArt(kGroupArt);
    d().place(holder, kPlaceBelowAll, nullptr);
    ArtNode* inner = rect(0, 0, 10, 10, holder);
    ArtNode* first = rect(100, 0, 110, 10);
    ArtNode* second = rect(200, 0, 210, 10);
    d().setSelected(inner, true);
    d().setSelected(first, true);
    d().setSelected(second, true);
    EXPECT_EQ(doRipMake(1, 1, 1, 1), kNoErr);
    EXPECT_EQ(inner->parent, holder) << "an object selected inside a group gets none";
    EXPECT_EQ(holder->children.size(), 1u);
    EXPECT_NE(first->parent, second->parent);
    EXPECT_EQ(pieces(first).size(), 4u);
    EXPECT_EQ(pieces(second).size(), 4u);
}

TEST_F(RipMakeTest, NothingSelectedChangesNothing)
{
    ArtNode* object = rect(0, 0, 100, 50);
    EXPECT_EQ(doRipMake(1, 1, 1, 1), kNoErr);
    EXPECT_EQ(object->parent, layerRoot_);
    EXPECT_EQ(layerRoot_->children.size(), 1u);
}

}  // namespace
