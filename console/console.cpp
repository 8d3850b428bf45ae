// SPDX-License-Identifier: MIT
#include "console.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

// Both reads take their characters from one input buffer, so they share one sequence and see each
// other's leftovers in order, whichever of the two reads next.
//
// What the game writes is gathered and handed to the terminal only when the game is about to block
// waiting for input (that is, right before it asks the system for more), at exit, when the buffer
// is full, and before a Windows cls. A read served from characters already waiting returns at once,
// so nobody is ever left waiting on a prompt that has not been written; answers that are already
// there (a script, or several on one line) cost no write each. The bytes are the same either way.
//
// On Windows stdin must stay in text mode: the C runtime then turns each typed CR LF into one line
// end, so after the last strike the victory screen's first wait takes that line end and the second
// waits for Enter. In binary mode the two waits would take the CR and the LF, and the victory
// screen would vanish unseen.

namespace {

const char CLEAR[] = "\x1b[H\x1b[2J";  // home, then erase the display

char pending[65536];
std::size_t pending_length = 0;

char input[4096];
std::size_t input_next = 0, input_end = 0;
// Like C's stdio, the end of input is remembered: one Ctrl-D ends the game, not one per read.
bool input_ended = false;
bool last_read_found_nothing = false;

// Everything on the terminal since the last clear, typed echo included but not the bell, so that
// the screen can be drawn again when the game is continued after Ctrl-Z. Kept on terminals only.
char screen[16384];
std::size_t screen_length = 0;
bool keeping_screen = false, input_echoed = false;

void remember(const char* text, std::size_t length)
{
    if (!keeping_screen)
        return;
    if (length > sizeof screen - screen_length)
        screen_length = 0;  // no road between two clears comes near this; stay bounded regardless
    for (std::size_t i = 0; i < length && screen_length < sizeof screen; ++i)
        if (text[i] != '\a')
            screen[screen_length++] = text[i];
}

void show_pending_output()
{
    std::fwrite(pending, 1, pending_length, stdout);
    std::fflush(stdout);
    pending_length = 0;
}

void append(const char* text, std::size_t length)
{
    remember(text, length);
    if (length > sizeof pending - pending_length)
        show_pending_output();
    if (length > sizeof pending) {
        std::fwrite(text, 1, length, stdout);
        return;
    }
    std::memcpy(pending + pending_length, text, length);
    pending_length += length;
}

#if defined(_WIN32)
int read_input(char* buffer, std::size_t size) { return _read(0, buffer, static_cast<unsigned>(size)); }
void draw_again_if_continued() {}
void hand_back_unread_input() {}
#else
int read_input(char* buffer, std::size_t size) { return static_cast<int>(read(STDIN_FILENO, buffer, size)); }

volatile std::sig_atomic_t continued = 0;

// Only sets the flag: the waiting read returns EINTR, and the read loop draws.
void on_continue(int) { continued = 1; }

// Continued in the background (bg), the game must not paint over the shell.
void draw_again_if_continued()
{
    if (!continued)
        return;
    continued = 0;
    if (tcgetpgrp(STDOUT_FILENO) != getpgrp())
        return;
    std::fwrite(CLEAR, 1, sizeof CLEAR - 1, stdout);
    std::fwrite(screen, 1, screen_length, stdout);
    std::fflush(stdout);
}

void keep_screen_for_redraw()
{
    keeping_screen = isatty(STDOUT_FILENO);
    input_echoed = keeping_screen && isatty(STDIN_FILENO);
    if (!keeping_screen)
        return;
    struct sigaction action {};
    action.sa_handler = on_continue;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a waiting read must come back to draw
    sigaction(SIGCONT, &action, nullptr);
}

// As C's stdio does for a seekable file, so that the next command reads on where the game stopped.
void hand_back_unread_input()
{
    if (input_end > input_next)
        (void)lseek(STDIN_FILENO, -static_cast<off_t>(input_end - input_next), SEEK_CUR);
}
#endif

// Fills the input buffer, waiting for the player if need be; false at the end of input.
bool fill_input()
{
    if (input_ended)
        return false;
    show_pending_output();
    for (;;) {
        draw_again_if_continued();
        int count = read_input(input, sizeof input);
        if (count > 0) {
            input_next = 0;
            input_end = static_cast<std::size_t>(count);
            if (input_echoed)
                remember(input, input_end);
            return true;
        }
        if (count < 0 && errno == EINTR)
            continue;
        input_ended = true;
        return false;
    }
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
    hand_back_unread_input();
}

}  // namespace

void open_console()
{
    // Output is already gathered: stdio should pass each piece on in one write.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::atexit(close_console);
#if !defined(_WIN32)
    keep_screen_for_redraw();
#endif
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
// Queued like any other text, so it can never overtake what was written before it, and no shell runs.
void clear_screen()
{
    append(CLEAR, sizeof CLEAR - 1);
    screen_length = 0;
}
#endif

// Whitespace is what the "C" locale calls space: blanks, tabs, line ends, vertical tabs, form feeds.
void read_choice(unsigned char& choice)
{
    int next = next_char();
    while (next != EOF && std::isspace(next))
        next = next_char();
    last_read_found_nothing = next == EOF;
    if (!last_read_found_nothing)
        choice = static_cast<unsigned char>(next);
}

bool input_exhausted() { return last_read_found_nothing; }

void wait_char() { (void)next_char(); }

void end_process() { std::exit(0); }
