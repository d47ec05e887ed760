// The split palette: made hidden at start, its items, the panel order's
// arrows, the guide grid of Do, OK, the legend, and the bounds of the
// selection; and the whole road from a script: a banner cut into panels.
#include <cairo.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/Split.h"
#include "Dialog/SplitDialog.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "DocumentFixture.h"
#include "Toolkit/Driver.h"

using namespace vt;
using namespace vt::host;
using host::toolkit::Dialog;
using host::toolkit::Driver;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

const float kCell = 283.46457f;  // 100 mm, as the cell items hold it
using test::kids;
using test::kMM;

// The suites held for the plug-in functions a test calls itself.
class HeldSuites {
public:
    explicit HeldSuites(SPBasicSuite* basic) : basic_(basic) { EXPECT_EQ(acquireSuites(basic_), kNoErr); }
    ~HeldSuites() { EXPECT_EQ(releaseSuites(basic_), kNoErr); }

private:
    SPBasicSuite* basic_;
};

class SplitDialogTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        g_artSplitGroup = nullptr;  // the plug-in's globals outlive a session in the test program
        doc_ = &documents().newDocument();
        doc_->page = AIRealRect{0, 1000, 2000, 0};
    }
    Document& d() { return *doc_; }
    ArtNode* root() { return d().layers().front()->root; }
    Dialog* palette() { return Toolkit::get().findDialog(kSplitDialog.name); }
    Item* item(int32_t id) { return palette()->item(id); }

    ArtNode* rect(float l, float b, float r, float t, ArtNode* parent = nullptr)
    {
        ArtNode* p = d().newArt(kPathArt);
        p->segments = {cornerSegment(l, b), cornerSegment(r, b), cornerSegment(r, t), cornerSegment(l, t)};
        p->closed = true;
        p->style = defaultPathStyle();
        d().place(p, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return p;
    }
    // Runs script lines on the palette, as a person using it between host
    // messages: the test holds no suites meanwhile.
    void use(const std::string& lines)
    {
        std::string error;
        ASSERT_TRUE(runScript("select-dialog \"Split Dialog\"\n" + lines, error)) << error;
    }
    // The guides of the guide group: upright ones by x, level ones by y.
    void guideLines(std::vector<float>& xs, std::vector<float>& ys)
    {
        xs.clear();
        ys.clear();
        ArtNode* group = d().art(g_artSplitGroup);
        if (!group) return;
        for (ArtNode* p : kids(group)) {
            EXPECT_TRUE(p->guide);
            EXPECT_FALSE(p->closed);
            EXPECT_EQ(p->segments.size(), 2u);
            const AIPathSegment& a = p->segments[0];
            const AIPathSegment& b = p->segments[1];
            if (a.p.h == b.p.h) {
                xs.push_back(a.p.h);
                EXPECT_FLOAT_EQ(a.p.v, 0) << "from the page's bottom";
                EXPECT_FLOAT_EQ(b.p.v, 1000) << "to its top";
            } else {
                ys.push_back(a.p.v);
                EXPECT_FLOAT_EQ(a.p.h, 0);
                EXPECT_FLOAT_EQ(b.p.h, 2000);
            }
        }
        std::sort(xs.begin(), xs.end());
        std::sort(ys.begin(), ys.end());
    }

    Document* doc_ = nullptr;
};

TEST_F(SplitDialogTest, ThePaletteIsMadeHiddenWhenTheApplicationStartsAndGoesAtShutdown)
{
    ASSERT_NE(palette(), nullptr);
    EXPECT_EQ(ADMDialogRef(palette()), g->splitPanel);
    EXPECT_FALSE(palette()->visible);
    EXPECT_EQ(palette()->resourceId, kSplitDialog.resource);
    EXPECT_EQ(palette()->style, kADMFloatingDialogStyle);
    EXPECT_EQ(palette()->width(), 278);
    EXPECT_EQ(palette()->height(), 168);
    EXPECT_EQ(palette()->title, "Split into Panels");
    EXPECT_EQ(palette()->items.size(), 21u);
    EXPECT_EQ(item(kSplitMarkWidthLabelItem)->justify, kADMRightJustify);
    EXPECT_EQ(item(kSplitCellHeightLabelItem)->justify, kADMRightJustify);
    EXPECT_EQ(item(kSplitSortPictureItem)->picture, 1063);
    EXPECT_EQ(item(kSplitMoreOptionsItem)->picture, 1076);
    EXPECT_EQ(item(kSplitMarkStyleItem)->list->entries.size(), 6u);
    EXPECT_EQ(item(kSplitMarkStyleItem)->list->active()->text, "Circle");
    EXPECT_EQ(item(kSplitMarkWidthItem)->displayText(), "5.00 mm");
    EXPECT_EQ(item(kSplitCellWidthItem)->displayText(), "100.00 mm");
    EXPECT_EQ(hostApp().registry().openCount(kAIArtSuite), 1)
        << "the split palette holds no suites between messages; the command palette holds one acquisition";
    EXPECT_EQ(session().shutdown(), kNoErr);
    EXPECT_EQ(Toolkit::get().findDialog(kSplitDialog.name), nullptr);
}

