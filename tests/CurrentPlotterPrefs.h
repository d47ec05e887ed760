// A current plotter written into the stand-in host's preferences the way the
// setup dialog writes it: by walking the same table of entries, so a fixture
// can never fall out of step with the keys, types and order the plug-in uses.
#pragma once

#include <string>
#include <vector>

#include "Core/PlotterPreferences.h"
#include "Preferences.h"

namespace vt::test {

struct CurrentPlotterPrefs {
    // A complete plotter: "Cutter 60" by "Korvel", 600 x 50000 mm, step
    // 0.025 mm, origin 1, HPGL, ids 0x1234/0x5678, current; environment
    // "Vinyl" with one pen "Blade" (30 cm/s, 0.25 mm, 80 g).
    CurrentPlotterPrefs();

    // Writes the plotter's and the environment's entries (PenNumber as it
    // stands, whatever pens holds), then those of every pen in pens. With
    // keep, only the entries it accepts.
    void put(host::Preferences& prefs, bool (*keep)(const PlotterPrefEntry&) = nullptr);

    Plotter plotter;
    Environment environment;
    std::vector<Pen> pens;
};

// The entries the menu update reads.
inline bool menuReads(const PlotterPrefEntry& entry)
{
    return entry.menuReads != 0;
}

}  // namespace vt::test
