// Undo history of volume placement and the total cut length, on volumes built
// directly as records in a globals record the test owns.
#include <math.h>
#include <string.h>

#include <vector>

#include <gtest/gtest.h>

#include "Common/PluginGlobals.h"
#include "Core/UndoHistory.h"

namespace {

bezier_stru straightLine(double x0, double y0, double x1, double y1)
{
    bezier_stru b;
    b.degree = 3;
    for (int i = 0; i < 4; i++) {
        b.P[i][0] = x0 + (x1 - x0) * i / 3.0;
        b.P[i][1] = y0 + (y1 - y0) * i / 3.0;
    }
    return b;
}

class UndoHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g;
        memset(&globals_, 0, sizeof(globals_));
        g = &globals_;
        initUndoHistory();
        releaseCutLengthCache();
    }
    void TearDown() override
    {
        freeUndoHistory();
        releaseCutLengthCache();
        g = saved_;
    }

    // n selected, visible volumes, each one ring with one horizontal segment of
    // the given length; each has its own art handle and ring array.
    void makeJob(int n, double length = 100.0)
    {
        segments_.assign(n, straightLine(0, 0, length, 0));
        rings_.assign(n, Ring{});
        volumes_.assign(n, Volume{});
        for (int i = 0; i < n; i++) {
            rings_[i].kind = kRingPath;
            rings_[i].beziers = &segments_[i];
            rings_[i].count = 1;
            Volume& v = volumes_[i];
            v.art = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(0x1000 + 16 * i));
            v.rings = &rings_[i];
            v.ringCount = 1;
            v.scaleX = v.scaleY = 1.0;
            v.copiesX = v.copiesY = 1;
            v.gapX = v.gapY = 3.0;
            v.flags = kVolumeSelected | kVolumeVisible;
            v.rect[0] = (float)(10 * i);
            v.index = i + 1;
        }
        g->volumes = volumes_.data();
        g->volumeCount = n;
    }

    // One user action: open a new step, save every volume and move it.
    void moveAll(float left)
    {
        g->undoNewStep = 1;
        for (int i = 0; i < g->volumeCount; i++) {
            EXPECT_EQ(kNoErr, saveVolumeChange(i));
            g->volumes[i].rect[0] = left;
        }
    }

    PluginGlobals globals_;
    PluginGlobals* saved_ = nullptr;
    std::vector<bezier_stru> segments_;
    std::vector<Ring> rings_;
    std::vector<Volume> volumes_;
};

TEST_F(UndoHistoryTest, UndoAndRedoRightAfterOpeningHaveNothingToDo)
{
    makeJob(2);
    EXPECT_EQ(undoVolumeChange(), kUndoStackErr);
    EXPECT_EQ(redoVolumeChange(), kUndoStackErr);
    EXPECT_EQ(g->undoPos, -1);
}

TEST_F(UndoHistoryTest, TwoChangesThenTwoUndosRestoreTheOriginal)
{
    makeJob(3);
    moveAll(40.0f);
    moveAll(70.0f);
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    EXPECT_FLOAT_EQ(g->volumes[1].rect[0], 40.0f);
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    for (int i = 0; i < 3; i++)
        EXPECT_FLOAT_EQ(g->volumes[i].rect[0], 10.0f * i);
    EXPECT_EQ(undoVolumeChange(), kUndoStackErr);

    // Redo walks back up to the last action and stops there.
    EXPECT_EQ(redoVolumeChange(), kNoErr);
    EXPECT_EQ(redoVolumeChange(), kNoErr);
    EXPECT_FLOAT_EQ(g->volumes[2].rect[0], 70.0f);
    EXPECT_EQ(redoVolumeChange(), kUndoStackErr);
}

TEST_F(UndoHistoryTest, SeventeenActionsKeepTheLastSixteen)
{
    makeJob(1);
    for (int action = 1; action <= 17; action++)
        moveAll((float)action);
    EXPECT_EQ(g->undoPos, 15);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(undoVolumeChange(), kNoErr) << i;
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 1.0f);  // the state after the first action
    EXPECT_EQ(undoVolumeChange(), kUndoStackErr);
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 1.0f);
}

TEST_F(UndoHistoryTest, SavingAVolumeTwiceInOneActionKeepsTheStateBeforeIt)
{
    makeJob(1);
    g->undoNewStep = 1;
    EXPECT_EQ(kNoErr, saveVolumeChange(0));
    g->volumes[0].rect[0] = 5.0f;
    EXPECT_EQ(kNoErr, saveVolumeChange(0));
    g->volumes[0].rect[0] = 9.0f;
    EXPECT_EQ(g->undoSteps[0].count, 1);
    EXPECT_EQ(kNoErr, undoVolumeChange());
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 0.0f);
}

