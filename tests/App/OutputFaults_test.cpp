// vantorel-host against a full disk, a read-only folder, a folder or a pipe
// as the output, paths too long for the file system, and files the user
// cannot read: every fault is reported with a failing status, and every file
// the user had is still there, byte for byte.
#include <sys/stat.h>

#include <filesystem>

#include "FileFaults.h"

namespace {

using vt::test::HostRun;
using vt::test::TempDir;

const char kOldJob[] = "IN;\nPU0,0;\nPD100,0;\n";  // the job a failed plot must not lose
const std::string kPlotter = "--plotter 'Generic 24in Drag Knife'";

std::string inQuotes(const std::string& path) { return "'" + path + "'"; }
std::string sample() { return inQuotes(std::string(VANTOREL_SOURCE_DIR) + "/samples/open-sign.svg"); }

bool has(const HostRun& r, const std::string& text) { return r.output.find(text) != std::string::npos; }

bool isSymlink(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec));
}

bool exists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

TEST(OutputFaults, AFullFileSystemKeepsTheEarlierJob)
{
    TempDir dir;
    vt::test::FullFolder full(dir.file("full"));
    std::string job = full.file("job.hpgl");
    full.put("job.hpgl", kOldJob);
    full.fill();
    full.prepare(job);
    HostRun r = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(job) + " " + kPlotter);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "The plot file could not be written completely: " + job + " (No space left on device)"))
        << r.output;
    EXPECT_TRUE(has(r, job + " was left as it was")) << r.output;
    EXPECT_EQ(vt::test::readFile(job), kOldJob);
    EXPECT_FALSE(exists(job + ".tmp")) << "no temporary file is left behind";
}

TEST(OutputFaults, AFullFileSystemKeepsTheCuttersEarlierRecord)
{
    TempDir dir;
    // The current plotter is chosen first, on a disk with room.
    HostRun setup = vt::test::runHost(dir, "setup " + kPlotter);
    ASSERT_EQ(setup.status, 0) << setup.output;
    vt::test::FullFolder full(dir.file("full"));
    std::string record = full.file("cutter.bin");
    full.put("cutter.bin", kOldJob);
    full.fill();
    full.prepare(record);
    HostRun r = vt::test::runHost(dir, "--fake-cutter " + inQuotes(record) + " plot " + sample() + " --usb");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "the fake cutter's record was not kept: cannot write " + record + ": No space left on device"))
        << r.output;
    EXPECT_TRUE(has(r, "Sending the job to the cutter failed")) << r.output;
    EXPECT_EQ(vt::test::readFile(record), kOldJob);
    EXPECT_FALSE(exists(record + ".tmp"));
}

TEST(OutputFaults, TargetsThatAreNoFileAreRefusedBeforeAnyWork)
{
    TempDir dir;
    std::filesystem::create_directories(dir.file("jobs/inner"));
    vt::test::writeFile(dir.file("jobs/inner/keep.hpgl"), kOldJob);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0666), 0);
    std::string tooLong = dir.file(std::string(300, 'a') + ".hpgl");
    std::string tooDeep = dir.path();
    for (int i = 0; i < 2100; ++i) tooDeep += "/a";
    struct Row {
        const char* shows;
        std::string output;
        std::string says;
    } rows[] = {
        {"a folder", dir.file("jobs"), dir.file("jobs") + " is a folder, not a file; nothing was written"},
        {"a pipe", dir.file("pipe"),
         dir.file("pipe") + " is not a regular file (a device, pipe or socket); nothing was written to it"},
        {"a name too long", tooLong, "cannot write " + tooLong + ": File name too long"},
        {"a path too long", tooDeep + "/job.hpgl", "cannot write " + tooDeep + "/job.hpgl: File name too long"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        HostRun r = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(row.output) + " " + kPlotter);
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_TRUE(has(r, "vantorel-host: " + row.says + "\n")) << r.output;
        EXPECT_FALSE(has(r, "opened ")) << "refused before the job was read";
    }
    EXPECT_EQ(vt::test::readFile(dir.file("jobs/inner/keep.hpgl")), kOldJob);
    struct stat st;
    ASSERT_EQ(::stat(dir.file("pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(OutputFaults, ALinkedJobIsReplacedThroughTheLink)
{
    TempDir dir;
    vt::test::writeFile(dir.file("jobs/job.hpgl"), kOldJob);
    std::filesystem::create_symlink(dir.file("jobs/job.hpgl"), dir.file("job.hpgl"));
    vt::test::handToHostUser(dir.file("jobs"));
    HostRun r = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(dir.file("job.hpgl")) + " " + kPlotter);
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(isSymlink(dir.file("job.hpgl"))) << "the link stays a link";
    std::string job = vt::test::readFile(dir.file("jobs/job.hpgl"));
    EXPECT_NE(job, kOldJob);
    EXPECT_EQ(job.rfind("IN;", 0), 0u);
}

TEST(OutputFaults, AReadOnlyFolderKeepsTheEarlierJobAndPreferences)
{
    TempDir dir;
    vt::test::ReadOnlyFolder folder(dir.file("ro"));
    if (!folder.available()) GTEST_SKIP() << "no read-only folder can be made here";
    // The preferences hold a current plotter; the setup below changes it,
    // and the change cannot be saved.
    HostRun setup = vt::test::runHost(dir, "setup " + kPlotter);
    ASSERT_EQ(setup.status, 0) << setup.output;
    std::string prefs = vt::test::readFile(dir.file("prefs.json"));
    folder.seal("job.hpgl", kOldJob);
    std::string job = folder.file("job.hpgl");

    HostRun r = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(job) + " " + kPlotter);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "The plot file could not be created: " + job + " (")) << r.output;
    EXPECT_EQ(vt::test::readFile(job), kOldJob);

    // The preference file in a folder that cannot be written: the save fails,
    // is reported, and the status says so although the plot itself worked.
    TempDir other;
    vt::test::ReadOnlyFolder prefsFolder(other.file("ro"));
    prefsFolder.seal("prefs.json", prefs);
    std::string readOnlyPrefs = prefsFolder.file("prefs.json");
    HostRun saved = vt::test::runHost(other, "setup --plotter 'Generic 48in Drag Knife'", readOnlyPrefs);
    EXPECT_NE(saved.status, 0) << saved.output;
    EXPECT_TRUE(has(saved, "vantorel-host: the preferences were not saved: cannot write " + readOnlyPrefs + ": "))
        << saved.output;
    EXPECT_EQ(vt::test::readFile(readOnlyPrefs), prefs);
}

