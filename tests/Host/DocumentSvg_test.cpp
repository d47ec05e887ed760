// SVG import of the sample jobs, the round trip save-and-reopen, and the
// errors of malformed files. Path data and transforms on their own:
// SvgPathData_test.cpp, SvgTransform_test.cpp.
#include <cmath>
#include <cstdlib>
#include <map>
#include <unistd.h>

#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "HostFixture.h"
#include "Script/Script.h"

using namespace vt;
using namespace vt::host;

namespace {

class SvgTest : public test::HostTest {
protected:
    void SetUp() override { startSession(); }
    std::unique_ptr<Document> read(const std::string& text)
    {
        std::string error;
        auto d = readSvgText(documents(), text, "job.svg", error);
        EXPECT_TRUE(d) << error;
        return d;
    }
    std::unique_ptr<Document> sample(const std::string& name)
    {
        std::string error;
        auto d = readSvgFile(documents(), std::string(VANTOREL_SOURCE_DIR "/samples/") + name, error);
        EXPECT_TRUE(d) << error;
        return d;
    }
    std::string fail(const std::string& text)
    {
        std::string error;
        EXPECT_FALSE(readSvgText(documents(), text, "bad.svg", error));
        return error;
    }
};

std::string svg(const std::string& body)
{
    return "<svg xmlns='http://www.w3.org/2000/svg' width='100pt' height='100pt' viewBox='0 0 100 100'>" + body +
           "</svg>";
}

ArtNode* byName(const Document& d, const std::string& name)
{
    for (ArtNode* a : d.allArt())
        if (a->name == name) return a;
    return nullptr;
}

// The same colour; custom colours are compared by what their entries hold.
void expectSameColor(const AIColor& a, const AIColor& b)
{
    ASSERT_EQ(a.kind, b.kind);
    switch (a.kind) {
    case kGrayColor: EXPECT_EQ(a.c.g.gray, b.c.g.gray); break;
    case kFourColor:
        EXPECT_EQ(a.c.f.cyan, b.c.f.cyan);
        EXPECT_EQ(a.c.f.magenta, b.c.f.magenta);
        EXPECT_EQ(a.c.f.yellow, b.c.f.yellow);
        EXPECT_EQ(a.c.f.black, b.c.f.black);
        break;
    case kThreeColor:
        EXPECT_EQ(a.c.rgb.red, b.c.rgb.red);
        EXPECT_EQ(a.c.rgb.green, b.c.rgb.green);
        EXPECT_EQ(a.c.rgb.blue, b.c.rgb.blue);
        break;
    case kCustomColor: EXPECT_EQ(a.c.c.tint, b.c.c.tint); break;
    default: break;
    }
}

void expectSameArt(const ArtNode& a, const ArtNode& b)
{
    SCOPED_TRACE(a.name);
    ASSERT_EQ(a.type, b.type);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.closed, b.closed);
    EXPECT_EQ(a.guide, b.guide);
    EXPECT_EQ(a.attrs & (kArtHidden | kArtLocked), b.attrs & (kArtHidden | kArtLocked));
    EXPECT_EQ(a.tags(), b.tags());
    ASSERT_EQ(bool(a.textFrame), bool(b.textFrame));
    if (a.textFrame) {
        EXPECT_EQ(a.textFrame->text, b.textFrame->text);
    }
    ASSERT_EQ(a.segments.size(), b.segments.size());
    for (size_t i = 0; i < a.segments.size(); ++i) {
        const auto &s = a.segments[i], &t = b.segments[i];
        EXPECT_EQ(s.p.h, t.p.h);
        EXPECT_EQ(s.p.v, t.p.v);
        EXPECT_EQ(s.in.h, t.in.h);
        EXPECT_EQ(s.in.v, t.in.v);
        EXPECT_EQ(s.out.h, t.out.h);
        EXPECT_EQ(s.out.v, t.out.v);
    }
    if (a.type == kPathArt || a.type == kTextFrameArt) {
        EXPECT_EQ(a.style->fillPaint, b.style->fillPaint);
        EXPECT_EQ(a.style->strokePaint, b.style->strokePaint);
        EXPECT_EQ(a.style->stroke.width, b.style->stroke.width);
        EXPECT_EQ(a.style->stroke.miterLimit, b.style->stroke.miterLimit);
        EXPECT_EQ(a.style->evenodd, b.style->evenodd);
        if (a.style->fillPaint) expectSameColor(a.style->fill.color, b.style->fill.color);
        if (a.style->strokePaint) expectSameColor(a.style->stroke.color, b.style->stroke.color);
    }
    ASSERT_EQ(a.children.size(), b.children.size());
    for (auto i = a.children.begin(), j = b.children.begin(); i != a.children.end(); ++i, ++j) expectSameArt(**i, **j);
}

void expectSameDocument(const Document& a, const Document& b)
{
    EXPECT_EQ(a.page.right, b.page.right);
    EXPECT_EQ(a.page.top, b.page.top);
    ASSERT_EQ(a.layers().size(), b.layers().size());
    for (size_t i = 0; i < a.layers().size(); ++i) {
        EXPECT_EQ(a.layers()[i]->title, b.layers()[i]->title);
        EXPECT_EQ(a.layers()[i]->color.red, b.layers()[i]->color.red);
        EXPECT_EQ(a.layers()[i]->visible, b.layers()[i]->visible);
        expectSameArt(*a.layers()[i]->root, *b.layers()[i]->root);
    }
}

