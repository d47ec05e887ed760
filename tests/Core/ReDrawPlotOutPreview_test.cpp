// The Plot Out preview drawn into a frame of the stand-in toolkit: the
// millimetre-to-pixel mapping, where a job's lines, arcs, fills, markers,
// labels, outline and rulers land, and the redraws the pointer tools make.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "Core/CutModel.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Core/VolumePlacement.h"
#include "PlacementFixture.h"
#include "Toolkit/Toolkit.h"

using namespace vt;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

// The look of these tests: every colour told apart from the others.
const uint32_t kBackground = 0xC0C0C0, kPage = 0x808080, kBoard = 0xFFFFFF, kLine = 0x40E040, kArc = 0xFF0000,
               kControl = 0x4040C0, kStart = 0xE0E040;

std::function<void(ADMItemRef, ADMDrawerRef)> g_drawing;

ASErr drawWithTest(ADMItemRef item, ADMDrawerRef drawer)
{
    g_drawing(item, drawer);
    return kNoErr;
}

class PreviewTest : public test::PlacementTest {
protected:
    void SetUp() override
    {
        PlacementTest::SetUp();
        g->curPlotter.PlotterOrigin = 1;
        g->curPlotter.PlotterSizeX = 600;
        g->curPlotter.PlotterSizeY = 1000;
        g->mediaWidth = 500;
        g->mediaLength = 800;
        g->previewZoomX = g->previewZoomY = 1.0;
        uint32_t look[14] = {kBackground << 8 | 0xFF, kPage << 8 | 0xFF, kBoard << 8 | 0xFF, kLine << 8 | 0xFF,
                             kArc << 8 | 0xFF,        kControl << 8 | 0xFF, kMarkerDisc, 3, kStart << 8 | 0xFF,
                             kMarkerSquare,           3,                    0x00FFFFFF, 0x000000FF, 0};
        memcpy(g->previewOption.words, look, sizeof look);
        g->previewOption.fill = 0;
        g->viewShowIndex = g->viewShowControlPoints = g->viewShowStartPoint = g->viewShowArcCenter = 0;

        dialog_ = sADMDialog->Create(session().plugin(), "Plot Out Dialog", 121, kADMFloatingDialogStyle, nullptr,
                                     nullptr, 0);
        ADMRect bounds = {2, 210, 2 + kHeight, 210 + kWidth};
        frame_ = sADMItem->Create(dialog_, 61, kADMFrameType, &bounds, nullptr, nullptr, 0);
        sADMItem->SetDrawProc(frame_, drawWithTest);
        atOrigin(1);
    }
    void TearDown() override
    {
        sADMDialog->Destroy(dialog_);
        g_drawing = nullptr;
        releasePreviewCache();
        PlacementTest::TearDown();
    }

    // The plotter's origin and the base point the dialog opens with for it.
    void atOrigin(int origin)
    {
        g->curPlotter.PlotterOrigin = origin;
        g->previewOrigin.h = (ASInt16)(origin == 1 || origin == 2 ? 0 : kWidth / 2);
        g->previewOrigin.v = (ASInt16)(origin == 1 ? kHeight : origin == 2 ? 0 : kHeight / 2);
    }

    Item* model() { return reinterpret_cast<Item*>(frame_); }

    // Draws the frame now with a drawing of the test's.
    void draw(std::function<void(ADMItemRef, ADMDrawerRef)> drawing)
    {
        g_drawing = std::move(drawing);
        model()->calls.clear();
        Toolkit::get().invalidate(model());
        Toolkit::get().draw(model());
    }
    void drawAll()
    {
        draw([](ADMItemRef item, ADMDrawerRef drawer) { drawPreviewFrame(item, drawer); });
    }
    long pixel(long h, long v) { return model()->raster.pixel((int)h, (int)v); }
    // The frame on white with every volume drawn whole, volume by volume.
    std::vector<long> everyVolumeDrawn()
    {
        draw([](ADMItemRef item, ADMDrawerRef drawer) {
            blank(drawer);
            for (int32_t n = 0; n < g->volumeCount; n++) drawVolume(item, drawer, g->volumes[n]);
        });
        return picture();
    }
    // The frame on white with every ring of every copy drawn alone.
    std::vector<long> everyRingDrawnAlone()
    {
        draw([](ADMItemRef item, ADMDrawerRef drawer) {
            blank(drawer);
            for (int32_t n = 0; n < g->volumeCount; n++) {
                const Volume& v = g->volumes[n];
                for (int32_t r = 0; r < v.ringCount; r++)
                    for (int32_t i = 0; i < v.copiesX; i++)
                        for (int32_t j = 0; j < v.copiesY; j++) {
                            double offset[2];
                            getVolumeCopyOffset(v, i, j, offset);
                            drawRing(item, drawer, v.rings[r], v, offset);
                        }
            }
        });
        return picture();
    }
    static void blank(ADMDrawerRef drawer)
    {
        ADMRect all = {0, 0, kHeight, kWidth};
        sADMDrawer->SetColor(drawer, kADMWhiteColor);
        sADMDrawer->FillRect(drawer, &all);
    }
    std::vector<long> picture()
    {
        std::vector<long> all;
        for (int v = 0; v < kHeight; v++)
            for (int h = 0; h < kWidth; h++) all.push_back(pixel(h, v));
        return all;
    }
    long count(const std::string& prefix)
    {
        long n = 0;
        for (const std::string& call : model()->calls) n += call.rfind(prefix, 0) == 0;
        return n;
    }
    static long frameOfX(double x)
    {
        long h, v;
        frameOf(x, 0, &h, &v);
        return h;
    }
    static void frameOf(double x, double y, long* h, long* v)
    {
        double xy[2] = {x, y};
        long hv[2];
        convertDimenDoubleToFrameLong(xy, hv);
        *h = hv[0];
        *v = hv[1];
    }
    // Puts volume i's lower-left corner at (x, y) mm.
    static void place(int i, double x, double y)
    {
        Volume& v = g->volumes[i];
        float w = v.rect[2] - v.rect[0], h = v.rect[1] - v.rect[3];
        v.rect[0] = (float)x;
        v.rect[3] = (float)y;
        v.rect[2] = (float)x + w;
        v.rect[1] = (float)y + h;
    }

    static const int kWidth = 616, kHeight = 543;
    ADMDialogRef dialog_ = nullptr;
    ADMItemRef frame_ = nullptr;
};

// ---- Mapping --------------------------------------------------------------------------------

TEST_F(PreviewTest, MillimetresMapToPixelsFromTheOriginTheDialogOpensWith)
{
    struct Row {
        const char* what;
        int origin;
        double zoom;
        float x, y;
        int h, v;
    } rows[] = {
        {"origin 1 puts (0, 0) where the rulers meet", 1, 1.0, 0, 0, 30, kHeight - 30},
        {"origin 1, y grows upwards", 1, 1.0, 10, 20, 40, kHeight - 50},
        {"origin 1 at zoom 2", 1, 2.0, 10, 20, 50, kHeight - 70},
        {"origin 2 puts (0, 0) at the upper left, y grows downwards", 2, 1.0, 10, 20, 40, 50},
        {"origin 0 puts (0, 0) 30 pixels right of and above the centre", 0, 1.0, 0, 0, kWidth / 2 + 30,
         kHeight / 2 - 30},
        {"a half pixel rounds down", 1, 1.0, 0.5f, 0, 30, kHeight - 30},
        {"more than a half rounds up", 1, 1.0, 0.75f, -0.75f, 31, kHeight - 29},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        atOrigin(row.origin);
        g->previewZoomX = g->previewZoomY = row.zoom;
        ADMPoint p;
        convertDimenPointToFramePoint(AIRealPoint{row.x, row.y}, &p);
        EXPECT_EQ(p.h, row.h);
        EXPECT_EQ(p.v, row.v);
    }
}

