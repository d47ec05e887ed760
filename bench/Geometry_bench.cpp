// Base line for the geometry library on sign-sized artwork: a line of
// lettering-like outlines (closed, wavy, many cubic segments each) in
// millimetres, flattened, fitted, crossed and tested for points.
#include <benchmark/benchmark.h>
#include <math.h>
#include <stdlib.h>

#include <vector>

#include "Math/Bezier.h"
#include "Math/Crossings.h"
#include "Math/CurveFit.h"
#include "Math/PointInCurve.h"

namespace {

// One glyph-like outline: a closed wavy loop through `segments` points, joined
// by cubic segments with Catmull-Rom handles, about 100 mm tall.
std::vector<bezier_stru> makeGlyph(double cx, int segments, int seed)
{
    std::vector<double> xs(segments), ys(segments);
    for (int i = 0; i < segments; i++) {
        double a = 2 * M_PI * i / segments;
        double r = 40 * (1 + 0.25 * sin(3 * a + seed) + 0.08 * sin(11 * a + 2 * seed));
        xs[i] = cx + 0.7 * r * cos(a);
        ys[i] = 50 + r * sin(a);
    }
    std::vector<bezier_stru> out;
    for (int i = 0; i < segments; i++) {
        int p = (i + segments - 1) % segments, j = (i + 1) % segments, q = (i + 2) % segments;
        bezier_stru b;
        b.degree = 3;
        b.P[0][0] = xs[i];
        b.P[0][1] = ys[i];
        b.P[1][0] = xs[i] + (xs[j] - xs[p]) / 6;
        b.P[1][1] = ys[i] + (ys[j] - ys[p]) / 6;
        b.P[2][0] = xs[j] - (xs[q] - xs[i]) / 6;
        b.P[2][1] = ys[j] - (ys[q] - ys[i]) / 6;
        b.P[3][0] = xs[j];
        b.P[3][1] = ys[j];
        out.push_back(b);
    }
    return out;
}

std::vector<std::vector<bezier_stru>> makeLettering(int glyphs, int segments)
{
    std::vector<std::vector<bezier_stru>> text;
    for (int g = 0; g < glyphs; g++)
        text.push_back(makeGlyph(90.0 * g, segments, g));
    return text;
}

std::vector<point_struct> flattenGlyph(const std::vector<bezier_stru>& glyph)
{
    std::vector<point_struct> pts;
    pts.push_back(point_struct{glyph[0].P[0][0], glyph[0].P[0][1]});
    for (const bezier_stru& b : glyph) {
        bezier_stru* pieces = NULL;
        int n = 0;
        BezierToLineBy2Div(&b, &n, &pieces);
        for (int i = 0; i < n; i++)
            pts.push_back(point_struct{pieces[i].P[3][0], pieces[i].P[3][1]});
        free(pieces);
    }
    return pts;
}

void BM_FlattenLettering(benchmark::State& state)
{
    auto text = makeLettering(20, (int)state.range(0));
    long pieces = 0;
    for (auto _ : state) {
        for (const auto& glyph : text)
            for (const bezier_stru& b : glyph) {
                bezier_stru* out = NULL;
                int n = 0;
                BezierToLineBy2Div(&b, &n, &out);
                pieces += n;
                free(out);
            }
    }
    state.counters["segments"] = 20.0 * state.range(0);
    benchmark::DoNotOptimize(pieces);
}
BENCHMARK(BM_FlattenLettering)->Arg(16)->Arg(64)->Arg(256);

void BM_FitLettering(benchmark::State& state, bool arcs)
{
    auto text = makeLettering(20, (int)state.range(0));
    std::vector<std::vector<point_struct>> polylines;
    for (const auto& glyph : text)
        polylines.push_back(flattenGlyph(glyph));
    long total = 0;
    for (auto _ : state) {
        for (const auto& pts : polylines) {
            int n = 0;
            if (arcs) {
                arc_struct* out = NULL;
                fitPointByArc(pts.data(), (int)pts.size(), 0.025, &out, &n);
                free(out);
            } else {
                Vexa_Line* out = NULL;
                fitPointByLine(pts.data(), (int)pts.size(), 0.025, &out, &n);
                free(out);
            }
            total += n;
        }
    }
    benchmark::DoNotOptimize(total);
}
BENCHMARK_CAPTURE(BM_FitLettering, lines, false)->Arg(16)->Arg(64)->Arg(256);
BENCHMARK_CAPTURE(BM_FitLettering, arcs, true)->Arg(16)->Arg(64)->Arg(256);

void BM_ArcToPoints(benchmark::State& state)
{
    arc_struct arc = {{100, 0}, {70.710678, 70.710678}, {0, 100}, {0, 0}, kArcCircle};
    for (auto _ : state) {
        point_struct* pts = NULL;
        int n = 0;
        fitArcByPoint(arc, 0.01, &pts, &n);
        benchmark::DoNotOptimize(pts);
        free(pts);
    }
}
BENCHMARK(BM_ArcToPoints);

// A grid of test points across one glyph, as the weeding lines test the
// midpoints of their pieces.
void BM_PointInGlyph(benchmark::State& state)
{
    std::vector<bezier_stru> glyph = makeGlyph(0, (int)state.range(0), 1);
    std::vector<_t_ASRealPoint> probes;
    for (int i = 0; i < 20; i++)
        for (int j = 0; j < 20; j++)
            probes.push_back(_t_ASRealPoint{(float)(-45 + 4.5 * i), (float)(5 + 4.5 * j)});
    long inside = 0;
    for (auto _ : state)
        for (const _t_ASRealPoint& p : probes)
            inside += PointInBeziers(glyph.data(), (int)glyph.size(), p, NULL) == kPointInside;
    state.counters["probes"] = (double)probes.size();
    benchmark::DoNotOptimize(inside);
}
BENCHMARK(BM_PointInGlyph)->Arg(16)->Arg(64)->Arg(256);

// Horizontal weeding lines across the whole line of lettering.
void BM_LineCrossingsAcrossLettering(benchmark::State& state)
{
    auto text = makeLettering(20, (int)state.range(0));
    std::vector<UDT_PolyBezier> paths;
    for (auto& glyph : text)
        paths.push_back(UDT_PolyBezier{glyph.data(), (int32_t)glyph.size()});
    long points = 0;
    for (auto _ : state) {
        for (int k = 0; k < 20; k++) {
            Vexa_Line line = {-60, 5 + 4.5 * k, 1800, 5 + 4.5 * k};
            _t_ASRealPoint* pts = NULL;
            int n = 0;
            LineIntersectWithPolyBeziers(line, paths.data(), (int)paths.size(), &pts, &n);
            points += n;
            free(pts);
        }
    }
    benchmark::DoNotOptimize(points);
}
BENCHMARK(BM_LineCrossingsAcrossLettering)->Arg(16)->Arg(64)->Arg(256);

}  // namespace
