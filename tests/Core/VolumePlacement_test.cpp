// Placement of the selected volumes: values by id, scale about an anchor,
// rotation and mirror as a block, the aligns and board centring, packing onto
// the page, and what undo puts back; on volumes loaded from SVG rectangles.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <list>
#include <random>

#include "Core/VolumeHitTest.h"
#include "Core/VolumePlacement.h"
#include "PlacementFixture.h"

using namespace vt;
using vt::test::Box;

namespace {

const double kMm = 1e-3;  // what a millimetre loses on its way through points and floats

class VolumePlacementTest : public test::PlacementTest {};

// ---- Reading the selection --------------------------------------------------------------------

TEST_F(VolumePlacementTest, NothingSelectedIsRefusedAndMovesNothing)
{
    loadRects({{0, 0, 20, 10}, {30, 5, 10, 10}});
    selectOnly({});
    AIRealRect r = {1, 2, 3, 4};
    EXPECT_EQ(getSelectionVolumeRealRect(&r), (ASErr)'!Sel');
    EXPECT_EQ(r.left, 1.0f);
    Volume info;
    EXPECT_EQ(getSelectionVolumeInformation(&info), (ASErr)'!Sel');
    for (auto align : {setSelectVolumeAlignLeft, setSelectVolumeAlignCenterX, setSelectVolumeAlignRight,
                       setSelectVolumeAlignTop, setSelectVolumeAlignCenterY, setSelectVolumeAlignBottom,
                       setSelectVolumeALignBoardCenterX, setSelectVolumeALignBoardCenterY})
        EXPECT_EQ(align(), (ASErr)'!Sel');
    EXPECT_NEAR(left(1), 30, kMm);
    EXPECT_NEAR(bottom(1), 5, kMm);
    EXPECT_EQ(g->undoPos, -1) << "nothing recorded";
}

TEST_F(VolumePlacementTest, MergedInformationMarksWhatDiffers)
{
    loadRects({{0, 0, 20, 10}, {30, 5, 10, 10}, {50, 0, 10, 30}});
    g->volumes[1].scaleY = 2.0;
    g->volumes[2].copiesX = 4;
    Volume info;
    ASSERT_EQ(getSelectionVolumeInformation(&info), kNoErr);
    EXPECT_EQ(info.scaleY, -9999.0);
    EXPECT_EQ(info.scaleX, 1.0);
    EXPECT_EQ(info.copiesX, -9999);
    EXPECT_EQ(info.copiesY, 1);
    EXPECT_EQ(info.gapX, 3.0);
    EXPECT_EQ(info.art, g->volumes[0].art) << "the rest is the first selected volume's";
    EXPECT_NEAR(info.rect[0], 0, kMm);
    EXPECT_NEAR(info.rect[1], 30, kMm);
    EXPECT_NEAR(info.rect[2], 60, kMm);
    EXPECT_NEAR(info.rect[3], 0, kMm);

    selectOnly({0, 2});
    ASSERT_EQ(getSelectionVolumeInformation(&info), kNoErr);
    EXPECT_EQ(info.scaleY, 1.0) << "the unselected volume does not count";

    // The box is the whole selection's on every side, also where the first
    // selected volume lies inside it.
    (void)freeData();
    loadRects({{50, 20, 10, 10}, {0, 0, 70, 40}});
    ASSERT_EQ(getSelectionVolumeInformation(&info), kNoErr);
    EXPECT_NEAR(info.rect[0], 0, kMm);
    EXPECT_NEAR(info.rect[1], 40, kMm);
    EXPECT_NEAR(info.rect[2], 70, kMm);
    EXPECT_NEAR(info.rect[3], 0, kMm);
}

// ---- Values by id ------------------------------------------------------------------------------

TEST_F(VolumePlacementTest, CopiesRepeatAtThePitchOfTheSelection)
{
    loadRects({{0, 0, 20, 10}});
    setSelectionVolumeIntValue(kVolumeValueCopiesX, 3);
    EXPECT_NEAR(g->volumes[0].gapX, 0, kMm) << "one volume: the copies touch";
    EXPECT_NEAR(right(0), 60, kMm);
    EXPECT_EQ(g->undoPos, -1) << "copies are not recorded";
    EXPECT_NEAR(g->totalCutLength, 3 * 60, 0.05);

    (void)freeData();
    loadRects({{0, 0, 20, 10}, {30, 5, 10, 10}});
    setSelectionVolumeIntValue(kVolumeValueCopiesX, 3);
    // The selection is 40 wide: each volume's copies repeat every 40 mm.
    EXPECT_NEAR(g->volumes[0].gapX, 20, kMm);
    EXPECT_NEAR(g->volumes[1].gapX, 30, kMm);
    EXPECT_NEAR(right(0), 100, kMm);
    EXPECT_NEAR(right(1), 120, kMm);
    // The second alone, 10 high from 5 mm up: its copies touch.
    selectOnly({1});
    setSelectionVolumeIntValue(kVolumeValueCopiesY, 2);
    EXPECT_NEAR(g->volumes[1].gapY, 0, kMm);
    EXPECT_NEAR(top(1), 25, kMm);
}

TEST_F(VolumePlacementTest, CopiesAreHeldToWhatFitsTheMediaAndToAFewThousand)
{
    // Media 600 x 1000 mm.
    struct Row {
        const char* shows;
        Box volume;
        std::function<void()> before;
        int32_t id, asked, made;
    } rows[] = {
        {"two billion across: as many as fit the width", {0, 0, 20, 10}, [] {}, kVolumeValueCopiesX, 2000000000, 30},
        {"two billion up: as many as fit the length", {0, 0, 20, 10}, [] {}, kVolumeValueCopiesY, 2000000000, 100},
        {"a count that fits is kept", {0, 0, 20, 10}, [] {}, kVolumeValueCopiesX, 25, 25},
        {"twice the scale: half as many",
         {0, 0, 20, 10},
         [] { setSelectionVolumeDoubleValue(kVolumeValueScaleX, 2, 0); },
         kVolumeValueCopiesX,
         2000000000,
         15},
        {"a tiny volume: no more than ten thousand in all",
         {0, 0, 0.5, 0.5},
         [] { setSelectionVolumeIntValue(kVolumeValueCopiesY, 2000); },
         kVolumeValueCopiesX,
         2000000000,
         5},
        {"a media of no size holds only the total",
         {0, 0, 20, 10},
         [] { g->mediaWidth = 0; },
         kVolumeValueCopiesX,
         2000000000,
         kMaxVolumeCopies},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        loadRects({row.volume});
        g->mediaWidth = 600;
        g->mediaLength = 1000;
        g->undoNewStep = 1;
        row.before();
        setSelectionVolumeIntValue(row.id, row.asked);
        const Volume& v = g->volumes[0];
        EXPECT_EQ(row.id == kVolumeValueCopiesX ? v.copiesX : v.copiesY, row.made);
        EXPECT_LE((int64_t)v.copiesX * v.copiesY, kMaxVolumeCopies);
        (void)freeData();
        freeUndoHistory();
        initUndoHistory();
    }
}

TEST_F(VolumePlacementTest, CopiesRunEitherWayAndTheRectangleHoldsThemAll)
{
    // A 60 x 10 mm volume at the origin, three copies across (touching).
    struct Row {
        const char* shows;
        std::function<void()> change;
        int axis;                    // 0: the copies run in x, 1: in y
        std::vector<double> starts;  // where each copy starts along the axis, the first first
        double low, high;            // the rectangle along the axis
    } rows[] = {
        {"a gap of 5 runs the copies right", [] { setSelectionVolumeDoubleValue(kVolumeValueGapX, 5, 0); }, 0,
         {0, 65, 130}, 0, 190},
        {"a gap of -100 runs them left of the first",
         [] { setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0); }, 0, {0, -40, -80}, -80, 60},
        {"a gap of -60 stacks them", [] { setSelectionVolumeDoubleValue(kVolumeValueGapX, -60, 0); }, 0, {0, 0, 0},
         0, 60},
        {"five copies left: the first stays",
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0);
             setSelectionVolumeIntValue(kVolumeValueCopiesX, 5);
         },
         0, {0, -40, -80, -120, -160}, -160, 60},
        {"two copies left: the first stays",
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0);
             setSelectionVolumeIntValue(kVolumeValueCopiesX, 2);
         },
         0, {0, -40}, -40, 60},
        {"back to a gap of 5: the first stays",
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0);
             setSelectionVolumeDoubleValue(kVolumeValueGapX, 5, 0);
         },
         0, {0, 65, 130}, 0, 190},
        {"twice the scale: the gap follows, the first stays",
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0);
             setSelectionVolumeDoubleValue(kVolumeValueScaleX, 2, 0);
         },
         0, {0, -80, -160}, -160, 120},
        {"moving the rectangle moves every copy",
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0);
             setSelectionVolumeDoubleValue(kVolumeValueLeft, 10, 0);
         },
         0, {90, 50, 10}, 10, 150},
        {"mirrored: the first copy flips across the block, the gap turned loses its sign",
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueGapX, -100, 0);
             setSelectionVolumeBoolValue(kVolumeValueMirror, 1);
         },
         0, {-80, 80, 240}, -80, 300},
        {"down, two copies of a gap of -30",
         [] {
             setSelectionVolumeIntValue(kVolumeValueCopiesY, 2);
             setSelectionVolumeDoubleValue(kVolumeValueGapY, -30, 0);
         },
         1, {0, -20}, -20, 10},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        loadRects({{0, 0, 60, 10}});
        if (row.axis == 0) setSelectionVolumeIntValue(kVolumeValueCopiesX, 3);
        g->undoNewStep = 1;
        row.change();
        const Volume& v = g->volumes[0];
        int32_t copies = row.axis == 0 ? v.copiesX : v.copiesY;
        ASSERT_EQ((size_t)copies, row.starts.size());
        double size = row.axis == 0 ? v.baseWidth * v.scaleX : v.baseHeight * v.scaleY;
        EXPECT_NEAR(row.axis == 0 ? left(0) : bottom(0), row.low, kMm);
        EXPECT_NEAR(row.axis == 0 ? right(0) : top(0), row.high, kMm);
        for (int32_t k = 0; k < copies; k++) {
            double offset[2];
            getVolumeCopyOffset(v, row.axis == 0 ? k : 0, row.axis == 0 ? 0 : k, offset);
            EXPECT_NEAR(offset[row.axis], row.starts[k], kMm) << "copy " << k;
            // Each copy is picked at its middle, where it is drawn and cut.
            AIRealPoint middle = {(AIReal)(offset[0] + (row.axis == 0 ? size : v.baseWidth) / 2),
                                  (AIReal)(offset[1] + (row.axis == 1 ? size : v.baseHeight) / 2)};
            EXPECT_NE(PointOnVolume(middle, &v), kHitOutside) << "copy " << k;
        }
        (void)freeData();
        freeUndoHistory();
        initUndoHistory();
    }
}

