// The files of the plug-in's own folder: one helper names them all.
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "Common/OSFile.h"
#include "Common/OSReplacingFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "FileFaults.h"
#include "HostFixture.h"

using namespace vt;

namespace {
// While set, the system's random source has no entropy yet, as early in a
// boot: a call that may not wait fails.
bool noEntropyYet = false;
}  // namespace

extern "C" ssize_t getrandom(void* buffer, size_t length, unsigned int flags)
{
    if (noEntropyYet && (flags & GRND_NONBLOCK)) {
        errno = EAGAIN;
        return -1;
    }
    return syscall(SYS_getrandom, buffer, length, flags);
}

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

// Without the host's file paths the folder cannot be named: both asks are
// refused, and neither hands back a path or a specification it never made.
TEST_F(PluginFolderTest, WithoutTheHostsFilePathsTheFolderIsNotNamed)
{
    AIFilePathSuite* kept = sAIFilePath;
    sAIFilePath = nullptr;
    char path[kSPMaxPathLength + 1] = "stale";
    SPPlatformFileSpecification spec;
    std::memset(&spec, 0, sizeof spec);
    EXPECT_EQ(pluginFolderFilePath("PlotterSetup.txt", path, sizeof path), kNoFileErr);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(pluginFolderSpecification(&spec), kNoFileErr);
    sAIFilePath = kept;
    EXPECT_EQ(pluginFolderSpecification(&spec), kNoErr) << "named again once the paths are back";
}

// A file specification opens the file it names; one naming no file at all
// is refused, not opened as whatever the buffer held.
TEST_F(PluginFolderTest, AFileSpecificationOpensTheFileItNamesOrNothing)
{
    SPPlatformFileSpecification spec;
    std::memset(&spec, 0, sizeof spec);
    const std::string file = folder() + "/PlotterSetup.txt";
    std::strncpy(spec.path, file.c_str(), sizeof spec.path - 1);
    FILE* opened = OS_fopen(&spec, "rb");
    ASSERT_NE(opened, nullptr) << file;
    std::fclose(opened);

    std::memset(&spec, 0, sizeof spec);
    EXPECT_EQ(OS_fopen(&spec, "rb"), nullptr) << "an empty specification";
    OSReplacingFile replacing;
    EXPECT_EQ(OS_fopenReplacing(&spec, &replacing), kNoFileErr);
    EXPECT_EQ(replacing.stream, nullptr);
    EXPECT_EQ(replacing.systemError, ENAMETOOLONG) << "no path could be made of it";
}

