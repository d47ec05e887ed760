// Text drawn with the toolkit's first font alone, DejaVu Sans Condensed, loaded
// here on its own, at the toolkit's size. A picture the toolkit draws of a
// text that font holds must match it pixel for pixel; a picture of Han, kana
// or Hangul must not (the first font alone draws boxes).
#pragma once

#include <cairo-ft.h>
#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "Toolkit/Toolkit.h"

namespace vt::test {

inline cairo_font_face_t* dejaVuAlone()
{
    static cairo_font_face_t* face = [] {
        static FT_Library library = nullptr;
        static FT_Face ft = nullptr;
        if (FT_Init_FreeType(&library) != 0) return static_cast<cairo_font_face_t*>(nullptr);
        if (FT_New_Face(library, "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf", 0, &ft) != 0)
            return static_cast<cairo_font_face_t*>(nullptr);
        return cairo_ft_font_face_create_for_ft_face(ft, 0);
    }();
    return face;
}

// A width x height picture filled with background, text at (x, baseline) in
// colour, as 0xRRGGBB pixels compared through Raster.
inline void drawWithDejaVuAlone(host::toolkit::Raster& out, int width, int height, ADMColor background,
                                ADMColor color, const std::string& text, int x, int baseline)
{
    out.ensure(width, height);
    cairo_t* cr = cairo_create(out.surface());
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    auto source = [&](ADMColor c) {
        uint32_t rgb = host::toolkit::rgbOf(c);
        cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
    };
    source(background);
    cairo_paint(cr);
    source(color);
    cairo_set_font_face(cr, dejaVuAlone());
    cairo_set_font_size(cr, 11);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text.c_str());
    cairo_destroy(cr);
}

inline double dejaVuAloneAdvance(const std::string& text)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* cr = cairo_create(s);
    cairo_set_font_face(cr, dejaVuAlone());
    cairo_set_font_size(cr, 11);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return e.x_advance;
}

// The pixels in which two pictures of one size differ.
inline int differingPixels(const host::toolkit::Raster& a, const host::toolkit::Raster& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return n;
}

// Pixels darker than mid-grey: ink.
inline int inkIn(const host::toolkit::Raster& r, int left, int top, int right, int bottom)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            long p = r.pixel(x, y);
            n += p >= 0 && (p & 0xFF) < 0x60 && ((p >> 8) & 0xFF) < 0x60 ? 1 : 0;
        }
    return n;
}

}  // namespace vt::test
