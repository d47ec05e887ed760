// The plotter, environment and pen editors, each opened on a record and
// answered through the toolkit's scripted driver.
#include <cmath>
#include <cstring>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/PlotterLibrary.h"
#include "Dialog/EnvironmentEditor.h"
#include "Dialog/PenEditor.h"
#include "Dialog/PlotterEditor.h"
#include "Dialog/PlotterSetup.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::DialogAction;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

class EditorTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override
    {
        g_Plotter = nullptr;
        g_iPlotterNum = 0;
        g_iCurrentPlotter = -1;
        EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
    }
    void queue(const char* dialog, std::vector<DialogAction> actions)
    {
        Toolkit::get().queueDialog(dialog, std::move(actions));
    }
    static DialogAction click(ASInt32 id)
    {
        return [id](Driver& d, std::string& e) { return d.click(id, e); };
    }
    static DialogAction type(ASInt32 id, std::string text)
    {
        return [id, text](Driver& d, std::string& e) { return d.type(id, text, e); };
    }
    bool lastAlertHas(const std::string& text)
    {
        const auto& alerts = hostApp().alerts();
        return !alerts.empty() && alerts.back().text.find(text) != std::string::npos;
    }
};

// The id of a popup's chosen entry, -1 for none.
int chosenId(Driver& d, ASInt32 itemId)
{
    std::string error;
    auto* item = d.find(itemId, error);
    auto* entry = item && item->list ? item->list->active() : nullptr;
    return entry ? entry->id : -1;
}

std::vector<int> entryIds(Driver& d, ASInt32 itemId)
{
    std::string error;
    std::vector<int> ids;
    auto* item = d.find(itemId, error);
    if (item && item->list)
        for (auto& e : item->list->entries) ids.push_back(e->id);
    return ids;
}

double roundTrip(double mm)
{
    return static_cast<float>(mm * kMillimetreToPoint) * kPointToMillimetre;
}

// ---- All three -----------------------------------------------------------------------

int editPlotter()
{
    Plotter plotter;
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    int result = goPlotter(&plotter);
    freePlotter(&plotter);
    return result;
}

int editEnvironment()
{
    Environment environment;
    EXPECT_EQ(kNoErr, copyEnvironment(&environment, nullptr));
    return goEnvironment(&environment);
}

int editPen()
{
    Pen pen;
    EXPECT_EQ(kNoErr, copyPen(&pen, nullptr));
    return goPen(&pen);
}

TEST_F(EditorTest, EachEditorOpensBesideItsListsClickTitledWithItsLabelsJustified)
{
    struct Row {
        const char* shows;
        const char* dialog;
        int (*edit)();
        ListPoint PluginGlobals::*click;
        int left, top;  // relative to the click
        int width, height;
        const char* title;
        ASInt32 rightLabel, leftLabel;  // leftLabel 0: none
    } rows[] = {
        {"the plotter editor at the click", kPlotterDialog.name, editPlotter, &PluginGlobals::machineListLastClickPt, 0,
         0, 468, 301, "Plotter", kPlotterEditorNameLabelItem, kPlotterEditorStartCommandsLabelItem},
        {"the environment editor above and left of it", kEnvironmentDialog.name, editEnvironment,
         &PluginGlobals::envListLastClickPt, -117, -50, 235, 101, "Environment", kEnvironmentEditorNameLabelItem, 0},
        {"the pen editor above and left of it", kPenDialog.name, editPen, &PluginGlobals::penListLastClickPt, -117, -92,
         235, 185, "Pen", kPenEditorPressureLabelItem, kPenEditorPressureUnitItem},
    };
    for (const Row& row : rows) {
        g->*row.click = ListPoint{300, 200};
        ADMRect bounds{};
        std::string title;
        int right = -1, left = -1;
        queue(row.dialog, {[&](Driver& d, std::string& e) {
                               bounds = d.dialog()->bounds;
                               title = d.dialog()->title;
                               right = d.find(row.rightLabel, e)->justify;
                               if (row.leftLabel != 0) left = d.find(row.leftLabel, e)->justify;
                               // A result other than OK's or Cancel's comes back as it is.
                               sADMDialog->EndModal(host::toolkit::ref(d.dialog()), 7, FALSE);
                               return true;
                           }});
        EXPECT_EQ(row.edit(), 7) << row.shows;
        EXPECT_EQ(bounds.left, 300 + row.left) << row.shows;
        EXPECT_EQ(bounds.top, 200 + row.top) << row.shows;
        EXPECT_EQ(bounds.right - bounds.left, row.width) << row.shows;
        EXPECT_EQ(bounds.bottom - bounds.top, row.height) << row.shows;
        EXPECT_EQ(title, row.title) << row.shows;
        EXPECT_EQ(right, kADMRightJustify) << row.shows;
        if (row.leftLabel != 0) {
            EXPECT_EQ(left, kADMLeftJustify) << row.shows;
        }
    }
}

