// UTF-8 as translators, users and older plotter libraries write it: bad bytes
// cost one character each, and a copy into a short buffer never ends inside a
// character.
#include <gtest/gtest.h>

#include "Utf8.h"

using namespace vt::host;

namespace {

TEST(Utf8, DecodingReplacesEachBadByteAndKeepsTheRest)
{
    struct Row {
        const char* what;
        std::string text;
        std::u32string codePoints;
    } rows[] = {
        {"ASCII", "Plot", U"Plot"},
        {"two, three and four bytes", "\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", U"\u00E9\u65E5\U0001F600"},
        {"a Latin-1 byte from an older library", "Caf\xE9 24", U"Caf\uFFFD 24"},
        {"a stray continuation byte", "a\x80z", U"a\uFFFDz"},
        {"a sequence cut off at the end", "\xE6\x97", U"\uFFFD\uFFFD"},
        {"a sequence cut off by ASCII", "\xE6\x97z", U"\uFFFD\uFFFDz"},
        {"an overlong slash", "\xC0\xAF", U"\uFFFD\uFFFD"},
        {"an overlong three-byte form", "\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},
        {"a surrogate", "\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"bytes that never begin a character", "\xF8\xFF", U"\uFFFD\uFFFD"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(decodeUtf8(row.text), row.codePoints) << row.what;
        std::string encoded;
        for (char32_t cp : row.codePoints) appendUtf8(encoded, cp);
        EXPECT_EQ(validUtf8(row.text), encoded) << row.what;
    }
}

TEST(Utf8, ACutMovesBackToTheStartOfTheCharacterThatDoesNotFit)
{
    const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC";  // two characters of three bytes
    struct Row {
        const char* what;
        std::string text;
        size_t maxBytes;
        size_t kept;
    } rows[] = {
        {"the text fits", japanese, 6, 6},
        {"a cut on a boundary", japanese, 3, 3},
        {"a cut after the lead byte", japanese, 4, 3},
        {"a cut after the first continuation byte", japanese, 5, 3},
        {"a cut inside the first character", japanese, 2, 0},
        {"a cut inside a four-byte character", "ab\xF0\x9F\x98\x80", 5, 2},
        {"ASCII is cut anywhere", "abcdef", 4, 4},
        {"bytes that are not UTF-8 are kept one for one", "ab\xE9\xE9\xE9\xE9", 4, 4},
        {"a lead byte without its continuation bytes is kept", "ab\xE6zz", 3, 3},
    };
    for (const auto& row : rows) EXPECT_EQ(utf8CutLength(row.text, row.maxBytes), row.kept) << row.what;
}

TEST(Utf8, TheByteOrderMarkIsRecognisedOnlyAtTheStart)
{
    EXPECT_TRUE(startsWithByteOrderMark("\xEF\xBB\xBF" "11\tAbout"));
    EXPECT_FALSE(startsWithByteOrderMark("11\tAbout\xEF\xBB\xBF"));
    EXPECT_FALSE(startsWithByteOrderMark("\xEF\xBB"));
}

}  // namespace