TEST_F(SvgTest, OpenSignHasItsLayersLettersAndCounters)
{
    auto d = sample("open-sign.svg");
    ASSERT_EQ(d->layers().size(), 2u);
    EXPECT_EQ(d->layers()[0]->title, "Lettering") << "the last group in the file is the top layer";
    EXPECT_EQ(d->layers()[1]->title, "Border");
    EXPECT_NEAR(d->page.right, 220 / 25.4 * 72, 1e-3);
    EXPECT_NEAR(d->page.top, 120 / 25.4 * 72, 1e-3);
    ArtNode* o = byName(*d, "O");
    ASSERT_TRUE(o);
    ASSERT_EQ(o->type, kCompoundPathArt);
    ASSERT_EQ(o->children.size(), 2u);
    EXPECT_EQ(o->children.front()->segments.size(), 4u) << "two half-ellipse arcs, two cubics each";
    EXPECT_TRUE(o->children.front()->closed);
    EXPECT_TRUE(o->children.front()->style->evenodd);
    EXPECT_EQ(o->children.front()->style->fill.color.kind, kThreeColor);
    EXPECT_NEAR(o->children.front()->style->fill.color.c.rgb.red, 0xc0 / 255.0, 1e-6);
    ArtNode* n = byName(*d, "N");
    ASSERT_EQ(n->type, kPathArt);
    EXPECT_EQ(n->segments.size(), 10u) << "relative commands";
    const double mm = 72 / 25.4;
    EXPECT_NEAR(n->segments[0].p.h, 164 * mm, 1e-3);
    EXPECT_NEAR(n->segments[0].p.v, (120 - 90) * mm, 1e-3) << "y grows upwards from the page bottom";
    ArtNode* border = byName(*d, "border");
    EXPECT_FALSE(border->style->fillPaint);
    EXPECT_TRUE(border->style->strokePaint);
    EXPECT_NEAR(border->style->stroke.width, 1.5 * mm, 1e-4);
    EXPECT_EQ(border->segments.size(), 8u) << "a rounded rectangle";
}

TEST_F(SvgTest, LogoAppliesNestedTransforms)
{
    auto d = sample("club-logo.svg");
    ASSERT_EQ(d->layers().size(), 2u);
    EXPECT_EQ(d->layers()[1]->title, "Logo");
    const double mm = 72 / 25.4;
    ArtNode* star = byName(*d, "star");
    ASSERT_TRUE(star);
    EXPECT_EQ(star->segments.size(), 10u);
    EXPECT_NEAR(star->segments[0].p.h, 100 * mm, 1e-3);
    EXPECT_NEAR(star->segments[0].p.v, (200 - 50) * mm, 1e-3);
    EXPECT_NEAR(star->style->fill.color.c.rgb.green, 165 / 255.0, 1e-6);
    ArtNode* banner = byName(*d, "banner");
    ASSERT_EQ(banner->children.size(), 2u);
    ArtNode* rect = banner->children.back();  // the first in the file is at the back
    // (-50,-10) skewed by -10 degrees, scaled 1.2 in x, moved by (100, 170).
    double x = 1.2 * (-50 + std::tan(-10 * M_PI / 180) * -10) + 100;
    EXPECT_NEAR(rect->segments[0].p.h, x * mm, 1e-3);
    EXPECT_NEAR(rect->segments[0].p.v, (200 - 160) * mm, 1e-3);
    EXPECT_EQ(byName(*d, "ring")->children.size(), 2u);
}

TEST_F(SvgTest, SaleBannerKeepsTextKindsAndMarksLayer)
{
    auto d = sample("sale-banner.svg");
    ASSERT_EQ(d->layers().size(), 3u);
    EXPECT_EQ(d->layers()[0]->title, "Layer of 4 Marks Printed");
    ArtNode* caption = byName(*d, "caption");
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->type, kTextFrameArt);
    EXPECT_EQ(caption->textFrame->text, "ALL WINTER STOCK 50% OFF");
    EXPECT_NEAR(caption->textFrame->fontSize, 9 * 72 / 25.4, 1e-3);
    EXPECT_EQ(caption->textFrame->fontFamily, "DejaVu Sans");
    ArtNode* plate = byName(*d, "plate");
    EXPECT_EQ(plate->style->fill.color.kind, kGrayColor);
    EXPECT_FLOAT_EQ(plate->style->fill.color.c.g.gray, 0.25f);
}

