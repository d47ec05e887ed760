// The path the knife follows along one segment of a ring: the placed segment
// flattened into a polyline, and that polyline fitted with straight lines or
// with lines and arcs by the volume's fit settings. The command writer cuts
// exactly this and the Plot Out preview draws exactly this, so what the user
// sees is what is cut.
#pragma once

#include <stdint.h>

#include "ASTypes.h"
#include "Common/ErrorCodes.h"
#include "Core/CutModelRecords.h"
#include "Math/Bezier.h"
#include "Math/CurveFit.h"

// What a volume's fitType asks for; any other value cuts nothing.
enum { kCutFitLines = 1, kCutFitArcs = 2 };

// The polyline of a placed segment: the start of every flat piece, then the
// end of the last, so *count is the number of pieces plus one (at least 2).
// *points is a new heap array the caller frees. '!Mem' (nothing stored) when
// memory runs out.
ASErr flattenCutSegment(const bezier_stru* placed, point_struct** points, int32_t* count);

// The fitted pieces of one polyline. type is the volume's fit type when it is
// kCutFitLines (lines hold count lines) or kCutFitArcs (arcs hold count
// pieces), else 0 with nothing fitted.
struct CutFit {
    int32_t type;
    Vexa_Line* lines;
    arc_struct* arcs;
    int32_t count;
};

// Fits the polyline with the volume's fit type and precision. A fitting that
// ran out of memory holds the pieces made before it did.
void fitCutSegment(const point_struct* points, int32_t count, const Volume* volume, CutFit* fit);
void freeCutFit(CutFit* fit);

// The cut path of one placed segment, its polyline and the pieces fitted to
// it, made in arrays kept from one segment to the next: a ring cut or drawn
// segment by segment takes memory only when a segment needs more than any
// before it. Start it zeroed (initCutSegment); free it with freeCutSegment.
struct CutSegment {
    point_struct* points;  // as flattenCutSegment makes them
    int32_t count;
    int32_t room;          // points the array holds
    CutFit fit;            // as fitCutSegment fits them
};
void initCutSegment(CutSegment* segment);
// The path of the next segment, in place of the last one's. '!Mem' when
// memory runs out; the segment then holds nothing (count 0, no pieces).
ASErr makeCutSegment(const bezier_stru* placed, const Volume* volume, CutSegment* segment);
void freeCutSegment(CutSegment* segment);
