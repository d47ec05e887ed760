// Outputs written beside their target and put in place only when complete.
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <regex>
#include <set>

#include "FileFaults.h"
#include "OutputFile.h"

using namespace vt;

namespace {

TEST(ReplacingFile, TheTargetChangesOnlyAtACommit)
{
    test::TempDir dir;
    std::string target = dir.file("job.hpgl");
    test::writeFile(target, "old");
    {
        host::ReplacingFile file(target);
        std::string error;
        ASSERT_TRUE(file.open(error)) << error;
        ASSERT_TRUE(file.write("new"));
        EXPECT_EQ(test::readFile(target), "old") << "not yet";
        ASSERT_TRUE(file.commit(error)) << error;
    }
    EXPECT_EQ(test::readFile(target), "new");
    {
        host::ReplacingFile file(target);
        std::string error;
        ASSERT_TRUE(file.open(error)) << error;
        file.write("abandoned");
    }  // never committed
    EXPECT_EQ(test::readFile(target), "new");
    EXPECT_EQ(test::filesIn(dir.path()), std::vector<std::string>{"job.hpgl"});
}

// Two writers of one target at once each have a temporary file of their own;
// the later rename leaves its whole output. A target whose name is as long as
// a name can be still gets one that fits. A hundred writers at once have a
// hundred names, each "TARGET.tmp-" and six letters or digits.
TEST(ReplacingFile, EveryWriterHasATemporaryFileOfItsOwn)
{
    test::TempDir dir;
    {
        std::vector<std::unique_ptr<host::ReplacingFile>> writers;
        std::set<std::string> temps;
        const std::regex form(std::regex_replace(dir.file("job.hpgl"), std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                              R"(\.tmp-[A-Za-z0-9]{6})");
        for (int i = 0; i < 100; ++i) {
            writers.push_back(std::make_unique<host::ReplacingFile>(dir.file("job.hpgl")));
            std::string error;
            ASSERT_TRUE(writers.back()->open(error)) << error;
            EXPECT_TRUE(std::regex_match(writers.back()->tempPath(), form)) << writers.back()->tempPath();
            temps.insert(writers.back()->tempPath());
        }
        EXPECT_EQ(temps.size(), 100u);
    }
    EXPECT_EQ(test::filesIn(dir.path()), std::vector<std::string>{}) << "none committed, none left";
    for (const std::string& name : {std::string("job.hpgl"), std::string(255, 'j')}) {
        SCOPED_TRACE(name.size());
        std::string target = dir.file(name);
        host::ReplacingFile first(target), second(target);
        std::string error;
        ASSERT_TRUE(first.open(error)) << error;
        ASSERT_TRUE(second.open(error)) << error;
        EXPECT_NE(first.tempPath(), second.tempPath());
        EXPECT_EQ(first.tempPath().rfind(dir.path() + "/", 0), 0u) << "beside the target";
        ASSERT_TRUE(first.write("the first job"));
        ASSERT_TRUE(second.write("the second"));
        ASSERT_TRUE(second.commit(error)) << error;
        ASSERT_TRUE(first.commit(error)) << error;
        EXPECT_EQ(test::readFile(target), "the first job");
        EXPECT_EQ(test::filesIn(dir.path()), std::vector<std::string>{name});
        std::filesystem::remove(target);
    }
}

// The program's own files are no output of the user's: by name, through a
// link and through a second (hard) name; the program's own writer of one
// still writes it.
TEST(ReplacingFile, TheProgramsOwnFilesAreRefused)
{
    test::TempDir dir;
    test::writeFile(dir.file("prefs.json"), "{}");
    test::writeFile(dir.file("Plug-ins/PlotterSetup.txt"), "PlotterNumber=0\n");
    ASSERT_EQ(::link(dir.file("prefs.json").c_str(), dir.file("second-name.json").c_str()), 0);
    std::filesystem::create_symlink(dir.file("prefs.json"), dir.file("link.json"));
    host::protectOwnFile(dir.file("prefs.json"), "the preference file");
    host::protectOwnFolder(dir.file("Plug-ins"), "the plug-in's folder");
    const std::string own = ", one of the program's own files; nothing was written to it";
    struct Row {
        std::string path;
        std::string says;
    } rows[] = {
        {dir.file("prefs.json"), dir.file("prefs.json") + " is the preference file" + own},
        {dir.file("link.json"), dir.file("link.json") + " is the preference file" + own},
        {dir.file("second-name.json"), dir.file("second-name.json") + " is the preference file" + own},
        {dir.file("Plug-ins/PlotterSetup.txt"), dir.file("Plug-ins/PlotterSetup.txt") + " is a file of the plug-in's folder" + own},
        {dir.file("Plug-ins/new.txt"), dir.file("Plug-ins/new.txt") + " is a file of the plug-in's folder" + own},
        {dir.file("Plug-ins-too/x.txt"), ""},
        {dir.file("prefs.json.bak"), ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        std::string error;
        EXPECT_EQ(host::checkOutputTarget(row.path, error), row.says.empty());
        EXPECT_EQ(error, row.says);
    }
    std::string error;
    EXPECT_TRUE(host::writeFileAtomically(dir.file("prefs.json"), "{\"P\": {}}", &error, host::Owner::Program))
        << error;
    host::forgetOwnFiles();
    EXPECT_TRUE(host::checkOutputTarget(dir.file("prefs.json"), error));
}

// Where the temporary file cannot be made, the output is not opened and the
// caller is told why.
TEST(ReplacingFile, ATemporaryFileThatCannotBeMadeIsSaid)
{
    test::TempDir dir;
    std::string target = dir.file("no/folder/job.hpgl");
    host::ReplacingFile file(target);
    std::string error;
    EXPECT_FALSE(file.open(error));
    EXPECT_EQ(error, "cannot write " + target + ": No such file or directory");
    EXPECT_FALSE(file.isOpen());
}

TEST(ReplacingFile, AFullDiskKeepsTheTargetAndSaysWhy)
{
    test::TempDir dir;
    test::FullFolder full(dir.file("full"));
    if (!full.available()) GTEST_SKIP() << "no full file system can be made here";
    full.put("job.hpgl", "old");
    full.fill();
    std::string error;
    EXPECT_FALSE(host::writeFileAtomically(full.file("job.hpgl"), std::string(100000, 'x'), &error));
    EXPECT_EQ(error, "cannot write " + full.file("job.hpgl") + ": No space left on device");
    EXPECT_EQ(test::readFile(full.file("job.hpgl")), "old");
}

TEST(ReplacingFile, WhatIsNoRegularFileIsRefused)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("folder"));
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0666), 0);
    test::writeFile(dir.file("file"), "x");
    struct Row {
        std::string path;
        std::string says;  // empty: may be written
    } rows[] = {
        {dir.file("new"), ""},
        {dir.file("file"), ""},
        {dir.file("folder"), dir.file("folder") + " is a folder, not a file; nothing was written"},
        {dir.file("pipe"), dir.file("pipe") + " is not a regular file (a device, pipe or socket); nothing was written to it"},
        {"/dev/null", "/dev/null is not a regular file (a device, pipe or socket); nothing was written to it"},
        {dir.file("file/inside"), "cannot write " + dir.file("file/inside") + ": Not a directory"},
        {dir.file(std::string(300, 'n')), "cannot write " + dir.file(std::string(300, 'n')) + ": File name too long"},
        {"", "no file name given"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        std::string error;
        EXPECT_EQ(host::checkOutputTarget(row.path, error), row.says.empty());
        EXPECT_EQ(error, row.says);
    }
}

}  // namespace
