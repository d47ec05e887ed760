// The Plot Out dialog's preview frame (item 61), its view checks (48 to 50)
// and its preview-options button (51), driven as a user would.
#include <cstring>
#include <functional>
#include <vector>

#include "Common/PluginGlobals.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PreviewOptionDialog.h"
#include "Menus/Menus.h"
#include "PlotOutJobFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

// A red 100 x 50 mm rectangle 20 mm right of and 20 mm above the lower left
// of a blue 10 mm square, which becomes the job's origin.
const char* kJob = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect id="square" x="0" y="90" width="10" height="10" fill="#0000ff"/>
  <rect id="red" x="20" y="30" width="100" height="50" fill="#ff0000"/>
</svg>)";

const long kLineColour = 0x40E040, kControlColour = 0x4040C0, kBoard = 0xFFFFFF, kRed = 0xFF0000;

class PlotOutPreviewTest : public test::DialogTest {
protected:
    void SetUp() override
    {
        startSession();
        test::CurrentPlotterPrefs stored;
        stored.put(hostApp().prefs());
        openJob(kJob);
    }

    void plotOut(std::vector<host::toolkit::DialogAction> actions)
    {
        actions.push_back(click(kPlotOutExitItem));
        Toolkit::get().queueDialog(kPlotOutDialog.name, std::move(actions));
        std::string error;
        host::MenuItem* item = host::menus().find("Plot Out Menu", error);
        ASSERT_NE(item, nullptr) << error;
        host::menus().choose(item, error);
        EXPECT_EQ(error, "");
        EXPECT_TRUE(Toolkit::get().failures.empty()) << Toolkit::get().failures.front();
        Toolkit::get().failures.clear();
        Toolkit::get().clearQueues();
    }
    // The frame as it is now, drawn when it waits for a redraw.
    static Item* preview(Driver& user)
    {
        Item* frame = user.dialog()->item(kPlotOutPreviewItem);
        if (frame->invalid) Toolkit::get().draw(frame);
        return frame;
    }
    static std::vector<long> picture(Driver& user)
    {
        Item* frame = preview(user);
        std::vector<long> all;
        for (int v = 0; v < frame->height(); v++)
            for (int h = 0; h < frame->width(); h++) all.push_back(frame->raster.pixel(h, v));
        return all;
    }
    static long count(const std::vector<long>& picture, long colour)
    {
        long n = 0;
        for (long p : picture) n += p == colour;
        return n;
    }
    // Where a millimetre point of the job lands, for the dialog as it opens
    // (origin 1 at the frame's lower left, zoom 1).
    static long h(double x) { return 30 + (long)x; }
    static long v(Driver& user, double y) { return preview(user)->height() - 30 - (long)y; }
};

TEST_F(PlotOutPreviewTest, TheFrameShowsTheJobWhenTheDialogOpens)
{
    plotOut({check([](Driver& user) {
        Item* frame = preview(user);
        EXPECT_EQ(frame->style, 0);
        EXPECT_NE(frame->mask & kADMMouseMovedUpMask, 0u);
        EXPECT_EQ(g_iPreviewDrawType, kPreviewDrawAll);
        // The red rectangle's left edge, in the colour of fitted lines.
        EXPECT_EQ(frame->raster.pixel(h(20), v(user, 35)), kLineColour);
        EXPECT_EQ(frame->raster.pixel(h(70), v(user, 35)), kBoard);
        // The selection's outline frames the whole job, in XOR green.
        EXPECT_EQ(frame->raster.pixel(h(12), v(user, 70)), kBoard ^ 0x00FF00);
        // Where a drag would start from: the selection as drawn.
        EXPECT_EQ(g_rectOldUnion.left, h(0));
        EXPECT_EQ(g_rectOldUnion.top, v(user, 70));
        EXPECT_EQ(g_ptUnionSize.h, 120);
        EXPECT_EQ(g_ptUnionSize.v, 70);
        EXPECT_EQ(g->selectionHotRects[4].left, h(120) - 3);
    })});
}

