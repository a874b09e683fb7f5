#include "StepBench.h"

#include "CallSurface.h"
#include "CommandRunner.h"
#include "RasterSurface.h"
#include "Timing.h"
#include "WhatDrew.h"

namespace sweepdraw::bench {

namespace {

using namespace std::chrono_literals;

const std::string kBackName = "BM_Step/sunshine/back";
const std::string kToCaretName = "BM_Step/sunshine/to_caret";
const std::string kFindCallName = "BM_Step/sunshine/find_call";
const std::string kWhatDrewName = "BM_Step/all/what_drew";
// A ray's pixel of the sunshine, drawn over by none of the others, and a
// pixel none of them draws on, which every scene is asked about.
struct Pixel
{
    int x;
    int y;
};
const std::vector<std::pair<std::string, Pixel>> kPixels = {{"ray", {600, 133}}, {"blank", {100, 50}}};

// The sunshine's colour pass is called on this line of its scene.
constexpr int kColourPassLine = 19;

// A runner paused on the sunshine after `time` at the slow speed, of 70
// operations a millisecond, on a clock of its own.
struct PausedSunshine
{
    explicit PausedSunshine(std::chrono::milliseconds time)
    {
        runner.setClock([this] { return now; });
        runner.setSpeed(Speed::Slow);
        runner.enqueue(Button::Cmdyg);
        now += time;
        runner.advance();
        runner.setPaused(true);
    }

    RasterSurface picture{kDesignSize, 1.0};
    CommandRunner runner{picture};
    std::chrono::nanoseconds now{0};
};

// From 980,000 operations, 44,445 into the last pass: each step back is
// one more in that pass.
void onBack(benchmark::State &state)
{
    PausedSunshine sunshine(14'000ms);
    for (auto _ : state)
        sunshine.runner.stepBack();
    state.counters["landed"] = static_cast<double>(sunshine.runner.progress().landed);
}

// From the first point of the first pass to the first of the second.
void onToCaret(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        PausedSunshine sunshine(0ms);
        for (int i = 0; i < 6; ++i)
            sunshine.runner.step();
        state.ResumeTiming();
        sunshine.runner.runTo({.loopLine = kColourPassLine});
        state.PauseTiming();
        state.counters["landed"] = static_cast<double>(sunshine.runner.progress().landed);
        state.ResumeTiming();
    }
}

// Run to the caret on a call outside every loop replays the command to find
// where that call lands; at worst, for a call that never comes, all of it.
void onFindCall(benchmark::State &state)
{
    long long operation = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(operation = operationOutsideLoops(Button::Cmdyg, 1000));
    state.counters["operation"] = static_cast<double>(operation);
}

void onWhatDrew(benchmark::State &state, Pixel pixel)
{
    const std::vector<Runnable> all = {Button::CmdGs, Button::Cmdls, Button::Cmdyg, Button::CmdDq};
    long long operation = 0;
    for (auto _ : state) {
        const std::optional<DrawnBy> drawn = whatDrew(all, std::nullopt, 0, 1.0, pixel.x, pixel.y);
        operation = drawn ? drawn->operation : 0;
    }
    state.counters["operation"] = static_cast<double>(operation);
}

} // namespace

void registerStepBenchmarks(std::vector<std::string> &names, std::vector<Goal> &goals)
{
    registerNamed(names, kBackName, onBack)->Unit(benchmark::kMillisecond);
    registerNamed(names, kToCaretName, onToCaret)->Unit(benchmark::kMillisecond);
    registerNamed(names, kFindCallName, onFindCall)->Unit(benchmark::kMillisecond);
    goals.push_back({{kBackName, {}}, {}, 50, true});
    goals.push_back({{kToCaretName, {}}, {}, 50, true});
    goals.push_back({{kFindCallName, {}}, {}, 50, true});
    for (const auto &[name, pixel] : kPixels) {
        registerNamed(names, kWhatDrewName + "/" + name, onWhatDrew, pixel)->Unit(benchmark::kMillisecond);
        goals.push_back({{kWhatDrewName + "/" + name, {}}, {}, 100, true});
    }
}

} // namespace sweepdraw::bench
