// A job run from the command line (plot, preview) drives the Plot Out dialog
// with nobody watching: the preview frame is painted (its raster made) only
// when something looks at it, a picture asked for or the pointer brought to it.
#include "App.h"
#include "Common/PluginGlobals.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Core/VolumePlacement.h"
#include "Dialog/PlotOutDialog.h"
#include "HostFixture.h"
#include "Toolkit/Driver.h"

namespace {

using vt::host::toolkit::DialogAction;
using vt::host::toolkit::Driver;
using vt::host::toolkit::Item;
using vt::host::toolkit::ModalOutcome;
using vt::host::toolkit::Toolkit;

class JobSession : public vt::test::HostTest {
protected:
    void SetUp() override
    {
        makeSession();
        ASSERT_TRUE(vt::app::startJob(session(), VANTOREL_SOURCE_DIR "/samples/open-sign.svg",
                                      "Generic 24in Drag Knife", ""));
    }
    ModalOutcome plotOut(std::vector<DialogAction> actions)
    {
        actions.push_back([](Driver& user, std::string& e) { return user.click(kPlotOutExitItem, e); });
        ModalOutcome outcome;
        std::string error;
        EXPECT_TRUE(vt::app::driveJobPlotOut(std::move(actions), outcome, error)) << error;
        EXPECT_TRUE(outcome.clean()) << (outcome.failures.empty() ? outcome.openError : outcome.failures[0]);
        return outcome;
    }
    static Item* frame(Driver& user)
    {
        std::string error;
        return user.find(kPlotOutPreviewItem, error);
    }
};

// A dialog that never opened wrote nothing, even when nothing else was said.
TEST_F(JobSession, ADialogThatDidNotOpenIsAFailure)
{
    ModalOutcome outcome;
    EXPECT_FALSE(vt::app::plotOutDialogWorked(session(), outcome));
}

TEST_F(JobSession, AJobWrittenToAFilePaintsNoPreview)
{
    std::string job = dir_.file("job.hpgl");
    Toolkit::get().fileAnswers.push_back(job);
    bool drawnBefore = true, drawnAfter = true;
    plotOut({[&](Driver& user, std::string&) {
                 drawnBefore = frame(user)->raster.surface() != nullptr;
                 return true;
             },
             [](Driver& user, std::string& e) { return user.click(kPlotOutFileOutputItem, e); },
             [&](Driver& user, std::string&) {
                 drawnAfter = frame(user)->raster.surface() != nullptr;
                 return true;
             }});
    EXPECT_FALSE(drawnBefore) << "the dialog opened";
    EXPECT_FALSE(drawnAfter) << "the job was written";
    EXPECT_FALSE(vt::test::readFile(job).empty());
}

TEST_F(JobSession, APictureAskedForIsPaintedAsOnAScreen)
{
    plotOut({[&](Driver& user, std::string& e) {
        if (!user.savePicture(dir_.file("preview.png"), kPlotOutPreviewItem, e)) return false;
        // What the README's preview session finds there.
        EXPECT_EQ(frame(user)->raster.pixel(147, 463), 0x40E040) << "the E's fitted lines";
        EXPECT_EQ(frame(user)->raster.pixel(132, 410), 0xFF00FF) << "a handle of the selection";
        return true;
    }});
}

TEST_F(JobSession, ThePointerBroughtToThePreviewFindsTheSelectionsHandles)
{
    ASInt32 cursor = 0;
    plotOut({[&](Driver& user, std::string& e) {
        // The centre of the selection, where the drawn outline has its move handle.
        AIRealRect selection;
        ADMRect r;
        if (getSelectionVolumeRealRect(&selection) != kNoErr) return false;
        convertDimenRectToFrameRect(selection, &r);
        ADMPoint centre = {(ASInt16)((r.left + r.right) / 2), (ASInt16)((r.top + r.bottom) / 2)};
        if (!user.hover(kPlotOutPreviewItem, centre, 0, e)) return false;
        cursor = frame(user)->cursor;
        return true;
    }});
    EXPECT_EQ(cursor, 6012) << "the move tool";
}

}  // namespace
