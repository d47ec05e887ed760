// The host's text frames: the layout (FreeType glyphs, advances, kerning,
// lines 1.2 x the size apart), the text frame and text range suites, and
// frames of several lines in SVG.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <functional>

#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "Documents/TextLayout.h"
#include "DocumentFixture.h"
#include "FontFiles.h"
#include "GlyphReference.h"
#include "Host.h"
#include "Suites/SuiteTables.h"
#include "Utf8.h"

using namespace vt;
using host::ArtNode;

namespace {

using test::kids;


class TextFrames : public ::testing::Test {
protected:
    TextFrames()
    {
        host::HostOptions options;
        options.out = &out_;
        host_ = std::make_unique<host::Host>(options);
        doc_ = &host::documents().newDocument();
    }
    ArtNode* frame(const std::string& text, AIReal size = 72, const std::string& family = "DejaVu Sans")
    {
        ArtNode* f = doc_->newArt(kTextFrameArt);
        f->textFrame->text = text;
        f->textFrame->fontSize = size;
        f->textFrame->fontFamily = family;
        f->textFrame->origin = AIRealPoint{100, 500};
        f->style.edit().fillPaint = 1;
        f->style.edit().fill.color.kind = kThreeColor;
        f->style.edit().strokePaint = 0;
        doc_->place(f, kPlaceAboveAll, nullptr);
        return f;
    }
    host::TextLayout layout(const ArtNode* f)
    {
        host::TextLayout l;
        std::string error;
        EXPECT_TRUE(host::layoutText(*f, l, error)) << error;
        return l;
    }
    double width(const std::string& text)
    {
        host::TextLayout l = layout(frame(text));
        return l.bounds.right - l.bounds.left;
    }
    AIArtSuite& art() { return host::suiteTable<AIArtSuite>(); }
    AITextFrameSuite& frames() { return host::suiteTable<AITextFrameSuite>(); }
    ATETextRangeSuite& ranges() { return host::suiteTable<ATETextRangeSuite>(); }

    std::ostringstream out_;
    std::unique_ptr<host::Host> host_;
    host::Document* doc_ = nullptr;
};

TEST_F(TextFrames, EveryLetterIsTheGlyphFreeTypeReadsInEveryFaceOfACollection)
{
    const std::string collection = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
    struct Row {
        const char* family;
        std::string file;
        int face;
        const char* text;
        double size;
    } rows[] = {
        {"DejaVu Sans", host::fontFileFor("DejaVu Sans"), 0, "AVOid Sg", 72},  // A and V kern
        {"DejaVu Serif", host::fontFileFor("DejaVu Serif"), 0, "Wave", 50},
        {"WenQuanYi Micro Hei", collection, 0, "iW.m", 40},
        {"WenQuanYi Micro Hei Mono", collection, 1, "iW.m", 40},  // the same file's second face
        {"WenQuanYi Micro Hei", collection, 0, "Wi", 30},  // back to the first
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.family);
        test::ReferenceFont font(row.file, row.face);
        ASSERT_TRUE(font.loaded()) << row.file;
        EXPECT_EQ(font.family(), row.family);
        ArtNode* f = frame(row.text, row.size, row.family);
        host::TextLayout l = layout(f);
        std::vector<test::ReferenceGlyph> want = font.line(row.text, row.size, f->textFrame->origin.h, f->textFrame->origin.v);
        size_t drawn = 0;
        for (size_t i = 0; i < want.size(); ++i) {
            if (want[i].onCurve.empty()) continue;  // a space
            SCOPED_TRACE(std::string("letter ") + row.text[i]);
            ASSERT_LT(drawn, l.glyphs.size());
            test::expectSameLetter(l.glyphs[drawn++].contours, want[i]);
        }
        EXPECT_EQ(drawn, l.glyphs.size());
        double width = 0;
        for (const auto& g : want) width += g.advance;
        for (size_t i = 1; i < want.size(); ++i)
            width += font.kerning((unsigned char)row.text[i - 1], (unsigned char)row.text[i], row.size);
        EXPECT_NEAR(l.bounds.right - l.bounds.left, width, 1e-3);
    }
    test::ReferenceFont first(collection, 0);
    EXPECT_EQ(first.faceCount(), 2) << "the collection has the two faces above";
}

