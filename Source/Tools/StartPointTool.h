// The start-point tool: a drag knife starts cutting a closed path at its
// first anchor. While the tool is current an orange dot marks the first
// anchor of every closed path; a click on an anchor makes the nearest anchor
// the first one, and a click on a curve first puts a new anchor there and
// makes it the start. The dots live on a layer of their own, made when the
// tool is picked and deleted when it is put down.
#pragma once

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/ArtNames.h"
#include "Math/Bezier.h"

// The title of the box that says an open path has no start point to move.
#define kStartPointErrorTitle "FelmontPro2"

// A marker: a circle of this diameter (points) in orange.
const AIReal kStartPointMarkerSize = 5.0f;

// Makes the marker layer above all layers and marks every closed path.
// Returns the first error of making the layer.
VT_NODISCARD ASErr toolStartPointSelect();
// Deletes the marker layer with its markers.
VT_NODISCARD ASErr toolStartPointDeselect();
// Shows what a click at the cursor would do.
VT_NODISCARD ASErr toolStartPointMouseMove(AIToolMessage* message);
// The click.
VT_NODISCARD ASErr toolStartPointMouseUp(AIRealPoint point);

// Markers for an art tree: a closed path gets one, groups and compound paths
// have their paths marked, other art nothing.
VT_NODISCARD ASErr showPathStartPoint(AILayerHandle layer, AIArtHandle art);
// Removes one closed path's marker (found by containing its first anchor).
VT_NODISCARD ASErr delPathStartPoint(AIArtHandle path);
// Makes the anchor nearest to point (the first of equally near ones) the
// path's first anchor; the outline stays the same.
VT_NODISCARD ASErr changeStartPoint(AIArtHandle path, AIRealPoint point);
// The first hit, layer by layer, outside the marker layer; hit->hit is false
// when nothing is hit.
VT_NODISCARD ASErr testCursorOnPath(AIRealPoint point, AIToolHitData* hit, int32_t request);
// The cubic of segment i: anchor i to the next (anchor 0 after the last of a
// closed path). When a read fails, only the degree is set.
VT_NODISCARD ASErr getCubicBezier(AIArtHandle path, int32_t i, bezier_stru* bezier);
