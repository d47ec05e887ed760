// The check-group tool: while the button is held, a frame 2 points outside
// every top-level object; groups framed once, guides and the tool's own
// frames never; everything gone on release and when the tool is put down.
#include "Tools/ToolFixture.h"

using namespace vt;
using namespace vt::host;

namespace {

class GroupCheckTool : public test::ToolTest {
protected:
    std::vector<AIRealRect> frames()
    {
        std::vector<AIRealRect> v;
        if (ArtNode* show = d().art(g_artGroupShow))
            for (ArtNode* c : show->children) {
                AIRealRect r;
                if (artBounds(c, false, r)) v.push_back(r);
            }
        return v;
    }
};

TEST_F(GroupCheckTool, EveryObjectIsFramedOnceWhileTheButtonIsDown)
{
    square(10, 10, 20);
    ArtNode* letters = group();
    square(100, 100, 10, letters);
    square(120, 100, 10, letters);
    ArtNode* guide = polygon({{0, 300}, {800, 300}}, false);
    guide->guide = true;
    // The split tool's guides, in their group, are not job objects either.
    run("tool \"Split Tool\"\ntrack 0 400\nmouse-down 0 400\nmouse-up 0 400");

    run("tool \"Check Group Tool\"\ntrack 5 5\nexpect-tool-cursor 6003\nmouse-down 5 5");
    std::vector<AIRealRect> f = frames();
    ASSERT_EQ(f.size(), 2u);
    // The frames are put on top as they are made: the last object's first.
    // An object's bounds take in half its 1-point stroke.
    EXPECT_EQ(f[1].left, 7.5);
    EXPECT_EQ(f[1].bottom, 7.5);
    EXPECT_EQ(f[1].right, 32.5);
    EXPECT_EQ(f[1].top, 32.5);
    EXPECT_EQ(f[0].left, 97.5);
    EXPECT_EQ(f[0].right, 132.5);
    EXPECT_EQ(f[0].top, 112.5);

    run("mouse-up 5 5");
    EXPECT_EQ(g_artGroupShow, nullptr);
    EXPECT_EQ(root()->children.size(), 4u);  // the square, the group, the guide and the guide group

    run("mouse-down 5 5\ntool \"Selection Tool\"");
    EXPECT_EQ(g_artGroupShow, nullptr);
    EXPECT_EQ(root()->children.size(), 4u);

    // Pressed and let go as the host calls the tool: framing every layer's
    // objects is no failure.
    EXPECT_EQ(toolGroupCheckMouseDown(nullptr), kNoErr);
    EXPECT_EQ(frames().size(), 2u);
    EXPECT_EQ(toolGroupCheckMouseUp(nullptr), kNoErr);
}

}  // namespace
