#include "CompiledRoutine.h"

#include "DrawingSurface.h"
#include "LoopRecorder.h"
#include "MessageText.h"
#include "Palette.h"
#include "RoutineFile.h"
#include "RoutineProgram.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <climits>
#include <cmath>

namespace sweepdraw {

namespace {

// Converts as static_cast<int> does, for the values where C++ defines it.
int toInt(double value)
{
    if (!(value > static_cast<double>(INT_MIN) - 1 && value < static_cast<double>(INT_MAX) + 1)) [[unlikely]]
        throwRuntimeError("conversion to int: %g is outside the range of int", value);
    return static_cast<int>(value);
}

// Runs a program's instructions on its slots. `m_at` follows the last
// instruction that may fail, so that a failure names its line.
class Machine final
{
public:
    Machine(const RoutineProgram &program, DrawingSurface *surface, RoutineSlot *slots)
        : m_program(program)
        , m_surface(surface)
        , m_s(slots)
    {
    }

    const Instruction *at() const { return m_at; }

    void run(const Instruction *ip, const Instruction *end)
    {
        RoutineSlot *const s = m_s;
        for (; ip != end; ++ip) {
            const auto &a = ip->slot;
            switch (ip->op) {
            case OpCode::AddI:
                m_at = ip;
                if (__builtin_add_overflow(s[a[1]].i, s[a[2]].i, &s[a[0]].i)) [[unlikely]]
                    throwRuntimeError("int addition overflows");
                break;
            case OpCode::SubI:
                m_at = ip;
                if (__builtin_sub_overflow(s[a[1]].i, s[a[2]].i, &s[a[0]].i)) [[unlikely]]
                    throwRuntimeError("int subtraction overflows");
                break;
            case OpCode::MulI:
                m_at = ip;
                if (__builtin_mul_overflow(s[a[1]].i, s[a[2]].i, &s[a[0]].i)) [[unlikely]]
                    throwRuntimeError("int multiplication overflows");
                break;
            case OpCode::DivI:
                m_at = ip;
                if (s[a[2]].i == 0) [[unlikely]]
                    throwRuntimeError("int division by zero");
                if (s[a[2]].i == -1 && s[a[1]].i == INT_MIN) [[unlikely]]
                    throwRuntimeError("int division overflows");
                s[a[0]].i = s[a[1]].i / s[a[2]].i;
                break;
            case OpCode::NegI:
                m_at = ip;
                if (s[a[1]].i == INT_MIN) [[unlikely]]
                    throwRuntimeError("int negation overflows");
                s[a[0]].i = -s[a[1]].i;
                break;
            case OpCode::AddF: s[a[0]].f = s[a[1]].f + s[a[2]].f; break;
            case OpCode::SubF: s[a[0]].f = s[a[1]].f - s[a[2]].f; break;
            case OpCode::MulF: s[a[0]].f = s[a[1]].f * s[a[2]].f; break;
            case OpCode::DivF: s[a[0]].f = s[a[1]].f / s[a[2]].f; break;
            case OpCode::NegF: s[a[0]].f = -s[a[1]].f; break;
            case OpCode::AddD: s[a[0]].d = s[a[1]].d + s[a[2]].d; break;
            case OpCode::SubD: s[a[0]].d = s[a[1]].d - s[a[2]].d; break;
            case OpCode::MulD: s[a[0]].d = s[a[1]].d * s[a[2]].d; break;
            case OpCode::DivD: s[a[0]].d = s[a[1]].d / s[a[2]].d; break;
            case OpCode::NegD: s[a[0]].d = -s[a[1]].d; break;
            case OpCode::IntToFloat: s[a[0]].f = static_cast<float>(s[a[1]].i); break;
            case OpCode::IntToDouble: s[a[0]].d = static_cast<double>(s[a[1]].i); break;
            case OpCode::FloatToDouble: s[a[0]].d = static_cast<double>(s[a[1]].f); break;
            case OpCode::DoubleToFloat: s[a[0]].f = static_cast<float>(s[a[1]].d); break;
            case OpCode::FloatToInt:
                m_at = ip;
                s[a[0]].i = toInt(static_cast<double>(s[a[1]].f));
                break;
            case OpCode::DoubleToInt:
                m_at = ip;
                s[a[0]].i = toInt(s[a[1]].d);
                break;
            case OpCode::SinF: s[a[0]].f = std::sin(s[a[1]].f); break;
            case OpCode::SinD: s[a[0]].d = std::sin(s[a[1]].d); break;
            case OpCode::CosF: s[a[0]].f = std::cos(s[a[1]].f); break;
            case OpCode::CosD: s[a[0]].d = std::cos(s[a[1]].d); break;
            case OpCode::SinCosF: sincosf(s[a[2]].f, &s[a[0]].f, &s[a[1]].f); break;
            case OpCode::SinCosD: sincos(s[a[2]].d, &s[a[0]].d, &s[a[1]].d); break;
            case OpCode::TanF: s[a[0]].f = std::tan(s[a[1]].f); break;
            case OpCode::TanD: s[a[0]].d = std::tan(s[a[1]].d); break;
            case OpCode::SqrtF: s[a[0]].f = std::sqrt(s[a[1]].f); break;
            case OpCode::SqrtD: s[a[0]].d = std::sqrt(s[a[1]].d); break;
            case OpCode::FloorF: s[a[0]].f = std::floor(s[a[1]].f); break;
            case OpCode::FloorD: s[a[0]].d = std::floor(s[a[1]].d); break;
            case OpCode::AbsI:
                m_at = ip;
                if (s[a[1]].i == INT_MIN) [[unlikely]]
                    throwRuntimeError("std::abs: %d has no int magnitude", INT_MIN);
                s[a[0]].i = std::abs(s[a[1]].i);
                break;
            case OpCode::AbsF: s[a[0]].f = std::abs(s[a[1]].f); break;
            case OpCode::AbsD: s[a[0]].d = std::abs(s[a[1]].d); break;
            case OpCode::Atan2F: s[a[0]].f = std::atan2(s[a[1]].f, s[a[2]].f); break;
            case OpCode::Atan2D: s[a[0]].d = std::atan2(s[a[1]].d, s[a[2]].d); break;
            case OpCode::PowF: s[a[0]].f = std::pow(s[a[1]].f, s[a[2]].f); break;
            case OpCode::PowD: s[a[0]].d = std::pow(s[a[1]].d, s[a[2]].d); break;
            case OpCode::Palette:
                m_at = ip;
                s[a[0]].colour = PaletteColor(s[a[1]].i);
                break;
            case OpCode::SetPenWidth:
                m_at = ip;
                check(m_surface->SetPenWidth(s[a[0]].i));
                break;
            case OpCode::PlotPoint:
                m_at = ip;
                check(m_surface->PlotPoint(s[a[0]].f, s[a[1]].f, s[a[2]].colour));
                break;
            case OpCode::PlotPointOfDoubles: {
                m_at = ip;
                const Colour colour = PaletteColor(s[a[2]].i);
                check(m_surface->PlotPoint(static_cast<float>(s[a[0]].d), static_cast<float>(s[a[1]].d), colour));
                break;
            }
            case OpCode::DrawBox:
                m_at = ip;
                check(m_surface->DrawBox(s[a[0]].f, s[a[1]].f, s[a[2]].f, s[a[3]].f, s[a[4]].colour));
                break;
            case OpCode::DrawCircle:
                m_at = ip;
                check(m_surface->DrawCircle(s[a[0]].f, s[a[1]].f, s[a[2]].f, s[a[3]].colour));
                break;
            case OpCode::ClearSurface:
                m_at = ip;
                check(m_surface->ClearSurface());
                break;
            case OpCode::Sweep:
                ip = loop(ip, &RoutineSlot::d, [&](auto &&body, LoopSite where) {
                    sweepdraw::Sweep(s[a[0]].d, s[a[1]].d, s[a[2]].d, body, where);
                });
                break;
            case OpCode::ColourPass:
                ip = loop(ip, &RoutineSlot::i, [&](auto &&body, LoopSite where) {
                    sweepdraw::ColourPass(s[a[0]].i, s[a[1]].i, s[a[2]].i, body, where);
                });
                break;
            }
        }
    }

private:
    // Runs the loop at `ip` through the core's own loop, its body once for
    // every value the core gives the counter: the last instruction of the
    // body.
    template <typename Counter, typename CoreLoop>
    const Instruction *loop(const Instruction *ip, Counter RoutineSlot::*field, CoreLoop &&coreLoop)
    {
        const Instruction *const body = ip + 1;
        const Instruction *const end = m_program.code.data() + ip->end;
        RoutineSlot &counter = m_s[ip->slot[3]];
        m_at = ip;
        coreLoop(
            [&](Counter value) {
                counter.*field = value;
                run(body, end);
            },
            site(*ip));
        return end - 1;
    }

