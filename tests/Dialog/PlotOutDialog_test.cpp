// The Plot Out dialog driven as a user would: opened from the plug-in's menu on
// a loaded selection, resized, its output roads and exit pressed; and its
// alerts when the job cannot start or the output fails.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/CutModel.h"
#include "Core/VolumePlacement.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotOutPreviewTools.h"
#include "PlotOutJobFixture.h"
#include "PlotOut/PlotOut.h"
#include "Toolkit/Driver.h"
#include "USB/FakeBus.h"
#include "USB/FakeCutter.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Toolkit;

namespace {

// Three 20 x 10 mm rectangles: a red and a blue one on the layer "Top", a red
// one on the layer "Bottom"; x tells them apart in the output.
const char* kThreeRects = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <g id="Bottom"><rect id="red2" x="110" y="50" width="20" height="10" fill="#ff0000"/></g>
  <g id="Top">
    <rect id="red1" x="10" y="50" width="20" height="10" fill="#ff0000"/>
    <rect id="blue1" x="60" y="50" width="20" height="10" fill="#0000ff"/>
  </g>
</svg>)";

class PlotOutDialogTest : public test::DialogTest {
protected:
    void SetUp() override { startSession(); }
    void TearDown() override
    {
        host::usb::setBus(nullptr);
    }

    // A complete current plotter with one pen whose every value is 1.0.
    void putPlotter(int origin = 1, int language = 0)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterOrigin = origin;
        stored.plotter.Language = language;
        Pen& pen = stored.pens[0];
        for (double* value : {&pen.Velocity, &pen.Extra, &pen.Pressure, &pen.maxExtra, &pen.minExtra, &pen.stepExtra,
                              &pen.defaultExtra, &pen.maxVelocity, &pen.minVelocity, &pen.stepVelocity,
                              &pen.defaultVelocity, &pen.maxPressure, &pen.minPressure, &pen.stepPressure,
                              &pen.defaultPressure})
            *value = 1.0;
        stored.put(hostApp().prefs());
    }

    void openJob(const char* svg = kThreeRects, bool selectAll = true) { DialogTest::openJob(svg, selectAll); }

    // A plot file through the save dialog.
    host::toolkit::DialogAction saveTo(const std::string& path)
    {
        return [path](Driver& user, std::string& error) {
            Toolkit::get().fileAnswers.push_back(path);
            return user.click(kPlotOutFileOutputItem, error);
        };
    }

    // 0 when Plot Out on a job too big for the memory left shows the alert and
    // never opens the dialog on part of the job.
    int plotOutTooBigAJob();
};

int PlotOutDialogTest::plotOutTooBigAJob()
{
    putPlotter();
    openJob();
    // Three million anchors: 84 MB to read them, in a process whose address
    // space ends 50 MB above what it has.
    host::Document* d = host::currentDocument();
    host::ArtNode* big = d->newArt(kPathArt);
    big->segments.resize(3000000, host::cornerSegment(1, 1));
    big->closed = true;
    d->place(big, kPlaceAboveAll, nullptr);
    d->setSelected(big, true);
    bool opened = false;
    Toolkit::get().queueDialog(kPlotOutDialog.name, {check([&](Driver&) { opened = true; })});
    test::limitAddressSpace(50u << 20);
    std::string error;
    host::menus().choose(host::menus().find("Plot Out Menu", error), error);
    test::limitAddressSpace(0);
    bool said = !alerts().empty() && alerts().back().text.find("not enough memory") != std::string::npos;
    return said && !opened && g->volumes == nullptr ? 0 : 1;
}

