// The preference file: typed values, atomic saving, and a damaged file.
#include <filesystem>

#include "HostFixture.h"
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
    std::string path = dir.file("prefs.json");
    vt::test::writeFile(path, "{}\n");
    // A folder where the temporary file would go makes the write fail.
    std::filesystem::create_directory(path + ".tmp");
    Preferences prefs(path);
    prefs.putInteger("P", "k", 1);
    EXPECT_FALSE(prefs.save());
    EXPECT_EQ(prefs.error(), "the preferences were not saved: cannot write " + path + ": Is a directory");
    EXPECT_TRUE(prefs.failed()) << "the program must end with a failing status";
    EXPECT_EQ(vt::test::readFile(path), "{}\n");
    EXPECT_TRUE(prefs.dirty()) << "the change is still waiting to be saved";
}

}  // namespace