TEST_F(PreviewTest, PixelsMapBackExactlyWithoutRounding)
{
    g->previewZoomX = g->previewZoomY = 3.0;
    AIRealPoint mm;
    convertFramePointToDimenPoint(ADMPoint{31, (ASInt16)(kHeight - 32)}, &mm);
    EXPECT_FLOAT_EQ(mm.h, 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(mm.v, 2.0f / 3.0f);
    atOrigin(2);
    convertFramePointToDimenPoint(ADMPoint{36, 42}, &mm);
    EXPECT_FLOAT_EQ(mm.h, 2.0f);
    EXPECT_FLOAT_EQ(mm.v, 4.0f);

    // With y downwards a rectangle's top lies below its bottom on the frame.
    g->previewZoomX = g->previewZoomY = 1.0;
    ADMRect r;
    convertDimenRectToFrameRect(AIRealRect{10, 50, 110, 20}, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.right, 140);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.bottom, 50);
    AIRealRect back;
    convertFrameRectToDimenRect(r, &back);
    EXPECT_FLOAT_EQ(back.left, 10);
    EXPECT_FLOAT_EQ(back.top, 50);
}

TEST_F(PreviewTest, FarPixelsAreHeldInsteadOfWrappingRound)
{
    g->previewZoomX = g->previewZoomY = 10.0;
    ADMPoint p;
    // 6,560 mm at zoom 10 is pixel 65,630: in 16 bits that would be 94, on the frame.
    convertDimenPointToFramePoint(AIRealPoint{6560, -6560}, &p);
    EXPECT_EQ(p.h, kPreviewPixelLimit);
    EXPECT_EQ(p.v, kPreviewPixelLimit);
    convertDimenPointToFramePoint(AIRealPoint{-50000, 50000}, &p);
    EXPECT_EQ(p.h, -kPreviewPixelLimit);
    EXPECT_EQ(p.v, -kPreviewPixelLimit);
}

// ---- What lands where -----------------------------------------------------------------------

TEST_F(PreviewTest, ARectangleLandsOnItsRowsAndColumnsAtEveryZoom)
{
    loadRects({{0, 0, 100, 50}});
    place(0, 20, 10);
    selectOnly({});  // no outline over the edges
    for (double zoom : {1.0, 2.0}) {
        SCOPED_TRACE(zoom);
        g->previewZoomX = g->previewZoomY = zoom;
        drawAll();
        long left = 30 + (long)(20 * zoom), right = 30 + (long)(120 * zoom);
        long bottom = kHeight - 30 - (long)(10 * zoom), top = kHeight - 30 - (long)(60 * zoom);
        long midH = (left + right) / 2, midV = (top + bottom) / 2;
        // The fitted straight lines, in the line colour, over the outline.
        EXPECT_EQ(pixel(left, midV), kLine);
        EXPECT_EQ(pixel(right, midV), kLine);
        EXPECT_EQ(pixel(midH, top), kLine);
        EXPECT_EQ(pixel(midH, bottom), kLine);
        EXPECT_EQ(pixel(left - 1, midV), kBoard);
        EXPECT_EQ(pixel(right + 1, midV), kBoard);
        EXPECT_EQ(pixel(midH, top - 1), kBoard);
        EXPECT_EQ(pixel(midH, bottom + 1), kBoard);
        EXPECT_EQ(pixel(midH, midV), kBoard);  // not filled
    }
}

TEST_F(PreviewTest, PageBoardAndBackgroundFillTheirAreas)
{
    g->previewZoomX = g->previewZoomY = 0.5;
    drawAll();
    // Board 500 x 800 mm: pixels 30..280 across; page 600 mm: ..330; then the background.
    EXPECT_EQ(pixel(200, 300), kBoard);
    EXPECT_EQ(pixel(300, 300), kPage);
    EXPECT_EQ(pixel(400, 300), kBackground);
    EXPECT_EQ(pixel(200, 50), kPage);  // the board ends at 800 mm (pixel 113), the page at 1,000 (13)
    EXPECT_EQ(pixel(200, 5), kBackground);
}

TEST_F(PreviewTest, AFiftyMetrePageAndAFarVolumeStayWhereTheyAre)
{
    loadRects({{0, 0, 10, 10}});
    g->curPlotter.PlotterSizeY = 50000;
    g->mediaLength = 50000;
    g->previewZoomX = g->previewZoomY = 10.0;
    place(0, 6560, 10);  // its left edge would wrap round to pixel 94
    drawAll();
    for (long h = 0; h < kWidth; h++)
        for (long v = 0; v < kHeight; v++) ASSERT_NE(pixel(h, v), kLine) << h << ", " << v;
    EXPECT_EQ(pixel(200, 5), kBoard);  // the board reaches past the frame's top
}

TEST_F(PreviewTest, AViewFarAlongTheLongestRollShowsWhatLiesThere)
{
    // 10 x 10 mm squares 10 m and 99.9 m along a 100 m roll, seen at zoom 10:
    // the view's origin lies a hundred thousand and a million pixels away.
    loadRects({{0, 0, 10, 10}});
    selectOnly({});
    g->curPlotter.PlotterSizeY = 100000;
    g->mediaLength = 100000;
    g->previewZoomX = g->previewZoomY = 10.0;
    for (double along : {10000.0, 99900.0}) {
        SCOPED_TRACE(along);
        place(0, 20, along);
        g->previewOrigin.h = 0;
        g->previewOrigin.v = (int32_t)(400 + along * 10 + 30);  // the square's foot at pixel 400
        drawAll();
        EXPECT_EQ(pixel(30 + 200 + 50, 400), kLine) << "its lower side";
        EXPECT_EQ(pixel(30 + 200 + 50, 300), kLine) << "its upper side";
        EXPECT_EQ(pixel(30 + 200 + 50, 350), kBoard) << "its inside";
    }
}

TEST_F(PreviewTest, ArcsAreDrawnInTheArcColourLinesInTheLineColour)
{
    loadShapes({"<circle cx=\"70\" cy=\"70\" r=\"40\" fill=\"#0000ff\"/>", PlacementTest::rect({0, 0, 10, 10})});
    selectOnly({});
    struct Row {
        const char* what;
        int32_t fitType;
        long colour;
    } rows[] = {{"fitted with arcs", 2, kArc}, {"fitted with lines", 1, kLine}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g->volumes[0].fitType = row.fitType;
        drawAll();
        long h, v;
        frameOf(70, 110, &h, &v);  // the top of the circle
        EXPECT_EQ(pixel(h, v), row.colour);
    }
    g->volumes[0].fitType = 0;
    drawAll();
    long h, v;
    frameOf(70, 110, &h, &v);
    EXPECT_EQ(pixel(h, v), 0x000000) << "unfitted, only the black outline";
}

TEST_F(PreviewTest, FillPaintsClosedRingsInTheirColourAndNothingElse)
{
    loadShapes({"<rect x=\"0\" y=\"0\" width=\"40\" height=\"40\" fill=\"#ff0000\"/>",
                "<polyline points=\"60,0 100,0 100,40 60,40\" fill=\"#00ff00\"/>",
                "<rect x=\"120\" y=\"0\" width=\"40\" height=\"40\" fill=\"none\" stroke=\"#000\"/>"});
    selectOnly({});
    g->previewOption.fill = 1;
    drawAll();
    long h, v;
    frameOf(20, 20, &h, &v);
    EXPECT_EQ(pixel(h, v), 0xFF0000) << "a closed ring takes its volume's colour";
    frameOf(80, 20, &h, &v);
    EXPECT_EQ(pixel(h, v), kBoard) << "an open ring is never filled";
    frameOf(140, 20, &h, &v);
    EXPECT_EQ(pixel(h, v), kBoard) << "art without a fill is not painted over";
    g->previewOption.fill = 0;
    drawAll();
    frameOf(20, 20, &h, &v);
    EXPECT_EQ(pixel(h, v), kBoard);
}

