// Text layout with FreeType and fontconfig. Glyph outlines are read in font
// units and kept per font, so a text of many characters costs one read per
// distinct glyph; quadratic curves become cubic ones exactly.
#include "Documents/TextLayout.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <unordered_map>

#include "FontFiles.h"
#include "Utf8.h"

namespace vt::host {
namespace {

// A point of a glyph in font units.
struct FontPoint {
    double x, y;
};
struct FontSegment {
    FontPoint p, in, out;
};
struct FontGlyph {
    std::vector<std::vector<FontSegment>> contours;
    double advance = 0;
};

struct Font {
    FT_Face face = nullptr;
    double unitsPerEm = 2048;
    double ascender = 0;
    double descender = 0;
    std::unordered_map<FT_UInt, FontGlyph> glyphs;
};

// Fonts are files on the machine: loaded once per process, never freed.
class Fonts {
public:
    static Fonts& get()
    {
        static Fonts fonts;
        return fonts;
    }

    Font* forFamily(const std::string& family)
    {
        auto it = byFamily_.find(family);
        if (it != byFamily_.end()) return it->second;
        Font* font = load(resolve(family));
        if (!font) font = load(resolve(""));
        byFamily_[family] = font;
        return font;
    }

    // The file and face index a family list resolves to: the first installed
    // family of the list, else DejaVu Sans.
    std::pair<std::string, int> resolve(const std::string& families)
    {
        for (const std::string& name : splitFamilies(families)) {
            auto match = match_(name, !isGeneric(name));
            if (!match.first.empty()) return match;
        }
        auto match = match_("DejaVu Sans", true);
        if (!match.first.empty()) return match;
        return {dejaVuSansFile(), 0};
    }

    // The host's own fonts, in the order a character the text's font lacks
    // is looked for in them; null for one that cannot be loaded.
    const std::vector<Font*>& hostFonts()
    {
        if (hostFonts_.empty())
            for (const std::string& file : {dejaVuSansFile(), fallbackFontFile()}) hostFonts_.push_back(load({file, 0}));
        return hostFonts_;
    }

private:
    Fonts()
    {
        if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        // The process's own configuration, the one the toolkit's drawing
        // already uses: a second one would be built, and never given back.
        config_ = FcInit() ? FcConfigGetCurrent() : nullptr;
    }

    static std::vector<std::string> splitFamilies(const std::string& list)
    {
        std::vector<std::string> out;
        // Every name ends at a comma or at the end; the last one ends the loop.
        for (size_t start = 0;;) {
            size_t comma = list.find(',', start);
            std::string name = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            auto blank = [](unsigned char c) { return std::isspace(c) || c == '"' || c == '\''; };
            while (!name.empty() && blank(name.front())) name.erase(name.begin());
            while (!name.empty() && blank(name.back())) name.pop_back();
            if (!name.empty()) out.push_back(name);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        return out;
    }

    static bool isGeneric(const std::string& name)
    {
        static const char* const kGeneric[] = {"serif", "sans-serif", "sans", "monospace", "cursive", "fantasy"};
        for (const char* g : kGeneric)
            if (equalNoCase(name, g)) return true;
        return false;
    }

    static bool equalNoCase(const std::string& a, const std::string& b)
    {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
                   return std::tolower(x) == std::tolower(y);
               });
    }

    // fontconfig always answers with some font; unless the name is a generic
    // one, only a font of that very family counts.
    std::pair<std::string, int> match_(const std::string& name, bool exact)
    {
        if (!config_) return {"", 0};
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcConfigSubstitute(config_, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(config_, pattern, &result);
        FcPatternDestroy(pattern);
        std::pair<std::string, int> answer{"", 0};
        if (!found) return answer;
        bool familyMatches = !exact;
        FcChar8* family = nullptr;
        for (int i = 0; !familyMatches && FcPatternGetString(found, FC_FAMILY, i, &family) == FcResultMatch; ++i)
            familyMatches = equalNoCase(reinterpret_cast<const char*>(family), name);
        FcChar8* file = nullptr;
        int index = 0;
        if (familyMatches && FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(found, FC_INDEX, 0, &index);
            answer = {reinterpret_cast<const char*>(file), index};
        }
        FcPatternDestroy(found);
        return answer;
    }

    Font* load(const std::pair<std::string, int>& file)
    {
        if (file.first.empty() || !library_) return nullptr;
        std::string key = file.first + "#" + std::to_string(file.second);
        auto it = byFile_.find(key);
        if (it != byFile_.end()) return it->second.get();
        auto font = std::make_unique<Font>();
        if (FT_New_Face(library_, file.first.c_str(), file.second, &font->face) != 0) {
            byFile_[key] = nullptr;
            return nullptr;
        }
        font->unitsPerEm = font->face->units_per_EM > 0 ? font->face->units_per_EM : 2048;
        font->ascender = font->face->ascender;
        font->descender = font->face->descender;
        Font* raw = font.get();
        byFile_[key] = std::move(font);
        return raw;
    }

    FT_Library library_ = nullptr;
    FcConfig* config_ = nullptr;
    std::map<std::string, Font*> byFamily_;
    std::map<std::string, std::unique_ptr<Font>> byFile_;
    std::vector<Font*> hostFonts_;
};

// ---- Glyph outlines -----------------------------------------------------------------

struct Decomposer {
    std::vector<std::vector<FontSegment>> contours;
    FontPoint last{0, 0};