TEST_F(SvgTest, ColoursFromNamesHexRgbAndStyle)
{
    struct Row {
        const char* attrs;
        bool on;
        float r, g, b;
    } rows[] = {
        {"fill='navy'", true, 0, 0, 128 / 255.f},
        {"fill='#f80'", true, 1, 136 / 255.f, 0},
        {"fill='#00FF00'", true, 0, 1, 0},
        {"fill='rgb(255, 0, 51)'", true, 1, 0, 51 / 255.f},
        {"fill='rgb(100%,50%,0%)'", true, 1, 127.5f / 255.f, 0},
        {"fill='rgb(300, -20, 200)'", true, 1, 0, 200 / 255.f},
        {"fill='rgb(0, 0, 80%)'", true, 0, 0, 0.8f},
        {"fill='rgb(25, 250, 270)'", true, 25 / 255.f, 250 / 255.f, 1},
        // Longer than any colour word: lowered in a buffer of its own.
        {"fill='rgb(000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
         "00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000012, 34, 56)'",
         true, 12 / 255.f, 34 / 255.f, 56 / 255.f},
        {"fill='none'", false, 0, 0, 0},
        {"fill='red' style='fill:blue'", true, 0, 0, 1},
        {"style=' stroke : none ; fill : #0000ff !important '", true, 0, 0, 1},
        {"fill='red' style='fill:inherit'", true, 0, 0, 0},
        {"fill='NONE'", false, 0, 0, 0},
        {"fill='Navy' fill-rule='evenodd'", true, 0, 0, 128 / 255.f},
        {"fill='currentColor'", true, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.attrs);
        auto d = read(svg(std::string("<rect id='r' width='10' height='10' ") + r.attrs + "/>"));
        ArtNode* a = byName(*d, "r");
        ASSERT_TRUE(a);
        EXPECT_EQ(a->style->fillPaint != 0, r.on);
        if (!r.on) continue;
        EXPECT_EQ(a->style->fill.color.kind, kThreeColor);
        EXPECT_NEAR(a->style->fill.color.c.rgb.red, r.r, 1e-6);
        EXPECT_NEAR(a->style->fill.color.c.rgb.green, r.g, 1e-6);
        EXPECT_NEAR(a->style->fill.color.c.rgb.blue, r.b, 1e-6);
    }
}

TEST_F(SvgTest, StrokesTakeWhatSvgSaysWhenAnAttributeIsLeftOut)
{
    struct Row {
        const char* attrs;
        bool on;
        float width, miterLimit;  // points
    } rows[] = {
        {"", false, 0, 0},
        {"stroke='red'", true, 1, 4},
        {"stroke='red' stroke-width='3'", true, 3, 4},
        // Units count as CSS does, 96 to the inch of user units (points here).
        {"stroke='red' stroke-width='2mm' stroke-miterlimit='10'", true, float(2 * 96 / 25.4), 10},
        {"stroke='red' stroke-width='50%'", true, 0.5, 4},
        {"style='stroke:red;stroke-width:1.5pt'", true, 2, 4},
        // A length of more digits than a short value has is read whole, from
        // 64 characters (the first that do not fit on the stack) up.
        {"stroke='red' stroke-width='"
         "00000000000000000000000000000000000000000000000000000000000002mm'",
         true, float(2 * 96 / 25.4), 4},
        {"style='stroke:red;stroke-width:"
         "0000000000000000000000000000000000000000000000000000000000000000000001.5pt'",
         true, 2, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.attrs);
        auto d = read("<svg xmlns='http://www.w3.org/2000/svg' width='100pt' height='100pt' viewBox='0 0 100 100'>"
                      "<rect id='r' width='10' height='10' " + std::string(r.attrs) + "/></svg>");
        ArtNode* a = byName(*d, "r");
        ASSERT_TRUE(a);
        EXPECT_EQ(a->style->strokePaint != 0, r.on);
        if (!r.on) continue;
        EXPECT_NEAR(a->style->stroke.width, r.width, 1e-4);
        EXPECT_EQ(a->style->stroke.miterLimit, r.miterLimit);
        std::string saved = dir_.file("saved.svg"), error;
        ASSERT_TRUE(writeSvgFile(*d, saved, error)) << error;
        EXPECT_EQ(test::readFile(saved).find("stroke-miterlimit") != std::string::npos, r.miterLimit != 4)
            << "SVG's own miter limit goes without saying";
    }
    // A path the plug-in makes is an outline as SVG draws one unless told
    // otherwise: a black stroke of one point, no fill, that miter limit.
    auto d = read(svg(""));
    ArtNode* made = d->newArt(kPathArt);
    made->segments = {cornerSegment(0, 0), cornerSegment(10, 0), cornerSegment(0, 10)};
    d->place(made, kPlaceAboveAll, nullptr);
    std::string saved = dir_.file("made.svg"), error;
    ASSERT_TRUE(writeSvgFile(*d, saved, error)) << error;
    auto back = read(test::readFile(saved));
    ASSERT_TRUE(back);
    std::vector<ArtNode*> paths;
    for (ArtNode* a : back->allArt())
        if (a->type == kPathArt) paths.push_back(a);
    ASSERT_EQ(paths.size(), 1u);
    const AIPathStyle& style = paths[0]->style;
    EXPECT_FALSE(style.fillPaint);
    EXPECT_TRUE(style.strokePaint);
    EXPECT_EQ(style.stroke.width, 1.0f);
    EXPECT_EQ(style.stroke.miterLimit, 4.0f);
    EXPECT_EQ(test::readFile(saved).find("stroke-miterlimit"), std::string::npos);
}

TEST_F(SvgTest, APageSizeOfManyDigitsIsReadWholeAndSavedToReopen)
{
    const std::string zeros(70, '0');
    auto d = read("<svg xmlns='http://www.w3.org/2000/svg' width='" + zeros + "102pt' height='" + zeros +
                  "75.5pt' viewBox='0 0 200 100'></svg>");
    ASSERT_TRUE(d);
    EXPECT_FLOAT_EQ(d->page.right, 102);
    EXPECT_FLOAT_EQ(d->page.top, 75.5);
    auto again = read(writeSvgText(*d));
    ASSERT_TRUE(again);
    EXPECT_FLOAT_EQ(again->page.right, 102);
}

