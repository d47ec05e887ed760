// The cutting settings end to end, through vantorel-host: a script sets them
// in the Plot Out dialog, the preferences keep them across sessions, and the
// next plot writes the cutter's own tool settings, the cut-off line and the
// return home.
#include <sys/wait.h>

#include <cstdio>

#include "HostRun.h"
#include "HostFixture.h"
#include "Preferences.h"

namespace {

using vt::test::host;
using vt::test::RunResult;

// A 100 x 50 mm rectangle whose lower left corner is the job's origin.
const char* kRectangle = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect id="r" x="10" y="20" width="100" height="50"/>
</svg>)";

// Plot Out, its Cut Settings button, then its exit; the cutting settings
// dialog answers to the second "Plot Out Dialog" block.
std::string cuttingSettingsScript(const std::string& inside)
{
    return "open rect.svg\nselect all\n"
           "dialog \"Plot Out Dialog\"\n  click 26\n  click 74\nend-dialog\n"
           "dialog \"Plot Out Dialog\"\n" +
           inside +
           "end-dialog\n"
           "menu \"Plot Out\"\n"
           "expect-dialog \"Plot Out Dialog\" 74\n";
}

struct Stored {
    bool backToHome = false, usePlotterSetting = false, cutOff = false;
    int32_t cutOffValue = -1;
};

Stored readStored(const vt::test::TempDir& dir)
{
    vt::host::Preferences prefs(dir.file("prefs.json"));
    Stored s;
    EXPECT_TRUE(prefs.getBoolean("Vantorel", "ArdoSetting_BackToHome", &s.backToHome));
    EXPECT_TRUE(prefs.getBoolean("Vantorel", "ArdoSetting_UsePlotterSetting", &s.usePlotterSetting));
    EXPECT_TRUE(prefs.getBoolean("Vantorel", "ArdoSetting_CutOff", &s.cutOff));
    EXPECT_TRUE(prefs.getInteger("Vantorel", "ArdoSetting_CutOff_Value", &s.cutOffValue));
    return s;
}

TEST(CuttingSettings, ScriptedOKIsKeptAcrossSessionsAndCutByTheNextPlot)
{
    vt::test::TempDir dir;
    vt::test::writeFile(dir.file("rect.svg"), kRectangle);
    // A plotter that can cut off the media (capability 0x10), HPGL, 0.025 mm steps.
    RunResult r = host(dir, "setup --plotter 'Generic 24in Drag Knife'");
    ASSERT_EQ(r.status, 0) << r.output;

    vt::test::writeFile(dir.file("set.vts"), cuttingSettingsScript("  expect-title \"Cut Settings\"\n"
                                                                   "  click 3\n  click 4\n  click 8\n"
                                                                   "  type 9 25\n"
                                                                   "  save-picture cut-settings.png\n  click 1\n"));
    r = host(dir, "run '" + dir.file("set.vts") + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    Stored s = readStored(dir);
    EXPECT_TRUE(s.backToHome);
    EXPECT_TRUE(s.usePlotterSetting);
    EXPECT_TRUE(s.cutOff);
    EXPECT_EQ(s.cutOffValue, 25000);
    EXPECT_GT(vt::test::readFile(dir.file("cut-settings.png")).size(), 1000u) << "the dialog's picture";

    // The next session shows them; unchecking everything and cancelling keeps them.
    vt::test::writeFile(dir.file("look.vts"),
                        cuttingSettingsScript("  expect-state 3 on\n  expect-state 4 on\n"
                                              "  expect-state 8 on enabled\n  expect-state 9 enabled\n"
                                              "  expect-text 9 \"25.000 mm\"\n"
                                              "  click 3\n  click 4\n  click 8\n  expect-state 9 disabled\n"
                                              "  click 2\n"));
    r = host(dir, "run '" + dir.file("look.vts") + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    s = readStored(dir);
    EXPECT_TRUE(s.backToHome);
    EXPECT_TRUE(s.usePlotterSetting);
    EXPECT_TRUE(s.cutOff);
    EXPECT_EQ(s.cutOffValue, 25000);

    r = host(dir, "plot '" + dir.file("rect.svg") + "' -o '" + dir.file("job.hpgl") + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    std::string job = vt::test::readFile(dir.file("job.hpgl"));
    // The cutter's own tool settings: the pen select alone, no velocity,
    // force, acceleration or offset.
    EXPECT_NE(job.find("SP1;\r\n"), std::string::npos) << job;
    for (const char* tool : {"VS", "FS", "AS", "TO", "PA;"}) EXPECT_EQ(job.find(tool), std::string::npos) << tool << "\n" << job;
    // The rectangle's top comes back from points a hair under 50 mm (step
    // 1999 as the writer truncates); the cut-off move lies 25 mm (1000 steps)
    // above it, y written first, then the cut and the return home, last.
    EXPECT_NE(job.find("PD3999,1999;\r\n"), std::string::npos) << job;
    const std::string ending = "PU2999,0;\r\nZT;\r\nPU0,0;\r\n";
    ASSERT_GE(job.size(), ending.size());
    EXPECT_EQ(job.substr(job.size() - ending.size()), ending) << job;
}

TEST(CuttingSettings, WithoutThemTheJobHasItsToolBlockAndNoCutOffOrReturn)
{
    vt::test::TempDir dir;
    vt::test::writeFile(dir.file("rect.svg"), kRectangle);
    RunResult r = host(dir, "plot '" + dir.file("rect.svg") + "' -o '" + dir.file("job.hpgl") +
                                "' --plotter 'Generic 24in Drag Knife'");
    ASSERT_EQ(r.status, 0) << r.output;
    std::string job = vt::test::readFile(dir.file("job.hpgl"));
    EXPECT_NE(job.find("VS"), std::string::npos) << job;
    EXPECT_EQ(job.find("ZT;"), std::string::npos) << job;
    EXPECT_EQ(job.find("PU0,0;"), std::string::npos) << job;
}

}  // namespace