TEST_F(VolumePlacementTest, DoubleValuesByIdAbsoluteAndRelative)
{
    struct Row {
        const char* what;
        int32_t id;
        double value;
        uint8_t relative;
        std::function<void(const Volume&)> expect;
    } rows[] = {
        {"gap X, with the rectangle following it", kVolumeValueGapX, 7, 0,
         [](const Volume& v) {
             EXPECT_EQ(v.gapX, 7);
             EXPECT_NEAR(v.rect[2], 10 + 2 * 20 + 7, kMm);
         }},
        {"gap Y ignores the relative flag", kVolumeValueGapY, 4, 1, [](const Volume& v) { EXPECT_EQ(v.gapY, 4); }},
        {"absolute scale X 2 with gap 3 gives gap 6", kVolumeValueScaleX, 2, 0,
         [](const Volume& v) {
             EXPECT_EQ(v.scaleX, 2);
             EXPECT_EQ(v.gapX, 6);
             EXPECT_NEAR(v.rect[2] - v.rect[0], 2 * 40 + 6, kMm);
         }},
        {"relative scale Y multiplies scale and gap", kVolumeValueScaleY, 1.5, 1,
         [](const Volume& v) {
             EXPECT_EQ(v.scaleY, 1.5);
             EXPECT_EQ(v.gapY, 4.5);
             EXPECT_NEAR(v.rect[1] - v.rect[3], 15, kMm);
         }},
        {"absolute left keeps the width", kVolumeValueLeft, 100, 0,
         [](const Volume& v) {
             EXPECT_NEAR(v.rect[0], 100, kMm);
             EXPECT_NEAR(v.rect[2], 100 + 43, kMm);
         }},
        {"relative bottom moves both edges", kVolumeValueBottom, -5, 1,
         [](const Volume& v) {
             EXPECT_NEAR(v.rect[3], 15, kMm);
             EXPECT_NEAR(v.rect[1], 25, kMm);
         }},
        {"relative precision adds", kVolumeValuePrecision, 0.05, 1,
         [](const Volume& v) { EXPECT_NEAR(v.precision, g->Precious + 0.05, 1e-12); }},
        {"an id the setter does not take changes nothing", kVolumeValueCopiesX, 5, 0,
         [](const Volume& v) { EXPECT_EQ(v.copiesX, 2); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        loadRects({{0, 0, 5, 5}, {10, 20, 20, 10}});
        selectOnly({1});
        g->volumes[1].copiesX = 2;
        updateVolumeRect(&g->volumes[1]);
        g->undoNewStep = 1;
        setSelectionVolumeDoubleValue(row.id, row.value, row.relative);
        row.expect(g->volumes[1]);
        EXPECT_NEAR(left(0), 0, kMm) << "the unselected volume stays";
        (void)freeData();
        freeUndoHistory();
    }
}

TEST_F(VolumePlacementTest, ScaleYAloneLeavesXAsItWas)
{
    loadRects({{0, 0, 20, 10}, {30, 4, 10, 10}});
    selectOnly({1});
    AIRealRect S;
    ASSERT_EQ(getSelectionVolumeRealRect(&S), kNoErr);
    g->undoNewStep = 1;
    setSelectionVolumeScale(S, kAnchorBottomLeft, 0, 2, 0);
    const Volume& v = g->volumes[1];
    EXPECT_EQ(v.scaleX, 1.0);
    EXPECT_EQ(v.gapX, 3.0);
    EXPECT_NEAR(v.rect[0], 30, kMm);
    EXPECT_NEAR(v.rect[2], 40, kMm);
    EXPECT_EQ(v.scaleY, 2.0);
    EXPECT_EQ(v.gapY, 6.0);
    EXPECT_NEAR(v.rect[3], 4, kMm) << "the anchor's bottom stays";
    EXPECT_NEAR(v.rect[1], 24, kMm);
    EXPECT_EQ(g->undoPos, 0);

    // Then X alone, to an absolute factor: its gap grows with it, Y's stays.
    ASSERT_EQ(getSelectionVolumeRealRect(&S), kNoErr);
    setSelectionVolumeScale(S, kAnchorBottomLeft, 3, 0, 0);
    EXPECT_EQ(v.scaleX, 3.0);
    EXPECT_EQ(v.gapX, 9.0);
    EXPECT_EQ(v.scaleY, 2.0);
    EXPECT_EQ(v.gapY, 6.0);
}

TEST_F(VolumePlacementTest, ScaleAboutEachAnchorKeepsThatPoint)
{
    struct Row {
        int32_t anchor;
        double fixedX, fixedY;  // of the selection 10..30 x 5..25
    } rows[] = {{kAnchorTopRight, 30, 25},   {kAnchorRight, 30, 15}, {kAnchorBottomRight, 30, 5},
                {kAnchorBottom, 20, 5},      {kAnchorBottomLeft, 10, 5}, {kAnchorLeft, 10, 15},
                {kAnchorTopLeft, 10, 25},    {kAnchorTop, 20, 25}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.anchor);
        loadRects({{0, 0, 5, 5}, {10, 5, 20, 20}});
        selectOnly({1});
        AIRealRect S;
        ASSERT_EQ(getSelectionVolumeRealRect(&S), kNoErr);
        g->undoNewStep = 1;
        setSelectionVolumeScale(S, row.anchor, 2, 0.5, 1);
        // Every corner moved away from the anchor by the factors.
        EXPECT_NEAR(left(1), row.fixedX + (10 - row.fixedX) * 2, kMm);
        EXPECT_NEAR(bottom(1), row.fixedY + (5 - row.fixedY) * 0.5, kMm);
        EXPECT_NEAR(right(1) - left(1), 40, kMm);
        EXPECT_NEAR(top(1) - bottom(1), 10, kMm);
        // The gaps between copies (3 mm each way) scale with them.
        EXPECT_EQ(g->volumes[1].gapX, 6.0);
        EXPECT_EQ(g->volumes[1].gapY, 1.5);
        (void)freeData();
        freeUndoHistory();
    }
    loadRects({{0, 0, 5, 5}, {10, 0, 20, 20}});
    AIRealRect S = {0, 20, 30, 0};
    setSelectionVolumeScale(S, 99, 2, 2, 1);
    EXPECT_NEAR(left(1), 10, kMm) << "any other anchor keeps each volume's own corner";
    EXPECT_NEAR(right(1), 50, kMm);
}

TEST_F(VolumePlacementTest, FactorsThatCannotBeCutChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* what;
        std::function<void()> call;
    } rows[] = {
        {"absolute scale X 0", [] { setSelectionVolumeDoubleValue(kVolumeValueScaleX, 0, 0); }},
        {"absolute scale Y negative", [] { setSelectionVolumeDoubleValue(kVolumeValueScaleY, -2, 0); }},
        {"relative scale X 0", [] { setSelectionVolumeDoubleValue(kVolumeValueScaleX, 0, 1); }},
        {"scale X not a number", [nan] { setSelectionVolumeDoubleValue(kVolumeValueScaleX, nan, 0); }},
        {"scale Y infinite", [inf] { setSelectionVolumeDoubleValue(kVolumeValueScaleY, inf, 1); }},
        {"left infinite", [inf] { setSelectionVolumeDoubleValue(kVolumeValueLeft, inf, 0); }},
        {"angle not a number", [nan] { setSelectionVolumeDoubleValue(kVolumeValueAngle, nan, 1); }},
        {"anchor scale both 0", [] { setSelectionVolumeScale(AIRealRect{0, 10, 20, 0}, 4, 0, 0, 0); }},
        {"anchor scale negative", [] { setSelectionVolumeScale(AIRealRect{0, 10, 20, 0}, 4, -1, 2, 0); }},
        {"anchor scale relative 0", [] { setSelectionVolumeScale(AIRealRect{0, 10, 20, 0}, 2, 0, 2, 1); }},
        {"anchor scale not a number", [nan] { setSelectionVolumeScale(AIRealRect{0, 10, 20, 0}, 4, nan, 1, 1); }},
        {"anchor scale infinite", [inf] { setSelectionVolumeScale(AIRealRect{0, 10, 20, 0}, 4, 2, inf, 0); }},
        {"copies 0", [] { setSelectionVolumeIntValue(kVolumeValueCopiesX, 0); }},
        {"copies below 0", [] { setSelectionVolumeIntValue(kVolumeValueCopiesY, -3); }},
    };
    loadRects({{0, 0, 20, 10}});
    Volume before = g->volumes[0];
    for (const Row& row : rows) {
        g->undoNewStep = 1;
        row.call();
        EXPECT_EQ(std::memcmp(&before, &g->volumes[0], sizeof(Volume)), 0) << row.what;
    }
    EXPECT_EQ(g->undoPos, -1) << "nothing recorded";

    // A relative scale whose product is too small for a double is a scale of 0.
    setSelectionVolumeDoubleValue(kVolumeValueScaleX, 1e-200, 1);
    Volume tiny = g->volumes[0];
    setSelectionVolumeDoubleValue(kVolumeValueScaleX, 1e-200, 1);
    EXPECT_EQ(std::memcmp(&tiny, &g->volumes[0], sizeof(Volume)), 0) << "1e-200 of 1e-200";
}

