// Loading the selection into the cut model: volumes in query order, rings and
// their order, segments, colours, bounds without strokes, the marks layer, the
// selection gate and the current plotter read from the preferences.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Dialog/SplitDialog.h"
#include "CurrentPlotterPrefs.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "HostFixture.h"
#include "Suites/SuiteTables.h"

using namespace vt;
using namespace vt::host;

namespace {

class CutModelTest : public test::HostTest {
protected:
    void SetUp() override
    {
        startSession();
        ASSERT_EQ(acquireSuites(hostApp().basic()), kNoErr);
    }
    void TearDown() override
    {
        if (g) {
            EXPECT_EQ(kNoErr, freeData());
        }
        EXPECT_EQ(kNoErr, releaseSuites(hostApp().basic()));
    }
    Document& doc() { return documents().newDocument(); }
    ArtNode* path(Document& d, std::vector<AIPathSegment> segs, bool closed, ArtNode* parent = nullptr)
    {
        ArtNode* p = d.newArt(kPathArt);
        p->segments = std::move(segs);
        p->closed = closed;
        p->style.edit().fillPaint = 1;
        p->style.edit().fill.color.kind = kThreeColor;
        p->style.edit().fill.color.c.rgb = {1, 0, 0};
        p->style.edit().strokePaint = 0;
        d.place(p, parent ? kPlaceInsideOnBottom : kPlaceBelowAll, parent);
        return p;
    }
    ArtNode* rect(Document& d, float l, float b, float r, float t, ArtNode* parent = nullptr)
    {
        return path(d, {cornerSegment(l, b), cornerSegment(r, b), cornerSegment(r, t), cornerSegment(l, t)}, true,
                    parent);
    }
    ArtNode* group(Document& d)
    {
        ArtNode* gr = d.newArt(kGroupArt);
        d.place(gr, kPlaceBelowAll, nullptr);
        return gr;
    }
    void selectAll(Document& d)
    {
        for (LayerNode* l : d.layers())
            for (ArtNode* a : l->root->children) d.setSelected(a, true);
    }
    // 0 when a job too big for the memory left loads nothing and says so.
    int loadTooBigAJob();
    // The current plotter with a pen count of pens, of which at most four
    // pens are stored, every value of pen i 10 + i.
    void putPlotter(int pens)
    {
        test::CurrentPlotterPrefs stored;
        stored.plotter.PlotterReserved = 3;
        std::strcpy(stored.plotter.PlotterIniString, "IN;");
        stored.environment.PenNumber = pens;
        stored.pens.clear();
        for (int i = 0; i < std::max(pens, 0) && i < 4; ++i) {
            Pen pen;
            std::memset(&pen, 0, sizeof pen);
            std::strcpy(pen.PenName, "Knife");
            for (double* value : {&pen.Velocity, &pen.Extra, &pen.Pressure, &pen.maxExtra, &pen.minExtra,
                                  &pen.stepExtra, &pen.defaultExtra, &pen.maxVelocity, &pen.minVelocity,
                                  &pen.stepVelocity, &pen.defaultVelocity, &pen.maxPressure, &pen.minPressure,
                                  &pen.stepPressure, &pen.defaultPressure})
                *value = 10.0 + i;
            stored.pens.push_back(pen);
        }
        stored.put(hostApp().prefs());
    }
};

TEST_F(CutModelTest, TwoTopLevelObjectsGiveTwoVolumesInQueryOrder)
{
    Document& d = doc();
    ArtNode* a = rect(d, 0, 0, 72, 72);
    ArtNode* b = rect(d, 144, 0, 216, 36);
    selectAll(d);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 2);
    EXPECT_EQ(g->volumes[0].art, Document::handle(a));
    EXPECT_EQ(g->volumes[1].art, Document::handle(b));
    EXPECT_EQ(g->volumes[0].index, 1);
    EXPECT_EQ(g->volumes[1].index, 2);
    EXPECT_EQ(g->volumes[0].flags, 5u);
    EXPECT_FLOAT_EQ(g->volumes[1].docRect[0], 144 * kPointToMillimetreFloat);
    EXPECT_FLOAT_EQ(g->volumes[1].rect[0], 144 * kPointToMillimetreFloat) << "relative to the union's left (0)";
    EXPECT_FLOAT_EQ(g->volumesBounds[2], 216 * kPointToMillimetreFloat);
    EXPECT_DOUBLE_EQ(g->volumes[0].scaleX, 1.0);
    EXPECT_DOUBLE_EQ(g->volumes[0].gapX, 3.0);
    EXPECT_EQ(g->volumes[0].copiesY, 1);
    EXPECT_STREQ(g->volumes[0].layerName, d.layers()[0]->title.c_str());
    EXPECT_EQ(g->volumes[0].layerName, g->volumes[1].layerName) << "one title kept for their layer";
    const AIRGBColor& colour = d.layers()[0]->color;
    EXPECT_EQ(g->volumes[1].layerColor[0], colour.red);
    EXPECT_EQ(g->volumes[1].layerColor[1], colour.green);
    EXPECT_EQ(g->volumes[1].layerColor[2], colour.blue);
}

