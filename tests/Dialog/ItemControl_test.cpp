// The dialog-item loader: rows become items with texts, tips and pictures
// from the language's string list, and a dialog whose items cannot all be
// made is closed with an alert; BoundsSet; OS_fopen.
#include <cstring>
#include <filesystem>
#include <functional>

#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PlotterLibrary.h"
#include "Dialog/About.h"
#include "Dialog/EnvironmentEditor.h"
#include "Dialog/ItemControl.h"
#include "Dialog/OutputPreview.h"
#include "Dialog/PenEditor.h"
#include "Dialog/PlotterEditor.h"
#include "Dialog/PlotterSetup.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

class ItemControlTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }

    // A floating dialog built by LoadItemControl, or by loadDialogItems as
    // the plug-in's dialogs build theirs.
    Dialog* load(const Item_Control_arg* table, int count, int* result, bool asDialog = false)
    {
        g_table = table;
        g_count = count;
        g_asDialog = asDialog;
        ADMDialogRef d = sADMDialog->Create(g->pluginRef, "Loader Dialog", 1, kADMFloatingDialogStyle,
                                            [](ADMDialogRef dialog) -> ASErr {
                                                g_result = g_asDialog ? loadDialogItems(g_table, g_count, dialog)
                                                                      : LoadItemControl(g_table, g_count, dialog);
                                                return kNoErr;
                                            },
                                            nullptr, 0);
        *result = g_result;
        return reinterpret_cast<Dialog*>(d);
    }

public:
    static const Item_Control_arg* g_table;
    static int g_count;
    static int g_result;
    static int g_initCalls;
    static bool g_asDialog;
};

const Item_Control_arg* ItemControlTest::g_table = nullptr;
int ItemControlTest::g_count = 0;
int ItemControlTest::g_result = 0;
int ItemControlTest::g_initCalls = 0;
bool ItemControlTest::g_asDialog = false;

TEST(BoundsSet, BuildsTopLeftBottomRight)
{
    ADMRect r;
    BoundsSet(&r, 355, 100, 5, 21);
    EXPECT_EQ(r.top, 5);
    EXPECT_EQ(r.left, 355);
    EXPECT_EQ(r.bottom, 26);
    EXPECT_EQ(r.right, 455);
}

ASErr countInit(ADMItemRef item)
{
    // Runs before the loader sets the text: the item has none yet.
    char text[8];
    sADMItem->GetText(item, text, sizeof text);
    if (text[0] == 0) ++ItemControlTest::g_initCalls;
    return kNoErr;
}

TEST_F(ItemControlTest, RowsBecomeItemsWithTextsTipsAndPictures)
{
    g_initCalls = 0;
    static int userData = 7;
    const Item_Control_arg table[] = {
        {kADMFrameType, 0, 0, 0, 8, 2, 171, 2, 237, nullptr, nullptr},                        // bare
        {kADMTextPushButtonType, 12, 0, 0, 1, 355, 100, 5, 21, countInit, &userData},         // text
        {kADMPicturePushButtonType, 0, 44, 1002, 6, 106, 32, 220, 16, nullptr, nullptr},       // tip, picture
        {kADMTextStaticType, 9999, 0, 0, 9, 180, 110, 22, 15, nullptr, nullptr},                // index the list lacks
    };
    int result = 0;
    Dialog* d = load(table, 4, &result);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(d->items.size(), 4u);

    Item* bare = d->item(8);
    EXPECT_EQ(bare->typeName, kADMFrameType);
    EXPECT_EQ(bare->text, "");
    EXPECT_EQ(bare->picture, 0);
    EXPECT_FALSE(bare->tipEnabled);
    EXPECT_EQ(bare->bounds.bottom, 239);

    Item* ok = d->item(1);
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->userData, &userData);
    EXPECT_FALSE(ok->tipEnabled);  // no tip index: the toolkit's default stays
    EXPECT_EQ(g_initCalls, 1);

    Item* load = d->item(6);
    EXPECT_EQ(load->picture, 1002);
    EXPECT_EQ(load->selectedPicture, 1002);
    EXPECT_EQ(load->disabledPicture, 0);
    EXPECT_EQ(load->tip, "Load a plotter from a file");
    EXPECT_TRUE(load->tipEnabled);

    EXPECT_EQ(d->item(9)->text, "");
}

TEST_F(ItemControlTest, TheFirstRefusedItemStopsTheLoaderAndTheEarlierOnesStay)
{
    const Item_Control_arg table[] = {
        {kADMTextStaticType, 13, 0, 0, 2, 75, 225, 12, 15, nullptr, nullptr},
        {"ADM Unknown Type", 0, 0, 0, 3, 0, 10, 0, 10, nullptr, nullptr},
        {kADMTextStaticType, 14, 0, 0, 4, 75, 325, 34, 15, nullptr, nullptr},
    };
    int result = 0;
    Dialog* d = load(table, 3, &result);
    EXPECT_EQ(result, -1);
    ASSERT_EQ(d->items.size(), 1u);
    EXPECT_EQ(d->items[0]->text, "Vantorel");
}

const char* const kNotBuilt = "The dialog could not be built completely and was closed.";

