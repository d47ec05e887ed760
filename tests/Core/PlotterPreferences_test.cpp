#include <gtest/gtest.h>
#include <string.h>

#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Core/FakeHostSuites.h"
#include "Core/PlotterLibrary.h"
#include "CurrentPlotterPrefs.h"
#include "HostFixture.h"
#include "Preferences.h"

namespace {

std::vector<std::string> expectedKeys(int pens)
{
    std::vector<std::string> keys = {"PlotterName", "PlotterManufactory", "IsSpecialMachine", "PlotterReserved",
                                     "PlotterIni", "PlotterEnd", "PlotterSizeX", "PlotterSizeY", "PlotterStep",
                                     "PlotterOrigin", "PlotterLanguage", "PID", "VID", "EnvironmentName",
                                     "EnvironmentPenNum"};
    const char* perPen[] = {"PenName", "PenVelocity", "PenExtra", "PenPressure", "PenReserved",
                            "maxExtra", "minExtra", "stepExtra", "defaultExtra", "maxVelocity",
                            "minVelocity", "stepVelocity", "defaultVelocity", "maxPressure",
                            "minPressure", "stepPressure", "defaultPressure"};
    for (int i = 0; i < pens; i++)
        for (const char* key : perPen) keys.push_back(std::string(key) + "-" + std::to_string(i));
    keys.push_back("DefaultPath");
    return keys;
}

// Three plotters: the second is current; its second environment is current and
// holds three pens.
struct Library {
    Library()
    {
        for (int p = 0; p < 3; p++) {
            EXPECT_EQ(kNoErr, copyPlotter(&plotters[p], nullptr));
            snprintf(plotters[p].PlotterName, 64, "Cutter %d", p);
        }
        plotters[1].PlotterReserved = kPlotterCurrentBit | kPlotterDevicePanelBit;
        plotters[1].PlotterVID = 0x7A10;
        plotters[1].PlotterEnvNumber = 2;
        plotters[1].Environments = envs;
        for (int e = 0; e < 2; e++) EXPECT_EQ(kNoErr, copyEnvironment(&envs[e], nullptr));
        snprintf(envs[1].EnvironmentName, 64, "Vinyl");
        envs[1].EnvironmentReserved = 1;
        envs[1].PenNumber = 3;
        envs[1].Pens = pens;
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(kNoErr, copyPen(&pens[i], nullptr));
            pens[i].Velocity = 10.0 * (i + 1);
        }
    }
    Plotter plotters[3];
    Environment envs[2];
    Pen pens[3];
};

TEST(PlotterPreferences, ThreePenEnvironmentWritesItsKeysInOrder)
{
    FakeHostSuites host;
    Library lib;
    // A long end string, then a name that fills its field to the last byte
    // without a terminator: the name is written whole and ends there, with
    // nothing of the longer text written before it.
    std::string end(200, 'E');
    strcpy(lib.plotters[1].PlotterEndString, end.c_str());
    memset(lib.envs[1].EnvironmentName, 'V', sizeof lib.envs[1].EnvironmentName);
    EXPECT_EQ(0, writeCurrentPlotterPreferences(lib.plotters, 3, nullptr));
    std::vector<std::string> keys;
    for (const auto& w : FakeHostSuites::writes) {
        EXPECT_EQ("Korvel-Ulmaren", w.prefix);
        keys.push_back(w.key);
    }
    EXPECT_EQ(expectedKeys(3), keys);
    ASSERT_EQ(15u + 3 * 17 + 1, FakeHostSuites::writes.size());

    const auto& w = FakeHostSuites::writes;
    EXPECT_EQ("Cutter 1", w[0].text);
    EXPECT_EQ('b', w[2].type);
    EXPECT_EQ(kPlotterCurrentBit | kPlotterDevicePanelBit, (int)w[3].number);
    EXPECT_EQ('r', w[6].type);
    EXPECT_EQ(0x7A10, (int)w[12].number);
    EXPECT_EQ(end, w[5].text);
    EXPECT_EQ(std::string(sizeof lib.envs[1].EnvironmentName, 'V'), w[13].text);
    EXPECT_EQ(3, (int)w[14].number);
    EXPECT_EQ(20.0, w[15 + 17 + 1].number) << "PenVelocity-1";
    EXPECT_EQ('i', w[15 + 4].type) << "PenReserved-0 is an integer";
    EXPECT_EQ("", w.back().text);
}

TEST(PlotterPreferences, WithoutACurrentEnvironmentOnlyDefaultPathIsWritten)
{
    FakeHostSuites host;
    Library lib;
    lib.envs[1].EnvironmentReserved = 0;
    EXPECT_EQ(0, writeCurrentPlotterPreferences(lib.plotters, 3, ""));
    ASSERT_EQ(1u, FakeHostSuites::writes.size());
    EXPECT_EQ("DefaultPath", FakeHostSuites::writes[0].key);
}