// A plug-in may set the page anywhere: the file measures art from the page's
// top left corner, so it reopens where it stood on the page.
TEST_F(SvgTest, ArtOnAPageAwayFromTheOriginReopensWhereItStoodOnThePage)
{
    Document& d = documents().newDocument();
    d.page = AIRealRect{100, 700, 400, 200};
    ArtNode* p = d.newArt(kPathArt);
    p->segments = {cornerSegment(110, 690), cornerSegment(390, 210)};
    d.place(p, kPlaceAboveAll, nullptr);
    auto again = read(writeSvgText(d));
    ASSERT_TRUE(again);
    const AIRealRect& page = again->page;
    EXPECT_TRUE(page.left == 0 && page.top == 500 && page.right == 300 && page.bottom == 0);
    const auto& s = again->layers()[0]->root->children.front()->segments;
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(s[0].p.h == 10 && s[0].p.v == 490) << s[0].p.h << " " << s[0].p.v;
    EXPECT_TRUE(s[1].p.h == 290 && s[1].p.v == 10) << s[1].p.h << " " << s[1].p.v;
}

TEST_F(SvgTest, PaintServersAreFoundByTheirIdWhereverTheyStand)
{
    auto d = read(svg("<rect id='a' width='1' height='1' fill='url(#late)'/>"
                      "<rect id='b' width='1' height='1' style='fill:url(#twice)'/>"
                      "<rect id='c' width='1' height='1' fill='url(#nowhere)'/>"
                      "<defs><pattern id='twice'/><linearGradient id='twice'/><pattern id='late'/></defs>"));
    ASSERT_TRUE(d);
    EXPECT_EQ(byName(*d, "a")->style->fill.color.kind, kPattern) << "defined after its use";
    EXPECT_EQ(byName(*d, "b")->style->fill.color.kind, kPattern) << "the first of one id";
    EXPECT_EQ(byName(*d, "c")->style->fill.color.kind, kGradient) << "an unknown server";
}

TEST_F(SvgTest, LooseShapesGoToADefaultLayerBelowOrAboveEachGroup)
{
    // Shapes on both sides of a group keep the stacking the file draws:
    // those after the group get a layer of their own above it.
    auto d = read(svg("<rect id='a' width='1' height='1'/><rect id='b' width='1' height='1'/>"
                      "<g inkscape:label='Top' xmlns:inkscape='x'/><rect id='c' width='1' height='1'/>"));
    ASSERT_EQ(d->layers().size(), 3u);
    EXPECT_EQ(d->layers()[2]->title, "Layer 1");
    EXPECT_EQ(d->layers()[2]->root->children.size(), 2u) << "a and b share one layer";
    EXPECT_EQ(d->layers()[1]->title, "Top");
    EXPECT_EQ(d->layers()[0]->title, "Layer 2");
    ASSERT_EQ(d->layers()[0]->root->children.size(), 1u);
    EXPECT_EQ(d->layers()[0]->root->children.front(), byName(*d, "c"));
}

TEST_F(SvgTest, SavedSamplesReopenToTheSameDocument)
{
    for (const char* name : {"open-sign.svg", "club-logo.svg", "sale-banner.svg"}) {
        SCOPED_TRACE(name);
        auto first = sample(name);
        ASSERT_TRUE(first);
        std::string text = writeSvgText(*first);
        auto again = read(text);
        ASSERT_TRUE(again);
        expectSameDocument(*first, *again);
        EXPECT_EQ(writeSvgText(*again), text);
    }
}