TEST_F(UndoHistoryTest, AnActionOnManyVolumesHoldsEachOnceInItsFirstState)
{
    makeJob(300);
    g->undoNewStep = 1;
    // As a drag saves the selection at every move of the pointer.
    for (int move = 1; move <= 3; move++) {
        for (int i = 0; i < g->volumeCount; i++) {
            (void)saveVolumeChange(i);
            g->volumes[i].rect[0] = (float)(1000 * move + i);
        }
    }
    EXPECT_EQ(g->undoSteps[0].count, 300);
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    for (int i = 0; i < g->volumeCount; i++) ASSERT_FLOAT_EQ(g->volumes[i].rect[0], 10.0f * i) << i;
    EXPECT_EQ(redoVolumeChange(), kNoErr);
    for (int i = 0; i < g->volumeCount; i++) ASSERT_FLOAT_EQ(g->volumes[i].rect[0], 3000.0f + i) << i;
}

TEST_F(UndoHistoryTest, UndoAndRedoPutBackThePlacementOnly)
{
    makeJob(2);
    moveAll(40.0f);
    g->volumes[0].scaleY = 3.0;
    // Since the move, volume 0's group was hidden (and so deselected), and
    // volume 1 renumbered.
    g->volumes[0].flags = 0u;
    g->volumes[1].index = 9;
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 0.0f);
    EXPECT_DOUBLE_EQ(g->volumes[0].scaleY, 1.0);
    EXPECT_EQ(g->volumes[0].flags, 0u) << "a hidden group stays hidden, and is not cut";
    EXPECT_EQ(g->volumes[1].index, 9);
    (void)getGlobalDistance(&g->totalCutLength);
    EXPECT_NEAR(g->totalCutLength, 100.0, 1e-9) << "only volume 1 is cut";
    EXPECT_EQ(redoVolumeChange(), kNoErr);
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 40.0f);
    EXPECT_DOUBLE_EQ(g->volumes[0].scaleY, 3.0);
    EXPECT_EQ(g->volumes[0].flags, 0u);
    EXPECT_EQ(g->volumes[1].index, 9);
}

TEST_F(UndoHistoryTest, UndoAndRedoOfAScaleRestoreScaleAndCutLength)
{
    makeJob(1);
    EXPECT_EQ(kNoErr, getGlobalDistance(&g->totalCutLength));
    EXPECT_NEAR(g->totalCutLength, 100.0, 1e-9);
    g->undoNewStep = 1;
    EXPECT_EQ(kNoErr, saveVolumeChange(0));
    g->volumes[0].scaleX = 2.0;
    EXPECT_EQ(kNoErr, getGlobalDistance(&g->totalCutLength));
    EXPECT_NEAR(g->totalCutLength, 200.0, 1e-9);

    EXPECT_EQ(undoVolumeChange(), kNoErr);
    EXPECT_DOUBLE_EQ(g->volumes[0].scaleX, 1.0);
    EXPECT_NEAR(g->totalCutLength, 100.0, 1e-9);
    EXPECT_EQ(redoVolumeChange(), kNoErr);
    EXPECT_DOUBLE_EQ(g->volumes[0].scaleX, 2.0);
    EXPECT_NEAR(g->totalCutLength, 200.0, 1e-9);
}

TEST_F(UndoHistoryTest, ANewActionAfterAnUndoEndsTheRedoBranch)
{
    makeJob(1);
    moveAll(1.0f);
    moveAll(2.0f);
    moveAll(3.0f);
    EXPECT_EQ(kNoErr, undoVolumeChange());
    EXPECT_EQ(kNoErr, undoVolumeChange());  // back at 1
    moveAll(7.0f);
    // The steps recorded before the undos (to 2, to 3) must not come back.
    EXPECT_EQ(redoVolumeChange(), kUndoStackErr);
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 7.0f);
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 1.0f);
}

TEST_F(UndoHistoryTest, UndoAfterTheArrayWasReorderedRestoresEachVolumeItsOwnRecord)
{
    makeJob(3);
    moveAll(50.0f);
    // Packing sorts the array itself: the records move to other positions.
    std::swap(g->volumes[0], g->volumes[2]);
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    for (int i = 0; i < 3; i++) {
        const Volume& v = g->volumes[i];
        int original = (int)((reinterpret_cast<uintptr_t>(v.art) - 0x1000) / 16);
        EXPECT_EQ(v.rings, &rings_[original]) << "position " << i;
        EXPECT_FLOAT_EQ(v.rect[0], 10.0f * original) << "position " << i;
    }
    EXPECT_EQ(redoVolumeChange(), kNoErr);
    for (int i = 0; i < 3; i++)
        EXPECT_FLOAT_EQ(g->volumes[i].rect[0], 50.0f);
}

