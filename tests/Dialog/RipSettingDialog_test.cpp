// The weeding-line settings dialog: what it shows, what OK stores, what
// Cancel keeps, and the grid preview that follows the counts.
#include <functional>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/RipSettingDialog.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using namespace vt::host;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

class RipSettingDialogTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        g->ripMarginX = g->ripMarginY = 1.0;
        g->ripVLines = g->ripHLines = 1;
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }

    ASErr run(std::function<bool(Driver&, std::string&)> actions)
    {
        Toolkit::get().queueDialog(kRipSettingDialog.name, {std::move(actions)});
        return goRipSetting();
    }
    // The preview's lines drawn since the calls were last cleared: the upright
    // ones by x, the level ones by y, in the frame's own pixels. Each crosses
    // the whole grid, which the frame of 65 x 89 holds from (5, 20) to (60, 68).
    static void gridLines(Item* frame, std::vector<int>& xs, std::vector<int>& ys)
    {
        xs.clear();
        ys.clear();
        for (const std::string& call : frame->calls) {
            int x1, y1, x2, y2;
            if (sscanf(call.c_str(), "DrawLine %d %d %d %d", &x1, &y1, &x2, &y2) != 4) continue;
            if (x1 == x2) {
                xs.push_back(x1);
                EXPECT_EQ(std::make_pair(y1, y2), std::make_pair(20, 68)) << call;
            } else {
                ys.push_back(y1);
                EXPECT_EQ(std::make_pair(x1, x2), std::make_pair(5, 60)) << call;
            }
        }
    }
};

TEST_F(RipSettingDialogTest, ShowsTheSettingsAndOKStoresWhatWasTyped)
{
    // Four different settings, so that each field shows its own.
    g->ripMarginY = 1.5;
    g->ripVLines = 2;
    g->ripHLines = 3;
    std::vector<std::string> shown;
    std::string title;
    ASErr result = run([&](Driver& user, std::string& error) {
        title = user.dialog()->title;
        for (int32_t id : {kRipSettingMarginXItem, kRipSettingMarginYItem, kRipSettingVLinesItem, kRipSettingHLinesItem})
            shown.push_back(user.dialog()->item(id)->displayText());
        return user.type(kRipSettingMarginXItem, "2.5 mm", error) && user.type(kRipSettingMarginYItem, "3", error) &&
               user.type(kRipSettingVLinesItem, "4", error) && user.spin(kRipSettingHLinesItem, 1, true, error) &&
               user.click(kRipSettingOKItem, error);
    });
    EXPECT_EQ(result, kNoErr);
    EXPECT_EQ(title, "Weeding Lines");
    EXPECT_EQ(shown, (std::vector<std::string>{"1.00 mm", "1.50 mm", "2", "3"}));
    EXPECT_NEAR(g->ripMarginX, 2.5, 1e-6);
    EXPECT_NEAR(g->ripMarginY, 3.0, 1e-6);
    EXPECT_EQ(g->ripVLines, 4);
    EXPECT_EQ(g->ripHLines, 8) << "a large step is 5";
}

TEST_F(RipSettingDialogTest, CancelAndTheCloseBoxKeepTheSettings)
{
    struct Row {
        const char* shows;
        std::function<bool(Driver&, std::string&)> end;
    } rows[] = {
        {"Cancel", [](Driver& user, std::string& error) { return user.click(kRipSettingCancelItem, error); }},
        {"the close box", [](Driver& user, std::string& error) { return user.close(error); }},
    };
    for (const Row& row : rows) {
        ASErr result = run([&](Driver& user, std::string& error) {
            return user.type(kRipSettingMarginXItem, "7 mm", error) && user.type(kRipSettingVLinesItem, "9", error) &&
                   row.end(user, error);
        });
        EXPECT_EQ(result, kSettingsNotConfirmedErr) << row.shows;
        EXPECT_EQ(g->ripMarginX, 1.0) << row.shows;
        EXPECT_EQ(g->ripVLines, 1) << row.shows;
    }
}

TEST_F(RipSettingDialogTest, ThePreviewDrawsTheGridOfTheCountsAsTheySpin)
{
    struct Row {
        const char* shows;
        int vLines, hLines;
        std::vector<int> xs, ys;  // the frame is 65 x 89: the grid from (5, 20) to (60, 69)
    } rows[] = {
        {"one line each", 1, 1, {5, 32, 60}, {20, 44, 69}},
        {"two upright lines: the border and two inner lines", 2, 1, {5, 23, 41, 60}, {20, 44, 69}},
        {"no lines: the border", 0, 0, {5, 60}, {20, 69}},
    };
    ASErr result = run([&](Driver& user, std::string& error) {
        Item* frame = user.dialog()->item(kRipSettingPreviewItem);
        for (const Row& row : rows) {
            if (!user.type(kRipSettingHLinesItem, std::to_string(row.hLines), error)) return false;
            // The spin's own change is what redraws the preview.
            if (!user.type(kRipSettingVLinesItem, std::to_string(row.vLines + 1), error)) return false;
            frame->calls.clear();
            if (!user.spin(kRipSettingVLinesItem, -1, false, error)) return false;
            std::vector<int> xs, ys;
            gridLines(frame, xs, ys);
            EXPECT_EQ(xs, row.xs) << row.shows;
            EXPECT_EQ(ys, row.ys) << row.shows;
            bool icon = false;
            for (const std::string& call : frame->calls) icon = icon || call.rfind("DrawIconCentered 1058", 0) == 0;
            EXPECT_TRUE(icon) << row.shows << ": the art's icon is drawn over the grid";
        }
        return user.click(kRipSettingCancelItem, error);
    });
    EXPECT_EQ(result, kSettingsNotConfirmedErr);
}

TEST_F(RipSettingDialogTest, ManyLinesFillTheGridWithoutALinePerCount)
{
    ASErr result = run([&](Driver& user, std::string& error) {
        Item* frame = user.dialog()->item(kRipSettingPreviewItem);
        if (!user.type(kRipSettingVLinesItem, "1000001", error)) return false;
        frame->calls.clear();
        if (!user.spin(kRipSettingVLinesItem, -1, false, error)) return false;
        std::vector<int> xs, ys;
        gridLines(frame, xs, ys);
        EXPECT_EQ(xs.size(), 56u) << "every pixel column of the grid once";
        EXPECT_EQ(xs.front(), 5);
        EXPECT_EQ(xs.back(), 60);
        return user.click(kRipSettingCancelItem, error);
    });
    EXPECT_EQ(result, kSettingsNotConfirmedErr);
}

}  // namespace