// ---- Rotation and mirror -------------------------------------------------------------------------

TEST_F(VolumePlacementTest, TwoVolumesTurnAsABlockAboutTheirCentre)
{
    // The pair spans 6..46 x 3..13, centre (26, 8); the third is not selected.
    loadRects({{6, 3, 20, 10}, {36, 3, 10, 10}, {0, 0, 1, 1}});
    selectOnly({0, 1});
    g->undoNewStep = 1;
    setSelectionVolumeDoubleValue(kVolumeValueAngle, 90, 0);
    const Volume& a = g->volumes[0];
    EXPECT_NEAR(a.baseWidth, 10, kMm) << "the rectangle's sides swap";
    EXPECT_NEAR(a.baseHeight, 20, kMm);
    // Its centre (16, 8) turned a quarter about (26, 8) is (26, -2).
    EXPECT_NEAR(left(0), 21, kMm);
    EXPECT_NEAR(bottom(0), -12, kMm);
    EXPECT_NEAR(right(0), 31, kMm);
    EXPECT_NEAR(top(0), 8, kMm);
    // (41, 8) becomes (26, 23).
    EXPECT_NEAR(left(1), 21, kMm);
    EXPECT_NEAR(bottom(1), 18, kMm);
    EXPECT_EQ(g->undoPos, 0);

    ASSERT_EQ(undoVolumeChange(), kNoErr);
    EXPECT_NEAR(left(0), 6, kMm);
    EXPECT_EQ(a.angle, 0.0);
}

