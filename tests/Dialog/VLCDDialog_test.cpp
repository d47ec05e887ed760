// The cutter's device panel, driven as a user would against the fake cutter:
// what Read shows, the exact bytes of Send, the test rectangle, the scale and
// the AAS adjustment, and how it ends against a cutter that answers badly,
// stalls or is pulled out.
#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/VLCDDialog.h"
#include "PlotOutJobFixture.h"
#include "PlotOut/USB.h"
#include "Toolkit/Driver.h"
#include "USB/FakeBus.h"
#include "USB/FakeCutter.h"

using namespace vt;
using host::toolkit::DialogAction;
using host::toolkit::Driver;
using host::toolkit::Toolkit;
using host::usb::CutterAnswer;
using host::usb::CutterState;

namespace {

const char kEsc[] = "\x1b";
const std::string kNotFound = "The cutter could not be reached over USB";
const std::string kSendFailed = "Sending the job to the cutter failed";

class VLCDDialogTest : public test::DialogTest {
protected:
    void SetUp() override
    {
        startSession();
        putPlotter(kPlotterCurrentBit | kPlotterDevicePanelBit);
        cutter_ = host::usb::installFakeCutter(dir_.file("cutter.bin"), 0x5678, 0x1234);
    }
    void TearDown() override { host::usb::setBus(nullptr); }

    void putPlotter(int32_t reserved, double minPressure = 0.0, double maxPressure = 0.0)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterReserved = reserved;
        stored.pens[0].minPressure = minPressure;
        stored.pens[0].maxPressure = maxPressure;
        stored.put(hostApp().prefs());
    }

    // Chooses "VLCD Setting..." with these actions queued for the panel.
    void panel(std::vector<DialogAction> actions)
    {
        chooseMenu("VLCD Setting...", kVLCDDialog.name, std::move(actions));
    }
    // A step of the test itself while the panel is open (changing the cutter).
    static DialogAction meanwhile(std::function<void()> f) { return check(std::move(f)); }

    // What an item shows: a popup its chosen entry, "" when none is chosen.
    static std::string shown(Driver& user, int id)
    {
        auto* item = user.dialog()->item(id);
        if (item == nullptr) return "<no item>";
        if (item->list && item->kind == host::toolkit::ItemKind::PopupList) {
            auto* entry = item->list->active();
            return entry ? entry->text : "";
        }
        return item->displayText();
    }

    // Commands the cutter understood that start with prefix.
    int received(const std::string& prefix) const
    {
        return (int)std::count_if(cutter_->commands().begin(), cutter_->commands().end(),
                                  [&](const std::string& c) { return c.compare(0, prefix.size(), prefix) == 0; });
    }
    // Every write transfer, in order, from the index-th on.
    std::vector<std::string> writes(size_t from = 0) const
    {
        std::vector<std::string> all;
        for (const auto& t : cutter_->transfers())
            if (!(t.endpoint & 0x80)) all.push_back(t.data);
        return std::vector<std::string>(all.begin() + std::min(from, all.size()), all.end());
    }
    size_t writeCount() const { return writes().size(); }

    std::shared_ptr<host::usb::FakeCutter> cutter_;
};

// ---- Read --------------------------------------------------------------------------------

