// Reading SVG files into the host's documents.
#include <pugixml.hpp>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <optional>
#include <sstream>
#include <string_view>
#include <unordered_map>

#include "Documents/DecimalText.h"
#include "Documents/Svg.h"
#include "Documents/XmlText.h"
#include "OutputFile.h"

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

// Groups nested deeper than this are refused: the reader descends one call
// per level, and a hostile file must not take it past the stack.
constexpr int kMaxGroupDepth = 256;
// No cutter reaches farther than this from the page origin (100 m in points);
// a coordinate beyond it is a mistake or an attack, not a job.
constexpr double kMaxReach = 100000.0 * 72.0 / 25.4;

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
        bool negative = *q == '-';
        if (*q == '+' || *q == '-') ++q;
        // The digits are gathered as they are met: most numbers need no
        // second look.
        ShortDecimal exact;
        bool digits = false;
        while (*q >= '0' && *q <= '9') exact.add(*q++, false), digits = true;
        if (*q == '.') {
            ++q;
            while (*q >= '0' && *q <= '9') exact.add(*q++, true), digits = true;
        }
        if (!digits) return false;
        bool exponent = false;
        if (*q == 'e' || *q == 'E') {
            const char* r = q + 1;
            if (*r == '+' || *r == '-') ++r;
            if (*r >= '0' && *r <= '9') {
                while (*r >= '0' && *r <= '9') ++r;
                q = r;
                exponent = true;
            }
        }
        if (exponent || !exact.value(negative, value)) {
            // from_chars reads in the C locale whatever the user's locale is; it
            // takes no leading '+'.
            const char* s = *start == '+' ? start + 1 : start;
            auto result = std::from_chars(s, q, value);
            if (result.ec == std::errc::result_out_of_range) {
                // Too large becomes infinite, so that the checks of the reader
                // refuse it by name rather than take some other number; too
                // small is zero.
                const char* e = std::find_if(s, q, [](char c) { return c == 'e' || c == 'E'; });
                const char* m = *s == '-' ? s + 1 : s;
                bool tiny = e != q ? e + 1 < q && e[1] == '-'
                                   : std::all_of(m, std::find(m, q, '.'), [](char c) { return c == '0'; });
                value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
            } else if (result.ec != std::errc()) {
                return false;
            }
        }
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

// Text of an attribute or style value, read where it lies in the parsed file.
using Text = std::string_view;

double toPoints(Text text, double fallback, double percentOf = 0)
{
    // Values are short: a bounded copy gives the scanner its terminator.
    char buf[64];
    size_t n = std::min(text.size(), sizeof buf - 1);
    std::memcpy(buf, text.data(), n);
    buf[n] = 0;
    Scanner s(buf);
    double v;
    if (!s.number(v)) return fallback;
    char unitBuf[sizeof buf];
    size_t u = 0;
    for (const char* p = s.rest(); *p; ++p)
        if (*p != ' ') unitBuf[u++] = *p;
    Text unit(unitBuf, u);
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
    Text text = attr.value();
    if (text.find('%') != Text::npos) return std::nullopt;
    Scanner s(attr.value());
    double v;
    if (!s.number(v) || v <= 0) return std::nullopt;
    return toPoints(text, v) * 72.0 / 96.0;
}

