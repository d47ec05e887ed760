// The command palette "PreProcess Plot": made when the application has
// started, holding the suites until shutdown, its buttons reaching the
// dialogs and operations they name.
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PlotterRecords.h"
#include "Dialog/PlotterSetup.h"
#include "Dialog/PreProcessDialog.h"
#include "Dialog/VLCDDialog.h"
#include "CurrentPlotterPrefs.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

class PreProcessPalette : public test::HostTest {
protected:
    Dialog* palette() { return Toolkit::get().findDialog(kPreProcessDialog.name); }
    bool click(ASInt32 item, std::string& error)
    {
        Driver user(Toolkit::get(), palette());
        return user.click(item, error);
    }
};

TEST_F(PreProcessPalette, FirstStartShowsItAtThePaletteAreasCornerWithItsFifteenItems)
{
    startSession();
    Dialog* d = palette();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(host::toolkit::ref(d), g->preProcessPanel);
    EXPECT_EQ(d->resourceId, kPreProcessDialog.resource);
    EXPECT_EQ(d->style, kADMTabbedFloatingDialogStyle);
    EXPECT_EQ(d->title, "Vantorel");
    EXPECT_TRUE(d->visible);
    const ADMRect& area = Toolkit::get().paletteArea;
    EXPECT_EQ(d->bounds.left, area.left);
    EXPECT_EQ(d->bounds.top, area.top);
    EXPECT_EQ(d->width(), 212);
    EXPECT_EQ(d->height(), 100);
    EXPECT_EQ(d->items.size(), 15u);
    EXPECT_EQ(d->item(kPreProcessTextOutlineItem)->picture, 1053);
    EXPECT_EQ(d->item(kPreProcessOffsetItem)->tip, "Contour offset");
    EXPECT_EQ(d->item(kPreProcessSplitToolItem)->kind, host::toolkit::ItemKind::PictureRadioButton);
    EXPECT_FALSE(d->item(kPreProcessDevicePanelItem)->visible) << "no current plotter has a device panel";
    // Rows of 24-pixel buttons 25 pixels apart (the label takes the second
    // row's left), none over another and all within the palette.
    for (const auto& item : d->items) {
        const ADMRect& b = item->bounds;
        SCOPED_TRACE("item " + std::to_string(item->id));
        EXPECT_TRUE(b.top == 2 || b.top == 27 || b.top == 52) << b.top;
        EXPECT_EQ(b.bottom - b.top, 24);
        EXPECT_TRUE(b.left >= 0 && b.right <= d->width() && b.bottom <= d->height());
        for (const auto& other : d->items) {
            const ADMRect& o = other->bounds;
            bool over = other != item && b.left < o.right && o.left < b.right && b.top < o.bottom && o.top < b.bottom;
            EXPECT_FALSE(over) << "over item " << other->id;
        }
    }
}

TEST_F(PreProcessPalette, ShutdownDestroysItAndGivesBackWhatItHeld)
{
    startSession();
    EXPECT_EQ(hostApp().registry().openCount(kAIArtSuite), 1);
    EXPECT_EQ(session().shutdown(), kNoErr);
    EXPECT_EQ(palette(), nullptr);
    EXPECT_EQ(hostApp().registry().totalOpen(), 0);
    EXPECT_EQ(session().plugin()->accessCount, 0);
}

TEST_F(PreProcessPalette, ItsButtonsWorkBetweenHostMessagesWithTheSuitesItHolds)
{
    startSession();
    ASSERT_NE(sADMDialog, nullptr) << "held by the palette";
    Toolkit::get().queueDialog(kPlotterSetupDialog.name, {[](Driver& user, std::string& error) {
                                   return user.click(kPlotterSetupCancelItem, error);
                               }});
    std::string error;
    ASSERT_TRUE(click(kPreProcessPlotterSetupItem, error)) << error;
    ASSERT_EQ(Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(Toolkit::get().modalLog[0].name, kPlotterSetupDialog.name);
}

TEST_F(PreProcessPalette, TheDevicePanelButtonFollowsTheCurrentPlottersCapability)
{
    makeSession();
    test::CurrentPlotterPrefs stored;
    stored.plotter.PlotterReserved = kPlotterDevicePanelBit;
    stored.put(hostApp().prefs());
    startSession();
    EXPECT_TRUE(palette()->item(kPreProcessDevicePanelItem)->visible);

    // Plotter setup from the palette reads the capability again.
    stored.plotter.PlotterReserved = 0;
    stored.put(hostApp().prefs());
    Toolkit::get().queueDialog(kPlotterSetupDialog.name, {[](Driver& user, std::string& error) {
                                   return user.click(kPlotterSetupCancelItem, error);
                               }});
    std::string error;
    ASSERT_TRUE(click(kPreProcessPlotterSetupItem, error)) << error;
    EXPECT_FALSE(palette()->item(kPreProcessDevicePanelItem)->visible);
}

TEST_F(PreProcessPalette, TheDevicePanelButtonOpensTheCuttersPanel)
{
    makeSession();
    test::CurrentPlotterPrefs stored;
    stored.plotter.PlotterReserved = kPlotterCurrentBit | kPlotterDevicePanelBit;
    stored.put(hostApp().prefs());
    startSession();
    std::string error;
    ASSERT_TRUE(runScript(R"(select-dialog "PreProcess Plot"
dialog "VLCD Dialog"
  click 100
end-dialog
click 15
)",
                          error))
        << error;
    ASSERT_EQ(Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(Toolkit::get().modalLog[0].name, kVLCDDialog.name);
    EXPECT_EQ(Toolkit::get().modalLog[0].result, kVLCDCloseItem);
}

}  // namespace
