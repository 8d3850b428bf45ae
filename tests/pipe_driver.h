// SPDX-License-Identifier: MIT
// Runs a program with pipes for its standard streams, as a script or another program would.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

// Looks every 20 ms until `done` holds, or until the deadline passes; whether it held. Deadlines are
// generous, since a test waits for a state, never for a time.
bool eventually(const std::function<bool()>& done, double seconds = 10);

struct RunResult {
    std::string out, err;
    int status = -1;  // exit status, or 128 + signal number
    // Ended by the driver: out of time, writing too much, or stopped (by itself, say).
    bool timed_out = false, wrote_too_much = false, stopped = false;
    // Where the options count them: the program's reads of standard input, writes to standard output.
    std::size_t reads = 0, writes = 0;
    // Seconds from the first input written to the first output after it.
    double answered_in = 0;
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
    // Standard output may be a terminal in raw mode (so its bytes stay as written), but not the
    // program's controlling terminal.
    bool nonblocking_in = false, nonblocking_out = false, terminal_out = false;
    // A late writer, a slow reader and signals arriving while the program writes: the driver writes
    // `late` seconds after the program's first output, drains the output 1 KiB at a time, and sends
    // SIGCONT every millisecond. Where the writer is a second late or more, the program must answer
    // within a quarter of that: a wait that doubles without a cap would take up to twice as long.
    bool late_slow_and_signalled = false;
    double late = 0.2;
    // Where either is set, the program runs under strace, which counts its reads of standard input and
    // writes to standard output: a program that spins, or writes piece by piece, makes more than these.
    std::size_t most_reads = 0, most_writes = 0;
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
    void send(const std::string& bytes) { input_ += bytes; }
    // Ends the input and collects the rest of the output and the exit status.
    RunResult finish(double seconds = 10);

private:
    // Moves input in and output out until `enough()`, until both outputs close, or until the
    // deadline; false only at the deadline.
    template <class Enough>
    bool pump(std::chrono::steady_clock::time_point deadline, Enough enough);
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    RunOptions options_;
    bool closing_ = false, stopped_ = false;
    std::chrono::steady_clock::time_point input_from_, sent_at_;
    double answered_in_ = 0;
    std::string input_, out_text_, err_text_, trace_;
};

// Feeds `input` (then end of input) and collects everything until the program ends or time runs out;
// the program is the game unless the options say otherwise.
RunResult run_program(const std::string& input, const RunOptions& options = {});

// The game ended by itself, in time, with `status` and `err` on standard error (by default 0 and
// nothing).
void expect_clean_end(const RunResult& run, const std::string& what = "", int status = 0,
                      const std::string& err = "");

// A game played from a script: its input, and the whole output, status and error text it must give.
struct Script {
    const char* name;
    std::string input, out;
    RunOptions options = {};
    int status = 0;
    std::string err = {};
};
void expect_plays(const std::vector<Script>& scripts);