TEST_F(SplitDialogTest, TheOrderArrowsWrapRoundAndThePictureFollows)
{
    struct Row {
        const char* shows;
        const char* steps;
        int32_t order;
    } rows[] = {
        {"down from 1 to 8", "spin 12 down", 8},
        {"down again", "spin 12 down", 7},
        {"up twice, past 8 to 1", "spin 12 up 2", 1},
        {"up", "spin 12 up", 2},
    };
    for (const Row& row : rows) {
        use(std::string(row.steps) + "\n");
        EXPECT_EQ(g->splitSortMethod, row.order) << row.shows;
        EXPECT_EQ(item(kSplitSortPictureItem)->picture, 1062 + row.order) << row.shows;
        EXPECT_EQ(item(kSplitSortMethodItem)->value, row.order) << row.shows;
    }
    std::string error;
    EXPECT_FALSE(runScript("select-dialog \"Split Dialog\"\ntype 12 5\n", error));
    EXPECT_NE(error.find("switched off"), std::string::npos) << "only the arrows: " << error;
}

TEST_F(SplitDialogTest, MoreOptionsShowsTheGridItemsAndHidesThemAgain)
{
    use("click 17\nsave-picture split.png\n");
    EXPECT_EQ(palette()->height(), 214);
    EXPECT_EQ(item(kSplitMoreOptionsItem)->picture, 1077);
    cairo_surface_t* png = cairo_image_surface_create_from_png(dir_.file("split.png").c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 278);
    EXPECT_EQ(cairo_image_surface_get_height(png), 214);
    cairo_surface_flush(png);
    uint32_t centre;
    // The legend's circle left of its picture, filled: the frame lies at 175, 5.
    std::memcpy(&centre, cairo_image_surface_get_data(png) + (5 + 45) * cairo_image_surface_get_stride(png) + (175 + 9) * 4, 4);
    EXPECT_EQ(centre & 0xFFFFFF, 0x0000FFu);
    cairo_surface_destroy(png);
    use("click 17\n");
    EXPECT_EQ(palette()->height(), 168);
    EXPECT_EQ(item(kSplitMoreOptionsItem)->picture, 1076);
}

