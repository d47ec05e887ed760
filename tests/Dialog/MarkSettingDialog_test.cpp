// The registration-mark dialog and the palette button that opens it: one
// layout at a time, the lengths in millimetres within their limits, OK keeping
// the settings as whole micrometres and drawing the marks, Cancel changing
// nothing, and no dialog at all when nothing counts as selected.
#include "Dialog/MarkSettingDialog.h"

#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/MarkSetting.h"
#include "Dialog/PreProcessDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "DocumentFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

using test::kMM;

class MarkSettingDialogTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        std::string error;
        // 100 x 50 mm with a 2 mm stroke, inside a 220 x 140 mm page.
        auto d = host::readSvgText(host::documents(),
                                   R"(<svg xmlns="http://www.w3.org/2000/svg" width="220mm" height="140mm" viewBox="0 0 220 140">)"
                                   R"(<rect id="label" x="60" y="45" width="100" height="50" fill="none" stroke="#000" stroke-width="2"/>)"
                                   R"(<g id="art"><g id="group"><rect id="inner" x="10" y="10" width="20" height="20"/></g></g></svg>)",
                                   "label.svg", error);
        ASSERT_TRUE(d) << error;
        host::documents().adopt(std::move(d));
    }

    host::Document& d() { return *host::currentDocument(); }
    host::ArtNode* art(const char* name)
    {
        for (host::ArtNode* a : d().allArt())
            if (a->name == name) return a;
        return nullptr;
    }
    void select(const std::vector<host::ArtNode*>& chosen)
    {
        for (host::ArtNode* a : d().allArt()) d().setSelected(a, false);
        for (host::ArtNode* a : chosen) d().setSelected(a, true);
    }
    // The palette's registration-mark button, as the user presses it.
    void pressMarks()
    {
        Driver user(Toolkit::get(), Toolkit::get().findDialog(kPreProcessDialog.name));
        std::string error;
        ASSERT_TRUE(user.click(kPreProcessMarksItem, error)) << error;
    }
    size_t marksDialogsShown()
    {
        size_t n = 0;
        for (const auto& record : Toolkit::get().modalLog) n += record.name == kAASSettingDialog.name;
        return n;
    }
    int marksLayers()
    {
        int n = 0;
        for (host::LayerNode* l : d().layers()) n += l->title == kMarksLayerTitle;
        return n;
    }
};

bool isOn(Driver& user, ASInt32 id)
{
    std::string error;
    host::toolkit::Item* item = user.find(id, error);
    return item != nullptr && item->value != 0;
}

TEST_F(MarkSettingDialogTest, InitShowsExactlyOneLayoutByPriority)
{
    struct Row {
        const char* shows;
        uint8_t fourPoint, segmental, copies;  // the flags before
        uint8_t expect4, expectSeg, expectCopies;
    } rows[] = {
        {"all three set: 4-point wins", 1, 1, 1, 1, 0, 0},
        {"segmental and copies: segmental", 0, 1, 1, 0, 1, 0},
        {"copies alone stays", 0, 0, 1, 0, 0, 1},
        {"none set: 4-point", 0, 0, 0, 1, 0, 0},
    };
    for (const Row& row : rows) {
        g->mark4PointPosition = row.fourPoint;
        g->markSegmentalPosition = row.segmental;
        g->markMultipleCopies = row.copies;
        g->markCopiesWithOutline = row.copies;
        Toolkit::get().queueDialog(kAASSettingDialog.name, {[&row](Driver& user, std::string&) {
                                       auto* dialog = user.dialog();
                                       EXPECT_EQ(dialog->resourceId, kAASSettingDialog.resource);
                                       EXPECT_EQ(dialog->title, "Registration Marks");
                                       EXPECT_EQ(dialog->width(), 200);
                                       EXPECT_EQ(dialog->height(), 375);
                                       EXPECT_EQ(isOn(user, kAASSetting4PointItem), row.expect4 != 0) << row.shows;
                                       EXPECT_EQ(isOn(user, kAASSettingSegmentalItem), row.expectSeg != 0) << row.shows;
                                       EXPECT_EQ(isOn(user, kAASSettingMultipleCopiesItem), row.expectCopies != 0)
                                           << row.shows;
                                       EXPECT_EQ(isOn(user, kAASSettingWithOutlineItem), row.copies != 0) << row.shows;
                                       return true;
                                   }});
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        EXPECT_EQ(goAASSettingDialog(AIRealRect{0, 100, 100, 0}), kAASSettingCancelItem) << row.shows;
        (void)releaseSuites(hostApp().basic());
        EXPECT_EQ(g->mark4PointPosition, row.expect4) << row.shows;
        EXPECT_EQ(g->markSegmentalPosition, row.expectSeg) << row.shows;
        EXPECT_EQ(g->markMultipleCopies, row.expectCopies) << row.shows;
    }
    EXPECT_EQ(marksLayers(), 0) << "unanswered, the dialog draws nothing";
}

