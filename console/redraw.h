// SPDX-License-Identifier: MIT
// The record of what the screen shows since the last clear, so that a game continued after Ctrl-Z
// can draw it again.
#pragma once

#include <cstddef>

// Keeps the last `rows` lines (none when 0), and typed input too when the terminal `echoed` it.
void start_record(std::size_t rows, bool echoed);
void record_output(const char* text, std::size_t length);
void record_typed(const char* text, std::size_t length);
// A clear starts the record again, as it does the screen.
void forget_screen();
// What to write on a cleared screen to show it as it was.
const char* recorded_screen(std::size_t& length);
