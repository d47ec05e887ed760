// The Preview Options dialog driven as a user would: what it shows of the
// current look, the presets and their lock, the size fields' floor, the
// colour picker, the sample, and that only OK changes the look.
#include <cstring>
#include <functional>
#include <optional>
#include <tuple>
#include <utility>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/PreviewOptionDialog.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

class PreviewOptionTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { (void)releaseSuites(hostApp().basic()); }

    // Runs the dialog with these steps; returns its result.
    ASErr options(std::vector<host::toolkit::DialogAction> steps)
    {
        Toolkit::get().queueDialog(kPreviewOptionDialog.name, std::move(steps));
        ASErr result = goPreviewOption();
        EXPECT_TRUE(Toolkit::get().failures.empty()) << Toolkit::get().failures.front();
        Toolkit::get().failures.clear();
        return result;
    }
    static host::toolkit::DialogAction step(std::function<bool(Driver&, std::string&)> f) { return f; }
    static host::toolkit::DialogAction check(std::function<void(Driver&)> f)
    {
        return [f](Driver& user, std::string&) {
            f(user);
            return true;
        };
    }
    static host::toolkit::DialogAction click(int id)
    {
        return [id](Driver& user, std::string& e) { return user.click(id, e); };
    }
    static host::toolkit::DialogAction choose(int id, const char* entry)
    {
        return [id, entry](Driver& user, std::string& e) { return user.choose(id, entry, e); };
    }
    static int shown(Driver& user, int id)
    {
        Item* item = user.dialog()->item(id);
        Entry* entry = item && item->list ? item->list->active() : nullptr;
        return entry ? item->list->indexOf(entry) : -1;
    }
    static bool takesInput(Driver& user, int id) { return user.dialog()->item(id)->takesInput(); }

    using Entry = host::toolkit::Entry;
};

TEST_F(PreviewOptionTest, OpensOnTheLookOfTheStartWithEachColourInItsEntry)
{
    // A grey background: the start's white is also the popup's first entry.
    g->previewOption.words[kPreviewBackgroundWord] = g->previewOption.words[kPreviewPageWord];
    PreviewOption before = g->previewOption;
    ASErr result = options({check([](Driver& user) {
        auto* d = user.dialog();
        EXPECT_EQ(d->title, "Preview Options");
        EXPECT_EQ(d->resourceId, kPreviewOptionDialog.resource);
        EXPECT_EQ(d->width(), 585);
        EXPECT_EQ(d->height(), 475);
        EXPECT_EQ(d->bounds.left, 512 - 286);
        EXPECT_EQ(d->bounds.top, 384 - 235);
        EXPECT_EQ(d->items.size(), 35u);
        EXPECT_EQ(d->item(kPreviewOptionBackgroundLabelItem)->justify, kADMRightJustify);
        struct Row {
            int item;
            int entry;
            const char* shows;
        } rows[] = {
            {kPreviewOptionBackgroundItem, 8, "grey"},
            {kPreviewOptionPageItem, 8, "grey"},
            {kPreviewOptionBoardItem, 0, "white"},
            {kPreviewOptionLineItem, 3, "green"},
            {kPreviewOptionArcItem, kPreviewOtherColorEntry, "0xFF0000 is no colour of the table: other"},
            {kPreviewOptionControlColorItem, 4, "blue"},
            {kPreviewOptionControlShapeItem, kMarkerDisc, "filled circle"},
            {kPreviewOptionStartColorItem, 4, "blue"},
            {kPreviewOptionStartShapeItem, kMarkerSquare, "square"},
            {kPreviewOptionSelectionColorItem, 7, "cyan"},
            {kPreviewOptionLabelColorItem, 9, "black"},
            {kPreviewOptionPresetItem, kPreviewCustomEntry, "the user's own"},
        };
        for (const Row& row : rows) EXPECT_EQ(shown(user, row.item), row.entry) << row.shows;
        // Both shape popups offer the five marker shapes and nothing else.
        for (int id : {kPreviewOptionControlShapeItem, kPreviewOptionStartShapeItem}) {
            std::vector<std::string> shapes;
            for (const auto& entry : d->item(id)->list->entries)
                shapes.push_back(entry->text.substr(entry->text.find_first_not_of(' ')));
            EXPECT_EQ(shapes, (std::vector<std::string>{"Circle", "Filled Circle", "Square", "Filled Square", "Plus"}))
                << id;
        }
        EXPECT_EQ(d->item(kPreviewOptionControlSizeItem)->value, 3.0f);
        EXPECT_EQ(d->item(kPreviewOptionStartSizeItem)->value, 3.0f);
        EXPECT_EQ(d->item(kPreviewOptionFillItem)->value, 0.0f);
        EXPECT_EQ(shown(user, kPreviewOptionLineItem), 3);
    })});
    EXPECT_EQ(result, kPreviewOptionCancelItem) << "nobody answered: a cancel";
    EXPECT_EQ(memcmp(&before, &g->previewOption, sizeof before), 0);
}

