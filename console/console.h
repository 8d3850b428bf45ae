// SPDX-License-Identifier: MIT
// The console: every byte the game shows or reads passes through here.
#pragma once

// Call first thing: output then leaves in one write per screen, just before the game waits.
void open_console();

void write_text(const char* text);
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void write_formatted(const char* format, ...);
void clear_screen();

// Skips whitespace, then stores one character; a read that gets nothing leaves `choice` alone.
void read_choice(unsigned char& choice);
// True when the last `read_choice` found standard input at its end.
bool input_exhausted();
// Consumes exactly one character, whitespace included.
void wait_char();

// A write or read that fails for good ends the game here, with one line on standard error and
// status 1; a signal or a non-blocking descriptor only makes it wait.
[[noreturn]] void end_process();
