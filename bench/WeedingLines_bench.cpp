// Weeding lines round lettering: one group of N glyph-like outlines of 16
// curves each, with ten level and ten upright lines across its frame, as the
// command palette's weeding-line button makes them:
//
//     build/vantorel_bench --benchmark_filter=WeedingLines
//
// Every piece of every line is tested against every outline of the object;
// outlines whose box cannot hold the piece's middle are passed over.
#include <benchmark/benchmark.h>

#include <math.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "Common/PluginGlobals.h"
#include "Common/PluginMain.h"
#include "Common/Suites.h"
#include "Core/RipMake.h"
#include "Documents/Document.h"
#include "DocumentBench.h"

namespace {

using vt::bench::Bench;
using vt::bench::newLettering;
using vt::host::ArtNode;

void BM_WeedingLines(benchmark::State& state)
{
    if (!Bench::get().ready()) {
        state.SkipWithError("the host session did not start");
        return;
    }
    int glyphs = static_cast<int>(state.range(0));
    size_t paths = 0;
    for (auto _ : state) {
        state.PauseTiming();
        newLettering(glyphs);
        state.ResumeTiming();
        (void)doRipMake(1.0, 1.0, 10, 10);
        state.PauseTiming();
        paths = 0;
        for (ArtNode* a : vt::host::currentDocument()->allArt()) paths += a->type == kPathArt && !a->closed;
        state.ResumeTiming();
    }
    state.counters["pieces"] = static_cast<double>(paths);
    state.SetItemsProcessed(state.iterations() * glyphs * 16);
}
BENCHMARK(BM_WeedingLines)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
