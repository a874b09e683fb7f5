#pragma once

#include <sched.h>

#include <optional>
#include <string>
#include <vector>

namespace sweepdraw::bench {

// Runs `program` with `arguments` to its end, its output thrown away, and
// returns the CPU time, user and system, that the system counted for it, in
// seconds; nothing if it could not be started or did not exit with status 0.
std::optional<double> cpuSecondsOfRun(const std::string &program, const std::vector<std::string> &arguments);

// Runs `program` with `arguments` to its end and returns what it wrote to
// standard output; nothing if it could not be started or did not exit with
// status 0.
std::optional<std::string> outputOfRun(const std::string &program, const std::vector<std::string> &arguments);

// Keeps the calling thread, and the processes it starts, on the processor
// it is running on while this lives, then lets it run anywhere it could
// before. The speed of a virtual machine's processors wanders, each on its
// own, so two figures to be set against each other are measured on one.
class OnThisProcessor final
{
public:
    OnThisProcessor();
    ~OnThisProcessor();
    OnThisProcessor(const OnThisProcessor &) = delete;
    OnThisProcessor &operator=(const OnThisProcessor &) = delete;

private:
    cpu_set_t m_allowed{};
    bool m_kept = false;
};

} // namespace sweepdraw::bench