TEST(OutputFaults, FilesTheUserCannotReadAreReportedAndNeverWrittenOver)
{
    TempDir dir;
    HostRun setup = vt::test::runHost(dir, "setup " + kPlotter);
    ASSERT_EQ(setup.status, 0) << setup.output;
    std::string prefsPath = dir.file("prefs.json"), library = dir.file("Plug-ins/PlotterSetup.txt");
    std::string prefs = vt::test::readFile(prefsPath), plotters = vt::test::readFile(library);
    std::string job = dir.file("job.hpgl");

    // Preferences the user cannot read: the job is still cut with the plotter
    // named, the file is not touched, and the status tells of the problem.
    ASSERT_EQ(::chmod(prefsPath.c_str(), 0), 0);
    HostRun r = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(job) + " " + kPlotter);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "vantorel-host: cannot read " + prefsPath +
                           ": Permission denied (the preference file is not used, and nothing is written to it in "
                           "this session)"))
        << r.output;
    EXPECT_TRUE(has(r, "wrote ")) << r.output;
    ASSERT_EQ(::chmod(prefsPath.c_str(), 0644), 0);
    EXPECT_EQ(vt::test::readFile(prefsPath), prefs);

    // A plotter library the user cannot read is said to be so, and kept.
    ASSERT_EQ(::chmod(library.c_str(), 0), 0);
    r = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(job) + " --plotter 'Generic 48in Drag Knife'");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "The plotter library \"" + library + "\" cannot be read (Permission denied)")) << r.output;
    ASSERT_EQ(::chmod(library.c_str(), 0644), 0);
    EXPECT_EQ(vt::test::readFile(library), plotters);
}

TEST(OutputFaults, AFailedPlotLeavesTheEarlierJobByteForByte)
{
    TempDir dir;
    std::string job = dir.file("job.hpgl");
    vt::test::writeFile(job, kOldJob);
    vt::test::writeFile(dir.file("far.svg"), "<svg xmlns='http://www.w3.org/2000/svg' width='10pt' height='10pt'>\n"
                                             "<rect width='1' height='1'/><circle r='1e15'/></svg>");
    vt::test::handToHostUser(job);
    vt::test::handToHostUser(dir.file("far.svg"));
    HostRun r = vt::test::runHost(dir, "plot " + inQuotes(dir.file("far.svg")) + " -o " + inQuotes(job) + " " + kPlotter);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, dir.file("far.svg") + ":2:30 (offset 97): <circle>: a point lies 2.64583e+11 m from the page "
                                             "origin, beyond the 100 m a cutter can reach"))
        << r.output;
    EXPECT_EQ(vt::test::readFile(job), kOldJob);
}

TEST(OutputFaults, AJobBeyondTheMediaIsWrittenWithAWarning)
{
    TempDir dir;
    // Two squares 16 m apart, for a cutter 610 mm wide.
    vt::test::writeFile(dir.file("wide.svg"),
                        "<svg xmlns='http://www.w3.org/2000/svg' width='100mm' height='100mm' viewBox='0 0 100 100'>"
                        "<rect x='10' y='10' width='20' height='20'/><rect x='16000' y='10' width='20' height='20'/>"
                        "</svg>");
    vt::test::handToHostUser(dir.file("wide.svg"));
    std::string job = dir.file("job.hpgl");
    HostRun r = vt::test::runHost(dir, "plot " + inQuotes(dir.file("wide.svg")) + " -o " + inQuotes(job) + " " + kPlotter);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(has(r, "vantorel-host: warning: The job reaches beyond the plotter's media; it is written all the "
                       "same. Job: x 0.0 - 16010.0 mm, y 0.0 - 20.0 mm. Media: 610.0 x 50000.0 mm.\n"))
        << r.output;
    EXPECT_TRUE(exists(job));
}

}  // namespace
