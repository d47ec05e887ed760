// Numbers and lengths as SVG writes them.
#include "Documents/SvgNumbers.h"

#include <cstring>

namespace vt::host::svg {

double toUserUnits(Text text, double fallback, double percentOf)
{
    // Values are short: a bounded copy gives the scanner its terminator.
    char buf[64];
    size_t n = std::min(text.size(), sizeof buf - 1);
    std::memcpy(buf, text.data(), n);
    buf[n] = 0;
    Scanner s(buf);
    double v;
    if (!s.number(v)) return fallback;
    char unitBuf[sizeof buf];
    size_t u = 0;
    for (const char* p = s.rest(); *p; ++p)
        if (*p != ' ') unitBuf[u++] = *p;
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
