// The plotter editor: name, maker, language, origin, step, media size, USB
// ids, the HPGL arc form and the start and end commands of one plotter.
#pragma once

#include "AllSuites.h"
#include "Core/PlotterRecords.h"

// Edits a copy of plotter; OK copies back the twelve fields the dialog shows
// (capability bits and environments stay). 1 for OK, 0 for Cancel or a null
// record, any other modal result unchanged.
int goPlotter(Plotter* plotter);

ASErr PlotterPluginInitProc(ADMDialogRef dialog);
ASErr PlotterDlgEditInitProc(ADMItemRef item);
ASErr PlotterDlgLanguageListInitProc(ADMItemRef item);
ASErr PlotterDlgPlotterOriginListInitProc(ADMItemRef item);
ASErr PlotterDlgPlotterCmdMultiEditInitProc(ADMItemRef item);
ASErr PlotterDlgPlotterTextCheckBoxInitProc(ADMItemRef item);
ASErr PlotterDlgButtonInitProc(ADMItemRef item);
ASErr PlotterDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PlotterDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);
