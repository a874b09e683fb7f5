#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sweepdraw::bench {

// One figure of a run: a benchmark's CPU time per iteration in
// milliseconds, or, when `counter` is given, one of its counters.
struct Figure
{
    std::string benchmark; // as registered, without the suffixes the library adds
    std::string counter;
};

// A bound on a figure: at most (or at least) `limit`, or, with `against`,
// at most (or at least) `limit` times that other figure of the same run.
// With `beside`, the ratio is not the figure's over the other's but the
// counter of that name: the ratio of each repetition to the other figure
// measured just before and after it.
struct Goal
{
    Figure figure;
    std::optional<Figure> against;
    double limit;
    bool atMost;
    std::string beside = {};
};

// Passes every report on to the reporter the user asked for, keeps every
// figure, and once finish() is called writes each goal's figure and how it
// stands, so that the figures and their ratios come from one run. With
// repetitions the median is used.
//
// A run may be made of several calls to benchmark::RunSpecifiedBenchmarks:
// the context is written once, before the first benchmark, and the display
// is finalised only by finish(), so that a JSON report stays one document.
//
// CPU time rather than wall time: every surface does all its work on the
// benchmark's thread, so the two agree on an idle machine, and CPU time does
// not count the moments another process had the processor. A benchmark
// whose work is done elsewhere, in a child process, reports that work's CPU
// time as a counter.
class RatioReporter final : public benchmark::BenchmarkReporter
{
public:
    RatioReporter(std::unique_ptr<benchmark::BenchmarkReporter> display, std::vector<Goal> goals,
                  std::ostream &table);

    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &reports) override;
    void Finalize() override {}

    // Finalises the display and writes the goals.
    void finish();

    // The reporter that --benchmark_format, --benchmark_color and
    // --benchmark_counters_tabular ask for among the arguments, read before
    // benchmark::Initialize takes them out; nullptr for a format other than
    // console or json.
    static std::unique_ptr<benchmark::BenchmarkReporter> forFormat(int argc, char **argv);

private:
    std::optional<double> value(const Figure &figure) const;
    void writeGoals() const;

    std::unique_ptr<benchmark::BenchmarkReporter> m_display;
    std::vector<Goal> m_goals;
    std::ostream &m_table;
    bool m_contextWritten = false;
    std::map<std::string, double> m_times; // CPU milliseconds, by benchmark
    std::map<std::string, std::map<std::string, double>> m_counters; // by benchmark
};

} // namespace sweepdraw::bench
