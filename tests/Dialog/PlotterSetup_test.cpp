// The plotter setup dialog run in process on a fresh plug-in folder and
// answered through the toolkit's scripted driver; and `vantorel-host setup`.
#include <map>
#include <tuple>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PlotterLibrary.h"
#include "Dialog/EnvironmentEditor.h"
#include "Dialog/ErrorMessageDialog.h"
#include "Dialog/PenEditor.h"
#include "Dialog/PlotterEditor.h"
#include "Dialog/PlotterSetup.h"
#include "HostFixture.h"
#include "Preferences.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Toolkit.h"
#include "App.h"

using namespace vt;
using host::toolkit::DialogAction;
using host::toolkit::Driver;
using host::toolkit::Toolkit;
namespace fs = std::filesystem;

namespace {

const char* const kSetup = "Plotter Setup Dialog";

class SetupTest : public test::HostTest {
protected:
    void start()
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        started_ = true;
    }
    void TearDown() override
    {
        if (started_) {
            EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
        }
    }
    std::string library() const { return pluginFolder() + "/PlotterSetup.txt"; }
    // Writes a library of plotters named names (one environment with one pen each).
    void writeLibrary(const std::vector<std::string>& names, int32_t reserved = 0)
    {
        fs::create_directories(pluginFolder());
        std::string text = "PlotterNumber=" + std::to_string(names.size()) + "\n";
        for (const auto& name : names)
            text += "{\nPlotterName=" + name +
                    "\nPlotterManufactory=M\nIsSpecialMachine=0\nPlotterIniString=[]\nPlotterEndString=[]\n"
                    "Language=0\nPlotterSizeX=600.000000\nPlotterSizeY=5000.000000\nPlotterStep=0.025000\n"
                    "PlotterOrigin=1\nPlotterReserved=" +
                    std::to_string(reserved) +
                    "\nPlotterEnvNumber=1\nPlotterPID=1\nPlotterVID=2\n{\nEnvironmentName=Vinyl\nPenNumber=1\n"
                    "EnvironmentReserved=0\n{\nPenName=Knife\nPressure=80.00\nVelocity=30.00\nExtra=0.250\n"
                    "minPressure=5.00\nminVelocity=3.00\nminExtra=0.000\nmaxPressure=400.00\nmaxVelocity=60.00\n"
                    "maxExtra=1.000\ndefaultPressure=80.00\ndefaultVelocity=30.00\ndefaultExtra=0.250\n"
                    "stepPressure=5.00\nstepVelocity=3.00\nstepExtra=0.025\nPenReserved=0\n}\n}\n}\n";
        test::writeFile(library(), text);
    }
    int run(std::vector<DialogAction> actions)
    {
        Toolkit::get().queueDialog(kSetup, std::move(actions));
        return goPlotterSetup();
    }
    static DialogAction click(ASInt32 id)
    {
        return [id](Driver& d, std::string& e) { return d.click(id, e); };
    }
    static DialogAction press(ASInt32 id, int h, int v)
    {
        return [id, h, v](Driver& d, std::string& e) {
            ADMPoint p{static_cast<ASInt16>(h), static_cast<ASInt16>(v)};
            return d.press(id, p, 0, e) && d.release(p, 0, e);
        };
    }
    static std::vector<int> pictures(Driver& d, ASInt32 id)
    {
        std::string error;
        std::vector<int> out;
        auto* item = d.find(id, error);
        if (item && item->list)
            for (auto& e : item->list->entries) out.push_back(e->picture);
        return out;
    }
    static std::vector<std::string> texts(Driver& d, ASInt32 id)
    {
        std::string error;
        std::vector<std::string> out;
        auto* item = d.find(id, error);
        if (item && item->list)
            for (auto& e : item->list->entries) out.push_back(e->text);
        return out;
    }
    int modalsNamed(const std::string& name)
    {
        int n = 0;
        for (const auto& r : Toolkit::get().modalLog) n += r.name == name;
        return n;
    }
    bool started_ = false;
};

TEST_F(SetupTest, OkWithNothingCheckedShowsTheAlertRewritesTheLibraryAndStaysOpen)
{
    start();
    auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(library(), old);
    std::string before = test::readFile(library());
    std::string boxText;
    Toolkit::get().queueDialog("Error Message Dialog", {[&](Driver& d, std::string& e) {
                                   auto* items = &d.dialog()->items;
                                   boxText = items->back()->text;
                                   return d.click(kErrorMessageOKItem, e);
                               }});
    bool stillOpen = false;
    int selected = -2;
    int result = run({click(kPlotterSetupOKItem),
                      [&](Driver& d, std::string&) {
                          stillOpen = d.dialog() != nullptr;
                          selected = g_iCurrentPlotter;
                          return true;
                      },
                      click(kPlotterSetupCancelItem)});
    EXPECT_EQ(result, 2);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(selected, 0) << "plotter 0 is selected though not checked";
    EXPECT_EQ(boxText, "Please check the plotter you cut with.");
    EXPECT_GT(fs::last_write_time(library()), old) << "the library is rewritten anyway";
    EXPECT_EQ(test::readFile(library()), before) << "with the same plotters";
    EXPECT_FALSE(hostApp().prefs().has("Korvel-Ulmaren", "PlotterName"));
    EXPECT_TRUE(hostApp().prefs().has("Korvel-Ulmaren", "DefaultPath"));
    EXPECT_EQ(g_Plotter, nullptr) << "the library is released when the dialog closes";
}

