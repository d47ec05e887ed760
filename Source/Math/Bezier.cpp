// Basic operations on one cubic Bezier segment.
#include "Math/Bezier.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>

// The halving estimate grows with the logarithm of the segment's size over the
// tolerance. Beyond this many levels a segment would flatten into millions of
// pieces; that only happens for absurd coordinates or a tolerance of zero, so
// the estimate stops here instead of overflowing an int.
static const int g_iMaxDivisionLevels = 20;
static const int g_iMinDivisionLevels = -64;

void BezierXY(bezier_stru bezier, double t, double* x, double* y)
{
    *x = 0.0;
    *y = 0.0;
    if (bezier.degree != 3)
        return;
    double s = 1.0 - t;
    double w[] = {s * s * s, 3.0 * s * s * t, 3.0 * s * t * t, t * t * t};
    for (int i = 0; i <= 3; i++) {
        *x += w[i] * bezier.P[i][0];
        *y += w[i] * bezier.P[i][1];
    }
}

int BezierDeCasteljau(const bezier_stru* bezier, double t, bezier_stru* left, bezier_stru* right)
{
    double s = 1.0 - t;
    const double(*P)[2] = bezier->P;
    double Q[3][2], R[2][2], S[2];
    for (int k = 0; k < 2; k++) {
        Q[0][k] = s * P[0][k] + t * P[1][k];
        Q[1][k] = s * P[1][k] + t * P[2][k];
        Q[2][k] = s * P[2][k] + t * P[3][k];
        R[0][k] = s * Q[0][k] + t * Q[1][k];
        R[1][k] = s * Q[1][k] + t * Q[2][k];
        S[k] = s * R[0][k] + t * R[1][k];
    }
    bezier_stru l, r;
    l.degree = r.degree = bezier->degree;
    for (int k = 0; k < 2; k++) {
        l.P[0][k] = P[0][k];
        l.P[1][k] = Q[0][k];
        l.P[2][k] = R[0][k];
        l.P[3][k] = S[k];
        r.P[0][k] = S[k];
        r.P[1][k] = R[1][k];
        r.P[2][k] = Q[2][k];
        r.P[3][k] = P[3][k];
    }
    // Written through copies so that left or right may alias the input.
    *left = l;
    *right = r;
    return 0;
}

int BezierDivisions(const bezier_stru* bezier, double tolerance)
{
    int n = bezier->degree;
    // The record holds four points whatever its degree says; never look past them.
    int last = n >= 3 ? 1 : (n >= 2 ? 0 : -1);
    double M = 0.0;
    for (int i = 0; i <= last; i++) {
        double dx = bezier->P[i][0] - 2.0 * bezier->P[i + 1][0] + bezier->P[i + 2][0];
        double dy = bezier->P[i][1] - 2.0 * bezier->P[i + 1][1] + bezier->P[i + 2][1];
        M = std::max(M, std::max(fabs(dy), fabs(dx)));
    }
    if (M == 0.0)
        return 0;
    double levels = 0.5 + log(n * 1.4142135623730951 * (n - 1) * M / (8.0 * tolerance)) / log(4.0);
    if (levels != levels)  // NaN from a negative tolerance or non-finite points
        return 0;
    if (levels > g_iMaxDivisionLevels)
        return g_iMaxDivisionLevels;
    if (levels < g_iMinDivisionLevels)
        return g_iMinDivisionLevels;
    return (int)levels;
}

double PointToPointDistance(const double (&a)[2], const double (&b)[2])
{
    double dx = b[0] - a[0], dy = b[1] - a[1];
    return sqrt(dx * dx + dy * dy);
}

// Rounding can leave a difference of squares a hair below zero where the true
// value is zero; its square root is then 0, not NaN.
static double sqrtClamped(double v)
{
    return v > 0.0 ? sqrt(v) : 0.0;
}

// The distance of p from the line through a and b (|ab| = L > 0). One
// compiled copy for every caller, so that it is the same number bit for bit
// wherever it is taken.
__attribute__((noinline)) static double lineDistance(const double (&p)[2], const double (&a)[2], const double (&b)[2],
                                                     double L)
{
    return fabs((b[1] - a[1]) * (p[0] - a[0]) - (p[1] - a[1]) * (b[0] - a[0])) / L;
}