TEST_F(VLCDDialogTest, OpensWithTheCurrentPlotterAndItsStartValues)
{
    bool ran = false;
    panel({check([&](Driver& user) {
               ran = true;
               auto* d = user.dialog();
               EXPECT_EQ(d->title, "VLCD Cutter Settings");
               EXPECT_EQ(d->resourceId, kVLCDDialog.resource);
               EXPECT_EQ(d->width(), 580);
               EXPECT_EQ(d->height(), 330);
               EXPECT_EQ(d->items.size(), (size_t)kVLCDItemCount);
               EXPECT_EQ(g->vlcdDialog, (ADMDialogRef)d) << "the panel is known while it is open";
               EXPECT_EQ(shown(user, kVLCDPlotterItem), "Cutter 60");
               EXPECT_EQ(d->item(kVLCDPlotterItem)->list->active()->id, 0x1234);
               EXPECT_EQ(shown(user, kVLCDMediaWidthItem), "0");
               EXPECT_EQ(shown(user, kVLCDMediaLengthItem), "0");
               for (int id : {kVLCDBladeOffsetItem, kVLCDHeavyLightItem, kVLCDQualityItem})
                   EXPECT_EQ(shown(user, id), "") << "nothing chosen before a read: item " << id;
               EXPECT_EQ(d->item(kVLCDBladeOffsetItem)->list->entries.size(), 8u);
               EXPECT_EQ(shown(user, kVLCDTestXItem), "100.00 mm");
               EXPECT_FLOAT_EQ(d->item(kVLCDAASXItem)->maxValue, 7.1574807f);
               EXPECT_FLOAT_EQ(d->item(kVLCDPressureItem)->maxValue, 400.0f);
               EXPECT_NE(d->item(kVLCDMillimetreItem)->value, 0.0f);
           }),
           click(kVLCDCloseItem)});
    EXPECT_TRUE(ran);
    ASSERT_EQ(Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(Toolkit::get().modalLog[0].result, kVLCDCloseItem);
    EXPECT_EQ(g->vlcdDialog, nullptr);
    EXPECT_TRUE(cutter_->transfers().empty()) << "opening the panel says nothing to the cutter";
}

struct ReadRow {
    const char* shows;
    std::function<void(CutterState&)> set;
    int item;
    const char* expected;
};

TEST_F(VLCDDialogTest, ReadShowsWhatTheCutterHolds)
{
    const ReadRow rows[] = {
        {"a = 0 is Light", [](CutterState& s) { s.heavyLight = 0; }, kVLCDHeavyLightItem, "Light"},
        {"a = 1 is Heavy", [](CutterState& s) { s.heavyLight = 1; }, kVLCDHeavyLightItem, "Heavy"},
        {"a = 29 is Heavy", [](CutterState& s) { s.heavyLight = 29; }, kVLCDHeavyLightItem, "Heavy"},
        {"a = 30 is Light", [](CutterState& s) { s.heavyLight = 30; }, kVLCDHeavyLightItem, "Light"},
        {"blade 0 is 0.000", [](CutterState& s) { s.bladeOffset = 0; }, kVLCDBladeOffsetItem, "0.000"},
        {"blade 175 is 0.175", [](CutterState& s) { s.bladeOffset = 175; }, kVLCDBladeOffsetItem, "0.175"},
        {"a negative blade is 0.175", [](CutterState& s) { s.bladeOffset = -30; }, kVLCDBladeOffsetItem, "0.175"},
        {"blade 276 is 0.300", [](CutterState& s) { s.bladeOffset = 276; }, kVLCDBladeOffsetItem, "0.300"},
        {"blade 600 is 0.750", [](CutterState& s) { s.bladeOffset = 600; }, kVLCDBladeOffsetItem, "0.750"},
        {"blade 751 is 1.000", [](CutterState& s) { s.bladeOffset = 751; }, kVLCDBladeOffsetItem, "1.000"},
        {"quality 2 is Fine", [](CutterState& s) { s.quality = 2; }, kVLCDQualityItem, "Fine"},
        {"quality 5 is Draft", [](CutterState& s) { s.quality = 5; }, kVLCDQualityItem, "Draft"},
        {"quality 4 is no entry", [](CutterState& s) { s.quality = 4; }, kVLCDQualityItem, ""},
        {"code 19 not 0 is Enable", [](CutterState& s) { s.option19 = 7; }, kVLCDSmoothingItem, "Enable"},
        {"code 20 of 0 is Disable", [](CutterState& s) { s.option20 = 0; }, kVLCDAutoFeedItem, "Disable"},
        {"media 3 is Single", [](CutterState& s) { s.media = 3; }, kVLCDMediaKindItem, "Single"},
        {"media 1 is Roll", [](CutterState& s) { s.media = 1; }, kVLCDMediaKindItem, "Roll"},
        {"pressure as the cutter has it", [](CutterState& s) { s.pressure = 150; }, kVLCDPressureItem, "150"},
        {"pressure above the spin's maximum is its maximum", [](CutterState& s) { s.pressure = 999; },
         kVLCDPressureItem, "400"},
        {"media 0,0,24000,40000 is 600.00mm wide", [](CutterState&) {}, kVLCDMediaWidthItem, "600.00mm"},
        {"and 1000.00mm long", [](CutterState&) {}, kVLCDMediaLengthItem, "1000.00mm"},
        {"limits from a moved origin", [](CutterState& s) { s.clipX1 = 400, s.clipX2 = 24410; }, kVLCDMediaWidthItem,
         "600.25mm"},
        {"limits beyond 32 bits apart", [](CutterState& s) { s.clipY1 = 0, s.clipY2 = 2147483647; },
         kVLCDMediaLengthItem, "53687091.18mm"},
        {"model and version", [](CutterState&) {}, kVLCDModelItem, "Model:FakeCutter Version:1.00"},
        {"a model of the cutter's own", [](CutterState& s) { s.model = "CX-24", s.version = "2.1b"; }, kVLCDModelItem,
         "Model:CX-24 Version:2.1b"},
        {"AAS X offset in mm", [](CutterState& s) { s.aasX = 40; }, kVLCDAASXTextItem, "AAS X Offset 1.00 Adjust"},
        {"AAS Y offset in mm", [](CutterState& s) { s.aasY = -8; }, kVLCDAASYTextItem, "AAS Y Offset -0.20 Adjust"},
    };
    for (const ReadRow& row : rows) {
        cutter_->state() = CutterState{};
        row.set(cutter_->state());
        size_t alertsBefore = alerts().size();
        std::string got;
        panel({click(kVLCDReadItem), check([&](Driver& user) { got = shown(user, row.item); }), click(kVLCDCloseItem)});
        EXPECT_EQ(got, row.expected) << row.shows;
        EXPECT_EQ(alerts().size(), alertsBefore) << row.shows;
    }
    EXPECT_FALSE(cutter_->isOpen()) << "every button closes the link";
}

TEST_F(VLCDDialogTest, ReadAsksTheFourQueriesInOrderAndNothingElse)
{
    panel({click(kVLCDReadItem), click(kVLCDCloseItem)});
    std::string esc = kEsc;
    EXPECT_EQ(writes(), (std::vector<std::string>{esc + ".R1:", esc + ".R4:", "OH;", esc + ".R5:"}));
    EXPECT_EQ(cutter_->opens(), 1);
    EXPECT_EQ(cutter_->closes(), 1);
}

// ---- Send --------------------------------------------------------------------------------

TEST_F(VLCDDialogTest, SendAfterReadSendsWhatThePanelShowsLineByLine)
{
    size_t before = 0;
    panel({click(kVLCDReadItem), check([&](Driver&) { before = writeCount(); }), click(kVLCDSendItem),
           click(kVLCDCloseItem)});
    std::string e = kEsc;
    EXPECT_EQ(writes(before), (std::vector<std::string>{e + ".C1;17;0:", e + ".C1;22;120:", e + ".C1;16;250:",
                                                        e + ".C1;18;0:", e + ".C1;19;0:", e + ".C1;20;1:",
                                                        e + ".C1;21;0:", e + ".C1;0;:"}));
    EXPECT_EQ(cutter_->state().pressure, 120) << "the cutter's own pressure comes back";
    EXPECT_EQ(cutter_->state().bladeOffset, 250) << "and its blade offset";
    EXPECT_EQ(cutter_->state().saves, 1);
    EXPECT_TRUE(alerts().empty());
}

TEST_F(VLCDDialogTest, SendLeavesOutPopupsWithoutAChoiceAndCapsThePressure)
{
    struct Row {
        const char* shows;
        std::function<void(CutterState&)> set;
        std::vector<DialogAction> edits;
        std::vector<std::string> absent;
        std::vector<std::string> present;
    };
    std::string e = kEsc;
    const Row rows[] = {
        {"quality 4: no quality line", [](CutterState& s) { s.quality = 4; }, {}, {".C1;18;"}, {".C1;17;", ".C1;0;:"}},
        {"before a read only the pressure and the save", [](CutterState&) {}, {}, {".C1;16;", ".C1;17;", ".C1;21;"},
         {".C1;22;0:", ".C1;0;:"}},
        {"a pressure typed above the maximum goes as the maximum", [](CutterState&) {},
         {type(kVLCDPressureItem, "950")}, {}, {".C1;22;400:"}},
        {"edits go as chosen", [](CutterState&) {},
         {choose(kVLCDBladeOffsetItem, "0.500"), choose(kVLCDQualityItem, "Draft"), choose(kVLCDMediaKindItem, "Roll")},
         {}, {".C1;16;500:", ".C1;18;1:", ".C1;21;1:"}},
    };
    for (const Row& row : rows) {
        cutter_->state() = CutterState{};
        row.set(cutter_->state());
        bool read = std::string(row.shows).find("before a read") == std::string::npos;
        std::vector<DialogAction> actions;
        if (read) actions.push_back(click(kVLCDReadItem));
        actions.insert(actions.end(), row.edits.begin(), row.edits.end());
        size_t before = 0;
        actions.push_back(check([&](Driver&) { before = writeCount(); }));
        actions.push_back(click(kVLCDSendItem));
        actions.push_back(click(kVLCDCloseItem));
        panel(actions);
        std::vector<std::string> sent = writes(before);
        auto has = [&](const std::string& prefix) {
            return std::any_of(sent.begin(), sent.end(), [&](const std::string& s) { return s.compare(0, prefix.size() + 1, e + prefix) == 0; });
        };
        for (const auto& p : row.absent) EXPECT_FALSE(has(p)) << row.shows << ": " << p;
        for (const auto& p : row.present) EXPECT_TRUE(has(p)) << row.shows << ": " << p;
        EXPECT_EQ(sent.back(), e + ".C1;0;:") << row.shows;
    }
}

// ---- Test rectangle, scale, AAS ----------------------------------------------------------

TEST_F(VLCDDialogTest, TestRectangleIsCutInLinkUnitsRounded)
{
    struct Row {
        const char* shows;
        bool inches;
        const char* x;
        const char* y;
        const char* sent;
    } rows[] = {
        {"100 x 50 mm", false, "100", "50", "VS30;;SP1;PR;PU0,0;PD0,0,4000,0,0,2000,-4000,0,0,-2000;PU;"},
        {"4 x 2 inches after the inch preset", true, "4", "2", "VS30;;SP1;PR;PU0,0;PD0,0,4064,0,0,2032,-4064,0,0,-2032;PU;"},
        {"10.01 mm rounds to 400", false, "10.01", "10.02", "VS30;;SP1;PR;PU0,0;PD0,0,400,0,0,401,-400,0,0,-401;PU;"},
    };
    for (const auto& row : rows) {
        std::vector<DialogAction> actions;
        if (row.inches) actions.push_back(click(kVLCDInchItem));
        actions.push_back(type(kVLCDTestXItem, row.x));
        actions.push_back(type(kVLCDTestYItem, row.y));
        size_t before = 0;
        actions.push_back(check([&](Driver&) { before = writeCount(); }));
        actions.push_back(click(kVLCDTestCutItem));
        actions.push_back(click(kVLCDCloseItem));
        panel(actions);
        EXPECT_EQ(writes(before), std::vector<std::string>{row.sent}) << row.shows;
    }
    EXPECT_TRUE(alerts().empty());
}

TEST_F(VLCDDialogTest, TestRectangleTooLargeForTheLinkIsRefused)
{
    panel({type(kVLCDTestXItem, "100000000 mm"), click(kVLCDTestCutItem), click(kVLCDCloseItem)});
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0].text, "Nothing was sent: a size or adjustment entered is beyond what the cutter can take.");
    EXPECT_TRUE(cutter_->transfers().empty());
}

