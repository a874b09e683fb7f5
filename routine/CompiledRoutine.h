#pragma once

#include "RoutineFault.h"
#include "RoutineOutline.h"

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sweepdraw {

class DrawingSurface;
class RoutineMachine;
struct RoutineProgram;

// A drawing routine read from a C++ file of the scenes' own shape, checked
// and compiled once, and then run as often as wanted.
//
// A file is accepted only when it is C++ that compiles with g++ against
// the drawing core and makes the very surface operations it makes here,
// bit for bit (docs/routines.md has the language): its includes are the
// scenes', and in namespace sweepdraw it defines constants and functions of
// its own, the last of them the drawing function, void and taking the
// drawing surface. Values take C++'s types, conversions and rounding; what
// C++ leaves undefined (an int overflow, a division by zero, a conversion
// out of range) is a run-time error here; Sweep and ColourPass are the
// core's own loops, checked by the core's own checks, and record on the
// active LoopRecorder with this file's name and their lines.
//
// Anything else is refused before anything runs, with the first fault's
// line and column: so is a file over kMaxSize bytes and one that is not
// UTF-8.
class CompiledRoutine final
{
public:
    static constexpr std::size_t kMaxSize = 64 * 1024;

    using Loop = RoutineLoop;
    using Call = RoutineCall;

    // The routine `text` holds, read from `fileName`, or why it is refused.
    static std::variant<CompiledRoutine, RoutineMessage> compile(std::string fileName, std::string_view text);

    // The routine in the file at `path`, or why it cannot be read
    // (RoutineFault::CannotRead and the reason, see readRoutineFile) or is
    // refused.
    static std::variant<CompiledRoutine, RoutineMessage> compileFile(const std::string &path);

    // Draws on `surface`, to the end. Throws RuntimeError, "FILE:LINE:
    // error: what", naming the line of the operation, loop or conversion
    // that failed, as soon as one fails, leaving what was drawn before.
    void run(DrawingSurface &surface) const;

    const std::string &fileName() const;
    const std::string &functionName() const; // "DrawSunshine"
    const std::string &source() const;
    // Outermost first, in the order they are written.
    const std::vector<Loop> &loops() const;
    // Every call of a surface operation, in the order they are written.
    const std::vector<Call> &calls() const;

private:
    friend class RoutineRun;

    explicit CompiledRoutine(std::shared_ptr<const RoutineProgram> program);

    std::shared_ptr<const RoutineProgram> m_program;
};

// One run of a routine on a surface, a piece at a time: it stops before
// any surface operation and goes on later where it stopped, with no fiber.
class RoutineRun final
{
public:
    RoutineRun(const CompiledRoutine &routine, DrawingSurface &surface);
    ~RoutineRun();
    RoutineRun(const RoutineRun &) = delete;
    RoutineRun &operator=(const RoutineRun &) = delete;

    // Makes up to `operations` more surface operations, none for 0, and
    // runs on to the next, where it stops before making it; or runs to the
    // end, or until paused: whether the routine has ended. Throws as
    // CompiledRoutine::run does, and has ended then.
    bool resume(long long operations);
    bool ended() const;
    // While it runs: stops it at the end of the turn of a loop under way,
    // for a LoopWatch's look() to call (see RoutineMachine::pause).
    void pause() noexcept;

private:
    std::shared_ptr<const RoutineProgram> m_program;
    std::unique_ptr<RoutineMachine> m_machine;
};

} // namespace sweepdraw
