// Shapes: rect, circle, ellipse, line, polyline, polygon and path, as the
// subpaths of their outlines in user units.
#include <algorithm>
#include <charconv>
#include <string>
#include <utility>

#include "Documents/SvgReading.h"

namespace vt::host::svg {
namespace {

// The shortest text that reads back as v.
std::string num(double v)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

double Reader::attr(const pugi::xml_node& node, const char* name, double fallback)
{
    pugi::xml_attribute a = node.attribute(name);
    return a ? toUserUnits(a.value(), fallback) : fallback;
}

std::vector<SubPath> Reader::shapeOutline(const pugi::xml_node& node, Tag tag)
{
    std::vector<SubPath> out;
    auto line = [](Point p) { return SubPath::Anchor{p, p, p}; };
    if (tag == Tag::kPath) {
        std::string bad;
        size_t at = 0;
        out = parsePathData(node.attribute("d").value(), bad, at);
        if (!bad.empty())
            fail(node.offset_debug(), "bad path data at character " + std::to_string(at + 1) + ": " + bad);
    } else if (tag == Tag::kRect) {
        double x = attr(node, "x"), y = attr(node, "y"), w = attr(node, "width"), h = attr(node, "height");
        if (w <= 0 || h <= 0) return out;
        pugi::xml_attribute rxa = node.attribute("rx"), rya = node.attribute("ry");
        double rx = rxa ? attr(node, "rx") : (rya ? attr(node, "ry") : 0);
        double ry = rya ? attr(node, "ry") : rx;
        rx = std::clamp(rx, 0.0, w / 2);
        ry = std::clamp(ry, 0.0, h / 2);
        if (rx <= 0 || ry <= 0) {
            SubPath s;
            s.closed = true;
            for (Point p : {Point{x, y}, Point{x + w, y}, Point{x + w, y + h}, Point{x, y + h}})
                s.anchors.push_back(line(p));
            out.push_back(std::move(s));
        } else {
            std::string d = "M" + num(x + rx) + "," + num(y) + "H" + num(x + w - rx) + "A" + num(rx) + "," +
                            num(ry) + " 0 0 1 " + num(x + w) + "," + num(y + ry) + "V" + num(y + h - ry) + "A" +
                            num(rx) + "," + num(ry) + " 0 0 1 " + num(x + w - rx) + "," + num(y + h) + "H" +
                            num(x + rx) + "A" + num(rx) + "," + num(ry) + " 0 0 1 " + num(x) + "," +
                            num(y + h - ry) + "V" + num(y + ry) + "A" + num(rx) + "," + num(ry) + " 0 0 1 " +
                            num(x + rx) + "," + num(y) + "Z";
            std::string bad;
            size_t at;
            out = parsePathData(d.c_str(), bad, at);
        }
    } else if (tag == Tag::kCircle || tag == Tag::kEllipse) {
        double cx = attr(node, "cx"), cy = attr(node, "cy");
        double rx = tag == Tag::kCircle ? attr(node, "r") : attr(node, "rx");
        double ry = tag == Tag::kCircle ? rx : attr(node, "ry");
        if (rx <= 0 || ry <= 0) return out;
        const double k = 0.5522847498307936;
        // Four anchors from the right-most point, the way the SVG draws it.
        SubPath s{{
                      {{cx + rx, cy}, {cx + rx, cy - k * ry}, {cx + rx, cy + k * ry}},
                      {{cx, cy + ry}, {cx + k * rx, cy + ry}, {cx - k * rx, cy + ry}},
                      {{cx - rx, cy}, {cx - rx, cy + k * ry}, {cx - rx, cy - k * ry}},
                      {{cx, cy - ry}, {cx - k * rx, cy - ry}, {cx + k * rx, cy - ry}},
                  },
                  true};
        out.push_back(std::move(s));
    } else if (tag == Tag::kLine) {
        SubPath s{{line({attr(node, "x1"), attr(node, "y1")}), line({attr(node, "x2"), attr(node, "y2")})}, false};
        out.push_back(std::move(s));
    } else if (tag == Tag::kPolyline || tag == Tag::kPolygon) {
        Scanner sc(node.attribute("points").value());
        SubPath s;
        double x, y;
        while (sc.number(x)) {
            if (!sc.number(y)) break;  // an odd coordinate is dropped, as SVG does
            s.anchors.push_back(line({x, y}));
        }
        s.closed = tag == Tag::kPolygon;
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace vt::host::svg
