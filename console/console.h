// SPDX-License-Identifier: MIT
// The console: every byte the game shows or reads passes through here.
//
// Output is gathered and handed over in one write per screen, just before the game waits for input.
// On a terminal the console keeps what the screen shows, so that a game stopped with Ctrl-Z and
// continued with fg draws its screen again. At exit, input that was read but not used is handed back
// where standard input can seek, so that the next command reads on from there.
#pragma once

// Call first thing.
void open_console();

// A write or read that fails for good ends the game in these, with one line on standard error and
// status 1; a signal or a non-blocking descriptor only makes them wait.
void write_text(const char* text);
__attribute__((format(printf, 1, 2))) void write_formatted(const char* format, ...);
void clear_screen();

// Skips whitespace, then stores one character; a read that gets nothing leaves `choice` alone.
void read_choice(unsigned char& choice);
// True once standard input has come to its end.
bool input_exhausted();
// Consumes exactly one character, whitespace included.
void wait_char();

// Ends the game with status 0, the last screen shown.
[[noreturn]] void end_process();