// A file the plug-in writes is written into a temporary file of its own and
// put in place only when complete; what cannot be written is refused before
// anything is made, with the reason.
TEST(OSReplacingFile, AFileIsPutInPlaceWholeOrNotAtAll)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("folder"));
    test::writeFile(dir.file("kept.hpgl"), "the user's");
    ::chmod(dir.file("kept.hpgl").c_str(), 0640);
    std::filesystem::create_symlink(dir.file("kept.hpgl"), dir.file("link.hpgl"));
    const std::string longName = dir.file(std::string(255, 'j'));
    // A link to a file whose real path is one byte longer than a path can
    // hold: followed, it would be cut; not followed, the link itself would be
    // replaced. Either way the wrong file: it is refused.
    std::string deep = std::filesystem::canonical(dir.path()).string();
    const size_t tooLong = sizeof(OSReplacingFile::path);
    while (tooLong - deep.size() - 1 > 255) deep += "/" + std::string(200, 'd');
    std::filesystem::create_directories(deep);
    const std::string far = deep + "/" + std::string(tooLong - deep.size() - 1, 'f');
    ASSERT_EQ(far.size(), tooLong);
    test::writeFile(far, "far away");
    std::filesystem::create_symlink(far, dir.file("far.hpgl"));
    struct Row {
        const char* shows;
        std::string path;
        ASErr opened;
        int systemError;
        std::string writes;  // the path the stream replaces
    } rows[] = {
        {"a new file", dir.file("new.hpgl"), kNoErr, 0, dir.file("new.hpgl")},
        {"a name as long as a name can be", longName, kNoErr, 0, longName},
        {"a file replaced", dir.file("kept.hpgl"), kNoErr, 0, dir.file("kept.hpgl")},
        {"a path written as given", dir.path() + "/./new.hpgl", kNoErr, 0, dir.path() + "/./new.hpgl"},
        {"a link followed", dir.file("link.hpgl"), kNoErr, 0, dir.file("kept.hpgl")},
        {"a link to a path too long to hold", dir.file("far.hpgl"), kNoFileErr, ENAMETOOLONG, ""},
        {"a path too long to hold", far, kNoFileErr, ENAMETOOLONG, ""},
        {"a missing folder", dir.file("no/folder/x.hpgl"), kNoFileErr, ENOENT, ""},
        {"a file taken for a folder", dir.file("kept.hpgl/x.hpgl"), kNoFileErr, ENOTDIR, ""},
        {"a folder", dir.file("folder"), kNoFileErr, EISDIR, ""},
        {"a device", "/dev/null", kNoFileErr, kOSNotRegularFile, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::vector<std::string> before = test::filesIn(dir.path());
        OSReplacingFile file;
        ASSERT_EQ(OS_fopenReplacingPath(row.path.c_str(), &file), row.opened);
        EXPECT_EQ(file.systemError, row.systemError);
        if (row.opened != kNoErr) {
            EXPECT_EQ(file.stream, nullptr);
            EXPECT_EQ(test::filesIn(dir.path()), before) << "nothing was made";
            continue;
        }
        EXPECT_EQ(std::string(file.path), row.writes);
        fputs("IN;", file.stream);
        EXPECT_EQ(OS_fcloseReplacing(&file, kNoErr), kNoErr);
        EXPECT_EQ(file.temp[0], 0);
        EXPECT_EQ(test::readFile(row.writes), "IN;");
        struct stat st {};
        ASSERT_EQ(::stat(row.writes.c_str(), &st), 0);
        if (row.writes == dir.file("kept.hpgl")) {
            EXPECT_EQ(st.st_mode & 07777, 0640u) << "a replaced file keeps its mode";
        }
        std::vector<std::string> after = test::filesIn(dir.path());
        EXPECT_LE(after.size(), before.size() + 1) << "no temporary file is left";
    }

    // A program started without standard input: the file may get descriptor 0.
    int input = ::dup(0);
    ::close(0);
    OSReplacingFile first;
    EXPECT_EQ(OS_fopenReplacingPath(dir.file("first.hpgl").c_str(), &first), kNoErr);
    if (first.stream != nullptr) {
        EXPECT_EQ(fileno(first.stream), 0);
        fputs("IN;", first.stream);
        EXPECT_EQ(OS_fcloseReplacing(&first, kNoErr), kNoErr);
    }
    ::dup2(input, 0);
    ::close(input);
    EXPECT_EQ(test::readFile(dir.file("first.hpgl")), "IN;");

    // A write that failed leaves the file as it was and the temporary file gone.
    test::writeFile(dir.file("kept.hpgl"), "the user's");
    std::vector<std::string> before = test::filesIn(dir.path());
    OSReplacingFile file;
    ASSERT_EQ(OS_fopenReplacingPath(dir.file("kept.hpgl").c_str(), &file), kNoErr);
    fputs("half a job", file.stream);
    EXPECT_EQ(OS_fcloseReplacing(&file, kWriteErr), kWriteErr);
    EXPECT_EQ(file.temp[0], 0);
    EXPECT_EQ(test::readFile(dir.file("kept.hpgl")), "the user's");
    EXPECT_EQ(test::filesIn(dir.path()), before);
}