TEST_F(MarkSettingDialogTest, LengthsShowInMillimetresWithinTheirLimits)
{
    struct Row {
        ASInt32 id;
        const char* shown;
        double minMM, maxMM, smallMM, largeMM;
    } rows[] = {
        {kAASSettingLengthItem, "25", 10, 50, 1, 10},     {kAASSettingThicknessItem, "1", 1, 2, 0.01, 0.1},
        {kAASSettingMarginItem, "5", 1, 50, 1, 10},       {kAASSettingXStepItem, "500", 200, 600, 10, 100},
        {kAASSettingYStepItem, "500", 200, 600, 10, 100}, {kAASSettingSpaceItem, "0", 0, 100, 1, 10},
    };
    g->markYCopies = 4;  // apart from the low limit typed below, and from the copies across
    Toolkit::get().queueDialog(kAASSettingDialog.name, {[&rows](Driver& user, std::string& error) {
                                   for (const Row& row : rows) {
                                       host::toolkit::Item* item = user.find(row.id, error);
                                       if (item == nullptr) return false;
                                       EXPECT_EQ(item->units, kADMMillimeterUnits) << row.id;
                                       EXPECT_EQ(item->displayText().rfind(row.shown, 0), 0u)
                                           << row.id << ": " << item->displayText();
                                       // Single-precision points: within a millionth.
                                       EXPECT_NEAR(item->minValue / kMM, row.minMM, 1e-6 * row.maxMM) << row.id;
                                       EXPECT_NEAR(item->maxValue / kMM, row.maxMM, 1e-6 * row.maxMM) << row.id;
                                       EXPECT_NEAR(item->smallIncrement / kMM, row.smallMM, 1e-6 * row.largeMM)
                                           << row.id;
                                       EXPECT_NEAR(item->largeIncrement / kMM, row.largeMM, 1e-6 * row.largeMM)
                                           << row.id;
                                   }
                                   for (ASInt32 id : {kAASSettingXCopiesItem, kAASSettingYCopiesItem}) {
                                       host::toolkit::Item* item = user.find(id, error);
                                       if (item == nullptr) return false;
                                       EXPECT_EQ(item->units, kADMNoUnits);
                                       EXPECT_EQ(item->precision, 0);
                                       EXPECT_EQ(item->displayText(), id == kAASSettingXCopiesItem ? "1" : "4");
                                       EXPECT_FLOAT_EQ(item->minValue, 1);
                                       EXPECT_FLOAT_EQ(item->maxValue, 10);
                                   }
                                   // Typed beyond the limits, the values stop at them.
                                   return user.type(kAASSettingThicknessItem, "3 mm", error) &&
                                          user.type(kAASSettingXCopiesItem, "12", error) &&
                                          user.type(kAASSettingYCopiesItem, "0", error) &&
                                          user.click(kAASSettingOKItem, error);
                               }});
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(goAASSettingDialog(AIRealRect{0, 100, 100, 0}), kNoErr);
    (void)releaseSuites(hostApp().basic());
    EXPECT_EQ(g->markThickness, 2000);
    EXPECT_EQ(g->markXCopies, 10);
    EXPECT_EQ(g->markYCopies, 1);
    EXPECT_EQ(g->markLength, 25000) << "an untouched length comes back as it was";
    EXPECT_EQ(g->markXStep, 500000);
}

TEST_F(MarkSettingDialogTest, ARadioTurnsTheOtherTwoOff)
{
    Toolkit::get().queueDialog(kAASSettingDialog.name, {[](Driver& user, std::string& error) {
                                   if (!user.click(kAASSettingSegmentalItem, error)) return false;
                                   EXPECT_FALSE(isOn(user, kAASSetting4PointItem));
                                   EXPECT_TRUE(isOn(user, kAASSettingSegmentalItem));
                                   if (!user.click(kAASSettingMultipleCopiesItem, error)) return false;
                                   EXPECT_FALSE(isOn(user, kAASSetting4PointItem));
                                   EXPECT_FALSE(isOn(user, kAASSettingSegmentalItem));
                                   EXPECT_TRUE(isOn(user, kAASSettingMultipleCopiesItem));
                                   return user.click(kAASSettingCancelItem, error);
                               }});
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(goAASSettingDialog(AIRealRect{0, 100, 100, 0}), kAASSettingCancelItem);
    (void)releaseSuites(hostApp().basic());
    EXPECT_EQ(g->mark4PointPosition, 1) << "Cancel keeps the layout";
    EXPECT_EQ(g->markMultipleCopies, 0);
}

TEST_F(MarkSettingDialogTest, CancelReturns25AndChangesNothing)
{
    select({art("label")});
    std::string before = host::writeSvgText(d());
    Toolkit::get().queueDialog(kAASSettingDialog.name, {[](Driver& user, std::string& error) {
                                   return user.type(kAASSettingThicknessItem, "1.5 mm", error) &&
                                          user.click(kAASSettingMultipleCopiesItem, error) &&
                                          user.type(kAASSettingXCopiesItem, "3", error) &&
                                          user.click(kAASSettingCancelItem, error);
                               }});
    pressMarks();
    ASSERT_EQ(Toolkit::get().modalLog.size(), 1u);
    EXPECT_EQ(Toolkit::get().modalLog[0].result, kAASSettingCancelItem);
    EXPECT_EQ(g->markThickness, 1000);
    EXPECT_EQ(g->markXCopies, 1);
    EXPECT_EQ(g->mark4PointPosition, 1);
    EXPECT_EQ(host::writeSvgText(d()), before) << "the document is as it was";
}

