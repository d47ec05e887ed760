// The nearest point of a segment to a given point, and the classification of a
// point against a closed outline (outside, inside or on it). Points come as the
// host's float point and the optional box as its float rectangle; these are
// plain value types, nothing of the host is called.
#pragma once

#include "ASTypes.h"
#include "Math/Bezier.h"

enum {
    kPointOutside = 1,
    kPointInside = 2,
    kPointOnOutline = 4
};

// pts[i] = (x, y) control points of a degree-5 Bezier function y(x).
int NumCrossWithX(const double (&pts)[6][2]);
int Fifth_BezierSubDivide(const double (&pts)[6][2], double (&left)[6][2], double (&right)[6][2]);
// Appends the crossings of the function with y = 0, each to within half the
// width, in ascending order. Returns 1 when it stored a root at this level.
int RootFind(const double (&pts)[6][2], double width, int* count, double** roots);
// c[k] is the coefficient of t^k; appends the real roots in [0, 1]. Returns 1.
int SolveEquationByBezier(const double (&c)[6], int* count, double** roots);

void PointBezierDistance(bezier_stru bezier, const double (&p)[2], double* t, double* distance, double unused);
int PointInBezier(_t_ASRealPoint p, bezier_stru bezier);
int PointInBeziers(const bezier_stru* beziers, int count, _t_ASRealPoint p, const _t_ASRealRect* box);
