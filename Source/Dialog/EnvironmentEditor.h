// The environment editor: a small modal dialog that renames one environment.
#pragma once

#include "AllSuites.h"
#include "Core/PlotterRecords.h"

// Edits a copy of environment; OK copies the name back. 1 for OK, 0 for
// Cancel or a null record, any other modal result unchanged.
int goEnvironment(Environment* environment);

ASErr EnvironmentPluginInitProc(ADMDialogRef dialog);
ASErr EnvironmentDlgTextEditInitProc(ADMItemRef item);
ASErr EnvironmentDlgButtonInitProc(ADMItemRef item);
ASErr EnvironmentDlgOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
ASErr EnvironmentDlgCancelButtonProc(ADMItemRef item, ADMNotifierRef notifier);

// Layout shift for languages with longer labels (0 for every language so far).
extern int env_lan_ver_adjust;