TEST_F(SetupTest, InJapaneseTheLabelsTipsButtonsAndTheErrorBoxAreJapanese)
{
    test::writeFile(pluginFolder() + "/Ardo_Config.txt", "Language=Japanese\n");
    start();
    auto listText = [&](int list, int index) {
        const std::string* text = hostApp().strings().find(list, index);
        return text ? *text : std::string();
    };
    std::string boxText;
    Toolkit::get().queueDialog("Error Message Dialog", {[&](Driver& d, std::string& e) {
                                   boxText = d.dialog()->items.back()->text;
                                   return d.click(1, e);
                               }});
    // Item id and the index of its text: frames, labels and the Cancel button.
    const std::pair<ASInt32, int> shown[] = {{8, 46},  {26, 51}, {47, 63}, {9, 47},  {11, 48}, {15, 75}, {17, 76},
                                             {13, 49}, {19, 50}, {31, 52}, {33, 53}, {35, 54}, {2, 65}};
    int checked = 0;
    int result = run({[&](Driver& d, std::string& error) {
                          for (const auto& [id, index] : shown) {
                              auto* item = d.find(id, error);
                              if (!item) return false;
                              EXPECT_EQ(item->text, listText(19000, index)) << "item " << id;
                              EXPECT_NE(item->text, listText(17000, index)) << "item " << id;
                              ++checked;
                          }
                          auto* newPlotter = d.find(4, error);
                          EXPECT_EQ(newPlotter->tip, listText(19000, 42));
                          return true;
                      },
                      click(1), click(2)});
    EXPECT_EQ(result, 2);
    EXPECT_EQ(checked, 13);
    EXPECT_EQ(boxText, listText(19000, 78));
    EXPECT_NE(boxText.find("プロッタ"), std::string::npos) << boxText;
}

TEST_F(SetupTest, OnePlotterIsCheckedTheFirstOfTheStoredName)
{
    makeSession();
    hostApp().prefs().putString("Korvel-Ulmaren", "EnvironmentName", "Vinyl");
    start();
    struct Row {
        int32_t marked;      // PlotterReserved of every plotter in the library
        const char* stored;  // the plotter the preferences name
        std::vector<int> shown;
    } rows[] = {
        {0, "Alpha", {1004, 1005, 1005}},  // two of the stored name: the first one
        {1, "Beta", {1005, 1004, 1005}},   // the stored name outweighs the library's marks
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        writeLibrary({"Alpha", "Beta", "Alpha"}, row.marked);
        hostApp().prefs().putString("Korvel-Ulmaren", "PlotterName", row.stored);
        std::vector<int> shown;
        int32_t thirdBits = -1;
        int result = run({[&](Driver& d, std::string&) {
                              shown = pictures(d, kPlotterSetupPlotterListItem);
                              thirdBits = g_Plotter[2].PlotterReserved;
                              return true;
                          },
                          click(kPlotterSetupOKItem)});
        EXPECT_EQ(result, 1);
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(thirdBits & 1, 0);
    }
}

TEST_F(SetupTest, OneEnvironmentIsCheckedTheStoredOneElseTheFirstMarked)
{
    // One plotter whose first and third environments both carry the mark.
    writeLibrary({"Alpha"}, 1);
    std::string text = test::readFile(library());
    std::string one = text.substr(text.find("{\nEnvironmentName="));
    one = one.substr(0, one.rfind("}\n"));  // the environment block, without the plotter's brace
    auto named = [&](const std::string& name, int reserved) {
        std::string e = one;
        e.replace(e.find("Vinyl"), 5, name);
        e.replace(e.find("EnvironmentReserved=0"), 21, "EnvironmentReserved=" + std::to_string(reserved));
        return e;
    };
    text = text.substr(0, text.find("{\nEnvironmentName=")) + named("First", 1) + named("Second", 0) +
           named("Third", 1) + "}\n";
    text.replace(text.find("PlotterEnvNumber=1"), 18, "PlotterEnvNumber=3");
    start();
    struct Row {
        const char* stored;  // the environment the preferences name; nullptr: none
        std::vector<int> shown;
    } rows[] = {
        {nullptr, {1004, 1005, 1005}},   // the library's first mark keeps the check
        {"Second", {1005, 1004, 1005}},  // the stored name outweighs the library's marks
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored != nullptr ? row.stored : "none stored");
        test::writeFile(library(), text);
        if (row.stored != nullptr)
            hostApp().prefs().putString("Korvel-Ulmaren", "EnvironmentName", row.stored);
        else
            hostApp().prefs().remove("Korvel-Ulmaren", "EnvironmentName");
        std::vector<int> shown;
        std::vector<std::string> names;
        int32_t thirdBits = -1;
        run({[&](Driver& d, std::string&) {
                 shown = pictures(d, kPlotterSetupEnvironmentListItem);
                 names = texts(d, kPlotterSetupEnvironmentListItem);
                 thirdBits = g_Plotter[0].Environments[2].EnvironmentReserved;
                 return true;
             },
             click(kPlotterSetupCancelItem)});
        EXPECT_EQ(names, (std::vector<std::string>{"First", "Second", "Third"}));
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(thirdBits & 1, 0);
    }
}

