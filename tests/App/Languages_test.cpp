// Each language end to end, as a user meets it: a fresh plug-in folder with
// only the language file, `vantorel-host plot` and a scripted session of the
// About, Plotter Setup and Plot Out dialogs.
#include <sys/wait.h>

#include <cstdio>
#include <map>

#include "HostRun.h"
#include "HostFixture.h"
#include "StringLists.h"

namespace {

using vt::test::host;
using vt::test::RunResult;

struct Language {
    const char* name;
    int list;
};

// Plots the open sign for the bundled 24-inch cutter in a fresh folder
// whose language file names language; returns the job.
std::string plotIn(const vt::test::TempDir& dir, const Language& language, const std::map<int, std::string>& texts)
{
    vt::test::writeFile(dir.file("Plug-ins/Ardo_Config.txt"), std::string("Language=") + language.name + "\n");
    RunResult r = host(dir, std::string("plot '") + VANTOREL_SOURCE_DIR + "/samples/open-sign.svg' -o '" +
                                dir.file("job.hpgl") + "' --plotter 'Generic 24in Drag Knife'");
    EXPECT_EQ(r.status, 0) << language.name << "\n" << r.output;
    EXPECT_NE(r.output.find("menu: Export Document > Vantorel > " + texts.at(22) + "\n"), std::string::npos)
        << language.name << "\n" << r.output;
    return vt::test::readFile(dir.file("job.hpgl"));
}

TEST(LanguageSessions, EachLanguageShowsItsTextsDrawsThemAndCutsTheSameJob)
{
    const Language languages[] = {
        {"English", 17000}, {"Chinese(PRC)", 18000}, {"Japanese", 19000}, {"Chinese(ROC)", 15000}, {"Korea", 16000},
    };
    std::string englishJob;
    for (const Language& language : languages) {
        vt::test::TempDir dir;
        auto texts = vt::host::StringLists::parse(vt::test::readFile(std::string(VANTOREL_SOURCE_DIR) +
                                                                     "/Resources/Strings/StringList-" +
                                                                     std::to_string(language.list) + ".txt"));
        std::string job = plotIn(dir, language, texts);
        ASSERT_GT(job.size(), 100u) << language.name;
        if (englishJob.empty())
            englishJob = job;
        else
            EXPECT_EQ(job, englishJob) << language.name << ": the job does not depend on the language";

        auto quoted = [&](int index) { return "\"" + texts.at(index) + "\""; };
        std::string menuText = texts.at(21).substr(0, texts.at(21).size() - 3);  // without "..."
        std::string script = "dialog \"About Dialog\"\n"
                             "  expect-title " + quoted(11) + "\n"
                             "  expect-text 3 " + quoted(14) + "\n"
                             "  expect-glyphs\n"
                             "  click 1\n"
                             "end-dialog\n"
                             "about\n"
                             "dialog \"Plotter Setup Dialog\"\n"
                             "  expect-title " + quoted(41) + "\n"
                             "  expect-text 8 " + quoted(46) + "\n"
                             "  expect-text 9 " + quoted(47) + "\n"
                             "  expect-text 2 " + quoted(65) + "\n"
                             "  expect-glyphs\n"
                             "  click 2\n"
                             "end-dialog\n"
                             "menu \"" + menuText + "\"\n"
                             "open \"" VANTOREL_SOURCE_DIR "/samples/open-sign.svg\"\n"
                             "select all\n"
                             "dialog \"Plot Out Dialog\"\n"
                             "  expect-title " + quoted(101) + "\n"
                             "  expect-text 15 " + quoted(107) + "\n"
                             "  expect-text 26 " + quoted(163) + "\n"
                             "  expect-text 60 " + quoted(132) + "\n"
                             "  expect-glyphs\n"
                             "  click 74\n"
                             "end-dialog\n"
                             "menu \"" + texts.at(22).substr(0, texts.at(22).size() - 3) + "\"\n";
        vt::test::writeFile(dir.file("session.vts"), script);
        RunResult r = host(dir, "run '" + dir.file("session.vts") + "'");
        EXPECT_EQ(r.status, 0) << language.name << "\n" << r.output;
        EXPECT_EQ(r.output.find("not answered"), std::string::npos) << language.name << "\n" << r.output;
    }
}

}  // namespace
