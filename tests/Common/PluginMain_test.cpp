// The entry point: dispatch, nested suite acquisition, start-up and shutdown.
#include <cstring>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/PlotterSetup.h"
#include "HostFixture.h"
#include "Menus/Menus.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Toolkit.h"

using namespace vt;

namespace {

class EntryPointTest : public test::HostTest {
protected:
    ASErr send(const char* caller, const char* selector)
    {
        SPInterfaceMessage message{};
        return hostApp().send(session().plugin(), caller, selector, &message.d);
    }
};

TEST_F(EntryPointTest, EverySuiteOfTheImportTableCanBeAcquired)
{
    startSession();
    EXPECT_EQ(kImportCount, 51);
    for (int i = 0; i < kImportCount; ++i) {
        // Start-up and the application-started notification each acquired
        // once; the command palette made by the notification keeps that
        // acquisition open until shutdown.
        EXPECT_EQ(hostApp().registry().acquireCount(imports[i].name), 2) << imports[i].name;
        EXPECT_EQ(hostApp().registry().openCount(imports[i].name), 1) << imports[i].name;
    }
    EXPECT_EQ(gAcquireCount, 1);
    EXPECT_EQ(session().shutdown(), kNoErr);
    EXPECT_EQ(hostApp().registry().totalOpen(), 0) << "shutdown destroys the palette, which gives its acquisition back";
    EXPECT_EQ(gAcquireCount, 0);
}

TEST_F(EntryPointTest, ThePaletteKeepsThePlugInLoaded)
{
    startSession();
    ASSERT_NE(g->preProcessPanel, nullptr);
    EXPECT_EQ(session().plugin()->accessCount, 1);
    EXPECT_EQ(session().unload(), kSPPluginInUseError) << "its procedures live in the module";
    EXPECT_EQ(gAcquireCount, 1) << "nothing was sent";
    EXPECT_EQ(session().shutdown(), kNoErr);
    EXPECT_EQ(session().plugin()->accessCount, 0);
}

TEST_F(EntryPointTest, UnimplementedOperationsAnswerWithAnError)
{
    startSession(false);  // no palette holds the suites
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    size_t size = 0;
    EXPECT_EQ(sAIMdMemory->MdMemoryGetSize(nullptr, &size), kSPBadParameterError);
    ASInt32 count = 0;
    EXPECT_EQ(sTimer->CountTimers(&count), kSPUnimplementedError);
    EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
}

TEST_F(EntryPointTest, NestedAcquisitionOnlyCounts)
{
    startSession(false);  // no palette holds the suites
    auto& registry = hostApp().registry();
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    int acquired = registry.acquireCount(kAIArtSuite);
    EXPECT_EQ(gAcquireCount, 1);
    EXPECT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(gAcquireCount, 2);
    EXPECT_EQ(registry.acquireCount(kAIArtSuite), acquired);
    EXPECT_EQ(releaseSuites(hostApp().basic()), kNoErr);
    EXPECT_NE(sAIArt, nullptr) << "the inner release must release nothing";
    EXPECT_EQ(releaseSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(sAIArt, nullptr);
    EXPECT_EQ(gAcquireCount, 0);
    EXPECT_EQ(registry.totalOpen(), 0);
}

TEST_F(EntryPointTest, MessagesTheTableDoesNotNameAnswerSuccess)
{
    startSession(false);  // no palette holds the suites
    auto& registry = hostApp().registry();
    int before = registry.acquireCount(kAIArtSuite);
    EXPECT_EQ(send(kSPInterfaceCaller, "Something Else"), kNoErr);
    EXPECT_EQ(registry.acquireCount(kAIArtSuite), before + 1);
    EXPECT_EQ(registry.totalOpen(), 0);

    // Access messages never touch the suites.
    EXPECT_EQ(send(kSPAccessCaller, "Something Else"), kNoErr);
    EXPECT_EQ(registry.acquireCount(kAIArtSuite), before + 1);

    EXPECT_EQ(send("Some Other Caller", "Any"), kNoErr);
    EXPECT_EQ(send(kCallerAIFilter, "AI Go"), kNoErr);
    EXPECT_EQ(registry.totalOpen(), 0);
}

TEST_F(EntryPointTest, AboutAnswersSuccess)
{
    startSession();
    EXPECT_EQ(session().about(), kNoErr);
}

TEST_F(EntryPointTest, StartupRegistersTheStartNotifierAndSetsDefaults)
{
    startSession();
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(hostApp().notifiers().size(), 1u);
    EXPECT_EQ(hostApp().notifiers()[0]->name, "PluginStartNotifier");
    EXPECT_EQ(hostApp().notifiers()[0]->type, kAIApplicationStartedNotifier);
    EXPECT_EQ(g->pluginRef, session().plugin());
    // The settings a sign maker meets before changing any: what the view
    // checks, the fit, the rip frame and the split marks start from.
    struct Row {
        const char* field;
        double got, want;
    } rows[] = {
        {"viewShowIndex", double(g->viewShowIndex), 1},
        {"viewShowControlPoints", double(g->viewShowControlPoints), 1},
        {"viewShowStartPoint", double(g->viewShowStartPoint), 1},
        {"viewShowArcCenter", double(g->viewShowArcCenter), 0},
        {"savedViewZoom", g->savedViewZoom, 1},
        {"Precious (mm)", g->Precious, 0.1},
        {"FitType (arcs)", double(g->FitType), 2},
        {"offsetSize", g->offsetSize, 1},
        {"ripMarginX", g->ripMarginX, 1},
        {"ripMarginY", g->ripMarginY, 1},
        {"ripVLines", double(g->ripVLines), 1},
        {"ripHLines", double(g->ripHLines), 1},
        {"splitMarkWidth", g->splitMarkWidth, 5},
        {"splitMarkHeight", g->splitMarkHeight, 5},
        {"splitSortMethod", double(g->splitSortMethod), 1},
    };
    for (const Row& row : rows) EXPECT_EQ(row.got, row.want) << row.field;
    const uint32_t words[14] = {0xFFFFFFFF, 0x808080FF, 0xFFFFFFFF, 0x40E040FF, 0xFF0000FF, 0x4040C0FF, 1,
                                3,          0x4040C0FF, 2,          3,          0x00FFFFFF, 255,        0};
    for (int i = 0; i < 14; ++i) EXPECT_EQ(g->previewOption.words[i], words[i]) << "preview word " << i;
    EXPECT_EQ(g->curEnvironment.Pens, nullptr);
    EXPECT_EQ(g->volumes, nullptr) << "fields without a default start at zero";
}

TEST_F(EntryPointTest, StartupStopsAtTheFirstFailingStep)
{
    makeSession();
    auto& table = host::suiteTable<AINotifierSuite>();
    auto saved = table.AddNotifier;
    table.AddNotifier = [](SPPluginRef, const char*, const char*, AINotifierHandle*) -> ASErr { return 'FAIL'; };
    EXPECT_EQ(session().start(), 'FAIL');
    EXPECT_EQ(session().error(), "plug-in start-up failed with error FAIL");
    table.AddNotifier = saved;
    EXPECT_TRUE(hostApp().notifiers().empty());
    EXPECT_EQ(hostApp().registry().totalOpen(), 0);
}

TEST_F(EntryPointTest, ASuiteThatCannotBeAcquiredIsReportedAndTheHandlerDoesNotRun)
{
    startSession(false);  // no palette holds the suites
    hostApp().registry().failAcquire(kAITextFrameSuite, 'NoSt');
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceAboutSelector), 'NoSt');
    ASSERT_FALSE(hostApp().alerts().empty());
    char expected[128];
    std::snprintf(expected, sizeof(expected), "Error: %d, suite: AI Text Frame Suite, version: 1001!", (int)'NoSt');
    EXPECT_EQ(hostApp().alerts().back().text, expected);
    EXPECT_EQ(gAcquireCount, 0);
    EXPECT_EQ(hostApp().registry().totalOpen(), 0) << "what was acquired before the failure is released";
}

