// The command palette's preparation buttons end to end: vantorel-host runs a
// script that clicks them in the loaded module, saves the document, and the
// saved file is read back (and cut, for the outlined text).
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

// A frame of blanks beside the sign goes with the outline too: nothing the
// plot cannot cut is left in the selection.
TEST(PreProcessScripts, TextOutlineFromThePaletteLeavesThreeCompoundPathsThatCut)
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
    for (ArtNode* c : compounds) EXPECT_EQ(c->children.size(), 2u);

    RunResult cut = test::host(dir, "plot '" + dir.file("outlined.svg") + "' -o '" + dir.file("job.hpgl") +
                                     "' --plotter 'Generic 24in Drag Knife'");
    ASSERT_EQ(cut.status, 0) << cut.output;
    std::string job = test::readFile(dir.file("job.hpgl"));
    EXPECT_EQ(job.rfind("IN;", 0), 0u);
    EXPECT_GE(std::count(job.begin(), job.end(), 'U'), 6) << "a pen-up move to each of the six outlines";
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
    ArtNode* word = texts[0]->text == "AB" ? texts[0] : texts[1];
    ArtNode* copy = texts[0]->text == "AB" ? texts[1] : texts[0];
    EXPECT_EQ(copy->text, "BA");
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
    EXPECT_TRUE(areas[0]->style.fillPaint);
    EXPECT_FALSE(areas[0]->style.strokePaint);
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