TEST_F(CutModelTest, ClosedRectangleGivesFourSegmentsOpenOneThree)
{
    Document& d = doc();
    rect(d, 72, 72, 144, 144);
    path(d, {cornerSegment(0, 0), cornerSegment(72, 0), cornerSegment(72, 72), cornerSegment(0, 72)}, false);
    path(d, {cornerSegment(200, 10), cornerSegment(260, 40)}, false);  // a single straight line
    path(d, {cornerSegment(300, 10), cornerSegment(360, 40)}, true);   // the line there and back
    selectAll(d);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 4);
    EXPECT_EQ(g->volumes[2].rings[0].count, 1);
    EXPECT_EQ(g->volumes[3].rings[0].count, 2);
    const Ring& closed = g->volumes[0].rings[0];
    ASSERT_EQ(closed.count, 4);
    EXPECT_EQ(closed.beziers, nullptr) << "the segments stay the document's";
    SegmentRoom room{};
    const bezier_stru* segments = nullptr;
    ASSERT_EQ(ringSegments(&closed, &room, &segments), kNoErr);
    ASSERT_NE(segments, nullptr);
    EXPECT_EQ(segments[3].degree, 3);
    // Relative to the volume's own lower-left corner: the last ends at anchor 0.
    EXPECT_NEAR(segments[3].P[3][0], 0.0, 1e-4);
    EXPECT_NEAR(segments[3].P[3][1], 0.0, 1e-4);
    EXPECT_NEAR(segments[0].P[3][0], 72 * kPointToMillimetre, 1e-4);
    EXPECT_EQ(g->volumes[1].rings[0].count, 3);
    freeSegmentRoom(&room);
    EXPECT_FLOAT_EQ(closed.area, 72.0f * 72.0f) << "counter-clockwise is positive";
}