TEST_F(ItemControlTest, AFloatingDialogThatCannotBeBuiltIsSaidSoAndNotShown)
{
    const Item_Control_arg refused[] = {
        {kADMTextStaticType, 13, 0, 0, 2, 75, 225, 12, 15, nullptr, nullptr},
        {"ADM Unknown Type", 0, 0, 0, 3, 0, 10, 0, 10, nullptr, nullptr},
    };
    int result = 0;
    Dialog* d = load(refused, 2, &result, true);
    EXPECT_EQ(result, -1);
    EXPECT_FALSE(d->visible);
    ASSERT_EQ(hostApp().alerts().size(), 1u);
    EXPECT_EQ(hostApp().alerts()[0].text.rfind(kNotBuilt, 0), 0u) << hostApp().alerts()[0].text;

    d = load(refused, 1, &result, true);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(d->visible);
    EXPECT_EQ(hostApp().alerts().size(), 1u) << "no alert when every item is made";
}

// Every modal dialog of the plug-in, opened while the toolkit refuses its
// third item: an alert, and the dialog ends before anyone can work in it,
// as a cancel that changes nothing.
TEST_F(ItemControlTest, AModalDialogThatCannotBeBuiltIsSaidSoAndEndsAtOnce)
{
    Plotter plotter;
    memset(&plotter, 0, sizeof plotter);
    EXPECT_EQ(kNoErr, copyPlotter(&plotter, nullptr));
    Plotter plotterBefore = plotter;
    Environment environment;
    EXPECT_EQ(kNoErr, copyEnvironment(&environment, nullptr));
    Pen pen;
    EXPECT_EQ(kNoErr, copyPen(&pen, nullptr));
    Pen penBefore = pen;
    std::filesystem::create_directories(pluginFolder());
    test::writeFile(pluginFolder() + "/" kPreviewFileName, "IN;\nPU0,0;\nPD100,100;\n");
    SPInterfaceMessage about{};
    about.d.self = g->pluginRef;
    std::string library = test::readFile(pluginFolder() + "/PlotterSetup.txt");

    struct Row {
        const char* dialog;
        std::function<int()> open;
        int result;  // what the opener returns
    } rows[] = {
        {kAboutDialog.name, [&] { return (int)goAbout(&about); }, 2},
        {kPlotterSetupDialog.name, [] { return (int)goPlotterSetup(); }, 2},
        {kPlotterDialog.name, [&] { return goPlotter(&plotter); }, 0},
        {kEnvironmentDialog.name, [&] { return goEnvironment(&environment); }, 0},
        {kPenDialog.name, [&] { return goPen(&pen); }, 0},
        {kPreviewDialog.name, [] { return goOutputPreview(nullptr); }, 2},
    };
    Toolkit& tk = Toolkit::get();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog);
        bool worked = false;
        tk.queueDialog(row.dialog, {[&worked](Driver&, std::string&) { return worked = true; }});
        size_t alerts = hostApp().alerts().size();
        int result = 0;
        {
            test::RefuseItems refuse(3);
            result = row.open();
        }
        EXPECT_EQ(result, row.result);
        EXPECT_FALSE(worked) << "nobody worked in the half-built dialog";
        ASSERT_EQ(hostApp().alerts().size(), alerts + 1);
        EXPECT_EQ(hostApp().alerts().back().text.rfind(kNotBuilt, 0), 0u) << hostApp().alerts().back().text;
        ASSERT_FALSE(tk.modalLog.empty());
        EXPECT_EQ(tk.modalLog.back().name, row.dialog);
        EXPECT_TRUE(tk.modalLog.back().cancelled);
        tk.failures.clear();
    }
    EXPECT_EQ(memcmp(&pen, &penBefore, sizeof pen), 0);
    EXPECT_STREQ(plotter.PlotterName, plotterBefore.PlotterName);
    EXPECT_EQ(test::readFile(pluginFolder() + "/PlotterSetup.txt"), library) << "the library is not rewritten";
    EXPECT_EQ(g_Plotter, nullptr) << "the library read for the setup dialog is released";
    freePlotter(&plotter);
}

TEST_F(ItemControlTest, OSFopenOpensTheFileOfASpecification)
{
    SPPlatformFileSpecification spec{};
    std::string path = dir_.file("Temp.HPGL");
    std::snprintf(spec.path, sizeof spec.path, "%s", path.c_str());
    FILE* out = OS_fopen(&spec, "w");
    ASSERT_NE(out, nullptr);
    std::fputs("IN;", out);
    std::fclose(out);
    EXPECT_EQ(test::readFile(path), "IN;");

    std::snprintf(spec.path, sizeof spec.path, "%s", dir_.file("no/such/folder/x").c_str());
    EXPECT_EQ(OS_fopen(&spec, "r"), nullptr);
    EXPECT_EQ(OS_fopen(nullptr, "r"), nullptr);

    // A specification filled to the last byte, without a terminator, is
    // read within its bounds and refused by the file system, not overrun.
    std::memset(spec.path, 'a', sizeof spec.path);
    spec.path[0] = '/';
    EXPECT_EQ(OS_fopen(&spec, "r"), nullptr);
}

}  // namespace
