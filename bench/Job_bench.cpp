// Whole jobs on the main road, as vantorel-host plot takes them: a generated
// SVG of N closed curves read into a document, its top-level art selected and
// loaded into the cut model with its tables and cut length (what the Plot Out
// dialog does when it opens), then written to a plot file in HPGL with arcs.
// Reported per point of the file's path data, so that a road linear in the
// job's size shows the same time per point at every size:
//
//     build/vantorel_bench --benchmark_filter=Job
//
// Also the parts on their own, and the load of one volume of many rings (a
// group of lettering), whose rings are sorted by area.
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "Common/PluginGlobals.h"
#include "Common/PluginMain.h"
#include "Common/Suites.h"
#include "Core/ColorLayer.h"
#include "Core/PlotterPreferences.h"
#include "Core/CutModel.h"
#include "Core/UndoHistory.h"
#include "Dialog/PlotOutDialog.h"
#include "Documents/Document.h"
#include "DocumentBench.h"
#include "Documents/Svg.h"
#include "JobGenerator.h"
#include "PlotOut/PlotOut.h"
#include "Session.h"

namespace {

namespace fs = std::filesystem;
using vt::bench::Bench;
using vt::bench::readJob;

// The run's host session with the bench plotter as the current one, and the
// jobs in the run's folder.
class Road {
public:
    static Road& get()
    {
        static Road road;
        return road;
    }
    bool ready() const { return ready_; }
    const std::string& folder() const { return Bench::get().folder(); }

    // The job of this shape as an SVG file, written once.
    std::string job(const vt::bench::JobShape& shape)
    {
        std::string path = folder() + "/job-" + std::to_string(shape.curves) + "-" + std::to_string(shape.layers) +
                           "-" + std::to_string(shape.groupsPerLayer) + ".svg";
        if (!fs::exists(path)) vt::bench::writeJob(shape, path);
        return path;
    }

private:
    Road()
    {
        if (!Bench::get().ready()) return;
        vt::bench::putBenchPlotter(Bench::get().host().prefs());
        ready_ = true;
    }

    bool ready_ = false;
};

vt::bench::JobShape shapeOf(const benchmark::State& state)
{
    vt::bench::JobShape shape;
    shape.curves = static_cast<int>(state.range(0));
    shape.layers = static_cast<int>(state.range(1));
    shape.groupsPerLayer = static_cast<int>(state.range(2));
    return shape;
}

// What the Plot Out dialog builds when it opens.
bool load()
{
    if (checkData(1) != kNoErr || loadData(NULL) != kNoErr) return false;
    g_lyLoad = NULL;
    g_iLayerNum = 0;
    g_clLoad = NULL;
    g_iColorNum = 0;
    if (loadLayer(&g_lyLoad, &g_iLayerNum) != kNoErr || loadColor(&g_clLoad, &g_iColorNum) != kNoErr) return false;
    (void)getGlobalDistance(&g->totalCutLength);
    return true;
}

// The file road of the Plot Out dialog, by layer.
bool write(const std::string& path)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    g->usbOutput = 0;
    g->arcAngleUnit = 0.1;
    ASErr error = writePlotJob(file, 1);
    return fclose(file) == 0 && error == kNoErr;
}

// What the dialog frees when it closes, and the document closed.
void release()
{
    (void)freeData();
    (void)freeLayer(g_lyLoad, g_iLayerNum);
    free(g_lyLoad);
    g_lyLoad = NULL;
    g_iLayerNum = 0;
    (void)freeColor(g_clLoad, g_iColorNum);
    free(g_clLoad);
    g_clLoad = NULL;
    g_iColorNum = 0;
    vt::host::documents().close();
}

void perPoint(benchmark::State& state, const vt::bench::JobShape& shape)
{
    double points = static_cast<double>(vt::bench::jobPoints(shape));
    state.counters["points"] = points;
    // Seconds per point, shown as time.
    state.counters["per_point"] =
        benchmark::Counter(points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_Job(benchmark::State& state)
{
    Road& road = Road::get();
    if (!road.ready()) return state.SkipWithError("no host session");
    vt::bench::JobShape shape = shapeOf(state);
    std::string job = road.job(shape), out = road.folder() + "/job.hpgl";
    for (auto _ : state) {
        bool done = readJob(job) && load() && write(out);
        release();
        if (!done) return state.SkipWithError("the job did not go through");
    }
    perPoint(state, shape);
}

void BM_JobRead(benchmark::State& state)
{
    Road& road = Road::get();
    if (!road.ready()) return state.SkipWithError("no host session");
    vt::bench::JobShape shape = shapeOf(state);
    std::string job = road.job(shape);
    for (auto _ : state) {
        if (!readJob(job)) return state.SkipWithError("the job was not read");
        state.PauseTiming();
        vt::host::documents().close();
        state.ResumeTiming();
    }
    perPoint(state, shape);
}

void BM_JobLoad(benchmark::State& state)
{
    Road& road = Road::get();
    if (!road.ready()) return state.SkipWithError("no host session");
    vt::bench::JobShape shape = shapeOf(state);
    if (!readJob(road.job(shape))) return state.SkipWithError("the job was not read");
    for (auto _ : state) {
        bool done = load();
        state.PauseTiming();
        (void)freeData();
        (void)freeLayer(g_lyLoad, g_iLayerNum);
        free(g_lyLoad);
        g_lyLoad = NULL;
        (void)freeColor(g_clLoad, g_iColorNum);
        free(g_clLoad);
        g_clLoad = NULL;
        state.ResumeTiming();
        if (!done) return state.SkipWithError("the job was not loaded");
    }
    vt::host::documents().close();
    perPoint(state, shape);
}

void BM_JobWrite(benchmark::State& state)
{
    Road& road = Road::get();
    if (!road.ready()) return state.SkipWithError("no host session");
    vt::bench::JobShape shape = shapeOf(state);
    std::string out = road.folder() + "/job.hpgl";
    if (!readJob(road.job(shape)) || !load()) return state.SkipWithError("the job was not loaded");
    for (auto _ : state)
        if (!write(out)) return state.SkipWithError("the job was not written");
    release();
    perPoint(state, shape);
}

// One group of N paths: one volume of N rings, loaded and freed.
void BM_LoadOneVolumeOfManyRings(benchmark::State& state)
{
    Road& road = Road::get();
    if (!road.ready()) return state.SkipWithError("no host session");
    vt::bench::JobShape shape;
    shape.curves = static_cast<int>(state.range(0));
    shape.layers = 1;
    shape.groupsPerLayer = 1;
    if (!readJob(road.job(shape))) return state.SkipWithError("the job was not read");
    for (auto _ : state) {
        if (loadData(NULL) != kNoErr || g->volumeCount != 1) return state.SkipWithError("not one volume");
        state.PauseTiming();
        (void)freeData();
        state.ResumeTiming();
    }
    vt::host::documents().close();
    state.counters["rings"] = static_cast<double>(shape.curves);
    state.counters["per_ring"] = benchmark::Counter(static_cast<double>(shape.curves),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

// curves, layers, groups per layer (0: every curve its own top-level object).
void jobSizes(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"curves", "layers", "groups"});
    b->Args({1000, 4, 0})->Args({10000, 4, 0})->Args({100000, 4, 0})->Args({10000, 1, 1});
    b->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Job)->Apply(jobSizes);
BENCHMARK(BM_JobRead)->Apply(jobSizes);
BENCHMARK(BM_JobLoad)->Apply(jobSizes);
BENCHMARK(BM_JobWrite)->Apply(jobSizes);
BENCHMARK(BM_LoadOneVolumeOfManyRings)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
