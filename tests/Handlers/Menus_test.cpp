// The plug-in's menus in the host: what start-up registers, when Plot Out and
// the device panel are enabled, the palette toggle's text, and the menu
// script commands.
#include <sys/wait.h>

#include <cstdio>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "CurrentPlotterPrefs.h"
#include "HostFixture.h"
#include "Menus/Menus.h"
#include "Toolkit/Toolkit.h"

using namespace vt;

namespace {

class MenusTest : public test::HostTest {
protected:
    void SetUp() override { startSession(); }

    // A complete current plotter with two pens in the preferences, as the
    // setup dialog writes it; with keep, only the entries it accepts.
    void putPlotter(int reserved = 1, bool (*keep)(const PlotterPrefEntry&) = nullptr)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterReserved = reserved;
        stored.environment.PenNumber = 2;
        stored.pens.push_back(stored.pens[0]);
        stored.put(hostApp().prefs(), keep);
    }

    host::MenuItem* item(const std::string& what)
    {
        std::string error;
        host::MenuItem* i = host::menus().find(what, error);
        EXPECT_NE(i, nullptr) << error;
        return i;
    }
    bool enabledWhenShown(const std::string& what)
    {
        host::MenuItem* i = item(what);
        host::menus().update(i);
        return i->enabled;
    }
};

TEST_F(MenusTest, StartUpRegistersAboutAndTheSubmenuWithItsTexts)
{
    host::Menus& m = host::menus();
    host::MenuGroup* sub = m.group("Korvel Menu Group By Ulmaren & Brannock");
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(sub->parent, nullptr);
    EXPECT_EQ(sub->parent->text, "Vantorel");
    EXPECT_EQ(sub->parent->group->name, "Export Document");
    auto items = m.itemsOf(sub);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0]->text, "Plotter Setup...");
    EXPECT_EQ(items[0]->key, "Plotter Setup Menu");
    EXPECT_EQ(items[1]->text, "Plot Out...");
    EXPECT_EQ(items[1]->key, "Plot Out Menu");
    EXPECT_EQ(items[2]->text, "Show Command Palette");
    EXPECT_EQ(items[3]->text, "VLCD Setting...");
    EXPECT_EQ(items[2]->key, items[3]->key);
    auto help = m.itemsOf(m.group("Help Menu"));
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0]->text, "Vantorel");
    EXPECT_EQ(host::Menus::handle(help[0]), g->menuAbout);
    EXPECT_EQ(host::Menus::handle(items[1]), g->menuPlotOut);
    for (host::MenuItem* i : items) EXPECT_EQ(i->options, kMenuItemWantsUpdateOption);
}

TEST_F(MenusTest, FirstRunWithoutAPlotterGreysOutPlotOut)
{
    g->curPlotterValid = 1;
    EXPECT_FALSE(enabledWhenShown("Plot Out"));
    EXPECT_EQ(g->curPlotterValid, 0);
    EXPECT_EQ(g->curEnvironment.Pens, nullptr);
    EXPECT_TRUE(enabledWhenShown("Plotter Setup"));
}

TEST_F(MenusTest, ACompletePlotterEnablesPlotOutAndLoadsItsPens)
{
    putPlotter();
    EXPECT_TRUE(enabledWhenShown("Plot Out"));
    EXPECT_EQ(g->curPlotterValid, 1);
    ASSERT_EQ(g->curEnvironment.PenNumber, 2);
    ASSERT_NE(g->curEnvironment.Pens, nullptr);
    EXPECT_STREQ(g->curEnvironment.Pens[1].PenName, "Blade");
    EXPECT_DOUBLE_EQ(g->curEnvironment.Pens[1].Pressure, 80.0);
}

TEST_F(MenusTest, PlotOutIsEnabledByTheEntriesTheMenuReadsAlone)
{
    putPlotter(1, test::menuReads);
    EXPECT_TRUE(enabledWhenShown("Plot Out"));
    EXPECT_EQ(g->curPlotterValid, 1);
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(checkData(0), kNoCurrentPlotterErr) << "the cut model reads every entry";
    EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
}

TEST_F(MenusTest, IncompletePlottersGreyOutPlotOut)
{
    struct Row {
        const char* shows;
        std::function<void(host::Preferences&)> spoil;
    } rows[] = {
        {"step stored as 0.0", [](host::Preferences& p) { p.putReal(kCurrentPlotterPrefix, "PlotterStep", 0.0); }},
        {"no pens", [](host::Preferences& p) { p.putInteger(kCurrentPlotterPrefix, "EnvironmentPenNum", 0); }},
        {"origin -1", [](host::Preferences& p) { p.putInteger(kCurrentPlotterPrefix, "PlotterOrigin", -1); }},
        {"a negative pen count", [](host::Preferences& p) { p.putInteger(kCurrentPlotterPrefix, "EnvironmentPenNum", -3); }},
        {"more pens than stored", [](host::Preferences& p) { p.putInteger(kCurrentPlotterPrefix, "EnvironmentPenNum", 3); }},
        {"no plotter name", [](host::Preferences& p) { p.putString(kCurrentPlotterPrefix, "PlotterName", ""); }},
        {"no environment name", [](host::Preferences& p) { p.remove(kCurrentPlotterPrefix, "EnvironmentName"); }},
    };
    for (const Row& row : rows) {
        putPlotter();
        row.spoil(hostApp().prefs());
        EXPECT_FALSE(enabledWhenShown("Plot Out")) << row.shows;
        EXPECT_EQ(g->curPlotterValid, 0) << row.shows;
        EXPECT_EQ(g->curEnvironment.Pens, nullptr) << row.shows;
    }
}

