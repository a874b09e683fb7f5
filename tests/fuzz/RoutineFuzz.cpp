// A libFuzzer entry point for the routine language: every input is compiled
// as a routine file, and one that compiles is run on a small raster picture.
// It goes through the public interface alone (CompiledRoutine), so that it
// follows the language wherever its compiler and interpreter go.
//
// A routine may loop for as long as it likes; here each run is given a
// budget of loop turns, and one that spends it is stopped by the loop
// watch, as a runner stops a drawing.

#include "CompiledRoutine.h"
#include "LoopWatch.h"
#include "RasterSurface.h"
#include "RuntimeError.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

using namespace sweepdraw;

namespace {

// About 16,000 turns: well under a millisecond of drawing, and more than a
// loop needs to show what it does.
constexpr int kLooksPerRun = 4;

struct OutOfTurns
{
};

class TurnBudget final : public LoopWatch
{
protected:
    void look() override
    {
        if (++m_looks == kLooksPerRun)
            throw OutOfTurns();
    }

private:
    int m_looks = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto compiled = CompiledRoutine::compile("fuzz.cpp", text);
    if (const auto *refused = std::get_if<RoutineMessage>(&compiled)) {
        (void)refused->format("fuzz.cpp");
        return 0;
    }
    TurnBudget budget;
    const LoopWatch::Activation watching(&budget);
    RasterSurface picture(Size{80, 56});
    try {
        std::get<CompiledRoutine>(compiled).run(picture);
    } catch (const RuntimeError &) {
    } catch (const OutOfTurns &) {
    }
    return 0;
}
