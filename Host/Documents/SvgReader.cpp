// Reading SVG files into the host's documents.
#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "Documents/Svg.h"

namespace vt::host {
namespace {

struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    // this applied after m.
    Matrix operator*(const Matrix& m) const
    {
        return Matrix{a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d,
                      b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
    }
    void apply(double x, double y, double& ox, double& oy) const
    {
        ox = a * x + c * y + e;
        oy = b * x + d * y + f;
    }
    double scale() const { return std::sqrt(std::fabs(a * d - b * c)); }
};

struct SvgError {
    std::string message;
};

// ---- Numbers --------------------------------------------------------------------------

class Scanner {
public:
    explicit Scanner(const char* text) : p_(text) {}
    void skipSeparators()
    {
        while (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r' || *p_ == ',') ++p_;
    }
    bool atEnd()
    {
        skipSeparators();
        return *p_ == 0;
    }
    bool atNumber()
    {
        skipSeparators();
        return (*p_ >= '0' && *p_ <= '9') || *p_ == '-' || *p_ == '+' || *p_ == '.';
    }
    char peek()
    {
        skipSeparators();
        return *p_;
    }
    char take() { return *p_ ? *p_++ : 0; }
    bool number(double& value)
    {
        skipSeparators();
        const char* start = p_;
        const char* q = p_;
        if (*q == '+' || *q == '-') ++q;
        bool digits = false;
        while (*q >= '0' && *q <= '9') ++q, digits = true;
        if (*q == '.') {
            ++q;
            while (*q >= '0' && *q <= '9') ++q, digits = true;
        }
        if (!digits) return false;
        if (*q == 'e' || *q == 'E') {
            const char* r = q + 1;
            if (*r == '+' || *r == '-') ++r;
            if (*r >= '0' && *r <= '9') {
                while (*r >= '0' && *r <= '9') ++r;
                q = r;
            }
        }
        // from_chars reads in the C locale whatever the user's locale is; it
        // takes no leading '+'.
        const char* s = *start == '+' ? start + 1 : start;
        auto result = std::from_chars(s, q, value);
        if (result.ec != std::errc()) return false;
        p_ = q;
        return true;
    }
    bool flag(bool& value)
    {
        skipSeparators();
        if (*p_ != '0' && *p_ != '1') return false;
        value = *p_++ == '1';
        return true;
    }
    const char* rest() const { return p_; }

private:
    const char* p_;
};

double toPoints(const std::string& text, double fallback, double percentOf = 0)
{
    Scanner s(text.c_str());
    double v;
    if (!s.number(v)) return fallback;
    std::string unit = s.rest();
    unit.erase(std::remove(unit.begin(), unit.end(), ' '), unit.end());
    if (unit.empty() || unit == "px") return v;  // user units
    if (unit == "pt") return v * 96.0 / 72.0;
    if (unit == "mm") return v * 96.0 / 25.4;
    if (unit == "cm") return v * 96.0 / 2.54;
    if (unit == "in") return v * 96.0;
    if (unit == "pc") return v * 16.0;
    if (unit == "%") return v * percentOf / 100.0;
    return v;
}

// Length of the root's width/height in points (CSS: 96 px to the inch).
std::optional<double> rootLengthPt(const pugi::xml_attribute& attr)
{
    if (!attr) return std::nullopt;
    std::string text = attr.value();
    if (text.find('%') != std::string::npos) return std::nullopt;
    Scanner s(text.c_str());
    double v;
    if (!s.number(v) || v <= 0) return std::nullopt;
    return toPoints(text, v) * 72.0 / 96.0;
}

Matrix parseTransform(const std::string& text, size_t& bad)
{
    Matrix m;
    const char* p = text.c_str();
    bad = std::string::npos;
    while (*p) {
        while (*p == ' ' || *p == ',' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
        if (!*p) break;
        const char* nameStart = p;
        while (std::isalpha(static_cast<unsigned char>(*p))) ++p;
        std::string name(nameStart, p);
        while (*p == ' ') ++p;
        if (*p != '(' || name.empty()) {
            bad = nameStart - text.c_str();
            return m;
        }
        ++p;
        const char* close = std::strchr(p, ')');
        if (!close) {
            bad = nameStart - text.c_str();
            return m;
        }
        std::string argText(p, close);
        Scanner s(argText.c_str());
        std::vector<double> v;
        double x;
        while (s.number(x)) v.push_back(x);
        if (!s.atEnd()) {
            bad = nameStart - text.c_str();
            return m;
        }
        Matrix t;
        const double rad = M_PI / 180.0;
        if (name == "matrix" && v.size() == 6) {
            t = Matrix{v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate" && (v.size() == 1 || v.size() == 2)) {
            t.e = v[0];
            t.f = v.size() == 2 ? v[1] : 0;
        } else if (name == "scale" && (v.size() == 1 || v.size() == 2)) {
            t.a = v[0];
            t.d = v.size() == 2 ? v[1] : v[0];
        } else if (name == "rotate" && (v.size() == 1 || v.size() == 3)) {
            double c = std::cos(v[0] * rad), sn = std::sin(v[0] * rad);
            Matrix r{c, sn, -sn, c, 0, 0};
            if (v.size() == 3) {
                Matrix to{1, 0, 0, 1, v[1], v[2]}, back{1, 0, 0, 1, -v[1], -v[2]};
                t = to * r * back;
            } else {
                t = r;
            }
        } else if (name == "skewX" && v.size() == 1) {
            t.c = std::tan(v[0] * rad);
        } else if (name == "skewY" && v.size() == 1) {
            t.b = std::tan(v[0] * rad);
        } else {
            bad = nameStart - text.c_str();
            return m;
        }
        m = m * t;
        p = close + 1;
    }
    return m;
}

// ---- Colours --------------------------------------------------------------------------------

const std::map<std::string, uint32_t>& namedColors()
{
    static const std::map<std::string, uint32_t> colors = {
        {"black", 0x000000},  {"silver", 0xc0c0c0},    {"gray", 0x808080},     {"grey", 0x808080},
        {"white", 0xffffff},  {"maroon", 0x800000},    {"red", 0xff0000},      {"purple", 0x800080},
        {"fuchsia", 0xff00ff}, {"magenta", 0xff00ff},  {"green", 0x008000},    {"lime", 0x00ff00},
        {"olive", 0x808000}, {"yellow", 0xffff00},     {"navy", 0x000080},     {"blue", 0x0000ff},
        {"teal", 0x008080},   {"aqua", 0x00ffff},      {"cyan", 0x00ffff},     {"orange", 0xffa500},
        {"gold", 0xffd700},   {"brown", 0xa52a2a},     {"pink", 0xffc0cb},     {"violet", 0xee82ee},
        {"indigo", 0x4b0082}, {"crimson", 0xdc143c},   {"darkred", 0x8b0000},  {"darkblue", 0x00008b},
        {"darkgreen", 0x006400}, {"darkgray", 0xa9a9a9}, {"darkgrey", 0xa9a9a9}, {"lightgray", 0xd3d3d3},
        {"lightgrey", 0xd3d3d3}, {"dimgray", 0x696969}, {"dimgrey", 0x696969}, {"skyblue", 0x87ceeb},
        {"royalblue", 0x4169e1}, {"steelblue", 0x4682b4}, {"forestgreen", 0x228b22}, {"tomato", 0xff6347},
        {"coral", 0xff7f50},  {"salmon", 0xfa8072},    {"khaki", 0xf0e68c},    {"beige", 0xf5f5dc},
        {"ivory", 0xfffff0},  {"tan", 0xd2b48c},       {"chocolate", 0xd2691e}, {"firebrick", 0xb22222},
        {"darkorange", 0xff8c00}, {"orangered", 0xff4500}, {"turquoise", 0x40e0d0}, {"lightblue", 0xadd8e6},
        {"limegreen", 0x32cd32}, {"seagreen", 0x2e8b57}, {"slategray", 0x708090}, {"slategrey", 0x708090},
        {"midnightblue", 0x191970}, {"goldenrod", 0xdaa520}, {"orchid", 0xda70d6}, {"plum", 0xdda0dd},
        {"lavender", 0xe6e6fa}, {"wheat", 0xf5deb3},  {"sienna", 0xa0522d},   {"deepskyblue", 0x00bfff},
        {"dodgerblue", 0x1e90ff}, {"hotpink", 0xff69b4}, {"deeppink", 0xff1493}, {"yellowgreen", 0x9acd32},
    };
    return colors;
}

struct Paint {
    bool on = false;
    AIColor color{};
};

AIColor rgbColor(double r, double g, double b)
{
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {static_cast<AIReal>(r), static_cast<AIReal>(g), static_cast<AIReal>(b)};
    return c;
}

std::string trim(std::string s)
{
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

bool parsePaint(const std::string& raw, const pugi::xml_document& xml, Paint& paint)
{
    std::string text = trim(raw);
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char ch) { return std::tolower(ch); });
    if (lower == "none" || lower == "transparent") {
        paint.on = false;
        paint.color.kind = kNoneColor;
        return true;
    }
    paint.on = true;
    if (lower.rfind("url(", 0) == 0) {
        // Gradients and patterns are kept as their kind; their content is not ours.
        size_t hash = text.find('#'), close = text.find(')');
        std::string id = hash == std::string::npos ? "" : text.substr(hash + 1, close - hash - 1);
        pugi::xml_node target = xml.find_node([&](pugi::xml_node n) { return id == n.attribute("id").value(); });
        std::string kind = target ? target.name() : "";
        paint.color = AIColor{};
        paint.color.kind = kind == "pattern" ? kPattern : kGradient;
        return true;
    }
    if (lower == "currentcolor") {
        paint.color = rgbColor(0, 0, 0);
        return true;
    }
    if (lower[0] == '#') {
        std::string hex = lower.substr(1);
        if (hex.size() != 3 && hex.size() != 6) return false;
        if (hex.find_first_not_of("0123456789abcdef") != std::string::npos) return false;
        if (hex.size() == 3) hex = {hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
        uint32_t v = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
        paint.color = rgbColor(((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0);
        return true;
    }
    if (lower.rfind("rgb(", 0) == 0) {
        size_t close = lower.find(')');
        if (close == std::string::npos) return false;
        std::string args = lower.substr(4, close - 4);
        double ch[3];
        const char* p = args.c_str();
        for (int i = 0; i < 3; ++i) {
            Scanner s(p);
            if (!s.number(ch[i])) return false;
            p = s.rest();
            while (*p == ' ') ++p;
            if (*p == '%') {
                ch[i] = ch[i] * 255.0 / 100.0;
                ++p;
            }
        }
        paint.color = rgbColor(std::clamp(ch[0], 0.0, 255.0) / 255.0, std::clamp(ch[1], 0.0, 255.0) / 255.0,
                               std::clamp(ch[2], 0.0, 255.0) / 255.0);
        return true;
    }
    auto it = namedColors().find(lower);
    if (it == namedColors().end()) return false;
    uint32_t v = it->second;
    paint.color = rgbColor(((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0);
    return true;
}

// data-vt-fill / data-vt-stroke: "gray G", "cmyk C M Y K", "custom NAME"
// (the named colour is described by data-vt-custom-* on the root).
bool parseKindPaint(const std::string& text, Document& doc, Paint& paint)
{
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    std::string kind;
    in >> kind;
    if (kind == "gray") {
        double g;
        if (!(in >> g)) return false;
        paint.color = AIColor{};
        paint.color.kind = kGrayColor;
        paint.color.c.g.gray = static_cast<AIReal>(g);
        return true;
    }
    if (kind == "cmyk") {
        double c, m, y, k;
        if (!(in >> c >> m >> y >> k)) return false;
        paint.color = AIColor{};
        paint.color.kind = kFourColor;
        paint.color.c.f = {static_cast<AIReal>(c), static_cast<AIReal>(m), static_cast<AIReal>(y),
                           static_cast<AIReal>(k)};
        return true;
    }
    if (kind == "custom") {
        double tint;
        std::string name;
        if (!(in >> tint)) return false;
        std::getline(in, name);
        name = trim(name);
        CustomColorEntry* entry = doc.customColorByName(name);
        if (!entry) return false;
        paint.color = AIColor{};
        paint.color.kind = kCustomColor;
        paint.color.c.c = {Document::handle(entry), static_cast<AIReal>(tint)};
        return true;
    }
    return false;
}

// ---- Inherited style ---------------------------------------------------------------------------

struct Style {
    std::string fill = "black";
    std::string stroke = "none";
    std::string fillKind;    // data-vt-fill
    std::string strokeKind;  // data-vt-stroke
    double strokeWidth = 1;
    std::string fillRule = "nonzero";
    double fontSize = 16;
    std::string fontFamily;
    std::string lineCap = "butt", lineJoin = "miter";
    double miterLimit = 4;
};

std::map<std::string, std::string> styleProperties(const pugi::xml_node& node)
{
    std::map<std::string, std::string> props;
    static const char* const kNames[] = {"fill", "stroke", "stroke-width", "fill-rule", "display", "font-size",
                                         "font-family", "stroke-linecap", "stroke-linejoin", "stroke-miterlimit",
                                         "visibility"};
    for (const char* n : kNames)
        if (pugi::xml_attribute a = node.attribute(n)) props[n] = a.value();
    // The style attribute wins over presentation attributes.
    std::string style = node.attribute("style").value();
    std::istringstream in(style);
    std::string decl;
    while (std::getline(in, decl, ';')) {
        size_t colon = decl.find(':');
        if (colon == std::string::npos) continue;
        std::string key = trim(decl.substr(0, colon)), value = trim(decl.substr(colon + 1));
        size_t important = value.find("!important");
        if (important != std::string::npos) value = trim(value.substr(0, important));
        props[key] = value;
    }
    return props;
}

// ---- The reader ------------------------------------------------------------------------------

struct Point {
    double x, y;
};

struct SubPath {
    // Anchors with their handles, in user units.
    struct Anchor {
        Point p, in, out;
    };
    std::vector<Anchor> anchors;
    bool closed = false;
};

class Reader {
public:
    Reader(Documents& store, const std::string& text, const std::string& name) : text_(text), name_(name)
    {
        doc_ = std::make_unique<Document>(store);
    }

    std::unique_ptr<Document> read()
    {
        pugi::xml_parse_result result = xml_.load_buffer(text_.data(), text_.size(), pugi::parse_default);
        if (!result) fail(result.offset, std::string("not well-formed XML: ") + result.description());
        pugi::xml_node root = xml_.document_element();
        if (std::strcmp(localName(root), "svg") != 0) fail(root.offset_debug(), "the root element is not <svg>");
        setUpPage(root);
        readCustomColors(root);
        Style style;
        applyStyle(root, style);
        // The SVG draws its first child first (at the back); layers are kept
        // top first, so each new layer goes above the ones read before.
        LayerNode* loose = nullptr;
        for (pugi::xml_node child : root.children()) {
            if (child.type() != pugi::node_element) continue;
            std::string tag = localName(child);
            if (tag == "g") {
                LayerNode* layer = doc_->insertLayer(0, layerTitle(child));
                loose = nullptr;
                readLayerAttributes(child, *layer);
                Style s = style;
                applyStyle(child, s);
                Matrix m = root_ * transformOf(child);
                readChildren(child, layer->root, m, s);
                continue;
            }
            if (!isShape(tag)) continue;
            if (!loose) {
                std::string title = "Layer 1";
                for (int i = 2; doc_->layerByTitle(title); ++i) title = "Layer " + std::to_string(i);
                loose = doc_->insertLayer(0, title);
            }
            readElement(child, loose->root, root_, style);
        }
        if (doc_->layers().empty()) doc_->insertLayer(0, "Layer 1");
        doc_->setCurrentLayer(doc_->layers().front());
        doc_->fileName = name_;
        return std::move(doc_);
    }

private:
    [[noreturn]] void fail(ptrdiff_t offset, const std::string& what)
    {
        int line = 1, column = 1;
        for (ptrdiff_t i = 0; i < offset && i < static_cast<ptrdiff_t>(text_.size()); ++i) {
            if (text_[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw SvgError{name_ + ":" + std::to_string(line) + ":" + std::to_string(column) + " (offset " +
                       std::to_string(offset) + "): " + what};
    }

    static const char* localName(const pugi::xml_node& n)
    {
        const char* name = n.name();
        const char* colon = std::strrchr(name, ':');
        return colon ? colon + 1 : name;
    }

    static bool isShape(const std::string& tag)
    {
        return tag == "path" || tag == "rect" || tag == "circle" || tag == "ellipse" || tag == "line" ||
               tag == "polyline" || tag == "polygon" || tag == "text" || tag == "g" || tag == "a" ||
               tag == "switch";
    }

    void setUpPage(const pugi::xml_node& root)
    {
        double minX = 0, minY = 0, vbW = 0, vbH = 0;
        bool haveViewBox = false;
        if (pugi::xml_attribute vb = root.attribute("viewBox")) {
            Scanner s(vb.value());
            haveViewBox = s.number(minX) && s.number(minY) && s.number(vbW) && s.number(vbH) && vbW > 0 && vbH > 0;
            if (!haveViewBox) fail(root.offset_debug(), "bad viewBox \"" + std::string(vb.value()) + "\"");
        }
        std::optional<double> w = rootLengthPt(root.attribute("width")), h = rootLengthPt(root.attribute("height"));
        if (!haveViewBox) {
            // Without a viewBox user units are CSS pixels.
            vbW = w ? *w * 96.0 / 72.0 : 800;
            vbH = h ? *h * 96.0 / 72.0 : 600;
        }
        double widthPt = w ? *w : (h ? *h * vbW / vbH : vbW * 0.75);
        double heightPt = h ? *h : (w ? *w * vbH / vbW : vbH * 0.75);
        double sx = widthPt / vbW, sy = heightPt / vbH;
        // y flips: the top of the viewBox is the top of the page.
        root_ = Matrix{sx, 0, 0, -sy, -minX * sx, (minY + vbH) * sy};
        if (sx == 1 && sy == 1) root_ = Matrix{1, 0, 0, -1, -minX, minY + vbH};
        doc_->page = AIRealRect{0, static_cast<AIReal>(heightPt), static_cast<AIReal>(widthPt), 0};
        doc_->center = AIRealPoint{static_cast<AIReal>(widthPt / 2), static_cast<AIReal>(heightPt / 2)};
    }

    void readCustomColors(const pugi::xml_node& root)
    {
        // data-vt-custom-N="NAME|cmyk C M Y K" or "NAME|rgb R G B"
        for (int i = 0;; ++i) {
            pugi::xml_attribute a = root.attribute(("data-vt-custom-" + std::to_string(i)).c_str());
            if (!a) break;
            std::string v = a.value();
            size_t bar = v.rfind('|');
            if (bar == std::string::npos) fail(root.offset_debug(), "bad custom colour \"" + v + "\"");
            std::istringstream in(v.substr(bar + 1));
            in.imbue(std::locale::classic());
            std::string kind;
            in >> kind;
            AICustomColor c{};
            double x[4] = {0, 0, 0, 0};
            if (kind == "cmyk" && in >> x[0] >> x[1] >> x[2] >> x[3]) {
                c.kind = kCustomFourColor;
                c.c.f = {AIReal(x[0]), AIReal(x[1]), AIReal(x[2]), AIReal(x[3])};
            } else if (kind == "rgb" && in >> x[0] >> x[1] >> x[2]) {
                c.kind = kCustomThreeColor;
                c.c.rgb = {AIReal(x[0]), AIReal(x[1]), AIReal(x[2])};
            } else if (kind == "lab" && in >> x[0] >> x[1] >> x[2]) {
                c.kind = kCustomLabColor;
                c.c.lab = {AIReal(x[0]), AIReal(x[1]), AIReal(x[2])};
            } else {
                fail(root.offset_debug(), "bad custom colour \"" + v + "\"");
            }
            doc_->newCustomColor(v.substr(0, bar), c);
        }
    }

    std::string layerTitle(const pugi::xml_node& g)
    {
        for (const char* a : {"inkscape:label", "data-name", "id"})
            if (pugi::xml_attribute attr = g.attribute(a)) return attr.value();
        return "Layer " + std::to_string(doc_->layers().size() + 1);
    }

    void readLayerAttributes(const pugi::xml_node& g, LayerNode& layer)
    {
        if (pugi::xml_attribute c = g.attribute("data-vt-layer-color")) {
            unsigned r, gg, b;
            if (std::sscanf(c.value(), "%u %u %u", &r, &gg, &b) == 3)
                layer.color = AIRGBColor{uint16_t(r), uint16_t(gg), uint16_t(b)};
        }
        auto props = styleProperties(g);
        if (props["display"] == "none") layer.visible = false;
        readTags(g, *layer.root);
    }

    Matrix transformOf(const pugi::xml_node& node)
    {
        pugi::xml_attribute t = node.attribute("transform");
        if (!t) return Matrix{};
        size_t bad;
        Matrix m = parseTransform(t.value(), bad);
        if (bad != std::string::npos)
            fail(node.offset_debug(), "bad transform \"" + std::string(t.value()) + "\" at character " +
                                          std::to_string(bad + 1));
        return m;
    }

    void applyStyle(const pugi::xml_node& node, Style& style)
    {
        auto props = styleProperties(node);
        auto get = [&](const char* k) -> const std::string* {
            auto it = props.find(k);
            return it == props.end() || it->second == "inherit" ? nullptr : &it->second;
        };
        if (auto v = get("fill")) {
            style.fill = *v;
            style.fillKind.clear();
        }
        if (auto v = get("stroke")) {
            style.stroke = *v;
            style.strokeKind.clear();
        }
        if (pugi::xml_attribute a = node.attribute("data-vt-fill")) style.fillKind = a.value();
        if (pugi::xml_attribute a = node.attribute("data-vt-stroke")) style.strokeKind = a.value();
        if (auto v = get("stroke-width")) style.strokeWidth = toPoints(*v, style.strokeWidth, 1);
        if (auto v = get("fill-rule")) style.fillRule = *v;
        if (auto v = get("font-size")) style.fontSize = toPoints(*v, style.fontSize, style.fontSize);
        if (auto v = get("font-family")) style.fontFamily = *v;
        if (auto v = get("stroke-linecap")) style.lineCap = *v;
        if (auto v = get("stroke-linejoin")) style.lineJoin = *v;
        if (auto v = get("stroke-miterlimit")) style.miterLimit = toPoints(*v, style.miterLimit);
    }

    AIPathStyle pathStyle(const pugi::xml_node& node, const Style& s, const Matrix& m)
    {
        AIPathStyle style = defaultPathStyle();
        Paint fill, stroke;
        if (!parsePaint(s.fill, xml_, fill)) fail(node.offset_debug(), "unknown fill colour \"" + s.fill + "\"");
        if (!parsePaint(s.stroke, xml_, stroke))
            fail(node.offset_debug(), "unknown stroke colour \"" + s.stroke + "\"");
        if (fill.on && !s.fillKind.empty() && !parseKindPaint(s.fillKind, *doc_, fill))
            fail(node.offset_debug(), "bad data-vt-fill \"" + s.fillKind + "\"");
        if (stroke.on && !s.strokeKind.empty() && !parseKindPaint(s.strokeKind, *doc_, stroke))
            fail(node.offset_debug(), "bad data-vt-stroke \"" + s.strokeKind + "\"");
        style.fillPaint = fill.on;
        style.fill.color = fill.color;
        style.strokePaint = stroke.on && s.strokeWidth > 0;
        style.stroke.color = stroke.color;
        style.stroke.width = static_cast<AIReal>(s.strokeWidth * m.scale());
        style.stroke.cap = s.lineCap == "round" ? 1 : s.lineCap == "square" ? 2 : 0;
        style.stroke.join = s.lineJoin == "round" ? 1 : s.lineJoin == "bevel" ? 2 : 0;
        style.stroke.miterLimit = static_cast<AIReal>(s.miterLimit);
        style.evenodd = s.fillRule == "evenodd";
        return style;
    }

    void readTags(const pugi::xml_node& node, ArtNode& art)
    {
        static const std::string kPrefix = "data-tag-";
        for (pugi::xml_attribute a : node.attributes()) {
            std::string n = a.name();
            if (n.rfind(kPrefix, 0) == 0 && n.size() > kPrefix.size()) art.setTag(n.substr(kPrefix.size()), a.value());
        }
    }

    void finishArt(const pugi::xml_node& node, ArtNode* art, ArtNode* parent)
    {
        art->name = node.attribute("id").value();
        readTags(node, *art);
        auto props = styleProperties(node);
        if (props["display"] == "none" || props["visibility"] == "hidden") art->attrs |= kArtHidden;
        if (node.attribute("data-vt-locked").as_bool()) art->attrs |= kArtLocked;
        // Later SVG elements paint over earlier ones: each goes on top.
        doc_->place(art, kPlaceInsideOnTop, parent);
    }

    void readChildren(const pugi::xml_node& node, ArtNode* parent, const Matrix& m, const Style& style)
    {
        for (pugi::xml_node child : node.children())
            if (child.type() == pugi::node_element) readElement(child, parent, m, style);
    }

    void readElement(const pugi::xml_node& node, ArtNode* parent, const Matrix& parentMatrix,
                     const Style& parentStyle)
    {
        std::string tag = localName(node);
        if (!isShape(tag)) return;  // defs, metadata, title, style, images ...
        Style style = parentStyle;
        applyStyle(node, style);
        Matrix m = parentMatrix * transformOf(node);
        if (tag == "g" || tag == "a" || tag == "switch") {
            ArtNode* group = doc_->newArt(kGroupArt);
            finishArt(node, group, parent);
            readChildren(node, group, m, style);
            return;
        }
        if (tag == "text") {
            readText(node, parent, m, style);
            return;
        }
        std::vector<SubPath> subpaths = shapeOutline(node, tag);
        // A lone moveto draws nothing.
        subpaths.erase(std::remove_if(subpaths.begin(), subpaths.end(),
                                      [](const SubPath& s) { return s.anchors.size() < 2; }),
                       subpaths.end());
        if (subpaths.empty()) return;
        AIPathStyle ps = pathStyle(node, style, m);
        bool compound = subpaths.size() > 1 || node.attribute("data-vt-compound").as_bool();
        ArtNode* holder = compound ? doc_->newArt(kCompoundPathArt) : nullptr;
        if (holder) finishArt(node, holder, parent);
        for (const SubPath& sp : subpaths) {
            ArtNode* path = doc_->newArt(kPathArt);
            path->closed = sp.closed;
            path->style = ps;
            path->guide = node.attribute("data-vt-guide").as_bool();
            for (const auto& a : sp.anchors) {
                AIPathSegment seg{};
                seg.p = transformed(m, a.p);
                seg.in = transformed(m, a.in);
                seg.out = transformed(m, a.out);
                seg.corner = isCorner(a);
                path->segments.push_back(seg);
            }
            if (holder) {
                doc_->place(path, kPlaceInsideOnBottom, holder);
            } else {
                finishArt(node, path, parent);
            }
        }
    }

    static bool isCorner(const SubPath::Anchor& a)
    {
        double ix = a.in.x - a.p.x, iy = a.in.y - a.p.y, ox = a.out.x - a.p.x, oy = a.out.y - a.p.y;
        double li = std::hypot(ix, iy), lo = std::hypot(ox, oy);
        if (li < 1e-9 || lo < 1e-9) return true;
        // Smooth when the handles point in opposite directions.
        return (ix * ox + iy * oy) / (li * lo) > -0.9999;
    }

    static AIRealPoint transformed(const Matrix& m, Point p)
    {
        double x, y;
        m.apply(p.x, p.y, x, y);
        return AIRealPoint{static_cast<AIReal>(x), static_cast<AIReal>(y)};
    }

    // All the character data inside a node, in document order.
    static void gatherText(const pugi::xml_node& node, std::string& out)
    {
        for (pugi::xml_node n = node.first_child(); n; n = n.next_sibling()) {
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) out += n.value();
            if (n.type() == pugi::node_element) gatherText(n, out);
        }
    }

    // Runs of white space in text collapse to one blank, as SVG shows them;
    // a line neither starts nor ends with one.
    static std::string collapseBlanks(const std::string& content)
    {
        std::string collapsed;
        for (char ch : content) {
            bool blank = ch == ' ' || ch == '\n' || ch == '\t' || ch == '\r';
            if (blank && (collapsed.empty() || collapsed.back() == ' ')) continue;
            collapsed += blank ? ' ' : ch;
        }
        while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
        return collapsed;
    }

    // The lines of a <text>: a <tspan> child placed on its own (by x, y or
    // dy) begins a new line unless nothing but blanks came before it; the
    // frame's lines end in CR. A first tspan gives the position when the
    // text has none.
    static std::string textLinesOf(const pugi::xml_node& node, std::string& xText, std::string& yText)
    {
        std::vector<std::string> lines(1);
        bool started = false;
        for (pugi::xml_node n = node.first_child(); n; n = n.next_sibling()) {
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
                lines.back() += n.value();
                started = started || !collapseBlanks(n.value()).empty();
                continue;
            }
            if (n.type() != pugi::node_element) continue;
            bool placed = localName(n) == std::string("tspan") &&
                          (n.attribute("x") || n.attribute("y") || n.attribute("dy"));
            if (placed && started) lines.emplace_back();
            if (placed && !started) {
                if (xText.empty()) xText = n.attribute("x").value();
                if (yText.empty()) yText = n.attribute("y").value();
            }
            started = true;
            gatherText(n, lines.back());
        }
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r" : "") + collapseBlanks(lines[i]);
        return text;
    }

    void readText(const pugi::xml_node& node, ArtNode* parent, const Matrix& m, const Style& style)
    {
        std::string xText = node.attribute("x").value(), yText = node.attribute("y").value();
        std::string lines = textLinesOf(node, xText, yText);
        ArtNode* text = doc_->newArt(kTextFrameArt);
        double x = toPoints(xText, 0), y = toPoints(yText, 0);
        text->textOrigin = transformed(m, Point{x, y});
        text->fontSize = static_cast<AIReal>(style.fontSize * m.scale());
        text->fontFamily = style.fontFamily;
        text->text = lines;
        text->style = pathStyle(node, style, m);
        finishArt(node, text, parent);
    }

    double attr(const pugi::xml_node& node, const char* name, double fallback = 0)
    {
        pugi::xml_attribute a = node.attribute(name);
        return a ? toPoints(a.value(), fallback) : fallback;
    }

    std::vector<SubPath> shapeOutline(const pugi::xml_node& node, const std::string& tag)
    {
        std::vector<SubPath> out;
        auto line = [](Point p) { return SubPath::Anchor{p, p, p}; };
        if (tag == "path") {
            std::string bad;
            size_t at = 0;
            out = parsePathData(node.attribute("d").value(), bad, at);
            if (!bad.empty())
                fail(node.offset_debug(), "bad path data at character " + std::to_string(at + 1) + ": " + bad);
        } else if (tag == "rect") {
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
                out.push_back(s);
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
        } else if (tag == "circle" || tag == "ellipse") {
            double cx = attr(node, "cx"), cy = attr(node, "cy");
            double rx = tag == "circle" ? attr(node, "r") : attr(node, "rx");
            double ry = tag == "circle" ? rx : attr(node, "ry");
            if (rx <= 0 || ry <= 0) return out;
            const double k = 0.5522847498307936;
            SubPath s;
            s.closed = true;
            // Four anchors from the right-most point, the way the SVG draws it.
            s.anchors = {
                {{cx + rx, cy}, {cx + rx, cy - k * ry}, {cx + rx, cy + k * ry}},
                {{cx, cy + ry}, {cx + k * rx, cy + ry}, {cx - k * rx, cy + ry}},
                {{cx - rx, cy}, {cx - rx, cy + k * ry}, {cx - rx, cy - k * ry}},
                {{cx, cy - ry}, {cx - k * rx, cy - ry}, {cx + k * rx, cy - ry}},
            };
            out.push_back(s);
        } else if (tag == "line") {
            SubPath s;
            s.anchors = {line({attr(node, "x1"), attr(node, "y1")}), line({attr(node, "x2"), attr(node, "y2")})};
            out.push_back(s);
        } else if (tag == "polyline" || tag == "polygon") {
            Scanner sc(node.attribute("points").value());
            SubPath s;
            double x, y;
            while (sc.number(x)) {
                if (!sc.number(y)) break;  // an odd coordinate is dropped, as SVG does
                s.anchors.push_back(line({x, y}));
            }
            s.closed = tag == "polygon";
            out.push_back(s);
        }
        return out;
    }

    static std::string num(double v)
    {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        return std::string(buf, r.ptr);
    }

    // Endpoint arc to cubics of at most a quarter turn each.
    static void arcTo(SubPath& s, Point from, double rx, double ry, double angle, bool large, bool sweep, Point to)
    {
        auto lineTo = [&](Point p) { s.anchors.push_back({p, p, p}); };
        if (from.x == to.x && from.y == to.y) return;
        rx = std::fabs(rx);
        ry = std::fabs(ry);
        if (rx == 0 || ry == 0) {
            lineTo(to);
            return;
        }
        double phi = angle * M_PI / 180.0, cp = std::cos(phi), sp = std::sin(phi);
        double dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
        double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
        double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
        if (lambda > 1) {
            rx *= std::sqrt(lambda);
            ry *= std::sqrt(lambda);
        }
        double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
        double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
        double coef = std::sqrt(std::max(0.0, num / den)) * (large == sweep ? -1 : 1);
        double cx1 = coef * rx * y1 / ry, cy1 = -coef * ry * x1 / rx;
        double cx = cp * cx1 - sp * cy1 + (from.x + to.x) / 2, cy = sp * cx1 + cp * cy1 + (from.y + to.y) / 2;
        auto ang = [](double ux, double uy, double vx, double vy) {
            double a = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
            return a;
        };
        double t1 = ang(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
        double dt = ang((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
        if (!sweep && dt > 0) dt -= 2 * M_PI;
        if (sweep && dt < 0) dt += 2 * M_PI;
        int n = std::max(1, static_cast<int>(std::ceil(std::fabs(dt) / (M_PI / 2) - 1e-9)));
        double step = dt / n, k = 4.0 / 3.0 * std::tan(step / 4);
        auto at = [&](double t, double& x, double& y, double& ddx, double& ddy) {
            double ex = rx * std::cos(t), ey = ry * std::sin(t);
            x = cx + cp * ex - sp * ey;
            y = cy + sp * ex + cp * ey;
            double tx = -rx * std::sin(t), ty = ry * std::cos(t);
            ddx = cp * tx - sp * ty;
            ddy = sp * tx + cp * ty;
        };
        for (int i = 0; i < n; ++i) {
            double a0 = t1 + i * step, a1 = a0 + step;
            double x0, y0, dx0, dy0, x3, y3, dx3, dy3;
            at(a0, x0, y0, dx0, dy0);
            at(a1, x3, y3, dx3, dy3);
            s.anchors.back().out = Point{x0 + k * dx0, y0 + k * dy0};
            Point end = i == n - 1 ? to : Point{x3, y3};
            s.anchors.push_back({end, Point{x3 - k * dx3, y3 - k * dy3}, end});
        }
    }

    static std::vector<SubPath> parsePathData(const char* d, std::string& bad, size_t& at)
    {
        std::vector<SubPath> out;
        Scanner s(d);
        Point cur{0, 0}, start{0, 0}, lastCtrl{0, 0};
        char lastCmd = 0, cmd = 0;
        SubPath* sp = nullptr;
        auto ensure = [&]() {
            if (!sp) {
                out.push_back(SubPath{});
                sp = &out.back();
                sp->anchors.push_back({cur, cur, cur});
                start = cur;
            }
        };
        auto addLine = [&](Point p) {
            ensure();
            sp->anchors.push_back({p, p, p});
            cur = p;
        };
        auto addCurve = [&](Point c1, Point c2, Point p) {
            ensure();
            sp->anchors.back().out = c1;
            sp->anchors.push_back({p, c2, p});
            cur = p;
        };
        auto error = [&](const std::string& what) {
            bad = what;
            at = s.rest() - d;
            return out;
        };
        while (!s.atEnd()) {
            if (std::isalpha(static_cast<unsigned char>(s.peek()))) {
                cmd = s.take();
                if (std::strchr("MmLlHhVvCcSsQqTtAaZz", cmd) == nullptr)
                    return error(std::string("unknown command '") + cmd + "'");
            } else if (!cmd) {
                return error("path data must begin with a moveto");
            } else if (cmd == 'Z' || cmd == 'z') {
                return error("number after closepath");
            }
            bool rel = std::islower(static_cast<unsigned char>(cmd));
            Point base = rel ? cur : Point{0, 0};
            double v[7];
            auto need = [&](int n) {
                for (int i = 0; i < n; ++i)
                    if (!s.number(v[i])) return false;
                return true;
            };
            switch (std::toupper(cmd)) {
            case 'M':
                if (!need(2)) return error("moveto needs two numbers");
                cur = Point{base.x + v[0], base.y + v[1]};
                sp = nullptr;
                ensure();
                cmd = rel ? 'l' : 'L';  // further pairs are linetos
                break;
            case 'L':
                if (!need(2)) return error("lineto needs two numbers");
                addLine({base.x + v[0], base.y + v[1]});
                break;
            case 'H':
                if (!need(1)) return error("horizontal lineto needs a number");
                addLine({(rel ? cur.x : 0) + v[0], cur.y});
                break;
            case 'V':
                if (!need(1)) return error("vertical lineto needs a number");
                addLine({cur.x, (rel ? cur.y : 0) + v[0]});
                break;
            case 'C':
                if (!need(6)) return error("curveto needs six numbers");
                lastCtrl = {base.x + v[2], base.y + v[3]};
                addCurve({base.x + v[0], base.y + v[1]}, lastCtrl, {base.x + v[4], base.y + v[5]});
                break;
            case 'S': {
                if (!need(4)) return error("smooth curveto needs four numbers");
                char pu = std::toupper(lastCmd);
                Point c1 = (pu == 'C' || pu == 'S') ? Point{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y} : cur;
                lastCtrl = {base.x + v[0], base.y + v[1]};
                addCurve(c1, lastCtrl, {base.x + v[2], base.y + v[3]});
                break;
            }
            case 'Q':
            case 'T': {
                Point q, p;
                if (std::toupper(cmd) == 'Q') {
                    if (!need(4)) return error("quadratic curveto needs four numbers");
                    q = {base.x + v[0], base.y + v[1]};
                    p = {base.x + v[2], base.y + v[3]};
                } else {
                    if (!need(2)) return error("smooth quadratic curveto needs two numbers");
                    char pu = std::toupper(lastCmd);
                    q = (pu == 'Q' || pu == 'T') ? Point{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y} : cur;
                    p = {base.x + v[0], base.y + v[1]};
                }
                lastCtrl = q;
                Point c1{cur.x + 2.0 / 3.0 * (q.x - cur.x), cur.y + 2.0 / 3.0 * (q.y - cur.y)};
                Point c2{p.x + 2.0 / 3.0 * (q.x - p.x), p.y + 2.0 / 3.0 * (q.y - p.y)};
                addCurve(c1, c2, p);
                break;
            }
            case 'A': {
                bool large, sweep;
                if (!s.number(v[0]) || !s.number(v[1]) || !s.number(v[2]) || !s.flag(large) || !s.flag(sweep) ||
                    !s.number(v[3]) || !s.number(v[4]))
                    return error("arc needs rx ry angle large-arc sweep x y");
                ensure();
                Point to{base.x + v[3], base.y + v[4]};
                arcTo(*sp, cur, v[0], v[1], v[2], large, sweep, to);
                cur = to;
                break;
            }
            case 'Z':
                if (sp) {
                    sp->closed = true;
                    // A last anchor on the first one closes with a curve: one anchor.
                    if (sp->anchors.size() > 1) {
                        const auto& last = sp->anchors.back();
                        auto& first = sp->anchors.front();
                        if (static_cast<float>(last.p.x) == static_cast<float>(first.p.x) &&
                            static_cast<float>(last.p.y) == static_cast<float>(first.p.y)) {
                            first.in = last.in;
                            sp->anchors.pop_back();
                        }
                    }
                }
                cur = start;
                sp = nullptr;
                break;
            }
            lastCmd = cmd;
            if (std::toupper(cmd) == 'Z') lastCmd = 'Z';
        }
        return out;
    }

    std::string text_;
    std::string name_;
    pugi::xml_document xml_;
    std::unique_ptr<Document> doc_;
    Matrix root_;
};

}  // namespace

std::unique_ptr<Document> readSvgText(Documents& store, const std::string& text, const std::string& name,
                                      std::string& error)
{
    try {
        Reader reader(store, text, name);
        return reader.read();
    } catch (const SvgError& e) {
        error = e.message;
        return nullptr;
    }
}

std::unique_ptr<Document> readSvgFile(Documents& store, const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be opened";
        return nullptr;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return readSvgText(store, text.str(), path, error);
}

}  // namespace vt::host
