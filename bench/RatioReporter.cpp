#include "RatioReporter.h"

#include <algorithm>
#include <cstring>
#include <iomanip>
#include <unistd.h>

namespace sweepdraw::bench {

namespace {

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

std::string label(const Figure &figure)
{
    return figure.counter.empty() ? figure.benchmark + " cpu_ms" : figure.benchmark + " " + figure.counter;
}

} // namespace

RatioReporter::RatioReporter(std::unique_ptr<benchmark::BenchmarkReporter> display, std::vector<Goal> goals,
                             std::ostream &table)
    : m_display(std::move(display))
    , m_goals(std::move(goals))
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
    if (m_contextWritten)
        return true;
    m_contextWritten = true;
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
        // Named as registered, without the iterations and timing suffixes.
        const std::string &name = run.run_name.function_name;
        m_times[name] = toMilliseconds(run.GetAdjustedCPUTime(), run.time_unit);
        for (const auto &[counter, value] : run.counters)
            m_counters[name][counter] = value.value;
    }
}

void RatioReporter::finish()
{
    if (m_contextWritten)
        m_display->Finalize();
    writeGoals();
}

std::optional<double> RatioReporter::value(const Figure &figure) const
{
    if (figure.counter.empty()) {
        const auto time = m_times.find(figure.benchmark);
        return time == m_times.end() ? std::nullopt : std::optional(time->second);
    }
    const auto benchmark = m_counters.find(figure.benchmark);
    if (benchmark == m_counters.end())
        return std::nullopt;
    const auto counter = benchmark->second.find(figure.counter);
    return counter == benchmark->second.end() ? std::nullopt : std::optional(counter->second);
}

void RatioReporter::writeGoals() const
{
    bool header = false;
    for (const Goal &goal : m_goals) {
        const std::optional<double> figure = value(goal.figure);
        const std::optional<double> against = goal.against ? value(*goal.against) : std::optional(1.0);
        if (!figure || !against || *against <= 0)
            continue;
        if (!header) {
            m_table << "\nFigures in this run, each against its goal:\n";
            header = true;
        }
        const std::optional<double> paired =
            goal.beside.empty() ? std::nullopt : value({goal.figure.benchmark, goal.beside});
        if (!goal.beside.empty() && !paired)
            continue;
        const double measured = paired ? *paired : *figure / *against;
        const bool met = goal.atMost ? measured <= goal.limit : measured >= goal.limit;
        m_table << "  " << std::left << std::setw(52) << label(goal.figure) << std::right << std::fixed
                << std::setprecision(3) << std::setw(10) << *figure;
        if (goal.against)
            m_table << " = " << std::setprecision(2) << std::setw(6) << measured << " x " << std::left
                    << std::setw(42) << (label(*goal.against) + (paired ? ", beside" : "")) << std::right;
        else
            m_table << std::setw(54) << "";
        m_table << "  goal " << (goal.atMost ? "<= " : ">= ") << std::setprecision(2) << goal.limit
                << (goal.against ? " x" : "  ") << (met ? "   met" : "   MISSED") << '\n';
    }
    m_table.flush();
}

} // namespace sweepdraw::bench
