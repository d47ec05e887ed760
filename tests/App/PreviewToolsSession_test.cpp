// The README's session on the preview's mouse tools, run by vantorel-host:
// the move, the scale by a handle and the renumbering clicks all reach the
// written plot file.
#include <sys/wait.h>

#include <cstdlib>

#include "HostFixture.h"

namespace {

int runHost(const vt::test::TempDir& dir, const std::string& args)
{
    std::string command = std::string("'") + VANTOREL_HOST_EXE + "' --prefs '" + dir.file("prefs.json") +
                          "' --plugin-folder '" + dir.file("Plug-ins") + "' --resources '" + VANTOREL_SOURCE_DIR +
                          "/Resources' --module '" + VANTOREL_MODULE_PATH + "' " + args + " > '" +
                          dir.file("out.txt") + "' 2>&1";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(PreviewToolsSession, TheReadmeSessionMovesScalesAndRenumbersTheJob)
{
    vt::test::TempDir dir;
    for (const char* file : {"preview-tools.svg", "preview-tools.vts"})
        vt::test::writeFile(dir.file(file), vt::test::readFile(std::string(VANTOREL_SOURCE_DIR "/samples/") + file));
    ASSERT_EQ(runHost(dir, "setup --plotter 'Generic 24in Drag Knife'"), 0) << vt::test::readFile(dir.file("out.txt"));
    ASSERT_EQ(runHost(dir, "run '" + dir.file("preview-tools.vts") + "'"), 0)
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
