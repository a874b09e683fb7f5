// The engine on its own, linked with no Qt: each scene, and each of the
// learners' routines with their branches, loops and calls, drawn by its
// function and by its own file read as a routine, on pictures of the
// window's size, which must come out the same and not blank; and the four
// files drawn by a runner at the normal speed, a piece at a time on their
// interpreter, with no fiber, woken by a ticker and timed by a clock of
// this program's own, as a page drives it, which must end on the same
// picture as the scenes drawn one after another.
// Usage: DrawAlone SCENES_DIR LEARNERS_DIR

#include "CommandRunner.h"
#include "CompiledRoutine.h"
#include "Design.h"
#include "RasterSurface.h"
#include "Runnable.h"
#include "RunnerEvents.h"
#include "Scenes.h"
#include "Ticker.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace sweepdraw {
void DrawBenchRose(DrawingSurface &surface);
void DrawBenchSpiral(DrawingSurface &surface);
void DrawBenchGrid(DrawingSurface &surface);
} // namespace sweepdraw

using namespace sweepdraw;

namespace {

struct Scene
{
    const char *file;
    void (*draw)(DrawingSurface &);
};

bool samePixels(const RasterSurface &a, const RasterSurface &b)
{
    const auto bytes = static_cast<std::size_t>(a.size().height * a.bytesPerLine());
    return a.size() == b.size() && std::memcmp(a.pixels(), b.pixels(), bytes) == 0;
}

bool blank(const RasterSurface &picture)
{
    for (int y = 0; y < picture.size().height; ++y)
        for (int x = 0; x < picture.size().width; ++x)
            if (picture.pixel(x, y) != 0)
                return false;
    return true;
}

// Wakes the runner when asked to: the interval it asked for while started.
struct Frames final : Ticker
{
    void startTicking(std::chrono::milliseconds asked) override { interval = asked; }
    void stopTicking() override { interval.reset(); }

    std::optional<std::chrono::milliseconds> interval;
};

struct Told final : RunnerEvents
{
    void finishedCommand(const Runnable &) override { ++finished; }
    void stoppedByFailure(const RuntimeError &error) override { failure = error.what(); }
    void wentIdle() override { idle = true; }

    int finished = 0;
    bool idle = false;
    std::optional<std::string> failure;
};

// The four scenes' files drawn by a runner, frame by frame: whether they
// end as the scenes drawn directly, after as many frames as the normal
// speed takes.
bool runnerDraws(const std::vector<Runnable> &routines)
{
    RasterSurface direct(kDesignSize);
    for (void (*draw)(DrawingSurface &) : {DrawMountains, DrawWater, DrawSunshine, DrawBridge})
        draw(direct);

    RasterSurface picture(kDesignSize);
    Frames frames;
    Told told;
    CommandRunner runner(picture, &told, &frames);
    std::chrono::nanoseconds now{0};
    runner.setClock([&now] { return now; });
    for (const Runnable &routine : routines)
        runner.enqueue(routine);
    long long ticks = 0;
    for (; frames.interval && ticks < 1'000'000; ++ticks) {
        now += *frames.interval;
        runner.advance();
    }
    long long operations = 0;
    for (Button button : {Button::CmdGs, Button::Cmdls, Button::Cmdyg, Button::CmdDq})
        operations += tallyOf(button).operations;
    const long long paced = operations * 1000 / operationsPerSecond(Speed::Normal) / CommandRunner::kFrame.count();
    if (told.failure || told.finished != 4 || !told.idle || ticks < paced || ticks > paced + 2) {
        std::fprintf(stderr, "the runner drew %d of 4 commands in %lld frames, where %lld were due%s%s\n",
                     told.finished, ticks, paced, told.failure ? ": " : "", told.failure ? told.failure->c_str() : "");
        return false;
    }
    if (!samePixels(direct, picture)) {
        std::fprintf(stderr, "the runner's picture is not the scenes' drawn one after another\n");
        return false;
    }
    return true;
}

// Sines and cosines called apart, as Clang leaves them for WebAssembly:
// whether each is what sincos gives, whichever angle came before, even one
// a bit away or one reduced by the far path.
bool sineAndCosineApartAreSincos()
{
    // Through pointers the compiler cannot see through, so that it makes
    // no sincos of them.
    double (*const volatile sine)(double) = ::sin;
    double (*const volatile cosine)(double) = ::cos;
    const double near = 2.5;
    const double beside = std::nextafter(near, 3.0);
    const double far = 1e9;
    const std::pair<bool, double> calls[] = {{true, near},    {false, near}, {true, beside}, {false, near},
                                             {false, beside}, {true, far},   {false, far},   {true, -near},
                                             {false, near}};
    for (const auto &[isSine, x] : calls) {
        double s = 0, c = 0;
        ::sincos(x, &s, &c);
        const double alone = isSine ? sine(x) : cosine(x);
        if (std::memcmp(&alone, isSine ? &s : &c, sizeof alone) != 0) {
            std::fprintf(stderr, "%s(%.17g) alone is %.17g, not sincos's %.17g\n", isSine ? "sin" : "cos", x, alone,
                         isSine ? s : c);
            return false;
        }
    }
    return true;
}

// The file at `path` read as a routine, if it draws the picture `draw`
// draws, not blank.
std::optional<CompiledRoutine> drawSame(const std::string &path, void (*draw)(DrawingSurface &))
{
    const auto routine = CompiledRoutine::compileFile(path);
    if (const auto *message = std::get_if<FaultMessage>(&routine)) {
        std::fprintf(stderr, "%s\n", message->located(path, message->technical()).c_str());
        return std::nullopt;
    }
    RasterSurface drawn(kDesignSize);
    RasterSurface read(kDesignSize);
    draw(drawn);
    std::get<CompiledRoutine>(routine).run(read);
    if (blank(drawn) || !samePixels(drawn, read)) {
        std::fprintf(stderr, "%s: drawn alone, its file does not draw the same picture\n", path.c_str());
        return std::nullopt;
    }
    return std::get<CompiledRoutine>(routine);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCENES_DIR LEARNERS_DIR\n", argv[0]);
        return 2;
    }
    const Scene scenes[] = {{"Mountains.cpp", DrawMountains},
                            {"Water.cpp", DrawWater},
                            {"Sunshine.cpp", DrawSunshine},
                            {"Bridge.cpp", DrawBridge}};
    const Scene learners[] = {{"Rose.cpp", DrawBenchRose}, {"Spiral.cpp", DrawBenchSpiral}, {"Grid.cpp", DrawBenchGrid}};
    int failed = 0;
    std::vector<Runnable> routines;
    for (const Scene &scene : scenes) {
        if (const auto routine = drawSame(std::string(argv[1]) + "/" + scene.file, scene.draw))
            routines.emplace_back(*routine);
        else
            failed = 1;
    }
    for (const Scene &learner : learners)
        if (!drawSame(std::string(argv[2]) + "/" + learner.file, learner.draw))
            failed = 1;
    if (failed || !runnerDraws(routines) || !sineAndCosineApartAreSincos())
        failed = 1;
    return failed;
}
