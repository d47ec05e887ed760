// The cutter's device panel, reached from the "VLCD Setting..." menu item.
#pragma once

#include "AllSuites.h"

ASErr goVLCDDialog();
