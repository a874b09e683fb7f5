#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace sweepdraw::bench {

// A bound on how the time of one surface compares with another's for the
// same scene: numerator / denominator at most (or at least) `limit`.
struct RatioGoal
{
    std::string numerator;
    std::string denominator;
    double limit;
    bool atMost;
    std::vector<std::string> scenes; // empty: every scene
};

// A bound on one counter of one benchmark: at most (or at least) `limit`.
struct CounterGoal
{
    std::string benchmark;
    std::string counter;
    double limit;
    bool atMost;
};

// Passes every report on to the reporter the user asked for, keeps the CPU
// time per iteration of each BM_Scene/<scene>/<surface> and the counters of
// every benchmark, and when the run is over writes how the surfaces compare
// and how the counters stand, each against its goal. The figures therefore
// come from this one run. With repetitions the median is used.
//
// CPU time rather than wall time: every surface does all its work on the
// benchmark's thread, so the two agree on an idle machine, and CPU time does
// not count the moments another process had the processor.
class RatioReporter final : public benchmark::BenchmarkReporter
{
public:
    RatioReporter(std::unique_ptr<benchmark::BenchmarkReporter> display,
                  std::vector<std::string> scenes, std::vector<RatioGoal> goals,
                  std::vector<CounterGoal> counterGoals, std::ostream &table);

    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &reports) override;
    void Finalize() override;

    // The reporter that --benchmark_format, --benchmark_color and
    // --benchmark_counters_tabular ask for among the arguments, read before
    // benchmark::Initialize takes them out; nullptr for a format other than
    // console or json.
    static std::unique_ptr<benchmark::BenchmarkReporter> forFormat(int argc, char **argv);

private:
    void writeTable() const;
    void writeCounters() const;

    std::unique_ptr<benchmark::BenchmarkReporter> m_display;
    std::vector<std::string> m_scenes;
    std::vector<RatioGoal> m_goals;
    std::vector<CounterGoal> m_counterGoals;
    std::ostream &m_table;
    std::map<std::string, double> m_times; // CPU milliseconds, by benchmark name
    std::map<std::string, std::map<std::string, double>> m_counters; // by benchmark name
};

} // namespace sweepdraw::bench
