// SPDX-License-Identifier: MIT
// The game in a real 80x24 terminal: wrapping, clearing, the bell, and where the cursor waits.
#include "screens.h"
#include "terminal_driver.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(Terminal, TheFieldFillsTheScreenAndThePromptWaitsBelowIt)
{
    const Rows field = rows_of(field_screen());
    Terminal game;
    ASSERT_EQ(game.wait_for(field), field);
    EXPECT_EQ(game.screen()[21], std::string(80, '='));
    EXPECT_EQ(game.cursor(), std::make_pair(0, 23));

    game.type("q");
    EXPECT_EQ(game.exit_status(), 0);
    EXPECT_EQ(game.screen(), Rows()) << "q leaves a cleared screen";
}

TEST(Terminal, TheControlScreenWaitsForOneCharacter)
{
    Terminal game({"go"});
    ASSERT_EQ(game.wait_for(rows_of(CONTROL_SCREEN)), rows_of(CONTROL_SCREEN));
    EXPECT_EQ(game.cursor(), std::make_pair(22, 1));
    // "a" answers the wait; "b" reaches the field prompt, which clears and draws the field again.
    game.type("ab");
    ASSERT_EQ(game.wait_for(rows_of(field_screen())), rows_of(field_screen()));
    EXPECT_EQ(game.cursor(), std::make_pair(0, 23));
}

TEST(Terminal, FightScreensKeepTheirRowsAndOnlyRoundsRing)
{
    Terminal game;
    ASSERT_EQ(game.wait_for(rows_of(field_screen())), rows_of(field_screen()));
    game.reset_bell();
    game.type("1");
    const Rows opening = rows_of(battle_opening()), round = rows_of(battle_round(96, 34));
    ASSERT_EQ(game.wait_for(opening), opening);
    EXPECT_EQ(game.screen()[6].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(4, 19));
    EXPECT_FALSE(game.bell_rang());

    game.type("2");
    ASSERT_EQ(game.wait_for(round), round);
    EXPECT_EQ(game.screen()[6].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(4, 19));
    EXPECT_TRUE(game.bell_rang());

    for (const char* strike : {"1", "1", "1", "1", "1"})
        game.type(strike);
    ASSERT_EQ(game.wait_for(rows_of(battle_round(76, 4))), rows_of(battle_round(76, 4)));
    game.reset_bell();
    game.type("1");
    const Rows victory = rows_of(battle_victory(8, 72, -2));
    ASSERT_EQ(game.wait_for(victory), victory);
    EXPECT_EQ(game.screen()[7].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(0, 16));
    EXPECT_FALSE(game.bell_rang());

    game.type("");
    ASSERT_EQ(game.wait_for(rows_of(field_screen())), rows_of(field_screen()));
}

TEST(Terminal, TheCastleStandsInTheCornerWithThePromptBelowIt)
{
    const Rows castle = rows_of(castle_screen());
    Terminal game;
    game.type("2");
    ASSERT_EQ(game.wait_for(castle), castle);
    EXPECT_EQ(game.cursor(), std::make_pair(55, 22));

    // Giving up ends the game and leaves the castle, the prompt and the answer on the screen.
    game.type("x");
    EXPECT_EQ(game.exit_status(), 0);
    EXPECT_EQ(game.screen(), rows_of(castle_screen() + "x"));
}

// Stopped with Ctrl-Z and continued with fg, the game draws its screen again, typed echo and all
// but without the bell, and waits at the same place; continued with bg, it leaves the shell alone.
TEST(Terminal, CtrlZAndFgDrawTheScreenAgain)
{
    // The game is given `line` once it waits at its first prompt, so the echo lands where a player's
    // would; or its input is `piped_in`, and nothing is typed.
    struct Stop {
        const char* name;
        std::vector<std::string> args;
        std::string line;
        Rows shown;
        std::pair<int, int> cursor = {0, 23};
        std::string piped_in = "";
        const char* resume = "fg";
    };
    // The last `count` rows: what the terminal keeps of `rows` once the earlier ones scrolled away.
    auto last = [](Rows rows, std::size_t count) {
        return Rows(rows.end() - std::min(rows.size(), count), rows.end());
    };
    // Four lines of 4,000 tabs, each echoed as one row, the first led by Ctrl-K, which echoes as "^K".
    const std::string tabs(4000, '\t'), long_lines = "\v" + tabs + "\n" + tabs + "\n" + tabs + "\n" + tabs;
    const Stop stops[] = {
        {"in a fight", {}, "12", rows_of(battle_round(96, 34)), {4, 19}},
        {"at the castle", {}, "2", rows_of(castle_screen()), {55, 22}},
        {"on the field after the control screen",
         {"x"},
         "",
         last(rows_of(CONTROL_SCREEN + std::string("\n") + field_screen()), 23)},
        {"after long typed lines", {}, long_lines, last(rows_of(field_screen() + "^K"), 20)},
        {"after many redraws on one line", {}, std::string(20, '3'), rows_of(field_screen())},
        {"with piped input, which the terminal never echoed",
         {"x"},
         "",
         last(rows_of(CONTROL_SCREEN + field_screen()), 23),
         {0, 23},
         "{ echo a; sleep 30; }"},
        {"continued in the background", {}, "2", rows_of(castle_screen()), {55, 22}, "", "bg"},
    };
    for (const Stop& stop : stops) {
        Terminal game(stop.args, Terminal::from_shell, stop.piped_in);
        if (stop.piped_in.empty()) {
            const std::string first_prompt =
                stop.args.empty() ? rows_of(field_screen()).back() : "for exit press any key";
            game.wait_until([&](const Rows& rows) { return !rows.empty() && rows.back() == first_prompt; });
            game.type(stop.line);
        }
        ASSERT_EQ(game.wait_for(stop.shown), stop.shown) << stop.name;
        game.reset_bell();
        game.press("C-z");
        game.wait_until([](const Rows& rows) { return !rows.empty() && rows.back().rfind("$", 0) == 0; });
        game.type(stop.resume);
        if (std::string(stop.resume) == "bg") {
            EXPECT_NE(game.wait_for(stop.shown, 1), stop.shown) << stop.name << ": drawn over the shell";
            continue;
        }
        EXPECT_EQ(game.wait_for(stop.shown), stop.shown) << stop.name;
        EXPECT_EQ(game.cursor(), stop.cursor) << stop.name;
        EXPECT_FALSE(game.bell_rang()) << stop.name << ": the drawing again must not ring";
    }
}

// One Ctrl-D is remembered: the fight under way runs to its victory at once, and the field then ends
// the game, leaving the field on the screen.
TEST(Terminal, OneCtrlDEndsTheGame)
{
    Terminal game;
    game.type("1");
    ASSERT_EQ(game.wait_for(rows_of(battle_opening())), rows_of(battle_opening()));
    game.press("C-d");
    EXPECT_EQ(game.exit_status(), 0);
    EXPECT_EQ(game.screen(), rows_of(field_screen()));
}

}  // namespace
