// Picking volumes by point and by rectangle on their placed outlines, and the
// two cut-order tools; on volumes loaded from SVG shapes.
#include <functional>
#include <string>

#include "Core/VolumeHitTest.h"
#include "Core/VolumePlacement.h"
#include "PlacementFixture.h"

using namespace vt;
using vt::test::Box;

namespace {

// A square letter O: 30 x 30 with a 10 x 10 counter in the middle.
const char* kLetterO = R"(<path d="M0,0 H30 V30 H0 Z M10,10 H20 V20 H10 Z" fill="#000000"/>)";
// An L: a 10 wide stem 0..30 high and a foot 0..30 wide, 10 high.
const char* kLetterL = R"(<path d="M0,0 H30 V10 H10 V30 H0 Z" fill="#000000"/>)";

class VolumeHitTest : public test::PlacementTest {
protected:
    void TearDown() override
    {
        releaseVolumeHitCache();
        PlacementTest::TearDown();
    }
    static AIRealRect click(double x, double y, double size = 0.0)
    {
        return AIRealRect{(AIReal)(x - size / 2), (AIReal)(y + size / 2), (AIReal)(x + size / 2),
                          (AIReal)(y - size / 2)};
    }
    static AIRealRect span(double x1, double y1, double x2, double y2)
    {
        return AIRealRect{(AIReal)x1, (AIReal)y2, (AIReal)x2, (AIReal)y1};
    }
    static bool selected(int i) { return (g->volumes[i].flags & kVolumeSelected) != 0; }
    static AIRealPoint at(double x, double y) { return AIRealPoint{(AIReal)x, (AIReal)y}; }
};

TEST_F(VolumeHitTest, PointAgainstAPolygonCountsCrossings)
{
    const AIRealPoint square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    struct Row {
        const char* what;
        AIRealPoint point;
        int32_t expected;
    } rows[] = {
        {"inside", {5, 5}, kHitInside},
        {"left of it", {-1, 5}, kHitOutside},
        {"right of it", {11, 5}, kHitOutside},
        {"above it", {5, 11}, kHitOutside},
        {"on the bottom edge (half-open in y)", {5, 0}, kHitInside},
        {"on the top edge", {5, 10}, kHitOutside},
    };
    for (const Row& row : rows) EXPECT_EQ(PointOnPloygon(row.point, square, 4), row.expected) << row.what;
    EXPECT_EQ(PointOnPloygon(at(0, 0), square, 0), kHitOutside) << "an empty polygon";
}

TEST_F(VolumeHitTest, AClickInALettersCounterSelectsNothingOnItsBodySelectsIt)
{
    loadShapes({kLetterO});
    EXPECT_EQ(PointOnVolume(at(15, 15), &g->volumes[0]), kHitOutside);
    EXPECT_EQ(PointOnVolume(at(5, 5), &g->volumes[0]), kHitInside);
    ASSERT_EQ(selectVolume(click(15, 15), 1), kNoErr);
    EXPECT_FALSE(selected(0));
    EXPECT_EQ(g->totalCutLength, 0.0) << "nothing selected, nothing to cut";
    ASSERT_EQ(selectVolume(click(5, 5), 1), kNoErr);
    EXPECT_TRUE(selected(0));
    EXPECT_NEAR(g->totalCutLength, 120 + 40, 0.01);
}

TEST_F(VolumeHitTest, TheSmallerOfTwoOverlappingVolumesWins)
{
    // The small one comes first, so the big one after it must lose to a
    // volume already picked, and the equal one after that must too.
    loadRects({{10, 10, 10, 10}, {0, 0, 40, 40}, {12, 12, 10, 10}});
    ASSERT_EQ(selectVolume(click(15, 15), 1), kNoErr);
    EXPECT_TRUE(selected(0)) << "the first of the two equal small ones";
    EXPECT_FALSE(selected(1));
    EXPECT_FALSE(selected(2));
    ASSERT_EQ(selectVolume(click(30, 30), 1), kNoErr);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
}

TEST_F(VolumeHitTest, HalfAMillimetreIsAClickOneMillimetreADrag)
{
    loadRects({{0, 0, 40, 40}, {100, 0, 10, 10}});
    // Well inside the big volume, away from its outline: a click there picks
    // it, a drag touching no outline picks nothing.
    struct Row {
        const char* what;
        AIRealRect rect;
        bool picked;
    } rows[] = {
        {"a click at the centre", click(20, 20, 0.5), true},
        {"a drag of exactly 1 mm across", span(20, 20, 21, 20.2), false},
        {"a drag of exactly 1 mm up", span(20, 20, 20.2, 21), false},
        {"a drag across the right edge", span(39.5, 20, 39.5 + 1.0, 20.5), true},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(selectVolume(row.rect, 1), kNoErr);
        EXPECT_EQ(selected(0), row.picked) << row.what;
    }
    // A drag from right to left and top to bottom is the same rectangle.
    ASSERT_EQ(selectVolume(span(120, 20, 95, -5), 1), kNoErr);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
}

TEST_F(VolumeHitTest, ADragWithoutReplaceToggles)
{
    loadRects({{0, 0, 10, 10}, {20, 0, 10, 10}, {40, 0, 10, 10}});
    selectOnly({0});
    ASSERT_EQ(selectVolume(span(-5, -5, 35, 15), 0), kNoErr);
    EXPECT_FALSE(selected(0));
    EXPECT_TRUE(selected(1));
    EXPECT_FALSE(selected(2)) << "not touched";
    ASSERT_EQ(selectVolume(click(45, 5), 0), kNoErr);
    EXPECT_TRUE(selected(1)) << "a click without replace keeps the rest";
    EXPECT_TRUE(selected(2));
}

TEST_F(VolumeHitTest, HiddenAndRinglessVolumesAreNeverPicked)
{
    loadRects({{0, 0, 10, 10}, {0, 0, 40, 40}});
    g->volumes[0].flags &= ~(uint32_t)(kVolumeVisible | kVolumeSelected);
    ASSERT_EQ(selectVolume(click(5, 5), 1), kNoErr);
    EXPECT_FALSE(selected(0)) << "hidden";
    EXPECT_TRUE(selected(1));

    (void)freeData();
    loadRects({{0, 0, 10, 10}, {0, 0, 40, 40}});
    Volume& empty = g->volumes[0];
    int32_t rings = empty.ringCount;
    empty.ringCount = 0;  // an empty group
    EXPECT_EQ(PointOnVolume(at(5, 5), &empty), kHitNoRings);
    EXPECT_EQ(RectVolumeIntersect(span(-5, -5, 50, 50), &empty), kHitOutside);
    ASSERT_EQ(selectVolume(click(5, 5), 1), kNoErr);
    EXPECT_FALSE(selected(0)) << "the empty group does not win every click";
    EXPECT_TRUE(selected(1));
    ASSERT_EQ(selectVolume(span(-5, -5, 50, 50), 1), kNoErr);
    EXPECT_FALSE(selected(0));
    int32_t next = 1;
    EXPECT_EQ(changeVolumeIndex(&next, at(100, 100), 0), (ASErr)'!Sel');
    empty.ringCount = rings;
}

TEST_F(VolumeHitTest, OnlyWhatIsCutIsPicked)
{
    struct Row {
        const char* what;
        int pieces;       // of the perforated square; 0: a plain square of the marks layer
        AIRealRect pick;  // a click or a drag
        bool picked;
    } rows[] = {
        {"a square perforated all round, inside", 8, click(15, 15), true},
        {"a square perforated along its bottom, inside: its source is not cut", 2, click(15, 15), false},
        {"... a drag across its top side", 2, span(10, 28, 20, 32), false},
        {"... a drag across its pieces", 2, span(10, -2, 20, 2), true},
        {"the registration marks, inside", 0, click(15, 15), false},
        {"the registration marks, a drag across them", 0, span(10, -2, 20, 2), false},
    };
    for (const Row& row : rows) {
        loadShapes({row.pieces > 0 ? perforatedSquare(row.pieces) : rect(Box{0, 0, 30, 30})});
        if (row.pieces == 0) g->volumes[0].flags |= kVolumeOnMarksLayer;
        ASSERT_EQ(selectVolume(row.pick, 1), kNoErr);
        EXPECT_EQ(selected(0), row.picked) << row.what;
        (void)freeData();
    }
}

// Each row changes the placement of one O (or L) and then asks whether the
// pointer hits it where the writer cuts it.
TEST_F(VolumeHitTest, AVolumeIsHitWhereItIsCutOnly)
{
    struct Row {
        const char* what;
        const char* shape;
        std::function<void()> place;
        double x, y;
        bool hit;
    } rows[] = {
        {"scaled x2: the body far out", kLetterO,
         [] { setSelectionVolumeScale(AIRealRect{0, 30, 30, 0}, kAnchorBottomLeft, 2, 2, 0); }, 50, 5, true},
        {"scaled x2: the grown counter", kLetterO,
         [] { setSelectionVolumeScale(AIRealRect{0, 30, 30, 0}, kAnchorBottomLeft, 2, 2, 0); }, 25, 25, false},
        {"scaled x2: beyond it", kLetterO,
         [] { setSelectionVolumeScale(AIRealRect{0, 30, 30, 0}, kAnchorBottomLeft, 2, 2, 0); }, 63, 5, false},
        {"turned a quarter: the stem now lies along x", kLetterL,
         [] { setSelectionVolumeDoubleValue(kVolumeValueAngle, 90, 0); }, 25, 25, true},
        {"turned a quarter: where the stem was", kLetterL,
         [] { setSelectionVolumeDoubleValue(kVolumeValueAngle, 90, 0); }, 5, 25, false},
        {"mirrored: the stem on the right", kLetterL, [] { setSelectionVolumeBoolValue(kVolumeValueMirror, 1); },
         25, 25, true},
        {"mirrored: where the stem was", kLetterL, [] { setSelectionVolumeBoolValue(kVolumeValueMirror, 1); }, 5,
         25, false},
        {"three copies: the third", kLetterO, [] { setSelectionVolumeIntValue(kVolumeValueCopiesX, 3); }, 65, 5,
         true},
        {"three copies: the third's counter", kLetterO,
         [] { setSelectionVolumeIntValue(kVolumeValueCopiesX, 3); }, 75, 15, false},
        {"three copies: where a fourth would be", kLetterO,
         [] { setSelectionVolumeIntValue(kVolumeValueCopiesX, 3); }, 95, 5, false},
        {"copies up with a gap: in the gap", kLetterO,
         [] {
             setSelectionVolumeIntValue(kVolumeValueCopiesY, 2);
             setSelectionVolumeDoubleValue(kVolumeValueGapY, 10, 0);
         },
         5, 35, false},
        {"copies up with a gap: the second", kLetterO,
         [] {
             setSelectionVolumeIntValue(kVolumeValueCopiesY, 2);
             setSelectionVolumeDoubleValue(kVolumeValueGapY, 10, 0);
         },
         5, 45, true},
        {"copies up with a gap: where a third would be", kLetterO,
         [] {
             setSelectionVolumeIntValue(kVolumeValueCopiesY, 2);
             setSelectionVolumeDoubleValue(kVolumeValueGapY, 10, 0);
         },
         5, 85, false},
        {"moved: the old place", kLetterO, [] { setSelectionVolumeDoubleValue(kVolumeValueLeft, 100, 0); }, 5, 5,
         false},
        {"moved: the new place", kLetterO, [] { setSelectionVolumeDoubleValue(kVolumeValueLeft, 100, 0); }, 105, 5,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        loadShapes({row.shape});
        // Looked at once before the change, so that a stale outline would show.
        (void)PointOnVolume(at(row.x, row.y), &g->volumes[0]);
        g->undoNewStep = 1;
        row.place();
        EXPECT_EQ(PointOnVolume(at(row.x, row.y), &g->volumes[0]), row.hit ? kHitInside : kHitOutside);
        g->volumes[0].flags &= ~(uint32_t)kVolumeSelected;
        ASSERT_EQ(selectVolume(click(row.x, row.y), 1), kNoErr);
        EXPECT_EQ(selected(0), row.hit) << "by a click";
        // A small drag round the point touches the outline only near it.
        EXPECT_EQ(RectVolumeIntersect(span(row.x - 1, row.y - 1, row.x + 1, row.y + 1), &g->volumes[0]),
                  kHitOutside);
        freeUndoHistory();
        (void)freeData();
    }
}

// Art loaded again at another size may be given the rings of the art before
// it, with all else alike: the loaded rectangle, about whose middle a volume
// is mirrored, then tells the kept outline from the one to make.
TEST_F(VolumeHitTest, AnOutlineKeptForOneLoadedRectangleIsNotUsedForAnother)
{
    loadShapes({kLetterL});
    Volume& v = g->volumes[0];
    v.mirror = 1;  // about x = 15: the stem at x 20 to 30
    EXPECT_EQ(PointOnVolume(at(25, 25), &v), kHitInside);
    v.loadRect[2] += 20;  // about x = 25: the stem at x 40 to 50
    EXPECT_EQ(PointOnVolume(at(25, 25), &v), kHitOutside);
    EXPECT_EQ(PointOnVolume(at(45, 25), &v), kHitInside);
}

TEST_F(VolumeHitTest, ADragTouchesTheOutlineOfEveryCopy)
{
    loadShapes({kLetterO});
    setSelectionVolumeIntValue(kVolumeValueCopiesX, 3);
    // Across the right side of the third copy, between its corners.
    EXPECT_EQ(RectVolumeIntersect(span(88, 5, 92, 6), &g->volumes[0]), kHitInside);
    // Across its counter's left side.
    EXPECT_EQ(RectVolumeIntersect(span(69, 15, 71, 16), &g->volumes[0]), kHitInside);
    // Its edge on the first copy's left side, or on its foot.
    EXPECT_EQ(RectVolumeIntersect(span(-1, 12, 0, 18), &g->volumes[0]), kHitInside);
    EXPECT_EQ(RectVolumeIntersect(span(12, -1, 18, 0), &g->volumes[0]), kHitInside);
    // Between the counter and the body.
    EXPECT_EQ(RectVolumeIntersect(span(62, 12, 68, 18), &g->volumes[0]), kHitOutside);
    // Across where a fourth copy's counter would be, or a second row's.
    EXPECT_EQ(RectVolumeIntersect(span(99, 15, 101, 16), &g->volumes[0]), kHitOutside);
    EXPECT_EQ(RectVolumeIntersect(span(14, 39, 16, 41), &g->volumes[0]), kHitOutside);
}

TEST_F(VolumeHitTest, TheSwapToolExchangesTheNumbersOfTwoVolumes)
{
    std::vector<Box> boxes;
    for (int i = 0; i < 8; i++) boxes.push_back({20.0 * i, 0, 10, 10});
    loadRects(boxes);
    for (int i = 0; i < 8; i++) ASSERT_EQ(g->volumes[i].index, i + 1);
    int32_t first = -1, second = -1;
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(15, 5), 0), 1) << "a click in no volume";
    EXPECT_EQ(first, -1);
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(45, 5), 0), kNoErr);  // numbered 3
    EXPECT_EQ(first, 2);
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(15, 5), 0), 1) << "the second click missed";
    EXPECT_EQ(first, 2) << "and the first is kept";
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(125, 5), 0), kNoErr);  // numbered 7
    EXPECT_EQ(g->volumes[2].index, 7);
    EXPECT_EQ(g->volumes[6].index, 3);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);

    // The same volume twice leaves the numbers.
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(5, 5), 0), kNoErr);
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(5, 5), 0), kNoErr);
    EXPECT_EQ(g->volumes[0].index, 1);
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(5, 5), 0), kNoErr);
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(145, 5), 0), kNoErr);
    EXPECT_EQ(g->volumes[0].index, 8) << "the first volume of the job swaps like any other";
    EXPECT_EQ(g->volumes[7].index, 1);
    first = 99;
    EXPECT_EQ(swapVolumeIndex(&first, &second, at(5, 5), 0), kNoErr);
    EXPECT_EQ(first, -1) << "a first pick no longer in the job is forgotten";
}

TEST_F(VolumeHitTest, TheRenumberToolGivesTheClickedVolumeTheNextNumber)
{
    loadRects({{0, 0, 10, 10}, {20, 0, 10, 10}, {40, 0, 10, 10}, {60, 0, 10, 10}, {80, 0, 10, 10}});
    int32_t next = 1;
    ASSERT_EQ(changeVolumeIndex(&next, at(65, 5), 0), kNoErr);  // numbered 4
    EXPECT_EQ(g->volumes[3].index, 1);
    EXPECT_EQ(g->volumes[0].index, 4) << "the one that was 1 takes 4";
    EXPECT_EQ(changeVolumeIndex(&next, at(100, 5), 0), (ASErr)'!Sel');

    // Next beyond the shown volumes gives the last number.
    g->volumes[4].flags &= ~(uint32_t)kVolumeVisible;
    next = 9;
    ASSERT_EQ(changeVolumeIndex(&next, at(25, 5), 0), kNoErr);
    EXPECT_EQ(next, 5) << "held to the number of volumes";
    EXPECT_EQ(g->volumes[1].index, 4) << "four are shown";
    EXPECT_EQ(g->volumes[0].index, 2);
}

}  // namespace
