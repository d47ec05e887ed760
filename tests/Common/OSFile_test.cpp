// The files of the plug-in's own folder: one helper names them all; and the
// file written beside its target and put in place only when complete.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "HostFixture.h"

using namespace vt;

namespace {

class PluginFolderTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }
    std::string folder() const { return std::filesystem::canonical(pluginFolder()).string(); }
};

TEST_F(PluginFolderTest, AFileOfTheFolderIsTheFolderASlashAndItsName)
{
    char path[kSPMaxPathLength + 1];
    for (const char* name : {"PlotterSetup.txt", "Ardo_Config.txt", "~Temp.hpgl"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(pluginFolderFilePath(name, path, sizeof path), kNoErr);
        EXPECT_EQ(std::filesystem::weakly_canonical(path).string(), folder() + "/" + name);
    }
}

TEST_F(PluginFolderTest, APathThatDoesNotFitIsRefusedNotCut)
{
    char path[kSPMaxPathLength + 1];
    ASSERT_EQ(pluginFolderFilePath("PlotterSetup.txt", path, sizeof path), kNoErr);
    size_t exact = std::strlen(path) + 1;
    std::string expected = path;

    std::string small(exact, 'x');
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", small.data(), exact), kNoErr) << "just fits";
    EXPECT_STREQ(small.c_str(), expected.c_str());
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", small.data(), exact - 1), kNoFileErr);
    EXPECT_STREQ(small.c_str(), "") << "nothing half-made is left behind";
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", nullptr, 10), kNoFileErr);
    EXPECT_EQ(pluginFolderFilePath(nullptr, path, sizeof path), kNoFileErr);
}

TEST_F(PluginFolderTest, TheFolderItselfIsWhereFileDialogsStart)
{
    SPPlatformFileSpecification spec;
    std::memset(&spec, 0, sizeof spec);
    ASSERT_EQ(pluginFolderSpecification(&spec), kNoErr);
    EXPECT_EQ(std::filesystem::weakly_canonical(spec.path).string(), folder());
}

// ---- Replacing a file -----------------------------------------------------------------

SPPlatformFileSpecification specOf(const std::string& path)
{
    SPPlatformFileSpecification spec;
    std::memset(&spec, 0, sizeof spec);
    std::strncpy(spec.path, path.c_str(), sizeof spec.path - 1);
    return spec;
}

bool exists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

TEST_F(PluginFolderTest, AReplacingFileTakesThePlaceOfItsTargetOnlyWhenComplete)
{
    using Make = std::function<void(const std::string& target)>;
    const Make nothing = [](const std::string&) {};
    const Make earlierJob = [](const std::string& t) { test::writeFile(t, "old job"); };
    const Make folder = [](const std::string& t) { std::filesystem::create_directory(t); };
    const Make pipe = [](const std::string& t) { ASSERT_EQ(mkfifo(t.c_str(), 0600), 0); };
    const Make fullDevice = [](const std::string& t) { ASSERT_EQ(symlink("/dev/full", (t + ".tmp").c_str()), 0); };
    struct Row {
        const char* shows;
        const char* name;  // of the target, in a folder of the test
        Make before;       // makes what is there
        ASErr writeError;  // what the writing said
        Make during;       // happens while it is written
        ASErr opens, closes;
        int systemError;
        const char* after;  // the target's text afterwards; null: not a file
    } rows[] = {
        {"a new file", "job.plt", nothing, kNoErr, nothing, kNoErr, kNoErr, 0, "new job"},
        {"an earlier job replaced", "job.plt", earlierJob, kNoErr, nothing, kNoErr, kNoErr, 0, "new job"},
        {"a failed write keeps the earlier job", "job.plt", earlierJob, kWriteErr, nothing, kNoErr, kWriteErr, 0,
         "old job"},
        {"another error of the writer is passed on", "job.plt", earlierJob, kMemoryErr, nothing, kNoErr, kMemoryErr,
         0, "old job"},
        {"a folder is refused before anything is made", "job.plt", folder, kNoErr, nothing, kNoFileErr, kWriteErr,
         EISDIR, nullptr},
        {"a pipe is refused", "job.plt", pipe, kNoErr, nothing, kNoFileErr, kWriteErr, kOSNotRegularFile, nullptr},
        {"a folder that is not there", "missing/job.plt", nothing, kNoErr, nothing, kNoFileErr, kWriteErr, ENOENT,
         nullptr},
        {"the target made a folder meanwhile: the rename fails", "job.plt", nothing, kNoErr, folder, kNoErr,
         kWriteErr, EISDIR, nullptr},
        {"a full device", "job.plt", fullDevice, kNoErr, nothing, kNoErr, kWriteErr, ENOSPC, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        test::TempDir dir;
        std::string target = dir.file(row.name);
        row.before(target);
        SPPlatformFileSpecification spec = specOf(target);
        OSReplacingFile file;
        ASSERT_EQ(OS_fopenReplacing(&spec, &file), row.opens);
        if (row.opens == kNoErr) {
            fputs("new job", file.stream);
            row.during(target);
        } else {
            EXPECT_EQ(file.stream, nullptr);
        }
        EXPECT_EQ(OS_fcloseReplacing(&file, row.writeError), row.closes);
        EXPECT_EQ(file.systemError, row.systemError);
        struct stat st;
        if (row.after) {
            EXPECT_EQ(test::readFile(target), row.after);
        } else {
            EXPECT_FALSE(lstat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) << "no file made";
        }
        EXPECT_FALSE(stat((target + ".tmp").c_str(), &st) == 0 && S_ISREG(st.st_mode)) << "nothing left beside it";
    }
}

TEST_F(PluginFolderTest, AReplacingFileWritesThroughALinkToWhatItNames)
{
    test::TempDir dir;
    test::writeFile(dir.file("real.plt"), "old job");
    ASSERT_EQ(symlink(dir.file("real.plt").c_str(), dir.file("link.plt").c_str()), 0);
    SPPlatformFileSpecification spec = specOf(dir.file("link.plt"));
    OSReplacingFile file;
    ASSERT_EQ(OS_fopenReplacing(&spec, &file), kNoErr);
    fputs("new job", file.stream);
    ASSERT_EQ(OS_fcloseReplacing(&file, kNoErr), kNoErr);
    EXPECT_EQ(test::readFile(dir.file("real.plt")), "new job");
    struct stat st;
    ASSERT_EQ(lstat(dir.file("link.plt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    EXPECT_FALSE(exists(dir.file("real.plt.tmp")));
    EXPECT_FALSE(exists(dir.file("link.plt.tmp")));

    // Nothing opened: the writer's own error, else a write error.
    OSReplacingFile none;
    std::memset(&none, 0, sizeof none);
    EXPECT_EQ(OS_fcloseReplacing(&none, kNoErr), kWriteErr);
    EXPECT_EQ(OS_fcloseReplacing(&none, kMemoryErr), kMemoryErr);
    EXPECT_EQ(OS_fcloseReplacing(nullptr, kNoErr), kWriteErr);
    EXPECT_EQ(OS_fopenReplacing(&spec, nullptr), kNoFileErr);
}

}  // namespace
