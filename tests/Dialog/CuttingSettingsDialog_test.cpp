// The cutting settings dialog, opened from the Plot Out dialog's Cut Settings
// button and answered as a user would: what it shows of the stored settings
// and of the current cutter, and what OK and Cancel leave for the next job.
#include <cmath>
#include <optional>

#include "Common/PluginGlobals.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/CuttingSettingsDialog.h"
#include "Dialog/PlotOutDialog.h"
#include "Menus/Menus.h"
#include "PlotOutJobFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::DialogAction;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

const char* kOneRect = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect id="r" x="10" y="20" width="100" height="50"/>
</svg>)";

// The four settings the dialog edits, as the globals hold them.
struct Settings {
    uint8_t backToHome, usePlotterSetting, cutOff;
    double cutOffDistance;  // mm
};

Settings storedSettings() { return {g->backToHome, g->usePlotterSetting, g->cutOff, g->cutOffDistance}; }

void store(const Settings& s)
{
    g->backToHome = s.backToHome;
    g->usePlotterSetting = s.usePlotterSetting;
    g->cutOff = s.cutOff;
    g->cutOffDistance = s.cutOffDistance;
}

class CuttingSettingsTest : public test::DialogTest {
protected:
    void SetUp() override { startSession(); }

    // The current plotter with these capability bits and this media length.
    void putPlotter(int32_t reserved, double mediaLength)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterReserved = kPlotterCurrentBit | reserved;
        stored.plotter.PlotterSizeY = mediaLength;
        stored.put(hostApp().prefs());
    }

    void openJob() { DialogTest::openJob(kOneRect); }

    // Plot Out from the menu: its Cut Settings button, then its exit. The
    // cutting settings dialog, of the same name, takes the second block.
    void openCuttingSettings(std::vector<DialogAction> inside)
    {
        Toolkit::get().queueDialog(kPlotOutDialog.name, {click(kPlotOutCutSettingsItem), click(kPlotOutExitItem)});
        Toolkit::get().queueDialog(kCuttingSettingsDialog.name, std::move(inside));
        std::string error;
        host::MenuItem* item = host::menus().find("Plot Out Menu", error);
        ASSERT_NE(item, nullptr) << error;
        host::menus().choose(item, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(Toolkit::get().pendingQueues().size(), 0u) << "both blocks were taken";
        Toolkit::get().clearQueues();
        EXPECT_TRUE(Toolkit::get().failures.empty()) << Toolkit::get().failures.front();
    }
};

TEST_F(CuttingSettingsTest, IsBuiltAsTheButtonsTitleWithItsSixItems)
{
    putPlotter(kPlotterCutOffBit, 600);
    openJob();
    bool ran = false;
    openCuttingSettings({[&](Driver& user, std::string& error) {
        ran = true;
        auto* d = user.dialog();
        EXPECT_EQ(d->name, "Plot Out Dialog");
        EXPECT_EQ(d->resourceId, 121);
        EXPECT_EQ(d->style, kADMModalDialogStyle);
        EXPECT_EQ(d->title, "Cut Settings");
        EXPECT_EQ(d->width(), 300);
        EXPECT_EQ(d->height(), 200);
        EXPECT_EQ(d->items.size(), 6u);
        EXPECT_EQ(d->item(kCuttingSettingsOKItem)->text, "OK");
        EXPECT_EQ(d->item(kCuttingSettingsCancelItem)->text, "Cancel");
        EXPECT_EQ(d->item(kCuttingSettingsCutOffItem)->text, "Cut off the media, distance:");
        EXPECT_EQ(d->item(kCuttingSettingsCutOffDistanceItem)->displayText(), "0.000 mm");
        return user.click(kCuttingSettingsCancelItem, error);
    }});
    EXPECT_TRUE(ran);
    ASSERT_EQ(Toolkit::get().modalLog.size(), 2u);
    EXPECT_EQ(Toolkit::get().modalLog[0].result, kCuttingSettingsCancelItem) << "the inner dialog ends first";
    EXPECT_EQ(Toolkit::get().modalLog[1].result, kPlotOutExitItem);
}

