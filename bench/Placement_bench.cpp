// Arranging a large lettering job in the Plot Out dialog: packing every
// letter onto the page, picking by click and by drag, and turning the whole
// selection. Each is one user action and should take well under 50 ms at
// 5,000 letters.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/UndoHistory.h"
#include "Core/VolumeHitTest.h"
#include "Core/VolumePlacement.h"
#include "LetteringShapes.h"
#include "Suites/SuiteTables.h"

namespace {

// One letter 30 mm high and 16 to 26 mm wide (a few widths, as lettering
// has): a D-shaped outline of a stem and a curved bowl, and its counter.
void addLetter(Volume& v, int variant)
{
    double w = 16 + 2 * (variant % 6);
    double r = 15;
    std::vector<bezier_stru> outer = {straight(0, 0, w - r, 0)};
    outer.push_back(quarter(w - r, 15, r, 3));
    outer.push_back(quarter(w - r, 15, r, 0));
    outer.push_back(straight(w - r, 30, 0, 30));
    outer.push_back(straight(0, 30, 0, 0));
    std::vector<bezier_stru> inner = {straight(5, 5, 5, 25), straight(5, 25, w - r, 25)};
    inner.push_back(quarter(w - r, 15, 10, 0, true));
    inner.push_back(quarter(w - r, 15, 10, 3, true));
    inner.push_back(straight(w - r, 5, 5, 5));
    v.ringCount = 2;
    v.rings = (Ring*)malloc(sizeof(Ring) * 2);
    v.rings[0] = ringOf(outer);
    v.rings[1] = ringOf(inner);
    v.baseWidth = w;
    v.baseHeight = 30;
    v.loadRect[0] = 0;
    v.loadRect[1] = 30;
    v.loadRect[2] = (float)w;
    v.loadRect[3] = 0;
}

// A job of n letters set in lines 1,200 mm long, every letter selected and
// shown, as the dialog holds it: globals with the host's real-math suite.
struct Job {
    PluginGlobals* globals = nullptr;
    PluginGlobals* saved = nullptr;
    AIRealMathSuite* savedMath = nullptr;
    std::vector<Volume> original;

    explicit Job(int n)
    {
        saved = g;
        savedMath = sAIRealMath;
        globals = (PluginGlobals*)calloc(1, sizeof(PluginGlobals));
        g = globals;
        vt::host::runSuiteInstallers();
        sAIRealMath = &vt::host::suiteTable<AIRealMathSuite>();
        g->curPlotter.PlotterSizeX = 1220;
        g->curPlotter.PlotterSizeY = 5000;
        g->mediaWidth = 1220;
        g->mediaLength = 5000;
        g->autoGroupGapX = 3;
        g->autoGroupGapY = 3;
        double x = 0, y = 0;
        for (int i = 0; i < n; i++) {
            Volume v;
            memset(&v, 0, sizeof v);
            // Widths in an order that is not sorted, with many equal.
            addLetter(v, (i * 7) % 11);
            if (x + v.baseWidth > 1200) {
                x = 0;
                y += 40;
            }
            v.rect[0] = (float)x;
            v.rect[3] = (float)y;
            v.rect[2] = (float)(x + v.baseWidth);
            v.rect[1] = (float)(y + v.baseHeight);
            x += v.baseWidth + 4;
            v.scaleX = v.scaleY = 1;
            v.copiesX = v.copiesY = 1;
            v.gapX = v.gapY = 3;
            v.precision = 0.05;
            v.fitType = 2;
            v.flags = kVolumeSelected | kVolumeVisible;
            v.index = i + 1;
            original.push_back(v);
        }
        g->volumes = (Volume*)malloc(sizeof(Volume) * original.size());
        g->volumeCount = n;
        reset();
        initUndoHistory();
    }
    // Back to the records as loaded, in their first order.
    void reset() { memcpy(g->volumes, original.data(), sizeof(Volume) * original.size()); }
    ~Job()
    {
        freeUndoHistory();
        releaseVolumeHitCache();
        for (Volume& v : original) {
            for (int i = 0; i < v.ringCount; i++) free(v.rings[i].beziers);
            free(v.rings);
        }
        free(g->volumes);
        free(globals);
        g = saved;
        sAIRealMath = savedMath;
    }
};

void BM_PackLettering(benchmark::State& state)
{
    Job job((int)state.range(0));
    int32_t notPlaced = 0;
    for (auto _ : state) {
        state.PauseTiming();
        job.reset();
        state.ResumeTiming();
        setVolumeAutoGroup(&notPlaced);
    }
    state.counters["not placed"] = notPlaced;
}

// A click on the stem of a letter in the middle of the job.
void clickPick(benchmark::State& state, bool cold)
{
    Job job((int)state.range(0));
    const Volume& middle = g->volumes[g->volumeCount / 2];
    AIRealRect click = {middle.rect[0] + 2.4f, middle.rect[3] + 15.2f, middle.rect[0] + 2.6f, middle.rect[3] + 15.0f};
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            releaseVolumeHitCache();
            state.ResumeTiming();
        }
        selectVolume(click, 1);
    }
    if (!(g->volumes[g->volumeCount / 2].flags & kVolumeSelected)) state.SkipWithError("the letter was not picked");
}

void BM_ClickPick(benchmark::State& state) { clickPick(state, false); }
void BM_ClickPickFirstAfterLoading(benchmark::State& state) { clickPick(state, true); }

// A drag over the lower half of the job: thousands of letters inside, a row
// cut across by its edge.
void dragPick(benchmark::State& state, bool cold)
{
    Job job((int)state.range(0));
    AIRealRect all;
    getSelectionVolumeRealRect(&all);
    AIRealRect drag = {-10, (all.top + all.bottom) / 2 + 12, 700, -10};
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            releaseVolumeHitCache();
            state.ResumeTiming();
        }
        selectVolume(drag, 1);
    }
}

void BM_DragPick(benchmark::State& state) { dragPick(state, false); }
void BM_DragPickFirstAfterLoading(benchmark::State& state) { dragPick(state, true); }

void BM_RotateSelection(benchmark::State& state)
{
    Job job((int)state.range(0));
    double angle = 0;
    for (auto _ : state) {
        angle += 15;
        g->undoNewStep = 1;
        setSelectionVolumeDoubleValue(kVolumeValueAngle, angle, 0);
    }
}

}  // namespace

BENCHMARK(BM_PackLettering)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickPick)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClickPickFirstAfterLoading)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragPick)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragPickFirstAfterLoading)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateSelection)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);
