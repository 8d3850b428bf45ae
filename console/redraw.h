// SPDX-License-Identifier: MIT
// The record of what the screen shows since the last clear, so that a game continued after Ctrl-Z
// can draw it again.
#pragma once

#include <cstddef>

// Keeps the last lines written and typed, when `kept`.
void start_record(bool kept);
// What the game wrote, or what was `typed` and echoed by the terminal.
void record(const char* text, std::size_t length, bool typed);
// A clear starts the record again, as it does the screen.
void forget_screen();
// What to write on a cleared screen of `rows` to show it as it was: its last `rows` lines.
const char* recorded_screen(std::size_t rows, std::size_t& length);
