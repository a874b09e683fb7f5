// A libFuzzer entry point for the routine language: every input is compiled
// as a routine file, and one that compiles is run on a small raster picture,
// a piece at a time as the window runs it. It goes through the public
// interface alone (CompiledRoutine, RoutineRun), so that it follows the
// language wherever its compiler and interpreter go. Its seeds are the
// scenes' files and those in seeds/, in the language's statements and
// functions of one's own; routine.dict gives it the language's words.
//
// A routine may loop for as long as it likes; here each run is given a
// budget of steps, as a run without a window is, and one that spends it
// stops with the run-time error that says so.

#include "CompiledRoutine.h"
#include "RasterSurface.h"
#include "RuntimeError.h"
#include "StepBudget.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <variant>

using namespace sweepdraw;

namespace {

// About 16,000 turns: well under a millisecond of drawing, and more than a
// loop needs to show what it does.
constexpr long long kSteps = 4 * LoopWatch::kTurnsPerLook;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const auto compiled = CompiledRoutine::compile("fuzz.cpp", text);
    if (const auto *refused = std::get_if<FaultMessage>(&compiled)) {
        (void)refused->format("fuzz.cpp");
        return 0;
    }
    StepBudget budget(kSteps);
    const LoopWatch::Activation watching(&budget);
    RasterSurface picture(Size{80, 56});
    // Pieces of 1 to 8 operations, as the input's length picks: each stop
    // and start of the machine is a place a fault could hide.
    const long long piece = 1 + static_cast<long long>(size % 8);
    try {
        RoutineRun run(std::get<CompiledRoutine>(compiled), picture);
        while (!run.resume(piece)) {
        }
    } catch (const RuntimeError &error) {
        (void)error.what();
    }
    return 0;
}
