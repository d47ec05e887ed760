#include "Toolkit/Paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <unordered_map>
#include <vector>

#include "Toolkit/Fonts.h"

namespace vt::host::toolkit {

static void setColor(cairo_t* cr, ADMColor color)
{
    uint32_t rgb = rgbOf(color);
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

// The pixels a path covers, as cairo draws it aliased (a line one pixel wide
// covering both end pixels), moved by (dx, dy) into a new mask of width x
// height; a pixel is covered where the mask is 128 or more.
template <typename Path>
static cairo_surface_t* coverage(int width, int height, int dx, int dy, const Path& path, bool fill)
{
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* mc = cairo_create(mask);
    cairo_set_antialias(mc, CAIRO_ANTIALIAS_NONE);
    cairo_translate(mc, dx, dy);
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
    return mask;
}

// Paints a path in the drawer's colour, or XORs the colour into the pixels
// the path covers.
template <typename Path>
static void paint(Drawer& d, const Path& path, bool fill)
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
    // The covered pixels are found in a mask over the path's box only.
    cairo_surface_t* probe = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* pc = cairo_create(probe);
    cairo_translate(pc, d.offsetX, d.offsetY);
    cairo_set_line_width(pc, 1.0);
    cairo_set_line_cap(pc, CAIRO_LINE_CAP_SQUARE);
    path(pc);
    double x1, y1, x2, y2;
    if (fill)
        cairo_fill_extents(pc, &x1, &y1, &x2, &y2);
    else
        cairo_stroke_extents(pc, &x1, &y1, &x2, &y2);
    cairo_destroy(pc);
    cairo_surface_destroy(probe);
    int left = std::max(0, static_cast<int>(std::floor(x1)) - 1), top = std::max(0, static_cast<int>(std::floor(y1)) - 1);
    int right = std::min(w, static_cast<int>(std::ceil(x2)) + 1), bottom = std::min(h, static_cast<int>(std::ceil(y2)) + 1);
    if (right <= left || bottom <= top) return;
    cairo_surface_t* mask = coverage(right - left, bottom - top, d.offsetX - left, d.offsetY - top, path, fill);
    cairo_surface_flush(r->surface());
    uint32_t rgb = rgbOf(d.color);
    unsigned char* md = cairo_image_surface_get_data(mask);
    int ms = cairo_image_surface_get_stride(mask);
    unsigned char* rd = cairo_image_surface_get_data(r->surface());
    int rs = cairo_image_surface_get_stride(r->surface());
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (md[(y - top) * ms + (x - left)] >= 128) {
                uint32_t* p = reinterpret_cast<uint32_t*>(rd + y * rs + x * 4);
                *p = (*p ^ rgb) | 0xFF000000u;
            }
    cairo_surface_mark_dirty(r->surface());
    cairo_surface_destroy(mask);
}

// ---- Stamps ----------------------------------------------------------------------------
//
// A short line or a small oval is drawn by cairo once, into a mask, and its
// pixels are kept by shape; every later one of that shape is put down from the
// kept pixels. Aliased rasterization does not change when a shape moves by
// whole pixels, so the pixels are exactly those cairo would draw, at a small
// part of the cost: a large job's preview draws hundreds of thousands.

namespace {

struct Stamp {
    std::vector<std::pair<int16_t, int16_t>> pixels;  // relative to the shape's anchor
    int left = 0, top = 0, right = 0, bottom = 0;     // the box of the pixels, edges included
};

// Lines up to this far in each direction, ovals up to twice this size, are stamped.
constexpr int kStampReach = 64;

// Key of a kept stamp: its kind (0 line, 1 framed oval, 2 filled oval) and two sizes.
uint64_t stampKey(int kind, int a, int b)
{
    return (static_cast<uint64_t>(kind) << 40) | (static_cast<uint64_t>(static_cast<uint32_t>(a + 0x8000) & 0xFFFFF) << 20) |
           (static_cast<uint32_t>(b + 0x8000) & 0xFFFFF);
}

std::unordered_map<uint64_t, Stamp>& stamps()
{
    static std::unordered_map<uint64_t, Stamp> kept;
    return kept;
}

template <typename Path>
Stamp makeStamp(int width, int height, int anchorX, int anchorY, const Path& path, bool fill)
{
    Stamp stamp;
    cairo_surface_t* mask = coverage(width, height, anchorX, anchorY, path, fill);
    const unsigned char* md = cairo_image_surface_get_data(mask);
    int ms = cairo_image_surface_get_stride(mask);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (md[y * ms + x] >= 128) {
                int px = x - anchorX, py = y - anchorY;
                if (stamp.pixels.empty()) {
                    stamp.left = stamp.right = px;
                    stamp.top = stamp.bottom = py;
                }
                stamp.left = std::min(stamp.left, px);
                stamp.right = std::max(stamp.right, px);
                stamp.top = std::min(stamp.top, py);
                stamp.bottom = std::max(stamp.bottom, py);
                stamp.pixels.emplace_back(static_cast<int16_t>(px), static_cast<int16_t>(py));
            }
    cairo_surface_destroy(mask);
    return stamp;
}

void linePath(cairo_t* cr, int x1, int y1, int x2, int y2)
{
    if (x1 == x2 && y1 == y2) {
        cairo_rectangle(cr, x1, y1, 1, 1);
        return;
    }
    cairo_move_to(cr, x1 + 0.5, y1 + 0.5);
    cairo_line_to(cr, x2 + 0.5, y2 + 0.5);
}

void ovalPath(cairo_t* cr, const ADMRect& r, bool fill)
{
    int w = r.right - r.left, h = r.bottom - r.top;
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
}

// The pixels of a line from (0, 0) to (dx, dy).
const Stamp& lineStamp(int dx, int dy)
{
    uint64_t key = stampKey(0, dx, dy);
    auto found = stamps().find(key);
    if (found != stamps().end()) return found->second;
    int ax = dx < 0 ? 1 - dx : 1, ay = dy < 0 ? 1 - dy : 1;
    Stamp made = makeStamp(std::abs(dx) + 3, std::abs(dy) + 3, ax, ay,
                           [=](cairo_t* cr) { linePath(cr, 0, 0, dx, dy); }, dx == 0 && dy == 0);
    return stamps().emplace(key, std::move(made)).first->second;
}

// The pixels of an oval framed or filled in the rectangle (0, 0, h, w).
const Stamp& ovalStamp(int w, int h, bool fill)
{
    uint64_t key = stampKey(fill ? 2 : 1, w, h);
    auto found = stamps().find(key);
    if (found != stamps().end()) return found->second;
    ADMRect r{0, 0, static_cast<ASInt16>(h), static_cast<ASInt16>(w)};
    Stamp made = makeStamp(w + 2, h + 2, 1, 1, [=](cairo_t* cr) { ovalPath(cr, r, fill); }, fill);
    return stamps().emplace(key, std::move(made)).first->second;
}

// Where the drawer may write pixels itself: its raster, within the clip of
// its cairo context (rectangles, as the toolkit clips). False when it cannot.
struct Box {
    int left, top, right, bottom;
};

bool directTarget(Drawer& d, Box& clip)
{
    if (!Toolkit::get().stampShapes || !d.cr || !d.raster || !d.raster->surface()) return false;
    if (cairo_get_target(d.cr) != d.raster->surface()) return false;
    clip = Box{0, 0, d.raster->width(), d.raster->height()};
    if (d.mode != kADMXORMode) {
        // XOR drawing has always ignored the clip; normal drawing keeps to it.
        double x1, y1, x2, y2;
        cairo_clip_extents(d.cr, &x1, &y1, &x2, &y2);
        clip.left = std::max(clip.left, static_cast<int>(std::ceil(x1)));
        clip.top = std::max(clip.top, static_cast<int>(std::ceil(y1)));
        clip.right = std::min(clip.right, static_cast<int>(std::floor(x2)));
        clip.bottom = std::min(clip.bottom, static_cast<int>(std::floor(y2)));
    }
    return true;
}

// Puts the pixels at (x, y) of the drawer's area in its colour and mode.
class PixelWriter {
public:
    PixelWriter(Drawer& d, const Box& clip) : d_(d), clip_(clip)
    {
        surface_ = d.raster->surface();
        cairo_surface_flush(surface_);
        data_ = cairo_image_surface_get_data(surface_);
        stride_ = cairo_image_surface_get_stride(surface_);
        rgb_ = rgbOf(d.color);
        xor_ = d.mode == kADMXORMode;
    }
    ~PixelWriter() { cairo_surface_mark_dirty(surface_); }
    void put(int x, int y)
    {
        x += d_.offsetX;
        y += d_.offsetY;
        if (x < clip_.left || y < clip_.top || x >= clip_.right || y >= clip_.bottom) return;
        uint32_t* p = reinterpret_cast<uint32_t*>(data_ + y * stride_ + x * 4);
        *p = xor_ ? (*p ^ rgb_) | 0xFF000000u : rgb_ | 0xFF000000u;
    }
    // Whether the box lies wholly inside the clip. Cairo cuts a shape that
    // crosses the edge of what it draws into a little differently from the
    // same shape drawn whole, so only whole shapes are stamped.
    bool holds(int left, int top, int right, int bottom) const
    {
        return left + d_.offsetX >= clip_.left && top + d_.offsetY >= clip_.top && right + d_.offsetX < clip_.right &&
               bottom + d_.offsetY < clip_.bottom;
    }
    bool holds(const Stamp& s, int x, int y) const { return holds(x + s.left, y + s.top, x + s.right, y + s.bottom); }
    void stamp(const Stamp& s, int x, int y)
    {
        for (const auto& p : s.pixels) put(x + p.first, y + p.second);
    }
    // A run of pixels from (x, y) to (x + w - 1, y), cut to the clip.
    void row(int x, int y, int w)
    {
        int left = std::max(x + d_.offsetX, clip_.left), right = std::min(x + w + d_.offsetX, clip_.right);
        int yy = y + d_.offsetY;
        if (yy < clip_.top || yy >= clip_.bottom) return;
        for (int xx = left; xx < right; ++xx) {
            uint32_t* p = reinterpret_cast<uint32_t*>(data_ + yy * stride_ + xx * 4);
            *p = xor_ ? (*p ^ rgb_) | 0xFF000000u : rgb_ | 0xFF000000u;
        }
    }
    void column(int x, int y, int h)
    {
        for (int yy = y; yy < y + h; ++yy) put(x, yy);
    }

private:
    Drawer& d_;
    Box clip_;
    cairo_surface_t* surface_;
    unsigned char* data_;
    int stride_;
    uint32_t rgb_;
    bool xor_;
};

}  // namespace

void paintLine(Drawer& d, int x1, int y1, int x2, int y2)
{
    int dx = x2 - x1, dy = y2 - y1;
    Box clip;
    if ((dx == 0 || dy == 0 || (std::abs(dx) <= kStampReach && std::abs(dy) <= kStampReach)) && directTarget(d, clip)) {
        PixelWriter out(d, clip);
        if (dx == 0 || dy == 0) {
            // A line covers both of its end pixels.
            int left = std::min(x1, x2), top = std::min(y1, y2), right = std::max(x1, x2), bottom = std::max(y1, y2);
            if (out.holds(left, top, right, bottom)) {
                if (dy == 0)
                    out.row(left, y1, right - left + 1);
                else
                    out.column(x1, top, bottom - top + 1);
                return;
            }
        } else {
            const Stamp& stamp = lineStamp(dx, dy);
            if (out.holds(stamp, x1, y1)) {
                out.stamp(stamp, x1, y1);
                return;
            }
        }
    }
    paint(d, [=](cairo_t* cr) { linePath(cr, x1, y1, x2, y2); }, x1 == x2 && y1 == y2);
}

void paintRect(Drawer& d, const ADMRect& r, bool fill)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    Box clip;
    if ((fill || (w >= 2 && h >= 2)) && directTarget(d, clip)) {
        PixelWriter out(d, clip);
        if (out.holds(r.left, r.top, r.right - 1, r.bottom - 1)) {
            if (fill) {
                for (int y = r.top; y < r.bottom; ++y) out.row(r.left, y, w);
            } else {
                // The outline runs through the rectangle's outermost pixels.
                out.row(r.left, r.top, w);
                out.row(r.left, r.bottom - 1, w);
                out.column(r.left, r.top + 1, h - 2);
                out.column(r.right - 1, r.top + 1, h - 2);
            }
            return;
        }
    }
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
    Box clip;
    if (w <= 2 * kStampReach && h <= 2 * kStampReach && directTarget(d, clip)) {
        PixelWriter out(d, clip);
        const Stamp& stamp = ovalStamp(w, h, fill);
        if (out.holds(stamp, r.left, r.top)) {
            out.stamp(stamp, r.left, r.top);
            return;
        }
    }
    paint(d, [=](cairo_t* cr) { ovalPath(cr, r, fill); }, fill);
}

