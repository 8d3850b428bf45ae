// SPDX-License-Identifier: MIT
#include "console.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#if defined(_WIN32)
#include <io.h>
#else
#include <poll.h>
#include <sys/ioctl.h>
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
// Every write goes on until all of it is out, and every read until it has something or the input
// has ended: a signal or a non-blocking descriptor only delays them. Any other failure ends the game
// with one line on standard error and status 1, since carrying on would lose the player's screens
// or take a broken input for its end.
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

// The newest lines on the terminal since the last clear, typed echo included but not the bell, so
// that the screen can be drawn again when the game is continued after Ctrl-Z. Kept on terminals
// only. A terminal shows its last rows, so the record keeps as many whole lines as it has rows; a
// line typed in canonical mode holds at most 4,095 bytes, and the byte bound only guards the rest.
std::string screen;
std::size_t screen_line_ends = 0, terminal_rows = 24;
const std::size_t LONGEST_LINE = 8192;
bool keeping_screen = false, input_echoed = false;

// In the form every command-line tool uses. _Exit, not exit: this may run in the exit handler, and
// after a failure nothing more may be written.
[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "stickquest: %s: %s\n", what, std::strerror(errno));
    std::_Exit(1);
}

void drop_oldest_line()
{
    std::size_t end = screen.find('\n');
    if (end == std::string::npos) {
        screen.clear();
        return;
    }
    screen.erase(0, end + 1);
    --screen_line_ends;
}

void keep(char c)
{
    screen += c;
    if ((c == '\n' && ++screen_line_ends > terminal_rows) || screen.size() > terminal_rows * LONGEST_LINE)
        drop_oldest_line();
}

void remember(const char* text, std::size_t length)
{
    if (!keeping_screen)
        return;
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] != '\a')
            keep(text[i]);
}

// The terminal echoed typed control characters as ^K and the like; raw, they would act again.
void remember_echo(const char* text, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7f) {
            keep('^');
            keep(static_cast<char>(c ^ 0x40));
        } else {
            keep(static_cast<char>(c));
        }
    }
}

void forget_screen()
{
    screen.clear();
    screen_line_ends = 0;
}

#if defined(_WIN32)
// Blocking console handles give neither EAGAIN nor EINTR; text mode writes each LF as CR LF and
// counts the bytes asked for.
bool write_all(const char* bytes, std::size_t length)
{
    while (length > 0) {
        int written = _write(1, bytes, static_cast<unsigned>(std::min<std::size_t>(length, INT_MAX)));
        if (written < 0)
            return false;
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

long read_input(char* buffer, std::size_t size) { return _read(0, buffer, static_cast<unsigned>(size)); }
bool continued_in_foreground() { return false; }
void hand_back_unread_input() {}
#else
// A descriptor that someone else made non-blocking is waited for, as a blocking one would be.
// False when a signal cut the wait short.
bool wait_until_ready(int descriptor, short events)
{
    pollfd ready = {descriptor, events, 0};
    return poll(&ready, 1, -1) >= 0 || errno != EINTR;
}

bool write_all(const char* bytes, std::size_t length)
{
    while (length > 0) {
        ssize_t written = write(STDOUT_FILENO, bytes, length);
        if (written >= 0) {
            bytes += written;
            length -= static_cast<std::size_t>(written);
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            (void)wait_until_ready(STDOUT_FILENO, POLLOUT);
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// Comes back with EINTR when a signal arrives while it waits, so that the caller can draw again.
long read_input(char* buffer, std::size_t size)
{
    for (;;) {
        ssize_t count = read(STDIN_FILENO, buffer, size);
        if (count >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return static_cast<long>(count);
        if (!wait_until_ready(STDIN_FILENO, POLLIN))
            return -1;
    }
}

volatile std::sig_atomic_t continued = 0;

// Only sets the flag: the waiting read returns EINTR, and the read loop draws.
void on_continue(int) { continued = 1; }

// Continued in the background (bg), the game must not paint over the shell.
bool continued_in_foreground()
{
    if (!continued)
        return false;
    continued = 0;
    return tcgetpgrp(STDOUT_FILENO) == getpgrp();
}

void keep_screen_for_redraw()
{
    keeping_screen = isatty(STDOUT_FILENO);
    input_echoed = keeping_screen && isatty(STDIN_FILENO);
    if (!keeping_screen)
        return;
    winsize size{};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0)
        terminal_rows = size.ws_row;
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

void show(const char* bytes, std::size_t length)
{
    if (!write_all(bytes, length))
        fail("cannot write to standard output");
}

void show_pending_output()
{
    std::size_t length = pending_length;
    pending_length = 0;
    show(pending, length);
}

void queue(const char* text, std::size_t length)
{
    if (length > sizeof pending - pending_length)
        show_pending_output();
    if (length > sizeof pending) {
        show(text, length);
        return;
    }
    std::memcpy(pending + pending_length, text, length);
    pending_length += length;
}

void append(const char* text, std::size_t length)
{
    remember(text, length);
    queue(text, length);
}

void draw_again()
{
    show(CLEAR, sizeof CLEAR - 1);
    show(screen.data(), screen.size());
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
        count = read_input(input, sizeof input);
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        fail("cannot read standard input");
    input_next = 0;
    input_end = static_cast<std::size_t>(count);
    input_ended = count == 0;
    if (input_echoed)
        remember_echo(input, input_end);
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
    hand_back_unread_input();
}

}  // namespace

void open_console()
{
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

// The record starts again after a clear, as the screen does.
void clear_screen()
{
    forget_screen();
#if defined(_WIN32)
    // The command interpreter writes straight to the console: what is pending must get there first.
    show_pending_output();
    (void)std::system("cls");
#else
    // Queued like any other text, so it can never overtake what was written before it, and no shell runs.
    queue(CLEAR, sizeof CLEAR - 1);
#endif
}

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
