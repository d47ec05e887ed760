// Drawing: the drawer and QuickDraw paint the item's raster, every call is
// recorded, XOR drawing twice restores the picture, and pictures are saved.
#include <cairo.h>

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

    // Outside a draw procedure there is no port: nothing happens.
    MoveTo(0, 0);
    LineTo(10, 10);
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

// Lines, rectangles and ovals are put down from kept pixel sets; every one
// must match what cairo itself draws, in both modes and under a clip.
std::vector<long> g_shapePixels;

TEST_F(ToolkitDrawing, StampedShapesMatchWhatCairoDraws)
{
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 160, 120);
    static std::mt19937 random;
    static int kind = 0;
    static ADMPoint a, b;
    I().SetDrawProc(frame, [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
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
        default: Dr.FillOval(drawer, &box); break;
        }
        Dr.SetDrawMode(drawer, kADMNormalMode);
        return kNoErr;
    });
    auto pixels = [&]() {
        I().Invalidate(frame);
        I().Update(frame);
        std::vector<long> all;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x) all.push_back(model(frame)->raster.pixel(x, y));
        return all;
    };
    const char* kinds[] = {"line", "rectangle", "filled rectangle", "oval", "filled oval"};
    for (int trial = 0; trial < 1200; ++trial) {
        kind = trial % 10;
        a = ADMPoint{static_cast<ASInt16>(random() % 150), static_cast<ASInt16>(random() % 110)};
        int reach = trial % 3 == 0 ? 8 : 70;  // many short shapes, some long
        b = ADMPoint{static_cast<ASInt16>(std::clamp<int>(a.h + static_cast<int>(random() % (2 * reach + 1)) - reach, -5, 165)),
                     static_cast<ASInt16>(std::clamp<int>(a.v + static_cast<int>(random() % (2 * reach + 1)) - reach, -5, 125))};
        tk().stampShapes = true;
        std::vector<long> stamped = pixels();
        tk().stampShapes = false;
        std::vector<long> drawn = pixels();
        ASSERT_EQ(stamped, drawn) << kinds[kind / 2] << (kind % 2 ? " in XOR" : "") << " from " << a.h << "," << a.v
                                  << " to " << b.h << "," << b.v;
    }
    tk().stampShapes = true;
}

TEST_F(ToolkitDrawing, StampsKeepToTheClipOfAListEntry)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 55, kADMListBoxType, 5, 450, 200, 60);
    ADMListRef list = I().GetList(item);
    L().SetEntryHeight(list, 20);
    L().SetDrawProc(list, [](ADMEntryRef, ADMDrawerRef drawer) -> ASErr {
        auto& Dr = host::suiteTable<ADMDrawerSuite>();
        Dr.SetColor(drawer, 0xFF0000FF);
        ADMPoint a{10, 5}, b{20, 30};  // reaches below the entry's 20 pixels
        Dr.DrawLine(drawer, &a, &b);
        ADMRect oval{-4, 40, 26, 70};
        Dr.DrawOval(drawer, &oval);
        return kNoErr;
    });
    E().SetText(L().InsertEntry(list, 0), "first");
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
