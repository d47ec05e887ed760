#include "Toolkit/Paint.h"

#include <cstdio>
#include <filesystem>
#include <functional>

#include "Toolkit/Fonts.h"

namespace vt::host::toolkit {

static void setColor(cairo_t* cr, ADMColor color)
{
    uint32_t rgb = rgbOf(color);
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// Paints a path in the drawer's colour, or XORs the colour into the pixels
// the path covers.
static void paint(Drawer& d, const std::function<void(cairo_t*)>& path, bool fill)
{
    if (!d.cr) return;
    if (d.mode != kADMXORMode) {
        cairo_save(d.cr);
        cairo_translate(d.cr, d.offsetX, d.offsetY);
        setColor(d.cr, d.color);
        cairo_set_line_width(d.cr, 1.0);
        // Lines cover both of their end pixels.
        cairo_set_line_cap(d.cr, CAIRO_LINE_CAP_SQUARE);
        path(d.cr);
        if (fill)
            cairo_fill(d.cr);
        else
            cairo_stroke(d.cr);
        cairo_restore(d.cr);
        return;
    }
    Raster* r = d.raster;
    if (!r || !r->surface()) return;
    int w = r->width(), h = r->height();
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t* mc = cairo_create(mask);
    cairo_set_antialias(mc, CAIRO_ANTIALIAS_NONE);
    cairo_translate(mc, d.offsetX, d.offsetY);
    cairo_set_line_width(mc, 1.0);
    cairo_set_line_cap(mc, CAIRO_LINE_CAP_SQUARE);
    cairo_set_source_rgba(mc, 0, 0, 0, 1);
    path(mc);
    if (fill)
        cairo_fill(mc);
    else
        cairo_stroke(mc);
    cairo_destroy(mc);
    cairo_surface_flush(mask);
    cairo_surface_flush(r->surface());
    uint32_t rgb = rgbOf(d.color);
    unsigned char* md = cairo_image_surface_get_data(mask);
    int ms = cairo_image_surface_get_stride(mask);
    unsigned char* rd = cairo_image_surface_get_data(r->surface());
    int rs = cairo_image_surface_get_stride(r->surface());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (md[y * ms + x] >= 128) {
                uint32_t* p = reinterpret_cast<uint32_t*>(rd + y * rs + x * 4);
                *p = (*p ^ rgb) | 0xFF000000u;
            }
    cairo_surface_mark_dirty(r->surface());
    cairo_surface_destroy(mask);
}

void paintLine(Drawer& d, int x1, int y1, int x2, int y2)
{
    paint(d,
          [=](cairo_t* cr) {
              if (x1 == x2 && y1 == y2) {
                  cairo_rectangle(cr, x1, y1, 1, 1);
                  return;
              }
              cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
              cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
          },
          x1 == x2 && y1 == y2);
}

void paintRect(Drawer& d, const ADMRect& r, bool fill)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    paint(d,
          [=](cairo_t* cr) {
              if (fill)
                  cairo_rectangle(cr, r.left, r.top, w, h);
              else
                  cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, w - 1, h - 1);
          },
          fill);
}

void paintOval(Drawer& d, const ADMRect& r, bool fill)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    paint(d,
          [=](cairo_t* cr) {
              double inset = fill ? 0.0 : 0.5;
              double rw = (w - 2 * inset) / 2.0, rh = (h - 2 * inset) / 2.0;
              if (rw <= 0 || rh <= 0) {
                  cairo_rectangle(cr, r.left, r.top, 1, 1);
                  return;
              }
              cairo_save(cr);
              cairo_translate(cr, r.left + w / 2.0, r.top + h / 2.0);
              cairo_scale(cr, rw, rh);
              cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979);
              cairo_restore(cr);
          },
          fill);
}

void paintPolygon(Drawer& d, const ADMPoint* points, int count, bool fill)
{
    if (!points || count <= 0) return;
    std::vector<ADMPoint> p(points, points + count);
    paint(d,
          [p, fill](cairo_t* cr) {
              double o = fill ? 0.0 : 0.5;
              cairo_move_to(cr, p[0].h + o, p[0].v + o);
              for (size_t i = 1; i < p.size(); ++i) cairo_line_to(cr, p[i].h + o, p[i].v + o);
              cairo_close_path(cr);
          },
          fill);
}

// The toolkit's first font, DejaVu Sans (see Fonts.h).
static cairo_font_face_t* toolkitFont() { return primaryFontFace(); }

// The size of every text the toolkit draws, in pixels.
constexpr double kTextSize = 11;