    static FontPoint at(const FT_Vector* v) { return FontPoint{double(v->x), double(v->y)}; }
    std::vector<FontSegment>& current() { return contours.back(); }
    void add(FontPoint p, FontPoint in)
    {
        current().push_back(FontSegment{p, in, p});
        last = p;
    }

    static int moveTo(const FT_Vector* to, void* user)
    {
        auto* d = static_cast<Decomposer*>(user);
        d->contours.emplace_back();
        FontPoint p = at(to);
        d->add(p, p);
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user)
    {
        auto* d = static_cast<Decomposer*>(user);
        FontPoint p = at(to);
        d->add(p, p);
        return 0;
    }
    // A quadratic from p0 over q to p2 is the cubic whose handles lie two
    // thirds of the way from each end towards q: the same curve exactly.
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user)
    {
        auto* d = static_cast<Decomposer*>(user);
        FontPoint p0 = d->last, q = at(control), p2 = at(to);
        d->current().back().out = FontPoint{p0.x + 2.0 / 3.0 * (q.x - p0.x), p0.y + 2.0 / 3.0 * (q.y - p0.y)};
        d->add(p2, FontPoint{p2.x + 2.0 / 3.0 * (q.x - p2.x), p2.y + 2.0 / 3.0 * (q.y - p2.y)});
        return 0;
    }
    static int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user)
    {
        auto* d = static_cast<Decomposer*>(user);
        d->current().back().out = at(c1);
        d->add(at(to), at(c2));
        return 0;
    }

    // The decomposer ends each contour with a segment back to its first
    // point: that last anchor is the first one again.
    void closeContours()
    {
        std::vector<std::vector<FontSegment>> kept;
        for (auto& c : contours) {
            if (c.size() > 1 && c.back().p.x == c.front().p.x && c.back().p.y == c.front().p.y) {
                c.front().in = c.back().in;
                c.pop_back();
            }
            if (c.size() >= 2) kept.push_back(std::move(c));
        }
        contours = std::move(kept);
    }
};

