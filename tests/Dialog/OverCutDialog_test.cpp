// The overcut dialog: its items as the settings stand, OK and Cancel alike in
// size and side by side, the lengths greyed out
// with the box unticked, Cancel keeping the settings, OK storing them in
// millimetres, and the lengths kept within what the preferences can hold.
#include <cmath>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/OverCutDialog.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

class OverCutDialog : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        g->overCut = 1;
        g->overCutStart = 0.5;
        g->overCutEnd = 1.0;
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { (void)releaseSuites(hostApp().basic()); }

    // Opens the dialog with the user's actions queued; the last result.
    int32_t run(std::vector<host::toolkit::DialogAction> actions)
    {
        Toolkit::get().queueDialog(kOverCutDialog.name, std::move(actions));
        EXPECT_EQ(goOverCut(), kNoErr);
        return Toolkit::get().modalLog.back().result;
    }
};

TEST_F(OverCutDialog, UntickingGreysBothLengthsAndCancelKeepsTheSettings)
{
    bool startEnabled = true, endEnabled = true, ticked = false;
    float shown = 0;
    std::string startLabel, endLabel;
    ADMRect ok{}, cancel{};
    int dialogWidth = 0;
    int32_t result = run({[&](Driver& user, std::string& e) {
                              ok = user.find(kOverCutOKItem, e)->bounds;
                              cancel = user.find(kOverCutCancelItem, e)->bounds;
                              dialogWidth = user.dialog()->width();
                              ticked = user.find(kOverCutCheckItem, e)->value != 0;
                              shown = user.find(kOverCutStartItem, e)->value;
                              startLabel = user.find(kOverCutStartLabelItem, e)->text;
                              endLabel = user.find(kOverCutEndLabelItem, e)->text;
                              return user.click(kOverCutCheckItem, e);
                          },
                          [&](Driver& user, std::string& e) {
                              startEnabled = user.find(kOverCutStartItem, e)->enabled;
                              endEnabled = user.find(kOverCutEndItem, e)->enabled;
                              return user.click(kOverCutCancelItem, e);
                          }});
    EXPECT_TRUE(ticked);
    EXPECT_FLOAT_EQ(shown, 0.5f * 2.8346458f);
    EXPECT_EQ(startLabel, "Start:");
    EXPECT_EQ(endLabel, "End:");
    EXPECT_FALSE(startEnabled);
    EXPECT_FALSE(endEnabled);
    // OK and Cancel: one size, side by side on one row, OK first, within the dialog.
    EXPECT_EQ(ok.right - ok.left, cancel.right - cancel.left);
    EXPECT_EQ(ok.bottom - ok.top, cancel.bottom - cancel.top);
    EXPECT_EQ(ok.top, cancel.top);
    EXPECT_LT(ok.right, cancel.left);
    EXPECT_LE(cancel.right, dialogWidth);
    EXPECT_EQ(result, kOverCutCancelItem);
    EXPECT_EQ(g->overCut, 1);
    EXPECT_EQ(g->overCutStart, 0.5);
    EXPECT_EQ(g->overCutEnd, 1.0);
}

TEST_F(OverCutDialog, OKStoresMillimetresWithinWhatThePreferencesHold)
{
    struct Row {
        const char* name;
        int32_t field;
        const char* typed;
        double stored;
    };
    const Row rows[] = {
        {"2 mm is 2.0 within single precision", kOverCutStartItem, "2 mm", 2.0},
        {"a length past 1,000 mm is held at 1,000", kOverCutStartItem, "5000 mm", 1000.0},
        {"and past -1,000 mm at -1,000", kOverCutStartItem, "-5000 mm", -1000.0},
        {"the length past the end is stored as well", kOverCutEndItem, "3 mm", 3.0},
    };
    for (const Row& r : rows) {
        double startBefore = g->overCutStart, endBefore = g->overCutEnd;
        int32_t result = run({[&](Driver& user, std::string& e) { return user.type(r.field, r.typed, e); },
                              [](Driver& user, std::string& e) { return user.click(kOverCutOKItem, e); }});
        EXPECT_EQ(result, kOverCutOKItem) << r.name;
        double typed = r.field == kOverCutStartItem ? g->overCutStart : g->overCutEnd;
        double other = r.field == kOverCutStartItem ? g->overCutEnd : g->overCutStart;
        EXPECT_NEAR(typed, r.stored, std::fabs(r.stored) * 1e-6 + 1e-6) << r.name;
        EXPECT_NEAR(other, r.field == kOverCutStartItem ? endBefore : startBefore, 1e-6) << r.name << ": the other kept";
    }
}

}  // namespace
