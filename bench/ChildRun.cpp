#include "ChildRun.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zorvek {

namespace {

// The process's environment with the given entries set over it.
std::vector<std::string> environmentWith(const std::vector<std::string>& entries)
{
    std::vector<std::string> result;
    for (char** variable = environ; *variable; ++variable) {
        const std::string text(*variable);
        const std::string name = text.substr(0, text.find('=') + 1);
        bool replaced = false;
        for (const std::string& entry : entries)
            replaced = replaced || entry.rfind(name, 0) == 0;
        if (!replaced)
            result.push_back(text);
    }
    result.insert(result.end(), entries.begin(), entries.end());
    return result;
}

} // namespace

std::int64_t MonotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double ChildRun::msAfterSpawn(const std::string& key) const
{
    const auto found = values.find(key);
    return found == values.end() ? -1 : static_cast<double>(found->second - spawnedNs) / 1e6;
}

long long ChildRun::value(const std::string& key, long long otherwise) const
{
    const auto found = values.find(key);
    return found == values.end() ? otherwise : found->second;
}

ChildRun RunChild(const std::string& program, const std::vector<std::string>& arguments, int timeoutMs,
                  const std::vector<std::string>& environment)
{
    ChildRun run;
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        run.problem = std::string("pipe: ") + std::strerror(errno);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> variables = environmentWith(environment);
    std::vector<char*> envp;
    for (const std::string& variable : variables)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);

    pid_t pid = 0;
    run.spawnedNs = MonotonicNs();
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (spawned != 0) {
        ::close(out[0]);
        ::close(err[0]);
        run.problem = program + ": " + std::strerror(spawned);
        return run;
    }

    std::string output;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    const std::int64_t deadline = run.spawnedNs + static_cast<std::int64_t>(timeoutMs) * 1000000;
    bool timedOut = false;
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        const std::int64_t left = (deadline - MonotonicNs()) / 1000000;
        if (left <= 0) {
            timedOut = true;
            break;
        }
        if (::poll(fds, 2, static_cast<int>(left)) < 0 && errno != EINTR)
            break;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[k].fd);
                fds[k].fd = -1;
            } else {
                (k == 0 ? output : run.errorText).append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    for (const pollfd& fd : fds)
        if (fd.fd >= 0)
            ::close(fd.fd);
    if (timedOut)
        ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);

    std::istringstream lines(output);
    std::string key;
    long long value = 0;
    while (lines >> key >> value)
        run.values[key] = value;
    if (timedOut)
        run.problem = program + " did not end within " + std::to_string(timeoutMs) + " ms";
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        run.problem = program + " failed (status " + std::to_string(status) + ")";
    run.ok = run.problem.empty();
    return run;
}

} // namespace zorvek
