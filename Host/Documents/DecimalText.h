// Reading the numbers drawings are made of, fast and exact.
#pragma once

#include <cstdint>

namespace vt::host {

// Reads [p, end) when it is a short plain decimal: an optional sign, digits
// and at most one point, at most 15 significant digits and 15 decimals. Such a
// number is an integer a double holds exactly divided by an exact power of
// ten, and that one division rounds correctly: the same double std::from_chars
// gives. False (value untouched) for anything else: an exponent, more digits,
// other characters; the caller then reads it the long way.
inline bool readShortDecimal(const char* p, const char* end, double& value)
{
    static const double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    uint64_t digits = 0;
    int count = 0, decimals = 0;
    bool point = false, any = false;
    for (; p < end; ++p) {
        if (*p == '.' && !point) {
            point = true;
            continue;
        }
        if (*p < '0' || *p > '9') return false;
        any = true;
        if (point) ++decimals;
        if (count == 0 && *p == '0') continue;  // leading zeros are no digits
        if (++count > 15) return false;
        digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (!any || decimals > 15) return false;
    double v = static_cast<double>(digits) / kTens[decimals];
    value = negative ? -v : v;
    return true;
}

}  // namespace vt::host
