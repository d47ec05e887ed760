// Drawing: the drawer and QuickDraw paint the item's raster, every call is
// recorded, XOR drawing twice restores the picture, and pictures are saved.
#include <cairo.h>

#include <algorithm>
#include <random>
#include <vector>

#include "QuickDraw.h"
#include "ToolkitFixture.h"

using namespace vt;
using host::toolkit::Driver;
using host::toolkit::Item;

namespace {

class ToolkitDrawing : public test::ToolkitTest {
protected:
    Item* model(ADMItemRef item) { return reinterpret_cast<Item*>(item); }
};

ASErr drawSample(ADMItemRef item, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    ADMRect all;
    Dr.GetBoundsRect(drawer, &all);
    Dr.SetColor(drawer, kADMWhiteColor);
    Dr.FillRect(drawer, &all);
    Dr.SetColor(drawer, 0xFF0000FF);  // red
    ADMPoint a{10, 20}, b{60, 20};
    Dr.DrawLine(drawer, &a, &b);
    ADMRect box{30, 5, 40, 15};
    Dr.SetColor(drawer, 0x0000FFFF);  // blue
    Dr.FillRect(drawer, &box);
    // A rubber band drawn twice in XOR leaves nothing behind.
    ADMRect band{2, 2, 50, 70};
    Dr.SetDrawMode(drawer, kADMXORMode);
    Dr.SetColor(drawer, 0x00FF00FF);
    Dr.DrawRect(drawer, &band);
    Dr.DrawRect(drawer, &band);
    Dr.SetDrawMode(drawer, kADMNormalMode);
    return kNoErr;
}

TEST_F(ToolkitDrawing, TheDrawProcedurePaintsTheItemsRaster)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 61, kADMFrameType, 210, 2, 100, 60);
    I().SetDrawProc(frame, drawSample);
    I().Invalidate(frame);
    I().Update(frame);
    const auto& raster = model(frame)->raster;
    EXPECT_EQ(raster.pixel(10, 20), 0xFF0000);  // the line, both ends included
    EXPECT_EQ(raster.pixel(60, 20), 0xFF0000);
    EXPECT_EQ(raster.pixel(35, 20), 0xFF0000);
    EXPECT_EQ(raster.pixel(35, 21), 0xFFFFFF);
    EXPECT_EQ(raster.pixel(5, 30), 0x0000FF);  // filled box: left/top in, right/bottom out
    EXPECT_EQ(raster.pixel(14, 39), 0x0000FF);
    EXPECT_EQ(raster.pixel(15, 39), 0xFFFFFF);
    EXPECT_EQ(raster.pixel(2, 2), 0xFFFFFF);    // XOR twice: gone
    EXPECT_EQ(raster.pixel(30, 2), 0xFFFFFF);

    const auto& calls = model(frame)->calls;
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0], "FillRect 0 0 60 100 color=0xFFFFFF");
    EXPECT_EQ(calls[1], "DrawLine 10 20 60 20 color=0xFF0000");
    EXPECT_EQ(calls[3], "DrawRect 2 2 50 70 color=0x00FF00 xor");
}

// A text set in the middle of its item, or against either edge, as it asks.
TEST_F(ToolkitDrawing, AStaticTextSitsWhereItsJustificationPutsIt)
{
    struct Row {
        const char* where;
        ADMJustify justify;
        int leftLessRight;  // the blank columns left of the ink less those right of it, at most...
        int atLeast;        // ... and at least
    } rows[] = {
        {"in the middle", kADMCenterJustify, 1, -1},
        {"against the left", kADMLeftJustify, -100, -1000},
        {"against the right", kADMRightJustify, 1000, 100},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.where);
        ADMDialogRef d = floating();
        ADMItemRef text = make(d, 1, kADMTextStaticType, 0, 0, 200, 20);
        I().SetJustify(text, row.justify);
        I().SetText(text, "MMMM");
        I().Invalidate(text);
        I().Update(text);
        const auto& raster = model(text)->raster;
        long background = raster.pixel(0, 0);
        int first = -1, last = -1;
        for (int x = 0; x < 200; ++x)
            for (int y = 0; y < 20; ++y)
                if (raster.pixel(x, y) != background) {
                    if (first < 0) first = x;
                    last = x;
                }
        ASSERT_GE(first, 0) << "the text shows";
        int gaps = first - (199 - last);
        EXPECT_LE(gaps, row.leftLessRight);
        EXPECT_GE(gaps, row.atLeast);
        D().Destroy(d);
    }
}

