// The Plot Out dialog's job fields: what they show of the selection, what a
// typed value does to the selected volumes, and when they are inactive.
#include <memory>

#include "Core/ReDrawPlotOutPreview.h"
#include "Core/VolumePlacement.h"
#include "Dialog/PlotOutFields.h"
#include "PlotOutJobFixture.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Toolkit;

namespace {

const double kMm = 1e-3;
const double kPt = 2.8346458;

class PlotOutFieldsTest : public test::PlotOutJobTest {
protected:
    static double shownMm(Dialog& d, int id) { return d.item(id)->value / kPt; }
    static DialogAction refresh()
    {
        return inDialog([](Dialog& d) {
            for (int id : kValueControls) Toolkit::get().notify(d.item(id), kPreviewSelectionChangedNotify);
        });
    }
    static DialogAction expectActive(bool active, const char* what)
    {
        return inDialog([=](Dialog& d) {
            for (int id : kValueControls) EXPECT_EQ(d.item(id)->enabled, active) << what << ": item " << id;
        });
    }
};

TEST_F(PlotOutFieldsTest, TheFieldsShowTheLoadedSelectionAndTurnInactiveWithoutOne)
{
    plotOut({
        inDialog([](Dialog& d) {
            // A, B and C: 0..130 x 0..40 mm.
            EXPECT_NEAR(shownMm(d, kPlotOutWidthItem), 130, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutHeightItem), 40, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutOffsetXItem), 0, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutOffsetYItem), 0, kMm);
            EXPECT_EQ(d.item(kPlotOutCopiesXItem)->value, 1.0f);
            EXPECT_EQ(d.item(kPlotOutScaleXItem)->value, 1.0f);
            EXPECT_EQ(d.item(kPlotOutScaleLockItem)->picture, kScaleLockedPicture);
            EXPECT_TRUE(g_bScaleConnect);
        }),
        expectActive(true, "a selection at open"),
        check([] { selectOnly({}); }),
        refresh(),
        expectActive(false, "nothing selected"),
        inDialog([](Dialog& d) {
            // Nothing selected has no values: the fields keep what they showed.
            EXPECT_NEAR(shownMm(d, kPlotOutWidthItem), 130, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutHeightItem), 40, kMm);
            EXPECT_EQ(d.item(kPlotOutCopiesXItem)->value, 1.0f);
        }),
        check([] { selectOnly({40}); }),
        refresh(),
        expectActive(true, "B selected"),
        inDialog([](Dialog& d) {
            EXPECT_NEAR(shownMm(d, kPlotOutOffsetXItem), 40, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutOffsetYItem), 20, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutWidthItem), 10, kMm);
        }),
        // Volumes scaled differently have no common scale to edit.
        check([] {
            selectOnly({0});
            g->undoNewStep = 1;
            (void)setSelectionVolumeDoubleValue(kVolumeValueScaleX, 2, 0);
            selectOnly({0, 40});
        }),
        refresh(),
        inDialog([](Dialog& d) {
            EXPECT_FALSE(d.item(kPlotOutScaleXItem)->enabled) << "A 2, B 1";
            EXPECT_TRUE(d.item(kPlotOutScaleYItem)->enabled) << "both 1";
        }),
        click(kPlotOutExitItem),
    });
}