TEST_F(MenusTest, TheDevicePanelItemFollowsItsCapabilityBitEvenWhilePlotOutIsGreyed)
{
    EXPECT_FALSE(enabledWhenShown("VLCD Setting")) << "no plotter was ever read";
    putPlotter(1 | kPlotterDevicePanelBit);
    hostApp().prefs().putInteger(kCurrentPlotterPrefix, "EnvironmentPenNum", 0);
    EXPECT_TRUE(enabledWhenShown("VLCD Setting"));
    EXPECT_FALSE(enabledWhenShown("Plot Out"));
    putPlotter(1);
    EXPECT_FALSE(enabledWhenShown("VLCD Setting"));
}

TEST_F(MenusTest, ThePaletteItemShowsAndHidesThePaletteAndItsTextFollows)
{
    // The command palette was made shown when the application started.
    ADMDialogRef palette = g->preProcessPanel;
    ASSERT_NE(palette, nullptr);
    // Its key is shared with the device panel's item: it is found by its handle.
    host::MenuItem* toggle = host::menus().item(g->menuPreProcess);
    ASSERT_NE(toggle, nullptr);
    host::menus().update(toggle);
    EXPECT_EQ(toggle->text, "Hide Command Palette");

    std::string error;
    EXPECT_EQ(host::menus().choose(toggle, error), kNoErr);
    EXPECT_FALSE(sADMDialog->IsVisible(palette));
    host::menus().update(toggle);
    EXPECT_EQ(toggle->text, "Show Command Palette");
    EXPECT_EQ(host::menus().choose(toggle, error), kNoErr);
    EXPECT_TRUE(sADMDialog->IsVisible(palette));
    host::menus().update(toggle);
    EXPECT_EQ(toggle->text, "Hide Command Palette");
}

TEST_F(MenusTest, BeforeTheApplicationHasStartedTheToggleHasNoPaletteToShow)
{
    stopSession();
    startSession(false);
    EXPECT_EQ(g->preProcessPanel, nullptr);
    EXPECT_EQ(item("Show Command Palette")->text, "Show Command Palette");
    std::string error;
    EXPECT_EQ(host::menus().choose(item("Show Command Palette"), error), kNoErr);
    EXPECT_EQ(g->preProcessPanel, nullptr);
}

TEST_F(MenusTest, AGreyedItemCannotBeChosen)
{
    std::string error;
    EXPECT_NE(host::menus().choose(item("Plot Out"), error), kNoErr);
    EXPECT_NE(error.find("greyed out"), std::string::npos);
    EXPECT_TRUE(host::toolkit::Toolkit::get().modalLog.empty());
}

TEST_F(MenusTest, AboutFromTheHelpMenu)
{
    std::string error;
    host::MenuItem* about = host::menus().item(g->menuAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(host::menus().choose(about, error), kNoErr);
    ASSERT_EQ(host::toolkit::Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(host::toolkit::Toolkit::get().modalLog[0].name, "About Dialog");
}

// ---- The script commands, through vantorel-host ----

TEST(MenuScript, MenusAreListedCheckedAndChosen)
{
    test::TempDir dir;
    test::writeFile(dir.file("s.vts"), R"(registrations
menus
expect-menu "Plot Out" disabled
expect-menu "VLCD Setting" disabled
expect-menu "Plotter Setup" enabled
menu "Plot Out"
)");
    std::string command = std::string("'") + VANTOREL_HOST_EXE + "' --prefs '" + dir.file("prefs.json") +
                          "' --plugin-folder '" + dir.file("Plug-ins") + "' --resources '" + VANTOREL_SOURCE_DIR +
                          "/Resources' --module '" + VANTOREL_MODULE_PATH + "' run '" + dir.file("s.vts") + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = pclose(pipe);
    EXPECT_EQ(WEXITSTATUS(status), 1) << output;
    EXPECT_NE(output.find("menu group \"Korvel Menu Group By Ulmaren & Brannock\" under \"Vantorel\""), std::string::npos)
        << output;
    EXPECT_NE(output.find("menu item \"Plot Out...\" key \"Plot Out Menu\""), std::string::npos) << output;
    EXPECT_NE(output.find("  disabled \"Plot Out...\" (key \"Plot Out Menu\")"), std::string::npos) << output;
    EXPECT_NE(output.find("line 6: menu: the menu item \"Export Document > Vantorel > Plot Out...\" is greyed out"),
              std::string::npos)
        << output;
}

}  // namespace
