// The README's session on the preview's mouse tools, run by vantorel-host:
// the move, the scale by a handle and the renumbering clicks all reach the
// written plot file.

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

TEST(PreviewToolsSession, TheReadmeSessionMovesScalesAndRenumbersTheJob)
{
    vt::test::TempDir dir;
    for (const char* file : {"preview-tools.svg", "preview-tools.vts"})
        vt::test::writeFile(dir.file(file), vt::test::readFile(std::string(VANTOREL_SOURCE_DIR "/samples/") + file));
    ASSERT_EQ(hostToLog(dir, "setup --plotter 'Generic 24in Drag Knife'"), 0) << vt::test::readFile(dir.file("out.txt"));
    ASSERT_EQ(hostToLog(dir, "run '" + dir.file("preview-tools.vts") + "'"), 0)
        << vt::test::readFile(dir.file("out.txt"));
    EXPECT_TRUE(std::filesystem::exists(dir.file("preview-tools.png")));

    // At 40 units a millimetre: the green square at 130 mm, the blue one at
    // 0, and the red rectangle moved 30 mm right to 50 mm and stretched to
    // 200 mm wide (its top at 70 mm, its right edge at 250 mm).
    std::string job = vt::test::readFile(dir.file("preview-tools.hpgl"));
    size_t green = job.find("PU5199,799;"), square = job.find("PU0,399;"), red = job.find("PU2000,2800;");
    ASSERT_NE(green, std::string::npos) << job;
    ASSERT_NE(square, std::string::npos) << job;
    ASSERT_NE(red, std::string::npos) << job;
    EXPECT_NE(job.find("PD10000,2800;"), std::string::npos) << job;
    EXPECT_LT(green, square) << "clicked first, cut first";
    EXPECT_LT(square, red);
}

}  // namespace