TEST_F(EditorTest, CancelEndsEachEditorAsACancel)
{
    struct Row {
        const char* dialog;
        int (*edit)();
        ASInt32 cancel;
    } rows[] = {
        {kPlotterDialog.name, editPlotter, kPlotterEditorCancelItem},
        {kEnvironmentDialog.name, editEnvironment, kEnvironmentEditorCancelItem},
        {kPenDialog.name, editPen, kPenEditorCancelItem},
    };
    for (const Row& row : rows) {
        queue(row.dialog, {click(row.cancel)});
        EXPECT_EQ(row.edit(), 0) << row.dialog;
        ASSERT_FALSE(Toolkit::get().modalLog.empty());
        EXPECT_EQ(Toolkit::get().modalLog.back().name, row.dialog);
        EXPECT_TRUE(Toolkit::get().modalLog.back().cancelled) << row.dialog;
    }
}

// A language with longer labels shifts the fields right by as much; the next
// open lays the editor out from the same base again.
TEST_F(EditorTest, TheLayoutShiftWidensTheLabelsAndIsTakenFromTheBaseEveryTime)
{
    struct Row {
        const char* dialog;
        int (*edit)();
        int* shift;
        ASInt32 label, field;
        int labelWidth, fieldX, fieldWidth;  // with no shift
    } rows[] = {
        {kEnvironmentDialog.name, editEnvironment, &env_lan_ver_adjust, kEnvironmentEditorNameLabelItem,
         kEnvironmentEditorNameItem, 80, 95, 115},
        {kPenDialog.name, editPen, &pen_lan_ver_adjust, kPenEditorLevelLabelItem, kPenEditorLevelItem, 55, 70, 110},
    };
    for (const Row& row : rows) {
        for (int shift : {12, 0}) {
            *row.shift = shift;
            int labelWidth = -1, fieldX = -1, fieldWidth = -1;
            queue(row.dialog, {[&](Driver& d, std::string& e) {
                                   auto* label = d.find(row.label, e);
                                   auto* field = d.find(row.field, e);
                                   labelWidth = label->bounds.right - label->bounds.left;
                                   fieldX = field->bounds.left;
                                   fieldWidth = field->bounds.right - field->bounds.left;
                                   return d.click(2, e);
                               }});
            EXPECT_EQ(row.edit(), 0);
            EXPECT_EQ(labelWidth, row.labelWidth + shift) << row.dialog << " shift " << shift;
            EXPECT_EQ(fieldX, row.fieldX + shift) << row.dialog << " shift " << shift;
            EXPECT_EQ(fieldWidth, row.fieldWidth - shift) << row.dialog << " shift " << shift;
        }
    }
}

TEST_F(EditorTest, LengthsShowWithTheDecimalsTheirStepsNeed)
{
    struct Row {
        const char* dialog;
        int (*edit)();
        ASInt32 field;
        const char* shown;
    } rows[] = {
        {kPlotterDialog.name, editPlotter, kPlotterEditorStepItem, "0.02500 mm"},
        {kPenDialog.name, editPen, kPenEditorExtraItem, "0.0100 mm"},
    };
    for (const Row& row : rows) {
        std::string shown;
        queue(row.dialog, {[&](Driver& d, std::string& e) {
                               shown = d.find(row.field, e)->displayText();
                               return d.click(2, e);
                           }});
        EXPECT_EQ(row.edit(), 0);
        EXPECT_EQ(shown, row.shown) << row.dialog;
    }
}

// ---- Pen editor ------------------------------------------------------------------