TEST_F(CutModelTest, FillColoursConvertAsTheColourListsShowThem)
{
    struct Row {
        const char* what;
        AIColor color;
        bool fill;
        uint32_t kind;
        uint16_t r, g, b;
    } rows[] = {
        {"no fill", {}, false, 6, 255, 255, 255},
        {"gray 25 %", {kGrayColor, {.g = {0.25f}}}, true, 0, 191, 191, 191},
        // 0.5 + 0.1 in single precision lies just above 0.6: 255 x 0.39999998 truncates to 101.
        {"CMYK", {kFourColor, {.f = {0.2f, 0.5f, 1.0f, 0.1f}}}, true, 1, 178, 101, 0},
        {"CMYK over full ink is black", {kFourColor, {.f = {0.9f, 0.0f, 0.0f, 0.2f}}}, true, 1, 0, 204, 204},
        {"RGB", {kThreeColor, {.rgb = {1.0f, 0.5f, 0.2f}}}, true, 5, 255, 127, 51},
        {"pattern is black", {kPattern, {}}, true, 2, 0, 0, 0},
        {"gradient is black", {kGradient, {}}, true, 4, 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Document& d = doc();
        ArtNode* p = rect(d, 0, 0, 10, 10);
        p->style.edit().fillPaint = r.fill;
        p->style.edit().fill.color = r.color;
        selectAll(d);
        ASSERT_EQ(loadData(nullptr), kNoErr);
        ASSERT_EQ(g->volumeCount, 1);
        EXPECT_EQ(g->volumes[0].colorKind, r.kind);
        EXPECT_EQ(g->volumes[0].colorRGB[0], r.r);
        EXPECT_EQ(g->volumes[0].colorRGB[1], r.g);
        EXPECT_EQ(g->volumes[0].colorRGB[2], r.b);
        EXPECT_EQ(kNoErr, freeData());
    }
}

TEST_F(CutModelTest, CustomColoursConvertByTheirKindWithoutTint)
{
    struct Row {
        const char* what;
        AICustomColor color;
        uint16_t r, g, b;
    } rows[] = {
        {"process (CMYK)", {kCustomFourColor, {.f = {0, 1, 1, 0}}, 0}, 255, 0, 0},
        {"RGB", {kCustomThreeColor, {.rgb = {0.2f, 0.5f, 1.0f}}, 0}, 51, 127, 255},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Document& d = doc();
        CustomColorEntry* c = d.newCustomColor(r.what, r.color);
        ArtNode* p = rect(d, 0, 0, 10, 10);
        p->style.edit().fill.color.kind = kCustomColor;
        p->style.edit().fill.color.c.c = {Document::handle(c), 0.3f};
        selectAll(d);
        ASSERT_EQ(loadData(nullptr), kNoErr);
        ASSERT_EQ(g->volumeCount, 1);
        EXPECT_EQ(g->volumes[0].colorKind, 3u);
        EXPECT_EQ(g->volumes[0].colorRGB[0], r.r);
        EXPECT_EQ(g->volumes[0].colorRGB[1], r.g);
        EXPECT_EQ(g->volumes[0].colorRGB[2], r.b);
        EXPECT_EQ(kNoErr, freeData());
    }
}

TEST_F(CutModelTest, RingsLargestFirstUnlessDotCut)
{
    for (bool dotCut : {false, true}) {
        SCOPED_TRACE(dotCut ? "dot cut" : "plain");
        Document& d = doc();
        ArtNode* gr = group(d);
        rect(d, 10, 10, 20, 20, gr);   // small first in the tree
        rect(d, 0, 0, 100, 100, gr);
        rect(d, 30, 30, 60, 60, gr);
        if (dotCut) gr->setTag(kTagDotCut, "10");
        selectAll(d);
        ASSERT_EQ(loadData(nullptr), kNoErr);
        ASSERT_EQ(g->volumeCount, 1) << "the group's children are not volumes of their own";
        const Volume& v = g->volumes[0];
        ASSERT_EQ(v.ringCount, 3);
        if (dotCut) {
            EXPECT_FLOAT_EQ(v.rings[0].area, 100);
            EXPECT_FLOAT_EQ(v.rings[1].area, 10000);
        } else {
            EXPECT_FLOAT_EQ(v.rings[0].area, 10000);
            EXPECT_FLOAT_EQ(v.rings[1].area, 900);
            EXPECT_FLOAT_EQ(v.rings[2].area, 100);
        }
        EXPECT_EQ(kNoErr, freeData());
    }
}

// The order the rings had before: an exchange sort, largest absolute area first.
void exchangeSort(std::vector<Ring>& rings)
{
    for (size_t i = 0; i < rings.size(); ++i)
        for (size_t j = i + 1; j < rings.size(); ++j)
            if (std::fabs(rings[j].area) > std::fabs(rings[i].area)) std::swap(rings[i], rings[j]);
}

std::vector<Ring> ringsOfAreas(const std::vector<float>& areas)
{
    std::vector<Ring> rings(areas.size());
    for (size_t i = 0; i < areas.size(); ++i) {
        rings[i] = Ring{};
        rings[i].art = reinterpret_cast<AIArtHandle>(i + 1);  // the art-tree position
        rings[i].area = areas[i];
    }
    return rings;
}

std::vector<size_t> positions(const std::vector<Ring>& rings)
{
    std::vector<size_t> out;
    for (const Ring& r : rings) out.push_back(reinterpret_cast<size_t>(r.art));
    return out;
}

TEST(SortRing, LargestAbsoluteAreaFirstEqualAreasInTreeOrder)
{
    struct Row {
        const char* what;
        std::vector<float> areas;
        std::vector<size_t> expected;  // art-tree positions, from 1
    } rows[] = {
        {"none", {}, {}},
        {"one", {5}, {1}},
        {"already in order", {9, 4, 1}, {1, 2, 3}},
        {"reversed", {1, 4, 9}, {3, 2, 1}},
        {"equal areas keep their order", {3, 3, 3, 3}, {1, 2, 3, 4}},
        {"clockwise and counter-clockwise by size", {-2, 5, -7, 1}, {3, 2, 1, 4}},
        {"opposite signs of one size keep their order", {-4, 1, 4, -4}, {1, 3, 4, 2}},
        {"equal runs among others", {2, 8, 2, 8, 5, 2}, {2, 4, 5, 1, 3, 6}},
        {"zero areas last", {0, -0.0f, 3}, {3, 1, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::vector<Ring> rings = ringsOfAreas(row.areas);
        ASSERT_EQ(sortRing(rings.data(), static_cast<int32_t>(rings.size())), kNoErr);
        EXPECT_EQ(positions(rings), row.expected);
    }
}

TEST(SortRing, ThousandsOfRingsByAbsoluteAreaEqualOnesInTreeOrder)
{
    std::mt19937 random(29);
    for (bool distinct : {true, false}) {
        SCOPED_TRACE(distinct ? "distinct areas" : "many equal areas");
        std::vector<float> areas(20000);
        for (size_t i = 0; i < areas.size(); ++i) {
            float size = distinct ? static_cast<float>(i + 1) : static_cast<float>(random() % 50);
            areas[i] = random() % 2 ? size : -size;
        }
        std::shuffle(areas.begin(), areas.end(), random);
        std::vector<Ring> rings = ringsOfAreas(areas);
        ASSERT_EQ(sortRing(rings.data(), static_cast<int32_t>(rings.size())), kNoErr);
        std::vector<size_t> seen = positions(rings);
        std::sort(seen.begin(), seen.end());
        for (size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], i + 1) << "every ring once";
        for (size_t i = 1; i < rings.size(); ++i) {
            float before = std::fabs(rings[i - 1].area), now = std::fabs(rings[i].area);
            ASSERT_GE(before, now) << "at " << i;
            if (before == now) {
                ASSERT_LT(rings[i - 1].art, rings[i].art) << "equal areas in tree order, at " << i;
            }
        }
        if (distinct) {
            std::vector<Ring> before(rings.begin(), rings.begin() + 2000);
            std::shuffle(before.begin(), before.end(), random);
            std::vector<Ring> now = before;
            exchangeSort(before);
            ASSERT_EQ(sortRing(now.data(), static_cast<int32_t>(now.size())), kNoErr);
            EXPECT_EQ(positions(now), positions(before)) << "the same rings in the same order as before";
        }
    }
}

TEST_F(CutModelTest, ThousandsOfObjectsAndRingsLoadWhole)
{
    struct Row {
        const char* what;
        int groups;        // 0: loose paths, each its own volume
        int pathsPerGroup;
    } rows[] = {
        {"many volumes", 0, 3000},
        {"one group of many rings", 1, 5000},
        {"a few groups", 7, 300},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Document& d = doc();
        int volumes = row.groups == 0 ? row.pathsPerGroup : row.groups;
        for (int k = 0; k < std::max(row.groups, 1); ++k) {
            ArtNode* gr = row.groups ? group(d) : nullptr;
            for (int i = 0; i < row.pathsPerGroup; ++i) {
                float s = 1 + i % 97;  // sizes repeat: equal areas keep their order
                ArtNode* p = rect(d, 2.0f * i, 0, 2.0f * i + s, s, gr);
                p->name = std::to_string(i);
            }
        }
        selectAll(d);
        ASSERT_EQ(loadData(nullptr), kNoErr);
        ASSERT_EQ(g->volumeCount, volumes);
        for (int v = 0; v < g->volumeCount; ++v) {
            const Volume& vol = g->volumes[v];
            ASSERT_EQ(vol.ringCount, row.groups ? row.pathsPerGroup : 1);
            EXPECT_EQ(vol.index, v + 1);
            for (int r = 0; r < vol.ringCount; ++r) {
                ASSERT_EQ(vol.rings[r].count, 4);
                if (r == 0) continue;
                float before = std::fabs(vol.rings[r - 1].area), now = std::fabs(vol.rings[r].area);
                ASSERT_GE(before, now);
                if (before == now) {
                    ArtNode* a = currentDocument()->art(vol.rings[r - 1].art);
                    ArtNode* b = currentDocument()->art(vol.rings[r].art);
                    ASSERT_LT(std::stoi(a->name), std::stoi(b->name)) << "equal areas in art-tree order";
                }
            }
        }
        (void)freeData();
    }
}

int CutModelTest::loadTooBigAJob()
{
    // One path of three million anchors: 84 MB in the document, as much again
    // to read them. With the address space ending 50 MB above what the
    // process has, they cannot be read.
    Document& d = doc();
    rect(d, 0, 0, 10, 10);
    ArtNode* big = path(d, {}, true);
    big->segments.resize(3000000, cornerSegment(1, 1));
    selectAll(d);
    test::limitAddressSpace(50u << 20);
    ASErr result = loadData(nullptr);
    bool clean = result == kMemoryErr && g->volumeCount == 0 && g->volumes == nullptr;
    test::limitAddressSpace(0);
    return clean ? 0 : 1;
}

#ifdef VANTOREL_ADDRESS_LIMIT_WORKS
TEST_F(CutModelTest, AJobBiggerThanMemoryLoadsNothingAndSaysSo)
{
    EXPECT_EXIT(std::exit(loadTooBigAJob()), ::testing::ExitedWithCode(0), "");
}
#endif

TEST_F(CutModelTest, StrokeDoesNotChangeTheLoadedBoundsAndIsSwitchedBack)
{
    Document& d = doc();
    ArtNode* gr = group(d);
    path(d, {}, true, gr);  // an empty path has no bounds to add, not a point at the origin
    ArtNode* p = rect(d, 30, 20, 130, 70, gr);
    ArtNode* q = rect(d, 40, 30, 50, 40, gr);
    p->style.edit().strokePaint = 1;
    p->style.edit().stroke.width = 10;
    q->style.edit().fill.color.c.rgb = {0, 0, 1};
    selectAll(d);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    const Volume& v = g->volumes[0];
    EXPECT_FLOAT_EQ(v.docRect[0], 30 * kPointToMillimetreFloat);
    EXPECT_FLOAT_EQ(v.docRect[3], 20 * kPointToMillimetreFloat);
    EXPECT_FLOAT_EQ(v.docRect[2], 130 * kPointToMillimetreFloat);
    EXPECT_FLOAT_EQ(v.docRect[1], 70 * kPointToMillimetreFloat);
    EXPECT_TRUE(p->style->strokePaint);
    EXPECT_FLOAT_EQ(p->style->stroke.width, 10);
    EXPECT_FLOAT_EQ(q->style->fill.color.c.rgb.blue, 1) << "each path keeps its own style";
    EXPECT_EQ(v.colorRGB[2], 255) << "the last path decides the colour";
}

// The host's path-style writes, failing at call failAt (from 1); the others
// are done.
ASErr (*g_realSetPathStyle)(AIArtHandle, const AIPathStyle*) = nullptr;
int g_styleWrites = 0;
int g_failStyleWrite = 0;

ASErr setPathStyleFailingOnce(AIArtHandle art, const AIPathStyle* style)
{
    if (++g_styleWrites == g_failStyleWrite) return 'NoSt';
    return g_realSetPathStyle(art, style);
}

TEST_F(CutModelTest, AStrokeThatCannotBeSwitchedOffOrBackStopsTheLoadAndTheBounds)
{
    struct Row {
        const char* shows;
        int failStyleWrite;
        bool strokeAfter;  // what the user's art is left with
    } rows[] = {
        {"the stroke cannot be switched off", 1, true},
        {"the stroke cannot be switched back", 2, false},
    };
    auto& styles = suiteTable<AIPathStyleSuite>();
    g_realSetPathStyle = styles.SetPathStyle;
    for (const Row& row : rows) {
        Document& d = doc();
        ArtNode* gr = group(d);
        rect(d, 200, 0, 300, 50, gr);
        ArtNode* stroked = rect(d, 0, 0, 100, 50, gr);
        stroked->style.edit().strokePaint = 1;
        stroked->style.edit().stroke.width = 10;
        selectAll(d);

        styles.SetPathStyle = setPathStyleFailingOnce;
        g_failStyleWrite = row.failStyleWrite;
        g_styleWrites = 0;
        ASErr loaded = loadData(nullptr);
        bool strokeAfterLoad = stroked->style->strokePaint != 0;
        stroked->style.edit().strokePaint = 1;
        g_styleWrites = 0;
        AIRealRect bounds = {1, 2, 3, 4};
        ASErr bounded = getSelectedArtBound(&bounds);
        styles.SetPathStyle = g_realSetPathStyle;

        EXPECT_EQ(loaded, 'NoSt') << row.shows << ": the load reports the host's error";
        EXPECT_EQ(g->volumeCount, 0) << row.shows << ": nothing stays loaded";
        EXPECT_EQ(g->volumes, nullptr) << row.shows;
        EXPECT_EQ(bounded, 'NoSt') << row.shows << ": the bounds of the selection report it too";
        EXPECT_FLOAT_EQ(bounds.left, 1) << row.shows << ": the bounds are left as they were";
        EXPECT_EQ(strokeAfterLoad, row.strokeAfter) << row.shows;
        EXPECT_EQ(stroked->style->strokePaint != 0, row.strokeAfter) << row.shows;
        stroked->style.edit().strokePaint = 1;
    }
    ASSERT_EQ(loadData(nullptr), kNoErr) << "with the host well again the job loads";
    EXPECT_EQ(g->volumeCount, 1);
}

TEST_F(CutModelTest, MarksLayerVolumeIsFlaggedAndKeepsItsNumber)
{
    Document& d = doc();
    rect(d, 0, 0, 10, 10);
    LayerNode* marks = d.insertLayer(0, kMarksLayerTitle);
    d.setCurrentLayer(marks);
    rect(d, 50, 50, 55, 55);
    selectAll(d);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 2);
    EXPECT_STREQ(g->volumes[0].layerName, kMarksLayerTitle);
    EXPECT_EQ(g->volumes[0].flags, 0x80000005u);
    EXPECT_EQ(g->volumes[0].index, 1) << "kept from the load";
    EXPECT_EQ(g->volumes[1].index, 1) << "the counter skips the marks";
    EXPECT_EQ(g->volumes[1].flags, 5u);
}

TEST_F(CutModelTest, StartPointMarkersAreNoJobAndAPerforationsSourceIsNotCut)
{
    Document& d = doc();
    rect(d, 0, 0, 10, 10);
    // The source square, then two pieces along its bottom side.
    ArtNode* perforation = group(d);
    perforation->setTag(kTagDotCut, "10");
    rect(d, 20, 0, 30, 10, perforation);
    path(d, {cornerSegment(20, 0), cornerSegment(25, 0)}, false, perforation)->setTag(kTagDotCut, "1");
    path(d, {cornerSegment(25, 0), cornerSegment(30, 0)}, false, perforation)->setTag(kTagDotCut, "0");
    LayerNode* info = d.insertLayer(0, kInformationLayerTitle);
    d.setCurrentLayer(info);
    ArtNode* marker = rect(d, -2.5f, -2.5f, 2.5f, 2.5f);
    selectAll(d);
    putPlotter(2);
    ASSERT_EQ(checkData(1), kNoErr);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 2) << "the marker is not part of the job";
    EXPECT_EQ(g->volumes[0].index, 1);
    EXPECT_EQ(g->volumes[1].index, 2);

    const Volume& v = g->volumes[1];
    ASSERT_EQ(v.ringCount, 3);
    EXPECT_EQ(isDotCutVolume(&v), 1);
    EXPECT_EQ(isDotCutVolume(&g->volumes[0]), 0);
    const int32_t expected[3] = {kJobLeftOut, kJobCut, kJobCut};
    for (int32_t r = 0; r < 3; ++r) EXPECT_EQ(ringInJob(&v, r), expected[r]) << "ring " << r;
    Volume marks = g->volumes[0];
    marks.flags |= kVolumeOnMarksLayer;
    EXPECT_EQ(ringInJob(&marks, 0), kJobPrintedOnly) << "the marks";
    marks.flags &= ~(uint32_t)kVolumeVisible;
    EXPECT_EQ(ringInJob(&marks, 0), kJobLeftOut) << "hidden";
    EXPECT_EQ(ringInJob(&v, 3), kJobLeftOut) << "no such ring";

    for (LayerNode* l : d.layers())
        for (ArtNode* a : l->root->children) d.setSelected(a, a == marker);
    EXPECT_EQ(checkData(1), kNothingSelectedErr) << "markers alone are no selection";
}