TEST_F(SetupTest, TheCheckColumnTogglesAndMovesTheCheckAndShowsACross)
{
    writeLibrary({"Alpha", "Beta"});
    start();
    std::vector<std::vector<int>> seen;
    auto look = [&](Driver& d, std::string&) {
        seen.push_back(pictures(d, kPlotterSetupPlotterListItem));
        return true;
    };
    // The pointer over each list's first entry, within the check column and past it.
    std::vector<ASInt32> cursors;
    auto hoverAt = [&cursors](ASInt32 id, int h) -> DialogAction {
        return [&cursors, id, h](Driver& d, std::string& e) {
            if (!d.hover(id, ADMPoint{static_cast<ASInt16>(h), 10}, 0, e)) return false;
            cursors.push_back(d.find(id, e)->cursor);
            return true;
        };
    };
    run({press(kPlotterSetupPlotterListItem, 10, 10), look, press(kPlotterSetupPlotterListItem, 10, 30), look,
         press(kPlotterSetupPlotterListItem, 19, 30), look, press(kPlotterSetupPlotterListItem, 20, 10), look,
         hoverAt(kPlotterSetupPlotterListItem, 10), hoverAt(kPlotterSetupPlotterListItem, 20),
         hoverAt(kPlotterSetupEnvironmentListItem, 19), hoverAt(kPlotterSetupEnvironmentListItem, 20),
         hoverAt(kPlotterSetupPenListItem, 10), click(kPlotterSetupCancelItem)});
    // The pen list has no check column: its cursor stays the list's own.
    EXPECT_EQ(cursors, (std::vector<ASInt32>{kADMCrossCursorID, kADMArrowCursorID, kADMCrossCursorID,
                                             kADMArrowCursorID, 0}));
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], (std::vector<int>{1004, 1005})) << "x 10 checks";
    EXPECT_EQ(seen[1], (std::vector<int>{1005, 1004})) << "checking another moves the check";
    EXPECT_EQ(seen[2], (std::vector<int>{1005, 1005})) << "x 19 unchecks the checked one";
    EXPECT_EQ(seen[3], (std::vector<int>{1005, 1005})) << "x 20 is outside the check column";
}

TEST_F(SetupTest, DoubleClicksOpenTheEditorOnlyWithinFiveHundredTicksOnTheSamePixel)
{
    struct Row {
        const char* name;
        uint32_t gap;
        int dh;
        int32_t reserved;
        bool opens;
    } rows[] = {
        {"499 ticks, same pixel", 499, 0, 0, true},
        {"500 ticks", 500, 0, 0, false},
        {"one pixel away", 10, 1, 0, false},
        {"a locked plotter", 10, 0, kPlotterLockedBit, false},
    };
    for (const auto& row : rows) {
        writeLibrary({"Alpha"}, row.reserved);
        if (!started_) start();
        int before = modalsNamed("Plotter Dialog");
        if (row.opens) Toolkit::get().queueDialog("Plotter Dialog", {click(kPlotterEditorCancelItem)});
        run({[&](Driver& d, std::string& e) {
                 Toolkit& tk = Toolkit::get();
                 ADMPoint p{50, 10};
                 if (!d.press(kPlotterSetupPlotterListItem, p, 0, e) || !d.release(p, 0, e)) return false;
                 uint32_t first = tk.ticks - 1;  // the release took one tick
                 // The driver lets 600 ticks pass before every press.
                 tk.ticks = first + row.gap - 600;
                 ADMPoint q{static_cast<ASInt16>(50 + row.dh), 10};
                 return d.press(kPlotterSetupPlotterListItem, q, 0, e) && d.release(q, 0, e);
             },
             click(kPlotterSetupCancelItem)});
        EXPECT_EQ(modalsNamed("Plotter Dialog") - before, row.opens ? 1 : 0) << row.name;
        if (!row.opens) {
            EXPECT_EQ(Toolkit::get().queuedFor("Plotter Dialog"), 0u) << row.name;
        }
    }
}

TEST_F(SetupTest, EachListCountsOnlyItsOwnClicksTowardsADoubleClick)
{
    // Two clicks on the same pixel of one list, 610 ticks apart, with a click
    // on another list 10 ticks before the second: no double click.
    struct Row {
        const char* name;
        ASInt32 list;
        ASInt32 other;
        const char* editor;
    } rows[] = {
        {"plotters, a pen between", kPlotterSetupPlotterListItem, kPlotterSetupPenListItem, "Plotter Dialog"},
        {"environments, a pen between", kPlotterSetupEnvironmentListItem, kPlotterSetupPenListItem,
         "Environment Dialog"},
        {"pens, an environment between", kPlotterSetupPenListItem, kPlotterSetupEnvironmentListItem, "Pen Dialog"},
    };
    for (const auto& row : rows) {
        writeLibrary({"Alpha"});
        if (!started_) start();
        int before = modalsNamed(row.editor);
        run({[&](Driver& d, std::string& e) {
                 ADMPoint p{50, 10};
                 if (!d.press(row.list, p, 0, e) || !d.release(p, 0, e)) return false;
                 if (!d.press(row.other, p, 0, e) || !d.release(p, 0, e)) return false;
                 Toolkit& tk = Toolkit::get();
                 // The release took one tick; the driver lets 600 pass before every press.
                 tk.ticks = tk.ticks - 1 + 10 - 600;
                 return d.press(row.list, p, 0, e) && d.release(p, 0, e);
             },
             click(kPlotterSetupCancelItem)});
        EXPECT_EQ(modalsNamed(row.editor) - before, 0) << row.name;
    }
}

