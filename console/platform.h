// SPDX-License-Identifier: MIT
// What each kind of system gives the console (CMake compiles one of posix.cpp, windows.cpp and
// web.cpp). The console calls these; they never call back into it.
#pragma once

#include <cstddef>

// Sets the system up; true when standard output is a terminal whose screen the console should keep,
// so that it can be drawn again after Ctrl-Z and fg, or a resize.
bool start_terminal();
// True when the terminal echoed what was just read, so that it is on the screen.
bool typed_input_echoed();

// Write and read what they can, waiting as long as the system makes them: the count (0 from a read
// at the end of input), or -1 with errno set. EINTR means a signal arrived while they waited: the
// caller asks again, after drawing the screen again if the game was continued.
long write_some(const char* bytes, std::size_t length);
long read_some(char* buffer, std::size_t size);

// The escape codes that clear the screen, which the console queues in order with the text; or null
// where the system clears by a command of its own instead, which the console runs only once all it
// has queued is written.
const char* clear_codes();
void run_clear_command();

// Once the screen may have been spoilt since the last call (the game continued in the foreground,
// the terminal resized), its number of rows, to draw it again; otherwise 0.
std::size_t screen_spoilt();
// Leaves `count` bytes of read but unused input to whatever reads standard input next.
void hand_back(std::size_t count);
