// Pictures in the toolkit: a picture of the plug-in folder drawn at its own
// size in the middle of its item, faded while the item is disabled; the
// toolkit's own new and delete pictures; a missing picture as a labelled box
// that the toolkit notes; group boxes behind the items they hold.
#include <cairo.h>

#include <filesystem>

#include "Toolkit/Paint.h"
#include "ToolkitFixture.h"

using namespace vt;
using host::toolkit::rgbOf;

namespace {

class ToolkitPictures : public test::ToolkitTest {
protected:
    host::toolkit::Item* model(ADMItemRef item) { return reinterpret_cast<host::toolkit::Item*>(item); }

    // Writes "Pictures/<id>.png" into the plug-in folder: w x h of one opaque
    // colour with a transparent rim of one pixel.
    void writePicture(ASInt32 id, int w, int h, uint32_t rgb = 0xFF0000)
    {
        std::filesystem::create_directories(tk().pluginFolder() + "/Pictures");
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
        cairo_rectangle(cr, 1, 1, w - 2, h - 2);
        cairo_fill(cr);
        cairo_destroy(cr);
        ASSERT_EQ(cairo_surface_write_to_png(s, tk().picturePath(id).c_str()), CAIRO_STATUS_SUCCESS);
        cairo_surface_destroy(s);
    }
    long pixel(ADMItemRef item, int x, int y)
    {
        I().Update(item);
        return model(item)->raster.pixel(x, y);
    }
    // Pixels of the item that are neither the given background nor white.
    int inked(ADMItemRef item, long background)
    {
        I().Update(item);
        const auto& r = model(item)->raster;
        int n = 0;
        for (int y = 0; y < r.height(); ++y)
            for (int x = 0; x < r.width(); ++x) n += r.pixel(x, y) != background && r.pixel(x, y) != 0xFFFFFF;
        return n;
    }
};

TEST_F(ToolkitPictures, APictureIsDrawnAtItsOwnSizeInTheMiddleOfItsItem)
{
    writePicture(9001, 10, 10);
    ADMDialogRef d = floating();
    // A static picture 20 x 20: the 8 x 8 red square lands at 6..13.
    ADMItemRef still = make(d, 1, kADMPictureStaticType, 0, 0, 20, 20);
    I().SetPictureID(still, 9001);
    EXPECT_EQ(pixel(still, 6, 6), 0xFF0000);
    EXPECT_EQ(pixel(still, 13, 13), 0xFF0000);
    EXPECT_EQ(pixel(still, 5, 10), rgbOf(kADMBackgroundColor));
    EXPECT_EQ(pixel(still, 14, 10), rgbOf(kADMBackgroundColor));

    // A push button of the picture's own size: the picture covers its face,
    // the button's edge stays around it.
    writePicture(9002, 32, 32, 0x00FF00);
    ADMItemRef button = make(d, 2, kADMPicturePushButtonType, 0, 30, 32, 32);
    I().SetPictureID(button, 9002);
    EXPECT_EQ(pixel(button, 1, 1), 0x00FF00);
    EXPECT_EQ(pixel(button, 30, 30), 0x00FF00);
    EXPECT_EQ(pixel(button, 16, 0), rgbOf(kADMShadowColor));
    EXPECT_TRUE(tk().missingPictures.empty());
}

TEST_F(ToolkitPictures, ADisabledItemShowsItsPictureFadedUnlessItHasOneForThatState)
{
    writePicture(9003, 22, 22, 0x000000);
    writePicture(9004, 22, 22, 0x0000FF);
    ADMDialogRef d = floating();
    ADMItemRef button = make(d, 1, kADMPicturePushButtonType, 0, 0, 22, 22);
    I().SetPictureID(button, 9003);
    EXPECT_EQ(pixel(button, 11, 11), 0x000000);
    I().Activate(button, false);  // deactivated only: shown as the choice in use, not greyed
    EXPECT_EQ(pixel(button, 11, 11), 0x000000);
    I().Activate(button, true);
    I().Enable(button, false);
    long faded = pixel(button, 11, 11);
    EXPECT_GT(faded & 0xFF, 0x80) << std::hex << faded;  // well lighter than black
    EXPECT_NE(faded, rgbOf(kADMButtonUpColor));         // but still there
    I().SetDisabledPictureID(button, 9004);
    EXPECT_EQ(pixel(button, 11, 11), 0x0000FF);  // its own disabled picture, at full strength
    I().Enable(button, true);
    EXPECT_EQ(pixel(button, 11, 11), 0x000000);
}

TEST_F(ToolkitPictures, TheToolkitDrawsItsOwnNewAndDeletePictures)
{
    ADMDialogRef d = floating();
    ADMItemRef add = make(d, 1, kADMPicturePushButtonType, 0, 0, 32, 16);
    ADMItemRef remove = make(d, 2, kADMPicturePushButtonType, 40, 0, 32, 16);
    ADMItemRef greyed = make(d, 3, kADMPicturePushButtonType, 80, 0, 32, 16);
    I().SetPictureID(add, kADMNewEntryPictureID);
    I().SetPictureID(remove, kADMDeleteEntryPictureID);
    I().SetPictureID(greyed, kADMDeleteEntryDisabledPictureID);
    long face = rgbOf(kADMButtonUpColor);
    EXPECT_EQ(pixel(add, 16, 8), 0x2D3640);  // the middle of the plus
    EXPECT_GT(inked(add, face), 30);
    EXPECT_GT(inked(remove, face), 30);
    EXPECT_EQ(pixel(greyed, 16, 4), 0x9AA3AD);  // the lid, greyed
    EXPECT_EQ(pixel(remove, 16, 4), 0x2D3640);
    EXPECT_EQ(pixel(remove, 16, 12), 0x2D3640);  // the bin's bottom, the picture's last row
    EXPECT_EQ(pixel(remove, 16, 13), face);
    // Each picture is drawn the same mirrored left to right (the bin's
    // handle, lid, sides and slats, the plus) about the middle of its item.
    for (ADMItemRef item : {add, remove, greyed})
        for (int y = 3; y < 13; ++y)
            for (int x = 11; x < 16; ++x) EXPECT_EQ(pixel(item, x, y), pixel(item, 31 - x, y)) << x << "," << y;
    EXPECT_TRUE(tk().missingPictures.empty());
    for (ASInt32 id : {kADMNewEntryPictureID, kADMDeleteEntryPictureID, kADMDeleteEntryDisabledPictureID})
        EXPECT_TRUE(tk().hasPicture(id)) << id;
}

TEST_F(ToolkitPictures, AMissingPictureIsALabelledBoxAndIsNoted)
{
    writePicture(9005, 16, 16);
    ADMDialogRef d = floating();
    ADMItemRef button = make(d, 1, kADMPicturePushButtonType, 0, 0, 32, 32);
    I().SetPictureID(button, 4242);
    EXPECT_EQ(pixel(button, 16, 3), rgbOf(kADMLightColor));
    // Filled and framed on all four sides of the place the picture was given.
    ADMItemRef still = make(d, 3, kADMPictureStaticType, 40, 0, 30, 20);
    I().SetPictureID(still, 4242);
    for (auto [x, y] : {std::pair{0, 10}, {29, 10}, {15, 0}, {15, 19}})
        EXPECT_EQ(pixel(still, x, y), rgbOf(kADMShadowColor)) << x << " " << y;
    EXPECT_EQ(pixel(still, 28, 18), rgbOf(kADMLightColor));
    EXPECT_EQ(tk().missingPictures, std::set<ASInt32>{4242});
    EXPECT_FALSE(tk().hasPicture(4242));
    EXPECT_TRUE(tk().hasPicture(9005));

    // Every id handed over is noted, for items, their other states and entries.
    ADMItemRef list = make(d, 2, kADMListBoxType, 0, 40, 200, 60);
    ADMEntryRef entry = L().InsertEntry(I().GetList(list), 0);
    E().SetPictureID(entry, 9005);
    E().SetSelectedPictureID(entry, 9006);
    I().SetDisabledPictureID(button, 9007);
    EXPECT_EQ(tk().pictureIds, (std::set<ASInt32>{4242, 9005, 9006, 9007}));
}

TEST_F(ToolkitPictures, TheDrawerDrawsAPictureAtItsOwnSize)
{
    writePicture(9008, 40, 24);
    ADMDialogRef d = floating();
    ADMItemRef frame = make(d, 1, kADMFrameType, 0, 0, 60, 40);
    static auto drawAt = [](ADMItemRef, ADMDrawerRef drawer) -> ASErr {
        ADMPoint p{5, 5};
        host::suiteTable<ADMDrawerSuite>().DrawPicture(drawer, 9008, &p);
        return kNoErr;
    };
    I().SetDrawProc(frame, drawAt);
    EXPECT_EQ(pixel(frame, 6, 6), 0xFF0000);
    EXPECT_EQ(pixel(frame, 5 + 38, 5 + 22), 0xFF0000);  // far past 16 x 16
}

TEST_F(ToolkitPictures, GroupBoxesLieBehindTheItemsTheyHold)
{
    ADMDialogRef d = floating();
    ADMRect b{0, 0, 100, 200};
    D().SetBoundsRect(d, &b);
    writePicture(9009, 20, 20, 0x0000FF);
    ADMItemRef picture = make(d, 1, kADMPictureStaticType, 20, 20, 20, 20);
    I().SetPictureID(picture, 9009);
    ADMItemRef box = make(d, 2, kADMFrameType, 5, 5, 150, 80);  // made after the item it holds
    I().SetText(box, "Group");
    host::toolkit::Raster out;
    tk().renderDialog(reinterpret_cast<host::toolkit::Dialog*>(d), out);
    EXPECT_EQ(out.pixel(30, 30), 0x0000FF);
    EXPECT_EQ(out.pixel(100, 60), rgbOf(kADMBackgroundColor));  // inside the box: the dialog's colour
    EXPECT_EQ(out.pixel(100, 84), rgbOf(kADMShadowColor));      // its edge
}

}  // namespace
