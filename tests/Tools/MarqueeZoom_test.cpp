// The marquee zoom: the ratio of the view to the dragged rectangle, in or out
// by the direction of the drag, a click going back to the view before the
// last zoom; and the mode taken from the last tracking.
#include "Common/PluginGlobals.h"
#include "Tools/ToolFixture.h"

using namespace vt;
using namespace vt::host;

namespace {

TEST(MarqueeZoomRatio, TheSmallerSideDecidesAndTheDirectionZoomsInOrOut)
{
    const AIRealRect view{0, 600, 800, 0};  // 800 x 600 points
    struct Row {
        const char* name;
        AIRealPoint start, end;
        bool sized;
        float ratio;
        bool zoomIn;
    };
    const Row rows[] = {
        {"a quarter by a fifth dragged down-right zooms in by 4", {100, 500}, {300, 380}, true, 4, true},
        {"the same dragged up-left zooms in", {300, 380}, {100, 500}, true, 4, true},
        {"the same dragged up-right zooms out", {100, 380}, {300, 500}, true, 4, false},
        {"the same dragged down-left zooms out", {300, 500}, {100, 380}, true, 4, false},
        {"equal ratios: that of the height", {0, 300}, {400, 0}, true, 2, true},
        {"a click has no size", {10, 10}, {10, 10}, false, 0, false},
        {"a level line has no height", {10, 10}, {200, 10}, false, 0, false},
    };
    for (const Row& r : rows) {
        float ratio = 0;
        bool zoomIn = false;
        EXPECT_EQ(marqueeZoomRatio(view, r.start, r.end, &ratio, &zoomIn), r.sized) << r.name;
        if (!r.sized) continue;
        EXPECT_FLOAT_EQ(ratio, r.ratio) << r.name;
        EXPECT_EQ(zoomIn, r.zoomIn) << r.name;
    }
}

class MarqueeZoom : public test::ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        g->savedViewZoom = 1.0f;  // as at start-up
        g->savedViewCenter[0] = g->savedViewCenter[1] = 0.0f;
    }
};

TEST_F(MarqueeZoom, ZoomsByFourAndBackAndAFirstClickRestoresTheStartView)
{
    // The view: 800 x 600 points round (400, 300).
    run("view 1 400 300\ntool \"Check Group Tool\"\ntrack 100 500 shift\nexpect-tool-cursor 6013\n"
        "mouse-down 100 500 shift\nmouse-drag 300 380 shift");
    ASSERT_NE(d().art(g_artDragZoom), nullptr);
    // The marquee drawn is the rectangle dragged, closed, with straight corners.
    const auto& marquee = *d().art(g_artDragZoom);
    const AIRealPoint corners[4] = {{100, 500}, {100, 380}, {300, 380}, {300, 500}};
    ASSERT_EQ(marquee.segments.size(), 4u);
    EXPECT_TRUE(marquee.closed);
    for (int i = 0; i < 4; i++) {
        const AIPathSegment& s = marquee.segments[i];
        EXPECT_EQ(s.p.h, corners[i].h) << i;
        EXPECT_EQ(s.p.v, corners[i].v) << i;
        EXPECT_EQ(s.in.h, s.p.h) << i;
        EXPECT_EQ(s.out.v, s.p.v) << i;
    }
    EXPECT_EQ(g_artGroupShow, nullptr);  // zooming frames nothing
    run("mouse-up 300 380 shift\nexpect-view 4 200 440");
    EXPECT_EQ(g_artDragZoom, nullptr);
    EXPECT_EQ(root()->children.size(), 0u);

    // Dragged up-right: out by 4 again.
    run("mouse-down 150 400 shift\nmouse-drag 200 430 shift\nmouse-up 200 430 shift\nexpect-view 1 175 415");
    // A click goes back to the view before the last zoom.
    run("mouse-down 0 0 shift\nmouse-up 0 0 shift\nexpect-view 4 200 440");
}

TEST_F(MarqueeZoom, AMarqueeUpToATenthOfTheViewZoomsBeyondThatItGoesBack)
{
    struct Row {
        const char* name;
        const char* drag;  // from (100, 500) to here, in the 800 x 600 view round (400, 300)
        const char* view;  // afterwards
    } rows[] = {
        {"a tenth of each side zooms in by 10 round its middle", "180 440", "10 140 470"},
        {"a tenth of the width, less of the height: the width decides", "180 450", "10 140 475"},
        {"a little less than a tenth goes back to the view before", "179 441", "1 0 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        g->savedViewZoom = 1.0f;
        g->savedViewCenter[0] = g->savedViewCenter[1] = 0.0f;
        run(std::string("view 1 400 300\ntool \"Check Group Tool\"\ntrack 100 500 shift\nmouse-down 100 500 shift\n") +
            "mouse-drag " + row.drag + " shift\nmouse-up " + row.drag + " shift\nexpect-view " + row.view);
    }
}

TEST_F(MarqueeZoom, TheFirstClickAfterStartUpGoesToZoomOneAtTheOrigin)
{
    run("view 3 500 500\ntool \"Start Point Tool\"\ntrack 10 10 shift\nmouse-down 10 10 shift\nmouse-up 10 10 shift\n"
        "expect-view 1 0 0");
}

// Whichever tool tracked last decides: shift seen by one tracking is
// forgotten by the next, the split tool's included, even when the click
// comes from another tool with no tracking of its own in between.
TEST_F(MarqueeZoom, ShiftLetGoBeforeTheClickDoesNotZoom)
{
    struct Row {
        const char* name;
        const char* between;  // after a tracking with shift, before the click
    } rows[] = {
        {"the start-point tool tracked again", "tool \"Start Point Tool\"\ntrack 5 5"},
        {"the check-group tool tracked again", "tool \"Check Group Tool\"\ntrack 5 5"},
        {"the split tool tracked since", "tool \"Split Tool\"\ntrack 5 5\ntool \"Start Point Tool\""},
    };
    for (const char* first : {"Start Point Tool", "Check Group Tool"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(first) + ", then " + row.name);
            run(std::string("view 1 400 300\ntool \"") + first + "\"\ntrack 5 5 shift\n" + row.between +
                "\nmouse-down 5 5\nmouse-up 5 5\nexpect-view 1 400 300");
        }
    }
}

TEST_F(MarqueeZoom, ShiftPressedOnlyAfterTrackingDoesNotZoom)
{
    square(10, 10, 20);
    run("view 1 400 300\ntool \"Check Group Tool\"\ntrack 5 5\nmouse-down 5 5 shift");
    EXPECT_NE(g_artGroupShow, nullptr);  // the tool frames, as the tracking said
    run("mouse-up 300 380 shift\nexpect-view 1 400 300");
}

}  // namespace
