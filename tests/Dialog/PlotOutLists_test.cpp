// The Plot Out dialog's cut order: the layer and colour lists, their entries'
// eyes, drags and double clicks, the pen setup they open, the automatic order
// button and the manual order tools.
#include <cstring>

#include "Core/ColorLayer.h"
#include "Dialog/ColorLayerDialog.h"
#include "Dialog/PlotOutLists.h"
#include "PlotOutJobFixture.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

class PlotOutListsTest : public test::PlotOutJobTest {
protected:
    static bool isShown(double loadedLeft) { return (volumeAt(loadedLeft).flags & kVolumeVisible) != 0; }
    static void expectShown(bool a, bool b, bool c, const char* what)
    {
        EXPECT_EQ(isShown(0), a) << what << ": A";
        EXPECT_EQ(isShown(40), b) << what << ": B";
        EXPECT_EQ(isShown(100), c) << what << ": C";
    }
    static void expectGroupChoice(Dialog& d, bool active, const char* what)
    {
        for (int id : {kPlotOutLayerListItem, kPlotOutColorListItem, kPlotOutCutByLayerItem, kPlotOutCutByColorItem})
            EXPECT_EQ(d.item(id)->enabled, active) << what << ": item " << id;
    }
    static DialogAction finishManualSort(int radio)
    {
        return inDialog([radio](Dialog& d) { Toolkit::get().notify(d.item(radio), kManuSortFinishedNotify); });
    }
};

TEST_F(PlotOutListsTest, ManualOrderToolsHoldTheGroupChoiceUntilTheSortIsFinished)
{
    struct Row {
        const char* name;
        int radio;
        int32_t opType;
    } rows[] = {
        {"renumber", kPlotOutRenumberToolItem, kPreviewOpRenumber},
        {"swap", kPlotOutSwapToolItem, kPreviewOpSwap},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        plotOut({
            inDialog([](Dialog& d) {
                EXPECT_EQ(d.item(kPlotOutRenumberToolItem)->value, 0.0f);
                EXPECT_EQ(d.item(kPlotOutSwapToolItem)->value, 0.0f);
            }),
            check([] {
                g_iCurrentIndex = 7;
                g_iSwapA = g_iSwapB = 2;
            }),
            click(row.radio),
            check([&] {
                EXPECT_EQ(g_iPreviewOpType, row.opType);
                if (row.opType == kPreviewOpRenumber) {
                    EXPECT_EQ(g_iCurrentIndex, 0);
                } else {
                    EXPECT_EQ(g_iSwapA, -1);
                    EXPECT_EQ(g_iSwapB, -1);
                }
                // No entry is active: the first layer's volumes only.
                expectShown(true, true, false, "while ordering");
            }),
            inDialog([](Dialog& d) { expectGroupChoice(d, false, "while ordering"); }),
            finishManualSort(row.radio),
            inDialog([&](Dialog& d) {
                expectGroupChoice(d, true, "after the sort");
                EXPECT_EQ(d.item(row.radio)->value, 0.0f) << "the tool's radio is off";
                EXPECT_EQ(d.item(kPlotOutSelectToolItem)->value, 1.0f) << "the select tool is back";
            }),
            check([] {
                EXPECT_EQ(g_iPreviewOpType, kPreviewOpSelect);
                expectShown(true, true, true, "each layer's own flag again");
            }),
            click(kPlotOutExitItem),
        });
    }
}

TEST_F(PlotOutListsTest, TheManualOrderWorksOnTheGroupLastPressedInTheList)
{
    plotOut({
        check([] { EXPECT_STREQ(g_lyLoad[1].name, "Bottom"); }),
        press(kPlotOutLayerListItem, 100, 30),
        release(100, 30),
        click(kPlotOutRenumberToolItem),
        check([] { expectShown(false, false, true, "only the layer Bottom"); }),
        finishManualSort(kPlotOutRenumberToolItem),
        check([] { expectShown(true, true, true, "every layer again"); }),
        click(kPlotOutExitItem),
    });
}