TEST_F(PlotOutDialogTest, OpensOnTheLoadedSelectionAndFreesItAtClose)
{
    putPlotter();
    openJob();
    bool ran = false;
    plotOut({check([&](Driver& user) {
                 ran = true;
                 auto* d = user.dialog();
                 EXPECT_EQ(d->title, "Plot Out");
                 EXPECT_EQ(d->resourceId, kPlotOutDialog.resource);
                 EXPECT_EQ(d->style, kADMResizingModalDialogStyle);
                 EXPECT_EQ(d->width(), 840);
                 EXPECT_EQ(d->height(), 637);
                 EXPECT_EQ(d->bounds.left, 512 - 420);
                 EXPECT_EQ(d->bounds.top, 384 - 315);
                 EXPECT_EQ(d->items.size(), 73u);
                 for (int missing : {46, 64, 76, 77}) EXPECT_EQ(d->item(missing), nullptr);
                 EXPECT_EQ(d->item(kPlotOutOffsetXLabelItem)->justify, kADMRightJustify);
                 EXPECT_EQ(d->item(kPlotOutStatusItem)->justify, kADMLeftJustify);
                 EXPECT_TRUE(d->item(kPlotOutLayerListItem)->visible);
                 EXPECT_FALSE(d->item(kPlotOutColorListItem)->visible);
                 EXPECT_NE(d->item(kPlotOutCutByLayerItem)->value, 0.0f);
                 EXPECT_NE(d->item(kPlotOutSelectToolItem)->value, 0.0f);
                 EXPECT_EQ(g->volumeCount, 3);
                 EXPECT_EQ(g_iLayerNum, 2);
                 EXPECT_EQ(g_iColorNum, 2);
                 EXPECT_EQ(g->undoPos, -1);
                 EXPECT_NEAR(g->totalCutLength, 3 * 60.0, 0.01);
                 EXPECT_FLOAT_EQ(g->mediaWidth, 600.0f);
                 EXPECT_FLOAT_EQ(g->mediaLength, 50000.0f);
             }),
             click(kPlotOutUndoItem), click(kPlotOutRedoItem),
             [](Driver& user, std::string& error) { return user.key(26, kADMControlKeyModifier, error); },
             click(kPlotOutExitItem)});
    EXPECT_TRUE(ran);
    ASSERT_FALSE(Toolkit::get().modalLog.empty());
    EXPECT_EQ(Toolkit::get().modalLog.back().result, kPlotOutExitItem);
    EXPECT_EQ(g->volumes, nullptr);
    EXPECT_EQ(g->volumeCount, 0);
    EXPECT_EQ(g_lyLoad, nullptr);
    EXPECT_EQ(g_clLoad, nullptr);
}

TEST_F(PlotOutDialogTest, ClosedWithoutTheExitButtonTheJobIsFreedAndTheFitSettingsKept)
{
    putPlotter();
    openJob();
    EXPECT_DOUBLE_EQ(g->Precious, 0.1) << "at start-up";
    EXPECT_EQ(g->FitType, 2);
    // The fit buttons open showing the kept fit, arcs or lines.
    auto fitShown = [](bool arcs) {
        return check([arcs](Driver& user) {
            EXPECT_EQ(user.dialog()->item(kPlotOutFitArcsItem)->value, arcs ? 1.0f : 0.0f);
            EXPECT_EQ(user.dialog()->item(kPlotOutFitLinesItem)->value, arcs ? 0.0f : 1.0f);
        });
    };
    plotOut({fitShown(true),
             [](Driver& user, std::string& error) { return user.type(kPlotOutFitPrecisionItem, "0.5 mm", error); },
             click(kPlotOutFitLinesItem), [](Driver& user, std::string& error) { return user.close(error); }});
    EXPECT_EQ(g->volumes, nullptr);
    EXPECT_DOUBLE_EQ(g->Precious, 0.1);
    EXPECT_EQ(g->FitType, 2);

    plotOut({[](Driver& user, std::string& error) { return user.type(kPlotOutFitPrecisionItem, "0.5 mm", error); },
             click(kPlotOutFitLinesItem), click(kPlotOutExitItem)});
    EXPECT_NEAR(g->Precious, 0.5, 1e-5);
    EXPECT_EQ(g->FitType, 1);

    // The next job's volumes are loaded with the kept settings.
    double precision = 0;
    int32_t fitType = 0;
    plotOut({fitShown(false), check([&](Driver&) {
                 ASSERT_GT(g->volumeCount, 0);
                 precision = g->volumes[0].precision;
                 fitType = g->volumes[0].fitType;
             }),
             click(kPlotOutExitItem)});
    EXPECT_NEAR(precision, 0.5, 1e-5);
    EXPECT_EQ(fitType, 1);
}

