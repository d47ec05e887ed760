// Redrawing the Plot Out preview of a large sign-lettering job: 5,000 letters
// of curved bowls and straight stems, fitted with arcs, drawn into the
// preview frame by the stand-in toolkit's drawer. A full redraw follows every
// change the user makes in the dialog, so it should take well under 50 ms.
//
// Cases: the view the dialog opens with (zoom 1, a few hundred letters on the
// frame), the whole job in view (the smallest zoom), and the first redraw
// after the job was loaded (nothing kept yet). Each checks once that its
// pixels equal those of a redraw made from scratch.
#include <benchmark/benchmark.h>

#include <cairo.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <sstream>
#include <vector>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ReDrawPlotOutPreview.h"
#include "Core/VolumePlacement.h"
#include "Host.h"
#include "LetteringShapes.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

namespace {

// One letter about 20 x 30 mm: an outline of stems and a round bowl, and a
// round counter; 13 segments.
void addLetter(Volume& v, int variant)
{
    double r = 8 + (variant % 3);
    std::vector<bezier_stru> outer = {straight(0, 0, 0, 30), straight(0, 30, 6, 30)};
    outer.push_back(straight(6, 30, 6, 2 * r));
    for (int q = 1; q < 4; q++) outer.push_back(quarter(12, r, r, q));
    outer.push_back(straight(12 + r, r, 12 + r, 0));
    outer.push_back(straight(12 + r, 0, 0, 0));
    std::vector<bezier_stru> inner;
    for (int q = 0; q < 4; q++) inner.push_back(quarter(12, r, r / 2, 3 - q));
    v.ringCount = 2;
    v.rings = (Ring*)malloc(sizeof(Ring) * 2);
    v.rings[0] = ringOf(outer);
    v.rings[1] = ringOf(inner);
    v.baseWidth = 12 + r;
    v.baseHeight = 30;
    v.loadRect[0] = 0;
    v.loadRect[1] = 30;
    v.loadRect[2] = (float)(12 + r);
    v.loadRect[3] = 0;
}

ASErr drawFrame(ADMItemRef item, ADMDrawerRef drawer) { return drawPreviewFrame(item, drawer); }

// The job in a Plot Out sized preview frame, with the start-up look and every
// marker and label shown, the whole job selected.
struct PreviewJob {
    std::ostringstream hostOutput;
    std::unique_ptr<vt::host::Host> host;
    PluginGlobals* saved = nullptr;
    PluginGlobals* globals = nullptr;
    vt::host::toolkit::Item* frame = nullptr;

