// The command palette with the tools: its radios follow the tool in hand (all
// off for the host's own), a radio picks its tool; the overcut button; and
// the palette's state written at shutdown and back in the next session.
#include "Common/PluginGlobals.h"
#include "Dialog/PaletteState.h"
#include "Dialog/PreProcessDialog.h"
#include "Toolkit/Toolkit.h"
#include "Tools/ToolFixture.h"
#include "Tools/ToolNames.h"

using namespace vt;
using namespace vt::host;
using host::toolkit::Dialog;
using host::toolkit::Toolkit;

namespace {

class PreProcessTools : public test::ToolTest {
protected:
    Dialog* palette() { return Toolkit::get().findDialog(kPreProcessDialog.name); }
    std::vector<bool> radios()
    {
        std::vector<bool> v;
        for (ASInt32 id : {kPreProcessSplitToolItem, kPreProcessStartPointToolItem, kPreProcessCheckGroupToolItem})
            v.push_back(palette()->item(id)->value != 0);
        return v;
    }
};

TEST_F(PreProcessTools, TheRadiosFollowTheToolInHandAndPickIt)
{
    struct Row {
        const char* name;
        const char* lines;
        std::vector<bool> radios;
        const char* tool;
    };
    const Row rows[] = {
        {"the split tool from the toolbox", "tool \"Split Tool\"", {true, false, false}, kSplitToolName},
        {"the check-group tool from the toolbox", "tool \"Check Group Tool\"", {false, false, true}, kCheckGroupToolName},
        {"the host's own tool: all off", "tool \"Selection Tool\"", {false, false, false}, "Selection Tool"},
        {"radio 11 picks the start-point tool", "select-dialog \"PreProcess Plot\"\nclick 11", {false, true, false},
         kStartPointToolName},
        {"radio 10 then the split tool", "select-dialog \"PreProcess Plot\"\nclick 10", {true, false, false},
         kSplitToolName},
    };
    for (const Row& r : rows) {
        run(r.lines);
        EXPECT_EQ(radios(), r.radios) << r.name;
        EXPECT_EQ(tools().current()->name, r.tool) << r.name;
    }
}

TEST_F(PreProcessTools, TheOverCutButtonOpensTheOverCutSettings)
{
    g->overCut = 0;
    run("select-dialog \"PreProcess Plot\"\n"
        "dialog \"Plot Out Dialog\"\n  expect-state 3 disabled\n  click 1\n  expect-state 3 enabled\n"
        "  type 3 \"2 mm\"\n  click 6\nend-dialog\nclick 14\nexpect-dialog \"Plot Out Dialog\" 6");
    EXPECT_EQ(g->overCut, 1);
    EXPECT_NEAR(g->overCutStart, 2.0, 1e-6);
}

TEST_F(PreProcessTools, ThePalettesStateComesBackInTheNextSession)
{
    run("select-dialog \"PreProcess Plot\"\nmenu \"Hide Command Palette\"");
    EXPECT_FALSE(palette()->visible);
    stopSession();
    const std::string prefs = test::readFile(prefsPath());
    EXPECT_NE(prefs.find(kPaletteVisibleKey), std::string::npos) << prefs;
    startSession();
    EXPECT_FALSE(palette()->visible);
    run("menu \"Show Command Palette\"");
    EXPECT_TRUE(palette()->visible);
}

}  // namespace
