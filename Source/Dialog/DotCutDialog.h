// The dot-cut dialog and its helpers. The popup helper below is shared with
// the cutter's device panel.
#pragma once

#include "AllSuites.h"

// The id of the active entry of a popup's (or list's) entries, or -1 when no
// entry is active or the item has no list.
ASInt32 GetSelectedEntryID(ADMItemRef listItem);