TEST_F(PreviewOptionTest, APresetShowsEverywhereAndLocksAllButTheFillAndThePresets)
{
    PreviewOption before = g->previewOption;
    ASErr result = options({choose(kPreviewOptionPresetItem, "#1"), check([&](Driver& user) {
                                // Red filled circles of half-size 3 for the start points.
                                EXPECT_EQ(shown(user, kPreviewOptionStartColorItem), 2);
                                EXPECT_EQ(shown(user, kPreviewOptionStartShapeItem), kMarkerDisc);
                                EXPECT_EQ(user.dialog()->item(kPreviewOptionStartSizeItem)->value, 3.0f);
                                for (int id : {kPreviewOptionBackgroundItem, kPreviewOptionArcItem,
                                               kPreviewOptionControlShapeItem, kPreviewOptionControlSizeItem,
                                               kPreviewOptionStartSizeItem, kPreviewOptionLabelColorItem})
                                    EXPECT_FALSE(takesInput(user, id)) << id;
                                EXPECT_TRUE(takesInput(user, kPreviewOptionFillItem));
                                EXPECT_TRUE(takesInput(user, kPreviewOptionPresetItem));
                                EXPECT_EQ(memcmp(&before, &g->previewOption, sizeof before), 0)
                                    << "nothing changes before OK";
                            }),
                            choose(kPreviewOptionPresetItem, "#4"), check([](Driver& user) {
                                EXPECT_TRUE(takesInput(user, kPreviewOptionStartSizeItem));
                                EXPECT_TRUE(takesInput(user, kPreviewOptionArcItem));
                                EXPECT_EQ(shown(user, kPreviewOptionStartColorItem), 2) << "the preset's values stay";
                            }),
                            click(kPreviewOptionOKItem)});
    EXPECT_EQ(result, kPreviewOptionOKItem);
    EXPECT_EQ(g->previewOption.words[kPreviewStartColorWord], 0xE04040FFu) << "preset 1, as OK found it";
}