TEST_F(ToolkitDrawing, XorDrawnOnceShowsTheInverse)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 40, 40);
    I().SetDrawProc(frame, [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        ADMRect all{0, 0, 40, 40};
        Dr.SetColor(drawer, kADMWhiteColor);
        Dr.FillRect(drawer, &all);
        Dr.SetDrawMode(drawer, kADMXORMode);
        Dr.SetColor(drawer, 0x00FF00FF);
        ADMRect r{5, 5, 20, 20};
        Dr.DrawRect(drawer, &r);
        return kNoErr;
    });
    I().Update(frame);
    EXPECT_EQ(model(frame)->raster.pixel(5, 5), 0xFF00FF);  // white XOR green
    EXPECT_EQ(model(frame)->raster.pixel(10, 10), 0xFFFFFF);
}

// The output preview draws with colour pen patterns in window coordinates.
ASErr drawWithQuickDraw(ADMItemRef item, ADMDrawerRef drawer)
{
    ADMRect bounds;
    host::suiteTable<ADMItemSuite>().GetBoundsRect(item, &bounds);
    PixPatHandle pattern = NewPixPat();
    RGBColor green{0, 0xFFFF, 0};
    MakeRGBPat(pattern, &green);
    PenPixPat(pattern);
    MoveTo(static_cast<short>(bounds.left + 10), static_cast<short>(bounds.top + 36));
    LineTo(static_cast<short>(bounds.left + 95), static_cast<short>(bounds.top + 36));
    Rect oval{static_cast<ASInt16>(bounds.top + 2), static_cast<ASInt16>(bounds.left + 2),
              static_cast<ASInt16>(bounds.top + 12), static_cast<ASInt16>(bounds.left + 12)};
    FrameOval(&oval);
    DisposePixPat(pattern);
    host::suiteTable<ADMItemSuite>().DefaultDraw(item, drawer);
    return kNoErr;
}

TEST_F(ToolkitDrawing, QuickDrawLinesLandInTheItemBeingDrawn)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 221, 2, 120, 50);
    I().SetDrawProc(frame, drawWithQuickDraw);
    I().Update(frame);
    const auto& raster = model(frame)->raster;
    EXPECT_EQ(raster.pixel(10, 36), 0x00FF00);
    EXPECT_EQ(raster.pixel(95, 36), 0x00FF00);
    EXPECT_EQ(raster.pixel(96, 36), 0xFFFFFF);
    EXPECT_EQ(raster.pixel(7, 2), 0x00FF00);  // top of the oval
    EXPECT_EQ(model(frame)->calls[0], "QD LineTo 231 38 316 38 color=0x00FF00");

    // Made larger, the item is drawn into a new image: the pen and the kept
    // shapes land there, as cairo's drawing does.
    I().Size(frame, 140, 70);
    auto pixels = [&](bool stamped) {
        tk().stampShapes = stamped;
        I().Invalidate(frame);
        I().Update(frame);
        tk().stampShapes = true;
        std::vector<long> all;
        for (int y = 0; y < 70; ++y)
            for (int x = 0; x < 140; ++x) all.push_back(raster.pixel(x, y));
        return all;
    };
    std::vector<long> stamped = pixels(true);
    EXPECT_EQ(stamped, pixels(false));
    EXPECT_EQ(raster.pixel(95, 36), 0x00FF00);
    EXPECT_EQ(raster.pixel(7, 2), 0x00FF00);

    // Outside a draw procedure there is no port: nothing happens.
    MoveTo(0, 0);
    LineTo(10, 10);
}