TEST_F(PlotOutListsTest, AutomaticOrderNumbersTheGroupsOfTheListShown)
{
    plotOut({
        click(kPlotOutAutoOrderItem),
        check([] {
            // By layer: the first layer's volumes from 1, left to right.
            int32_t a = volumeAt(0).index, b = volumeAt(40).index, c = volumeAt(100).index;
            EXPECT_EQ(c, 1) << "C alone on its layer";
            EXPECT_EQ(a, 1);
            EXPECT_EQ(b, 2);
        }),
        click(kPlotOutCutByColorItem),
        click(kPlotOutAutoOrderItem),
        check([] {
            // By colour: red A (0) and C (100), then blue B.
            EXPECT_EQ(volumeAt(0).index, 1);
            EXPECT_EQ(volumeAt(100).index, 2);
            EXPECT_EQ(volumeAt(40).index, 1);
        }),
        click(kPlotOutExitItem),
    });
}


// ---- The lists ---------------------------------------------------------------------------

// The Driver waits a gesture's pause (600 ticks) before every press; two
// presses `apart` ticks apart at p1 and p2 of an item.
static host::toolkit::DialogAction twoPresses(int id, ADMPoint p1, ADMPoint p2, uint32_t apart)
{
    return [=](host::toolkit::Driver& user, std::string& e) {
        if (!user.press(id, p1, 0, e)) return false;
        uint32_t first = Toolkit::get().ticks;
        if (!user.release(p1, 0, e)) return false;
        Toolkit::get().ticks = first + apart - 600;
        return user.press(id, p2, 0, e) && user.release(p2, 0, e);
    };
}

TEST_F(PlotOutListsTest, TheListsShowTheTablesWithTheirEyesAndSwatches)
{
    plotOut({
        inDialog([](Dialog& d) {
            Item* layers = d.item(kPlotOutLayerListItem);
            Item* colors = d.item(kPlotOutColorListItem);
            ASSERT_EQ(layers->list->entries.size(), 2u);
            ASSERT_EQ(colors->list->entries.size(), 2u);
            EXPECT_TRUE(layers->visible);
            EXPECT_FALSE(colors->visible);
            EXPECT_EQ(layers->list->entryHeight, 20);
            EXPECT_EQ(layers->list->entryWidth, 200);
            EXPECT_EQ(layers->list->mask & kADMMouseMovedUpMask, kADMMouseMovedUpMask);
            EXPECT_EQ(layers->list->entries[0]->text, std::string("   ") + g_lyLoad[0].name);
            EXPECT_EQ(layers->list->entries[0]->picture, kEntryVisiblePicture);
            EXPECT_EQ(colors->list->entries[1]->text, std::string("   ") + g_clLoad[1].name);
        }),
        // The colour list's swatches: red first, then blue.
        click(kPlotOutCutByColorItem),
        inDialog([](Dialog& d) {
            Item* colors = d.item(kPlotOutColorListItem);
            Toolkit::get().draw(colors);
            // The first swatch: a black frame of pixels 24..32 by 5..13, red up to it on every side.
            for (int x = 24; x <= 32; ++x)
                for (int y = 5; y <= 13; ++y) {
                    bool frame = x == 24 || x == 32 || y == 5 || y == 13;
                    EXPECT_EQ(colors->raster.pixel(x, y) & 0xFFFFFF, frame ? 0x000000L : 0xFF0000L) << x << "," << y;
                }
            EXPECT_EQ(colors->raster.pixel(28, 29) & 0xFFFFFF, 0x0000FF) << "blue in the second";
        }),
        click(kPlotOutExitItem),
    });
}

// A job of one rectangle that is outlined but not filled: it has no colour.
class PlotOutUncolouredJob : public PlotOutListsTest {
protected:
    void SetUp() override
    {
        startSession();
        putPlotter();
        openJob(R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect x="10" y="80" width="20" height="10" fill="none" stroke="#000000"/>
</svg>)");
    }
};

