#include "RecordBench.h"

#include "Recording.h"
#include "Stage.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <array>
#include <string>

namespace sweepdraw::bench {

namespace {

struct Format
{
    const char *suffix;
    double largestMegabytes;
};

constexpr std::array<Format, 2> kFormats = {{{"gif", 1.5}, {"webp", 1.0}}};

// The sunshine lasts 4 s at the normal speed, and then is held for 2 s:
// writing it must not take longer than watching it.
constexpr double kLongestSeconds = 6.0;
constexpr double kLargestResidentMegabytes = 100.0;

std::string benchmarkName(const Format &format)
{
    return std::string("BM_Record/sunshine/") + format.suffix;
}

void onRecord(benchmark::State &state, const Format &format)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sunshine.") + QLatin1String(format.suffix));
    double megabytes = 0;
    double seconds = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        Stage stage(1.0);
        if (const std::optional<QString> error = recordAnimation(
                stage.picture(), [&stage] { return stage.render(); }, {Button::Cmdyg}, Speed::Normal, path)) {
            state.SkipWithError(qPrintable(*error));
            return;
        }
        seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        state.SetIterationTime(seconds);
        megabytes = static_cast<double>(QFileInfo(path).size()) / 1e6;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["wall_s"] = seconds;
    state.counters["size_mb"] = megabytes;
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

} // namespace

std::vector<Goal> registerRecordBenchmarks(std::vector<std::string> &names)
{
    std::vector<Goal> goals;
    for (const Format &format : kFormats) {
        const std::string name = benchmarkName(format);
        names.push_back(name);
        benchmark::RegisterBenchmark(name.c_str(), onRecord, format)
            ->Unit(benchmark::kSecond)
            ->Iterations(1)
            ->UseManualTime();
        goals.push_back({{name, "wall_s"}, {}, kLongestSeconds, true});
        goals.push_back({{name, "size_mb"}, {}, format.largestMegabytes, true});
        goals.push_back({{name, "peak_rss_mb"}, {}, kLargestResidentMegabytes, true});
    }
    return goals;
}

} // namespace sweepdraw::bench