TEST_F(EditorTest, PenLevelsFollowThePlotterGroupAndAreCappedAtFour)
{
    struct Row {
        const char* name;
        int32_t group;
        int32_t reserved;
        std::vector<int> offered;
        int shown;
        int32_t stored;  // PenReserved after OK
    } rows[] = {
        {"level 7 shows and stores 4", 0x00, 0x70, {0, 1, 2, 3, 4}, 4, 0x40},
        {"group 0x40 has no level 0: none shown, the old level kept", 0x40, 0x00, {1, 2, 3, 4}, -1, 0x00},
        {"groups 0x80 and 0xC0 offer low and very high", 0xC0, 0x1 | 0x40, {1, 4}, 4, 0x41},
        {"other flag bits are carried", 0x80, 0x10F, {1, 4}, -1, 0x10F},
    };
    for (const auto& row : rows) {
        Plotter plotter;
        memset(&plotter, 0, sizeof plotter);
        EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
        plotter.PlotterReserved = row.group;
        g_Plotter = &plotter;
        g_iPlotterNum = 1;
        g_iCurrentPlotter = 0;
        Pen pen;
        EXPECT_EQ(kNoErr, copyPen(&pen, nullptr));
        pen.PenReserved = row.reserved;
        std::vector<int> offered;
        int shown = -2;
        queue("Pen Dialog", {[&](Driver& d, std::string&) {
                                 offered = entryIds(d, kPenEditorLevelItem);
                                 shown = chosenId(d, kPenEditorLevelItem);
                                 return true;
                             },
                             click(kPenEditorOKItem)});
        EXPECT_EQ(goPen(&pen), 1) << row.name;
        EXPECT_EQ(offered, row.offered) << row.name;
        EXPECT_EQ(shown, row.shown) << row.name;
        EXPECT_EQ(pen.PenReserved, row.stored) << row.name;
        freePlotter(&plotter);
    }
}

TEST_F(EditorTest, PenOkCopiesBackTheShownFieldsAndCancelNothing)
{
    Pen pen;
    EXPECT_EQ(kNoErr, copyPen(&pen, nullptr));
    pen.PenReserved = 0x30;
    queue("Pen Dialog", {type(kPenEditorNameItem, "Fine"), type(kPenEditorPressureItem, "120"),
                         type(kPenEditorVelocityItem, "999"), type(kPenEditorExtraItem, "0.3"),
                         [](Driver& d, std::string& e) { return d.choose(kPenEditorLevelItem, "id=1", e); },
                         click(kPenEditorOKItem)});
    ASSERT_EQ(goPen(&pen), 1);
    EXPECT_STREQ(pen.PenName, "Fine");
    EXPECT_DOUBLE_EQ(pen.Pressure, 120.0);
    EXPECT_DOUBLE_EQ(pen.Velocity, 60.0) << "kept within the pen's maximum";
    EXPECT_DOUBLE_EQ(pen.Extra, roundTrip(0.3));
    EXPECT_EQ(pen.PenReserved, 0x10);
    EXPECT_DOUBLE_EQ(pen.maxVelocity, 60.0) << "limits stay";

    Pen before = pen;
    queue("Pen Dialog", {type(kPenEditorPressureItem, "200"),
                         [](Driver& d, std::string& e) { return d.choose(kPenEditorLevelItem, "id=4", e); },
                         click(kPenEditorCancelItem)});
    EXPECT_EQ(goPen(&pen), 0);
    EXPECT_EQ(memcmp(&pen, &before, sizeof pen), 0) << "Cancel keeps PenReserved and everything else";
    EXPECT_EQ(goPen(nullptr), 0);
}

// ---- Plotter editor ------------------------------------------------------------------

TEST_F(EditorTest, PlotterLengthsPassThroughSinglePrecisionAndStayWithinLimits)
{
    struct Row {
        const char* name;
        ASInt32 item;
        const char* typed;  // null: OK without typing
        double Plotter::*field;
        double expected;
    } rows[] = {
        {"a step of 0.025 comes back as its single-precision value", 0, nullptr, &Plotter::PlotterStep,
         roundTrip(0.025)},
        {"a typed step of 0.025 likewise", kPlotterEditorStepItem, "0.025", &Plotter::PlotterStep, roundTrip(0.025)},
        {"the step is capped at 10 mm", kPlotterEditorStepItem, "12", &Plotter::PlotterStep,
         static_cast<float>(28.346458) * kPointToMillimetre},
        {"the width is capped at 65535 mm", kPlotterEditorMediaWidthItem, "70000", &Plotter::PlotterSizeX,
         static_cast<float>(185768.52) * kPointToMillimetre},
        {"the length is capped at 65535 mm", kPlotterEditorMediaLengthItem, "65536", &Plotter::PlotterSizeY,
         static_cast<float>(185768.52) * kPointToMillimetre},
        {"a width of 610 mm", kPlotterEditorMediaWidthItem, "610", &Plotter::PlotterSizeX, roundTrip(610)},
    };
    for (const auto& row : rows) {
        Plotter plotter;
        memset(&plotter, 0, sizeof plotter);
        EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
        std::vector<DialogAction> actions;
        if (row.typed) actions.push_back(type(row.item, row.typed));
        actions.push_back(click(kPlotterEditorOKItem));
        queue("Plotter Dialog", actions);
        ASSERT_EQ(goPlotter(&plotter), 1) << row.name;
        EXPECT_DOUBLE_EQ(plotter.*row.field, row.expected) << row.name;
        EXPECT_NEAR(plotter.*row.field, row.expected, 1e-3) << row.name;
        freePlotter(&plotter);
    }
    EXPECT_NE(roundTrip(0.025), 0.025) << "the round trip is not exact";
    EXPECT_NEAR(roundTrip(0.025), 0.025, 1e-8);
}

