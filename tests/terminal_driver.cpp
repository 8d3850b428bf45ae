// SPDX-License-Identifier: MIT
#include "terminal_driver.h"

#include "pipe_driver.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

Terminal::Terminal(const std::string& command, Start start, std::pair<int, int> size)
{
    char pattern[] = "/tmp/stickquest-tty-XXXXXX";
    dir_ = mkdtemp(pattern) ? pattern : throw std::runtime_error("mkdtemp failed");
    std::ofstream(dir_ + "/conf") << "set -g remain-on-exit on\nset -g remain-on-exit-format ''\n"
                                     "set -g status off\nset -g bell-action any\n";
    std::string line = command;
    line.replace(line.find('@'), 1, "'" STICKQUEST_BINARY "'");
    // tmux now and then marks a pane dead without ever learning its exit status, so the shell
    // around the game writes the status down.
    // clang-format off
    std::vector<std::string> session = {"new-session", "-d", "-s", "g", "-x", std::to_string(size.first), "-y", std::to_string(size.second),
                                        "-e", "PS1=$ ", "-e", "HOME=" + dir_, "--"}, shell = {"bash", "--norc", "--noprofile", "-i"};
    // clang-format on
    if (start == alone)
        shell = {"/bin/sh", "-c", line + "; echo $? >'" + dir_ + "/status'"};
    session.insert(session.end(), shell.begin(), shell.end());
    tmux(session);
    tmux({"pipe-pane", "-t", "g", "cat >'" + dir_ + "/output'"});
    if (start == from_shell && shows("$", true))
        type(line);
}

Terminal::~Terminal()
{
    tmux({"kill-server"});
    std::error_code ignored;  // the server may still be removing its socket
    std::filesystem::remove_all(dir_, ignored);
}

std::string Terminal::tmux(std::vector<std::string> args)
{
    args.insert(args.begin(), {"-S", dir_ + "/sock", "-f", dir_ + "/conf"});
    return run_program("", {.program = TMUX_PROGRAM, .args = args, .seconds = 10}).out;
}

// In pieces, since tmux takes no command longer than about 16 KiB.
void Terminal::type(const std::string& line)
{
    for (std::size_t at = 0; at < line.size(); at += 8192)
        tmux({"send-keys", "-t", "g", "-l", line.substr(at, 8192)});
    press("Enter");
}

std::string Terminal::asked(const std::string& format)
{
    std::string& answer = asked_[format];
    if (answer.empty() || answer == "0")
        answer = tmux({"display", "-p", "-t", "g", format}), answer.pop_back();
    return answer;
}

// The pane's terminal, for a look at what waits to be read, or to give it another height.
void Terminal::wait_until_read(double seconds)
{
    int fd = open(asked("#{pane_tty}").c_str(), O_RDONLY | O_NOCTTY), unread = 1;
    eventually([&] { return ioctl(fd, FIONREAD, &unread) != 0 || unread == 0; }, seconds);
    close(fd);
}

void Terminal::tell_rows(int rows)
{
    int fd = open(asked("#{pane_tty}").c_str(), O_RDONLY | O_NOCTTY);
    winsize size{};
    ioctl(fd, TIOCGWINSZ, &size);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(fd, TIOCSWINSZ, &size);
    close(fd);
}

void Terminal::spoil(const std::string& text) { std::ofstream(asked("#{pane_tty}")) << text; }

void Terminal::freeze(bool frozen) { kill(std::stoi(asked("#{pid}")), frozen ? SIGSTOP : SIGCONT); }

void Terminal::resize(std::pair<int, int> size)
{
    tmux({"resize-window", "-t", "g", "-x", std::to_string(size.first), "-y", std::to_string(size.second)});
}

std::string Terminal::output()
{
    std::ifstream file(dir_ + "/output");
    return {std::istreambuf_iterator<char>(file), {}};
}

Rows Terminal::wait_for(const Rows& rows, double seconds)
{
    return wait_until([&](const Rows& seen) { return seen == rows; }, seconds);
}

Rows Terminal::wait_until(const std::function<bool(const Rows&)>& done, double seconds)
{
    Rows seen;
    eventually([&] { return done(seen = screen()); }, seconds);
    return seen;
}

bool Terminal::shows(const std::string& text, bool last_row, double seconds)
{
    auto holds = [&](const std::string& row) {
        return last_row ? row.rfind(text, 0) == 0 : row.find(text) != row.npos;
    };
    auto done = [&](const Rows& rows) {
        return last_row ? !rows.empty() && holds(rows.back()) : std::any_of(rows.begin(), rows.end(), holds);
    };
    return done(wait_until(done, seconds));
}

std::pair<int, int> Terminal::cursor()
{
    std::string position = tmux({"display", "-p", "-t", "g", "#{cursor_x} #{cursor_y}"});
    return {std::atoi(position.c_str()), std::atoi(position.c_str() + position.find(' ') + 1)};
}

int Terminal::exit_status(double seconds)
{
    int status = -1;
    eventually([&] { return static_cast<bool>(std::ifstream(dir_ + "/status") >> status); }, seconds);
    return status;
}

// What /proc tells of the game (the shell's first child) and the shell: the bytes the game read or
// wrote; its state, the letter after the command's name, which is in parentheses; and after the
// shell's state, its parent, group, session, terminal and the terminal's foreground group.
int Terminal::game_pid()
{
    std::string shell = asked("#{pane_pid}");
    if (game_pid_ == 0)
        std::ifstream("/proc/" + shell + "/task/" + shell + "/children") >> game_pid_;
    return game_pid_;
}

long Terminal::game_io(const std::string& which)
{
    std::ifstream io("/proc/" + std::to_string(game_pid()) + "/io");
    long count = -1;
    for (std::string name; io >> name >> count && name != which;)
        ;
    return count;
}

bool Terminal::game_stopped()
{
    std::string line;
    std::getline(std::ifstream("/proc/" + std::to_string(game_pid()) + "/stat"), line);
    return line.find(") T") != std::string::npos;
}

bool Terminal::shell_in_foreground()
{
    std::ifstream stat("/proc/" + asked("#{pane_pid}") + "/stat");
    std::string skipped;
    long group = 0, foreground = -1;
    stat.ignore(1 << 12, ')') >> skipped >> skipped >> group >> skipped >> skipped >> foreground;
    return group == foreground;
}