TEST(PlotterPreferences, AHostErrorStopsTheEntriesButDefaultPathIsStillWritten)
{
    FakeHostSuites host;
    Library lib;
    FakeHostSuites::failKey = "PlotterStep";
    EXPECT_EQ((int)'FAIL', writeCurrentPlotterPreferences(lib.plotters, 3, nullptr));
    ASSERT_EQ(9u, FakeHostSuites::writes.size());
    EXPECT_EQ("PlotterSizeY", FakeHostSuites::writes[7].key);
    EXPECT_EQ("DefaultPath", FakeHostSuites::writes[8].key);
}

class CurrentPlotterInTheHost : public vt::test::HostTest {};

TEST_F(CurrentPlotterInTheHost, EntriesAreStoredInOrderWithTheirTypesAndDefaultNamesComeFromTheStringList)
{
    startSession();
    ASSERT_EQ(0, acquireSuites(g->basic));
    {
        Library lib;  // built with the host's string list
        EXPECT_STREQ("New Pen", lib.pens[0].PenName);
        EXPECT_STREQ("New Environment", lib.envs[0].EnvironmentName);
        EXPECT_STREQ("Generic", lib.plotters[0].PlotterManufactory);
        strcpy(lib.plotters[1].PlotterIniString, "IN;\nPA;");
        EXPECT_EQ(0, writeCurrentPlotterPreferences(lib.plotters, 3, nullptr));
    }
    EXPECT_EQ(kNoErr, releaseSuites(g->basic));
    stopSession();

    vt::host::Preferences stored(prefsPath());
    EXPECT_EQ(expectedKeys(3), stored.keys("Korvel-Ulmaren"));
    using T = vt::host::Preferences::Type;
    EXPECT_EQ(T::Boolean, stored.typeOf("Korvel-Ulmaren", "IsSpecialMachine"));
    EXPECT_EQ(T::Integer, stored.typeOf("Korvel-Ulmaren", "PenReserved-2"));
    EXPECT_EQ(T::Real, stored.typeOf("Korvel-Ulmaren", "defaultPressure-2"));
    std::string text;
    ASSERT_TRUE(stored.getString("Korvel-Ulmaren", "PlotterIni", &text));
    EXPECT_EQ("IN;\nPA;", text);
    double velocity = 0;
    ASSERT_TRUE(stored.getReal("Korvel-Ulmaren", "PenVelocity-2", &velocity));
    EXPECT_EQ(30.0, velocity);
}

// What the setup dialog writes, the cut model reads back whole, and the menu
// update reads its part of; a required entry without a usable value refuses
// the plotter and leaves no pens.
class ReadingTheCurrentPlotter : public vt::test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(0, acquireSuites(g->basic));
        std::memset(&plotter, 0, sizeof plotter);
        std::memset(&environment, 0, sizeof environment);
    }
    void TearDown() override
    {
        free(environment.Pens);
        EXPECT_EQ(kNoErr, releaseSuites(g->basic));
    }
    uint8_t read(PlotterPrefReader reader) { return readCurrentPlotterPreferences(&plotter, &environment, reader); }
    vt::host::Preferences& prefs() { return hostApp().prefs(); }

    Plotter plotter;
    Environment environment;
};