void paintPolygon(Drawer& d, const ADMPoint* points, int count, bool fill)
{
    if (!points || count <= 0) return;
    std::vector<ADMPoint> p(points, points + count);
    paint(d,
          [&p, fill](cairo_t* cr) {
              double o = fill ? 0.0 : 0.5;
              cairo_move_to(cr, p[0].h + o, p[0].v + o);
              for (size_t i = 1; i < p.size(); ++i) cairo_line_to(cr, p[i].h + o, p[i].v + o);
              cairo_close_path(cr);
          },
          fill);
}

// The toolkit's first font, DejaVu Sans Condensed (see Fonts.h).
static cairo_font_face_t* toolkitFont() { return primaryFontFace(); }

static void selectFont(cairo_t* cr, double size = kTextSize)
{
    if (cairo_font_face_t* face = toolkitFont())
        cairo_set_font_face(cr, face);
    else
        cairo_select_font_face(cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

// Text goes out in runs of one font each: DejaVu Sans Condensed wherever it
// has the glyph, the fallback font for the characters it lacks. A text the
// first font can draw is one run, drawn as that font alone draws it.
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

int textWidth(const std::string& text) { return static_cast<int>(measureText(text, kTextSize).advance + 0.5); }

int textWidth(Drawer& d, const std::string& text) { return d.cr ? textWidth(text) : 0; }

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
    // A disabled item without a picture of its own for that state shows its
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

bool recording(const Drawer& d)
{
    return d.calls && d.calls->size() < Toolkit::get().callRecordLimit;
}

void record(Drawer& d, const std::string& call)
{
    if (!recording(d)) return;
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, " color=0x%06X%s", static_cast<unsigned>(rgbOf(d.color)),
                  d.mode == kADMXORMode ? " xor" : "");
    d.calls->push_back(call + suffix);
}

}  // namespace vt::host::toolkit
