// The Plot Out preview. See ReDrawPlotOutPreview.h for the mapping.
//
// Every ring is drawn from the same path the writer cuts (Core/CutPath.h):
// each placed segment flattened and fitted on its own, the pieces of the ring
// joined. A full redraw keeps that path per volume as a picture in view
// pixels (see below) for as long as the volume's placement, its geometry and
// the zoom stay, so that redrawing a large job (pan, a redraw after a dialog
// or after another volume moved) does not flatten and fit it again; what is
// drawn is computed by the one routine either way, so the pixels are the same
// as from a fresh computation.
//
// What cannot touch the frame is not handed to the drawer at all (a copy whose
// box lies off the frame, a line whose ends both lie beyond one edge), and a
// run of arc points that falls on one pixel is drawn as that pixel once: the
// pixels are those of drawing everything, only fewer calls make them.
#include "Core/ReDrawPlotOutPreview.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Workers.h"
#include "Core/CutModel.h"
#include "Core/CutPath.h"
#include "Core/PackedPicture.h"
#include "Core/VolumePlacement.h"
#include "Math/MathFunction.h"
#include "QuickDraw.h"

namespace {

const long kRuler = kPreviewRulerWidth;

// Lines and polygons that reach further than kPreviewPixelLimit are cut to
// this box around the frame before they are drawn.
const long kGuard = 1024;

// ---- Millimetres and pixels ----------------------------------------------------------------

bool yUpwards()
{
    int32_t origin = g->curPlotter.PlotterOrigin;
    return origin == 0 || origin == 1;
}

long frameH(double x) { return (long)mkLong(x * g->previewZoomX) + g->previewOrigin.h + kRuler; }

long frameV(double y)
{
    long d = (long)mkLong(y * g->previewZoomY);
    return yUpwards() ? g->previewOrigin.v - d - kRuler : g->previewOrigin.v + d + kRuler;
}

ASInt16 held(long pixel) { return (ASInt16)std::clamp(pixel, -kPreviewPixelLimit, kPreviewPixelLimit); }

bool fits(long pixel) { return pixel >= -kPreviewPixelLimit && pixel <= kPreviewPixelLimit; }

struct PixelPoint {
    long h, v;
};

// ---- The frame being drawn -----------------------------------------------------------------

struct Canvas {
    ADMDrawerRef drawer;
    long width, height;
    long windowLeft, windowTop;  // the frame's corner in the dialog, for QuickDraw
};

Canvas canvasOf(ADMItemRef item, ADMDrawerRef drawer)
{
    Canvas c;
    c.drawer = drawer;
    ADMRect bounds = {0, 0, 0, 0};
    sADMDrawer->GetBoundsRect(drawer, &bounds);
    c.width = bounds.right - bounds.left;
    c.height = bounds.bottom - bounds.top;
    ADMRect window = {0, 0, 0, 0};
    if (item != NULL)
        sADMItem->GetBoundsRect(item, &window);
    c.windowLeft = window.left;
    c.windowTop = window.top;
    return c;
}

// Whether pixels in the box (edges included) can land on the frame.
bool boxMeetsFrame(const Canvas& c, long left, long top, long right, long bottom)
{
    return right >= 0 && bottom >= 0 && left < c.width && top < c.height;
}

void setColor(const Canvas& c, ADMColor color) { sADMDrawer->SetColor(c.drawer, color); }

// A colour word of the options (0 black, 1 white, else 0xRRGGBBFF) as 0xRRGGBB.
uint32_t rgbOfWord(uint32_t word)
{
    if (word == 0)
        return 0x000000;
    if (word == 1)
        return 0xFFFFFF;
    return word >> 8;
}

void quickDrawColor(uint32_t word)
{
    uint32_t rgb = rgbOfWord(word);
    RGBColor color = {(uint16_t)(((rgb >> 16) & 0xFF) * 257), (uint16_t)(((rgb >> 8) & 0xFF) * 257),
                      (uint16_t)((rgb & 0xFF) * 257)};
    RGBForeColor(&color);
}

// Cuts the segment to the guard box around the frame (Liang-Barsky); false
// when nothing of it is inside.
bool clipToGuard(const Canvas& c, double& x1, double& y1, double& x2, double& y2)
{
    double low = 0.0, high = 1.0;
    double dx = x2 - x1, dy = y2 - y1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x1 + kGuard, (double)(c.width + kGuard) - x1, y1 + kGuard, (double)(c.height + kGuard) - y1};
    for (int i = 0; i < 4; i++) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > high)
                return false;
            low = std::max(low, t);
        } else {
            if (t < low)
                return false;
            high = std::min(high, t);
        }
    }
    double sx = x1, sy = y1;
    x1 = sx + low * dx;
    y1 = sy + low * dy;
    x2 = sx + high * dx;
    y2 = sy + high * dy;
    return true;
}

void line(const Canvas& c, long h1, long v1, long h2, long v2)
{
    // A line's pixels lie within the box of its two end pixels.
    if (!boxMeetsFrame(c, std::min(h1, h2), std::min(v1, v2), std::max(h1, h2), std::max(v1, v2)))
        return;
    if (fits(h1) && fits(v1) && fits(h2) && fits(v2)) {
        ADMPoint a = {(ASInt16)h1, (ASInt16)v1};
        ADMPoint b = {(ASInt16)h2, (ASInt16)v2};
        sADMDrawer->DrawLine(c.drawer, &a, &b);
        return;
    }
    double x1 = (double)h1, y1 = (double)v1, x2 = (double)h2, y2 = (double)v2;
    if (!clipToGuard(c, x1, y1, x2, y2))
        return;
    ADMPoint a = {(ASInt16)lround(x1), (ASInt16)lround(y1)};
    ADMPoint b = {(ASInt16)lround(x2), (ASInt16)lround(y2)};
    sADMDrawer->DrawLine(c.drawer, &a, &b);
}

// A run of points joined by lines in the drawer's colour. Lines of no length
// are left out while a neighbour covers their pixel (a line covers both of
// its end pixels), so the pixels are those of joining every pair.
void polyline(const Canvas& c, const PixelPoint* points, size_t count)
{
    if (count == 0)
        return;
    size_t from = 0;
    bool drew = false;
    for (size_t i = 1; i < count; i++) {
        if (points[i].h == points[from].h && points[i].v == points[from].v)
            continue;
        line(c, points[from].h, points[from].v, points[i].h, points[i].v);
        from = i;
        drew = true;
    }
    if (!drew)
        line(c, points[0].h, points[0].v, points[0].h, points[0].v);
}

// Sutherland-Hodgman against one side of the guard box.
template <typename Inside, typename Cross>
void clipPolygonSide(std::vector<double>& xy, Inside inside, Cross cross)
{
    std::vector<double> out;
    size_t n = xy.size() / 2;
    for (size_t i = 0; i < n; i++) {
        double ax = xy[2 * i], ay = xy[2 * i + 1];
        size_t j = (i + 1) % n;
        double bx = xy[2 * j], by = xy[2 * j + 1];
        bool ain = inside(ax, ay), bin = inside(bx, by);
        if (ain) {
            out.push_back(ax);
            out.push_back(ay);
        }
        if (ain != bin) {
            double x, y;
            cross(ax, ay, bx, by, x, y);
            out.push_back(x);
            out.push_back(y);
        }
    }
    xy.swap(out);
}

std::vector<ADMPoint>& scratchPoints()
{
    static std::vector<ADMPoint> points;
    return points;
}