TEST_F(PreviewOptionTest, EachPresetGivesItsMarkersAndTheCommonColours)
{
    struct Row {
        const char* entry;
        uint32_t controlColor, controlShape, controlSize, startColor, startShape, startSize;
    } rows[] = {
        {"#0", 0xE040C0FF, kMarkerCircle, 2, 0x000000FF, kMarkerFilledSquare, 2},
        {"#1", 0xE04040FF, kMarkerDisc, 3, 0xE04040FF, kMarkerDisc, 3},
        {"#2", 0xE040C0FF, kMarkerCircle, 2, 0xE04040FF, kMarkerFilledSquare, 3},
        {"#3", 0xE040C0FF, kMarkerCircle, 1, 0x000000FF, kMarkerFilledSquare, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        g->previewOption.fill = 1;
        ASSERT_EQ(options({choose(kPreviewOptionPresetItem, row.entry), check([&row](Driver& user) {
                               // The dialog shows the preset's shapes and sizes, and its grey
                               // background where the start's white was.
                               EXPECT_EQ(shown(user, kPreviewOptionBackgroundItem), 8);
                               EXPECT_EQ(shown(user, kPreviewOptionControlShapeItem), (int)row.controlShape);
                               EXPECT_EQ(shown(user, kPreviewOptionStartShapeItem), (int)row.startShape);
                               EXPECT_EQ(user.dialog()->item(kPreviewOptionControlSizeItem)->value,
                                         (float)row.controlSize);
                               EXPECT_EQ(user.dialog()->item(kPreviewOptionStartSizeItem)->value, (float)row.startSize);
                           }),
                           click(kPreviewOptionOKItem)}),
                  kPreviewOptionOKItem);
        const uint32_t* w = g->previewOption.words;
        EXPECT_EQ(w[kPreviewControlColorWord], row.controlColor);
        EXPECT_EQ(w[kPreviewControlShapeWord], row.controlShape);
        EXPECT_EQ(w[kPreviewControlSizeWord], row.controlSize);
        EXPECT_EQ(w[kPreviewStartColorWord], row.startColor);
        EXPECT_EQ(w[kPreviewStartShapeWord], row.startShape);
        EXPECT_EQ(w[kPreviewStartSizeWord], row.startSize);
        // What every preset shares: grey surroundings, a white board, blue
        // lines, green arcs, cyan selection, black labels, no fill.
        const uint32_t common[] = {0x808080FF, 0x808080FF, 0xFFFFFFFF, 0x4040C0FF, 0x40E040FF};
        for (int k = 0; k < 5; k++) EXPECT_EQ(w[k], common[k]) << "word " << k;
        EXPECT_EQ(w[kPreviewSelectionColorWord], 0x00FFFFFFu);
        EXPECT_EQ(w[kPreviewLabelColorWord], 0x000000FFu);
        EXPECT_EQ(w[13], 0x000000FFu);
        EXPECT_EQ(g->previewOption.fill, 0);
    }
}

TEST_F(PreviewOptionTest, CancelDropsEveryEdit)
{
    PreviewOption before = g->previewOption;
    ASErr result = options({choose(kPreviewOptionBackgroundItem, "Black"), click(kPreviewOptionFillItem),
                            choose(kPreviewOptionPresetItem, "#3"), step([](Driver& user, std::string& e) {
                                return user.click(kPreviewOptionCancelItem, e);
                            })});
    EXPECT_EQ(result, kPreviewOptionCancelItem);
    EXPECT_EQ(memcmp(&before, &g->previewOption, sizeof before), 0);
}

TEST_F(PreviewOptionTest, MarkerSizesNeverGoBelowOnePixel)
{
    ASErr result = options({step([](Driver& user, std::string& e) { return user.type(kPreviewOptionControlSizeItem, "0", e); }),
                            step([](Driver& user, std::string& e) { return user.spin(kPreviewOptionStartSizeItem, -5, false, e); }),
                            check([](Driver& user) {
                                EXPECT_EQ(user.dialog()->item(kPreviewOptionControlSizeItem)->value, 1.0f);
                                EXPECT_EQ(user.dialog()->item(kPreviewOptionStartSizeItem)->value, 1.0f);
                            }),
                            step([](Driver& user, std::string& e) { return user.spin(kPreviewOptionStartSizeItem, 4, false, e); }),
                            click(kPreviewOptionOKItem)});
    EXPECT_EQ(result, kPreviewOptionOKItem);
    EXPECT_EQ(g->previewOption.words[kPreviewControlSizeWord], 1u);
    EXPECT_EQ(g->previewOption.words[kPreviewStartSizeWord], 5u);
}

TEST_F(PreviewOptionTest, OtherColoursComeFromThePickerByTheirHighBytes)
{
    struct Row {
        const char* what;
        std::optional<ADMRGBColor> answer;
        uint32_t word;
        int entry;
    } rows[] = {
        {"a picked colour", ADMRGBColor{65535, 0, 32768}, 0xFF0080FFu, kPreviewOtherColorEntry},
        {"a colour between bytes keeps its nearest byte below", ADMRGBColor{0x12FF, 0x3400, 0x56AB}, 0x123456FFu,
         kPreviewOtherColorEntry},
        {"a cancelled picker keeps the colour and its entry", std::nullopt, 0xFFFFFFFFu, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Toolkit::get().colorAnswers.push_back(row.answer);
        int entry = -1;
        options({choose(kPreviewOptionBackgroundItem, "#10"),
                 check([&entry](Driver& user) { entry = shown(user, kPreviewOptionBackgroundItem); }),
                 click(kPreviewOptionOKItem)});
        EXPECT_EQ(g->previewOption.words[kPreviewBackgroundWord], row.word);
        EXPECT_EQ(entry, row.entry);
        g->previewOption.words[kPreviewBackgroundWord] = 0xFFFFFFFF;
    }
    EXPECT_TRUE(Toolkit::get().colorAnswers.empty());
}

TEST_F(PreviewOptionTest, TheSampleAndThePopupsShowTheColoursAndShapesBeingEdited)
{
    options({choose(kPreviewOptionBackgroundItem, "Black"), choose(kPreviewOptionPageItem, "Yellow"),
             choose(kPreviewOptionControlColorItem, "Red"), check([](Driver& user) {
                 Toolkit::get().updatePass();
                 const auto& sample = user.dialog()->item(kPreviewOptionSampleItem)->raster;
                 EXPECT_EQ(sample.pixel(5, 5), 0x000000);
                 EXPECT_EQ(sample.pixel(15, 15), 0xE0E040);
                 EXPECT_EQ(sample.pixel(170, 200), 0xFFFFFF);
                 // The swatch of the page's popup fills pixels 2..17 by 1..15 and no more.
                 const auto& page = user.dialog()->item(kPreviewOptionPageItem)->raster;
                 for (auto [x, y, inside] : {std::tuple{10, 8, true}, {2, 8, true}, {1, 8, false}, {17, 8, true},
                                             {18, 8, false}, {10, 1, true}, {10, 0, false}, {10, 15, true},
                                             {10, 16, false}})
                     EXPECT_EQ(page.pixel(x, y) == 0xE0E040, inside) << x << ", " << y;
             }),
             click(kPreviewOptionCancelItem)});
    // The shape popup draws its marker in the marker's colour within the
    // square from (5, 4) to (14, 13): each shape touches the middle of every
    // side and nothing outside; the centre, a corner and a point halfway to
    // the corner tell the shapes apart.
    struct Row {
        const char* entry;
        bool centre, corner, halfway;
    } rows[] = {
        {"Circle", false, false, false},       {"Filled Circle", true, false, true},
        {"Square", false, true, false},        {"Filled Square", true, true, true},
        {"Plus", true, false, false},
    };
    // Each is chosen from the one before and kept by OK, the first (the
    // circle) from the filled circle the dialog starts with.
    ASSERT_EQ(g->previewOption.words[kPreviewControlShapeWord], (uint32_t)kMarkerDisc);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        options({choose(kPreviewOptionControlColorItem, "Red"), choose(kPreviewOptionControlShapeItem, row.entry),
                 check([&](Driver& user) {
                     Toolkit::get().updatePass();
                     const auto& popup = user.dialog()->item(kPreviewOptionControlShapeItem)->raster;
                     auto marked = [&](int x, int y) { return popup.pixel(x, y) == 0xE04040; };
                     for (auto [x, y] : {std::pair{5, 9}, {14, 9}, {10, 4}, {10, 13}})
                         EXPECT_TRUE(marked(x, y)) << "side at " << x << ", " << y;
                     for (auto [x, y] : {std::pair{4, 9}, {15, 9}, {10, 3}, {10, 14}})
                         EXPECT_FALSE(marked(x, y)) << "outside at " << x << ", " << y;
                     EXPECT_EQ(marked(10, 9), row.centre);
                     EXPECT_EQ(marked(5, 4), row.corner);
                     EXPECT_EQ(marked(7, 6), row.halfway);
                 }),
                 click(kPreviewOptionOKItem)});
        EXPECT_EQ(g->previewOption.words[kPreviewControlShapeWord], (uint32_t)(&row - rows));
    }
}

}  // namespace