TEST_F(VolumePlacementTest, TurningTurnsTheGapsAndTheGeometryAsItIsCut)
{
    loadRects({{0, 0, 20, 10}});
    Volume& v = g->volumes[0];
    v.copiesX = 2;
    v.gapX = 4;
    v.gapY = 1;
    updateVolumeRect(&v);
    setSelectionVolumeDoubleValue(kVolumeValueAngle, 90, 0);
    EXPECT_NEAR(v.gapX, 1, kMm);
    EXPECT_NEAR(v.gapY, 4, kMm);
    // The placed outline fills exactly the first copy's place.
    double offset[2];
    getVolumeCopyOffset(v, 0, 0, offset);
    double low[2] = {1e9, 1e9}, high[2] = {-1e9, -1e9};
    const bezier_stru* segments = nullptr;
    ASSERT_EQ(ringSegments(&v.rings[0], segmentRoom(kSegmentsForBounds), &segments), kNoErr);
    ASSERT_NE(segments, nullptr);
    for (int32_t k = 0; k < v.rings[0].count; k++) {
        bezier_stru b = placeBezier(segments[k], v, offset);
        for (auto& p : b.P)
            for (int c = 0; c < 2; c++) low[c] = std::min(low[c], p[c]), high[c] = std::max(high[c], p[c]);
    }
    EXPECT_NEAR(low[0], left(0), kMm);
    EXPECT_NEAR(low[1], bottom(0), kMm);
    EXPECT_NEAR(high[0] - low[0], 10, kMm);
    EXPECT_NEAR(high[1] - low[1], 20, kMm);
}