// Text drawn with QuickDraw moves the pen on by its width.
int g_widthOf12 = 0;
ASErr drawQuickDrawText(ADMItemRef item, ADMDrawerRef drawer)
{
    g_widthOf12 = host::suiteTable<ADMDrawerSuite>().GetTextWidth(drawer, "12");
    MoveTo(300, 20);
    DrawText("12", 0, 2);
    DrawText("34", 0, 2);  // goes on where "12" ended
    LineTo(400, 20);       // and so does a line
    DrawText("56", 0, 2);
    MoveTo(250, 30);       // a new place: nothing of "56" is carried over
    DrawText("78", 0, 2);
    return kNoErr;
}

TEST_F(ToolkitDrawing, QuickDrawTextMovesThePenByItsWidth)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 221, 2, 300, 50);
    I().SetDrawProc(frame, drawQuickDrawText);
    I().Update(frame);
    ASSERT_GT(g_widthOf12, 0);
    const auto& calls = model(frame)->calls;
    ASSERT_EQ(calls.size(), 5u);
    int x = 300 + g_widthOf12;
    EXPECT_EQ(calls[1], "QD DrawText " + std::to_string(x) + " 20 \"34\" color=0x000000");
    int y = x + g_widthOf12;  // "34" is as wide as "12" in the toolkit's font
    EXPECT_EQ(calls[2], "QD LineTo " + std::to_string(y) + " 20 400 20 color=0x000000");
    EXPECT_EQ(calls[3], "QD DrawText 400 20 \"56\" color=0x000000");
    EXPECT_EQ(calls[4], "QD DrawText 250 30 \"78\" color=0x000000");
}

TEST_F(ToolkitDrawing, ADialogIsSavedAsAPicture)
{
    ADMDialogRef d = floating();
    ADMRect b{100, 100, 220, 600};
    D().SetBoundsRect(d, &b);
    ADMItemRef frame = make(d, 61, kADMFrameType, 210, 2, 100, 60);
    I().SetDrawProc(frame, drawSample);
    ADMItemRef ok = make(d, 1, kADMTextPushButtonType, 355, 5, 100, 21);
    I().SetText(ok, "OK");
    Driver user = driver(d);
    std::string error;
    std::string path = dir_.file("dialog.png");
    ASSERT_TRUE(user.savePicture(path, 0, error)) << error;
    cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 500);
    EXPECT_EQ(cairo_image_surface_get_height(png), 120);
    cairo_surface_flush(png);
    auto pixel = [&](int x, int y) {
        const unsigned char* data = cairo_image_surface_get_data(png);
        uint32_t v;
        std::memcpy(&v, data + y * cairo_image_surface_get_stride(png) + x * 4, 4);
        return v & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(210 + 35, 2 + 20), 0xFF0000u);  // the frame's line at its place in the dialog
    EXPECT_EQ(pixel(5, 5), host::toolkit::rgbOf(kADMBackgroundColor));
    cairo_surface_destroy(png);

    ASSERT_TRUE(user.savePicture(dir_.file("frame.png"), 61, error)) << error;
    EXPECT_FALSE(user.savePicture(dir_.file("none.png"), 99, error));
}

ASErr drawEntrySwatch(ADMEntryRef entry, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    host::suiteTable<ADMEntrySuite>().DefaultDraw(entry, drawer);
    ADMRect swatch{5, 24, 14, 33};
    Dr.SetColor(drawer, 0xFF8000FF);
    Dr.FillRect(drawer, &swatch);
    return kNoErr;
}

TEST_F(ToolkitDrawing, ListEntriesAreDrawnInTheirOwnRows)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 55, kADMListBoxType, 5, 450, 200, 86);
    ADMListRef list = I().GetList(item);
    L().SetEntryHeight(list, 20);
    L().SetDrawProc(list, drawEntrySwatch);
    for (int i = 0; i < 2; ++i) E().SetText(L().InsertEntry(list, i), "   Layer");
    I().Update(item);
    const auto& raster = model(item)->raster;
    EXPECT_EQ(raster.pixel(24, 5), 0xFF8000);
    EXPECT_EQ(raster.pixel(24, 25), 0xFF8000);  // second entry, 20 pixels lower
    EXPECT_EQ(raster.pixel(24, 45), 0xFFFFFF);  // no third entry
}

