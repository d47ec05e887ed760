// Registration marks: the command text of every layout byte for byte, the
// corner, start and segment marks where the cutter's sensor looks for them,
// the grid of copies, and the marks layer replaced whole or not at all.
#include "Core/MarkSetting.h"

#include <clocale>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "DocumentFixture.h"
#include "Handlers/Handlers.h"
#include "PlotOut/PlotOut.h"

using namespace vt;
using namespace vt::host;

namespace {

using test::kMM;
const std::string ESC = "\x1b.";

// A rectangle of bounds in points from millimetres.
AIRealRect mmRect(double left, double bottom, double width, double height)
{
    return AIRealRect{(AIReal)(left * kMM), (AIReal)((bottom + height) * kMM), (AIReal)((left + width) * kMM),
                      (AIReal)(bottom * kMM)};
}

// The text of a layout. It fits a buffer of exactly its size; one byte short
// it is refused whole, with nothing half-written for the cutter to read.
std::string textOf(int32_t layout, int32_t code, AIRealRect bounds)
{
    char text[kAASTextSize];
    int32_t length = makeAASText(layout, code, bounds, text, sizeof text);
    if (length < 0) return "(does not fit)";
    EXPECT_EQ(size_t(length), std::strlen(text));
    std::vector<char> exact(size_t(length) + 1, 'x');
    EXPECT_EQ(makeAASText(layout, code, bounds, exact.data(), exact.size()), length);
    if (length > 0) {
        EXPECT_EQ(makeAASText(layout, code, bounds, exact.data(), size_t(length)), -1);
        EXPECT_EQ(exact[0], '\0');
    }
    return text;
}

class MarkSettingTest : public test::DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        if (HasFatalFailure()) return;
        setMarkDefaults();
    }
    void TearDown() override
    {
        setMarkDefaults();
        (void)releaseSuites(hostApp().basic());
    }

    ArtNode* rect(AIRealRect r, ArtNode* parent = nullptr)
    {
        ArtNode* p = d().newArt(kPathArt);
        p->segments = {cornerSegment(r.left, r.bottom), cornerSegment(r.right, r.bottom),
                       cornerSegment(r.right, r.top), cornerSegment(r.left, r.top)};
        p->closed = true;
        p->style = defaultPathStyle();
        d().place(p, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return p;
    }
    std::vector<LayerNode*> marksLayers()
    {
        std::vector<LayerNode*> found;
        for (LayerNode* l : d().layers())
            if (l->title == kMarksLayerTitle) found.push_back(l);
        return found;
    }
    // The one tagged marks group of the one marks layer.
    ArtNode* marksGroup()
    {
        std::vector<LayerNode*> layers = marksLayers();
        EXPECT_EQ(layers.size(), 1u);
        if (layers.size() != 1) return nullptr;
        ArtNode* found = nullptr;
        int tagged = 0;
        for (ArtNode* c : layers[0]->root->children)
            if (c->tag(kTagAASSetting)) {
                found = c;
                ++tagged;
            }
        EXPECT_EQ(tagged, 1);
        return found;
    }
    std::string marksText()
    {
        ArtNode* group = marksGroup();
        const std::string* text = group ? group->tag(kTagAASSetting) : nullptr;
        return text ? *text : "(none)";
    }
};

// Whether group holds an open mark path through these anchors (points), with
// its handles on them, painted as a mark of this stroke width.
bool hasMark(const ArtNode* group, const std::vector<std::pair<double, double>>& anchors, double width)
{
    for (const ArtNode* p : group->children) {
        if (p->type != kPathArt || p->segments.size() != anchors.size() || p->closed) continue;
        bool same = true;
        for (size_t i = 0; i < anchors.size() && same; i++) {
            const AIPathSegment& s = p->segments[i];
            same = std::fabs(s.p.h - anchors[i].first) < 1e-3 && std::fabs(s.p.v - anchors[i].second) < 1e-3 &&
                   s.in.h == s.p.h && s.in.v == s.p.v && s.out.h == s.p.h && s.out.v == s.p.v;
        }
        if (!same) continue;
        return !p->style->fillPaint && p->style->strokePaint && p->style->stroke.color.kind == kThreeColor &&
               p->style->stroke.color.c.rgb.red == 0 && p->style->stroke.color.c.rgb.green == 0 &&
               p->style->stroke.color.c.rgb.blue == 0 && std::fabs(p->style->stroke.width - width) < 1e-4;
    }
    return false;
}