TEST_F(VolumePlacementTest, APlacementWorkedOutOncePlacesAsEachStepDoesToTheBit)
{
    struct Row {
        const char* what;
        uint8_t mirror;
        double angle, scaleX, scaleY, rotMinX, rotMinY;
        float loadWidth, loadHeight;
    } rows[] = {
        {"as loaded", 0, 0, 1, 1, 0, 0, 30, 20},
        {"mirrored", 1, 0, 1, 1, 0, 0, 30, 20},
        {"turned a quarter", 0, 90, 1, 1, -20, 0, 30, 20},
        {"turned and mirrored", 1, -33.3, 1, 1, -4.5, 2.25, 17.3f, 9.1f},
        {"scaled unevenly", 0, 0, 2.5, 0.3, 0, 0, 30, 20},
        {"all at once", 1, 271.7, 0.125, 7.75, 3.3, -8.1, 0.7f, 1234.5f},
    };
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coordinate(-500, 500);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Volume v;
        std::memset(&v, 0, sizeof v);
        v.mirror = row.mirror;
        v.angle = row.angle;
        v.scaleX = row.scaleX;
        v.scaleY = row.scaleY;
        v.rotMinX = row.rotMinX;
        v.rotMinY = row.rotMinY;
        v.loadRect[2] = row.loadWidth;
        v.loadRect[1] = row.loadHeight;
        Placement placement = placementOf(v);
        for (int n = 0; n < 200; n++) {
            bezier_stru b;
            b.degree = 3;
            for (auto& p : b.P)
                for (double& c : p) c = n == 0 ? -0.0 : coordinate(random);
            double offset[2] = {n == 1 ? -0.0 : coordinate(random), coordinate(random)};
            bezier_stru each = placeBezier(b, v, offset), once = placeWith(placement, b, offset);
            ASSERT_EQ(std::memcmp(each.P, once.P, sizeof each.P), 0) << "segment " << n;
        }
    }
}