    LoopSite site(const Instruction &loop) const
    {
        return {m_program.fileName.c_str(), static_cast<std::uint_least32_t>(m_program.loops[loop.loop].firstLine)};
    }

    const RoutineProgram &m_program;
    DrawingSurface *m_surface; // none while the compiler folds values
    RoutineSlot *m_s;
    const Instruction *m_at = nullptr;
};

} // namespace

void runInstruction(const Instruction &instruction, RoutineSlot *slots)
{
    static const RoutineProgram none;
    Machine(none, nullptr, slots).run(&instruction, &instruction + 1);
}

std::string RoutineMessage::format(const std::string &fileName) const
{
    if (line == 0)
        return escapeForMessage(fileName + ": error: " + what);
    return escapeForMessage(fileName + ':' + std::to_string(line) + ':' + std::to_string(column) + ": error: " + what);
}

CompiledRoutine::CompiledRoutine(std::shared_ptr<const RoutineProgram> program)
    : m_program(std::move(program))
{
}

std::variant<CompiledRoutine, RoutineMessage> CompiledRoutine::compileFile(const std::string &path)
{
    auto read = readRoutineFile(path, kMaxSize);
    if (const auto *refused = std::get_if<FileRefusal>(&read))
        return RoutineMessage{0, 0, "cannot be read: " + refused->reason(kMaxSize)};
    return compile(path, std::get<std::string>(read));
}

void CompiledRoutine::run(DrawingSurface &surface) const
{
    const RoutineProgram &program = *m_program;
    std::vector<RoutineSlot> slots = program.initial;
    Machine machine(program, &surface, slots.data());
    try {
        machine.run(program.code.data(), program.code.data() + program.code.size());
    } catch (const LocatedError &) {
        throw;
    } catch (const RuntimeError &error) {
        const unsigned line = machine.at() ? machine.at()->line : 0;
        throw RuntimeError(program.fileName + ':' + std::to_string(line) + ": error: " + error.what());
    }
}

const std::string &CompiledRoutine::fileName() const
{
    return m_program->fileName;
}

const std::string &CompiledRoutine::functionName() const
{
    return m_program->functionName;
}

const std::string &CompiledRoutine::source() const
{
    return m_program->source;
}

const std::vector<CompiledRoutine::Loop> &CompiledRoutine::loops() const
{
    return m_program->loops;
}

const std::vector<CompiledRoutine::Call> &CompiledRoutine::calls() const
{
    return m_program->calls;
}

} // namespace sweepdraw