TEST_F(PreviewTest, AShapeFarLargerThanTheFrameDrawsItsPartWithinIt)
{
    // Triangles some 400 mm across, one side crossing the frame along
    // y = slope x + offset mm, seen at 200 pixels to the millimetre: their
    // corners lie 40,000 pixels and more away, beyond what a drawing command
    // can hold.
    struct Row {
        const char* shows;
        const char* triangle;
        double left, bottom;  // of its bounds, mm
        double slope, offset;
    } rows[] = {
        {"a shallow side", "-200,-99.5 200,100.5 200,-200", -200, -200, 0.5, 0.5},
        {"a steep side", "-66.5,-200 66.5,199 200,-200", -66.5, -200, 3, -0.5},
        {"a steep side, from the corner high above", "66.5,199 200,-200 -66.5,-200", -66.5, -200, 3, -0.5},
        {"a steep side, from the corner far right", "200,-200 -66.5,-200 66.5,199", -66.5, -200, 3, -0.5},
    };
    g->previewZoomX = g->previewZoomY = 200;
    for (const Row& row : rows) {
        loadShapes({std::string("<polygon points=\"") + row.triangle + "\" fill=\"#ff0000\"/>"});
        place(0, row.left, row.bottom);
        selectOnly({});
        auto side = [&row](long h, long v) {  // mm above the side
            double x = (h - 30) / 200.0, y = (kHeight - 30 - v) / 200.0;
            return (y - (row.slope * x + row.offset)) / std::hypot(1.0, row.slope);
        };
        for (bool fill : {true, false}) {
            SCOPED_TRACE(std::string(row.shows) + (fill ? ", filled" : ", outlined"));
            g->previewOption.fill = fill;
            drawAll();
            // Every pixel of the board but those next to the side.
            int below = 0, above = 0, wrong = 0;
            for (long v = 0; v < kHeight - 31; v++)
                for (long h = 31; h < kWidth; h++) {
                    double d = side(h, v);
                    if (std::fabs(d) < 0.02) continue;
                    long want = d < 0 && fill ? 0xFF0000 : kBoard;
                    (d < 0 ? below : above)++;
                    if (pixel(h, v) != want && wrong++ < 5) ADD_FAILURE() << "pixel " << h << ", " << v;
                }
            EXPECT_EQ(wrong, 0);
            EXPECT_GT(below, 20000);
            EXPECT_GT(above, 20000);
            // The side itself, in the line colour, on every row it crosses.
            for (long v = 5; v < kHeight - 35; v += 11) {
                double y = (kHeight - 30 - v) / 200.0, x = (y - row.offset) / row.slope;
                long h = lround(30 + 200 * x);
                if (h < 31 || h >= kWidth - 1) continue;
                bool drawn = pixel(h, v) == kLine || pixel(h - 1, v) == kLine || pixel(h + 1, v) == kLine;
                EXPECT_TRUE(drawn) << "row " << v;
            }
        }
        (void)freeData();
    }
}

TEST_F(PreviewTest, AnOpenRingIsNotClosedUpByItsFittedLines)
{
    loadShapes({"<polyline points=\"0,0 100,0 100,40 0,40\" fill=\"none\" stroke=\"#000\"/>"});
    selectOnly({});
    place(0, 10, 10);
    drawAll();
    long h, v;
    frameOf(10, 30, &h, &v);  // where a closing line would run
    EXPECT_EQ(pixel(h, v), kBoard);
    frameOf(110, 30, &h, &v);
    EXPECT_EQ(pixel(h, v), kLine);
}

TEST_F(PreviewTest, AStraightPathReachingOffTheFrameIsDrawnWhereItCrossesIt)
{
    struct Row {
        const char* what;
        const char* path;
        double left;  // where the path's box is placed, mm (its bottom at 10 mm)
        short panH;   // the view moved right by this many pixels
        long dh, dv;  // a pixel of it on the frame, from the box's lower left corner
        double zoom = 1, precision = 0;  // 0: the fit precision the job was loaded with
    } rows[] = {{"ending beyond the right edge", "M 0,0 L 1000,0", 10, 0, 10, 0},
                {"starting beyond the right edge", "M 1000,0 L 0,0", 10, 0, 10, 0},
                {"ending beyond the top edge", "M 0,0 L 0,1000", 10, 0, 0, -10},
                // The view shows only what lies left of the page's origin, and
                // the path starts right of the frame at -300 mm.
                {"starting beyond the right edge, left of the origin", "M 1000,0 L 0,0", -1300, 1000, 600, 0},
                // Coming from left of the frame and ending 45 pixels into it:
                // the fit's 3 mm of slack is 60 pixels at this zoom, and must
                // widen the path's reach, not narrow it.
                {"ending inside the left edge, fitted coarsely at zoom 20", "M 0,0 L 100,0", -99.25, 0, 1995, 0, 20, 3}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        loadShapes({std::string("<path d=\"") + row.path + "\" fill=\"none\" stroke=\"#000\"/>"});
        selectOnly({});
        g->previewZoomX = g->previewZoomY = row.zoom;
        if (row.precision > 0) g->volumes[0].precision = row.precision;
        place(0, row.left, 10);
        g->previewOrigin.h = row.panH;
        releasePreviewCache();
        drawAll();
        long h, v;
        frameOf(row.left, 10, &h, &v);
        ASSERT_TRUE(h + row.dh >= 0 && h + row.dh < kWidth);
        EXPECT_EQ(pixel(h + row.dh, v + row.dv), kLine);
        (void)freeData();
    }
}

// Far out (tens of thousands of pixels away) a straight path whose box holds
// the frame but which passes round one of its corners draws nothing in it.
TEST_F(PreviewTest, AFarStraightPathPassingRoundTheFrameDrawsNothingInIt)
{
    struct Row {
        const char* corner;
        const char* path;
        double left, bottom;  // of its bounds, mm
    } rows[] = {
        {"lower left", "M -200,100 L 100,-200", -200, -200},
        {"upper right", "M 300,-200 L -200,300", -200, -200},
        {"upper left", "M -200,-100 L 100,200", -200, -100},
        {"lower right", "M 200,100 L -100,-200", -100, -200},
        {"upper right, from a pixel 65,536 past one in the frame", "M 328.03,-326.115 L -0.65,152.565", -0.65,
         -326.115},
        {"upper right, to a pixel 65,536 past one in the frame", "M -0.65,152.565 L 328.03,-326.115", -0.65, -326.115},
    };
    g->previewZoomX = g->previewZoomY = 200;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.corner);
        loadShapes({std::string("<path d=\"") + row.path + "\" fill=\"none\" stroke=\"#000\"/>"});
        place(0, row.left, row.bottom);
        selectOnly({});
        drawAll();
        std::vector<long> drawn = picture();
        g->volumes[0].flags &= ~(uint32_t)kVolumeVisible;
        drawAll();
        EXPECT_TRUE(picture() == drawn);
        (void)freeData();
    }
}

