#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Dialog/DialogResources.h"

// Items of the error message box, made in code (the message is the caller's,
// not a string-list text). The icon and the message share one id.
enum { kErrorMessageOKItem = 1, kErrorMessageIconItem = 3, kErrorMessageTextItem = 3 };

// Shows the modal error message box; returns the modal result.
int ErrorMessageDialog(const char* title, const char* message);

VT_NODISCARD ASErr ErrorMessageDialogInitProc(ADMDialogRef dialog);
VT_NODISCARD ASErr ErrorMessageDialogOKButtonProc(ADMItemRef item, ADMNotifierRef notifier);
