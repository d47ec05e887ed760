// Registration marks for cutters with an automatic alignment system: the
// cutter's sensor finds printed marks around the artwork before it cuts a
// printed sheet. The marks are drawn around the selection's bounds on a layer
// of their own, "Layer of 4 Marks Printed", inside one marks group that
// carries the matching setting command for the cutter as the string tag
// "TAG_AAS_SETTING"; the command writer sends that text first in every job.
//
// Three layouts, chosen by the globals' mark flags (multiple copies before
// segmental before 4-point):
//   - 4-point: a right-angled corner mark at each corner of the outer frame,
//     and a short 45-degree start mark at its bottom-left corner;
//   - segmental: the same plus T marks along the edges every X and Y step;
//   - multiple copies: a grid of copies, each with its own corner marks,
//     optionally with the selected art copied into the grid.
//
// Lengths in the globals are micrometres; marks are drawn in document points
// (y upwards); the command text counts in units of 0.025 mm.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Core/CutModel.h"

// The layouts, in the order a set flag is looked at.
enum { kMarkLayoutNone = 0, kMarkLayout4Point = 1, kMarkLayoutSegmental = 2, kMarkLayoutMultipleCopies = 3 };

// The segment code of the segmental layout: which edges got extra marks.
enum { kMarkSegmentsTopBottom = 1, kMarkSegmentsLeftRight = 2 };

// The start mark: a 3 mm line at 45 degrees from the frame's bottom-left
// corner (this many points along each axis), 0.2 mm wide.
#define kMarkStartMarkRun 6.013191792235572
enum { kMarkStartMarkThickness = 200 };  // micrometres

// Segmental marks stop this far (100 mm, in points) short of the frame's far edge.
#define kMarkSegmentEndGap 283.46457f

// Room for the longest command text, three commands of numbers.
enum { kAASTextSize = 512 };

// The layout the flags choose.
int32_t markLayout(void);

// Replaces the marks layer by new marks around bounds (points) in the layout
// the flags choose, tagged with their command text. The earlier marks layer
// goes only once the new one is complete; on a failure the partial new layer
// is removed and the earlier marks and their text stay. 0 or the first host
// error.
VT_NODISCARD ASErr MakeAASSetting(AIRealRect bounds);

// Four corner marks around rect on the outer frame and the start mark, made
// inside group on top. The first-copy flag does not change the drawing: every
// copy gets its start mark. 0 or the first host error.
VT_NODISCARD ASErr Make4PtPosition(AIArtHandle group, AIRealRect rect, uint8_t firstCopy);

// T marks every X step along the top and bottom and every Y step along the
// left and right of the outer frame (single precision). segmentCode gets
// kMarkSegmentsTopBottom when a top and bottom pair was made, plus
// kMarkSegmentsLeftRight when a left and right pair was. 0 or a host error.
VT_NODISCARD ASErr MakeSegmentPosition(AIArtHandle group, AIRealRect rect, int32_t* segmentCode);

// Corner marks for every copy of the grid, the copies going right and up
// from rect. 0 or the first host error.
VT_NODISCARD ASErr MakeMultipleCopyAAS(AIArtHandle group, AIRealRect rect);

// Copies every selected top-level object (not of a marks layer) to every
// grid position but the first, into the root group of the top-most marks
// layer, on top: the new one while marks are being made. Nothing without a
// marks layer. 0 or a host error.
VT_NODISCARD ASErr DoArtMatrixCopy(AIRealRect rect);

// Black RGB stroke of the mark thickness, no fill; the other style fields
// are kept. 0 or a host error.
VT_NODISCARD ASErr SetAASPathStyle(AIArtHandle path);

// The command text of the layout for art of these bounds (points), with the
// segment code of the segmental layout; empty for kMarkLayoutNone. Written in
// the C locale; a value of a million units or more is written in digits.
// The text's length, or -1 when it does not fit in size bytes.
int32_t makeAASText(int32_t layout, int32_t segmentCode, AIRealRect bounds, char* text, size_t size);
