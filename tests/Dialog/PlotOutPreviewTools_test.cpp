// The preview's mouse tools and zoom: the figures they work out (Shift moves,
// handle outlines, scale factors, zoom drags, the slider, cursors, best fit),
// then the tools driven in the Plot Out dialog as a user would.
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "CurrentPlotterPrefs.h"
#include "Dialog/PlotOutDialog.h"
#include "Dialog/PlotOutLists.h"
#include "Dialog/PlotOutPreviewTools.h"
#include "HostFixture.h"
#include "PlotOutJobFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

ADMPoint pt(int h, int v) { return ADMPoint{(ASInt16)h, (ASInt16)v}; }
ADMRect rc(int left, int top, int right, int bottom)
{
    ADMRect r;
    r.left = (ASInt16)left;
    r.top = (ASInt16)top;
    r.right = (ASInt16)right;
    r.bottom = (ASInt16)bottom;
    return r;
}

// ---- The figures ----------------------------------------------------------------------------

TEST(PreviewToolFigures, AShiftMoveKeepsToAnAxisOrTheDiagonal)
{
    struct Row {
        const char* name;
        int dh, dv, h, v;
    } rows[] = {
        {"more than twice across: across only", 30, 10, 30, 0},
        {"more than twice down: down only", 10, -30, 0, -30},
        {"between, wider: the diagonal by the smaller", 30, 20, 20, 20},
        {"between, taller: the diagonal by the smaller", -20, 30, -20, 20},
        {"leftwards and up", -30, -20, -20, -20},
        {"exactly twice is still the diagonal", 20, 10, 10, 10},
        {"no move", 0, 0, 0, 0},
    };
    for (const Row& r : rows) {
        int32_t h, v;
        previewShiftMoveOffset(r.dh, r.dv, &h, &v);
        EXPECT_EQ(h, r.h) << r.name;
        EXPECT_EQ(v, r.v) << r.name;
    }
}

TEST(PreviewToolFigures, AHandleDragShapesTheOutline)
{
    // A 100 x 50 mm selection at zoom 1 with y upwards: frame 50..150 across,
    // 443..493 down; the same with y downwards has its top below its bottom.
    const ADMRect up = rc(50, 443, 150, 493), down = rc(50, 493, 150, 443);
    struct Row {
        const char* name;
        ADMRect begin;
        int handle;
        ADMPoint mouse;
        bool shift;
        double w, h;
        ADMRect expected;
    } rows[] = {
        {"the upper right corner carries the right and top edges", up, 4, pt(250, 400), false, 100, 50,
         rc(50, 400, 250, 493)},
        {"the left side carries only the left edge", up, 1, pt(0, 300), false, 100, 50, rc(0, 443, 150, 493)},
        {"the lower left corner carries the left and bottom edges", up, 0, pt(20, 520), false, 100, 50,
         rc(20, 443, 150, 520)},
        {"the upper left corner carries the left and top edges", up, 2, pt(20, 400), false, 100, 50,
         rc(20, 400, 150, 493)},
        {"the top carries only the top edge", up, 3, pt(20, 400), false, 100, 50, rc(50, 400, 150, 493)},
        {"the right side carries only the right edge", up, 5, pt(200, 400), false, 100, 50, rc(50, 443, 200, 493)},
        {"the lower right corner carries the right and bottom edges", up, 6, pt(200, 520), false, 100, 50,
         rc(50, 443, 200, 520)},
        {"the bottom carries only the bottom edge", up, 7, pt(200, 520), false, 100, 50, rc(50, 443, 150, 520)},
        {"Shift at a corner: the smaller reach keeps the shape", up, 4, pt(250, 400), true, 100, 50,
         rc(50, 400, 236, 493)},
        {"Shift at the lower left corner: the upper right stays", up, 0, pt(0, 600), true, 100, 50,
         rc(0, 443, 150, 518)},
        // Reaches of 150 across (1.5 times) and 93 down (1.86 times): 150 x 75.
        {"Shift at the upper left corner: the lower right stays", up, 2, pt(0, 400), true, 100, 50,
         rc(0, 418, 150, 493)},
        // Reaches of 250 across (2.5 times) and 77 down (1.54 times): 154 x 77.
        {"Shift at the lower right corner: the upper left stays", up, 6, pt(300, 520), true, 100, 50,
         rc(50, 443, 204, 520)},
        {"Shift at a side: the height follows, about the old middle", up, 5, pt(250, 0), true, 100, 50,
         rc(50, 418, 250, 518)},
        {"Shift at the top: the width follows, about the old middle", up, 3, pt(0, 393), true, 100, 50,
         rc(0, 393, 200, 493)},
        {"y downwards, Shift at a corner: not turned inside out", down, 0, pt(40, 433), true, 100, 50,
         rc(40, 493, 150, 438)},
        {"y downwards, Shift at a side: not turned inside out", down, 5, pt(250, 0), true, 100, 50,
         rc(50, 518, 250, 418)},
        {"no height: Shift keeps the height and the width follows", rc(50, 493, 150, 493), 4, pt(250, 400), true,
         100, 0, rc(50, 493, 250, 493)},
        {"no width: a side handle keeps the width", rc(50, 443, 50, 493), 5, pt(250, 400), true, 0, 50,
         rc(50, 443, 50, 493)},
    };
    for (const Row& r : rows) {
        ADMRect got = previewScaleOutline(r.begin, r.handle, r.mouse, r.shift ? 1 : 0, r.w, r.h);
        EXPECT_EQ(got.left, r.expected.left) << r.name;
        EXPECT_EQ(got.top, r.expected.top) << r.name;
        EXPECT_EQ(got.right, r.expected.right) << r.name;
        EXPECT_EQ(got.bottom, r.expected.bottom) << r.name;
    }
}

