// SPDX-License-Identifier: MIT
// The six operations, the buffers behind them, and the record of the screen for a redraw; what
// differs between systems is behind platform.h.
#include "console.h"

#include "platform.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Both reads take their characters from one input buffer, so they share one sequence and see each
// other's leftovers in order, whichever of the two reads next.
//
// What the game writes is gathered and handed to the terminal only when the game is about to block
// waiting for input (that is, right before it asks the system for more), at exit, when the buffer
// is full, and before a Windows cls. A read served from characters already waiting returns at once,
// so nobody is ever left waiting on a prompt that has not been written; answers that are already
// there (a script, or several on one line) cost no write each. The bytes are the same either way.
//
// Every write goes on until all of it is out, and every read until it has something or the input
// has ended: a signal or a non-blocking descriptor only delays them. Any other failure ends the game
// with one line on standard error and status 1, since carrying on would lose the player's screens
// or take a broken input for its end.

namespace {

char pending[65536];
std::size_t pending_length = 0;

char input[4096];
std::size_t input_next = 0, input_end = 0;
// Like C's stdio, the end of input is remembered: one Ctrl-D ends the game, not one per read.
bool input_ended = false;

// The newest lines on the terminal since the last clear, typed echo included but not the bell, so
// that the screen can be drawn again when the game is continued after Ctrl-Z. Kept on terminals
// only (`screen_rows` is 0 elsewhere). A terminal shows its last rows, so the record keeps as many
// whole lines as it has rows. A line typed in canonical mode holds at most 4,095 bytes, so the
// array holds over a hundred rows of them; it only bounds the memory otherwise. A fixed array, not
// a string: the game then needs no C++ library at run time, and starts faster and smaller.
char screen[1 << 19];
std::size_t screen_length = 0, screen_line_ends = 0, screen_rows = 0;
bool input_echoed = false;

// In the form every command-line tool uses. _Exit, not exit: this may run in the exit handler, and
// after a failure nothing more may be written.
[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "stickquest: %s: %s\n", what, std::strerror(errno));
    std::_Exit(1);
}

void drop_oldest_line()
{
    const char* end = static_cast<const char*>(std::memchr(screen, '\n', screen_length));
    std::size_t cut = end ? static_cast<std::size_t>(end - screen) + 1 : screen_length;
    screen_line_ends -= end != nullptr;
    std::memmove(screen, screen + cut, screen_length - cut);
    screen_length -= cut;
}

void keep(char c)
{
    if (screen_length == sizeof screen)
        drop_oldest_line();
    screen[screen_length++] = c;
    if (c == '\n' && ++screen_line_ends > screen_rows)
        drop_oldest_line();
}

// Output is kept without the bell, which shows nothing; typed input as the terminal echoed it, with
// control characters as ^K and the like, which raw would act again.
void remember(const char* text, std::size_t length, bool typed)
{
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (typed && ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7f)) {
            keep('^');
            c ^= 0x40;
        }
        if (typed || c != '\a')
            keep(static_cast<char>(c));
    }
}

// Partial writes go on with the rest; a signal only interrupts.
void show(const char* bytes, std::size_t length)
{
    while (length > 0) {
        long written = write_some(bytes, length);
        if (written < 0 && errno != EINTR)
            fail("cannot write to standard output");
        if (written > 0) {
            bytes += written;
            length -= static_cast<std::size_t>(written);
        }
    }
}

void append(const char* text, std::size_t length)
{
    if (screen_rows > 0)
        remember(text, length, false);
    queue(text, length);
}

void draw_again()
{
    clear_terminal();
    show_pending_output();
    show(screen, screen_length);
}

// Fills the input buffer, waiting for the player if need be; false at the end of input.
bool fill_input()
{
    if (input_ended)
        return false;
    show_pending_output();
    long count;
    do {
        if (continued_in_foreground())
            draw_again();
        count = read_some(input, sizeof input);
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        fail("cannot read standard input");
    input_next = 0;
    input_end = static_cast<std::size_t>(count);
    input_ended = count == 0;
    if (input_echoed)
        remember(input, input_end, true);
    return !input_ended;
}

int next_char()
{
    if (input_next == input_end && !fill_input())
        return EOF;
    return static_cast<unsigned char>(input[input_next++]);
}

// Called at exit, so that the last screen is not lost.
void close_console()
{
    show_pending_output();
    hand_back(input_end - input_next);
}

}  // namespace

// No piece the game writes comes near the buffer's size.
void queue(const char* text, std::size_t length)
{
    if (length > sizeof pending - pending_length)
        show_pending_output();
    std::memcpy(pending + pending_length, text, length);
    pending_length += length;
}

void show_pending_output()
{
    std::size_t length = pending_length;
    pending_length = 0;
    show(pending, length);
}

void open_console()
{
    std::atexit(close_console);
    screen_rows = start_terminal();
    input_echoed = screen_rows > 0 && typed_input_echoed();
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

// The record starts again after a clear, as the screen does.
void clear_screen()
{
    screen_length = screen_line_ends = 0;
    clear_terminal();
}

// Whitespace is what the "C" locale calls space: blanks, tabs, line ends, vertical tabs, form feeds.
void read_choice(unsigned char& choice)
{
    int next = next_char();
    while (next != EOF && std::isspace(next))
        next = next_char();
    if (next != EOF)
        choice = static_cast<unsigned char>(next);
}

bool input_exhausted() { return input_ended; }

void wait_char() { (void)next_char(); }

void end_process() { std::exit(0); }
