#include "Toolkit/Paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <unordered_map>
#include <unordered_set>
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
    if (d.raster) d.raster->endDirectWrites();
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

// A run of pixels along a row: (x, y) to (x + length - 1, y).
struct PixelRun {
    int16_t x, y, length;
};

// The pixels are kept as runs along rows: a filled shape (a ring's outline
// filled, kept by the tens of thousands) takes a run per row where a pixel
// each took a place of its own, and is put down row by row.
struct Stamp {
    std::vector<PixelRun> runs;                    // relative to the shape's anchor, row by row
    int left = 0, top = 0, right = 0, bottom = 0;  // the box of the pixels, edges included
};

// A line's or an oval's stamp also keeps its pixels as places in the rows of
// a raster: a disc marker's ovals and a ring's short slanted lines put down
// a pixel or two a row, where reading and placing each run costs more than
// its pixels. The places hold for one row length (every item of one width
// shares it) and are worked out again when a raster of another is drawn into.
struct ShapeStamp {
    Stamp stamp;
    std::vector<int32_t> places;  // bytes from the anchor's pixel, pixel by pixel
    int stride = 0;               // the row length the places were worked out for; 0: none yet

    const std::vector<int32_t>& placesFor(int rowBytes)
    {
        if (stride != rowBytes) {
            places.clear();
            for (const PixelRun& run : stamp.runs)
                for (int k = 0; k < run.length; ++k) places.push_back(run.y * rowBytes + (run.x + k) * 4);
            stride = rowBytes;
        }
        return places;
    }
};

// Lines up to this far in each direction, ovals up to twice this size, are stamped.
constexpr int kStampReach = 64;

// Key of a kept stamp: its kind (0 line, 1 framed oval, 2 filled oval) and two sizes.
uint64_t stampKey(int kind, int a, int b)
{
    return (static_cast<uint64_t>(kind) << 40) | (static_cast<uint64_t>(static_cast<uint32_t>(a + 0x8000) & 0xFFFFF) << 20) |
           (static_cast<uint32_t>(b + 0x8000) & 0xFFFFF);
}

std::unordered_map<uint64_t, ShapeStamp>& stamps()
{
    static std::unordered_map<uint64_t, ShapeStamp> kept;
    return kept;
}

// The stamps used last, by a few bits of their key, before the kept ones are
// searched: a preview puts down the same few marker and line stamps hundreds
// of thousands of times. Stamps are never let go, so the pointers hold.
struct RecentStamp {
    uint64_t key = ~0ull;
    ShapeStamp* stamp = nullptr;
};

RecentStamp& recentStamp(uint64_t key)
{
    // The key's bits mixed by a multiplication: the kinds and sizes a
    // marker is made of (a disc's ovals of equal width and height) fall on
    // different places, where an exclusive or of the two sizes put them all
    // on one.
    static RecentStamp recent[256];
    return recent[(key * 0x9E3779B97F4A7C15ull) >> 56];
}

// The stamp of the key, made by `make` when there is none yet.
template <typename Make>
ShapeStamp& stampOf(uint64_t key, const Make& make)
{
    RecentStamp& recent = recentStamp(key);
    if (recent.key == key) return *recent.stamp;
    auto& kept = stamps();
    auto found = kept.find(key);
    if (found == kept.end()) found = kept.emplace(key, ShapeStamp{make(), {}, 0}).first;
    recent.key = key;
    recent.stamp = &found->second;
    return found->second;
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
                if (stamp.runs.empty()) {
                    stamp.left = stamp.right = px;
                    stamp.top = stamp.bottom = py;
                }
                stamp.left = std::min(stamp.left, px);
                stamp.right = std::max(stamp.right, px);
                stamp.top = std::min(stamp.top, py);
                stamp.bottom = std::max(stamp.bottom, py);
                PixelRun* last = stamp.runs.empty() ? nullptr : &stamp.runs.back();
                if (last && last->y == py && last->x + last->length == px)
                    ++last->length;
                else
                    stamp.runs.push_back(PixelRun{static_cast<int16_t>(px), static_cast<int16_t>(py), 1});
            }
    cairo_surface_destroy(mask);
    stamp.runs.shrink_to_fit();
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
ShapeStamp& lineStamp(int dx, int dy)
{
    return stampOf(stampKey(0, dx, dy), [=] {
        int ax = dx < 0 ? 1 - dx : 1, ay = dy < 0 ? 1 - dy : 1;
        return makeStamp(std::abs(dx) + 3, std::abs(dy) + 3, ax, ay, [=](cairo_t* cr) { linePath(cr, 0, 0, dx, dy); },
                         dx == 0 && dy == 0);
    });
}

