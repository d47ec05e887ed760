// Reading the numbers drawings are made of, fast and exact.
#pragma once

#include <cstdint>

namespace vt::host {

// The digits of a plain decimal, gathered one by one as a scanner meets them.
// A number of at most 15 significant digits and 15 decimals is an integer a
// double holds exactly divided by an exact power of ten, and that one division
// rounds correctly: the same double std::from_chars gives. Longer numbers (and
// any with an exponent) are left to from_chars.
struct ShortDecimal {
    uint64_t digits = 0;
    int count = 0;     // significant digits
    int decimals = 0;  // digits after the point
    bool tooLong = false;

    void add(char digit, bool afterPoint)
    {
        if (afterPoint) ++decimals;
        if (count == 0 && digit == '0') return;  // leading zeros are no digits
        if (++count > 15) {
            tooLong = true;
            return;
        }
        digits = digits * 10 + static_cast<uint64_t>(digit - '0');
    }

    // False when the number is too long for the short way.
    bool value(bool negative, double& out) const
    {
        static const double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        if (tooLong || decimals > 15) return false;
        double v = static_cast<double>(digits) / kTens[decimals];
        out = negative ? -v : v;
        return true;
    }
};

// Reads all of [p, end) when it is a short plain decimal: an optional sign,
// digits and at most one point. False (value untouched) for anything else.
inline bool readShortDecimal(const char* p, const char* end, double& value)
{
    bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    ShortDecimal number;
    bool point = false, any = false;
    for (; p < end; ++p) {
        if (*p == '.' && !point) {
            point = true;
            continue;
        }
        if (*p < '0' || *p > '9') return false;
        any = true;
        number.add(*p, point);
    }
    return any && number.value(negative, value);
}

}  // namespace vt::host
