// The look of the lines the plug-in draws for the cutter (registration marks,
// weeding lines, dot-cut pieces, the contour outline): a plain stroke, no fill,
// through corner anchors.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// Gives path a stroke of the RGB colour and width (points) and no fill; the
// rest of its style stays as the host has it. Returns the host's error of
// reading or setting the style.
VT_NODISCARD ASErr setStrokeOnly(AIArtHandle path, AIReal red, AIReal green, AIReal blue, AIReal width);

// An anchor at (x, y) with both handles on it: a corner of straight segments.
AIPathSegment cornerAnchor(AIReal x, AIReal y);
