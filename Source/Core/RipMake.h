// Weeding lines: after cutting, the waste around each object is peeled off in
// strips. Evenly spaced horizontal and vertical lines run across a frame a
// little larger than the object, broken where they meet its outline and kept
// only outside it, with a closed border round the frame. They are new paths
// in the document, grouped with the object and lying under it.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// Weeding lines for every selected top-level object (objects selected inside
// groups get none): margins in millimetres, line counts across and up.
// Nothing selected, or a failed selection query, does nothing. Returns 0.
int32_t doRipMake(double marginX, double marginY, int vLines, int hLines);

// The weeding lines of one object, margins in points. The object moves into
// a new group in its place; the lines and the border are made at the bottom
// of that group.
void getArtRip(AIArtHandle art, double marginX, double marginY, int vLines, int hLines);
