// Writing the host's documents as SVG. Coordinates are written as the
// shortest decimal that reads back to the same value, so a saved document
// reopens to the same numbers.
#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Documents/Svg.h"
#include "Documents/TextLayout.h"
#include "Documents/XmlText.h"
#include "OutputFile.h"

namespace vt::host {
namespace {

std::string num(double v)
{
    if (v == 0) v = 0;  // no "-0"
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string hexColor(double r, double g, double b)
{
    auto ch = [](double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", ch(r), ch(g), ch(b));
    return buf;
}

// What a viewer without the saved colour kinds shows for a process colour:
// each ink takes its share of the light, and black takes its share of the
// rest, worked in single precision as the inks are held.
std::string cmykColor(float cyan, float magenta, float yellow, float black)
{
    return hexColor((1 - cyan) * (1 - black), (1 - magenta) * (1 - black), (1 - yellow) * (1 - black));
}

class Writer {
public:
    explicit Writer(const Document& doc) : doc_(doc) {}

    std::string write()
    {
        pugi::xml_document xml;
        auto decl = xml.append_child(pugi::node_declaration);
        decl.append_attribute("version") = "1.0";
        decl.append_attribute("encoding") = "UTF-8";
        pugi::xml_node svg = xml.append_child("svg");
        svg.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
        svg.append_attribute("xmlns:inkscape") = "http://www.inkscape.org/namespaces/inkscape";
        const AIRealRect& page = doc_.page;
        left_ = page.left;
        top_ = page.top;
        double w = double(page.right) - page.left, h = double(page.top) - page.bottom;
        svg.append_attribute("width") = (num(w) + "pt").c_str();
        svg.append_attribute("height") = (num(h) + "pt").c_str();
        svg.append_attribute("viewBox") = ("0 0 " + num(w) + " " + num(h)).c_str();
        int i = 0;
        for (const CustomColorEntry* c : doc_.customColors()) {
            std::string v = c->name + "|";
            const AICustomColor& cc = c->color;
            if (cc.kind == kCustomFourColor)
                v += "cmyk " + num(cc.c.f.cyan) + " " + num(cc.c.f.magenta) + " " + num(cc.c.f.yellow) + " " +
                     num(cc.c.f.black);
            else if (cc.kind == kCustomThreeColor)
                v += "rgb " + num(cc.c.rgb.red) + " " + num(cc.c.rgb.green) + " " + num(cc.c.rgb.blue);
            else
                v += "lab " + num(cc.c.lab.l) + " " + num(cc.c.lab.a) + " " + num(cc.c.lab.b);
            svg.append_attribute(("data-vt-custom-" + std::to_string(i++)).c_str()) = v.c_str();
        }
        pugi::xml_node defs = svg.append_child("defs");
        auto gradient = defs.append_child("linearGradient");
        gradient.append_attribute("id") = "vt-gradient";
        auto stop = gradient.append_child("stop");
        stop.append_attribute("offset") = "0";
        auto pattern = defs.append_child("pattern");
        pattern.append_attribute("id") = "vt-pattern";
        pattern.append_attribute("width") = "8";
        pattern.append_attribute("height") = "8";
        pattern.append_attribute("patternUnits") = "userSpaceOnUse";

        // SVG paints in file order: the bottom layer and the back-most art first.
        const auto& layers = doc_.layers();
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            const LayerNode* l = *it;
            pugi::xml_node g = svg.append_child("g");
            g.append_attribute("inkscape:groupmode") = "layer";
            g.append_attribute("inkscape:label") = l->title.c_str();
            g.append_attribute("data-vt-layer-color") =
                (std::to_string(l->color.red) + " " + std::to_string(l->color.green) + " " +
                 std::to_string(l->color.blue))
                    .c_str();
            if (!l->visible) g.append_attribute("display") = "none";
            writeTags(g, *l->root);
            writeChildren(g, *l->root);
        }
        std::ostringstream out;
        xml.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
        return out.str();
    }

private:
    double x(AIReal v) const { return double(v) - left_; }
    double y(AIReal v) const { return double(top_) - v; }

    void writeChildren(pugi::xml_node parent, const ArtNode& node)
    {
        for (auto it = node.children.rbegin(); it != node.children.rend(); ++it) writeArt(parent, **it);
    }

    // A value XML cannot hold (the escape characters of the registration
    // marks' command text) goes percent-encoded, under a name of its own.
    void writeTags(pugi::xml_node e, const ArtNode& node)
    {
        for (const auto& t : node.tags()) {
            if (xmlCanHold(t.second))
                e.append_attribute(("data-tag-" + t.first).c_str()) = t.second.c_str();
            else
                e.append_attribute(("data-vt-tag-" + t.first).c_str()) = percentEncodeForXml(t.second).c_str();
        }
    }

    void common(pugi::xml_node e, const ArtNode& node)
    {
        if (!node.name.empty()) e.append_attribute("id") = node.name.c_str();
        if (node.attrs & kArtHidden) e.append_attribute("display") = "none";
        if (node.attrs & kArtLocked) e.append_attribute("data-vt-locked") = "1";
        writeTags(e, node);
    }

    std::string paintValue(const AIColor& c, bool on, std::string& kind)
    {
        kind.clear();
        if (!on) return "none";
        switch (c.kind) {
        case kThreeColor:
            return hexColor(c.c.rgb.red, c.c.rgb.green, c.c.rgb.blue);
        case kGrayColor:
            kind = "gray " + num(c.c.g.gray);
            return hexColor(1 - c.c.g.gray, 1 - c.c.g.gray, 1 - c.c.g.gray);
        case kFourColor: {
            const auto& f = c.c.f;
            kind = "cmyk " + num(f.cyan) + " " + num(f.magenta) + " " + num(f.yellow) + " " + num(f.black);
            return cmykColor(f.cyan, f.magenta, f.yellow, f.black);
        }
        case kCustomColor: {
            const CustomColorEntry* e = doc_.customColor(c.c.c.color);
            if (!e) return "#000000";
            kind = "custom " + num(c.c.c.tint) + " " + e->name;
            const AICustomColor& cc = e->color;
            if (cc.kind == kCustomFourColor)
                return cmykColor(cc.c.f.cyan, cc.c.f.magenta, cc.c.f.yellow, cc.c.f.black);
            if (cc.kind == kCustomThreeColor) return hexColor(cc.c.rgb.red, cc.c.rgb.green, cc.c.rgb.blue);
            return "#000000";
        }
        case kPattern:
            return "url(#vt-pattern)";
        case kGradient:
            return "url(#vt-gradient)";
        default:
            return "none";
        }
    }

    void writeStyle(pugi::xml_node e, const AIPathStyle& s)
    {
        std::string kind;
        e.append_attribute("fill") = paintValue(s.fill.color, s.fillPaint, kind).c_str();
        if (!kind.empty()) e.append_attribute("data-vt-fill") = kind.c_str();
        if (s.evenodd) e.append_attribute("fill-rule") = "evenodd";
        e.append_attribute("stroke") = paintValue(s.stroke.color, s.strokePaint, kind).c_str();
        if (!kind.empty()) e.append_attribute("data-vt-stroke") = kind.c_str();
        // The width is kept with the stroke off too: switching it on again
        // brings the same line back.
        e.append_attribute("stroke-width") = num(s.stroke.width).c_str();
        if (s.strokePaint) {
            if (s.stroke.cap) e.append_attribute("stroke-linecap") = s.stroke.cap == 1 ? "round" : "square";
            if (s.stroke.join) e.append_attribute("stroke-linejoin") = s.stroke.join == 1 ? "round" : "bevel";
            if (s.stroke.miterLimit != 4) e.append_attribute("stroke-miterlimit") = num(s.stroke.miterLimit).c_str();
        }
    }

    std::string pathData(const ArtNode& path)
    {
        const auto& s = path.segments;
        std::string d;
        if (s.empty()) return d;
        auto pt = [&](AIRealPoint p) { return num(x(p.h)) + " " + num(y(p.v)); };
        d = "M" + pt(s[0].p);
        size_t n = pathBezierCount(&path);
        for (size_t i = 0; i < n; ++i) {
            const AIPathSegment& a = s[i];
            const AIPathSegment& b = s[(i + 1) % s.size()];
            bool closing = path.closed && i + 1 == s.size();
            bool straight = a.out.h == a.p.h && a.out.v == a.p.v && b.in.h == b.p.h && b.in.v == b.p.v;
            if (straight) {
                if (!closing) d += " L" + pt(b.p);
            } else {
                d += " C" + pt(a.out) + " " + pt(b.in) + " " + pt(b.p);
            }
        }
        if (path.closed) d += " Z";
        return d;
    }

    void writeArt(pugi::xml_node parent, const ArtNode& node)
    {
        switch (node.type) {
        case kGroupArt: {
            pugi::xml_node g = parent.append_child("g");
            common(g, node);
            writeChildren(g, node);
            break;
        }
        case kCompoundPathArt: {
            pugi::xml_node p = parent.append_child("path");
            common(p, node);
            std::string d;
            // Subpaths in child order: the first child is read back first.
            for (const ArtNode* c : node.children) d += (d.empty() ? "" : " ") + pathData(*c);
            p.append_attribute("d") = d.c_str();
            if (node.children.size() < 2) p.append_attribute("data-vt-compound") = "1";
            if (!node.children.empty()) writeStyle(p, node.children.front()->style);
            break;
        }
        case kPathArt: {
            if (node.segments.size() < 2) break;  // nothing SVG can hold
            pugi::xml_node p = parent.append_child("path");
            common(p, node);
            p.append_attribute("d") = pathData(node).c_str();
            if (node.guide) p.append_attribute("data-vt-guide") = "1";
            writeStyle(p, node.style);
            break;
        }
        case kTextFrameArt: {
            const TextFrame& frame = *node.textFrame;
            pugi::xml_node t = parent.append_child("text");
            common(t, node);
            t.append_attribute("x") = num(x(frame.origin.h)).c_str();
            t.append_attribute("y") = num(y(frame.origin.v)).c_str();
            t.append_attribute("font-size") = num(frame.fontSize).c_str();
            if (!frame.fontFamily.empty()) t.append_attribute("font-family") = frame.fontFamily.c_str();
            writeStyle(t, node.style);
            std::vector<std::string> lines = textLines(frame.text);
            if (lines.size() == 1) {
                t.append_child(pugi::node_pcdata).set_value(frame.text.c_str());
                break;
            }
            // One tspan per line, each 1.2 x the size below the one before.
            for (size_t i = 0; i < lines.size(); ++i) {
                pugi::xml_node line = t.append_child("tspan");
                line.append_attribute("x") = num(x(frame.origin.h)).c_str();
                line.append_attribute("y") = num(y(frame.origin.v) + double(i) * 1.2 * frame.fontSize).c_str();
                line.append_child(pugi::node_pcdata).set_value(lines[i].c_str());
            }
            break;
        }
        default:
            break;  // placed and raster art have no SVG form here
        }
    }

    const Document& doc_;
    double left_ = 0, top_ = 0;
};

}  // namespace

std::string writeSvgText(const Document& document) { return Writer(document).write(); }

bool writeSvgFile(const Document& document, const std::string& path, std::string& error)
{
    return writeFileAtomically(path, writeSvgText(document), &error);
}

}  // namespace vt::host
