#pragma once

#include "Pace.h"
#include "RuntimeError.h"

#include <chrono>
#include <functional>
#include <optional>

namespace sweepdraw {

class DrawingSurface;
class LoopRecorder;
class LoopState;

// What a drawing command does: draws on a surface, and throws RuntimeError
// when it cannot go on.
using Action = std::function<void(DrawingSurface &)>;

// Runs `action` on `surface` in one go, with the upper vector state cleared
// first: why it failed, if it did.
std::optional<RuntimeError> runAtOnce(const Action &action, DrawingSurface &surface);

// A drawing landed on its target a piece at a time, on the calling thread:
// each land() lets so many more operations through and returns once they
// have landed, exactly as the drawing makes them, one by one and in order,
// and the drawing waits where it is until the next land(). Nothing runs
// concurrently, so nothing needs a lock; between two land()s, anything else
// may draw on the target.
//
// A deadline holds however little the drawing draws: while land() runs,
// the drawing's loops are watched (LoopWatch), and once the deadline has
// passed it waits at the next look, between two operations, as it waits
// after the last operation let through.
//
// Where the drawing is at the last operation to land before it waits, its
// loops and its point, is noted on the recorder it was given, if any, whose
// loops it records on (see LoopRecorder); and at a look once the deadline
// has passed, wherever its loops are then.
//
// A drawing that throws RuntimeError has landed what it drew before; it is
// then finished, and the failure is kept. Any other exception, such as a
// loop watch's that ends the program, finishes it too, and land() throws it
// on. Destroying a drawing part way leaves the target as it is, and it must
// still be there.
//
// Two ways implement it: RoutineDrawing runs routines on their interpreter,
// which stops between any two operations by itself, everywhere;
// FiberDrawing runs any other action on a fiber of its own, where the
// build has fibers (the desktop's, with Boost.Context). drawInPieces()
// (DrawInPieces.h) picks the way for a command.
class PiecewiseDrawing
{
public:
    // The clock reading after which no more operations are let through.
    struct Deadline
    {
        const Clock *clock;
        std::chrono::nanoseconds at;

        // `when` on `clock`, if there is one.
        static std::optional<Deadline> on(const Clock &clock, std::optional<std::chrono::nanoseconds> when)
        {
            return when ? std::optional(Deadline{&clock, *when}) : std::nullopt;
        }
        bool passed() const { return (*clock)() >= at; }
    };

    // Operations let through between two looks at a deadline's clock.
    static constexpr long long kBatch = 1024;

    // Whether to stop after the operation about to land, told where the
    // drawing is at it.
    using Stop = std::function<bool(const LoopState &)>;

    virtual ~PiecewiseDrawing() = default;

    PiecewiseDrawing(const PiecewiseDrawing &) = delete;
    PiecewiseDrawing &operator=(const PiecewiseDrawing &) = delete;

    // Lets up to `operations` more through, none once the clock reads the
    // deadline, and returns when they have landed, the time is up, or the
    // drawing has finished: how many landed. The upper vector state is
    // cleared before the drawing goes on.
    virtual long long land(long long operations, std::optional<Deadline> deadline = std::nullopt) = 0;
    // The same, one operation at a time, stopping after the first for which
    // `stop` is true; the drawing must have been given its recorder.
    virtual long long landUntil(long long operations, const Stop &stop,
                                std::optional<Deadline> deadline = std::nullopt) = 0;

    virtual bool finished() const = 0;
    virtual const std::optional<RuntimeError> &failure() const = 0;
    // Operations that have landed on the target so far.
    virtual long long landed() const = 0;

protected:
    PiecewiseDrawing() = default;

    // The operation about to land is the last let through, a point at
    // (x, y) or, with `point` false, any other operation: notes where the
    // drawing is on `points`, if given, and tells whether `stop`, if given,
    // is true of it.
    static bool noteLast(LoopRecorder *points, const Stop *stop, bool point, float x, float y);
};

} // namespace sweepdraw