int pathsWith(const ArtNode* group, size_t anchors)
{
    int n = 0;
    for (const ArtNode* p : group->children) n += p->type == kPathArt && p->segments.size() == anchors;
    return n;
}

// The four corner marks and the start mark around rect (points), for the
// default length 25 mm and margin 5 mm.
void expectCornerMarks(const ArtNode* group, AIRealRect r, double width, const std::string& what)
{
    double L = 25 * kMM, M = 5 * kMM;
    double xl = r.left - M - L, xr = r.right + M + L, yb = r.bottom - M - L, yt = r.top + M + L;
    EXPECT_TRUE(hasMark(group, {{r.left - M, yt}, {xl, yt}, {xl, r.top + M}}, width)) << what << ": top left";
    EXPECT_TRUE(hasMark(group, {{r.right + M, yt}, {xr, yt}, {xr, r.top + M}}, width)) << what << ": top right";
    EXPECT_TRUE(hasMark(group, {{r.left - M, yb}, {xl, yb}, {xl, r.bottom - M}}, width)) << what << ": bottom left";
    EXPECT_TRUE(hasMark(group, {{r.right + M, yb}, {xr, yb}, {xr, r.bottom - M}}, width)) << what << ": bottom right";
    double run = 6.013191792235572;
    EXPECT_NEAR(std::hypot(run, run) / kMM, 3.0, 1e-4) << "a 3 mm start mark";
    EXPECT_TRUE(hasMark(group, {{xl, yb}, {xl + run, yb + run}}, 0.2 * kMM)) << what << ": the start mark, 0.2 mm";
}

