// The toolkit's fonts: English texts are drawn and measured exactly as DejaVu
// Sans Condensed alone draws them; Han, kana and Hangul come from the fallback font; a
// byte that is not UTF-8 shows as U+FFFD; lines wrap between Han and kana.
#include "DejaVuReference.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/TextLayout.h"
#include "ToolkitFixture.h"

using namespace vt;
using host::toolkit::Item;
using host::toolkit::Raster;

namespace {

const char* g_text = nullptr;

// Draws g_text black on white at (2, 11), as a plug-in's draw procedure would.
ASErr drawTheText(ADMItemRef, ADMDrawerRef drawer)
{
    auto& Dr = host::suiteTable<ADMDrawerSuite>();
    ADMRect all;
    Dr.GetBoundsRect(drawer, &all);
    Dr.SetColor(drawer, kADMWhiteColor);
    Dr.FillRect(drawer, &all);
    Dr.SetColor(drawer, kADMBlackColor);
    ADMPoint at{2, 11};
    Dr.DrawText(drawer, g_text, &at);
    return kNoErr;
}

class ToolkitFonts : public test::ToolkitTest {
protected:
    // The picture of a text drawn by the toolkit in a 300 x 16 item.
    const Raster& drawn(const char* text)
    {
        g_text = text;
        if (!item_) {
            item_ = make(floating(), 1, kADMFrameType, 0, 0, 300, 16);
            I().SetDrawProc(item_, drawTheText);
        }
        I().Invalidate(item_);
        I().Update(item_);
        return reinterpret_cast<Item*>(item_)->raster;
    }
    static ASInt32 g_width;
    static ASErr measure(ADMItemRef, ADMDrawerRef drawer)
    {
        g_width = host::suiteTable<ADMDrawerSuite>().GetTextWidth(drawer, g_text);
        return kNoErr;
    }
    ASInt32 widthOf(const char* text)
    {
        g_text = text;
        ADMItemRef m = make(floating("Measure"), 1, kADMFrameType, 0, 0, 10, 10);
        I().SetDrawProc(m, measure);
        I().Invalidate(m);
        I().Update(m);
        return g_width;
    }
    ADMItemRef item_ = nullptr;
};
ASInt32 ToolkitFonts::g_width = 0;

TEST_F(ToolkitFonts, EnglishTextsAreDrawnAndMeasuredExactlyAsDejaVuSansCondensedAloneDrawsThem)
{
    const char* texts[] = {"Plot Out", "Cut length: 1234.56mm", "Send to the cutter (USB)", "PU6359,799;",
                           "Korvel plotter tools by Ulmaren & Brannock.", "\xC2\xB5m \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x80\xA6"};
    for (const char* text : texts) {
        Raster expected;
        test::drawWithDejaVuAlone(expected, 300, 16, kADMWhiteColor, kADMBlackColor, text, 2, 11);
        ASSERT_GT(test::inkIn(expected, 0, 0, 300, 16), 20) << text;
        EXPECT_EQ(test::differingPixels(drawn(text), expected), 0) << text;
        EXPECT_EQ(widthOf(text), static_cast<int>(test::dejaVuAloneAdvance(text) + 0.5)) << text;
    }
}

TEST_F(ToolkitFonts, HanKanaAndHangulComeFromTheFallbackFont)
{
    const char* texts[] = {"プロッタ設定", "刻绘机设置", "繪圖機設定", "플로터 설정", "USB でカッティングマシンへ"};
    for (const char* text : texts) {
        Raster boxes;
        test::drawWithDejaVuAlone(boxes, 300, 16, kADMWhiteColor, kADMBlackColor, text, 2, 11);
        const Raster& got = drawn(text);
        EXPECT_GT(test::inkIn(got, 0, 0, 300, 16), 40) << text;
        EXPECT_GT(test::differingPixels(got, boxes), 40) << text << ": drawn as the first font alone draws it";
        EXPECT_NE(widthOf(text), static_cast<int>(test::dejaVuAloneAdvance(text) + 0.5)) << text;
    }
    // Latin letters inside a Japanese text stay in the first font: the start of
    // "USB でカッ..." matches "USB" drawn alone.
    Raster usb;
    test::drawWithDejaVuAlone(usb, 300, 16, kADMWhiteColor, kADMBlackColor, "USB", 2, 11);
    const Raster& mixed = drawn("USB でカッティングマシンへ");
    int usbWidth = widthOf("USB");
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 2 + usbWidth; ++x) ASSERT_EQ(mixed.pixel(x, y), usb.pixel(x, y)) << x << "," << y;
}

