// The preview as a user gets it: `vantorel-host preview` writes the Plot Out
// dialog's preview frame as a picture, and the README's two sessions (the
// preview saved and checked pixel by pixel, and Preview Options from button
// 51) run through `vantorel-host run`.
#include <cairo.h>

#include <filesystem>

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

// The size of a PNG picture and its 0xRRGGBB at a pixel (-1 when unreadable).
struct Picture {
    explicit Picture(const std::string& path) : surface(cairo_image_surface_create_from_png(path.c_str())) {}
    ~Picture() { cairo_surface_destroy(surface); }
    bool ok() const { return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    long pixel(int x, int y) const
    {
        cairo_surface_flush(surface);
        const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return (long)(*reinterpret_cast<const uint32_t*>(row + 4 * x) & 0xFFFFFF);
    }
    cairo_surface_t* surface;
};

const std::string kSign = VANTOREL_SOURCE_DIR "/samples/open-sign.svg";

TEST(PreviewCommand, WritesThePreviewFrameOfTheJob)
{
    vt::test::TempDir dir;
    ASSERT_EQ(hostToLog(dir, "preview '" + kSign + "' -o '" + dir.file("p.png") + "' --plotter 'Generic 24in Drag Knife'"), 0)
        << vt::test::readFile(dir.file("out.txt"));
    EXPECT_NE(vt::test::readFile(dir.file("out.txt")).find("wrote " + dir.file("p.png") + " (616 x 543 pixels)"),
              std::string::npos)
        << vt::test::readFile(dir.file("out.txt"));
    Picture picture(dir.file("p.png"));
    ASSERT_TRUE(picture.ok());
    EXPECT_EQ(picture.width(), 616);
    EXPECT_EQ(picture.height(), 543);
    EXPECT_EQ(picture.pixel(147, 463), 0x40E040) << "the E's fitted lines";
    EXPECT_EQ(picture.pixel(43, 463), 0xFF0000) << "the O's fitted arcs";

    // The current plotter stays for the next job; by colour changes nothing drawn.
    ASSERT_EQ(hostToLog(dir, "preview '" + kSign + "' -o '" + dir.file("q.png") + "' --by-colour"), 0)
        << vt::test::readFile(dir.file("out.txt"));
    EXPECT_EQ(vt::test::readFile(dir.file("q.png")), vt::test::readFile(dir.file("p.png")));
}

TEST(PreviewCommand, SaysWhyWhenThereIsNoPreview)
{
    vt::test::TempDir dir;
    EXPECT_EQ(hostToLog(dir, "preview '" + kSign + "' -o '" + dir.file("p.png") + "'"), 1);
    EXPECT_NE(vt::test::readFile(dir.file("out.txt")).find("no current plotter is set up"), std::string::npos)
        << vt::test::readFile(dir.file("out.txt"));
    vt::test::writeFile(dir.file("empty.svg"), R"(<svg xmlns="http://www.w3.org/2000/svg" width="10mm" height="10mm"/>)");
    EXPECT_EQ(hostToLog(dir, "preview '" + dir.file("empty.svg") + "' -o '" + dir.file("p.png") + "' --plotter 'Generic 24in Drag Knife'"), 1);
    EXPECT_NE(vt::test::readFile(dir.file("out.txt")).find("nothing to cut"), std::string::npos)
        << vt::test::readFile(dir.file("out.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.png")));
}

TEST(PreviewCommand, TheReadmeSessionsRunAndFindEveryPixelWhereTheyExpectIt)
{
    vt::test::TempDir dir;
    ASSERT_EQ(hostToLog(dir, "setup --plotter 'Generic 24in Drag Knife'"), 0) << vt::test::readFile(dir.file("out.txt"));
    for (const char* file : {"open-sign.svg", "preview.vts", "preview-options.vts"})
        std::filesystem::copy_file(std::string(VANTOREL_SOURCE_DIR "/samples/") + file, dir.file(file));
    for (const char* session : {"preview.vts", "preview-options.vts"}) {
        SCOPED_TRACE(session);
        EXPECT_EQ(hostToLog(dir, std::string("run '") + dir.file(session) + "'"), 0)
            << vt::test::readFile(dir.file("out.txt"));
        EXPECT_EQ(vt::test::readFile(dir.file("out.txt")).find("alert"), std::string::npos);
    }
    EXPECT_TRUE(Picture(dir.file("preview.png")).ok());
    EXPECT_TRUE(Picture(dir.file("options.png")).ok());
    Picture filled(dir.file("preview-filled.png"));
    ASSERT_TRUE(filled.ok());
    EXPECT_EQ(filled.pixel(153, 480), 0xC01C28);
}

}  // namespace