// A closed polygon, outlined or filled in the drawer's colour.
void polygon(const Canvas& c, const PixelPoint* points, size_t count, bool fill)
{
    if (count == 0)
        return;
    long left = points[0].h, right = left, top = points[0].v, bottom = top;
    bool allFit = true;
    for (size_t i = 0; i < count; i++) {
        left = std::min(left, points[i].h);
        right = std::max(right, points[i].h);
        top = std::min(top, points[i].v);
        bottom = std::max(bottom, points[i].v);
        allFit = allFit && fits(points[i].h) && fits(points[i].v);
    }
    if (!boxMeetsFrame(c, left, top, right, bottom))
        return;
    std::vector<ADMPoint>& out = scratchPoints();
    out.clear();
    if (allFit) {
        // A corner repeated on the same pixel adds nothing to the outline or
        // the area; far out, a ring's many points fall on a few pixels.
        for (size_t i = 0; i < count; i++)
            if (out.empty() || out.back().h != points[i].h || out.back().v != points[i].v)
                out.push_back(ADMPoint{(ASInt16)points[i].h, (ASInt16)points[i].v});
    } else if (!fill) {
        for (size_t i = 0; i < count; i++) {
            const PixelPoint& a = points[i];
            const PixelPoint& b = points[(i + 1) % count];
            line(c, a.h, a.v, b.h, b.v);
        }
        return;
    } else {
        std::vector<double> xy;
        for (size_t i = 0; i < count; i++) {
            xy.push_back((double)points[i].h);
            xy.push_back((double)points[i].v);
        }
        const double x0 = -kGuard, y0 = -kGuard, x1 = (double)(c.width + kGuard), y1 = (double)(c.height + kGuard);
        auto atX = [](double edge) {
            return [edge](double ax, double ay, double bx, double by, double& x, double& y) {
                x = edge;
                y = ay + (by - ay) * (edge - ax) / (bx - ax);
            };
        };
        auto atY = [](double edge) {
            return [edge](double ax, double ay, double bx, double by, double& x, double& y) {
                y = edge;
                x = ax + (bx - ax) * (edge - ay) / (by - ay);
            };
        };
        clipPolygonSide(xy, [x0](double x, double) { return x >= x0; }, atX(x0));
        clipPolygonSide(xy, [x1](double x, double) { return x <= x1; }, atX(x1));
        clipPolygonSide(xy, [y0](double, double y) { return y >= y0; }, atY(y0));
        clipPolygonSide(xy, [y1](double, double y) { return y <= y1; }, atY(y1));
        for (size_t i = 0; i + 1 < xy.size(); i += 2)
            out.push_back(ADMPoint{(ASInt16)lround(xy[i]), (ASInt16)lround(xy[i + 1])});
        if (out.empty())
            return;
    }
    if (fill)
        sADMDrawer->FillPolygon(c.drawer, out.data(), (ASInt32)out.size());
    else
        sADMDrawer->DrawPolygon(c.drawer, out.data(), (ASInt32)out.size());
}

long within(long value, long low, long high) { return value < low ? low : value > high ? high : value; }

// A rectangle from any two corners: its pixels are the same whichever corner
// comes first, and edges far off the frame are drawn at the guard box's
// edges instead, which changes nothing on the frame.
void rect(const Canvas& c, long top, long left, long bottom, long right, bool fill)
{
    if (top > bottom)
        std::swap(top, bottom);
    if (left > right)
        std::swap(left, right);
    if (!boxMeetsFrame(c, left, top, right, bottom))
        return;
    ADMRect r;
    r.top = (ASInt16)within(top, -kGuard, c.height + kGuard);
    r.left = (ASInt16)within(left, -kGuard, c.width + kGuard);
    r.bottom = (ASInt16)within(bottom, -kGuard, c.height + kGuard);
    r.right = (ASInt16)within(right, -kGuard, c.width + kGuard);
    if (fill)
        sADMDrawer->FillRect(c.drawer, &r);
    else
        sADMDrawer->DrawRect(c.drawer, &r);
}

// A QuickDraw oval framed in the square of half-size radius about a frame
// pixel; nothing when its window coordinates cannot be held in 16 bits.
void frameOval(const Canvas& c, long h, long v, long radius)
{
    long top = v - radius + c.windowTop, left = h - radius + c.windowLeft;
    long bottom = v + radius + c.windowTop, right = h + radius + c.windowLeft;
    const long limit = 32767;
    if (top < -limit || left < -limit || bottom > limit || right > limit)
        return;
    Rect r = {(ASInt16)top, (ASInt16)left, (ASInt16)bottom, (ASInt16)right};
    FrameOval(&r);
}

// Distances from a pixel to the nearest and to the farthest pixel of the frame.
void frameDistances(const Canvas& c, long h, long v, double* nearest, double* farthest)
{
    double dx = h < 0 ? (double)-h : h >= c.width ? (double)(h - c.width + 1) : 0.0;
    double dy = v < 0 ? (double)-v : v >= c.height ? (double)(v - c.height + 1) : 0.0;
    *nearest = sqrt(dx * dx + dy * dy);
    double fx = std::max(fabs((double)h), fabs((double)(c.width - 1 - h)));
    double fy = std::max(fabs((double)v), fabs((double)(c.height - 1 - v)));
    *farthest = sqrt(fx * fx + fy * fy);
}

// The QuickDraw pen the disc and circle markers are framed with. A ring's
// markers mostly share a colour and nothing else draws with the pen between
// them, so its colour is set only when it changes and the pen is put back to
// normal once, after the last of them: the ovals and what the pen is left
// with are those of setting and resetting it around every marker.
struct OvalPen {
    bool set = false;
    uint32_t word = 0;

    void use(uint32_t colorWord)
    {
        if (set && colorWord == word)
            return;
        quickDrawColor(colorWord);
        set = true;
        word = colorWord;
    }
    void done()
    {
        if (set)
            PenNormal();
        set = false;
    }
};

void marker(const Canvas& c, OvalPen& pen, uint32_t color, int32_t shape, int32_t size, long h, long v)
{
    long s = size;
    // Nothing of the marker can reach the frame.
    if (!boxMeetsFrame(c, h - std::abs(s) - 1, v - std::abs(s) - 1, h + std::abs(s) + 1, v + std::abs(s) + 1))
        return;
    switch (shape) {
    case kMarkerCircle:
    case kMarkerDisc: {
        // A filled disc is the oval framed again and again, one pixel smaller
        // on every side each time. Only the ovals whose outline can touch the
        // frame are framed: the pixels are the same, and a huge size costs no
        // more than the frame is wide.
        if (s <= 0)
            break;
        // Oval k has the half-size s - k; its outline lies within about a
        // pixel of that distance from the point.
        long last = shape == kMarkerCircle ? 0 : s - 1;
        long first = 0;
        // A marker wholly on the frame (most of them) has every oval's
        // outline there: the point is on the frame and at least s + 1 from
        // its far edges.
        if (!(h - s - 1 >= 0 && v - s - 1 >= 0 && h + s + 1 < c.width && v + s + 1 < c.height)) {
            double nearest, farthest;
            frameDistances(c, h, v, &nearest, &farthest);
            first = std::max(0L, s - (long)ceil(farthest) - 3);
            last = std::min(last, s - (long)floor(nearest) + 3);
        }
        pen.use(color);
        for (long k = first; k <= last; k++)
            frameOval(c, h, v, s - k);
        break;
    }
    case kMarkerSquare:
    case kMarkerFilledSquare:
        setColor(c, color);
        rect(c, v - s, h - s, v + s, h + s, shape == kMarkerFilledSquare);
        break;
    case kMarkerPlus:
        setColor(c, color);
        line(c, h - s, v, h + s, v);
        line(c, h, v - s, h, v + s);
        break;
    default:
        break;
    }
}

void controlMarker(const Canvas& c, OvalPen& pen, long h, long v)
{
    const uint32_t* w = g->previewOption.words;
    marker(c, pen, w[kPreviewControlColorWord], (int32_t)w[kPreviewControlShapeWord], (int32_t)w[kPreviewControlSizeWord],
           h, v);
}

void startMarker(const Canvas& c, OvalPen& pen, long h, long v)
{
    const uint32_t* w = g->previewOption.words;
    marker(c, pen, w[kPreviewStartColorWord], (int32_t)w[kPreviewStartShapeWord], (int32_t)w[kPreviewStartSizeWord], h,
           v);
}

// How far markers reach beyond the points they sit on.
long markerReach()
{
    const uint32_t* w = g->previewOption.words;
    long control = std::abs((long)(int32_t)w[kPreviewControlSizeWord]);
    long start = std::abs((long)(int32_t)w[kPreviewStartSizeWord]);
    return std::max(control, start) + 2;
}

bool samePoint(point_struct a, point_struct b) { return a.x == b.x && a.y == b.y; }

// ---- Pictures in view pixels ---------------------------------------------------------------
//
// A millimetre point (x, y) lies on the view pixel (mkLong(x * zoomX),
// mkLong(y * zoomY)): its frame pixel less the base point, which panning
// moves. A ring's picture is made once in view pixels for its placement and
// the zoom, from the path the writer cuts, and drawn from there until either
// changes. Runs of points on one pixel are kept once (the lines joining them
// cover the same pixels), so a picture holds about as many points as the
// ring covers pixels, however finely it is flattened.

// Inlined where pictures are made: it is taken for every flattened point.
inline __attribute__((always_inline)) ViewPoint viewPoint(point_struct p, double zoomX, double zoomY)
{
    return ViewPoint{mkLong(p.x * zoomX), mkLong(p.y * zoomY)};
}