TEST_F(VLCDDialogTest, ScaleIsCorrectedFromTheMeasuredRectangle)
{
    // Scale values of powers of two and sizes whose ratio is one of them keep
    // the arithmetic exact in spite of the toolkit's single precision.
    struct Row {
        const char* shows;
        int scaleX, scaleY;
        const char *nominalX, *nominalY, *measuredX, *measuredY;
        int sentX, sentY;  // 0: refused
    } rows[] = {
        {"cut as drawn keeps the scale", 8192, 8192, "100", "100", "100", "100", 8192, 8192},
        {"cut half as long halves X", 8192, 8192, "100", "100", "50", "100", 4096, 8192},
        {"nominal X 0 keeps sX and sends both", 8192, 8192, "0", "100", "50", "200", 8192, 16384},
        {"nominal 0.1 mm or less keeps its scale", 8192, 1024, "100", "0.05", "200", "50", 16384, 1024},
        {"a measured size of 0 is refused", 8192, 8192, "100", "100", "0", "100", 0, 0},
        {"a negative measured size is refused", 8192, 8192, "100", "100", "100", "-5", 0, 0},
        {"a result below 1 is refused", 8192, 8192, "100", "100", "0.001", "100", 0, 0},
        {"a result beyond 2^31 - 1 is refused", 8192, 8192, "0.2", "100", "100000000", "100", 0, 0},
        {"a kept scale of 0 is refused", 0, 8192, "0", "100", "100", "100", 0, 0},
        {"a result of exactly 1 is sent", 2, 8192, "100", "100", "50", "100", 1, 8192},
        {"a result of exactly 2^31 - 1 is sent", 2147483647, 8192, "100", "100", "100", "100", 2147483647, 8192},
        {"a result of 2^31 is refused", 1073741824, 8192, "50", "100", "100", "100", 0, 0},
    };
    std::string e = kEsc;
    for (const auto& row : rows) {
        cutter_->state().scaleX = row.scaleX;
        cutter_->state().scaleY = row.scaleY;
        size_t alertsBefore = alerts().size(), before = 0;
        panel({type(kVLCDTestXItem, row.nominalX), type(kVLCDTestYItem, row.nominalY),
               type(kVLCDMeasuredXItem, row.measuredX), type(kVLCDMeasuredYItem, row.measuredY),
               check([&](Driver&) { before = writeCount(); }), click(kVLCDScaleItem), click(kVLCDCloseItem)});
        std::vector<std::string> sent = writes(before);
        if (row.sentX == 0) {
            EXPECT_EQ(sent, std::vector<std::string>{e + ".R3:"}) << row.shows;
            ASSERT_EQ(alerts().size(), alertsBefore + 1) << row.shows;
            EXPECT_EQ(alerts().back().text.rfind("The calibration was not sent", 0), 0u) << row.shows;
            continue;
        }
        std::string expected = e + ".C6;1;" + std::to_string(row.sentX) + ":" + e + ".C6;0;" +
                               std::to_string(row.sentY) + ":" + e + ".C1;0:" + e + ".C6;2;:";
        EXPECT_EQ(sent, (std::vector<std::string>{e + ".R3:", expected})) << row.shows << ": one transfer";
        EXPECT_EQ(alerts().size(), alertsBefore) << row.shows;
        EXPECT_EQ(cutter_->state().scaleX, row.sentX) << row.shows;
    }
}