TEST_F(TextFrames, QuadraticCurvesBecomeTheSameCubics)
{
    // Both handles of a cubic made from a quadratic point at its one control
    // point: 3/2 of each handle from its end gives the same point.
    host::TextLayout l = layout(frame("OS", 200));
    int curves = 0;
    for (const auto& glyph : l.glyphs)
        for (const auto& c : glyph.contours)
            for (size_t i = 0; i < c.size(); ++i) {
                const AIPathSegment& a = c[i];
                const AIPathSegment& b = c[(i + 1) % c.size()];
                bool straight = a.out.h == a.p.h && a.out.v == a.p.v && b.in.h == b.p.h && b.in.v == b.p.v;
                if (straight) continue;
                ++curves;
                double qx1 = a.p.h + 1.5 * (a.out.h - a.p.h), qy1 = a.p.v + 1.5 * (a.out.v - a.p.v);
                double qx2 = b.p.h + 1.5 * (b.in.h - b.p.h), qy2 = b.p.v + 1.5 * (b.in.v - b.p.v);
                EXPECT_NEAR(qx1, qx2, 1e-3);
                EXPECT_NEAR(qy1, qy2, 1e-3);
            }
    EXPECT_GT(curves, 8);
}

TEST_F(TextFrames, CharactersAdvanceByTheFontAndLinesAre12SizesApart)
{
    // DejaVu Sans at 2048 units to the em: "A" advances 1401 units.
    EXPECT_NEAR(width("A"), 72.0 * 1401 / 2048, 1e-3);
    EXPECT_NEAR(width("AB"), width("A") + width("B"), 1e-3) << "no kerning between A and B";
    EXPECT_NEAR(width("A B"), width("A") + width(" ") + width("B"), 1e-3);

    ArtNode* one = frame("AB");
    ArtNode* two = frame("AB\rABCD");
    host::TextLayout l1 = layout(one), l2 = layout(two);
    EXPECT_FLOAT_EQ(l2.bounds.top, l1.bounds.top);
    EXPECT_NEAR(l1.bounds.bottom - l2.bounds.bottom, 1.2 * 72, 1e-3);
    EXPECT_NEAR(l2.bounds.right - l2.bounds.left, width("ABCD"), 1e-3) << "the widest line";
    // The second line's glyphs sit 1.2 x 72 points lower than the first's.
    double firstA = l2.glyphs[0].contours[0][0].p.v, secondA = l2.glyphs[2].contours[0][0].p.v;
    EXPECT_NEAR(firstA - secondA, 86.4, 1e-3);
    // CR LF and LF end lines as CR does.
    EXPECT_EQ(host::textLines("a\r\nb\nc\rd").size(), 4u);

    // The frame's bounds are the layout's.
    AIRealRect b;
    ASSERT_EQ(art().GetArtBounds(host::Document::handle(two), &b), kNoErr);
    EXPECT_FLOAT_EQ(b.right, l2.bounds.right);
    EXPECT_FLOAT_EQ(b.bottom, l2.bounds.bottom);
}