// Every pixel of a picture, to compare two pictures drawn one after the other
// into the same item.
std::vector<long> pixels(const Raster& r)
{
    std::vector<long> all;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) all.push_back(r.pixel(x, y));
    return all;
}

TEST_F(ToolkitFonts, AByteThatIsNotUtf8DrawsAsTheReplacementCharacter)
{
    std::vector<long> expected = pixels(drawn("Caf\xEF\xBF\xBD 24"));
    const Raster& bad = drawn("Caf\xE9 24");  // Latin-1, from an older plotter library
    EXPECT_EQ(pixels(bad), expected);
    EXPECT_GT(test::inkIn(bad, 2 + widthOf("Caf\xEF\xBF\xBD "), 0, 300, 16), 10) << "the text after the bad byte is drawn";
    EXPECT_EQ(widthOf("Caf\xE9 24"), widthOf("Caf\xEF\xBF\xBD 24"));
}

TEST(Fonts, EveryCharacterButPrivateOnesHasAGlyph)
{
    using host::toolkit::firstMissingGlyph;
    EXPECT_EQ(firstMissingGlyph("Plot Out\n\tX: "), 0u) << "line breaks and tabs are not drawn";
    EXPECT_EQ(firstMissingGlyph("プロッタ設定 刻绘机 繪圖機 플로터 \xEF\xBF\xBD"), 0u);
    EXPECT_EQ(firstMissingGlyph("ab\xEE\x80\x80z"), 0xE000u);  // a private-use character
    EXPECT_EQ(firstMissingGlyph("ab\xFF"), 0u) << "a bad byte is drawn as U+FFFD, which the fonts hold";
}

TEST(Fonts, LinesBreakBetweenHanAndKanaButNotBeforeClosingMarks)
{
    using host::toolkit::lineBreakPieces;
    using Pieces = std::vector<std::string>;
    struct Row {
        const char* what;
        const char* word;
        Pieces pieces;
    } rows[] = {
        {"an English word stays whole", "cutter.", {"cutter."}},
        {"Han characters each", "刻绘机", {"刻", "绘", "机"}},
        {"small kana and the long-vowel mark stay with what comes before", "カッター", {"カッ", "ター"}},
        {"closing marks stay with what comes before", "ます。", {"ま", "す。"}},
        {"opening brackets stay with what follows", "「読み込み」", {"「読", "み", "込", "み」"}},
        {"Latin letters beside kana break from them", "USBで", {"USB", "で"}},
        {"full-width colons stay with their label", "名称：值", {"名", "称：", "值"}},
        {"Hangul words break only at spaces", "플로터를", {"플로터를"}},
        {"an ideographic space parts Latin words too", "HPGL\u3000DMPL", {"HPGL", "\u3000", "DMPL"}},
    };
    for (const auto& row : rows) EXPECT_EQ(lineBreakPieces(row.word), row.pieces) << row.what;
}

TEST_F(ToolkitFonts, AStaticTextWrapsAJapaneseSentenceWithoutSpaces)
{
    ADMDialogRef d = floating();
    ADMItemRef item = make(d, 3, kADMTextStaticType, 0, 0, 120, 40);
    I().SetText(item, "使用するプロッタをチェックしてください。");
    I().Update(item);
    const Raster& r = reinterpret_cast<Item*>(item)->raster;
    EXPECT_GT(test::inkIn(r, 0, 0, 120, 13), 40) << "the first line";
    EXPECT_GT(test::inkIn(r, 0, 13, 120, 26), 40) << "the sentence goes on on a second line";
    // The lines are the sentence cut where it may break, nothing put between
    // its pieces; words keep one blank between them on a line.
    struct Row {
        const char* text;
        const char* between;  // what joins the lines back into the text
    } rows[] = {
        {"使用するプロッタをチェックしてください。", ""},
        {"Check the plotter you cut with, then press OK.", " "},
    };
    for (const Row& row : rows) {
        std::string joined;
        auto lines = host::toolkit::setInBox(row.text, ADMRect{0, 0, 40, 120}, kADMLeftJustify);
        for (const auto& line : lines) joined += (joined.empty() ? "" : row.between) + line.text;
        EXPECT_GT(lines.size(), 1u) << row.text;
        EXPECT_EQ(joined, row.text);
    }
}

}  // namespace
