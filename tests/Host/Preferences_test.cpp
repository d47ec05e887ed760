// The preference file: typed values, atomic saving, and a damaged file.
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>

#include "FileFaults.h"
#include "Preferences.h"

using vt::host::Preferences;

namespace {

TEST(Preferences, TypedValuesRoundTripThroughTheFile)
{
    vt::test::TempDir dir;
    std::string path = dir.file("prefs.json");
    {
        Preferences prefs(path);
        prefs.putBoolean("P", "flag", true);
        prefs.putInteger("P", "count", -42);
        prefs.putReal("P", "step", 0.025);
        prefs.putString("P", "name", "Generic \"24\" cutter");
        prefs.putPoint("P", "where", AIPoint{-3, 7});
        ASSERT_TRUE(prefs.save()) << prefs.error();
    }
    Preferences prefs(path);
    bool flag = false;
    int32_t count = 0;
    double step = 0;
    std::string name;
    AIPoint where{};
    EXPECT_TRUE(prefs.getBoolean("P", "flag", &flag));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(prefs.getInteger("P", "count", &count));
    EXPECT_EQ(count, -42);
    EXPECT_TRUE(prefs.getReal("P", "step", &step));
    EXPECT_EQ(step, 0.025) << "reals come back bit for bit";
    EXPECT_TRUE(prefs.getString("P", "name", &name));
    EXPECT_EQ(name, "Generic \"24\" cutter");
    EXPECT_TRUE(prefs.getPoint("P", "where", &where));
    EXPECT_EQ(where.h, -3);
    EXPECT_EQ(where.v, 7);
}

TEST(Preferences, AMissingKeyOrAnotherTypeIsAnError)
{
    Preferences prefs;
    prefs.putInteger("P", "count", 3);
    double real = 0;
    bool flag = false;
    int32_t value = 0;
    EXPECT_FALSE(prefs.getReal("P", "count", &real));
    EXPECT_FALSE(prefs.getBoolean("P", "count", &flag));
    EXPECT_FALSE(prefs.getInteger("Q", "count", &value)) << "keys live under their prefix";
    EXPECT_FALSE(prefs.getInteger("P", "other", &value));
    prefs.putString("P", "count", "three");
    EXPECT_FALSE(prefs.getInteger("P", "count", &value)) << "a put replaces the type";
}

TEST(Preferences, ADamagedFileIsKeptAsideNotOverwritten)
{
    vt::test::TempDir dir;
    std::string path = dir.file("prefs.json");
    vt::test::writeFile(path, "{ \"Vantorel\": { broken");
    Preferences prefs(path);
    EXPECT_FALSE(prefs.error().empty());
    EXPECT_EQ(vt::test::readFile(path + ".damaged"), "{ \"Vantorel\": { broken");
    prefs.putInteger("P", "k", 1);
    EXPECT_TRUE(prefs.save());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// Hostile preference files: each is refused with the file, where and why,
// and what the user had is still there byte for byte (kept aside when it is
// damaged, left in place when it cannot be read).
TEST(Preferences, HostileFilesAreRefusedAndKept)
{
    auto nested = [](int levels) {
        return "{\"Vantorel\": " + std::string(levels - 1, '[') + std::string(levels - 1, ']') + "}";
    };
    struct Row {
        const char* shows;
        std::string text;
        std::string says;  // after the path; empty: the file is read
        bool keptAside;    // renamed to FILE.damaged
    } rows[] = {
        {"512 levels are read", nested(512), "", false},
        {"513 levels", nested(513),
         " is damaged (line 1, column 525: nested deeper than 512 levels); kept as PATH.damaged", true},
        {"50,000 levels", nested(50000),
         " is damaged (line 1, column 525: nested deeper than 512 levels); kept as PATH.damaged", true},
        {"brackets in strings do not count", "{\"V\": {\"k\": {\"string\": \"" + std::string(5000, '[') + "\"}}}", "",
         false},
        {"nor after an escaped quote", "{\"V\": {\"k\": {\"string\": \"\\\"" + std::string(600, '[') + "\"}}}", "",
         false},
        {"a list, not an object", "[1, 2]",
         " is damaged (the file does not hold an object of prefixes); kept as PATH.damaged", true},
        {"not JSON", "{ \"Vantorel\": { broken",
         " is damaged ([json.exception.parse_error.101] parse error at line 1, column 17: syntax error while "
         "parsing object key - invalid literal; last read: '\"Vantorel\": { b'; expected string literal); kept as "
         "PATH.damaged",
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        vt::test::TempDir dir;
        std::string path = dir.file("prefs.json");
        vt::test::writeFile(path, row.text);
        Preferences prefs(path);
        if (row.says.empty()) {
            EXPECT_EQ(prefs.error(), "");
            continue;
        }
        std::string says = row.says;
        says.replace(says.find("PATH"), 4, path);
        EXPECT_EQ(prefs.error(), "preference file " + path + says);
        EXPECT_FALSE(prefs.failed()) << "kept aside, nothing is lost: a warning";
        EXPECT_EQ(vt::test::readFile(path + ".damaged"), row.text);
    }
}

TEST(Preferences, AFileThatCannotBeReadIsNeverWrittenOver)
{
    vt::test::TempDir dir;
    // A folder where the file should be cannot be read whoever runs the test.
    std::string path = dir.file("prefs.json");
    std::filesystem::create_directory(path);
    vt::test::writeFile(path + "/keep", "mine");
    Preferences prefs(path);
    EXPECT_EQ(prefs.error(), "cannot read " + path +
                                 ": Is a directory (the preference file is not used, and nothing is written to "
                                 "it in this session)");
    EXPECT_TRUE(prefs.failed());
    prefs.putInteger("P", "k", 1);
    EXPECT_TRUE(prefs.save()) << "nothing to do: it was reported when read";
    EXPECT_EQ(vt::test::readFile(path + "/keep"), "mine");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

// What is no preference file is refused before it is touched: a device or a
// pipe is neither read (never waited on) nor renamed aside nor written over,
// and a file larger than any preferences are is refused with the limit.
TEST(Preferences, OnlyARegularFileOfBoundedSizeIsRead)
{
    vt::test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0666), 0);
    bool device = ::mknod(dir.file("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;  // needs root
    vt::test::writeFile(dir.file("large.json"), "{\"P\": {\"k\": {\"string\": \"" + std::string(2 << 20, 'x') + "\"}}}");
    const std::string unused = " (the preference file is not used, and nothing is written to it in this session)";
    const std::string noFile = ": it is not a regular file (a device, pipe or socket)";
    struct Row {
        const char* shows;
        std::string path;
        std::string says;
    };
    std::vector<Row> rows = {
        {"a pipe", dir.file("pipe"), "cannot read " + dir.file("pipe") + noFile + unused},
        {"a device", "/dev/zero", "cannot read /dev/zero" + noFile + unused},
        {"a file of 2 MB", dir.file("large.json"),
         "cannot read " + dir.file("large.json") + ": it is larger than the 1 MB a preference file may be" + unused},
    };
    // A device node that may be renamed: its own, never the system's.
    if (device) rows.push_back({"a copy of /dev/null", dir.file("null"), "cannot read " + dir.file("null") + noFile + unused});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        struct stat before {};
        ASSERT_EQ(::stat(row.path.c_str(), &before), 0);
        {
            Preferences prefs(row.path);
            EXPECT_EQ(prefs.error(), row.says);
            EXPECT_TRUE(prefs.failed());
            prefs.putInteger("P", "k", 1);
            EXPECT_TRUE(prefs.save()) << "nothing to do: it was reported when read";
        }
        struct stat after {};
        ASSERT_EQ(::stat(row.path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode) << "the same kind of file, left where it was";
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_size, before.st_size);
        EXPECT_FALSE(std::filesystem::exists(row.path + ".damaged"));
    }
}

// A damaged file is kept aside beside those kept before: none is written over.
TEST(Preferences, EveryDamagedFileIsKept)
{
    vt::test::TempDir dir;
    std::string path = dir.file("prefs.json");
    const std::string damaged[] = {"{ first", "{ second", "[\"third\"]"};
    const std::string aside[] = {path + ".damaged", path + ".damaged.1", path + ".damaged.2"};
    for (int i = 0; i < 3; ++i) {
        vt::test::writeFile(path, damaged[i]);
        Preferences prefs(path);
        EXPECT_NE(prefs.error().find("kept as " + aside[i]), std::string::npos) << prefs.error();
        EXPECT_FALSE(prefs.failed());
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(vt::test::readFile(aside[i]), damaged[i]);
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Many keys are read in time proportional to their number (the benchmark
// Preferences/Read shows it); here, that they come back in their order, and
// that a key written twice keeps its place and takes the later value.
TEST(Preferences, ManyKeysKeepTheirOrder)
{
    std::string text = "{\"P\": {";
    for (int i = 0; i < 5000; ++i) text += (i ? "," : "") + std::string("\"k") + std::to_string(4999 - i) + "\": {\"integer\": " + std::to_string(i) + "}";
    text += ", \"k4999\": {\"integer\": -1}}, \"Q\": {}, \"P\": {\"again\": {\"boolean\": true}}}";
    nlohmann::ordered_json data;
    std::string why;
    ASSERT_TRUE(Preferences::parse(text, data, why)) << why;
    ASSERT_EQ(data.size(), 2u) << "P written twice is one prefix";
    auto keys = std::vector<std::string>();
    for (auto it = data.begin(); it != data.end(); ++it) keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"P", "Q"}));
    EXPECT_EQ(data["P"].size(), 1u) << "the later P took the place of the first, as the library's own reading does";
    EXPECT_EQ(nlohmann::ordered_json::parse(text), data) << "read as the library itself reads it";

    vt::test::TempDir dir;
    std::string half = "{\"P\": {";
    for (int i = 0; i < 5000; ++i) half += (i ? "," : "") + std::string("\"k") + std::to_string(4999 - i) + "\": {\"integer\": " + std::to_string(i) + "}";
    half += ", \"k4999\": {\"integer\": -1}}}";
    vt::test::writeFile(dir.file("p.json"), half);
    Preferences prefs(dir.file("p.json"));
    std::vector<std::string> order = prefs.keys("P");
    ASSERT_EQ(order.size(), 5000u);
    EXPECT_EQ(order.front(), "k4999");
    EXPECT_EQ(order.back(), "k0");
    int32_t value = 0;
    EXPECT_TRUE(prefs.getInteger("P", "k4999", &value));
    EXPECT_EQ(value, -1) << "the later value";
    EXPECT_TRUE(prefs.getInteger("P", "k0", &value));
    EXPECT_EQ(value, 4999);
    EXPECT_FALSE(prefs.remove("Q", "k2500")) << "no such prefix";
    EXPECT_FALSE(prefs.remove("P", "k5000")) << "no such key";
    EXPECT_FALSE(prefs.dirty());
    EXPECT_TRUE(prefs.remove("P", "k2500"));
    EXPECT_TRUE(prefs.dirty());
    EXPECT_FALSE(prefs.has("P", "k2500"));
    EXPECT_TRUE(prefs.getInteger("P", "k2499", &value)) << "the keys after a removed one are still found";
    EXPECT_EQ(value, 2500);
    EXPECT_EQ(prefs.keys("P").back(), "k0");
}

// The same value put again is no change: nothing needs saving. A run that
// failed puts back what the file held, and removes a file it made.
TEST(Preferences, ChangesAreUndoneWhenARunFails)
{
    vt::test::TempDir dir;
    std::string path = dir.file("prefs.json");
    vt::test::writeFile(path, "{\"P\": {\"k\": {\"integer\": 1}}}");
    std::string before = vt::test::readFile(path);
    {
        Preferences prefs(path);
        prefs.putInteger("P", "k", 1);
        EXPECT_FALSE(prefs.dirty()) << "the same value again";
        EXPECT_FALSE(prefs.undoChanges()) << "nothing was written";
        prefs.putInteger("P", "k", 2);
        prefs.putString("Q", "new", "x");
        ASSERT_TRUE(prefs.save());
        EXPECT_NE(vt::test::readFile(path), before);
        EXPECT_TRUE(prefs.undoChanges());
        int32_t value = 0;
        EXPECT_TRUE(prefs.getInteger("P", "k", &value));
        EXPECT_EQ(value, 1);
        EXPECT_FALSE(prefs.has("Q", "new"));
    }
    EXPECT_EQ(Preferences(path).keys("P"), std::vector<std::string>{"k"});
    EXPECT_FALSE(Preferences(path).has("Q", "new"));

    // What cannot be put back is said, and the run still fails.
    vt::test::FullFolder full(dir.file("full"));
    if (full.available()) {
        full.put("prefs.json", "{}\n");
        Preferences changed(full.file("prefs.json"));
        changed.putString("P", "k", std::string(2000, 'x'));
        ASSERT_TRUE(changed.save());
        full.fill();
        EXPECT_FALSE(changed.undoChanges());
        EXPECT_TRUE(changed.failed());
        EXPECT_EQ(changed.error(), "the preferences were not saved: cannot write " + full.file("prefs.json") +
                                       ": No space left on device");
    }

    std::string fresh = dir.file("fresh.json");
    Preferences prefs(fresh);
    prefs.putInteger("P", "k", 1);
    ASSERT_TRUE(prefs.save());
    ASSERT_TRUE(std::filesystem::exists(fresh));
    EXPECT_TRUE(prefs.undoChanges());
    EXPECT_FALSE(std::filesystem::exists(fresh)) << "a file the run made is gone again";
}

TEST(Preferences, APointOutsideSixteenBitsIsNoPoint)
{
    vt::test::TempDir dir;
    std::string path = dir.file("prefs.json");
    vt::test::writeFile(path, R"({"P": {"far": {"point": [70000, 0]}, "near": {"point": [-32768, 32767]}}})");
    Preferences prefs(path);
    AIPoint p{};
    EXPECT_FALSE(prefs.getPoint("P", "far", &p));
    ASSERT_TRUE(prefs.getPoint("P", "near", &p));
    EXPECT_EQ(p.h, -32768);
    EXPECT_EQ(p.v, 32767);
}

TEST(Preferences, AFailedSaveKeepsTheOldFile)
{
    vt::test::TempDir dir;
    vt::test::FullFolder full(dir.file("full"));
    if (!full.available()) GTEST_SKIP() << "no full file system can be made here";
    std::string path = full.file("prefs.json");
    full.put("prefs.json", "{}\n");
    full.fill();
    Preferences prefs(path);
    prefs.putString("P", "k", std::string(100000, 'x'));
    EXPECT_FALSE(prefs.save());
    EXPECT_EQ(prefs.error(), "the preferences were not saved: cannot write " + path + ": No space left on device");
    EXPECT_TRUE(prefs.failed()) << "the program must end with a failing status";
    EXPECT_EQ(vt::test::readFile(path), "{}\n");
    EXPECT_TRUE(prefs.dirty()) << "the change is still waiting to be saved";
}

}  // namespace
