// SPDX-License-Identifier: MIT
// The console on POSIX systems: escape codes, signals, and descriptors that may be non-blocking.
#include "platform.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t continued = 0;

// Only sets the flag: the waiting read returns EINTR, and the read loop draws.
void on_continue(int) { continued = 1; }

// A descriptor that someone else made non-blocking (the flag is shared by every process that uses
// it) is waited for, as a blocking one would be.
template <class Transfer>
long when_ready(int descriptor, short events, Transfer transfer)
{
    for (;;) {
        ssize_t count = transfer();
        if (count >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return static_cast<long>(count);
        pollfd ready = {descriptor, events, 0};
        if (poll(&ready, 1, -1) < 0)
            return -1;  // EINTR for the caller to act on; anything else is a failure like any other
    }
}

}  // namespace

std::size_t start_terminal()
{
    winsize size{};
    if (!isatty(STDOUT_FILENO))
        return 0;
    struct sigaction action {};
    action.sa_handler = on_continue;
    sigemptyset(&action.sa_mask);  // and no SA_RESTART: a waiting read must come back to draw
    sigaction(SIGCONT, &action, nullptr);
    return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 ? size.ws_row : 24;
}

bool typed_input_echoed() { return isatty(STDIN_FILENO); }

long write_some(const char* bytes, std::size_t length)
{
    return when_ready(STDOUT_FILENO, POLLOUT, [&] { return write(STDOUT_FILENO, bytes, length); });
}

long read_some(char* buffer, std::size_t size)
{
    return when_ready(STDIN_FILENO, POLLIN, [&] { return read(STDIN_FILENO, buffer, size); });
}

// Home, then erase the display: queued like any other text, so it can never overtake what was
// written before it, and no shell runs.
const char* clear_codes() { return "\x1b[H\x1b[2J"; }
void run_clear_command() {}  // never needed: the codes clear

// Continued in the background (bg), the game must not paint over the shell.
bool continued_in_foreground()
{
    bool was_continued = continued;
    continued = 0;
    return was_continued && tcgetpgrp(STDOUT_FILENO) == getpgrp();
}

// As C's stdio does for a seekable file, so that the next command reads on where the game stopped.
void hand_back(std::size_t count) { (void)lseek(STDIN_FILENO, -static_cast<off_t>(count), SEEK_CUR); }
