// What every modal dialog shares: its set-up from an item table, and the
// buttons that end it, storing on OK only what the dialog accepts.
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/DialogCommon.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

const DialogResource kTestDialog = {"Shared Set-up Dialog", 1, 340, 70};
enum { kTestOK = 1, kTestCancel = 2, kTestOther = 3, kTestOKResult = 5, kTestCancelResult = 7 };

// How many OK clicks the dialog refuses before it accepts, and how often it
// was asked.
int g_refusals = 0;
int g_asked = 0;

bool acceptAfterRefusals(ADMDialogRef)
{
    ++g_asked;
    return g_asked > g_refusals;
}

ASErr okProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return acceptOnClick(item, notifier, kTestOKResult, acceptAfterRefusals);
}
ASErr cancelProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return endModalOnClick(item, notifier, kTestCancelResult, true);
}
ASErr separateButtonsInit(ADMItemRef item) { return setOkCancelProcs(item, kTestOK, okProc, cancelProc); }
ASErr oneProc(ADMItemRef item, ADMNotifierRef notifier)
{
    return okOrCancelOnClick(item, notifier, kTestOK, kTestOKResult, kTestCancelResult, acceptAfterRefusals);
}
ASErr oneProcInit(ADMItemRef item) { return useNotifyProc(item, oneProc); }

const Item_Control_arg kSeparateButtons[] = {
    {kADMTextPushButtonType, 0, 0, 0, kTestOK, 10, 100, 40, 21, separateButtonsInit, nullptr},
    {kADMTextPushButtonType, 0, 0, 0, kTestCancel, 120, 100, 40, 21, separateButtonsInit, nullptr},
};
const Item_Control_arg kOneProcButtons[] = {
    {kADMTextPushButtonType, 0, 0, 0, kTestOK, 10, 100, 40, 21, oneProcInit, nullptr},
    {kADMTextPushButtonType, 0, 0, 0, kTestCancel, 120, 100, 40, 21, oneProcInit, nullptr},
    {kADMTextPushButtonType, 0, 0, 0, kTestOther, 230, 100, 40, 21, oneProcInit, nullptr},
};
const Item_Control_arg* g_table = nullptr;
int g_count = 0;

ASErr testInit(ADMDialogRef dialog)
{
    // The About dialog's title, from the string list.
    (void)setUpDialog(dialog, kTestDialog, 11, g_table, g_count);
    return kNoErr;
}

class DialogCommonTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }
};

struct ButtonCase {
    const char* what;
    bool oneProc;     // the buttons share one procedure (okOrCancelOnClick)
    int refusals;     // OK clicks the dialog refuses
    int clicks;       // clicks on the button
    ASInt32 button;
    ASInt32 result;
    bool cancelled;
    int asked;        // how often the dialog was asked to accept
};

TEST_F(DialogCommonTest, ButtonsEndTheDialogWithTheirResultOnlyWhenItAccepts)
{
    const ButtonCase cases[] = {
        {"OK accepted", false, 0, 1, kTestOK, kTestOKResult, false, 1},
        {"OK refused once stays open, then ends", false, 1, 2, kTestOK, kTestOKResult, false, 2},
        {"Cancel never asks", false, 0, 1, kTestCancel, kTestCancelResult, true, 0},
        {"shared procedure, OK", true, 0, 1, kTestOK, kTestOKResult, false, 1},
        {"shared procedure, OK refused once", true, 1, 2, kTestOK, kTestOKResult, false, 2},
        {"shared procedure, Cancel", true, 0, 1, kTestCancel, kTestCancelResult, true, 0},
        {"shared procedure, any other button cancels", true, 0, 1, kTestOther, kTestCancelResult, true, 0},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.what);
        g_refusals = c.refusals;
        g_asked = 0;
        g_table = c.oneProc ? kOneProcButtons : kSeparateButtons;
        g_count = c.oneProc ? 3 : 2;
        Toolkit::get().modalLog.clear();
        bool openAfterRefusal = true;
        Toolkit::get().queueDialog(kTestDialog.name, {[&](Driver& user, std::string& error) {
                                       auto* d = user.dialog();
                                       EXPECT_EQ(d->title, "About Vantorel");
                                       EXPECT_EQ(d->width(), 340);
                                       EXPECT_EQ(d->height(), 70);
                                       for (int i = 1; i < c.clicks; ++i) {
                                           if (!user.click(c.button, error)) return false;
                                           openAfterRefusal = openAfterRefusal && !d->ended;
                                       }
                                       return user.click(c.button, error);
                                   }});
        ASInt32 result = runModalDialog(kTestDialog, testInit);
        EXPECT_EQ(result, c.result);
        ASSERT_EQ(Toolkit::get().modalLog.size(), 1u);
        EXPECT_EQ(Toolkit::get().modalLog[0].cancelled, c.cancelled);
        EXPECT_EQ(g_asked, c.asked);
        EXPECT_TRUE(openAfterRefusal);
    }
}

}  // namespace