TEST_F(VLCDDialogTest, ScaleWithoutItsReplySendsNothing)
{
    cutter_->setAnswer(CutterAnswer::Silent);
    panel({click(kVLCDScaleItem), click(kVLCDCloseItem)});
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0].text, "Get Original Scale error!");
    EXPECT_EQ(received(".C6"), 0);
    EXPECT_EQ(received(".R3:"), kVLCDQueryTries);
}

TEST_F(VLCDDialogTest, AASAdjustmentMovesTheSensorByTheSpinsInLinkUnits)
{
    struct Row {
        const char* shows;
        int startX, startY;
        const char *x, *y;
        int sentX, sentY;
        const char* shownX;  // null: refused, nothing sent
    } rows[] = {
        {"+2.525 and -2.525 mm are +101 and -101", 0, 0, "2.525", "-2.525", 101, -101, "AAS X Offset 2.53 Adjust"},
        {"2.5 mm adds 100", 0, 0, "2.5", "0", 100, 0, "AAS X Offset 2.50 Adjust"},
        {"1 mm adds 40 (not 39)", 0, 0, "1", "-1", 40, -40, "AAS X Offset 1.00 Adjust"},
        {"one step of 0.025 mm is one unit", 40, -8, "0.025", "-0.075", 41, -11, "AAS X Offset 1.03 Adjust"},
        {"beyond the spins' limits is their limit", 0, 0, "5", "-5", 101, -101, "AAS X Offset 2.53 Adjust"},
        {"offsets at +-(2^31 - 1) are sent as they are", 2147483647, -2147483647, "0", "0", 2147483647, -2147483647,
         "AAS X Offset 53687091.18 Adjust"},
        {"a step up to 2^31 - 1 is sent", 2147483646, -2147483646, "0.025", "-0.025", 2147483647, -2147483647,
         "AAS X Offset 53687091.18 Adjust"},
        {"a step past 2^31 - 1 is refused", 2147483647, 0, "0.025", "0", 0, 0, nullptr},
        {"a step below -(2^31 - 1) is refused", 0, -2147483647, "0", "-0.025", 0, 0, nullptr},
    };
    std::string e = kEsc;
    size_t refused = 0;
    for (const auto& row : rows) {
        cutter_->state().aasX = row.startX;
        cutter_->state().aasY = row.startY;
        size_t before = 0;
        std::string shownX;
        panel({type(kVLCDAASXItem, row.x), type(kVLCDAASYItem, row.y), check([&](Driver&) { before = writeCount(); }),
               click(kVLCDAASSendItem), check([&](Driver& user) { shownX = shown(user, kVLCDAASXTextItem); }),
               click(kVLCDCloseItem)});
        if (row.shownX == nullptr) {
            EXPECT_EQ(writes(before), (std::vector<std::string>{e + ".R5:"})) << row.shows;
            ASSERT_EQ(alerts().size(), ++refused) << row.shows;
            EXPECT_EQ(alerts().back().text,
                      "Nothing was sent: a size or adjustment entered is beyond what the cutter can take.")
                << row.shows;
            continue;
        }
        std::string d6 = e + ".D6;" + std::to_string(row.sentX) + ";" + std::to_string(row.sentY) + ":";
        EXPECT_EQ(writes(before), (std::vector<std::string>{e + ".R5:", d6, e + ".C1;0;:", e + ".R5:"})) << row.shows;
        EXPECT_EQ(shownX, row.shownX) << row.shows << ": the offsets as the cutter now has them";
    }
    EXPECT_EQ(alerts().size(), refused);
}