// Lines, rectangles, ovals and polygons are put down from kept pixel sets;
// every one must match what cairo itself draws, in both modes and under a clip.
std::vector<long> g_shapePixels;

TEST_F(ToolkitDrawing, StampedShapesMatchWhatCairoDraws)
{
    ADMDialogRef d = floating();
    // Each shape goes into two frames whose rows are of different lengths,
    // one after the other: where a kept shape's pixels land in a row must
    // follow the raster it is put down in.
    ADMItemRef frames[] = {make(d, 1, kADMFrameType, 0, 0, 160, 120), make(d, 2, kADMFrameType, 0, 130, 131, 120)};
    static std::mt19937 random;
    static int kind = 0;
    static ADMPoint a, b;
    static std::vector<ADMPoint> corners;
    auto draw = [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        ADMRect all{0, 0, 120, 160};
        Dr.SetColor(drawer, 0x336699FF);
        Dr.FillRect(drawer, &all);
        Dr.SetDrawMode(drawer, kind % 2 ? kADMXORMode : kADMNormalMode);
        Dr.SetColor(drawer, 0xFF8000FF);
        ADMRect box{std::min(a.v, b.v), std::min(a.h, b.h), std::max(a.v, b.v), std::max(a.h, b.h)};
        switch (kind / 2) {
        case 0: Dr.DrawLine(drawer, &a, &b); break;
        case 1: Dr.DrawRect(drawer, &box); break;
        case 2: Dr.FillRect(drawer, &box); break;
        case 3: Dr.DrawOval(drawer, &box); break;
        case 4: Dr.FillOval(drawer, &box); break;
        case 5: Dr.DrawPolygon(drawer, corners.data(), static_cast<ASInt32>(corners.size())); break;
        default: Dr.FillPolygon(drawer, corners.data(), static_cast<ASInt32>(corners.size())); break;
        }
        Dr.SetDrawMode(drawer, kADMNormalMode);
        return kNoErr;
    };
    for (ADMItemRef frame : frames) I().SetDrawProc(frame, draw);
    auto pixels = [&](ADMItemRef frame) {
        I().Invalidate(frame);
        I().Update(frame);
        std::vector<long> all;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < model(frame)->width(); ++x) all.push_back(model(frame)->raster.pixel(x, y));
        return all;
    };
    const char* kinds[] = {"line", "rectangle", "filled rectangle", "oval", "filled oval", "polygon", "filled polygon"};
    for (int trial = 0; trial < 1400; ++trial) {
        kind = trial % 14;
        a = ADMPoint{static_cast<ASInt16>(random() % 150), static_cast<ASInt16>(random() % 110)};
        int reach = trial % 3 == 0 ? 8 : 70;  // many short shapes, some long
        b = ADMPoint{static_cast<ASInt16>(std::clamp<int>(a.h + static_cast<int>(random() % (2 * reach + 1)) - reach, -5, 165)),
                     static_cast<ASInt16>(std::clamp<int>(a.v + static_cast<int>(random() % (2 * reach + 1)) - reach, -5, 125))};
        // A polygon: a walk from a through b and on, its corners often on
        // one pixel, in one line or turning back sharply, as flattened rings' are.
        corners.assign({a, b});
        for (int n = static_cast<int>(random() % 9); n > 0; --n) {
            ADMPoint last = corners.back();
            int step = 1 + static_cast<int>(random() % 12);
            corners.push_back(ADMPoint{
                static_cast<ASInt16>(std::clamp<int>(last.h + static_cast<int>(random() % (2 * step + 1)) - step, -5, 165)),
                static_cast<ASInt16>(std::clamp<int>(last.v + static_cast<int>(random() % (2 * step + 1)) - step, -5, 125))});
        }
        for (ADMItemRef frame : frames) {
            tk().stampShapes = true;
            std::vector<long> stamped = pixels(frame);
            ASSERT_EQ(pixels(frame), stamped) << "drawn again from the kept pixels";
            tk().stampShapes = false;
            std::vector<long> drawn = pixels(frame);
            ASSERT_EQ(stamped, drawn) << kinds[kind / 2] << (kind % 2 ? " in XOR" : "") << " from " << a.h << "," << a.v
                                      << " to " << b.h << "," << b.v << " in a frame " << model(frame)->width() << " wide";
        }
    }
    tk().stampShapes = true;
}

