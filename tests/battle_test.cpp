// The fight: its fixed course, what its reads take, and the experience it pays.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>

namespace {

const std::string FIELD = field_scene() + FIELD_PROMPT;
const std::string SIX_STRIKES = "1\n2\n3\nq\nx\n9\n";

TEST(Fight, RunsItsWholeCourseAndPaysEightPerVictory)
{
    RunResult run = run_game(FIGHT_INPUT + FIGHT_INPUT + "q\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, FIELD + CLEAR + whole_fight(8) + FIELD + CLEAR + whole_fight(16) + FIELD + CLEAR);
}

// Two characters on the last strike line: the waits take the second one and the line end, so the
// victory screen passes without waiting for the player.
TEST(Fight, TwoCharacterLastStrikeSkipsTheVictoryPause)
{
    PipeSession game;
    game.send("1\n" + SIX_STRIKES + "12\n");
    std::string expected = FIELD + CLEAR + whole_fight(8) + FIELD;
    EXPECT_EQ(game.read(expected.size()), expected);
    game.send("q\n");
    EXPECT_EQ(game.finish().out, CLEAR);
}

// With three, the third answers the victory screen and the rest of the line goes to the field.
TEST(Fight, ThreeCharacterLastStrikeHandsTheRestOfTheLineOn)
{
    RunResult run = run_game("1\n" + SIX_STRIKES + "12xq\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, FIELD + CLEAR + whole_fight(8) + FIELD + CLEAR);
}

TEST(Fight, InputEndingMidFightStillReachesVictory)
{
    RunResult run = run_game("1\n1\n1\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, FIELD + CLEAR + whole_fight(8) + FIELD);
}

}  // namespace