// Where view pixel (0, 0) lies on the frame, and which way y grows there.
struct Base {
    long h, v;
    bool up;
};

Base baseOf()
{
    Base b;
    b.up = yUpwards();
    b.h = g->previewOrigin.h + kRuler;
    b.v = b.up ? g->previewOrigin.v - kRuler : g->previewOrigin.v + kRuler;
    return b;
}

PixelPoint onFrame(const Base& b, ViewPoint p) { return PixelPoint{b.h + p.h, b.up ? b.v - p.v : b.v + p.v}; }

// A ring of one copy as the knife follows it: its flattened outline, then the
// pieces fitted to it, as the writer cuts them segment by segment. A large
// job keeps one for every ring in view, so the steps and points are packed.
struct RingPicture {
    PackedPicture packed;  // the steps; the outline's points [0, outlineCount), then the steps'
    // Of a picture made, what it draws; of one not made yet, where it would
    // lie: a picture is kept only once made, and its hull is wanted only
    // till then, so the two share their room.
    union {
        struct {
            uint32_t outlineCount;
            ViewPoint start;      // where the ring is cut from
            ViewPoint low, high;  // box of every point drawn but arc centres
        } drawn = {0, {0, 0}, {0, 0}, {0, 0}};
        // The box of the placed segments' control points: the flattened
        // outline lies within it and the fitted pieces within the fit's
        // precision of it, so it tells cheaply whether the picture is worth
        // making for the frame. Known when hullKnown.
        struct {
            double low[2], high[2];
        } hull;
    };
    bool outlineClosed = false;  // in millimetres: an open path whose ends meet on a pixel stays open
    bool hasStart = false;
    bool anyArc = false;
    bool empty = true;
    bool made = false;  // what it draws is made; else only the hull may be known
    bool hullKnown = false, hullEmpty = true;

    size_t pointCount() const { return packed.pointCount() + packed.stepCount(); }
};

// The least and greatest h and v of the points taken; low above high while
// none is.
struct PixelBox {
    ViewPoint low{INT32_MAX, INT32_MAX}, high{INT32_MIN, INT32_MIN};

    bool empty() const { return low.h > high.h; }
    void take(ViewPoint q)
    {
        low.h = std::min(low.h, q.h);
        low.v = std::min(low.v, q.v);
        high.h = std::max(high.h, q.h);
        high.v = std::max(high.v, q.v);
    }
    void take(const PixelBox& b)
    {
        take(b.low);
        take(b.high);
    }
};

// Appends a point unless the last one lies on the same pixel.
void appendOnce(std::vector<ViewPoint>& points, size_t runStart, ViewPoint q)
{
    if (points.size() > runStart && points.back() == q)
        return;
    points.push_back(q);
}

// Whether b lies strictly between a and c on one row, one column or one
// diagonal: both steps head the same one of the eight ways.
bool strictlyBetween(ViewPoint a, ViewPoint b, ViewPoint c)
{
    long h1 = (long)b.h - a.h, v1 = (long)b.v - a.v, h2 = (long)c.h - b.h, v2 = (long)c.v - b.v;
    auto way = [](long d) { return d > 0 ? 1 : d < 0 ? -1 : 0; };
    if (way(h1) != way(h2) || way(v1) != way(v2))
        return false;
    // Along a row or a column the steps share the 0; along a diagonal each
    // step goes as far across as up.
    return h1 == 0 || v1 == 0 || (labs(h1) == labs(v1) && labs(h2) == labs(v2));
}

// Appends a point of a run that is joined up and has no marker on its inner
// points (an outline, an arc drawn back): as appendOnce, and a point that
// carries the run straight on along a row, a column or a diagonal takes the
// place of the one before. The lines a to b and b to c cover the pixels from
// a to c, as the line a to c does, and the polygon through them is the same
// shape, so the pixels stay while the picture keeps, and the drawer is given,
// a point and a line fewer: a ring drawn back pixel by pixel runs along rows,
// columns and diagonals for much of its length.
inline __attribute__((always_inline)) void appendJoined(std::vector<ViewPoint>& points, size_t runStart, ViewPoint q)
{
    size_t n = points.size();
    if (n > runStart && points[n - 1] == q)
        return;
    if (n >= runStart + 2 && strictlyBetween(points[n - 2], points[n - 1], q)) {
        points[n - 1] = q;
        return;
    }
    points.push_back(q);
}

// What a picture is made in, kept from ring to ring: the picture itself then
// takes exactly the room it needs, once. Each thread making pictures has its
// own.
struct PictureRoom {
    std::vector<ViewPoint> outline, points;
    std::vector<PictureStep> steps;
    std::vector<uint32_t> firsts;  // each step's first point in `points`
};

PictureRoom& pictureRoom()
{
    static PictureRoom room;
    return room;
}

// Makes a ring picture from the millimetre path, piece by piece in order.
class PictureMaker {
public:
    PictureMaker(RingPicture& p, PictureRoom& room)
        : p_(p), r_(room), zoomX_(g->previewZoomX), zoomY_(g->previewZoomY)
    {
        r_.outline.clear();
        r_.points.clear();
        r_.steps.clear();
        r_.firsts.clear();
    }

    void outlinePoint(point_struct q)
    {
        if (r_.outline.empty())
            firstOutline_ = q;
        lastOutline_ = q;
        appendJoined(r_.outline, 0, viewPoint(q, zoomX_, zoomY_));
        outlineSeen_ = true;
    }

    // Fitted straight lines, following those before (fit type lines).
    void lines(const Vexa_Line* lines, int32_t count)
    {
        for (int32_t i = 0; i < count; i++) {
            if (!haveLines_) {
                firstLine_ = point_struct{lines[i].x1, lines[i].y1};
                linePoint(firstLine_);
            }
            haveLines_ = true;
            lastLine_ = point_struct{lines[i].x2, lines[i].y2};
            // Each line starts where the one before ended.
            linePoint(lastLine_);
        }
    }

    // Fitted pieces, following those before (fit type arcs).
    void arcs(const arc_struct* arcs, int32_t count, ArcSteps* steps)
    {
        for (int32_t i = 0; i < count; i++)
            arc(arcs[i], steps);
    }

    void finish()
    {
        p_.outlineClosed = outlineSeen_ && samePoint(firstOutline_, lastOutline_);
        if (haveLines_)
            addStep(kStepLines, 0, r_.points.size(), samePoint(firstLine_, lastLine_));
        // A control marker with another on its pixel later is drawn over by it.
        ViewPoint next{0, 0};
        bool haveNext = false;
        for (size_t i = r_.steps.size(); i-- > 0;) {
            PictureStep& s = r_.steps[i];
            if (s.kind == kStepLines)
                continue;
            uint32_t marker = s.kind == kStepArcPiece ? r_.firsts[i] + s.count : r_.firsts[i];
            ViewPoint at = r_.points[marker];
            s.markerRepeated = haveNext && at == next;
            next = at;
            haveNext = true;
        }
        // The box of every point drawn, arc centres left out; with the
        // centres, the box of every point kept, which the packing is
        // measured from. Every point kept is one of a step's or the
        // outline's.
        PixelBox drawn, kept;
        for (ViewPoint q : r_.outline)
            drawn.take(q);
        for (size_t k = 0; k < r_.steps.size(); k++) {
            const PictureStep& s = r_.steps[k];
            uint32_t end = r_.firsts[k] + (s.kind == kStepArcPiece ? s.count + 1 : s.count);
            for (uint32_t i = r_.firsts[k]; i < end; i++)
                drawn.take(r_.points[i]);
            if (s.kind == kStepArcPiece)
                kept.take(r_.points[end]);
        }
        if (p_.hasStart)
            drawn.take(p_.drawn.start);
        if (!drawn.empty()) {
            p_.empty = false;
            p_.drawn.low = drawn.low;
            p_.drawn.high = drawn.high;
        }
        kept.take(drawn);
        p_.drawn.outlineCount = (uint32_t)r_.outline.size();
        // The outline's points and the pieces' in one run: the room's
        // outline is cleared before it is used again.
        r_.outline.insert(r_.outline.end(), r_.points.begin(), r_.points.end());
        p_.packed.assign(r_.steps.data(), r_.steps.size(), r_.outline.data(), r_.outline.size(), kept.low, kept.high);
    }

private:
    // A step from point `first` of the pieces'. A step of more points than
    // one can count is a ring too large to draw.
    void addStep(PictureStepKind kind, size_t first, size_t count, bool closed)
    {
        if (count > kPictureStepMostPoints)
            throw std::bad_alloc();
        PictureStep s;
        s.count = (uint32_t)count;
        s.kind = kind;
        s.closed = closed ? 1 : 0;
        s.markerRepeated = 0;
        r_.steps.push_back(s);
        r_.firsts.push_back((uint32_t)first);
    }

