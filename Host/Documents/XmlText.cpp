#include "Documents/XmlText.h"

#include <cstring>

namespace vt::host {
namespace {

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length of the character at p when it is well-formed UTF-8 that XML
// allows, else 0.
size_t xmlCharLength(const unsigned char* p, size_t left)
{
    unsigned char b = p[0];
    if (b < 0x80) return b >= 0x20 || b == '\t' || b == '\n' || b == '\r' ? 1 : 0;
    if (b >= 0xC2 && b <= 0xDF) return left >= 2 && continuation(p[1]) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3 || !continuation(p[1]) || !continuation(p[2])) return 0;
        if (b == 0xE0 && p[1] < 0xA0) return 0;  // overlong
        if (b == 0xED && p[1] > 0x9F) return 0;  // a surrogate
        if (b == 0xEF && p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)) return 0;  // U+FFFE, U+FFFF
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4 || !continuation(p[1]) || !continuation(p[2]) || !continuation(p[3])) return 0;
        if (b == 0xF0 && p[1] < 0x90) return 0;  // overlong
        if (b == 0xF4 && p[1] > 0x8F) return 0;  // beyond U+10FFFF
        return 4;
    }
    return 0;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Where the text after `from` holds `end`; size when it does not.
size_t after(const char* text, size_t size, size_t from, const char* end)
{
    size_t n = std::strlen(end);
    for (size_t i = from; i + n <= size; ++i)
        if (std::memcmp(text + i, end, n) == 0) return i + n;
    return size;
}

bool startsWith(const char* text, size_t size, size_t at, const char* what)
{
    size_t n = std::strlen(what);
    return at + n <= size && std::memcmp(text + at, what, n) == 0;
}

}  // namespace

bool xmlCanHold(const std::string& text)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0, n; i < text.size(); i += n)
        if ((n = xmlCharLength(p + i, text.size() - i)) == 0) return false;
    return true;
}

std::string percentEncodeForXml(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    std::string out;
    for (size_t i = 0; i < text.size();) {
        size_t n = xmlCharLength(p + i, text.size() - i);
        if (n == 0 || p[i] == '%') {
            out += '%';
            out += kHex[p[i] >> 4];
            out += kHex[p[i] & 15];
            ++i;
        } else {
            out.append(text, i, n);
            i += n;
        }
    }
    return out;
}

bool percentDecode(const std::string& text, std::string& bytes)
{
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            bytes += text[i];
            continue;
        }
        int high = i + 2 < text.size() ? hexValue(text[i + 1]) : -1;
        int low = high >= 0 ? hexValue(text[i + 2]) : -1;
        if (low < 0) return false;
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

size_t lessThanInAttributeValue(const char* text, size_t size)
{
    size_t i = 0;
    while (i < size) {
        if (text[i] != '<') {
            // Character data: a '<' always starts markup there.
            const char* open = static_cast<const char*>(std::memchr(text + i, '<', size - i));
            if (!open) break;
            i = size_t(open - text);
        }
        if (startsWith(text, size, i, "<!--")) {
            i = after(text, size, i + 4, "-->");
        } else if (startsWith(text, size, i, "<![CDATA[")) {
            i = after(text, size, i + 9, "]]>");
        } else if (startsWith(text, size, i, "<?")) {
            i = after(text, size, i + 2, "?>");
        } else if (startsWith(text, size, i, "<!")) {
            // A declaration: its internal subset in brackets holds
            // declarations, comments and quoted literals of its own.
            int depth = 0;
            for (i += 2; i < size; ++i) {
                char c = text[i];
                if (c == '"' || c == '\'') {
                    const char* close = static_cast<const char*>(std::memchr(text + i + 1, c, size - i - 1));
                    i = close ? size_t(close - text) : size;
                } else if (startsWith(text, size, i, "<!--")) {
                    i = after(text, size, i + 4, "-->") - 1;
                } else if (c == '[') {
                    ++depth;
                } else if (c == ']') {
                    --depth;
                } else if (c == '>' && depth <= 0) {
                    ++i;
                    break;
                }
            }
        } else {
            // A start or end tag: its attribute values are quoted.
            for (++i; i < size && text[i] != '>' && text[i] != '<'; ++i) {
                char c = text[i];
                if (c != '"' && c != '\'') continue;
                // A value runs to its closing quote (or the end of the text);
                // the first '<' inside it is the answer.
                const char* value = text + i + 1;
                const char* close = static_cast<const char*>(std::memchr(value, c, size - i - 1));
                size_t length = close ? size_t(close - value) : size - i - 1;
                if (const char* less = static_cast<const char*>(std::memchr(value, '<', length)))
                    return size_t(less - text);
                i += 1 + length;
            }
            if (i < size && text[i] == '>') ++i;  // a '<' starts the next markup
        }
    }
    return std::string::npos;
}

}  // namespace vt::host