TEST_F(PlotOutUncolouredJob, NoColourShowsAsAStrokeAcrossAnEmptySwatch)
{
    plotOut({
        click(kPlotOutCutByColorItem),
        inDialog([](Dialog& d) {
            Item* colors = d.item(kPlotOutColorListItem);
            ASSERT_EQ(colors->list->entries.size(), 1u);
            Toolkit::get().draw(colors);
            // The black frame of pixels 24..32 by 5..13, white inside, crossed from
            // its lower left to its upper right by a grey band three pixels wide.
            for (int x = 24; x <= 32; ++x)
                for (int y = 5; y <= 13; ++y) {
                    bool band = x > 24 && y > 5 && x + y >= 38 && x + y <= 40;
                    bool frame = x == 24 || x == 32 || y == 5 || y == 13;
                    long expected = band ? 0xB4B4B4L : frame ? 0x000000L : 0xFFFFFFL;
                    EXPECT_EQ(colors->raster.pixel(x, y) & 0xFFFFFF, expected) << x << "," << y;
                }
        }),
        click(kPlotOutExitItem),
    });
}

TEST_F(PlotOutListsTest, TheEyeLiesFromThreeToNineteenPixelsAcrossAnEntry)
{
    struct Row {
        const char* name;
        int h;
        bool toggles;
    } rows[] = {{"x 2: left of the eye", 2, false},
                {"x 3: the eye's first pixel", 3, true},
                {"x 19: its last", 19, true},
                {"x 20: right of it", 20, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        plotOut({
            // Entry 1 (v 20 to 39); far apart in time, so no double click.
            press(kPlotOutLayerListItem, row.h, 30),
            release(row.h, 30),
            check([&] {
                Layer& l = g_lyLoad[1];
                EXPECT_EQ(l.visible, row.toggles ? 0 : 1);
                bool cShown = (volumeAt(100).flags & kVolumeVisible) != 0;
                bool cOnIt = std::strcmp(l.name, "Bottom") == 0;
                EXPECT_EQ(cShown, !(row.toggles && cOnIt));
            }),
            inDialog([&](Dialog& d) {
                EXPECT_EQ(d.item(kPlotOutLayerListItem)->list->entries[1]->picture,
                          row.toggles ? kEntryHiddenPicture : kEntryVisiblePicture);
                // The press shows the entry's pen, the first: "Blade".
                EXPECT_EQ(d.item(kPlotOutStatusItem)->text, "Blade, 80.0g, 30.0cm/s, 0.25mm");
            }),
            click(kPlotOutExitItem),
        });
    }
}

TEST_F(PlotOutListsTest, APressQuicklyOnTheSamePixelOpensThePenSetup)
{
    struct Row {
        const char* name;
        ADMPoint first, second;
        uint32_t apart;
        bool opens;
    } rows[] = {
        {"499 ticks apart on one pixel", {100, 10}, {100, 10}, 499, true},
        {"500 ticks apart", {100, 10}, {100, 10}, 500, false},
        {"one pixel across", {100, 10}, {101, 10}, 100, false},
        {"one pixel down", {100, 10}, {100, 11}, 100, false},
        {"left of the eye still counts", {2, 10}, {2, 10}, 10, true},
        {"right of the eye still counts", {20, 10}, {20, 10}, 10, true},
        {"the same pixel of the next entry is another place", {100, 10}, {100, 30}, 10, false},
    };
    // In the layer list, and in the colour list shown by its radio button; a
    // third press long after is a press again.
    for (int list : {kPlotOutLayerListItem, kPlotOutColorListItem})
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name + std::string(list == kPlotOutLayerListItem ? " (layers)" : " (colours)"));
            static int opened;
            opened = 0;
            Toolkit::get().queueDialog(kColorLayerDialog.name, {[](host::toolkit::Driver& user, std::string& e) {
                                           ++opened;
                                           return user.click(kColorLayerCancelItem, e);
                                       }});
            plotOut({click(list == kPlotOutColorListItem ? kPlotOutCutByColorItem : kPlotOutCutByLayerItem),
                     twoPresses(list, row.first, row.second, row.apart),
                     twoPresses(list, row.second, row.second, 5000), click(kPlotOutExitItem)});
            EXPECT_EQ(opened, row.opens ? 1 : 0);
            (void)Toolkit::get().dropLastQueued(kColorLayerDialog.name);
            EXPECT_EQ(g->layerListDblClick, 0) << "consumed or never set";
            EXPECT_EQ(g->colorListDblClick, 0) << "consumed or never set";
        }
}

