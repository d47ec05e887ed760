// Transform lists on their own: each kind, their order, and the place of the
// first one that is not a transform.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Documents/SvgTransform.h"

using namespace vt::host::svg;

namespace {

TEST(SvgTransform, EachKindAndTheirOrder)
{
    struct Row {
        const char* text;
        Matrix expect;
    } rows[] = {
        {"", {1, 0, 0, 1, 0, 0}},
        {"matrix(1 2 3 4 5 6)", {1, 2, 3, 4, 5, 6}},
        {"translate(5)", {1, 0, 0, 1, 5, 0}},
        {"translate(5,-2)", {1, 0, 0, 1, 5, -2}},
        {"scale(2)", {2, 0, 0, 2, 0, 0}},
        {"scale(2 3)", {2, 0, 0, 3, 0, 0}},
        {"rotate(90)", {0, 1, -1, 0, 0, 0}},
        // (0, 0) turns a quarter round (10, 5) to (15, -5).
        {"rotate(90 10 5)", {0, 1, -1, 0, 15, -5}},
        {"skewX(45)", {1, 0, 1, 1, 0, 0}},
        {"skewY(45)", {1, 1, 0, 1, 0, 0}},
        // The last in the list is applied first.
        {"translate(5,-2) scale(2)", {2, 0, 0, 2, 5, -2}},
        {"scale(2) translate(5,-2)", {2, 0, 0, 2, 10, -4}},
        {" translate (1)\n,\tscale(1e1)", {10, 0, 0, 10, 1, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        size_t bad = 0;
        Matrix m = parseTransform(r.text, bad);
        EXPECT_EQ(bad, std::string::npos);
        const double got[] = {m.a, m.b, m.c, m.d, m.e, m.f};
        const double want[] = {r.expect.a, r.expect.b, r.expect.c, r.expect.d, r.expect.e, r.expect.f};
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(got[i], want[i], 1e-12) << "abcdef"[i];
    }
}

TEST(SvgTransform, AFaultIsFoundAtTheTransformThatHasIt)
{
    struct Row {
        const char* text;
        size_t bad;  // offset of the faulty transform
    } rows[] = {
        {"spin(3)", 0},
        {"translate(1) rotate(1 2)", 13},
        {"scale(1,2,3)", 0},
        {"matrix(1 2 3 4 5 6 7)", 0},
        {"matrix(1 2 3 4 5)", 0},
        {"translate(1", 0},
        {"scale(x)", 0},
        {"scale(1) (2)", 9},
        {"translate(1)junk", 12},
        {"skewX()", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        size_t bad = 0;
        parseTransform(r.text, bad);
        EXPECT_EQ(bad, r.bad);
    }
}

}  // namespace