TEST_F(PlotOutDialogTest, AResizeLaysOutTheListsPreviewAndButtonRowFromTheDialogsEdges)
{
    putPlotter();
    openJob();
    plotOut({[](Driver& user, std::string& error) { return user.resize(700, 500, error); }, check([](Driver& user) {
                 auto* d = user.dialog();
                 EXPECT_EQ(d->width(), 840);
                 EXPECT_EQ(d->height(), 587);
                 for (int list : {kPlotOutLayerListItem, kPlotOutColorListItem}) {
                     EXPECT_EQ(d->item(list)->bounds.top, 450);
                     EXPECT_EQ(d->item(list)->bounds.bottom, 492);
                 }
                 int k = 0;
                 for (int id : {kPlotOutUndoItem, kPlotOutRedoItem, kPlotOutZoomToolItem, kPlotOutPanToolItem,
                                kPlotOutSelectToolItem, kPlotOutBestFitItem, kPlotOutPreviewOutputItem,
                                kPlotOutFileOutputItem, kPlotOutUSBOutputItem, kPlotOutExitItem}) {
                     const ADMRect& b = d->item(id)->bounds;
                     EXPECT_EQ(b.top, 523) << id;
                     EXPECT_EQ(b.bottom, 555) << id;
                     EXPECT_EQ(b.left, 840 - 340 + 32 * k) << id;
                     EXPECT_EQ(b.right - b.left, 32) << id;
                     ++k;
                 }
                 EXPECT_EQ(d->item(kPlotOutExitItem)->bounds.left, 788);
                 EXPECT_EQ(d->item(kPlotOutPreviewItem)->bounds.right, 834);
                 EXPECT_EQ(d->item(kPlotOutPreviewItem)->bounds.bottom, 500);
                 EXPECT_EQ(d->item(kPlotOutZoomSliderItem)->bounds.top, 512);
                 // Below the size it opens at, the table's positions give way to the
                 // layout: nothing may be left hanging outside the dialog.
                 for (const auto& item : d->items) {
                     const ADMRect& b = item->bounds;
                     EXPECT_TRUE(b.left >= 0 && b.top >= 0 && b.right <= 840 && b.bottom <= 587) << item->id;
                 }
             }),
             [](Driver& user, std::string& error) { return user.resize(905, 700, error); }, check([](Driver& user) {
                 auto* d = user.dialog();
                 EXPECT_EQ(d->width(), 900);  // in steps of 20 from the minimum
                 EXPECT_EQ(d->item(kPlotOutExitItem)->bounds.left, 900 - 52);
                 EXPECT_EQ(d->item(kPlotOutListsBoxItem)->bounds.bottom, d->height() - 64);
                 EXPECT_EQ(d->item(kPlotOutListsBoxItem)->bounds.top, d->item(kPlotOutViewBoxItem)->bounds.bottom + 1)
                     << "the lists' frame follows the view's, as each frame of the column follows the one above";
             }),
             click(kPlotOutExitItem)});
}

TEST_F(PlotOutDialogTest, PreviewOriginFollowsThePlotterOrigin)
{
    struct Row {
        const char* shows;
        int origin;
        int v, h;
    } rows[] = {
        {"bottom left", 1, 543, 0},
        {"top left", 2, 0, 0},
        {"centre", 0, 543 / 2, 616 / 2},
    };
    openJob();
    for (const Row& row : rows) {
        putPlotter(row.origin);
        // An origin no plotter gives, so that each row's is set afresh.
        g->previewOrigin.v = g->previewOrigin.h = -1;
        plotOut({click(kPlotOutExitItem)});
        EXPECT_EQ(g->previewOrigin.v, row.v) << row.shows;
        EXPECT_EQ(g->previewOrigin.h, row.h) << row.shows;
    }
}

// The x of every move (pen up) in an HPGL job, in steps.
std::vector<long> moveXs(const std::string& hpgl)
{
    std::vector<long> xs;
    for (size_t at = hpgl.find("PU"); at != std::string::npos; at = hpgl.find("PU", at + 2))
        xs.push_back(std::strtol(hpgl.c_str() + at + 2, nullptr, 10));
    return xs;
}