void PointToLineDistanceOfLength(const double (&p)[2], const double (&a)[2], const double (&b)[2], double L,
                                 double* distance)
{
    // A point on an end (every run's first point is its chord's start) is at
    // distance 0 whichever way the tests below go.
    if ((p[0] == a[0] && p[1] == a[1]) || (p[0] == b[0] && p[1] == b[1])) {
        *distance = 0.0;
        return;
    }
    if (L > 0.0) {
        // When the foot of the perpendicular lies inside the segment by a
        // margin far wider than the rounding of the end tests below, those
        // tests cannot but find it inside: the distance is the line's, and
        // the four roots they take are not needed.
        double ax = p[0] - a[0], ay = p[1] - a[1], bx = p[0] - b[0], by = p[1] - b[1];
        double along = (ax * (b[0] - a[0]) + ay * (b[1] - a[1])) / (L * L);
        double reach = fabs(ax) + fabs(ay) > fabs(bx) + fabs(by) ? fabs(ax) + fabs(ay) : fabs(bx) + fabs(by);
        double margin = 1e-6 * (1.0 + reach / L);
        if (along >= margin && along <= 1.0 - margin) {
            *distance = lineDistance(p, a, b, L);
            return;
        }
    }
    double dpa = PointToPointDistance(p, a);
    if (L == 0.0) {
        *distance = dpa;
        return;
    }
    double dpb = PointToPointDistance(p, b);
    double h = lineDistance(p, a, b, L);
    // The foot of the perpendicular lies on the segment when neither end is
    // farther from it than the segment is long; once one is, the other need
    // not be measured.
    double ra = sqrtClamped(dpa * dpa - h * h) / L;
    if (!(ra > 1.0)) {
        double rb = sqrtClamped(dpb * dpb - h * h) / L;
        if (!(rb > 1.0)) {
            *distance = h;
            return;
        }
    }
    *distance = std::min(dpb, dpa);
}

void PointToLineDistance(const double (&p)[2], const double (&a)[2], const double (&b)[2], double* distance)
{
    PointToLineDistanceOfLength(p, a, b, PointToPointDistance(a, b), distance);
}

int PointClearlyFartherThan(const double (&p)[2], const double (&a)[2], const double (&b)[2], double L,
                            double tolerance)
{
    if (!(L > 0.0))
        return 0;
    // The distance to the segment is never less than the distance to its line.
    // The line's is taken as PointToLineDistance takes it; the slack, far
    // above its rounding, also keeps the answer on the safe side for the
    // endpoint distances a foot outside the segment gives.
    double h = lineDistance(p, a, b, L);
    double slack = tolerance * 1e-9 + 1e-12 * (L + fabs(p[0] - a[0]) + fabs(p[1] - a[1]));
    return h > tolerance + slack;
}

int BezierIsLine(const bezier_stru* bezier)
{
    const double(*P)[2] = bezier->P;
    if (fabs(P[0][0] - P[1][0]) <= kMathTolerance && fabs(P[0][1] - P[1][1]) <= kMathTolerance &&
        fabs(P[2][0] - P[3][0]) <= kMathTolerance && fabs(P[2][1] - P[3][1]) <= kMathTolerance)
        return 1;
    double L = PointToPointDistance(P[0], P[3]);
    for (int i = 1; i <= 2; i++) {
        // Most handles of a curve lie well off its chord: that is settled
        // without measuring the exact distance.
        if (PointClearlyFartherThan(P[i], P[0], P[3], L, kMathTolerance))
            return -1;
        double d;
        PointToLineDistanceOfLength(P[i], P[0], P[3], L, &d);
        if (d > 0.0 && d > kMathTolerance)
            return -1;
    }
    return 1;
}


// BezierDeCasteljau at t = 0.5 written straight into two places that never
// alias the input: the same arithmetic, so the same halves to the last bit.
static inline void halve(const bezier_stru* bezier, bezier_stru* left, bezier_stru* right)
{
    const double t = 0.5;
    double s = 1.0 - t;
    const double(*P)[2] = bezier->P;
    left->degree = right->degree = bezier->degree;
    for (int k = 0; k < 2; k++) {
        double q0 = s * P[0][k] + t * P[1][k];
        double q1 = s * P[1][k] + t * P[2][k];
        double q2 = s * P[2][k] + t * P[3][k];
        double r0 = s * q0 + t * q1;
        double r1 = s * q1 + t * q2;
        double m = s * r0 + t * r1;
        left->P[0][k] = P[0][k];
        left->P[1][k] = q0;
        left->P[2][k] = r0;
        left->P[3][k] = m;
        right->P[0][k] = m;
        right->P[1][k] = r1;
        right->P[2][k] = q2;
        right->P[3][k] = P[3][k];
    }
}

