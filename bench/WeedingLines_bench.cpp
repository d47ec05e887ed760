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
#include "Session.h"

namespace {

namespace fs = std::filesystem;
using vt::host::ArtNode;
using vt::host::Document;

// One host session with the plug-in linked in, for the whole run.
class Bench {
public:
    static Bench& get()
    {
        static Bench bench;
        return bench;
    }
    bool ready() const { return ready_; }

private:
    Bench()
    {
        std::string pattern = (fs::temp_directory_path() / "vantorel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return;
        folder_ = pattern;
        vt::host::SessionOptions options;
        options.host.prefsPath = folder_ + "/prefs.json";
        options.host.pluginFolder = folder_ + "/Plug-ins";
        options.host.resourcesDir = VANTOREL_SOURCE_DIR "/Resources";
        options.host.out = &hostOutput_;
        options.linkedMain = PluginMain;
        session_ = std::make_unique<vt::host::Session>(options);
        if (session_->start() != kNoErr || acquireSuites(session_->host().basic()) != kNoErr) return;
        ready_ = true;
    }
    ~Bench()
    {
        // Nothing is measured any more: a failed release only leaves pointers
        // the session's end makes useless anyway.
        if (ready_) (void)releaseSuites(session_->host().basic());
        session_.reset();
        std::error_code ec;
        if (!folder_.empty()) fs::remove_all(folder_, ec);
    }

    std::string folder_;
    std::ostringstream hostOutput_;
    std::unique_ptr<vt::host::Session> session_;
    bool ready_ = false;
};

const int kColumns = 50;
const double kPitch = 25.0;  // points between glyphs

// A closed outline of 16 curves about 20 points across, its radius
// wobbling like the bowls and stems of a letter.
void addGlyph(Document& d, ArtNode* group, double cx, double cy, int variant)
{
    ArtNode* p = d.newArt(kPathArt);
    const int n = 16;
    const double k = 4.0 / 3.0 * tan(M_PI / (2 * n));
    for (int i = 0; i < n; i++) {
        double a = 2 * M_PI * i / n;
        double r = 9.0 + 2.5 * sin(3 * a + variant) + (i % 4 == variant % 4 ? 1.5 : 0.0);
        AIPathSegment s;
        s.p = {AIReal(cx + r * cos(a)), AIReal(cy + r * sin(a))};
        s.in = {AIReal(s.p.h + k * r * sin(a)), AIReal(s.p.v - k * r * cos(a))};
        s.out = {AIReal(s.p.h - k * r * sin(a)), AIReal(s.p.v + k * r * cos(a))};
        s.corner = 0;
        p->segments.push_back(s);
    }
    p->closed = true;
    p->style = vt::host::defaultPathStyle();
    d.place(p, kPlaceInsideOnBottom, group);
}

// A fresh document with the lettering selected.
void makeJob(int glyphs)
{
    Document& d = vt::host::documents().newDocument();
    int rows = (glyphs + kColumns - 1) / kColumns;
    d.page = AIRealRect{0, AIReal(rows * kPitch + 50), AIReal(kColumns * kPitch + 50), 0};
    ArtNode* lettering = d.newArt(kGroupArt);
    d.place(lettering, kPlaceBelowAll, nullptr);
    for (int i = 0; i < glyphs; i++)
        addGlyph(d, lettering, 25 + (i % kColumns) * kPitch, 25 + (i / kColumns) * kPitch, i);
    d.setSelected(lettering, true);
}

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
        makeJob(glyphs);
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
