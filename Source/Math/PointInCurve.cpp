// Nearest point on a segment and point-in-outline classification.
#include "Math/PointInCurve.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>

#include "Math/Crossings.h"

// Halving the root interval more often than this leaves widths far below what
// a double can tell apart on [0, 1]; only a root of even multiplicity, blurred
// into sign changes by rounding, could drive the search that deep.
static const int g_iMaxRootDepth = 64;

// A point closer than this to a segment is on the outline.
static const double g_dOnOutline = 0.01;

int NumCrossWithX(const double (&pts)[6][2])
{
    int n = 0;
    for (int i = 0; i < 5; i++) {
        double a = pts[i][1], b = pts[i + 1][1];
        if ((a > 0.0 && b < 0.0) || (a < 0.0 && b > 0.0))
            n++;
    }
    return n;
}

int Fifth_BezierSubDivide(const double (&pts)[6][2], double (&left)[6][2], double (&right)[6][2])
{
    double work[6][6][2];
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < 2; k++)
            work[0][i][k] = pts[i][k];
    for (int level = 1; level < 6; level++)
        for (int i = 0; i < 6 - level; i++)
            for (int k = 0; k < 2; k++)
                work[level][i][k] = 0.5 * work[level - 1][i][k] + 0.5 * work[level - 1][i + 1][k];
    double l[6][2], r[6][2];
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < 2; k++) {
            l[i][k] = work[i][0][k];
            r[i][k] = work[5 - i][i][k];
        }
    for (int i = 0; i < 6; i++)
        for (int k = 0; k < 2; k++) {
            left[i][k] = l[i][k];
            right[i][k] = r[i][k];
        }
    return 1;
}

static void appendRoot(double** roots, int* count, double t)
{
    double* grown = (double*)realloc(*roots, sizeof(double) * ((size_t)*count + 1));
    if (!grown)
        return;
    grown[*count] = t;
    *roots = grown;
    (*count)++;
}

static int rootFindAt(const double (&pts)[6][2], double width, int* count, double** roots, int depth)
{
    int n = NumCrossWithX(pts);
    if (n == 0)
        return 0;
    double mid = (pts[0][0] + pts[5][0]) / 2.0;
    if (n == 1 && pts[5][0] - pts[0][0] < width) {
        appendRoot(roots, count, mid);
        return 1;
    }
    if (depth >= g_iMaxRootDepth) {
        // The interval is far narrower than the width asked for: whatever
        // crossings remain here are one root as far as anyone can measure.
        appendRoot(roots, count, mid);
        return 1;
    }
    double left[6][2], right[6][2];
    Fifth_BezierSubDivide(pts, left, right);
    rootFindAt(left, width, count, roots, depth + 1);
    // A root the halving falls on exactly (the middle of a curve symmetric
    // about it) is a zero at the end of one half and the start of the other:
    // a sign change in neither. It is taken here, once.
    if (right[0][1] == 0.0)
        appendRoot(roots, count, right[0][0]);
    rootFindAt(right, width, count, roots, depth + 1);
    return 0;
}

int RootFind(const double (&pts)[6][2], double width, int* count, double** roots)
{
    return rootFindAt(pts, width, count, roots, 0);
}

int SolveEquationByBezier(const double (&c)[6], int* count, double** roots)
{
    static const double binom[][6] = {
        {1, 0, 0, 0, 0, 0}, {1, 1, 0, 0, 0, 0}, {1, 2, 1, 0, 0, 0},
        {1, 3, 3, 1, 0, 0}, {1, 4, 6, 4, 1, 0}, {1, 5, 10, 10, 5, 1},
    };
    double pts[6][2];
    for (int i = 0; i < 6; i++) {
        double b = 0.0;
        for (int k = 0; k <= i; k++)
            b += c[k] * binom[i][k] / binom[5][k];
        pts[i][0] = i / 5.0;
        pts[i][1] = b;
    }
    RootFind(pts, 0.01, count, roots);
    return 1;
}

// The quintic's roots are known only to within half the search width (0.005
// in t), which on a segment of some length puts the nearest point several
// hundredths away along the curve: a point lying on the outline would then
// miss the 0.01 on-outline test. A few Newton steps on (B - p).B', kept inside
// the interval the root is known to lie in, pin it down.
static double refineNearest(const bezier_stru& b, const double (&p)[2], double t)
{
    double e[2][4];
    for (int k = 0; k < 2; k++) {
        double u0 = b.P[0][k], u1 = b.P[1][k], u2 = b.P[2][k], u3 = b.P[3][k];
        e[k][0] = u0 - p[k];
        e[k][1] = 3.0 * (u1 - u0);
        e[k][2] = 3.0 * (u0 - 2.0 * u1 + u2);
        e[k][3] = u3 - u0 + 3.0 * (u1 - u2);
    }
    double lo = t - 0.005 < 0.0 ? 0.0 : t - 0.005;
    double hi = t + 0.005 > 1.0 ? 1.0 : t + 0.005;
    for (int iter = 0; iter < 8; iter++) {
        double g = 0.0, gp = 0.0;
        for (int k = 0; k < 2; k++) {
            double v = ((e[k][3] * t + e[k][2]) * t + e[k][1]) * t + e[k][0];
            double d1 = (3.0 * e[k][3] * t + 2.0 * e[k][2]) * t + e[k][1];
            double d2 = 6.0 * e[k][3] * t + 2.0 * e[k][2];
            g += v * d1;
            gp += d1 * d1 + v * d2;
        }
        if (!(gp > 0.0))
            break;
        double next = t - g / gp;
        next = std::min(std::max(next, lo), hi);
        if (fabs(next - t) < 1e-12) {
            t = next;
            break;
        }
        t = next;
    }
    return t;
}