TEST_F(EntryPointTest, AFailureBeforeTheToolkitIsHeldIsStillAFailure)
{
    startSession(false);  // no palette holds the suites
    hostApp().registry().failAcquire(kSPBlocksSuite, 'NoBk');
    size_t alerts = hostApp().alerts().size();
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceAboutSelector), 'NoBk');
    EXPECT_EQ(hostApp().alerts().size(), alerts) << "nothing can show it yet";
    EXPECT_EQ(hostApp().registry().totalOpen(), 0);
}

TEST_F(EntryPointTest, ReloadStartsTheCountAgainAndKeepsTheGlobals)
{
    startSession(false);  // no palette holds the suites
    PluginGlobals* globals = g;
    EXPECT_EQ(session().unload(), kNoErr);
    EXPECT_EQ(session().plugin()->globals, globals);
    g = nullptr;  // as a freshly loaded module would have it
    gAcquireCount = 7;
    EXPECT_EQ(session().reload(), kNoErr);
    EXPECT_EQ(g, globals);
    EXPECT_EQ(gAcquireCount, 0);
    int before = hostApp().registry().acquireCount(kAIArtSuite);
    EXPECT_EQ(session().about(), kNoErr);
    EXPECT_EQ(hostApp().registry().acquireCount(kAIArtSuite), before + 1);
}

