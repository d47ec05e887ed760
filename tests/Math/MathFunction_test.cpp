#include "Math/MathFunction.h"

#include <gtest/gtest.h>
#include <math.h>

#include <cmath>

namespace {

struct RoundCase {
    const char* name;
    double value;
    int32_t expected;
};

TEST(mkLong, HalvesRoundDown)
{
    const RoundCase cases[] = {
        {"half goes down", 2.5, 2},
        {"just over half goes up", 2.50001, 3},
        {"over half", 2.6, 3},
        {"negative half goes down", -2.5, -3},
        {"negative under half", -2.4, -2},
        {"minus a half", -0.5, -1},
        {"under half", 0.4, 0},
        {"a negative fraction rounds from the integer below", -7.25, -7},
        {"a negative fraction past the half rounds down", -7.75, -8},
        {"a whole negative stays", -7.0, -7},
        {"a negative hair under a half rounds as its difference to -1 does", -0.49999999999999994, -1},
        {"a negative hair under zero", -1e-300, 0},
        {"the largest int32 half goes down", 2147483646.5, 2147483646},
        {"past it goes up to the largest int32", 2147483646.75, INT32_MAX},
        {"the largest int32 itself", 2147483647.0, INT32_MAX},
        {"the least int32 itself", -2147483648.0, INT32_MIN},
        {"a half above the least goes down to it", -2147483647.5, INT32_MIN},
        {"just above that stays above", -2147483647.25, -2147483647},
        {"far beyond the range saturates", 1e12, INT32_MAX},
        {"far below the range saturates", -1e12, INT32_MIN},
        {"NaN gives 0", NAN, 0},
    };
    for (const RoundCase& c : cases)
        EXPECT_EQ(mkLong(c.value), c.expected) << c.name;
}

TEST(GetEquationRoot, LinearMarksTheMissingRoots)
{
    const double c[4] = {0, 0, 2, -1};
    double re[3], im[3];
    ASSERT_EQ(GetEquationRoot(c, re, im), 0);
    EXPECT_DOUBLE_EQ(re[0], 0.5);
    EXPECT_EQ(im[0], 0.0);
    EXPECT_EQ(im[1], -1.0);
    EXPECT_EQ(im[2], -1.0);
}

TEST(GetEquationRoot, QuadraticDoubleRootIsReal)
{
    const double c[4] = {0, 1, -4, 4};
    double re[3], im[3];
    ASSERT_EQ(GetEquationRoot(c, re, im), 0);
    EXPECT_EQ(re[0], 2.0);
    EXPECT_EQ(re[1], 2.0);
    EXPECT_EQ(im[0], 0.0);
    EXPECT_EQ(im[1], 0.0);
    EXPECT_EQ(im[2], -1.0);
}

TEST(GetEquationRoot, QuadraticRootsTwoRealOrAComplexPair)
{
    struct Row {
        const char* shows;
        double c[4];
        double re[2], im[2];
    } rows[] = {
        {"2t^2 - 10t + 12: 3 and 2", {0, 2, -10, 12}, {3, 2}, {0, 0}},
        {"t^2 - 1: 1 and -1", {0, 1, 0, -1}, {1, -1}, {0, 0}},
        {"t^2 + 2t + 5: -1 +- 2i", {0, 1, 2, 5}, {-1, -1}, {2, -2}},
    };
    for (const Row& row : rows) {
        // Filled with what no root is: each root must be written, real or not.
        double re[3] = {99, 99, 99}, im[3] = {99, 99, 99};
        ASSERT_EQ(GetEquationRoot(row.c, re, im), 0) << row.shows;
        for (int i = 0; i < 2; i++) {
            EXPECT_NEAR(re[i], row.re[i], 1e-12) << row.shows << " root " << i;
            EXPECT_NEAR(im[i], row.im[i], 1e-12) << row.shows << " root " << i;
        }
    }
}

// Every root of a cubic, real or complex, whatever its leading coefficient,
// the sign of its roots or their spacing: each expected root (worked out by
// hand from the factors) is one of those given back, in whatever order.
TEST(GetEquationRoot, ACubicGivesItsThreeRoots)
{
    const double h = std::sqrt(3.0) / 2;
    struct Row {
        const char* shows;
        double c[4];
        double re[3], im[3];
        double within;
    } rows[] = {
        {"(t-1)(t-2)(t-3)", {1, -6, 11, -6}, {1, 2, 3}, {0, 0, 0}, 1e-9},
        {"(t+1)(t+2)(t+3)", {1, 6, 11, 6}, {-1, -2, -3}, {0, 0, 0}, 1e-9},
        {"(t+1) t (t-1), roots even about 0", {1, 0, -1, 0}, {-1, 0, 1}, {0, 0, 0}, 1e-9},
        {"2(t-1)(t-2)(t-3), a leading 2", {2, -12, 22, -12}, {1, 2, 3}, {0, 0, 0}, 1e-9},
        {"(t-0.25)(t-0.5)(t+4)", {1, 3.25, -2.875, 0.5}, {0.25, 0.5, -4}, {0, 0, 0}, 1e-9},
        {"t^3 - 8: 2 and -1 +- sqrt(3) i", {1, 0, 0, -8}, {2, -1, -1}, {0, 2 * h, -2 * h}, 1e-9},
        {"2t^3 - 2: 1 and -1/2 +- sqrt(3)/2 i", {2, 0, 0, -2}, {1, -0.5, -0.5}, {0, h, -h}, 1e-9},
        {"(t-1)(t^2+1): 1 and +- i", {1, -1, 1, -1}, {1, 0, 0}, {0, 1, -1}, 1e-9},
        {"(t+2)(t^2+2t+5): -2 and -1 +- 2i", {1, 4, 9, 10}, {-2, -1, -1}, {0, 2, -2}, 1e-9},
        {"(t-2)^3, a triple root", {1, -6, 12, -8}, {2, 2, 2}, {0, 0, 0}, 1e-4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        double re[3], im[3];
        ASSERT_EQ(GetEquationRoot(row.c, re, im), 0);
        bool used[3] = {false, false, false};
        for (int want = 0; want < 3; want++) {
            int found = -1;
            for (int i = 0; i < 3 && found < 0; i++)
                if (!used[i] && std::fabs(re[i] - row.re[want]) <= row.within &&
                    std::fabs(im[i] - row.im[want]) <= row.within)
                    found = i;
            EXPECT_GE(found, 0) << "root " << row.re[want] << " + " << row.im[want] << "i; got " << re[0] << "+"
                                << im[0] << "i, " << re[1] << "+" << im[1] << "i, " << re[2] << "+" << im[2] << "i";
            if (found >= 0) used[found] = true;
        }
    }

    // A real root is given as real, exactly, so that the crossings take it.
    const double c[4] = {1, -6, 11, -6};
    double re[3], im[3];
    ASSERT_EQ(GetEquationRoot(c, re, im), 0);
    for (int i = 0; i < 3; i++) EXPECT_EQ(im[i], 0.0) << i;

    const double none[4] = {0, 0, 0, 5};
    EXPECT_EQ(GetEquationRoot(none, re, im), -1);
}

}  // namespace
