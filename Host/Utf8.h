// UTF-8 as the host meets it: string lists and menu resources written by
// translators, item texts typed by users, plotter names from older libraries.
#pragma once

#include <cstddef>
#include <string>

namespace vt::host {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code points of a text. A byte that does not begin a well-formed
// sequence (a stray continuation byte, a cut-off, overlong or surrogate
// sequence, a byte of another encoding) becomes U+FFFD on its own, so one bad
// byte costs one character and the rest of the text survives.
std::u32string decodeUtf8(const std::string& text);
void appendUtf8(std::string& out, char32_t codePoint);
// The text with every bad byte replaced by the encoding of U+FFFD.
std::string validUtf8(const std::string& text);
// The number of bytes, at most maxBytes, that a copy of text may keep
// without cutting through a multi-byte character.
size_t utf8CutLength(const std::string& text, size_t maxBytes);
// The byte-order mark that some editors put at the start of a UTF-8 file.
bool startsWithByteOrderMark(const std::string& text);

}  // namespace vt::host