TEST(PreviewToolFigures, ScaleFactorsStayFiniteAndShiftTakesTheSmaller)
{
    struct Row {
        const char* name;
        AIRealRect begin, now;
        bool shift;
        double sx, sy;
    } rows[] = {
        {"twice as wide", {0, 50, 100, 0}, {0, 50, 200, 0}, false, 2, 1},
        {"Shift: both the smaller", {0, 50, 100, 0}, {0, 150, 200, 0}, true, 2, 2},
        {"turned inside out: the size counts", {0, 50, 100, 0}, {0, 50, -100, 0}, false, 1, 1},
        {"no height keeps factor 1 there", {0, 0, 100, 0}, {0, 0, 300, 0}, false, 3, 1},
        {"no height, Shift: the width's factor for both", {0, 0, 100, 0}, {0, 0, 300, 0}, true, 3, 3},
        {"no width, Shift: the height's factor for both", {0, 50, 0, 0}, {0, 25, 0, 0}, true, 0.5, 0.5},
    };
    for (const Row& r : rows) {
        double sx, sy;
        previewScaleFactors(r.begin, r.now, r.shift ? 1 : 0, &sx, &sy);
        EXPECT_DOUBLE_EQ(sx, r.sx) << r.name;
        EXPECT_DOUBLE_EQ(sy, r.sy) << r.name;
    }
}

