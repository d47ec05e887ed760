// Outputs written beside their target and put in place only when complete.
#include <sys/stat.h>

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
    EXPECT_FALSE(std::filesystem::exists(target + ".tmp"));
}

TEST(ReplacingFile, AFullDiskKeepsTheTargetAndSaysWhy)
{
    test::TempDir dir;
    test::FullFolder full(dir.file("full"));
    full.put("job.hpgl", "old");
    full.fill();
    full.prepare(full.file("job.hpgl"));
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
