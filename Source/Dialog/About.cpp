#include "Dialog/About.h"

// The About dialog needs the dialog toolkit; until it is there the message is
// answered without showing anything.
ASErr goAbout(SPInterfaceMessage* message) { return kNoErr; }