TEST_F(CutModelTest, UnsafeInputsLoadCleanly)
{
    Document& d = doc();
    ArtNode* empty = path(d, {}, true);
    ArtNode* text = d.newArt(kTextFrameArt);
    text->textFrame->text = "OPEN";
    ArtNode* gr = group(d);
    d.place(text, kPlaceInsideOnTop, gr);
    ArtNode* nested = rect(d, 0, 0, 10, 10, gr);
    d.setSelected(nested, true);
    std::fill(std::begin(g->volumesBounds), std::end(g->volumesBounds), 99.0f);  // an earlier job's
    ASSERT_EQ(loadData(nullptr), kNoErr);
    EXPECT_EQ(g->volumeCount, 0) << "only nested art selected";
    for (float bound : g->volumesBounds) EXPECT_EQ(bound, 0.0f) << "an empty job lies at the origin";
    EXPECT_EQ(kNoErr, freeData());

    d.setSelected(empty, true);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 1);
    EXPECT_EQ(g->volumes[0].rings[0].count, 0) << "an empty path has no segments";
    EXPECT_EQ(g->volumes[0].rect[0], 0.0f);
    EXPECT_EQ(kNoErr, freeData());

    ArtNode* textOnly = d.newArt(kGroupArt);
    d.place(textOnly, kPlaceAboveAll, nullptr);
    ArtNode* t2 = d.newArt(kTextFrameArt);
    d.place(t2, kPlaceInsideOnTop, textOnly);
    d.setSelected(empty, false);
    d.setSelected(textOnly, true);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 1);
    EXPECT_EQ(g->volumes[0].colorKind, 6u) << "no path, no colour";
    EXPECT_EQ(g->volumes[0].rings[0].kind, 0);
}

