// The dialog-item loader: rows become items with texts, tips and pictures
// from the language's string list; BoundsSet; OS_fopen.
#include "Common/OSFile.h"
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/ItemControl.h"
#include "HostFixture.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Item;

namespace {

class ItemControlTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { releaseSuites(hostApp().basic()); }

    Dialog* load(const Item_Control_arg* table, int count, int* result)
    {
        g_table = table;
        g_count = count;
        ADMDialogRef d = sADMDialog->Create(g->pluginRef, "Loader Dialog", 1, kADMFloatingDialogStyle,
                                            [](ADMDialogRef dialog) -> ASErr {
                                                g_result = LoadItemControl(g_table, g_count, dialog);
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
};

const Item_Control_arg* ItemControlTest::g_table = nullptr;
int ItemControlTest::g_count = 0;
int ItemControlTest::g_result = 0;
int ItemControlTest::g_initCalls = 0;

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