TEST_F(EditorTest, PlotterOkCopiesTheTwelveFieldsAndKeepsTheRest)
{
    Plotter plotter;
    memset(&plotter, 0, sizeof plotter);
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    plotter.PlotterReserved = 0x31;
    plotter.PlotterOrigin = 1;
    queue("Plotter Dialog",
          {type(kPlotterEditorNameItem, "Cutter 60"), type(kPlotterEditorMakerItem, "Maker"),
           [](Driver& d, std::string& e) { return d.choose(kPlotterEditorLanguageItem, "DMGL", e); },
           [](Driver& d, std::string& e) { return d.choose(kPlotterEditorOriginItem, "Left-Top", e); },
           click(kPlotterEditorSpecialMachineItem), type(kPlotterEditorStartCommandsItem, "IN;\nVS10;"),
           type(kPlotterEditorEndCommandsItem, "PU0,0;"), type(kPlotterEditorProductIdItem, "4660"),
           type(kPlotterEditorVendorIdItem, "1234"), click(kPlotterEditorOKItem)});
    ASSERT_EQ(goPlotter(&plotter), 1);
    EXPECT_STREQ(plotter.PlotterName, "Cutter 60");
    EXPECT_STREQ(plotter.PlotterManufactory, "Maker");
    EXPECT_EQ(plotter.Language, 3);
    EXPECT_EQ(plotter.PlotterOrigin, 2);
    EXPECT_EQ(plotter.IsSpecialMachine, 1);
    EXPECT_STREQ(plotter.PlotterIniString, "IN;\nVS10;");
    EXPECT_STREQ(plotter.PlotterEndString, "PU0,0;");
    EXPECT_EQ(plotter.PlotterPID, 4660);
    EXPECT_EQ(plotter.PlotterVID, 1234);
    EXPECT_EQ(plotter.PlotterReserved, 0x31) << "capability bits stay";
    freePlotter(&plotter);
}

TEST_F(EditorTest, PlotterCommandFieldsOpenOnThePlottersOwnCommands)
{
    Plotter plotter;
    memset(&plotter, 0, sizeof plotter);
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    strcpy(plotter.PlotterIniString, "IN;");
    strcpy(plotter.PlotterEndString, "PU0,0;");
    std::string start, end;
    queue("Plotter Dialog", {[&](Driver& d, std::string& e) {
                                 start = d.find(kPlotterEditorStartCommandsItem, e)->text;
                                 end = d.find(kPlotterEditorEndCommandsItem, e)->text;
                                 return true;
                             },
                             click(kPlotterEditorCancelItem)});
    EXPECT_EQ(goPlotter(&plotter), 0);
    EXPECT_EQ(start, "IN;");
    EXPECT_EQ(end, "PU0,0;");
    freePlotter(&plotter);
}

