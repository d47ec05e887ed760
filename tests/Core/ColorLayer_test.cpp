// Colour and layer tables, automatic cut order and visibility by group, on
// volumes built directly as records in a globals record the test owns.
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Common/PluginGlobals.h"
#include "Core/ColorLayer.h"

namespace {

struct VolumeSpec {
    const char* layer;
    uint32_t kind;
    uint16_t r, gr, b;
    float left;
};

class ColorLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g;
        memset(&globals_, 0, sizeof(globals_));
        g = &globals_;
    }
    void TearDown() override
    {
        EXPECT_EQ(kNoErr, freeColor(colors_, colorCount_));
        free(colors_);
        EXPECT_EQ(kNoErr, freeLayer(layers_, layerCount_));
        free(layers_);
        g = saved_;
    }

    // Selected, visible volumes, each with one 10 mm segment so that the cut
    // length shows which of them are selected.
    void makeJob(const std::vector<VolumeSpec>& specs)
    {
        size_t n = specs.size();
        segment_.degree = 3;
        for (int i = 0; i < 4; i++) {
            segment_.P[i][0] = 10.0 * i / 3.0;
            segment_.P[i][1] = 0.0;
        }
        rings_.assign(n, Ring{});
        volumes_.assign(n, Volume{});
        for (size_t i = 0; i < n; i++) {
            rings_[i].kind = kRingPath;
            rings_[i].beziers = &segment_;
            rings_[i].count = 1;
            Volume& v = volumes_[i];
            v.art = reinterpret_cast<AIArtHandle>(static_cast<uintptr_t>(0x1000 + 16 * i));
            v.rings = &rings_[i];
            v.ringCount = 1;
            v.layerName = specs[i].layer;
            v.layerColor[0] = (uint16_t)(0x1100 * (i + 1));
            v.colorKind = specs[i].kind;
            v.colorRGB[0] = specs[i].r;
            v.colorRGB[1] = specs[i].gr;
            v.colorRGB[2] = specs[i].b;
            v.rect[0] = specs[i].left;
            v.scaleX = v.scaleY = 1.0;
            v.copiesX = v.copiesY = 1;
            v.flags = kVolumeSelected | kVolumeVisible;
            v.index = (int32_t)i + 1;
        }
        g->volumes = volumes_.data();
        g->volumeCount = (int32_t)n;
    }

    void loadTables()
    {
        ASSERT_EQ(loadColor(&colors_, &colorCount_), kNoErr);
        ASSERT_EQ(loadLayer(&layers_, &layerCount_), kNoErr);
    }

    std::vector<int32_t> indexes() const
    {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < g->volumeCount; i++)
            out.push_back(g->volumes[i].index);
        return out;
    }

    std::vector<uint32_t> flags() const
    {
        std::vector<uint32_t> out;
        for (int32_t i = 0; i < g->volumeCount; i++)
            out.push_back(g->volumes[i].flags);
        return out;
    }

    PluginGlobals globals_;
    PluginGlobals* saved_ = nullptr;
    bezier_stru segment_;
    std::vector<Ring> rings_;
    std::vector<Volume> volumes_;
    Color* colors_ = nullptr;
    int32_t colorCount_ = 0;
    Layer* layers_ = nullptr;
    int32_t layerCount_ = 0;
};

const uint32_t kShown = kVolumeSelected | kVolumeVisible;

TEST_F(ColorLayerTest, RedBlueRedGiveTwoColourEntries)
{
    makeJob({{"A", 5, 255, 0, 0, 0}, {"A", 5, 0, 0, 255, 0}, {"A", 5, 255, 0, 0, 0}});
    loadTables();
    ASSERT_EQ(colorCount_, 2);
    EXPECT_STREQ(colors_[0].name, "R:FF G: 0 B: 0 RGB");
    EXPECT_STREQ(colors_[1].name, "R: 0 G: 0 B:FF RGB");
    EXPECT_EQ(colors_[0].kind, 5u);
    EXPECT_EQ(colors_[0].rgb[0], 255);
    EXPECT_EQ(colors_[0].visible, 1);
    EXPECT_EQ(colors_[0].pen, 0);
    EXPECT_EQ(colors_[0].preText, nullptr);
}

struct NameRow {
    const char* test;
    uint32_t kind;
    const char* name;
};

class ColorNameTest : public ::testing::TestWithParam<NameRow> {};