TEST_F(MarkSettingDialogTest, OKStoresWholeMicrometresAndASecondOKLeavesOneMarksLayer)
{
    select({art("label")});
    Toolkit::get().queueDialog(kAASSettingDialog.name, {[](Driver& user, std::string& error) {
                                   return user.type(kAASSettingThicknessItem, "1.5 mm", error) &&
                                          user.click(kAASSettingOKItem, error);
                               }});
    pressMarks();
    EXPECT_EQ(g->markThickness, 1500) << "1.5 mm rounds half up to 1500 micrometres";
    EXPECT_EQ(marksLayers(), 1);

    // Now the marks are selected too: they never count for the bounds.
    for (host::ArtNode* a : d().allArt()) d().setSelected(a, a->name != "inner" && a->name != "group");
    Toolkit::get().queueDialog(kAASSettingDialog.name,
                               {[](Driver& user, std::string& error) { return user.click(kAASSettingOKItem, error); }});
    pressMarks();
    EXPECT_EQ(marksLayers(), 1);
    host::LayerNode* layer = d().layerByTitle(kMarksLayerTitle);
    ASSERT_NE(layer, nullptr);
    int tagged = 0;
    for (host::ArtNode* a : d().allArt()) tagged += a->tag(kTagAASSetting) != nullptr;
    EXPECT_EQ(tagged, 1);
    ASSERT_EQ(layer->root->children.size(), 1u);
    const std::string* text = layer->root->children.front()->tag(kTagAASSetting);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "\x1b.D4;0;0;1000:\x1b.D1;6400;4400:\r\n") << "the stroke of the label is left out";
}

TEST_F(MarkSettingDialogTest, NothingThatCountsSelectedGivesTheWarningAndNoDialog)
{
    struct Row {
        const char* shows;
        std::vector<const char*> selected;
    } rows[] = {
        {"nothing selected", {}},
        {"only an object inside a group", {"inner"}},
    };
    for (const Row& row : rows) {
        std::vector<host::ArtNode*> chosen;
        for (const char* name : row.selected) chosen.push_back(art(name));
        select(chosen);
        size_t alerts = hostApp().alerts().size();
        pressMarks();
        ASSERT_EQ(hostApp().alerts().size(), alerts + 1) << row.shows;
        EXPECT_EQ(hostApp().alerts().back().text, " Warning: No Object Selected!") << row.shows;
        EXPECT_EQ(marksDialogsShown(), 0u) << row.shows;
        EXPECT_EQ(marksLayers(), 0) << row.shows;
    }
    // Only the marks themselves selected: the same.
    select({art("label")});
    Toolkit::get().queueDialog(kAASSettingDialog.name,
                               {[](Driver& user, std::string& error) { return user.click(kAASSettingOKItem, error); }});
    pressMarks();
    ASSERT_EQ(marksLayers(), 1);
    for (host::ArtNode* a : d().allArt()) d().setSelected(a, a->layer && a->layer->title == kMarksLayerTitle);
    size_t alerts = hostApp().alerts().size();
    pressMarks();
    EXPECT_EQ(hostApp().alerts().size(), alerts + 1);
    EXPECT_EQ(marksDialogsShown(), 1u);
}

}  // namespace

namespace {

TEST_F(MarkSettingDialogTest, MarksThatCannotBeMadeAreReportedAndTheEarlierOnesStay)
{
    select({art("label")});
    Toolkit::get().queueDialog(kAASSettingDialog.name,
                               {[](Driver& user, std::string& error) { return user.click(kAASSettingOKItem, error); }});
    pressMarks();
    ASSERT_EQ(marksLayers(), 1);

    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    AITagSuite* held = sAITag;
    AITagSuite broken = *held;
    broken.SetTag = [](AIArtHandle, const char*, const char*, const void*) -> ASErr { return 'NoTg'; };
    sAITag = &broken;
    Toolkit::get().queueDialog(kAASSettingDialog.name, {[](Driver& user, std::string& error) {
                                   return user.click(kAASSettingSegmentalItem, error) &&
                                          user.click(kAASSettingOKItem, error);
                               }});
    size_t alerts = hostApp().alerts().size();
    EXPECT_EQ(goAASSettingDialog(AIRealRect{0, 100, 100, 0}), 'NoTg');
    sAITag = held;
    (void)releaseSuites(hostApp().basic());
    ASSERT_EQ(hostApp().alerts().size(), alerts + 1);
    EXPECT_EQ(hostApp().alerts().back().text, "The registration marks could not be made. The earlier marks are kept.");
    EXPECT_EQ(marksLayers(), 1);
    host::LayerNode* layer = d().layerByTitle(kMarksLayerTitle);
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->root->children.size(), 1u);
    EXPECT_EQ(*layer->root->children.front()->tag(kTagAASSetting), "\x1b.D4;0;0;1000:\x1b.D1;6400;4400:\r\n");
}

}  // namespace