TEST_F(PreviewTest, CopiesDrawEveryRingOncePerCopyAndHiddenVolumesNothing)
{
    loadRects({{0, 0, 20, 10}});
    Volume& v = g->volumes[0];
    selectOnly({});
    v.fitType = 0;  // only the flattened outline: one polygon per ring drawn
    v.copiesX = 2;
    v.copiesY = 3;
    v.gapX = 5;
    v.gapY = 4;
    (void)updateVolumeRect(&v);
    drawAll();
    EXPECT_EQ(count("DrawPolygon"), 6);
    // Copy (1, 2) lies 20 + 5 right and 2 x (10 + 4) up.
    long h, vv;
    frameOf(25, 28, &h, &vv);
    EXPECT_EQ(pixel(h, vv), 0x000000);
    v.flags &= ~(uint32_t)kVolumeVisible;
    drawAll();
    EXPECT_EQ(count("DrawPolygon"), 0);
    // A volume, one copy or many, lying wholly beyond any side of the frame
    // asks for no drawing either: the frame draws what it draws with the
    // volume hidden.
    const std::vector<std::string> hidden = model()->calls;
    v.flags |= kVolumeVisible;
    struct Row {
        const char* side;
        double x, y;  // mm, the lower-left corner
    } rows[] = {{"left", -3000, 0}, {"right", 3000, 0}, {"above", 0, 3000}, {"below", 0, -3000}};
    for (int copies : {1, 2}) {
        v.copiesX = v.copiesY = copies;
        for (const Row& row : rows) {
            SCOPED_TRACE(std::to_string(copies) + " copies " + row.side);
            place(0, row.x, row.y);
            (void)updateVolumeRect(&v);
            drawAll();
            EXPECT_EQ(model()->calls, hidden);
        }
    }
}

TEST_F(PreviewTest, ManyCopiesDrawWhatDrawingEveryCopyDraws)
{
    // A circle (arcs) and a square, 40 x 30 copies, seen whole and in part,
    // the copies running either way or stacked.
    const double kOnTheOneBefore = NAN;  // a gap taking each copy back by its whole width
    struct Row {
        const char* shows;
        double gapX, gapY, zoom;
        int panH, panV;  // the view moved by so many pixels
    } rows[] = {
        {"apart, the view on the first copies", 2, 3, 1.0, 0, 0},
        {"apart, zoomed in among them", 2, 3, 4.0, -900, 700},
        {"apart, zoomed out over them all", 2, 3, 0.2, 0, 0},
        {"running left and down", -40, -36, 2.0, -400, 300},
        {"stacked on one place across", kOnTheOneBefore, 1, 1.5, 100, 0},
        {"off the frame altogether", 2, 3, 1.0, 5000, 0},
    };
    loadShapes({"<circle cx=\"10\" cy=\"10\" r=\"10\" fill=\"#0000ff\"/>", PlacementTest::rect({30, 0, 15, 15})});
    selectOnly({});
    g->viewShowStartPoint = 1;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        for (int32_t n = 0; n < g->volumeCount; n++) {
            Volume& v = g->volumes[n];
            v.copiesX = 40;
            v.copiesY = 30;
            v.gapX = std::isnan(row.gapX) ? -v.baseWidth * v.scaleX : row.gapX;
            v.gapY = row.gapY;
            (void)updateVolumeRect(&v);
        }
        g->previewZoomX = g->previewZoomY = row.zoom;
        atOrigin(1);
        g->previewOrigin.h += row.panH;
        g->previewOrigin.v += row.panV;
        std::vector<long> drawn = everyVolumeDrawn();
        EXPECT_EQ(everyRingDrawnAlone(), drawn);
        EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 0xFFFFFF) < (long)drawn.size(), row.panH < 5000)
            << "something of the copies is in view";
    }
}

TEST_F(PreviewTest, APerforationShowsItsPiecesNotItsSourceAndTheMarksAreShown)
{
    struct Row {
        const char* what;
        int pieces;  // of the perforated square; 0: a plain square of the marks layer
        uint32_t bottomSide, topSide;
    } rows[] = {
        {"a square perforated along its bottom", 2, 0x000000, kBoard},
        {"the registration marks, printed with the job", 0, 0x000000, 0x000000},
    };
    for (const Row& row : rows) {
        loadShapes({row.pieces > 0 ? perforatedSquare(row.pieces) : rect(test::Box{0, 0, 30, 30})});
        if (row.pieces == 0) g->volumes[0].flags |= kVolumeOnMarksLayer;
        selectOnly({});
        g->volumes[0].fitType = 0;  // only the flattened outlines, in black
        drawAll();
        long h, v;
        frameOf(15, 0, &h, &v);
        EXPECT_EQ(pixel(h, v), (long)row.bottomSide) << row.what;
        frameOf(15, 30, &h, &v);
        EXPECT_EQ(pixel(h, v), (long)row.topSide) << row.what;
        releasePreviewCache();
        (void)freeData();
    }
}

TEST_F(PreviewTest, CutOrderLabelsSitLeftOfAndBelowTheCentre)
{
    loadRects({{0, 0, 40, 20}, {100, 0, 40, 20}, {200, 0, 40, 20}});
    g->viewShowIndex = 1;
    g->volumes[0].index = 7;
    g->volumes[1].index = 12;
    g->volumes[2].index = -1;
    drawAll();
    long h, v;
    frameOf(20, 10, &h, &v);
    std::vector<std::string> labels;
    for (const std::string& call : model()->calls)
        if (call.rfind("QD DrawText", 0) == 0) labels.push_back(call);
    ASSERT_EQ(labels.size(), 2u);
    // Window coordinates: the frame's corner (210, 2) added.
    EXPECT_EQ(labels[0], "QD DrawText " + std::to_string(h - 20 + 210) + " " + std::to_string(v + 5 + 2) +
                             " \" 7\" color=0x000000");
    EXPECT_NE(labels[1].find("\"12\""), std::string::npos) << labels[1];
    // The number as the user reads it: one digit after a space, more as they are.
    struct Row {
        int32_t index;
        const char* text;
    } rows[] = {{0, "\" 0\""}, {9, "\" 9\""}, {10, "\"10\""}, {305, "\"305\""}, {2147483647, "\"2147483647\""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        g->volumes[0].index = row.index;
        drawAll();
        labels.clear();
        for (const std::string& call : model()->calls)
            if (call.rfind("QD DrawText", 0) == 0) labels.push_back(call);
        ASSERT_EQ(labels.size(), 2u);
        EXPECT_NE(labels[0].find(std::string(" ") + row.text + " color="), std::string::npos) << labels[0];
    }
    g->viewShowIndex = 0;
    drawAll();
    EXPECT_EQ(count("QD DrawText"), 0);
}

TEST_F(PreviewTest, MarkersHaveTheirShapeAndTheirOwnSize)
{
    g->previewOption.words[kPreviewControlSizeWord] = 5;
    g->previewOption.words[kPreviewStartSizeWord] = 7;
    struct Row {
        const char* what;
        int32_t shape;
        std::vector<std::pair<int, int>> on, off;  // offsets from the point, in pixels of size s: x s
    } rows[] = {
        {"circle", kMarkerCircle, {{0, -1}, {-1, 0}}, {{0, 0}}},
        {"filled circle", kMarkerDisc, {{0, -1}, {0, 0}}, {}},
        {"square", kMarkerSquare, {{-1, 0}, {-1, -1}}, {{0, 0}}},
        {"filled square", kMarkerFilledSquare, {{0, 0}, {-1, -1}}, {}},
        {"plus", kMarkerPlus, {{1, 0}, {0, -1}, {-1, 0}}, {}},
    };
    for (bool start : {false, true}) {
        int s = start ? 7 : 5;
        long colour = start ? kStart : kControl;
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.what) + (start ? " start point" : " control point"));
            g->previewOption.words[start ? kPreviewStartShapeWord : kPreviewControlShapeWord] = (uint32_t)row.shape;
            draw([start](ADMItemRef item, ADMDrawerRef drawer) {
                auto& Dr = *sADMDrawer;
                ADMRect all = {0, 0, kHeight, kWidth};
                Dr.SetColor(drawer, kADMWhiteColor);
                Dr.FillRect(drawer, &all);
                ADMPoint at = {100, 100};
                if (start)
                    drawStartPoint(item, drawer, at);
                else
                    drawControlPoint(item, drawer, at);
            });
            for (auto [dx, dy] : row.on) EXPECT_EQ(pixel(100 + dx * s, 100 + dy * s), colour) << dx << "," << dy;
            for (auto [dx, dy] : row.off) EXPECT_EQ(pixel(100 + dx * s, 100 + dy * s), 0xFFFFFF) << dx << "," << dy;
            // Nothing reaches past the marker's square.
            EXPECT_EQ(pixel(100, 100 - s - 1), 0xFFFFFF);
            EXPECT_EQ(pixel(100 + s + 1, 100), 0xFFFFFF);
        }
    }
}

