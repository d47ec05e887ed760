// Writing a large sign-lettering job: rows of letter outlines (curved bowls
// and straight stems) to a file, fitted with arcs or with lines.
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "Common/PluginGlobals.h"
#include "PlotOut/PlotOut.h"

namespace {

// One letter of about 20 x 30 mm: an outer outline of straight stems and
// curved bowls, and an inner counter, 21 segments in all.
void addLetter(std::vector<Ring>& rings, int variant)
{
    const double k = 0.5522847498;
    auto quarter = [&](double cx, double cy, double r, int q) {
        double a[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        const double* s = a[q % 4];
        const double* e = a[(q + 1) % 4];
        bezier_stru b = {3, {{cx + r * s[0], cy + r * s[1]},
                             {cx + r * (s[0] + k * e[0]), cy + r * (s[1] + k * e[1])},
                             {cx + r * (e[0] + k * s[0]), cy + r * (e[1] + k * s[1])},
                             {cx + r * e[0], cy + r * e[1]}}};
        return b;
    };
    auto straight = [](double x1, double y1, double x2, double y2) {
        bezier_stru b = {3, {{x1, y1}, {x1, y1}, {x2, y2}, {x2, y2}}};
        return b;
    };
    std::vector<bezier_stru> outer;
    double r = 8 + (variant % 3);
    outer.push_back(straight(0, 0, 0, 30));
    outer.push_back(straight(0, 30, 10, 30));
    for (int q = 0; q < 2; q++)
        outer.push_back(quarter(10, 30 - r, r, (q + 1) % 4 == 0 ? 0 : 3 + q));
    outer.push_back(straight(10, 30 - 2 * r, 4, 30 - 2 * r));
    for (int q = 0; q < 4; q++)
        outer.push_back(quarter(12, 8, 8, q));
    for (int i = 0; i < 7; i++)
        outer.push_back(straight(4 + i, 1 + (i % 2), 5 + i, 1 + ((i + 1) % 2)));
    outer.push_back(straight(11, 1, 0, 0));
    std::vector<bezier_stru> inner;
    for (int q = 0; q < 4; q++)
        inner.push_back(quarter(12, 8, 4, 3 - q));
    for (auto* part : {&outer, &inner}) {
        Ring ring;
        memset(&ring, 0, sizeof ring);
        ring.kind = 1;
        ring.count = (int32_t)part->size();
        ring.beziers = (bezier_stru*)malloc(sizeof(bezier_stru) * part->size());
        memcpy(ring.beziers, part->data(), sizeof(bezier_stru) * part->size());
        rings.push_back(ring);
    }
}

struct Job {
    PluginGlobals* globals = nullptr;
    PluginGlobals* saved = nullptr;
    std::vector<Volume> volumes;
    Pen pen;
    long segments = 0;

    Job(int letters, int fitType)
    {
        saved = g;
        globals = (PluginGlobals*)calloc(1, sizeof(PluginGlobals));
        g = globals;
        g->curPlotter.PlotterStep = 0.025;
        g->arcAngleUnit = 0.1;
        memset(&pen, 0, sizeof pen);
        pen.Velocity = 40;
        pen.Pressure = 90;
        g->curEnvironment.PenNumber = 1;
        g->curEnvironment.Pens = &pen;
        for (int i = 0; i < letters; i++) {
            std::vector<Ring> rings;
            addLetter(rings, i);
            Volume v;
            memset(&v, 0, sizeof v);
            v.ringCount = (int32_t)rings.size();
            v.rings = (Ring*)malloc(sizeof(Ring) * rings.size());
            memcpy(v.rings, rings.data(), sizeof(Ring) * rings.size());
            for (const Ring& ring : rings)
                segments += ring.count;
            v.layerName = "Lettering";
            v.rect[0] = (float)((i % 40) * 25);
            v.rect[3] = (float)((i / 40) * 35);
            v.scaleX = v.scaleY = 1;
            v.copiesX = v.copiesY = 1;
            v.precision = 0.05;
            v.fitType = fitType;
            v.flags = 5;
            v.index = i + 1;
            volumes.push_back(v);
        }
        g->volumes = volumes.data();
        g->volumeCount = (int32_t)volumes.size();
    }
    ~Job()
    {
        for (Volume& v : volumes) {
            for (int i = 0; i < v.ringCount; i++)
                free(v.rings[i].beziers);
            free(v.rings);
        }
        free(globals);
        g = saved;
    }
};

void writeJob(benchmark::State& state, int language, int fitType)
{
    const int letters = 4800;  // 21 segments each: 100,800 segments
    Job job(letters, fitType);
    Color colour;
    memset(&colour, 0, sizeof colour);
    for (auto _ : state) {
        FILE* file = tmpfile();
        if (file == nullptr) {
            state.SkipWithError("no temporary file");
            break;
        }
        ASErr error = initialPloter(language, file);
        if (error == kNoErr) error = plotOutGlobalVolumes(nullptr, 0, &colour, 1, language, file, 0);
        if (error == kNoErr) error = endOfPlotOut(language, file);
        fclose(file);
        if (error != kNoErr) {
            state.SkipWithError("the job was not written");
            break;
        }
    }
    state.counters["segments"] =
        benchmark::Counter((double)job.segments * (double)state.iterations(), benchmark::Counter::kIsRate);
}

void BM_WriteLetteringHpglArcs(benchmark::State& state) { writeJob(state, kLanguageHPGL, 2); }
void BM_WriteLetteringHpglLines(benchmark::State& state) { writeJob(state, kLanguageHPGL, 1); }
void BM_WriteLetteringGpglArcs(benchmark::State& state) { writeJob(state, kLanguageGPGL, 2); }

}  // namespace

BENCHMARK(BM_WriteLetteringHpglArcs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLetteringHpglLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLetteringGpglArcs)->Unit(benchmark::kMillisecond);