TEST_F(PlotOutFieldsTest, TypedValuesReachTheSelectedVolumes)
{
    struct Row {
        const char* name;
        bool unlock;   // open the scale lock first
        int item;
        const char* typed;
        // A (selected with B) afterwards: left, bottom, scales, angle, copies
        double left, bottom, scaleX, scaleY, angle;
        int32_t copiesX;
        double shown;  // what the field shows afterwards, in its units
        // What one undo right after takes back: the edit alone (a step of
        // its own, even when it moved nothing), or, when the edit was refused,
        // the edit before it. Copies are not recorded: no undo is tried.
        enum { kOwnStep, kEditBefore, kNotRecorded } undo = kOwnStep;
    } rows[] = {
        {"a whole turn is no turn", false, kPlotOutRotationItem, "360", 0, 0, 1, 1, 0, 1, 0},
        {"a whole turn back is no turn", false, kPlotOutRotationItem, "-360", 0, 0, 1, 1, 0, 1, 0},
        {"the field takes the angle negated", false, kPlotOutRotationItem, "90", -1, -1, 1, 1, -90, 1, 90},
        {"locked scale: both axes", false, kPlotOutScaleXItem, "2", 0, 0, 2, 2, 0, 1, 2},
        {"unlocked scale: that axis alone", true, kPlotOutScaleXItem, "2", 0, 0, 2, 1, 0, 1, 2},
        {"twice the width: a relative factor on x alone", false, kPlotOutWidthItem, "100", 0, 0, 2, 1, 0, 1, 100},
        {"a width of 0 changes nothing", false, kPlotOutWidthItem, "0", 0, 0, 1, 1, 0, 1, 50, Row::kEditBefore},
        {"a locked scale of 0 changes nothing and shows the scale", false, kPlotOutScaleXItem, "0", 0, 0, 1, 1, 0, 1, 1,
         Row::kEditBefore},
        {"an unlocked scale of 0 too", true, kPlotOutScaleYItem, "0", 0, 0, 1, 1, 0, 1, 1, Row::kEditBefore},
        {"an offset at the left edge moves nothing", false, kPlotOutOffsetXItem, "0", 0, 0, 1, 1, 0, 1, 0},
        {"an offset moves the selection", false, kPlotOutOffsetXItem, "12", 12, 0, 1, 1, 0, 1, 12},
        {"an offset y moves it up", false, kPlotOutOffsetYItem, "5", 0, 5, 1, 1, 0, 1, 5},
        {"copies", false, kPlotOutCopiesXItem, "3", 0, 0, 1, 1, 0, 3, 3, Row::kNotRecorded},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        stopSession();
        startSession();
        putPlotter();
        openJob(test::kPlotOutThreeRects);
        std::vector<DialogAction> actions;
        actions.push_back(check([] { selectOnly({0, 40}); }));
        actions.push_back(refresh());
        if (row.unlock) actions.push_back(press(kPlotOutScaleLockItem, 5, 5));
        if (row.unlock) actions.push_back(release(5, 5));
        // An edit before, which undo must leave alone.
        actions.push_back(type(kPlotOutFitPrecisionItem, "0.2"));
        actions.push_back(type(row.item, row.typed));
        actions.push_back(check([&] {
            const Volume& a = volumeAt(0);
            if (row.left >= 0) {
                EXPECT_NEAR(a.rect[0], row.left, kMm);
            }
            if (row.bottom >= 0) {
                EXPECT_NEAR(a.rect[3], row.bottom, kMm);
            }
            EXPECT_NEAR(a.scaleX, row.scaleX, 1e-6);
            EXPECT_NEAR(a.scaleY, row.scaleY, 1e-6);
            EXPECT_NEAR(a.angle, row.angle, 1e-6);
            EXPECT_EQ(a.copiesX, row.copiesX);
            EXPECT_EQ(volumeAt(100).scaleX, 1.0) << "C is not selected";
            EXPECT_NEAR(volumeAt(100).rect[0], 100, kMm) << "C is not selected";
        }));
        actions.push_back(inDialog([&](Dialog& d) {
            auto* item = d.item(row.item);
            double shown = item->units == kADMMillimeterUnits ? item->value / kPt : item->value;
            EXPECT_NEAR(shown, row.shown, 1e-3);
        }));
        if (row.undo != Row::kNotRecorded) actions.push_back(click(kPlotOutUndoItem));
        actions.push_back(check([&] {
            if (row.undo == Row::kNotRecorded) return;
            const Volume& a = volumeAt(0);
            EXPECT_NEAR(a.rect[0], 0, kMm) << "after undo";
            EXPECT_NEAR(a.rect[3], 0, kMm) << "after undo";
            EXPECT_EQ(a.scaleX, 1.0) << "after undo";
            EXPECT_EQ(a.scaleY, 1.0) << "after undo";
            EXPECT_EQ(a.angle, 0.0) << "after undo";
            EXPECT_EQ(a.copiesX, 1) << "after undo";
            EXPECT_EQ(std::fabs(a.precision - 0.2) < 1e-4, row.undo == Row::kOwnStep)
                << "the edit before stays unless this one was refused: " << a.precision;
        }));
        actions.push_back(click(kPlotOutExitItem));
        plotOut(std::move(actions));
    }
}