TEST_F(SetupTest, EditorsOpenedByDoubleClicksWriteBackAndRefreshTheDialog)
{
    writeLibrary({"Alpha", "Beta"});
    start();
    auto doubleClick = [](ASInt32 id, int h, int v) -> DialogAction {
        return [=](Driver& d, std::string& e) {
            return d.doubleClick(id, ADMPoint{static_cast<ASInt16>(h), static_cast<ASInt16>(v)}, 0, e);
        };
    };
    auto type = [](ASInt32 id, std::string text) -> DialogAction {
        return [=](Driver& d, std::string& e) { return d.type(id, text, e); };
    };
    Toolkit& tk = Toolkit::get();
    tk.queueDialog("Plotter Dialog",
                   {type(kPlotterEditorNameItem, "Gamma"),
                    [](Driver& d, std::string& e) { return d.choose(kPlotterEditorLanguageItem, "GPGL", e); },
                    click(kPlotterEditorOKItem)});
    tk.queueDialog("Environment Dialog", {type(kEnvironmentEditorNameItem, "Film"), click(kEnvironmentEditorOKItem)});
    tk.queueDialog("Pen Dialog",
                   {type(kPenEditorNameItem, "Blade"), type(kPenEditorPressureItem, "120"), click(kPenEditorOKItem)});
    std::vector<std::string> plotters, environments, pens;
    std::string name, language, pressure;
    run({doubleClick(kPlotterSetupPlotterListItem, 50, 30), doubleClick(kPlotterSetupEnvironmentListItem, 50, 10),
         doubleClick(kPlotterSetupPenListItem, 50, 10),
         [&](Driver& d, std::string& e) {
             plotters = texts(d, kPlotterSetupPlotterListItem);
             environments = texts(d, kPlotterSetupEnvironmentListItem);
             pens = texts(d, kPlotterSetupPenListItem);
             name = d.find(kPlotterSetupNameItem, e)->text;
             language = d.find(kPlotterSetupLanguageItem, e)->text;
             pressure = d.find(kPlotterSetupPressureItem, e)->text;
             return true;
         },
         click(kPlotterSetupCancelItem)});
    EXPECT_EQ(plotters, (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(environments, (std::vector<std::string>{"Film"}));
    EXPECT_EQ(pens, (std::vector<std::string>{"Blade"}));
    EXPECT_EQ(name, "Gamma");
    EXPECT_EQ(language, "GPGL");
    EXPECT_EQ(pressure, "120.00g");
    EXPECT_EQ(tk.queuedFor("Pen Dialog"), 0u);
}

TEST_F(SetupTest, NewOnAnEmptyLibraryMakesOnePlotterEnvironmentAndPenWithDefaults)
{
    test::writeFile(library(), "PlotterNumber=0\n");
    start();
    std::vector<std::string> plotters, environments, pens;
    std::string pressure;
    Plotter made;
    memset(&made, 0, sizeof made);
    run({[&](Driver& d, std::string& e) {
             // Nothing to show yet: the pen's texts and the USB ids keep the
             // look they were made with, the plotter's texts are greyed.
             const struct {
                 int id;
                 const char* text;
                 bool enabled;
             } rows[] = {{kPlotterSetupPressureItem, "    g", true},
                         {kPlotterSetupUSBIdsItem, "    ", true},
                         {kPlotterSetupNameItem, "", false}};
             for (const auto& row : rows) {
                 EXPECT_EQ(d.find(row.id, e)->text, row.text) << row.id;
                 EXPECT_EQ(d.find(row.id, e)->enabled, row.enabled) << row.id;
             }
             return true;
         },
         click(kPlotterSetupNewPlotterItem),
         [&](Driver& d, std::string&) {
             plotters = texts(d, kPlotterSetupPlotterListItem);
             environments = texts(d, kPlotterSetupEnvironmentListItem);
             pens = texts(d, kPlotterSetupPenListItem);
             std::string e;
             pressure = d.find(kPlotterSetupPressureItem, e)->text;
             EXPECT_EQ(kNoErr, copyPlotter(&made, &g_Plotter[0]));
             made.PlotterReserved = g_Plotter[0].PlotterReserved;
             return true;
         },
         click(kPlotterSetupCancelItem)});
    EXPECT_EQ(plotters, (std::vector<std::string>{"New Plotter"}));
    EXPECT_EQ(environments, (std::vector<std::string>{"New Environment"}));
    EXPECT_EQ(pens, (std::vector<std::string>{"New Pen"}));
    EXPECT_EQ(pressure, "10.00g");
    EXPECT_EQ(made.PlotterReserved, 0) << "not checked";
    EXPECT_DOUBLE_EQ(made.PlotterSizeX, 10000.0);
    EXPECT_DOUBLE_EQ(made.PlotterStep, 0.025);
    ASSERT_EQ(made.PlotterEnvNumber, 1);
    EXPECT_EQ(made.Environments[0].EnvironmentReserved, 0);
    ASSERT_EQ(made.Environments[0].PenNumber, 1);
    EXPECT_DOUBLE_EQ(made.Environments[0].Pens[0].Extra, 0.01);
    EXPECT_DOUBLE_EQ(made.Environments[0].Pens[0].maxPressure, 400.0);
    freePlotter(&made);
    EXPECT_EQ(test::readFile(library()), "PlotterNumber=0\n") << "Cancel leaves the file alone";
}

TEST_F(SetupTest, TheValuesOfTheChosenPlotterAndPenAreShownAsTheUserReadsThem)
{
    writeLibrary({"Alpha", "Beta"});
    // Beta differs in every value shown.
    std::string text = test::readFile(library());
    size_t beta = text.find("PlotterName=Beta");
    for (auto [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"PlotterManufactory=M", "PlotterManufactory=Maker B"},
             {"Language=0", "Language=1"},
             {"PlotterSizeX=600.000000", "PlotterSizeX=1250.500000"},
             {"PlotterSizeY=5000.000000", "PlotterSizeY=25000.000000"},
             {"PlotterStep=0.025000", "PlotterStep=0.010000"},
             {"PlotterOrigin=1", "PlotterOrigin=2"},
             {"PlotterPID=1", "PlotterPID=4660"},
             {"PlotterVID=2", "PlotterVID=43981"},
             {"Pressure=80.00", "Pressure=125.50"},
             {"Velocity=30.00", "Velocity=12.25"},
             {"Extra=0.250", "Extra=0.125"}})
        text.replace(text.find(from, beta), from.size(), to);
    test::writeFile(library(), text);
    start();
    using Shown = std::map<int, std::string>;
    std::vector<Shown> seen;
    auto look = [&](Driver& d, std::string& e) {
        Shown shown;
        for (int id : {kPlotterSetupNameItem, kPlotterSetupMakerItem, kPlotterSetupLanguageItem,
                       kPlotterSetupOriginItem, kPlotterSetupStepItem, kPlotterSetupMediaWidthItem,
                       kPlotterSetupMediaLengthItem, kPlotterSetupUSBIdsItem, kPlotterSetupPressureItem,
                       kPlotterSetupVelocityItem, kPlotterSetupExtraItem})
            shown[id] = d.find(id, e)->displayText();
        seen.push_back(shown);
        return true;
    };
    run({look, press(kPlotterSetupPlotterListItem, 50, 30), look, click(kPlotterSetupCancelItem)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], (Shown{{kPlotterSetupNameItem, "Alpha"},
                              {kPlotterSetupMakerItem, "M"},
                              {kPlotterSetupLanguageItem, "HPGL"},
                              {kPlotterSetupOriginItem, "Left-Bottom"},
                              {kPlotterSetupStepItem, "0.02500 mm"},
                              {kPlotterSetupMediaWidthItem, "600.00 mm"},
                              {kPlotterSetupMediaLengthItem, "5000.00 mm"},
                              {kPlotterSetupUSBIdsItem, "0x1/0x2"},
                              {kPlotterSetupPressureItem, "80.00g"},
                              {kPlotterSetupVelocityItem, "30.00cm/s"},
                              {kPlotterSetupExtraItem, "0.25mm"}}));
    EXPECT_EQ(seen[1], (Shown{{kPlotterSetupNameItem, "Beta"},
                              {kPlotterSetupMakerItem, "Maker B"},
                              {kPlotterSetupLanguageItem, "GPGL"},
                              {kPlotterSetupOriginItem, "Left-Top"},
                              {kPlotterSetupStepItem, "0.01000 mm"},
                              {kPlotterSetupMediaWidthItem, "1250.50 mm"},
                              {kPlotterSetupMediaLengthItem, "25000.00 mm"},
                              {kPlotterSetupUSBIdsItem, "0x1234/0xabcd"},
                              {kPlotterSetupPressureItem, "125.50g"},
                              {kPlotterSetupVelocityItem, "12.25cm/s"},
                              {kPlotterSetupExtraItem, "0.12mm"}}));
}

TEST_F(SetupTest, DeleteAndSaveTakeInputWhileAPlotterIsSelected)
{
    writeLibrary({"Alpha", "Beta"});
    start();
    std::vector<std::tuple<bool, int, bool>> seen;  // Delete's input and picture, Save's input
    auto look = [&](Driver& d, std::string& e) {
        auto* del = d.find(kPlotterSetupDeletePlotterItem, e);
        auto* save = d.find(kPlotterSetupSavePlotterItem, e);
        seen.emplace_back(del->enabled, del->picture, save->enabled);
        return true;
    };
    run({look, press(kPlotterSetupPlotterListItem, 50, 30), look, click(kPlotterSetupCancelItem)});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_tuple(true, (int)kADMDeleteEntryPictureID, true)) << "the first is selected at open";
    EXPECT_EQ(seen[1], std::make_tuple(true, (int)kADMDeleteEntryPictureID, true)) << "Beta selected";
}

