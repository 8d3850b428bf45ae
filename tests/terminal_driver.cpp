// SPDX-License-Identifier: MIT
#include "terminal_driver.h"

#include "pipe_driver.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/ioctl.h>
#include <unistd.h>

Terminal::Terminal(const std::vector<std::string>& args, Start start, const std::string& before,
                   std::pair<int, int> size)
{
    char pattern[] = "/tmp/stickquest-tty-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    std::ofstream(dir_ + "/conf") << "set -g remain-on-exit on\nset -g remain-on-exit-format ''\n"
                                     "set -g status off\nset -g bell-action any\n";
    // tmux now and then marks a pane dead without ever learning its exit status, so the shell
    // around the game writes the status down.
    std::string command = before + "'" STICKQUEST_BINARY "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += "; echo $? >'" + dir_ + "/status'";
    std::vector<std::string> shell = {"bash", "--norc", "--noprofile", "-i"};
    if (start == alone)
        shell = {"/bin/sh", "-c", command};
    std::vector<std::string> session = {"new-session", "-d",
                                        "-s",          "g",
                                        "-x",          std::to_string(size.first),
                                        "-y",          std::to_string(size.second),
                                        "-e",          "PS1=$ ",
                                        "-e",          "HOME=" + dir_,
                                        "--"};
    session.insert(session.end(), shell.begin(), shell.end());
    tmux(session);
    tmux({"pipe-pane", "-t", "g", "cat >'" + dir_ + "/output'"});
    if (start == from_shell) {
        wait_for({"$"});
        type(command);
    }
}

Terminal::~Terminal()
{
    tmux({"kill-server"});
    std::error_code ignored;  // the server may still be removing its socket
    std::filesystem::remove_all(dir_, ignored);
}

std::string Terminal::tmux(const std::vector<std::string>& args)
{
    RunOptions options = {
        .program = TMUX_PROGRAM, .args = {"-S", dir_ + "/sock", "-f", dir_ + "/conf"}, .seconds = 10};
    options.args.insert(options.args.end(), args.begin(), args.end());
    return run_program("", options).out;
}

void Terminal::type(const std::string& line)
{
    // In pieces, since tmux takes no command longer than about 16 KiB.
    for (std::size_t at = 0; at < line.size(); at += 8192)
        tmux({"send-keys", "-t", "g", "-l", line.substr(at, 8192)});
    press("Enter");
}

void Terminal::press(const std::string& key) { tmux({"send-keys", "-t", "g", key}); }

// Asked once, so that they can be had while the terminal is frozen.
std::string Terminal::asked(std::string& answer, const std::string& format)
{
    if (answer.empty() || answer == "0") {
        answer = tmux({"display", "-p", "-t", "g", format});
        answer.pop_back();
    }
    return answer;
}

void Terminal::wait_until_read(double seconds)
{
    int fd = open(asked(tty_, "#{pane_tty}").c_str(), O_RDONLY | O_NOCTTY);
    eventually([fd, unread = 1]() mutable { return ioctl(fd, FIONREAD, &unread) != 0 || unread == 0; },
               seconds);
    close(fd);
}

void Terminal::spoil(const std::string& text) { std::ofstream(asked(tty_, "#{pane_tty}")) << text; }

void Terminal::freeze(bool frozen)
{
    kill(std::stoi(asked(server_pid_, "#{pid}")), frozen ? SIGSTOP : SIGCONT);
}

void Terminal::tell_rows(int rows)
{
    int fd = open(asked(tty_, "#{pane_tty}").c_str(), O_RDONLY | O_NOCTTY);
    winsize size{};
    ioctl(fd, TIOCGWINSZ, &size);
    size.ws_row = static_cast<unsigned short>(rows);
    ioctl(fd, TIOCSWINSZ, &size);
    close(fd);
}

void Terminal::resize(std::pair<int, int> size)
{
    tmux({"resize-window", "-t", "g", "-x", std::to_string(size.first), "-y", std::to_string(size.second)});
}

std::string Terminal::output()
{
    std::ifstream file(dir_ + "/output");
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The pane runs a shell, and the game is its child.
int Terminal::game_pid()
{
    std::string shell = asked(shell_pid_, "#{pane_pid}");
    if (game_pid_ == 0)
        std::ifstream("/proc/" + shell + "/task/" + shell + "/children") >> game_pid_;
    return game_pid_;
}

Rows Terminal::screen() { return rows_of(tmux({"capture-pane", "-p", "-t", "g"})); }

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

std::pair<int, int> Terminal::cursor()
{
    std::string position = tmux({"display", "-p", "-t", "g", "#{cursor_x} #{cursor_y}"});
    return {std::atoi(position.c_str()), std::atoi(position.c_str() + position.find(' ') + 1)};
}

bool Terminal::bell_rang() { return tmux({"display", "-p", "-t", "g", "#{window_bell_flag}"}) == "1\n"; }

void Terminal::reset_bell() { tmux({"kill-session", "-C", "-t", "g"}); }

int Terminal::exit_status(double seconds)
{
    int status = -1;
    eventually([&] { return static_cast<bool>(std::ifstream(dir_ + "/status") >> status); }, seconds);
    return status;
}

long Terminal::game_bytes_written()
{
    std::ifstream io("/proc/" + std::to_string(game_pid()) + "/io");
    long count = -1;
    for (std::string name; io >> name >> count && name != "wchar:";)
        ;
    return count;
}

// The state is the letter after the command's name, which is in parentheses.
bool Terminal::game_stopped()
{
    std::ifstream stat("/proc/" + std::to_string(game_pid()) + "/stat");
    std::string line;
    std::getline(stat, line);
    return line.find(") T") != std::string::npos;
}
