// The command palette's place, docking group and visibility: the defaults of
// a first start, the keys written in order, the state back in the next
// session, and a saved corner off the screen brought back onto it.
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/PaletteState.h"
#include "HostFixture.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::Toolkit;

namespace {

ASErr restoreInit(ADMDialogRef dialog)
{
    restorePaletteState(dialog, 212, 100);
    return kNoErr;
}

class PaletteState : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { (void)releaseSuites(hostApp().basic()); }

    ADMDialogRef make()
    {
        return sADMDialog->Create(g->pluginRef, "State Test Palette", 0, kADMFloatingDialogStyle, restoreInit,
                                  nullptr, 0);
    }
};

TEST_F(PaletteState, AFirstStartIsShownAtThePaletteAreasCornerAndComesBackAsItWasLeft)
{
    Toolkit::get().paletteArea = ADMRect{40, 700, 740, 1000};  // top, left, bottom, right
    ADMDialogRef palette = make();
    ADMRect bounds;
    sADMDialog->GetBoundsRect(palette, &bounds);
    EXPECT_EQ(bounds.left, 700);
    EXPECT_EQ(bounds.top, 40);
    EXPECT_EQ(bounds.right - bounds.left, 212);
    EXPECT_EQ(bounds.bottom - bounds.top, 100);
    EXPECT_TRUE(sADMDialog->IsVisible(palette));
    const char* group = "x";
    ASInt32 code = 0;
    ASSERT_EQ(sADMDialogGroup->GetDialogGroupInfo(palette, &group, &code), kNoErr);
    EXPECT_EQ(group, nullptr);
    EXPECT_EQ(code, 7168);

    // Moved, docked and hidden by the user, then destroyed at shutdown.
    ADMRect moved = {300, 120, 400, 332};
    sADMDialog->SetBoundsRect(palette, &moved);
    ASSERT_EQ(sADMDialogGroup->SetDialogGroupInfo(palette, "Vantorel Palettes", 5120), kNoErr);
    sADMDialog->Show(palette, false);
    savePaletteState(palette);
    EXPECT_EQ(hostApp().prefs().keys("Vantorel"),
              (std::vector<std::string>{kPalettePositionCodeKey, kPaletteGroupNameKey, kPaletteLocationKey,
                                        kPaletteSizeKey, kPaletteVisibleKey}));
    AIPoint size = {0, 0};
    ASSERT_EQ(sAIPreference->GetPointPreference(kPaletteStatePrefix, kPaletteSizeKey, &size), kNoErr);
    EXPECT_EQ(size.h, 212);
    EXPECT_EQ(size.v, 100);
    sADMDialog->Destroy(palette);

    palette = make();
    sADMDialog->GetBoundsRect(palette, &bounds);
    EXPECT_EQ(bounds.left, 120);
    EXPECT_EQ(bounds.top, 300);
    EXPECT_FALSE(sADMDialog->IsVisible(palette));
    ASSERT_EQ(sADMDialogGroup->GetDialogGroupInfo(palette, &group, &code), kNoErr);
    EXPECT_STREQ(group, "Vantorel Palettes");
    EXPECT_EQ(code, 5120);
    sADMDialog->Destroy(palette);
}

TEST_F(PaletteState, ACornerOffTheScreenIsBroughtBackOntoIt)
{
    struct Row {
        const char* name;
        AIPoint saved;
        ASInt16 left, top;
    };
    // The screen is 1024 x 768.
    const Row rows[] = {
        {"on the screen: kept", {500, 300}, 500, 300},
        {"past the right edge", {2000, 300}, 812, 300},
        {"below the bottom", {500, 900}, 500, 668},
        {"above and left of it", {-300, -50}, 0, 0},
    };
    for (const Row& r : rows) {
        ASSERT_EQ(sAIPreference->PutPointPreference(kPaletteStatePrefix, kPaletteLocationKey, &r.saved), kNoErr);
        ADMDialogRef palette = make();
        ADMRect bounds;
        sADMDialog->GetBoundsRect(palette, &bounds);
        EXPECT_EQ(bounds.left, r.left) << r.name;
        EXPECT_EQ(bounds.top, r.top) << r.name;
        sADMDialog->Destroy(palette);
    }
}

}  // namespace