// A ring just past an edge of the frame is not drawn, yet the markers of its
// corners reach in, on every edge no ruler covers.
TEST_F(PreviewTest, MarkersOfARingJustPastTheFrameReachIntoIt)
{
    g->previewOption.words[kPreviewControlShapeWord] = kMarkerFilledSquare;
    g->previewOption.words[kPreviewControlSizeWord] = 5;
    g->viewShowControlPoints = 1;
    loadRects({{0, 0, 10, 10}});
    selectOnly({});  // no outline drawn over the markers
    struct Row {
        const char* edge;
        int origin;
        ADMPoint lowerLeft;  // of the 10-pixel square, 3 pixels past the edge
        long h, v;           // a pixel in the frame the corner's marker covers
    } rows[] = {
        {"top", 1, {300, -3}, 300, 1},
        {"right", 1, {kWidth + 2, 260}, kWidth - 2, 260},
        {"bottom, the ruler on top", 2, {300, kHeight + 2}, 300, kHeight - 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.edge);
        atOrigin(row.origin);
        AIRealPoint mm;
        convertFramePointToDimenPoint(row.lowerLeft, &mm);
        place(0, mm.h, row.origin == 1 ? mm.v : mm.v - 10);
        drawAll();
        EXPECT_EQ(pixel(row.h, row.v), kControl);
        g->viewShowControlPoints = 0;
        drawAll();
        EXPECT_NE(pixel(row.h, row.v), kControl) << "the ring itself stays out";
        g->viewShowControlPoints = 1;
    }
}

// The start marker sits where the knife goes down: the ring's first point,
// however its pieces are fitted, and nowhere else.
TEST_F(PreviewTest, TheStartMarkerSitsOnTheFirstPointOfTheRingOnly)
{
    g->previewOption.words[kPreviewStartShapeWord] = kMarkerFilledSquare;
    g->viewShowStartPoint = 1;
    struct Row {
        const char* shows;
        const char* path;
        int32_t fitType;
        double endX, endY;  // mm from the start
    } rows[] = {
        {"an open polyline fitted with lines", "M 0,0 L 50,0 L 50,30", 1, 50, 30},
        {"an open arch fitted with arcs", "M 0,0 C 0,30 60,30 60,0", 2, 60, 0},
        {"an open arch fitted with lines", "M 0,0 C 0,30 60,30 60,0", 1, 60, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        loadShapes({std::string("<path d=\"") + row.path + "\" fill=\"none\" stroke=\"#000\"/>"});
        place(0, 10, 10);
        selectOnly({});
        g->volumes[0].fitType = row.fitType;
        drawAll();
        long h, v;
        frameOf(10, 10, &h, &v);
        EXPECT_EQ(pixel(h + 2, v - 2), kStart);
        frameOf(10 + row.endX, 10 + row.endY, &h, &v);
        EXPECT_NE(pixel(h + 2, v - 2), kStart);
        (void)freeData();
    }
}

// With arc centres shown, every fitted arc's centre is crossed in the arc
// colour, also where the arc lies beyond the frame and only its centre is in
// view; without them no cross is drawn.
TEST_F(PreviewTest, ArcCentresAreCrossedEvenWhenTheirArcsLieOffTheFrame)
{
    // 40 degrees of a circle of 150 mm round (0, 0), bulging upwards: its
    // centre lies 51.303 mm right of and 140.954 mm below its box's corner.
    loadShapes({"<path d=\"M 51.303,140.954 C 18.164,153.015 -18.164,153.015 -51.303,140.954\" fill=\"none\" "
                "stroke=\"#000\"/>"});
    selectOnly({});
    Volume& v = g->volumes[0];
    v.fitType = 2;
    struct Row {
        const char* what;
        double centreY;  // of the first copy, mm; the frame's top edge is at 513 mm
        int32_t copiesY;
        double gapY;
    } rows[] = {
        {"the arc within the frame", 200, 1, 0},
        {"the arc past the top edge, its centre within", 400, 1, 0},
        {"copies 20 mm apart, the last three arcs past the top edge", 300, 7, 20 - 9.046},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        v.copiesY = 1;
        (void)updateVolumeRect(&v);
        place(0, 300 - 51.303, row.centreY + 140.954);
        v.copiesY = row.copiesY;
        v.gapY = row.gapY;
        (void)updateVolumeRect(&v);
        for (int shown : {1, 0}) {
            g->viewShowArcCenter = (uint8_t)shown;
            releasePreviewCache();
            drawAll();
            for (int32_t k = 0; k < row.copiesY; k++) {
                double corner[2];
                getVolumeCopyOffset(v, 0, k, corner);
                long h, vv;
                frameOf(corner[0] + 51.303, corner[1] - 140.954, &h, &vv);
                // The cross is two strokes of seven pixels through the centre.
                int crossPixels = 0;
                for (long dv = -4; dv <= 4; dv++)
                    for (long dh = -4; dh <= 4; dh++) crossPixels += pixel(h + dh, vv + dv) == kArc;
                EXPECT_EQ(crossPixels, shown == 1 ? 13 : 0) << "copy " << k << " at " << h << "," << vv;
            }
        }
    }
}

TEST_F(PreviewTest, AHugeFilledCircleDrawsOnlyWhatTouchesTheFrame)
{
    g->previewOption.words[kPreviewControlShapeWord] = kMarkerDisc;
    g->previewOption.words[kPreviewControlSizeWord] = 2000000000;
    struct Row {
        const char* centre;
        ADMPoint at;
    } rows[] = {
        {"in the frame", {100, 100}},
        {"far left of it", {-5000, 100}},
        {"far right of it", {kWidth + 5000, 300}},
        {"far above it", {300, -5000}},
        {"far below it", {100, kHeight + 5000}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.centre);
        draw([&row](ADMItemRef item, ADMDrawerRef drawer) {
            ADMRect all = {0, 0, kHeight, kWidth};
            sADMDrawer->SetColor(drawer, kADMWhiteColor);
            sADMDrawer->FillRect(drawer, &all);
            drawControlPoint(item, drawer, row.at);
        });
        for (auto [h, v] : {std::pair{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}, {300, 250}})
            EXPECT_EQ(pixel(h, v), kControl) << h << ", " << v;
        EXPECT_LT(count("QD FrameOval"), 1000);  // a disc the size of the frame, not two billion ovals
    }
}

// ---- The selection ---------------------------------------------------------------------------

TEST_F(PreviewTest, TheSelectionOutlineDrawnTwiceRestoresEveryPixel)
{
    loadRects({{0, 0, 40, 20}, {60, 10, 20, 30}});
    drawAll();
    std::vector<long> before = picture();
    long h, v;
    frameOf(0, 40, &h, &v);  // the selection's upper-left corner
    EXPECT_EQ(pixel(h + 10, v), kBoard ^ 0x00FF00) << "the outline is XOR green";
    auto outline = [](ADMItemRef item, ADMDrawerRef drawer) { drawSelectRectUnion(item, drawer, nullptr); };
    draw(outline);
    EXPECT_NE(picture(), before);
    draw(outline);
    EXPECT_EQ(picture(), before);
    // Told where it was last drawn, the outline is erased there first.
    AIRealRect all;
    ASSERT_EQ(getSelectionVolumeRealRect(&all), kNoErr);
    ADMRect shown;
    convertDimenRectToFrameRect(all, &shown);
    draw([&shown](ADMItemRef item, ADMDrawerRef drawer) { drawSelectRectUnion(item, drawer, &shown); });
    EXPECT_EQ(picture(), before);

    // The handles kept for the pointer tools: 0 at the lower left, 8 in the middle.
    long right, bottom;
    frameOf(80, 0, &right, &bottom);
    const ADMRect& lowerLeft = g->selectionHotRects[0];
    EXPECT_EQ(lowerLeft.left, h - 3);
    EXPECT_EQ(lowerLeft.bottom, bottom + 3);
    // Round the outline from the lower left, up, right and down, then the middle.
    const long midH = (h + right) / 2, midV = (v + bottom) / 2;
    const long handles[9][2] = {{h, bottom},     {h, midV},      {h, v},         {midH, v},    {right, v},
                                {right, midV}, {right, bottom}, {midH, bottom}, {midH, midV}};
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(checkHotRect(ADMPoint{(ASInt16)handles[k][0], (ASInt16)handles[k][1]}), k) << "handle " << k;
        EXPECT_EQ(g->selectionHotRects[k].right - g->selectionHotRects[k].left, 6) << "handle " << k;
        EXPECT_EQ(g->selectionHotRects[k].bottom - g->selectionHotRects[k].top, 6) << "handle " << k;
    }
    EXPECT_EQ(checkHotRect(ADMPoint{(ASInt16)(h + 3), (ASInt16)bottom}), -1) << "on a handle's edge";
    EXPECT_EQ(checkHotRect(ADMPoint{(ASInt16)(h + 20), (ASInt16)(bottom - 10)}), -1);
}

