// SPDX-License-Identifier: MIT
// The six operations and the two buffers behind them: what differs between systems is behind
// platform.h, and the record of the screen for a redraw behind redraw.h.
#include "console.h"

#include "platform.h"
#include "redraw.h"

#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Both reads take their characters from one input buffer, so they share one sequence and see each
// other's leftovers in order, whichever of the two reads next.
//
// What the game writes is queued and handed to the terminal only when the game is about to block
// waiting for input (that is, right before it asks the system for more), at exit, when the queue is
// full, and before a clear by command. A read served from characters already waiting returns at
// once, so nobody is ever left waiting on a prompt that has not been written; answers that are
// already there (a script, or several on one line) cost no write each. The bytes are the same
// either way.
//
// Every write goes on until all of it is out, and every read until it has something or the input
// has ended: a signal or a non-blocking descriptor only delays them. Any other failure ends the game
// with one line on standard error and status 1, since carrying on would lose the player's screens
// or take a broken input for its end.

namespace {

// A pipe's capacity: one write fills it, and no piece the game writes comes near it.
char output[65536];
std::size_t output_length = 0;

// A terminal in canonical mode hands over at most this much of a line at once.
char input[4096];
std::size_t input_next = 0, input_end = 0;
// Like C's stdio, the end of input is remembered: one Ctrl-D ends the game, not one per read.
bool input_ended = false;

// In the form every command-line tool uses. _Exit, not exit: this may run in the exit handler, and
// after a failure nothing more may be written.
[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "stickquest: %s: %s\n", what, std::strerror(errno));
    std::_Exit(1);
}

// Bytes to the terminal. Partial writes go on with the rest; a signal only interrupts.
void write_all(const char* bytes, std::size_t length)
{
    while (length > 0) {
        long written = write_some(bytes, length);
        if (written < 0 && errno != EINTR)
            fail("cannot write to standard output");
        written = written < 0 ? 0 : written;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
}

// The output queue to the terminal.
void flush_output()
{
    write_all(output, output_length);
    output_length = 0;
}

// Bytes to the output queue.
void queue_output(const char* text, std::size_t length)
{
    if (length > sizeof output - output_length)
        flush_output();
    std::memcpy(output + output_length, text, length);
    output_length += length;
}

void clear_terminal()
{
    if (const char* codes = clear_codes())
        return queue_output(codes, std::strlen(codes));
    flush_output();
    run_clear_command();
}

// Standard input to the input buffer, waiting for the player if need be; false at the end of input.
bool fill_input()
{
    if (input_ended)
        return false;
    flush_output();
    long count;
    do {
        if (std::size_t rows = screen_spoilt()) {  // drawn again, as many rows as it has
            clear_terminal();
            flush_output();
            std::size_t length;
            const char* screen = recorded_screen(rows, length);
            write_all(screen, length);
        }
        count = read_some(input, sizeof input);
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        fail("cannot read standard input");
    input_next = 0;
    input_end = static_cast<std::size_t>(count);
    input_ended = count == 0;
    if (typed_input_echoed())
        record(input, input_end, true);
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
    flush_output();
    hand_back(input_end - input_next);
}

}  // namespace

void open_console()
{
    std::atexit(close_console);
    start_record(start_terminal());
}

// What the game shows goes into the record of the screen and the output queue.
void write_text(const char* text)
{
    std::size_t length = std::strlen(text);
    record(text, length, false);
    queue_output(text, length);
}

void write_formatted(const char* format, ...)
{
    char line[256] = "";
    va_list values;
    va_start(values, format);
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    write_text(line);
}

void clear_screen()
{
    forget_screen();
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
