#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "Core/FakeHostSuites.h"
#include "Core/PlotterLibrary.h"

namespace {

Plotter checkedPlotterWithPens(int environments, int pens)
{
    Plotter p;
    EXPECT_EQ(kNoErr, copyPlotter(&p, nullptr));
    p.PlotterReserved = kPlotterCurrentBit | kPlotterDevicePanelBit;
    p.PlotterEnvNumber = environments;
    p.Environments = (Environment*)malloc(sizeof(Environment) * environments);
    for (int e = 0; e < environments; e++) {
        EXPECT_EQ(kNoErr, copyEnvironment(&p.Environments[e], nullptr));
        snprintf(p.Environments[e].EnvironmentName, 64, "Env %d", e);
        p.Environments[e].EnvironmentReserved = 1;
        p.Environments[e].PenNumber = pens;
        p.Environments[e].Pens = (Pen*)malloc(sizeof(Pen) * pens);
        for (int i = 0; i < pens; i++) {
            EXPECT_EQ(kNoErr, copyPen(&p.Environments[e].Pens[i], nullptr));
            p.Environments[e].Pens[i].PenReserved = 0x30 | 0x100;
        }
    }
    return p;
}

TEST(PlotterRecords, DefaultsTakeNamesFromTheStringList)
{
    FakeHostSuites host;
    Pen pen;
    Environment env;
    Plotter plotter;
    EXPECT_EQ(kNoErr, copyPen(&pen, nullptr));
    EXPECT_EQ(kNoErr, copyEnvironment(&env, nullptr));
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    EXPECT_STREQ("New Pen", pen.PenName);
    EXPECT_EQ(0.01, pen.Extra);
    EXPECT_EQ(80.0, pen.defaultPressure);
    EXPECT_STREQ("New Environment", env.EnvironmentName);
    EXPECT_EQ(nullptr, env.Pens);
    EXPECT_STREQ("New Plotter", plotter.PlotterName);
    EXPECT_STREQ("New Maker", plotter.PlotterManufactory);
    EXPECT_EQ(1, plotter.PlotterOrigin);
    EXPECT_EQ(0.025, plotter.PlotterStep);
    EXPECT_EQ(nullptr, plotter.Environments);
}

TEST(PlotterRecords, ADefaultNameTheHostLeavesUnendedIsCutAtItsBuffersLastByte)
{
    FakeHostSuites host;
    // A host that fills the whole buffer with a text too long for it and no end.
    ADMBasicSuite filling = *sADMBasic;
    filling.GetIndexString = [](SPPluginRef, ASInt32, ASInt32, char* buffer, ASInt32 maxLength) {
        memset(buffer, 'x', (size_t)maxLength);
    };
    ADMBasicSuite* was = sADMBasic;
    sADMBasic = &filling;
    Pen pen;
    Plotter plotter;
    EXPECT_EQ(kNoErr, copyPen(&pen, nullptr));
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    sADMBasic = was;
    EXPECT_EQ(std::string(sizeof pen.PenName - 1, 'x'), std::string(pen.PenName, strnlen(pen.PenName, sizeof pen.PenName)));
    EXPECT_EQ(std::string(sizeof plotter.PlotterManufactory - 1, 'x'),
              std::string(plotter.PlotterManufactory, strnlen(plotter.PlotterManufactory, sizeof plotter.PlotterManufactory)));
}

TEST(PlotterRecords, CopiesClearTheCurrentBitsButKeepPenBits)
{
    FakeHostSuites host;
    Plotter source = checkedPlotterWithPens(2, 3);
    Plotter copy;
    EXPECT_EQ(0, copyPlotter(&copy, &source));
    EXPECT_EQ(0, copy.PlotterReserved);
    ASSERT_EQ(2, copy.PlotterEnvNumber);
    EXPECT_NE(source.Environments, copy.Environments);
    for (int e = 0; e < 2; e++) {
        EXPECT_EQ(0, copy.Environments[e].EnvironmentReserved);
        ASSERT_EQ(3, copy.Environments[e].PenNumber);
        EXPECT_NE(source.Environments[e].Pens, copy.Environments[e].Pens);
        EXPECT_EQ(0x130, copy.Environments[e].Pens[2].PenReserved);
    }
    freePlotter(&copy);
    freePlotter(&source);
}

TEST(PlotterRecords, ACopyOfEmptyListsHasNoArrays)
{
    FakeHostSuites host;
    Plotter none = checkedPlotterWithPens(0, 0), copy;
    EXPECT_EQ(0, copyPlotter(&copy, &none));
    EXPECT_EQ(nullptr, copy.Environments) << "a plotter without environments";
    EXPECT_EQ(0, copy.PlotterEnvNumber);
    freePlotter(&none);
    Plotter penless = checkedPlotterWithPens(1, 0);
    EXPECT_EQ(0, copyPlotter(&copy, &penless));
    ASSERT_EQ(1, copy.PlotterEnvNumber);
    EXPECT_EQ(nullptr, copy.Environments[0].Pens) << "an environment without pens";
    EXPECT_EQ(0, copy.Environments[0].PenNumber);
    freePlotter(&copy);
    freePlotter(&penless);
}

TEST(PlotterRecords, DeletingTheOnlyElementLeavesAnEmptyList)
{
    FakeHostSuites host;
    Plotter* list = (Plotter*)malloc(sizeof(Plotter));
    *list = checkedPlotterWithPens(1, 1);
    int count = 1;
    EXPECT_EQ(0, delPen(&list[0].Environments[0], 0));
    EXPECT_EQ(nullptr, list[0].Environments[0].Pens);
    EXPECT_EQ(0, list[0].Environments[0].PenNumber);
    EXPECT_EQ(0, delEnvironment(&list[0], 0));
    EXPECT_EQ(nullptr, list[0].Environments);
    EXPECT_EQ(0, list[0].PlotterEnvNumber);
    EXPECT_EQ(0, delPlotter(&list, &count, 0));
    EXPECT_EQ(nullptr, list);
    EXPECT_EQ(0, count);
}

TEST(PlotterRecords, DeletingKeepsTheOrderOfTheOthers)
{
    FakeHostSuites host;
    Plotter plotter = checkedPlotterWithPens(4, 2);
    EXPECT_EQ(0, delEnvironment(&plotter, 1));
    ASSERT_EQ(3, plotter.PlotterEnvNumber);
    EXPECT_STREQ("Env 0", plotter.Environments[0].EnvironmentName);
    EXPECT_STREQ("Env 2", plotter.Environments[1].EnvironmentName);
    EXPECT_STREQ("Env 3", plotter.Environments[2].EnvironmentName);
    freePlotter(&plotter);
}

TEST(PlotterRecords, AnIndexOutOfRangeChangesNothing)
{
    FakeHostSuites host;
    Plotter plotter = checkedPlotterWithPens(2, 2);
    Environment* before = plotter.Environments;
    EXPECT_EQ(kIndexOutOfRangeErr, delEnvironment(&plotter, -1));
    EXPECT_EQ(kIndexOutOfRangeErr, delEnvironment(&plotter, 2));
    EXPECT_EQ(kIndexOutOfRangeErr, delPen(&plotter.Environments[0], 2));
    EXPECT_EQ(before, plotter.Environments);
    EXPECT_EQ(2, plotter.PlotterEnvNumber);
    Plotter* empty = nullptr;
    int zero = 0;
    EXPECT_EQ(kIndexOutOfRangeErr, delPlotter(&empty, &zero, 0));
    // A missing array holds nothing to delete, whatever its count says.
    int one = 1;
    EXPECT_EQ(kIndexOutOfRangeErr, delPlotter(&empty, &one, 0));
    EXPECT_EQ(1, one);
    Plotter bare = {};
    bare.PlotterEnvNumber = 1;
    EXPECT_EQ(kIndexOutOfRangeErr, delEnvironment(&bare, 0));
    EXPECT_EQ(1, bare.PlotterEnvNumber);
    Environment penless = {};
    penless.PenNumber = 1;
    EXPECT_EQ(kIndexOutOfRangeErr, delPen(&penless, 0));
    EXPECT_EQ(1, penless.PenNumber);
    // The dialog asks with no plotter or environment chosen.
    EXPECT_EQ(kIndexOutOfRangeErr, delEnvironment(nullptr, 0));
    EXPECT_EQ(kIndexOutOfRangeErr, delPen(nullptr, 0));
    freePlotter(&plotter);
}

}  // namespace