TEST_F(MarkSettingTest, TheCommandTextOfEveryLayoutByteForByte)
{
    struct Row {
        const char* shows;
        int32_t layout, code;
        AIRealRect bounds;
        void (*settings)();
        std::string text;
    } rows[] = {
        {"100 x 50 mm art, defaults: the 4-point text", kMarkLayout4Point, 0, mmRect(60, 45, 100, 50), [] {},
         ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n"},
        {"a frame narrower than the step plus 100 mm: both step fields 0", kMarkLayoutSegmental, 0,
         mmRect(60, 45, 100, 50), [] {}, ESC + "D2;6400;4400;0;0:" + ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n"},
        {"700 mm wide art: the X step 20000", kMarkLayoutSegmental, kMarkSegmentsTopBottom, mmRect(0, 0, 700, 50),
         [] {}, ESC + "D2;30400;4400;20000;0:" + ESC + "D4;0;0;1000:" + ESC + "D1;30400;4400:\r\n"},
        {"art large both ways: both steps", kMarkLayoutSegmental, kMarkSegmentsTopBottom | kMarkSegmentsLeftRight,
         mmRect(0, 0, 700, 700), [] { g->markYStep = 300000; },
         ESC + "D2;30400;30400;20000;12000:" + ESC + "D4;0;0;1000:" + ESC + "D1;30400;30400:\r\n"},
        {"only the left and right got marks: the Y step alone", kMarkLayoutSegmental, kMarkSegmentsLeftRight,
         mmRect(0, 0, 50, 700), [] {},
         ESC + "D2;4400;30400;0;20000:" + ESC + "D4;0;0;1000:" + ESC + "D1;4400;30400:\r\n"},
        {"2 x 1 copies: copies, then the space", kMarkLayoutMultipleCopies, 0, mmRect(60, 45, 100, 50),
         [] { g->markXCopies = 2; }, ESC + "D3;2;1;0:" + ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n"},
        {"3 x 4 copies 2.5 mm apart: the space in 0.025 mm units; one copy's frame", kMarkLayoutMultipleCopies, 0,
         mmRect(60, 45, 100, 50),
         [] {
             g->markXCopies = 3;
             g->markYCopies = 4;
             g->markSpace = 2500;
         },
         ESC + "D3;3;4;100:" + ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n"},
        {"other sizes: 12 mm arms 2 mm from art 33.3 mm across", kMarkLayout4Point, 0, mmRect(0, 0, 33.3, 10),
         [] {
             g->markLength = 12000;
             g->markMargin = 2000;
         },
         ESC + "D4;0;0;480:" + ESC + "D1;2452;1520:\r\n"},
        {"a fraction of a unit is written with a decimal point", kMarkLayout4Point, 0, mmRect(0, 0, 100, 50),
         [] { g->markLength = 25001; }, ESC + "D4;0;0;1000.04:" + ESC + "D1;6400.08;4400.08:\r\n"},
        {"art of 25 m: a million units and more in digits, never 1e+06", kMarkLayout4Point, 0,
         mmRect(0, 0, 25000, 50), [] {}, ESC + "D4;0;0;1000:" + ESC + "D1;1002400;4400:\r\n"},
        {"art a hair short of a million units: rounded up in digits, never 1e+06", kMarkLayout4Point, 0,
         mmRect(0, 0, 24939.995f, 50), [] {}, ESC + "D4;0;0;1000:" + ESC + "D1;1000000;4400:\r\n"},
        {"no layout: no text", kMarkLayoutNone, 0, mmRect(0, 0, 100, 50), [] {}, ""},
    };
    for (const Row& row : rows) {
        setMarkDefaults();
        row.settings();
        EXPECT_EQ(textOf(row.layout, row.code, row.bounds), row.text) << row.shows;
    }
}

TEST_F(MarkSettingTest, TheTextIsWrittenWithADecimalPointWhateverTheLocale)
{
    g->markSpace = 1;  // 0.04 units
    g->markXCopies = 2;
    std::string text;
    {
        test::DecimalCommaLocale german;
        text = textOf(kMarkLayoutMultipleCopies, 0, mmRect(0, 0, 100, 50));
    }
    EXPECT_EQ(text, ESC + "D3;2;1;0.04:" + ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n");
}

TEST_F(MarkSettingTest, FourPointMarksStandOnTheOuterFrameWithTheTextOnTheirGroup)
{
    LayerNode* art = d().layers().front();
    AIRealRect bounds = mmRect(60, 45, 100, 50);
    ASSERT_EQ(MakeAASSetting(bounds), kNoErr) << "0 on success";

    ASSERT_EQ(d().layers().size(), 2u);
    EXPECT_EQ(d().layers().front()->title, kMarksLayerTitle) << "above all layers";
    EXPECT_EQ(d().layers().back(), art);
    ArtNode* group = marksGroup();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, kGroupArt);
    EXPECT_EQ(marksText(), ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n");
    EXPECT_EQ(group->children.size(), 5u);
    EXPECT_EQ(pathsWith(group, 3), 4) << "four corners of three anchors";
    expectCornerMarks(group, bounds, 1 * kMM, "4-point");

    // The outer corners are 160 x 110 mm apart: the distances of the text.
    AIRealRect frame;
    ASSERT_TRUE(artBounds(group, false, frame));
    EXPECT_NEAR((frame.right - frame.left) / kMM, 160, 1e-3);
    EXPECT_NEAR((frame.top - frame.bottom) / kMM, 110, 1e-3);
}

TEST_F(MarkSettingTest, SegmentalMarksGoEveryStepUntil100mmShortOfTheFarEdge)
{
    struct Row {
        const char* shows;
        AIRealRect bounds;
        int32_t xStep, yStep;  // micrometres
        std::vector<double> xs, ys;  // mm from the left and from the top outer edge
        const char* d2;
        const char* d1;
    } rows[] = {
        {"100 x 50 mm: the frame is narrower than the step plus 100 mm", mmRect(60, 45, 100, 50), 500000, 500000,
         {}, {}, "D2;6400;4400;0;0:", "D1;6400;4400:"},
        {"700 mm wide: one pair 500 mm from the left, 260 mm left over", mmRect(0, 0, 700, 50), 500000, 500000,
         {500}, {}, "D2;30400;4400;20000;0:", "D1;30400;4400:"},
        {"700 x 700 mm: both ways", mmRect(0, 0, 700, 700), 500000, 500000, {500}, {500},
         "D2;30400;30400;20000;20000:", "D1;30400;30400:"},
        {"760 mm frame with 200 mm steps: 200, 400 and 600 mm, but not 800", mmRect(0, 0, 700, 50), 200000, 500000,
         {200, 400, 600}, {}, "D2;30400;4400;8000;0:", "D1;30400;4400:"},
        {"a 300 mm step in a 410 mm frame: 10 mm to spare", mmRect(0, 0, 350, 50), 300000, 500000, {300}, {},
         "D2;16400;4400;12000;0:", "D1;16400;4400:"},
    };
    for (const Row& row : rows) {
        documents().newDocument();
        doc_ = documents().current();
        g->mark4PointPosition = 0;
        g->markSegmentalPosition = 1;
        g->markXStep = row.xStep;
        g->markYStep = row.yStep;
        ASSERT_EQ(MakeAASSetting(row.bounds), kNoErr) << row.shows << ": 0, not the segment code";
        ArtNode* group = marksGroup();
        ASSERT_NE(group, nullptr) << row.shows;
        EXPECT_EQ(marksText(), ESC + row.d2 + ESC + "D4;0;0;1000:" + ESC + row.d1 + "\r\n") << row.shows;
        expectCornerMarks(group, row.bounds, 1 * kMM, row.shows);
        EXPECT_EQ(group->children.size(), 5 + 4 * (row.xs.size() + row.ys.size())) << row.shows;

        double L = 25 * kMM, M = 5 * kMM, w = 1 * kMM;
        double xl = row.bounds.left - M - L, xr = row.bounds.right + M + L;
        double yb = row.bounds.bottom - M - L, yt = row.bounds.top + M + L;
        for (double mm : row.xs) {
            double x = xl + mm * kMM;
            EXPECT_TRUE(hasMark(group, {{x - L, yt}, {x + L, yt}}, w)) << row.shows << ": top bar at " << mm;
            EXPECT_TRUE(hasMark(group, {{x, yt}, {x, yt - L}}, w)) << row.shows << ": top stem at " << mm;
            EXPECT_TRUE(hasMark(group, {{x - L, yb}, {x + L, yb}}, w)) << row.shows << ": bottom bar at " << mm;
            EXPECT_TRUE(hasMark(group, {{x, yb}, {x, yb + L}}, w)) << row.shows << ": bottom stem at " << mm;
        }
        for (double mm : row.ys) {
            double y = yt - mm * kMM;
            EXPECT_TRUE(hasMark(group, {{xl, y - L}, {xl, y + L}}, w)) << row.shows << ": left bar at " << mm;
            EXPECT_TRUE(hasMark(group, {{xl, y}, {xl + L, y}}, w)) << row.shows << ": left stem at " << mm;
            EXPECT_TRUE(hasMark(group, {{xr, y - L}, {xr, y + L}}, w)) << row.shows << ": right bar at " << mm;
            EXPECT_TRUE(hasMark(group, {{xr, y}, {xr - L, y}}, w)) << row.shows << ": right stem at " << mm;
        }
        int32_t code = -1;
        ArtNode* scratch = d().newArt(kGroupArt);
        d().place(scratch, kPlaceAboveAll, nullptr);
        ASSERT_EQ(MakeSegmentPosition(Document::handle(scratch), row.bounds, &code), kNoErr);
        EXPECT_EQ(code, (row.xs.empty() ? 0 : 1) + (row.ys.empty() ? 0 : 2)) << row.shows;
    }
}

TEST_F(MarkSettingTest, MultipleCopiesMarkEveryCopyAndCopyTheSelectedTopLevelArt)
{
    struct Row {
        const char* shows;
        int32_t across, up, space;  // space in micrometres
        uint8_t withOutline;
        double pitchX, pitchY;  // mm: W + 2M + 2L + S, H + 2M + 2L + S
    } rows[] = {
        {"2 x 1 with outline", 2, 1, 0, 1, 160, 110},
        {"2 x 2, 3 mm apart, with outline", 2, 2, 3000, 1, 163, 113},
        {"1 x 3 without outline", 1, 3, 0, 0, 160, 110},
    };
    for (const Row& row : rows) {
        documents().newDocument();
        doc_ = documents().current();
        AIRealRect bounds = mmRect(60, 45, 100, 50);
        ArtNode* label = rect(bounds);
        ArtNode* group = d().newArt(kGroupArt);
        d().place(group, kPlaceBelowAll, nullptr);
        ArtNode* inner = rect(mmRect(70, 50, 10, 10), group);
        d().setSelected(label, true);
        d().setSelected(group, true);  // selects the path inside too: it goes with its group
        g->mark4PointPosition = 0;
        g->markMultipleCopies = 1;
        g->markXCopies = row.across;
        g->markYCopies = row.up;
        g->markSpace = row.space;
        g->markCopiesWithOutline = row.withOutline;
        ASSERT_EQ(MakeAASSetting(bounds), kNoErr) << row.shows;

        ArtNode* marks = marksGroup();
        ASSERT_NE(marks, nullptr) << row.shows;
        int copies = row.across * row.up;
        EXPECT_EQ(pathsWith(marks, 3), 4 * copies) << row.shows << ": four corners a copy";
        EXPECT_EQ(pathsWith(marks, 2), copies) << row.shows << ": a start mark a copy";
        for (int i = 0; i < row.across; i++)
            for (int j = 0; j < row.up; j++) {
                AIRealRect at = bounds;
                at.left += (AIReal)(i * row.pitchX * kMM);
                at.right += (AIReal)(i * row.pitchX * kMM);
                at.bottom += (AIReal)(j * row.pitchY * kMM);
                at.top += (AIReal)(j * row.pitchY * kMM);
                expectCornerMarks(marks, at, 1 * kMM, std::string(row.shows) + " copy " + std::to_string(i) + "," +
                                                           std::to_string(j));
            }

        // The copies lie in the marks layer's root group, above the marks group.
        const auto& children = marksLayers()[0]->root->children;
        std::vector<ArtNode*> top(children.begin(), children.end());
        ASSERT_EQ(top.size(), 1u + (row.withOutline ? 2u * (copies - 1) : 0u)) << row.shows;
        EXPECT_EQ(top.back(), marks) << row.shows;
        int labels = 0, groups = 0;
        for (size_t k = 0; k + 1 < top.size(); k++) {
            ArtNode* copy = top[k];
            const ArtNode* source = copy->type == kPathArt ? label : group;
            (copy->type == kPathArt ? labels : groups)++;
            AIRealRect a, b;
            ASSERT_TRUE(artBounds(source, false, a));
            ASSERT_TRUE(artBounds(copy, false, b));
            double dx = (b.left - a.left) / kMM, dy = (b.bottom - a.bottom) / kMM;
            double i = std::round(dx / row.pitchX), j = std::round(dy / row.pitchY);
            EXPECT_NEAR(dx, i * row.pitchX, 1e-3) << row.shows;
            EXPECT_NEAR(dy, j * row.pitchY, 1e-3) << row.shows;
            EXPECT_FALSE(i == 0 && j == 0) << row.shows << ": the art itself stands at the first position";
        }
        if (row.withOutline) {
            EXPECT_EQ(labels, copies - 1) << row.shows;
            EXPECT_EQ(groups, copies - 1) << row.shows << ": the path inside the group is not copied alone";
        }
        EXPECT_EQ(inner->parent, group);
    }
}

TEST_F(MarkSettingTest, ASecondRunReplacesTheMarksAndNeverCopiesTheEarlierLayersArt)
{
    AIRealRect bounds = mmRect(60, 45, 100, 50);
    ArtNode* label = rect(bounds);
    d().setSelected(label, true);
    g->mark4PointPosition = 0;
    g->markMultipleCopies = 1;
    g->markXCopies = 2;
    g->markCopiesWithOutline = 1;
    ASSERT_EQ(MakeAASSetting(bounds), kNoErr);
    // Everything is selected now, the copy and the marks of the first run too.
    for (ArtNode* a : d().allArt()) d().setSelected(a, true);
    g->markXCopies = 3;
    ASSERT_EQ(MakeAASSetting(bounds), kNoErr);

    ASSERT_EQ(marksLayers().size(), 1u);
    EXPECT_EQ(d().layers().size(), 2u);
    EXPECT_EQ(marksText().substr(0, 11), ESC + "D3;3;1;0:");
    const auto& children = marksLayers()[0]->root->children;
    std::vector<ArtNode*> top(children.begin(), children.end());
    EXPECT_EQ(top.size(), 3u) << "two copies of the label and the marks group, nothing copied from the old layer";
    EXPECT_EQ(pathsWith(marksGroup(), 3), 12);
}

// While it lives, one operation of a suite the plug-in holds answers an error.
template <typename Suite>
class FailingOperation {
public:
    FailingOperation(Suite*& held, void (*breakIt)(Suite&)) : held_(held), saved_(held), copy_(*held)
    {
        breakIt(copy_);
        held_ = &copy_;
    }
    ~FailingOperation() { held_ = saved_; }

private:
    Suite*& held_;
    Suite* saved_;
    Suite copy_;
};

TEST_F(MarkSettingTest, AFailureKeepsTheEarlierMarksAndLeavesNoPartialLayer)
{
    AIRealRect bounds = mmRect(60, 45, 100, 50);
    ASSERT_EQ(MakeAASSetting(bounds), kNoErr);
    const std::string before = marksText();
    LayerNode* earlier = marksLayers()[0];

    struct Row {
        const char* shows;
        ASErr (*run)(AIRealRect);
    } rows[] = {
        {"the new layer cannot be titled",
         [](AIRealRect b) {
             FailingOperation<AILayerSuite> f(sAILayer, [](AILayerSuite& s) {
                 s.SetLayerTitle = [](AILayerHandle, const char*) -> ASErr { return 'NoTi'; };
             });
             return MakeAASSetting(b);
         }},
        {"a mark cannot be drawn",
         [](AIRealRect b) {
             FailingOperation<AIPathSuite> f(sAIPath, [](AIPathSuite& s) {
                 s.SetPathSegments = [](AIArtHandle, int32_t, int32_t, const AIPathSegment*) -> ASErr {
                     return 'NoSg';
                 };
             });
             return MakeAASSetting(b);
         }},
        {"the text cannot be tagged",
         [](AIRealRect b) {
             FailingOperation<AITagSuite> f(sAITag, [](AITagSuite& s) {
                 s.SetTag = [](AIArtHandle, const char*, const char*, const void*) -> ASErr { return 'NoTg'; };
             });
             return MakeAASSetting(b);
         }},
    };
    for (const Row& row : rows) {
        g->markSegmentalPosition = 1;
        EXPECT_NE(row.run(bounds), kNoErr) << row.shows << ": the failure is reported";
        EXPECT_EQ(d().layers().size(), 2u) << row.shows;
        ASSERT_EQ(marksLayers().size(), 1u) << row.shows;
        EXPECT_EQ(marksLayers()[0], earlier) << row.shows;
        EXPECT_EQ(marksText(), before) << row.shows << ": the earlier marks' text stays";
        EXPECT_EQ(marksGroup()->children.size(), 5u) << row.shows;
    }
}

TEST_F(MarkSettingTest, AJobSendsTheTextUntilTheLayerIsDeleted)
{
    ASSERT_EQ(MakeAASSetting(mmRect(60, 45, 100, 50)), kNoErr);
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    ASSERT_EQ(ExportAAS(kLanguageHPGL, stream), kNoErr);
    fflush(stream);
    EXPECT_EQ(std::string(buffer, size), ESC + "D4;0;0;1000:" + ESC + "D1;6400;4400:\r\n");

    AILayerHandle layer = nullptr;
    ASSERT_EQ(sAILayer->GetLayerByTitle(&layer, kMarksLayerTitle), kNoErr);
    ASSERT_EQ(sAILayer->DeleteLayer(layer), kNoErr);
    ASSERT_EQ(ExportAAS(kLanguageHPGL, stream), kNoErr);
    fflush(stream);
    EXPECT_EQ(size, 2u + 12 + 2 + 13 + 2) << "nothing more is sent";
    fclose(stream);
    free(buffer);
}

TEST_F(MarkSettingTest, WithoutALayoutTheLayerStaysEmptyAndCopiesNeedAMarksLayer)
{
    ArtNode* label = rect(mmRect(60, 45, 100, 50));
    d().setSelected(label, true);
    g->markXCopies = 2;
    EXPECT_EQ(DoArtMatrixCopy(mmRect(60, 45, 100, 50)), kNoErr);
    EXPECT_EQ(d().allArt().size(), 1u) << "no marks layer: nothing copied";

    g->mark4PointPosition = 0;
    ASSERT_EQ(MakeAASSetting(mmRect(60, 45, 100, 50)), kNoErr);
    ASSERT_EQ(marksLayers().size(), 1u);
    ASSERT_EQ(marksLayers()[0]->root->children.size(), 1u);
    ArtNode* group = marksLayers()[0]->root->children.front();
    EXPECT_TRUE(group->children.empty());
    EXPECT_EQ(group->tag(kTagAASSetting), nullptr);
}

}  // namespace
