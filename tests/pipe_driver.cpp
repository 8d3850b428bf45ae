// SPDX-License-Identifier: MIT
#include "pipe_driver.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 100));  // so that a stop is seen at once
}

void close_fd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Moves what is ready on `fd` into `sink`, only 1 KiB when `slowly`, and closes `fd` once the other
// end has (a terminal's says so with EIO).
void take(int& fd, std::string& sink, bool slowly)
{
    char buffer[65536];
    ssize_t n = read(fd, buffer, slowly ? 1024 : sizeof buffer);
    if (n > 0)
        sink.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR)
        close_fd(fd);
}

// The moment `seconds` from now, for the driver's time limits.
Clock::time_point deadline_in(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

bool eventually(const std::function<bool()>& done, double seconds)
{
    for (auto deadline = deadline_in(seconds); !done();
         std::this_thread::sleep_for(std::chrono::milliseconds(20)))
        if (Clock::now() > deadline)
            return false;
    return true;
}

PipeSession::PipeSession(const RunOptions& options) : options_(options)
{
    std::signal(SIGPIPE, SIG_IGN);  // writing to a program that has ended must fail, not kill the test
    int in[2], out[2], err[2];
    termios raw{};
    cfmakeraw(&raw);  // so that the terminal's bytes stay as written
    if (pipe(in) || pipe(err) ||
        (options.terminal_out ? openpty(&out[0], &out[1], nullptr, &raw, nullptr) : pipe(out)))
        throw std::runtime_error("cannot make the standard streams");
    fcntl(in[0], F_SETFL, options.nonblocking_in ? O_NONBLOCK : 0);
    fcntl(out[1], F_SETFL, options.nonblocking_out ? O_NONBLOCK : 0);
    std::vector<std::string> words = {options.program};
    if (!options.around.empty())
        words = {"/bin/bash", "-c", "set -o pipefail; " + options.around, options.program};
    words.insert(words.end(), options.args.begin(), options.args.end());
    // LeakSanitizer's check at exit stops the process with ptrace, and a SIGCONT arriving then can
    // undo the stop that it waits for: a program signalled again and again is spared that check, and
    // so is one that strace already traces.
    const char* asan = std::getenv("ASAN_OPTIONS");
    bool counted = options.most_reads || options.most_writes;
    if (options_.late_slow_and_signalled || counted)
        words.insert(words.begin(),
                     {"/usr/bin/env", "ASAN_OPTIONS=" + std::string(asan ? asan : "") + ":detect_leaks=0"});
    if (counted) {
        char trace[] = "/tmp/stickquest-trace-XXXXXX";
        close(mkstemp(trace));
        trace_ = trace;
        words.insert(words.begin(), {STRACE_PROGRAM, "-f", "-qq", "-e", "trace=read,write", "-o", trace_});
    }
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // Started as a shell starts a job: in a process group of its own, with the three streams alone,
    // and SIGPIPE at its default.
    if ((pid_ = fork()) == 0) {
        setpgid(0, 0);
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        closefrom(3);
        std::signal(SIGPIPE, SIG_DFL);
        execv(argv[0], argv.data());
        _exit(127);
    }
    for (int unused : {in[0], out[1], err[1]})
        close(unused);
    in_ = in[1], out_ = out[0], err_ = err[0];
    fcntl(in_, F_SETFL, O_NONBLOCK);
}

PipeSession::~PipeSession()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int* fd : {&in_, &out_, &err_})
        close_fd(*fd);
    if (!trace_.empty())
        unlink(trace_.c_str());
}

// Stops too end the pumping at once: nobody here would continue a program that stopped itself.
template <class Enough>
bool PipeSession::pump(Clock::time_point deadline, Enough enough)
{
    while (!enough() && (out_ >= 0 || err_ >= 0) && out_text_.size() <= options_.most_bytes) {
        siginfo_t stop{};
        if (waitid(P_PID, pid_, &stop, WSTOPPED | WNOHANG | WNOWAIT) == 0 && stop.si_pid == pid_)
            return !(stopped_ = true);
        if (options_.late_slow_and_signalled) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            kill(pid_, SIGCONT);
        }
        // A late writer starts 0.2 s after the program's first output, which comes before it first
        // waits for input, however long it took to start.
        bool output_seen = input_from_ != Clock::time_point();
        bool writing = !options_.late_slow_and_signalled || (output_seen && Clock::now() >= input_from_);
        if (closing_ && input_.empty() && writing)
            close_fd(in_);
        pollfd fds[3] = {
            {out_, POLLIN, 0}, {err_, POLLIN, 0}, {input_.empty() || !writing ? -1 : in_, POLLOUT, 0}};
        int wait = std::min(ms_left(deadline), ms_left(writing || !output_seen ? deadline : input_from_));
        if (poll(fds, 3, wait) == 0 && Clock::now() >= deadline)
            return false;
        if (fds[0].revents && !output_seen)
            input_from_ = deadline_in(options_.late);
        if (fds[0].revents && sent_at_ != Clock::time_point() && answered_in_ == 0)
            answered_in_ = std::chrono::duration<double>(Clock::now() - sent_at_).count();
        if (fds[0].revents)
            take(out_, out_text_, options_.late_slow_and_signalled);
        if (fds[1].revents)
            take(err_, err_text_, false);
        if (fds[2].revents) {
            ssize_t n = write(in_, input_.data(), input_.size());
            if (n > 0 && sent_at_ == Clock::time_point())
                sent_at_ = Clock::now();
            if (n > 0)
                input_.erase(0, static_cast<std::size_t>(n));
            else if (errno != EAGAIN && errno != EINTR)
                input_.clear();  // the program stopped reading
        }
    }
    return true;
}

