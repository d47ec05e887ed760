// Preparing large artwork from the command palette: a long text turned into
// one compound path per character, and many stroked paths confirmed into
// filled outlines (expand and merge in the host, then the clean-up).
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/PreProcess.h"
#include "Documents/Document.h"
#include "Host.h"

using namespace vt::host;

namespace {

// A host with its suites acquired by the plug-in's own import table.
struct Bench {
    std::ostringstream out;
    std::unique_ptr<Host> host;
    PluginGlobals globals{};
    PluginGlobals* saved = nullptr;

    Bench()
    {
        HostOptions options;
        options.out = &out;
        host = std::make_unique<Host>(options);
        saved = g;
        g = &globals;
        globals.offsetSize = 1.0f;
        if (acquireSuites(host->basic()) != kNoErr) throw std::runtime_error("the host suites cannot be acquired");
    }
    ~Bench()
    {
        // Nothing is left to report a failed release to at the end of a run.
        (void)releaseSuites(host->basic());
        g = saved;
    }
};

// Sign lettering: lines of 40 characters, "Oi A" over and over (an outline
// with a hole, a stem with its dot, a blank), 72 points high.
void textFrame(Document& d, int characters)
{
    ArtNode* f = d.newArt(kTextFrameArt);
    const std::string word = "Oi A";
    for (int i = 0; i < characters; ++i) {
        if (i > 0 && i % 40 == 0) f->textFrame->text += '\r';
        f->textFrame->text += word[size_t(i) % word.size()];
    }
    f->textFrame->fontSize = 72;
    f->textFrame->fontFamily = "DejaVu Sans";
    f->textFrame->origin = AIRealPoint{20, 10000};
    f->style.edit().fillPaint = 1;
    f->style.edit().strokePaint = 0;
    d.place(f, kPlaceAboveAll, nullptr);
    d.setSelected(f, true);
}

void BM_TextOutlineAndRegroup(benchmark::State& state)
{
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        Document& d = documents().newDocument();
        textFrame(d, int(state.range(0)));
        state.ResumeTiming();
        if (doTextOutline() != kNoErr) state.SkipWithError("the text outline failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Linear: a text eight times as long takes eight times as long.
BENCHMARK(BM_TextOutlineAndRegroup)->Arg(1000)->Arg(8000)->Arg(64000)->Unit(benchmark::kMillisecond);

// Stroked paths of a sign's line work: each a curved wave of four segments,
// 2 mm wide with round joins, laid out in rows so that neighbours touch.
void strokedPaths(Document& d, int count)
{
    for (int i = 0; i < count; ++i) {
        ArtNode* p = d.newArt(kPathArt);
        float x = float(i % 40) * 30, y = float(i / 40) * 20;
        for (int k = 0; k < 5; ++k) {
            AIPathSegment s = cornerSegment(x + k * 10, y + (k % 2) * 8);
            s.in.h -= 3;
            s.out.h += 3;
            s.corner = 0;
            p->segments.push_back(s);
        }
        p->style.edit().fillPaint = 0;
        p->style.edit().strokePaint = 1;
        p->style.edit().stroke.width = 5.67f;
        p->style.edit().stroke.join = 1;
        p->style.edit().stroke.cap = 1;
        d.place(p, kPlaceAboveAll, nullptr);
        d.setSelected(p, true);
    }
}

void BM_LineWidthConfirmation(benchmark::State& state)
{
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        Document& d = documents().newDocument();
        strokedPaths(d, int(state.range(0)));
        state.ResumeTiming();
        if (doLineWidthConfirm() != kNoErr) state.SkipWithError("the confirmation failed");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LineWidthConfirmation)->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
