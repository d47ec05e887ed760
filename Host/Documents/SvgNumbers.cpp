// Numbers and lengths as SVG writes them.
#include "Documents/SvgNumbers.h"

#include <cstring>
#include <string>

namespace vt::host::svg {

double toUserUnits(Text text, double fallback, double percentOf)
{
    // The scanner reads up to a terminator: values are short and take a
    // copy on the stack; a longer one (a number of many digits) is copied
    // whole, never cut, lest it be read as another number.
    char buf[64];
    std::string longer;
    const char* terminated = buf;
    if (text.size() < sizeof buf) {
        std::memcpy(buf, text.data(), text.size());
        buf[text.size()] = 0;
    } else {
        longer.assign(text);
        terminated = longer.c_str();
    }
    Scanner s(terminated);
    double v;
    if (!s.number(v)) return fallback;
    // The unit, blanks left out; one longer than any known unit is none of them.
    char unitBuf[8];
    size_t u = 0;
    for (const char* p = s.rest(); *p; ++p) {
        if (*p == ' ') continue;
        if (u == sizeof unitBuf) return v;
        unitBuf[u++] = *p;
    }
    Text unit(unitBuf, u);
    if (unit.empty() || unit == "px") return v;  // user units
    if (unit == "pt") return v * 96.0 / 72.0;
    if (unit == "mm") return v * 96.0 / 25.4;
    if (unit == "cm") return v * 96.0 / 2.54;
    if (unit == "in") return v * 96.0;
    if (unit == "pc") return v * 16.0;
    if (unit == "%") return v * percentOf / 100.0;
    return v;
}

Text trim(Text s)
{
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == Text::npos ? Text() : s.substr(a, b - a + 1);
}

std::string trim(const std::string& s) { return std::string(trim(Text(s))); }

}  // namespace vt::host::svg
