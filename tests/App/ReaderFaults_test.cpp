// vantorel-host against hostile and careless inputs, reader by reader: the
// preference file, the SVG job, the script and the plotter library. What is
// refused is refused by name with a failing status, what the user had is
// still there, and a run that fails changes no preference. The program runs
// as an ordinary user, for whom file modes mean what they say.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "FileFaults.h"

namespace {

using vt::test::HostRun;
using vt::test::TempDir;

const std::string kPlotter = "--plotter 'Generic 24in Drag Knife'";

std::string inQuotes(const std::string& path) { return "'" + path + "'"; }
std::string sample() { return inQuotes(std::string(VANTOREL_SOURCE_DIR) + "/samples/open-sign.svg"); }
bool has(const HostRun& r, const std::string& text) { return r.output.find(text) != std::string::npos; }

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A file of size bytes that takes no room: a sparse file.
void makeSparse(const std::string& path, off_t size)
{
    std::ofstream(path).close();
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
    vt::test::handToHostUser(path);
}

struct Identity {
    mode_t mode = 0;
    ino_t inode = 0;
    off_t size = 0;
    bool operator==(const Identity& o) const { return mode == o.mode && inode == o.inode && size == o.size; }
};
Identity identity(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return {st.st_mode, st.st_ino, st.st_size};
}

// Each reader reads only regular files of a bounded size: a pipe is never
// waited on, a device never read without end, and a file larger than any of
// its kind is refused with the limit. The file stays as it was.
TEST(ReaderFaults, WhatIsNoRegularFileOrTooLargeIsRefusedByName)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0666), 0);
    vt::test::handToHostUser(dir.file("pipe"));
    makeSparse(dir.file("large-prefs.json"), (1 << 20) + 1);
    makeSparse(dir.file("large.svg"), (off_t(1) << 30) + 1);
    makeSparse(dir.file("large.vts"), (16 << 20) + 1);
    const std::string noFile = ": it is not a regular file (a device, pipe or socket)";
    struct Row {
        const char* shows;
        std::string path;
        std::string arguments;  // FILE stands for the path
        std::string prefs;
        std::string says;
    };
    std::vector<Row> rows;
    for (const char* kind : {"pipe", "/dev/zero"}) {
        std::string path = kind[0] == '/' ? std::string(kind) : dir.file(kind);
        rows.push_back({"preferences that are a pipe or a device", path, "setup " + kPlotter, path,
                        "cannot read " + path + noFile + " (the preference file is not used"});
        rows.push_back({"a job that is a pipe or a device", path, "plot FILE -o " + inQuotes(dir.file("o.hpgl")) + " " + kPlotter,
                        "", "cannot read " + path + noFile});
        rows.push_back({"a script that is a pipe or a device", path, "run FILE", "", "cannot read " + path + noFile});
    }
    rows.push_back({"preferences of more than 1 MB", dir.file("large-prefs.json"), "setup " + kPlotter,
                    dir.file("large-prefs.json"),
                    "cannot read " + dir.file("large-prefs.json") + ": it is larger than the 1 MB a preference file may be"});
    rows.push_back({"a job of more than 1 GB", dir.file("large.svg"),
                    "plot FILE -o " + inQuotes(dir.file("o.hpgl")) + " " + kPlotter, "",
                    "cannot read " + dir.file("large.svg") + ": it is larger than the 1 GB an SVG file may be"});
    rows.push_back({"a script of more than 16 MB", dir.file("large.vts"), "run FILE", "",
                    "cannot read " + dir.file("large.vts") + ": it is larger than the 16 MB a script may be"});
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.shows) + ": " + row.path);
        Identity before = identity(row.path);
        std::string arguments = row.arguments;
        if (arguments.find("FILE") != std::string::npos) arguments.replace(arguments.find("FILE"), 4, inQuotes(row.path));
        HostRun r = vt::test::runHost(dir, arguments, row.prefs);
        EXPECT_NE(r.status, 0) << r.output;
        EXPECT_TRUE(has(r, "vantorel-host: " + row.says)) << r.output;
        EXPECT_TRUE(identity(row.path) == before) << "left as it was";
        EXPECT_FALSE(std::filesystem::exists(row.path + ".damaged"));
    }
}

