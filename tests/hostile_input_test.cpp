// SPDX-License-Identifier: MIT
// Whatever arrives on standard input, the game ends by itself, quietly, with status 0; whatever
// surroundings it runs in, it plays out whole or says at once what failed.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// One read draws at most a clear and a screen: output stays proportional to the input.
const std::size_t MOST_BYTES_PER_INPUT_BYTE = 2048;

void expect_ends_well(const std::string& input, const std::string& what)
{
    std::size_t most = (input.size() + 1) * MOST_BYTES_PER_INPUT_BYTE;
    expect_clean_end(run_program(input, {.seconds = 120, .most_bytes = most}), what);
}

// Every value, and every value but the two that end a game early ("q" on the field, and "2", which
// leads to a castle where almost any byte ends it): the latter fights and redraws to the last byte.
TEST(HostileInput, RandomBytes)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> byte(0, 255);
        for (const std::string left_out : {"", "q2"}) {
            std::string input;
            while (input.size() < 64 * 1024) {
                char c = static_cast<char>(byte(random));
                if (left_out.find(c) == std::string::npos)
                    input += c;
            }
            expect_ends_well(input, "seed " + std::to_string(seed) + " without '" + left_out + "'");
        }
    }
}

// Plays at random with the keys that matter, mixed with noise, spaces and line ends: 200 games in
// tests of 20, so that each has the time limit of its own.
class RandomPlay : public testing::TestWithParam<int> {};
TEST_P(RandomPlay, AlwaysEndsCleanly)
{
    const char* const keys[] = {"1", "2", "q", "x", "Q", " ", "\n", "\n", "\n", "12", "21", "\t"};
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> pick(0, sizeof keys / sizeof keys[0] - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int game = 0; game < 20 * (GetParam() + 1); ++game) {
        std::string input;
        for (int key = length(random); key > 0; --key)
            input += keys[pick(random)];
        if (game >= 20 * GetParam())
            expect_ends_well(input, "game " + std::to_string(game));
    }
}
INSTANTIATE_TEST_SUITE_P(HostileInput, RandomPlay, testing::Range(0, 10));

// 30 fights (about 130 KB) in surroundings where writes and reads are cut short or must wait, and
// in surroundings where they fail for good.
TEST(HostileSurroundings, EveryWriteAndReadCompletesOrFailsLoudly)
{
    std::string fights = repeat(FIGHT_INPUT, 30) + "q\n", played = field_screen();
    for (int fight = 1; fight <= 30; ++fight)
        played += CLEAR + whole_fight(8 * fight) + field_screen();
    played += CLEAR;
    const std::string cannot_write = "stickquest: cannot write to standard output: ";
    const std::string cannot_read = "stickquest: cannot read standard input: ";
    // Waited for, not retried at once: some 30 to 90 writes to a slow reader, where a retry at once
    // makes 1,400; a late writer or reader costs a try or two a tenth of a second, not one a
    // millisecond.
    // clang-format off
    expect_plays({
        {"a slowly drained terminal while signals arrive", fights, played, {.terminal_out = true, .late_slow_and_signalled = true}},
        {"a non-blocking pipe with a slow reader", fights, played, {.nonblocking_out = true, .late_slow_and_signalled = true, .most_writes = 300}},
        {"a non-blocking terminal, slowly drained while signals arrive", fights, played, {.nonblocking_out = true, .terminal_out = true, .late_slow_and_signalled = true}},
        {"a non-blocking pipe whose writer is late", "q\n", field_screen() + CLEAR, {.nonblocking_in = true, .late_slow_and_signalled = true, .late = 1.1, .most_reads = 30}},
        {"a non-blocking pipe whose reader is late", fights, played, {.around = "{ python3 -c 'import fcntl; fcntl.fcntl(1, fcntl.F_SETFL, 2048)'; \"$0\"; } | { sleep 2; cat; }", .most_writes = 100}},
        {"a non-blocking pipe whose late writer ends it without a word", "", field_screen(), {.nonblocking_in = true, .late_slow_and_signalled = true}},
        {"standard output full", "q\n", "", {.around = "exec \"$0\" >/dev/full"}, 1, cannot_write + "No space left on device\n"},
        {"a reader gone, SIGPIPE ignored", fights, "", {.around = "trap '' PIPE; \"$0\" | true"}, 1, cannot_write + "Broken pipe\n"},
        {"standard input a directory", "", field_screen(), {.around = "exec \"$0\" </"}, 1, cannot_read + "Is a directory\n"},
    });
    // clang-format on
}

// What a shell gives a native program and node does not: a closed stream stays closed (node reopens
// it on /dev/null), and SIGPIPE at its default ends the game (node ignores it).
TEST(HostileSurroundings, ClosedStreamsAndSigpipeAreWhatTheShellGave)
{
    const std::string fights = repeat(FIGHT_INPUT, 30);
    // clang-format off
    expect_plays({
        {"a closed standard input is an error, not its end", "", field_screen(), {.around = "exec \"$0\" <&-"}, 1, "stickquest: cannot read standard input: Bad file descriptor\n"},
        {"standard output closed", "q\n", "", {.around = "exec \"$0\" >&-"}, 1, "stickquest: cannot write to standard output: Bad file descriptor\n"},
        {"a reader gone, SIGPIPE at its default", fights, "", {.around = "\"$0\" | true"}, 141},
    });
    // clang-format on
}

}  // namespace
