// SPDX-License-Identifier: MIT
// Castle visits: every road back from one, also from as deep as anyone cares to type.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>

namespace {

TEST(Castle, EveryRoadBackFollowsItsCaller)
{
    const std::string field = field_screen(), castle = castle_screen();
    const std::string start = field + CLEAR + castle, journey = start + CLEAR + field + CLEAR;
    const std::string deep = repeat("2\n", 1001), nested = repeat(CLEAR + castle, 1000);
    // clang-format off
    expect_plays({
        {"turning back, then quitting", "2\n1\nq\n", journey},
        {"an unlisted answer ends the game on the castle", "2\nx\n1\n", start},
        {"q at the castle is an unlisted answer", "2\nq\n1\n", start},
        {"end of input at the castle is an unlisted answer", "2\n", start},
        {"going to the castle shows it again", "2\n2\nx\n1\n", start + CLEAR + castle},
        {"q at a nested castle ends the game too", "2\n2\nq\n", start + CLEAR + castle},
        {"giving up returns to the journey without a clear", "2\n1\n2\nx\nq\n", journey + castle + field + CLEAR},
        {"two visits deep, giving up still returns to the journey", "2\n1\n2\n2\nq\n\n3\nq\n", journey + castle + CLEAR + castle + field + CLEAR + field + CLEAR},
        {"a journey inside a journey", "2\n1\n2\n1\n2\nx\nq\n", journey + castle + CLEAR + field + CLEAR + castle + field + CLEAR},
        {"end of input on the journey leaves the field", "2\n1\n2\n", journey + castle + field},
        {"a choice and an answer on one line", "21\nq\n", journey},
        {"a fight on the journey comes back to the journey", "2\n1\n" + std::string(FIGHT_INPUT) + "2\nx\nq\n", journey + whole_fight(8) + field + CLEAR + castle + field + CLEAR},
        // Giving up a thousand visits deep goes back to the field loop that started them, and the game
        // ends; or, from a journey, back to the journey.
        {"a thousand visits deep, back to the field loop", deep + "x\n1\n", field + CLEAR + castle + nested},
        {"a thousand visits deep, back to the journey", "2\n1\n" + deep + "x\nq\n", journey + castle + nested + field + CLEAR},
    });
    // clang-format on
}

}  // namespace
