// SPDX-License-Identifier: MIT
// The console on POSIX systems: escape codes, signals, job control, and descriptors that may be
// non-blocking. It waits with pselect, which every POSIX system has (macOS, Solaris, illumos, AIX
// and QNX have no ppoll, and macOS's poll fails on terminals).
#include "platform.h"

#include <cerrno>
#include <csignal>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Continued after Ctrl-Z, or resized: whatever was on the screen may be gone.
volatile std::sig_atomic_t spoilt = 0;
void on_spoilt(int) { spoilt = 1; }

// While the screen is kept, SIGCONT and SIGWINCH are held back everywhere but in the wait. One that
// comes while the screen is being drawn then ends the next wait at once, so none is lost between the
// look at the flag and the wait, and the screen is drawn again as long as they come. Every other
// signal stays as whoever started the game left it, in the wait too.
sigset_t waiting_mask;
bool screen_kept = false;

enum Direction { in, out };

int wait_until_ready(int descriptor, Direction direction)
{
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(descriptor, &ready);
    return pselect(descriptor + 1, direction == in ? &ready : nullptr, direction == out ? &ready : nullptr,
                   nullptr, nullptr, &waiting_mask);
}

// A descriptor that someone else made non-blocking (the flag is shared by every process that uses
// it) is waited for, as a blocking one would be.
template <class Transfer>
long when_ready(int descriptor, Direction direction, Transfer transfer)
{
    for (;;) {
        ssize_t count = transfer();
        if (count >= 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            return static_cast<long>(count);
        if (wait_until_ready(descriptor, direction) < 0)
            return -1;  // EINTR for the caller to act on; anything else is a failure like any other
    }
}

// Whether another job holds the terminal that the game draws on. Where that terminal is not the
// game's own (a game that leads its own session), no job control reaches it, and it is no.
bool in_background()
{
    pid_t foreground = tcgetpgrp(STDOUT_FILENO);
    return foreground >= 0 && foreground != getpgrp();
}

// Stops the game's job as a read in the background would, so that fg has a stopped job to continue;
// true once continued. The system discards the stop for a group that no shell controls (orphaned),
// and then nothing waits for it: the caller goes on as if it had never asked.
bool stopped_as_in_background()
{
    kill(0, SIGTTIN);
    sigset_t pending;
    sigpending(&pending);
    return sigismember(&pending, SIGCONT);  // held back, so the next wait acts on it
}

}  // namespace

// The wait takes the mask the game was started with, less the two signals it handles itself, which
// whoever started it may have left blocked. Started in the background (stickquest &), the game stops
// before it draws anything over the shell, as a background write to a terminal with tostop would,
// and fg then draws it whole.
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
    sigdelset(&waiting_mask, SIGCONT);
    sigdelset(&waiting_mask, SIGWINCH);
    if (in_background())
        (void)stopped_as_in_background();
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
    return when_ready(STDOUT_FILENO, out, [&] { return write(STDOUT_FILENO, bytes, length); });
}

// On a kept screen the wait comes first, so that a continue or a resize can end it. Input typed
// while the game is in the background would stop it in its read, and the read would then go on after
// fg with the continue held back, drawing nothing until the next line: the game stops itself first,
// and the continue ends the next wait instead.
long read_some(char* buffer, std::size_t size)
{
    if (screen_kept) {
        if (wait_until_ready(STDIN_FILENO, in) < 0)
            return -1;
        if (in_background() && stopped_as_in_background()) {
            errno = EINTR;
            return -1;
        }
    }
    return when_ready(STDIN_FILENO, in, [&] { return read(STDIN_FILENO, buffer, size); });
}

// Home, then erase the display: queued like any other text, so it can never overtake what was
// written before it, and no shell runs.
const char* clear_codes() { return "\x1b[H\x1b[2J"; }
void run_clear_command() {}  // never needed: the codes clear

// Continued in the background (bg), the game must not paint over the shell, and the continue is then
// spent: fg sends none to a job that runs. So the game stops itself again, and fg continues it. The
// height is taken now, since the terminal may have been resized; 24 where it is not known.
std::size_t screen_spoilt()
{
    if (!spoilt)
        return 0;
    spoilt = 0;
    if (tcgetpgrp(STDOUT_FILENO) != getpgrp()) {
        if (in_background())
            (void)stopped_as_in_background();
        return 0;
    }
    winsize size{};
    return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_row > 0 ? size.ws_row : 24;
}

// As C's stdio does for a seekable file, so that the next command reads on where the game stopped.
void hand_back(std::size_t count) { (void)lseek(STDIN_FILENO, -static_cast<off_t>(count), SEEK_CUR); }
