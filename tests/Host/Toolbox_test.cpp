// The host's toolbox: its own selection tool at start, the plug-in's tools
// added with their titles and icons, select and deselect messages at every
// change (from a script and from the tool suite), cursors, the icon of a
// picture the plug-in lacks, and the script commands' words.
#include <filesystem>
#include <functional>
#include <string>

#include "Common/PluginGlobals.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"
#include "Tools/ToolFixture.h"
#include "Tools/ToolNames.h"

using namespace vt;
using namespace vt::host;

namespace {

class Toolbox : public test::ToolTest {
protected:
    bool splitPaletteShown() { return toolkit::Toolkit::get().findDialog(kSplitDialog.name)->visible; }
};

TEST_F(Toolbox, TheSelectionToolIsInHandAtStartAndThePluginsToolsAreListed)
{
    run("tools\nexpect-tool \"Selection Tool\"\nregistrations");
    const std::string out = scriptOutput_.str();
    EXPECT_NE(out.find("* \"Selection Tool\" \"Selection Tool\""), std::string::npos) << out;
    EXPECT_NE(out.find("  \"" kSplitToolName "\" \"Split Tool\" icon 1025 (tracks the pointer)"), std::string::npos) << out;
    EXPECT_NE(out.find("  \"" kStartPointToolName "\" \"Start Point Tool\" icon 1026"), std::string::npos) << out;
    EXPECT_NE(out.find("  \"" kCheckGroupToolName "\" \"Check Group Tool\" icon 1027"), std::string::npos) << out;
    EXPECT_NE(out.find("tool \"" kSplitToolName "\" titled \"Split Tool\""), std::string::npos) << out;
}

TEST_F(Toolbox, EveryChangeOfToolIsHeardByTheOldAndTheNewTool)
{
    // The split tool shows its palette when picked and hides it when put
    // down, whichever way the choice is made.
    run("tool \"Split Tool\"\nexpect-tool \"" kSplitToolName "\"");
    EXPECT_TRUE(splitPaletteShown());
    run("tool \"Selection Tool\"");
    EXPECT_FALSE(splitPaletteShown());

    auto& suite = suiteTable<AIToolSuite>();
    ASSERT_EQ(suite.SetSelectedTool(g->toolSplit), kNoErr);
    EXPECT_TRUE(splitPaletteShown());
    AIToolHandle current = nullptr;
    ASSERT_EQ(suite.GetSelectedTool(&current), kNoErr);
    EXPECT_EQ(current, g->toolSplit);
    const char* name = nullptr;
    ASSERT_EQ(suite.GetToolName(current, &name), kNoErr);
    EXPECT_STREQ(name, kSplitToolName);
    ASSERT_EQ(suite.SetSelectedTool(g->toolCheckGroup), kNoErr);
    EXPECT_FALSE(splitPaletteShown());
    EXPECT_EQ(suite.SetSelectedTool(reinterpret_cast<AIToolHandle>(uintptr_t(8))), kNoSuchToolErr);
    EXPECT_EQ(tools().current()->name, kCheckGroupToolName);
}

TEST_F(Toolbox, ATakenNameIsRefused)
{
    AIAddToolData data{"Again", "", nullptr, 0, 0};
    AIToolHandle tool = nullptr;
    EXPECT_EQ(suiteTable<AIToolSuite>().AddTool(session().plugin(), kSplitToolName, &data, 0, &tool),
              kSPBadParameterError);
    EXPECT_EQ(tool, nullptr);
}

TEST_F(Toolbox, TheCursorFollowsTheToolAndAMissingCursorChangesNothing)
{
    struct Row {
        const char* name;
        const char* lines;
        int cursor;
    };
    const Row rows[] = {
        {"split, level guide", "tool \"Split Tool\"\ntrack 10 10", kSplitHorizontalCursor},
        {"split with shift, upright guide", "track 10 10 shift", kSplitVerticalCursor},
        {"check group", "tool \"Check Group Tool\"\ntrack 10 10", kCheckGroupCursor},
        {"check group with shift zooms", "track 10 10 shift", kMarqueeZoomCursor},
        {"the host's own tool shows the arrow", "tool \"Selection Tool\"\ntrack 10 10", 0},
    };
    for (const Row& r : rows) {
        run(r.lines);
        EXPECT_EQ(tools().cursorId, r.cursor) << r.name;
    }
    // A cursor is read once, as a resource is: a fresh session without it.
    stopSession();
    SetUp();
    std::filesystem::remove(pluginFolder() + "/Cursors/6003.png");
    run("tool \"Split Tool\"\ntrack 10 10\ntool \"Check Group Tool\"\ntrack 10 10\nexpect-tool-cursor 6000");
}

// The host's AddTool, refusing the check-group tool as a toolbox without
// room would.
static decltype(AIToolSuite::AddTool) hostAddTool = nullptr;
static ASErr refuseCheckGroupTool(SPPluginRef self, const char* name, const AIAddToolData* data, ASInt32 options,
                                  AIToolHandle* tool)
{
    if (std::string(name) == kCheckGroupToolName) return kSPBadParameterError;
    return hostAddTool(self, name, data, options, tool);
}

TEST_F(Toolbox, TheToolsIconsAreTheirsUntilShutdownOrAFailedStart)
{
    // The host copies only an icon's id; whatever the plug-in made for the
    // toolbox it destroys, also when start-up stops.
    struct Row {
        const char* name;
        std::function<void()> prepare;
        ASErr start;
    } rows[] = {
        {"a whole start, then shutdown", [] {}, kNoErr},
        {"the start-point icon is missing",
         [this] { std::filesystem::remove(pluginFolder() + "/Pictures/1026.png"); }, kIconLoadErr},
        {"the host refuses the third tool",
         [] {
             hostAddTool = suiteTable<AIToolSuite>().AddTool;
             suiteTable<AIToolSuite>().AddTool = refuseCheckGroupTool;
         },
         kSPBadParameterError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        stopSession();
        makeSession();
        row.prepare();
        EXPECT_EQ(session().start(), row.start);
        if (hostAddTool != nullptr) suiteTable<AIToolSuite>().AddTool = hostAddTool;
        hostAddTool = nullptr;
        if (row.start == kNoErr) {
            EXPECT_EQ(toolkit::Toolkit::get().icons.size(), 3u);
            EXPECT_EQ(session().shutdown(), kNoErr);
        }
        EXPECT_TRUE(toolkit::Toolkit::get().icons.empty());
    }
}

TEST_F(Toolbox, ScriptWordsItCannotUseAreNamed)
{
    struct Row {
        const char* line;
        const char* message;
    };
    const Row rows[] = {
        {"tool \"Pen Tool\"", "no tool named or titled \"Pen Tool\""},
        {"expect-tool \"Split Tool\"", "the current tool is \"Selection Tool\""},
        {"track 10", "expects a document point X Y"},
        {"mouse-down ten 10", "\"ten\" is not a number"},
        {"mouse-up 10 10 hyper", "unknown modifier \"hyper\""},
        {"expect-tool-cursor 6000", "the pointer shows cursor 0"},
        {"view 2 1", "expects nothing, or the zoom"},
        {"expect-view 2 0 0", "the view has zoom 1.0"},
    };
    for (const Row& r : rows) {
        std::string error;
        EXPECT_FALSE(runScript(r.line, error)) << r.line;
        EXPECT_NE(error.find(r.message), std::string::npos) << r.line << ": " << error;
    }
}

TEST_F(Toolbox, TheViewIsSetAndReadInDocumentPoints)
{
    run("view 2 100 50\nexpect-view 2 100 50");
    EXPECT_NE(scriptOutput_.str().find("view: zoom 2 centre 100 50 bounds -100 200 300 -100"), std::string::npos)
        << scriptOutput_.str();
}

TEST_F(Toolbox, TheSampleSessionUsesEveryTool)
{
    for (const char* name : {"tools.svg", "tools.vts"})
        std::filesystem::copy_file(std::string(VANTOREL_SOURCE_DIR "/samples/") + name, dir_.file(name));
    run(test::readFile(dir_.file("tools.vts")));
    const std::string saved = test::readFile(dir_.file("tools-out.svg"));
    // The square starts in the middle of its right side; two guides remain.
    EXPECT_NE(saved.find("id=\"square\" d=\"M150 200 "), std::string::npos) << saved;
    EXPECT_NE(saved.find("d=\"M0 270 L400 270\" data-vt-guide=\"1\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("d=\"M220 300 L220 0\" data-vt-guide=\"1\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Information Layer"), std::string::npos);
    // Only the overcut settings were shown: no error box on the way.
    ASSERT_EQ(toolkit::Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(toolkit::Toolkit::get().modalLog[0].result, 6);

    // The preferences keep the overcut and the hidden palette for the next session.
    stopSession();
    startSession();
    auto& prefs = suiteTable<AIPreferenceSuite>();
    ASInt32 start = 0;
    AIBoolean visible = true;
    EXPECT_EQ(prefs.GetIntegerPreference("Vantorel", "ArdoSetting_OverCut_ST_Value", &start), kNoErr);
    EXPECT_EQ(start, 2000);
    EXPECT_EQ(prefs.GetBooleanPreference("Vantorel", "kKorvelTools_VisibleStr", &visible), kNoErr);
    EXPECT_FALSE(visible);
    EXPECT_FALSE(toolkit::Toolkit::get().findDialog("PreProcess Plot")->visible);
}

}  // namespace
