// The Plot Out dialog's placement buttons 5 to 14 and the gaps dialog that
// button 13 opens, driven as a user would on a loaded job.
#include <cmath>
#include <functional>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/VolumePlacement.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/AutoGroupSpaceDialog.h"
#include "Dialog/PlotOutDialog.h"
#include "PlotOutJobFixture.h"

using namespace vt;
using host::toolkit::DialogAction;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

const double kMm = 1e-3;

class PlotOutPlacementTest : public test::PlotOutJobTest {
protected:
    void SetUp() override
    {
        startSession();
        putPlotter();
        openJob();
    }

    // The current plotter: 600 x 1000 mm.
    void putPlotter(double width = 600)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterSizeX = width;
        stored.plotter.PlotterSizeY = 1000;
        stored.put(hostApp().prefs());
    }

    static void expectCorner(double loadedLeft, double x, double y, const char* what)
    {
        const Volume& v = volumeAt(loadedLeft);
        EXPECT_NEAR(v.rect[0], x, kMm) << what << ": volume loaded at " << loadedLeft;
        EXPECT_NEAR(v.rect[3], y, kMm) << what << ": volume loaded at " << loadedLeft;
        EXPECT_NEAR(v.rect[2] - v.rect[0], v.loadRect[2] - v.loadRect[0], kMm) << what << ": width kept";
    }
    static DialogAction expectAt(double loadedLeft, double x, double y, const char* what)
    {
        return check([=] { expectCorner(loadedLeft, x, y, what); });
    }
};

TEST_F(PlotOutPlacementTest, TheGapsDialogShowsAndStoresTheGapsInMillimetres)
{
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    g->autoGroupGapX = 4;
    g->autoGroupGapY = 0;
    Toolkit::get().queueDialog(kAutoGroupSpaceDialog.name, {[](Driver& user, std::string& error) {
                                   auto* d = user.dialog();
                                   EXPECT_EQ(d->title, "Auto Group Spacing");
                                   EXPECT_EQ(d->resourceId, kAutoGroupSpaceDialog.resource);
                                   EXPECT_EQ(d->style, kADMModalDialogStyle);
                                   EXPECT_EQ(d->width(), 228);
                                   EXPECT_EQ(d->height(), 86);
                                   EXPECT_EQ(d->items.size(), 8u);
                                   EXPECT_EQ(d->item(kAutoGroupSpaceGapXLabelItem)->justify, kADMRightJustify);
                                   EXPECT_EQ(d->item(kAutoGroupSpaceGapYLabelItem)->justify, kADMRightJustify);
                                   auto* x = d->item(kAutoGroupSpaceGapXItem);
                                   EXPECT_EQ(x->units, kADMMillimeterUnits);
                                   EXPECT_NEAR(x->value, 4 * 2.8346458, 1e-4);
                                   EXPECT_NEAR(x->smallIncrement, 2.8346457, 1e-5);
                                   EXPECT_NEAR(x->largeIncrement, 14.173229, 1e-4);
                                   return user.spin(kAutoGroupSpaceGapXItem, 1, true, error) &&
                                          user.type(kAutoGroupSpaceGapYItem, "2.5 mm", error) &&
                                          user.click(kAutoGroupSpaceOKItem, error);
                               }});
    EXPECT_EQ(goAutoGroupSpace(), kAutoGroupSpaceConfirmed);
    EXPECT_NEAR(g->autoGroupGapX, 9, 1e-4) << "4 mm and a large step of 5";
    EXPECT_NEAR(g->autoGroupGapY, 2.5, 1e-4);

    Toolkit::get().queueDialog(kAutoGroupSpaceDialog.name, {[](Driver& user, std::string& error) {
                                   return user.type(kAutoGroupSpaceGapXItem, "30", error) &&
                                          user.click(kAutoGroupSpaceCancelItem, error);
                               }});
    EXPECT_EQ(goAutoGroupSpace(), kAutoGroupSpaceCancelled);
    EXPECT_NEAR(g->autoGroupGapX, 9, 1e-4) << "Cancel stores nothing";
    Toolkit::get().clearQueues();
    (void)releaseSuites(hostApp().basic());
}

