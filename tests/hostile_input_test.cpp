// Whatever arrives on standard input, the game ends by itself, quietly, with status 0.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// One read draws at most a clear and a screen: output stays proportional to the input.
const std::size_t MOST_BYTES_PER_INPUT_BYTE = 2048;

void expect_ends_well(const std::string& input, const RunResult& run, const std::string& what)
{
    EXPECT_FALSE(run.timed_out) << what;
    EXPECT_EQ(run.status, 0) << what;
    EXPECT_EQ(run.err, "") << what;
    EXPECT_LE(run.out.size(), (input.size() + 1) * MOST_BYTES_PER_INPUT_BYTE) << what;
}

std::string random_bytes(std::mt19937& random, std::size_t count, const std::string& left_out)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes;
    while (bytes.size() < count) {
        char c = static_cast<char>(byte(random));
        if (left_out.find(c) == std::string::npos)
            bytes += c;
    }
    return bytes;
}

// Every value, and every value but the two that end a game early ("q" on the field, and "2", which
// leads to a castle where almost any byte ends it): the latter fights and redraws to the last byte.
TEST(HostileInput, RandomBytes)
{
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 random(seed);
        for (const std::string left_out : {"", "q2"}) {
            std::string input = random_bytes(random, 64 * 1024, left_out);
            RunResult run = run_game(input, {{}, Stdin::pipe, Stdout::keep, 120});
            expect_ends_well(input, run, "seed " + std::to_string(seed) + " without '" + left_out + "'");
        }
    }
}

TEST(HostileInput, TenMegabytesOfSpacesAreSkipped)
{
    std::string input(10 * 1000 * 1000, ' ');
    RunResult run = run_game(input, {{}, Stdin::pipe, Stdout::keep, 120});
    expect_ends_well(input, run, "spaces");
    EXPECT_EQ(run.out, field_scene() + FIELD_PROMPT);
}

// Plays at random with the keys that matter, mixed with noise, spaces and line ends.
TEST(HostileInput, RandomPlayAlwaysEndsCleanly)
{
    const char* const keys[] = {"1", "2", "q", "x", "Q", " ", "\n", "\n", "\n", "12", "21", "\t"};
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> pick(0, sizeof keys / sizeof keys[0] - 1);
    std::uniform_int_distribution<int> length(1, 40);
    for (int game = 0; game < 200; ++game) {
        std::string input;
        for (int key = length(random); key > 0; --key)
            input += keys[pick(random)];
        expect_ends_well(input, run_game(input), "game " + std::to_string(game));
    }
}

}  // namespace
