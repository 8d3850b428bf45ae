// SPDX-License-Identifier: MIT
// The console on POSIX systems: escape codes, signals, and descriptors that may be non-blocking.
#include "platform.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Continued after Ctrl-Z, or resized: whatever was on the screen may be gone.
volatile std::sig_atomic_t spoilt = 0;
void on_spoilt(int) { spoilt = 1; }

// While the screen is kept, SIGCONT and SIGWINCH are held back everywhere but in the wait for
// input. One that comes while the screen is being drawn then ends the next wait at once, so none is
// lost between the look at the flag and the wait, and the screen is drawn again as long as they come.
sigset_t waiting_mask;
bool screen_kept = false;

int wait_until_ready(int descriptor, short events)
{
    pollfd ready = {descriptor, events, 0};
    return ppoll(&ready, 1, nullptr, &waiting_mask);
}

// A descriptor that someone else made non-blocking (the flag is shared by every process that uses
// it) is waited for, as a blocking one would be.
template <class Transfer>
long when_ready(int descriptor, short events, Transfer transfer)
{
    for (;;) {
        ssize_t count = transfer();
        if (count >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return static_cast<long>(count);
        if (wait_until_ready(descriptor, events) < 0)
            return -1;  // EINTR for the caller to act on; anything else is a failure like any other
    }
}

}  // namespace

bool start_terminal()
{
    sigprocmask(SIG_BLOCK, nullptr, &waiting_mask);
    if (!isatty(STDOUT_FILENO))
        return false;
    struct sigaction action {};
    action.sa_handler = on_spoilt;
    sigemptyset(&action.sa_mask);  // and no SA_RESTART: a waiting read must come back to draw
    sigaction(SIGCONT, &action, nullptr);
    sigaction(SIGWINCH, &action, nullptr);
    sigset_t held = action.sa_mask;
    sigaddset(&held, SIGCONT);
    sigaddset(&held, SIGWINCH);
    sigprocmask(SIG_BLOCK, &held, nullptr);
    return screen_kept = true;
}

// Asked as the input arrives, since the player may have turned echo off (stty -echo) meanwhile.
bool typed_input_echoed()
{
    termios settings{};
    return tcgetattr(STDIN_FILENO, &settings) == 0 && (settings.c_lflag & ECHO);
}

long write_some(const char* bytes, std::size_t length)
{
    return when_ready(STDOUT_FILENO, POLLOUT, [&] { return write(STDOUT_FILENO, bytes, length); });
}

// On a kept screen the wait comes first, so that a continue or a resize can end it.
long read_some(char* buffer, std::size_t size)
{
    if (screen_kept && wait_until_ready(STDIN_FILENO, POLLIN) < 0)
        return -1;
    return when_ready(STDIN_FILENO, POLLIN, [&] { return read(STDIN_FILENO, buffer, size); });
}

// Home, then erase the display: queued like any other text, so it can never overtake what was
// written before it, and no shell runs.
const char* clear_codes() { return "\x1b[H\x1b[2J"; }
void run_clear_command() {}  // never needed: the codes clear

// Continued in the background (bg), the game must not paint over the shell. The height is taken
// now, since the terminal may have been resized; 24 where it is not known.
std::size_t screen_spoilt()
{
    bool was_spoilt = spoilt;
    spoilt = 0;
    if (!was_spoilt || tcgetpgrp(STDOUT_FILENO) != getpgrp())
        return 0;
    winsize size{};
    return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 ? size.ws_row : 24;
}

// As C's stdio does for a seekable file, so that the next command reads on where the game stopped.
void hand_back(std::size_t count) { (void)lseek(STDIN_FILENO, -static_cast<off_t>(count), SEEK_CUR); }