TEST_F(SetupTest, EachListsButtonsSitInARowOnItsLowerRightCornerOneSizeSharingTheirEdges)
{
    writeLibrary({"Alpha"});
    start();
    struct Row {
        const char* list;
        ASInt32 listItem;
        std::vector<ASInt32> buttons;  // left to right
    } rows[] = {
        {"plotters",
         kPlotterSetupPlotterListItem,
         {kPlotterSetupNewPlotterItem, kPlotterSetupDeletePlotterItem, kPlotterSetupLoadPlotterItem,
          kPlotterSetupSavePlotterItem}},
        {"environments", kPlotterSetupEnvironmentListItem, {kPlotterSetupNewEnvironmentItem, kPlotterSetupDeleteEnvironmentItem}},
        {"pens", kPlotterSetupPenListItem, {kPlotterSetupNewPenItem, kPlotterSetupDeletePenItem}},
    };
    std::map<ASInt32, ADMRect> bounds;
    run({[&](Driver& d, std::string& e) {
             for (const Row& row : rows) {
                 bounds[row.listItem] = d.find(row.listItem, e)->bounds;
                 for (ASInt32 id : row.buttons) bounds[id] = d.find(id, e)->bounds;
             }
             return true;
         },
         click(kPlotterSetupCancelItem)});
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list);
        const ADMRect list = bounds[row.listItem];
        const ADMRect first = bounds[row.buttons.front()];
        for (size_t i = 0; i < row.buttons.size(); ++i) {
            const ADMRect b = bounds[row.buttons[i]];
            EXPECT_EQ(b.right - b.left, first.right - first.left) << i;
            EXPECT_EQ(b.bottom - b.top, first.bottom - first.top) << i;
            // On the list's bottom edge, each on the right edge of the one before.
            EXPECT_EQ(b.top, list.bottom - 1) << i;
            if (i > 0) {
                EXPECT_EQ(b.left, bounds[row.buttons[i - 1]].right - 1) << i;
            }
        }
        EXPECT_EQ(bounds[row.buttons.back()].right, list.right - 1);
    }
}