TEST_F(SvgTest, RoundTripKeepsTagsKindsGuidesAndHiddenLayers)
{
    Document& d = documents().newDocument();
    ArtNode* p = d.newArt(kPathArt);
    p->segments = {cornerSegment(10, 10), cornerSegment(50, 10), cornerSegment(50, 40)};
    AIPathSegment handled = p->segments[1];
    handled.out = {60, 20};
    p->segments.set(1, handled);
    p->closed = true;
    p->name = "tri";
    p->style.edit().fillPaint = 1;
    p->style.edit().fill.color.kind = kFourColor;
    p->style.edit().fill.color.c.f = {0.1f, 0.7f, 0.2f, 0.05f};
    p->setTag("TAG_OF_DOT_CUT", "10");
    d.place(p, kPlaceAboveAll, nullptr);
    AICustomColor spot{};
    spot.kind = kCustomFourColor;
    spot.c.f = {0, 0.9f, 0.8f, 0};
    CustomColorEntry* c = d.newCustomColor("Signal Red", spot);
    ArtNode* q = d.newArt(kPathArt);
    q->segments = {cornerSegment(0, 0), cornerSegment(0, 300)};
    q->guide = true;
    q->style.edit().strokePaint = 1;
    q->style.edit().stroke.color.kind = kCustomColor;
    q->style.edit().stroke.color.c.c = {Document::handle(c), 1.0f};
    d.place(q, kPlaceAboveAll, nullptr);
    LayerNode* hidden = d.insertLayer(-1, "Hidden & <odd> \"title\"");
    hidden->visible = false;
    std::string saved = writeSvgText(d);
    // Viewers that know nothing of the kinds see the process colours as RGB,
    // each ink and then black taking its share of the light.
    EXPECT_NE(saved.find("fill=\"#da49c2\""), std::string::npos);
    EXPECT_NE(saved.find("stroke=\"#ff1a33\""), std::string::npos);
    auto again = read(saved);
    ASSERT_TRUE(again);
    expectSameDocument(d, *again);
    ArtNode* q2 = again->layers()[0]->root->children.front();
    ASSERT_EQ(q2->style->stroke.color.kind, kCustomColor);
    CustomColorEntry* c2 = again->customColor(q2->style->stroke.color.c.c.color);
    ASSERT_TRUE(c2);
    EXPECT_EQ(c2->name, "Signal Red");
    EXPECT_FLOAT_EQ(c2->color.c.f.magenta, 0.9f);

    // Custom colours of every kind come back with their values.
    AICustomColor rgb{}, lab{};
    rgb.kind = kCustomThreeColor;
    rgb.c.rgb = {0.25f, 0.5f, 0.75f};
    lab.kind = kCustomLabColor;
    lab.c.lab = {52.5f, -20.25f, 31.75f};
    CustomColorEntry* sky = d.newCustomColor("Sky", rgb);
    CustomColorEntry* moss = d.newCustomColor("Moss", lab);
    // Viewers see an RGB spot colour as it is; a Lab one, which the host
    // cannot turn into RGB, as black.
    q->style.edit().stroke.color.c.c = {Document::handle(sky), 1.0f};
    p->style.edit().fill.color.kind = kCustomColor;
    p->style.edit().fill.color.c.c = {Document::handle(moss), 1.0f};
    saved = writeSvgText(d);
    EXPECT_NE(saved.find("stroke=\"#4080bf\""), std::string::npos) << saved;
    size_t tri = saved.rfind('<', saved.find("id=\"tri\""));
    EXPECT_NE(saved.substr(tri, saved.find('>', tri) - tri).find("fill=\"#000000\""), std::string::npos) << saved;
    auto third = read(saved);
    ASSERT_TRUE(third);
    std::map<std::string, AICustomColor> back;
    for (const CustomColorEntry* e : third->customColors()) back[e->name] = e->color;
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back["Signal Red"].kind, kCustomFourColor);
    EXPECT_EQ(back["Signal Red"].c.f.yellow, 0.8f);
    EXPECT_EQ(back["Sky"].kind, kCustomThreeColor);
    EXPECT_EQ(back["Sky"].c.rgb.red, 0.25f);
    EXPECT_EQ(back["Sky"].c.rgb.green, 0.5f);
    EXPECT_EQ(back["Sky"].c.rgb.blue, 0.75f);
    EXPECT_EQ(back["Moss"].kind, kCustomLabColor);
    EXPECT_EQ(back["Moss"].c.lab.l, 52.5f);
    EXPECT_EQ(back["Moss"].c.lab.a, -20.25f);
    EXPECT_EQ(back["Moss"].c.lab.b, 31.75f);
}

// A tag's value comes back byte for byte, and the saved file stays XML
// (checked by xmllint) whatever the value holds; files saved before
// control characters were encoded, with character references XML forbids,
// still read.
TEST_F(SvgTest, TagsOfAnyBytesAreSavedAsXmlAndReadBackTheSame)
{
    struct Row {
        const char* shows;
        std::string value;
        bool plain;  // kept as it is under data-tag-
    } rows[] = {
        {"the registration marks' command text", "\x1b.D4;0;0;1000:\x1b.D1;6400;4400:\r\n", false},
        {"a percent sign beside an escape", "100%\x1b%41", false},
        {"a NUL and a byte that is not UTF-8", std::string("a\0b\xff", 4), false},
        {"U+FFFE, which XML lacks", "x\xef\xbf\xbe", false},
        {"a lone surrogate", "\xed\xa0\x80", false},
        {"XML's own characters and line ends stay plain", "<a & \"b\">\t1\r\n2'", true},
        {"a percent sign alone stays plain", "50% off", true},
        {"accents, Hangul and an emoji stay plain", "caf\xc3\xa9 \xed\x95\x9c\xea\xb8\x80 \xf0\x9f\x99\x82", true},
        {"U+FFFD stays plain", "\xef\xbf\xbd", true},
        {"U+10FFFD, in the last plane, stays plain", "\xf4\x8f\xbf\xbd", true},
        {"a lead byte past U+10FFFF", "\xf4\x90\x80\x80", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        Document& d = documents().newDocument();
        ArtNode* p = d.newArt(kGroupArt);
        p->setTag("TAG_AAS_SETTING", row.value);
        d.place(p, kPlaceAboveAll, nullptr);
        std::string text = writeSvgText(d);
        EXPECT_EQ(text.find("data-tag-TAG_AAS_SETTING") != std::string::npos, row.plain) << text;
        test::writeFile(dir_.file("tagged.svg"), text);
        EXPECT_EQ(std::system(("xmllint --noout '" + dir_.file("tagged.svg") + "' 2>&1").c_str()), 0) << text;
        auto again = read(text);
        ASSERT_TRUE(again);
        const std::string* tag = again->layers()[0]->root->children.front()->tag("TAG_AAS_SETTING");
        ASSERT_TRUE(tag);
        EXPECT_EQ(*tag, row.value);
    }

    auto old = read(svg("<g id='L'><g data-tag-TAG_AAS_SETTING='&#27;.D4;0;0;1000:&#27;.D1;6400;4400:&#13;&#10;'/></g>"));
    ASSERT_TRUE(old);
    EXPECT_EQ(*old->layers()[0]->root->children.front()->tag("TAG_AAS_SETTING"),
              "\x1b.D4;0;0;1000:\x1b.D1;6400;4400:\r\n");

    // Hexadecimal digits are read in either case; a '%' needs two of them.
    auto encoded = read(svg("<g id='L'><g data-vt-tag-T='%1b%2A%2a%Ff%09%7e'/></g>"));
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded->layers()[0]->root->children.front()->tag("T"), "\x1b**\xff\t~");
    for (const char* value : {"%1", "%", "%zz", "%g0", "%0G", "%:0", "%0/", "%@1"}) {
        SCOPED_TRACE(value);
        EXPECT_NE(fail(svg(std::string("<g id='L'><g id='marks' data-vt-tag-T='") + value + "'/></g>"))
                      .find("<g id=\"marks\">: data-vt-tag-T is not percent-encoded"),
                  std::string::npos);
    }
}