TEST_F(PlotOutListsTest, ADropExchangesExactlyTheTwoGroups)
{
    plotOut({
        check([] {
            EXPECT_EQ(g_iLayerNum, 2);
            EXPECT_STREQ(g_lyLoad[0].name, "Top");
        }),
        // Dropped on itself: nothing changes.
        press(kPlotOutLayerListItem, 100, 10),
        drag(100, 14),
        release(100, 16),
        check([] { EXPECT_STREQ(g_lyLoad[0].name, "Top"); }),
        // Onto the other entry: the two exchange places.
        press(kPlotOutLayerListItem, 100, 10),
        drag(100, 30),
        inDialog([](Dialog& d) {
            auto& entries = d.item(kPlotOutLayerListItem)->list->entries;
            EXPECT_FALSE(entries[0]->selected);
            EXPECT_TRUE(entries[1]->selected) << "the entry under the pointer";
        }),
        release(100, 30),
        check([] {
            EXPECT_STREQ(g_lyLoad[0].name, "Bottom");
            EXPECT_STREQ(g_lyLoad[1].name, "Top");
        }),
        inDialog([](Dialog& d) {
            EXPECT_EQ(d.item(kPlotOutLayerListItem)->list->entries[0]->text, "   Bottom") << "rebuilt";
        }),
        click(kPlotOutExitItem),
    });
}

TEST_F(PlotOutListsTest, ThePenSetupStoresThePenPauseAndTextsOnlyOnOK)
{
    // The first entry of the list shown, a layer or a colour: each keeps its
    // text before and after its cuts apart.
    struct Entry {
        int32_t* pen;
        uint8_t* pause;
        char** preText;
        char** postText;
    };
    static bool colours;
    static auto entry = [] {
        if (colours) return Entry{&g_clLoad[0].pen, &g_clLoad[0].pause, &g_clLoad[0].preText, &g_clLoad[0].postText};
        return Entry{&g_lyLoad[0].pen, &g_lyLoad[0].pause, &g_lyLoad[0].preText, &g_lyLoad[0].postText};
    };
    for (bool byColour : {false, true}) {
        SCOPED_TRACE(byColour ? "colours" : "layers");
        colours = byColour;
        static std::string shown[3];
        Toolkit::get().queueDialog(kColorLayerDialog.name, {[](host::toolkit::Driver& user, std::string& e) {
                                       Dialog* d = user.dialog();
                                       EXPECT_EQ(d->title, colours ? "Color Settings" : "Layer Settings");
                                       EXPECT_EQ(d->width(), 430);
                                       EXPECT_EQ(d->height(), 180);
                                       EXPECT_EQ(d->items.size(), 13u);
                                       EXPECT_EQ(d->item(kColorLayerPenLabelItem)->justify, kADMRightJustify);
                                       EXPECT_EQ(d->item(kColorLayerPressureItem)->justify, kADMLeftJustify);
                                       EXPECT_EQ(d->item(kColorLayerPreTextItem)->text, "OLD;");
                                       EXPECT_EQ(d->item(kColorLayerPostTextItem)->text, "");
                                       if (!user.choose(kColorLayerPenItem, "Pen", e)) return false;
                                       for (int i = 0; i < 3; ++i)
                                           shown[i] = d->item(kColorLayerPressureItem + i)->text;
                                       return user.click(kColorLayerPauseItem, e) &&
                                              user.type(kColorLayerPreTextItem, "", e) &&
                                              user.type(kColorLayerPostTextItem, "PU0,0;\nSP0;", e) &&
                                              user.click(kColorLayerOKItem, e);
                                   }});
        Toolkit::get().queueDialog(kColorLayerDialog.name, {[](host::toolkit::Driver& user, std::string& e) {
                                       return user.choose(kColorLayerPenItem, "Blade", e) &&
                                              user.type(kColorLayerPostTextItem, "gone", e) &&
                                              user.click(kColorLayerCancelItem, e);
                                   }});
        Toolkit::get().queueDialog(kColorLayerDialog.name, {[](host::toolkit::Driver& user, std::string& e) {
                                       return user.choose(kColorLayerPenItem, "Blade", e) &&
                                              user.click(kColorLayerOKItem, e);
                                   }});
        int list = byColour ? kPlotOutColorListItem : kPlotOutLayerListItem;
        plotOut({
            click(byColour ? kPlotOutCutByColorItem : kPlotOutCutByLayerItem),
            check([] {
                free(*entry().preText);
                free(*entry().postText);
                *entry().preText = strdup("OLD;");
                *entry().postText = nullptr;
            }),
            twoPresses(list, ADMPoint{100, 10}, ADMPoint{100, 10}, 10),
            check([] {
                Entry l = entry();
                EXPECT_EQ(*l.pen, 1);
                EXPECT_EQ(*l.pause, 1);
                EXPECT_EQ(*l.preText, nullptr) << "an empty edit leaves no text";
                ASSERT_NE(*l.postText, nullptr);
                EXPECT_STREQ(*l.postText, "PU0,0;\nSP0;");
            }),
            twoPresses(list, ADMPoint{100, 10}, ADMPoint{100, 10}, 10),
            check([] {
                EXPECT_EQ(*entry().pen, 1) << "Cancel stores nothing";
                EXPECT_STREQ(*entry().postText, "PU0,0;\nSP0;");
            }),
            twoPresses(list, ADMPoint{100, 10}, ADMPoint{100, 10}, 10),
            check([] { EXPECT_EQ(*entry().pen, 0) << "the first pen is chosen like any other"; }),
            click(kPlotOutExitItem),
        });
        EXPECT_EQ(shown[0], "Pressure: 120.00 g");
        EXPECT_EQ(shown[1], "Velocity: 10.00 cm/s");
        EXPECT_EQ(shown[2], "Offset: 0.50 mm");
    }
}

