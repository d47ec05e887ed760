// Cutting the selected artwork into numbered panels along straight guide
// lines, for art larger than the cutter's media: every selected top-level
// object is replaced by one group per panel, holding its outline clipped to
// the panel as closed paths and small align marks at the panel's corners.
// Neighbouring panels overlap on the sides the panel order chooses. Works on
// document points (y upwards); the sizes in the globals are millimetres.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "Common/ErrorCodes.h"
#include "Math/Bezier.h"

// Mark shapes (splitMarkStyle).
enum {
    kSplitMarkCircle = 0,
    kSplitMarkRectangle = 1,
    kSplitMarkTriangleUp = 2,
    kSplitMarkTriangleDown = 3,
    kSplitMarkDiamond = 4,
    kSplitNoMarks = 5
};

// Ends of pieces closer than this (squared distance below 1 square point)
// join into one path.
#define kSplitJoinDistance 1.0

// Cuts every selected group, path and compound path along the straight guides
// of guideGroup. The guide group itself and anything inside it is never cut.
// Text frames and placed art are left as they are, also where they sat inside
// a cut group. Answers 0, the host's error of the selection query, or the first
// error met while cutting an object; an object whose panels could not all be
// made keeps its source and gets no panels.
VT_NODISCARD ASErr doClipArt(AIArtHandle guideGroup);

// The panels of the guides: clip rectangles (with the overlap) and mark
// rectangles (without), indexed by panel number, each a fresh malloc'd array;
// cols x rows panels. Answers 0, kNoGuideGroupErr, kNotAGuideErr,
// kGuideNotALineErr or kMemoryErr (no arrays then).
VT_NODISCARD ASErr getClipRect(AIArtHandle guideGroup, AIRealRect** clipRects, AIRealRect** markRects,
                               int32_t* panelCount, AIRealRect bounds, int32_t* cols, int32_t* rows);

// Appends the curves of art lying inside the panel (cut at its edges) to the
// pieces. Answers 0, a host error, or kMemoryErr.
VT_NODISCARD ASErr clipArt(AIArtHandle art, AIRealRect panel, bezier_stru** pieces, int32_t* count);

// Appends the parts of one curve between its crossings with the panel's edge
// lines (the whole curve when it lies inside). Answers 0 or kMemoryErr.
VT_NODISCARD ASErr divSingleBezier(AIRealRect panel, bezier_stru curve, bezier_stru** pieces, int32_t* count);

// Appends, as straight pieces, the parts of the panel's border that lie inside
// the art, so that every clipped outline closes along the panel's edge.
// Answers 0 or kMemoryErr.
VT_NODISCARD ASErr clipRect(AIArtHandle art, AIRealRect panel, bezier_stru** pieces, int32_t* count);

// Where the free ends of pieces lie, so that the piece joining a chain's end
// is found without looking at every piece. Built once for a set of pieces;
// null in SortBezier scans every piece instead (the same chains).
struct PieceEndIndex;
PieceEndIndex* NewPieceEndIndex(const bezier_stru* pieces, int32_t count);
void FreePieceEndIndex(PieceEndIndex* index);

// One chain of unused pieces joined end to start, starting at the first unused
// piece: at each step the unused piece whose start, or end (then it is
// reversed), lies nearest the chain's end within the joining distance; its
// pieces are marked used. The chain is a fresh malloc'd array. Answers 0
// or kMemoryErr.
VT_NODISCARD ASErr SortBezier(bezier_stru* pieces, int32_t count, bool* used, int32_t* chainCount, bezier_stru** chain,
                              PieceEndIndex* index);

// Joins the pieces into closed paths inside one compound path placed at the
// bottom of parent (above all art without one). Answers 0, a host error or
// kMemoryErr.
VT_NODISCARD ASErr DrawUnsortedBezier(bezier_stru* pieces, int32_t count, AIArtHandle parent);

// The align marks of panel k at the corners of its mark rectangle, inside
// group. Answers 0 or a host error.
VT_NODISCARD ASErr DrawTomb(AIArtHandle group, AIRealRect markRect, int32_t k, int32_t cols, int32_t rows);

// One mark of the current style centred at (cx, cy), w x h points, on top
// inside group. Answers 0 or a host error.
VT_NODISCARD ASErr DrawTombRect(AIArtHandle group, double cx, double cy, double w, double h);