TEST_P(ColorNameTest, NameOfTheKind)
{
    const uint16_t rgb[3] = {0x12, 0xAB, 0x0};
    char name[255];
    makeColorName(GetParam().kind, rgb, name, sizeof(name));
    EXPECT_STREQ(name, GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Rows, ColorNameTest,
                         ::testing::Values(NameRow{"Gray", 0, "R:12 G:AB B: 0 Gray"},
                                           NameRow{"Cmyk", 1, "R:12 G:AB B: 0 CMYK"},
                                           NameRow{"Pattern", 2, "R:12 G:AB B: 0 Pattern"},
                                           NameRow{"Custom", 3, "R:12 G:AB B: 0 Custom"},
                                           NameRow{"Gradient", 4, "R:12 G:AB B: 0 Gradient"},
                                           NameRow{"Rgb", 5, "R:12 G:AB B: 0 RGB"},
                                           NameRow{"NoFill", 6, "R:?? G:?? B:?? NoneColor"},
                                           NameRow{"UnknownTag", 9, "R:12 G:AB B: 0 Unknown"}),
                         [](const ::testing::TestParamInfo<NameRow>& info) { return std::string(info.param.test); });

TEST_F(ColorLayerTest, LayersABAGiveTwoLayerEntriesWithTheFirstVolumesColour)
{
    makeJob({{"A", 5, 1, 1, 1, 0}, {"B", 5, 1, 1, 1, 0}, {"A", 5, 1, 1, 1, 0}});
    loadTables();
    ASSERT_EQ(layerCount_, 2);
    EXPECT_STREQ(layers_[0].name, "A");
    EXPECT_STREQ(layers_[1].name, "B");
    EXPECT_EQ(layers_[0].layerColor[0], 0x1100);
    EXPECT_EQ(layers_[1].layerColor[0], 0x2200);
}

TEST_F(ColorLayerTest, MovesSwapEntriesInsideTheTableOnly)
{
    makeJob({{"A", 5, 1, 0, 0, 0}, {"B", 5, 2, 0, 0, 0}});
    loadTables();
    EXPECT_EQ(kNoErr, moveColorTable(colors_, colorCount_, 0, colorCount_));  // j is the count: past the end
    EXPECT_EQ(kNoErr, moveColorTable(colors_, colorCount_, -1, 0));
    EXPECT_EQ(colors_[0].rgb[0], 1);
    EXPECT_EQ(kNoErr, moveColorTable(colors_, colorCount_, 0, 1));
    EXPECT_EQ(colors_[0].rgb[0], 2);
    EXPECT_EQ(kNoErr, moveLayerTable(layers_, layerCount_, 1, 2));
    EXPECT_STREQ(layers_[1].name, "B");
    EXPECT_EQ(kNoErr, moveLayerTable(layers_, layerCount_, 1, 0));
    EXPECT_STREQ(layers_[0].name, "B");
    // An empty table is never read.
    EXPECT_EQ(moveColorTable(nullptr, 0, 0, 0), kNoErr);
}

TEST_F(ColorLayerTest, AutoOrderByLayerNumbersLeftToRight)
{
    makeJob({{"A", 5, 0, 0, 0, 50}, {"A", 5, 0, 0, 0, 10}, {"A", 5, 0, 0, 0, 30}});
    loadTables();
    EXPECT_EQ(setVolumeIndexLayerAuto(layers_, layerCount_), kNoErr);
    EXPECT_EQ(indexes(), (std::vector<int32_t>{3, 1, 2}));
}

TEST_F(ColorLayerTest, AutoOrderGivesTheLaterOfTwoEqualLeftsTheLowerNumber)
{
    makeJob({{"A", 5, 0, 0, 0, 20}, {"A", 5, 0, 0, 0, 20}, {"A", 5, 0, 0, 0, 5}});
    loadTables();
    EXPECT_EQ(kNoErr, setVolumeIndexLayerAuto(layers_, layerCount_));
    EXPECT_EQ(indexes(), (std::vector<int32_t>{3, 2, 1}));
}

TEST_F(ColorLayerTest, AutoOrderRestartsInEveryGroupAndSkipsTheMarksLayer)
{
    makeJob({{"B", 5, 0, 0, 0, 40},
             {kMarksLayerName, 5, 0, 0, 0, 0},
             {"A", 5, 0, 0, 0, 30},
             {"B", 5, 0, 0, 0, 10}});
    loadTables();
    EXPECT_EQ(kNoErr, setVolumeIndexLayerAuto(layers_, layerCount_));
    EXPECT_EQ(indexes(), (std::vector<int32_t>{2, -1, 1, 1}));
}

TEST_F(ColorLayerTest, AutoOrderByColourSkipsTheMarksLayer)
{
    makeJob({{"A", 5, 255, 0, 0, 40},
             {kMarksLayerName, 5, 255, 0, 0, 0},
             {"A", 5, 0, 0, 255, 30},
             {"B", 5, 255, 0, 0, 10}});
    loadTables();
    EXPECT_EQ(kNoErr, setVolumeIndexColorAuto(colors_, colorCount_));
    EXPECT_EQ(indexes(), (std::vector<int32_t>{2, -1, 1, 1}));
}

TEST_F(ColorLayerTest, EqualRgbOfDifferentKindsAreSeparateGroups)
{
    // A white fill and no fill (white by convention) must not share volumes,
    // or the writer would cut them once per entry.
    makeJob({{"A", 5, 255, 255, 255, 20}, {"A", 6, 255, 255, 255, 10}, {"A", 5, 255, 255, 255, 5}});
    loadTables();
    ASSERT_EQ(colorCount_, 2);
    EXPECT_EQ(kNoErr, setVolumeIndexColorAuto(colors_, colorCount_));
    EXPECT_EQ(indexes(), (std::vector<int32_t>{2, 1, 1}));
    for (int32_t v = 0; v < g->volumeCount; v++) {
        int groups = 0;
        for (int32_t c = 0; c < colorCount_; c++)
            groups += volumeMatchesColor(&g->volumes[v], &colors_[c]) ? 1 : 0;
        EXPECT_EQ(groups, 1) << "volume " << v;
    }
    EXPECT_EQ(kNoErr, setVolumeColorVisible(&colors_[1], 0));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{kShown, 0, kShown}));
}