// As root, a copy of /dev/null is a device the program could rename: the
// preference path is refused before it is touched.
TEST(ReaderFaults, APreferencePathThatIsADeviceIsNeverRenamed)
{
    TempDir dir;
    if (::mknod(dir.file("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device node can be made here";
    std::string path = dir.file("null");
    Identity before = identity(path);
    HostRun r = vt::test::runHost(dir, "setup " + kPlotter, path);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "cannot read " + path + ": it is not a regular file")) << r.output;
    EXPECT_TRUE(identity(path) == before);
    EXPECT_EQ(vt::test::filesIn(dir.path()), (std::vector<std::string>{"Plug-ins", "null"}));
}

// A preference file the user has made read-only is used and not written,
// which is said once; changes a run makes to it are said to be lost.
TEST(ReaderFaults, AReadOnlyPreferenceFileIsUsedButNotWritten)
{
    TempDir dir;
    ASSERT_EQ(vt::test::runHost(dir, "setup " + kPlotter).status, 0);
    std::string prefs = dir.file("prefs.json");
    ASSERT_EQ(::chmod(prefs.c_str(), 0444), 0);
    std::string before = vt::test::readFile(prefs);
    const std::string readOnly = "preference file " + prefs + " is read-only: it is used, and nothing is written to it in this session";

    HostRun plot = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(dir.file("o.hpgl")));
    EXPECT_EQ(plot.status, 0) << plot.output;
    EXPECT_EQ(occurrences(plot.output, readOnly), 1u) << plot.output;
    EXPECT_TRUE(has(plot, "plotter: Generic 24in Drag Knife (the current plotter)")) << "used";

    HostRun setup = vt::test::runHost(dir, "setup --plotter 'Generic 48in Drag Knife'");
    EXPECT_EQ(setup.status, 1) << setup.output;
    EXPECT_EQ(occurrences(setup.output, readOnly), 1u) << setup.output;
    EXPECT_TRUE(has(setup, "the preferences changed in this run were not saved: " + prefs + " is read-only"))
        << setup.output;

    EXPECT_EQ(vt::test::readFile(prefs), before);
    struct stat st {};
    ASSERT_EQ(::stat(prefs.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

// The plotter library, bundled, edited: its count line made to disagree with
// the plotters it holds, with line ends of CR LF or not. Every plotter is
// kept, the disagreement is said, and the library is saved right.
TEST(ReaderFaults, EveryPlotterOfTheLibraryIsKeptWhateverItsCountSays)
{
    struct Row {
        const char* shows;
        const char* count;
        bool crlf;
        const char* says;  // empty: nothing to say
    } rows[] = {
        {"a count lower than the plotters", "PlotterNumber=2", false,
         "its count line says 2 plotters, but it holds 6; all 6 are kept"},
        {"line ends of CR LF", "PlotterNumber=6", true, ""},
        {"line ends of CR LF and a count lower", "PlotterNumber=1", true,
         "its count line says 1 plotter, but it holds 6; all 6 are kept"},
        {"a count beyond the plotters", "PlotterNumber=60", false,
         "its count line says 60 plotters, but it holds 6; all 6 are kept"},
    };
    std::string bundled = vt::test::readFile(std::string(VANTOREL_SOURCE_DIR) + "/Resources/PlotterSetup.txt");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        TempDir dir;
        std::string text = bundled;
        text.replace(0, text.find('\n'), row.count);
        if (row.crlf)
            for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) text.insert(at, "\r");
        std::string library = dir.file("Plug-ins/PlotterSetup.txt");
        vt::test::writeFile(library, text);
        vt::test::handToHostUser(dir.file("Plug-ins"));
        // The last plotter of the six, beyond the lower counts.
        HostRun r = vt::test::runHost(dir, "setup --plotter 'Generic 12in Hobby Cutter'");
        EXPECT_EQ(r.status, 0) << r.output;
        if (*row.says) {
            EXPECT_TRUE(has(r, "alert (message): The plotter library \"" + library + "\": " + row.says + "."))
                << r.output;
        }
        std::string saved = vt::test::readFile(library);
        EXPECT_EQ(saved.rfind("PlotterNumber=6\n", 0), 0u);
        EXPECT_EQ(occurrences(saved, "PlotterName="), 6u);
    }
}

// A library the user may not write: the choice is made, but the library
// cannot be saved, which is a failure of the run; the library is kept, and
// so are the preferences.
TEST(ReaderFaults, ALibraryThatCannotBeSavedFailsTheRun)
{
    TempDir dir;
    ASSERT_EQ(vt::test::runHost(dir, "setup " + kPlotter).status, 0);
    std::string library = dir.file("Plug-ins/PlotterSetup.txt"), prefs = dir.file("prefs.json");
    ASSERT_EQ(::chmod(library.c_str(), 0444), 0);
    std::string before = vt::test::readFile(library), prefsBefore = vt::test::readFile(prefs);
    HostRun r = vt::test::runHost(dir, "setup --plotter 'Generic 48in Drag Knife'");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "vantorel-host setup: The plotter library could not be saved to \"" + library +
                           "\"; the file is left as it was."))
        << r.output;
    EXPECT_EQ(vt::test::readFile(library), before);
    EXPECT_EQ(vt::test::readFile(prefs), prefsBefore) << "a run that fails changes no preference";
}

