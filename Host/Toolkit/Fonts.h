// The toolkit's fonts, the host's own (FontFiles.h). DejaVu Sans draws every
// text it can, exactly as it always has; the characters it lacks (Han, kana,
// Hangul) are drawn with WenQuanYi Micro Hei. Both are loaded straight from
// their files, so a picture holds the same glyphs on every machine.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace vt::host::toolkit {

// A stretch of text drawn with one font.
struct FontRun {
    cairo_font_face_t* face = nullptr;  // null when not even DejaVu Sans could be loaded
    std::string text;                   // well-formed UTF-8
};

// DejaVu Sans, or null when its file cannot be loaded.
cairo_font_face_t* primaryFontFace();

// The text cut into runs of one font each. A character goes to the fallback
// font only when DejaVu Sans lacks it and the fallback holds it, so a text
// DejaVu Sans can draw is one run, the whole text. Bytes that are not UTF-8
// come back as U+FFFD.
std::vector<FontRun> fontRuns(const std::string& text);

// Shows (or, with asPath, adds as a path) the runs at the current point in
// the toolkit's font size; the current point ends after the last run.
void showRuns(cairo_t* cr, const std::vector<FontRun>& runs, double size, bool asPath = false);
// The advance of the runs, in pixels (not rounded).
double runsAdvance(cairo_t* cr, const std::vector<FontRun>& runs, double size);

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
