// Starting the game and moving about the field, checked byte for byte through pipes.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

const std::string FIELD = field_scene() + FIELD_PROMPT;

void expect_clean_end(const RunResult& run)
{
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}

TEST(Start, WithoutArgumentsTheFieldComesFirstAndQuitClears)
{
    RunResult run = run_game("q\n");
    expect_clean_end(run);
    EXPECT_EQ(run.out, FIELD + CLEAR);
}

TEST(Start, AnyArgumentShowsTheControlScreenAndItsWaitTakesOneCharacter)
{
    for (auto args : {std::vector<std::string>{"x"}, std::vector<std::string>{"", "--help", "3"}}) {
        // "a" answers the wait; "b" is the first field choice and redraws.
        RunResult run = run_game("ab\nq\n", {args});
        expect_clean_end(run);
        EXPECT_EQ(run.out, CONTROL_SCREEN + FIELD + CLEAR + FIELD + CLEAR);
    }
}

TEST(FieldLoop, UnlistedChoicesClearAndRedraw)
{
    // Upper-case Q is not "q"; a NUL byte and 0xFF are characters like any other.
    RunResult run = run_game("3\nQ\n\0\n\xff\n#q\n"s);
    expect_clean_end(run);
    std::string redraw = CLEAR + FIELD;
    EXPECT_EQ(run.out, FIELD + redraw + redraw + redraw + redraw + redraw + CLEAR);
}

TEST(FieldLoop, WhitespaceAndEmptyLinesAreSkippedWithoutRedrawing)
{
    RunResult run = run_game("\n\n  \t \r\n   q\n");
    expect_clean_end(run);
    EXPECT_EQ(run.out, FIELD + CLEAR);
}

TEST(FieldLoop, TwoChoicesOnOneLineAreReadInTurn)
{
    // The "2" does not reach the field: the fight that "1" starts takes it as its first strike.
    RunResult run = run_game("12\n1\n1\n1\n1\n1\n1\n\nq\n");
    expect_clean_end(run);
    EXPECT_EQ(run.out, FIELD + CLEAR + whole_fight(8) + FIELD + CLEAR);
}

TEST(EndOfInput, AtTheFieldPromptEndsTheGameLeavingTheScreen)
{
    RunOptions closed;
    closed.in = Stdin::closed;
    for (RunResult run : {run_game(""), run_game("", closed), run_game("   \n\n")}) {
        expect_clean_end(run);
        EXPECT_EQ(run.out, FIELD);
    }
}

TEST(EndOfInput, ALastChoiceWithoutALineEndStillCounts)
{
    RunResult quit = run_game("q");
    expect_clean_end(quit);
    EXPECT_EQ(quit.out, FIELD + CLEAR);

    RunResult other = run_game("3");
    expect_clean_end(other);
    EXPECT_EQ(other.out, FIELD + CLEAR + FIELD);
}

TEST(EndOfInput, DuringTheControlScreenStillDrawsTheField)
{
    RunResult run = run_game("", {{"x"}});
    expect_clean_end(run);
    EXPECT_EQ(run.out, CONTROL_SCREEN + FIELD);
}

// A program reading the game through a pipe must get each prompt whole before it answers.
TEST(Prompts, ArriveWholeBeforeAnyInputIsSent)
{
    PipeSession game({"x"});
    EXPECT_EQ(game.read(CONTROL_SCREEN.size()), CONTROL_SCREEN);
    EXPECT_TRUE(game.quiet_for(0.2));
    game.send("\n");
    EXPECT_EQ(game.read(FIELD.size()), FIELD);
    EXPECT_TRUE(game.quiet_for(0.2));
    game.send("7\n");
    EXPECT_EQ(game.read(CLEAR.size() + FIELD.size()), CLEAR + FIELD);
    game.send("q\n");
    RunResult end = game.finish();
    expect_clean_end(end);
    EXPECT_EQ(end.out, CLEAR);
}

}  // namespace
