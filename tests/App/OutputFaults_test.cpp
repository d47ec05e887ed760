// vantorel-host against a full disk, a read-only folder, a folder or a pipe
// as the output, paths too long for the file system, and files the user
// cannot read: every fault is reported with a failing status, and every file
// the user had is still there, byte for byte.
#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>

#include "FileFaults.h"
#include "Preferences.h"

namespace {

using vt::test::HostRun;
using vt::test::TempDir;

const char kOldJob[] = "IN;\nPU0,0;\nPD100,0;\n";  // the job a failed plot must not lose
const std::string kPlotter = "--plotter 'Generic 24in Drag Knife'";

std::string inQuotes(const std::string& path) { return "'" + path + "'"; }
std::string inScriptQuotes(const std::string& path) { return "\"" + path + "\""; }

// Puts each value in place of its word in text.
std::string filledIn(std::string text, const std::map<std::string, std::string>& values)
{
    for (const auto& [word, value] : values)
        for (size_t at; (at = text.find(word)) != std::string::npos;) text.replace(at, word.size(), value);
    return text;
}
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
    if (!full.available()) GTEST_SKIP() << "no full file system can be made here";
    std::string job = full.file("job.hpgl");
    full.put("job.hpgl", kOldJob);
    full.fill();
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
    if (!full.available()) GTEST_SKIP() << "no full file system can be made here";
    std::string record = full.file("cutter.bin");
    full.put("cutter.bin", kOldJob);
    full.fill();
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
    EXPECT_TRUE(has(r, "vantorel-host: cannot write " + job + ": Read-only file system; nothing was written"))
        << r.output;
    EXPECT_FALSE(has(r, "opened ")) << "refused before the job was read";
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

// A folder of the test's own for the host's user: a copy of the sample job,
// and the current plotter chosen once.
struct Workshop {
    TempDir dir;
    std::string job = dir.file("job.svg");
    Workshop()
    {
        vt::test::writeFile(job, vt::test::readFile(std::string(VANTOREL_SOURCE_DIR) + "/samples/open-sign.svg"));
        vt::test::handToHostUser(job);
    }
    std::string file(const std::string& name) const { return dir.file(name); }
    // A folder that holds only what the test puts there.
    std::string folder(const std::string& name) const
    {
        std::filesystem::create_directories(dir.file(name));
        vt::test::handToHostUser(dir.file(name));
        return dir.file(name);
    }
};

mode_t modeOf(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(OutputFaults, TheProgramsOwnFilesAreNeverAnOutput)
{
    Workshop w;
    HostRun setup = vt::test::runHost(w.dir, "setup " + kPlotter);
    ASSERT_EQ(setup.status, 0) << setup.output;
    std::string prefs = w.file("prefs.json"), library = w.file("Plug-ins/PlotterSetup.txt");
    ASSERT_EQ(::link(w.job.c_str(), w.file("job-link.svg").c_str()), 0);
    std::filesystem::create_symlink(prefs, w.file("prefs-link.json"));
    vt::test::writeFile(w.file("save.vts"), "open " + inScriptQuotes(w.job) + "\nsave " + inScriptQuotes(prefs) + "\n");
    vt::test::writeFile(w.file("answer.vts"), "open " + inScriptQuotes(w.job) + "\nselect all\nanswer-file " +
                                                  inScriptQuotes(library) + "\ndialog \"Plot Out Dialog\"\n  click 72\n"
                                                  "  click 74\nend-dialog\nmenu \"Plot Out\"\n");
    vt::test::handToHostUser(w.file("save.vts"));
    vt::test::handToHostUser(w.file("answer.vts"));
    const std::string kept[] = {w.job, prefs, library, w.file("save.vts")};
    std::map<std::string, std::string> before;
    for (const std::string& path : kept) before[path] = vt::test::readFile(path);

    const std::string own = ", one of the program's own files; nothing was written to it";
    struct Row {
        const char* shows;
        std::string arguments;
        std::string says;
        bool beforeAnyWork;
    } rows[] = {
        {"the job cut over itself", "plot " + inQuotes(w.job) + " -o " + inQuotes(w.job),
         w.job + " is the job being cut" + own, true},
        {"the job through a second name", "plot " + inQuotes(w.job) + " -o " + inQuotes(w.file("job-link.svg")),
         w.file("job-link.svg") + " is the job being cut" + own, true},
        {"the preference file", "plot " + inQuotes(w.job) + " -o " + inQuotes(prefs),
         prefs + " is the preference file" + own, true},
        {"the preference file through a link", "plot " + inQuotes(w.job) + " -o " + inQuotes(w.file("prefs-link.json")),
         prefs + " is the preference file" + own, true},
        {"the plotter library", "plot " + inQuotes(w.job) + " -o " + inQuotes(library),
         library + " is a file of the plug-in's folder" + own, true},
        {"a preview over its job", "preview " + inQuotes(w.job) + " -o " + inQuotes(w.job),
         w.job + " is the job being shown" + own, true},
        {"the fake cutter's record over the preferences",
         "--fake-cutter " + inQuotes(prefs) + " plot " + inQuotes(w.job) + " --usb",
         "--fake-cutter: " + prefs + " is the preference file" + own, true},
        {"a script saving over the preferences", "run " + inQuotes(w.file("save.vts")),
         prefs + " is the preference file" + own, false},
        {"a save dialog answered with the library", "run " + inQuotes(w.file("answer.vts")),
         library + " is a file of the plug-in's folder, one of the program's own files; cancelled, nothing was "
                   "written to it",
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        HostRun r = vt::test::runHost(w.dir, row.arguments);
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_TRUE(has(r, row.says)) << r.output;
        if (row.beforeAnyWork) {
            EXPECT_FALSE(has(r, "opened ")) << r.output;
        }
        for (const std::string& path : kept) EXPECT_EQ(vt::test::readFile(path), before[path]) << path;
    }
}

// Every writer puts its output into a temporary file of its own, made
// exclusively: a file of the user's, or a link, at the name an earlier
// version used (TARGET.tmp) is neither written nor followed, and nothing is
// left beside the target.
TEST(OutputFaults, EveryWriterHasATemporaryFileOfItsOwn)
{
    struct Row {
        const char* shows;
        std::string target;     // in the folder "out"
        std::string arguments;  // OUT stands for the folder
        bool prefsInOut;        // the preference file is out/prefs.json
    } rows[] = {
        {"a plot file", "o.hpgl", "plot JOB -o OUT/o.hpgl " + kPlotter, false},
        {"the fake cutter's record", "cutter.bin", "--fake-cutter OUT/cutter.bin plot JOB --usb " + kPlotter, false},
        {"a saved SVG", "saved.svg", "run OUT/../save.vts", false},
        {"a picture", "p.png", "preview JOB -o OUT/p.png " + kPlotter, false},
        {"the preference file", "prefs.json", "setup " + kPlotter, true},
    };
    for (const Row& row : rows) {
        for (bool link : {false, true}) {
            SCOPED_TRACE(std::string(row.shows) + (link ? ", a link at TARGET.tmp" : ", a file at TARGET.tmp"));
            Workshop w;
            std::string out = w.folder("out");
            vt::test::writeFile(w.file("save.vts"),
                                "open " + inScriptQuotes(w.job) + "\nsave " + inScriptQuotes(out + "/saved.svg") + "\n");
            vt::test::handToHostUser(w.file("save.vts"));
            std::string victim = w.file("victim.txt"), temp = out + "/" + row.target + ".tmp";
            vt::test::writeFile(victim, "the user's");
            vt::test::handToHostUser(victim);
            if (link)
                std::filesystem::create_symlink(victim, temp);
            else
                vt::test::writeFile(temp, "the user's");
            vt::test::handToHostUser(temp);
            HostRun r = vt::test::runHost(w.dir, filledIn(row.arguments, {{"OUT", out}, {"JOB", inQuotes(w.job)}}),
                                          row.prefsInOut ? out + "/prefs.json" : "");
            ASSERT_EQ(r.status, 0) << r.output;
            EXPECT_EQ(vt::test::readFile(victim), "the user's");
            EXPECT_EQ(isSymlink(temp), link);
            EXPECT_EQ(vt::test::readFile(temp), "the user's");
            EXPECT_EQ(vt::test::filesIn(out), (std::vector<std::string>{row.target, row.target + ".tmp"}))
                << "the output, and nothing else new";
        }
    }
    // The library, which the plug-in writes into its own folder.
    Workshop w;
    std::string library = w.file("Plug-ins/PlotterSetup.txt"), victim = w.file("victim.txt");
    HostRun first = vt::test::runHost(w.dir, "setup " + kPlotter);
    ASSERT_EQ(first.status, 0) << first.output;
    vt::test::writeFile(victim, "the user's");
    std::filesystem::create_symlink(victim, library + ".tmp");
    vt::test::handToHostUser(w.file("Plug-ins"));
    vt::test::handToHostUser(victim);
    std::vector<std::string> files = vt::test::filesIn(w.file("Plug-ins"));
    HostRun r = vt::test::runHost(w.dir, "setup --plotter 'Generic 48in Drag Knife'");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(vt::test::readFile(victim), "the user's");
    EXPECT_NE(vt::test::readFile(library).find("PlotterName=Generic 48in Drag Knife"), std::string::npos);
    EXPECT_EQ(vt::test::filesIn(w.file("Plug-ins")), files);
}

// Outputs the user may not write are refused, as cp refuses them; one that
// is replaced keeps the permissions the user gave it. (The host runs as an
// ordinary user, for whom modes mean what they say.)
TEST(OutputFaults, AFileTheUserMayNotWriteIsRefusedAndAReplacedOneKeepsItsMode)
{
    struct Row {
        const char* shows;
        std::string target;
        std::string arguments;  // OUT stands for the target
        std::string refused;    // what a read-only target is refused with
    } rows[] = {
        {"a plot file", "o.hpgl", "plot JOB -o OUT " + kPlotter, "vantorel-host: cannot write OUT: Permission denied"},
        {"the fake cutter's record", "cutter.bin", "--fake-cutter OUT plot JOB --usb " + kPlotter,
         "vantorel-host: --fake-cutter: the fake cutter's file: cannot write OUT: Permission denied"},
        {"a saved SVG", "saved.svg", "run SCRIPT", "save: cannot write OUT: Permission denied"},
        {"a picture", "p.png", "preview JOB -o OUT " + kPlotter, "vantorel-host: cannot write OUT: Permission denied"},
    };
    for (const Row& row : rows) {
        for (mode_t mode : {mode_t(0444), mode_t(0640)}) {
            SCOPED_TRACE(std::string(row.shows) + (mode == 0444 ? ", read-only" : ", mode 640"));
            Workshop w;
            std::string target = w.file(row.target);
            vt::test::writeFile(target, "the user's");
            vt::test::writeFile(w.file("save.vts"), "open " + inScriptQuotes(w.job) + "\nsave " + inScriptQuotes(target) + "\n");
            vt::test::handToHostUser(w.file("save.vts"));
            vt::test::handToHostUser(target);
            ASSERT_EQ(::chmod(target.c_str(), mode), 0);
            HostRun r = vt::test::runHost(
                w.dir, filledIn(row.arguments, {{"OUT", inQuotes(target)},
                                                {"JOB", inQuotes(w.job)},
                                                {"SCRIPT", inQuotes(w.file("save.vts"))}}));
            EXPECT_EQ(modeOf(target), mode);
            if (mode == 0444) {
                EXPECT_EQ(r.status, 1) << r.output;
                EXPECT_TRUE(has(r, filledIn(row.refused, {{"OUT", target}}))) << r.output;
                EXPECT_EQ(vt::test::readFile(target), "the user's");
            } else {
                EXPECT_EQ(r.status, 0) << r.output;
                EXPECT_NE(vt::test::readFile(target), "the user's");
            }
        }
    }
}

// Twenty runs writing one plot file, each a job of its own, sharing one
// preference file and one plotter library: whichever rename comes last, the
// plot file is one whole job, every run works, and no temporary file is left.
TEST(OutputFaults, ParallelWritersLeaveOneWholeJob)
{
    constexpr int kWriters = 20, kRounds = 10;
    Workshop w;
    std::string out = w.folder("out");
    std::vector<std::string> alone, runs;
    for (int i = 0; i < kWriters; ++i) {
        std::string svg = w.file("job" + std::to_string(i) + ".svg");
        vt::test::writeFile(svg, "<svg xmlns='http://www.w3.org/2000/svg' width='100mm' height='100mm' "
                                 "viewBox='0 0 100 100'><rect x='10' y='10' width='" +
                                     std::to_string(i + 1) + "' height='20'/></svg>");
        vt::test::handToHostUser(svg);
        alone.push_back("plot " + inQuotes(svg) + " -o " + inQuotes(out + "/" + std::to_string(i) + ".hpgl") + " " + kPlotter);
        runs.push_back("plot " + inQuotes(svg) + " -o " + inQuotes(out + "/o.hpgl") + " " + kPlotter);
    }
    // Each job written once to a file of its own: what a whole job is.
    for (const HostRun& r : vt::test::runHostsAtOnce(w.dir, alone)) ASSERT_EQ(r.status, 0) << r.output;
    std::set<std::string> jobs;
    for (int i = 0; i < kWriters; ++i) {
        std::string path = out + "/" + std::to_string(i) + ".hpgl";
        jobs.insert(vt::test::readFile(path));
        std::filesystem::remove(path);
    }
    ASSERT_EQ(jobs.size(), size_t(kWriters)) << "every writer's job is its own";
    std::vector<std::string> plugInFiles = vt::test::filesIn(w.file("Plug-ins"));
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        for (const HostRun& r : vt::test::runHostsAtOnce(w.dir, runs)) EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_EQ(jobs.count(vt::test::readFile(out + "/o.hpgl")), 1u) << "one whole job";
        EXPECT_EQ(vt::test::filesIn(out), std::vector<std::string>{"o.hpgl"});
        EXPECT_EQ(vt::test::filesIn(w.file("Plug-ins")), plugInFiles);
        vt::host::Preferences prefs(w.file("prefs.json"));
        EXPECT_EQ(prefs.error(), "") << "the preference file stays whole";
    }
}

}  // namespace
