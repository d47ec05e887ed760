#include "Documents/Areas.h"

#include <algorithm>
#include <cmath>

namespace vt::host::areas {

using ClipperLib::cInt;
using ClipperLib::IntPoint;

std::vector<const ArtNode*> pathsOf(const ArtNode& art)
{
    std::vector<const ArtNode*> out;
    if (art.type == kPathArt) out.push_back(&art);
    if (art.type == kCompoundPathArt)
        for (const ArtNode* c : art.children)
            if (c->type == kPathArt) out.push_back(c);
    return out;
}

namespace {

// Art far beyond any page (or not a number at all) is held at a trillion
// points, well within what Clipper can add and multiply.
cInt unitOf(double v)
{
    constexpr double kFar = 1e12;
    if (!std::isfinite(v)) return 0;
    return static_cast<cInt>(std::llround(std::clamp(v, -kFar, kFar) * kUnitsPerPoint));
}

IntPoint unitsOf(double x, double y) { return IntPoint(unitOf(x), unitOf(y)); }

void addPoint(Polygon& out, double x, double y)
{
    IntPoint p = unitsOf(x, y);
    if (out.empty() || out.back() != p) out.push_back(p);
}

// Halves the curve until its handles lie within the flatness of its chord;
// the end points of the pieces go to the polygon.
void flattenCubic(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3, int depth,
                  Polygon& out)
{
    double dx = x3 - x0, dy = y3 - y0;
    double chord = std::hypot(dx, dy);
    double d1, d2;
    if (chord < 1e-9) {
        d1 = std::hypot(x1 - x0, y1 - y0);
        d2 = std::hypot(x2 - x0, y2 - y0);
    } else {
        d1 = std::fabs((x1 - x0) * dy - (y1 - y0) * dx) / chord;
        d2 = std::fabs((x2 - x0) * dy - (y2 - y0) * dx) / chord;
    }
    // The curve lies within three quarters of the handles' distance from the chord.
    if (depth >= 18 || 0.75 * std::max(d1, d2) <= kFlatness) {
        addPoint(out, x3, y3);
        return;
    }
    double x01 = (x0 + x1) / 2, y01 = (y0 + y1) / 2, x12 = (x1 + x2) / 2, y12 = (y1 + y2) / 2;
    double x23 = (x2 + x3) / 2, y23 = (y2 + y3) / 2;
    double xa = (x01 + x12) / 2, ya = (y01 + y12) / 2, xb = (x12 + x23) / 2, yb = (y12 + y23) / 2;
    double xm = (xa + xb) / 2, ym = (ya + yb) / 2;
    flattenCubic(x0, y0, x01, y01, xa, ya, xm, ym, depth + 1, out);
    flattenCubic(xm, ym, xb, yb, x23, y23, x3, y3, depth + 1, out);
}

}  // namespace

Polygon flatten(const ArtNode& path)
{
    Polygon out;
    const auto& s = path.segments;
    if (s.empty()) return out;
    addPoint(out, s[0].p.h, s[0].p.v);
    for (size_t i = 0; i < pathBezierCount(&path); ++i) {
        AIRealBezier b = pathBezier(&path, i);
        bool straight = b.p1.h == b.p0.h && b.p1.v == b.p0.v && b.p2.h == b.p3.h && b.p2.v == b.p3.v;
        if (straight)
            addPoint(out, b.p3.h, b.p3.v);
        else
            flattenCubic(b.p0.h, b.p0.v, b.p1.h, b.p1.v, b.p2.h, b.p2.v, b.p3.h, b.p3.v, 0, out);
    }
    // A closed path's last curve ends on its first point.
    if (out.size() > 1 && out.back() == out.front()) out.pop_back();
    return out;
}

Polygons fillArea(const ArtNode& art)
{
    Polygons outlines;
    bool evenOdd = false;
    for (const ArtNode* p : pathsOf(art)) {
        Polygon poly = flatten(*p);
        if (poly.size() >= 3) outlines.push_back(std::move(poly));
        evenOdd = evenOdd || p->style->evenodd;
    }
    Polygons area;
    ClipperLib::Clipper c;
    c.AddPaths(outlines, ClipperLib::ptSubject, true);
    c.Execute(ClipperLib::ctUnion, area, evenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero,
              evenOdd ? ClipperLib::pftEvenOdd : ClipperLib::pftNonZero);
    return area;
}

void strokeArea(const ArtNode& art, const AIPathStyle& style, ClipperLib::PolyTree& area)
{
    area.Clear();
    double width = style.stroke.width;
    if (!style.strokePaint || !(width > 0)) return;
    ClipperLib::JoinType join = style.stroke.join == 1   ? ClipperLib::jtRound
                                : style.stroke.join == 2 ? ClipperLib::jtSquare  // Clipper's nearest to a bevel
                                                         : ClipperLib::jtMiter;
    ClipperLib::EndType openEnd = style.stroke.cap == 1   ? ClipperLib::etOpenRound
                                  : style.stroke.cap == 2 ? ClipperLib::etOpenSquare
                                                          : ClipperLib::etOpenButt;
    // The miter limit is the ratio of the miter's length to the stroke's
    // width; Clipper counts it in half widths, the same number.
    ClipperLib::ClipperOffset offset(std::max(2.0, double(style.stroke.miterLimit)), kFlatness * kUnitsPerPoint);
    for (const ArtNode* p : pathsOf(art)) {
        Polygon poly = flatten(*p);
        if (poly.empty()) continue;
        if (p->closed && poly.size() >= 3)
            offset.AddPath(poly, join, ClipperLib::etClosedLine);
        else if (poly.size() >= 2)
            offset.AddPath(poly, join, openEnd);
    }
    offset.Execute(area, width / 2 * kUnitsPerPoint);
}

static void collectRegions(const ClipperLib::PolyNode& node, std::vector<Region>& out)
{
    for (const ClipperLib::PolyNode* outer : node.Childs) {
        if (outer->IsHole()) continue;
        Region r;
        r.outer = outer->Contour;
        for (const ClipperLib::PolyNode* hole : outer->Childs) r.holes.push_back(hole->Contour);
        out.push_back(std::move(r));
        for (const ClipperLib::PolyNode* hole : outer->Childs) collectRegions(*hole, out);  // islands in the holes
    }
}

std::vector<Region> regionsOf(const ClipperLib::PolyNode& tree)
{
    std::vector<Region> out;
    collectRegions(tree, out);
    return out;
}

static ArtNode* pathOfPolygon(Document& document, const Polygon& polygon, const AIPathStyle& style)
{
    ArtNode* path = document.newArt(kPathArt);
    path->closed = true;
    path->style = style;
    path->segments.reserve(polygon.size());
    for (const IntPoint& p : polygon)
        path->segments.push_back(cornerSegment(static_cast<AIReal>(p.X / kUnitsPerPoint),
                                               static_cast<AIReal>(p.Y / kUnitsPerPoint)));
    return path;
}

ArtNode* artOfRegion(Document& document, const Region& region, const AIPathStyle& style)
{
    if (region.holes.empty()) return pathOfPolygon(document, region.outer, style);
    ArtNode* compound = document.newArt(kCompoundPathArt);
    compound->style = style;
    document.place(pathOfPolygon(document, region.outer, style), kPlaceInsideOnBottom, compound);
    for (const Polygon& hole : region.holes)
        document.place(pathOfPolygon(document, hole, style), kPlaceInsideOnBottom, compound);
    return compound;
}

bool boxOf(const Polygons& polygons, Box& box)
{
    bool have = false;
    for (const Polygon& poly : polygons)
        for (const IntPoint& p : poly) uniteBoxes(box, Box{p.X, p.Y, p.X, p.Y}, have);
    return have;
}

}  // namespace vt::host::areas
