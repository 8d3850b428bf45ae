// SPDX-License-Identifier: MIT
// Whatever arrives on standard input, the game ends by itself, quietly, with status 0.
#include "pipe_driver.h"
#include "screens.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// One read draws at most a clear and a screen: output stays proportional to the input.
const std::size_t MOST_BYTES_PER_INPUT_BYTE = 2048;

void expect_ends_well(const std::string& input, const std::string& what)
{
    RunOptions patient;
    patient.seconds = 120;
    RunResult run = run_game(input, patient);
    expect_clean_end(run, what);
    EXPECT_LE(run.out.size(), (input.size() + 1) * MOST_BYTES_PER_INPUT_BYTE) << what;
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

TEST(HostileInput, TenMegabytesOfSpacesAreSkipped)
{
    expect_plays(
        {{"spaces", std::string(10 * 1000 * 1000, ' '), field_screen(), {{}, Stdin::pipe, false, 120}}});
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
        expect_ends_well(input, "game " + std::to_string(game));
    }
}

}  // namespace