TEST_F(PlotOutDialogTest, TheVisibleListDecidesGroupingByLayerOrByColour)
{
    putPlotter();
    openJob();
    std::string byLayer = dir_.file("by-layer.hpgl"), byColour = dir_.file("by-colour.hpgl");
    plotOut({saveTo(byLayer), click(kPlotOutCutByColorItem), check([](Driver& user) {
                 EXPECT_FALSE(user.dialog()->item(kPlotOutLayerListItem)->visible);
                 EXPECT_TRUE(user.dialog()->item(kPlotOutColorListItem)->visible);
                 EXPECT_EQ(user.dialog()->item(kPlotOutCutByLayerItem)->value, 0.0f);
             }),
             saveTo(byColour), click(kPlotOutExitItem)});
    // red1, blue1 and red2 lie left to right: the rank of a move's x tells
    // which rectangle it starts.
    auto position = [](const std::vector<long>& xs, int rank) {
        std::vector<long> sorted = xs;
        std::sort(sorted.begin(), sorted.end());
        for (size_t i = 0; i < xs.size(); ++i)
            if (xs[i] == sorted[rank]) return (int)i;
        return -1;
    };
    std::vector<long> layer = moveXs(test::readFile(byLayer)), colour = moveXs(test::readFile(byColour));
    ASSERT_EQ(layer.size(), 3u);
    ASSERT_EQ(colour.size(), 3u);
    int red1 = position(layer, 0), blue1 = position(layer, 1), red2 = position(layer, 2);
    EXPECT_EQ(std::abs(red1 - blue1), 1) << "the layer \"Top\" goes out in one piece";
    EXPECT_TRUE(red2 == 0 || red2 == 2);
    red1 = position(colour, 0), blue1 = position(colour, 1), red2 = position(colour, 2);
    EXPECT_EQ(std::abs(red1 - red2), 1) << "the red volumes go out together";
    EXPECT_TRUE(blue1 == 0 || blue1 == 2);
}

TEST(PlotOutCutOff, LineRunsAcrossTheMediaAboveTheHighestVolume)
{
    test::TempDir dir;
    PluginGlobals globals{};
    PluginGlobals* saved = g;
    g = &globals;
    struct Row {
        const char* shows;
        std::vector<float> tops;
        double distance, width, y;
        bool line;
    } rows[] = {
        {"tops 50 and 80, distance 10, width 600", {50.0f, 80.0f}, 10.0, 600.0, 90.0, true},
        {"the first volume the highest", {80.0f, 50.0f, 30.0f}, 10.0, 600.0, 90.0, true},
        {"one volume", {25.0f}, 5.0, 300.0, 30.0, true},
        {"no volumes, no line", {}, 10.0, 600.0, 0.0, false},
    };
    host::SessionOptions options;
    options.host.pluginFolder = dir.file("Plug-ins");
    host::Session session(options);
    ASSERT_EQ(acquireSuites(session.host().basic()), kNoErr);
    for (const Row& row : rows) {
        std::vector<Volume> volumes(row.tops.size());
        for (size_t i = 0; i < volumes.size(); ++i) {
            volumes[i] = Volume{};
            float r[4] = {10.0f * i, row.tops[i], 10.0f * i + 5, row.tops[i] - 20};
            std::memcpy(volumes[i].rect, r, sizeof r);
        }
        g->volumes = volumes.empty() ? nullptr : volumes.data();
        g->volumeCount = (int32_t)volumes.size();
        g->cutOffDistance = row.distance;
        g->mediaWidth = (float)row.width;
        Vexa_Line line{};
        EXPECT_EQ(getCutOffLine(&line) != 0, row.line) << row.shows;
        if (!row.line) continue;
        EXPECT_DOUBLE_EQ(line.x1, 0.0) << row.shows;
        EXPECT_DOUBLE_EQ(line.y1, row.y) << row.shows;
        EXPECT_DOUBLE_EQ(line.x2, row.width) << row.shows;
        EXPECT_DOUBLE_EQ(line.y2, row.y) << row.shows;
    }
    EXPECT_EQ(kNoErr, releaseSuites(session.host().basic()));
    g = saved;
}