TEST_F(VolumePlacementTest, MirroringTwoVolumesSwapsTheirPlaces)
{
    // The pair spans 6..46: each centre goes to its mirror image about x = 26.
    loadRects({{6, 3, 20, 10}, {36, 3, 10, 10}, {0, 0, 1, 1}});
    selectOnly({0, 1});
    setSelectionVolumeBoolValue(kVolumeValueMirror, 1);
    EXPECT_EQ(g->volumes[0].mirror, 1);
    EXPECT_NEAR(left(0), 26, kMm);
    EXPECT_NEAR(right(0), 46, kMm);
    EXPECT_NEAR(left(1), 6, kMm);
    EXPECT_NEAR(right(1), 16, kMm);
    EXPECT_NEAR(bottom(0), 3, kMm);
    EXPECT_EQ(g->undoPos, -1) << "mirror is not recorded";
    setSelectionVolumeBoolValue(kVolumeValueMirror, 0);
    EXPECT_NEAR(left(0), 6, kMm);
    EXPECT_NEAR(left(1), 36, kMm);
}

TEST_F(VolumePlacementTest, AScaledVolumeTurnsAboutItsOwnPlacedCentre)
{
    loadRects({{0, 0, 20, 10}});
    AIRealRect S;
    ASSERT_EQ(getSelectionVolumeRealRect(&S), kNoErr);
    setSelectionVolumeScale(S, kAnchorBottomLeft, 2, 2, 0);
    ASSERT_NEAR(right(0), 40, kMm);
    // Mirrored alone, a volume stays where it is, whatever its scale.
    setSelectionVolumeBoolValue(kVolumeValueMirror, 1);
    EXPECT_NEAR(left(0), 0, kMm);
    EXPECT_NEAR(right(0), 40, kMm);
    // Turned half round about its own centre (20, 10), it covers the same place.
    setSelectionVolumeDoubleValue(kVolumeValueAngle, 180, 0);
    EXPECT_NEAR(left(0), 0, kMm);
    EXPECT_NEAR(bottom(0), 0, kMm);
    EXPECT_NEAR(top(0), 20, kMm);
}

TEST_F(VolumePlacementTest, AVolumeWithoutSegmentsKeepsItsSizeWhenTurned)
{
    loadRects({{0, 0, 20, 10}});
    Volume& v = g->volumes[0];
    int32_t rings = v.ringCount;
    v.ringCount = 0;
    AIRealRect S = {0, 10, 20, 0};
    v.angle = 90;
    updateVolumeRotate_New(&v, S, 0, 0);
    EXPECT_NEAR(v.baseWidth, 20, kMm);
    EXPECT_NEAR(v.baseHeight, 10, kMm);
    EXPECT_NEAR(v.rect[2] - v.rect[0], 20, kMm);
    v.ringCount = rings;
}

// ---- Aligns ---------------------------------------------------------------------------------------

