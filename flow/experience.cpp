// SPDX-License-Identifier: MIT
#include "adventure.h"

#include <climits>

int experience = 0;

// Never wraps to a negative score: a player patient enough to reach the top stays there.
void add_experience(int points)
{
    experience = experience > INT_MAX - points ? INT_MAX : experience + points;
}
