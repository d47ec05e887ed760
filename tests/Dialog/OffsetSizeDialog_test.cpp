// The offset distance dialog, and the palette's contour-offset button that
// opens it: OK stores the distance, anything else runs no offset.
#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PreProcess.h"
#include "Dialog/OffsetSizeDialog.h"
#include "Dialog/PreProcessDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

class OffsetSizeDialogTest : public test::HostTest {
protected:
    void SetUp() override { startSession(); }
    // The palette's contour-offset button, as the user presses it.
    void pressOffset()
    {
        Driver user(Toolkit::get(), Toolkit::get().findDialog(kPreProcessDialog.name));
        std::string error;
        ASSERT_TRUE(user.click(kPreProcessOffsetItem, error)) << error;
    }
    void openSquare()
    {
        std::string error;
        auto d = host::readSvgText(host::documents(),
                                   R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100"><rect width="50" height="50"/></svg>)",
                                   "square.svg", error);
        ASSERT_TRUE(d) << error;
        host::documents().adopt(std::move(d));
        for (host::ArtNode* a : host::currentDocument()->allArt()) host::currentDocument()->setSelected(a, true);
    }
};

TEST_F(OffsetSizeDialogTest, OKWithTwoMillimetresStoresTwoAndRunsTheOffset)
{
    openSquare();
    Toolkit::get().queueDialog(kOffsetSizeDialog.name, {[](Driver& user, std::string& error) {
                                   auto* d = user.dialog();
                                   EXPECT_EQ(d->resourceId, kOffsetSizeDialog.resource);
                                   EXPECT_EQ(d->title, "Contour Offset");
                                   EXPECT_EQ(d->width(), 238);
                                   EXPECT_EQ(d->height(), 65);
                                   EXPECT_EQ(d->item(kOffsetSizeLabelItem)->justify, kADMRightJustify);
                                   EXPECT_EQ(d->item(kOffsetSizeDistanceItem)->displayText(), "1.00 mm");
                                   return user.spin(kOffsetSizeDistanceItem, 1, false, error) &&
                                          user.click(kOffsetSizeOKItem, error);
                               }});
    pressOffset();
    EXPECT_FLOAT_EQ(g->offsetSize, 2.0f);
    EXPECT_NE(host::currentDocument()->layerByTitle(kOffsetLayerTitle), nullptr);
}

TEST_F(OffsetSizeDialogTest, CancelKeepsTheDistanceAndRunsNoOffset)
{
    openSquare();
    std::string before = host::writeSvgText(*host::currentDocument());
    Toolkit::get().queueDialog(kOffsetSizeDialog.name, {[](Driver& user, std::string& error) {
                                   return user.type(kOffsetSizeDistanceItem, "7 mm", error) &&
                                          user.click(kOffsetSizeCancelItem, error);
                               }});
    pressOffset();
    EXPECT_FLOAT_EQ(g->offsetSize, 1.0f);
    EXPECT_EQ(host::writeSvgText(*host::currentDocument()), before) << "nothing changed";

    // Closed by its close box: the same.
    Toolkit::get().queueDialog(kOffsetSizeDialog.name,
                               {[](Driver& user, std::string& error) { return user.close(error); }});
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(goOffsetSize(), kSettingsNotConfirmedErr);
    EXPECT_EQ(releaseSuites(hostApp().basic()), kNoErr);
}

TEST_F(OffsetSizeDialogTest, TheDistanceIsNeverBelowZero)
{
    Toolkit::get().queueDialog(kOffsetSizeDialog.name, {[](Driver& user, std::string& error) {
                                   return user.type(kOffsetSizeDistanceItem, "-3", error) &&
                                          user.click(kOffsetSizeOKItem, error);
                               }});
    ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    EXPECT_EQ(goOffsetSize(), kNoErr);
    EXPECT_EQ(releaseSuites(hostApp().basic()), kNoErr);
    EXPECT_FLOAT_EQ(g->offsetSize, 0.0f);
}

}  // namespace
