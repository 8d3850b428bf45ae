// SPDX-License-Identifier: MIT
#include "pipe_driver.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

void close_fd(int& fd)
{
    if (fd >= 0)
        close(fd);
    fd = -1;
}

// Moves whatever is ready on `fd` into `sink`, and closes `fd` once the other end has.
void take(int& fd, std::string& sink)
{
    char buffer[65536];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0)
        sink.append(buffer, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR)
        close_fd(fd);
}

}  // namespace

Clock::time_point deadline_in(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

PipeSession::PipeSession(const std::vector<std::string>& args) : PipeSession(STICKQUEST_BINARY, {args}) {}

PipeSession::PipeSession(const std::string& path, const RunOptions& options)
{
    std::signal(SIGPIPE, SIG_IGN);  // writing to a program that has ended must fail, not kill the test
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC))
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.in == Stdin::pipe)
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    else
        posix_spawn_file_actions_addclose(&actions, 0);
    if (options.discard_out)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& arg : options.args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    int failed = posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (int unused : {in[0], out[1], err[1]})
        close(unused);
    in_ = in[1], out_ = out[0], err_ = err[0];
    if (options.in == Stdin::closed)
        close_fd(in_);
    if (failed)
        throw std::runtime_error("cannot start " + path);
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
}

template <class Enough>
bool PipeSession::pump(Clock::time_point deadline, Enough enough)
{
    while (!enough() && (out_ >= 0 || err_ >= 0)) {
        if (closing_ && input_.empty())
            close_fd(in_);
        pollfd fds[3] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}, {input_.empty() ? -1 : in_, POLLOUT, 0}};
        int ready = poll(fds, 3, ms_left(deadline));
        if (ready == 0)
            return false;
        if (fds[0].revents)
            take(out_, out_text_);
        if (fds[1].revents)
            take(err_, err_text_);
        if (fds[2].revents) {
            ssize_t n = write(in_, input_.data(), input_.size());
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

void PipeSession::send(const std::string& bytes) { input_ += bytes; }

RunResult PipeSession::finish(double seconds)
{
    closing_ = true;
    RunResult result;
    result.timed_out = !pump(deadline_in(seconds), [] { return false; });
    if (result.timed_out)
        kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out.swap(out_text_);
    result.err.swap(err_text_);
    return result;
}

RunResult run_program(const std::string& path, const std::string& input, const RunOptions& options)
{
    PipeSession program(path, options);
    program.send(input);
    return program.finish(options.seconds);
}

RunResult run_game(const std::string& input, const RunOptions& options)
{
    return run_program(STICKQUEST_BINARY, input, options);
}

void expect_clean_end(const RunResult& run, const std::string& what)
{
    EXPECT_FALSE(run.timed_out) << what;
    EXPECT_EQ(run.status, 0) << what;
    EXPECT_EQ(run.err, "") << what;
}

void expect_plays(const std::vector<Script>& scripts)
{
    for (const Script& script : scripts) {
        RunResult run = run_game(script.input, script.options);
        expect_clean_end(run, script.name);
        EXPECT_EQ(run.out, script.out) << script.name;
    }
}
