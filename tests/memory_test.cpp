// SPDX-License-Identifier: MIT
// Castle visits nest without limit, and the game must not grow with them.
#include "pipe_driver.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

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
    expect_clean_end(run_program(
        TIME_PROGRAM, input,
        {.args = {"-f", "%M", "-o", report, STICKQUEST_BINARY}, .discard_out = true, .seconds = 300}));
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
