// SPDX-License-Identifier: MIT
// A counter that only grows must not wrap to a negative score after 268,435,456 victories.
#include "../flow/adventure.h"

#include <climits>
#include <gtest/gtest.h>
#include <utility>

namespace {

// Each row: the counter before a victory's 8 points, and after.
TEST(Experience, GrowsByThePointsGivenAndStopsAtTheLargestValue)
{
    for (auto [before, after] :
         {std::pair{0, 8}, {8, 16}, {INT_MAX - 8, INT_MAX}, {INT_MAX - 3, INT_MAX}, {INT_MAX, INT_MAX}}) {
        experience = before;
        add_experience(8);
        EXPECT_EQ(experience, after) << "from " << before;
    }
}

}  // namespace