TEST(PreviewToolFigures, AZoomDragDoublesOrHalvesWithinTheLimits)
{
    struct Row {
        const char* name;
        double zoom;
        ADMPoint down, up;
        double expected;
    } rows[] = {
        {"half the frame from the upper left doubles", 1.0, pt(0, 0), pt(308, 272), 2.0},
        {"half the frame from the lower right, back up, doubles", 1.0, pt(308, 272), pt(0, 0), 2.0},
        {"half the frame from the lower left halves", 1.0, pt(0, 543), pt(308, 271), 0.5},
        {"never above the largest", 8.0, pt(0, 0), pt(308, 272), 10.0},
        {"never below the smallest", 0.15, pt(0, 543), pt(308, 271), 0.1},
        {"towards the lower left halves too", 1.0, pt(308, 0), pt(0, 272), 0.5},
        // 616 x 543 over 308 x 136: 2 across, 543/136 up.
        {"a wide marquee in: the whole marquee stays in view", 1.0, pt(0, 0), pt(308, 136), 2.0},
        {"a wide marquee out: by the larger factor", 1.0, pt(0, 543), pt(308, 407), 136.0 / 543},
        {"a marquee without height leaves the zoom", 1.5, pt(10, 40), pt(300, 40), 1.5},
        {"a marquee without width leaves the zoom", 1.5, pt(10, 40), pt(10, 300), 1.5},
        {"a click leaves the zoom", 1.5, pt(10, 40), pt(10, 40), 1.5},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(previewZoomOfDrag(r.zoom, r.down, r.up, 616, 543, 0.1, 10.0), r.expected, 0.01) << r.name;
}

TEST(PreviewToolFigures, TheSliderShowsTheZoomWhereSettingItPutsIt)
{
    struct Row {
        const char* name;
        double position, zoom;
    } rows[] = {{"the far right is the largest", 100, 10.0},
                {"the far left is the smallest", 1, 0.1},
                {"the middle is 1", 50.5, 1.0}};
    for (const Row& r : rows) {
        EXPECT_NEAR(previewZoomOfSlider(r.position, 0.1, 10.0), r.zoom, 1e-9) << r.name;
        EXPECT_NEAR(previewSliderOfZoom(r.zoom, 0.1, 10.0), r.position, 1e-9) << r.name;
    }
    // A best fit may go past the limits: the slider stops at its ends.
    EXPECT_EQ(previewSliderOfZoom(40.0, 0.1, 10.0), 100.0);
    EXPECT_EQ(previewSliderOfZoom(0.0, 0.1, 10.0), 1.0);
}

TEST(PreviewToolFigures, EachHandleHasItsCursorAndCornersFollowTheScreen)
{
    for (int handle = 0; handle <= 8; handle++)
        EXPECT_EQ(previewHandleCursor(handle, 1), 6004 + handle) << handle;
    const int upperLeftOrigin[9] = {6006, 6005, 6004, 6007, 6010, 6009, 6008, 6011, 6012};
    for (int handle = 0; handle <= 8; handle++)
        EXPECT_EQ(previewHandleCursor(handle, 2), upperLeftOrigin[handle]) << handle;
    EXPECT_EQ(previewHandleCursor(-1, 1), kADMArrowCursorID);
}

// ---- Best fit on the cut model --------------------------------------------------------------

class PreviewBestFitTest : public test::HostTest {
protected:
    void SetUp() override { startSession(); }
    void TearDown() override
    {
        g->volumes = NULL;
        g->volumeCount = 0;
        test::HostTest::TearDown();
    }
    // The view as the dialog opens it for a plotter of that origin.
    static void openView(int origin)
    {
        g->curPlotter.PlotterOrigin = origin;
        g->previewZoomX = g->previewZoomY = 1.0;
        g->previewOrigin.h = 0;
        g->previewOrigin.v = origin == 2 ? 0 : 543;
    }
    void job(std::vector<AIRealRect> rects)
    {
        volumes_.assign(rects.size(), Volume{});
        for (size_t i = 0; i < rects.size(); i++) {
            volumes_[i].rect[0] = rects[i].left;
            volumes_[i].rect[1] = rects[i].top;
            volumes_[i].rect[2] = rects[i].right;
            volumes_[i].rect[3] = rects[i].bottom;
        }
        g->volumes = volumes_.empty() ? NULL : volumes_.data();
        g->volumeCount = (int32_t)volumes_.size();
    }
    std::vector<Volume> volumes_;
};

TEST_F(PreviewBestFitTest, TheJobFillsTheFrameFromTheRulersCorner)
{
    struct Row {
        const char* name;
        int origin;
        std::vector<AIRealRect> rects;
        double zoom;
        int h, v;  // where the job's lower-left corner lands
    } rows[] = {
        {"one 100 x 50 mm volume: the width decides", 1, {{0, 50, 100, 0}}, 5.66, 30, 513},
        {"y downwards: the corner at the upper ruler", 2, {{0, 50, 100, 0}}, 5.66, 30, 30},
        {"a centre origin fits like the lower left", 0, {{10, 60, 110, 10}}, 5.66, 30, 513},
        {"a job without height fits by its width", 1, {{0, 0, 100, 0}}, 5.66, 30, 513},
        {"a job without width fits by its height", 1, {{0, 50, 0, 0}}, 9.86, 30, 513},
        {"a single point keeps the zoom", 1, {{5, 5, 5, 5}}, 1.0, 30, 513},
        {"10 m along a 50 m roll", 1, {{100, 10050, 200, 10000}}, 5.66, 30, 513},
        {"10 m along, y downwards", 2, {{100, 10050, 200, 10000}}, 5.66, 30, 30},
        {"far across a wide media", 0, {{5000, 60, 5100, 10}}, 5.66, 30, 513},
        {"the far end of the longest media, past the highest zoom", 1, {{1000, 100000, 1056, 99960}}, 566.0 / 56, 30,
         513},
        // 0..100 x 10..60 mm, each edge from another volume than the first.
        {"several volumes fit by their union", 1,
         {{20, 40, 40, 30}, {0, 35, 10, 32}, {45, 36, 50, 10}, {25, 60, 30, 50}, {60, 38, 100, 31}}, 5.66, 30, 513},
        {"several volumes, y downwards", 2,
         {{20, 40, 40, 30}, {0, 35, 10, 32}, {45, 36, 50, 10}, {25, 60, 30, 50}, {60, 38, 100, 31}}, 5.66, 30, 30},
        {"one 100 x 200 mm volume: the height decides, a quarter of 50 mm's", 1, {{0, 200, 100, 0}}, 9.86 / 4, 30, 513},
        {"several volumes whose union is 100 x 200 mm (10..210)", 1,
         {{20, 40, 40, 30}, {0, 35, 10, 32}, {45, 36, 50, 10}, {25, 210, 30, 50}, {60, 38, 100, 31}}, 9.86 / 4, 30, 513},
    };
    for (const Row& r : rows) {
        openView(r.origin);
        job(r.rects);
        previewBestFit(616, 543);
        EXPECT_NEAR(g->previewZoomX, r.zoom, 1e-9) << r.name;
        EXPECT_EQ(g->previewZoomY, g->previewZoomX) << r.name;
        double corner[2] = {r.rects[0].left, r.rects[0].bottom};  // the union's lower left
        for (const AIRealRect& rect : r.rects) {
            corner[0] = std::min(corner[0], (double)rect.left);
            corner[1] = std::min(corner[1], (double)rect.bottom);
        }
        long hv[2];
        convertDimenDoubleToFrameLong(corner, hv);
        EXPECT_EQ(hv[0], r.h) << r.name;
        EXPECT_EQ(hv[1], r.v) << r.name;
    }
}

TEST_F(PreviewBestFitTest, WithoutVolumesTheViewGoesBackToTheRulersCorner)
{
    for (int origin : {0, 1, 2}) {
        openView(origin);
        g->previewZoomX = g->previewZoomY = 3.0;
        g->previewOrigin.h = 200;
        job({});
        previewBestFit(616, 543);
        EXPECT_EQ(g->previewZoomX, 1.0) << origin;
        EXPECT_EQ(g->previewZoomY, 1.0) << origin;
        EXPECT_EQ(g->previewOrigin.h, 0) << origin;
        EXPECT_EQ(g->previewOrigin.v, origin == 2 ? 0 : 543) << origin;
    }
}

TEST_F(PreviewBestFitTest, AFitBeyondWhatTheOriginHoldsStopsAtItsLimitInsteadOfWrappingRound)
{
    // A few hundredths of a millimetre, 60 m out, already seen close up:
    // fitted at a zoom of some ten thousand pixels to the millimetre.
    openView(1);
    job({{60000, 60000.0156f, 60000.0156f, 60000}});
    g->previewZoomX = g->previewZoomY = 100000;
    previewBestFit(616, 543);
    EXPECT_GT(g->previewZoomX, 1e9 / 60000) << "the origin would lie beyond a billion pixels";
    EXPECT_EQ(g->previewOrigin.h, -kPreviewOriginLimit);
    EXPECT_EQ(g->previewOrigin.v, kPreviewOriginLimit);
}

// ---- The tools in the dialog ------------------------------------------------------------------

// A blue 10 mm square at the job's origin and a red 100 x 50 mm rectangle 20
// mm right of and above it. At zoom 1 (origin 1) millimetre (x, y) is frame
// pixel (30 + x, 513 - y).
const char* kJob = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect id="square" x="0" y="90" width="10" height="10" fill="#0000ff"/>
  <rect id="red" x="20" y="30" width="100" height="50" fill="#ff0000"/>
</svg>)";

