#include "Math/MathFunction.h"

#include <gtest/gtest.h>
#include <math.h>

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

TEST(GetEquationRoot, CubicWithThreeRealRootsSmallestFirst)
{
    const double c[4] = {1, -6, 11, -6};
    double re[3], im[3];
    ASSERT_EQ(GetEquationRoot(c, re, im), 0);
    EXPECT_NEAR(re[0], 1.0, 1e-9);
    double others[2] = {fmin(re[1], re[2]), fmax(re[1], re[2])};
    EXPECT_NEAR(others[0], 2.0, 1e-9);
    EXPECT_NEAR(others[1], 3.0, 1e-9);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(im[i], 0.0);
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
        double re[3], im[3];
        ASSERT_EQ(GetEquationRoot(row.c, re, im), 0) << row.shows;
        for (int i = 0; i < 2; i++) {
            EXPECT_NEAR(re[i], row.re[i], 1e-12) << row.shows << " root " << i;
            EXPECT_NEAR(im[i], row.im[i], 1e-12) << row.shows << " root " << i;
        }
    }
}

TEST(GetEquationRoot, CubicWithOneRealRootAndDegenerateEquation)
{
    const double c[4] = {2, 0, 0, -2};  // 2t^3 - 2
    double re[3], im[3];
    ASSERT_EQ(GetEquationRoot(c, re, im), 0);
    EXPECT_NEAR(re[0], 1.0, 1e-12);
    EXPECT_EQ(im[0], 0.0);
    EXPECT_NE(im[1], 0.0);

    const double none[4] = {0, 0, 0, 5};
    EXPECT_EQ(GetEquationRoot(none, re, im), -1);
}

}  // namespace