TEST_F(UndoHistoryTest, ASaveWithNoOpenStepOpensOne)
{
    makeJob(1);
    g->undoNewStep = 0;  // a caller that forgot to open the step
    EXPECT_EQ(saveVolumeChange(0), kNoErr);
    g->volumes[0].rect[0] = 8.0f;
    EXPECT_EQ(g->undoPos, 0);
    EXPECT_EQ(undoVolumeChange(), kNoErr);
    EXPECT_FLOAT_EQ(g->volumes[0].rect[0], 0.0f);
}

TEST_F(UndoHistoryTest, ASaveOfAPositionOutsideTheArrayRecordsNothing)
{
    makeJob(1);
    g->undoNewStep = 1;
    EXPECT_EQ(saveVolumeChange(1), kNoErr);
    EXPECT_EQ(saveVolumeChange(-1), kNoErr);
    EXPECT_EQ(g->undoPos, -1);
}

const uint32_t kShown = kVolumeSelected | kVolumeVisible;

struct CutLengthRow {
    const char* name;
    double length;
    int copiesX, copiesY;
    double scaleX, scaleY;
    uint32_t flags;
    uint8_t dotCut;  // the ring's part in a perforation
    double expected;
};

class CutLengthTest : public UndoHistoryTest, public ::testing::WithParamInterface<CutLengthRow> {};

TEST_P(CutLengthTest, TotalOfTheSelection)
{
    const CutLengthRow& row = GetParam();
    makeJob(1, row.length);
    Volume& v = g->volumes[0];
    v.copiesX = row.copiesX;
    v.copiesY = row.copiesY;
    v.scaleX = row.scaleX;
    v.scaleY = row.scaleY;
    v.flags = row.flags;
    v.rings[0].dotCut = row.dotCut;
    double total = -1.0;
    EXPECT_EQ(getGlobalDistance(&total), kNoErr);
    EXPECT_NEAR(total, row.expected, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CutLengthTest,
    ::testing::Values(
        CutLengthRow{"LineWithTwoByThreeCopies", 100.0, 2, 3, 1.0, 1.0, kShown, kRingPlain, 600.0},
        CutLengthRow{"DeselectedCountsNothing", 100.0, 2, 3, 1.0, 1.0, kVolumeVisible, kRingPlain, 0.0},
        CutLengthRow{"ScaleAlongTheLine", 100.0, 1, 1, 2.0, 1.0, kShown, kRingPlain, 200.0},
        CutLengthRow{"ScaleAcrossTheLine", 100.0, 1, 1, 1.0, 5.0, kShown, kRingPlain, 100.0},
        CutLengthRow{"RegistrationMarksAreNeverCut", 100.0, 1, 1, 1.0, 1.0, kShown | kVolumeOnMarksLayer,
                     kRingPlain, 0.0},
        CutLengthRow{"ThePiecesOfAPerforationAreCut", 100.0, 1, 1, 1.0, 1.0, kShown, kRingDotCutPiece, 100.0},
        CutLengthRow{"ItsSourceIsNot", 100.0, 1, 1, 1.0, 1.0, kShown, kRingDotCutSource, 0.0}),
    [](const ::testing::TestParamInfo<CutLengthRow>& info) { return std::string(info.param.name); });

// One ring on its own: a 3-4-5 slant and a drop back to the base line, each
// leg's length worked out by hand at each scale; art other than a path has
// no length.
TEST(RingLength, EachLegScaledOnItsOwnAxes)
{
    bezier_stru legs[] = {straightLine(0, 0, 30, 40), straightLine(30, 40, 30, 0)};
    Ring path{};
    path.kind = kRingPath;
    path.beziers = legs;
    path.count = 2;
    Ring other{};
    other.kind = kRingOtherArt;
    struct {
        const Ring* ring;
        double scaleX, scaleY, expected;
    } rows[] = {
        {&path, 1.0, 1.0, 50.0 + 40.0},
        {&path, 2.0, 1.0, sqrt(60.0 * 60.0 + 40.0 * 40.0) + 40.0},
        {&path, 1.0, 0.5, sqrt(30.0 * 30.0 + 20.0 * 20.0) + 20.0},
        {&other, 2.0, 2.0, 0.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << "scale " << row.scaleX << " x " << row.scaleY);
        EXPECT_NEAR(getRingDist(row.ring, row.scaleX, row.scaleY), row.expected, 1e-6);
    }
}

TEST_F(UndoHistoryTest, CutLengthSumsEveryRingOfEverySelectedVolume)
{
    makeJob(3, 10.0);
    g->volumes[1].flags = kVolumeVisible;  // not selected
    double total = 0.0;
    EXPECT_EQ(kNoErr, getGlobalDistance(&total));
    EXPECT_NEAR(total, 20.0, 1e-9);
}

}  // namespace