// A row per case: the cutter, the stored settings, what the user does, what
// the dialog shows on opening and what is stored once it has closed.
TEST_F(CuttingSettingsTest, ShowsTheStoredSettingsAndOnlyOKStoresThem)
{
    struct Shown {
        bool backToHome, usePlotterSetting, cutOff, cutOffActive, distanceActive;
        const char* distance;
    };
    struct Row {
        const char* shows;
        int32_t capability;
        double mediaLength;
        Settings before;
        std::vector<DialogAction> actions;  // the last one ends the dialog
        Shown shown;
        Settings after;
    } rows[] = {
        {"the boxes show the stored settings, and OK keeps them", kPlotterCutOffBit, 600, {1, 1, 1, 25.0},
         {click(kCuttingSettingsOKItem)}, {true, true, true, true, true, "25.000 mm"}, {1, 1, 1, 25.0}},
        {"looking and cancelling clears nothing", kPlotterCutOffBit, 600, {1, 1, 1, 25.0},
         {click(kCuttingSettingsCancelItem)}, {true, true, true, true, true, "25.000 mm"}, {1, 1, 1, 25.0}},
        {"a cutter without the cut-off: box 8 off and inactive, OK stores the line off", 0, 600, {0, 0, 1, 10.0},
         {click(kCuttingSettingsOKItem)}, {false, false, false, false, false, "10.000 mm"}, {0, 0, 0, 10.0}},
        {"a cutter without the cut-off: Cancel keeps the line for a cutter that has it", 0, 600, {0, 0, 1, 10.0},
         {click(kCuttingSettingsCancelItem)}, {false, false, false, false, false, "10.000 mm"}, {0, 0, 1, 10.0}},
        {"900 mm on a 600 mm media shows 600 and OK stores 600", kPlotterCutOffBit, 600, {0, 0, 1, 900.0},
         {click(kCuttingSettingsOKItem)}, {false, false, true, true, true, "600.000 mm"}, {0, 0, 1, 600.0}},
        {"900 mm on a 600 mm media is lowered only in the field: Cancel keeps 900", kPlotterCutOffBit, 600,
         {0, 0, 1, 900.0}, {click(kCuttingSettingsCancelItem)}, {false, false, true, true, true, "600.000 mm"},
         {0, 0, 1, 900.0}},
        {"typing 700 on a 600 mm media keeps 600", kPlotterCutOffBit, 600, {0, 0, 1, 100.0},
         {type(kCuttingSettingsCutOffDistanceItem, "700"), click(kCuttingSettingsOKItem)},
         {false, false, true, true, true, "100.000 mm"}, {0, 0, 1, 600.0}},
        {"unchecking 8: OK stores the line off and the distance shown", kPlotterCutOffBit, 600, {0, 0, 1, 40.0},
         {click(kCuttingSettingsCutOffItem), click(kCuttingSettingsOKItem)},
         {false, false, true, true, true, "40.000 mm"}, {0, 0, 0, 40.0}},
        {"every box toggled and a distance typed, then Cancel: nothing changes", kPlotterCutOffBit, 600,
         {1, 1, 1, 40.0},
         {type(kCuttingSettingsCutOffDistanceItem, "12.5"), click(kCuttingSettingsBackToHomeItem),
          click(kCuttingSettingsUsePlotterSettingItem), click(kCuttingSettingsCutOffItem),
          click(kCuttingSettingsCancelItem)},
         {true, true, true, true, true, "40.000 mm"}, {1, 1, 1, 40.0}},
        {"the close box, after toggling, stores nothing as Cancel", kPlotterCutOffBit, 600, {1, 0, 1, 40.0},
         {click(kCuttingSettingsBackToHomeItem), click(kCuttingSettingsUsePlotterSettingItem),
          [](Driver& user, std::string& error) { return user.close(error); }},
         {true, false, true, true, true, "40.000 mm"}, {1, 0, 1, 40.0}},
        {"every box checked and 25 typed, then OK", kPlotterCutOffBit, 50000, {0, 0, 0, 0.0},
         {click(kCuttingSettingsBackToHomeItem), click(kCuttingSettingsUsePlotterSettingItem),
          click(kCuttingSettingsCutOffItem), type(kCuttingSettingsCutOffDistanceItem, "25"),
          click(kCuttingSettingsOKItem)},
         {false, false, false, true, false, "0.000 mm"}, {1, 1, 1, 25.0}},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.shows);
        putPlotter(row.capability, row.mediaLength);
        openJob();
        store(row.before);
        // The overcut belongs to another dialog: this one never touches it.
        g->overCut = 1;
        g->overCutStart = 1.5;
        g->overCutEnd = 2.5;
        std::optional<Shown> seen;
        std::string distance;
        std::vector<DialogAction> actions;
        actions.push_back([&](Driver& user, std::string&) {
            auto* d = user.dialog();
            auto on = [d](int id) { return d->item(id)->value != 0.0f; };
            auto active = [d](int id) { return d->item(id)->enabled && d->item(id)->active; };
            seen = Shown{on(kCuttingSettingsBackToHomeItem),     on(kCuttingSettingsUsePlotterSettingItem),
                         on(kCuttingSettingsCutOffItem),         active(kCuttingSettingsCutOffItem),
                         active(kCuttingSettingsCutOffDistanceItem), nullptr};
            distance = d->item(kCuttingSettingsCutOffDistanceItem)->displayText();
            return true;
        });
        actions.insert(actions.end(), row.actions.begin(), row.actions.end());
        openCuttingSettings(std::move(actions));
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(seen->backToHome, row.shown.backToHome);
        EXPECT_EQ(seen->usePlotterSetting, row.shown.usePlotterSetting);
        EXPECT_EQ(seen->cutOff, row.shown.cutOff);
        EXPECT_EQ(seen->cutOffActive, row.shown.cutOffActive);
        EXPECT_EQ(seen->distanceActive, row.shown.distanceActive);
        EXPECT_EQ(distance, row.shown.distance);
        Settings after = storedSettings();
        EXPECT_EQ(after.backToHome, row.after.backToHome);
        EXPECT_EQ(after.usePlotterSetting, row.after.usePlotterSetting);
        EXPECT_EQ(after.cutOff, row.after.cutOff);
        // The field holds single-precision points: a few millionths of a mm either way.
        EXPECT_NEAR(after.cutOffDistance, row.after.cutOffDistance, 1e-4);
        EXPECT_EQ(g->overCut, 1);
        EXPECT_DOUBLE_EQ(g->overCutStart, 1.5);
        EXPECT_DOUBLE_EQ(g->overCutEnd, 2.5);
        Toolkit::get().modalLog.clear();
    }
}

