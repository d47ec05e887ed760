// The host's own fonts, read straight from their files so that a text looks,
// and is cut, the same on every machine: DejaVu Sans (Debian's
// fonts-dejavu-core) for every character it has, and WenQuanYi Micro Hei
// (fonts-wqy-microhei: Han, kana and every Hangul syllable) for the ones it
// lacks. The text layout falls back on them, in that order, for a character
// the text's own font lacks. The dialog toolkit draws with DejaVu Sans
// Condensed (fonts-dejavu-extra) and the same fallback.
#pragma once

#include <string>

namespace vt::host {

// The file of each, empty when it is not installed. Both are faces 0 of their
// files (the proportional face of the WenQuanYi collection).
const std::string& dejaVuSansFile();
const std::string& dejaVuSansCondensedFile();
const std::string& fallbackFontFile();

// How messages name the fonts a character is looked for in after the text's own.
constexpr const char* kHostFontNames = "DejaVu Sans, WenQuanYi Micro Hei";

}  // namespace vt::host
