// SPDX-License-Identifier: MIT
// A counter that only grows must not wrap to a negative score after 268,435,456 victories.
#include "../flow/adventure.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

TEST(Experience, GrowsByThePointsGiven)
{
    experience = 0;
    add_experience(8);
    add_experience(8);
    EXPECT_EQ(experience, 16);
}

TEST(Experience, StopsAtTheLargestValueInsteadOfOverflowing)
{
    experience = INT_MAX - 8;
    add_experience(8);
    EXPECT_EQ(experience, INT_MAX);
    experience = INT_MAX - 3;
    add_experience(8);
    EXPECT_EQ(experience, INT_MAX);
    add_experience(8);
    EXPECT_EQ(experience, INT_MAX);
}

}  // namespace
