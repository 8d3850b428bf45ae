// The game in a real 80x24 terminal: wrapping, clearing, the bell, and where the cursor waits.
#include "screens.h"
#include "terminal_driver.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::string>;

Rows with_prompt(Rows scene, const std::string& prompt)
{
    scene.push_back(rtrim(prompt.substr(0, prompt.find('\n'))));
    return scene;
}

const Rows FIELD = with_prompt(field_rows(), FIELD_PROMPT);
const Rows CASTLE = with_prompt(castle_rows(), CASTLE_PROMPT);

// The rows of a piece of output written from the top-left corner of a cleared screen.
Rows rows_of(const std::string& text)
{
    Rows rows(1);
    for (char c : text) {
        if (c == '\n')
            rows.emplace_back();
        else if (c != '\a')
            rows.back() += c;
    }
    for (std::string& row : rows)
        row = rtrim(row);
    return without_blank_tail(rows);
}

TEST(Terminal, TheFieldFillsTheScreenAndThePromptWaitsBelowIt)
{
    Terminal game;
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
    EXPECT_EQ(game.screen()[21], std::string(80, '='));
    EXPECT_EQ(game.cursor(), std::make_pair(0, 23));

    game.type("q");
    EXPECT_EQ(game.exit_status(), 0);
    Rows top = game.screen();
    top.resize(23);
    EXPECT_EQ(top, Rows(23)) << "q leaves a cleared screen";
}

TEST(Terminal, TheControlScreenWaitsForOneCharacter)
{
    Terminal game({"go"});
    Rows control = rows_of(CONTROL_SCREEN);
    ASSERT_EQ(game.wait_for(control), control);
    EXPECT_EQ(game.cursor(), std::make_pair(22, 1));
    // "a" answers the wait; "b" reaches the field prompt, which clears and draws the field again.
    game.type("ab");
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
    EXPECT_EQ(game.cursor(), std::make_pair(0, 23));
}

TEST(Terminal, FightScreensKeepTheirRowsAndOnlyRoundsRing)
{
    Terminal game;
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
    game.reset_bell();
    game.type("1");
    Rows opening = rows_of(battle_opening());
    ASSERT_EQ(game.wait_for(opening), opening);
    EXPECT_EQ(game.screen()[6].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(4, 19));
    EXPECT_FALSE(game.bell_rang());

    game.type("2");
    Rows round = rows_of(battle_round(96, 34));
    ASSERT_EQ(game.wait_for(round), round);
    EXPECT_EQ(game.screen()[6].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(4, 19));
    EXPECT_TRUE(game.bell_rang());

    for (const char* strike : {"1", "1", "1", "1", "1"})
        game.type(strike);
    ASSERT_EQ(game.wait_for(rows_of(battle_round(76, 4))), rows_of(battle_round(76, 4)));
    game.reset_bell();
    game.type("1");
    Rows victory = rows_of(battle_victory(8, 72, -2));
    ASSERT_EQ(game.wait_for(victory), victory);
    EXPECT_EQ(game.screen()[7].find("enemy life:"), 41u);
    EXPECT_EQ(game.cursor(), std::make_pair(0, 16));
    EXPECT_FALSE(game.bell_rang());

    game.type("");
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
}

TEST(Terminal, TheCastleStandsInTheCornerWithThePromptBelowIt)
{
    Terminal game;
    ASSERT_EQ(game.wait_for(FIELD), FIELD);
    game.type("2");
    ASSERT_EQ(game.wait_for(CASTLE), CASTLE);
    EXPECT_EQ(game.cursor(), std::make_pair(55, 22));

    // Giving up ends the game and leaves the castle, the prompt and the answer on the screen (the
    // terminal's own notice of the end may scroll it up a row).
    game.type("x");
    EXPECT_EQ(game.exit_status(), 0);
    Rows screen = game.screen();
    Rows shown = CASTLE;
    shown.back() += "x";
    auto answer = std::find(screen.begin(), screen.end(), shown.back());
    ASSERT_NE(answer, screen.end());
    long visible = std::min<long>(answer - screen.begin() + 1, static_cast<long>(shown.size()));
    EXPECT_EQ(Rows(answer + 1 - visible, answer + 1), Rows(shown.end() - visible, shown.end()));
}

}  // namespace