TEST_F(SplitDialogTest, DoDrawsGuidesEveryCellAcrossTheSelectionSpanningThePage)
{
    struct Row {
        const char* shows;
        float width, height;  // of the selection, points
        std::vector<float> xs, ys;  // guides from the selection's left and bottom
    } rows[] = {
        {"250 x 80 mm", float(250 * kMM), float(80 * kMM), {kCell, 2 * kCell}, {}},
        {"exactly two cells wide", 2 * kCell, 100, {kCell}, {}},
        {"wider and taller than a cell", 1.5f * kCell, 2.5f * kCell, {kCell}, {kCell, 2 * kCell}},
        {"one cell", kCell, kCell, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        doc_ = &documents().newDocument();
        d().page = AIRealRect{0, 1000, 2000, 0};
        g_artSplitGroup = nullptr;
        ArtNode* r = rect(40, 30, 40 + row.width, 30 + row.height);
        d().setSelected(r, true);
        use("click 17\nclick 22\n");
        std::vector<float> xs, ys;
        guideLines(xs, ys);
        ASSERT_EQ(xs.size(), row.xs.size());
        ASSERT_EQ(ys.size(), row.ys.size());
        for (size_t i = 0; i < xs.size(); i++) EXPECT_FLOAT_EQ(xs[i], 40 + row.xs[i]);
        for (size_t i = 0; i < ys.size(); i++) EXPECT_FLOAT_EQ(ys[i], 30 + row.ys[i]);
        if (row.xs.empty() && row.ys.empty()) {
            EXPECT_EQ(g_artSplitGroup, nullptr) << "no group for no guides";
        }
    }
}

TEST_F(SplitDialogTest, TheGridStopsWhereAStepNoLongerMovesAndAtAThousandGuides)
{
    HeldSuites held(hostApp().basic());
    struct Row {
        const char* shows;
        float left, width, cell;
        size_t guides;
    } rows[] = {
        {"cells of 1 point over 5000 points", 0, 5000, 1, kSplitMaxGuides},
        {"cells of 1 point where a float steps by 8", 1e8f, 64, 1, 1},
        {"cells of 10 points over 95", 0, 95, 10, 9},
    };
    for (const Row& row : rows) {
        doc_ = &documents().newDocument();
        d().page = AIRealRect{0, 1000, 2000, 0};
        g_artSplitGroup = nullptr;
        d().setSelected(rect(row.left, 0, row.left + row.width, 0.5f), true);
        ASSERT_EQ(drawSplitLine(row.cell, 1000, 0), kNoErr) << row.shows;
        ASSERT_NE(g_artSplitGroup, nullptr) << row.shows;
        EXPECT_EQ(d().art(g_artSplitGroup)->children.size(), row.guides) << row.shows;
    }
}

TEST_F(SplitDialogTest, DoAgainAddsASecondSetToTheSameGroupAndADeletedGroupIsReplaced)
{
    ArtNode* r = rect(0, 0, 250 * kMM, 50);
    d().setSelected(r, true);
    use("click 22\n");
    AIArtHandle first = g_artSplitGroup;
    use("click 22\n");
    EXPECT_EQ(g_artSplitGroup, first);
    EXPECT_EQ(d().art(first)->children.size(), 4u);
    d().dispose(d().art(first));
    use("click 22\n");
    ASSERT_NE(g_artSplitGroup, first);
    EXPECT_EQ(d().art(g_artSplitGroup)->children.size(), 2u);
}

TEST_F(SplitDialogTest, TheSelectedBoundsLeaveOutStrokesTheMarksLayerAndArtInsideGroups)
{
    HeldSuites held(hostApp().basic());
    ArtNode* stroked = rect(10, 20, 110, 70);
    stroked->style.edit().strokePaint = 1;
    stroked->style.edit().stroke.width = 10;
    LayerNode* marksLayer = d().insertLayer(0, "Layer of 4 Marks Printed");
    ArtNode* mark = d().newArt(kPathArt);
    mark->segments = {cornerSegment(-50, -50), cornerSegment(-40, -50), cornerSegment(-40, -40)};
    d().place(mark, kPlaceInsideOnTop, marksLayer->root);
    ArtNode* gr = d().newArt(kGroupArt);
    d().place(gr, kPlaceBelowAll, nullptr);
    ArtNode* inner = rect(500, 500, 600, 600, gr);

    struct Row {
        const char* shows;
        std::vector<ArtNode*> selected;
        ASErr result;
        AIRealRect bounds;
    } rows[] = {
        {"nothing selected", {}, 1, {}},
        {"a stroked rectangle: the path alone", {stroked}, kNoErr, {10, 70, 110, 20}},
        {"only art on the marks layer", {mark}, 1, {}},
        {"the marks layer's art is left out", {mark, stroked}, kNoErr, {10, 70, 110, 20}},
        {"only an object inside a group", {inner}, 1, {}},
    };
    for (const Row& row : rows) {
        for (ArtNode* a : d().allArt()) d().setSelected(a, false);
        for (ArtNode* a : row.selected) d().setSelected(a, true);
        AIRealRect b{-1, -1, -1, -1};
        EXPECT_EQ(getSelectedArtBound(&b), row.result) << row.shows;
        if (row.result == kNoErr) {
            EXPECT_FLOAT_EQ(b.left, row.bounds.left) << row.shows;
            EXPECT_FLOAT_EQ(b.top, row.bounds.top) << row.shows;
            EXPECT_FLOAT_EQ(b.right, row.bounds.right) << row.shows;
            EXPECT_FLOAT_EQ(b.bottom, row.bounds.bottom) << row.shows;
        } else {
            EXPECT_FLOAT_EQ(b.left, -1) << row.shows << ": the rectangle is not written";
        }
        EXPECT_EQ(drawSplitLine(10, 10, 0), kNoErr) << row.shows;
        if (row.result != kNoErr) {
            EXPECT_EQ(g_artSplitGroup, nullptr) << row.shows << ": Do draws nothing";
        }
        g_artSplitGroup = nullptr;
    }
    EXPECT_TRUE(stroked->style->strokePaint) << "the stroke is switched on again";
    EXPECT_FLOAT_EQ(stroked->style->stroke.width, 10);
}

TEST_F(SplitDialogTest, OKWithoutGuidesOnlyStoresTheSettings)
{
    ArtNode* r = rect(0, 0, 300, 100);
    d().setSelected(r, true);
    use("choose 2 Diamond\ntype 4 \"7 mm\"\ntype 6 \"3 mm\"\ntype 8 \"10 mm\"\ntype 10 \"2 mm\"\n");
    EXPECT_DOUBLE_EQ(g->splitMarkWidth, 5.0) << "not before OK";
    EXPECT_EQ(g->splitMarkStyle, kSplitMarkCircle);
    use("click 15\n");
    EXPECT_NEAR(g->splitMarkWidth, 7.0, 1e-5);
    EXPECT_NEAR(g->splitMarkHeight, 3.0, 1e-5);
    EXPECT_NEAR(g->splitOverlapX, 10.0, 1e-5);
    EXPECT_NEAR(g->splitOverlapY, 2.0, 1e-5);
    EXPECT_EQ(g->splitMarkStyle, kSplitMarkDiamond);
    EXPECT_EQ(root()->children.size(), 1u);
    EXPECT_TRUE(d().art(Document::handle(r))) << "nothing was cut";
}

TEST_F(SplitDialogTest, OKForgetsAGuideGroupTheUserDeleted)
{
    ArtNode* r = rect(0, 0, 300, 100);
    d().setSelected(r, true);
    ArtNode* gone = d().newArt(kGroupArt);
    d().place(gone, kPlaceAboveAll, nullptr);
    g_artSplitGroup = Document::handle(gone);
    d().dispose(gone);
    use("click 15\n");
    EXPECT_EQ(g_artSplitGroup, nullptr);
    EXPECT_TRUE(d().art(Document::handle(r)));
}

TEST_F(SplitDialogTest, AStylePopupWithoutAnActiveEntryKeepsTheStyle)
{
    use("choose 2 Rectangle\n");
    EXPECT_EQ(g_iAlignStyle, kSplitMarkRectangle);
    for (auto& e : item(kSplitMarkStyleItem)->list->entries) e->active = e->selected = false;
    Toolkit::get().notify(item(kSplitMarkStyleItem), kADMUserChangedNotifier);
    EXPECT_EQ(g_iAlignStyle, kSplitMarkRectangle);
    use("click 15\n");
    EXPECT_EQ(g->splitMarkStyle, kSplitMarkRectangle);
}

TEST_F(SplitDialogTest, TheLegendShowsTheChosenMarkOnEachCuttingLine)
{
    palette()->visible = true;
    Item* legend = item(kSplitLegendItem);
    struct Row {
        const char* entry;
        const char* glyph;  // the call that paints the glyph left of the picture
        size_t calls;       // glyph calls in all: two lines across with two each, one down with two
    } rows[] = {
        {"Circle", "DrawOval 39 3 51 15 color=0x0000FF", 6 * 6},
        {"Rectangle", "DrawPolygon 4 3,39 15,39 15,51 3,51 color=0x0000FF", 6},
        {"Triangle Up", "DrawPolygon 3 3,45 15,39 15,51 color=0x0000FF", 6},  // apex left, away from the picture
        {"Triangle Down", "DrawPolygon 3 15,45 3,39 3,51 color=0x0000FF", 6},
        {"Diamond", "DrawPolygon 4 9,39 15,45 9,51 3,45 color=0x0000FF", 6},
        {"No Marks", nullptr, 0},
    };
    for (const Row& row : rows) {
        // The choice itself has the legend painted again, with no draw asked.
        legend->calls.clear();
        use(std::string("choose 2 \"") + row.entry + "\"\n");
        const std::vector<std::string>& calls = legend->calls;
        ASSERT_GE(calls.size(), 5u) << row.entry;
        EXPECT_EQ(calls[0], "FillRect 0 0 135 100 color=0xFFFFFF") << row.entry;
        EXPECT_EQ(calls[1], "DrawPicture 5002 19 33 color=0xFFFFFF") << row.entry;
        EXPECT_EQ(calls[2], "DrawLine 0 45 100 45 color=0x00FF00") << row.entry << ": a cutting line across";
        size_t glyphs = 0;
        for (const std::string& c : calls) glyphs += c.rfind("DrawOval", 0) == 0 || c.rfind("DrawPolygon", 0) == 0;
        EXPECT_EQ(glyphs, row.calls) << row.entry;
        if (row.glyph) {
            EXPECT_EQ(calls[3], row.glyph) << row.entry;
        }
        if (std::string(row.entry).rfind("Triangle", 0) == 0) {
            // On every side of the picture, Up points away from it and Down
            // towards it: the apex stands a glyph's height (12 pixels) off the
            // middle of the base, on the far (near) side of it from the middle
            // of all the glyphs.
            std::vector<std::array<double, 6>> triangles;
            for (const std::string& c : calls) {
                std::array<double, 6> t;
                if (std::sscanf(c.c_str(), "DrawPolygon 3 %lf,%lf %lf,%lf %lf,%lf", &t[0], &t[1], &t[2], &t[3], &t[4],
                                &t[5]) == 6)
                    triangles.push_back(t);
            }
            ASSERT_EQ(triangles.size(), row.calls) << row.entry;
            double cx = 0, cy = 0;
            for (const auto& t : triangles) {
                cx += (t[0] + t[2] + t[4]) / (3.0 * triangles.size());
                cy += (t[1] + t[3] + t[5]) / (3.0 * triangles.size());
            }
            bool up = std::string(row.entry) == "Triangle Up";
            for (const auto& t : triangles) {
                double bx = (t[2] + t[4]) / 2, by = (t[3] + t[5]) / 2;
                double ax = t[0] - bx, ay = t[1] - by;
                EXPECT_EQ(std::hypot(ax, ay), 12.0) << row.entry << " at " << t[0] << "," << t[1];
                EXPECT_EQ(ax * (bx - cx) + ay * (by - cy) > 0, up) << row.entry << " at " << t[0] << "," << t[1];
            }
        }
        if (std::string(row.entry) == "Circle") {
            // Above and below the picture, on the line down the middle.
            for (const char* glyph : {"DrawOval 17 44 29 56 color=0x0000FF", "DrawOval 105 44 117 56 color=0x0000FF"})
                EXPECT_NE(std::find(calls.begin(), calls.end(), glyph), calls.end()) << glyph;
        }
    }
}

// ---- The whole road ----------------------------------------------------------------

std::string hostCommand(const test::TempDir& dir, const std::string& script)
{
    return std::string("'") + VANTOREL_HOST_EXE + "' --prefs '" + dir.file("prefs.json") + "' --plugin-folder '" +
           dir.file("Plug-ins") + "' --resources '" + VANTOREL_SOURCE_DIR + "/Resources' --module '" +
           VANTOREL_MODULE_PATH + "' run '" + script + "' 2>&1";
}

TEST(SplitScript, TheSampleBannerIsCutIntoThreeOverlappingPanelsWithMarksBesideTheGuides)
{
    test::TempDir dir;
    for (const char* name : {"banner.svg", "split-panels.vts"})
        std::filesystem::copy_file(std::string(VANTOREL_SOURCE_DIR "/samples/") + name, dir.file(name));
    std::string output;
    FILE* pipe = popen(hostCommand(dir, dir.file("split-panels.vts")).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;

    Documents store;
    std::string error;
    std::unique_ptr<Document> saved = readSvgFile(store, dir.file("banner-panels.svg"), error);
    ASSERT_TRUE(saved) << error;
    ASSERT_EQ(saved->layers().size(), 1u);
    std::vector<ArtNode*> groups = kids(saved->layers().front()->root);
    ASSERT_EQ(groups.size(), 3u) << "three panels; neither the banner nor the guides are left";

    // The banner spans 25 to 275 mm, 20 to 100 mm from the page's bottom.
    const double left = 25 * kMM;
    std::vector<std::pair<double, double>> spans;
    int marks = 0;
    for (ArtNode* panel : groups) {
        ASSERT_EQ(panel->type, kGroupArt);
        for (ArtNode* part : kids(panel)) {
            AIRealRect b;
            ASSERT_TRUE(artBounds(part, false, b));
            // The outlines are the banner's height; the marks 5 mm.
            if (b.top - b.bottom > 100) {
                spans.push_back({(b.left - left) / kMM, (b.right - left) / kMM});
                EXPECT_NEAR(b.bottom, 20 * kMM, 1e-3);
                EXPECT_NEAR(b.top, 100 * kMM, 1e-3);
            } else {
                ++marks;
                EXPECT_NEAR(b.right - b.left, 5 * kMM, 1e-3);
                EXPECT_NEAR(b.top - b.bottom, 5 * kMM, 1e-3);
                double x = (b.left + b.right) / 2 / kMM - 25;
                EXPECT_TRUE(std::fabs(x - 97.5) < 1e-3 || std::fabs(x - 197.5) < 1e-3) << "beside a guide: " << x;
            }
        }
    }
    std::sort(spans.begin(), spans.end());
    ASSERT_EQ(spans.size(), 3u);
    const double expected[3][2] = {{0, 100}, {90, 200}, {190, 250}};
    for (int k = 0; k < 3; k++) {
        EXPECT_NEAR(spans[k].first, expected[k][0], 1e-3) << "panel " << k;
        EXPECT_NEAR(spans[k].second, expected[k][1], 1e-3) << "panel " << k;
    }
    EXPECT_EQ(marks, 8);
}

}  // namespace