TEST_F(PreviewTest, NothingSelectedNoOutlineAndNoHandles)
{
    loadRects({{0, 0, 40, 20}});
    selectOnly({});
    drawAll();
    for (const ADMRect& r : g->selectionHotRects) EXPECT_EQ(r.left | r.top | r.right | r.bottom, 0);
    EXPECT_EQ(checkHotRect(ADMPoint{0, 0}), -1);
    EXPECT_EQ(count("DrawRect"), 0);
    ADMRect old = {10, 10, 50, 50};
    draw([&old](ADMItemRef item, ADMDrawerRef drawer) { drawSelectRectUnion(item, drawer, &old); });
    EXPECT_EQ(old.left | old.top | old.right | old.bottom, 0) << "the old outline is erased and forgotten";
}

TEST_F(PreviewTest, TheRubberBandAndTheDraggedOutlineLeaveNothingBehind)
{
    loadRects({{0, 0, 40, 20}});
    drawAll();
    std::vector<long> before = picture();
    ADMPoint anchor = {100, 100}, last = {100, 100}, current = {200, 150};
    draw([&](ADMItemRef item, ADMDrawerRef drawer) { drawDragRect(item, drawer, &anchor, &last, &current); });
    EXPECT_EQ(pixel(150, 100), kBoard ^ 0x0000FF) << "the band is XOR blue";
    EXPECT_EQ(last.h, 200);
    current = anchor;  // back to where it started: the band has no area
    draw([&](ADMItemRef item, ADMDrawerRef drawer) { drawDragRect(item, drawer, &anchor, &last, &current); });
    EXPECT_EQ(picture(), before);

    ADMRect shown, moved;
    AIRealRect all;
    ASSERT_EQ(getSelectionVolumeRealRect(&all), kNoErr);
    convertDimenRectToFrameRect(all, &shown);
    moved = shown;
    moved.left += 30;
    moved.right += 30;
    ADMRect old = shown, next = moved;
    draw([&](ADMItemRef item, ADMDrawerRef drawer) { drawDragRectUnion(item, drawer, &old, &next); });
    EXPECT_EQ(old.left, moved.left);
    EXPECT_EQ(pixel(shown.left + 10, shown.top), kLine) << "the outline is gone, the rectangle's own edge shows";
    next = shown;
    draw([&](ADMItemRef item, ADMDrawerRef drawer) { drawDragRectUnion(item, drawer, &old, &next); });
    EXPECT_EQ(picture(), before);
}

// ---- Rulers ---------------------------------------------------------------------------------

TEST_F(PreviewTest, RulerTicksFollowTheSpanOfTheFrame)
{
    struct Row {
        const char* what;
        double span;  // millimetres across the frame
        long step;
    } rows[] = {{"99 mm: 1 mm ticks", 99, 1}, {"250 mm: 2 mm ticks", 250, 2}, {"1,000 mm: 10 mm ticks", 1000, 10}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        g->previewZoomX = g->previewZoomY = kWidth / row.span;
        drawAll();
        const long vb = kHeight - 30;
        // Counting from 0: the 10th tick 8 pixels long, the 5th 5, the rest 2, downwards.
        for (auto [k, d] : std::vector<std::pair<long, long>>{{1, 2}, {5, 5}, {10, 8}, {11, 2}}) {
            long h, v;
            frameOf(k * row.step, 0, &h, &v);
            EXPECT_EQ(pixel(h, vb + d), 0x000000) << "tick " << k;
            EXPECT_EQ(pixel(h, vb + d + 1), 0xFFFFFF) << "tick " << k;
            if (k == 10) continue;  // its label stands beside the vertical tick
            frameOf(0, k * row.step, &h, &v);
            EXPECT_EQ(pixel(30 - d, v), 0x000000) << "vertical tick " << k;
            EXPECT_EQ(pixel(30 - d - 1, v), 0xFFFFFF) << "vertical tick " << k;
        }
        // Every tenth tick is labelled with its millimetres: below the
        // horizontal ruler, left of the vertical one (0 twice: both runs
        // of ticks start there).
        for (long k : {0L, 10L, 20L}) {
            long h, v, times = k == 0 ? 2 : 1;
            frameOf(k * row.step, 0, &h, &v);
            const std::string label = "\"" + std::to_string(k * row.step) + "\"";
            EXPECT_EQ(count("DrawText " + std::to_string(h - 5) + " " + std::to_string(vb + 24) + " " + label), times)
                << "label " << k;
            frameOf(0, k * row.step, &h, &v);
            EXPECT_EQ(count("DrawText 6 " + std::to_string(v) + " " + label), times) << "vertical label " << k;
        }
        EXPECT_EQ(count("DrawText " + std::to_string(frameOfX(row.step) - 5)), 0) << "the first tick has no label";
    }
}

TEST_F(PreviewTest, WithYDownwardsTheHorizontalRulerRunsAlongTheTopUpwards)
{
    atOrigin(2);
    g->previewOption.words[kPreviewBoardWord] = 0xE0E0FFFF;
    drawAll();
    // The frame is 616 mm wide at zoom 1: 6 mm ticks.
    for (auto [k, d] : std::vector<std::pair<long, long>>{{1, 2}, {5, 5}}) {
        long h, v;
        frameOf(k * 6, 0, &h, &v);
        EXPECT_EQ(pixel(h, 30 - d), 0x000000) << "tick " << k;
        EXPECT_EQ(pixel(h, 30 - d - 1), 0xFFFFFF) << "tick " << k;
    }
    long h, v;
    frameOf(60, 0, &h, &v);
    EXPECT_EQ(count("DrawText " + std::to_string(h - 5) + " 22 \"60\""), 1) << "the label above the ruler";
    EXPECT_EQ(pixel(300, 10), 0xFFFFFF) << "its strip is white";
    EXPECT_EQ(pixel(300, kHeight - 10), 0xE0E0FF) << "and the lower edge is the drawing's";
}