TEST_F(PlotOutPreviewTest, ViewChecksStartFromTheGlobalsAndRedrawThePreview)
{
    std::vector<long> with, without;
    plotOut({check([&](Driver& user) {
                 for (int id : {kPlotOutShowIndexItem, kPlotOutShowControlPointsItem, kPlotOutShowStartPointsItem})
                     EXPECT_NE(user.dialog()->item(id)->value, 0.0f) << id;
                 with = picture(user);
             }),
             click(kPlotOutShowControlPointsItem), check([&](Driver& user) {
                 EXPECT_EQ(g->viewShowControlPoints, 0);
                 without = picture(user);
             }),
             click(kPlotOutShowControlPointsItem), click(kPlotOutShowIndexItem), click(kPlotOutShowStartPointsItem)});
    EXPECT_GT(count(with, kControlColour), count(without, kControlColour) + 20)
        << "the control points went with the check";
    EXPECT_EQ(g->viewShowControlPoints, 1);
    EXPECT_EQ(g->viewShowIndex, 0);
    EXPECT_EQ(g->viewShowStartPoint, 0);
}

TEST_F(PlotOutPreviewTest, FillCheckedAndOKFillsTheNextPictureCancelChangesNoPixel)
{
    std::vector<long> before, cancelled, filled;
    PreviewOption look = g->previewOption;
    Toolkit::get().queueDialog(kPreviewOptionDialog.name,
                               {click(kPreviewOptionFillItem), click(kPreviewOptionCancelItem)});
    Toolkit::get().queueDialog(kPreviewOptionDialog.name, {click(kPreviewOptionFillItem), click(kPreviewOptionOKItem)});
    plotOut({check([&](Driver& user) { before = picture(user); }), click(kPlotOutPreviewOptionsItem),
             check([&](Driver& user) {
                 cancelled = picture(user);
                 EXPECT_EQ(memcmp(&look, &g->previewOption, sizeof look), 0);
             }),
             click(kPlotOutPreviewOptionsItem), check([&](Driver& user) {
                 filled = picture(user);
                 EXPECT_EQ(user.dialog()->item(kPlotOutPreviewItem)->raster.pixel(h(70), v(user, 35)), kRed);
             })});
    EXPECT_EQ(cancelled, before);
    EXPECT_NE(filled, before);
    EXPECT_EQ(g->previewOption.fill, 1);
    EXPECT_EQ(Toolkit::get().modalLog.back().name, kPlotOutDialog.name);
}

TEST_F(PlotOutPreviewTest, ADragRedrawsOnlyTheBandOverThePicture)
{
    plotOut({check([](Driver& user) {
        std::vector<long> before = picture(user);
        Item* frame = user.dialog()->item(kPlotOutPreviewItem);
        g_ptMouseDown = ADMPoint{100, 100};
        g_ptMouseDragOld = g_ptMouseDown;
        g_ptMouseDrag = ADMPoint{300, 200};
        g_iPreviewDrawType = kPreviewDrawDragRect;
        Toolkit::get().invalidate(frame);
        Toolkit::get().draw(frame);
        EXPECT_EQ(g_iPreviewDrawType, kPreviewDrawAll) << "every draw ends ready for a full one";
        EXPECT_EQ(frame->raster.pixel(200, 100), kBoard ^ 0x0000FF);
        EXPECT_EQ(g_ptMouseDragOld.h, 300);
        g_ptMouseDrag = g_ptMouseDown;
        g_iPreviewDrawType = kPreviewDrawDragRect;
        Toolkit::get().invalidate(frame);
        Toolkit::get().draw(frame);
        EXPECT_EQ(picture(user), before);

        // The selection outline dragged 40 pixels right and back.
        ADMRect shown = g_rectOldUnion;
        g_rectNewUnion = shown;
        g_rectNewUnion.left += 40;
        g_rectNewUnion.right += 40;
        g_iPreviewDrawType = kPreviewDrawDragUnion;
        Toolkit::get().invalidate(frame);
        Toolkit::get().draw(frame);
        EXPECT_EQ(g_rectOldUnion.left, shown.left + 40);
        g_rectNewUnion = shown;
        g_iPreviewDrawType = kPreviewDrawDragUnion;
        Toolkit::get().invalidate(frame);
        Toolkit::get().draw(frame);
        EXPECT_EQ(picture(user), before);
    })});
}

}  // namespace