using Step = host::toolkit::DialogAction;

class PreviewToolsTest : public test::PlotOutJobTest {
protected:
    void SetUp() override { startSession(); }
    void open(int origin = 1, const char* svg = kJob)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterOrigin = origin;
        stored.put(hostApp().prefs());
        openJob(svg);
    }
    // The dialog with these steps, left through its exit button.
    void plotOut(std::vector<Step> steps)
    {
        steps.push_back(click(kPlotOutExitItem));
        test::PlotOutJobTest::plotOut(std::move(steps));
        Toolkit::get().failures.clear();
    }
    static Step click(int id, ADMModifiers mods = 0)
    {
        return [id, mods](Driver& user, std::string& error) { return user.click(id, error, mods); };
    }
    static Step press(int h, int v, ADMModifiers mods = 0)
    {
        return [=](Driver& user, std::string& error) { return user.press(kPlotOutPreviewItem, pt(h, v), mods, error); };
    }
    static Step drag(int h, int v, ADMModifiers mods = 0)
    {
        return [=](Driver& user, std::string& error) { return user.drag(pt(h, v), mods, error); };
    }
    static Step release(int h, int v, ADMModifiers mods = 0)
    {
        return [=](Driver& user, std::string& error) { return user.release(pt(h, v), mods, error); };
    }
    static Step hover(int h, int v)
    {
        return [=](Driver& user, std::string& error) { return user.hover(kPlotOutPreviewItem, pt(h, v), 0, error); };
    }
    // A click in the frame: press and release at one point.
    static std::vector<Step> clickAt(int h, int v, ADMModifiers mods = 0)
    {
        return {press(h, v, mods), release(h, v, mods)};
    }
    static Step check(std::function<void(Driver&)> f)
    {
        return [f](Driver& user, std::string&) {
            f(user);
            return true;
        };
    }
    static std::vector<Step> join(std::vector<std::vector<Step>> parts)
    {
        std::vector<Step> all;
        for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    }
    // The volumes by their size: the red rectangle is the wider.
    static const Volume& red() { return g->volumes[0].baseWidth > g->volumes[1].baseWidth ? g->volumes[0] : g->volumes[1]; }
    static const Volume& square() { return &red() == &g->volumes[0] ? g->volumes[1] : g->volumes[0]; }
    static int cursor(Driver& user) { return user.dialog()->item(kPlotOutPreviewItem)->cursor; }
    static float value(Driver& user, int id) { return user.dialog()->item(id)->value; }
};

