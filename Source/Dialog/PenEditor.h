// The pen editor: name, pressure, velocity, knife offset and acceleration
// level of one pen.
#pragma once

#include "AllSuites.h"
#include "Core/PlotterRecords.h"

// Edits a copy of pen; OK copies back the name, the three values and the
// flag bits. 1 for OK, 0 for Cancel or a null record, any other modal result
// unchanged. The levels offered follow the acceleration group of the plotter
// selected in the setup dialog.
int goPen(Pen* pen);

ASErr PenPluginInitProc(ADMDialogRef dialog);
ASErr PenDlgEditInitProc(ADMItemRef item);
ASErr PenDlgButtonInitProc(ADMItemRef item);
ASErr PenDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr PenDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// Layout shift for languages with longer labels (0 for every language so far).
extern int pen_lan_ver_adjust;