TEST_F(VLCDDialogTest, AASOnACutterWithoutTheSensorSendsNothing)
{
    cutter_->setAnswer(CutterAnswer::Silent);
    panel({type(kVLCDAASXItem, "1"), click(kVLCDAASSendItem), click(kVLCDCloseItem)});
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0].text, "Does not support AAS update command!");
    EXPECT_EQ(received(".D6"), 0);
    EXPECT_EQ(received(".C1"), 0);
}

TEST_F(VLCDDialogTest, PresetsChangeTheSizesButOnlyTheUnitsOfTheAASSpins)
{
    panel({type(kVLCDAASXItem, "1"), type(kVLCDTestXItem, "30"), click(kVLCDInchItem), check([](Driver& user) {
               auto* d = user.dialog();
               for (int id : {kVLCDTestXItem, kVLCDTestYItem, kVLCDMeasuredXItem, kVLCDMeasuredYItem}) {
                   EXPECT_EQ(d->item(id)->units, kADMInchUnits) << id;
                   EXPECT_FLOAT_EQ(d->item(id)->value, 288.0f) << id;
               }
               EXPECT_EQ(d->item(kVLCDAASXItem)->units, kADMInchUnits);
               EXPECT_FLOAT_EQ(d->item(kVLCDAASXItem)->value, 2.8346457f) << "1 mm stays 1 mm";
               EXPECT_FLOAT_EQ(d->item(kVLCDAASYItem)->value, 0.0f);
           }),
           click(kVLCDMillimetreItem), check([](Driver& user) {
               auto* d = user.dialog();
               EXPECT_EQ(d->item(kVLCDMeasuredYItem)->units, kADMMillimeterUnits);
               EXPECT_FLOAT_EQ(d->item(kVLCDMeasuredYItem)->value, 283.46457f);
               EXPECT_FLOAT_EQ(d->item(kVLCDAASXItem)->value, 2.8346457f);
           }),
           click(kVLCDAASSendItem), click(kVLCDCloseItem)});
    EXPECT_EQ(received(".D6;40;0:"), 1) << "the sensor moves by what the spin showed";
}

