// Line crossings, cutting and approximate length of cubic segments.
#include "Math/Crossings.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>

#include "Math/MathFunction.h"

// The library's appender: grow the caller's array by one and write the new
// last element. On a failed allocation the array is kept as it was.
template <typename T>
static void appendOne(T** array, int* count, const T& value)
{
    T* grown = (T*)realloc(*array, sizeof(T) * ((size_t)*count + 1));
    if (!grown)
        return;
    grown[*count] = value;
    *array = grown;
    (*count)++;
}

// Power-form coefficients of one coordinate of the segment, highest first.
static void powerCoefficients(const bezier_stru* b, int k, double (&c)[4])
{
    double u0 = b->P[0][k], u1 = b->P[1][k], u2 = b->P[2][k], u3 = b->P[3][k];
    c[0] = u3 - u0 + 3.0 * (u1 - u2);
    c[1] = 3.0 * (u0 - 2.0 * u1 + u2);
    c[2] = 3.0 * (u1 - u0);
    c[3] = u0;
}

int BezierLineCross(bezier_stru bezier, Vexa_Line line, double** t, int* count)
{
    double c[4];
    if (line.x2 == line.x1) {
        powerCoefficients(&bezier, 0, c);
        c[3] -= line.x1;
    } else if (line.y2 == line.y1) {
        powerCoefficients(&bezier, 1, c);
        c[3] -= line.y1;
    } else {
        double m = (line.y2 - line.y1) / (line.x2 - line.x1);
        double cx[4];
        powerCoefficients(&bezier, 0, cx);
        powerCoefficients(&bezier, 1, c);
        for (int i = 0; i < 4; i++)
            c[i] -= m * cx[i];
        c[3] -= line.y1 - m * line.x1;
    }
    double re[3], im[3];
    if (GetEquationRoot(c, re, im) == -1)
        return 1;
    for (int i = 0; i < 3; i++) {
        double r = re[i];
        if (im[i] == 0.0 && (r > 0.0 || fabs(r) <= kMathTolerance) && (r < 1.0 && fabs(r - 1.0) > kMathTolerance))
            appendOne(t, count, r);
    }
    return 1;
}

int BezierDivBeginEnd(const bezier_stru* bezier, double t0, double t1, bezier_stru* out)
{
    if (!(t0 < t1))
        return 0;
    bezier_stru left, right, piece;
    BezierDeCasteljau(bezier, t1, &left, &right);
    BezierDeCasteljau(&left, t0 / t1, &right, &piece);
    *out = piece;
    return 1;
}

int BezierDivide(const bezier_stru* bezier, const double t[], int n, bezier_stru** pieces, int* count)
{
    if (n <= 0)
        return 1;
    bezier_stru left, right;
    BezierDeCasteljau(bezier, t[0], &left, &right);
    appendOne(pieces, count, left);
    for (int i = 1; i < n; i++) {
        bezier_stru piece;
        if (BezierDivBeginEnd(bezier, t[i - 1], t[i], &piece))
            appendOne(pieces, count, piece);
    }
    BezierDeCasteljau(bezier, t[n - 1], &left, &right);
    appendOne(pieces, count, right);
    return 1;
}

// BezierXY read in place rather than from a copy of the record: the same sums
// in the same order, so the same points.
static inline void pointAt(const bezier_stru* bezier, double t, double* x, double* y)
{
    *x = 0.0;
    *y = 0.0;
    if (bezier->degree != 3)
        return;
    double s = 1.0 - t;
    double w[] = {s * s * s, 3.0 * s * s * t, 3.0 * s * t * t, t * t * t};
    for (int i = 0; i <= 3; i++) {
        *x += w[i] * bezier->P[i][0];
        *y += w[i] * bezier->P[i][1];
    }
}

double BezierApriLen(const bezier_stru* bezier, double t0, double t1)
{
    // The level estimate goes negative for nearly straight segments, which
    // would leave no chords at all and a length of 0; three chords are the
    // least ever taken, and they measure a straight segment exactly.
    int levels = std::max(BezierDivisions(bezier, 0.001), 0);
    int n = levels + 3;
    double step = (t1 - t0) / n;
    double len = 0.0;
    double t = t0;
    double prev[2], cur[2];
    pointAt(bezier, t, &prev[0], &prev[1]);
    for (int i = 1; i <= n; i++) {
        t += step;
        pointAt(bezier, t, &cur[0], &cur[1]);
        len += PointToPointDistance(prev, cur);
        prev[0] = cur[0];
        prev[1] = cur[1];
    }
    return len;
}

