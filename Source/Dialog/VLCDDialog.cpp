#include "Dialog/VLCDDialog.h"

// The device panel is not part of this build: the menu item keeps its place
// and its enabling by the plotter's capability bit, and choosing it opens
// nothing.
ASErr goVLCDDialog() { return kNoErr; }