// fontconfig answers every name with some font (Times with DejaVu Serif,
// Courier with DejaVu Sans Mono); a named family counts only when the font
// found is of that very family, so a family not installed is set in DejaVu
// Sans, not in a look-alike the next machine may lack. Generic names take
// what fontconfig gives them.
TEST_F(TextFrames, AFamilyIsSetInThatVeryFamilyElseInDejaVuSans)
{
    const std::string folder = "/usr/share/fonts/truetype/dejavu/";
    struct Row {
        const char* shows;
        const char* family;
        const char* file;
    } rows[] = {
        {"an installed family", "DejaVu Serif", "DejaVuSerif.ttf"},
        {"a family named in other case", "dejavu SANS mono", "DejaVuSansMono.ttf"},
        {"a family not installed", "No Such Family 1234", "DejaVuSans.ttf"},
        {"no family", "", "DejaVuSans.ttf"},
        {"a family fontconfig stands in for with a serif", "Times New Roman", "DejaVuSans.ttf"},
        {"a family fontconfig stands in for with a mono", "Courier", "DejaVuSans.ttf"},
        {"a prefix of an installed family", "DejaVu", "DejaVuSans.ttf"},
        {"an installed family and more", "DejaVu Serif Condensed Wide", "DejaVuSans.ttf"},
        {"the generic serif", "serif", "DejaVuSerif.ttf"},
        {"the generic monospace, in capitals", "MONOSPACE", "DejaVuSansMono.ttf"},
        {"the first installed of a list", "'No Such', \"DejaVu Serif\", DejaVu Sans", "DejaVuSerif.ttf"},
        {"a list of look-alikes then a generic", "Courier New, Courier, monospace", "DejaVuSansMono.ttf"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        EXPECT_EQ(host::fontFileFor(row.family), folder + row.file) << row.family;
    }
    EXPECT_NEAR(width("A"), layout(frame("A", 72, "No Such Family 1234")).bounds.right - 100, 1e-3);

    // A font removed after fontconfig listed it: its family still resolves to
    // its file, which cannot be loaded, so the text is set in DejaVu Sans. The
    // font is a copy of DejaVu Sans renamed (in its ASCII and UTF-16 names),
    // the only one of its family.
    test::TempDir dir;
    std::string font = test::readFile(folder + "DejaVuSans.ttf");
    auto rename = [&font](const std::string& from, const std::string& to) {
        for (size_t at = font.find(from); at != std::string::npos; at = font.find(from, at + to.size()))
            font.replace(at, from.size(), to);
    };
    auto utf16 = [](const std::string& ascii) {
        std::string out;
        for (char c : ascii) out += std::string(1, '\0') + c;
        return out;
    };
    rename("DejaVu Sans", "Gone Family");
    rename(utf16("DejaVu Sans"), utf16("Gone Family"));
    const std::string gone = dir.file("Gone.ttf");
    test::writeFile(gone, font);
    ASSERT_TRUE(FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(gone.c_str())));
    std::filesystem::remove(gone);
    EXPECT_EQ(host::fontFileFor("Gone Family"), gone);
    EXPECT_NEAR(layout(frame("A", 72, "Gone Family")).bounds.right - 100, width("A"), 1e-3);
}

// A face of a font file, read by FreeType here on its own: the oracle the
// layout's glyphs are compared with.
struct Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    explicit Face(const std::string& file)
    {
        if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, file.c_str(), 0, &face) != 0) face = nullptr;
    }
    ~Face()
    {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    bool has(char32_t c) const { return FT_Get_Char_Index(face, c) != 0; }
};