    void linePoint(point_struct q)
    {
        ViewPoint v = viewPoint(q, zoomX_, zoomY_);
        appendOnce(r_.points, 0, v);
        if (!p_.hasStart) {
            p_.hasStart = true;
            p_.drawn.start = v;
        }
    }

    void arc(const arc_struct& a, ArcSteps* steps)
    {
        ViewPoint start = viewPoint(a.start, zoomX_, zoomY_);
        if (!p_.hasStart) {
            p_.hasStart = true;
            p_.drawn.start = start;
        }
        uint32_t first = (uint32_t)r_.points.size();
        if (a.type == kArcLine || a.type == kArcPoint) {
            ViewPoint end = viewPoint(a.end, zoomX_, zoomY_);
            r_.points.push_back(start);
            r_.points.push_back(end);
            addStep(kStepLinePiece, first, 2, false);
        } else if (a.type == kArcCircle || a.type == kArcFull) {
            int n = arcStepCount(a, kPreviewArcTolerance, steps);
            for (int k = 0; k < n; k++) {
                appendJoined(r_.points, first, viewPoint(arcStepPoint(*steps, k), zoomX_, zoomY_));
            }
            uint32_t count = (uint32_t)r_.points.size() - first;
            r_.points.push_back(start);
            r_.points.push_back(viewPoint(a.center, zoomX_, zoomY_));
            addStep(kStepArcPiece, first, count, false);
            p_.anyArc = true;
        }
    }

    RingPicture& p_;
    PictureRoom& r_;
    double zoomX_, zoomY_;  // the view's, read once a picture
    bool outlineSeen_ = false;
    point_struct firstOutline_{0, 0}, lastOutline_{0, 0};
    bool haveLines_ = false;
    point_struct firstLine_{0, 0}, lastLine_{0, 0};
};

void findHull(const bezier_stru* segments, const Ring& ring, const Volume& volume, const double (&offset)[2],
              RingPicture& p)
{
    p.hullKnown = true;
    p.hullEmpty = true;
    Placement placement = placementOf(volume);
    for (int32_t k = 0; segments != NULL && k < ring.count; k++) {
        bezier_stru placed = placeWith(placement, segments[k], offset);
        for (int n = 0; n < 4; n++) {
            for (int xy = 0; xy < 2; xy++) {
                double q = placed.P[n][xy];
                if (p.hullEmpty || q < p.hull.low[xy]) p.hull.low[xy] = q;
                if (p.hullEmpty || q > p.hull.high[xy]) p.hull.high[xy] = q;
            }
            p.hullEmpty = false;
        }
    }
}

// The cut path of every segment is made in this room, kept from ring to ring.
CutSegment& pathRoom()
{
    static CutSegment room;  // zeroed: holds nothing yet
    return room;
}

// The picture of a ring of `count` segments, made in the rooms given (the
// calling thread's). Pure computation: no suite is called, nothing but the
// rooms and `out` is written, so pictures of different rings can be made on
// different threads. '!Mem' when memory ran out; the picture is then to be
// left out.
ASErr makeRingPicture(const bezier_stru* segments, int32_t count, const Volume& volume, const double (&offset)[2],
                      RingPicture& out, CutSegment& path, PictureRoom& room)
{
    out = RingPicture();
    if (segments == NULL || count <= 0)
        return kNoErr;
    try {
        PictureMaker maker(out, room);
        ArcSteps steps;
        Placement placement = placementOf(volume);
        for (int32_t k = 0; k < count; k++) {
            bezier_stru placed = placeWith(placement, segments[k], offset);
            if (makeCutSegment(&placed, &volume, &path) != kNoErr) {
                out = RingPicture();
                return kMemoryErr;
            }
            // Each segment's polyline starts where the one before ended.
            int32_t kept = k == count - 1 ? path.count : path.count - 1;
            for (int32_t i = 0; i < kept; i++)
                maker.outlinePoint(path.points[i]);
            if (path.fit.type == kCutFitLines)
                maker.lines(path.fit.lines, path.fit.count);
            else if (path.fit.type == kCutFitArcs)
                maker.arcs(path.fit.arcs, path.fit.count, &steps);
        }
        maker.finish();
    } catch (const std::bad_alloc&) {
        out = RingPicture();
        return kMemoryErr;
    }
    return kNoErr;
}

ASErr makeRingPicture(const bezier_stru* segments, const Ring& ring, const Volume& volume, const double (&offset)[2],
                      RingPicture& out)
{
    return makeRingPicture(segments, ring.count, volume, offset, out, pathRoom(), pictureRoom());
}

// Whether anything of the picture (its markers included) can reach the frame.
bool reachesFrame(const Canvas& c, const Base& b, const RingPicture& p)
{
    if (p.empty)
        return false;
    if (g->viewShowArcCenter && p.anyArc)
        return true;  // an arc's centre may lie anywhere
    long reach = markerReach();
    PixelPoint low = onFrame(b, p.drawn.low), high = onFrame(b, p.drawn.high);
    return boxMeetsFrame(c, std::min(low.h, high.h) - reach, std::min(low.v, high.v) - reach,
                         std::max(low.h, high.h) + reach, std::max(low.v, high.v) + reach);
}

// Whether a picture not made yet could reach the frame: its hull, widened
// by what fitting and drawing arcs back may stray from it, and the markers.
bool hullReachesFrame(const Canvas& c, const RingPicture& p, const Volume& volume)
{
    if (p.hullEmpty)
        return false;
    if (g->viewShowArcCenter)
        return true;
    double stray = fabs(volume.precision) + kPreviewArcTolerance + 0.01;
    if (!(stray < 1e6))
        return true;  // a precision this wide bounds nothing
    long reach = markerReach() + 1;
    long h1 = frameH(p.hull.low[0] - stray), h2 = frameH(p.hull.high[0] + stray);
    long v1 = frameV(p.hull.low[1] - stray), v2 = frameV(p.hull.high[1] + stray);
    return boxMeetsFrame(c, std::min(h1, h2) - reach, std::min(v1, v2) - reach, std::max(h1, h2) + reach,
                         std::max(v1, v2) + reach);
}

ADMColor fillColorOf(const Volume& volume)
{
    return ((uint32_t)(volume.colorRGB[0] & 0xFF) << 24) | ((uint32_t)(volume.colorRGB[1] & 0xFF) << 16) |
           ((uint32_t)(volume.colorRGB[2] & 0xFF) << 8) | 0xFFu;
}

// The frame pixels of a run of a picture's points, in a buffer kept between runs.
const std::vector<PixelPoint>& framePixels(const Base& b, const PackedPicture& p, size_t first, size_t count)
{
    static std::vector<PixelPoint> pixels;
    pixels.resize(count);
    // onFrame's, with the way y goes told once for the run.
    PixelPoint* out = pixels.data();
    long h = b.h, v = b.v, down = b.up ? -1 : 1;
    p.forPoints(first, count, [out, h, v, down](size_t i, ViewPoint q) { out[i] = PixelPoint{h + q.h, v + down * q.v}; });
    return pixels;
}