// Many writers of one file at once, before the system's random source has
// entropy: each still gets a temporary file of its own, and the last to
// finish leaves its whole job.
TEST(OSReplacingFile, WithoutEntropyYetEachWriterGetsItsOwnTemporaryFile)
{
    test::TempDir dir;
    std::vector<OSReplacingFile> files(100);
    noEntropyYet = true;
    for (OSReplacingFile& file : files) ASSERT_EQ(OS_fopenReplacingPath(dir.file("job.hpgl").c_str(), &file), kNoErr);
    noEntropyYet = false;
    std::set<std::string> temporary;
    for (size_t i = 0; i < files.size(); i++) {
        temporary.insert(files[i].temp);
        fprintf(files[i].stream, "job %zu", i);
    }
    EXPECT_EQ(temporary.size(), files.size());
    for (OSReplacingFile& file : files) EXPECT_EQ(OS_fcloseReplacing(&file, kNoErr), kNoErr);
    EXPECT_EQ(test::readFile(dir.file("job.hpgl")), "job 99");
    EXPECT_EQ(test::filesIn(dir.path()), std::vector<std::string>{"job.hpgl"});
}

// What goes wrong after the file was opened: the writer's own error is passed
// on, a target that became a folder meanwhile cannot be replaced, and a close
// of nothing opened is no success.
TEST(OSReplacingFile, AFailureAfterOpeningIsReportedAndLeavesNoTemporaryFile)
{
    struct Row {
        const char* shows;
        ASErr writeError;
        bool folderMeanwhile;
        ASErr closes;
        int systemError;
    } rows[] = {
        {"the writer's own error", kMemoryErr, false, kMemoryErr, 0},
        {"the target made a folder meanwhile", kNoErr, true, kWriteErr, EISDIR},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        test::TempDir dir;
        OSReplacingFile file;
        ASSERT_EQ(OS_fopenReplacingPath(dir.file("job.hpgl").c_str(), &file), kNoErr);
        fputs("IN;", file.stream);
        if (row.folderMeanwhile) std::filesystem::create_directory(dir.file("job.hpgl"));
        EXPECT_EQ(OS_fcloseReplacing(&file, row.writeError), row.closes);
        EXPECT_EQ(file.systemError, row.systemError);
        EXPECT_EQ(test::filesIn(dir.path()).size(), row.folderMeanwhile ? 1u : 0u) << "no temporary file is left";
    }
    // A disk that cannot take the job: refused at once where nothing may be
    // written, found out on closing where it is full; the earlier job stays.
    test::TempDir dir;
    test::ReadOnlyFolder readOnly(dir.file("ro"));
    if (readOnly.available()) {
        readOnly.seal("job.hpgl", "the earlier job");
        OSReplacingFile file;
        EXPECT_EQ(OS_fopenReplacingPath(readOnly.file("job.hpgl").c_str(), &file), kNoFileErr);
        EXPECT_TRUE(file.systemError == EROFS || file.systemError == EACCES) << std::strerror(file.systemError);
        EXPECT_EQ(test::readFile(readOnly.file("job.hpgl")), "the earlier job");
    }
    test::FullFolder full(dir.file("full"));
    if (full.available()) {
        full.put("job.hpgl", "the earlier job");
        full.fill();
        OSReplacingFile file;
        ASSERT_EQ(OS_fopenReplacingPath(full.file("job.hpgl").c_str(), &file), kNoErr);
        fputs(std::string(100000, 'x').c_str(), file.stream);
        EXPECT_EQ(OS_fcloseReplacing(&file, kNoErr), kWriteErr);
        EXPECT_EQ(file.systemError, ENOSPC);
        EXPECT_EQ(test::readFile(full.file("job.hpgl")), "the earlier job");
        EXPECT_EQ(test::filesIn(full.path()), (std::vector<std::string>{"filler", "job.hpgl"}));
    }
    OSReplacingFile none;
    std::memset(&none, 0, sizeof none);
    EXPECT_EQ(OS_fcloseReplacing(&none, kNoErr), kWriteErr);
    EXPECT_EQ(OS_fcloseReplacing(&none, kMemoryErr), kMemoryErr);
    EXPECT_EQ(OS_fcloseReplacing(nullptr, kNoErr), kWriteErr);
}

}  // namespace
