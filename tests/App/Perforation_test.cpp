// Dot cut and weeding lines end to end: vantorel-host runs the palette's
// buttons from scripts, saves the document, and the plot command cuts what
// was made.
#include <filesystem>
#include <regex>
#include <string>

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

size_t count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) n++;
    return n;
}

class Perforation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(hostToLog(dir_, "setup --plotter 'Generic 24in Drag Knife'"), 0) << output();
    }
    int run(const std::string& script) { return hostToLog(dir_, "run '" + dir_.file(script) + "'"); }
    std::string output() const { return vt::test::readFile(dir_.file("out.txt")); }
    std::string file(const std::string& name) const { return vt::test::readFile(dir_.file(name)); }
    int prefsInteger(const std::string& key) const
    {
        std::smatch m;
        std::string prefs = file("prefs.json");
        if (!std::regex_search(prefs, m, std::regex("\"" + key + "\"\\s*:\\s*\\{\\s*\"integer\"\\s*:\\s*(-?\\d+)")))
            return -9999;
        return std::stoi(m[1]);
    }

    vt::test::TempDir dir_;
};

TEST_F(Perforation, TheReadmeSessionPerforatesALineThePlotCutsItPieceByPieceAndDotCutGivesItBack)
{
    for (const char* name : {"perforation.svg", "dot-cut.vts"})
        std::filesystem::copy_file(std::string(VANTOREL_SOURCE_DIR "/samples/") + name, dir_.file(name));
    ASSERT_EQ(run("dot-cut.vts"), 0) << output();
    std::string saved = file("perforated.svg");
    EXPECT_EQ(count(saved, "data-tag-TAG_OF_DOT_CUT=\"10\""), 1u);
    EXPECT_EQ(count(saved, "data-tag-TAG_OF_DOT_CUT=\"1\""), 21u);
    EXPECT_EQ(count(saved, "data-tag-TAG_OF_DOT_CUT=\"0\""), 20u);
    EXPECT_EQ(prefsInteger("DotCut_CutThroughLength"), 300);
    EXPECT_EQ(prefsInteger("DotCut_HalfCutLength"), 200);

    // The cutter's pens: 0 presses 80 g, 1 presses 120 g. Each piece is one
    // stroke with its own pen's pressure; the line itself is not cut.
    ASSERT_EQ(hostToLog(dir_, "plot '" + dir_.file("perforated.svg") + "' -o '" + dir_.file("perforated.hpgl") + "'"), 0)
        << output();
    std::string job = file("perforated.hpgl");
    EXPECT_EQ(count(job, "PD"), 41u) << job;
    EXPECT_EQ(count(job, "FS120;"), 21u) << job;
    EXPECT_EQ(count(job, "FS80;"), 1u + 20u) << "the job's own pen, then the half-cut pieces";

    vt::test::writeFile(dir_.file("restore.vts"), R"(open perforated.svg
select all
dialog "MAKE_DoT_CUt_Dialog"
  expect-text 2 "3.00 mm"
  expect-text 3 "60 Degree Blade"
  click 7
end-dialog
select-dialog "PreProcess Plot"
click 4
save restored.svg
)");
    ASSERT_EQ(run("restore.vts"), 0) << output();
    std::string restored = file("restored.svg");
    EXPECT_EQ(count(restored, "TAG_OF_DOT_CUT"), 0u) << restored;
    EXPECT_EQ(count(restored, "<path"), 1u) << restored;
    EXPECT_EQ(count(restored, "id=\"tear-line\""), 1u) << restored;
}

TEST_F(Perforation, WeedingLinesRoundAFilledRectangleAndCancelMakesNone)
{
    vt::test::writeFile(dir_.file("rect.svg"), R"(<svg xmlns="http://www.w3.org/2000/svg" width="300pt" height="200pt" viewBox="0 0 300 200">
  <rect id="sign" x="50" y="50" width="100" height="50" fill="#ff0000"/>
</svg>
)");
    vt::test::writeFile(dir_.file("weed.vts"), R"(open rect.svg
select all
dialog "RipSetting Dialog"
  click 2
end-dialog
select-dialog "PreProcess Plot"
click 9
save cancelled.svg
dialog "RipSetting Dialog"
  expect-text 4 "1.00 mm"
  expect-text 11 "1"
  click 1
end-dialog
click 9
save weeded.svg
)");
    ASSERT_EQ(run("weed.vts"), 0) << output();
    EXPECT_EQ(count(file("cancelled.svg"), "<path"), 1u);

    std::string weeded = file("weeded.svg");
    EXPECT_EQ(count(weeded, "<g>"), 1u) << "one group: the rectangle and its lines";
    EXPECT_EQ(count(weeded, "<path"), 6u) << weeded;
    // The border, 105.67 x 55.67 pt, then the four pieces of 2.83 pt, then
    // the rectangle on top.
    std::regex border(R"(d="M47\.165\d* 102\.834\d* L47\.165\d* 47\.165\d* L152\.834\d* 47\.165\d* L152\.834\d* 102\.834\d* Z")");
    EXPECT_TRUE(std::regex_search(weeded, border)) << weeded;
    for (const char* piece : {R"(d="M100 50 L100 47\.165\d*")", R"(d="M100 102\.834\d* L100 100")",
                              R"(d="M150 75 L152\.834\d* 75")", R"(d="M47\.165\d* 75 L50 75")"})
        EXPECT_TRUE(std::regex_search(weeded, std::regex(piece))) << piece;
    EXPECT_LT(weeded.find("d=\"M47.165"), weeded.find("id=\"sign\"")) << "the lines lie under the rectangle";
}

}  // namespace
