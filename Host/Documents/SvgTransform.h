// The transform attribute: a list of matrix, translate, scale, rotate, skewX
// and skewY, read into one matrix.
#pragma once

#include <cmath>
#include <cstddef>

namespace vt::host::svg {

// An affine map, as SVG's matrix(a b c d e f): x' = a x + c y + e,
// y' = b x + d y + f.
struct Matrix {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    // this applied after m.
    Matrix operator*(const Matrix& m) const
    {
        return Matrix{a * m.a + c * m.b, b * m.a + d * m.b, a * m.c + c * m.d,
                      b * m.c + d * m.d, a * m.e + c * m.f + e, b * m.e + d * m.f + f};
    }
    void apply(double x, double y, double& ox, double& oy) const
    {
        ox = a * x + c * y + e;
        oy = b * x + d * y + f;
    }
    double scale() const { return std::sqrt(std::fabs(a * d - b * c)); }
};

// The matrix of a transform list (the identity for an empty one). bad is npos,
// or the offset of the first transform that is not one SVG knows, or that
// has the wrong count of numbers; the matrix then holds those before it.
Matrix parseTransform(const char* text, size_t& bad);

}  // namespace vt::host::svg