TEST_F(CutModelTest, AHostErrorInsideAGroupKeepsTheRingsReadSoFar)
{
    Document& d = doc();
    ArtNode* gr = group(d);
    rect(d, 0, 0, 72, 72, gr);
    rect(d, 100, 0, 172, 72, gr);
    selectAll(d);
    auto& art = suiteTable<AIArtSuite>();
    auto saved = art.GetArtSibling;
    art.GetArtSibling = [](AIArtHandle, AIArtHandle*) -> ASErr { return kBadArtErr; };
    ASErr error = loadData(nullptr);
    art.GetArtSibling = saved;
    ASSERT_EQ(error, kNoErr) << "the host's error inside one object is not the job's";
    ASSERT_EQ(g->volumeCount, 1);
    EXPECT_EQ(g->volumes[0].ringCount, 1) << "the walk ends at the failing sibling";
    EXPECT_EQ(g->volumes[0].rings[0].count, 4);
}

TEST_F(CutModelTest, LongLayerTitlesAreCutOnACharacterBoundary)
{
    Document& d = doc();
    std::string title(254, 'x');
    title += "\xc3\xa9\xc3\xa9";  // two two-byte characters across the 255-byte limit
    d.layers()[0]->title = title;
    rect(d, 0, 0, 1, 1);
    selectAll(d);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    EXPECT_EQ(std::strlen(g->volumes[0].layerName), 254u);
    char field[256];
    CopyNameField(field, sizeof field, title.c_str());
    EXPECT_STREQ(field, g->volumes[0].layerName) << "the same cut everywhere";
}

