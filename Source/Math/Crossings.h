// Where a straight line meets a segment, a path or a set of paths; cutting a
// segment at parameters; approximate length. Crossing points come back as the
// host's float point (h = x, v = y), the one host record the geometry uses; it
// is a plain value type and nothing of the host is called.
#pragma once

#include "ASTypes.h"
#include "Math/Bezier.h"

// Appends (by the library's appender convention) the parameters t in about
// [-1e-6, 1 - 1e-6) where the segment meets the infinite line through the
// given one; a crossing at t = 1 is left to the following segment. Returns 1.
int BezierLineCross(bezier_stru bezier, Vexa_Line line, double** t, int* count);

// The piece of the segment from t0 to t1. Returns 1, or 0 (out untouched)
// unless t0 < t1.
int BezierDivBeginEnd(const bezier_stru* bezier, double t0, double t1, bezier_stru* out);

// Appends the pieces [0, t0], [t0, t1] ... [t(n-1), 1]; a piece whose
// parameters do not increase is skipped (the first and last never are).
int BezierDivide(const bezier_stru* bezier, const double t[], int n, bezier_stru** pieces, int* count);

// Length of the curve from t0 to t1 measured along a few chords.
double BezierApriLen(const bezier_stru* bezier, double t0, double t1);

// A fresh array (malloc): the line's start, its crossings with the path in path
// order, the line's end. The previous output pointer is overwritten, not freed.
void LineIntersectWithBeziers(const bezier_stru* beziers, int count, Vexa_Line line, _t_ASRealPoint** points,
                              int* pointCount);

// A fresh array of the distinct points where the line meets the paths, with
// the line's start first and its end last, in order along the line.
void LineIntersectWithPolyBeziers(Vexa_Line line, const UDT_PolyBezier* paths, int pathCount,
                                  _t_ASRealPoint** points, int* pointCount);