// A rectangle or an oval in a box with no width or no height covers no pixel,
// stamped or drawn by cairo, whichever side is empty.
TEST_F(ToolkitDrawing, ShapesInABoxWithoutWidthOrHeightDrawNothing)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 60, 40);
    static int kind = 0;
    static ADMRect box;
    I().SetDrawProc(frame, [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        ADMRect all{0, 0, 40, 60};
        Dr.SetColor(drawer, kADMWhiteColor);
        Dr.FillRect(drawer, &all);
        Dr.SetColor(drawer, 0xFF0000FF);
        switch (kind) {
        case 0: Dr.DrawOval(drawer, &box); break;
        case 1: Dr.FillOval(drawer, &box); break;
        case 2: Dr.DrawRect(drawer, &box); break;
        default: Dr.FillRect(drawer, &box); break;
        }
        return kNoErr;
    });
    const ADMRect boxes[] = {{10, 20, 30, 20}, {10, 20, 10, 40}, {10, 25, 30, 20}, {30, 20, 10, 40}};
    for (bool stamped : {true, false})
        for (kind = 0; kind < 4; ++kind)
            for (const ADMRect& b : boxes) {
                box = b;
                SCOPED_TRACE(testing::Message() << "shape " << kind << (stamped ? " stamped" : " by cairo") << " in "
                                                << b.top << " " << b.left << " " << b.bottom << " " << b.right);
                tk().stampShapes = stamped;
                I().Invalidate(frame);
                I().Update(frame);
                tk().stampShapes = true;
                int red = 0;
                for (int y = 0; y < 40; ++y)
                    for (int x = 0; x < 60; ++x) red += model(frame)->raster.pixel(x, y) == 0xFF0000;
                EXPECT_EQ(red, 0);
            }
}

