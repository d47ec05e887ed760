#pragma once

#include "AllSuites.h"

// Shows the modal error message box; returns the modal result.
int ErrorMessageDialog(const char* title, const char* message);

ASErr ErrorMessageDialogInitProc(ADMDialogRef dialog);
ASErr ErrorMessageDialogOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
