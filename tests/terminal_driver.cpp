#include "terminal_driver.h"

#include "pipe_driver.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace {

const int ROWS = 24;

void pause_briefly() { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

bool before(std::chrono::steady_clock::time_point deadline)
{
    return std::chrono::steady_clock::now() < deadline;
}

}  // namespace

std::vector<std::string> without_blank_tail(std::vector<std::string> rows)
{
    while (!rows.empty() && rows.back().empty())
        rows.pop_back();
    return rows;
}

Terminal::Terminal(const std::vector<std::string>& args)
{
    char pattern[] = "/tmp/stickquest-tty-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    std::ofstream(dir_ + "/conf") << "set -g remain-on-exit on\n"
                                     "set -g status off\n"
                                     "set -g bell-action any\n";
    // tmux now and then marks a pane dead without ever learning its exit status, so a shell
    // around the game writes the status down.
    std::string record_status = "\"$@\"; echo $? >'" + dir_ + "/status'";
    std::vector<std::string> start = {
        "new-session", "-d", "-s",      "g",  "-x",          "80", "-y",
        "24",          "--", "/bin/sh", "-c", record_status, "sh", STICKQUEST_BINARY};
    start.insert(start.end(), args.begin(), args.end());
    tmux(start);
}

Terminal::~Terminal()
{
    tmux({"kill-server"});
    std::remove((dir_ + "/conf").c_str());
    std::remove((dir_ + "/sock").c_str());
    std::remove((dir_ + "/status").c_str());
    std::remove(dir_.c_str());
}

std::string Terminal::tmux(const std::vector<std::string>& args)
{
    RunOptions options;
    options.args = {"-S", dir_ + "/sock", "-f", dir_ + "/conf"};
    options.args.insert(options.args.end(), args.begin(), args.end());
    options.seconds = 10;
    return run_program(TMUX_PROGRAM, "", options).out;
}

void Terminal::type(const std::string& line)
{
    if (!line.empty())
        tmux({"send-keys", "-t", "g", "-l", line});
    tmux({"send-keys", "-t", "g", "Enter"});
}

std::vector<std::string> Terminal::screen()
{
    std::string text = tmux({"capture-pane", "-p", "-t", "g"});
    std::vector<std::string> rows;
    std::string::size_type start = 0, end;
    while ((end = text.find('\n', start)) != std::string::npos && rows.size() < ROWS) {
        rows.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    rows.resize(ROWS);
    return rows;
}

std::vector<std::string> Terminal::wait_for(const std::vector<std::string>& rows, double seconds)
{
    std::vector<std::string> expected = without_blank_tail(rows);
    auto deadline = deadline_in(seconds);
    std::vector<std::string> seen = without_blank_tail(screen());
    while (seen != expected && before(deadline)) {
        pause_briefly();
        seen = without_blank_tail(screen());
    }
    return seen;
}

std::pair<int, int> Terminal::cursor()
{
    std::string position = tmux({"display", "-p", "-t", "g", "#{cursor_x} #{cursor_y}"});
    std::string::size_type space = position.find(' ');
    return {std::atoi(position.c_str()), std::atoi(position.c_str() + space + 1)};
}

bool Terminal::bell_rang() { return tmux({"display", "-p", "-t", "g", "#{window_bell_flag}"}) == "1\n"; }

void Terminal::reset_bell() { tmux({"kill-session", "-C", "-t", "g"}); }

int Terminal::exit_status(double seconds)
{
    auto deadline = deadline_in(seconds);
    do {
        int status = -1;
        if (std::ifstream(dir_ + "/status") >> status)
            return status;
        pause_briefly();
    } while (before(deadline));
    return -1;
}
