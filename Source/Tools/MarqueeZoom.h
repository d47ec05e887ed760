// The marquee zoom of the start-point and check-group tools while shift is
// held: a rectangle dragged over the document zooms the view in (dragged down
// and right, or up and left) or out (up and right, down and left) by the
// ratio of the view to the rectangle, centred on the rectangle. A click, or a
// rectangle under a tenth of the view, goes back to the view before the last
// marquee zoom.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// The rectangle shown while dragging, null otherwise.
extern AIArtHandle g_artDragZoom;

VT_NODISCARD ASErr marqueeZoomMouseDown(AIToolMessage* message);
VT_NODISCARD ASErr marqueeZoomMouseDrag(AIToolMessage* message);
VT_NODISCARD ASErr marqueeZoomMouseUp(AIToolMessage* message);
// Removes a rectangle left from a drag whose release came in another mode.
VT_NODISCARD ASErr disposeDragZoom();

// The zoom ratio of a marquee from start to end over a view of the given
// bounds: the smaller of the two sides' ratios; zoomIn set when the marquee
// was dragged down-right or up-left. Returns false for a marquee without
// width or height (a click), whose ratio is endless.
bool marqueeZoomRatio(const AIRealRect& view, AIRealPoint start, AIRealPoint end, float* ratio, bool* zoomIn);