TEST_F(PlotOutDialogTest, PreviewFileUsesFineArcUnitsFileAndCutterCoarseOnes)
{
    putPlotter();
    openJob();
    auto cutter = host::usb::installFakeCutter(dir_.file("cutter.bin"), 0x5678, 0x1234);
    std::string file = dir_.file("job.hpgl");
    g->cutOff = 1;
    g->cutOffDistance = 10.0;
    plotOut({check([](Driver&) { g->curPlotter.PlotterReserved |= kPlotterCutOffBit; }),  // a cutter that cuts off
             click(kPlotOutZoomToolItem), click(kPlotOutPreviewOutputItem), check([](Driver& user) {
                 EXPECT_DOUBLE_EQ(g->arcAngleUnit, 0.0001);
                 EXPECT_NE(user.dialog()->item(kPlotOutSelectToolItem)->value, 0.0f) << "back to the select tool";
                 EXPECT_EQ(user.dialog()->item(kPlotOutZoomToolItem)->value, 0.0f);
                 EXPECT_EQ(g_iPreviewOpType, kPreviewToolSelect);
             }),
             click(kPlotOutUSBOutputItem), check([](Driver&) {
                 EXPECT_DOUBLE_EQ(g->arcAngleUnit, 0.1);
                 EXPECT_EQ(g->usbOutput, 1);
             }),
             saveTo(file), check([](Driver&) {
                 EXPECT_DOUBLE_EQ(g->arcAngleUnit, 0.1);
                 EXPECT_EQ(g->usbOutput, 0) << "a file after the cutter";
             }),
             click(kPlotOutExitItem)});
    g->cutOff = 0;
    EXPECT_TRUE(alerts().empty()) << alerts().front().text;
    std::string written = test::readFile(file);
    EXPECT_FALSE(written.empty());
    EXPECT_EQ(cutter->received(), written) << "the file and the cutter get the same bytes";
    EXPECT_EQ(test::readFile(pluginFolder() + "/" kPreviewFileName), written);
    // The rectangles' tops lie 10 mm above the job's origin; the cut-off line
    // runs 10 mm above them, at 20 mm (800 steps), written y first.
    EXPECT_NE(written.find("PU800,0;\r\nZT;"), std::string::npos) << written;
}

