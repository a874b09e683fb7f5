#pragma once

#include "LoopRecorder.h"
#include "RoutineProgram.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace sweepdraw {

class DrawingSurface;
class RasterSurface;

// Runs a routine's flat program: one loop over its instructions that keeps
// its own stacks of calls and of the drawing's loops, and so can stop
// before any surface operation and go on later, with no fiber and no stack
// of the host's held meanwhile. While it is stopped, its variables and loop
// counters stay in its frames, readable.
//
// A failure throws RuntimeError, "FILE:LINE: error: what", naming the line
// of the instruction that failed (a loop's own checks name the loop's line
// themselves); the machine has ended then. The loops record on the active
// LoopRecorder while the machine runs, as the scenes' loops do, and give
// their places back whenever it stops; each turn of a loop, the routine's
// own for, while and do loops included, counts on the LoopWatch.
class RoutineMachine final
{
public:
    // Calls nested deeper than this are a run-time error.
    static constexpr int kMaxCallDepth = 1000;

    // Ready to run `program`'s drawing function on `surface`; both must
    // outlive the machine.
    RoutineMachine(const RoutineProgram &program, DrawingSurface &surface);

    RoutineMachine(const RoutineMachine &) = delete;
    RoutineMachine &operator=(const RoutineMachine &) = delete;

    // Makes up to `operations` more surface operations and runs on to the
    // next, where it stops before making it, as a fiber waits at the first
    // operation beyond those let through; or runs to the end, or until
    // paused: whether the routine has ended.
    bool resume(long long operations);
    bool ended() const { return m_ended; }
    // Stops the machine at the end of the turn of a loop under way, as it
    // stops before an operation, so that resume() returns: for a LoopWatch
    // to call from its look() while the machine runs.
    void pause() noexcept { m_pausing = true; }

    // Works out one instruction that neither draws, jumps nor calls on
    // `slots`: false, leaving them as they were, when it would fail.
    static bool evaluate(const Instruction &instruction, RoutineSlot *slots);

private:
    struct Frame
    {
        const Instruction *returnTo;
        std::uint32_t base;
        // The calls made to reach it, itself and those inlined or made
        // again in its frame counted: the drawing function's is 1.
        std::uint32_t depth;
        std::uint16_t result;
    };

    struct Loop
    {
        double value, end, step;
        int colour, change, stop, pass, passes;
        bool up, mayStall;
        std::uint32_t loop;
        LoopRecorder::Scope *recorded; // while it records, nullptr beyond the recorder's depth
    };

    // The sine and cosine of an angle, as sincos gives them, kept by the
    // angle's bits.
    struct SineCosine
    {
        std::uint64_t bits = 0; // of +0, whose sine and cosine these are
        double sine = 0.0, cosine = 1.0;
    };
    // A drawing's angles come round again and again: each turn of an outer
    // loop sweeps the same angles as the turn before, bit for bit, and
    // their sine and cosine are worked out once a drawing where each has a
    // place of its own. Places for several times as many angles as a sweep
    // round a circle takes, so that few share one.
    static constexpr int kKeptAngleBits = 8;
    // A drawing whose angles do not come round, as a sweep of more angles
    // than the places, misses every time: past this many misses the
    // machine works out each sine and cosine as it comes, and keeps none.
    static constexpr std::uint32_t kAngleMissesKept = 4096;

    RoutineMachine(const RoutineProgram &program, DrawingSurface *surface);

    // A call, or a turn standing for one, beyond kMaxCallDepth.
    [[noreturn, gnu::cold]] static void failTooDeep();

    // sincos(x), from those kept where it is.
    void sineAndCosine(double x, double &sine, double &cosine);

    // Runs m_code from `ip` on, in the frame at `s`.
    bool run(const Instruction *ip, RoutineSlot *s);
    LoopSite site(std::uint32_t loop) const;
    void record(std::size_t depth);
    void forgetRecorded();
    // Makes the stack hold at least `slots`: the running function's slots,
    // where they are then.
    [[gnu::noinline]] RoutineSlot *grow(std::size_t slots);

    const RoutineProgram &m_program;
    // The program's code, each instruction given the addresses of its
    // operation's code and of its jump's target the first time it runs.
    std::vector<Instruction> m_code;
    bool m_prepared = false;
    DrawingSurface *m_surface;
#ifdef __EMSCRIPTEN__
    // The surface when it is a raster, whose points the machine plots with
    // no virtual call: in WebAssembly such a call is checked against the
    // function's type, and its Status comes back through memory. On the
    // desktop the virtual call was the quicker (docs/web.md).
    RasterSurface *m_raster = nullptr;
#endif
    std::vector<RoutineSlot> m_stack;
    // The frames of the calls under way, m_frame the innermost, none once
    // the routine has ended; as many as the deepest calls may be.
    std::vector<Frame> m_frames;
    Frame *m_frame = nullptr;
    std::vector<Loop> m_loops;
    std::array<std::optional<LoopRecorder::Scope>, LoopState::kMaxDepth> m_recorded;
    std::array<SineCosine, 1 << kKeptAngleBits> m_angles{};
    std::uint32_t m_angleMisses = 0;
    std::uint32_t m_ip = 0;
    long long m_left = 0;
    bool m_ended = false;
    bool m_pausing = false;
};

} // namespace sweepdraw