// The pixels of an oval framed or filled in the rectangle (0, 0, h, w).
ShapeStamp& ovalStamp(int w, int h, bool fill)
{
    return stampOf(stampKey(fill ? 2 : 1, w, h), [=] {
        ADMRect r{0, 0, static_cast<ASInt16>(h), static_cast<ASInt16>(w)};
        return makeStamp(w + 2, h + 2, 1, 1, [=](cairo_t* cr) { ovalPath(cr, r, fill); }, fill);
    });
}

// Where the drawer may write pixels itself: its raster, within the clip of
// its cairo context (rectangles, as the toolkit clips). False when it cannot.
struct Box {
    int left, top, right, bottom;
};

bool directTarget(const Drawer& d, Box& clip)
{
    if (!d.direct) return false;
    clip = Box{0, 0, d.raster->width(), d.raster->height()};
    if (d.mode != kADMXORMode && d.clipKnown) {
        clip.left = std::max(clip.left, d.clipLeft);
        clip.top = std::max(clip.top, d.clipTop);
        clip.right = std::min(clip.right, d.clipRight);
        clip.bottom = std::min(clip.bottom, d.clipBottom);
    } else if (d.mode != kADMXORMode) {
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
        d.raster->beginDirectWrites();
        data_ = d.raster->data();
        stride_ = d.raster->stride();
        rgb_ = rgbOf(d.color);
        xor_ = d.mode == kADMXORMode;
    }
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
    // A stamp that holds() found wholly inside the clip: no pixel needs the
    // clip's test.
    void stamp(const Stamp& s, int x, int y)
    {
        unsigned char* origin = data_ + (y + d_.offsetY) * stride_ + (x + d_.offsetX) * 4;
        uint32_t colour = rgb_ | 0xFF000000u;
        if (xor_) {
            for (const PixelRun& run : s.runs) {
                uint32_t* q = reinterpret_cast<uint32_t*>(origin + run.y * stride_ + run.x * 4);
                for (int k = 0; k < run.length; ++k) q[k] = (q[k] ^ rgb_) | 0xFF000000u;
            }
        } else {
            for (const PixelRun& run : s.runs) {
                uint32_t* q = reinterpret_cast<uint32_t*>(origin + run.y * stride_ + run.x * 4);
                for (int k = 0; k < run.length; ++k) q[k] = colour;
            }
        }
    }
    // The same for a line or an oval, from its pixels' places in this raster's rows.
    void stamp(ShapeStamp& s, int x, int y)
    {
        unsigned char* origin = data_ + (y + d_.offsetY) * stride_ + (x + d_.offsetX) * 4;
        uint32_t colour = rgb_ | 0xFF000000u;
        const std::vector<int32_t>& places = s.placesFor(stride_);
        if (xor_) {
            for (int32_t place : places) {
                uint32_t* q = reinterpret_cast<uint32_t*>(origin + place);
                *q = (*q ^ rgb_) | 0xFF000000u;
            }
        } else {
            for (int32_t place : places) *reinterpret_cast<uint32_t*>(origin + place) = colour;
        }
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
    // Pixels covered by amounts (a text's glyphs), wholly inside the clip:
    // the colour is laid over each as far as it is covered, rounded as
    // cairo's pixel library rounds when it puts a solid colour down through
    // a glyph: each channel s * m + d * (255 - m) for a coverage of m (0 to
    // 255), both products in 255ths rounded, the sum held at 255.
    // (The stamp's type is declared with the texts' stamps, further on.)
    template <typename TextStamp>
    void cover(const TextStamp& stamp, int x, int y)
    {
        unsigned char* origin = data_ + (y + d_.offsetY) * stride_ + (x + d_.offsetX) * 4;
        Blends& blends = blendsOf(rgb_ | 0xFF000000u);
        const std::vector<int32_t>& places = stamp.placesFor(stride_);
        const auto* pixel = stamp.pixels.data();
        for (size_t i = 0, n = places.size(); i < n; ++i) {
            uint32_t* q = reinterpret_cast<uint32_t*>(origin + places[i]);
            *q = blends.over(*q, pixel[i].cover);
        }
    }

private:
    // Every channel times m in 255ths, rounded; and two sets of channels
    // added, each sum held at 255. Two channels at a time, sixteen bits apart.
    static uint32_t times(uint32_t channels, unsigned m)
    {
        uint32_t rb = (channels & 0xFF00FFu) * m + 0x800080u;
        rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
        uint32_t ag = ((channels >> 8) & 0xFF00FFu) * m + 0x800080u;
        ag = (ag + ((ag >> 8) & 0xFF00FFu)) & 0xFF00FF00u;
        return rb | ag;
    }
    static uint32_t plus(uint32_t x, uint32_t y)
    {
        uint32_t rb = (x & 0xFF00FFu) + (y & 0xFF00FFu);
        rb = (rb | (0x1000100u - ((rb >> 8) & 0xFF00FFu))) & 0xFF00FFu;
        uint32_t ag = ((x >> 8) & 0xFF00FFu) + ((y >> 8) & 0xFF00FFu);
        ag = (ag | (0x1000100u - ((ag >> 8) & 0xFF00FFu))) & 0xFF00FFu;
        return rb | (ag << 8);
    }
    // The colour laid over pixels, for the colour drawn last: a text's every
    // pixel, and most texts of a preview (its cut-order labels), share one.
    // times(source, m) is kept for every coverage m; and what laying the
    // colour over a pixel as far as m gave is kept by colour, pixel and m,
    // in a table read at a hash of the three: a label's soft edges lie over
    // a few colours (the board, the rings' fills, the outlines) again and
    // again, and one kept blend a coverage missed every other pixel.
    struct Blends {
        struct Known {
            uint64_t key = ~0ull;  // never a key: a key's low byte, m, is below 255
            uint32_t result = 0;
        };
        uint32_t source;
        uint32_t share[256];
        Known known[1024];
        uint32_t over(uint32_t pixel, unsigned m)
        {
            if (m >= 255) return source;
            uint64_t key = (static_cast<uint64_t>(pixel) << 32) | ((source & 0xFFFFFFu) << 8) | m;
            Known& k = known[(key * 0x9E3779B97F4A7C15ull) >> 54];
            if (k.key != key) {
                k.key = key;
                k.result = plus(share[m], times(pixel, 255 - m));
            }
            return k.result;
        }
    };
    static Blends& blendsOf(uint32_t source)
    {
        static Blends blends{};  // source 0, no opaque colour: set up for the first one drawn
        if (blends.source != source) {
            blends.source = source;
            for (unsigned m = 0; m < 256; ++m) blends.share[m] = times(source, m);
        }
        return blends;
    }

    Drawer& d_;
    Box clip_;
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
            ShapeStamp& stamp = lineStamp(dx, dy);
            if (out.holds(stamp.stamp, x1, y1)) {
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
        ShapeStamp& stamp = ovalStamp(w, h, fill);
        if (out.holds(stamp.stamp, r.left, r.top)) {
            out.stamp(stamp, r.left, r.top);
            return;
        }
    }
    paint(d, [=](cairo_t* cr) { ovalPath(cr, r, fill); }, fill);
}

namespace {

// The path of a polygon whose first corner lies at (x, y).
void polygonPath(cairo_t* cr, const ADMPoint* p, int count, int x, int y, bool fill)
{
    double o = fill ? 0.0 : 0.5;
    cairo_move_to(cr, x + o, y + o);
    for (int i = 1; i < count; ++i) cairo_line_to(cr, p[i].h - p[0].h + x + o, p[i].v - p[0].v + y + o);
    cairo_close_path(cr);
}

// Polygons are stamped too, kept by their corners relative to the first: a
// preview draws the same outlines again at every redraw. Only small ones, and
// only so many: a polygon's pixels can be many.
constexpr int kStampedPolygonReach = 128;
constexpr size_t kStampedPolygons = 65536;

// Kept by the walk of their corners (see appendCornerStep), read into a
// reused buffer: a redraw asks for thousands of kept polygons, and only a new
// one takes a copy of its walk.
std::unordered_map<std::string, Stamp>& polygonStamps()
{
    static std::unordered_map<std::string, Stamp> kept;
    return kept;
}

// Appends the step from one corner to the next to a polygon's walk: a byte
// when it is short, as nearly all are (an outline drawn back goes from pixel
// to nearby pixel), else a byte no short step takes and the step's four
// bytes. The walks of tens of thousands of kept outlines then take about half
// the room two 16-bit offsets a corner took, and no two corner walks share one.
// Written at `out`, which has room for kMostCornerStepBytes; returns where the next step goes.
constexpr size_t kMostCornerStepBytes = 5;
char* appendCornerStep(char* out, int step)
{
    if (step >= -127 && step <= 127) {
        *out = static_cast<char>(step);
        return out + 1;
    }
    *out = static_cast<char>(-128);
    int32_t wide = step;
    std::memcpy(out + 1, &wide, sizeof wide);
    return out + 1 + sizeof wide;
}

// The pixels of the polygon relative to its first corner; null when it is
// too large to stamp.
const Stamp* polygonStamp(const ADMPoint* p, int count, bool fill)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    // Written in place, with room made first for the longest walk of this
    // many corners: a string grown a byte at a time costs more than the
    // walk's reading.
    static std::string walk;
    walk.resize(1 + 2 * kMostCornerStepBytes * static_cast<size_t>(count));
    char* out = &walk[0];
    *out++ = fill ? 'f' : 'o';
    for (int i = 1; i < count; ++i) {
        int dx = p[i].h - p[0].h, dy = p[i].v - p[0].v;
        left = std::min(left, dx);
        right = std::max(right, dx);
        top = std::min(top, dy);
        bottom = std::max(bottom, dy);
        out = appendCornerStep(out, p[i].h - p[i - 1].h);
        out = appendCornerStep(out, p[i].v - p[i - 1].v);
    }
    walk.resize(static_cast<size_t>(out - walk.data()));
    if (right - left > kStampedPolygonReach || bottom - top > kStampedPolygonReach) return nullptr;
    auto& kept = polygonStamps();
    auto found = kept.find(walk);
    if (found != kept.end()) return &found->second;
    // A sharp corner's mitre reaches out as far as ten half-widths.
    const int margin = 6;
    Stamp made = makeStamp(right - left + 2 * margin + 1, bottom - top + 2 * margin + 1, margin - left, margin - top,
                           [=](cairo_t* cr) { polygonPath(cr, p, count, 0, 0, fill); }, fill);
    // A polygon is kept from the second time it is drawn, known till then by
    // a hash of its walk: a picture drawn once (a preview saved) keeps none
    // of its tens of thousands of outlines. Its first stamp is still made and
    // put down, which costs less than cairo drawing it on the frame. (Two
    // walks of one hash only keep the second's stamp on its first drawing.)
    static std::unordered_set<size_t> seen;
    if (seen.insert(std::hash<std::string>()(walk)).second) {
        if (seen.size() >= kStampedPolygons) seen.clear();
        static Stamp once;
        once = std::move(made);
        return &once;
    }
    if (kept.size() >= kStampedPolygons) kept.clear();
    return &kept.emplace(walk, std::move(made)).first->second;
}

}  // namespace