TEST_F(PlotOutDialogTest, AnOutputDuringAManualOrderEndsItAndWritesTheWholeJob)
{
    putPlotter();
    openJob();
    auto cutter = host::usb::installFakeCutter(dir_.file("cutter.bin"), 0x5678, 0x1234);
    std::string file = dir_.file("job.hpgl");
    struct Row {
        const char* name;
        int tool;
        host::toolkit::DialogAction output;
        std::function<std::string()> written;
    } rows[] = {
        {"preview while renumbering", kPlotOutRenumberToolItem, click(kPlotOutPreviewOutputItem),
         [&] { return test::readFile(pluginFolder() + "/" kPreviewFileName); }},
        {"file while swapping", kPlotOutSwapToolItem, saveTo(file), [&] { return test::readFile(file); }},
        {"cutter while renumbering", kPlotOutRenumberToolItem, click(kPlotOutUSBOutputItem),
         [&] { return cutter->received(); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        plotOut({click(row.tool), row.output, check([&](Driver& user) {
                     host::toolkit::Dialog& d = *user.dialog();
                     EXPECT_EQ(d.item(row.tool)->value, 0.0f) << "the manual order is over";
                     EXPECT_TRUE(d.item(kPlotOutLayerListItem)->enabled);
                     EXPECT_TRUE(d.item(kPlotOutCutByColorItem)->enabled);
                     EXPECT_NE(d.item(kPlotOutSelectToolItem)->value, 0.0f);
                 }),
                 click(kPlotOutExitItem)});
        EXPECT_EQ(moveXs(row.written()).size(), 3u) << "every layer is written, not only the one being ordered";
    }
    EXPECT_TRUE(alerts().empty()) << alerts().front().text;
}

TEST_F(PlotOutDialogTest, FailedOutputsAreReportedNeverPassedOffAsDone)
{
    putPlotter();
    openJob();
    host::usb::useFakeBus();  // no cutter on it
    std::filesystem::create_directories(pluginFolder() + "/" kPreviewFileName);  // cannot be opened as a file
    std::string badFile = dir_.file("no/such/folder/job.hpgl");
    plotOut({saveTo(badFile), click(kPlotOutUSBOutputItem), click(kPlotOutPreviewOutputItem),
             check([](Driver& user) { EXPECT_NE(user.dialog()->item(kPlotOutSelectToolItem)->value, 0.0f); }),
             click(kPlotOutExitItem)});
    ASSERT_EQ(alerts().size(), 3u);
    EXPECT_EQ(alerts()[0].text, "The plot file could not be created: " + badFile + " (No such file or directory)");
    EXPECT_NE(alerts()[1].text.find("The cutter could not be reached over USB"), std::string::npos);
    EXPECT_NE(alerts()[2].text.find(pluginFolder() + "/" kPreviewFileName), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(badFile));
}

TEST_F(PlotOutDialogTest, AJobIsWarnedOfOnlyWhenItReachesBeyondTheMedia)
{
    putPlotter();
    openJob();
    // The media is 600 x 50000 mm; each row puts every volume in one place.
    struct Row {
        const char* shows;
        float left, bottom, right, top;
        int32_t copiesX;
        double gapX;
        bool warned;
    } rows[] = {
        {"the whole width", 0, 0, 600, 10, 1, 0, false},
        {"the whole length", 0, 0, 10, 50000, 1, 0, false},
        {"a hundredth of a millimetre past the right edge", 0, 0, 600.01f, 10, 1, 0, true},
        {"past the left edge", -0.01f, 0, 10, 10, 1, 0, true},
        {"below the start", 0, -0.01f, 10, 10, 1, 0, true},
        {"past the end", 0, 0, 10, 50000.05f, 1, 0, true},
        {"two copies filling the width", 0, 0, 300, 10, 2, 0, false},
        {"two copies a little apart", 0, 0, 300, 10, 2, 0.05, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        const size_t before = alerts().size();
        plotOut({check([&row](Driver&) {
                     for (int32_t i = 0; i < g->volumeCount; i++) {
                         Volume& v = g->volumes[i];
                         v.rect[0] = row.left;
                         v.rect[1] = row.top;
                         v.rect[2] = row.right;
                         v.rect[3] = row.bottom;
                         v.baseWidth = row.right - row.left;
                         v.baseHeight = row.top - row.bottom;
                         v.scaleX = v.scaleY = 1;
                         v.copiesX = row.copiesX;
                         v.copiesY = 1;
                         v.gapX = row.gapX;
                         (void)updateVolumeRect(&v);  // the rectangle holds every copy
                     }
                 }),
                 saveTo(dir_.file("job.hpgl")), click(kPlotOutExitItem)});
        bool warned = false;
        for (size_t i = before; i < alerts().size(); i++)
            warned = warned || alerts()[i].text.find("beyond the plotter's media") != std::string::npos;
        EXPECT_EQ(warned, row.warned);
    }
}

TEST_F(PlotOutDialogTest, SaveDialogCancelledWritesNothingAndSaysNothing)
{
    putPlotter();
    openJob();
    plotOut({[](Driver& user, std::string& error) {
                 Toolkit::get().fileAnswers.push_back(std::nullopt);
                 return user.click(kPlotOutFileOutputItem, error);
             },
             click(kPlotOutExitItem)});
    EXPECT_TRUE(alerts().empty());
}

TEST_F(PlotOutDialogTest, AJobThatCannotStartIsExplainedAndTheDialogStaysShut)
{
    struct Row {
        const char* shows;
        const char* svg;
        bool select;
        bool plotter;
        ASErr code;
        const char* alert;
    } rows[] = {
        {"nothing selected", kThreeRects, false, true, kNothingSelectedErr, "Please select the artwork to cut"},
        {"text selected", R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100"><text x="10" y="50">Hi</text></svg>)",
         true, true, kUnsupportedArtErr, "cannot be cut"},
        {"no current plotter", kThreeRects, true, false, kNoCurrentPlotterErr, "No complete plotter is set up"},
    };
    for (const Row& row : rows) {
        hostApp().prefs().keys(kCurrentPlotterPrefix);
        for (const auto& key : hostApp().prefs().keys(kCurrentPlotterPrefix)) hostApp().prefs().remove(kCurrentPlotterPrefix, key);
        if (row.plotter) putPlotter();
        openJob(row.svg, row.select);
        size_t modals = Toolkit::get().modalLog.size();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        EXPECT_EQ(goPlotOut(nullptr), row.code) << row.shows;
        EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
        EXPECT_EQ(Toolkit::get().modalLog.size(), modals) << row.shows;
        ASSERT_FALSE(alerts().empty()) << row.shows;
        EXPECT_NE(alerts().back().text.find(row.alert), std::string::npos) << row.shows << ": " << alerts().back().text;
    }
}

// The host's selection read, failing from its second call on (the first is
// the check before the dialog opens; the second loads the job).
AIMatchingArtSuite* g_realMatching = nullptr;
ASErr g_selectionError = kNoErr;
int g_selectionReads = 0;

ASErr failingGetMatchingArt(const AIMatchingArtSpec* specs, int16_t count, AIArtHandle*** matches, int32_t* found)
{
    if (++g_selectionReads >= 2) return g_selectionError;
    return g_realMatching->GetMatchingArt(specs, count, matches, found);
}

TEST_F(PlotOutDialogTest, AJobThatCannotBeLoadedOrBuiltIsExplainedAndTheDialogClosesAtOnce)
{
    struct Row {
        const char* shows;
        ASErr selectionError;  // kNoErr: the selection reads
        int refuseItemsFrom;   // 0: every item is made
        ASErr returned;
        const char* alert;
    } rows[] = {
        {"memory runs out while the job loads", kMemoryErr, 0, kMemoryErr,
         "There is not enough memory to load this job."},
        {"the host cannot read the selection", 'FAIL', 0, 'FAIL', "Please select the artwork to cut"},
        {"the toolkit refuses the tenth item", kNoErr, 10, 2, "The dialog could not be built completely"},
    };
    putPlotter();
    openJob();
    Toolkit& tk = Toolkit::get();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
        AIMatchingArtSuite failing = *sMatchingArt;
        g_realMatching = sMatchingArt;
        g_selectionError = row.selectionError;
        g_selectionReads = 0;
        if (row.selectionError != kNoErr) {
            failing.GetMatchingArt = failingGetMatchingArt;
            sMatchingArt = &failing;
        }
        bool worked = false;
        tk.queueDialog(kPlotOutDialog.name, {[&worked](Driver&, std::string&) { return worked = true; }});
        size_t alertsBefore = alerts().size();
        ASErr result = kNoErr;
        {
            std::unique_ptr<test::RefuseItems> refuse;
            if (row.refuseItemsFrom != 0) refuse = std::make_unique<test::RefuseItems>(row.refuseItemsFrom);
            result = goPlotOut(nullptr);
        }
        sMatchingArt = g_realMatching;
        EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));

        EXPECT_EQ(result, row.returned);
        EXPECT_FALSE(worked) << "nobody worked on a job with parts missing";
        ASSERT_EQ(alerts().size(), alertsBefore + 1);
        EXPECT_NE(alerts().back().text.find(row.alert), std::string::npos) << alerts().back().text;
        ASSERT_FALSE(tk.modalLog.empty());
        EXPECT_EQ(tk.modalLog.back().name, kPlotOutDialog.name);
        EXPECT_TRUE(tk.modalLog.back().cancelled);
        EXPECT_EQ(g->volumes, nullptr);
        EXPECT_EQ(g->volumeCount, 0);
        EXPECT_EQ(g_lyLoad, nullptr);
        EXPECT_EQ(g_clLoad, nullptr);
        tk.failures.clear();
    }
    // With the host and the toolkit well again the same job opens.
    plotOut({check([](Driver&) { EXPECT_EQ(g->volumeCount, 3); }), click(kPlotOutExitItem)});
}

#ifdef VANTOREL_ADDRESS_LIMIT_WORKS
TEST_F(PlotOutDialogTest, AJobTooBigForMemoryIsRefusedWholeWithAnAlert)
{
    EXPECT_EXIT(std::exit(plotOutTooBigAJob()), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