TEST_F(CutModelTest, CheckDataGatesSelectionAndReadsThePlotter)
{
    Document& d = doc();
    EXPECT_EQ(checkData(1), kNothingSelectedErr);
    ArtNode* t = d.newArt(kTextFrameArt);
    d.place(t, kPlaceAboveAll, nullptr);
    d.setSelected(t, true);
    EXPECT_EQ(checkData(1), kUnsupportedArtErr);
    d.setSelected(t, false);
    rect(d, 0, 0, 10, 10);
    selectAll(d);
    d.setSelected(t, false);
    putPlotter(2);
    ASSERT_EQ(checkData(1), kNoErr);
    EXPECT_EQ(g->curPlotterValid, 1);
    EXPECT_STREQ(g->curPlotter.PlotterName, "Cutter 60");
    EXPECT_EQ(g->curPlotter.PlotterPID, 0x1234);
    EXPECT_EQ(g->curEnvironment.PenNumber, 2);
    ASSERT_NE(g->curEnvironment.Pens, nullptr);
    EXPECT_DOUBLE_EQ(g->curEnvironment.Pens[1].defaultPressure, 11.0);
    for (int pens : {-3, 0, 1000000}) {
        SCOPED_TRACE(pens);
        putPlotter(pens);
        EXPECT_EQ(checkData(0), kNoCurrentPlotterErr);
        EXPECT_EQ(g->curPlotterValid, 0);
        EXPECT_EQ(g->curEnvironment.Pens, nullptr);
    }
}