TEST_F(SvgTest, MalformedFilesNameLineAndColumn)
{
    struct Row {
        const char* text;
        const char* expect;
    } rows[] = {
        {"<svg xmlns='http://www.w3.org/2000/svg'>\n<g>\n<path d='M0 0'>\n</g></svg>", "bad.svg:4:"},
        {"", "not well-formed"},
        {"<html/>", "not <svg>"},
        {"<svg>\n  <path d='M0 0 L10'/></svg>", "bad.svg:2:"},
        {"<svg><rect width='1' height='1' transform='spin(3)'/></svg>", "bad transform"},
        {"<svg><rect width='1' height='1' fill='#12345'/></svg>", "unknown fill colour"},
        {"<svg><rect width='1' height='1' fill='#12g'/></svg>", "unknown fill colour \"#12g\""},
        {"<svg><rect width='1' height='1' stroke='#00ff0z'/></svg>", "unknown stroke colour \"#00ff0z\""},
        {"<svg><rect width='1' height='1' fill='rgb(1, 2, 3'/></svg>", "unknown fill colour \"rgb(1, 2, 3\""},
        {"<svg viewBox='0 0 0 10'/>", "bad viewBox"},
        {"<svg><rect width='1' height='1' fill='red' data-vt-fill='pantone 1'/></svg>", "bad data-vt-fill \"pantone 1\""},
        {"<svg><rect width='1' height='1' stroke='red' data-vt-stroke='gray'/></svg>", "bad data-vt-stroke \"gray\""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_NE(fail(r.text).find(r.expect), std::string::npos) << fail(r.text);
    }
}

// Hostile and absurd files: refused when read, naming the file, the line, the
// element and the reason, never by a crash or by collapsing the rest of the
// drawing into points. The file itself is left as it was.
TEST_F(SvgTest, HostileFilesAreRefusedNamingTheElement)
{
    auto nested = [](int groups) {
        std::string text = "<svg xmlns='http://www.w3.org/2000/svg' width='10pt' height='10pt'>\n";
        for (int i = 0; i < groups; ++i) text += "<g>";
        text += "<rect width='1' height='1'/>";
        for (int i = 0; i < groups; ++i) text += "</g>";
        return text + "</svg>";
    };
    const std::string head = "<svg xmlns='http://www.w3.org/2000/svg' width='100pt' height='100pt' viewBox='0 0 100 100'>\n"
                             "<rect id='ordinary' x='10' y='10' width='20' height='20'/>\n";
    auto spans = [&](int levels) {
        std::string text = head + "<text id='deep'>";
        for (int i = 0; i < levels; ++i) text += "<tspan>";
        text += "A";
        for (int i = 0; i < levels; ++i) text += "</tspan>";
        return text + "</text></svg>";
    };
    struct Row {
        const char* shows;
        std::string text;
        std::string says;  // after "FILE:"; empty: the file loads
    } rows[] = {
        {"groups 256 deep load", nested(256), ""},
        {"groups 257 deep", nested(257), "2:770 (offset 837): <g>: groups are nested deeper than 256 levels"},
        {"groups 3000 deep", nested(3000), "2:770 (offset 837): <g>: groups are nested deeper than 256 levels"},
        {"a coordinate of 1e308", head + "<rect x='1e308' y='10' width='20' height='20'/></svg>",
         "3:2 (offset 152): <rect>: a point lies 3.52778e+304 m from the page origin, beyond the 100 m a cutter "
         "can reach"},
        {"a coordinate past any number", head + "<rect id='far' x='1e400' width='20' height='20'/></svg>",
         "3:2 (offset 152): <rect id=\"far\">: a point lies too far from the page origin to be held as a number, "
         "beyond the 100 m a cutter can reach"},
        {"path data past any number", head + "<path d='M0,0 L1e400,0'/></svg>",
         "3:2 (offset 152): <path>: a point lies too far from the page origin to be held as a number, beyond the "
         "100 m a cutter can reach"},
        {"a circle of radius 1e15", head + "<circle r='1e15'/></svg>",
         "3:2 (offset 152): <circle>: a point lies 3.52778e+11 m from the page origin, beyond the 100 m a cutter "
         "can reach"},
        {"101 m to the right", head + "<rect x='286300' width='1' height='1'/></svg>",
         "3:2 (offset 152): <rect>: a point lies 101 m from the page origin, beyond the 100 m a cutter can "
         "reach"},
        {"16 m to the right loads", head + "<rect x='45354' width='1' height='1'/></svg>", ""},
        {"exactly 100 m to the right loads", head + "<path d='M0,0 L283464.5669291339,0'/></svg>", ""},
        // Every entry of it is non-zero; its axes are parallel.
        {"a transform onto a line",
         head + "<g id='flat' transform='matrix(1 2 2 4 0 0)'><rect width='1' height='1'/></g></svg>",
         "3:2 (offset 152): <g id=\"flat\">: the transform \"matrix(1 2 2 4 0 0)\" has a zero scale: it flattens "
         "the art to nothing"},
        {"a transform of 10^400", head + "<rect transform='scale(1e200) scale(1e200)' width='1' height='1'/></svg>",
         "3:2 (offset 152): <rect>: the transform \"scale(1e200) scale(1e200)\" is not finite (with its parents' "
         "transforms)"},
        {"a matrix past any number", head + "<rect transform='matrix(1e400 0 0 1 0 0)' width='1' height='1'/></svg>",
         "3:2 (offset 152): <rect>: the transform \"matrix(1e400 0 0 1 0 0)\" is not finite (with its parents' "
         "transforms)"},
        {"a page height past any number",
         "<svg xmlns='http://www.w3.org/2000/svg' width='10cm' height='1e400cm'><rect width='1' height='1'/></svg>",
         "1:2 (offset 1): <svg>: the page size or viewBox is not a finite number"},
        {"a page too small to keep",
         "<svg xmlns='http://www.w3.org/2000/svg' width='1e-50pt' height='10pt' viewBox='0 0 10 10'></svg>",
         "1:2 (offset 1): <svg>: the page size is too small to hold anything"},
        {"a stroke width past any number", head + "<rect stroke='red' stroke-width='1e400' width='1' height='1'/></svg>",
         "3:2 (offset 152): <rect>: the stroke width is not a finite number"},
        {"a stroke 106 m wide", head + "<rect stroke='red' stroke-width='300000' width='1' height='1'/></svg>",
         "3:2 (offset 152): <rect>: the stroke width is beyond the 100 m a cutter can reach"},
        {"a font size past any number", head + "<text font-size='1e400'>Hi</text></svg>",
         "3:2 (offset 152): <text>: the font size is not a finite number"},
        {"tspans 256 deep load", spans(256), ""},
        {"tspans 257 deep", spans(257),
         "3:1810 (offset 1960): <tspan>: elements of a text are nested deeper than 256 levels"},
        {"tspans 100,000 deep", spans(100000),
         "3:1810 (offset 1960): <tspan>: elements of a text are nested deeper than 256 levels"},
        {"a '<' inside an attribute value", head + "<rect id='a<b' width='1' height='1'/></svg>",
         "3:12 (offset 162): not well-formed XML: a '<' inside an attribute value (write it &lt;)"},
        {"a '<' inside a value after a '>' one", head + "<rect id='a>b' width='1' height=\"<1\"/></svg>",
         "3:34 (offset 184): not well-formed XML: a '<' inside an attribute value (write it &lt;)"},
        {"'<' where XML allows it loads",
         "<?xml version='1.0'?><?note if a < b?>\n<!DOCTYPE svg SYSTEM \"x><a b='\" [<!ENTITY lt2 '<'> <!-- ' -->]>\n" +
             head +
             "<!-- <rect id='x<y'/> --><rect id='a&lt;b' title='x > y' width='1' height='1'/>"
             "<text><![CDATA[<'<']]>&lt;</text></svg>",
         ""},
        // What looks like the start of a tag with an open quote, right at the
        // end of each kind of markup that is passed over whole.
        {"a comment ending in \"<a'\" loads", head + "<!--<a'--><rect width='1' height='1'/></svg>", ""},
        {"a CDATA section ending in \"<a'\" loads",
         head + "<text><![CDATA[<a']]></text><rect width='1' height='1'/></svg>", ""},
        {"a processing instruction ending in \"<a'\" loads",
         head + "<?note <a'?><rect width='1' height='1'/></svg>", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        std::string path = dir_.file("hostile.svg");
        test::writeFile(path, row.text);
        std::string error;
        auto document = readSvgFile(documents(), path, error);
        if (row.says.empty()) {
            EXPECT_TRUE(document) << error;
        } else {
            EXPECT_FALSE(document);
            EXPECT_EQ(error, path + ":" + row.says);
        }
        EXPECT_EQ(test::readFile(path), row.text) << "the file is left as it was";
    }
}

TEST_F(SvgTest, AFileThatCannotBeReadSaysWhy)
{
    std::string error;
    EXPECT_FALSE(readSvgFile(documents(), dir_.file("missing.svg"), error));
    EXPECT_EQ(error, "cannot read " + dir_.file("missing.svg") + ": no such file");
    std::filesystem::create_directory(dir_.file("folder.svg"));
    EXPECT_FALSE(readSvgFile(documents(), dir_.file("folder.svg"), error));
    EXPECT_EQ(error, "cannot read " + dir_.file("folder.svg") + ": Is a directory");
}

// A host started with its standard input closed is given descriptor 0 for
// the first file it opens: that is a file like any other.
TEST_F(SvgTest, AFileOpenedOnDescriptorZeroIsRead)
{
    std::string path = dir_.file("first.svg"), error;
    test::writeFile(path, svg("<rect id='r' width='1' height='1'/>"));
    int input = ::dup(0);  // -1 when the test itself runs without one
    ::close(0);
    auto document = readSvgFile(documents(), path, error);
    if (input >= 0) {
        ::dup2(input, 0);
        ::close(input);
    }
    ASSERT_TRUE(document) << error;
    EXPECT_TRUE(byName(*document, "r"));
}

TEST_F(SvgTest, AFileParsedInPlaceStillNamesTheLineAndColumnOfAFault)
{
    // Entities, line ends and blanks in attributes are rewritten where the
    // file's copy lies; the place of a fault is the place in the file.
    const char* texts[] = {
        ("<svg xmlns='http://www.w3.org/2000/svg'>\r\n<rect title='a &amp; b\r\nc\td' width='1' height='1'/>\r\n"
         "<path d='M0 0 L10'/></svg>"),
        "<svg>\n<g>\n<path d='M0 0'>\n</g></svg>",
        "<svg><rect width='1' height='1' fill='#12345'/></svg>",
        "<svg>\r\n<rect title='a &amp; b' width='1' height='1' id=\"x < y\"/></svg>",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        test::writeFile(dir_.file("bad.svg"), text);
        std::string error;
        EXPECT_FALSE(readSvgFile(documents(), dir_.file("bad.svg"), error));
        EXPECT_EQ(error, dir_.path() + "/" + fail(text));
    }
}

TEST_F(SvgTest, ScriptOpensSelectsAndSaves)
{
    const std::string sign = VANTOREL_SOURCE_DIR "/samples/open-sign.svg";
    std::string error;
    ASSERT_TRUE(runScript("open " + sign + "\nselect O N\n", error)) << error;
    EXPECT_EQ(currentDocument()->fileName, sign) << "the document is known by the file it was read from";
    ASSERT_TRUE(runScript("save out.svg\n", error)) << error;
    EXPECT_EQ(currentDocument()->fileName, dir_.file("out.svg")) << "and then by the file it was saved as";
    ASSERT_TRUE(runScript("deselect\nnew-document\n", error)) << error;
    EXPECT_NE(scriptOutput_.str().find("selected 2 object(s)"), std::string::npos);
    std::string e2;
    auto saved = readSvgFile(documents(), dir_.file("out.svg"), e2);
    ASSERT_TRUE(saved) << e2;
    EXPECT_EQ(saved->layers().size(), 2u);
    EXPECT_FALSE(runScript("select nosuchid\n", error));
    EXPECT_NE(error.find("nosuchid"), std::string::npos);
    // Closing goes through; what follows finds no document.
    EXPECT_FALSE(runScript("close-document\nselect all\n", error));
    EXPECT_EQ(error, "line 2: select: no document is open");
}

// Hidden art is art the user cannot see: select all leaves it out, as does
// the selection of a group around it, and a script cannot pick it; it stays
// in the document and is saved back as it was.
TEST_F(SvgTest, HiddenArtIsKeptAndSavedButNeverSelected)
{
    test::writeFile(dir_.file("job.svg"), svg(R"(<g id="Shown">
  <rect id="plain" x="1" y="1" width="5" height="5"/>
  <rect id="gone" x="10" y="1" width="5" height="5" display="none"/>
  <rect id="unseen" x="20" y="1" width="5" height="5" style="visibility: hidden"/>
  <g id="word"><rect id="letter" x="30" y="1" width="5" height="5"/><g id="sublayer" style="display:none"><rect id="under" x="40" y="1" width="5" height="5"/></g></g>
  <g id="allHidden"><rect id="h1" x="50" y="1" width="5" height="5" visibility="hidden"/></g>
</g>
<g id="HiddenLayer" style="display:none"><rect id="onHidden" x="1" y="20" width="5" height="5"/></g>
<g id="InvisibleLayer" visibility="hidden"><rect id="onInvisible" x="1" y="30" width="5" height="5"/></g>)"));
    std::string error;
    ASSERT_TRUE(runScript("open job.svg\nselect all\nsave out.svg\n", error)) << error;
    EXPECT_NE(scriptOutput_.str().find("selected 2 object(s)"), std::string::npos) << scriptOutput_.str();
    Document& d = *currentDocument();
    std::vector<std::string> selected;
    for (ArtNode* a : d.allArt())
        if (a->attrs & kArtSelected) selected.push_back(a->name);
    EXPECT_EQ(selected, (std::vector<std::string>{"word", "letter", "plain"}))
        << "the sublayer hidden in a selected group stays unselected";

    for (const char* id : {"gone", "unseen", "under", "allHidden", "onHidden", "onInvisible"}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(runScript(std::string("select ") + id + "\n", error));
        EXPECT_NE(error.find("is hidden"), std::string::npos) << error;
    }

    auto opened = read(test::readFile(dir_.file("job.svg")));
    auto saved = read(test::readFile(dir_.file("out.svg")));
    ASSERT_TRUE(opened && saved);
    for (ArtNode* a : saved->allArt()) a->attrs &= ~kArtSelected;
    expectSameDocument(*opened, *saved);
    EXPECT_FALSE(saved->layerByTitle("InvisibleLayer")->visible);
}

}  // namespace
