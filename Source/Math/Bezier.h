// The shared records of the geometry library and the basic operations on one
// cubic Bezier segment: evaluation, splitting, flatness, flattening, bounds and
// the affine moves. Units are whatever the caller uses (millimetres in the cut
// model, points in the document-preparation commands). No state, no host calls.
#pragma once

#include <stdint.h>

// Angles and tolerances exactly as the rest of the system has always used them;
// stored files and cutter output were produced with these values, so they are
// kept to the written number of decimals rather than taken from <cmath>.
#define kMathPi 3.1415926535
#define kMath2Pi 6.283185307
#define kMathHalfPi 1.57079632675
#define kMath3HalfPi 4.71238898025
#define kMathTolerance 1e-6

// One cubic Bezier segment. P[0] and P[3] are the anchors, P[1] leaves P[0],
// P[2] arrives at P[3]; P[i][0] is x, P[i][1] is y. degree counts the intervals
// of the control polygon and is 3 for every segment the system makes; each
// operation that writes a segment copies the degree of its input.
struct bezier_stru {
    int32_t degree;
    double P[4][2];
};

// One path: a heap array of segments and its count. The holder frees it.
struct UDT_PolyBezier {
    bezier_stru* bezier;
    int32_t count;
};

// One straight segment from (x1, y1) to (x2, y2).
struct Vexa_Line {
    double x1, y1;
    double x2, y2;
};

void BezierXY(bezier_stru bezier, double t, double* x, double* y);
int BezierDeCasteljau(const bezier_stru* bezier, double t, bezier_stru* left, bezier_stru* right);
int BezierDivisions(const bezier_stru* bezier, double tolerance);
double PointToPointDistance(const double (&a)[2], const double (&b)[2]);
void PointToLineDistance(const double (&p)[2], const double (&a)[2], const double (&b)[2], double* distance);
// The same with the segment's length L (PointToPointDistance(a, b)) measured
// once by the caller for many points: the same distance to the last bit.
void PointToLineDistanceOfLength(const double (&p)[2], const double (&a)[2], const double (&b)[2], double L,
                                 double* distance);
// 1 when p lies farther than tolerance from the segment a-b of length L by a
// margin no rounding can cross, so that PointToLineDistance would say so too;
// 0 when that takes the exact measure. A quick way out for the many points
// that are plainly off a chord.
int PointClearlyFartherThan(const double (&p)[2], const double (&a)[2], const double (&b)[2], double L,
                            double tolerance);
int BezierIsLine(const bezier_stru* bezier);
int BezierToLineBy2Div(const bezier_stru* bezier, int* count, bezier_stru** lines);

// The pieces of BezierToLineBy2Div left where the flattening made them: in the
// record's own arrays while they fit (the usual case, no heap at all), else
// on the heap. For the writer, which reads the pieces once and drops them.
enum { kFlattenStackPieces = 64 };
struct BezierFlattening {
    bezier_stru stack[2][kFlattenStackPieces];
    bezier_stru* pieces;  // count of them, in order
    int count;
    bool onHeap;
};
// 0, or -1 when memory ran out (nothing to free then).
int BezierFlattenBy2Div(const bezier_stru* bezier, BezierFlattening* flattening);
void BezierFlatteningFree(BezierFlattening* flattening);
int BezierBound(const bezier_stru* bezier, double (&maxPt)[2], double (&minPt)[2]);
// The box of a path's anchors and handles, which holds the whole path: a
// cheap first test before the path itself is measured. A path without
// segments has the empty box at the origin.
struct PolyBezierBox {
    double lo[2], hi[2];
};
PolyBezierBox PolyBezierControlBox(const UDT_PolyBezier& path);
void BezierMove(bezier_stru bezier, bezier_stru* out, const double (&offset)[2]);
void BezierScale(bezier_stru bezier, bezier_stru* out, const double (&center)[2], const double (&factor)[2]);
void BezierRotate(bezier_stru bezier, bezier_stru* out, double angle, const double (&center)[2]);
void BezierYMirror(bezier_stru bezier, bezier_stru* out, const double (&center)[2]);
