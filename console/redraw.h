// SPDX-License-Identifier: MIT
// The record of what the screen shows since the last clear, so that a game continued after Ctrl-Z
// can draw it again.
#pragma once

#include <cstddef>

// Keeps the last `rows` lines, none when 0.
void start_record(std::size_t rows);
// What the game wrote, or what was `typed` and echoed by the terminal.
void record(const char* text, std::size_t length, bool typed);
// A clear starts the record again, as it does the screen.
void forget_screen();
// What to write on a cleared screen to show it as it was.
const char* recorded_screen();
std::size_t recorded_length();
