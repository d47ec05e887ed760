#include "CurrentPlotterPrefs.h"

#include <cstring>

namespace vt::test {

CurrentPlotterPrefs::CurrentPlotterPrefs()
{
    std::memset(&plotter, 0, sizeof plotter);
    std::memset(&environment, 0, sizeof environment);
    std::strcpy(plotter.PlotterName, "Cutter 60");
    std::strcpy(plotter.PlotterManufactory, "Korvel");
    plotter.PlotterReserved = kPlotterCurrentBit;
    plotter.PlotterSizeX = 600;
    plotter.PlotterSizeY = 50000;
    plotter.PlotterStep = 0.025;
    plotter.PlotterOrigin = 1;
    plotter.Language = 0;
    plotter.PlotterPID = 0x1234;
    plotter.PlotterVID = 0x5678;
    std::strcpy(environment.EnvironmentName, "Vinyl");
    environment.EnvironmentReserved = 1;
    environment.PenNumber = 1;
    Pen pen;
    std::memset(&pen, 0, sizeof pen);
    std::strcpy(pen.PenName, "Blade");
    pen.Velocity = 30;
    pen.Extra = 0.25;
    pen.Pressure = 80;
    pens.push_back(pen);
}

void CurrentPlotterPrefs::put(host::Preferences& prefs, bool (*keep)(const PlotterPrefEntry&))
{
    auto write = [&](const PlotterPrefEntry& entry, int32_t pen, const void* field) {
        if (keep && !keep(entry)) return;
        char key[kPlotterPrefKeySize];
        plotterPrefKey(&entry, pen, key, sizeof key);
        switch (entry.type) {
        case kPlotterPrefText:
            prefs.putString(kCurrentPlotterPrefix, key,
                            std::string(static_cast<const char*>(field), strnlen(static_cast<const char*>(field), entry.size)));
            break;
        case kPlotterPrefBoolean:
            prefs.putBoolean(kCurrentPlotterPrefix, key, *static_cast<const uint8_t*>(field) != 0);
            break;
        case kPlotterPrefInteger:
            prefs.putInteger(kCurrentPlotterPrefix, key, *static_cast<const int32_t*>(field));
            break;
        case kPlotterPrefReal:
            prefs.putReal(kCurrentPlotterPrefix, key, *static_cast<const double*>(field));
            break;
        }
    };
    for (int32_t k = 0; k < kPlotterPrefEntryCount; ++k) {
        const PlotterPrefEntry& entry = kPlotterPrefEntries[k];
        if (entry.record != kPlotterPrefOfPen) write(entry, 0, plotterPrefField(&entry, &plotter, &environment, nullptr));
    }
    for (size_t i = 0; i < pens.size(); ++i)
        for (int32_t k = 0; k < kPlotterPrefEntryCount; ++k) {
            const PlotterPrefEntry& entry = kPlotterPrefEntries[k];
            if (entry.record == kPlotterPrefOfPen)
                write(entry, static_cast<int32_t>(i), plotterPrefField(&entry, nullptr, nullptr, &pens[i]));
        }
}

}  // namespace vt::test
