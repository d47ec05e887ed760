#include "Toolkit/Fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "FontFiles.h"
#include "Utf8.h"

namespace vt::host::toolkit {
namespace {

struct LoadedFont {
    FT_Face ft = nullptr;
    cairo_font_face_t* face = nullptr;
};

FT_Library freeType()
{
    static FT_Library library = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return library;
}

LoadedFont load(const std::string& file)
{
    LoadedFont font;
    FT_Library library = freeType();
    if (!library || file.empty()) return font;
    if (FT_New_Face(library, file.c_str(), 0, &font.ft) == 0) {
        font.face = cairo_ft_font_face_create_for_ft_face(font.ft, 0);
        return font;
    }
    font.ft = nullptr;
    return font;
}

// Both fonts are kept for the life of the process.
const LoadedFont& primary()
{
    static LoadedFont font = load(dejaVuSansCondensedFile());
    return font;
}

const LoadedFont& fallback()
{
    static LoadedFont font = load(fallbackFontFile());
    return font;
}

bool has(const LoadedFont& font, char32_t cp) { return font.ft && FT_Get_Char_Index(font.ft, cp) != 0; }

bool isControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

// Characters between which a line may break: Han ideographs, kana, and the
// ideographic punctuation and full-width forms that go with them.
bool breaksAround(char32_t cp)
{
    return (cp >= 0x2E80 && cp <= 0x2FDF)      // radicals
           || (cp >= 0x3000 && cp <= 0x30FF)   // ideographic punctuation, hiragana, katakana
           || (cp >= 0x31F0 && cp <= 0x31FF)   // katakana extensions
           || (cp >= 0x3400 && cp <= 0x4DBF)   // Han extension A
           || (cp >= 0x4E00 && cp <= 0x9FFF)   // Han
           || (cp >= 0xF900 && cp <= 0xFAFF)   // Han compatibility
           || (cp >= 0xFF00 && cp <= 0xFFEF)   // full-width forms
           || (cp >= 0x20000 && cp <= 0x3FFFF);  // Han extensions B and later
}

// A line never starts with these (closing marks, small kana, iteration and
// long-vowel marks)...
bool noBreakBefore(char32_t cp)
{
    static const std::u32string marks =
        U"、。，．：；？！）」』】〕〉》〙〗｝］”’ー・ゝゞヽヾ々〻ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ"
        U"ㇰㇱㇲㇳㇴㇵㇶㇷㇸㇹㇺㇻㇼㇽㇾㇿ…‥)]},.:;!?%";
    return marks.find(cp) != std::u32string::npos;
}

// ... and never ends with these (opening marks).
bool noBreakAfter(char32_t cp)
{
    static const std::u32string marks = U"（「『【〔〈《〘〖｛［“‘([{";
    return marks.find(cp) != std::u32string::npos;
}

}  // namespace

cairo_font_face_t* primaryFontFace() { return primary().face; }

std::vector<FontRun> fontRuns(const std::string& text)
{
    std::vector<FontRun> runs;
    cairo_font_face_t* first = primary().face;
    std::string valid = validUtf8(text);
    // The common case, and every English text: one run in the first font.
    bool single = true;
    std::u32string codePoints = decodeUtf8(valid);
    for (char32_t cp : codePoints)
        if (!has(primary(), cp) && has(fallback(), cp)) {
            single = false;
            break;
        }
    if (single) {
        if (!valid.empty()) runs.push_back(FontRun{first, std::move(valid)});
        return runs;
    }
    for (char32_t cp : codePoints) {
        cairo_font_face_t* face = !has(primary(), cp) && has(fallback(), cp) ? fallback().face : first;
        if (runs.empty() || runs.back().face != face) runs.push_back(FontRun{face, {}});
        appendUtf8(runs.back().text, cp);
    }
    return runs;
}

static void selectFace(cairo_t* cr, cairo_font_face_t* face, double size)
{
    if (face)
        cairo_set_font_face(cr, face);
    else
        cairo_select_font_face(cr, "DejaVu Sans Condensed", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

void showRuns(cairo_t* cr, const std::vector<FontRun>& runs, double size, bool asPath)
{
    for (const FontRun& run : runs) {
        selectFace(cr, run.face, size);
        if (asPath)
            cairo_text_path(cr, run.text.c_str());
        else
            cairo_show_text(cr, run.text.c_str());
    }
}

TextExtent measureText(const std::string& text, double size)
{
    // A context set up as an item's drawing is (Toolkit::draw), so that the
    // fonts' metrics come out as they do there.
    static cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    static cairo_t* cr = [] {
        cairo_t* c = cairo_create(scratch);
        cairo_set_antialias(c, CAIRO_ANTIALIAS_NONE);
        return c;
    }();
    TextExtent extent;
    for (const FontRun& run : fontRuns(text)) {
        selectFace(cr, run.face, size);
        cairo_text_extents_t e;
        cairo_text_extents(cr, run.text.c_str(), &e);
        if (e.width > 0 && e.height > 0) {
            double left = extent.advance + e.x_bearing, top = e.y_bearing;
            double right = left + e.width, bottom = top + e.height;
            if (!extent.inked) {
                extent.inkLeft = left, extent.inkTop = top, extent.inkRight = right, extent.inkBottom = bottom;
            } else {
                extent.inkLeft = std::min(extent.inkLeft, left), extent.inkTop = std::min(extent.inkTop, top);
                extent.inkRight = std::max(extent.inkRight, right), extent.inkBottom = std::max(extent.inkBottom, bottom);
            }
            extent.inked = true;
        }
        extent.advance += e.x_advance;
    }
    return extent;
}

bool fontsHaveGlyph(char32_t cp) { return has(primary(), cp) || has(fallback(), cp); }

char32_t firstMissingGlyph(const std::string& text)
{
    for (char32_t cp : decodeUtf8(text))
        if (!isControl(cp) && !fontsHaveGlyph(cp)) return cp;
    return 0;
}

std::vector<std::string> lineBreakPieces(const std::string& word)
{
    std::vector<std::string> pieces;
    std::u32string cps = decodeUtf8(validUtf8(word));
    std::string piece;
    for (size_t i = 0; i < cps.size(); ++i) {
        if (i > 0) {
            char32_t before = cps[i - 1], after = cps[i];
            bool opportunity = (breaksAround(before) || breaksAround(after)) && !noBreakBefore(after) &&
                               !noBreakAfter(before);
            if (opportunity) pieces.push_back(std::move(piece)), piece.clear();
        }
        appendUtf8(piece, cps[i]);
    }
    if (!piece.empty() || pieces.empty()) pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace vt::host::toolkit