TEST_F(PlotOutPlacementTest, AlignButtonsMoveTheSelectionAndUndoPutsItBack)
{
    // The selection A and B spans 0..50 x 0..40.
    struct Row {
        int button;
        double ax, ay, bx, by;
    } rows[] = {
        {kPlotOutAlignLeftItem, 0, 0, 0, 20},     {kPlotOutAlignCenterXItem, 15, 0, 20, 20},
        {kPlotOutAlignRightItem, 30, 0, 40, 20},  {kPlotOutAlignTopItem, 0, 30, 40, 20},
        {kPlotOutAlignCenterYItem, 0, 15, 40, 10}, {kPlotOutAlignBottomItem, 0, 0, 40, 0},
        // The board is the plotter's 600 x 1000.
        {kPlotOutBoardCenterXItem, 275, 0, 315, 20}, {kPlotOutBoardCenterYItem, 0, 480, 40, 500},
    };
    std::vector<DialogAction> actions;
    for (const Row& row : rows) {
        actions.push_back(check([] { selectOnly({0, 40}); }));
        actions.push_back(click(row.button));
        actions.push_back(expectAt(0, row.ax, row.ay, "A"));
        actions.push_back(expectAt(40, row.bx, row.by, "B"));
        actions.push_back(expectAt(100, 100, 5, "C is not selected"));
        actions.push_back(click(kPlotOutUndoItem));
        actions.push_back(expectAt(0, 0, 0, "A undone"));
        actions.push_back(expectAt(40, 40, 20, "B undone"));
    }
    actions.push_back(check([] { EXPECT_EQ(g->undoPos, -1); }));
    plotOut(std::move(actions));
}

TEST_F(PlotOutPlacementTest, AutoGroupPacksEveryVolumeAfterTheGapsDialog)
{
    Toolkit::get().queueDialog(kAutoGroupSpaceDialog.name, {[](Driver& user, std::string& error) {
                                   return user.type(kAutoGroupSpaceGapXItem, "5", error) &&
                                          user.type(kAutoGroupSpaceGapYItem, "2", error) &&
                                          user.click(kAutoGroupSpaceOKItem, error);
                               }});
    Toolkit::get().queueDialog(kAutoGroupSpaceDialog.name, {[](Driver& user, std::string& error) {
                                   return user.click(kAutoGroupSpaceCancelItem, error);
                               }});
    plotOut({
        check([] { selectOnly({40}); }),
        click(kPlotOutAutoGroupItem),
        // Widest first, up one column: C (30), A (20), B (10), 2 mm apart;
        // selected or not.
        expectAt(100, 0, 0, "C"),
        expectAt(0, 0, 12, "A"),
        expectAt(40, 0, 24, "B"),
        check([] { EXPECT_EQ(g->undoPos, 0); }),
        // Cancelled: nothing moves, nothing is recorded.
        click(kPlotOutAutoGroupItem),
        expectAt(0, 0, 12, "A after a cancel"),
        check([] { EXPECT_EQ(g->undoPos, 0); }),
        click(kPlotOutUndoItem),
        expectAt(100, 100, 5, "C undone"),
        expectAt(0, 0, 0, "A undone"),
        expectAt(40, 40, 20, "B undone"),
        click(kPlotOutExitItem),
    });
    EXPECT_TRUE(hostApp().alerts().empty());
}

TEST_F(PlotOutPlacementTest, VolumesThatDoNotFitThePageStayAndAreCounted)
{
    putPlotter(25);
    Toolkit::get().queueDialog(kAutoGroupSpaceDialog.name, {[](Driver& user, std::string& error) {
                                   return user.click(kAutoGroupSpaceOKItem, error);
                               }});
    plotOut({
        click(kPlotOutAutoGroupItem),
        expectAt(100, 100, 5, "C is 30 wide on a 25 wide page"),
        expectAt(0, 0, 0, "A"),
        click(kPlotOutExitItem),
    });
    ASSERT_EQ(hostApp().alerts().size(), 1u);
    EXPECT_NE(hostApp().alerts()[0].text.find("stayed where they were"), std::string::npos);
    EXPECT_NE(hostApp().alerts()[0].text.find(" 1"), std::string::npos) << hostApp().alerts()[0].text;
}

TEST_F(PlotOutPlacementTest, ResetPutsEveryVolumeBackWithoutAnUndoStep)
{
    plotOut({
        click(kPlotOutAlignRightItem),
        // A turned and scaled volume keeps its size; its corner goes back.
        check([] {
            selectOnly({0});
            g->undoNewStep = 1;
            setSelectionVolumeDoubleValue(9, 90, 0);
            setSelectionVolumeDoubleValue(5, 2, 0);
        }),
        click(kPlotOutResetPositionsItem),
        check([] {
            for (double left : {0.0, 40.0, 100.0}) {
                const Volume& v = volumeAt(left);
                EXPECT_NEAR(v.rect[0], v.loadRect[0], kMm) << left;
                EXPECT_NEAR(v.rect[3], v.loadRect[3], kMm) << left;
            }
            const Volume& a = volumeAt(0);
            EXPECT_NEAR(a.rect[2] - a.rect[0], 20, kMm) << "10 high turned, then twice as wide";
            EXPECT_NEAR(a.rect[1] - a.rect[3], 20, kMm);
            EXPECT_EQ(g->undoPos, 1) << "the reset is not a step";
        }),
        click(kPlotOutExitItem),
    });
}

}  // namespace