void paintPolygon(Drawer& d, const ADMPoint* points, int count, bool fill)
{
    if (!points || count <= 0) return;
    Box clip;
    if (directTarget(d, clip)) {
        if (const Stamp* stamp = polygonStamp(points, count, fill)) {
            PixelWriter out(d, clip);
            if (out.holds(*stamp, points[0].h, points[0].v)) {
                out.stamp(*stamp, points[0].h, points[0].v);
                return;
            }
        }
    }
    std::vector<ADMPoint> p(points, points + count);
    paint(d, [&p, fill](cairo_t* cr) { polygonPath(cr, p.data(), static_cast<int>(p.size()), p[0].h, p[0].v, fill); },
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

namespace {

// Texts are stamped too: a preview writes thousands of short labels at every
// redraw, and cairo spends far longer setting up each than putting down its
// few pixels. What cairo's glyphs cover of each pixel (0 to 255) is found once
// per text and font, by cairo drawing the text into a coverage mask at a
// whole-pixel pen (glyphs are placed on whole pixels, so a text's coverage
// does not change as its pen moves by whole pixels), and laid down from there.
// A text is stamped from the second time it is drawn: making its stamp costs
// about what drawing it does, and a picture drawn once (a preview saved, a
// dialog's first drawing) would pay twice for its labels.
struct CoveredPixel {
    int16_t x, y;  // relative to the pen
    uint8_t cover;
};

struct TextStamp {
    bool usable = false;  // false: the text is always drawn by cairo
    std::vector<CoveredPixel> pixels;
    int left = 0, top = 0, right = 0, bottom = 0;  // the box of the pixels, edges included
    double advance = 0;  // how far the pen moves past the text

    // The pixels' places in the rows of a raster, as a line's or an oval's
    // (see ShapeStamp), for the row length they were worked out for.
    const std::vector<int32_t>& placesFor(int rowBytes) const
    {
        if (stride != rowBytes) {
            places.clear();
            for (const CoveredPixel& p : pixels) places.push_back(p.y * rowBytes + p.x * 4);
            stride = rowBytes;
        }
        return places;
    }

private:
    mutable std::vector<int32_t> places;
    mutable int stride = 0;  // 0: none yet
};

constexpr size_t kStampedTexts = 65536;

std::unordered_map<std::string, TextStamp>& textStamps()
{
    static std::unordered_map<std::string, TextStamp> kept;
    return kept;
}

// Where texts are drawn to find their coverage, kept from text to text. It
// takes the format of the items' rasters, whose glyphs cairo puts down
// fastest; a glyph's coverage is the alpha it leaves on the clear scratch.
struct TextScratch {
    static constexpr int kWidth = 256, kHeight = 3 * static_cast<int>(kTextSize);
    static constexpr int kPenX = static_cast<int>(kTextSize), kPenY = 2 * static_cast<int>(kTextSize);
    cairo_surface_t* mask = nullptr;
    cairo_t* cr = nullptr;
};

TextScratch& textScratch()
{
    static TextScratch scratch;
    if (!scratch.mask) {
        scratch.mask = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, TextScratch::kWidth, TextScratch::kHeight);
        scratch.cr = cairo_create(scratch.mask);
        cairo_set_antialias(scratch.cr, CAIRO_ANTIALIAS_NONE);  // as every item's context
        cairo_set_source_rgb(scratch.cr, 0, 0, 0);
    }
    return scratch;
}

TextStamp makeTextStamp(const FontRun& run)
{
    TextStamp stamp;
    TextScratch& t = textScratch();
    if (cairo_status(t.cr) != CAIRO_STATUS_SUCCESS) return stamp;
    unsigned char* md = cairo_image_surface_get_data(t.mask);
    int ms = cairo_image_surface_get_stride(t.mask);
    auto alpha = [&](int x, int y) -> uint32_t& { return *reinterpret_cast<uint32_t*>(md + y * ms + x * 4); };
    std::vector<FontRun> one{run};
    cairo_move_to(t.cr, TextScratch::kPenX, TextScratch::kPenY);
    showRuns(t.cr, one, kTextSize);
    cairo_new_path(t.cr);
    cairo_text_extents_t ink;
    cairo_text_extents(t.cr, run.text.c_str(), &ink);
    stamp.advance = ink.x_advance;
    cairo_surface_flush(t.mask);
    // Left clear for the next text: the part read, or all when the ink
    // was not where cairo said.
    auto clear = [&](int l, int t0, int r, int b) {
        for (int y = t0; y <= b; ++y) std::fill(&alpha(l, y), &alpha(l, y) + (r - l + 1), 0u);
        cairo_surface_mark_dirty(t.mask);
    };
    auto clearAll = [&] { clear(0, 0, TextScratch::kWidth - 1, TextScratch::kHeight - 1); };
    if (!(std::fabs(ink.x_bearing) + ink.width < TextScratch::kWidth)) {
        clearAll();
        return stamp;
    }
    // The glyphs' ink and two pixels round it are read; a text reaching the
    // edge of what is read (or of the scratch) is left to cairo.
    int left = static_cast<int>(std::floor(TextScratch::kPenX + ink.x_bearing)) - 2;
    int top = static_cast<int>(std::floor(TextScratch::kPenY + ink.y_bearing)) - 2;
    int right = static_cast<int>(std::ceil(TextScratch::kPenX + ink.x_bearing + ink.width)) + 2;
    int bottom = static_cast<int>(std::ceil(TextScratch::kPenY + ink.y_bearing + ink.height)) + 2;
    if (left < 0 || top < 0 || right >= TextScratch::kWidth || bottom >= TextScratch::kHeight) {
        clearAll();
        return stamp;
    }
    bool cut = false;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
            auto m = static_cast<uint8_t>(alpha(x, y) >> 24);
            if (m == 0) continue;
            cut = cut || x == left || y == top || x == right || y == bottom;
            int px = x - TextScratch::kPenX, py = y - TextScratch::kPenY;
            if (stamp.pixels.empty()) {
                stamp.left = stamp.right = px;
                stamp.top = stamp.bottom = py;
            }
            stamp.left = std::min(stamp.left, px);
            stamp.right = std::max(stamp.right, px);
            stamp.top = std::min(stamp.top, py);
            stamp.bottom = std::max(stamp.bottom, py);
            stamp.pixels.push_back(CoveredPixel{static_cast<int16_t>(px), static_cast<int16_t>(py), m});
        }
    stamp.usable = !cut;
    if (cut) {
        stamp.pixels.clear();
        clearAll();
    } else {
        clear(left, top, right, bottom);
    }
    return stamp;
}

// The coverage of a text in one font; null when it is to be drawn by cairo.
const TextStamp* textStamp(const FontRun& run)
{
    std::string key(reinterpret_cast<const char*>(&run.face), sizeof run.face);
    key += run.text;
    auto& kept = textStamps();
    auto found = kept.find(key);
    if (found == kept.end()) {
        // Texts drawn once are known by a hash of text and font alone: a
        // picture drawn once keeps little of its labels. (Two texts of one
        // hash only make the second's stamp on its first drawing.)
        static std::unordered_set<size_t> seen;
        if (seen.insert(std::hash<std::string>()(key)).second) {
            if (seen.size() >= kStampedTexts) seen.clear();
            return nullptr;
        }
        if (kept.size() >= kStampedTexts) kept.clear();
        found = kept.emplace(std::move(key), makeTextStamp(run)).first;
    }
    return found->second.usable ? &found->second : nullptr;
}

// A text of printable ASCII characters in the first font is also laid down
// glyph by glyph, from the coverage of each character drawn alone: cairo
// places each glyph of a text at the pen moved by the advances before it,
// rounded to a whole pixel, so with whole-pixel advances a glyph's pixels
// are those it has alone, moved. Where the boxes of two glyphs' pixels would
// meet, cairo adds their coverages before it lays the colour over, so such a
// text is left to its own stamp. A short label (a cut-order number) then
// costs no cairo drawing even the first time it is drawn.
struct GlyphStamp {
    bool known = false;
    bool usable = false;
    TextStamp stamp;
};

const GlyphStamp& glyphStamp(unsigned char c)
{
    static GlyphStamp glyphs[128];
    GlyphStamp& glyph = glyphs[c];
    if (!glyph.known) {
        glyph.known = true;
        std::vector<FontRun> runs = fontRuns(std::string(1, static_cast<char>(c)));
        if (runs.size() == 1 && runs[0].face && runs[0].face == primaryFontFace()) {
            glyph.stamp = makeTextStamp(runs[0]);
            glyph.usable = glyph.stamp.usable && glyph.stamp.advance == std::floor(glyph.stamp.advance) &&
                           std::fabs(glyph.stamp.advance) < 1000;
        }
    }
    return glyph;
}

// Lays the text down glyph by glyph; false (nothing done) when it is not
// such a text or does not lie wholly inside the clip.
bool stampGlyphs(Drawer& d, const Box& clip, const std::string& text, int x, int y)
{
    constexpr size_t kMostGlyphs = 32;
    if (text.size() > kMostGlyphs || !primaryFontFace()) return false;
    struct Placed {
        const TextStamp* stamp;
        int dx;
    } placed[kMostGlyphs];
    size_t count = 0;
    int pen = 0;
    bool inked = false;
    int left = 0, top = 0, right = 0, bottom = 0;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c > 0x7E) return false;
        const GlyphStamp& glyph = glyphStamp(c);
        if (!glyph.usable) return false;
        const TextStamp& s = glyph.stamp;
        int dx = pen;
        pen += static_cast<int>(s.advance);
        if (s.pixels.empty()) continue;
        // Each glyph's pixels lie wholly right of those before it.
        if (inked && dx + s.left <= right) return false;
        left = inked ? left : dx + s.left;
        right = dx + s.right;
        top = inked ? std::min(top, s.top) : s.top;
        bottom = inked ? std::max(bottom, s.bottom) : s.bottom;
        inked = true;
        placed[count++] = Placed{&s, dx};
    }
    if (!inked) return true;  // nothing of it shows
    PixelWriter out(d, clip);
    if (!out.holds(x + left, y + top, x + right, y + bottom)) return false;
    for (size_t k = 0; k < count; ++k) out.cover(*placed[k].stamp, x + placed[k].dx, y);
    return true;
}

}  // namespace