TEST_F(PlotOutListsTest, APenTheEnvironmentLacksShowsNoPenAndOKKeepsIt)
{
    struct Row {
        const char* name;
        int32_t pen;
        int32_t environmentPens;
    } rows[] = {{"a pen index past the pens", 7, 2}, {"an environment without pens", 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        static bool anyChosen;
        static std::string pressure, velocity;
        anyChosen = true;
        Toolkit::get().queueDialog(kColorLayerDialog.name, {[](host::toolkit::Driver& user, std::string& e) {
                                       Dialog* d = user.dialog();
                                       anyChosen = d->item(kColorLayerPenItem)->list->active() != nullptr;
                                       pressure = d->item(kColorLayerPressureItem)->text;
                                       velocity = d->item(kColorLayerVelocityItem)->text;
                                       return user.click(kColorLayerOKItem, e);
                                   }});
        plotOut({
            check([&] {
                g_clLoad[0].pen = row.pen;
                g->curEnvironment.PenNumber = row.environmentPens;
            }),
            click(kPlotOutCutByColorItem),
            twoPresses(kPlotOutColorListItem, ADMPoint{100, 10}, ADMPoint{100, 10}, 10),
            inDialog([](Dialog& d) { EXPECT_EQ(d.item(kPlotOutStatusItem)->text, "No pen"); }),
            check([&] { EXPECT_EQ(g_clLoad[0].pen, row.pen) << "OK without a choice keeps the pen"; }),
            click(kPlotOutExitItem),
        });
        EXPECT_FALSE(anyChosen);
        EXPECT_EQ(pressure, "No pen");
        EXPECT_EQ(velocity, "");
    }
}

TEST_F(PlotOutListsTest, CuttingByLayerAgainAppliesTheLayersOwnFlags)
{
    plotOut({
        // Hide the red colour (A and C), then go back to layers: all shown.
        click(kPlotOutCutByColorItem),
        press(kPlotOutColorListItem, 10, 10),
        release(10, 10),
        check([] { expectShown(false, true, false, "red hidden"); }),
        click(kPlotOutCutByLayerItem),
        check([] { expectShown(true, true, true, "by the layers' flags"); }),
        click(kPlotOutExitItem),
    });
}

}  // namespace
