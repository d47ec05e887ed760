// The order text outline takes a text's paths in: largest area first, paths
// of equal area where the exchange sort of the description leaves them,
// checked against that sort itself on many small tables full of equal areas.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "Core/OutlineClusters.h"

namespace {

std::vector<int32_t> exchangeSorted(const std::vector<float>& areas)
{
    std::vector<int32_t> order(areas.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int32_t(i);
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t j = i + 1; j < order.size(); ++j)
            if (areas[size_t(order[j])] > areas[size_t(order[i])]) std::swap(order[i], order[j]);
    return order;
}

TEST(OutlineOrder, EveryPathStandsWhereTheExchangeSortPutsIt)
{
    struct Row {
        const char* shows;
        std::vector<float> values;  // the areas are drawn from these
        int longest;
    } rows[] = {
        {"two areas", {1, 2}, 30},
        {"three areas, many of each", {0, 5, 9}, 60},
        {"many areas, few equal", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 40},
        {"infinite areas among finite ones", {0, 1, INFINITY}, 30},
        {"a path without an area to sort by", {1, 2, NAN}, 12},
        {"one area only", {7}, 20},
    };
    std::mt19937 random(5);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shows);
        for (int round = 0; round < 300; ++round) {
            std::vector<float> areas(random() % size_t(row.longest + 1));
            for (float& a : areas) a = row.values[random() % row.values.size()];
            std::vector<int32_t> order(areas.size());
            ASSERT_EQ(orderPathsByArea(areas.data(), int32_t(areas.size()), order.data()), kNoErr);
            ASSERT_EQ(order, exchangeSorted(areas)) << "round " << round;
        }
    }
}

}  // namespace
