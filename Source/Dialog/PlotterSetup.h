// The plotter setup dialog: the library of plotters, environments and pens,
// and the choice of the current plotter.
#pragma once

#include "AllSuites.h"

// Runs the modal setup dialog; its OK writes the library file and the
// current plotter into the preferences.
ASErr goPlotterSetup();
