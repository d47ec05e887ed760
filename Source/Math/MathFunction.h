// Rounding to whole plotter steps and the closed-form solvers of linear,
// quadratic and cubic equations behind the line crossings.
#pragma once

#include <math.h>
#include <stdint.h>

// Rounds to the nearest integer with halves going down (2.5 -> 2, -2.5 -> -3).
// Inline: the preview rounds every point it draws to a pixel with it.
inline int32_t mkLong(double value)
{
    // Within the int32 range (NaN fails both tests) the floor is the
    // truncation, one less for a negative fraction: the same whole number
    // floor() gives, so the same result, without the library call and the
    // range checks below, which cannot fire here.
    if (value > -2147483648.0 && value < 2147483647.0) {
        int64_t t = (int64_t)value;
        if ((double)t > value)
            t--;
        if (value - (double)t > 0.5)
            t++;
        return (int32_t)t;
    }
    double f = floor(value);
    if (value - f > 0.5)
        f += 1.0;
    // A length far beyond any cutter's reach (or a NaN from broken geometry)
    // must not turn into an undefined conversion; it saturates instead.
    if (f != f)
        return 0;
    if (f >= 2147483647.0)
        return INT32_MAX;
    if (f <= -2147483648.0)
        return INT32_MIN;
    return (int32_t)f;
}

// c[0]*t^3 + c[1]*t^2 + c[2]*t + c[3] = 0. Returns -1 (nothing written) when the
// equation has no unknown left, else 0. A root that does not exist is marked by
// an imaginary part of -1.0; only roots whose imaginary part is exactly 0 are real.
int GetEquationRoot(const double (&c)[4], double (&re)[3], double (&im)[3]);
int LineEquation(const double c[2], double re[1]);
int SquareEquation(const double c[3], double re[2], double im[2]);
int CubicEquation(const double (&c)[4], double (&re)[3], double (&im)[3]);
