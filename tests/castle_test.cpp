// Castle visits: every road back from one, and nesting as deep as anyone cares to type.
#include "pipe_driver.h"
#include "screens.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const std::string FIELD = field_scene() + FIELD_PROMPT;
const std::string CASTLE = castle_scene() + CASTLE_PROMPT;

struct Road {
    const char* name;
    std::string input;
    std::string out;
};

TEST(Castle, EveryRoadBackFollowsItsCaller)
{
    const std::string START = FIELD + CLEAR + CASTLE;
    const Road roads[] = {
        {"turning back, then quitting", "2\n1\nq\n", START + CLEAR + FIELD + CLEAR},
        {"an unlisted answer ends the game on the castle", "2\nx\n1\n", START},
        {"q at the castle is an unlisted answer", "2\nq\n1\n", START},
        {"end of input at the castle is an unlisted answer", "2\n", START},
        {"going to the castle shows it again", "2\n2\nx\n1\n", START + CLEAR + CASTLE},
        {"q at a nested castle ends the game too", "2\n2\nq\n", START + CLEAR + CASTLE},
        {"giving up returns to the journey without a clear", "2\n1\n2\nx\nq\n",
         START + CLEAR + FIELD + CLEAR + CASTLE + FIELD + CLEAR},
        {"two visits deep, giving up still returns to the journey", "2\n1\n2\n2\nq\n\n3\nq\n",
         START + CLEAR + FIELD + CLEAR + CASTLE + CLEAR + CASTLE + FIELD + CLEAR + FIELD + CLEAR},
        {"a journey inside a journey", "2\n1\n2\n1\n2\nx\nq\n",
         START + CLEAR + FIELD + CLEAR + CASTLE + CLEAR + FIELD + CLEAR + CASTLE + FIELD + CLEAR},
        {"end of input on the journey leaves the field", "2\n1\n2\n",
         START + CLEAR + FIELD + CLEAR + CASTLE + FIELD},
        {"a choice and an answer on one line", "21\nq\n", START + CLEAR + FIELD + CLEAR},
        {"a fight on the journey comes back to the journey", "2\n1\n" + FIGHT_INPUT + "2\nx\nq\n",
         START + CLEAR + FIELD + CLEAR + whole_fight(8) + FIELD + CLEAR + CASTLE + FIELD + CLEAR},
    };
    for (const Road& road : roads) {
        RunResult run = run_game(road.input);
        EXPECT_EQ(run.status, 0) << road.name;
        EXPECT_EQ(run.err, "") << road.name;
        EXPECT_EQ(run.out, road.out) << road.name;
    }
}

TEST(Castle, DeepNestingStillReturnsToTheRightPlace)
{
    const int depth = 1000;
    std::string input = "2\n", nested;
    for (int visit = 0; visit < depth; ++visit) {
        input += "2\n";
        nested += CLEAR + CASTLE;
    }
    // Every visit gives up in turn, back to the field loop that started them: the game ends.
    RunResult to_field = run_game(input + "x\n1\n");
    EXPECT_EQ(to_field.out, FIELD + CLEAR + CASTLE + nested);

    // The same depth opened from a journey hands control back to that journey.
    RunResult to_journey = run_game("2\n1\n" + input + "x\nq\n");
    EXPECT_EQ(to_journey.out,
              FIELD + CLEAR + CASTLE + CLEAR + FIELD + CLEAR + CASTLE + nested + FIELD + CLEAR);
}

// Alternates the two ways to nest: "2" at a castle, and "2" on the journey that "1" starts there.
long peak_memory_after_nested_visits(int visits)
{
    std::string input = "2\n";
    for (int visit = 0; visit < visits; visit += 2)
        input += "2\n1\n2\n";
    // The game is started by time(1), not by this process: a child's peak memory counts the copy of
    // its parent that it was before exec, and this parent holds megabytes of input.
    char report[] = "/tmp/stickquest-rss-XXXXXX";
    close(mkstemp(report));
    RunOptions options;
    options.args = {"-f", "%M", "-o", report, STICKQUEST_BINARY};
    options.out = Stdout::discard;
    options.seconds = 300;
    RunResult run = run_program(TIME_PROGRAM, input, options);
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    long peak_kib = 0;
    std::ifstream(report) >> peak_kib;
    std::remove(report);
    return peak_kib;
}

TEST(Castle, AMillionNestedVisitsTakeNoMoreMemoryThanTen)
{
    long shallow = peak_memory_after_nested_visits(10);
    long deep = peak_memory_after_nested_visits(1000000);
    EXPECT_LE(deep, shallow + 1024) << "peak resident KiB: 10 visits " << shallow << ", a million " << deep;
}

}  // namespace