static void selectFont(cairo_t* cr, double size = kTextSize)
{
    if (cairo_font_face_t* face = toolkitFont())
        cairo_set_font_face(cr, face);
    else
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

// Text goes out in runs of one font each: DejaVu Sans wherever it has the
// glyph, the fallback font for the characters it lacks. A text DejaVu Sans
// can draw is one run drawn exactly as before the fallback existed.
void paintText(Drawer& d, const std::string& text, int x, int y)
{
    if (!d.cr || text.empty()) return;
    std::vector<FontRun> runs = fontRuns(text);
    if (d.mode == kADMXORMode) {
        paint(d,
              [=](cairo_t* cr) {
                  cairo_move_to(cr, x, y);
                  showRuns(cr, runs, kTextSize, true);
              },
              true);
        return;
    }
    cairo_save(d.cr);
    cairo_translate(d.cr, d.offsetX, d.offsetY);
    setColor(d.cr, d.color);
    cairo_move_to(d.cr, x, y);
    showRuns(d.cr, runs, kTextSize);
    cairo_restore(d.cr);
}

int textWidth(Drawer& d, const std::string& text)
{
    if (!d.cr) return 0;
    return static_cast<int>(runsAdvance(d.cr, fontRuns(text), kTextSize) + 0.5);
}

// The toolkit's own pictures, drawn in the plug-in pictures' line style: new
// entry (a plus), delete entry (a bin) and the bin greyed out. Whole pixels,
// centred in the box.
static void paintBuiltInPicture(cairo_t* cr, ASInt32 id, int x, int y, int w, int h, double alpha)
{
    uint32_t ink = id == kADMDeleteEntryDisabledPictureID ? 0x9AA3AD : 0x2D3640;
    cairo_set_source_rgba(cr, ((ink >> 16) & 0xFF) / 255.0, ((ink >> 8) & 0xFF) / 255.0, (ink & 0xFF) / 255.0, alpha);
    int left = x + (w - 10) / 2, top = y + (h - 10) / 2;
    auto box = [&](int bx, int by, int bw, int bh) { cairo_rectangle(cr, left + bx, top + by, bw, bh); };
    if (id == kADMNewEntryPictureID) {
        box(4, 0, 2, 10);  // a plus, 10 pixels across
        box(0, 4, 10, 2);
    } else {
        box(3, 0, 4, 1);   // handle
        box(0, 1, 10, 2);  // lid
        box(1, 3, 1, 7);   // the bin's sides and bottom
        box(8, 3, 1, 7);
        box(2, 9, 6, 1);
        box(3, 5, 1, 3);  // two slats
        box(6, 5, 1, 3);
    }
    cairo_fill(cr);
}

bool hasBuiltInPicture(ASInt32 id)
{
    return id == kADMNewEntryPictureID || id == kADMDeleteEntryPictureID || id == kADMDeleteEntryDisabledPictureID;
}

void paintPicture(Drawer& d, ASInt32 id, int x, int y, int w, int h, bool dimmed)
{
    if (!d.cr || id == 0) return;
    // An inactive item without a picture of its own for that state shows its
    // picture faded, as the platform's toolkits do.
    double alpha = dimmed ? 0.35 : 1.0;
    if (hasBuiltInPicture(id)) {
        cairo_save(d.cr);
        cairo_translate(d.cr, d.offsetX, d.offsetY);
        int bw = w > 0 ? w : 16, bh = h > 0 ? h : 16;
        cairo_rectangle(d.cr, x, y, bw, bh);
        cairo_clip(d.cr);
        paintBuiltInPicture(d.cr, id, x, y, bw, bh, alpha);
        cairo_restore(d.cr);
        return;
    }
    std::string path = Toolkit::get().picturePath(id);
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
        if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
            // A picture is drawn at its own size, centred in the place the
            // item gives it (w or h 0: at x, y, as the drawer's DrawPicture).
            int iw = cairo_image_surface_get_width(image), ih = cairo_image_surface_get_height(image);
            int bw = w > 0 ? w : iw, bh = h > 0 ? h : ih;
            int px = x + (bw - iw) / 2, py = y + (bh - ih) / 2;
            cairo_save(d.cr);
            cairo_translate(d.cr, d.offsetX, d.offsetY);
            cairo_rectangle(d.cr, x, y, bw, bh);
            cairo_clip(d.cr);
            cairo_set_source_surface(d.cr, image, px, py);
            cairo_paint_with_alpha(d.cr, alpha);
            cairo_restore(d.cr);
            cairo_surface_destroy(image);
            return;
        }
        cairo_surface_destroy(image);
    }
    // No such resource here: a box that says which picture belongs there.
    Toolkit::get().missingPictures.insert(id);
    if (w <= 0 || h <= 0) w = h = 16;
    Drawer box = d;
    box.mode = kADMNormalMode;
    box.color = kADMLightColor;
    paintRect(box, ADMRect{static_cast<ASInt16>(y), static_cast<ASInt16>(x), static_cast<ASInt16>(y + h),
                           static_cast<ASInt16>(x + w)},
              true);
    box.color = kADMShadowColor;
    paintRect(box, ADMRect{static_cast<ASInt16>(y), static_cast<ASInt16>(x), static_cast<ASInt16>(y + h),
                           static_cast<ASInt16>(x + w)},
              false);
    if (w >= 24 && h >= 12) {
        cairo_save(d.cr);
        cairo_translate(d.cr, d.offsetX, d.offsetY);
        cairo_rectangle(d.cr, x, y, w, h);
        cairo_clip(d.cr);
        setColor(d.cr, kADMShadowColor);
        selectFont(d.cr, 8);
        cairo_move_to(d.cr, x + 2, y + h / 2 + 3);
        cairo_show_text(d.cr, std::to_string(id).c_str());
        cairo_restore(d.cr);
    }
}

void record(Drawer& d, const std::string& call)
{
    if (!d.calls) return;
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, " color=0x%06X%s", static_cast<unsigned>(rgbOf(d.color)),
                  d.mode == kADMXORMode ? " xor" : "");
    d.calls->push_back(call + suffix);
}

}  // namespace vt::host::toolkit
