// Cutting large lettering into panels: one group of N glyph-like outlines of
// 16 curves each, cut along two upright and two level guides into 3 x 3
// panels with align marks, as the split palette's OK does:
//
//     build/vantorel_bench --benchmark_filter=PanelClipping
//
// The chaining of the clipped pieces into paths on its own, with the index of
// piece ends and with the plain scan of every piece, shows why the index is
// there; both make the same chains.
#include <benchmark/benchmark.h>

#include <math.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/PluginMain.h"
#include "Common/Suites.h"
#include "Core/Split.h"
#include "Documents/Document.h"
#include "DocumentBench.h"
#include "Session.h"

namespace {

using vt::bench::letteringRows;
using vt::bench::newLettering;
using vt::bench::Bench;
using vt::bench::kColumns;
using vt::bench::kPitch;
using vt::host::ArtNode;
using vt::host::Document;

// A fresh document: the lettering selected and the guide group in thirds.
AIArtHandle makeJob(int glyphs)
{
    Document& d = newLettering(glyphs);
    int rows = letteringRows(glyphs);
    ArtNode* guides = d.newArt(kGroupArt);
    d.place(guides, kPlaceAboveAll, nullptr);
    double w = kColumns * kPitch, h = rows * kPitch;
    double at[4][4] = {{w / 3 + 7, -10, w / 3 + 7, h + 60},
                       {2 * w / 3 + 3, -10, 2 * w / 3 + 3, h + 60},
                       {-10, h / 3 + 5, w + 60, h / 3 + 5},
                       {-10, 2 * h / 3 + 11, w + 60, 2 * h / 3 + 11}};
    for (auto& line : at) {
        ArtNode* guide = d.newArt(kPathArt);
        guide->segments = {vt::host::cornerSegment(AIReal(line[0]), AIReal(line[1])),
                           vt::host::cornerSegment(AIReal(line[2]), AIReal(line[3]))};
        guide->guide = true;
        d.place(guide, kPlaceInsideOnBottom, guides);
    }
    return Document::handle(guides);
}

void BM_PanelClipping(benchmark::State& state)
{
    if (!Bench::get().ready()) {
        state.SkipWithError("the host session did not start");
        return;
    }
    int glyphs = static_cast<int>(state.range(0));
    g->splitSortMethod = 1;
    g->splitMarkStyle = kSplitMarkCircle;
    g->splitOverlapX = g->splitOverlapY = 10.0;
    size_t paths = 0;
    for (auto _ : state) {
        state.PauseTiming();
        AIArtHandle guides = makeJob(glyphs);
        state.ResumeTiming();
        if (doClipArt(guides) != kNoErr) {
            state.SkipWithError("the cutting failed");
            return;
        }
        state.PauseTiming();
        paths = 0;
        for (ArtNode* a : vt::host::currentDocument()->allArt()) paths += a->type == kPathArt && !a->guide;
        state.ResumeTiming();
    }
    state.counters["paths"] = static_cast<double>(paths);
    state.SetItemsProcessed(state.iterations() * glyphs * 16);
}
BENCHMARK(BM_PanelClipping)->Arg(250)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

// Pieces of one panel's worth of outlines: each outline's 16 curves in
// shuffled order among all the others, as clipping leaves them.
std::vector<bezier_stru> scatteredPieces(int outlines)
{
    std::vector<bezier_stru> pieces;
    for (int o = 0; o < outlines; o++) {
        double cx = (o % kColumns) * kPitch, cy = (o / kColumns) * kPitch;
        double pts[17][2];
        for (int i = 0; i <= 16; i++) {
            double a = 2 * M_PI * (i % 16) / 16;
            pts[i][0] = cx + 9 * cos(a);
            pts[i][1] = cy + 9 * sin(a);
        }
        for (int i = 0; i < 16; i++)
            pieces.push_back({3, {{pts[i][0], pts[i][1]}, {pts[i][0], pts[i][1]}, {pts[i + 1][0], pts[i + 1][1]},
                                  {pts[i + 1][0], pts[i + 1][1]}}});
    }
    std::shuffle(pieces.begin(), pieces.end(), std::mt19937(24));
    return pieces;
}

void chainAll(benchmark::State& state, bool indexed)
{
    std::vector<bezier_stru> pieces = scatteredPieces(static_cast<int>(state.range(0)));
    int32_t n = static_cast<int32_t>(pieces.size());
    std::unique_ptr<bool[]> used(new bool[pieces.size()]);
    for (auto _ : state) {
        std::fill_n(used.get(), pieces.size(), false);
        PieceEndIndex* index = indexed ? NewPieceEndIndex(pieces.data(), n) : nullptr;
        int chains = 0;
        for (;;) {
            bezier_stru* chain = nullptr;
            int32_t length = 0;
            if (SortBezier(pieces.data(), n, used.get(), &length, &chain, index) != kNoErr || length == 0) break;
            free(chain);
            chains++;
        }
        FreePieceEndIndex(index);
        benchmark::DoNotOptimize(chains);
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_ChainingIndexed(benchmark::State& state) { chainAll(state, true); }
void BM_ChainingPlainScan(benchmark::State& state) { chainAll(state, false); }
BENCHMARK(BM_ChainingIndexed)->Arg(16)->Arg(64)->Arg(256)->Arg(1024);
BENCHMARK(BM_ChainingPlainScan)->Arg(16)->Arg(64)->Arg(256)->Arg(1024);

}  // namespace