static double squaredDistance(const bezier_stru& b, const double (&p)[2], double t)
{
    double x, y;
    BezierXY(b, t, &x, &y);
    return (x - p[0]) * (x - p[0]) + (y - p[1]) * (y - p[1]);
}

void PointBezierDistance(bezier_stru bezier, const double (&p)[2], double* t, double* distance, double unused)
{
    // (B(t) - p) . B'(t) in power form: its roots are where the direction to p
    // stands perpendicular to the curve.
    double c[] = {0, 0, 0, 0, 0, 0};
    for (int k = 0; k < 2; k++) {
        double u0 = bezier.P[0][k], u1 = bezier.P[1][k], u2 = bezier.P[2][k], u3 = bezier.P[3][k];
        double e[] = {u0 - p[k], 3.0 * (u1 - u0), 3.0 * (u0 - 2.0 * u1 + u2), u3 - u0 + 3.0 * (u1 - u2)};
        double d[] = {e[1], 2.0 * e[2], 3.0 * e[3]};
        for (int i = 0; i < 4; i++)
            for (int j = 0; j < 3; j++)
                c[i + j] += e[i] * d[j];
    }
    double* roots = NULL;
    int n = 0;
    SolveEquationByBezier(c, &n, &roots);
    double bestT = 0.0, bestD2 = 0.0;
    for (int i = 0; i < n + 2; i++) {
        double ti = i < n ? roots[i] : (i == n ? 0.0 : 1.0);
        double d2 = squaredDistance(bezier, p, ti);
        if (i < n) {
            double refined = refineNearest(bezier, p, ti);
            double rd2 = squaredDistance(bezier, p, refined);
            if (rd2 < d2) {
                ti = refined;
                d2 = rd2;
            }
        }
        if (i == 0 || d2 < bestD2) {
            bestT = ti;
            bestD2 = d2;
        }
    }
    free(roots);
    *t = bestT;
    *distance = sqrt(fabs(bestD2));
}

int PointInBezier(_t_ASRealPoint p, bezier_stru bezier)
{
    double q[] = {p.h, p.v};
    double t, d;
    PointBezierDistance(bezier, q, &t, &d, 0.0);
    return d < g_dOnOutline ? 1 : 0;
}

// The control points' box holds the whole curve.
static void controlBox(const bezier_stru* b, double (&lo)[2], double (&hi)[2])
{
    for (int k = 0; k < 2; k++) {
        lo[k] = hi[k] = b->P[0][k];
        for (int i = 1; i < 4; i++) {
            lo[k] = std::min(lo[k], b->P[i][k]);
            hi[k] = std::max(hi[k], b->P[i][k]);
        }
    }
}

int PointInBeziers(const bezier_stru* beziers, int count, _t_ASRealPoint p, const _t_ASRealRect* box)
{
    double x = p.h, y = p.v;
    if (box) {
        double l = std::min(box->right, box->left);
        double r = std::max(box->left, box->right);
        double b = std::min(box->bottom, box->top);
        double t = std::max(box->top, box->bottom);
        if (x < l || x > r || y < b || y > t)
            return kPointOutside;
    }

    // Segments whose control box lies well away from the point can neither
    // hold it on the outline nor cross its vertical ray; skipping them keeps
    // the answer and spares the nearest-point search on every segment. The
    // margins are generous next to rounding so no answer changes. Records of
    // another degree than 3 are left to the full test.
    for (int i = 0; i < count; i++) {
        if (beziers[i].degree == 3) {
            double lo[2], hi[2];
            controlBox(&beziers[i], lo, hi);
            double margin = 2.0 * g_dOnOutline;
            if (x < lo[0] - margin || x > hi[0] + margin || y < lo[1] - margin || y > hi[1] + margin)
                continue;
        }
        if (PointInBezier(p, beziers[i]))
            return kPointOnOutline;
    }

    double e = box ? std::max(box->bottom, box->top) + 10.0 : 9999.0;
    double ylo = std::min(e, y), yhi = std::max(y, e);
    Vexa_Line ray = {x, y, x, e};
    double* ts = NULL;
    int crossings = 0;
    for (int i = 0; i < count; i++) {
        if (beziers[i].degree == 3) {
            double lo[2], hi[2];
            controlBox(&beziers[i], lo, hi);
            // Crossings may come back for t a hair before 0, a little outside the box.
            double mx = 1e-3 * (hi[0] - lo[0]) + 1e-9 * (fabs(x) + 1.0);
            double my = 1e-3 * (hi[1] - lo[1]) + 1e-9 * (fabs(y) + 1.0);
            if (x < lo[0] - mx || x > hi[0] + mx || hi[1] + my < ylo || lo[1] - my > yhi)
                continue;
        }
        int nt = 0;
        BezierLineCross(beziers[i], ray, &ts, &nt);
        for (int j = 0; j < nt; j++) {
            double qx, qy;
            BezierXY(beziers[i], ts[j], &qx, &qy);
            if (qy > ylo && qy < yhi)
                crossings++;
        }
    }
    free(ts);
    return (crossings % 2) ? kPointInside : kPointOutside;
}
