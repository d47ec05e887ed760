// The toolkit's fonts, the host's own (FontFiles.h). DejaVu Sans Condensed
// draws every text it can: at 11 pixels it gives the dialogs' item sizes,
// made for a small system font, the room they were made with, and stays easy
// to read. The characters it lacks (Han, kana, Hangul) are drawn with
// WenQuanYi Micro Hei. Both are loaded straight from their files, so a
// picture holds the same glyphs on every machine.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace vt::host::toolkit {

// A stretch of text drawn with one font.
struct FontRun {
    cairo_font_face_t* face = nullptr;  // null when not even DejaVu Sans Condensed could be loaded
    std::string text;                   // well-formed UTF-8
};

// DejaVu Sans Condensed, or null when its file cannot be loaded.
cairo_font_face_t* primaryFontFace();

// The text cut into runs of one font each. A character goes to the fallback
// font only when DejaVu Sans Condensed lacks it and the fallback holds it, so
// a text the first font can draw is one run, the whole text. Bytes that are not UTF-8
// come back as U+FFFD.
std::vector<FontRun> fontRuns(const std::string& text);

// Shows (or, with asPath, adds as a path) the runs at the current point in
// the toolkit's font size; the current point ends after the last run.
void showRuns(cairo_t* cr, const std::vector<FontRun>& runs, double size, bool asPath = false);
// How a text sets in the toolkit's fonts: its advance, and the box its ink
// covers, from the start of its baseline (y grows downwards). Measured from
// the fonts alone, as an item's drawing sets them, so nothing need be drawn.
struct TextExtent {
    double advance = 0;
    bool inked = false;  // false for blanks only: the ink box is empty
    double inkLeft = 0, inkTop = 0, inkRight = 0, inkBottom = 0;
};
TextExtent measureText(const std::string& text, double size);

// Whether one of the toolkit's fonts has a glyph for the character.
bool fontsHaveGlyph(char32_t codePoint);
// The first character of a text that no font of the toolkit can draw, or 0.
// Line breaks, tabs and other control characters are not drawn and pass.
char32_t firstMissingGlyph(const std::string& text);

// Splits a word (a text without blanks) where a line may break although no
// space stands there: around Han and kana characters, but never before
// closing punctuation, small kana or the long-vowel mark, nor after opening
// brackets. A word without such characters comes back whole.
std::vector<std::string> lineBreakPieces(const std::string& word);

}  // namespace vt::host::toolkit
