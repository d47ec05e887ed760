// Registration marks end to end: vantorel-host runs the sample script on the
// printed label, the saved document holds one marks layer with its tagged
// marks group, a plot of it begins with the marks' command text, and the
// settings chosen in the dialog are written to the preferences at shutdown.
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "Core/MarkSetting.h"
#include "HostRun.h"
#include "SavedDocument.h"

using namespace vt;
using host::ArtNode;

namespace {

constexpr double kMm = 72.0 / 25.4;
const std::string kFourPointText = "\x1b.D4;0;0;1000:\x1b.D1;6400;4400:\r\n";

using test::RunResult;

// A saved document read in a host of its own, and what its marks layer holds.
class Saved : public test::SavedDocument {
public:
    using SavedDocument::SavedDocument;
    int marksLayers()
    {
        int n = 0;
        for (host::LayerNode* l : doc()->layers()) n += l->title == kMarksLayerTitle;
        return n;
    }
    // The tagged groups of the document.
    std::vector<ArtNode*> tagged()
    {
        std::vector<ArtNode*> out;
        for (ArtNode* a : doc()->allArt())
            if (a->tag(kTagAASSetting)) out.push_back(a);
        return out;
    }
};

int pathsWith(const ArtNode* group, size_t anchors, double widthMm)
{
    int n = 0;
    for (const ArtNode* p : group->children)
        n += p->type == kPathArt && p->segments.size() == anchors && !p->closed &&
             std::abs(p->style->stroke.width / kMm - widthMm) < 1e-4;
    return n;
}

using test::boundsMm;

void copySample(const test::TempDir& dir, const char* name)
{
    test::writeFile(dir.file(name), test::readFile(std::string(VANTOREL_SOURCE_DIR "/samples/") + name));
}

TEST(RegistrationMarks, TheSampleScriptDrawsFourPointMarksThatThePlotSendsFirst)
{
    test::TempDir dir;
    copySample(dir, "print-and-cut.svg");
    copySample(dir, "registration-marks.vts");
    RunResult r = test::host(dir, "run '" + dir.file("registration-marks.vts") + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("alert (message):  Warning: No Object Selected!"), std::string::npos) << r.output;

    Saved saved(dir.file("print-and-cut-marks.svg"));
    ASSERT_NE(saved.doc(), nullptr);
    EXPECT_EQ(saved.marksLayers(), 1);
    std::vector<ArtNode*> groups = saved.tagged();
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(*groups[0]->tag(kTagAASSetting), kFourPointText) << "the escape characters come back as they were";
    EXPECT_EQ(std::system(("xmllint --noout '" + dir.file("print-and-cut-marks.svg") + "'").c_str()), 0)
        << "the saved document is XML that any other program reads";
    EXPECT_EQ(pathsWith(groups[0], 3, 1.0), 4) << "four corners, 1 mm wide";
    EXPECT_EQ(pathsWith(groups[0], 2, 0.2), 1) << "one start mark, 0.2 mm wide";
    AIRealRect frame = boundsMm(groups[0]);
    EXPECT_NEAR(frame.right - frame.left, 160, 1e-3);
    EXPECT_NEAR(frame.top - frame.bottom, 110, 1e-3);

    RunResult cut = test::host(dir, "plot '" + dir.file("print-and-cut-marks.svg") + "' -o '" + dir.file("job.hpgl") +
                                     "' --plotter 'Generic 24in Drag Knife'");
    ASSERT_EQ(cut.status, 0) << cut.output;
    std::string job = test::readFile(dir.file("job.hpgl"));
    EXPECT_EQ(job.rfind(kFourPointText + "IN;", 0), 0u) << "the marks' text first, then the job";
}

TEST(RegistrationMarks, MultipleCopiesWithTheArtReplaceTheMarksAndTheThicknessIsKept)
{
    test::TempDir dir;
    copySample(dir, "print-and-cut.svg");
    copySample(dir, "registration-marks.vts");
    ASSERT_EQ(test::host(dir, "run '" + dir.file("registration-marks.vts") + "'").status, 0);
    test::writeFile(dir.file("copies.vts"), R"(open print-and-cut-marks.svg
select all
dialog "AASSetting Dialog"
  click 15
  type 17 2
  type 19 1
  click 22
  type 5 "1.5 mm"
  expect-glyphs
  save-picture marks-dialog.png
  click 24
end-dialog
select-dialog "PreProcess Plot"
click 13
save print-and-cut-copies.svg
)");
    RunResult r = test::host(dir, "run '" + dir.file("copies.vts") + "'");
    ASSERT_EQ(r.status, 0) << r.output;

    Saved saved(dir.file("print-and-cut-copies.svg"));
    ASSERT_NE(saved.doc(), nullptr);
    EXPECT_EQ(saved.marksLayers(), 1) << "the earlier marks layer is replaced";
    std::vector<ArtNode*> groups = saved.tagged();
    ASSERT_EQ(groups.size(), 1u);
    const std::string& text = *groups[0]->tag(kTagAASSetting);
    EXPECT_EQ(text, "\x1b.D3;2;1;0:" + kFourPointText) << "the copy count, then one copy's frame";
    EXPECT_EQ(pathsWith(groups[0], 3, 1.5), 8) << "eight corners, 1.5 mm wide";
    EXPECT_EQ(pathsWith(groups[0], 2, 0.2), 2) << "two start marks";

    // The copy of the label stands 160 mm to the right of it, on the marks layer.
    ArtNode* label = nullptr;
    ArtNode* copy = nullptr;
    for (ArtNode* a : saved.doc()->allArt()) {
        if (a->type != kPathArt || !a->closed) continue;
        (a->layer && a->layer->title == kMarksLayerTitle ? copy : label) = a;
    }
    ASSERT_NE(label, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_NEAR(boundsMm(copy).left - boundsMm(label).left, 160, 1e-3);
    EXPECT_NEAR(boundsMm(copy).bottom - boundsMm(label).bottom, 0, 1e-3);

    EXPECT_GT(test::readFile(dir.file("marks-dialog.png")).size(), 1000u) << "the dialog's picture";

    // Written at shutdown.
    std::string prefs = test::readFile(dir.file("prefs.json"));
    size_t key = prefs.find("\"MarkSetting_Thickness\"");
    ASSERT_NE(key, std::string::npos) << prefs;
    EXPECT_EQ(prefs.find("\"integer\": 1500", key), prefs.find("\"integer\"", key)) << prefs;
}

}  // namespace