// A polygon is kept by the walk of its corners: one drawn after another whose
// walk differs only in its longest steps (128 pixels, the most a kept polygon
// spans) is drawn as itself, not from the other's pixels.
TEST_F(ToolkitDrawing, PolygonsDifferingInTheirLongestStepsAreKeptApart)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 300, 300);
    static std::vector<ADMPoint> corners;
    I().SetDrawProc(frame, [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        ADMRect all{0, 0, 300, 300};
        Dr.SetColor(drawer, kADMWhiteColor);
        Dr.FillRect(drawer, &all);
        Dr.SetColor(drawer, kADMBlackColor);
        Dr.DrawPolygon(drawer, corners.data(), static_cast<ASInt32>(corners.size()));
        return kNoErr;
    });
    auto pixels = [&]() {
        I().Invalidate(frame);
        I().Update(frame);
        std::vector<long> all;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 300; ++x) all.push_back(model(frame)->raster.pixel(x, y));
        return all;
    };
    struct Row {
        const char* shows;
        std::vector<ADMPoint> first, second;
    } rows[] = {
        {"128 right, then 128 left", {{10, 20}, {138, 20}, {138, 50}}, {{140, 100}, {12, 100}, {12, 130}}},
        {"128 right and 30 down, then 128 left and up, a corner twice and 30 down",
         {{10, 40}, {138, 70}},
         {{140, 150}, {12, 22}, {12, 22}, {12, 52}}},
        {"128 down, then 128 up", {{20, 10}, {20, 138}, {60, 138}}, {{100, 140}, {100, 12}, {140, 12}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        tk().stampShapes = true;
        corners = row.first;
        (void)pixels();
        (void)pixels();  // stamped from its second drawing
        corners = row.second;
        std::vector<long> stamped = pixels();
        tk().stampShapes = false;
        std::vector<long> drawn = pixels();
        tk().stampShapes = true;
        EXPECT_TRUE(stamped == drawn);
        EXPECT_GT(std::count(drawn.begin(), drawn.end(), 0L), 100) << "the second polygon is drawn";
    }
}

// Texts are laid down from kept coverages: over pixels of many colours, in
// any colour, twice on the same place, whole or cut by the frame's edge, and
// in the fallback font, the pixels must be cairo's own.
TEST_F(ToolkitDrawing, StampedTextsMatchWhatCairoDraws)
{
    ADMDialogRef d = floating();
    // Two frames whose rows are of different lengths, each text drawn in
    // both one after the other: where its kept pixels land in a row must
    // follow the raster it is laid down in.
    ADMItemRef frames[] = {make(d, 1, kADMFrameType, 0, 0, 160, 120), make(d, 2, kADMFrameType, 0, 170, 131, 120)};
    static std::mt19937 random(11);
    static std::string text;
    static ADMPoint at;
    static ADMColor ink, under[4];
    auto draw = [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        // Columns of four colours, every other row XORed with a fifth: no
        // two neighbouring pixels alike under the glyphs' soft edges.
        for (ASInt16 x = 0; x < 160; ++x) {
            Dr.SetColor(drawer, under[x % 4]);
            ADMRect column{0, x, 120, static_cast<ASInt16>(x + 1)};
            Dr.FillRect(drawer, &column);
        }
        Dr.SetDrawMode(drawer, kADMXORMode);
        Dr.SetColor(drawer, 0x5A3CA5FF);
        for (ASInt16 y = 0; y < 120; y += 2) {
            ADMPoint a{0, y}, b{159, y};
            Dr.DrawLine(drawer, &a, &b);
        }
        Dr.SetDrawMode(drawer, kADMNormalMode);
        Dr.SetColor(drawer, ink);
        Dr.DrawText(drawer, text.c_str(), &at);
        ADMPoint again{static_cast<ASInt16>(at.h + 1), at.v};
        Dr.DrawText(drawer, text.c_str(), &again);
        return kNoErr;
    };
    for (ADMItemRef frame : frames) I().SetDrawProc(frame, draw);
    auto pixels = [&](ADMItemRef frame) {
        I().Invalidate(frame);
        I().Update(frame);
        std::vector<long> all;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < model(frame)->width(); ++x) all.push_back(model(frame)->raster.pixel(x, y));
        return all;
    };
    const char* texts[] = {" 7", "42", "1234", "10000", "Layer 1", "Wij gaan", "ÉéÅñ ß", "ΩΔ ≈", "日本語", "“Vinyl”", "|_|",
                           "0123456789", "AVATAR fj", "T.y,r/f\\W", "{[(jq)]}", "mm 1.5"};
    auto rgb = [] { return static_cast<ADMColor>((random() & 0xFFFFFF) << 8 | 0xFF); };
    for (int trial = 0; trial < 300; ++trial) {
        text = texts[trial % (sizeof texts / sizeof *texts)];
        at = ADMPoint{static_cast<ASInt16>(static_cast<int>(random() % 200) - 30),
                      static_cast<ASInt16>(static_cast<int>(random() % 140) - 5)};
        ink = trial % 5 == 0 ? ADMColor(kADMBlackColor) : trial % 5 == 1 ? ADMColor(kADMWhiteColor) : rgb();
        // Every other trial lays a new ink over the same colours as the one
        // before: what was worked out for the old ink is no answer for it.
        if (trial % 2 == 0)
            for (ADMColor& c : under) c = rgb();
        for (ADMItemRef frame : frames) {
            tk().stampShapes = true;
            std::vector<long> stamped = pixels(frame);
            ASSERT_EQ(pixels(frame), stamped) << "drawn again from the kept coverage";
            tk().stampShapes = false;
            std::vector<long> drawn = pixels(frame);
            tk().stampShapes = true;
            ASSERT_EQ(stamped, drawn) << "\"" << text << "\" at " << at.h << "," << at.v << " in " << std::hex << ink
                                      << " in a frame " << std::dec << model(frame)->width() << " wide";
        }
    }
}

