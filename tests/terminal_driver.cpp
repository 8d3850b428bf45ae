// SPDX-License-Identifier: MIT
#include "terminal_driver.h"

#include "pipe_driver.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

using namespace std::chrono_literals;

Terminal::Terminal(const std::vector<std::string>& args, Start start, const std::string& piped_in)
{
    char pattern[] = "/tmp/stickquest-tty-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    std::ofstream(dir_ + "/conf") << "set -g remain-on-exit on\nset -g remain-on-exit-format ''\n"
                                     "set -g status off\nset -g bell-action any\n";
    // tmux now and then marks a pane dead without ever learning its exit status, so the shell
    // around the game writes the status down.
    std::string command = (piped_in.empty() ? "" : piped_in + " | ") + "'" STICKQUEST_BINARY "'";
    for (const std::string& arg : args)
        command += " '" + arg + "'";
    command += "; echo $? >'" + dir_ + "/status'";
    std::vector<std::string> shell = {"bash", "--norc", "--noprofile", "-i"};
    if (start == alone)
        shell = {"/bin/sh", "-c", command};
    std::vector<std::string> session = {"new-session", "-d", "-s",     "g",  "-x",           "80", "-y",
                                        "24",          "-e", "PS1=$ ", "-e", "HOME=" + dir_, "--"};
    session.insert(session.end(), shell.begin(), shell.end());
    tmux(session);
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
    if (!line.empty())
        tmux({"send-keys", "-t", "g", "-l", line});
    press("Enter");
}

void Terminal::press(const std::string& key) { tmux({"send-keys", "-t", "g", key}); }

Rows Terminal::screen() { return rows_of(tmux({"capture-pane", "-p", "-t", "g"})); }

Rows Terminal::wait_for(const Rows& rows, double seconds)
{
    return wait_until([&](const Rows& seen) { return seen == rows; }, seconds);
}

Rows Terminal::wait_until(const std::function<bool(const Rows&)>& done, double seconds)
{
    auto deadline = deadline_in(seconds);
    Rows seen = screen();
    for (; !done(seen) && std::chrono::steady_clock::now() < deadline; seen = screen())
        std::this_thread::sleep_for(20ms);
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
    auto deadline = deadline_in(seconds);
    for (int status;; std::this_thread::sleep_for(20ms)) {
        if (std::ifstream(dir_ + "/status") >> status)
            return status;
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
    }
}
