// SPDX-License-Identifier: MIT
// Runs a program with pipes for its standard streams, as a script or another program would.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

// The moment `seconds` from now, for the drivers' time limits.
std::chrono::steady_clock::time_point deadline_in(double seconds);

struct RunResult {
    std::string out;
    std::string err;
    int status = -1;  // exit status, or 128 + signal number
    bool timed_out = false, wrote_too_much = false;
    double cpu_seconds = 0;  // user and system time
};

struct RunOptions {
    std::string program = STICKQUEST_BINARY;
    std::vector<std::string> args;
    // A program that runs longer, or writes more, is ended and the test fails.
    double seconds = 30;
    std::size_t most_bytes = 16 << 20;
    // The surroundings a program may meet. `around` is a bash command line (pipefail on) that starts
    // the program as "$0"; the standard streams are set up as the other options say.
    std::string around;
    bool nonblocking_in = false, nonblocking_out = false;
    // Standard output is a terminal in raw mode (so its bytes stay as written), but not the
    // program's controlling terminal.
    bool terminal_out = false;
    // A late writer, a slow reader and signals arriving while the program writes: the driver starts
    // 0.2 s late, then drains the output 1 KiB at a time while it sends SIGCONT every millisecond.
    bool late_slow_and_signalled = false;
};

// A program that keeps running while a test talks to it in turns.
class PipeSession {
public:
    explicit PipeSession(const RunOptions& options = {});
    ~PipeSession();
    PipeSession(const PipeSession&) = delete;
    PipeSession& operator=(const PipeSession&) = delete;

    // Waits for exactly `count` more bytes of output, or what came before the deadline.
    std::string read(std::size_t count, double seconds = 10);
    // True if the program wrote nothing more within `seconds` (it sits waiting for input).
    bool quiet_for(double seconds);
    // Queues bytes for standard input; they go in while the session reads or finishes.
    void send(const std::string& bytes);
    // Ends the input and collects the rest of the output and the exit status.
    RunResult finish(double seconds = 10);

private:
    // Moves input in and output out until `enough()`, until both outputs close, or until the
    // deadline; false only at the deadline.
    template <class Enough>
    bool pump(std::chrono::steady_clock::time_point deadline, Enough enough);
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    bool closing_ = false, signalled_ = false;
    std::size_t most_bytes_;
    std::string input_, out_text_, err_text_;
};

// Feeds `input` (then end of input) and collects everything until the program ends or time runs out;
// the program is the game unless the options say otherwise.
RunResult run_program(const std::string& input, const RunOptions& options = {});

// The game ended by itself, in time, with status 0 and nothing on standard error.
void expect_clean_end(const RunResult& run, const std::string& what = "");

// A game played from a script: its input, and the whole output, status and error text it must give.
struct Script {
    const char* name;
    std::string input;
    std::string out;
    RunOptions options = {};
    int status = 0;
    std::string err = {};
    double most_cpu_seconds = 60;
};
void expect_plays(const std::vector<Script>& scripts);
