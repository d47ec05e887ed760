// The command palette's preparation buttons end to end: vantorel-host runs a
// script that clicks them in the loaded module, saves the document, and the
// saved file is read back (and cut, for the outlined text).
#include <algorithm>
#include <cmath>
#include <regex>

#include "Documents/TextLayout.h"
#include "GlyphReference.h"
#include "HostRun.h"
#include "SavedDocument.h"

using namespace vt;
using host::ArtNode;

namespace {

using test::RunResult;

RunResult runScript(const test::TempDir& dir, const std::string& svg, const std::string& script)
{
    test::writeFile(dir.file("job.svg"), svg);
    test::writeFile(dir.file("session.vts"), script);
    return test::host(dir, "run '" + dir.file("session.vts") + "'");
}

using Saved = test::SavedDocument;
using test::boundsMm;

// The pen-down polylines of a plot file as hp2xx, a reader of our own, reads
// it (arcs flattened), in points of the page.
std::vector<std::vector<AIRealPoint>> cutAsHp2xxReadsIt(const test::TempDir& dir, const std::string& job)
{
    const std::string flat = dir.file("flat.hpgl"), log = dir.file("hp2xx.txt");
    EXPECT_EQ(std::system(("hp2xx -t -m hpgl -f '" + flat + "' '" + job + "' >'" + log + "' 2>&1 </dev/null").c_str()), 0)
        << test::readFile(log);
    // hp2xx writes its drawing moved to the lower left of its coordinate range.
    std::smatch m;
    std::string report = test::readFile(log), drawn = test::readFile(flat);
    std::regex range("Coordinate range: \\(([-0-9.e+]+), ([-0-9.e+]+)\\)");
    EXPECT_TRUE(std::regex_search(report, m, range)) << report;
    if (m.empty()) return {};
    const double x0 = std::stod(m[1]), y0 = std::stod(m[2]);
    const double stepToPoint = 0.025 * 72 / 25.4;
    std::vector<std::vector<AIRealPoint>> lines;
    std::regex point("P([UD])(-?[0-9.]+),(-?[0-9.]+);");
    for (auto it = std::sregex_iterator(drawn.begin(), drawn.end(), point); it != std::sregex_iterator(); ++it) {
        AIRealPoint p{float((std::stod((*it)[2]) + x0) * stepToPoint), float((std::stod((*it)[3]) + y0) * stepToPoint)};
        // hp2xx lifts the pen where nothing moves (after an arc): the run goes on.
        bool same = !lines.empty() && std::fabs(lines.back().back().h - p.h) < 1e-3 &&
                    std::fabs(lines.back().back().v - p.v) < 1e-3;
        if (((*it)[1] == "U" && !same) || lines.empty()) lines.emplace_back();
        lines.back().push_back(p);
    }
    return lines;
}

double distanceToSegment(AIRealPoint p, AIRealPoint a, AIRealPoint b)
{
    double dx = b.h - a.h, dy = b.v - a.v, len = dx * dx + dy * dy;
    double t = len > 0 ? std::clamp(((p.h - a.h) * dx + (p.v - a.v) * dy) / len, 0.0, 1.0) : 0.0;
    return std::hypot(p.h - (a.h + t * dx), p.v - (a.v + t * dy));
}

// How far the farthest point of each set of polylines lies from the other set.
double farthest(const std::vector<std::vector<AIRealPoint>>& from, const std::vector<std::vector<AIRealPoint>>& to)
{
    double worst = 0;
    for (const auto& line : from)
        for (AIRealPoint p : line) {
            double best = 1e30;
            for (const auto& other : to)
                for (size_t i = 0; i + 1 < other.size(); ++i)
                    best = std::min(best, distanceToSegment(p, other[i], other[i + 1]));
            worst = std::max(worst, best);
        }
    return worst;
}

// A frame of blanks beside the sign goes with the outline too: nothing the
// plot cannot cut is left in the selection.
TEST(PreProcessScripts, TextOutlineFromThePaletteGivesTheLettersOfTheFontAndCutsThem)
{
    test::TempDir dir;
    RunResult r = runScript(dir, R"(<svg xmlns="http://www.w3.org/2000/svg" width="300mm" height="100mm" viewBox="0 0 300 100">
  <text id="sign" x="10" y="60" font-size="25.4" font-family="DejaVu Sans" fill="black">Oi A</text>
  <text id="blanks" x="10" y="90" font-size="25.4" font-family="DejaVu Sans" fill="black">   </text>
</svg>)",
                            R"(open job.svg
select all
select-dialog "PreProcess Plot"
click 5
save outlined.svg
)");
    ASSERT_EQ(r.status, 0) << r.output;
    Saved saved(dir.file("outlined.svg"));
    EXPECT_TRUE(saved.all(kTextFrameArt).empty());
    auto compounds = saved.all(kCompoundPathArt);
    ASSERT_EQ(compounds.size(), 3u);
    std::sort(compounds.begin(), compounds.end(),
              [](ArtNode* a, ArtNode* b) { return boundsMm(a).left < boundsMm(b).left; });

