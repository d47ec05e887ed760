// The Plot Out dialog's cut order: the layer and colour lists, their entries'
// eyes, drags and double clicks, the pen setup they open, the automatic order
// button and the manual order tools.
#include <cstring>

#include "Core/ColorLayer.h"
#include "Dialog/PlotOutLists.h"
#include "PlotOutJobFixture.h"

using namespace vt;
using host::toolkit::Dialog;
using host::toolkit::Item;
using host::toolkit::Toolkit;

namespace {

class PlotOutListsTest : public test::PlotOutJobTest {
protected:
    static bool isShown(double loadedLeft) { return (volumeAt(loadedLeft).flags & kVolumeVisible) != 0; }
    static void expectShown(bool a, bool b, bool c, const char* what)
    {
        EXPECT_EQ(isShown(0), a) << what << ": A";
        EXPECT_EQ(isShown(40), b) << what << ": B";
        EXPECT_EQ(isShown(100), c) << what << ": C";
    }
    static void expectGroupChoice(Dialog& d, bool active, const char* what)
    {
        for (int id : {kPlotOutLayerListItem, kPlotOutColorListItem, kPlotOutCutByLayerItem, kPlotOutCutByColorItem})
            EXPECT_EQ(d.item(id)->enabled, active) << what << ": item " << id;
    }
    static DialogAction finishManualSort(int radio)
    {
        return inDialog([radio](Dialog& d) { Toolkit::get().notify(d.item(radio), kManuSortFinishedNotify); });
    }
};

TEST_F(PlotOutListsTest, ManualOrderToolsHoldTheGroupChoiceUntilTheSortIsFinished)
{
    struct Row {
        const char* name;
        int radio;
        int32_t opType;
    } rows[] = {
        {"renumber", kPlotOutRenumberToolItem, kPreviewOpRenumber},
        {"swap", kPlotOutSwapToolItem, kPreviewOpSwap},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        plotOut({
            inDialog([](Dialog& d) {
                EXPECT_EQ(d.item(kPlotOutRenumberToolItem)->value, 0.0f);
                EXPECT_EQ(d.item(kPlotOutSwapToolItem)->value, 0.0f);
            }),
            check([] {
                g_iCurrentIndex = 7;
                g_iSwapA = g_iSwapB = 2;
            }),
            click(row.radio),
            check([&] {
                EXPECT_EQ(g_iPreviewOpType, row.opType);
                if (row.opType == kPreviewOpRenumber) {
                    EXPECT_EQ(g_iCurrentIndex, 0);
                } else {
                    EXPECT_EQ(g_iSwapA, -1);
                    EXPECT_EQ(g_iSwapB, -1);
                }
                // No entry is active: the first layer's volumes only.
                expectShown(true, true, false, "while ordering");
            }),
            inDialog([](Dialog& d) { expectGroupChoice(d, false, "while ordering"); }),
            finishManualSort(row.radio),
            inDialog([&](Dialog& d) {
                expectGroupChoice(d, true, "after the sort");
                EXPECT_EQ(d.item(row.radio)->value, 0.0f) << "the tool's radio is off";
                EXPECT_EQ(d.item(kPlotOutSelectToolItem)->value, 1.0f) << "the select tool is back";
            }),
            check([] {
                EXPECT_EQ(g_iPreviewOpType, kPreviewOpSelect);
                expectShown(true, true, true, "each layer's own flag again");
            }),
            click(kPlotOutExitItem),
        });
    }
}

TEST_F(PlotOutListsTest, AutomaticOrderNumbersTheGroupsOfTheListShown)
{
    plotOut({
        click(kPlotOutAutoOrderItem),
        check([] {
            // By layer: the first layer's volumes from 1, left to right.
            int32_t a = volumeAt(0).index, b = volumeAt(40).index, c = volumeAt(100).index;
            EXPECT_EQ(c, 1) << "C alone on its layer";
            EXPECT_EQ(a, 1);
            EXPECT_EQ(b, 2);
        }),
        click(kPlotOutCutByColorItem),
        click(kPlotOutAutoOrderItem),
        check([] {
            // By colour: red A (0) and C (100), then blue B.
            EXPECT_EQ(volumeAt(0).index, 1);
            EXPECT_EQ(volumeAt(100).index, 2);
            EXPECT_EQ(volumeAt(40).index, 1);
        }),
        click(kPlotOutExitItem),
    });
}

}  // namespace
