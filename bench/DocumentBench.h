// What the benchmarks that work on documents share: a host session with the
// plug-in linked in, held for the whole run, and the glyph-like outlines
// they fill documents with.
#pragma once

#include <math.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "Common/PluginMain.h"
#include "Common/Suites.h"
#include "Core/PlotterPreferences.h"
#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "PlotOut/PlotOut.h"
#include "Session.h"

namespace vt::bench {

// One host session with the plug-in linked in, for the whole run.
class Bench {
public:
    static Bench& get()
    {
        static Bench bench;
        return bench;
    }
    bool ready() const { return ready_; }
    // A folder of the run's own, removed at its end.
    const std::string& folder() const { return folder_; }
    vt::host::Host& host() { return session_->host(); }

private:
    Bench()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-bench-XXXXXX").string();
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
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }

    std::string folder_;
    std::ostringstream hostOutput_;
    std::unique_ptr<vt::host::Session> session_;
    bool ready_ = false;
};

// The current plotter of the benchmarks: 610 mm wide and 50 m long (a 24-inch
// roll), steps of 0.025 mm, HPGL, origin at the lower left, one knife.
inline void putBenchPlotter(vt::host::Preferences& p)
{
    const char* k = kCurrentPlotterPrefix;
    p.putString(k, "PlotterName", "Bench Cutter");
    p.putString(k, "PlotterManufactory", "Korvel");
    p.putBoolean(k, "IsSpecialMachine", false);
    p.putInteger(k, "PlotterReserved", 0);
    p.putString(k, "PlotterIni", "");
    p.putString(k, "PlotterEnd", "");
    p.putReal(k, "PlotterSizeX", 610);
    p.putReal(k, "PlotterSizeY", 50000);
    p.putReal(k, "PlotterStep", 0.025);
    p.putInteger(k, "PlotterOrigin", 1);
    p.putInteger(k, "PlotterLanguage", kLanguageHPGL);
    p.putInteger(k, "PID", 1);
    p.putInteger(k, "VID", 1);
    p.putString(k, "EnvironmentName", "Vinyl");
    p.putInteger(k, "EnvironmentPenNum", 1);
    p.putString(k, "PenName-0", "Knife");
    for (const char* f : {"PenVelocity", "PenExtra", "PenPressure", "maxExtra", "minExtra", "stepExtra",
                          "defaultExtra", "maxVelocity", "minVelocity", "stepVelocity", "defaultVelocity",
                          "maxPressure", "minPressure", "stepPressure", "defaultPressure"})
        p.putReal(k, std::string(f) + "-0", 10.0);
    p.putInteger(k, "PenReserved-0", 0);
}

// Lettering laid out in rows of this many glyphs, this far apart (points).
const int kColumns = 50;
const double kPitch = 25.0;

// A closed outline of 16 curves about 20 points across, its radius
// wobbling like the bowls and stems of a letter.
inline void addGlyph(vt::host::Document& d, vt::host::ArtNode* group, double cx, double cy, int variant)
{
    vt::host::ArtNode* p = d.newArt(kPathArt);
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

// The rows the lettering of this many glyphs takes.
inline int letteringRows(int glyphs) { return (glyphs + kColumns - 1) / kColumns; }

// A fresh document holding lettering of this many glyphs in one selected
// group, on a page a little larger than it.
inline vt::host::Document& newLettering(int glyphs)
{
    vt::host::Document& d = vt::host::documents().newDocument();
    int rows = letteringRows(glyphs);
    d.page = AIRealRect{0, AIReal(rows * kPitch + 50), AIReal(kColumns * kPitch + 50), 0};
    vt::host::ArtNode* lettering = d.newArt(kGroupArt);
    d.place(lettering, kPlaceBelowAll, nullptr);
    for (int i = 0; i < glyphs; i++)
        addGlyph(d, lettering, 25 + (i % kColumns) * kPitch, 25 + (i / kColumns) * kPitch, i);
    d.setSelected(lettering, true);
    return d;
}

// Reads a job into the current document and selects its top-level art.
inline bool readJob(const std::string& path)
{
    std::string error;
    auto document = vt::host::readSvgFile(vt::host::documents(), path, error);
    if (!document) return false;
    vt::host::Document* d = document.get();
    vt::host::documents().adopt(std::move(document));
    for (vt::host::LayerNode* l : d->layers())
        for (vt::host::ArtNode* art : l->root->children) d->setSelected(art, true);
    return true;
}

}  // namespace vt::bench