TEST_F(EditorTest, PlotterCommandsWithABracketAreRefusedAndTheDialogStaysOpen)
{
    Plotter plotter;
    memset(&plotter, 0, sizeof plotter);
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    strcpy(plotter.PlotterIniString, "IN;");
    bool stillOpen = false;
    queue("Plotter Dialog", {type(kPlotterEditorEndCommandsItem, "PU;]"), click(kPlotterEditorOKItem),
                             [&](Driver& d, std::string&) {
                                 stillOpen = d.dialog() != nullptr;
                                 return true;
                             },
                             click(kPlotterEditorCancelItem)});
    EXPECT_EQ(goPlotter(&plotter), 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(lastAlertHas("\"]\""));
    EXPECT_STREQ(plotter.PlotterEndString, "");
    freePlotter(&plotter);
}

TEST_F(EditorTest, AnOutOfRangeLanguageIsReportedAndKeptOnOk)
{
    Plotter plotter;
    memset(&plotter, 0, sizeof plotter);
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    plotter.Language = 7;
    int shown = -2;
    queue("Plotter Dialog", {[&](Driver& d, std::string&) {
                                 shown = chosenId(d, kPlotterEditorLanguageItem);
                                 return true;
                             },
                             click(kPlotterEditorOKItem)});
    ASSERT_EQ(goPlotter(&plotter), 1);
    EXPECT_EQ(shown, -1);
    bool reported = false;
    for (const auto& a : hostApp().alerts())
        reported |= a.text.find("Language Entry Out Of Range!") != std::string::npos;
    EXPECT_TRUE(reported);
    EXPECT_EQ(plotter.Language, 7) << "a popup without a choice keeps the old code";
    freePlotter(&plotter);
}

// The editor's popups come from the language's menu resources: the origins
// are translated, the command-language names are not.
class EditorLanguageTest : public test::HostTest {};

TEST_F(EditorLanguageTest, TheOriginPopupIsInTheChosenLanguage)
{
    struct Row {
        const char* language;
        std::vector<std::string> origins;
    } rows[] = {
        {"English", {"Center", "Left-Bottom", "Left-Top"}},
        {"Chinese(PRC)", {"中心", "左下", "左上"}},
        {"Chinese(ROC)", {"中心", "左下", "左上"}},
        {"Japanese", {"中央", "左下", "左上"}},
        {"Korea", {"중앙", "왼쪽 아래", "왼쪽 위"}},
    };
    for (const auto& row : rows) {
        test::writeFile(pluginFolder() + "/Ardo_Config.txt", std::string("Language=") + row.language + "\n");
        makeSession();
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        Plotter plotter;
        memset(&plotter, 0, sizeof plotter);
        EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
        plotter.PlotterOrigin = 2;
        std::vector<std::string> origins, languages;
        std::vector<int> originIds;
        int chosen = -2;
        Toolkit::get().queueDialog("Plotter Dialog", {[&](Driver& d, std::string& error) {
                                                          auto* origin = d.find(8, error);
                                                          auto* language = d.find(10, error);
                                                          if (!origin || !language) return false;
                                                          for (auto& e : origin->list->entries) {
                                                              origins.push_back(e->text);
                                                              originIds.push_back(e->id);
                                                          }
                                                          for (auto& e : language->list->entries)
                                                              languages.push_back(e->text);
                                                          chosen = chosenId(d, 8);
                                                          return d.click(2, error);
                                                      }});
        EXPECT_EQ(goPlotter(&plotter), 0) << row.language << ": Cancel";
        EXPECT_EQ(origins, row.origins) << row.language;
        EXPECT_EQ(originIds, (std::vector<int>{0, 1, 2})) << row.language;
        EXPECT_EQ(chosen, 2) << row.language;
        EXPECT_EQ(languages, (std::vector<std::string>{"HPGL", "GPGL", "MGL_IC1", "DMGL"})) << row.language;
        freePlotter(&plotter);
        EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
        stopSession();
    }
}

// ---- Environment editor ------------------------------------------------------------

TEST_F(EditorTest, EnvironmentOkRenamesOnlyAndCancelKeepsTheName)
{
    Environment environment;
    EXPECT_EQ(kNoErr, copyEnvironment(&environment, nullptr));
    environment.EnvironmentReserved = 1;
    queue("Environment Dialog", {type(kEnvironmentEditorNameItem, "Sandblast"), click(kEnvironmentEditorOKItem)});
    ASSERT_EQ(goEnvironment(&environment), 1);
    EXPECT_STREQ(environment.EnvironmentName, "Sandblast");
    EXPECT_EQ(environment.EnvironmentReserved, 1);

    queue("Environment Dialog", {type(kEnvironmentEditorNameItem, "Other"), click(kEnvironmentEditorCancelItem)});
    EXPECT_EQ(goEnvironment(&environment), 0);
    EXPECT_STREQ(environment.EnvironmentName, "Sandblast");

    // A line break would split the record in the library file.
    queue("Environment Dialog", {type(kEnvironmentEditorNameItem, "Two\nlines"), click(kEnvironmentEditorOKItem),
                                 click(kEnvironmentEditorCancelItem)});
    EXPECT_EQ(goEnvironment(&environment), 0);
    EXPECT_STREQ(environment.EnvironmentName, "Sandblast");
    EXPECT_EQ(goEnvironment(nullptr), 0);
}

}  // namespace
