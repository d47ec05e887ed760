// The cut settings across sessions: first-run defaults, units, the mark
// settings that always start from their defaults, and the order of the keys.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "App.h"
#include "Common/PluginGlobals.h"
#include "HostFixture.h"
#include "Suites/SuiteTables.h"

using namespace vt;

namespace {

class CutSettingsTest : public test::HostTest {};

// Every key: what a first run starts with, and whether a value stored by an
// earlier session comes back (the registration marks always start afresh).
TEST_F(CutSettingsTest, EachSettingStartsFromItsDefaultOrFromWhatWasStored)
{
    enum Kind { kFlag, kCount, kMillimetres };
    struct Row {
        const char* key;
        Kind kind;
        std::function<double()> field;
        double fresh;   // a first run
        bool restored;  // a stored value comes back
    } rows[] = {
        {"ArdoSetting_BackToHome", kFlag, [] { return g->backToHome; }, 0, true},
        {"ArdoSetting_UsePlotterSetting", kFlag, [] { return g->usePlotterSetting; }, 0, true},
        {"ArdoSetting_OverCut", kFlag, [] { return g->overCut; }, 0, true},
        {"ArdoSetting_OverCut_ST_Value", kMillimetres, [] { return g->overCutStart; }, 0, true},
        {"ArdoSetting_OverCut_ED_Value", kMillimetres, [] { return g->overCutEnd; }, 0, true},
        {"ArdoSetting_CutOff", kFlag, [] { return g->cutOff; }, 0, true},
        {"ArdoSetting_CutOff_Value", kMillimetres, [] { return g->cutOffDistance; }, 0, true},
        {"MarkSetting_Length", kCount, [] { return g->markLength; }, 25000, false},
        {"MarkSetting_Thickness", kCount, [] { return g->markThickness; }, 1000, false},
        {"MarkSetting_Margin", kCount, [] { return g->markMargin; }, 5000, false},
        {"MarkSetting_XStep", kCount, [] { return g->markXStep; }, 500000, false},
        {"MarkSetting_YStep", kCount, [] { return g->markYStep; }, 500000, false},
        {"MarkSetting_NoXCopies", kCount, [] { return g->markXCopies; }, 1, false},
        {"MarkSetting_NoYCopies", kCount, [] { return g->markYCopies; }, 1, false},
        {"MarkSetting_Space", kCount, [] { return g->markSpace; }, 0, false},
        {"MarkSetting_4PointPosition", kFlag, [] { return g->mark4PointPosition; }, 1, false},
        {"MarkSetting_SegmentalPosition", kFlag, [] { return g->markSegmentalPosition; }, 0, false},
        {"MarkSetting_MultipleCopies", kFlag, [] { return g->markMultipleCopies; }, 0, false},
        {"MarkSetting_CopiesWithOutline", kFlag, [] { return g->markCopiesWithOutline; }, 0, false},
        {"DotCut_HalfCutLength", kCount, [] { return g->dotCutHalfCutLength; }, 2000, true},
        {"DotCut_HalfCutPen", kCount, [] { return g->dotCutHalfCutPen; }, 0, true},
        {"DotCut_CutThroughLength", kCount, [] { return g->dotCutThroughLength; }, 3000, true},
        {"DotCut_CutThroughPen", kCount, [] { return g->dotCutThroughPen; }, 1, true},
    };
    startSession();
    for (const Row& row : rows) EXPECT_EQ(row.field(), row.fresh) << row.key << " on a first run";
    stopSession();

    // Stored: the other flag, 1234 of a count, 1.5 mm of a length.
    {
        host::Preferences prefs(prefsPath());
        for (const Row& row : rows) {
            if (row.kind == kFlag)
                prefs.putBoolean("Vantorel", row.key, row.fresh == 0);
            else
                prefs.putInteger("Vantorel", row.key, row.kind == kCount ? 1234 : 1500);
        }
        ASSERT_TRUE(prefs.save());
    }
    startSession();
    for (const Row& row : rows) {
        double stored = row.kind == kFlag ? (row.fresh == 0 ? 1 : 0) : row.kind == kCount ? 1234 : 1.5;
        EXPECT_NEAR(row.field(), row.restored ? stored : row.fresh, 1e-6) << row.key << " stored";
    }
}

TEST_F(CutSettingsTest, SettingsSurviveASecondSessionThroughSinglePrecision)
{
    startSession();
    g->overCut = 1;
    g->overCutStart = 1.5;
    g->overCutEnd = 0.1;
    g->cutOff = 1;
    g->cutOffDistance = 12.3456;
    g->dotCutThroughPen = 3;
    g->markLength = 12345;  // written, but not restored
    g->markMultipleCopies = 1;
    stopSession();

    host::Preferences stored(prefsPath());
    int32_t value = 0;
    ASSERT_TRUE(stored.getInteger("Vantorel", "ArdoSetting_OverCut_ST_Value", &value));
    EXPECT_EQ(value, 1500);
    ASSERT_TRUE(stored.getInteger("Vantorel", "ArdoSetting_CutOff_Value", &value));
    EXPECT_EQ(value, 12346) << "rounded to the nearest thousandth";
    ASSERT_TRUE(stored.getInteger("Vantorel", "MarkSetting_Length", &value));
    EXPECT_EQ(value, 12345);

    startSession();
    EXPECT_EQ(g->overCut, 1);
    EXPECT_EQ(g->overCutStart, (double)(1500.0f * 0.001f));
    EXPECT_NEAR(g->overCutStart, 1.5, 1e-6);
    EXPECT_EQ(g->overCutEnd, (double)(100.0f * 0.001f));
    EXPECT_EQ(g->cutOff, 1);
    EXPECT_NEAR(g->cutOffDistance, 12.346, 1e-6);
    EXPECT_EQ(g->dotCutThroughPen, 3);
    EXPECT_EQ(g->markLength, 25000) << "the mark settings start from their defaults";
    EXPECT_EQ(g->markMultipleCopies, 0);
}

TEST_F(CutSettingsTest, TheTwentyThreeKeysAreWrittenInOrderWithTheirTypes)
{
    startSession();
    stopSession();
    host::Preferences stored(prefsPath());
    // The command palette is destroyed first and writes its five keys before them.
    const std::vector<std::string> expected = {
        "kKorvelTools_PositionCodeStr", "kKorvelTools_GroupNameStr", "kKorvelTools_LocationStr",
        "kKorvelTools_SizeStr",         "kKorvelTools_VisibleStr",
        "ArdoSetting_BackToHome",      "ArdoSetting_UsePlotterSetting", "ArdoSetting_OverCut",
        "ArdoSetting_OverCut_ST_Value", "ArdoSetting_OverCut_ED_Value", "ArdoSetting_CutOff",
        "ArdoSetting_CutOff_Value",     "MarkSetting_Length",           "MarkSetting_Thickness",
        "MarkSetting_Margin",           "MarkSetting_XStep",            "MarkSetting_YStep",
        "MarkSetting_NoXCopies",        "MarkSetting_NoYCopies",        "MarkSetting_Space",
        "MarkSetting_4PointPosition",   "MarkSetting_SegmentalPosition", "MarkSetting_MultipleCopies",
        "MarkSetting_CopiesWithOutline", "DotCut_HalfCutLength",        "DotCut_HalfCutPen",
        "DotCut_CutThroughLength",      "DotCut_CutThroughPen"};
    EXPECT_EQ(stored.keys("Vantorel"), expected);
    using T = host::Preferences::Type;
    EXPECT_EQ(stored.typeOf("Vantorel", "ArdoSetting_CutOff"), T::Boolean);
    EXPECT_EQ(stored.typeOf("Vantorel", "ArdoSetting_CutOff_Value"), T::Integer);
    EXPECT_EQ(stored.typeOf("Vantorel", "MarkSetting_4PointPosition"), T::Boolean);
}

// The host's typed preference writes, refusing one key.
const char* g_refusedKey = "";
ASErr (*g_realPutBoolean)(const char*, const char*, AIBoolean) = nullptr;
ASErr (*g_realPutInteger)(const char*, const char*, ASInt32) = nullptr;

// The keys the host took, in the order they came.
std::vector<std::string> g_taken;

ASErr taken(const char* key, ASErr error)
{
    if (error == kNoErr) g_taken.push_back(key);
    return error;
}

ASErr putBooleanRefusing(const char* prefix, const char* key, AIBoolean value)
{
    return std::strcmp(key, g_refusedKey) == 0 ? 'NoWr' : taken(key, g_realPutBoolean(prefix, key, value));
}

ASErr putIntegerRefusing(const char* prefix, const char* key, ASInt32 value)
{
    return std::strcmp(key, g_refusedKey) == 0 ? 'NoWr' : taken(key, g_realPutInteger(prefix, key, value));
}

TEST_F(CutSettingsTest, ASettingRefusedAtShutdownFailsTheSessionAndLosesNoOther)
{
    const char* refused[] = {"ArdoSetting_OverCut", "ArdoSetting_CutOff_Value", "MarkSetting_Space",
                             "DotCut_CutThroughPen"};
    auto& prefs = host::suiteTable<AIPreferenceSuite>();
    for (const char* key : refused) {
        SCOPED_TRACE(key);
        makeSession();
        startSession();
        g_realPutBoolean = prefs.PutBooleanPreference;
        g_realPutInteger = prefs.PutIntegerPreference;
        g_refusedKey = key;
        g_taken.clear();
        prefs.PutBooleanPreference = putBooleanRefusing;
        prefs.PutIntegerPreference = putIntegerRefusing;
        // As vantorel-host ends: a plug-in whose shut-down failed ends it with a failing status.
        int status = app::finishSession(session(), 0);
        prefs.PutBooleanPreference = g_realPutBoolean;
        prefs.PutIntegerPreference = g_realPutInteger;
        EXPECT_EQ(status, 1);
        // The failed run leaves the preference file as it was; what counts is
        // that the write went on past the refused key.
        std::vector<std::string> settings;
        for (const std::string& k : g_taken)
            if (k.rfind("kKorvelTools_", 0) != 0) settings.push_back(k);
        EXPECT_EQ(settings.size(), 22u) << "every key but the refused one";
        EXPECT_EQ(std::count(settings.begin(), settings.end(), key), 0);
        EXPECT_EQ(settings.back(), std::strcmp(key, "DotCut_CutThroughPen") == 0 ? "DotCut_CutThroughLength"
                                                                                  : "DotCut_CutThroughPen");
        EXPECT_FALSE(hostApp().prefs().has("Vantorel", key));
        stopSession();
        std::filesystem::remove(prefsPath());
    }
}

TEST_F(CutSettingsTest, AValueOfAnotherTypeCountsAsMissing)
{
    {
        host::Preferences prefs(prefsPath());
        prefs.putString("Vantorel", "ArdoSetting_OverCut", "yes");
        prefs.putReal("Vantorel", "DotCut_HalfCutLength", 5.0);
        ASSERT_TRUE(prefs.save());
    }
    startSession();
    EXPECT_EQ(g->overCut, 0);
    EXPECT_EQ(g->dotCutHalfCutLength, 2000);
}

}  // namespace
