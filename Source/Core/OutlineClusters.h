// How text outline gathers the paths of a text's outline into one group per
// character (combineGroups, PreProcess.h): the paths in order of the area of
// their bounds, each joining the first cluster its bounds meet, then the
// nearest clusters merged until no more are left than characters drawn.
//
// Written to cost about n log n for n paths, as a text of a million
// characters needs, and to choose exactly what a plain scan of every path and
// every pair of clusters chooses: the regrouping of any text stays the same.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"

// A cluster of paths: the union of their bounds and their indexes in the
// order they joined (first, then next[] of each, -1 at the end); a cluster
// merged into another is no longer alive.
struct OutlineCluster {
    AIRealRect rect;
    int32_t first, last;
    uint8_t alive;
};

// The order of count paths by the area of their bounds, largest first,
// into order (count entries): every path's place is where a sort that, for
// each place from the first, swaps into it at once every later path of a
// strictly larger area than the one there would put it. Paths of equal area
// come in that sort's order too, which is neither their own nor its reverse.
VT_NODISCARD ASErr orderPathsByArea(const float* areas, int32_t count, int32_t* order);

// The clusters of count bounds taken in their order: each joins the first
// cluster whose rectangle meets it (the host's rectangle intersection) and
// the cluster grows to the union, or it starts a cluster of its own. Then,
// while more than aim clusters are alive, the first pair (i, j), i < j, whose
// rectangles meet, else the first pair of the smallest distanceOfRectangle,
// merges: i takes j's paths after its own and the union of both rectangles.
// clusters and next hold count entries; *made is the number of clusters made.
VT_NODISCARD ASErr gatherOutlineClusters(const AIRealRect* bounds, int32_t count, int32_t aim,
                                         struct OutlineCluster* clusters, int32_t* next, int32_t* made);