// ---- Closing, capability -----------------------------------------------------------------

TEST_F(VLCDDialogTest, ClosingAfterReadAndEditsSendsNoSettings)
{
    for (bool closeBox : {false, true}) {
        panel({click(kVLCDReadItem), choose(kVLCDBladeOffsetItem, "1.000"), type(kVLCDPressureItem, "200"),
               type(kVLCDAASXItem, "1"), type(kVLCDMeasuredXItem, "90"),
               closeBox ? DialogAction([](Driver& user, std::string& error) { return user.close(error); })
                        : click(kVLCDCloseItem)});
        EXPECT_EQ(Toolkit::get().modalLog.back().result, kVLCDCloseItem) << closeBox;
    }
    EXPECT_EQ(received(".C1"), 0);
    EXPECT_EQ(received(".C6"), 0);
    EXPECT_EQ(received(".D6"), 0);
    EXPECT_EQ(cutter_->state().bladeOffset, 250);
}

TEST_F(VLCDDialogTest, OpensOnlyForAPlotterWithTheDevicePanel)
{
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    putPlotter(kPlotterCurrentBit);
    EXPECT_EQ(goVLCDDialog(), 0);
    EXPECT_TRUE(Toolkit::get().modalLog.empty());

    // A stale capability word with no current plotter to back it opens nothing.
    for (const auto& key : hostApp().prefs().keys(kCurrentPlotterPrefix)) hostApp().prefs().remove(kCurrentPlotterPrefix, key);
    g->curPlotter.PlotterReserved = kPlotterDevicePanelBit;
    EXPECT_EQ(goVLCDDialog(), 0);
    EXPECT_TRUE(Toolkit::get().modalLog.empty());
    EXPECT_TRUE(cutter_->transfers().empty());
    (void)releaseSuites(hostApp().basic());
}

TEST_F(VLCDDialogTest, PressureLimitsFollowTheFirstPen)
{
    struct Row {
        const char* shows;
        double minimum, maximum;
        float spinMin, spinMax;
    } rows[] = {
        {"the pen's range", 5, 300, 5, 300},
        {"a range of 100 or less gives 400", 50, 150, 50, 400},
        {"a negative minimum is 0", -10, 500, 0, 500},
    };
    for (const auto& row : rows) {
        putPlotter(kPlotterCurrentBit | kPlotterDevicePanelBit, row.minimum, row.maximum);
        float got[2] = {-1, -1};
        panel({check([&](Driver& user) {
                   got[0] = user.dialog()->item(kVLCDPressureItem)->minValue;
                   got[1] = user.dialog()->item(kVLCDPressureItem)->maxValue;
               }),
               click(kVLCDCloseItem)});
        EXPECT_FLOAT_EQ(got[0], row.spinMin) << row.shows;
        EXPECT_FLOAT_EQ(got[1], row.spinMax) << row.shows;
    }
}

// ---- A cutter that answers badly, stalls or goes away ------------------------------------

TEST_F(VLCDDialogTest, SilentCutterIsAskedFiftyTimesThenNamed)
{
    cutter_->setAnswer(CutterAnswer::Silent);
    std::string width, blade;
    panel({click(kVLCDReadItem), check([&](Driver& user) {
               width = shown(user, kVLCDMediaWidthItem);
               blade = shown(user, kVLCDBladeOffsetItem);
           }),
           click(kVLCDCloseItem)});
    EXPECT_EQ(received(".R1:"), 50);
    ASSERT_EQ(alerts().size(), 3u) << "the alignment query fails without a message";
    EXPECT_EQ(alerts()[0].text, "Get OR1 command error!");
    EXPECT_EQ(alerts()[1].text, "Get OR4 command error!");
    EXPECT_EQ(alerts()[2].text, "Get paper size command error!");
    EXPECT_EQ(width, "0") << "a failed query leaves its items alone";
    EXPECT_EQ(blade, "");
}

TEST_F(VLCDDialogTest, QueriesEndAfterFiveSecondsWhenTriesTakeTime)
{
    cutter_->setAnswer(CutterAnswer::Silent);
    cutter_->setTransferTimeMs(100);  // a try (query and read) takes 0.2 s: 12 ticks
    panel({click(kVLCDScaleItem), click(kVLCDCloseItem)});
    EXPECT_EQ(received(".R3:"), 25) << "5 s (300 ticks) pass after 25 tries";
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0].text, "Get Original Scale error!");
}

