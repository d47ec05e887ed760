// The split tool: each drag draws a straight guide line across the page,
// horizontal, or vertical while shift is held, into the guide group that the
// split palette cuts along.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// The guide being drawn, null between drags.
extern AIArtHandle g_artSplitGuide;

// Forgets the guide group and the guide (the art stays in the document), so
// that the next drag starts a new group.
void splitToolSelect();
VT_NODISCARD ASErr splitToolMouseDown(AIToolMessage* message);
VT_NODISCARD ASErr splitToolMouseDrag(AIToolMessage* message);
VT_NODISCARD ASErr splitToolMouseUp(AIToolMessage* message);
