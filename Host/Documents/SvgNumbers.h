// Numbers and lengths as SVG writes them: the scanner every other part of the
// reader reads its numbers with, in the C locale whatever the user's is.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "Documents/DecimalText.h"

namespace vt::host::svg {

// Text of an attribute or style value, read where it lies in the parsed file.
using Text = std::string_view;

// Reads numbers and arc flags from a text that ends in a NUL, skipping the
// blanks and commas between them.
class Scanner {
public:
    explicit Scanner(const char* text) : p_(text) {}
    void skipSeparators()
    {
        while (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r' || *p_ == ',') ++p_;
    }
    bool atEnd()
    {
        skipSeparators();
        return *p_ == 0;
    }
    bool atNumber()
    {
        skipSeparators();
        return (*p_ >= '0' && *p_ <= '9') || *p_ == '-' || *p_ == '+' || *p_ == '.';
    }
    char peek()
    {
        skipSeparators();
        return *p_;
    }
    char take() { return *p_ ? *p_++ : 0; }
    bool number(double& value)
    {
        skipSeparators();
        const char* start = p_;
        const char* q = p_;
        bool negative = *q == '-';
        if (*q == '+' || *q == '-') ++q;
        // The digits are gathered as they are met: most numbers need no
        // second look.
        ShortDecimal exact;
        bool digits = false;
        while (*q >= '0' && *q <= '9') exact.add(*q++, false), digits = true;
        if (*q == '.') {
            ++q;
            while (*q >= '0' && *q <= '9') exact.add(*q++, true), digits = true;
        }
        if (!digits) return false;
        bool exponent = false;
        if (*q == 'e' || *q == 'E') {
            const char* r = q + 1;
            if (*r == '+' || *r == '-') ++r;
            if (*r >= '0' && *r <= '9') {
                while (*r >= '0' && *r <= '9') ++r;
                q = r;
                exponent = true;
            }
        }
        if (exponent || !exact.value(negative, value)) {
            // from_chars reads in the C locale whatever the user's locale is; it
            // takes no leading '+'.
            const char* s = *start == '+' ? start + 1 : start;
            auto result = std::from_chars(s, q, value);
            if (result.ec == std::errc::result_out_of_range) {
                // Too large becomes infinite, so that the checks of the reader
                // refuse it by name rather than take some other number; too
                // small is zero.
                const char* e = std::find_if(s, q, [](char c) { return c == 'e' || c == 'E'; });
                const char* m = *s == '-' ? s + 1 : s;
                bool tiny = e != q ? e + 1 < q && e[1] == '-'
                                   : std::all_of(m, std::find(m, q, '.'), [](char c) { return c == '0'; });
                value = tiny ? 0.0 : (negative ? -HUGE_VAL : HUGE_VAL);
            } else if (result.ec != std::errc()) {
                return false;
            }
        }
        p_ = q;
        return true;
    }

    bool flag(bool& value)
    {
        skipSeparators();
        if (*p_ != '0' && *p_ != '1') return false;
        value = *p_++ == '1';
        return true;
    }
    const char* rest() const { return p_; }

private:
    const char* p_;
};

// A length in user units (CSS pixels): px, pt, mm, cm, in, pc, or % of
// percentOf; fallback when the text holds no number.
double toUserUnits(Text text, double fallback, double percentOf = 0);

// The text without the blanks around it.
Text trim(Text s);
std::string trim(const std::string& s);

}  // namespace vt::host::svg