    PreviewJob(int letters, double zoom)
    {
        vt::host::HostOptions options;
        options.out = &hostOutput;
        host = std::make_unique<vt::host::Host>(options);
        saved = g;
        globals = (PluginGlobals*)calloc(1, sizeof(PluginGlobals));
        g = globals;
        sADMDrawer = &vt::host::suiteTable<ADMDrawerSuite>();
        sADMItem = &vt::host::suiteTable<ADMItemSuite>();
        sAIRealMath = &vt::host::suiteTable<AIRealMathSuite>();

        g->curPlotter.PlotterOrigin = 1;
        g->curPlotter.PlotterSizeX = 1220;
        g->curPlotter.PlotterSizeY = 50000;
        g->mediaWidth = 1220;
        g->mediaLength = 50000;
        g->viewShowIndex = g->viewShowControlPoints = g->viewShowStartPoint = 1;
        static const uint32_t look[13] = {0xFFFFFFFF, 0x808080FF, 0xFFFFFFFF, 0x40E040FF, 0xFF0000FF, 0x4040C0FF, 1,
                                          3,          0x4040C0FF, 2,          3,          0x00FFFFFF, 255};
        memcpy(g->previewOption.words, look, sizeof look);

        g->volumes = (Volume*)calloc((size_t)letters, sizeof(Volume));
        g->volumeCount = letters;
        for (int i = 0; i < letters; i++) {
            Volume& v = g->volumes[i];
            addLetter(v, i);
            v.rect[0] = (float)((i % 40) * 25);
            v.rect[3] = (float)((i / 40) * 35);
            v.rect[2] = (float)(v.rect[0] + v.baseWidth);
            v.rect[1] = (float)(v.rect[3] + v.baseHeight);
            v.scaleX = v.scaleY = 1;
            v.copiesX = v.copiesY = 1;
            v.gapX = v.gapY = 3;
            v.precision = 0.1;
            v.fitType = 2;
            v.colorRGB[0] = 255;
            v.flags = kVolumeSelected | kVolumeVisible;
            v.index = i + 1;
        }

        ADMDialogSuite& dialogs = vt::host::suiteTable<ADMDialogSuite>();
        ADMDialogRef dialog = dialogs.Create(nullptr, "Plot Out Dialog", 121, kADMFloatingDialogStyle, nullptr, nullptr, 0);
        ADMRect bounds = {2, 210, 545, 826};
        ADMItemRef item = sADMItem->Create(dialog, 61, kADMFrameType, &bounds, nullptr, nullptr, 0);
        sADMItem->SetDrawProc(item, drawFrame);
        frame = reinterpret_cast<vt::host::toolkit::Item*>(item);
        // A real host keeps no record of the drawing calls.
        vt::host::toolkit::Toolkit::get().callRecordLimit = 0;
        g->previewZoomX = g->previewZoomY = zoom;
        g->previewOrigin.h = 0;
        g->previewOrigin.v = 543;
    }
    ~PreviewJob()
    {
        releasePreviewCache();
        for (int32_t i = 0; i < g->volumeCount; i++) {
            for (int32_t r = 0; r < g->volumes[i].ringCount; r++) free(g->volumes[i].rings[r].beziers);
            free(g->volumes[i].rings);
        }
        free(g->volumes);
        free(globals);
        g = saved;
        host.reset();
    }

    void draw()
    {
        auto& tk = vt::host::toolkit::Toolkit::get();
        tk.invalidate(frame);
        tk.draw(frame);
    }

    std::vector<unsigned char> pixels() const
    {
        cairo_surface_t* s = frame->raster.surface();
        cairo_surface_flush(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        return std::vector<unsigned char>(data, data + cairo_image_surface_get_stride(s) * frame->raster.height());
    }
};

void redraw(benchmark::State& state, double zoom, bool cold)
{
    PreviewJob job((int)state.range(0), zoom);
    job.draw();
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            releasePreviewCache();
            state.ResumeTiming();
        }
        job.draw();
    }
    std::vector<unsigned char> drawn = job.pixels();
    releasePreviewCache();
    job.draw();
    if (job.pixels() != drawn) state.SkipWithError("the kept pictures drew other pixels than a fresh redraw");
}

void BM_PreviewOpeningView(benchmark::State& state) { redraw(state, 1.0, false); }
void BM_PreviewWholeJob(benchmark::State& state) { redraw(state, 0.1, false); }
void BM_PreviewFirstDrawAfterLoading(benchmark::State& state) { redraw(state, 1.0, true); }

}  // namespace

BENCHMARK(BM_PreviewOpeningView)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewWholeJob)->Arg(1250)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewFirstDrawAfterLoading)->Arg(5000)->Unit(benchmark::kMillisecond);

namespace {

// One letter in as many copies as a volume takes (100 x 100), zoomed in so
// that a few of them are in view: a redraw looks only at those, after the
// job was loaded (nothing kept) and again.
void manyCopies(benchmark::State& state, bool cold)
{
    PreviewJob job(1, 4.0);
    Volume& v = g->volumes[0];
    v.copiesX = v.copiesY = (int32_t)state.range(0);
    (void)updateVolumeRect(&v);
    job.draw();
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            releasePreviewCache();
            state.ResumeTiming();
        }
        job.draw();
    }
}

void BM_PreviewManyCopiesFirstDraw(benchmark::State& state) { manyCopies(state, true); }
void BM_PreviewManyCopies(benchmark::State& state) { manyCopies(state, false); }

}  // namespace

BENCHMARK(BM_PreviewManyCopiesFirstDraw)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewManyCopies)->Arg(100)->Unit(benchmark::kMillisecond);