TEST_F(PreviewToolsTest, AClickSelectsTheSmallestVolumeUnderItAndShiftTogglesIt)
{
    open();
    plotOut(join({clickAt(100, 468), {check([](Driver&) {
                                          EXPECT_TRUE(red().flags & 1);
                                          EXPECT_FALSE(square().flags & 1);
                                      })},
                  clickAt(35, 508, kADMShiftKeyModifier), {check([](Driver&) {
                                                               EXPECT_TRUE(red().flags & 1);
                                                               EXPECT_TRUE(square().flags & 1);
                                                           })},
                  clickAt(35, 508, kADMShiftKeyModifier), {check([](Driver&) {
                                                               EXPECT_TRUE(red().flags & 1);
                                                               EXPECT_FALSE(square().flags & 1);
                                                           })},
                  // A rubber band over the square alone.
                  {press(20, 520), drag(45, 490), release(45, 490), check([](Driver&) {
                       EXPECT_FALSE(red().flags & 1);
                       EXPECT_TRUE(square().flags & 1);
                   })}}));
}

TEST_F(PreviewToolsTest, AShiftMoveKeepsToAnAxisAndChangesTheJobOnlyAtRelease)
{
    open();
    plotOut(join({clickAt(100, 468),
                  {hover(100, 468), check([](Driver& user) {
                       EXPECT_EQ(g_iPreviewOpType, kPreviewToolMove);
                       EXPECT_EQ(cursor(user), kPreviewMoveCursor);
                   }),
                   press(100, 468), drag(130, 478, kADMShiftKeyModifier), check([](Driver&) {
                       EXPECT_FLOAT_EQ(red().rect[0], 20.0f) << "nothing moves while dragging";
                       // The outline shown is the selection's, carried 30 pixels across only.
                       const ADMRect &b = g_rectBeginUnion, &n = g_rectNewUnion;
                       EXPECT_EQ(std::vector<int>({n.left, n.top, n.right, n.bottom}),
                                 std::vector<int>({b.left + 30, b.top, b.right + 30, b.bottom}));
                   }),
                   release(130, 478, kADMShiftKeyModifier), check([](Driver&) {
                       EXPECT_NEAR(red().rect[0], 50.0f, 1e-4);
                       EXPECT_NEAR(red().rect[3], 20.0f, 1e-4);
                   }),
                   hover(130, 468), press(130, 468), drag(160, 488, kADMShiftKeyModifier), check([](Driver&) {
                       // Along the diagonal: 20 across and 20 down.
                       const ADMRect &b = g_rectBeginUnion, &n = g_rectNewUnion;
                       EXPECT_EQ(std::vector<int>({n.left, n.top, n.right, n.bottom}),
                                 std::vector<int>({b.left + 20, b.top + 20, b.right + 20, b.bottom + 20}));
                   }),
                   release(160, 488, kADMShiftKeyModifier), check([](Driver&) {
                       EXPECT_NEAR(red().rect[0], 70.0f, 1e-4);
                       EXPECT_NEAR(red().rect[3], 0.0f, 1e-4);
                       EXPECT_FLOAT_EQ(square().rect[0], 0.0f) << "only the selection moves";
                   })}}));
}

TEST_F(PreviewToolsTest, AMoveWithoutShiftCarriesTheSelectionCentredOnThePointer)
{
    open();
    float left = 0, bottom = 0, width = 0, height = 0;
    plotOut(join({clickAt(100, 468),
                  {check([&](Driver&) {
                       left = red().rect[0], bottom = red().rect[3];
                       width = red().rect[2] - left, height = red().rect[1] - bottom;
                   }),
                   hover(100, 468), press(100, 468), drag(150, 440), drag(180, 420), check([&](Driver&) {
                       EXPECT_FLOAT_EQ(red().rect[0], left) << "nothing moves while dragging";
                       // The outline shown keeps its size, centred on the pointer.
                       const ADMRect &b = g_rectBeginUnion, &n = g_rectNewUnion;
                       EXPECT_NEAR(n.right - n.left, b.right - b.left, 1);
                       EXPECT_NEAR(n.bottom - n.top, b.bottom - b.top, 1);
                       EXPECT_NEAR((n.left + n.right) / 2.0, 180, 1);
                       EXPECT_NEAR((n.top + n.bottom) / 2.0, 420, 1);
                   }),
                   release(180, 420), check([&](Driver&) {
                       // Its centre lies where the pointer was let go: 80 mm right and 48 mm up
                       // of where it was pressed, within the pixel the handle was met by.
                       EXPECT_NEAR(red().rect[0], left + 80, 1.0);
                       EXPECT_NEAR(red().rect[3], bottom + 48, 1.0);
                       EXPECT_NEAR(red().rect[2] - red().rect[0], width, 1e-4) << "its size stays";
                       EXPECT_NEAR(red().rect[1] - red().rect[3], height, 1e-4);
                       EXPECT_FLOAT_EQ(square().rect[0], 0.0f) << "only the selection moves";
                   })}}));
}