TEST_F(VLCDDialogTest, WrongPrefixIsAskedAgain)
{
    struct Row {
        int wrong;
        bool answered;
    } rows[] = {{49, true}, {50, false}};
    for (const auto& row : rows) {
        cutter_->answerWithWrongPrefix(row.wrong);
        int before = received(".R1:");
        size_t alertsBefore = alerts().size();
        std::string shownHeavy;
        panel({click(kVLCDReadItem), check([&](Driver& user) { shownHeavy = shown(user, kVLCDHeavyLightItem); }),
               click(kVLCDCloseItem)});
        EXPECT_EQ(received(".R1:") - before, 50) << row.wrong;
        EXPECT_EQ(shownHeavy, row.answered ? "Heavy" : "") << row.wrong;
        EXPECT_EQ(alerts().size() - alertsBefore, row.answered ? 0u : 1u) << row.wrong;
    }
}

TEST_F(VLCDDialogTest, GarbledRepliesNeverReachTheItems)
{
    struct Row {
        const char* shows;
        CutterAnswer answer;
        std::vector<std::string> messages;
        const char* model;
        const char* width;
    } rows[] = {
        {"garbage", CutterAnswer::Garbage,
         {"Get OR1 command error!", "Get OR4 command error!", "Get paper size command error!"}, "", "0"},
        {"each reply in two reads", CutterAnswer::Split, {}, "Model:FakeCutter Version:1.00", "600.00mm"},
        {"1,024 bytes without an end", CutterAnswer::Overlong,
         {"Get OR1 command error!", "Get paper size command error!"}, "Model:FakeCutter Version:1.00", "0"},
    };
    for (const auto& row : rows) {
        cutter_->setAnswer(row.answer);
        size_t alertsBefore = alerts().size();
        size_t transfersBefore = cutter_->transfers().size();
        std::string model, width, heavy;
        float pressure = -1;
        panel({click(kVLCDReadItem), check([&](Driver& user) {
                   model = shown(user, kVLCDModelItem);
                   width = shown(user, kVLCDMediaWidthItem);
                   heavy = shown(user, kVLCDHeavyLightItem);
                   pressure = user.dialog()->item(kVLCDPressureItem)->value;
               }),
               click(kVLCDCloseItem)});
        std::vector<std::string> messages;
        for (size_t i = alertsBefore; i < alerts().size(); ++i) messages.push_back(alerts()[i].text);
        EXPECT_EQ(messages, row.messages) << row.shows;
        if (row.model[0] != 0) {
            EXPECT_EQ(model, row.model) << row.shows;
        }
        EXPECT_EQ(width, row.width) << row.shows;
        bool answered = row.answer == CutterAnswer::Split;
        EXPECT_EQ(heavy, answered ? "Heavy" : "") << row.shows;
        EXPECT_FLOAT_EQ(pressure, answered ? 120.0f : 0.0f) << row.shows;
        // A reply is read while it comes and no further: once it has ended or
        // filled the room it has, no read waits on a cutter with nothing more to say.
        const auto& transfers = cutter_->transfers();
        int waited = 0;
        for (size_t i = transfersBefore; i < transfers.size(); ++i)
            waited += (transfers[i].endpoint & 0x80) != 0 && transfers[i].result == kVTUSBErrTimeout;
        EXPECT_EQ(waited, 0) << row.shows;
    }
}

// Each button with the cutter pulled out before it, and after every number
// of transfers it makes: one alert, the button ends, the link is closed.
TEST_F(VLCDDialogTest, UnpluggedBeforeOrDuringAnyButtonGivesOneAlert)
{
    auto bus = std::dynamic_pointer_cast<host::usb::FakeBus>(host::usb::busIfChosen());
    ASSERT_TRUE(bus);
    for (int button : {kVLCDReadItem, kVLCDSendItem, kVLCDTestCutItem, kVLCDScaleItem, kVLCDAASSendItem}) {
        // How many transfers the button makes with the cutter in place.
        size_t before = cutter_->transfers().size();
        panel({click(button), click(kVLCDCloseItem)});
        int transfers = (int)(cutter_->transfers().size() - before);
        ASSERT_GT(transfers, 0) << button;
        for (int after = -1; after < transfers; ++after) {
            if (after < 0)
                bus->unplug(cutter_);
            else
                cutter_->unplugAfter(after);
            size_t alertsBefore = alerts().size();
            panel({click(button), click(kVLCDCloseItem)});
            ASSERT_EQ(alerts().size(), alertsBefore + 1) << "button " << button << " unplugged after " << after;
            const std::string& text = alerts().back().text;
            bool named = text.find(kNotFound) == 0 || text.find(kSendFailed) == 0 || text.rfind("Get ", 0) == 0 ||
                         text == "Does not support AAS update command!";
            EXPECT_TRUE(named) << text;
            EXPECT_FALSE(cutter_->isOpen());
            cutter_->unplugAfter(-1);
            bus->plug(cutter_);
        }
    }
}