// ---- Kept pictures ----------------------------------------------------------------------------

TEST_F(PreviewTest, MarkersOfPiecesOnOnePixelAreDrawnOnce)
{
    // A circle a fifth of a millimetre across, inside one pixel: each of its
    // four segments is fitted with pieces of its own, all starting there.
    loadShapes({"<circle cx=\"10.25\" cy=\"10.25\" r=\"0.1\" fill=\"#0000ff\"/>", PlacementTest::rect({0, 0, 30, 30})});
    selectOnly({});
    g->volumes[0].fitType = 2;
    g->volumes[1].fitType = 0;  // the square beside it: no pieces, no markers
    g->viewShowControlPoints = 1;
    // Wherever the pixel lies, the origin's included.
    struct Row {
        const char* where;
        double corner;  // mm, both ways
    } rows[] = {{"inside the page", 10.15}, {"on the origin's pixel", 0.0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.where);
        place(0, row.corner, row.corner);
        drawAll();
        EXPECT_GE(count("DrawLine"), 4) << "one for each piece";
        EXPECT_EQ(count("QD FrameOval"), 3) << "one disc of half-size 3: three ovals";
    }
}

TEST_F(PreviewTest, AnOutlineGoingStraightOnIsOneLineAndCoversEveryPixelItPasses)
{
    // Unfitted open paths of legs along rows, columns and diagonals (mm =
    // pixels at zoom 1, y upwards): the black pixels are every pixel each leg
    // passes over, worked out by hand, and legs that carry on the same way
    // make one line.
    struct Leg {
        int x1, y1, x2, y2;
    };
    struct Row {
        const char* shows;
        const char* path;
        std::vector<Leg> pixels;  // legs whose pixels, ends included, are black
        long lines;
        int diagonal = 0;  // and the pixels (k, k) for k up to this
    } rows[] = {
        {"straight on along a row", "M0,0 L10,0 L20,0 L30,0", {{0, 0, 30, 0}}, 1},
        {"straight on up a column", "M0,0 L0,10 L0,25", {{0, 0, 0, 25}}, 1},
        {"straight on leftwards, then down", "M25,20 L15,20 L0,20 L0,0", {{0, 20, 25, 20}, {0, 0, 0, 20}}, 2},
        {"doubling back along a row", "M0,0 L30,0 L10,0", {{0, 0, 30, 0}}, 2},
        {"doubling back down a column", "M0,0 L0,30 L0,10", {{0, 0, 0, 30}}, 2},
        {"onto the next row and on along it", "M0,0 L10,0 L10,1 L30,1", {{0, 0, 10, 0}, {10, 0, 10, 1}, {10, 1, 30, 1}}, 3},
        {"round a corner and on", "M0,20 L0,0 L10,0 L30,0", {{0, 0, 0, 20}, {0, 0, 30, 0}}, 2},
        {"straight on along a diagonal", "M0,0 L10,10 L25,25", {}, 1, 25},
        {"along a diagonal, then up", "M0,0 L10,10 L10,20", {{10, 10, 10, 20}}, 2, 10},
        {"along a diagonal, then less steeply", "M0,0 L10,10 L13,11", {{11, 10, 11, 10}, {12, 11, 13, 11}}, 2, 10},
        {"along a diagonal and back", "M0,0 L20,20 L10,10", {}, 2, 20},
    };
    const int kAt = 20;  // the path's lower-left corner, mm from the origin
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        loadShapes({std::string("<path d=\"") + row.path + "\" fill=\"none\" stroke=\"#000\"/>"});
        selectOnly({});
        g->volumes[0].fitType = 0;  // the outline alone
        place(0, kAt, kAt);
        releasePreviewCache();
        drawAll();
        long h0, v0;
        frameOf(kAt, kAt, &h0, &v0);
        for (int y = -2; y <= 32; y++)
            for (int x = -2; x <= 32; x++) {
                bool on = false;
                for (const Leg& leg : row.pixels)
                    on = on || (x >= std::min(leg.x1, leg.x2) && x <= std::max(leg.x1, leg.x2) &&
                                y >= std::min(leg.y1, leg.y2) && y <= std::max(leg.y1, leg.y2));
                // A diagonal from the corner covers the pixels it passes through.
                on = on || (row.diagonal > 0 && x == y && x >= 0 && x <= row.diagonal);
                ASSERT_EQ(pixel(h0 + x, v0 - y), on ? 0x000000 : kBoard) << "at " << x << ", " << y;
            }
        draw([](ADMItemRef item, ADMDrawerRef drawer) { drawVolume(item, drawer, g->volumes[0]); });
        EXPECT_EQ(count("DrawLine"), row.lines);
        (void)freeData();
    }
}

