// Rounding and equation roots.
#include "Math/MathFunction.h"

#include <math.h>

#include "Math/Bezier.h"

int LineEquation(const double c[2], double re[1])
{
    re[0] = -c[1] / c[0];
    return 0;
}

int SquareEquation(const double c[3], double re[2], double im[2])
{
    double h = -c[1] / (2.0 * c[0]);
    double d = h * h - c[2] / c[0];
    if (d > 0.0) {
        double sd = sqrt(d);
        re[0] = h + sd;
        re[1] = h - sd;
        im[0] = im[1] = 0.0;
    } else {
        double sd = sqrt(-d);
        re[0] = re[1] = h;
        im[0] = sd;
        im[1] = -sd;
    }
    return 0;
}

// Real cube root through the power the cutter output has always been made with.
static double cubeRoot(double v)
{
    return v < 0.0 ? -pow(-v, 0.3333333333333333) : pow(v, 0.3333333333333333);
}

int CubicEquation(const double (&c)[4], double (&re)[3], double (&im)[3])
{
    double a = c[1], b = c[2], cc = c[3];
    if (fabs(c[0] - 1.0) > kMathTolerance) {
        a /= c[0];
        b /= c[0];
        cc /= c[0];
    }
    double s = a / 3.0;
    double q = ((a * a / 3.0 / 1.5 - b) * s + cc) / 2.0;
    double p = (a * a / 3.0 - b) / 3.0;
    double D = q * q - p * p * p;
    if (D >= 0.0) {
        double sD = sqrt(D);
        double u = cubeRoot(sD - q);
        double v = cubeRoot(-sD - q);
        re[0] = -a / 3.0 + (u + v);
        im[0] = 0.0;
        re[1] = re[2] = -a / 3.0 - (u + v) / 2.0;
        im[1] = 0.8660254037844386 * (u - v);
        im[2] = -0.8660254037844386 * (u - v);
        return 0;
    }
    double theta = fabs(q) > kMathTolerance ? atan(sqrt(-D) / fabs(q)) / 3.0 : 0.5235987755982988;
    // D < 0 means p^3 > q^2 >= 0, so p is positive here.
    double m = q < 0.0 ? 2.0 * sqrt(p) : -2.0 * sqrt(p);
    double y1 = m * cos(theta);
    double y2 = -0.5 * y1 - 0.8660254037844386 * m * sin(theta);
    double y3 = -y2 - y1;
    double r1 = y1 - s, r2 = y2 - s, r3 = y3 - s;
    double other;
    if (fabs(r1) > fabs(r2)) {
        re[2] = r1;
        other = r2;
    } else {
        re[2] = r2;
        other = r1;
    }
    if (fabs(r3) > fabs(other)) {
        re[1] = r3;
        re[0] = other;
    } else {
        re[1] = other;
        re[0] = r3;
    }
    im[0] = im[1] = im[2] = 0.0;
    return 0;
}

int GetEquationRoot(const double (&c)[4], double (&re)[3], double (&im)[3])
{
    bool no3 = fabs(c[0]) <= kMathTolerance;
    bool no2 = fabs(c[1]) <= kMathTolerance;
    bool no1 = fabs(c[2]) <= kMathTolerance;
    if (no3 && no2 && no1)
        return -1;
    if (no3 && no2) {
        LineEquation(&c[2], re);
        im[0] = 0.0;
        re[1] = re[2] = 0.0;
        im[1] = im[2] = -1.0;
        return 0;
    }
    if (no3) {
        SquareEquation(&c[1], re, im);
        re[2] = 0.0;
        im[2] = -1.0;
        return 0;
    }
    CubicEquation(c, re, im);
    return 0;
}