Matrix parseTransform(const char* text, size_t& bad)
{
    Matrix m;
    const char* p = text;
    bad = std::string::npos;
    while (*p) {
        while (*p == ' ' || *p == ',' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
        if (!*p) break;
        const char* nameStart = p;
        while (std::isalpha(static_cast<unsigned char>(*p))) ++p;
        Text name(nameStart, p - nameStart);
        while (*p == ' ') ++p;
        if (*p != '(' || name.empty()) {
            bad = nameStart - text;
            return m;
        }
        ++p;
        const char* close = std::strchr(p, ')');
        if (!close) {
            bad = nameStart - text;
            return m;
        }
        // The numbers end at the closing parenthesis; anything else before it is a fault.
        Scanner s(p);
        double v[6];
        size_t count = 0;
        double x;
        bool tooMany = false;
        while (s.rest() < close && s.number(x)) {
            if (count == 6) {
                tooMany = true;
                break;
            }
            v[count++] = x;
        }
        s.skipSeparators();
        if (tooMany || s.rest() != close) {
            bad = nameStart - text;
            return m;
        }
        Matrix t;
        const double rad = M_PI / 180.0;
        if (name == "matrix" && count == 6) {
            t = Matrix{v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate" && (count == 1 || count == 2)) {
            t.e = v[0];
            t.f = count == 2 ? v[1] : 0;
        } else if (name == "scale" && (count == 1 || count == 2)) {
            t.a = v[0];
            t.d = count == 2 ? v[1] : v[0];
        } else if (name == "rotate" && (count == 1 || count == 3)) {
            double c = std::cos(v[0] * rad), sn = std::sin(v[0] * rad);
            Matrix r{c, sn, -sn, c, 0, 0};
            if (count == 3) {
                Matrix to{1, 0, 0, 1, v[1], v[2]}, back{1, 0, 0, 1, -v[1], -v[2]};
                t = to * r * back;
            } else {
                t = r;
            }
        } else if (name == "skewX" && count == 1) {
            t.c = std::tan(v[0] * rad);
        } else if (name == "skewY" && count == 1) {
            t.b = std::tan(v[0] * rad);
        } else {
            bad = nameStart - text;
            return m;
        }
        m = m * t;
        p = close + 1;
    }
    return m;
}

// ---- Colours --------------------------------------------------------------------------------

const std::map<std::string, uint32_t, std::less<>>& namedColors()
{
    static const std::map<std::string, uint32_t, std::less<>> colors = {
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

Text trim(Text s)
{
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == Text::npos ? Text() : s.substr(a, b - a + 1);
}

std::string trim(const std::string& s) { return std::string(trim(Text(s))); }

int hexDigit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// kindOf(id) names the tag of the element with that id (a gradient or a
// pattern), empty when there is none.
template <typename KindOf>
bool parsePaint(Text raw, const KindOf& kindOf, Paint& paint)
{
    Text text = trim(raw);
    // Lower case in a small buffer: colour words and functions are short.
    char lowerBuf[64];
    std::string longLower;
    char* out = lowerBuf;
    if (text.size() > sizeof lowerBuf) {
        longLower.resize(text.size());
        out = longLower.data();
    }
    for (size_t i = 0; i < text.size(); ++i) out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    Text lower(out, text.size());
    if (lower == "none" || lower == "transparent") {
        paint.on = false;
        paint.color.kind = kNoneColor;
        return true;
    }
    paint.on = true;
    if (lower.substr(0, 4) == "url(") {
        // Gradients and patterns are kept as their kind; their content is not ours.
        size_t hash = text.find('#'), close = text.find(')');
        Text id = hash == Text::npos ? Text() : text.substr(hash + 1, close - hash - 1);
        std::string kind = kindOf(id);
        paint.color = AIColor{};
        paint.color.kind = kind == "pattern" ? kPattern : kGradient;
        return true;
    }
    if (lower == "currentcolor") {
        paint.color = rgbColor(0, 0, 0);
        return true;
    }
    if (!lower.empty() && lower[0] == '#') {
        Text hex = lower.substr(1);
        if (hex.size() != 3 && hex.size() != 6) return false;
        uint32_t v = 0;
        for (char c : hex) {
            int d = hexDigit(c);
            if (d < 0) return false;
            v = v * 16 + static_cast<uint32_t>(d);
            if (hex.size() == 3) v = v * 16 + static_cast<uint32_t>(d);
        }
        paint.color = rgbColor(((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0);
        return true;
    }
    if (lower.substr(0, 4) == "rgb(") {
        size_t close = lower.find(')');
        if (close == Text::npos) return false;
        std::string args(lower.substr(4, close - 4));
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

// Texts are views into the parsed file (or literals), which outlives the read.
struct Style {
    Text fill = "black";
    Text stroke = "none";
    Text fillKind;    // data-vt-fill
    Text strokeKind;  // data-vt-stroke
    double strokeWidth = 1;
    Text fillRule = "nonzero";
    double fontSize = 16;
    Text fontFamily;
    Text lineCap = "butt", lineJoin = "miter";
    double miterLimit = 4;
};

enum Property {
    kFillProperty,
    kStrokeProperty,
    kStrokeWidthProperty,
    kFillRuleProperty,
    kDisplayProperty,
    kFontSizeProperty,
    kFontFamilyProperty,
    kLineCapProperty,
    kLineJoinProperty,
    kMiterLimitProperty,
    kVisibilityProperty,
    kPropertyCount
};

const char* const kPropertyNames[kPropertyCount] = {
    "fill", "stroke", "stroke-width", "fill-rule", "display", "font-size", "font-family", "stroke-linecap",
    "stroke-linejoin", "stroke-miterlimit", "visibility"};

// The style properties of one element: its presentation attributes, over
// which its style attribute wins. Read in one pass over the attributes.
struct Properties {
    Text value[kPropertyCount];
    bool set[kPropertyCount] = {};

    const Text* get(Property p) const { return set[p] ? &value[p] : nullptr; }
    bool is(Property p, Text what) const { return set[p] && value[p] == what; }
    void put(Text key, Text v)
    {
        for (int i = 0; i < kPropertyCount; ++i)
            if (key == kPropertyNames[i]) {
                value[i] = v;
                set[i] = true;
                return;
            }
    }
};

Properties styleProperties(const pugi::xml_node& node)
{
    Properties props;
    const char* style = nullptr;
    for (pugi::xml_attribute a : node.attributes()) {
        const char* name = a.name();
        if (std::strcmp(name, "style") == 0) {
            if (!style) style = a.value();
            continue;
        }
        for (int i = 0; i < kPropertyCount; ++i)
            if (!props.set[i] && std::strcmp(name, kPropertyNames[i]) == 0) {
                props.value[i] = a.value();
                props.set[i] = true;
                break;
            }
    }
    // The style attribute wins over presentation attributes.
    for (Text rest = style ? style : ""; !rest.empty();) {
        size_t semicolon = rest.find(';');
        Text decl = rest.substr(0, semicolon);
        rest = semicolon == Text::npos ? Text() : rest.substr(semicolon + 1);
        size_t colon = decl.find(':');
        if (colon == Text::npos) continue;
        Text key = trim(decl.substr(0, colon)), value = trim(decl.substr(colon + 1));
        size_t important = value.find("!important");
        if (important != Text::npos) value = trim(value.substr(0, important));
        props.put(key, value);
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

// What the reader does with an element, from its tag.
enum class Tag { kOther, kGroup, kText, kPath, kRect, kCircle, kEllipse, kLine, kPolyline, kPolygon };

class Reader {
public:
    // source: the text read (for the line and column of a fault), or null when
    // the text came from the file `name`, which is then read again to find it.
    Reader(Documents& store, const std::string& name, const std::string* source) : name_(name), source_(source)
    {
        doc_ = std::make_unique<Document>(store);
    }

    // Parses text the caller keeps; pugixml works on its own copy.
    pugi::xml_parse_result parse(const std::string& text)
    {
        refuseWhatXmlForbids(text.data(), text.size());
        return xml_.load_buffer(text.data(), text.size(), pugi::parse_default);
    }

    // Parses a buffer taken from pugixml's allocator where it lies: pugixml
    // owns it from here on and cuts names and values out of it in place.
    pugi::xml_parse_result parseInPlace(char* buffer, size_t size)
    {
        try {
            refuseWhatXmlForbids(buffer, size);
        } catch (...) {
            pugi::get_memory_deallocation_function()(buffer);  // not yet pugixml's
            throw;
        }
        return xml_.load_buffer_inplace_own(buffer, size, pugi::parse_default);
    }

    std::unique_ptr<Document> read(const pugi::xml_parse_result& result)
    {
        if (!result) fail(result.offset, std::string("not well-formed XML: ") + result.description());
        pugi::xml_node root = xml_.document_element();
        if (std::strcmp(localName(root), "svg") != 0) fail(root.offset_debug(), "the root element is not <svg>");
        setUpPage(root);
        readCustomColors(root);
        Style style;
        applyStyle(root, styleProperties(root), style);
        // The SVG draws its first child first (at the back); layers are kept
        // top first, so each new layer goes above the ones read before.
        LayerNode* loose = nullptr;
        for (pugi::xml_node child : root.children()) {
            if (child.type() != pugi::node_element) continue;
            Tag tag = tagOf(child);
            if (std::strcmp(localName(child), "g") == 0) {
                LayerNode* layer = doc_->insertLayer(0, layerTitle(child));
                loose = nullptr;
                Properties props = styleProperties(child);
                readLayerAttributes(child, props, *layer);
                Style s = style;
                applyStyle(child, props, s);
                Matrix m = root_ * transformOf(child);
                checkMatrix(child, m);
                readChildren(child, layer->root, m, s, 1);
                continue;
            }
            if (tag == Tag::kOther) continue;
            if (!loose) {
                std::string title = "Layer 1";
                for (int i = 2; doc_->layerByTitle(title); ++i) title = "Layer " + std::to_string(i);
                loose = doc_->insertLayer(0, title);
            }
            readElement(child, loose->root, root_, style, 0);
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
        auto count = [&](char ch) {
            if (ch == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        };
        if (source_) {
            for (ptrdiff_t i = 0; i < offset && i < static_cast<ptrdiff_t>(source_->size()); ++i) count((*source_)[i]);
        } else if (FILE* file = std::fopen(name_.c_str(), "rb")) {
            // The parsed copy has been cut up in place: the file tells where the fault is.
            int ch;
            for (ptrdiff_t i = 0; i < offset && (ch = std::fgetc(file)) != EOF; ++i) count(static_cast<char>(ch));
            std::fclose(file);
        }
        throw SvgError{name_ + ":" + std::to_string(line) + ":" + std::to_string(column) + " (offset " +
                       std::to_string(offset) + "): " + what};
    }

    // pugixml takes a '<' inside an attribute value, which XML forbids and
    // every other XML program refuses. (Text in UTF-16 or UTF-32, which pugixml
    // reads too, is not looked at byte by byte.)
    void refuseWhatXmlForbids(const char* text, size_t size)
    {
        bool wide = std::memchr(text, 0, std::min<size_t>(size, 4)) != nullptr ||
                    (size >= 2 && (static_cast<unsigned char>(text[0]) & 0xFE) == 0xFE);
        size_t at = wide ? std::string::npos : lessThanInAttributeValue(text, size);
        if (at != std::string::npos)
            fail(static_cast<ptrdiff_t>(at), "not well-formed XML: a '<' inside an attribute value (write it &lt;)");
    }

    static const char* localName(const pugi::xml_node& n)
    {
        const char* name = n.name();
        const char* colon = std::strrchr(name, ':');
        return colon ? colon + 1 : name;
    }

    // Shapes, text and the groups that hold them; anything else (defs,
    // metadata, title, style, images ...) is not read.
    static Tag tagOf(const pugi::xml_node& n)
    {
        static const struct {
            const char* name;
            Tag tag;
        } kTags[] = {{"path", Tag::kPath},       {"g", Tag::kGroup},        {"rect", Tag::kRect},
                     {"circle", Tag::kCircle},   {"ellipse", Tag::kEllipse}, {"line", Tag::kLine},
                     {"polyline", Tag::kPolyline}, {"polygon", Tag::kPolygon}, {"text", Tag::kText},
                     {"a", Tag::kGroup},         {"switch", Tag::kGroup}};
        const char* name = localName(n);
        for (const auto& t : kTags)
            if (std::strcmp(name, t.name) == 0) return t.tag;
        return Tag::kOther;
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
        for (double v : {minX, minY, vbW, vbH, widthPt, heightPt})
            if (!std::isfinite(v) || std::fabs(v) > kMaxReach)
                fail(root.offset_debug(), describe(root) + ": the page size or viewBox is " +
                                              (std::isfinite(v) ? "beyond the 100 m a cutter can reach"
                                                                : "not a finite number"));
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

    void readLayerAttributes(const pugi::xml_node& g, const Properties& props, LayerNode& layer)
    {
        if (pugi::xml_attribute c = g.attribute("data-vt-layer-color")) {
            unsigned r, gg, b;
            if (std::sscanf(c.value(), "%u %u %u", &r, &gg, &b) == 3)
                layer.color = AIRGBColor{uint16_t(r), uint16_t(gg), uint16_t(b)};
        }
        if (props.is(kDisplayProperty, "none") || props.is(kVisibilityProperty, "hidden")) layer.visible = false;
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
        checkMatrix(node, m);
        return m;
    }

    // A transform, alone or with its parents', must keep the art finite and
    // must not flatten it to a line or a point (a zero scale): either would
    // cut nothing real.
    void checkMatrix(const pugi::xml_node& node, const Matrix& m)
    {
        double det = m.a * m.d - m.b * m.c;
        bool finite = std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) &&
                      std::isfinite(m.e) && std::isfinite(m.f) && std::isfinite(det);
        if (finite && det != 0 && std::fpclassify(det) != FP_SUBNORMAL) return;
        std::string what = node.attribute("transform") ? " \"" + std::string(node.attribute("transform").value()) + "\""
                                                       : "";
        fail(node.offset_debug(), describe(node) + ": the transform" + what +
                                      (finite ? " has a zero scale: it flattens the art to nothing"
                                              : " is not finite (with its parents' transforms)"));
    }

    // An element as a message names it: its tag and, when it has one, its id.
    static std::string describe(const pugi::xml_node& node)
    {
        std::string text = std::string("<") + node.name();
        if (pugi::xml_attribute id = node.attribute("id")) text += std::string(" id=\"") + id.value() + "\"";
        return text + ">";
    }

    // A document coordinate must be finite and within the reach of a cutter;
    // checked before it is narrowed to the document's single precision.
    AIRealPoint placed(const pugi::xml_node& node, const Matrix& m, Point p)
    {
        double x, y;
        m.apply(p.x, p.y, x, y);
        double far = std::max(std::fabs(x), std::fabs(y));
        if (!std::isfinite(far))  // an infinity, or what arithmetic on one gives
            fail(node.offset_debug(), describe(node) + ": a point lies too far from the page origin to be held as a "
                                                       "number, beyond the 100 m a cutter can reach");
        if (far > kMaxReach) {
            char metres[64];
            std::snprintf(metres, sizeof metres, "%.6g", far * (25.4 / 72000.0));
            fail(node.offset_debug(), describe(node) + ": a point lies " + metres +
                                          " m from the page origin, beyond the 100 m a cutter can reach");
        }
        return AIRealPoint{static_cast<AIReal>(x), static_cast<AIReal>(y)};
    }

    // A length (a stroke width, a font size) must be a finite number.
    void checkLength(const pugi::xml_node& node, const char* name, double value)
    {
        if (!std::isfinite(value) || std::fabs(value) > kMaxReach)
            fail(node.offset_debug(), describe(node) + ": the " + name + " is " +
                                          (std::isfinite(value) ? "beyond the 100 m a cutter can reach"
                                                                : "not a finite number"));
    }

    void applyStyle(const pugi::xml_node& node, const Properties& props, Style& style)
    {
        auto get = [&](Property k) -> const Text* {
            const Text* v = props.get(k);
            return v && *v == "inherit" ? nullptr : v;
        };
        if (auto v = get(kFillProperty)) {
            style.fill = *v;
            style.fillKind = Text();
        }
        if (auto v = get(kStrokeProperty)) {
            style.stroke = *v;
            style.strokeKind = Text();
        }
        if (pugi::xml_attribute a = node.attribute("data-vt-fill")) style.fillKind = a.value();
        if (pugi::xml_attribute a = node.attribute("data-vt-stroke")) style.strokeKind = a.value();
        if (auto v = get(kStrokeWidthProperty)) style.strokeWidth = toPoints(*v, style.strokeWidth, 1);
        if (auto v = get(kFillRuleProperty)) style.fillRule = *v;
        if (auto v = get(kFontSizeProperty)) style.fontSize = toPoints(*v, style.fontSize, style.fontSize);
        if (auto v = get(kFontFamilyProperty)) style.fontFamily = *v;
        if (auto v = get(kLineCapProperty)) style.lineCap = *v;
        if (auto v = get(kLineJoinProperty)) style.lineJoin = *v;
        if (auto v = get(kMiterLimitProperty)) style.miterLimit = toPoints(*v, style.miterLimit);
        checkLength(node, "stroke width", style.strokeWidth);
        checkLength(node, "font size", style.fontSize);
        checkLength(node, "stroke miter limit", style.miterLimit);
    }

    // The tag of the element with this id ("linearGradient", "pattern" ...),
    // empty when none has it. The first in the file wins, as a search from
    // the top finds it; the ids are gathered once, on the first reference.
    std::string kindOf(Text id)
    {
        if (id.empty()) {
            // Matches the first node without an id.
            pugi::xml_node n = xml_.find_node([](pugi::xml_node x) { return *x.attribute("id").value() == 0; });
            return n ? n.name() : "";
        }
        if (!idsIndexed_) {
            for (pugi::xml_node n = xml_.first_child(); n;) {
                if (pugi::xml_attribute a = n.attribute("id")) ids_.emplace(a.value(), n);
                if (n.first_child()) {
                    n = n.first_child();
                    continue;
                }
                while (n && !n.next_sibling()) n = n.parent();
                if (n) n = n.next_sibling();
            }
            idsIndexed_ = true;
        }
        auto it = ids_.find(id);
        return it == ids_.end() ? "" : it->second.name();
    }

    AIPathStyle pathStyle(const pugi::xml_node& node, const Style& s, const Matrix& m)
    {
        AIPathStyle style = defaultPathStyle();
        Paint fill, stroke;
        auto kindOf = [this](Text id) { return this->kindOf(id); };
        if (!parsePaint(s.fill, kindOf, fill))
            fail(node.offset_debug(), "unknown fill colour \"" + std::string(s.fill) + "\"");
        if (!parsePaint(s.stroke, kindOf, stroke))
            fail(node.offset_debug(), "unknown stroke colour \"" + std::string(s.stroke) + "\"");
        if (fill.on && !s.fillKind.empty() && !parseKindPaint(std::string(s.fillKind), *doc_, fill))
            fail(node.offset_debug(), "bad data-vt-fill \"" + std::string(s.fillKind) + "\"");
        if (stroke.on && !s.strokeKind.empty() && !parseKindPaint(std::string(s.strokeKind), *doc_, stroke))
            fail(node.offset_debug(), "bad data-vt-stroke \"" + std::string(s.strokeKind) + "\"");
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

    // data-tag-NAME holds the value as it is; data-vt-tag-NAME a value XML
    // cannot hold, percent-encoded.
    void readTags(const pugi::xml_node& node, ArtNode& art)
    {
        static const char kPrefix[] = "data-tag-", kEncodedPrefix[] = "data-vt-tag-";
        const size_t prefixLength = sizeof kPrefix - 1, encodedLength = sizeof kEncodedPrefix - 1;
        for (pugi::xml_attribute a : node.attributes()) {
            const char* n = a.name();
            if (std::strncmp(n, kPrefix, prefixLength) == 0 && n[prefixLength] != 0) {
                art.setTag(n + prefixLength, a.value());
            } else if (std::strncmp(n, kEncodedPrefix, encodedLength) == 0 && n[encodedLength] != 0) {
                std::string value;
                if (!percentDecode(a.value(), value))
                    fail(node.offset_debug(), describe(node) + ": " + n + " is not percent-encoded: a '%' without two "
                                                                          "hexadecimal digits after it");
                art.setTag(n + encodedLength, value);
            }
        }
    }

    void finishArt(const pugi::xml_node& node, const Properties& props, ArtNode* art, ArtNode* parent)
    {
        art->name = node.attribute("id").value();
        readTags(node, *art);
        if (props.is(kDisplayProperty, "none") || props.is(kVisibilityProperty, "hidden")) art->attrs |= kArtHidden;
        if (node.attribute("data-vt-locked").as_bool()) art->attrs |= kArtLocked;
        // Later SVG elements paint over earlier ones: each goes on top.
        doc_->place(art, kPlaceInsideOnTop, parent);
    }

    // depth: the number of groups around the children (a layer is the first).
    void readChildren(const pugi::xml_node& node, ArtNode* parent, const Matrix& m, const Style& style, int depth)
    {
        for (pugi::xml_node child : node.children())
            if (child.type() == pugi::node_element) readElement(child, parent, m, style, depth);
    }

    void readElement(const pugi::xml_node& node, ArtNode* parent, const Matrix& parentMatrix,
                     const Style& parentStyle, int depth)
    {
        Tag tag = tagOf(node);
        if (tag == Tag::kOther) return;  // defs, metadata, title, style, images ...
        Properties props = styleProperties(node);
        Style style = parentStyle;
        applyStyle(node, props, style);
        Matrix m = parentMatrix * transformOf(node);
        checkMatrix(node, m);
        if (tag == Tag::kGroup) {
            if (depth >= kMaxGroupDepth)
                fail(node.offset_debug(), describe(node) + ": groups are nested deeper than " +
                                              std::to_string(kMaxGroupDepth) + " levels");
            ArtNode* group = doc_->newArt(kGroupArt);
            finishArt(node, props, group, parent);
            readChildren(node, group, m, style, depth + 1);
            return;
        }
        if (tag == Tag::kText) {
            readText(node, props, parent, m, style);
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
        bool guide = node.attribute("data-vt-guide").as_bool();
        ArtNode* holder = compound ? doc_->newArt(kCompoundPathArt) : nullptr;
        if (holder) finishArt(node, props, holder, parent);
        for (const SubPath& sp : subpaths) {
            ArtNode* path = doc_->newArt(kPathArt);
            path->closed = sp.closed;
            path->style = ps;
            path->guide = guide;
            path->segments.reserve(sp.anchors.size());
            for (const auto& a : sp.anchors) {
                AIPathSegment seg{};
                seg.p = placed(node, m, a.p);
                seg.in = placed(node, m, a.in);
                seg.out = placed(node, m, a.out);
                seg.corner = isCorner(a);
                path->segments.push_back(seg);
            }
            if (holder) {
                doc_->place(path, kPlaceInsideOnBottom, holder);
            } else {
                finishArt(node, props, path, parent);
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

    // All the character data inside a node of a text (the node's own level
    // below the <text> given), in document order; walked without recursion.
    // Elements nested deeper than groups may be are refused as groups are.
    void gatherText(const pugi::xml_node& node, int level, std::string& out)
    {
        for (pugi::xml_node n = node.first_child(); n;) {
            if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) out += n.value();
            if (n.first_child()) {
                if (++level > kMaxGroupDepth)
                    fail(n.offset_debug(), describe(n) + ": elements of a text are nested deeper than " +
                                               std::to_string(kMaxGroupDepth) + " levels");
                n = n.first_child();
                continue;
            }
            while (n && !n.next_sibling() && n != node) {
                n = n.parent();
                --level;
            }
            if (!n || n == node) break;
            n = n.next_sibling();
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
    std::string textLinesOf(const pugi::xml_node& node, std::string& xText, std::string& yText)
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
            gatherText(n, 1, lines.back());
        }
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r" : "") + collapseBlanks(lines[i]);
        return text;
    }

    void readText(const pugi::xml_node& node, const Properties& props, ArtNode* parent, const Matrix& m,
                  const Style& style)
    {
        std::string xText = node.attribute("x").value(), yText = node.attribute("y").value();
        std::string lines = textLinesOf(node, xText, yText);
        ArtNode* text = doc_->newArt(kTextFrameArt);
        double x = toPoints(xText, 0), y = toPoints(yText, 0);
        text->textOrigin = placed(node, m, Point{x, y});
        text->fontSize = static_cast<AIReal>(style.fontSize * m.scale());
        checkLength(node, "font size", text->fontSize);
        text->fontFamily = std::string(style.fontFamily);
        text->text = lines;
        text->style = pathStyle(node, style, m);
        finishArt(node, props, text, parent);
    }

    double attr(const pugi::xml_node& node, const char* name, double fallback = 0)
    {
        pugi::xml_attribute a = node.attribute(name);
        return a ? toPoints(a.value(), fallback) : fallback;
    }

    std::vector<SubPath> shapeOutline(const pugi::xml_node& node, Tag tag)
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
            out.push_back(s);
        } else if (tag == Tag::kLine) {
            SubPath s{{line({attr(node, "x1"), attr(node, "y1")}), line({attr(node, "x2"), attr(node, "y2")})}, false};
            out.push_back(s);
        } else if (tag == Tag::kPolyline || tag == Tag::kPolygon) {
            Scanner sc(node.attribute("points").value());
            SubPath s;
            double x, y;
            while (sc.number(x)) {
                if (!sc.number(y)) break;  // an odd coordinate is dropped, as SVG does
                s.anchors.push_back(line({x, y}));
            }
            s.closed = tag == Tag::kPolygon;
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
        if (!std::isfinite(dt) || !std::isfinite(t1)) {
            lineTo(to);  // numbers past any real drawing: the point checks refuse them
            return;
        }
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

    std::string name_;
    const std::string* source_;
    pugi::xml_document xml_;
    std::unique_ptr<Document> doc_;
    Matrix root_;
    std::unordered_map<Text, pugi::xml_node> ids_;
    bool idsIndexed_ = false;
};

}  // namespace

std::unique_ptr<Document> readSvgText(Documents& store, const std::string& text, const std::string& name,
                                      std::string& error)
{
    try {
        Reader reader(store, name, &text);
        return reader.read(reader.parse(text));
    } catch (const SvgError& e) {
        error = e.message;
    } catch (const std::bad_alloc&) {
        error = name + ": not enough memory to read the drawing";
    }
    return nullptr;
}

std::unique_ptr<Document> readSvgFile(Documents& store, const std::string& path, std::string& error)
{
    // The file goes straight into the one buffer pugixml parses in place: no
    // other copy of it is ever held. What stops the reading is said in the
    // system's words (no such file, permission denied, a folder).
    auto cannotRead = [&](int code) {
        error = "cannot read " + path + ": " + (code == ENOENT ? std::string("no such file") : std::strerror(code));
        return nullptr;
    };
    // Only a regular file of at most kSvgFileLimit is read: a pipe is never
    // waited on, a device never read without end.
    size_t fileSize = 0;
    ReadStatus status;
    int fd = openRegularFile(path, kSvgFileLimit, "an SVG file", fileSize, status, error);
    if (fd < 0) {
        if (status == ReadStatus::Missing) return cannotRead(ENOENT);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        int code = errno;
        ::close(fd);
        return cannotRead(code);
    }
    auto allocate = pugi::get_memory_allocation_function();
    auto release = pugi::get_memory_deallocation_function();
    size_t size = 0, capacity = 0;
    char* buffer = nullptr;
    int readError = 0;
    for (;;) {
        if (size == capacity) {
            // The file is read in one piece of its size; one that grows meanwhile, by halves.
            size_t wanted = capacity + capacity / 2;
            if (capacity == 0 && fileSize > 0) wanted = fileSize + 1;  // one more to see the end
            if (wanted < 4096) wanted = 4096;
            char* grown = static_cast<char*>(allocate(wanted));
            if (!grown) {
                release(buffer);
                std::fclose(file);
                error = path + ": not enough memory to read the drawing";
                return nullptr;
            }
            if (size) std::memcpy(grown, buffer, size);
            release(buffer);
            buffer = grown;
            capacity = wanted;
        }
        errno = 0;
        size_t got = std::fread(buffer + size, 1, capacity - size, file);
        size += got;
        if (size > kSvgFileLimit) {
            release(buffer);
            std::fclose(file);
            error = "cannot read " + path + ": it is larger than the " + sizeText(kSvgFileLimit) + " an SVG file may be";
            return nullptr;
        }
        if (got == 0) {
            if (std::ferror(file)) readError = errno != 0 ? errno : EIO;
            break;
        }
    }
    std::fclose(file);
    if (readError != 0) {
        release(buffer);
        return cannotRead(readError);
    }
    try {
        std::unique_ptr<Reader> reader;
        try {
            reader = std::make_unique<Reader>(store, path, nullptr);
        } catch (...) {
            release(buffer);  // not yet pugixml's
            throw;
        }
        return reader->read(reader->parseInPlace(buffer, size));
    } catch (const SvgError& e) {
        error = e.message;
    } catch (const std::bad_alloc&) {
        error = path + ": not enough memory to read the drawing";
    }
    return nullptr;
}

}  // namespace vt::host
