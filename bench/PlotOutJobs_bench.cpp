// What a user waits for with a job that fills the Plot Out preview's first
// view (a 500 mm square at zoom 1), for the three shapes of job that cost the
// most:
//
//   Curves10k     10,000 closed curves of 8 cubic segments, 4 layers
//   Polylines42k  42,000 open paths of 10 straight segments, one layer whose
//                 group carries the style (a drawing exported as polylines)
//   Curves100k    100,000 closed curves of 8 cubic segments, 4 layers
//
// Each is timed three ways, through the Plot Out dialog as the host drives it,
// with nobody watching (as `vantorel-host plot` runs):
//
//   BM_PlotJob          the whole of `plot` in process: the SVG read and
//                       selected, Plot Out opened, the job written to a file
//   BM_OpenPlotOut      opening the dialog on the read document (its init:
//                       the cut model, the lists, the cut length) and the
//                       first drawing of the preview
//   BM_RedrawAfterMove  the selection moved by typing its left edge, and the
//                       preview drawn again: one volume (picked with a click
//                       in the preview; a few touching polylines in a band)
//                       or every volume of the job
//
//     build/vantorel_bench --benchmark_filter='PlotJob|OpenPlotOut|RedrawAfterMove'
//
// Peak memory is the process's (`/usr/bin/time -v vantorel-host plot`; see the
// README).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Core/VolumePlacement.h"
#include "Dialog/PlotOutDialog.h"
#include "DocumentBench.h"
#include "Documents/Svg.h"
#include "JobGenerator.h"
#include "Menus/Menus.h"
#include "Toolkit/Driver.h"