// The control box of a glyph's outline, in font units, and its advance.
struct GlyphBox {
    double left, bottom, right, top, advance;
};
GlyphBox glyphBox(const Face& f, char32_t c)
{
    FT_Load_Glyph(f.face, FT_Get_Char_Index(f.face, c), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    FT_BBox box;
    FT_Outline_Get_CBox(&f.face->glyph->outline, &box);
    return {double(box.xMin), double(box.yMin), double(box.xMax), double(box.yMax),
            double(f.face->glyph->metrics.horiAdvance)};
}

AIRealRect controlBox(const host::GlyphShape& glyph)
{
    AIRealRect r{1e9f, -1e9f, -1e9f, 1e9f};
    for (const auto& contour : glyph.contours)
        for (const AIPathSegment& s : contour)
            for (const AIRealPoint& p : {s.p, s.in, s.out}) {
                r.left = std::min(r.left, p.h);
                r.right = std::max(r.right, p.h);
                r.bottom = std::min(r.bottom, p.v);
                r.top = std::max(r.top, p.v);
            }
    return r;
}

// Han and Hangul, which DejaVu Sans lacks, are set in the host's fallback
// font whatever the text's font is: each glyph where FreeType puts it, none
// of them the missing-glyph box. A character the text's font has stays in it.
TEST_F(TextFrames, CharactersTheFontLacksAreSetInTheHostsFallbackFont)
{
    Face dejaVu(host::dejaVuSansFile()), fallback(host::fallbackFontFile());
    ASSERT_TRUE(dejaVu.face && fallback.face) << "fonts-dejavu-core and fonts-wqy-microhei are installed by deps.sh";
    const std::u32string text = U"한글 漢字A\t";
    struct Row {
        const char* shows;
        const char* family;
    } rows[] = {{"no font family", ""}, {"a family not installed", "No Such Family 1234"}, {"DejaVu Sans", "DejaVu Sans"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::string utf8;
        for (char32_t c : text) host::appendUtf8(utf8, c);
        host::TextLayout l = layout(frame(utf8, 36, row.family));
        EXPECT_EQ(l.missing, 0u);
        // The oracle: each character in the first font that has it, pens
        // from the advances (no kerning between these), a tab draws nothing.
        double pen = 100;
        size_t g = 0;
        for (char32_t c : text) {
            if (c == U'\t') continue;
            const Face& f = dejaVu.has(c) ? dejaVu : fallback;
            ASSERT_TRUE(f.has(c));
            GlyphBox box = glyphBox(f, c);
            double scale = 36.0 / f.face->units_per_EM;
            if (c != U' ') {
                ASSERT_LT(g, l.glyphs.size());
                AIRealRect got = controlBox(l.glyphs[g++]);
                EXPECT_NEAR(got.left, pen + box.left * scale, 1e-3);
                EXPECT_NEAR(got.right, pen + box.right * scale, 1e-3);
                EXPECT_NEAR(got.bottom, 500 + box.bottom * scale, 1e-3);
                EXPECT_NEAR(got.top, 500 + box.top * scale, 1e-3);
            }
            pen += box.advance * scale;
        }
        EXPECT_EQ(g, l.glyphs.size()) << "one glyph per character that draws";
        EXPECT_NEAR(l.bounds.right, pen, 1e-3);
        // The bounds reach the higher ascent and the deeper descent of the two fonts.
        auto metric = [](const Face& f, double units) { return units * 36.0 / f.face->units_per_EM; };
        EXPECT_NEAR(l.bounds.top,
                    500 + std::max(metric(dejaVu, dejaVu.face->ascender), metric(fallback, fallback.face->ascender)),
                    1e-3);
        EXPECT_NEAR(l.bounds.bottom,
                    500 + std::min(metric(dejaVu, dejaVu.face->descender), metric(fallback, fallback.face->descender)),
                    1e-3);
    }
}

// A character that none of the fonts has is named, and nothing of its text
// is outlined: no box is ever cut in its place.
TEST_F(TextFrames, ACharacterNoFontHasIsNamedAndNothingIsOutlined)
{
    ArtNode* f = frame("A\xf4\x8f\xbf\xbd" "B", 36, "");
    f->name = "sign";
    host::TextLayout l;
    std::string error;
    EXPECT_FALSE(host::layoutText(*f, l, error));
    EXPECT_EQ(error, "the text \"sign\" holds U+10FFFD \"\xf4\x8f\xbf\xbd\", which none of its fonts has (DejaVu Sans, "
                     "WenQuanYi Micro Hei)");
    EXPECT_EQ(l.missing, U'\U0010FFFD');
    EXPECT_TRUE(l.glyphs.empty());

    size_t before = doc_->allArt().size();
    AIArtHandle outline = nullptr;
    EXPECT_EQ(frames().CreateOutline(host::Document::handle(f), &outline), kNoFontErr);
    EXPECT_EQ(outline, nullptr);
    EXPECT_EQ(doc_->allArt().size(), before) << "no outline group";
    ASSERT_EQ(host_->problems().size(), 1u);
    EXPECT_EQ(host_->problems()[0], "text outline: " + error + "; it is not outlined");

    // The frame is still measured, the character taking the room of the
    // font's missing-glyph mark.
    Face dejaVu(host::dejaVuSansFile());
    FT_Load_Glyph(dejaVu.face, 0, FT_LOAD_NO_SCALE);
    double mark = double(dejaVu.face->glyph->metrics.horiAdvance) * 36 / dejaVu.face->units_per_EM;
    AIRealRect b;
    EXPECT_EQ(art().GetArtBounds(host::Document::handle(f), &b), kNoErr);
    EXPECT_NEAR(b.right, 100 + layout(frame("AB", 36, "")).bounds.right - 100 + mark, 1e-3);
}

TEST_F(TextFrames, CreateOutlineAddsAGroupOfClosedContoursJustAboveTheFrame)
{
    ArtNode* below = frame("x");
    ArtNode* f = frame("Oi A");
    f->style.edit().strokePaint = 1;
    f->style.edit().stroke.width = 2;
    AIArtHandle outline = nullptr;
    ASSERT_EQ(frames().CreateOutline(host::Document::handle(f), &outline), kNoErr);
    ArtNode* group = doc_->art(outline);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, kGroupArt);
    const auto top = kids(doc_->layers()[0]->root);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0], group) << "just above the frame";
    EXPECT_EQ(top[1], f) << "the frame stays";
    EXPECT_EQ(top[2], below);
    ASSERT_EQ(group->children.size(), 6u) << "O, i and A have two contours each";
    for (const ArtNode* p : group->children) {
        EXPECT_EQ(p->type, kPathArt);
        EXPECT_TRUE(p->closed);
        EXPECT_TRUE(p->style->strokePaint) << "the frame's style";
        EXPECT_FLOAT_EQ(p->style->stroke.width, 2);
    }
    AIArtHandle none = nullptr;
    EXPECT_EQ(frames().CreateOutline(outline, &none), kWrongArtTypeErr);
}

