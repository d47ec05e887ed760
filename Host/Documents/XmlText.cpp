#include "Documents/XmlText.h"

#include <cstring>

namespace vt::host {
namespace {

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

size_t lessThanInAttributeValue(const char* text, size_t size)
{
    size_t i = 0;
    while (i < size) {
        if (text[i] != '<') {
            ++i;  // character data: a '<' always starts markup there
            continue;
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
                size_t close = i + 1;
                while (close < size && text[close] != c) {
                    if (text[close] == '<') return close;
                    ++close;
                }
                i = close;
            }
            if (i < size && text[i] == '>') ++i;  // a '<' starts the next markup
        }
    }
    return std::string::npos;
}

}  // namespace vt::host