    // Each compound path is its letter as FreeType reads it from the font: 72
    // points to the em, the baseline 40 mm above the page's foot, from 10 mm.
    const double mm = 72 / 25.4;
    test::ReferenceFont font(host::fontFileFor("DejaVu Sans"), 0);
    std::vector<test::ReferenceGlyph> letters = font.line("Oi A", 72, 10 * mm, 40 * mm);
    const size_t letterOf[3] = {0, 1, 3};
    std::vector<std::vector<AIRealPoint>> outlines;  // finely flattened, the reference for the cut
    for (size_t k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        std::vector<std::vector<AIPathSegment>> contours;
        double before = 0;
        for (ArtNode* c : compounds[k]->children) {  // front-most first
            AIRealRect b = boundsMm(c);
            double area = (b.right - b.left) * (b.top - b.bottom);
            EXPECT_GE(area, before) << "each smaller outline lies in front of the larger";
            before = area;
            EXPECT_TRUE(c->closed);
            contours.push_back(c->segments.toVector());
            outlines.emplace_back();
            for (size_t i = 0; i < c->segments.size(); ++i)
                for (int s = 0; s <= 32; ++s) outlines.back().push_back(test::pointOnContour(c->segments.toVector(), i, s / 32.0));
        }
        test::expectSameLetter(contours, letters[letterOf[k]], true);
    }

    // What is cut follows the letters both ways, within the fit's precision
    // (0.1 mm) and a step: no piece of the cut strays from them, and no piece of
    // them is left uncut.
    RunResult cut = test::host(dir, "plot '" + dir.file("outlined.svg") + "' -o '" + dir.file("job.hpgl") +
                                     "' --plotter 'Generic 24in Drag Knife'");
    ASSERT_EQ(cut.status, 0) << cut.output;
    auto lines = cutAsHp2xxReadsIt(dir, dir.file("job.hpgl"));
    EXPECT_EQ(lines.size(), 6u) << "one pen-down run for each of the six outlines";
    EXPECT_LT(farthest(lines, outlines), 0.15 * mm);
    EXPECT_LT(farthest(outlines, lines), 0.15 * mm);
}

TEST(PreProcessScripts, InvertedTextLineWidthAndContourOffsetFromThePalette)
{
    test::TempDir dir;
    RunResult r = runScript(dir, R"(<svg xmlns="http://www.w3.org/2000/svg" width="300mm" height="200mm" viewBox="0 0 300 200">
  <text id="word" x="20" y="30" font-size="20" font-family="DejaVu Sans" fill="black">AB</text>
  <path id="line" d="M20 60 L120 60" stroke="black" stroke-width="2" fill="none"/>
  <rect id="panel" x="20" y="100" width="100" height="50" fill="none" stroke="black" stroke-width="0.5"/>
</svg>)",
                            R"(open job.svg
select-dialog "PreProcess Plot"
select word
click 6
deselect
select line
click 7
deselect
select panel
dialog "OffsetSize Dialog"
  expect-title "Contour Offset"
  click 1
end-dialog
click 8
expect-dialog "OffsetSize Dialog" 1
save prepared.svg
)");
    ASSERT_EQ(r.status, 0) << r.output;
    Saved saved(dir.file("prepared.svg"));
    ASSERT_NE(saved.doc(), nullptr);

    // "BA" to the right of "AB", where "AB" ends.
    auto texts = saved.all(kTextFrameArt);
    ASSERT_EQ(texts.size(), 2u);
    ArtNode* word = texts[0]->textFrame->text == "AB" ? texts[0] : texts[1];
    ArtNode* copy = texts[0]->textFrame->text == "AB" ? texts[1] : texts[0];
    EXPECT_EQ(copy->textFrame->text, "BA");
    AIRealRect w = boundsMm(word), c = boundsMm(copy);
    EXPECT_NEAR(c.left, w.right, 1e-3);
    EXPECT_NEAR(c.bottom, w.bottom, 1e-3);

    // The 2 mm stroke of the 100 mm line is a filled, unstroked 100 x 2 mm area.
    host::LayerNode* art = saved.doc()->layerByTitle("Layer 1");
    ASSERT_NE(art, nullptr);
    std::vector<ArtNode*> areas;
    for (ArtNode* a : saved.all(kPathArt))
        if (a->layer == art && a->name != "panel") areas.push_back(a);
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_TRUE(areas[0]->style->fillPaint);
    EXPECT_FALSE(areas[0]->style->strokePaint);
    AIRealRect a = boundsMm(areas[0]);
    EXPECT_NEAR(a.right - a.left, 100, 1e-3);
    EXPECT_NEAR(a.top - a.bottom, 2, 1e-3);

    // One 102 x 52 mm contour on "Layer of Offset Data".
    host::LayerNode* offsets = saved.doc()->layerByTitle("Layer of Offset Data");
    ASSERT_NE(offsets, nullptr);
    std::vector<ArtNode*> contours;
    for (ArtNode* p : saved.all(kPathArt))
        if (p->layer == offsets) contours.push_back(p);
    ASSERT_EQ(contours.size(), 1u);
    AIRealRect o = boundsMm(contours[0]);
    EXPECT_NEAR(o.right - o.left, 102, 1e-2);
    EXPECT_NEAR(o.top - o.bottom, 52, 1e-2);
}

}  // namespace