TEST_F(PreviewToolsTest, HandlesScaleTheSelectionAboutTheOppositeSide)
{
    open();
    plotOut(join({clickAt(100, 468),
                  {hover(150, 443), check([](Driver& user) {
                       EXPECT_EQ(g_iPreviewOpType, kPreviewToolScale);
                       EXPECT_EQ(g_iPreviewScaleMode, 4);
                       EXPECT_EQ(cursor(user), 6008);
                   }),
                   press(150, 443), drag(250, 443), release(250, 443), check([](Driver&) {
                       EXPECT_NEAR(red().scaleX, 2.0, 1e-5);
                       EXPECT_NEAR(red().scaleY, 1.0, 1e-5);
                       EXPECT_NEAR(red().rect[0], 20.0f, 1e-4);
                       EXPECT_NEAR(red().rect[2], 220.0f, 1e-3);
                   }),
                   // Shift at the upper right corner of the now 200 x 50 mm outline.
                   hover(250, 443), press(250, 443), drag(350, 350, kADMShiftKeyModifier),
                   release(350, 350, kADMShiftKeyModifier), check([](Driver&) {
                       EXPECT_NEAR(red().scaleX / red().scaleY, 2.0, 1e-6) << "the shape is kept";
                       EXPECT_NEAR(red().scaleY, 1.5, 0.02);
                   })}}));
}

TEST_F(PreviewToolsTest, HoverSetsEachToolsCursorAndTheStatusLine)
{
    open();
    plotOut({hover(40, 503), check([](Driver& user) {
                 EXPECT_EQ(cursor(user), kADMArrowCursorID);
                 // The cut length is the two outlines': 4 x 10 mm and 2 x (100 + 50) mm.
                 EXPECT_EQ(user.dialog()->item(kPlotOutStatusItem)->text,
                           "X: 10.00mm, Y: 10.00mm\nCut length: 340.00mm");
             }),
             hover(30, 443), check([](Driver& user) { EXPECT_EQ(cursor(user), 6006) << "the whole job's upper left"; }),
             click(kPlotOutPanToolItem), hover(300, 300),
             check([](Driver& user) { EXPECT_EQ(cursor(user), kPreviewPanCursor); }), click(kPlotOutZoomToolItem),
             hover(300, 300), check([](Driver& user) { EXPECT_EQ(cursor(user), kPreviewZoomCursor); })});
}

TEST_F(PreviewToolsTest, WithYDownwardsTheCornerCursorsFollowTheScreen)
{
    open(2);
    // The whole job, 0..120 x 0..70 mm, from pixel (30, 30) downwards: its
    // lower left handle sits at the upper left of the screen.
    plotOut({hover(30, 30), check([](Driver& user) {
                 EXPECT_EQ(g_iPreviewScaleMode, 0);
                 EXPECT_EQ(cursor(user), 6006);
             }),
             hover(150, 100), check([](Driver& user) {
                 EXPECT_EQ(g_iPreviewScaleMode, 4);
                 EXPECT_EQ(cursor(user), 6010);
             })});
}

TEST_F(PreviewToolsTest, TheZoomToolZoomsToARectangleAndAClickResets)
{
    open();
    plotOut({click(kPlotOutZoomToolItem), press(0, 0), drag(308, 271), release(308, 271), check([](Driver& user) {
                 EXPECT_NEAR(g->previewZoomX, 2.0, 1e-9);
                 EXPECT_EQ(g->previewZoomY, g->previewZoomX);
                 EXPECT_NEAR(value(user, kPlotOutZoomValueItem), 2.0f, 1e-6);
                 EXPECT_NEAR(value(user, kPlotOutZoomSliderItem), previewSliderOfZoom(2.0, 0.1, 10.0), 1e-4);
                 // The rectangle's centre is now the frame's.
                 AIRealPoint c;
                 convertFramePointToDimenPoint(pt(308, 271), &c);
                 EXPECT_NEAR(c.h, 124.0, 0.6);
                 EXPECT_NEAR(c.v, 378.0, 0.6);
             }),
             press(0, 542), release(308, 270), check([](Driver&) { EXPECT_NEAR(g->previewZoomX, 1.0, 1e-9); }),
             // Six pixels across make a rectangle, five a click.
             press(100, 100), release(106, 300), check([](Driver&) { EXPECT_GT(g->previewZoomX, 1.0); }),
             press(100, 100), release(105, 300), check([](Driver& user) {
                 EXPECT_EQ(g->previewZoomX, 1.0);
                 EXPECT_EQ(g->previewOrigin.h, 0);
                 EXPECT_EQ(g->previewOrigin.v, 543);
                 EXPECT_EQ(value(user, kPlotOutZoomSliderItem), 50.5f);
             }),
             press(100, 100), release(300, 106), check([](Driver&) { EXPECT_GT(g->previewZoomX, 1.0); })});
}

