// The output preview, end to end: the Plot Out dialog's preview button writes
// the job to the plug-in folder's preview file and the replay plays it to the
// end; its last picture shows the whole job.
#include <cairo.h>

#include "HostRun.h"

namespace {

using vt::test::hostToLog;

// Dark pixels in the left and right halves of a picture.
std::pair<int, int> darkPixels(const std::string& png)
{
    cairo_surface_t* surface = cairo_image_surface_create_from_png(png.c_str());
    std::pair<int, int> count{0, 0};
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(surface);
        int width = cairo_image_surface_get_width(surface);
        int height = cairo_image_surface_get_height(surface);
        int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint32_t pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + 4 * x);
                int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
                if (r + g + b < 200) (x < width / 2 ? count.first : count.second)++;
            }
    }
    cairo_surface_destroy(surface);
    return count;
}

TEST(PreviewRoad, ThePreviewButtonReplaysTheJobJustWrittenToItsEnd)
{
    vt::test::TempDir dir;
    // A first job chooses the current plotter.
    ASSERT_EQ(hostToLog(dir, "plot '" VANTOREL_SOURCE_DIR "/samples/open-sign.svg' -o '" + dir.file("job.hpgl") +
                               "' --plotter 'Generic 24in Drag Knife'"),
              0)
        << vt::test::readFile(dir.file("out.txt"));

    vt::test::writeFile(dir.file("preview.vts"), "open \"" VANTOREL_SOURCE_DIR R"(/samples/open-sign.svg"
select all
dialog "Plot Out Dialog"
  click 71
  click 74
end-dialog
dialog "Preview Dialog"
  click 3
  wait 0 5000
  save-picture preview.png 1
  click 12
end-dialog
menu "Plot Out"
)");
    ASSERT_EQ(hostToLog(dir, "run '" + dir.file("preview.vts") + "'"), 0) << vt::test::readFile(dir.file("out.txt"));
    EXPECT_EQ(vt::test::readFile(dir.file("Plug-ins/~Temp.hpgl")).rfind("IN;", 0), 0u);
    auto dark = darkPixels(dir.file("preview.png"));
    EXPECT_GT(dark.first, 200) << "the left of the job (the O) is drawn";
    EXPECT_GT(dark.second, 200) << "the right of the job (the N) is drawn";
}

}  // namespace