void paintRingPicture(const Canvas& c, const Base& b, const RingPicture& p, const Volume& volume)
{
    const uint32_t* w = g->previewOption.words;
    OvalPen pen;
    if (p.drawn.outlineCount > 0) {
        const std::vector<PixelPoint>& points = framePixels(b, p.packed, 0, p.drawn.outlineCount);
        if (p.outlineClosed) {
            // Art without a fill (a weeding border, say) is not painted over
            // what lies inside it.
            if (g->previewOption.fill && volume.colorKind != kVolumeColorNone) {
                setColor(c, fillColorOf(volume));
                polygon(c, points.data(), points.size(), true);
            } else {
                setColor(c, kPreviewRingColor);
                polygon(c, points.data(), points.size(), false);
            }
        } else {
            setColor(c, kPreviewRingColor);
            polyline(c, points.data(), points.size());
        }
    }
    // Each step takes the points after those of the step before.
    size_t first = p.drawn.outlineCount;
    for (size_t k = 0; k < p.packed.stepCount(); k++) {
        const PictureStep s = p.packed.step(k);
        switch (s.kind) {
        case kStepLines: {
            const std::vector<PixelPoint>& points = framePixels(b, p.packed, first, s.count);
            // The markers first, then the lines over them.
            if (g->viewShowControlPoints)
                for (const PixelPoint& at : points)
                    controlMarker(c, pen, at.h, at.v);
            setColor(c, w[kPreviewLineWord]);
            // An open run is not closed up: the knife does not cut back to the start.
            if (s.closed)
                polygon(c, points.data(), points.size(), false);
            else
                polyline(c, points.data(), points.size());
            first += s.count;
            break;
        }
        case kStepLinePiece: {
            PixelPoint start = onFrame(b, p.packed.point(first)), end = onFrame(b, p.packed.point(first + 1));
            setColor(c, w[kPreviewLineWord]);
            line(c, start.h, start.v, end.h, end.v);
            if (g->viewShowControlPoints && !s.markerRepeated)
                controlMarker(c, pen, start.h, start.v);
            first += 2;
            break;
        }
        case kStepArcPiece: {
            setColor(c, w[kPreviewArcWord]);
            const std::vector<PixelPoint>& points = framePixels(b, p.packed, first, s.count);
            polyline(c, points.data(), points.size());
            PixelPoint start = onFrame(b, p.packed.point(first + s.count));
            // A marker drawn over later is left out, unless the centre's
            // cross follows it (a square marker sets the colour it takes).
            if (g->viewShowControlPoints && (!s.markerRepeated || g->viewShowArcCenter))
                controlMarker(c, pen, start.h, start.v);
            if (g->viewShowArcCenter) {
                PixelPoint centre = onFrame(b, p.packed.point(first + s.count + 1));
                line(c, centre.h + 3, centre.v, centre.h - 3, centre.v);
                line(c, centre.h, centre.v + 3, centre.h, centre.v - 3);
            }
            first += s.count + 2;
            break;
        }
        default:
            break;
        }
    }
    if (p.hasStart && g->viewShowStartPoint) {
        PixelPoint start = onFrame(b, p.drawn.start);
        startMarker(c, pen, start.h, start.v);
    }
    pen.done();
    setColor(c, kADMBlackColor);
    sADMDrawer->SetDrawMode(c.drawer, kADMNormalMode);
}

// ---- Kept pictures -------------------------------------------------------------------------
//
// Kept volume by volume, in the order g->volumes holds them. A kept picture
// is drawn only while everything it was made from is as it was: the zoom
// (the same for every volume, kept once), and of the volume what places its
// segments (placementOf), where its copies lie (getVolumeCopyOffset), how
// they are fitted (makeCutSegment) and where each ring's segments are read
// from (ringSegments).

// Compared byte for byte (its padding zeroed).
struct PictureKey {
    const Ring* rings;  // null: nothing kept
    int32_t ringCount, copiesX, copiesY, fitType;
    float halfSize[2];  // of loadRect: the centre it is turned and mirrored about
    float corner[2];    // rect's left and bottom: the first copy
    double angle, rotMinX, rotMinY, scaleX, scaleY, pitch[2], precision;
    uint8_t mirror;
};

PictureKey keyOf(const Volume& v)
{
    PictureKey key;
    memset(&key, 0, sizeof key);
    key.rings = v.rings;
    key.ringCount = v.ringCount;
    key.copiesX = v.copiesX;
    key.copiesY = v.copiesY;
    key.fitType = v.fitType;
    Placement placement = placementOf(v);
    key.halfSize[0] = (float)placement.centre[0];
    key.halfSize[1] = (float)placement.centre[1];
    key.corner[0] = v.rect[0];
    key.corner[1] = v.rect[3];
    key.angle = v.angle;
    key.rotMinX = v.rotMinX;
    key.rotMinY = v.rotMinY;
    key.scaleX = v.scaleX;
    key.scaleY = v.scaleY;
    volumeCopyPitch(v, key.pitch);
    key.precision = v.precision;
    key.mirror = v.mirror;
    return key;
}

// What a ring's segments are read from: its own array, or else its path,
// moved by the corner it was loaded at. Compared byte for byte.
struct RingSource {
    const bezier_stru* segments;
    AIArtHandle art;
    int32_t count;
    uint16_t kind;
    float origin[2];
};

RingSource sourceOf(const Ring& ring)
{
    RingSource s;
    memset(&s, 0, sizeof s);
    s.segments = ring.beziers;
    s.art = ring.art;
    s.count = ring.count;
    s.kind = ring.kind;
    s.origin[0] = ring.originX;
    s.origin[1] = ring.originY;
    return s;
}

struct VolumePicture {
    PictureKey key;
    std::unique_ptr<RingSource[]> sources;  // ring by ring, key.ringCount of them
    std::unique_ptr<RingPicture[]> rings;   // ring by ring, each copy column by column

    size_t pictureCount() const { return (size_t)key.ringCount * (size_t)key.copiesX * (size_t)key.copiesY; }
};

std::vector<VolumePicture> g_pictures;  // as many as g->volumes, once anything is kept
double g_picturesZoom[2] = {0, 0};      // the zoom every kept picture was made at
size_t g_keptPoints = 0;

// Beyond this many points in all, pictures are made for each redraw afresh.
const size_t kKeptPointLimit = 8000000;
// A volume whose copies hold more segments than this is never kept whole.
const long kKeptSegmentLimit = 400000;

bool madeFrom(const VolumePicture& p, const Volume& v)
{
    PictureKey key = keyOf(v);
    if (memcmp(&key, &p.key, sizeof key) != 0)
        return false;
    for (int32_t r = 0; r < v.ringCount; r++) {
        RingSource s = sourceOf(v.rings[r]);
        if (memcmp(&s, &p.sources[r], sizeof s) != 0)
            return false;
    }
    return true;
}

void forget(VolumePicture& p)
{
    for (size_t k = 0; p.rings != nullptr && k < p.pictureCount(); k++)
        g_keptPoints -= p.rings[k].pointCount();
    p = VolumePicture();
}

