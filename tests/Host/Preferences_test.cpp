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
    EXPECT_FALSE(prefs.error().empty());
    EXPECT_EQ(vt::test::readFile(path), "{}\n");
    EXPECT_TRUE(prefs.dirty()) << "the change is still waiting to be saved";
}

}  // namespace