int BezierFlattenBy2Div(const bezier_stru* bezier, BezierFlattening* flattening)
{
    int levels = BezierDivisions(bezier, 0.01);
    // Each pass reads one list and writes the next, at most doubling it. Short
    // lists take turns in the two arrays of the record; a longer one is taken
    // from the heap at once for the pass.
    bezier_stru* list = flattening->stack[0];
    bool onHeap = false;
    list[0] = *bezier;
    int n = 1;
    int passes = 0;
    bool splitAny = true;
    flattening->pieces = NULL;
    flattening->count = 0;
    flattening->onHeap = false;
    while (passes < levels && splitAny) {
        bezier_stru* next;
        if (2 * n <= kFlattenStackPieces) {
            next = list == flattening->stack[0] ? flattening->stack[1] : flattening->stack[0];
        } else {
            next = (bezier_stru*)malloc(sizeof(bezier_stru) * 2 * (size_t)n);
            if (!next) {
                if (onHeap)
                    free(list);
                return -1;
            }
        }
        int m = 0;
        splitAny = false;
        for (int i = 0; i < n; i++) {
            if (BezierIsLine(&list[i]) == -1) {
                halve(&list[i], &next[m], &next[m + 1]);
                m += 2;
                splitAny = true;
            } else {
                next[m++] = list[i];
            }
        }
        if (onHeap)
            free(list);
        onHeap = next != flattening->stack[0] && next != flattening->stack[1];
        list = next;
        n = m;
        passes++;
    }
    flattening->pieces = list;
    flattening->count = n;
    flattening->onHeap = onHeap;
    return 0;
}

void BezierFlatteningFree(BezierFlattening* flattening)
{
    if (flattening->onHeap)
        free(flattening->pieces);
    flattening->pieces = NULL;
    flattening->count = 0;
    flattening->onHeap = false;
}

int BezierToLineBy2Div(const bezier_stru* bezier, int* count, bezier_stru** lines)
{
    BezierFlattening flattening;
    if (BezierFlattenBy2Div(bezier, &flattening) != 0)
        return -1;
    bezier_stru* list = flattening.pieces;
    if (!flattening.onHeap) {
        list = (bezier_stru*)malloc(sizeof(bezier_stru) * (size_t)flattening.count);
        if (!list)
            return -1;
        memcpy(list, flattening.pieces, sizeof(bezier_stru) * (size_t)flattening.count);
    }
    *count = flattening.count;
    *lines = list;
    return 0;
}

PolyBezierBox PolyBezierControlBox(const UDT_PolyBezier& path)
{
    PolyBezierBox b = {{0, 0}, {0, 0}};
    if (path.count <= 0) return b;
    for (int k = 0; k < 2; k++) b.lo[k] = b.hi[k] = path.bezier[0].P[0][k];
    for (int32_t i = 0; i < path.count; i++)
        for (int p = 0; p < 4; p++)
            for (int k = 0; k < 2; k++) {
                b.lo[k] = std::min(b.lo[k], path.bezier[i].P[p][k]);
                b.hi[k] = std::max(b.hi[k], path.bezier[i].P[p][k]);
            }
    return b;
}

int BezierBound(const bezier_stru* bezier, double (&maxPt)[2], double (&minPt)[2])
{
    int n = 0;
    bezier_stru* pieces = NULL;
    if (BezierToLineBy2Div(bezier, &n, &pieces) != 0 || n < 1)
        return 0;
    for (int k = 0; k < 2; k++)
        maxPt[k] = minPt[k] = pieces[0].P[0][k];
    for (int i = 0; i <= n; i++) {
        const double* q = i < n ? pieces[i].P[0] : pieces[n - 1].P[3];
        for (int k = 0; k < 2; k++) {
            maxPt[k] = std::max(maxPt[k], q[k]);
            minPt[k] = std::min(minPt[k], q[k]);
        }
    }
    free(pieces);
    return 0;
}

void BezierMove(bezier_stru bezier, bezier_stru* out, const double (&offset)[2])
{
    out->degree = bezier.degree;
    for (int i = 0; i < 4; i++)
        for (int k = 0; k < 2; k++)
            out->P[i][k] = bezier.P[i][k] + offset[k];
}

void BezierScale(bezier_stru bezier, bezier_stru* out, const double (&center)[2], const double (&factor)[2])
{
    out->degree = bezier.degree;
    for (int i = 0; i < 4; i++)
        for (int k = 0; k < 2; k++)
            out->P[i][k] = (bezier.P[i][k] - center[k]) * factor[k] + center[k];
}

void BezierRotate(bezier_stru bezier, bezier_stru* out, double angle, const double (&center)[2])
{
    double a = angle * kMathPi / 180.0;
    double c = cos(a), s = sin(a);
    out->degree = bezier.degree;
    for (int i = 0; i < 4; i++) {
        double dx = bezier.P[i][0] - center[0];
        double dy = bezier.P[i][1] - center[1];
        out->P[i][0] = center[0] + dx * c - dy * s;
        out->P[i][1] = center[1] + dy * c + dx * s;
    }
}

void BezierYMirror(bezier_stru bezier, bezier_stru* out, const double (&center)[2])
{
    out->degree = bezier.degree;
    for (int i = 0; i < 4; i++) {
        out->P[i][0] = 2.0 * center[0] - bezier.P[i][0];
        out->P[i][1] = bezier.P[i][1];
    }
}
