// Where and how a volume is cut: the placement transform that the writer, the
// preview and the hit tests all apply to ring geometry.
//
// Ring geometry is never moved. A volume's placement lives in its fields: each
// segment is mirrored (mirror 1) and turned by `angle` about the centre of
// `loadRect`, moved by -(rotMinX, rotMinY), scaled by (scaleX, scaleY) about
// the origin and moved to its copy's lower-left corner. Copy (i, j) lies
// i * (baseWidth * scaleX + gapX) right of rect.left and
// j * (baseHeight * scaleY + gapY) above rect.bottom.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Core/CutModelRecords.h"
#include "Math/Bezier.h"

// ---- The placement transform ----------------------------------------------------------

// Mirrors and turns a segment of a ring the way the volume is oriented, about
// the centre of its loaded rectangle (ring coordinates).
bezier_stru orientBezier(bezier_stru bezier, const Volume& volume);

// Takes a segment from ring coordinates to its copy's place on the media;
// offset is the copy's lower-left corner (x, y), mm.
bezier_stru placeBezier(bezier_stru bezier, const Volume& volume, const double* offset);

// The lower-left corner of copy (i, j) of a volume, mm.
void getVolumeCopyOffset(const Volume& volume, int32_t i, int32_t j, double offset[2]);