TEST_F(ColorLayerTest, AutoOrderWithNoVolumesDoesNothing)
{
    Layer layer{};
    snprintf(layer.name, sizeof(layer.name), "A");
    EXPECT_EQ(setVolumeIndexLayerAuto(&layer, 1), kNoErr);
    EXPECT_EQ(setVolumeIndexColorAuto(nullptr, 0), kNoErr);
}

TEST_F(ColorLayerTest, HidingAColourDeselectsItAndLowersTheCutLength)
{
    makeJob({{"A", 5, 255, 0, 0, 0}, {"A", 5, 0, 0, 255, 0}, {"A", 5, 255, 0, 0, 0}});
    loadTables();
    g->volumes[0].flags |= kVolumeOnMarksLayer;
    EXPECT_EQ(kNoErr, setVolumeColorVisible(&colors_[1], 1));
    EXPECT_NEAR(g->totalCutLength, 20.0, 1e-9) << "the marks are printed, never cut";

    EXPECT_EQ(kNoErr, setVolumeColorVisible(&colors_[0], 0));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{kVolumeOnMarksLayer, kShown, 0}));
    EXPECT_NEAR(g->totalCutLength, 10.0, 1e-9);

    // Showing it again does not select it again.
    EXPECT_EQ(kNoErr, setVolumeColorVisible(&colors_[0], 1));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{kVolumeOnMarksLayer | kVolumeVisible, kShown, kVolumeVisible}));
    EXPECT_NEAR(g->totalCutLength, 10.0, 1e-9);
}

TEST_F(ColorLayerTest, UpdateVisibleAppliesEveryEntrysFlag)
{
    makeJob({{"A", 5, 1, 0, 0, 0}, {"B", 5, 1, 0, 0, 0}, {"A", 5, 1, 0, 0, 0}});
    loadTables();
    layers_[0].visible = 0;
    EXPECT_EQ(kNoErr, updateVisibleLayer(layers_, layerCount_));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{0, kShown, 0}));
    layers_[0].visible = 1;
    layers_[1].visible = 0;
    EXPECT_EQ(kNoErr, updateVisibleLayer(layers_, layerCount_));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{kVolumeVisible, 0, kVolumeVisible}));
}

TEST_F(ColorLayerTest, ShowSelectShowsOnlyTheActiveGroup)
{
    makeJob({{"A", 5, 1, 0, 0, 0}, {"B", 5, 2, 0, 0, 0}, {"A", 5, 1, 0, 0, 0}});
    loadTables();
    // No active entry: the first group.
    EXPECT_EQ(kNoErr, showSelectLayer(-1, layers_, layerCount_));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{kVolumeVisible, 0, kVolumeVisible}));
    EXPECT_EQ(layers_[1].visible, 1);  // the entries keep their flags

    EXPECT_EQ(kNoErr, showSelectColor(1, colors_, colorCount_));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{0, kVolumeVisible, 0}));

    // An index past the table reads nothing beyond it.
    EXPECT_EQ(kNoErr, showSelectColor(colorCount_, colors_, colorCount_));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{0, 0, 0}));
    EXPECT_EQ(showSelectLayer(0, nullptr, 0), kNoErr);
}

TEST_F(ColorLayerTest, ALayerTitleLongerThanAnEntryStillFindsItsEntry)
{
    std::string title(255, 'L');
    makeJob({{title.c_str(), 5, 0, 0, 0, 20}, {title.c_str(), 5, 0, 0, 0, 10}});
    loadTables();
    ASSERT_EQ(layerCount_, 1);
    EXPECT_EQ(kNoErr, setVolumeIndexLayerAuto(layers_, layerCount_));
    EXPECT_EQ(indexes(), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(kNoErr, setVolumeLayerVisible(layers_[0].name, 0));
    EXPECT_EQ(flags(), (std::vector<uint32_t>{0, 0}));
}

}  // namespace