TEST_F(CutModelTest, PathsAsBezierListsInPoints)
{
    Document& d = doc();
    ArtNode* gr = group(d);
    rect(d, 0, 0, 10, 10, gr);
    path(d, {cornerSegment(0, 0), cornerSegment(5, 5)}, false, gr);
    path(d, {}, false, gr);
    UDT_PolyBezier* list = nullptr;
    int32_t count = 0;
    EXPECT_EQ(kNoErr, loadPloyBezier(Document::handle(gr), &list, &count));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(list[0].count, 4);
    EXPECT_DOUBLE_EQ(list[0].bezier[3].P[3][0], 0.0);
    EXPECT_EQ(list[1].count, 1);
    EXPECT_DOUBLE_EQ(list[1].bezier[0].P[3][1], 5.0);
    EXPECT_EQ(list[2].count, 0);

    // A second walk appends to the list the first one left, however long.
    ArtNode* many = group(d);
    for (int i = 0; i < 1000; ++i) rect(d, 0, 0, 1.0f + i, 1, many);
    (void)loadPloyBezier(Document::handle(many), &list, &count);
    ASSERT_EQ(count, 1003);
    EXPECT_EQ(list[1].count, 1) << "what was there stays";
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(list[3 + i].count, 4);
        EXPECT_DOUBLE_EQ(list[3 + i].bezier[0].P[3][0], 1.0 + i) << "in the art-tree order";
    }
    for (int i = 0; i < count; ++i) free(list[i].bezier);
    free(list);
}