TEST_F(VLCDDialogTest, StalledCutterEndsEachButtonWithItsMessage)
{
    cutter_->setStalled(true);
    struct Row {
        int button;
        const char* message;
    } rows[] = {
        {kVLCDReadItem, "Get OR1 command error!"},
        {kVLCDSendItem, "Sending the job to the cutter failed; the cutter may have received only part of it."},
        {kVLCDTestCutItem, "Sending the job to the cutter failed; the cutter may have received only part of it."},
        {kVLCDScaleItem, "Get Original Scale error!"},
        {kVLCDAASSendItem, "Does not support AAS update command!"},
    };
    for (const auto& row : rows) {
        size_t before = cutter_->transfers().size(), alertsBefore = alerts().size();
        panel({click(row.button), click(kVLCDCloseItem)});
        ASSERT_EQ(alerts().size(), alertsBefore + 1) << row.button;
        EXPECT_EQ(alerts().back().text, row.message) << row.button;
        EXPECT_EQ(cutter_->transfers().size() - before, 1u) << row.button << ": the first transfer ends it";
    }
}

// ---- Replies and the completion routine -----------------------------------------------

TEST(VLCDReplies, ReplyNumbersScanOnlyWhenWhole)
{
    struct Row {
        const char* shows;
        const char* text;
        const char* prefix;
        int count;
        int scanned;
        int32_t last;
    } rows[] = {
        {"a tool-settings reply", "OR1,10,120,250,1,0,1,3;\r", "OR1,", 7, 7, 3},
        {"hard-clip limits", "0,0,24000,40000\r", "", 4, 4, 40000},
        {"negative and signed numbers", "OR5,-101,+7;\r", "OR5,", 2, 2, 7},
        {"blanks before numbers", "OR5, 1,\t2;\r", "OR5,", 2, 2, 2},
        {"a reply cut short", "OR1,10,12", "OR1,", 7, 2, 12},
        {"another prefix", "XR1,10,120;\r", "OR1,", 2, 0, 0},
        {"a field that is no number", "OR3,10000,abc;\r", "OR3,", 2, 1, 10000},
        {"the largest number", "OR5,2147483647,-2147483648;", "OR5,", 2, 2, -2147483647 - 1},
        {"one past it", "OR5,2147483648,1;", "OR5,", 2, 0, 0},
        {"digits without end", "OR5,1,99999999999999999999999999999999", "OR5,", 2, 1, 1},
        {"an empty reply", "", "OR1,", 7, 0, 0},
    };
    for (const auto& row : rows) {
        int32_t values[8] = {0};
        int scanned = ScanReplyInts(row.text, row.prefix, values, row.count);
        EXPECT_EQ(scanned, row.scanned) << row.shows;
        if (scanned > 0) {
            EXPECT_EQ(values[scanned - 1], row.last) << row.shows;
        }
    }
}

TEST(VLCDReplies, SubStringsStayWithinTheirBuffer)
{
    struct Row {
        const char* shows;
        const char* text;
        int field;
        size_t size;
        const char* start;
        const char* expected;
    } rows[] = {
        {"the model field", "OR4,0,FakeCutter,1.00,0;\r", 2, 256, "", "FakeCutter"},
        {"the last field keeps its end", "OR4,0,M,V;\r", 3, 256, "", "V;\r"},
        {"a field the reply lacks", "OR4,0;\r", 3, 256, "", ""},
        {"appended to what is there", "a,b,c", 1, 256, "x", "xb"},
        {"cut to the buffer", "OR4,0,ABCDEFGHIJ,1", 2, 5, "", "ABCD"},
        {"a full buffer takes nothing", "a,b", 0, 3, "xy", "xy"},
    };
    for (const auto& row : rows) {
        char out[300];
        std::memset(out, '#', sizeof out);
        std::strcpy(out, row.start);
        GetSubString(row.text, ',', row.field, out, row.size);
        EXPECT_STREQ(out, row.expected) << row.shows;
        EXPECT_EQ(out[row.size], '#') << row.shows << ": nothing written past the buffer";
    }
}

TEST_F(VLCDDialogTest, CompletionRoutineShowsAReplyInThePanelWhileItIsOpen)
{
    std::string shownText;
    panel({check([&](Driver& user) {
               std::memset(g->usbReadBuffer, 'Z', sizeof g->usbReadBuffer);  // full, no terminator
               ReadPipeCallBack(nullptr, 0, nullptr);
               shownText = shown(user, kVLCDMediaWidthItem);
           }),
           click(kVLCDCloseItem)});
    EXPECT_EQ(shownText, std::string(sizeof g->usbReadBuffer, 'Z'));
    EXPECT_EQ(g->usbReadBuffer[0], 0) << "the buffer is cleared";
    EXPECT_EQ(g->usbReplySink, nullptr) << "the closed panel takes no more replies";
    std::strcpy(g->usbReadBuffer, "OR5,1,1;\r");
    ReadPipeCallBack(nullptr, 0, nullptr);  // no panel: only cleared
    EXPECT_EQ(g->usbReadBuffer[0], 0);
}

}  // namespace