// The kept pictures of volume `index` of g->volumes as drawn now (`v`), new
// and empty when they are not up to date (each is made when it is first
// drawn); null when the volume is too large to keep or memory is short (the
// caller then makes each picture as it draws it).
VolumePicture* keptPicturesOf(int32_t index, const Volume& v)
{
    if (index < 0 || index >= g->volumeCount || v.rings == NULL || v.ringCount <= 0 || v.copiesX <= 0 ||
        v.copiesY <= 0)
        return nullptr;
    try {
        // Pictures made at another zoom are all out of date at once.
        double zoom[2] = {g->previewZoomX, g->previewZoomY};
        if (g_pictures.size() != (size_t)g->volumeCount || memcmp(zoom, g_picturesZoom, sizeof zoom) != 0) {
            g_pictures.clear();
            g_keptPoints = 0;
            g_pictures.resize((size_t)g->volumeCount);
            memcpy(g_picturesZoom, zoom, sizeof zoom);
        }
        VolumePicture& kept = g_pictures[(size_t)index];
        // Pictures up to date were made from the same counts of segments and
        // copies, which were then within the limit. An empty slot's key holds
        // no rings, so it matches no volume drawn here (each has rings).
        if (madeFrom(kept, v))
            return &kept;
        forget(kept);
        long segments = 0;
        for (int32_t r = 0; r < v.ringCount; r++)
            segments += std::max(0, v.rings[r].count);
        if ((double)segments * v.copiesX * v.copiesY > (double)kKeptSegmentLimit)
            return nullptr;
        VolumePicture made;
        made.key = keyOf(v);
        made.sources.reset(new RingSource[(size_t)v.ringCount]);
        for (int32_t r = 0; r < v.ringCount; r++)
            made.sources[r] = sourceOf(v.rings[r]);
        made.rings.reset(new RingPicture[made.pictureCount()]);
        kept = std::move(made);
        return &kept;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// The volume of g->volumes that a volume handed in by value stands for: the
// one of the same rings, looked for from the one after the last found, as
// volumes are drawn in order; -1 for none.
int32_t indexOfVolume(const Volume& v)
{
    static int32_t next = 0;
    for (int32_t k = 0; g->volumes != NULL && k < g->volumeCount; k++) {
        int32_t i = (next + k) % g->volumeCount;
        if (g->volumes[i].rings == v.rings) {
            next = i + 1;
            return i;
        }
    }
    return -1;
}

// ---- The selection's outline ---------------------------------------------------------------

void handleRect(ADMPoint p, ADMRect* r)
{
    r->top = (ASInt16)(p.v - 3);
    r->left = (ASInt16)(p.h - 3);
    r->bottom = (ASInt16)(p.v + 3);
    r->right = (ASInt16)(p.h + 3);
}

// An outline and its nine handles, in the drawer's colour and mode.
void outlineWithHandles(const Canvas& c, const ADMRect& r, ADMRect* hot)
{
    rect(c, r.top, r.left, r.bottom, r.right, false);
    ADMPoint points[9];
    getHandlePoints(r, points);
    for (int k = 0; k < 9; k++) {
        ADMRect handle;
        handleRect(points[k], &handle);
        if (hot != NULL)
            hot[k] = handle;
        rect(c, handle.top, handle.left, handle.bottom, handle.right, false);
    }
}

// A volume's cut-order label: its number (not negative) in decimal, a single
// digit after a space. Returns the length.
size_t labelText(int32_t index, char (&label)[16])
{
    char digits[12];
    size_t n = 0;
    uint32_t value = (uint32_t)index;
    do {
        digits[n++] = (char)('0' + value % 10);
        value /= 10;
    } while (value != 0);
    size_t k = 0;
    if (n == 1)
        label[k++] = ' ';
    while (n > 0)
        label[k++] = digits[--n];
    label[k] = '\0';
    return k;
}

bool degenerate(const ADMRect& r) { return r.left == r.right || r.top == r.bottom; }

void tickLabel(const Canvas& c, long value, long h, long v)
{
    if (h < -200 || h >= c.width || v < -20 || v >= c.height + 20)
        return;
    char text[24];
    snprintf(text, sizeof text, "%i", (int)value);
    ADMPoint at = {(ASInt16)h, (ASInt16)v};
    sADMDrawer->DrawText(c.drawer, text, &at);
}

long tickLength(long k) { return k % 10 == 0 ? 8 : k % 5 == 0 ? 5 : 2; }

}  // namespace

// ---- Conversions ---------------------------------------------------------------------------

ASErr convertDimenPointToFramePoint(AIRealPoint point, ADMPoint* framePoint)
{
    framePoint->h = held(frameH((double)point.h));
    framePoint->v = held(frameV((double)point.v));
    return kNoErr;
}

ASErr convertDimenRectToFrameRect(AIRealRect rect, ADMRect* frameRect)
{
    frameRect->top = held(frameV((double)rect.top));
    frameRect->left = held(frameH((double)rect.left));
    frameRect->bottom = held(frameV((double)rect.bottom));
    frameRect->right = held(frameH((double)rect.right));
    return kNoErr;
}

ASErr convertDimenDoubleToFrameLong(const double (&xy)[2], long (&hv)[2])
{
    hv[0] = frameH(xy[0]);
    hv[1] = frameV(xy[1]);
    return kNoErr;
}

static double dimenX(long h) { return (double)(h - g->previewOrigin.h - kRuler) / g->previewZoomX; }

static double dimenY(long v)
{
    return yUpwards() ? (double)(g->previewOrigin.v - v - kRuler) / g->previewZoomY
                      : (double)(v - g->previewOrigin.v - kRuler) / g->previewZoomY;
}

ASErr convertFramePointToDimenPoint(ADMPoint framePoint, AIRealPoint* point)
{
    point->h = (AIReal)dimenX(framePoint.h);
    point->v = (AIReal)dimenY(framePoint.v);
    return kNoErr;
}

ASErr convertFrameRectToDimenRect(ADMRect frameRect, AIRealRect* rect)
{
    rect->left = (AIReal)dimenX(frameRect.left);
    rect->top = (AIReal)dimenY(frameRect.top);
    rect->right = (AIReal)dimenX(frameRect.right);
    rect->bottom = (AIReal)dimenY(frameRect.bottom);
    return kNoErr;
}

// ---- Drawing -------------------------------------------------------------------------------

static void makePicturesAhead(const Canvas& c);
static void drawVolumeAt(ADMItemRef item, ADMDrawerRef drawer, int32_t index, const Volume& volume);

ASErr drawPreviewFrame(ADMItemRef item, ADMDrawerRef drawer)
{
    Canvas c = canvasOf(item, drawer);
    sADMDrawer->SetDrawMode(drawer, kADMNormalMode);
    setColor(c, g->previewOption.words[kPreviewBackgroundWord]);
    rect(c, 0, 0, c.height, c.width, true);

    double origin[] = {0.0, 0.0};
    long corner[2], far[2];
    convertDimenDoubleToFrameLong(origin, corner);
    double page[] = {(double)(float)g->curPlotter.PlotterSizeX, (double)(float)g->curPlotter.PlotterSizeY};
    convertDimenDoubleToFrameLong(page, far);
    setColor(c, g->previewOption.words[kPreviewPageWord]);
    rect(c, corner[1], corner[0], far[1], far[0], true);
    double board[] = {(double)g->mediaWidth, (double)g->mediaLength};
    convertDimenDoubleToFrameLong(board, far);
    setColor(c, g->previewOption.words[kPreviewBoardWord]);
    rect(c, corner[1], corner[0], far[1], far[0], true);

    makePicturesAhead(c);
    for (int32_t i = 0; g->volumes != NULL && i < g->volumeCount; i++)
        drawVolumeAt(item, drawer, i, g->volumes[i]);
    drawSelectRectUnion(item, drawer, NULL);
    drawRules(item, drawer);
    setColor(c, kADMBlackColor);
    return kNoErr;
}

// The copy columns and rows (from to to, both included; none when from
// passes to) that may reach the frame, found from the rings' hull at the
// first copy and the step between copies rather than copy by copy, so that a
// volume of thousands of copies costs what its copies in view cost. A copy
// left out is one the hull test of each copy would leave out too.
static void copiesInView(const Canvas& c, const Volume& volume, int32_t (&from)[2], int32_t (&to)[2])
{
    from[0] = from[1] = 0;
    to[0] = volume.copiesX - 1;
    to[1] = volume.copiesY - 1;
    if ((int64_t)volume.copiesX * volume.copiesY <= 1)
        return;  // one copy is told by its own hull
    double stray = fabs(volume.precision) + kPreviewArcTolerance + 0.01;
    if (g->viewShowArcCenter || !(stray < 1e6))
        return;  // what is drawn is not bounded by the hull
    double first[2];
    getVolumeCopyOffset(volume, 0, 0, first);
    double low[] = {0, 0}, high[] = {0, 0};
    bool any = false;
    for (int32_t r = 0; volume.rings != NULL && r < volume.ringCount; r++) {
        if (ringInJob(&volume, r) == kJobLeftOut)
            continue;
        // A ring that cannot be read narrows nothing: every copy is then
        // tried, and left out, as it is drawn.
        const bezier_stru* segments = NULL;
        if (ringSegments(&volume.rings[r], segmentRoom(kSegmentsForDrawing), &segments) != kNoErr)
            return;
        RingPicture p;
        findHull(segments, volume.rings[r], volume, first, p);
        if (p.hullEmpty)
            continue;
        for (int k = 0; k < 2; k++) {
            low[k] = any ? std::min(low[k], p.hull.low[k]) : p.hull.low[k];
            high[k] = any ? std::max(high[k], p.hull.high[k]) : p.hull.high[k];
        }
        any = true;
    }
    if (!any)
        return;
    long reach = markerReach() + 2;
    double frameLow[] = {std::min(dimenX(-reach), dimenX(c.width + reach)),
                         std::min(dimenY(-reach), dimenY(c.height + reach))};
    double frameHigh[] = {std::max(dimenX(-reach), dimenX(c.width + reach)),
                          std::max(dimenY(-reach), dimenY(c.height + reach))};
    for (int k = 0; k < 2; k++) {
        int32_t copies = k == 0 ? volume.copiesX : volume.copiesY;
        double pitch = k == 0 ? volume.gapX + volume.baseWidth * volume.scaleX
                              : volume.gapY + volume.baseHeight * volume.scaleY;
        // Copy i spans lo + i * pitch to hi + i * pitch, give or take the
        // rounding of its offset, which a copy more on either side covers.
        double lo = low[k] - stray, hi = high[k] + stray;
        if (!isfinite(frameLow[k]) || !isfinite(frameHigh[k]) || !isfinite(lo) || !isfinite(hi) || !isfinite(pitch))
            continue;
        if (pitch == 0.0) {
            if (hi < frameLow[k] || lo > frameHigh[k])
                to[k] = -1;
            continue;
        }
        double a = (frameLow[k] - hi) / pitch, b = (frameHigh[k] - lo) / pitch;
        if (pitch < 0)
            std::swap(a, b);
        double start = std::max(0.0, floor(a) - 1), end = std::min((double)copies - 1, ceil(b) + 1);
        from[k] = start > (double)copies ? copies : (int32_t)start;
        to[k] = end < 0 ? -1 : (int32_t)end;
    }
}

// Whether the picture of ring r at the copy offset is to be made for the
// frame: its hull (found here when not known yet) reaches it. *segments then
// holds the ring's segments as read. False too when the ring cannot be read.
static bool pictureWanted(const Canvas& c, const Volume& volume, int32_t r, const double (&offset)[2], RingPicture& p,
                          const bezier_stru** segments)
{
    *segments = NULL;
    bool read = false;
    if (!p.hullKnown) {
        if (ringSegments(&volume.rings[r], segmentRoom(kSegmentsForDrawing), segments) != kNoErr)
            return false;
        read = true;
        findHull(*segments, volume.rings[r], volume, offset, p);
    }
    if (!hullReachesFrame(c, p, volume))
        return false;
    return read || ringSegments(&volume.rings[r], segmentRoom(kSegmentsForDrawing), segments) == kNoErr;
}

static size_t pictureIndex(const Volume& volume, int32_t r, int32_t i, int32_t j)
{
    return ((size_t)r * (size_t)volume.copiesX + (size_t)i) * (size_t)volume.copiesY + (size_t)j;
}

// ---- Pictures made ahead -------------------------------------------------------------------
//
// Making the pictures of a first drawing (flattening and fitting every
// segment in view) is most of what opening the preview costs, and the
// picture of a ring depends on nothing but its segments, its volume and the
// zoom. So a full redraw first reads the segments of every ring whose picture
// it lacks (through the suites, on this thread), has their pictures made on
// worker threads, and keeps them in volume order as drawVolume keeps them:
// drawVolume then finds them made, and draws what it would have made itself.
// A worker calls no suite and writes nothing but its own rooms and the jobs
// it takes; the threads end before the drawing goes on.

struct PictureJob {
    RingPicture* picture;  // where it is kept
    const Volume* volume;
    double offset[2];
    size_t first;  // its segments in the batch's
    int32_t count;
    RingPicture made;
    ASErr error;
};

// Segments read ahead at once (2 MB of them): a job of millions of segments
// is made in batches.
const size_t kAheadBatchSegments = 32768;
// Fewer rings than this are made as they are drawn: threads would not pay.
const size_t kAheadLeastRings = 64;
const unsigned kAheadMostThreads = 8;

static void makeBatch(std::vector<PictureJob>& jobs, std::vector<bezier_stru>& segments)
{
    if (jobs.size() >= kAheadLeastRings) {
        std::atomic<size_t> next(0);
        auto work = [&jobs, &segments, &next]() {
            CutSegment path;
            initCutSegment(&path);
            PictureRoom room;
            for (size_t k = next++; k < jobs.size(); k = next++) {
                PictureJob& job = jobs[k];
                job.error = makeRingPicture(segments.data() + job.first, job.count, *job.volume, job.offset, job.made,
                                            path, room);
            }
            freeCutSegment(&path);
        };
        unsigned threads = std::min(kAheadMostThreads, std::max(1u, std::thread::hardware_concurrency()));
        threads = std::min(threads, (unsigned)(jobs.size() / (kAheadLeastRings / 2)));
        runOnWorkers(threads, work);
        // Kept in drawing order within the same bound as drawVolume keeps
        // them; one not kept (or not made for want of memory) is made again
        // when it is drawn, and drawn from scratch.
        for (PictureJob& job : jobs) {
            size_t points = job.made.pointCount();
            if (job.error != kNoErr || g_keptPoints + points > kKeptPointLimit)
                continue;
            job.made.made = true;
            g_keptPoints += points;
            *job.picture = std::move(job.made);
        }
    }
    jobs.clear();
    segments.clear();
}

static void makePicturesAhead(const Canvas& c)
{
    try {
        std::vector<PictureJob> jobs;
        std::vector<bezier_stru> segments;
        // A batch ends with the ring that takes it to the bound: room for
        // the bound and a ring more from the first, where growing would
        // double it.
        segments.reserve(kAheadBatchSegments + 64);
        for (int32_t d = 0; g->volumes != NULL && d < g->volumeCount; d++) {
            const Volume& volume = g->volumes[d];
            if (volumeInJob(&volume) == kJobLeftOut)
                continue;
            VolumePicture* kept = keptPicturesOf(d, volume);  // none for a volume without rings
            if (kept == nullptr)
                continue;
            int32_t from[2], to[2];
            copiesInView(c, volume, from, to);
            for (int32_t r = 0; r < volume.ringCount; r++) {
                if (ringInJob(&volume, r) == kJobLeftOut)
                    continue;
                for (int32_t i = from[0]; i <= to[0]; i++)
                    for (int32_t j = from[1]; j <= to[1]; j++) {
                        RingPicture& p = kept->rings[pictureIndex(volume, r, i, j)];
                        if (p.made)
                            continue;
                        PictureJob job;
                        getVolumeCopyOffset(volume, i, j, job.offset);
                        const bezier_stru* read = NULL;
                        if (!pictureWanted(c, volume, r, job.offset, p, &read) || read == NULL ||
                            volume.rings[r].count <= 0)
                            continue;
                        job.picture = &p;
                        job.volume = &volume;
                        job.first = segments.size();
                        job.count = volume.rings[r].count;
                        job.error = kNoErr;
                        segments.insert(segments.end(), read, read + job.count);
                        jobs.push_back(std::move(job));
                        if (segments.size() >= kAheadBatchSegments)
                            makeBatch(jobs, segments);
                    }
            }
        }
        makeBatch(jobs, segments);
    } catch (const std::bad_alloc&) {
        // Short of memory: what is not made yet is made as it is drawn.
    }
}

// Volume `index` of g->volumes as drawn now (`volume`), or -1 for a volume
// whose pictures are not kept.
static void drawVolumeAt(ADMItemRef item, ADMDrawerRef drawer, int32_t index, const Volume& volume)
{
    // The registration marks are drawn too: the job is seen against them.
    if (volumeInJob(&volume) == kJobLeftOut)
        return;
    Canvas c = canvasOf(item, drawer);
    Base b = baseOf();
    VolumePicture* kept = keptPicturesOf(index, volume);
    int32_t from[2], to[2];
    copiesInView(c, volume, from, to);
    RingPicture scratch;
    for (int32_t r = 0; volume.rings != NULL && r < volume.ringCount; r++) {
        // A ring not cut (the source of a perforation) is not drawn.
        if (ringInJob(&volume, r) == kJobLeftOut)
            continue;
        for (int32_t i = from[0]; i <= to[0]; i++)
            for (int32_t j = from[1]; j <= to[1]; j++) {
                RingPicture* p = kept != nullptr ? &kept->rings[pictureIndex(volume, r, i, j)] : &scratch;
                if (kept == nullptr)
                    scratch = RingPicture();
                if (!p->made) {
                    double offset[2];
                    getVolumeCopyOffset(volume, i, j, offset);
                    // A ring that cannot be read or made for want of memory
                    // is left out, and the rest is drawn. Its segments are
                    // read only when its hull or picture is to be made.
                    const bezier_stru* segments = NULL;
                    if (!pictureWanted(c, volume, r, offset, *p, &segments))
                        continue;
                    RingPicture made;
                    if (makeRingPicture(segments, volume.rings[r], volume, offset, made) != kNoErr)
                        continue;
                    made.made = true;
                    if (kept != nullptr && g_keptPoints + made.pointCount() <= kKeptPointLimit) {
                        g_keptPoints += made.pointCount();
                        *p = std::move(made);
                    } else {
                        scratch = std::move(made);
                        p = &scratch;
                    }
                }
                if (reachesFrame(c, b, *p))
                    paintRingPicture(c, b, *p, volume);
            }
    }

    setColor(c, kADMBlackColor);
    if (g->viewShowIndex && volume.index >= 0) {
        // The label starts 20 pixels left of and 5 below the centre of all copies.
        double centre[] = {((double)volume.rect[0] + (double)volume.rect[2]) / 2.0,
                           ((double)volume.rect[1] + (double)volume.rect[3]) / 2.0};
        long at2[2];
        convertDimenDoubleToFrameLong(centre, at2);
        long h = at2[0] - 20, v = at2[1] + 5;
        if (boxMeetsFrame(c, h, v - 20, h + 120, v + 10) && fits(h) && fits(v)) {
            char label[16];
            size_t length = labelText(volume.index, label);
            RGBColor black = {0, 0, 0};
            RGBForeColor(&black);
            MoveTo((short)(h + c.windowLeft), (short)(v + c.windowTop));
            DrawText(label, 0, (short)length);
            PenNormal();
        }
    }
}

ASErr drawVolume(ADMItemRef item, ADMDrawerRef drawer, Volume volume)
{
    drawVolumeAt(item, drawer, indexOfVolume(volume), volume);
    return kNoErr;
}

ASErr drawRing(ADMItemRef item, ADMDrawerRef drawer, Ring ring, Volume volume, double (&offset)[2])
{
    Canvas c = canvasOf(item, drawer);
    Base b = baseOf();
    RingPicture p;
    const bezier_stru* segments = NULL;
    if (ringSegments(&ring, segmentRoom(kSegmentsForDrawing), &segments) == kNoErr &&
        makeRingPicture(segments, ring, volume, offset, p) == kNoErr && reachesFrame(c, b, p))
        paintRingPicture(c, b, p, volume);
    return kNoErr;
}

// Pieces handed in on their own are drawn as a ring of nothing but them.
template <typename Add>
void drawPieces(ADMItemRef item, ADMDrawerRef drawer, Add add)
{
    Canvas c = canvasOf(item, drawer);
    Base b = baseOf();
    try {
        RingPicture p;
        PictureMaker maker(p, pictureRoom());
        add(maker);
        maker.finish();
        Volume none;
        memset(&none, 0, sizeof none);
        paintRingPicture(c, b, p, none);
    } catch (const std::bad_alloc&) {
        // No memory: the pieces are not drawn.
    }
}

ASErr drawFitLine(ADMItemRef item, ADMDrawerRef drawer, Vexa_Line* lines, int32_t count)
{
    if (count <= 0 || lines == NULL)
        return kNoErr;
    drawPieces(item, drawer, [&](PictureMaker& maker) { maker.lines(lines, count); });
    return kNoErr;
}

ASErr drawFitArc(ADMItemRef item, ADMDrawerRef drawer, arc_struct* arcs, int32_t count)
{
    if (count <= 0 || arcs == NULL)
        return kNoErr;
    drawPieces(item, drawer, [&](PictureMaker& maker) {
        ArcSteps steps;
        maker.arcs(arcs, count, &steps);
    });
    return kNoErr;
}

ASErr drawControlPoint(ADMItemRef item, ADMDrawerRef drawer, ADMPoint point)
{
    OvalPen pen;
    controlMarker(canvasOf(item, drawer), pen, point.h, point.v);
    pen.done();
    return kNoErr;
}

ASErr drawStartPoint(ADMItemRef item, ADMDrawerRef drawer, ADMPoint point)
{
    OvalPen pen;
    startMarker(canvasOf(item, drawer), pen, point.h, point.v);
    pen.done();
    return kNoErr;
}

void getHandlePoints(ADMRect r, ADMPoint (&points)[9])
{
    ASInt16 midH = (ASInt16)((r.left + r.right) / 2);
    ASInt16 midV = (ASInt16)((r.top + r.bottom) / 2);
    const ADMPoint all[] = {{r.left, r.bottom}, {r.left, midV},  {r.left, r.top},
                            {midH, r.top},      {r.right, r.top}, {r.right, midV},
                            {r.right, r.bottom}, {midH, r.bottom}, {midH, midV}};
    for (int k = 0; k < 9; k++)
        points[k] = all[k];
}

ASErr drawSelectRectUnion(ADMItemRef item, ADMDrawerRef drawer, ADMRect* oldRect)
{
    Canvas c = canvasOf(item, drawer);
    sADMDrawer->SetDrawMode(drawer, kADMXORMode);
    setColor(c, kPreviewSelectionColor);
    if (oldRect != NULL && !degenerate(*oldRect))
        outlineWithHandles(c, *oldRect, NULL);
    AIRealRect selection;
    if (getSelectionVolumeRealRect(&selection) != kNoErr) {
        memset(g->selectionHotRects, 0, sizeof g->selectionHotRects);
        if (oldRect != NULL)
            memset(oldRect, 0, sizeof *oldRect);
    } else {
        ADMRect frame;
        convertDimenRectToFrameRect(selection, &frame);
        outlineWithHandles(c, frame, g->selectionHotRects);
        if (oldRect != NULL)
            *oldRect = frame;
    }
    sADMDrawer->SetDrawMode(drawer, kADMNormalMode);
    setColor(c, kADMBlackColor);
    return kNoErr;
}

ASErr drawDragRect(ADMItemRef item, ADMDrawerRef drawer, ADMPoint* anchor, ADMPoint* last, ADMPoint* current)
{
    Canvas c = canvasOf(item, drawer);
    sADMDrawer->SetDrawMode(drawer, kADMXORMode);
    setColor(c, kPreviewDragColor);
    rect(c, anchor->v, anchor->h, last->v, last->h, false);
    if (current->h != anchor->h && current->v != anchor->v)
        rect(c, anchor->v, anchor->h, current->v, current->h, false);
    *last = *current;
    sADMDrawer->SetDrawMode(drawer, kADMNormalMode);
    setColor(c, kADMBlackColor);
    return kNoErr;
}

ASErr drawDragRectUnion(ADMItemRef item, ADMDrawerRef drawer, ADMRect* oldRect, ADMRect* newRect)
{
    Canvas c = canvasOf(item, drawer);
    sADMDrawer->SetDrawMode(drawer, kADMXORMode);
    setColor(c, kPreviewSelectionColor);
    outlineWithHandles(c, *oldRect, NULL);
    outlineWithHandles(c, *newRect, NULL);
    *oldRect = *newRect;
    sADMDrawer->SetDrawMode(drawer, kADMNormalMode);
    setColor(c, kADMBlackColor);
    return kNoErr;
}

ASErr drawRules(ADMItemRef item, ADMDrawerRef drawer)
{
    Canvas c = canvasOf(item, drawer);
    long W = c.width, H = c.height;
    bool topRuler = g->curPlotter.PlotterOrigin == 2;
    sADMDrawer->SetDrawMode(drawer, kADMNormalMode);
    setColor(c, kADMWhiteColor);
    rect(c, 0, 0, H, kRuler, true);
    // The horizontal ruler's strip lies where its ticks are: along the top
    // when y grows downwards, so that nothing is drawn over its labels.
    if (topRuler)
        rect(c, 0, 0, kRuler, W, true);
    else
        rect(c, H - kRuler, 0, H, W, true);
    setColor(c, kADMBlackColor);

    ADMRect whole = {0, 0, (ASInt16)H, (ASInt16)W};
    AIRealRect mm;
    convertFrameRectToDimenRect(whole, &mm);
    if (!isfinite(mm.left) || !isfinite(mm.right) || !isfinite(mm.top) || !isfinite(mm.bottom))
        return kNoErr;  // no zoom to measure with
    long span = (long)(mm.right - mm.left);
    long step = std::max(1L, std::labs(span / 100));

    long vb = topRuler ? kRuler : H - kRuler;
    long direction = topRuler ? -1 : 1;
    for (int run = 0; run < 2; run++) {
        long k = 0;
        for (long x = 0; run == 0 ? x < mm.right : x > mm.left; x += run == 0 ? step : -step, k++) {
            long h = frameH((double)x);
            if (h < -200 || h > W)
                continue;
            line(c, h, vb, h, vb + direction * tickLength(k));
            if (k % 10 == 0)
                tickLabel(c, x, h - 5, topRuler ? vb - 8 : vb + 24);
        }
    }
    line(c, 0, vb, W, vb);

    double high = std::max(mm.top, mm.bottom), low = std::min(mm.top, mm.bottom);
    for (int run = 0; run < 2; run++) {
        long k = 0;
        for (long y = 0; run == 0 ? y < high : y > low; y += run == 0 ? step : -step, k++) {
            long v = frameV((double)y);
            if (v < -20 || v > H + 20)
                continue;
            line(c, kRuler, v, kRuler - tickLength(k), v);
            if (k % 10 == 0)
                tickLabel(c, y, 6, v);
        }
    }
    line(c, kRuler, H, kRuler, 0);
    setColor(c, kADMBlackColor);
    sADMDrawer->SetDrawMode(drawer, kADMNormalMode);
    return kNoErr;
}

int32_t checkHotRect(ADMPoint point)
{
    for (int32_t k = 0; k < 9; k++) {
        const ADMRect& r = g->selectionHotRects[k];
        if (point.h > r.left && point.h < r.right && point.v > r.top && point.v < r.bottom)
            return k;
    }
    return -1;
}

void releasePreviewCache()
{
    std::vector<VolumePicture>().swap(g_pictures);
    g_keptPoints = 0;
    // The room pictures are made in goes with them: the plug-in may be
    // unloaded next.
    freeCutSegment(&pathRoom());
}