TEST_F(ReadingTheCurrentPlotter, WhatTheDialogWritesTheCutModelReadsBackWhole)
{
    Library lib;
    Plotter& written = lib.plotters[1];
    strcpy(written.PlotterManufactory, "Korvel");
    strcpy(written.PlotterIniString, "IN;\nPA;");
    strcpy(written.PlotterEndString, "PU;");
    written.IsSpecialMachine = 1;
    written.Language = 2;
    written.PlotterOrigin = 0;
    written.PlotterPID = 0x1234;
    lib.pens[2].PenReserved = 0x30;
    lib.pens[2].stepExtra = 0.05;
    ASSERT_EQ(0, writeCurrentPlotterPreferences(lib.plotters, 3, nullptr));

    ASSERT_EQ(1, read(kPlotterPrefFullRead));
    EXPECT_STREQ("Cutter 1", plotter.PlotterName);
    EXPECT_STREQ("Korvel", plotter.PlotterManufactory);
    EXPECT_STREQ("IN;\nPA;", plotter.PlotterIniString);
    EXPECT_STREQ("PU;", plotter.PlotterEndString);
    EXPECT_EQ(1, plotter.IsSpecialMachine);
    EXPECT_EQ(written.PlotterReserved, plotter.PlotterReserved);
    EXPECT_EQ(2, plotter.Language);
    EXPECT_EQ(0, plotter.PlotterOrigin);
    EXPECT_EQ(0x1234, plotter.PlotterPID);
    EXPECT_EQ(0x7A10, plotter.PlotterVID);
    EXPECT_EQ(written.PlotterSizeX, plotter.PlotterSizeX);
    EXPECT_EQ(written.PlotterStep, plotter.PlotterStep);
    EXPECT_EQ(nullptr, plotter.Environments);
    EXPECT_STREQ("Vinyl", environment.EnvironmentName);
    ASSERT_EQ(3, environment.PenNumber);
    ASSERT_NE(nullptr, environment.Pens);
    for (int i = 0; i < 3; i++) {
        SCOPED_TRACE(i);
        const Pen& want = lib.pens[i];
        const Pen& got = environment.Pens[i];
        EXPECT_STREQ(want.PenName, got.PenName);
        EXPECT_EQ(want.PenReserved, got.PenReserved);
        for (double Pen::*value : {&Pen::Pressure, &Pen::Velocity, &Pen::Extra, &Pen::maxExtra, &Pen::minExtra,
                                   &Pen::stepExtra, &Pen::defaultExtra, &Pen::maxVelocity, &Pen::minVelocity,
                                   &Pen::stepVelocity, &Pen::defaultVelocity, &Pen::maxPressure, &Pen::minPressure,
                                   &Pen::stepPressure, &Pen::defaultPressure})
            EXPECT_EQ(want.*value, got.*value);
    }
}

TEST_F(ReadingTheCurrentPlotter, TheMenuUpdateNeedsOnlyItsOwnEntries)
{
    vt::test::CurrentPlotterPrefs stored;
    stored.pens[0].maxPressure = 400;
    stored.put(prefs(), vt::test::menuReads);
    EXPECT_FALSE(prefs().has(kCurrentPlotterPrefix, "PID"));
    EXPECT_FALSE(prefs().has(kCurrentPlotterPrefix, "maxPressure-0"));

    ASSERT_EQ(1, read(kPlotterPrefMenuRead));
    EXPECT_STREQ("Blade", environment.Pens[0].PenName);
    EXPECT_EQ(80.0, environment.Pens[0].Pressure);
    EXPECT_EQ(0.0, environment.Pens[0].maxPressure) << "not read by the menu";
    EXPECT_EQ(0, read(kPlotterPrefFullRead)) << "the cut model wants every entry";
    EXPECT_EQ(nullptr, environment.Pens);
}