TEST_F(TextFrames, ATextRangeReadsClearsAndAddsBytesOfItsFrame)
{
    ArtNode* f = frame("é€x");
    ATETextRangeRef range = nullptr;
    ASSERT_EQ(frames().GetATETextRange(host::Document::handle(f), &range), kNoErr);
    ASInt32 size = 0;
    ASSERT_EQ(ranges().GetSize(range, &size), kNoErr);
    EXPECT_EQ(size, 6) << "bytes, not characters";
    char buffer[16] = {};
    ASInt32 length = 0;
    ASSERT_EQ(ranges().GetContents(range, buffer, 4, &length), kNoErr);
    EXPECT_EQ(length, 4) << "never more than asked";
    EXPECT_EQ(std::string(buffer, 4), "é\xE2\x82");
    ASSERT_EQ(ranges().Clear(range), kNoErr);
    EXPECT_EQ(f->textFrame->text, "");
    ASSERT_EQ(ranges().InsertAfter(range, "AB\rCD", 5), kNoErr);
    ASSERT_EQ(ranges().InsertAfter(range, "E", 1), kNoErr);
    EXPECT_EQ(f->textFrame->text, "AB\rCDE");
    ASSERT_EQ(ranges().Release(range), kNoErr);
    EXPECT_EQ(ranges().GetSize(range, &size), kBadTextRangeErr) << "released";
    EXPECT_EQ(ranges().Release(range), kBadTextRangeErr);

    // A range outliving its frame leads nowhere.
    ASSERT_EQ(frames().GetATETextRange(host::Document::handle(f), &range), kNoErr);
    doc_->dispose(f);
    EXPECT_EQ(ranges().InsertAfter(range, "x", 1), kBadTextRangeErr);
    EXPECT_EQ(ranges().Release(range), kNoErr);
}

// ---- SVG ----

TEST_F(TextFrames, TspanLinesMakeOneFrameAndAreSavedBackAsTspans)
{
    struct Row {
        const char* shows;
        const char* svg;
        const char* text;
        AIReal x;
    } rows[] = {
        {"one tspan per line",
         R"(<text x="10" y="50" font-size="20"><tspan x="10" y="50">AB</tspan><tspan x="10" dy="24">CD</tspan></text>)",
         "AB\rCD", 10},
        {"the position of the first tspan", R"(<text font-size="20"><tspan x="30" y="50">A</tspan><tspan x="30" y="74">B</tspan></text>)",
         "A\rB", 30},
        {"text before a placed tspan", R"(<text x="5" y="50">Hello <tspan x="5" y="70">World</tspan></text>)",
         "Hello\rWorld", 5},
        {"tspans that only style stay on their line, nested too",
         R"(<text x="5" y="50">Big <tspan fill="red">S<tspan font-weight="bold">al</tspan>e</tspan> now</text>)",
         "Big Sale now", 5},
        {"an empty line is kept",
         R"(<text x="5" y="50"><tspan x="5" y="50">A</tspan><tspan x="5" y="70"></tspan><tspan x="5" y="90">B</tspan></text>)",
         "A\r\rB", 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::string svg = std::string(R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300">)") +
                          row.svg + "</svg>";
        std::string error;
        auto d = host::readSvgText(host::documents(), svg, "lines.svg", error);
        ASSERT_TRUE(d) << error;
        auto all = d->allArt();
        ASSERT_EQ(all.size(), 1u);
        EXPECT_EQ(all[0]->textFrame->text, row.text);
        EXPECT_FLOAT_EQ(all[0]->textFrame->origin.h, row.x * 0.75f);
        std::string saved = host::writeSvgText(*d);
        const std::string text = row.text;
        size_t lines = std::count(text.begin(), text.end(), '\r') + 1;
        if (lines > 1) {
            EXPECT_NE(saved.find("<tspan"), std::string::npos);
        }
        auto again = host::readSvgText(host::documents(), saved, "again.svg", error);
        ASSERT_TRUE(again) << error;
        EXPECT_EQ(again->allArt()[0]->textFrame->text, row.text);
        EXPECT_FLOAT_EQ(again->allArt()[0]->textFrame->origin.v, all[0]->textFrame->origin.v);
        EXPECT_EQ(host::writeSvgText(*again), saved);
    }
}

}  // namespace