TEST_F(VolumePlacementTest, AlignsMoveTheSelectionKeepingSizes)
{
    // Three volumes spanning 7..67 x 3..43, away from the job's origin, so that
    // an edge of the selection taken for its size shows; the fourth, at the
    // origin, is not selected.
    std::vector<Box> boxes = {{7, 13, 20, 10}, {32, 3, 10, 30}, {57, 8, 10, 35}, {0, 0, 5, 5}};
    struct Row {
        const char* what;
        ASErr (*align)();
        double lefts[3], bottoms[3];
    } rows[] = {
        {"left", setSelectVolumeAlignLeft, {7, 7, 7}, {13, 3, 8}},
        {"centre X", setSelectVolumeAlignCenterX, {27, 32, 32}, {13, 3, 8}},
        {"right", setSelectVolumeAlignRight, {47, 57, 57}, {13, 3, 8}},
        {"top", setSelectVolumeAlignTop, {7, 32, 57}, {33, 13, 8}},
        {"centre Y", setSelectVolumeAlignCenterY, {7, 32, 57}, {18, 8, 5.5}},
        {"bottom", setSelectVolumeAlignBottom, {7, 32, 57}, {3, 3, 3}},
        // The board is 300 x 200: the 60 x 40 block goes to 120..180 x 80..120.
        {"board centre X", setSelectVolumeALignBoardCenterX, {120, 145, 170}, {13, 3, 8}},
        {"board centre Y", setSelectVolumeALignBoardCenterY, {7, 32, 57}, {90, 80, 85}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        loadRects(boxes);
        g->mediaWidth = 300;
        g->mediaLength = 200;
        selectOnly({0, 1, 2});
        g->undoNewStep = 1;
        ASSERT_EQ(row.align(), kNoErr);
        for (int i = 0; i < 3; i++) {
            EXPECT_NEAR(left(i), row.lefts[i], kMm) << i;
            EXPECT_NEAR(bottom(i), row.bottoms[i], kMm) << i;
            EXPECT_NEAR(right(i) - left(i), boxes[i].w, kMm) << i;
            EXPECT_NEAR(top(i) - bottom(i), boxes[i].h, kMm) << i;
        }
        EXPECT_NEAR(left(3), 0, kMm);
        EXPECT_NEAR(bottom(3), 0, kMm);
        ASSERT_EQ(undoVolumeChange(), kNoErr);
        for (int i = 0; i < 3; i++) EXPECT_NEAR(left(i), boxes[i].x, kMm) << "undone " << i;
        (void)freeData();
        freeUndoHistory();
    }
}

// ---- Auto group ------------------------------------------------------------------------------------

TEST_F(VolumePlacementTest, PackingFillsAColumnBottomUpWidestFirst)
{
    // Widths 30, 60, 120 (too wide for the page) and 50, all 20 high.
    loadRects({{0, 0, 30, 20}, {40, 100, 60, 20}, {10, 300, 120, 20}, {200, 50, 50, 20}});
    g->curPlotter.PlotterSizeX = 100;
    g->curPlotter.PlotterSizeY = 500;
    g->autoGroupGapX = 0;
    g->autoGroupGapY = 0;
    AIArtHandle arts[4];
    for (int i = 0; i < 4; i++) arts[i] = g->volumes[i].art;
    int32_t notPlaced = -1;
    ASSERT_EQ(setVolumeAutoGroup(&notPlaced), kNoErr);
    EXPECT_EQ(notPlaced, 1);
    // Widest first: 120, 60, 50, 30.
    EXPECT_EQ(g->volumes[0].art, arts[2]);
    EXPECT_EQ(g->volumes[1].art, arts[1]);
    EXPECT_EQ(g->volumes[2].art, arts[3]);
    EXPECT_EQ(g->volumes[3].art, arts[0]);
    EXPECT_NEAR(left(0), 10, kMm) << "the one too wide stays where it was";
    EXPECT_NEAR(bottom(0), 300, kMm);
    struct {
        int volume;
        double x, y;
    } placed[] = {{1, 0, 0}, {2, 0, 20}, {3, 0, 40}};
    for (auto& p : placed) {
        EXPECT_NEAR(left(p.volume), p.x, kMm) << p.volume;
        EXPECT_NEAR(bottom(p.volume), p.y, kMm) << p.volume;
    }

    // One undo step holds every volume.
    EXPECT_EQ(g->undoPos, 0);
    ASSERT_EQ(undoVolumeChange(), kNoErr);
    double lefts[4] = {10, 40, 200, 0}, bottoms[4] = {300, 100, 50, 0};
    for (int i = 0; i < 4; i++) {
        EXPECT_NEAR(left(i), lefts[i], kMm) << i;
        EXPECT_NEAR(bottom(i), bottoms[i], kMm) << i;
    }
    EXPECT_EQ(undoVolumeChange(), (ASErr)'!STK');
}

TEST_F(VolumePlacementTest, PackingKeepsTheGapsAndMovesToTheNextColumn)
{
    // A page 100 high takes two 40-high volumes per column with a 5 mm gap.
    loadRects({{0, 0, 30, 40}, {0, 50, 30, 40}, {0, 100, 30, 40}});
    g->curPlotter.PlotterSizeX = 100;
    g->curPlotter.PlotterSizeY = 100;
    g->autoGroupGapX = 2;
    g->autoGroupGapY = 5;
    int32_t notPlaced = -1;
    ASSERT_EQ(setVolumeAutoGroup(&notPlaced), kNoErr);
    EXPECT_EQ(notPlaced, 0);
    EXPECT_NEAR(bottom(0), 0, kMm);
    EXPECT_NEAR(bottom(1), 45, kMm);
    EXPECT_NEAR(left(2), 32, kMm);
    EXPECT_NEAR(bottom(2), 0, kMm);
}

// The exchange sort and the first-fit walk as written, on records, for the
// packer's faster way to the same result.
void referencePack(std::vector<Volume>& volumes, float pageWidth, float pageHeight)
{
    size_t n = volumes.size();
    for (size_t i = 0; i < n; i++) {
        float held = volumes[i].rect[2] - volumes[i].rect[0];
        for (size_t j = i + 1; j < n; j++) {
            float w = volumes[j].rect[2] - volumes[j].rect[0];
            if (w > held) {
                std::swap(volumes[i], volumes[j]);
                held = w;
            }
        }
    }
    // The free rectangles of the page, walked from the first: a volume goes to
    // the lower left of the first that takes it; the rest right of its column
    // follows that one, which shrinks to the column above the volume.
    struct Free {
        float left, top, right, bottom;
    };
    std::list<Free> free = {{0, pageHeight, pageWidth, 0}};
    for (Volume& v : volumes) {
        const float w = v.rect[2] - v.rect[0], h = v.rect[1] - v.rect[3];
        for (auto node = free.begin(); node != free.end(); ++node) {
            if (node->right - node->left < w || node->top - node->bottom < h) continue;
            v.rect[0] = node->left;
            v.rect[3] = node->bottom;
            v.rect[2] = node->left + w;
            v.rect[1] = node->bottom + h;
            Free after{(float)(node->left + w + g->autoGroupGapX), node->top, node->right, node->bottom};
            node->right = node->left + w;
            node->bottom = (float)(node->bottom + h + g->autoGroupGapY);
            free.insert(std::next(node), after);
            break;
        }
    }
}

TEST_F(VolumePlacementTest, PackingGivesTheExchangeSortAndFirstFitResultExactly)
{
    std::mt19937 random(17);
    for (int round = 0; round < 20; round++) {
        SCOPED_TRACE(round);
        std::vector<Box> boxes;
        // Few distinct widths, so that equal widths are common.
        for (int i = 0; i < 60; i++)
            boxes.push_back({double(i * 3 % 97), double(i * 7 % 89), double(5 + random() % 6 * 5),
                             double(5 + random() % 4 * 5)});
        boxes.push_back({0, 0, 5, 5});
        loadRects(boxes);
        g->curPlotter.PlotterSizeX = 120;
        g->curPlotter.PlotterSizeY = 60 + round * 5;
        g->autoGroupGapX = round % 3;
        g->autoGroupGapY = round % 2;
        std::vector<Volume> expected(g->volumes, g->volumes + g->volumeCount);
        referencePack(expected, 120, (float)g->curPlotter.PlotterSizeY);
        ASSERT_EQ(setVolumeAutoGroup(), kNoErr);
        for (size_t i = 0; i < expected.size(); i++) {
            EXPECT_EQ(g->volumes[i].art, expected[i].art) << i;
            EXPECT_EQ(std::memcmp(g->volumes[i].rect, expected[i].rect, sizeof expected[i].rect), 0) << i;
        }
        freeUndoHistory();
        (void)freeData();
    }
}

// ---- The cut length as actions change the job ----------------------------------------------

// The total as measured from nothing kept: the figure every change must give.
double freshCutLength()
{
    releaseCutLengthCache();
    double total = -1;
    EXPECT_EQ(getGlobalDistance(&total), kNoErr);
    return total;
}

double cutLengthNow()
{
    double total = -1;
    EXPECT_EQ(getGlobalDistance(&total), kNoErr);
    return total;
}

TEST_F(VolumePlacementTest, TheCutLengthFollowsWhatEachRingIsMeasuredFromAndNothingElse)
{
    struct Row {
        const char* what;
        bool changesTheFigure;
        std::function<void()> change;  // leaves the dialog's figure in g->totalCutLength
    } rows[] = {
        {"scale in X", true, [] { setSelectionVolumeDoubleValue(kVolumeValueScaleX, 1.7, 0); }},
        {"scale in Y", true, [] { setSelectionVolumeDoubleValue(kVolumeValueScaleY, 0.6, 0); }},
        {"the path it is read from", true,
         [] {
             g->volumes[0].rings[0].art = g->volumes[1].rings[0].art;
             g->totalCutLength = cutLengthNow();
         }},
        {"segments of its own", true,
         [] {
             // As many curves as the path has, read in place of it; freed
             // with the job.
             Ring& ring = g->volumes[0].rings[0];
             bezier_stru* own = static_cast<bezier_stru*>(malloc(ring.count * sizeof(bezier_stru)));
             ASSERT_NE(own, nullptr);
             for (int32_t i = 0; i < ring.count; i++) own[i] = {3, {{0, 0}, {10, 25}, {30, -15}, {40, 5.0 + i}}};
             ring.beziers = own;
             g->totalCutLength = cutLengthNow();
         }},
        {"a path that no longer has its anchors", true,
         [] {
             g->volumes[0].rings[0].count -= 1;
             g->totalCutLength = cutLengthNow();
         }},
        {"the corner its path is read from, across", true,
         [] {
             g->volumes[0].rings[0].originX += 1e6f;  // far enough for the rounding to differ
             g->totalCutLength = cutLengthNow();
         }},
        {"the corner its path is read from, up", true,
         [] {
             g->volumes[0].rings[0].originY -= 1e6f;
             g->totalCutLength = cutLengthNow();
         }},
        {"no longer a path", true,
         [] {
             g->volumes[0].rings[0].kind = kRingOtherArt;
             g->totalCutLength = cutLengthNow();
         }},
        {"undo of a scale", false,
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueScaleX, 1.7, 0);
             EXPECT_EQ(undoVolumeChange(), kNoErr);
         }},
        {"redo of a scale", true,
         [] {
             setSelectionVolumeDoubleValue(kVolumeValueScaleY, 0.6, 0);
             EXPECT_EQ(undoVolumeChange(), kNoErr);
             EXPECT_EQ(redoVolumeChange(), kNoErr);
         }},
        {"copies", true, [] { setSelectionVolumeIntValue(kVolumeValueCopiesX, 3); }},
        {"a move", false, [] { setSelectionVolumeDoubleValue(kVolumeValueLeft, 100, 0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // Two ellipses of four anchors each and a circle, each a volume.
        loadShapes({R"(<ellipse cx="30" cy="30" rx="20" ry="8"/>)", R"(<ellipse cx="90" cy="30" rx="15" ry="6"/>)",
                    R"(<circle cx="150" cy="30" r="10"/>)"});
        g->totalCutLength = cutLengthNow();
        double before = g->totalCutLength;
        g->undoNewStep = 1;
        row.change();
        double shown = g->totalCutLength;
        EXPECT_EQ(shown, freshCutLength());
        if (row.changesTheFigure)
            EXPECT_NE(shown, before);
        else
            EXPECT_EQ(shown, before) << "the same figure, to the bit";
        (void)freeData();
        freeUndoHistory();
        initUndoHistory();
    }
}

}  // namespace
