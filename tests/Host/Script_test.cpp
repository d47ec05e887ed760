// Scripts: splitting lines into words, and whole sessions run by the host program.
#include <cstdlib>

#include "HostFixture.h"
#include "Preferences.h"
#include "Script/Script.h"

namespace {

TEST(ScriptLines, WordsQuotesAndComments)
{
    struct Row {
        const char* line;
        std::vector<std::string> words;
    } rows[] = {
        {"", {}},
        {"   # only a comment", {}},
        {"echo a b", {"echo", "a", "b"}},
        {"open \"my sign.svg\"  # comment", {"open", "my sign.svg"}},
        {"echo \"say \\\"hi\\\"\" x#y", {"echo", "say \"hi\"", "x#y"}},
        {"echo\t\"\"", {"echo", ""}},
        // An entry by its index, as the README and script-help write it.
        {"choose 3 #2", {"choose", "3", "#2"}},
        {"choose 3 #2 # the second entry", {"choose", "3", "#2"}},
        {"#choose 3 #2", {}},
        {"click 1 #", {"click", "1"}},
        {"click 1 ## done", {"click", "1"}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> words;
        std::string error;
        EXPECT_TRUE(vt::host::splitScriptLine(row.line, words, error)) << row.line;
        EXPECT_EQ(words, row.words) << row.line;
    }
    std::vector<std::string> words;
    std::string error;
    EXPECT_FALSE(vt::host::splitScriptLine("echo \"open", words, error));
    EXPECT_EQ(error, "unterminated quoted text");
}

// Runs the host program; returns its exit status and fills its output.
int runHost(const vt::test::TempDir& dir, const std::string& script, std::string* output)
{
    std::string scriptPath = dir.file("script.vts");
    vt::test::writeFile(scriptPath, script);
    std::string outPath = dir.file("out.txt");
    std::string command = std::string("\"") + VANTOREL_HOST_EXE + "\" --prefs \"" + dir.file("prefs.json") +
                          "\" --plugin-folder \"" + dir.file("Plug-ins") + "\" --module \"" +
                          VANTOREL_MODULE_PATH + "\" run \"" + scriptPath + "\" > \"" + outPath + "\" 2>&1";
    int status = std::system(command.c_str());
    *output = vt::test::readFile(outPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HostProgram, AnEmptyScriptStartsAndShutsDownAndLeavesTheSettings)
{
    vt::test::TempDir dir;
    std::string output;
    ASSERT_EQ(runHost(dir, "", &output), 0) << output;
    vt::host::Preferences prefs(dir.file("prefs.json"));
    EXPECT_EQ(prefs.keys("Vantorel").size(), 28u);  // the palette's 5 and the settings' 23
    EXPECT_TRUE(std::filesystem::exists(dir.file("Plug-ins/Strings/StringList-17000.txt")))
        << "a new plug-in folder is seeded";

    // A second session reads them back and writes the same again.
    std::string before = vt::test::readFile(dir.file("prefs.json"));
    ASSERT_EQ(runHost(dir, "prefs Vantorel\n", &output), 0) << output;
    EXPECT_NE(output.find("Vantorel/DotCut_CutThroughPen"), std::string::npos) << output;
    EXPECT_EQ(vt::test::readFile(dir.file("prefs.json")), before);
}

TEST(HostProgram, TheFirstFailingCommandEndsTheScriptWithItsLine)
{
    vt::test::TempDir dir;
    std::string output;
    EXPECT_EQ(runHost(dir, "echo one\n\nno-such-command\necho never\n", &output), 1);
    EXPECT_NE(output.find("line 3: unknown command \"no-such-command\""), std::string::npos) << output;
    EXPECT_EQ(output.find("never"), std::string::npos);
    // The plug-in was still shut down properly, but a run that failed leaves
    // the preferences as they were: here, none.
    EXPECT_NE(output.find("the preferences were left as they were"), std::string::npos) << output;
    EXPECT_FALSE(std::filesystem::exists(dir.file("prefs.json")));
}

// Out of its turn, a reload would hand the plug-in no globals: the script
// stops there, by name, and nothing crashes.
TEST(HostProgram, AReloadOfALoadedPluginStopsTheScript)
{
    vt::test::TempDir dir;
    std::string output;
    EXPECT_EQ(runHost(dir, "reload\nabout\n", &output), 1);
    EXPECT_NE(output.find("line 1: reload: the plug-in is loaded: it is reloaded only after it was unloaded"),
              std::string::npos)
        << output;
}

TEST(HostProgram, TheSessionShowsWhatThePluginRegistered)
{
    vt::test::TempDir dir;
    std::string output;
    ASSERT_EQ(runHost(dir, "registrations\nabout\n", &output), 0) << output;
    EXPECT_NE(output.find("notifier \"PluginStartNotifier\" for \"AI Application Started Notifier\""),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("about: 0"), std::string::npos) << output;
}

}  // namespace
