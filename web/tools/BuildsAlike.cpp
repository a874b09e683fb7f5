// What the desktop's build and the page's compute, to compare them: the
// same program compiled by g++ and by emscripten (web/tools/buildsAlike.sh
// builds and runs both, and counts the lines that differ).
//
//   BuildsAlike functions N    a line for each of N arguments: the bits of
//                              sin, cos, sincos, and of sinf and cosf of the
//                              argument as a float
//   BuildsAlike routines N DIR a line for each of N learner's routines made
//                              from the scenes' files in DIR, one to three
//                              of their numbers changed as the editor drags
//                              them: whether it drew, its pixels' hash and
//                              its operations' hash
//   BuildsAlike floats N DIR   the same, every other four of them taking
//                              their sines and cosines of floats
//
// Both draw their numbers from std::mt19937_64, which the standard defines
// to the bit, turned into arguments by exact arithmetic alone, so that both
// builds take the same.

#include "CompiledRoutine.h"
#include "DrawingSurface.h"
#include "LoopWatch.h"
#include "RasterSurface.h"
#include "RuntimeError.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

using namespace sweepdraw;

namespace {

template <typename To, typename From>
To bitCast(From from)
{
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// Half the arguments uniform in [0, 2*pi), as the scenes' angles; the rest
// in [-1000, 1000), as a learner's sums of them.
double argumentOf(std::uint64_t bits, std::uint64_t which)
{
    const double unit = static_cast<double>(bits >> 11) * 0x1p-53;
    return which % 2 ? unit * 6.283185307179586 : unit * 2000.0 - 1000.0;
}

void functions(long long count)
{
    std::mt19937_64 random(20061118);
    for (long long i = 0; i < count; ++i) {
        const double x = argumentOf(random(), static_cast<std::uint64_t>(i));
        const float xf = static_cast<float>(x);
        double s = 0, c = 0;
        sincos(x, &s, &c);
        std::printf("%016llx %016llx %016llx %016llx %08x %08x\n",
                    static_cast<unsigned long long>(bitCast<std::uint64_t>(std::sin(x))),
                    static_cast<unsigned long long>(bitCast<std::uint64_t>(std::cos(x))),
                    static_cast<unsigned long long>(bitCast<std::uint64_t>(s)),
                    static_cast<unsigned long long>(bitCast<std::uint64_t>(c)),
                    bitCast<std::uint32_t>(std::sin(xf)), bitCast<std::uint32_t>(std::cos(xf)));
    }
}

struct OutOfTurns
{
};

// Stops a routine whose changed numbers make it draw for too long: about
// 4 million loop turns.
class TurnBudget final : public LoopWatch
{
protected:
    void look() override
    {
        if (++m_looks == 1000)
            throw OutOfTurns();
    }

private:
    int m_looks = 0;
};

// Draws on a picture and hashes every operation's arguments, bit for bit:
// a picture can come out the same from operations that differ.
class HashingSurface final : public DrawingSurface
{
public:
    explicit HashingSurface(DrawingSurface &target)
        : m_target(target)
    {
    }

    std::uint64_t hash = 14695981039346656037ull;

protected:
    Status doSetPenWidth(int width) override { return add(m_target.SetPenWidth(width), {static_cast<float>(width)}); }
    Status doPlotPoint(float x, float y, Colour c) override { return add(m_target.PlotPoint(x, y, c), {x, y}, c); }
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour c) override
    {
        return add(m_target.DrawBox(x1, y1, x2, y2, c), {x1, y1, x2, y2}, c);
    }
    Status doDrawCircle(float x, float y, float r, Colour c) override
    {
        return add(m_target.DrawCircle(x, y, r, c), {x, y, r}, c);
    }
    Status doClearSurface() override { return add(m_target.ClearSurface(), {}); }

private:
    Status add(Status status, std::initializer_list<float> values, Colour colour = {})
    {
        for (const float value : values)
            mix(bitCast<std::uint32_t>(value));
        mix(colour.rgb());
        return status;
    }
    void mix(std::uint32_t word) { hash = (hash ^ word) * 1099511628211ull; }

    DrawingSurface &m_target;
};

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One to three of the numbers in the drawing's body changed, each by up to
// a quarter of itself, an integer staying an integer; `inFloats`, the sines
// and cosines taken of floats, as a learner may write them. The changes
// count their places in the scene as written.
std::string edited(const std::string &scene, bool inFloats, std::mt19937_64 &random)
{
    const std::size_t body = scene.find("(DrawingSurface &surface)");
    static const std::regex number(R"((\d+\.\d*|\d+))");
    std::vector<std::smatch> numbers;
    for (auto it = std::sregex_iterator(scene.begin() + static_cast<std::ptrdiff_t>(body), scene.end(), number);
         it != std::sregex_iterator(); ++it)
        numbers.push_back(*it);
    std::string text = scene;
    if (inFloats) {
        static const std::regex trigonometry(R"(std::(sin|cos)\((\w+)\))");
        text = std::regex_replace(text, trigonometry, "std::$1(static_cast<float>($2))");
    }
    const int changes = 1 + static_cast<int>(random() % 3);
    for (int k = 0; k < changes; ++k) {
        const std::smatch &m = numbers[random() % numbers.size()];
        const std::string old = m.str();
        const double factor = 0.75 + static_cast<double>(random() >> 11) * 0x1p-53 * 0.5;
        const double value = std::stod(old) * factor;
        char replacement[64];
        if (old.find('.') == std::string::npos)
            std::snprintf(replacement, sizeof replacement, "%lld", static_cast<long long>(value));
        else
            std::snprintf(replacement, sizeof replacement, "%.4f", value);
        const std::size_t at = body + static_cast<std::size_t>(m.position());
        if (text.compare(at, old.size(), old) == 0) // an earlier change did not shift it
            text.replace(at, old.size(), replacement);
    }
    return text;
}

void routines(long long count, const std::string &dir, bool floats)
{
    const std::vector<std::string> scenes = {readFile(dir + "/Mountains.cpp"), readFile(dir + "/Water.cpp"),
                                             readFile(dir + "/Sunshine.cpp"), readFile(dir + "/Bridge.cpp")};
    std::mt19937_64 random(20061118);
    for (long long i = 0; i < count; ++i) {
        const bool inFloats = floats && i / 4 % 2; // every scene in both
        const std::string text = edited(scenes[static_cast<std::size_t>(i) % scenes.size()], inFloats, random);
        auto compiled = CompiledRoutine::compile("Edited.cpp", text);
        if (std::holds_alternative<FaultMessage>(compiled)) {
            std::printf("%lld refused\n", i);
            continue;
        }
        RasterSurface picture(Size{800, 552});
        HashingSurface operations(picture);
        const char *ending = "drew";
        try {
            TurnBudget budget;
            const LoopWatch::Activation watching(&budget);
            std::get<CompiledRoutine>(compiled).run(operations);
        } catch (const RuntimeError &) {
            ending = "failed";
        } catch (const OutOfTurns &) {
            ending = "stopped";
        }
        std::uint64_t hash = 14695981039346656037ull;
        for (int y = 0; y < picture.size().height; ++y)
            for (int x = 0; x < picture.size().width; ++x)
                hash = (hash ^ picture.pixel(x, y)) * 1099511628211ull;
        std::printf("%lld %s %016llx %016llx\n", i, ending, static_cast<unsigned long long>(hash),
                    static_cast<unsigned long long>(operations.hash));
    }
}

} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "functions" && argc == 3)
        functions(std::atoll(argv[2]));
    else if ((mode == "routines" || mode == "floats") && argc == 4)
        routines(std::atoll(argv[2]), argv[3], mode == "floats");
    else {
        std::fprintf(stderr, "usage: BuildsAlike functions N | routines N SCENES_DIR | floats N SCENES_DIR\n");
        return 2;
    }
    return 0;
}
