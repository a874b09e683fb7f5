#include "RatioReporter.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <unistd.h>

namespace sweepdraw::bench {

namespace {

std::string sceneBenchmark(const std::string &scene, const std::string &surface)
{
    return "BM_Scene/" + scene + "/" + surface;
}

// The value of --<name>=<value> among the arguments, the last if given more
// than once, or `fallback`.
std::string flagValue(int argc, char **argv, const std::string &name, const char *fallback)
{
    const std::string prefix = "--" + name + "=";
    std::string value = fallback;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) == 0)
            value = argv[i] + prefix.size();
    return value;
}

bool isTrue(const std::string &value)
{
    return value == "true" || value == "yes" || value == "1";
}

double toMilliseconds(double time, benchmark::TimeUnit unit)
{
    switch (unit) {
    case benchmark::kNanosecond:
        return time / 1e6;
    case benchmark::kMicrosecond:
        return time / 1e3;
    case benchmark::kMillisecond:
        return time;
    case benchmark::kSecond:
        return time * 1e3;
    }
    return time;
}

} // namespace

RatioReporter::RatioReporter(std::unique_ptr<benchmark::BenchmarkReporter> display,
                             std::vector<std::string> scenes, std::vector<RatioGoal> goals,
                             std::vector<CounterGoal> counterGoals, std::ostream &table)
    : m_display(std::move(display))
    , m_scenes(std::move(scenes))
    , m_goals(std::move(goals))
    , m_counterGoals(std::move(counterGoals))
    , m_table(table)
{
}

std::unique_ptr<benchmark::BenchmarkReporter> RatioReporter::forFormat(int argc, char **argv)
{
    const std::string format = flagValue(argc, argv, "benchmark_format", "console");
    if (format == "json")
        return std::make_unique<benchmark::JSONReporter>();
    if (format != "console")
        return nullptr;

    // As the library would set up its own console reporter.
    const std::string colour = flagValue(argc, argv, "benchmark_color", "auto");
    const bool coloured = colour == "auto" ? isatty(STDOUT_FILENO) != 0 : isTrue(colour);
    const bool tabular = isTrue(flagValue(argc, argv, "benchmark_counters_tabular", "false"));
    return std::make_unique<benchmark::ConsoleReporter>(
        static_cast<benchmark::ConsoleReporter::OutputOptions>(
            (coloured ? benchmark::ConsoleReporter::OO_Color : 0)
            | (tabular ? benchmark::ConsoleReporter::OO_Tabular : 0)));
}

bool RatioReporter::ReportContext(const Context &context)
{
    return m_display->ReportContext(context);
}

void RatioReporter::ReportRuns(const std::vector<Run> &reports)
{
    m_display->ReportRuns(reports);
    for (const Run &run : reports) {
        if (run.error_occurred)
            continue;
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (!single && !median)
            continue;
        m_times[run.run_name.str()] = toMilliseconds(run.GetAdjustedCPUTime(), run.time_unit);
        // Named as registered, without the iterations and timing suffixes.
        for (const auto &[name, counter] : run.counters)
            m_counters[run.run_name.function_name][name] = counter.value;
    }
}

void RatioReporter::Finalize()
{
    m_display->Finalize();
    writeTable();
    writeCounters();
}

void RatioReporter::writeTable() const
{
    bool header = false;
    for (const RatioGoal &goal : m_goals) {
        for (const std::string &scene : m_scenes) {
            if (!goal.scenes.empty()
                && std::find(goal.scenes.begin(), goal.scenes.end(), scene) == goal.scenes.end())
                continue;
            const auto top = m_times.find(sceneBenchmark(scene, goal.numerator));
            const auto bottom = m_times.find(sceneBenchmark(scene, goal.denominator));
            if (top == m_times.end() || bottom == m_times.end() || bottom->second <= 0)
                continue;
            if (!header) {
                m_table << "\nRatios of CPU time per iteration in this run:\n";
                header = true;
            }
            const double ratio = top->second / bottom->second;
            const bool met = goal.atMost ? ratio <= goal.limit : ratio >= goal.limit;
            m_table << "  " << std::left << std::setw(10) << scene << std::setw(18)
                    << (goal.numerator + " / " + goal.denominator) << std::right << std::fixed
                    << std::setprecision(2) << std::setw(8) << ratio << "   goal "
                    << (goal.atMost ? "<= " : ">= ") << std::setprecision(2) << goal.limit
                    << (met ? "   met" : "   MISSED") << '\n';
        }
    }
    m_table.flush();
}

void RatioReporter::writeCounters() const
{
    bool header = false;
    for (const CounterGoal &goal : m_counterGoals) {
        const auto benchmark = m_counters.find(goal.benchmark);
        if (benchmark == m_counters.end())
            continue;
        const auto counter = benchmark->second.find(goal.counter);
        if (counter == benchmark->second.end())
            continue;
        if (!header) {
            m_table << "\nFigures in this run:\n";
            header = true;
        }
        const double value = counter->second;
        const bool met = goal.atMost ? value <= goal.limit : value >= goal.limit;
        m_table << "  " << std::left << std::setw(36) << goal.benchmark << std::setw(18) << goal.counter
                << std::right << std::fixed << std::setprecision(3) << std::setw(10) << value << "   goal "
                << (goal.atMost ? "<= " : ">= ") << std::setprecision(2) << goal.limit
                << (met ? "   met" : "   MISSED") << '\n';
    }
    m_table.flush();
}

} // namespace sweepdraw::bench