TEST_F(SetupTest, DeletingEverythingThenOkKeepsTheDialogOpenAndCancelLeavesTheFile)
{
    writeLibrary({"Alpha", "Beta"});
    start();
    std::string before = test::readFile(library());
    bool deleteActive = true;
    run({click(kPlotterSetupDeletePlotterItem), click(kPlotterSetupDeletePlotterItem),
         [&](Driver& d, std::string& e) {
             deleteActive = d.find(kPlotterSetupDeletePlotterItem, e)->enabled;
             return true;
         },
         click(kPlotterSetupCancelItem)});
    EXPECT_FALSE(deleteActive);
    EXPECT_EQ(test::readFile(library()), before);
}

TEST_F(SetupTest, TheEnvironmentAndPenListsAddAndDeleteAlike)
{
    struct Row {
        const char* list;
        ASInt32 id, newButton, deleteButton;
        const char* added;  // a new environment is a default one, a new pen copies the selected pen
    } rows[] = {
        {"environments", 32, 43, 44, "New Environment"},
        {"pens", 34, 45, 46, "Knife"},
    };
    auto selectedEntry = [](Driver& d, ASInt32 id) {
        std::string error;
        auto* item = d.find(id, error);
        for (size_t i = 0; item && item->list && i < item->list->entries.size(); ++i)
            if (item->list->entries[i]->selected) return static_cast<int>(i);
        return -1;
    };
    writeLibrary({"Alpha"});
    start();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list);
        std::vector<std::string> afterNew, afterDeletes;
        int selectedAfterNew = -2, selectedAfterDeletes = -2;
        bool deleteAfterNew = false, deleteAfterDeletes = true;
        run({click(row.newButton),
             [&](Driver& d, std::string& e) {
                 afterNew = texts(d, row.id);
                 selectedAfterNew = selectedEntry(d, row.id);
                 deleteAfterNew = d.find(row.deleteButton, e)->enabled;
                 return true;
             },
             click(row.deleteButton), click(row.deleteButton),
             [&](Driver& d, std::string& e) {
                 afterDeletes = texts(d, row.id);
                 selectedAfterDeletes = selectedEntry(d, row.id);
                 deleteAfterDeletes = d.find(row.deleteButton, e)->enabled;
                 return true;
             },
             click(2)});
        EXPECT_EQ(afterNew, (std::vector<std::string>{row.id == 32 ? "Vinyl" : "Knife", row.added}));
        EXPECT_EQ(selectedAfterNew, 1) << "the new record is selected";
        EXPECT_TRUE(deleteAfterNew);
        EXPECT_TRUE(afterDeletes.empty());
        EXPECT_EQ(selectedAfterDeletes, -1);
        EXPECT_FALSE(deleteAfterDeletes);
    }
}

TEST_F(SetupTest, AnUnreadableLibraryIsReportedAndNeverWrittenOver)
{
    writeLibrary({"Alpha", "Beta"});
    std::string damaged = test::readFile(library());
    damaged.resize(damaged.size() - damaged.size() / 3);
    test::writeFile(library(), damaged);
    start();
    const std::string installed = g->pluginRef->filePath;
    struct Row {
        const char* what;
        bool folderKnown;
        std::vector<DialogAction> actions;
        int result;
        const char* told;
    } rows[] = {
        // The plotter read before the damage can still be chosen.
        {"damaged", true,
         {press(kPlotterSetupPlotterListItem, 10, 10), press(kPlotterSetupEnvironmentListItem, 10, 10),
          click(kPlotterSetupOKItem)},
         1, "is damaged"},
        // No plotter: OK asks for one and the dialog stays open.
        {"folder unknown", false, {click(kPlotterSetupOKItem), click(kPlotterSetupCancelItem)}, 2,
         "cannot be found: the plug-in's folder is unknown"},
    };
    for (Row& row : rows) {
        SCOPED_TRACE(row.what);
        size_t before = hostApp().alerts().size();
        if (!row.folderKnown) {
            g->pluginRef->filePath = "/" + std::string(2 * kSPMaxPathLength, 'd') + "/Vantorel.so";
            Toolkit::get().queueDialog("Error Message Dialog",
                                       {[](Driver& d, std::string& e) { return d.click(kErrorMessageOKItem, e); }});
        }
        int result = run(std::move(row.actions));
        g->pluginRef->filePath = installed;
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(test::readFile(library()), damaged);
        bool told = false, notRewritten = false;
        for (size_t i = before; i < hostApp().alerts().size(); ++i) {
            told |= hostApp().alerts()[i].text.find(row.told) != std::string::npos;
            notRewritten |= hostApp().alerts()[i].text.find("was not rewritten") != std::string::npos;
        }
        EXPECT_TRUE(told);
        EXPECT_TRUE(notRewritten);
    }
}

