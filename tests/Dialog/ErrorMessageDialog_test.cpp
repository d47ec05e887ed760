// The error message box: placement on the screen, its items, its result.
#include <cstdlib>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Dialog/ErrorMessageDialog.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

class ErrorBoxTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override { EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic())); }
};

struct Placement {
    const char* name;
    int screenWidth, screenHeight;
    int left, top;
};

const Placement kPlacements[] = {
    {"1024 x 768 screen", 1024, 768, 378, 317},
    {"800 x 600 screen", 800, 600, 266, 233},
    {"odd sizes round down", 1025, 769, 378, 317},
};

TEST_F(ErrorBoxTest, TheBoxIsCentredOnTheScreen)
{
    for (const auto& row : kPlacements) {
        SCOPED_TRACE(row.name);
        Toolkit::get().screen = ADMRect{0, 0, static_cast<ASInt16>(row.screenHeight), static_cast<ASInt16>(row.screenWidth)};
        ADMRect seen{};
        Toolkit::get().queueDialog("Error Message Dialog", {[&seen](Driver& user, std::string&) {
                                       seen = user.dialog()->bounds;
                                       return true;
                                   }});
        ErrorMessageDialog("KorvelPro2", "No plotter is checked.");
        EXPECT_EQ(seen.left, row.left);
        EXPECT_EQ(seen.top, row.top);
        EXPECT_EQ(seen.right - seen.left, 268);
        EXPECT_EQ(seen.bottom - seen.top, 134);
    }
}

TEST_F(ErrorBoxTest, ItShowsTitleIconAndTheWholeMessageAndOKEndsItWithZero)
{
    std::string message(300, 'x');  // longer than the item: cut by the toolkit's drawing only
    Toolkit::get().queueDialog("Error Message Dialog", {[&message, this](Driver& user, std::string& error) {
                                   auto* d = user.dialog();
                                   EXPECT_EQ(d->title, "FelmontPro2");
                                   EXPECT_EQ(d->resourceId, 121);
                                   // Both static items keep their shared id 3.
                                   EXPECT_EQ(d->items.size(), 3u);
                                   EXPECT_EQ(d->items[1]->id, kErrorMessageIconItem);
                                   EXPECT_EQ(d->items[1]->picture, 1080);
                                   EXPECT_EQ(d->items[2]->id, kErrorMessageTextItem);
                                   EXPECT_EQ(d->items[2]->text, message);
                                   EXPECT_EQ(d->items[2]->bounds.left, 45);
                                   EXPECT_EQ(d->items[0]->text, "OK");
                                   const ADMRect& ok = d->items[0]->bounds;
                                   EXPECT_LE(std::abs(ok.left + ok.right - d->width()), 1) << "OK is centred across the box";
                                   EXPECT_GE(ok.top, d->items[2]->bounds.bottom) << "below the message";
                                   EXPECT_LE(ok.bottom, d->height());
                                   return user.savePicture(dir_.file("error.png"), 0, error) && user.click(kErrorMessageOKItem, error);
                               }});
    EXPECT_EQ(ErrorMessageDialog("FelmontPro2", message.c_str()), 0);
    ASSERT_FALSE(Toolkit::get().modalLog.empty());
    EXPECT_TRUE(Toolkit::get().modalLog.back().cancelled);
    EXPECT_TRUE(std::filesystem::exists(dir_.file("error.png")));
}

TEST_F(ErrorBoxTest, AnUnansweredBoxIsClosedAndReported)
{
    EXPECT_EQ(ErrorMessageDialog("KorvelPro2", "text"), 2);
    EXPECT_NE(hostOutput_.str().find("\"Error Message Dialog\" was not answered"), std::string::npos);
}

}  // namespace
