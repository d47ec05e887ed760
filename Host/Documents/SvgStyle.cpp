// Styles and paint.
#include "Documents/SvgStyle.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <locale>
#include <map>
#include <sstream>

namespace vt::host::svg {
namespace {

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

AIColor rgbColor(double r, double g, double b)
{
    AIColor c{};
    c.kind = kThreeColor;
    c.c.rgb = {static_cast<AIReal>(r), static_cast<AIReal>(g), static_cast<AIReal>(b)};
    return c;
}

int hexDigit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

bool parsePaint(Text raw, const std::function<std::string(Text)>& kindOf, Paint& paint)
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
        for (double& c : ch) {
            Scanner s(p);
            if (!s.number(c)) return false;
            p = s.rest();
            while (*p == ' ') ++p;
            if (*p == '%') {
                c = c * 255.0 / 100.0;
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

// The custom colour named must be one the root's data-vt-custom-N attributes made.
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

}  // namespace vt::host::svg