TEST_F(SetupTest, SaveSuggestsASafeNameAndReportsAFailedWrite)
{
    writeLibrary({"../../etc/cutter"});
    start();
    Toolkit& tk = Toolkit::get();
    std::string good = dir_.file("export/cutter.INI");
    fs::create_directories(dir_.file("export"));
    tk.fileAnswers.push_back(good);
    tk.fileAnswers.push_back(dir_.file("missing/folder/cutter.INI"));
    run({click(kPlotterSetupSavePlotterItem), click(kPlotterSetupSavePlotterItem), click(kPlotterSetupCancelItem)});
    bool suggested = false;
    // Separators and the leading dot are replaced: the name stays in the folder.
    for (const auto& r : tk.reports) suggested |= r.find("(_._.._etc_cutter.INI)") != std::string::npos;
    EXPECT_TRUE(suggested);
    Plotter back;
    memset(&back, 0, sizeof back);
    ASSERT_EQ(readPlotterFile(good.c_str(), &back), 0);
    EXPECT_STREQ(back.PlotterName, "../../etc/cutter");
    freePlotter(&back);
    ASSERT_FALSE(hostApp().alerts().empty());
    EXPECT_NE(hostApp().alerts().back().text.find("could not be saved"), std::string::npos);
}

TEST_F(SetupTest, APlotterSavedThenLoadedComesBackAndBadFilesLoadNothing)
{
    writeLibrary({"Alpha", "Beta"});
    start();
    Toolkit& tk = Toolkit::get();
    const std::string saved = dir_.file("beta.INI"), damaged = dir_.file("damaged.INI"),
                      unusable = dir_.file("unusable.INI");
    test::writeFile(damaged, "PlotterName=half a plotter\n");
    // Beta's own file, once saved, with a step no cutter has.
    auto unusableFromSaved = [&](Driver&, std::string&) {
        std::string text = test::readFile(saved);
        text.replace(text.find("PlotterStep=0.025000"), 20, "PlotterStep=0.000000");
        test::writeFile(unusable, text);
        return true;
    };
    std::vector<std::vector<std::string>> lists;
    auto look = [&](Driver& d, std::string&) {
        lists.push_back(texts(d, kPlotterSetupPlotterListItem));
        return true;
    };
    for (const std::string& answer : {saved, saved, damaged, unusable, dir_.file("missing.INI")})
        tk.fileAnswers.push_back(answer);
    tk.fileAnswers.push_back(std::nullopt);  // the last load cancelled
    const size_t alertsBefore = hostApp().alerts().size();
    run({press(kPlotterSetupPlotterListItem, 50, 30), click(kPlotterSetupSavePlotterItem), unusableFromSaved,
         click(kPlotterSetupDeletePlotterItem), look, click(kPlotterSetupLoadPlotterItem), look,
         click(kPlotterSetupLoadPlotterItem), click(kPlotterSetupLoadPlotterItem),
         click(kPlotterSetupLoadPlotterItem), click(kPlotterSetupLoadPlotterItem), look,
         click(kPlotterSetupCancelItem)});
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists[0], (std::vector<std::string>{"Alpha"}));
    EXPECT_EQ(lists[1], (std::vector<std::string>{"Alpha", "Beta"})) << "loaded back at the end";
    EXPECT_EQ(lists[2], lists[1]) << "nothing else was loaded";
    std::vector<std::string> said;
    for (size_t i = alertsBefore; i < hostApp().alerts().size(); ++i) said.push_back(hostApp().alerts()[i].text);
    ASSERT_EQ(said.size(), 3u);
    EXPECT_EQ(said[0], "The plotter file \"" + damaged + "\" is damaged or is not a plotter file. Nothing was loaded.");
    EXPECT_NE(said[1].find("The plotter file \"" + unusable + "\" holds a plotter that cannot be used: "),
              std::string::npos);
    EXPECT_NE(said[1].find("PlotterStep is 0"), std::string::npos) << said[1];
    EXPECT_NE(said[2].find("Open Non-exist file"), std::string::npos);
}

// choosePlotter with the dialog opened in process the way the menu opens it.
class ChoosePlotterTest : public SetupTest {
protected:
    void SetUp() override
    {
        saved_ = app::plotterSetupOpener();
        app::plotterSetupOpener() = [](host::Session&, std::string&) {
            (void)goPlotterSetup();  // its result is the dialog's; the tests look at the dialog
            return true;
        };
    }
    void TearDown() override
    {
        app::plotterSetupOpener() = saved_;
        SetupTest::TearDown();
    }
    app::PlotterSetupOpener saved_;
};

TEST_F(ChoosePlotterTest, LeavesThePlotterItsFirstEnvironmentAndItsPensInThePreferences)
{
    start();
    std::string error;
    ASSERT_TRUE(app::choosePlotter(session(), "Generic 48in Drag Knife", "", error)) << error;
    auto& prefs = hostApp().prefs();
    std::string name, environment, pen;
    int32_t pens = 0;
    EXPECT_TRUE(prefs.getString("Korvel-Ulmaren", "PlotterName", &name));
    EXPECT_EQ(name, "Generic 48in Drag Knife");
    EXPECT_TRUE(prefs.getString("Korvel-Ulmaren", "EnvironmentName", &environment));
    EXPECT_EQ(environment, "Vinyl");
    EXPECT_TRUE(prefs.getInteger("Korvel-Ulmaren", "EnvironmentPenNum", &pens));
    EXPECT_GT(pens, 0);
    EXPECT_TRUE(prefs.getString("Korvel-Ulmaren", "PenName-" + std::to_string(pens - 1), &pen));
    EXPECT_FALSE(pen.empty());

    // A second choice with a named environment moves both checks.
    ASSERT_TRUE(app::choosePlotter(session(), "Generic 24in Drag Knife", "Sandblast Stencil", error)) << error;
    prefs.getString("Korvel-Ulmaren", "PlotterName", &name);
    prefs.getString("Korvel-Ulmaren", "EnvironmentName", &environment);
    EXPECT_EQ(name, "Generic 24in Drag Knife");
    EXPECT_EQ(environment, "Sandblast Stencil");
}