TEST_F(CutModelTest, SampleJobLoadsItsLettersWithCounters)
{
    std::string error;
    auto doc = readSvgFile(documents(), VANTOREL_SOURCE_DIR "/samples/open-sign.svg", error);
    ASSERT_TRUE(doc) << error;
    documents().adopt(std::move(doc));
    Document& d = *currentDocument();
    for (ArtNode* a : d.layers()[0]->root->children) d.setSelected(a, true);  // the lettering
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 4);
    // Front-most first: the file's last letter.
    const Volume& n = g->volumes[0];
    const Volume& o = g->volumes[3];
    EXPECT_EQ(n.ringCount, 1);
    EXPECT_EQ(n.rings[0].count, 10);
    ASSERT_EQ(o.ringCount, 2);
    EXPECT_GT(std::fabs(o.rings[0].area), std::fabs(o.rings[1].area)) << "outline before counter";
    EXPECT_EQ(o.rings[0].count, 4);
    EXPECT_EQ(o.colorKind, 5u);
    EXPECT_EQ(o.colorRGB[0], 0xc0);
    EXPECT_EQ(o.colorRGB[1], 0x1c);
    EXPECT_STREQ(o.layerName, "Lettering");
    EXPECT_NEAR(o.baseWidth, 44.0, 1e-3) << "mm";
    EXPECT_NEAR(o.baseHeight, 60.0, 1e-3);
    EXPECT_NEAR(g->volumesBounds[0], 18.0, 1e-3);
}

}  // namespace

// A large job loads in seconds even under the sanitizers: the cut model's
// arrays and the art tree's steps must not cost time quadratic in the curves.
TEST_F(CutModelTest, TwentyFiveThousandCurvesLoad)
{
    std::string d = "M0,0";
    for (int i = 0; i < 25000; ++i) {
        double x = (i % 500) * 2.0, y = (i / 500) * 2.0;
        d += " C" + std::to_string(x + 0.5) + "," + std::to_string(y + 1) + " " + std::to_string(x + 1.5) + "," +
             std::to_string(y + 1) + " " + std::to_string(x + 2) + "," + std::to_string(y);
    }
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000mm\" height=\"120mm\" "
                      "viewBox=\"0 0 1000 120\"><path d=\"" + d + "\"/>";
    for (int i = 0; i < 1000; ++i)
        svg += "<rect x=\"" + std::to_string(i % 100 * 10) + "\" y=\"110\" width=\"5\" height=\"5\"/>";
    svg += "</svg>";
    std::string error;
    auto document = readSvgText(documents(), svg, "many.svg", error);
    ASSERT_TRUE(document) << error;
    Document* loaded = document.get();
    documents().adopt(std::move(document));
    selectAll(*loaded);
    ASSERT_EQ(loadData(nullptr), kNoErr);
    ASSERT_EQ(g->volumeCount, 1001);
    int32_t curves = 0;
    for (int32_t i = 0; i < g->volumeCount; ++i)
        for (int32_t k = 0; k < g->volumes[i].ringCount; ++k) curves += g->volumes[i].rings[k].count;
    EXPECT_EQ(curves, 25000 + 1000 * 4);
}
