// Command texts built without printf against printf itself: the same bytes
// for every number a job can hold, ties and edges included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "PlotOut/CommandText.h"

namespace {

std::string fixed6(double v)
{
    CommandText c;
    CommandTextStart(&c);
    CommandTextPutFixed6(&c, v);
    EXPECT_FALSE(c.overflow);
    return std::string(c.text, c.length);
}

std::string printfFixed6(double v)
{
    char text[512];
    std::snprintf(text, sizeof text, "%f", v);
    return text;
}

TEST(CommandText, RealsAsPrintfWritesThem)
{
    struct Row {
        const char* what;
        double value;
    } rows[] = {
        {"zero", 0.0},
        {"negative zero", -0.0},
        {"a small negative rounding to zero", -1e-9},
        {"half a millionth below, a tie", 0.5e-6},
        {"a tie rounding down to even", 0.0078125},    // 7812.5 millionths
        {"a tie rounding up to even", 0.0234375},      // 23437.5 millionths
        {"a negative tie", -0.0078125},
        {"a quarter turn in degrees", 90.0},
        {"a sweep", -269.99999949999998},
        {"just under a carry", 9.9999995},
        {"a carry into the integer", 0.9999999},
        {"the smallest subnormal", 4.9406564584124654e-324},
        {"the largest exact integer", 9007199254740991.0},
        {"beyond exact integers", -1.5e20},
        {"infinity", std::numeric_limits<double>::infinity()},
        {"minus infinity", -std::numeric_limits<double>::infinity()},
        {"not a number", std::nan("")},
    };
    for (const Row& row : rows) EXPECT_EQ(fixed6(row.value), printfFixed6(row.value)) << row.what;
}

TEST(CommandText, RandomRealsAsPrintfWritesThem)
{
    std::mt19937_64 random(29);
    std::uniform_real_distribution<double> degrees(-720.0, 720.0);
    for (int i = 0; i < 200000; ++i) {
        double v = degrees(random);
        ASSERT_EQ(fixed6(v), printfFixed6(v)) << v;
    }
    // Any bit pattern of a finite double of at most 2^60, ties of k / 2^n among them.
    for (int i = 0; i < 200000; ++i) {
        uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v) || std::fabs(v) > 1e18) continue;
        ASSERT_EQ(fixed6(v), printfFixed6(v)) << v;
        double tie = std::ldexp(static_cast<double>(bits % 4096), -static_cast<int>(bits % 13));
        ASSERT_EQ(fixed6(tie), printfFixed6(tie)) << tie;
    }
}

TEST(CommandText, IntegersAndTextAsPrintfWritesThem)
{
    for (long v : {0L, 7L, -7L, 1234567L, -2147483648L, 2147483647L, std::numeric_limits<long>::min(),
                   std::numeric_limits<long>::max()}) {
        CommandText c;
        CommandTextStart(&c);
        CommandTextPut(&c, "PU");
        CommandTextPutLong(&c, v);
        CommandTextPutChar(&c, ';');
        char expected[64];
        std::snprintf(expected, sizeof expected, "PU%ld;", v);
        EXPECT_STREQ(c.text, expected);
        EXPECT_EQ(c.length, std::strlen(expected));
    }
}

TEST(CommandText, WhatDoesNotFitTheBufferIsDroppedAndFlagged)
{
    const std::string longer(kCommandTextSize + 10, 'x');
    struct Row {
        const char* what;
        void (*put)(CommandText*, const std::string&);
    } rows[] = {
        {"a text", [](CommandText* c, const std::string& text) { CommandTextPut(c, text.c_str()); }},
        {"the largest number, 309 digits before the point",
         [](CommandText* c, const std::string&) { CommandTextPutFixed6(c, std::numeric_limits<double>::max()); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        CommandText c;
        CommandTextStart(&c);
        CommandTextPut(&c, "PD");
        row.put(&c, longer);
        EXPECT_TRUE(c.overflow);
        EXPECT_EQ(c.length, 2u);
        EXPECT_STREQ(c.text, "PD");
    }
}

}  // namespace
