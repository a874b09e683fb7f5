#include "ChildCpu.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char **environ;

namespace sweepdraw::bench {

namespace {

double seconds(const timeval &time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// Starts `program` with its standard output on `output` (or thrown away,
// for -1) and its errors thrown away: its pid, or nothing.
std::optional<pid_t> start(const std::string &program, const std::vector<std::string> &arguments, int output)
{
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output < 0)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, output, 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    return child;
}

// Waits for `child` to end: its usage, if it exited with status 0. wait4
// counts the child's own time alone, whatever else this process has waited
// for before.
std::optional<rusage> finish(pid_t child)
{
    int status = 0;
    rusage usage{};
    pid_t waited = 0;
    do {
        waited = wait4(child, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    if (waited != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return usage;
}

} // namespace

std::optional<double> cpuSecondsOfRun(const std::string &program, const std::vector<std::string> &arguments)
{
    const std::optional<pid_t> child = start(program, arguments, -1);
    if (!child)
        return std::nullopt;
    const std::optional<rusage> usage = finish(*child);
    if (!usage)
        return std::nullopt;
    return seconds(usage->ru_utime) + seconds(usage->ru_stime);
}

std::optional<std::string> outputOfRun(const std::string &program, const std::vector<std::string> &arguments)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    const std::optional<pid_t> child = start(program, arguments, pipeEnds[1]);
    close(pipeEnds[1]);
    std::string output;
    if (child) {
        char buffer[4096];
        ssize_t got = 0;
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
            if (got > 0)
                output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    if (!child || !finish(*child))
        return std::nullopt;
    return output;
}

OnThisProcessor::OnThisProcessor()
{
    const int here = sched_getcpu();
    if (here < 0 || sched_getaffinity(0, sizeof m_allowed, &m_allowed) != 0)
        return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(here, &one);
    m_kept = sched_setaffinity(0, sizeof one, &one) == 0;
}

OnThisProcessor::~OnThisProcessor()
{
    if (m_kept)
        sched_setaffinity(0, sizeof m_allowed, &m_allowed);
}

} // namespace sweepdraw::bench
