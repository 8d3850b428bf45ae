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
    bool timed_out = false;
};

enum class Stdin { pipe, closed };
enum class Stdout { keep, discard };

struct RunOptions {
    std::vector<std::string> args;
    Stdin in = Stdin::pipe;
    Stdout out = Stdout::keep;
    double seconds = 30;
};

// Feeds `input` (then end of input) and collects everything until the program ends or time runs out.
RunResult run_program(const std::string& path, const std::string& input, const RunOptions& options = {});
RunResult run_game(const std::string& input, const RunOptions& options = {});

// A game that keeps running while a test talks to it in turns.
class PipeSession {
public:
    explicit PipeSession(const std::vector<std::string>& args = {});
    ~PipeSession();
    PipeSession(const PipeSession&) = delete;
    PipeSession& operator=(const PipeSession&) = delete;

    // Waits for exactly `count` more bytes of output, or what came before the deadline.
    std::string read(std::size_t count, double seconds = 10);
    // True if the game wrote nothing more within `seconds` (it sits waiting for input).
    bool quiet_for(double seconds);
    void send(const std::string& bytes);
    // Ends the input and collects the rest of the output and the exit status.
    RunResult finish(double seconds = 10);

private:
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1, err_ = -1;
    std::string pending_;
};
