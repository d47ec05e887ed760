// Art a tool keeps between messages (the check-group frames, the marquee
// rectangle) is disposed the same way by each.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// Disposes *art when it is set and the document still holds it, then forgets
// it; returns the host's error of disposing.
VT_NODISCARD ASErr disposeHeldArt(AIArtHandle* art);
