// The transform attribute.
#include "Documents/SvgTransform.h"

#include <cctype>
#include <cstring>
#include <string>

#include "Documents/SvgNumbers.h"

namespace vt::host::svg {

Matrix parseTransform(const char* text, size_t& bad)
{
    Matrix m;
    const char* p = text;
    bad = std::string::npos;
    while (*p) {
        while (*p == ' ' || *p == ',' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
        if (!*p) break;
        const char* nameStart = p;
        while (std::isalpha(static_cast<unsigned char>(*p))) ++p;
        Text name(nameStart, p - nameStart);
        while (*p == ' ') ++p;
        if (*p != '(' || name.empty()) {
            bad = nameStart - text;
            return m;
        }
        ++p;
        const char* close = std::strchr(p, ')');
        if (!close) {
            bad = nameStart - text;
            return m;
        }
        // The numbers end at the closing parenthesis; anything else before it is a fault.
        Scanner s(p);
        double v[6];
        size_t count = 0;
        double x;
        bool tooMany = false;
        while (s.rest() < close && s.number(x)) {
            if (count == 6) {
                tooMany = true;
                break;
            }
            v[count++] = x;
        }
        s.skipSeparators();
        if (tooMany || s.rest() != close) {
            bad = nameStart - text;
            return m;
        }
        Matrix t;
        const double rad = M_PI / 180.0;
        if (name == "matrix" && count == 6) {
            t = Matrix{v[0], v[1], v[2], v[3], v[4], v[5]};
        } else if (name == "translate" && (count == 1 || count == 2)) {
            t.e = v[0];
            t.f = count == 2 ? v[1] : 0;
        } else if (name == "scale" && (count == 1 || count == 2)) {
            t.a = v[0];
            t.d = count == 2 ? v[1] : v[0];
        } else if (name == "rotate" && (count == 1 || count == 3)) {
            double c = std::cos(v[0] * rad), sn = std::sin(v[0] * rad);
            Matrix r{c, sn, -sn, c, 0, 0};
            if (count == 3) {
                Matrix to{1, 0, 0, 1, v[1], v[2]}, back{1, 0, 0, 1, -v[1], -v[2]};
                t = to * r * back;
            } else {
                t = r;
            }
        } else if (name == "skewX" && count == 1) {
            t.c = std::tan(v[0] * rad);
        } else if (name == "skewY" && count == 1) {
            t.b = std::tan(v[0] * rad);
        } else {
            bad = nameStart - text;
            return m;
        }
        m = m * t;
        p = close + 1;
    }
    return m;
}

}  // namespace vt::host::svg
