// Short decimals read fast against std::from_chars: the same double, bit for
// bit, and everything else left to from_chars.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

#include "Documents/DecimalText.h"

using vt::host::readShortDecimal;

namespace {

double slow(const std::string& text)
{
    const char* s = text.c_str();
    if (*s == '+') ++s;
    double v = 0;
    auto r = std::from_chars(s, text.c_str() + text.size(), v);
    EXPECT_EQ(r.ptr, text.c_str() + text.size()) << text;
    return v;
}

void expectSame(const std::string& text)
{
    double fast = 12345;
    ASSERT_TRUE(readShortDecimal(text.data(), text.data() + text.size(), fast)) << text;
    double expected = slow(text);
    EXPECT_EQ(std::memcmp(&fast, &expected, sizeof fast), 0) << text << ": " << fast << " " << expected;
}

TEST(DecimalText, ShortDecimalsAsFromCharsReadsThem)
{
    for (const char* text : {"0", "-0", "+0", "0.0", "-0.000", "1.", ".5", "-.5", "007", "12.5000", "0.1", "0.3",
                             "123.4567", "-2046.875", "999999999999999", "0.000000000000001", "9.99999999999999",
                             "10000000000000.0", "4.35", "0.1234567890123"})
        expectSame(text);
    std::mt19937_64 random(29);
    for (int i = 0; i < 300000; ++i) {
        int digits = 1 + static_cast<int>(random() % 15);
        int decimals = static_cast<int>(random() % (digits + 1));
        std::string text = random() % 2 ? "-" : "";
        for (int d = 0; d < digits; ++d) {
            if (d == digits - decimals) text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        expectSame(text);
    }
}

TEST(DecimalText, AnythingElseIsLeftToTheLongWay)
{
    for (const char* text : {"", "-", ".", "1e5", "1E-3", "1234567890123456", "0.1234567890123456", "1.2.3",
                             "12px", "--1", "0x10", " 1"}) {
        double v = 77;
        EXPECT_FALSE(readShortDecimal(text, text + std::strlen(text), v)) << text;
        EXPECT_EQ(v, 77) << text;
    }
}

}  // namespace