TEST_F(ReadingTheCurrentPlotter, AnUnusableEntryRefusesThePlotterAndLeavesNoPens)
{
    const char* p = kCurrentPlotterPrefix;
    struct Row {
        const char* shows;
        std::function<void(vt::host::Preferences&)> spoil;
        uint8_t menuAccepts;
    } rows[] = {
        {"an empty maker", [p](auto& s) { s.putString(p, "PlotterManufactory", ""); }, 0},
        {"a length stored as 0.0", [p](auto& s) { s.putReal(p, "PlotterSizeY", 0.0); }, 0},
        {"language -1", [p](auto& s) { s.putInteger(p, "PlotterLanguage", -1); }, 0},
        {"vendor id -1, which the menu does not read", [p](auto& s) { s.putInteger(p, "VID", -1); }, 1},
        {"no product id", [p](auto& s) { s.remove(p, "PID"); }, 1},
        {"a real stored as text", [p](auto& s) { s.putString(p, "PlotterStep", "0.025"); }, 0},
        {"an empty second pen name", [p](auto& s) { s.putString(p, "PenName-1", ""); }, 0},
        {"no pen count", [p](auto& s) { s.remove(p, "EnvironmentPenNum"); }, 0},
        {"a pen count of -1", [p](auto& s) { s.putInteger(p, "EnvironmentPenNum", -1); }, 0},
        {"more pens than the limit", [p](auto& s) { s.putInteger(p, "EnvironmentPenNum", kMaxPenCount + 1); }, 0},
        {"a pen limit missing", [p](auto& s) { s.remove(p, "stepExtra-1"); }, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        for (const std::string& key : prefs().keys(kCurrentPlotterPrefix)) prefs().remove(kCurrentPlotterPrefix, key);
        vt::test::CurrentPlotterPrefs stored;
        stored.environment.PenNumber = 2;
        stored.pens.push_back(stored.pens[0]);
        stored.put(prefs());
        ASSERT_EQ(1, read(kPlotterPrefFullRead));
        row.spoil(prefs());
        EXPECT_EQ(0, read(kPlotterPrefFullRead));
        EXPECT_EQ(nullptr, environment.Pens);
        EXPECT_EQ(row.menuAccepts, read(kPlotterPrefMenuRead));
    }
}

// Values no job can be cut with are refused by both readers, as the library
// refuses them, and the Plot Out alert can name the plotter and the field.
TEST_F(ReadingTheCurrentPlotter, UnusableValuesAreRefusedNamingThePlotterAndField)
{
    const char* p = kCurrentPlotterPrefix;
    struct Row {
        const char* shows;
        std::function<void(vt::host::Preferences&)> spoil;
        const char* says;
    } rows[] = {
        {"a language past DMGL", [p](auto& s) { s.putInteger(p, "PlotterLanguage", 7); },
         "plotter \"Cutter 60\": Language is 7, not one of 0 (HPGL) to 3 (DMGL)"},
        {"a negative step", [p](auto& s) { s.putReal(p, "PlotterStep", -0.025); },
         "plotter \"Cutter 60\": PlotterStep is -0.025, not above 0"},
        {"a media width below 0", [p](auto& s) { s.putReal(p, "PlotterSizeX", -600); },
         "plotter \"Cutter 60\": PlotterSizeX is -600, not above 0"},
        {"a media length past any number", [p](auto& s) { s.putReal(p, "PlotterSizeY", std::numeric_limits<double>::infinity()); },
         "plotter \"Cutter 60\": PlotterSizeY is not a finite number"},
        {"a missing language is incomplete, not a bad value", [p](auto& s) { s.remove(p, "PlotterLanguage"); }, ""},
        // Held to what the library holds its plotters and pens to.
        {"a step of 1e308", [p](auto& s) { s.putReal(p, "PlotterStep", 1e308); },
         "plotter \"Cutter 60\": PlotterStep is 1e+308, more than the 10 mm a step can be"},
        {"a negative pen pressure", [p](auto& s) { s.putReal(p, "PenPressure-0", -80); },
         "plotter \"Cutter 60\", environment \"Vinyl\", pen \"Blade\": Pressure is -80, below 0"},
        {"a pen velocity past any number",
         [p](auto& s) { s.putReal(p, "PenVelocity-0", std::numeric_limits<double>::infinity()); },
         "plotter \"Cutter 60\", environment \"Vinyl\", pen \"Blade\": Velocity is not a finite number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        vt::test::CurrentPlotterPrefs stored;
        stored.put(prefs());
        char text[256];
        EXPECT_EQ(0, describeCurrentPlotterValues(text, sizeof text));
        EXPECT_STREQ("", text);
        row.spoil(prefs());
        EXPECT_EQ(0, read(kPlotterPrefFullRead));
        EXPECT_EQ(0, read(kPlotterPrefMenuRead));
        EXPECT_EQ(nullptr, environment.Pens);
        std::strcpy(text, "what an earlier call said");
        EXPECT_EQ(row.says[0] ? kPlotterValueErr : 0, describeCurrentPlotterValues(text, sizeof text));
        EXPECT_STREQ(row.says, text);
    }
}

// Entries of pens beyond the environment's count stay in the preferences
// from an earlier, larger environment: they are no pen of this one, and are
// not judged. The longest command texts the library holds come back whole.
TEST_F(ReadingTheCurrentPlotter, OnlyThePensOfTheEnvironmentAreJudged)
{
    vt::test::CurrentPlotterPrefs stored;
    std::memset(stored.plotter.PlotterIniString, 'I', sizeof stored.plotter.PlotterIniString - 1);
    stored.plotter.PlotterIniString[sizeof stored.plotter.PlotterIniString - 1] = 0;
    stored.put(prefs());
    prefs().putString(kCurrentPlotterPrefix, "PenName-1", "Old blade");
    prefs().putReal(kCurrentPlotterPrefix, "PenPressure-1", -80);
    char text[256];
    EXPECT_EQ(0, describeCurrentPlotterValues(text, sizeof text));
    EXPECT_STREQ("", text);
    ASSERT_EQ(1, read(kPlotterPrefFullRead));
    EXPECT_EQ(1, environment.PenNumber);
    EXPECT_EQ(std::string(254, 'I'), plotter.PlotterIniString);

    // Nor is a pen past the most an environment holds: the count is what is
    // wrong there, and no pen beyond it is read.
    stored.environment.PenNumber = kMaxPenCount + 1;
    stored.pens.assign(kMaxPenCount + 1, stored.pens[0]);
    stored.put(prefs());
    prefs().putReal(kCurrentPlotterPrefix, "PenPressure-" + std::to_string(kMaxPenCount), -80);
    EXPECT_EQ(0, describeCurrentPlotterValues(text, sizeof text));
    EXPECT_STREQ("", text);
}

}  // namespace