std::string PipeSession::read(std::size_t count, double seconds)
{
    pump(deadline_in(seconds), [&] { return out_text_.size() >= count; });
    std::string taken = out_text_.substr(0, count);
    out_text_.erase(0, taken.size());
    return taken;
}

bool PipeSession::quiet_for(double seconds)
{
    std::size_t before = out_text_.size();
    pump(deadline_in(seconds), [&] { return out_text_.size() > before; });
    return out_text_.size() == before;
}

RunResult PipeSession::finish(double seconds)
{
    closing_ = true;
    bool timed_out = !pump(deadline_in(seconds), [] { return false; }) && !stopped_;
    bool too_much = out_text_.size() > options_.most_bytes;
    if (timed_out || too_much || stopped_)
        kill(pid_, SIGKILL);
    int status = 0;
    waitpid(std::exchange(pid_, -1), &status, 0);  // no handler here can interrupt it
    RunResult result = {.out = std::move(out_text_),
                        .err = std::move(err_text_),
                        .status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                        .timed_out = timed_out,
                        .wrote_too_much = too_much,
                        .stopped = stopped_,
                        .answered_in = answered_in_};
    // strace writes a line a call, the process's number first: "123 read(0, ..." or "123 write(1, ...".
    std::ifstream trace(trace_);
    for (std::string line; std::getline(trace, line);) {
        std::string call = line.substr(std::min(line.find_first_not_of(' ', line.find(' ')), line.size()));
        result.reads += call.rfind("read(0,", 0) == 0;
        result.writes += call.rfind("write(1,", 0) == 0;
    }
    return result;
}

RunResult run_program(const std::string& input, const RunOptions& options)
{
    PipeSession program(options);
    program.send(input);
    return program.finish(options.seconds);
}

// Where two outputs part, with a few lines around it from each: enough to see the fault, and a few
// hundred bytes however many megabytes the outputs are.
std::string first_difference(const std::string& got, const std::string& expected)
{
    std::size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at])
        ++at;
    std::size_t from = at < 240 ? 0 : at - 240;
    return "the output parts from the expected at byte " + std::to_string(at) + " of " +
           std::to_string(got.size()) + " (expected " + std::to_string(expected.size()) +
           "); around it,\n  expected: " + testing::PrintToString(expected.substr(from, 480)) +
           "\n  got:      " + testing::PrintToString(got.substr(from, 480));
}

void expect_clean_end(const RunResult& run, const std::string& what, int status, const std::string& err)
{
    EXPECT_FALSE(run.timed_out) << what << ": did not end in time";
    EXPECT_FALSE(run.wrote_too_much) << what << ": wrote more than the test allows";
    EXPECT_FALSE(run.stopped) << what << ": stopped itself, where no shell would continue it";
    EXPECT_EQ(run.status, status) << what;
    EXPECT_EQ(run.err, err) << what;
}

void expect_plays(const std::vector<Script>& scripts)
{
    for (const Script& script : scripts) {
        const RunOptions& options = script.options;
        RunResult run = run_program(script.input, options);
        expect_clean_end(run, script.name, script.status, script.err);
        if (run.out != script.out)
            ADD_FAILURE() << script.name << ": " << first_difference(run.out, script.out);
        EXPECT_LE(run.answered_in, options.late < 1 ? run.answered_in : options.late / 4) << script.name;
        EXPECT_LE(run.reads, options.most_reads ? options.most_reads : run.reads) << script.name << ": reads";
        EXPECT_LE(run.writes, options.most_writes ? options.most_writes : run.writes)
            << script.name << ": writes";
    }
}
