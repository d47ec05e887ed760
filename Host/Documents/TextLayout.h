// How the host sets the text of a text frame: glyphs from FreeType in the
// frame's font family (found through fontconfig; DejaVu Sans when the family
// is not installed) or the host's own fonts for the characters that family
// lacks, the fonts' advances and kerning, lines ending in CR and
// set 1.2 x the size apart. Bounds, outlines and the expand action all use
// this one layout, so what is drawn is what is outlined and cut.
#pragma once

#include <string>
#include <vector>

#include "Documents/Document.h"

namespace vt::host {

// One character's outline: closed contours in document points, in the font's
// order and direction (outer and inner contours turn opposite ways).
struct GlyphShape {
    std::vector<std::vector<AIPathSegment>> contours;
};

struct TextLayout {
    std::vector<GlyphShape> glyphs;  // one per character that draws, in text order
    // From the origin to the end of the widest line, from the first line's
    // ascender to the last line's descender (of every font a line uses).
    AIRealRect bounds{0, 0, 0, 0};
    char32_t missing = 0;  // the first character no font has, or 0
};

// Sets the frame's text: each character in the frame's font, or where that
// lacks it, in the first of the host's own fonts (FontFiles.h) that has it;
// control characters take no room and draw nothing. False with error set when
// no font can be loaded, or when a character is in none of the fonts (then
// no glyph at all is given: outlining a text in part, with boxes for what is
// missing, would cut something other than the text).
bool layoutText(const ArtNode& frame, TextLayout& layout, std::string& error);
// The bounds of that layout, without the outlines.
bool layoutBounds(const ArtNode& frame, AIRealRect& bounds);

// The font file a family resolves to (for reports and tests).
std::string fontFileFor(const std::string& family);

// The lines of a text: CR, LF and CR LF each end a line.
std::vector<std::string> textLines(const std::string& text);

}  // namespace vt::host