// The host sends "Unload" and "Reload" each in its turn, and reloads an
// unloaded plug-in before any other message: the plug-in never runs without
// its globals (a reload of a loaded one would hand back none).
TEST_F(EntryPointTest, UnloadAndReloadComeInTheirTurn)
{
    startSession(false);  // no palette holds the plug-in
    PluginGlobals* globals = g;
    EXPECT_EQ(session().reload(), kSPBadParameterError);
    EXPECT_EQ(session().error(), "the plug-in is loaded: it is reloaded only after it was unloaded");
    EXPECT_EQ(g, globals) << "nothing was sent";
    EXPECT_EQ(session().unload(), kNoErr);
    EXPECT_EQ(session().unload(), kSPBadParameterError);
    EXPECT_EQ(session().error(), "the plug-in is unloaded already");

    // A menu chosen while the plug-in is unloaded reloads it first: its
    // dialog opens with the globals handed back.
    g = nullptr;  // as a freshly loaded module would have it
    host::toolkit::ModalOutcome setup = host::toolkit::Toolkit::get().driveModal(
        kPlotterSetupDialog.name,
        {[](host::toolkit::Driver& user, std::string& e) { return user.click(kPlotterSetupCancelItem, e); }},
        [](std::string& e) {
            // The plug-in's own submenu item (its About item shares the key).
            for (const auto& item : host::menus().items())
                if (item->key == "Plotter Setup Menu" && item->group && item->group->parent)
                    return host::menus().choose(item.get(), e) == kNoErr;
            e = "no Plotter Setup menu item";
            return false;
        });
    EXPECT_TRUE(setup.opened) << setup.openError;
    EXPECT_EQ(setup.result, kPlotterSetupCancelItem);
    EXPECT_EQ(g, globals);
    EXPECT_FALSE(session().plugin()->unloaded);
    EXPECT_EQ(session().about(), kNoErr);
    EXPECT_EQ(session().shutdown(), kNoErr);
}

TEST_F(EntryPointTest, ANotifierOtherThanTheStartNotifierDoesNothing)
{
    startSession();
    ADMDialogRef commandPalette = g->preProcessPanel, splitPalette = g->splitPanel;
    size_t dialogs = host::toolkit::Toolkit::get().dialogs().size();
    AINotifierMessage message{};
    message.notifier = reinterpret_cast<AINotifierHandle>(0x1234);
    EXPECT_EQ(hostApp().send(session().plugin(), kCallerAINotify, kSelectorAINotify, &message.d), kNoErr);
    EXPECT_EQ(g->preProcessPanel, commandPalette);
    EXPECT_EQ(g->splitPanel, splitPalette);
    EXPECT_EQ(host::toolkit::Toolkit::get().dialogs().size(), dialogs);
}

TEST_F(EntryPointTest, ShutdownFreesTheGlobalsAndWritesTheSettings)
{
    startSession();
    EXPECT_EQ(hostApp().liveBlocks(), 1u);
    g->curEnvironment.Pens = static_cast<Pen*>(std::calloc(2, sizeof(Pen)));
    EXPECT_EQ(session().shutdown(), kNoErr);
    EXPECT_EQ(g, nullptr);
    EXPECT_EQ(hostApp().liveBlocks(), 0u);
    EXPECT_EQ(session().plugin()->globals, nullptr);
    EXPECT_EQ(hostApp().prefs().keys("Vantorel").size(), 28u);  // the palette's 5 and the settings' 23
    EXPECT_EQ(hostApp().registry().totalOpen(), 0);
}

}  // namespace
