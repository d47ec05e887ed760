#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "Core/ValueReader.h"
#include "HostFixture.h"

namespace {

// A read-only stream over a text (binary-safe: embedded NULs are kept).
struct TextStream {
    explicit TextStream(const std::string& text) : data(text)
    {
        file = data.empty() ? fopen("/dev/null", "r") : fmemopen(&data[0], data.size(), "r");
    }
    ~TextStream() { fclose(file); }
    std::string rest()
    {
        std::string out;
        for (int c = getc(file); c != EOF; c = getc(file)) out += (char)c;
        return out;
    }
    std::string data;
    FILE* file;
};

struct StringCase {
    const char* name;
    const char* input;
    const char* value;
};

const StringCase kStringCases[] = {
    {"name_with_space", "PlotterName=Generic Cutter 24\n", "Generic Cutter 24"},
    {"key_is_not_compared", "Whatever=Generic Cutter 24\n", "Generic Cutter 24"},
    {"brace_and_empty_lines_skipped", "{\n\n}\n{\nPenName=Knife\n", "Knife"},
    {"percent_ends_value", "PenName=50%off\n", "50"},
    {"tab_ends_value", "PenName=Knife\tcomment\n", "Knife"},
    {"second_equals_kept", "Key=a=b\n", "a=b"},
    {"spaces_kept", "Key=  12  \n", "  12  "},
    {"empty_value", "Key=\n", ""},
    {"crlf_line_end", "Key=crlf\r\n", "crlf"},
    {"bare_cr_line_end", "Key=cr\rNext=x\r", "cr"},
    {"end_of_stream_without_line_end", "Key=last", "last"},
    {"line_without_equals", "no separator here\n", ""},
    {"end_of_stream", "\n{\n}\n", ""},
};

class GetStringExamples : public ::testing::TestWithParam<StringCase> {};

TEST_P(GetStringExamples, YieldsTheValueText)
{
    TextStream in(GetParam().input);
    char value[kValueTextSize];
    int n = getString(in.file, value);
    EXPECT_STREQ(GetParam().value, value);
    EXPECT_EQ((int)strlen(GetParam().value), n);
}

INSTANTIATE_TEST_SUITE_P(ValueReader, GetStringExamples, ::testing::ValuesIn(kStringCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ValueReader, CrLfAndBareCrReadLikeLf)
{
    TextStream in("A=1\r\nB=2\rC=3\n");
    int a = 0, b = 0, c = 0;
    getInt(in.file, &a);
    getInt(in.file, &b);
    getInt(in.file, &c);
    EXPECT_EQ(1, a);
    EXPECT_EQ(2, b);
    EXPECT_EQ(3, c);
}

TEST(ValueReader, NumbersLikeAtoiAndAtof)
{
    TextStream in("a=  12  \nb=\nc=\nd=3.25mm\ne=abc\nf=-7x\ng=99999999999\n");
    int i = -1;
    double d = -1;
    EXPECT_EQ(1, getInt(in.file, &i));
    EXPECT_EQ(12, i);
    getInt(in.file, &i);
    EXPECT_EQ(0, i);
    EXPECT_EQ(1, getDouble(in.file, &d));
    EXPECT_EQ(0.0, d);
    getDouble(in.file, &d);
    EXPECT_EQ(3.25, d);
    getInt(in.file, &i);
    EXPECT_EQ(0, i);
    getInt(in.file, &i);
    EXPECT_EQ(-7, i);
    getInt(in.file, &i);
    EXPECT_EQ(2147483647, i) << "beyond the int range is held to it";
}

// A number's text that is more, or less, than a number is said in the
// status: the value read as atoi and atof read it is not what the file meant.
TEST(ValueReader, StatusTellsAValueThatIsNoNumberAsAWhole)
{
    struct Row {
        const char* text;
        bool wholeInt;
        bool wholeDouble;
    } rows[] = {
        {"12", true, true},     {"  12  ", true, true},  {"-7", true, true},     {"", false, false},
        {"GPGL", false, false}, {"1.5", false, true},    {"-7x", false, false},  {"3.25mm", false, false},
        {"nan", false, true},   {"1e308", false, true},  {"12 13", false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        TextStream in(std::string("a=") + row.text + "\nb=" + row.text + "\n");
        int i = 0, intStatus = 0, doubleStatus = 0;
        double d = 0;
        getInt(in.file, &i, &intStatus);
        getDouble(in.file, &d, &doubleStatus);
        EXPECT_EQ(intStatus, row.wholeInt ? 0 : kValueNotNumber);
        EXPECT_EQ(doubleStatus, row.wholeDouble ? 0 : kValueNotNumber);
    }
}

TEST(ValueReader, StatusTellsEndOfStreamAndMissingKey)
{
    TextStream in("x\nK=v\n");
    char value[16];
    int status = 0;
    getString(in.file, value, sizeof(value), &status);
    EXPECT_EQ(kValueNoKey, status);
    status = 0;
    getString(in.file, value, sizeof(value), &status);
    EXPECT_EQ(0, status);
    getString(in.file, value, sizeof(value), &status);
    EXPECT_EQ(kValueMissing, status);
    EXPECT_STREQ("", value);
}

TEST(ValueReader, OverlongValueIsCutAndTheLineStillConsumed)
{
    std::string longLine = "Name=" + std::string(5000, 'x') + "\nNext=ok\n";
    TextStream in(longLine);
    char small[8];
    memset(small, '#', sizeof(small));
    int status = 0;
    EXPECT_EQ(7, getString(in.file, small, sizeof(small), &status));
    EXPECT_STREQ("xxxxxxx", small);
    EXPECT_EQ(kValueCut, status);
    char next[kValueTextSize];
    getString(in.file, next);
    EXPECT_STREQ("ok", next) << "the reading stays in step";
}

TEST(ValueReader, OverlongNumberTextStaysInStep)
{
    std::string text = "N=" + std::string(3000, '1') + "\nM=5\n";
    TextStream in(text);
    int n = 0, m = 0;
    getInt(in.file, &n);
    getInt(in.file, &m);
    EXPECT_EQ(5, m);
}

TEST(ValueReader, BinaryJunkNeverOverruns)
{
    std::string junk;
    for (int i = 0; i < 4096; i++) junk += (char)((i * 131 + 7) & 0xFF);
    TextStream in(junk);
    char value[4];
    for (int i = 0; i < 100; i++) {
        getString(in.file, value, sizeof(value));
        ASSERT_LT(strlen(value), sizeof(value));
    }
}

TEST(ValueReader, DoublesAreReadInTheCLocaleWhateverTheUserLocale)
{
    vt::test::DecimalCommaLocale german;
    TextStream in("PlotterStep=0.025000\n");
    double step = 0;
    getDouble(in.file, &step);
    EXPECT_EQ(0.025, step);
}

struct BracketCase {
    const char* name;
    const char* input;
    const char* text;
    int count;
    const char* rest;  // what the stream holds afterwards
};

const BracketCase kBracketCases[] = {
    {"empty_text_consumes_newline", "PlotterIniString=[]\nNext=1\n", "", 0, "Next=1\n"},
    {"text_over_two_lines", "PlotterIniString=[abc\ndefg]\nX", "abc\ndefg", 8, "X"},
    {"percent_and_tab_kept", "S=[a%b\tc]\n", "a%b\tc", 5, ""},
    {"ends_at_first_bracket", "S=[ab]cd\nNext=1\n", "ab", 2, "d\nNext=1\n"},
    {"key_skipped_whatever_it_says", "any text at all [IN;]\n", "IN;", 3, ""},
};

class GetINIStringExamples : public ::testing::TestWithParam<BracketCase> {};

TEST_P(GetINIStringExamples, YieldsTheBracketedText)
{
    TextStream in(GetParam().input);
    char value[kINIStringSize];
    EXPECT_EQ(GetParam().count, getINIString(in.file, value));
    EXPECT_STREQ(GetParam().text, value);
    EXPECT_EQ(GetParam().rest, in.rest());
}

INSTANTIATE_TEST_SUITE_P(ValueReader, GetINIStringExamples, ::testing::ValuesIn(kBracketCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A bracketed text can be passed over: read with no destination, it is
// consumed whole.
TEST(ValueReader, BracketedTextWithNoDestinationIsPassedOver)
{
    TextStream in("PlotterIniString=[IN;\nSP1;]\nNext=x\n");
    int status = 0;
    EXPECT_EQ(0, getINIString(in.file, nullptr, 16, &status));
    EXPECT_EQ(kValueCut, status);
    char value[16];
    getString(in.file, value, sizeof value);
    EXPECT_STREQ("x", value);
}

TEST(ValueReader, BracketedTextRestOfLineIsReadAsOwnLine)
{
    TextStream in("S=[ab]cd=ef\nNext=1\n");
    char text[kINIStringSize], value[kValueTextSize];
    getINIString(in.file, text);
    getString(in.file, value);
    EXPECT_STREQ("ef", value);
}

TEST(ValueReader, OverlongBracketedTextIsCutToItsField)
{
    std::string input = "S=[" + std::string(1000, 'z') + "]\nNext=ok\n";
    TextStream in(input);
    char text[kINIStringSize + 16];
    memset(text, '#', sizeof(text));
    int status = 0;
    EXPECT_EQ(254, getINIString(in.file, text, kINIStringSize, &status));
    EXPECT_EQ(kValueCut, status);
    EXPECT_EQ('#', text[kINIStringSize]) << "nothing written past the field";
    char value[kValueTextSize];
    getString(in.file, value);
    EXPECT_STREQ("ok", value);
}

TEST(ValueReader, UnclosedBracketIsReportedMissing)
{
    TextStream noOpen("S=no bracket\n");
    TextStream noClose("S=[never closed\n");
    char text[kINIStringSize];
    int status = 0;
    EXPECT_EQ(0, getINIString(noOpen.file, text, sizeof(text), &status));
    EXPECT_EQ(kValueMissing, status);
    status = 0;
    getINIString(noClose.file, text, sizeof(text), &status);
    EXPECT_EQ(kValueMissing, status);
    EXPECT_STREQ("never closed\n", text);
}

}  // namespace