// A ring whose segments come from elsewhere than before is drawn as a redraw
// from scratch draws it, not from what was kept of it.
TEST_F(PreviewTest, ARingWhoseSegmentsChangeIsDrawnAnew)
{
    static std::vector<bezier_stru> moved;
    struct Row {
        const char* change;
        std::function<void(Ring&)> apply;
        double shownAt;  // where its right edge lies now (mm); < 0: nowhere
    } rows[] = {
        {"its segments an array of its own, 100 mm further right",
         [](Ring& ring) {
             const bezier_stru* segments = nullptr;
             ASSERT_EQ(ringSegments(&ring, segmentRoom(kSegmentsForDrawing), &segments), kNoErr);
             moved.assign(segments, segments + ring.count);
             for (bezier_stru& b : moved)
                 for (auto& p : b.P) p[0] += 100;
             ring.beziers = moved.data();
         },
         130},
        {"read from the other shape's path, 100 mm further right",
         [](Ring& ring) { ring.art = g->volumes[1].rings[0].art; }, 130},
        {"read from its path taken as loaded 100 mm further left",
         [](Ring& ring) { ring.originX -= 100; }, 130},
        {"read as a path of fewer segments than its own", [](Ring& ring) { ring.count = 3; }, -1},
        {"not a path any more", [](Ring& ring) { ring.kind = kRingOtherArt; }, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        loadShapes({PlacementTest::rect({0, 0, 30, 10}), PlacementTest::rect({100, 0, 30, 10})});
        selectOnly({});
        g->volumes[1].flags &= ~(uint32_t)kVolumeVisible;  // only its path is wanted
        drawAll();
        long h, v;
        frameOf(30, 5, &h, &v);  // the right edge
        EXPECT_EQ(pixel(h, v), kLine);
        row.apply(g->volumes[0].rings[0]);
        drawAll();
        std::vector<long> after = picture();
        EXPECT_EQ(pixel(h, v), kBoard) << "nothing left where it was";
        if (row.shownAt > 0) {
            frameOf(row.shownAt, 5, &h, &v);
            EXPECT_EQ(pixel(h, v), kLine);
        }
        releasePreviewCache();
        drawAll();
        EXPECT_TRUE(picture() == after) << "what a fresh redraw draws";
        g->volumes[0].rings[0].beziers = nullptr;
        releasePreviewCache();
        (void)freeData();
    }
}

TEST_F(PreviewTest, AVolumeChangedInWhatItsCopiesAreMadeOfIsDrawnAnew)
{
    // Two copies of a circle fitted with arcs: each change is drawn as a
    // redraw from scratch draws it, not from what was kept before it.
    struct Row {
        const char* shows;
        std::function<void(Volume&)> change;
    } rows[] = {
        {"a coarser fit", [](Volume& v) { v.precision = 2.0; }},
        {"fitted with lines", [](Volume& v) { v.fitType = 1; }},
        {"a wider spacing", [](Volume& v) { v.gapX = 30; }},
        {"a spacing that sends the copy left",
         [](Volume& v) {
             v.gapX = -100;
             (void)updateVolumeRect(&v);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        loadShapes({"<circle cx=\"60\" cy=\"60\" r=\"40\" fill=\"#0000ff\"/>"});
        selectOnly({});
        Volume& v = g->volumes[0];
        v.fitType = 2;
        v.precision = 0.01;
        v.copiesX = 2;
        v.gapX = 5;
        drawAll();
        row.change(v);
        drawAll();
        std::vector<long> drawn = picture();
        releasePreviewCache();
        drawAll();
        EXPECT_EQ(picture(), drawn);
        releasePreviewCache();
        (void)freeData();
    }
}

TEST_F(PreviewTest, KeptPicturesDrawWhatAFreshRedrawDraws)
{
    loadShapes({"<circle cx=\"70\" cy=\"70\" r=\"40\" fill=\"#0000ff\"/>", PlacementTest::rect({0, 0, 30, 10})});
    g->viewShowIndex = g->viewShowControlPoints = g->viewShowStartPoint = 1;
    drawAll();
    std::vector<long> kept = picture();
    drawAll();  // from what the first redraw kept
    EXPECT_EQ(picture(), kept);
    releasePreviewCache();
    drawAll();
    EXPECT_EQ(picture(), kept);

    // A volume changed in any one way is drawn as it is now, not as it was
    // kept: an uneven shape with a curve, set up as the row says, then changed.
    struct Row {
        const char* change;
        std::function<void(Volume&)> setUp, apply;
    } rows[] = {
        {"moved across", [](Volume&) {}, [](Volume&) { place(0, 200, 50); }},
        {"moved up", [](Volume&) {}, [](Volume&) { place(0, 50, 150); }},
        {"mirrored", [](Volume&) {}, [](Volume& v) { v.mirror = !v.mirror; }},
        {"turned", [](Volume&) {}, [](Volume& v) { v.angle += 30; }},
        {"wider", [](Volume&) {}, [](Volume& v) { v.scaleX *= 1.5; }},
        {"taller", [](Volume&) {}, [](Volume& v) { v.scaleY *= 1.5; }},
        {"two copies across", [](Volume&) {}, [](Volume& v) { v.copiesX = 2; }},
        {"two copies up", [](Volume&) {}, [](Volume& v) { v.copiesY = 2; }},
        {"copies further apart across", [](Volume& v) { v.copiesX = 2; }, [](Volume& v) { v.gapX += 20; }},
        {"copies further apart up", [](Volume& v) { v.copiesY = 2; }, [](Volume& v) { v.gapY += 20; }},
        {"fitted with lines", [](Volume&) {}, [](Volume& v) { v.fitType = v.fitType == 1 ? 2 : 1; }},
        {"a coarser fit", [](Volume& v) { v.fitType = 1; }, [](Volume& v) { v.precision = 3; }},
        {"measured from elsewhere across", [](Volume&) {}, [](Volume& v) { v.rotMinX -= 10; }},
        {"measured from elsewhere up", [](Volume&) {}, [](Volume& v) { v.rotMinY -= 10; }},
        {"another base width, in copies", [](Volume& v) { v.copiesX = 2; }, [](Volume& v) { v.baseWidth *= 2; }},
        {"another base height, in copies", [](Volume& v) { v.copiesY = 2; }, [](Volume& v) { v.baseHeight *= 2; }},
        {"zoomed across", [](Volume&) {}, [](Volume&) { g->previewZoomX = 1.5; }},
        {"zoomed up", [](Volume&) {}, [](Volume&) { g->previewZoomY = 1.5; }},
        // Each half of the loaded size on its own: the centre it is turned about.
        {"loaded wider, mirrored and turned", [](Volume& v) { v.mirror = 1, v.angle = 30; },
         [](Volume& v) { v.loadRect[2] += 20; }},
        {"loaded taller, turned", [](Volume& v) { v.angle = 30; }, [](Volume& v) { v.loadRect[1] += 20; }},
    };
    g->viewShowControlPoints = g->viewShowStartPoint = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        (void)freeData();
        g->previewZoomX = g->previewZoomY = 1.0;
        loadShapes({"<path d=\"M0,0 L60,0 Q40,50 0,40 Z\" fill=\"#0000ff\"/>"});
        place(0, 50, 50);
        row.setUp(g->volumes[0]);
        releasePreviewCache();
        drawAll();
        std::vector<long> before = picture();
        row.apply(g->volumes[0]);
        drawAll();
        std::vector<long> after = picture();
        EXPECT_TRUE(after != before) << "the change shows";
        releasePreviewCache();
        drawAll();
        EXPECT_TRUE(picture() == after) << "what was kept was drawn";
    }
}

// A full redraw of a large job makes its pictures ahead, on several threads
// and in batches; drawn from there they show what each ring made alone and
// drawn on its own shows.
TEST_F(PreviewTest, PicturesMadeAheadDrawWhatEachRingDrawnAloneDraws)
{
    struct Row {
        const char* shows;
        double zoom;
    } rows[] = {
        {"the first copies in view, in one batch", 1.0},
        {"every copy in view, in several batches", 0.3},
    };
    loadShapes({"<circle cx=\"10\" cy=\"10\" r=\"10\" fill=\"#0000ff\"/>",
                "<path d=\"M30,0 L48,2 Q44,17 30,15 Z\" fill=\"#00ff00\"/>"});
    selectOnly({});
    g->viewShowControlPoints = g->viewShowStartPoint = 1;
    g->volumes[1].fitType = 1;
    for (int32_t n = 0; n < g->volumeCount; n++) {
        Volume& v = g->volumes[n];
        v.copiesX = 70;
        v.copiesY = 60;
        v.gapX = 2 + n;
        v.gapY = 3;
        (void)updateVolumeRect(&v);
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        g->previewZoomX = g->previewZoomY = row.zoom;
        releasePreviewCache();
        drawAll();  // makes the pictures ahead and keeps them
        std::vector<long> kept = everyVolumeDrawn();
        releasePreviewCache();
        EXPECT_TRUE(everyRingDrawnAlone() == kept);
        EXPECT_GT(std::count(kept.begin(), kept.end(), (long)kLine), kWidth * kHeight / 50) << "the copies show";
    }
}

// Copies too many to keep are made as they are drawn: the frame shows what it
// shows of fewer copies, which are kept, so long as those still fill it.
TEST_F(PreviewTest, CopiesTooManyToKeepDrawWhatFewerCopiesFillingTheFrameDraw)
{
    loadShapes({"<path d=\"M0,0 L8,0 Q6,9 0,7 Z\" fill=\"#0000ff\"/>"});
    Volume& v = g->volumes[0];
    v.gapX = v.gapY = 4;
    v.copiesX = v.copiesY = 60;  // 720 mm each way: past the frame's 616 x 543 pixels at one pixel a millimetre
    drawAll();
    std::vector<long> kept = picture();
    EXPECT_GT(std::count(kept.begin(), kept.end(), (long)kLine), kWidth * kHeight / 50) << "the copies show";
    v.copiesX = v.copiesY = 400;  // too many segments in all to keep
    drawAll();
    EXPECT_TRUE(picture() == kept);
}

}  // namespace
