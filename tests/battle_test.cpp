// SPDX-License-Identifier: MIT
// The fight: its fixed course, what its reads take, and the experience it pays.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>

namespace {

const char SIX_STRIKES[] = "1\n2\n3\nq\nx\n9\n";

TEST(Fight, ScriptsPlayByteForByte)
{
    const std::string field = field_screen(), fight = std::string(FIGHT_INPUT);
    std::string hundred_fights = repeat(fight, 100), hundred_played = field;
    for (int count = 1; count <= 100; ++count)
        hundred_played += CLEAR + whole_fight(8 * count) + field;
    // clang-format off
    expect_plays({
        // 900 prompts answered at once: the screens go out as the queue fills, not one by one.
        {"a hundred fights piped in", hundred_fights + "q\n", hundred_played + CLEAR, {.most_writes = 20}},
        {"every victory pays eight", fight + fight + "q\n", field + CLEAR + whole_fight(8) + field + CLEAR + whole_fight(16) + field + CLEAR},
        // The third character of the last strike line answers the victory screen; the rest of the
        // line goes to the field.
        {"a long last strike line hands its rest on", "1\n" + std::string(SIX_STRIKES) + "12xq\n", field + CLEAR + whole_fight(8) + field + CLEAR},
        {"input ending mid-fight still reaches victory", "1\n1\n1\n", field + CLEAR + whole_fight(8) + field},
    });
    // clang-format on
}

}  // namespace