namespace {

using vt::bench::Bench;
using vt::bench::readJob;
using vt::host::toolkit::DialogAction;
using vt::host::toolkit::Driver;
using vt::host::toolkit::Toolkit;

enum JobKind { kCurves10k, kPolylines42k, kCurves100k };

vt::bench::JobShape shapeOf(int kind)
{
    vt::bench::JobShape shape;
    shape.square = 500;
    switch (kind) {
    case kCurves10k:
        shape.curves = 10000;
        shape.segments = 8;
        break;
    case kPolylines42k:
        shape.curves = 42000;
        shape.layers = 1;
        shape.segments = 10;
        shape.polylines = true;
        break;
    default:
        shape.curves = 100000;
        shape.segments = 8;
        break;
    }
    return shape;
}

// The job of this kind as an SVG file in the run's folder, written once.
std::string jobFile(int kind)
{
    std::string path = Bench::get().folder() + "/view-job-" + std::to_string(kind) + ".svg";
    if (!std::filesystem::exists(path)) vt::bench::writeJob(shapeOf(kind), path);
    return path;
}

// The session ready for Plot Out with nobody watching its dialogs, for as
// long as it lives.
class Unwatched {
public:
    Unwatched() : ready_(Bench::get().ready())
    {
        if (!ready_) return;
        vt::bench::putBenchPlotter(Bench::get().host().prefs());
        Toolkit::get().watched = false;
        // A real host keeps no record of the drawing calls.
        recordLimit_ = Toolkit::get().callRecordLimit;
        Toolkit::get().callRecordLimit = 0;
    }
    ~Unwatched()
    {
        if (!ready_) return;
        Toolkit::get().watched = true;
        Toolkit::get().callRecordLimit = recordLimit_;
    }
    bool ready() const { return ready_; }

private:
    bool ready_;
    size_t recordLimit_ = 0;
};

// Opens Plot Out from the plug-in's menu and answers it with the actions;
// false when it did not open or an action failed.
bool plotOut(std::vector<DialogAction> actions)
{
    std::string error;
    vt::host::MenuItem* item = vt::host::menus().find("Plot Out Menu", error);
    if (!item) return false;
    auto outcome = Toolkit::get().driveModal(kPlotOutDialog.name, std::move(actions), [item](std::string& e) {
        vt::host::menus().choose(item, e);
        return e.empty();
    });
    return outcome.opened && outcome.failures.empty();
}

DialogAction click(ASInt32 id)
{
    return [id](Driver& user, std::string& e) { return user.click(id, e); };
}

// The preview drawn as the host draws it when something looks at it.
DialogAction drawPreview()
{
    return [](Driver& user, std::string& e) {
        vt::host::toolkit::Item* frame = user.find(kPlotOutPreviewItem, e);
        if (!frame) return false;
        Toolkit::get().draw(frame);
        return true;
    };
}

void perPoint(benchmark::State& state, int kind)
{
    double points = static_cast<double>(vt::bench::jobPoints(shapeOf(kind)));
    state.counters["points"] = points;
    state.counters["per_point"] =
        benchmark::Counter(points, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PlotJob(benchmark::State& state)
{
    Unwatched session;
    if (!session.ready()) return state.SkipWithError("no host session");
    int kind = static_cast<int>(state.range(0));
    std::string job = jobFile(kind), out = Bench::get().folder() + "/view-job.hpgl";
    for (auto _ : state) {
        Toolkit::get().fileAnswers.push_back(out);
        bool done = readJob(job) && plotOut({click(kPlotOutFileOutputItem), click(kPlotOutExitItem)});
        Toolkit::get().fileAnswers.clear();
        vt::host::documents().close();
        if (!done) return state.SkipWithError("the job did not go through");
    }
    perPoint(state, kind);
}

void BM_OpenPlotOut(benchmark::State& state)
{
    Unwatched session;
    if (!session.ready()) return state.SkipWithError("no host session");
    int kind = static_cast<int>(state.range(0));
    if (!readJob(jobFile(kind))) return state.SkipWithError("the job was not read");
    for (auto _ : state) {
        DialogAction pause = [&state](Driver&, std::string&) {
            state.PauseTiming();
            return true;
        };
        bool done = plotOut({drawPreview(), pause, click(kPlotOutExitItem)});
        state.ResumeTiming();
        if (!done) return state.SkipWithError("Plot Out did not open");
    }
    vt::host::documents().close();
    perPoint(state, kind);
}

// The first volume picked in the preview: a click in its middle or, when
// that finds nothing (an open path has no inside), a band drawn round it,
// which takes the few volumes it touches.
bool pickOne(Driver& user, std::string& e)
{
    const Volume& v = g->volumes[0];
    AIRealRect r = {v.rect[0], v.rect[1], v.rect[2], v.rect[3]};
    ADMRect frame;
    convertDimenRectToFrameRect(r, &frame);
    ADMPoint middle = {(ASInt16)((frame.left + frame.right) / 2), (ASInt16)((frame.top + frame.bottom) / 2)};
    if (!user.press(kPlotOutPreviewItem, middle, 0, e) || !user.release(middle, 0, e))
        return false;
    AIRealRect selection;
    if (getSelectionVolumeRealRect(&selection) == kNoErr)
        return true;
    ADMPoint from = {(ASInt16)(frame.left - 1), (ASInt16)(frame.top - 1)};
    ADMPoint to = {(ASInt16)(frame.right + 1), (ASInt16)(frame.bottom + 1)};
    return user.press(kPlotOutPreviewItem, from, 0, e) && user.drag(to, 0, e) && user.release(to, 0, e) &&
           getSelectionVolumeRealRect(&selection) == kNoErr;
}

void BM_RedrawAfterMove(benchmark::State& state)
{
    Unwatched session;
    if (!session.ready()) return state.SkipWithError("no host session");
    int kind = static_cast<int>(state.range(0));
    bool every = state.range(1) != 0;
    if (!readJob(jobFile(kind))) return state.SkipWithError("the job was not read");
    DialogAction moves = [&](Driver& user, std::string& e) {
        Toolkit::get().draw(user.find(kPlotOutPreviewItem, e));
        if (!every && !pickOne(user, e)) return false;
        Toolkit::get().draw(user.find(kPlotOutPreviewItem, e));
        int step = 0;
        for (auto _ : state) {
            // The selection 10 mm to the right, then back.
            if (!user.type(kPlotOutOffsetXItem, ++step % 2 ? "10 mm" : "0 mm", e)) return false;
            Toolkit::get().draw(user.find(kPlotOutPreviewItem, e));
        }
        return true;
    };
    if (!plotOut({moves, click(kPlotOutExitItem)})) state.SkipWithError("the selection was not moved");
    vt::host::documents().close();
}

void jobKinds(benchmark::internal::Benchmark* b)
{
    b->ArgName("job")->Arg(kCurves10k)->Arg(kPolylines42k)->Arg(kCurves100k)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_PlotJob)->Apply(jobKinds);
BENCHMARK(BM_OpenPlotOut)->Apply(jobKinds);
BENCHMARK(BM_RedrawAfterMove)
    ->ArgNames({"job", "every"})
    ->ArgsProduct({{kCurves10k, kPolylines42k, kCurves100k}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