// Text goes out in runs of one font each: DejaVu Sans Condensed wherever it
// has the glyph, the fallback font for the characters it lacks. A text the
// first font can draw is one run, drawn as that font alone draws it.
void paintText(Drawer& d, const std::string& text, int x, int y)
{
    if (!d.cr || text.empty()) return;
    Box clip;
    if (d.mode != kADMXORMode && directTarget(d, clip) && stampGlyphs(d, clip, text, x, y)) return;
    std::vector<FontRun> runs = fontRuns(text);
    if (d.mode != kADMXORMode && runs.size() == 1 && runs[0].face && directTarget(d, clip)) {
        if (const TextStamp* stamp = textStamp(runs[0])) {
            if (stamp->pixels.empty()) return;  // nothing of it shows
            PixelWriter out(d, clip);
            if (out.holds(x + stamp->left, y + stamp->top, x + stamp->right, y + stamp->bottom)) {
                out.cover(*stamp, x, y);
                return;
            }
        }
    }
    if (d.raster) d.raster->endDirectWrites();
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
    // Cairo leaves its current point where the text ends, and the path is
    // no part of what cairo_restore restores: an oval drawn next by cairo
    // would start with a line from there. The pen is the caller's to keep.
    cairo_new_path(d.cr);
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
    if (d.raster) d.raster->endDirectWrites();
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
        if (d.raster) d.raster->endDirectWrites();
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
    if (!recording(d)) return;
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, " color=0x%06X%s", static_cast<unsigned>(rgbOf(d.color)),
                  d.mode == kADMXORMode ? " xor" : "");
    d.calls->push_back(call + suffix);
}

}  // namespace vt::host::toolkit
