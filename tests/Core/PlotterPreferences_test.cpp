#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Core/FakeHostSuites.h"
#include "Core/PlotterLibrary.h"
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
            copyPlotter(&plotters[p], nullptr);
            snprintf(plotters[p].PlotterName, 64, "Cutter %d", p);
        }
        plotters[1].PlotterReserved = kPlotterCurrentBit | kPlotterDevicePanelBit;
        plotters[1].PlotterVID = 0x7A10;
        plotters[1].PlotterEnvNumber = 2;
        plotters[1].Environments = envs;
        for (int e = 0; e < 2; e++) copyEnvironment(&envs[e], nullptr);
        snprintf(envs[1].EnvironmentName, 64, "Vinyl");
        envs[1].EnvironmentReserved = 1;
        envs[1].PenNumber = 3;
        envs[1].Pens = pens;
        for (int i = 0; i < 3; i++) {
            copyPen(&pens[i], nullptr);
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
    EXPECT_EQ("Vinyl", w[13].text);
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
    releaseSuites(g->basic);
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

}  // namespace