TEST_F(PreviewToolsTest, AZoomClickResetsToTheRulersCornerForEveryOrigin)
{
    for (int origin : {0, 2}) {
        open(origin);
        plotOut({click(kPlotOutZoomToolItem), press(0, 0), release(300, 300), press(10, 10), release(12, 200),
                 check([origin](Driver&) {
                     EXPECT_EQ(g->previewZoomX, 1.0) << origin;
                     EXPECT_EQ(g->previewOrigin.h, 0) << origin;
                     EXPECT_EQ(g->previewOrigin.v, origin == 2 ? 0 : 543) << origin;
                 })});
    }
}

TEST_F(PreviewToolsTest, TheZoomEditAndTheSliderAgreeBothWays)
{
    open();
    plotOut({[](Driver& user, std::string& e) { return user.type(kPlotOutZoomValueItem, "10", e); },
             check([](Driver& user) {
                 EXPECT_EQ(g->previewZoomX, 10.0);
                 EXPECT_FLOAT_EQ(value(user, kPlotOutZoomSliderItem), 100.0f);
             }),
             [](Driver& user, std::string& e) { return user.type(kPlotOutZoomValueItem, "0.1", e); },
             check([](Driver& user) { EXPECT_NEAR(value(user, kPlotOutZoomSliderItem), 1.0f, 1e-4); }),
             [](Driver& user, std::string& e) { return user.type(kPlotOutZoomValueItem, "1", e); },
             check([](Driver& user) { EXPECT_FLOAT_EQ(value(user, kPlotOutZoomSliderItem), 50.5f); }),
             [](Driver& user, std::string& e) {
                 return user.press(kPlotOutZoomSliderItem, pt(0, 5), 0, e) && user.release(pt(0, 5), 0, e);
             },
             check([](Driver& user) {
                 EXPECT_NEAR(g->previewZoomX, 0.1, 1e-9);
                 EXPECT_NEAR(value(user, kPlotOutZoomValueItem), 0.1f, 1e-6);
             }),
             [](Driver& user, std::string& e) {
                 int right = user.dialog()->item(kPlotOutZoomSliderItem)->width() - 1;
                 return user.press(kPlotOutZoomSliderItem, pt(right + 1, 5), 0, e) &&
                        user.release(pt(right, 5), 0, e);
             },
             check([](Driver& user) {
                 EXPECT_NEAR(g->previewZoomX, 10.0, 1e-9);
                 EXPECT_FLOAT_EQ(value(user, kPlotOutZoomValueItem), 10.0f);
             })});
}

TEST_F(PreviewToolsTest, EachToolButtonTakesItsClickEveryTime)
{
    open();
    plotOut({click(kPlotOutZoomToolItem), check([](Driver& user) {
                 EXPECT_EQ(g_iPreviewOpType, kPreviewToolZoom);
                 Item* zoom = user.dialog()->item(kPlotOutZoomToolItem);
                 EXPECT_TRUE(zoom->value != 0.0f && !zoom->active && zoom->enabled) << "shown as the tool in use";
             }),
             click(kPlotOutSelectToolItem), check([](Driver&) { EXPECT_EQ(g_iPreviewOpType, kPreviewToolSelect); }),
             click(kPlotOutZoomToolItem), check([](Driver&) { EXPECT_EQ(g_iPreviewOpType, kPreviewToolZoom); }),
             click(kPlotOutPanToolItem), click(kPlotOutSelectToolItem),
             check([](Driver&) { EXPECT_EQ(g_iPreviewOpType, kPreviewToolSelect); })});
}

TEST_F(PreviewToolsTest, ThePanToolMovesTheViewWithTheMouse)
{
    open();
    plotOut({click(kPlotOutPanToolItem), press(100, 100),
             check([](Driver& user) { EXPECT_EQ(cursor(user), kADMHandCursorID); }), drag(150, 120),
             drag(160, 90), release(160, 90), check([](Driver&) {
                 EXPECT_EQ(g->previewOrigin.h, 60);
                 EXPECT_EQ(g->previewOrigin.v, 543 - 10);
             })});
}