// Whatever cairo leaves behind after drawing a text is no part of the next
// shape it draws: an oval cut by the frame's edge (drawn by cairo, not from
// kept pixels) after a label has no line running to it from the label.
TEST_F(ToolkitDrawing, AShapeDrawnAfterATextStartsWhereItIs)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 100, 60);
    I().SetDrawProc(frame, [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        ADMRect all{0, 0, 60, 100};
        Dr.SetColor(drawer, kADMWhiteColor);
        Dr.FillRect(drawer, &all);
        Dr.SetColor(drawer, kADMBlackColor);
        ADMPoint at{10, 45};
        Dr.DrawText(drawer, "12", &at);
        Dr.SetColor(drawer, 0xFF0000FF);
        ADMRect oval{-10, 70, 10, 90};  // reaches above the frame
        Dr.DrawOval(drawer, &oval);
        return kNoErr;
    });
    for (bool stamped : {true, false}) {
        tk().stampShapes = stamped;
        I().Invalidate(frame);
        I().Update(frame);
        int strays = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x)
                if (model(frame)->raster.pixel(x, y) == 0xFF0000 && !(x >= 70 && x < 90 && y < 10)) ++strays;
        EXPECT_EQ(strays, 0) << (stamped ? "text from kept pixels" : "text drawn by cairo");
        EXPECT_EQ(model(frame)->raster.pixel(89, 0), 0xFF0000) << "the oval is drawn";
    }
    tk().stampShapes = true;
}

TEST_F(ToolkitDrawing, StampsKeepToTheClipOfAListEntry)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 55, kADMListBoxType, 5, 450, 200, 60);
    ADMListRef list = I().GetList(item);
    L().SetEntryHeight(list, 20);
    L().SetDrawProc(list, [](ADMEntryRef entry, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        RGBColor blue{0, 0, 0xFFFF};
        if (host::suiteTable<ADMEntrySuite>().GetIndex(entry) == 1) {
            // The second entry, 20 pixels down: a QuickDraw oval (window
            // coordinates) reaching 4 pixels up into the first, in blue;
            // then one in the normal pen, and blue left set.
            RGBForeColor(&blue);
            Rect oval{450 + 16, 5 + 100, 450 + 26, 5 + 110};
            FrameOval(&oval);
            PenNormal();
            Rect black{450 + 22, 5 + 130, 450 + 32, 5 + 140};
            FrameOval(&black);
            RGBForeColor(&blue);
            return kNoErr;
        }
        // The first entry, drawn first: every drawing starts with the normal pen.
        Rect pen{450 + 2, 5 + 150, 450 + 12, 5 + 160};
        FrameOval(&pen);
        Dr.SetColor(drawer, 0xFF0000FF);
        ADMPoint a{10, 5}, b{20, 30};  // reaches below the entry's 20 pixels
        Dr.DrawLine(drawer, &a, &b);
        ADMRect oval{-4, 40, 26, 70};
        Dr.DrawOval(drawer, &oval);
        return kNoErr;
    });
    E().SetText(L().InsertEntry(list, 0), "first");
    E().SetText(L().InsertEntry(list, 1), "second");
    I().Update(item);
    std::vector<long> stamped;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) stamped.push_back(model(item)->raster.pixel(x, y));
    tk().stampShapes = false;
    I().Invalidate(item);
    I().Update(item);
    tk().stampShapes = true;
    std::vector<long> drawn;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) drawn.push_back(model(item)->raster.pixel(x, y));
    EXPECT_EQ(stamped, drawn);
    EXPECT_EQ(model(item)->raster.pixel(15, 25), 0xFFFFFF) << "nothing below the entry";
    EXPECT_EQ(model(item)->raster.pixel(105, 25), 0x0000FF) << "the oval's bottom, in the second entry";
    EXPECT_EQ(model(item)->raster.pixel(105, 16), 0xFFFFFF) << "its top, in the first, is left out";
    EXPECT_EQ(model(item)->raster.pixel(135, 31), 0x000000) << "the normal pen's oval";
    EXPECT_EQ(model(item)->raster.pixel(155, 2), 0x000000) << "the first entry's oval, drawn again";
}

