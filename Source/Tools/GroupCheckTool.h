// The check-group tool: while the mouse button is held down, a rectangle
// frames every top-level object of the document, so that the user sees what
// will be cut as one object.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// The group of frames, null while the button is up.
extern AIArtHandle g_artGroupShow;

VT_NODISCARD ASErr toolGroupCheckSelect(AIToolMessage* message);
VT_NODISCARD ASErr toolGroupCheckMouseDown(AIToolMessage* message);
VT_NODISCARD ASErr toolGroupCheckMouseUp(AIToolMessage* message);
VT_NODISCARD ASErr toolGroupCheckDeselect(AIToolMessage* message);