// A library of 10,000 plotters: every one of them can be picked in the list,
// and a run that fails (after the choice was made) leaves the preferences as
// they were.
TEST(ReaderFaults, AnyOfTenThousandPlottersCanBeChosenAndAFailedRunChangesNothing)
{
    TempDir dir;
    std::string bundled = vt::test::readFile(std::string(VANTOREL_SOURCE_DIR) + "/Resources/PlotterSetup.txt");
    size_t first = bundled.find("{\n"), second = bundled.find("\n{\nPlotterName=", first + 1) + 1;
    std::string block = bundled.substr(first, second - first);
    std::string text = "PlotterNumber=10000\n";
    for (int i = 0; i < 10000; ++i) {
        std::string one = block;
        char name[16];
        std::snprintf(name, sizeof name, "P%05d", i);
        one.replace(one.find("Generic 24in Drag Knife"), 23, name);
        text += one;
    }
    vt::test::writeFile(dir.file("Plug-ins/PlotterSetup.txt"), text);
    vt::test::handToHostUser(dir.file("Plug-ins"));
    for (const char* name : {"P01700", "P09999"}) {
        SCOPED_TRACE(name);
        HostRun r = vt::test::runHost(dir, std::string("setup --plotter ") + name);
        EXPECT_EQ(r.status, 0) << r.output;
        EXPECT_TRUE(has(r, std::string("current plotter: ") + name)) << r.output;
    }
    std::string prefs = vt::test::readFile(dir.file("prefs.json"));
    ASSERT_NE(prefs.find("\"P09999\""), std::string::npos);
    // Plotter 3446 once landed on entry 169: the choice is made, then the
    // plot cannot be written.
    HostRun failed = vt::test::runHost(dir, "plot " + sample() + " -o " + inQuotes(dir.file("no/folder/o.hpgl")) +
                                                " --plotter P03446");
    EXPECT_EQ(failed.status, 1) << failed.output;
    EXPECT_TRUE(has(failed, "plotter: P03446 (HPGL)")) << failed.output;
    EXPECT_TRUE(has(failed, "the run failed; the preferences were left as they were before it")) << failed.output;
    EXPECT_EQ(vt::test::readFile(dir.file("prefs.json")), prefs);
}

// A picture the plug-in needs for its tools is missing: start-up stops, and
// the file is named.
TEST(ReaderFaults, AMissingToolPictureIsNamed)
{
    TempDir dir;
    std::string resources = dir.file("Resources");
    std::filesystem::copy(std::string(VANTOREL_SOURCE_DIR) + "/Resources", resources,
                          std::filesystem::copy_options::recursive);
    ASSERT_TRUE(std::filesystem::remove(resources + "/Pictures/1026.png"));
    vt::test::handToHostUser(resources);
    HostRun r = vt::test::runHost(dir, "setup " + kPlotter, "", resources);
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_TRUE(has(r, "vantorel-host: the plug-in's icon 1026 has no picture: " + dir.file("Plug-ins") +
                           "/Pictures/1026.png is missing\n"))
        << r.output;
    EXPECT_TRUE(has(r, "plug-in start-up failed with error !ico")) << r.output;
}

}  // namespace