TEST_F(ToolkitDrawing, AnItemRecordsItsCallsUpToALimit)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 40, 40);
    I().SetDrawProc(frame, [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        ADMPoint a{1, 1}, b{5, 5};
        for (int i = 0; i < 50; ++i) host::suiteTable<ADMDrawerSuite>().DrawLine(drawer, &a, &b);
        return kNoErr;
    });
    tk().callRecordLimit = 20;
    I().Update(frame);
    EXPECT_EQ(model(frame)->calls.size(), 20u);
    EXPECT_EQ(model(frame)->raster.pixel(3, 3), 0x000000) << "drawn all the same";
}

// How many pixels of the picture are inked (well darker than the dialog's
// background), and how many are darker than the colour given (in the blue
// channel, which the toolkit's greys share).
std::pair<int, int> inkAndDarker(const host::toolkit::Raster& r, long rgb, int left, int top, int right, int bottom)
{
    int inked = 0, darker = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            long p = r.pixel(x, y) & 0xFF;
            inked += p < 0xD0;
            darker += p < (rgb & 0xFF);
        }
    return {inked, darker};
}

// A disabled item shows its text and its check mark greyed: the disabled
// colour, nothing darker.
TEST_F(ToolkitDrawing, ADisabledItemDrawsItsTextAndMarkInTheDisabledColour)
{
    const long grey = 0xA8A8A8;
    ADMDialogRef d = floating();
    ADMItemRef label = make(d, 1, kADMTextStaticType, 0, 0, 100, 16);
    I().SetText(label, "Spacing X:");
    ADMItemRef check = make(d, 2, kADMTextCheckBoxType, 0, 20, 100, 18);
    I().SetText(check, "Mirror");
    I().SetBooleanValue(check, true);
    for (ADMItemRef item : {label, check}) {
        I().Enable(item, false);
        I().Update(item);
    }
    auto text = inkAndDarker(model(label)->raster, grey, 0, 0, 100, 16);
    EXPECT_GT(text.first, 5);
    EXPECT_EQ(text.second, 0) << "the label is drawn darker than grey";
    auto mark = inkAndDarker(model(check)->raster, grey, 2, 4, 11, 13);  // inside the box
    EXPECT_GT(mark.first, 5);
    EXPECT_EQ(mark.second, 0) << "the check mark is drawn darker than grey";
}

// What an item's draw procedure leaves set on its drawer does not reach the
// toolkit's own drawing when it calls DefaultDraw: a field keeps its border
// after XOR drawing, a popup's list draws its choice from black.
ASErr defaultAfterXorInRed(ADMItemRef item, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    Dr.SetDrawMode(drawer, kADMXORMode);
    Dr.SetColor(drawer, 0xFF0000FF);
    host::suiteTable<ADMItemSuite>().DefaultDraw(item, drawer);
    return kNoErr;
}

ASErr fillEntryCorner(ADMEntryRef entry, ADMDrawerRef drawer)
{
    host::suiteTable<ADMEntrySuite>().DefaultDraw(entry, drawer);
    ADMRect corner{2, 2, 6, 6};
    host::suiteTable<ADMDrawerSuite>().FillRect(drawer, &corner);
    return kNoErr;
}

TEST_F(ToolkitDrawing, DefaultDrawIgnoresTheModeAndColourADrawProcedureLeft)
{
    ADMDialogRef d = floating();
    ADMItemRef edit = make(d, 1, kADMTextEditType, 0, 0, 100, 20);
    I().SetDrawProc(edit, defaultAfterXorInRed);
    ADMItemRef popup = make(d, 2, kADMPopupListType, 0, 30, 100, 20);
    I().SetDrawProc(popup, defaultAfterXorInRed);
    ADMListRef list = I().GetList(popup);
    L().SetDrawProc(list, fillEntryCorner);
    ADMEntryRef entry = L().InsertEntry(list, 0);
    E().SetText(entry, "Blade");
    E().Select(entry, true);
    I().Update(edit);
    I().Update(popup);
    EXPECT_EQ(model(edit)->raster.pixel(0, 10), 0x9A9A9A) << "the border in the shadow colour";
    EXPECT_EQ(model(popup)->raster.pixel(3, 3), 0x000000) << "the list's corner in black";
}

}  // namespace
