// SPDX-License-Identifier: MIT
// Starting the game and moving about the field, checked byte for byte through pipes.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

TEST(Field, ScriptsPlayByteForByte)
{
    const std::string field = field_screen(), redraw = CLEAR + field;
    const RunOptions with_argument = {.args = {"x"}};
    // clang-format off
    expect_plays({
        {"without arguments the field comes first, and q clears", "q\n", field + CLEAR},
        // "a" answers the control screen's wait; "b" is the first field choice and redraws.
        {"an argument shows the controls", "ab\nq\n", CONTROL_SCREEN + field + redraw + CLEAR, with_argument},
        {"so do several of any value", "ab\nq\n", CONTROL_SCREEN + field + redraw + CLEAR, {.args = {"", "--help", "3"}}},
        // Upper-case Q is not "q"; a NUL byte and 0xFF are characters like any other.
        {"unlisted choices clear and redraw", "3\nQ\n\0\n\xff\n#q\n"s, field + redraw + redraw + redraw + redraw + redraw + CLEAR},
        {"whitespace and empty lines are skipped", "\n\n  \t \r\n   q\n", field + CLEAR},
        {"ten megabytes of spaces are skipped", std::string(10'000'000, ' '), field, {.seconds = 120}},
        // The "2" does not reach the field: the fight that "1" starts takes it as its first strike.
        {"two choices on one line are read in turn", "12\n1\n1\n1\n1\n1\n1\n\nq\n", field + CLEAR + whole_fight(8) + field + CLEAR},
        {"end of input at the field ends the game, leaving the screen", "", field},
        {"and input of nothing but whitespace", "   \n\n", field},
        {"a last q without a line end still counts", "q", field + CLEAR},
        {"so does any last choice", "3", field + redraw},
        {"end of input at the control screen still draws the field", "", CONTROL_SCREEN + field, with_argument},
    });
    // clang-format on
}

// A program reading the game through a pipe gets each screen whole before it answers, and then no
// more: the control screen, the field, the field again; or the field, then a fight whose last strike
// line holds two characters, of which the second and the line end pass the victory screen's waits.
TEST(Field, EachScreenArrivesWholeBeforeItsAnswer)
{
    const std::string field = field_screen();
    // Each game: its arguments, and its turns: what is sent, and what then shows.
    using Turns = std::vector<std::pair<std::string, std::string>>;
    // clang-format off
    for (const auto& [args, turns] : {std::pair<std::vector<std::string>, Turns>{{"x"}, {{"", CONTROL_SCREEN}, {"\n", field}, {"7\n", CLEAR + field}}},
                                     {{}, {{"", field}, {"1\n1\n2\n3\nq\nx\n9\n12\n", CLEAR + whole_fight(8) + field}}}}) {
        // clang-format on
        PipeSession game({.args = args});
        for (const auto& [sent, shown] : turns) {
            game.send(sent);
            EXPECT_EQ(game.read(shown.size()), shown);
            EXPECT_TRUE(game.quiet_for(0.2));
        }
        game.send("q\n");
        RunResult end = game.finish();
        expect_clean_end(end);
        EXPECT_EQ(end.out, CLEAR);
    }
}

// Like any program reading a file, the game leaves the rest of it to whatever reads next, be it
// only the line end after the last answer.
TEST(Field, AFollowingCommandReadsOnWhereTheGameStopped)
{
    const std::string from_a_file =
        R"(f=$(mktemp) && printf %s "$1" >"$f" && { "$0" >/dev/null; cat; } <"$f"; rm "$f")";
    for (const auto& [played, rest] :
         {std::pair{"3\nq", "\nthe rest of the script\n"}, std::pair{"q", "\n"}}) {
        RunResult run = run_program("", {.args = {played + std::string(rest)}, .around = from_a_file});
        expect_clean_end(run);
        EXPECT_EQ(run.out, rest);
    }
}

}  // namespace
