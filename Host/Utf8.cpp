#include "Utf8.h"

namespace vt::host {
namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the sequence a lead byte begins, 0 for a byte that begins
// none (continuation bytes, C0, C1 and F5 to FF never start a character).
size_t sequenceLength(unsigned char c)
{
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) return 3;
    if (c >= 0xF0 && c <= 0xF4) return 4;
    return 0;
}

// Decodes the well-formed sequence at text[i], or returns false.
bool decodeAt(const std::string& text, size_t i, char32_t& codePoint, size_t& length)
{
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    length = sequenceLength(lead);
    if (length == 0 || i + length > text.size()) return false;
    if (length == 1) {
        codePoint = lead;
        return true;
    }
    char32_t cp = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if (!isContinuation(byte(i + k))) return false;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    codePoint = cp;
    return true;
}

}  // namespace

std::u32string decodeUtf8(const std::string& text)
{
    std::u32string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        size_t length;
        if (decodeAt(text, i, cp, length)) {
            out.push_back(cp);
            i += length;
        } else {
            out.push_back(kReplacementCharacter);
            ++i;
        }
    }
    return out;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacementCharacter;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string validUtf8(const std::string& text)
{
    // Most texts are well-formed: hand them back untouched.
    size_t i = 0;
    while (i < text.size()) {
        char32_t cp;
        size_t length;
        if (!decodeAt(text, i, cp, length)) break;
        i += length;
    }
    if (i == text.size()) return text;
    std::string out = text.substr(0, i);
    for (char32_t cp : decodeUtf8(text.substr(i))) appendUtf8(out, cp);
    return out;
}

size_t utf8CutLength(const std::string& text, size_t maxBytes)
{
    if (text.size() <= maxBytes) return text.size();
    size_t n = maxBytes;
    // A cut inside a character moves back to the start of that character.
    // Only a lead byte whose sequence runs past the cut moves it: bytes that
    // are not UTF-8 at all are kept, one for one.
    for (size_t back = 1; back <= 3 && back <= n; ++back) {
        unsigned char c = static_cast<unsigned char>(text[n - back]);
        if (isContinuation(c)) continue;
        char32_t cp;
        size_t length;
        if (sequenceLength(c) > back && decodeAt(text, n - back, cp, length)) n -= back;
        break;
    }
    return n;
}

bool startsWithByteOrderMark(const std::string& text) { return text.rfind("\xEF\xBB\xBF", 0) == 0; }

}  // namespace vt::host
