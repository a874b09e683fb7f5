#pragma once

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

} // namespace sweepdraw::bench
