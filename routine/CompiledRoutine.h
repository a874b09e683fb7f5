#pragma once

#include "RoutineOutline.h"

#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace sweepdraw {

class DrawingSurface;

// Why a routine file is refused: where, counted from 1 (0 when the fault is
// the file's as a whole), and what is wrong.
struct RoutineMessage
{
    int line = 0;
    int column = 0;
    std::string what;

    // As compilers write it, so that editors can jump to it:
    // "FILE:LINE:COLUMN: error: what", one line safe to print
    // (escapeForMessage).
    std::string format(const std::string &fileName) const;
};

struct RoutineProgram;

// A drawing routine read from a C++ file of the scenes' own shape, checked
// and compiled once, and then run as often as wanted.
//
// A file is accepted only when it is a C++ file that compiles against the
// drawing core and makes the very calls it will make here: its includes are
// the scenes', it defines one drawing function in namespace sweepdraw, and
// its body is made of the surface's five operations each passed to check(),
// ColourPass and Sweep loops with a lambda body, and named int and double
// constants, computed with the arithmetic and the few <cmath> functions the
// scenes use. Values take C++'s types and conversions; the loops are the
// core's own Sweep and ColourPass, and record on the active LoopRecorder
// with this file's name and their lines.
//
// Anything else is refused before anything runs, with the first fault's
// line and column: so is a file over kMaxSize bytes, one that is not UTF-8,
// and one nested deeper than kMaxNesting.
class CompiledRoutine final
{
public:
    static constexpr std::size_t kMaxSize = 64 * 1024;
    static constexpr int kMaxNesting = 64;

    using Loop = RoutineLoop;
    using Call = RoutineCall;

    // The routine `text` holds, read from `fileName`, or why it is refused.
    static std::variant<CompiledRoutine, RoutineMessage> compile(std::string fileName, std::string_view text);

    // The routine in the file at `path`, or why it cannot be read (see
    // readRoutineFile: "cannot be read: " and the reason) or is refused.
    static std::variant<CompiledRoutine, RoutineMessage> compileFile(const std::string &path);

    // Draws on `surface`. Throws RuntimeError, "FILE:LINE: error: what",
    // naming the line of the operation, loop or conversion that failed, as
    // soon as one fails, leaving what was drawn before.
    void run(DrawingSurface &surface) const;

    const std::string &fileName() const;
    const std::string &functionName() const; // "DrawSunshine"
    const std::string &source() const;
    // Outermost first, in the order they are written.
    const std::vector<Loop> &loops() const;
    // Every call of a surface operation, in the order they are written.
    const std::vector<Call> &calls() const;

private:
    explicit CompiledRoutine(std::shared_ptr<const RoutineProgram> program);

    std::shared_ptr<const RoutineProgram> m_program;
};

} // namespace sweepdraw