TEST_F(ChoosePlotterTest, UnknownNamesGiveAClearErrorAndChangeNothing)
{
    start();
    std::string error;
    EXPECT_FALSE(app::choosePlotter(session(), "", "", error));
    EXPECT_EQ(error, "no plotter name given");
    EXPECT_FALSE(app::choosePlotter(session(), "No Such Cutter", "", error));
    EXPECT_EQ(error.rfind("no plotter named \"No Such Cutter\" in the plotter library (it holds \"Generic 24in", 0), 0u)
        << error;
    EXPECT_FALSE(app::choosePlotter(session(), "Generic 48in Drag Knife", "Glass", error));
    EXPECT_EQ(error,
              "the plotter \"Generic 48in Drag Knife\" has no environment named \"Glass\" (it holds "
              "\"Vinyl\", \"Heat Transfer Film\")");
    EXPECT_FALSE(hostApp().prefs().has("Korvel-Ulmaren", "PlotterName"));
    EXPECT_TRUE(Toolkit::get().failures.empty()) << "the failure went to the caller";
}

// ---- vantorel-host setup --------------------------------------------------------------

int runSetup(const test::TempDir& dir, const std::string& arguments, std::string* output)
{
    std::string outPath = dir.file("out.txt");
    std::string command = std::string("\"") + VANTOREL_HOST_EXE + "\" --prefs \"" + dir.file("prefs.json") +
                          "\" --plugin-folder \"" + dir.file("Plug-ins") + "\" --module \"" + VANTOREL_MODULE_PATH +
                          "\" setup " + arguments + " > \"" + outPath + "\" 2>&1";
    int status = std::system(command.c_str());
    *output = test::readFile(outPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HostSetupCommand, ChoosesThePlotterOnAFreshPluginFolder)
{
    test::TempDir dir;
    std::string output;
    int status = runSetup(dir, "--plotter \"Generic 15in Desktop Cutter\"", &output);
    ASSERT_EQ(status, 0) << output;
    host::Preferences prefs(dir.file("prefs.json"));
    std::string name, environment;
    int32_t pens = 0;
    EXPECT_TRUE(prefs.getString("Korvel-Ulmaren", "PlotterName", &name));
    EXPECT_EQ(name, "Generic 15in Desktop Cutter");
    EXPECT_TRUE(prefs.getString("Korvel-Ulmaren", "EnvironmentName", &environment));
    EXPECT_EQ(environment, "Vinyl");
    EXPECT_TRUE(prefs.getInteger("Korvel-Ulmaren", "EnvironmentPenNum", &pens));
    EXPECT_GT(pens, 0);
    EXPECT_TRUE(prefs.has("Korvel-Ulmaren", "PenName-0"));

    // The rest of the system now sees a complete current plotter.
    test::writeFile(dir.file("check.vts"), "expect-menu \"Plot Out\" enabled\n");
    std::string command = std::string("\"") + VANTOREL_HOST_EXE + "\" --prefs \"" + dir.file("prefs.json") +
                          "\" --plugin-folder \"" + dir.file("Plug-ins") + "\" --module \"" + VANTOREL_MODULE_PATH +
                          "\" run \"" + dir.file("check.vts") + "\" > \"" + dir.file("run.txt") + "\" 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << test::readFile(dir.file("run.txt"));

    EXPECT_EQ(runSetup(dir, "--plotter \"No Such Cutter\"", &output), 1);
    EXPECT_NE(output.find("no plotter named \"No Such Cutter\""), std::string::npos) << output;
}

TEST(HostSetupScript, AScriptDrivesTheDialogAndItsEditors)
{
    test::TempDir dir;
    test::writeFile(dir.file("setup.vts"), R"(dialog "Plotter Setup Dialog"
  press 3 10 30
  release 10 30
  expect-text 10 "Generic 48in Drag Knife"
  press 32 10 30
  release 10 30
  double-click 34 50 10
  expect-text 36 "95.00g"
  click 1
end-dialog
dialog "Pen Dialog"
  type 6 95
  click 1
end-dialog
menu "Plotter Setup"
expect-dialog "Plotter Setup Dialog" 1
)");
    std::string command = std::string("\"") + VANTOREL_HOST_EXE + "\" --prefs \"" + dir.file("prefs.json") +
                          "\" --plugin-folder \"" + dir.file("Plug-ins") + "\" --module \"" + VANTOREL_MODULE_PATH +
                          "\" run \"" + dir.file("setup.vts") + "\" > \"" + dir.file("out.txt") + "\" 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << test::readFile(dir.file("out.txt"));
    host::Preferences prefs(dir.file("prefs.json"));
    std::string name, environment;
    double pressure = 0;
    prefs.getString("Korvel-Ulmaren", "PlotterName", &name);
    prefs.getString("Korvel-Ulmaren", "EnvironmentName", &environment);
    prefs.getReal("Korvel-Ulmaren", "PenPressure-0", &pressure);
    EXPECT_EQ(name, "Generic 48in Drag Knife");
    EXPECT_EQ(environment, "Heat Transfer Film");
    EXPECT_DOUBLE_EQ(pressure, 95.0);
    EXPECT_NE(test::readFile(dir.file("Plug-ins/PlotterSetup.txt")).find("Pressure=95.00"), std::string::npos)
        << "the library keeps the edited pen";
}

}  // namespace