TEST_F(PlotOutFieldsTest, AFieldWhoseValuesDifferShowsNothingAndItsArrowsStepFromARealValue)
{
    // A and B selected, differing in one value each time.
    struct Row {
        const char* shows;
        int item;
        std::function<void(Volume&, double)> set;  // gives a volume its value
        std::function<double(const Volume&)> get;
        double a, b, step;  // A's and B's values; what one arrow adds (the field's units)
        bool spins;         // the field takes arrows while the values differ
    } rows[] = {
        {"copies across", kPlotOutCopiesXItem, [](Volume& v, double x) { v.copiesX = (int32_t)x; },
         [](const Volume& v) { return (double)v.copiesX; }, 2, 4, 1, true},
        {"copies up", kPlotOutCopiesYItem, [](Volume& v, double x) { v.copiesY = (int32_t)x; },
         [](const Volume& v) { return (double)v.copiesY; }, 3, 2, 1, true},
        {"spacing across", kPlotOutGapXItem, [](Volume& v, double x) { v.gapX = x; },
         [](const Volume& v) { return v.gapX; }, 3, 7, 1, true},
        {"spacing up", kPlotOutGapYItem, [](Volume& v, double x) { v.gapY = x; },
         [](const Volume& v) { return v.gapY; }, -2, 5, 1, true},
        {"scale across", kPlotOutScaleXItem, [](Volume& v, double x) { v.scaleX = x; },
         [](const Volume& v) { return v.scaleX; }, 1, 2, 0, false},
        {"scale up", kPlotOutScaleYItem, [](Volume& v, double x) { v.scaleY = x; },
         [](const Volume& v) { return v.scaleY; }, 2, 1, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        stopSession();
        startSession();
        putPlotter();
        openJob(test::kPlotOutThreeRects);
        plotOut({
            check([&] {
                row.set(volumeAt(0), row.a);
                row.set(volumeAt(40), row.b);
                updateVolumeRect(&volumeAt(0));
                updateVolumeRect(&volumeAt(40));
                selectOnly({0, 40});
            }),
            refresh(),
            inDialog([&](Dialog& d) {
                EXPECT_EQ(d.item(row.item)->displayText(), "") << "the values differ: nothing to read";
                EXPECT_EQ(d.item(row.item)->enabled, row.spins);
            }),
            [&](Driver& user, std::string& error) { return !row.spins || user.spin(row.item, 1, false, error); },
            check([&] {
                double a = row.get(volumeAt(0)), b = row.get(volumeAt(40));
                if (!row.spins) {
                    EXPECT_EQ(a, row.a);
                    EXPECT_EQ(b, row.b);
                    return;
                }
                EXPECT_NEAR(a, b, 1e-4) << "one value for the selection";
                EXPECT_TRUE(std::fabs(a - (row.a + row.step)) < 1e-4 || std::fabs(a - (row.b + row.step)) < 1e-4)
                    << "one step from a value the selection had, not from a marker: " << a;
            }),
            inDialog([&](Dialog& d) {
                if (row.spins) {
                    EXPECT_NE(d.item(row.item)->displayText(), "") << "one value again, shown";
                }
            }),
            click(kPlotOutExitItem),
        });
    }
}

// A size typed over an extent of nothing has no factor: a level line keeps
// its shape whatever height is typed, and its width still scales.
TEST_F(PlotOutFieldsTest, AHeightTypedForALevelLineChangesNothing)
{
    openJob(R"(<svg xmlns="http://www.w3.org/2000/svg" width="200mm" height="100mm" viewBox="0 0 200 100">
  <path d="M 10 50 H 60" stroke="#000000" fill="none"/>
</svg>)");
    plotOut({type(kPlotOutHeightItem, "20"), check([] {
                 const Volume& line = volumeAt(0);
                 EXPECT_EQ(line.scaleX, 1.0);
                 EXPECT_EQ(line.scaleY, 1.0);
             }),
             inDialog([](Dialog& d) { EXPECT_NEAR(shownMm(d, kPlotOutHeightItem), 0, kMm); }),
             type(kPlotOutWidthItem, "100"), check([] { EXPECT_NEAR(volumeAt(0).scaleX, 2.0, 1e-6); }),
             click(kPlotOutExitItem)});
}

TEST_F(PlotOutFieldsTest, AnArrowStepsItsFieldByTheFieldsOwnStep)
{
    // B alone; each field's arrow pressed once, then once with the large step.
    struct Row {
        const char* shows;
        int item;
        double small, large;  // in the field's units
    } rows[] = {
        {"offset across, mm", kPlotOutOffsetXItem, 1, 10},
        {"offset up, mm", kPlotOutOffsetYItem, 1, 10},
        {"width, mm", kPlotOutWidthItem, 1, 10},
        {"height, mm", kPlotOutHeightItem, 1, 10},
        {"a quarter turn each time", kPlotOutRotationItem, 90, 90},
        {"scale", kPlotOutScaleXItem, 0.05, 0.5},
        {"copies one at a time", kPlotOutCopiesXItem, 1, 1},
        {"spacing, mm", kPlotOutGapYItem, 1, 10},
        {"fit precision, mm", kPlotOutFitPrecisionItem, 0.01, 0.1},
    };
    std::vector<DialogAction> actions{check([] { selectOnly({40}); }), refresh()};
    for (const Row& row : rows) {
        auto shown = [&row](Dialog& d) {
            auto* item = d.item(row.item);
            return item->units == kADMMillimeterUnits ? item->value / kPt : (double)item->value;
        };
        auto expected = std::make_shared<double>();
        actions.push_back(inDialog([=](Dialog& d) { *expected = shown(d); }));
        for (bool large : {false, true}) {
            actions.push_back(
                [&row, large](Driver& user, std::string& error) { return user.spin(row.item, 1, large, error); });
            actions.push_back(inDialog([=, &row](Dialog& d) {
                *expected += large ? row.large : row.small;
                EXPECT_NEAR(shown(d), *expected, 1e-3) << row.shows << (large ? ": the large step" : ": one step");
            }));
        }
    }
    actions.push_back(click(kPlotOutExitItem));
    plotOut(std::move(actions));
}

TEST_F(PlotOutFieldsTest, CopiesSentLeftByANegativeSpacingAreInTheJobAndInView)
{
    // A, 20 mm wide at the origin, eight times across, touching; then three
    // times, 100 mm apart the other way: its copies start at 0, -80 and -160 mm.
    plotOut({
        check([] { selectOnly({0}); }),
        refresh(),
        type(kPlotOutCopiesXItem, "8"),
        check([] {
            AIRealRect extent;
            ASSERT_TRUE(getJobExtent(&extent));
            EXPECT_NEAR(extent.right, 160, kMm) << "eight copies of A touching, and no further";
        }),
        type(kPlotOutCopiesXItem, "3"),
        type(kPlotOutGapXItem, "-100"),
        inDialog([](Dialog& d) {
            EXPECT_NEAR(shownMm(d, kPlotOutWidthItem), 180, kMm);
            EXPECT_NEAR(shownMm(d, kPlotOutOffsetXItem), -160, kMm);
            AIRealRect extent;
            ASSERT_TRUE(getJobExtent(&extent));
            EXPECT_NEAR(extent.left, -160, kMm) << "so the job is told to reach beyond the media";
        }),
        click(kPlotOutBestFitItem),
        inDialog([](Dialog& d) {
            const Volume& a = volumeAt(0);
            int width = d.item(kPlotOutPreviewItem)->width(), height = d.item(kPlotOutPreviewItem)->height();
            for (int32_t i = 0; i < a.copiesX; i++) {
                double corner[2], far[2];
                getVolumeCopyOffset(a, i, 0, corner);
                far[0] = corner[0] + a.baseWidth;
                far[1] = corner[1] + a.baseHeight;
                long low[2], high[2];
                convertDimenDoubleToFrameLong(corner, low);
                convertDimenDoubleToFrameLong(far, high);
                EXPECT_GE(low[0], 0) << "copy " << i << " is in view";
                EXPECT_LE(high[0], width) << "copy " << i;
                EXPECT_GE(high[1], 0) << "copy " << i;
                EXPECT_LE(low[1], height) << "copy " << i;
            }
        }),
        click(kPlotOutExitItem),
    });
}

TEST_F(PlotOutFieldsTest, EachFitPrecisionTypedIsAStepOfItsOwn)
{
    static double loaded = 0;
    // What the field shows with the precision loaded, and with 0.2 typed:
    // each undo has it show the precision taken back.
    static float shownLoaded = 0, shownTyped = 0;
    auto shown = [](float* into) {
        return inDialog([into](Dialog& d) { *into = d.item(kPlotOutFitPrecisionItem)->value; });
    };
    auto stillShows = [](const float* what) {
        return inDialog([what](Dialog& d) { EXPECT_EQ(d.item(kPlotOutFitPrecisionItem)->value, *what); });
    };
    plotOut({
        check([] {
            selectOnly({0});
            loaded = volumeAt(0).precision;
        }),
        refresh(),
        shown(&shownLoaded),
        type(kPlotOutFitPrecisionItem, "0.2"),
        shown(&shownTyped),
        type(kPlotOutFitPrecisionItem, "0.3"),
        click(kPlotOutUndoItem),
        check([] { EXPECT_NEAR(volumeAt(0).precision, 0.2, 1e-4) << "the last alone is taken back"; }),
        stillShows(&shownTyped),
        click(kPlotOutUndoItem),
        check([] { EXPECT_NEAR(volumeAt(0).precision, loaded, 1e-9); }),
        stillShows(&shownLoaded),
        click(kPlotOutExitItem),
    });
}

TEST_F(PlotOutFieldsTest, MirrorGapsFitAndMediaReachTheJob)
{
    static int32_t fitOfB = 0;
    plotOut({
        check([] {
            selectOnly({0});
            fitOfB = volumeAt(40).fitType;
        }),
        refresh(),
        click(kPlotOutMirrorItem),
        check([] { EXPECT_EQ(volumeAt(0).mirror, 1); }),
        type(kPlotOutGapXItem, "4"),
        check([] { EXPECT_NEAR(volumeAt(0).gapX, 4, 1e-4); }),
        type(kPlotOutFitPrecisionItem, "0.2"),
        check([] { EXPECT_NEAR(volumeAt(0).precision, 0.2, 1e-4); }),
        click(kPlotOutFitArcsItem),
        check([] {
            EXPECT_EQ(volumeAt(0).fitType, 2);
            EXPECT_EQ(volumeAt(40).fitType, fitOfB) << "B is not selected";
        }),
        click(kPlotOutFitLinesItem),
        check([] {
            EXPECT_EQ(volumeAt(0).fitType, 1);
            EXPECT_EQ(volumeAt(40).fitType, fitOfB) << "B is not selected";
        }),
        // The media can shrink below the plotter's 600 mm, never grow past it.
        type(kPlotOutMediaWidthItem, "700"),
        check([] { EXPECT_NEAR(g->mediaWidth, 600, 1e-3); }),
        type(kPlotOutMediaWidthItem, "300"),
        check([] { EXPECT_NEAR(g->mediaWidth, 300, 1e-3); }),
        type(kPlotOutMediaLengthItem, "250"),
        check([] { EXPECT_NEAR(g->mediaLength, 250, 1e-3); }),
        // Each edit is a step of its own: undo takes back the last alone.
        click(kPlotOutUndoItem),
        check([] {
            EXPECT_EQ(volumeAt(0).fitType, 2);
            EXPECT_EQ(volumeAt(0).mirror, 1);
        }),
        click(kPlotOutExitItem),
    });
}

}  // namespace
