// Picking volumes with the pointer in the Plot Out preview: a click selects
// the volume under the pointer, a drag every volume whose outline the
// rectangle touches, and the two cut-order tools renumber the volume clicked.
// Points and rectangles are job millimetres, the coordinates of a volume's
// rect. Only what is cut (volumeInJob, Core/CutModel.h) is ever picked: never
// a hidden volume nor the registration marks, and of a perforation only its
// pieces, joined where one runs on from the last.
//
// A volume is tested where it is cut: every copy, mirrored, turned, scaled and
// placed by the same transform the writer applies (Core/VolumePlacement.h),
// so that what is picked is what is drawn and cut. A volume without outlines
// (an empty group, text) is never hit.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Core/CutModelRecords.h"

enum { kHitInside = 1, kHitOutside = 2, kHitNoRings = -1 };

// A rectangle at least this wide or high is a drag; a smaller one is a click
// at its centre.
#define kDragMinimumSize 1.0

// Point against a closed polygon of count vertices (crossing count, single
// precision): kHitInside or kHitOutside.
int32_t PointOnPloygon(AIRealPoint point, const AIRealPoint* polygon, int32_t count);

// Point against the placed outlines of a volume, even-odd over its outlines:
// kHitInside, kHitOutside, or kHitNoRings for a volume without rings (which no
// caller counts as a hit).
int32_t PointOnVolume(AIRealPoint point, const Volume* volume);

// kHitInside when the volume's placed outlines touch the rectangle (edges
// included): one of their points lies in it (the host's test), or one of
// their straight pieces crosses it. Else kHitOutside: a rectangle wholly
// inside a volume's outline does not touch it.
int32_t RectVolumeIntersect(AIRealRect rect, const Volume* volume);

// The pointer's pick: rect is the rectangle the pointer spanned (its sides in
// any order). With replace 1 every volume is deselected first. A drag selects
// (replace) or toggles every pickable volume it touches; a click the smallest
// pickable volume (by placed rectangle) under the centre, the first of equal
// ones. The total cut length is recomputed. Always 0.
ASErr selectVolume(AIRealRect rect, uint8_t replace);

// The swap tool, one click at a time. The first click (first -1) keeps the
// first pickable volume under the point in first; the second exchanges the cut
// numbers of that volume and the one under the point, and sets both back to
// -1. Returns 1 when a click hits nothing (first is kept), else 0.
ASErr swapVolumeIndex(int32_t* first, int32_t* second, AIRealPoint point, int32_t flag);

// The renumber tool: the smallest pickable volume under the point takes number
// next (at most the number of pickable volumes), and the volume that had it takes
// the clicked volume's old number. '!Sel' when the click hits nothing. The
// caller advances next.
ASErr changeVolumeIndex(int32_t* next, AIRealPoint point, int32_t flag);

// The flattened outlines are kept between picks while a volume's placement
// stays; this frees them (the cut model calls it when it frees its volumes).
void releaseVolumeHitCache();
