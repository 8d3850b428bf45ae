// SPDX-License-Identifier: MIT
#include "console.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Both reads take their characters from stdin, so they share one sequence and see each other's
// leftovers in order, whichever of the two reads next.
//
// On Windows stdin must stay in text mode: the C runtime then turns each typed CR LF into one line
// end, so after the last strike the victory screen's first wait takes that line end and the second
// waits for Enter. In binary mode the two waits would take the CR and the LF, and the victory
// screen would vanish unseen.

namespace {

// What the game has drawn since it last waited for the player. It goes out in one piece just before
// each read, so the prompt is on the screen while the game waits; and the hundred small pieces of a
// screen cost a copy each here instead of a trip through stdio each.
char pending[16384];
std::size_t pending_length = 0;

bool last_read_found_nothing = false;

// Called before every read, and at exit so that the last screen is not lost.
void show_pending_output()
{
    std::fwrite(pending, 1, pending_length, stdout);
    std::fflush(stdout);
    pending_length = 0;
}

void append(const char* text, std::size_t length)
{
    // No screen comes near the size of the buffer; this only keeps a larger one whole and in order.
    if (length > sizeof pending - pending_length)
        show_pending_output();
    if (length > sizeof pending) {
        std::fwrite(text, 1, length, stdout);
        return;
    }
    std::memcpy(pending + pending_length, text, length);
    pending_length += length;
}

}  // namespace

void open_console()
{
    // Output is already gathered into whole screens: stdio should pass each on in one write.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::atexit(show_pending_output);
}

void write_text(const char* text) { append(text, std::strlen(text)); }

void write_formatted(const char* format, ...)
{
    char line[256];
    va_list values;
    va_start(values, format);
    int length = std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    if (length > 0)
        append(line, std::min(static_cast<std::size_t>(length), sizeof line - 1));
}

#if defined(_WIN32)
void clear_screen()
{
    // The command interpreter writes straight to the console: what is pending must get there first.
    show_pending_output();
    (void)std::system("cls");
}
#else
// Home, then erase the display. Queued like any other text, so it can never overtake what was
// written before it, and no shell runs.
void clear_screen() { write_text("\x1b[H\x1b[2J"); }
#endif

// Whitespace is what the "C" locale calls space: blanks, tabs, line ends, vertical tabs, form feeds.
void read_choice(unsigned char& choice)
{
    show_pending_output();
    int next = std::getchar();
    while (next != EOF && std::isspace(next))
        next = std::getchar();
    last_read_found_nothing = next == EOF;
    if (!last_read_found_nothing)
        choice = static_cast<unsigned char>(next);
}

bool input_exhausted() { return last_read_found_nothing; }

void wait_char()
{
    show_pending_output();
    (void)std::getchar();
}

void end_process() { std::exit(0); }