TEST_F(PreviewToolsTest, BestFitShowsTheZoomInTheEditAndTheSlider)
{
    open();
    plotOut({click(kPlotOutBestFitItem), check([](Driver& user) {
                 // The whole job is 120 x 70 mm: the width decides.
                 EXPECT_NEAR(g->previewZoomX, 566.0 / 120.0, 1e-9);
                 EXPECT_NEAR(value(user, kPlotOutZoomValueItem), 566.0 / 120.0, 1e-5);
                 EXPECT_NEAR(value(user, kPlotOutZoomSliderItem), previewSliderOfZoom(566.0 / 120.0, 0.1, 10.0),
                             1e-4);
                 AIRealPoint corner = {0, 0};
                 ADMPoint at;
                 convertDimenPointToFramePoint(corner, &at);
                 EXPECT_EQ(at.h, 30);
                 EXPECT_EQ(at.v, 513);
             })});
}

// The job above and a green 20 mm square right of the red rectangle, its
// centre at millimetre (140, 10).
const char* kThreeVolumes = R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <rect id="square" x="0" y="90" width="10" height="10" fill="#0000ff"/>
  <rect id="red" x="20" y="30" width="100" height="50" fill="#ff0000"/>
  <rect id="green" x="130" y="80" width="20" height="20" fill="#00ff00"/>
</svg>)";

// The cut number of the volume whose rect starts at left (mm).
int32_t numberAt(float left)
{
    for (int32_t i = 0; i < g->volumeCount; i++)
        if (std::fabs(g->volumes[i].rect[0] - left) < 0.01f) return g->volumes[i].index;
    return -99;
}

TEST_F(PreviewToolsTest, RenumberingGivesTheClickedVolumesOneTwoThreeAndAMissEndsIt)
{
    open(1, kThreeVolumes);
    plotOut(join({{click(kPlotOutRenumberToolItem), hover(300, 300), check([](Driver& user) {
                       EXPECT_EQ(g_iPreviewOpType, kPreviewToolRenumber);
                       EXPECT_EQ(cursor(user), kPreviewRenumberCursor);
                   })},
                  clickAt(170, 503), clickAt(35, 508), clickAt(100, 468), {check([](Driver& user) {
                      EXPECT_EQ(numberAt(130), 1);
                      EXPECT_EQ(numberAt(0), 2);
                      EXPECT_EQ(numberAt(20), 3);
                      EXPECT_EQ(g_iCurrentIndex, 4);
                      EXPECT_NE(user.dialog()->item(kPlotOutRenumberToolItem)->value, 0.0f);
                  })},
                  // Again from the start: the square first, then a miss.
                  {click(kPlotOutRenumberToolItem)}, clickAt(35, 508),
                  {check([](Driver&) { EXPECT_EQ(g_iCurrentIndex, 2); })}, clickAt(400, 100),
                  {check([](Driver& user) {
                      EXPECT_EQ(g_iCurrentIndex, 3) << "a miss still advances the count";
                      EXPECT_EQ(user.dialog()->item(kPlotOutRenumberToolItem)->value, 0.0f) << "and ends the tool";
                      EXPECT_EQ(g_iPreviewOpType, kPreviewToolSelect);
                      EXPECT_EQ(numberAt(0), 1);
                      EXPECT_EQ(numberAt(130), 2) << "the square's old number";
                  })}}));
}

TEST_F(PreviewToolsTest, TheSwapToolExchangesTwoNumbersAndItsCursorSaysWhichClickIsNext)
{
    open(1, kThreeVolumes);
    plotOut(join({{check([](Driver&) {
                       for (int32_t i = 0; i < g->volumeCount; i++)
                           g->volumes[i].index = g->volumes[i].rect[0] < 1 ? 3 : g->volumes[i].rect[0] < 25 ? 7 : 5;
                   }),
                   click(kPlotOutSwapToolItem), hover(300, 300),
                   check([](Driver& user) { EXPECT_EQ(cursor(user), kADMCrossCursorID); })},
                  clickAt(35, 508), {hover(300, 300), check([](Driver& user) {
                                         EXPECT_EQ(cursor(user), kADMHandCursorID);
                                         EXPECT_EQ(numberAt(0), 3) << "nothing changes at the first pick";
                                     })},
                  clickAt(100, 468), {check([](Driver&) {
                      EXPECT_EQ(numberAt(0), 7);
                      EXPECT_EQ(numberAt(20), 3);
                      EXPECT_EQ(numberAt(130), 5);
                      EXPECT_EQ(g_iSwapA, -1);
                  })},
                  clickAt(400, 100), {check([](Driver& user) {
                      EXPECT_EQ(user.dialog()->item(kPlotOutSwapToolItem)->value, 0.0f) << "a miss ends the tool";
                      EXPECT_EQ(g_iPreviewOpType, kPreviewToolSelect);
                  })}}));
}

}  // namespace
