// The cutter's device panel, reached from the "VLCD Setting..." menu item.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

VT_NODISCARD ASErr goVLCDDialog();