const FontGlyph& glyphOf(Font& font, FT_UInt index)
{
    auto it = font.glyphs.find(index);
    if (it != font.glyphs.end()) return it->second;
    FontGlyph glyph;
    if (FT_Load_Glyph(font.face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0) {
        glyph.advance = double(font.face->glyph->metrics.horiAdvance);
        if (font.face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            FT_Outline_Funcs funcs{};
            funcs.move_to = Decomposer::moveTo;
            funcs.line_to = Decomposer::lineTo;
            funcs.conic_to = Decomposer::conicTo;
            funcs.cubic_to = Decomposer::cubicTo;
            Decomposer d;
            if (FT_Outline_Decompose(&font.face->glyph->outline, &funcs, &d) == 0) {
                d.closeContours();
                glyph.contours = std::move(d.contours);
            }
        }
    }
    return font.glyphs.emplace(index, std::move(glyph)).first->second;
}

bool isCorner(const AIPathSegment& s)
{
    double ix = s.in.h - s.p.h, iy = s.in.v - s.p.v, ox = s.out.h - s.p.h, oy = s.out.v - s.p.v;
    double li = std::hypot(ix, iy), lo = std::hypot(ox, oy);
    if (li < 1e-9 || lo < 1e-9) return true;
    return (ix * ox + iy * oy) / (li * lo) > -0.9999;
}

// Characters that are not drawn and take no room (line ends are gone by now).
bool isControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

// The font a character is set in: the text's own when it has the character,
// else the first of the host's fonts that has it; index 0 when none has it.
Font* fontFor(Font* own, char32_t codePoint, FT_UInt& index)
{
    index = FT_Get_Char_Index(own->face, codePoint);
    if (index != 0) return own;
    for (Font* font : Fonts::get().hostFonts())
        if (font && font != own && (index = FT_Get_Char_Index(font->face, codePoint)) != 0) return font;
    return own;
}

// Sets the text; glyphs only when wanted. A character no font has takes the
// room of the text font's missing-glyph mark; the first is kept in missing.
bool layout(const ArtNode& frame, TextLayout* shapes, AIRealRect& bounds, char32_t& missing)
{
    Font* own = Fonts::get().forFamily(frame.textFrame->fontFamily);
    if (!own) return false;
    double size = frame.textFrame->fontSize;
    double ox = frame.textFrame->origin.h, oy = frame.textFrame->origin.v;
    double widest = 0, top = 0, bottom = 0;
    std::vector<std::string> lines = textLines(frame.textFrame->text);
    for (size_t line = 0; line < lines.size(); ++line) {
        const std::string& text = lines[line];
        double baseline = oy - double(line) * 1.2 * size;
        // A run of characters in one font: where it starts (points from the
        // line's start) and the pen within it (that font's units).
        Font* font = own;
        double scale = size / font->unitsPerEm;
        bool kerning = FT_HAS_KERNING(font->face);
        double runStart = 0, pen = 0;
        double ascent = own->ascender * scale, descent = own->descender * scale;
        FT_UInt previous = 0;
        for (char32_t codePoint : decodeUtf8(text)) {
            if (isControl(codePoint)) continue;
            FT_UInt index = 0;
            Font* used = fontFor(own, codePoint, index);
            if (index == 0 && missing == 0) missing = codePoint;
            if (used != font) {
                runStart += pen * scale;
                pen = 0;
                font = used;
                scale = size / font->unitsPerEm;
                kerning = FT_HAS_KERNING(font->face);
                previous = 0;
                ascent = std::max(ascent, font->ascender * scale);
                descent = std::min(descent, font->descender * scale);
            }
            if (kerning && previous && index) {
                FT_Vector delta{0, 0};
                if (FT_Get_Kerning(font->face, previous, index, FT_KERNING_UNSCALED, &delta) == 0) pen += delta.x;
            }
            const FontGlyph& glyph = glyphOf(*font, index);
            if (shapes && index != 0 && !glyph.contours.empty()) {
                GlyphShape shape;
                auto place = [&](FontPoint p) {
                    return AIRealPoint{static_cast<AIReal>(ox + runStart + (pen + p.x) * scale),
                                       static_cast<AIReal>(baseline + p.y * scale)};
                };
                for (const auto& contour : glyph.contours) {
                    std::vector<AIPathSegment> segments;
                    segments.reserve(contour.size());
                    for (const FontSegment& s : contour) {
                        AIPathSegment seg{place(s.p), place(s.in), place(s.out), 0};
                        seg.corner = isCorner(seg);
                        segments.push_back(seg);
                    }
                    shape.contours.push_back(std::move(segments));
                }
                shapes->glyphs.push_back(std::move(shape));
            }
            pen += glyph.advance;
            previous = index;
        }
        widest = std::max(widest, runStart + pen * scale);
        if (line == 0) top = ascent;
        bottom = descent;
    }
    double lastBaseline = oy - double(lines.empty() ? 0 : lines.size() - 1) * 1.2 * size;
    bounds = AIRealRect{static_cast<AIReal>(ox), static_cast<AIReal>(oy + top), static_cast<AIReal>(ox + widest),
                        static_cast<AIReal>(lastBaseline + bottom)};
    return true;
}

}  // namespace

std::vector<std::string> textLines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

bool layoutText(const ArtNode& frame, TextLayout& result, std::string& error)
{
    result = TextLayout{};
    if (!layout(frame, &result, result.bounds, result.missing)) {
        error = "no font could be loaded for \"" + frame.textFrame->fontFamily + "\", not even DejaVu Sans";
        return false;
    }
    if (result.missing != 0) {
        // A glyph of nothing would be outlined as the font's empty box and cut.
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", unsigned(result.missing));
        std::string character;
        appendUtf8(character, result.missing);
        error = (frame.name.empty() ? std::string("a text") : "the text \"" + frame.name + "\"") + " holds " + code +
                " \"" + character + "\", which none of its fonts has (" +
                (frame.textFrame->fontFamily.empty() ? std::string() : "\"" + frame.textFrame->fontFamily + "\", ") + kHostFontNames + ")";
        result.glyphs.clear();
        return false;
    }
    return true;
}

bool layoutBounds(const ArtNode& frame, AIRealRect& bounds)
{
    char32_t missing = 0;
    return layout(frame, nullptr, bounds, missing);
}

std::string fontFileFor(const std::string& family) { return Fonts::get().resolve(family).first; }

}  // namespace vt::host
