// The command palette's three tool radios: each picks its tool in the host's
// toolbox, and the tools tell the palette when they are picked or put down,
// so that the radios always show the tool in hand.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// The palette's own notify procedure: the tools' notifications set the radios.
VT_NODISCARD ASErr ProProcessDlgNotifyProc(ADMDialogRef dialog, ADMNotifierRef notifier);
// A radio picks its tool.
VT_NODISCARD ASErr ProProcessDlgPictureRadioButtonNotifyProc(ADMItemRef item, ADMNotifierRef notifier);
