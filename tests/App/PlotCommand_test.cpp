// vantorel-host plot, end to end: a fresh plug-in folder, the real menu,
// dialog and writer in the loaded module, a bundled plotter of each command
// language; the USB road into the fake cutter; and the errors a user meets.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "HostRun.h"
#include "Preferences.h"

namespace {

using vt::test::RunResult;

RunResult plot(const vt::test::TempDir& dir, const std::string& args, const std::string& before = "")
{
    return vt::test::host(dir, before + " plot " + args);
}

std::string sample(const char* name) { return std::string("'") + VANTOREL_SOURCE_DIR + "/samples/" + name + "'"; }

TEST(PlotCommand, EveryLanguageThroughFileAndCutterGivesTheSameJob)
{
    struct Row {
        const char* language;
        const char* plotter;
        const char* starts;  // the job's first command
    } rows[] = {
        {"HPGL", "Generic 24in Drag Knife", "IN;"},
        {"GPGL", "Generic 15in Desktop Cutter", ""},
        {"MGL_IC1", "Generic 30in Contour Cutter", ""},
        {"DMGL", "Generic 54in Production Cutter", "IN;"},
    };
    for (const Row& row : rows) {
        vt::test::TempDir dir;
        RunResult r = plot(dir, sample("open-sign.svg") + " -o '" + dir.file("job.out") + "' --plotter '" + row.plotter + "'");
        ASSERT_EQ(r.status, 0) << row.language << "\n" << r.output;
        EXPECT_NE(r.output.find(std::string("(") + row.language + ")"), std::string::npos) << r.output;
        EXPECT_NE(r.output.find("menu: Export Document > Vantorel > Plot Out..."), std::string::npos) << r.output;
        std::string job = vt::test::readFile(dir.file("job.out"));
        ASSERT_GT(job.size(), 100u) << row.language;
        EXPECT_EQ(job.rfind(row.starts, 0), 0u) << row.language << ": " << job.substr(0, 40);

        // The current plotter is now in the preferences: the USB road needs no --plotter.
        RunResult usb = plot(dir, sample("open-sign.svg") + " --usb", "--fake-cutter '" + dir.file("cutter.bin") + "'");
        ASSERT_EQ(usb.status, 0) << row.language << "\n" << usb.output;
        EXPECT_EQ(vt::test::readFile(dir.file("cutter.bin")), job) << row.language;
    }
}

TEST(PlotCommand, ByColourCutsTheSameArtInAnotherOrder)
{
    vt::test::TempDir dir;
    // Layer "Top" holds a red and a blue square, layer "Bottom" another red one:
    // by layer the blue square comes between the red ones, by colour it does not.
    vt::test::writeFile(dir.file("job.svg"), R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <g id="Bottom"><rect x="110" y="50" width="20" height="20" fill="#ff0000"/></g>
  <g id="Top"><rect x="10" y="50" width="20" height="20" fill="#ff0000"/><rect x="60" y="50" width="20" height="20" fill="#0000ff"/></g>
</svg>)");
    std::string args = "'" + dir.file("job.svg") + "' --plotter 'Generic 24in Drag Knife' -o '";
    RunResult r = plot(dir, args + dir.file("layer.hpgl") + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    r = plot(dir, args + dir.file("colour.hpgl") + "' --by-colour");
    ASSERT_EQ(r.status, 0) << r.output;
    std::string byLayer = vt::test::readFile(dir.file("layer.hpgl")), byColour = vt::test::readFile(dir.file("colour.hpgl"));
    EXPECT_NE(byLayer, byColour);
    // The same cuts, only in another order.
    auto cuts = [](const std::string& job) {
        std::vector<std::string> lines;
        std::istringstream in(job);
        for (std::string line; std::getline(in, line);)
            if (line.rfind("PD", 0) == 0) lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(cuts(byLayer).size(), 12u);
    EXPECT_EQ(cuts(byLayer), cuts(byColour));
}

// Hidden art is not cut, wherever it hides: the job of a drawing holding it
// is byte for byte the job of the same drawing without it.
TEST(PlotCommand, HiddenArtIsLeftOutOfTheJob)
{
    struct Row {
        const char* shows;
        const char* layer;   // a layer of its own
        const char* loose;   // beside the visible art on its layer
        const char* nested;  // inside the visible group
    } rows[] = {
        {"a layer hidden by display", R"(<g id="Off" style="display:none"><rect x="70" y="60" width="20" height="20"/></g>)", "", ""},
        {"a layer hidden by visibility", R"(<g id="Off" visibility="hidden"><rect x="70" y="60" width="20" height="20"/></g>)", "", ""},
        {"an object hidden by display", "", R"(<rect x="70" y="10" width="15" height="15" display="none"/>)", ""},
        {"an object hidden by visibility", "", R"(<circle cx="80" cy="40" r="9" style="visibility:hidden"/>)", ""},
        {"a group whose every member is hidden", "",
         R"(<g><rect x="70" y="10" width="15" height="15" display="none"/><rect x="72" y="12" width="5" height="5" visibility="hidden"/></g>)", ""},
        {"a hidden sublayer inside a cut group", "", "",
         R"(<g style="display:none"><rect x="150" y="5" width="40" height="90"/></g>)"},
    };
    auto drawing = [](const Row& row, bool withHidden) {
        return std::string(R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <g id="Art"><rect x="10" y="10" width="20" height="20"/>)") +
               (withHidden ? row.loose : "") + R"(<g id="word"><rect x="40" y="50" width="10" height="30"/>)" +
               (withHidden ? row.nested : "") + R"(</g></g>)" + (withHidden ? row.layer : "") + "</svg>";
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        vt::test::TempDir dir;
        vt::test::writeFile(dir.file("hidden.svg"), drawing(row, true));
        vt::test::writeFile(dir.file("shown.svg"), drawing(row, false));
        for (const char* name : {"hidden", "shown"}) {
            RunResult r = plot(dir, "'" + dir.file(std::string(name) + ".svg") + "' -o '" + dir.file(std::string(name) + ".hpgl") +
                                        "' --plotter 'Generic 24in Drag Knife'");
            ASSERT_EQ(r.status, 0) << r.output;
            EXPECT_NE(r.output.find("2 top-level object(s) selected"), std::string::npos) << r.output;
        }
        std::string job = vt::test::readFile(dir.file("shown.hpgl"));
        EXPECT_GT(job.size(), 50u);
        EXPECT_EQ(vt::test::readFile(dir.file("hidden.hpgl")), job);
    }
}

TEST(PlotCommand, ProblemsAreReportedWithAFailingStatus)
{
    vt::test::TempDir dir;
    vt::test::writeFile(dir.file("bad.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    vt::test::writeFile(dir.file("empty.svg"), "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>");
    vt::test::writeFile(dir.file("text.svg"),
                        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\"><text x=\"5\" y=\"50\">Hi</text></svg>");
    struct Row {
        const char* shows;
        std::string args;
        const char* says;
    } rows[] = {
        {"a malformed SVG", "'" + dir.file("bad.svg") + "' -o x.hpgl --plotter 'Generic 24in Drag Knife'", "bad.svg:1"},
        {"an unknown plotter", sample("open-sign.svg") + " -o x.hpgl --plotter 'Nope'", "no plotter named \"Nope\""},
        {"an unknown environment", sample("open-sign.svg") + " -o x.hpgl --plotter 'Generic 24in Drag Knife' --environment Glass",
         "has no environment named \"Glass\""},
        {"nothing to cut", "'" + dir.file("empty.svg") + "' -o x.hpgl --plotter 'Generic 24in Drag Knife'", "nothing to cut"},
        {"only text", "'" + dir.file("text.svg") + "' -o x.hpgl --plotter 'Generic 24in Drag Knife'", "cannot be cut"},
        {"an output that cannot be written",
         sample("open-sign.svg") + " -o '" + dir.file("no/folder/x.hpgl") + "' --plotter 'Generic 24in Drag Knife'",
         "The plot file could not be created"},
        // No cutter with the bundled plotter's ids is attached to this machine.
        {"no cutter", sample("open-sign.svg") + " --usb --plotter 'Generic 24in Drag Knife'",
         "The cutter could not be reached"},
    };
    for (const Row& row : rows) {
        RunResult r = plot(dir, row.args);
        EXPECT_EQ(r.status, 1) << row.shows << "\n" << r.output;
        EXPECT_NE(r.output.find(row.says), std::string::npos) << row.shows << "\n" << r.output;
    }
}

TEST(PlotCommand, ACurrentPlotterWithUnusableValuesIsNamedAndCutsNothing)
{
    struct Row {
        const char* shows;
        const char* key;
        double value;  // an integer entry for the language
        const char* says;
    } rows[] = {
        {"a language past DMGL", "PlotterLanguage", 7,
         "cannot be used: PlotterLanguage is 7, not one of 0 (HPGL) to 3 (DMGL)"},
        {"a negative step", "PlotterStep", -0.025, "cannot be used: PlotterStep is -0.025, not above 0"},
        {"no media width", "PlotterSizeX", 0, "cannot be used: PlotterSizeX is 0, not above 0"},
        // Held to what the library holds its plotters to.
        {"a step of 1e308", "PlotterStep", 1e308, "cannot be used: PlotterStep is 1e+308, more than 10 mm"},
        {"a negative pen pressure", "PenPressure-0", -80, "cannot be used: PenPressure-0 is -80, below 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        vt::test::TempDir dir;
        RunResult setup = plot(dir, sample("open-sign.svg") + " -o '" + dir.file("first.hpgl") +
                                        "' --plotter 'Generic 24in Drag Knife'");
        ASSERT_EQ(setup.status, 0) << setup.output;
        {
            vt::host::Preferences prefs(dir.file("prefs.json"));
            if (std::string(row.key) == "PlotterLanguage")
                prefs.putInteger("Korvel-Ulmaren", row.key, static_cast<int32_t>(row.value));
            else
                prefs.putReal("Korvel-Ulmaren", row.key, row.value);
            ASSERT_TRUE(prefs.save()) << prefs.error();
        }
        RunResult r = plot(dir, sample("open-sign.svg") + " -o '" + dir.file("job.hpgl") + "'");
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find("the current plotter \"Generic 24in Drag Knife\" in the preferences " +
                                std::string(row.says)),
                  std::string::npos)
            << r.output;
        EXPECT_FALSE(std::filesystem::exists(dir.file("job.hpgl"))) << "no job of nothing is written";
    }
}

// A plotter of the library whose values no job can be cut with is refused
// when the library is read, naming the plotter and the field; nothing is cut
// and the library is kept as it was.
TEST(PlotCommand, ALibraryPlotterWithUnusableValuesIsNamedAndCutsNothing)
{
    struct Row {
        const char* shows;
        const char* from;
        const char* to;
        const char* says;
    } rows[] = {
        {"a language past DMGL", "Language=0", "Language=7", "Language is 7, not one of 0 (HPGL) to 3 (DMGL)"},
        {"a negative language", "Language=0", "Language=-1", "Language is -1, not one of 0 (HPGL) to 3 (DMGL)"},
        {"a negative step", "PlotterStep=0.025000", "PlotterStep=-0.025", "PlotterStep is -0.025, not above 0"},
        {"a step of nan", "PlotterStep=0.025000", "PlotterStep=nan", "PlotterStep is not a finite number"},
        {"no media width", "PlotterSizeX=1220.000000", "PlotterSizeX=0", "PlotterSizeX is 0, not above 0"},
        {"a language in a word", "Language=0", "Language=GPGL", "Language is not a number"},
        {"a step of 1e308", "PlotterStep=0.025000", "PlotterStep=1e308",
         "PlotterStep is 1e+308, more than the 10 mm a step can be"},
        {"a negative pen pressure", "Pressure=90.00", "Pressure=-80",
         "environment \"Vinyl\", pen \"45 Degree Blade\": Pressure is -80, below 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        vt::test::TempDir dir;
        RunResult setup = plot(dir, sample("open-sign.svg") + " -o '" + dir.file("first.hpgl") +
                                        "' --plotter 'Generic 24in Drag Knife'");
        ASSERT_EQ(setup.status, 0) << setup.output;
        // The second plotter of the bundled library is spoilt; the first stays.
        std::string library = dir.file("Plug-ins/PlotterSetup.txt");
        std::string text = vt::test::readFile(library);
        size_t block = text.find("PlotterName=Generic 48in Drag Knife");
        ASSERT_NE(block, std::string::npos);
        size_t at = text.find(std::string("\n") + row.from + "\n", block);
        ASSERT_NE(at, std::string::npos);
        text.replace(at + 1, std::strlen(row.from), row.to);
        vt::test::writeFile(library, text);

        RunResult r = plot(dir, sample("open-sign.svg") + " -o '" + dir.file("job.hpgl") +
                                    "' --plotter 'Generic 48in Drag Knife'");
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_NE(r.output.find("holds a plotter that cannot be used: plotter \"Generic 48in Drag Knife\"" +
                                std::string(row.says[0] == 'e' ? ", " : ": ") + row.says),
                  std::string::npos)
            << r.output;
        EXPECT_FALSE(std::filesystem::exists(dir.file("job.hpgl"))) << "nothing is cut";
        EXPECT_EQ(vt::test::readFile(library), text) << "the library is kept as it was";
    }
}

}  // namespace
