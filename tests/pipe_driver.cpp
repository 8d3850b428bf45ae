#include "pipe_driver.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int ms_left(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

struct Child {
    pid_t pid;
    int in, out, err;  // -1 where not a pipe
};

// Writing to a game that has already ended must fail, not kill the test.
void ignore_sigpipe() { std::signal(SIGPIPE, SIG_IGN); }

Child spawn(const std::string& path, const RunOptions& options)
{
    ignore_sigpipe();
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) || pipe2(out, O_CLOEXEC) || pipe2(err, O_CLOEXEC))
        throw std::runtime_error("pipe failed");
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        if (options.in == Stdin::pipe)
            dup2(in[0], 0);
        else
            close(0);
        if (options.out == Stdout::discard) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
        } else {
            dup2(out[1], 1);
        }
        dup2(err[1], 2);
        std::vector<char*> argv{const_cast<char*>(path.c_str())};
        for (const std::string& arg : options.args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(path.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    if (options.in == Stdin::closed) {
        close(in[1]);
        in[1] = -1;
    }
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    return {pid, in[1], out[0], err[0]};
}

// Moves whatever is ready on `fd` into `sink`; false once the other end has closed.
bool drain(int fd, std::string& sink)
{
    char buffer[65536];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0)
        sink.append(buffer, static_cast<std::size_t>(n));
    return n > 0 || (n < 0 && errno == EINTR);
}

void reap(pid_t pid, RunResult& result, bool kill_first)
{
    if (kill_first)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Pumps input in and output out until both output pipes close or the deadline passes.
void pump(int in, int out, int err, const std::string& input, Clock::time_point deadline, RunResult& result)
{
    std::size_t sent = 0;
    if (in >= 0 && input.empty()) {
        close(in);
        in = -1;
    }
    while (out >= 0 || err >= 0) {
        pollfd fds[3] = {{out, POLLIN, 0}, {err, POLLIN, 0}, {in, POLLOUT, 0}};
        int ready = poll(fds, 3, ms_left(deadline));
        if (ready == 0) {
            result.timed_out = true;
            break;
        }
        if (ready < 0)
            continue;
        if (fds[0].revents && !drain(out, result.out)) {
            close(out);
            out = -1;
        }
        if (fds[1].revents && !drain(err, result.err)) {
            close(err);
            err = -1;
        }
        if (fds[2].revents) {
            ssize_t n = write(in, input.data() + sent, input.size() - sent);
            if (n > 0)
                sent += static_cast<std::size_t>(n);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                sent = input.size();  // the game stopped reading
            if (sent == input.size()) {
                close(in);
                in = -1;
            }
        }
    }
    for (int fd : {in, out, err})
        if (fd >= 0)
            close(fd);
}

}  // namespace

Clock::time_point deadline_in(double seconds)
{
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

RunResult run_program(const std::string& path, const std::string& input, const RunOptions& options)
{
    Child child = spawn(path, options);
    RunResult result;
    pump(child.in, child.out, child.err, input, deadline_in(options.seconds), result);
    reap(child.pid, result, result.timed_out);
    return result;
}

RunResult run_game(const std::string& input, const RunOptions& options)
{
    return run_program(STICKQUEST_BINARY, input, options);
}

PipeSession::PipeSession(const std::vector<std::string>& args)
{
    RunOptions options;
    options.args = args;
    Child child = spawn(STICKQUEST_BINARY, options);
    pid_ = child.pid;
    in_ = child.in;
    out_ = child.out;
    err_ = child.err;
    fcntl(in_, F_SETFL, 0);  // turns are small: plain blocking writes
}

PipeSession::~PipeSession()
{
    if (pid_ > 0) {
        RunResult ignored;
        reap(pid_, ignored, true);
    }
    for (int fd : {in_, out_, err_})
        if (fd >= 0)
            close(fd);
}

std::string PipeSession::read(std::size_t count, double seconds)
{
    auto deadline = deadline_in(seconds);
    while (pending_.size() < count) {
        pollfd fd = {out_, POLLIN, 0};
        if (poll(&fd, 1, ms_left(deadline)) <= 0 || !drain(out_, pending_))
            break;
    }
    std::string taken = pending_.substr(0, count);
    pending_.erase(0, taken.size());
    return taken;
}

bool PipeSession::quiet_for(double seconds)
{
    pollfd fd = {out_, POLLIN, 0};
    return poll(&fd, 1, static_cast<int>(seconds * 1000)) == 0;
}

void PipeSession::send(const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = write(in_, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0 && errno != EINTR)
            return;
        if (n > 0)
            sent += static_cast<std::size_t>(n);
    }
}

RunResult PipeSession::finish(double seconds)
{
    RunResult result;
    result.out = pending_;
    pending_.clear();
    pump(in_, out_, err_, "", deadline_in(seconds), result);
    in_ = out_ = err_ = -1;
    reap(pid_, result, result.timed_out);
    pid_ = -1;
    return result;
}
