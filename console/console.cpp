#include "console.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>

// The C and C++ streams stay synchronised: `read_choice` and `wait_char` must take characters from
// one sequence, in order, whichever of the two reads next.

namespace {

// Larger than anything the game draws between two reads, so stdio never writes on its own and a
// prompt leaves in one piece, on a terminal as through a pipe.
char output_buffer[16384];

// The prompt must be on the screen before the game sits waiting for the player.
void show_pending_output() { std::fflush(stdout); }

}  // namespace

void open_console() { std::setvbuf(stdout, output_buffer, _IOFBF, sizeof output_buffer); }

void write_text(const char* text) { std::fputs(text, stdout); }

void write_formatted(const char* format, ...)
{
    va_list values;
    va_start(values, format);
    std::vprintf(format, values);
    va_end(values);
}

#if defined(_WIN32)
void clear_screen()
{
    // The child writes straight to the console: what we buffered must get there first.
    show_pending_output();
    (void)std::system("cls");
}
#else
// Home, then erase the display. Buffered like any other text, so it can never overtake what was
// written before it, and no shell runs.
void clear_screen() { std::fputs("\x1b[H\x1b[2J", stdout); }
#endif

void read_choice(unsigned char& choice)
{
    show_pending_output();
    std::cin >> choice;
}

bool input_exhausted() { return !std::cin; }

void wait_char()
{
    show_pending_output();
    (void)std::getchar();
}

void end_process() { std::exit(0); }
