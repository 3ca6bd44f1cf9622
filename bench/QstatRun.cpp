#include "QstatRun.h"

#include <chrono>
#include <fstream>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zorvek {

namespace {

constexpr const char* kQuakestat = "/usr/bin/quakestat";

} // namespace

double ProcessStartMicros()
{
    char name[] = "true";
    char* argv[] = {name, nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/true", nullptr, nullptr, argv, environ) != 0)
        return 0;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
}

double LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    double load = 0;
    file >> load;
    return load;
}

QstatRun::QstatRun(std::string hostsFile, std::vector<std::string> extraArguments, std::string outputFile)
    : m_hostsFile(std::move(hostsFile)), m_extraArguments(std::move(extraArguments)),
      m_outputFile(std::move(outputFile))
{
}

bool QstatRun::available()
{
    return ::access(kQuakestat, X_OK) == 0;
}

QstatRun::Result QstatRun::run() const
{
    std::vector<std::string> words{"quakestat", "-default", "cod4s", "-P", "-R"};
    words.insert(words.end(), m_extraArguments.begin(), m_extraArguments.end());
    words.insert(words.end(), {"-f", m_hostsFile});
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_outputFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    Result result;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, kQuakestat, &actions, nullptr, argv.data(), environ);
    int status = 0;
    if (spawned == 0)
        ::waitpid(pid, &status, 0);
    result.micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

    // A server that answered has a line of its own (rules and players follow indented)
    // naming its map; one that did not says "no response".
    std::ifstream output(m_outputFile);
    std::string line;
    while (std::getline(output, line)) {
        if (line.empty() || line[0] == '\t' || line.rfind("127.0.0.1:", 0) != 0)
            continue;
        if (line.find(" mp_") != std::string::npos) {
            if (result.firstServerLine.empty())
                result.firstServerLine = line;
            ++result.answered;
        }
    }
    return result;
}

} // namespace zorvek