static _t_ASRealPoint realPoint(double x, double y)
{
    _t_ASRealPoint p;
    p.h = (AIReal)x;
    p.v = (AIReal)y;
    return p;
}

static bool strictlyBetween(double v, double a, double b)
{
    double lo = std::min(b, a), hi = std::max(a, b);
    return v > lo && v < hi;
}

void LineIntersectWithBeziers(const bezier_stru* beziers, int count, Vexa_Line line, _t_ASRealPoint** points,
                              int* pointCount)
{
    _t_ASRealPoint* result = NULL;
    int n = 0;
    appendOne(&result, &n, realPoint(line.x1, line.y1));
    double* ts = NULL;
    int nt = 0;
    for (int i = 0; i < count; i++) {
        nt = 0;
        BezierLineCross(beziers[i], line, &ts, &nt);
        for (int j = 0; j < nt; j++) {
            double x, y;
            BezierXY(beziers[i], ts[j], &x, &y);
            if (strictlyBetween(y, line.y1, line.y2) || strictlyBetween(x, line.x1, line.x2))
                appendOne(&result, &n, realPoint(x, y));
        }
    }
    free(ts);
    appendOne(&result, &n, realPoint(line.x2, line.y2));
    *points = result;
    *pointCount = n;
}

void LineIntersectWithPolyBeziers(Vexa_Line line, const UDT_PolyBezier* paths, int pathCount,
                                  _t_ASRealPoint** points, int* pointCount)
{
    _t_ASRealPoint* collected = NULL;
    int nc = 0;
    for (int i = 0; i < pathCount; i++) {
        _t_ASRealPoint* some = NULL;
        int ns = 0;
        LineIntersectWithBeziers(paths[i].bezier, paths[i].count, line, &some, &ns);
        for (int j = 0; j < ns; j++)
            appendOne(&collected, &nc, some[j]);
        free(some);
    }

    bool vertical = line.x1 == line.x2;
    bool horizontal = line.y1 == line.y2;
    // The points are floats; the ends of the line are compared as floats too,
    // so that the line's own ends (collected once per path) never pass for
    // crossings when their coordinates are not exact in single precision.
    double fx1 = (AIReal)line.x1, fx2 = (AIReal)line.x2;
    double fy1 = (AIReal)line.y1, fy2 = (AIReal)line.y2;

    _t_ASRealPoint* result = NULL;
    int n = 0;
    appendOne(&result, &n, realPoint(line.x1, line.y1));
    for (int i = 0; i < nc; i++) {
        _t_ASRealPoint q = collected[i];
        bool candidate = (!vertical && strictlyBetween(q.h, fx1, fx2)) || (!horizontal && strictlyBetween(q.v, fy1, fy2));
        if (!candidate)
            continue;
        // Crossings at the joint of two segments or two paths come back more
        // than once; only the first is kept. The crossing count of one line is
        // small, so the plain scan costs nothing worth an index.
        bool seen = false;
        for (int j = 0; j < n && !seen; j++)
            seen = result[j].h == q.h && result[j].v == q.v;
        if (!seen)
            appendOne(&result, &n, q);
    }
    free(collected);
    appendOne(&result, &n, realPoint(line.x2, line.y2));

    for (int i = 0; i < n; i++) {
        if (vertical)
            result[i].h = (AIReal)line.x1;
        if (horizontal)
            result[i].v = (AIReal)line.y1;
    }

    // Exchange sort by distance from the start, y first then x; it keeps the
    // order the cutting code has always produced for points at equal distance.
    double x0 = n > 0 ? result[0].h : 0.0, y0 = n > 0 ? result[0].v : 0.0;
    for (int i = 0; i < n; i++) {
        for (int j = i + 1; j < n; j++) {
            double dyi = fabs(result[i].v - y0), dyj = fabs(result[j].v - y0);
            double dxi = fabs(result[i].h - x0), dxj = fabs(result[j].h - x0);
            if (dyi - dyj > kMathTolerance || dxi - dxj > kMathTolerance) {
                _t_ASRealPoint tmp = result[i];
                result[i] = result[j];
                result[j] = tmp;
            }
        }
    }
    *points = result;
    *pointCount = n;
}
