// Fitting of polylines with straight segments or with straight segments and
// circular arcs within a tolerance, and turning an arc back into points. The
// tolerance and the coordinates are in the caller's units.
#pragma once

#include <stdint.h>

#include "Math/Bezier.h"

struct point_struct {
    double x, y;
};

enum {
    kArcLine = 1,    // straight from start to end
    kArcCircle = 2,  // circular arc from start through mid to end
    kArcPoint = 3,   // start, mid and end coincide
    kArcFull = 4     // full circle: start and end coincide, mid differs
};

// One fitted piece. center is the circle's centre for an arc, the midpoint of
// start and mid for a point or full circle, start for a line the classifier
// made; a straight piece made without classifying leaves it (and, from two
// points, mid) unset, and its consumers read start and end only.
struct arc_struct {
    point_struct start;
    point_struct mid;
    point_struct end;
    point_struct center;
    int32_t type;
};

void fill3PtArc(arc_struct* arc);
double CalculateRadian(point_struct from, point_struct to);
int PointOnWhere(point_struct a, point_struct b, point_struct p);
int fitPointByLine(const point_struct* points, int count, double tolerance, Vexa_Line** lines, int* lineCount);
int fitPointByArc(const point_struct* points, int count, double tolerance, arc_struct** arcs, int* arcCount);
// Stores a new array (malloc) in *points; whatever *points held is not freed.
int fitArcByPoint(arc_struct arc, double tolerance, point_struct** points, int* count);

// fitArcByPoint's points one at a time, without the array: arcStepCount
// gives their count and arcStepPoint point i, the same numbers to the bit.
struct ArcSteps {
    arc_struct arc;
    double radius, from, sweep;  // circle pieces: where the points start and how far they turn
    int count;
};
int arcStepCount(const arc_struct& arc, double tolerance, ArcSteps* steps);
point_struct arcStepPoint(const ArcSteps& steps, int i);
