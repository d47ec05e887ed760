// The split tool: guides across the page, horizontal or (shift) vertical,
// turning while dragged, made guides on release, collected in one group that
// a deleted group is replaced by.
#include "Common/PluginGlobals.h"
#include "Tools/ToolFixture.h"

using namespace vt;
using namespace vt::host;

namespace {

class SplitTool : public test::ToolTest {
protected:
    ArtNode* guideGroup() { return d().art(g_artSplitGroup); }
    std::vector<ArtNode*> guides()
    {
        std::vector<ArtNode*> v;
        if (ArtNode* group = guideGroup())
            for (ArtNode* c : group->children) v.push_back(c);
        return v;
    }
};

TEST_F(SplitTool, ADragDrawsAGuideAcrossThePageTurningWithShift)
{
    run("tool \"Split Tool\"\ntrack 100 200\nmouse-down 100 200\nmouse-drag 120 210");
    ASSERT_EQ(guides().size(), 1u);
    ArtNode* guide = guides()[0];
    ASSERT_EQ(guide->segments.size(), 2u);
    EXPECT_FALSE(guide->closed);
    EXPECT_FALSE(guide->guide);  // a guide only once the button is let go
    EXPECT_EQ(guide->segments[0].p.h, 0);
    EXPECT_EQ(guide->segments[0].p.v, 210);
    EXPECT_EQ(guide->segments[1].p.h, 800);
    EXPECT_EQ(guide->segments[1].p.v, 210);
    EXPECT_EQ(tools().cursorId, 6000);

    // Shift pressed during the drag turns the line upright at the cursor's x.
    run("mouse-drag 130 220 shift\nmouse-up 140 230 shift");
    EXPECT_EQ(guide->segments[0].p.h, 140);
    EXPECT_EQ(guide->segments[0].p.v, 0);
    EXPECT_EQ(guide->segments[1].p.h, 140);
    EXPECT_EQ(guide->segments[1].p.v, 600);
    EXPECT_EQ(guide->segments[1].in.h, 140);
    EXPECT_EQ(guide->segments[1].out.v, 600);
    EXPECT_TRUE(guide->guide);
    EXPECT_EQ(tools().cursorId, 6001);
}

TEST_F(SplitTool, GuidesGatherInOneGroupAndADeletedGroupIsReplaced)
{
    run("tool \"Split Tool\"\ntrack 0 100\nmouse-down 0 100\nmouse-up 0 100\nmouse-down 0 300\nmouse-up 0 300");
    ASSERT_EQ(guides().size(), 2u);
    ArtNode* first = guideGroup();
    EXPECT_EQ(first->parent, root());
    EXPECT_EQ(root()->children.front(), first);  // above all art

    d().dispose(first);
    run("mouse-down 0 400\nmouse-up 0 400");
    ASSERT_NE(guideGroup(), nullptr);
    EXPECT_EQ(guides().size(), 1u);

    // Picking the tool again starts a new group; the old one stays.
    ArtNode* kept = guideGroup();
    run("tool \"Selection Tool\"\ntool \"Split Tool\"\nmouse-down 0 500\nmouse-up 0 500");
    EXPECT_NE(guideGroup(), kept);
    EXPECT_NE(d().art(Document::handle(kept)), nullptr);
}

TEST_F(SplitTool, ChoosingTheToolAgainForgetsTheGuideBeingDrawn)
{
    // The tool is chosen again while a guide is being drawn (the release never
    // reached it): that guide stays where it was, and a drag before the next
    // press draws nothing.
    run("tool \"Split Tool\"\ntrack 0 100\nmouse-down 0 100");
    ASSERT_EQ(guides().size(), 1u);
    ArtNode* stale = guides()[0];
    run("tool \"Selection Tool\"\ntool \"Split Tool\"\nmouse-drag 0 300\nmouse-up 0 300");
    EXPECT_EQ(stale->segments[0].p.v, 100);
    EXPECT_EQ(stale->segments[1].p.v, 100);
    EXPECT_FALSE(stale->guide);

    // The same with the half-drawn guide deleted meanwhile: nothing is drawn, nothing fails.
    run("mouse-down 0 200");
    ArtNode* deleted = guides().front();
    d().dispose(deleted);
    run("tool \"Selection Tool\"\ntool \"Split Tool\"\nmouse-drag 0 400\nmouse-up 0 400");
    EXPECT_EQ(guides().size(), 0u) << "the next press starts a new group";
}

}  // namespace