TEST_F(CuttingSettingsTest, UncheckingTheCutOffTakesTheDistanceOutOfReachAndCheckingBringsItBack)
{
    putPlotter(kPlotterCutOffBit, 600);
    openJob();
    store({0, 0, 1, 30.0});
    std::vector<std::string> states;
    auto distanceState = [&states](Driver& user, std::string&) {
        auto* item = user.dialog()->item(kCuttingSettingsCutOffDistanceItem);
        states.push_back(item->enabled && item->active ? "active" : "inactive");
        return true;
    };
    openCuttingSettings({distanceState, click(kCuttingSettingsCutOffItem), distanceState,
                         [](Driver& user, std::string& error) {
                             // A disabled field takes no typing.
                             std::string refused;
                             EXPECT_FALSE(user.type(kCuttingSettingsCutOffDistanceItem, "5", refused));
                             EXPECT_NE(refused.find("disabled"), std::string::npos) << refused;
                             return user.click(kCuttingSettingsCutOffItem, error);
                         },
                         distanceState, click(kCuttingSettingsOKItem)});
    EXPECT_EQ(states, (std::vector<std::string>{"active", "inactive", "active"}));
    EXPECT_EQ(g->cutOff, 1);
    EXPECT_NEAR(g->cutOffDistance, 30.0, 1e-4);
}

TEST_F(CuttingSettingsTest, TheButtonRedrawsTheWholePreviewAfterTheDialog)
{
    putPlotter(kPlotterCutOffBit, 600);
    openJob();
    int32_t drawTypeAfter = -1;
    Toolkit::get().queueDialog(kPlotOutDialog.name, {[](Driver&, std::string&) {
                                                         g_iPreviewDrawType =
                                                             0;  // as after a drawing of the selection alone
                                                         return true;
                                                     },
                                                     click(kPlotOutCutSettingsItem),
                                                     [&](Driver&, std::string&) {
                                                         drawTypeAfter = g_iPreviewDrawType;
                                                         return true;
                                                     },
                                                     click(kPlotOutExitItem)});
    Toolkit::get().queueDialog(kCuttingSettingsDialog.name, {click(kCuttingSettingsCancelItem)});
    std::string error;
    host::menus().choose(host::menus().find("Plot Out Menu", error), error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(drawTypeAfter, 1);
}

// A cut-off kept on for a cutter that can cut off the media is not sent to
// one that cannot; the line's distance is the one stored.
TEST_F(CuttingSettingsTest, TheCutOffLineIsCutOnlyByACutterThatCanCutIt)
{
    struct Row {
        const char* shows;
        int32_t capability;
        uint8_t cutOff;
        bool line;
    } rows[] = {
        {"on, and the cutter can", kPlotterCutOffBit, 1, true},
        {"on, but the cutter cannot", 0, 1, false},
        {"off", kPlotterCutOffBit, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        putPlotter(row.capability, 600);
        openJob();
        store({0, 0, row.cutOff, 25.0});
        std::string file = dir_.file(std::string("job-") + std::to_string(&row - rows) + ".hpgl");
        Toolkit::get().queueDialog(kPlotOutDialog.name, {[file](Driver& user, std::string& error) {
                                                             Toolkit::get().fileAnswers.push_back(file);
                                                             return user.click(kPlotOutFileOutputItem, error);
                                                         },
                                                         click(kPlotOutExitItem)});
        std::string error;
        host::menus().choose(host::menus().find("Plot Out Menu", error), error);
        EXPECT_EQ(error, "");
        std::string job = test::readFile(file);
        ASSERT_FALSE(job.empty());
        // The rectangle's top at step 1999, the line 25 mm (1000 steps) above it.
        EXPECT_EQ(job.find("PU2999,0;\r\nZT;\r\n") != std::string::npos, row.line) << job;
        EXPECT_EQ(job.find("ZT;") != std::string::npos, row.line) << job;
        EXPECT_EQ(g->cutOff, row.cutOff) << "writing a job changes no setting";
    }
}

}  // namespace
