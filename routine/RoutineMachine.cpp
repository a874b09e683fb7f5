#include "RoutineMachine.h"

#include "DrawingSurface.h"
#include "Library.h"
#include "LoopCheck.h"
#include "LoopWatch.h"
#include "MachineChecks.h"
#include "Palette.h"
#include "RoutineRefusal.h"
#include "RuntimeError.h"
#include "StepBudget.h"

#include <climits>
#include <cmath>

namespace sweepdraw {

using namespace machine;

namespace {

// Throws the exception being handled again; a run-time error that does not
// name its place yet, as one that names `line` of `file`.
[[noreturn]] void rethrowAt(const std::string &file, int line)
{
    try {
        throw;
    } catch (const StepBudget::Spent &spent) {
        throw RuntimeError({FaultKind::StepBudget, {std::to_string(spent.steps)}, line, 0}, file);
    } catch (const RuntimeError &error) {
        if (error.located())
            throw;
        FaultMessage message = error.message();
        message.line = line;
        throw RuntimeError(std::move(message), file);
    }
}

} // namespace

RoutineMachine::RoutineMachine(const RoutineProgram &program, DrawingSurface *surface)
    : m_program(program)
    , m_surface(surface)
{
}

RoutineMachine::RoutineMachine(const RoutineProgram &program, DrawingSurface &surface)
    : RoutineMachine(program, &surface)
{
    const RoutineFunction &drawing = program.functions.back();
    m_stack.resize(static_cast<std::size_t>(drawing.slots) + 64);
    std::copy(drawing.initial.begin(), drawing.initial.end(), m_stack.begin());
    m_frames.reserve(64);
    m_loops.reserve(16);
    m_frames.push_back({0, 0, static_cast<std::uint32_t>(program.functions.size() - 1), 0});
    m_ip = drawing.entry;
}

bool RoutineMachine::evaluate(const Instruction &instruction, RoutineSlot *slots)
{
    static const RoutineProgram none;
    RoutineMachine machine(none, nullptr);
    const Instruction code[2] = {instruction, {}};
    RoutineSlot result = slots[0];
    try {
        machine.run(code, code, slots);
        return true;
    } catch (const RuntimeError &) {
        slots[0] = result;
        return false;
    }
}

const RoutineSlot *RoutineMachine::slots() const
{
    return m_frames.empty() ? nullptr : m_stack.data() + m_frames.back().base;
}

int RoutineMachine::slotCount() const
{
    return m_frames.empty() ? 0 : m_program.functions[m_frames.back().function].slots;
}

bool RoutineMachine::resume(long long operations)
{
    if (m_ended)
        return true;
    m_left = operations < 0 ? 0 : operations;
    m_pausing = false;
    for (std::size_t depth = 0; depth < m_loops.size() && depth < m_recorded.size(); ++depth)
        record(depth);
    const Instruction *code = m_program.code.data();
    try {
        m_ended = run(code, code + m_ip, m_stack.data() + m_frames.back().base);
    } catch (...) {
        m_ended = true;
        forgetRecorded();
        rethrowAt(m_program.fileName, static_cast<int>(code[m_ip].line));
    }
    forgetRecorded();
    return m_ended;
}

LoopSite RoutineMachine::site(std::uint32_t loop) const
{
    return {m_program.fileName.c_str(), static_cast<std::uint_least32_t>(m_program.loops[loop].firstLine)};
}

void RoutineMachine::record(std::size_t depth)
{
    const Loop &loop = m_loops[depth];
    auto &scope = m_recorded[depth].emplace(site(loop.loop), loop.passes);
    m_loops[depth].recorded = &scope;
    if (loop.passes > 0)
        scope.setPass(loop.colour, loop.pass);
    else
        scope.set(loop.value);
}

void RoutineMachine::forgetRecorded()
{
    for (auto &scope : m_recorded)
        scope.reset();
    for (Loop &loop : m_loops)
        loop.recorded = nullptr;
}

bool RoutineMachine::run(const Instruction *code, const Instruction *ip, RoutineSlot *s)
{
    const auto surfaceMade = [&](Status status) {
        check(status);
        --m_left;
    };
    bool taken = false; // by a loop's test at the end of its turn
    try {
        for (;;) {
            const Instruction &in = *ip;
            // The emitter makes no other operation: the switch needs no
            // test of its range.
            if (in.op > OpCode::NoReturn)
                __builtin_unreachable();
            switch (in.op) {
            case OpCode::End: return true;
            case OpCode::Move: s[in.a] = s[in.b]; break;
            case OpCode::AddI:
                if (__builtin_add_overflow(s[in.b].i, s[in.c].i, &s[in.a].i)) [[unlikely]]
                    overflows(FaultKind::AdditionOverflows, "int");
                break;
            case OpCode::SubI:
                if (__builtin_sub_overflow(s[in.b].i, s[in.c].i, &s[in.a].i)) [[unlikely]]
                    overflows(FaultKind::SubtractionOverflows, "int");
                break;
            case OpCode::MulI:
                if (__builtin_mul_overflow(s[in.b].i, s[in.c].i, &s[in.a].i)) [[unlikely]]
                    overflows(FaultKind::MultiplicationOverflows, "int");
                break;
            case OpCode::DivI: s[in.a].i = divided(s[in.b].i, s[in.c].i, "int"); break;
            case OpCode::RemI: s[in.a].i = remainder(s[in.b].i, s[in.c].i, "int"); break;
            case OpCode::NegI:
                if (s[in.b].i == INT_MIN) [[unlikely]]
                    overflows(FaultKind::NegationOverflows, "int");
                s[in.a].i = -s[in.b].i;
                break;
            case OpCode::AddL:
                if (__builtin_add_overflow(s[in.b].l, s[in.c].l, &s[in.a].l)) [[unlikely]]
                    overflows(FaultKind::AdditionOverflows, "long");
                break;
            case OpCode::SubL:
                if (__builtin_sub_overflow(s[in.b].l, s[in.c].l, &s[in.a].l)) [[unlikely]]
                    overflows(FaultKind::SubtractionOverflows, "long");
                break;
            case OpCode::MulL:
                if (__builtin_mul_overflow(s[in.b].l, s[in.c].l, &s[in.a].l)) [[unlikely]]
                    overflows(FaultKind::MultiplicationOverflows, "long");
                break;
            case OpCode::DivL: s[in.a].l = divided(s[in.b].l, s[in.c].l, "long"); break;
            case OpCode::RemL: s[in.a].l = remainder(s[in.b].l, s[in.c].l, "long"); break;
            case OpCode::NegL:
                if (s[in.b].l == LLONG_MIN) [[unlikely]]
                    overflows(FaultKind::NegationOverflows, "long");
                s[in.a].l = -s[in.b].l;
                break;
            case OpCode::AddF: s[in.a].f = s[in.b].f + s[in.c].f; break;
            case OpCode::SubF: s[in.a].f = s[in.b].f - s[in.c].f; break;
            case OpCode::MulF: s[in.a].f = s[in.b].f * s[in.c].f; break;
            case OpCode::DivF: s[in.a].f = s[in.b].f / s[in.c].f; break;
            case OpCode::NegF: s[in.a].f = -s[in.b].f; break;
            case OpCode::AddD: s[in.a].d = s[in.b].d + s[in.c].d; break;
            case OpCode::SubD: s[in.a].d = s[in.b].d - s[in.c].d; break;
            case OpCode::MulD: s[in.a].d = s[in.b].d * s[in.c].d; break;
            case OpCode::DivD: s[in.a].d = s[in.b].d / s[in.c].d; break;
            case OpCode::NegD: s[in.a].d = -s[in.b].d; break;
            case OpCode::LtI: s[in.a].i = s[in.b].i < s[in.c].i; break;
            case OpCode::LeI: s[in.a].i = s[in.b].i <= s[in.c].i; break;
            case OpCode::EqI: s[in.a].i = s[in.b].i == s[in.c].i; break;
            case OpCode::NeI: s[in.a].i = s[in.b].i != s[in.c].i; break;
            case OpCode::LtL: s[in.a].i = s[in.b].l < s[in.c].l; break;
            case OpCode::LeL: s[in.a].i = s[in.b].l <= s[in.c].l; break;
            case OpCode::EqL: s[in.a].i = s[in.b].l == s[in.c].l; break;
            case OpCode::NeL: s[in.a].i = s[in.b].l != s[in.c].l; break;
            case OpCode::LtF: s[in.a].i = s[in.b].f < s[in.c].f; break;
            case OpCode::LeF: s[in.a].i = s[in.b].f <= s[in.c].f; break;
            case OpCode::EqF: s[in.a].i = s[in.b].f == s[in.c].f; break;
            case OpCode::NeF: s[in.a].i = s[in.b].f != s[in.c].f; break;
            case OpCode::LtD: s[in.a].i = s[in.b].d < s[in.c].d; break;
            case OpCode::LeD: s[in.a].i = s[in.b].d <= s[in.c].d; break;
            case OpCode::EqD: s[in.a].i = s[in.b].d == s[in.c].d; break;
            case OpCode::NeD: s[in.a].i = s[in.b].d != s[in.c].d; break;
            case OpCode::Not: s[in.a].i = !s[in.b].i; break;
            case OpCode::IntToLong: s[in.a].l = s[in.b].i; break;
            case OpCode::IntToFloat: s[in.a].f = static_cast<float>(s[in.b].i); break;
            case OpCode::IntToDouble: s[in.a].d = s[in.b].i; break;
            case OpCode::LongToInt: s[in.a].i = static_cast<int>(s[in.b].l); break;
            case OpCode::LongToFloat: s[in.a].f = static_cast<float>(s[in.b].l); break;
            case OpCode::LongToDouble: s[in.a].d = static_cast<double>(s[in.b].l); break;
            case OpCode::FloatToInt: s[in.a].i = checkedConversion<int>(s[in.b].f, "int"); break;
            case OpCode::FloatToLong: s[in.a].l = checkedConversion<long long>(s[in.b].f, "long"); break;
            case OpCode::FloatToDouble: s[in.a].d = s[in.b].f; break;
            case OpCode::DoubleToInt: s[in.a].i = checkedConversion<int>(s[in.b].d, "int"); break;
            case OpCode::DoubleToLong: s[in.a].l = checkedConversion<long long>(s[in.b].d, "long"); break;
            case OpCode::DoubleToFloat: s[in.a].f = static_cast<float>(s[in.b].d); break;
            case OpCode::IntToBool: s[in.a].i = s[in.b].i != 0; break;
            case OpCode::LongToBool: s[in.a].i = s[in.b].l != 0; break;
            case OpCode::FloatToBool: s[in.a].i = s[in.b].f != 0; break;
            case OpCode::DoubleToBool: s[in.a].i = s[in.b].d != 0; break;
            case OpCode::MinI: s[in.a].i = s[in.c].i < s[in.b].i ? s[in.c].i : s[in.b].i; break;
            case OpCode::MaxI: s[in.a].i = s[in.b].i < s[in.c].i ? s[in.c].i : s[in.b].i; break;
            case OpCode::MinF: s[in.a].f = s[in.c].f < s[in.b].f ? s[in.c].f : s[in.b].f; break;
            case OpCode::MaxF: s[in.a].f = s[in.b].f < s[in.c].f ? s[in.c].f : s[in.b].f; break;
            case OpCode::MinD: s[in.a].d = s[in.c].d < s[in.b].d ? s[in.c].d : s[in.b].d; break;
            case OpCode::MaxD: s[in.a].d = s[in.b].d < s[in.c].d ? s[in.c].d : s[in.b].d; break;
            case OpCode::AbsI:
                if (s[in.b].i == INT_MIN) [[unlikely]]
                    fail(FaultKind::AbsOfMinimum, {std::to_string(INT_MIN)});
                s[in.a].i = std::abs(s[in.b].i);
                break;
            case OpCode::MathF1: s[in.a].f = mathFunction(in.target).onFloat1(s[in.b].f); break;
            case OpCode::MathD1: s[in.a].d = mathFunction(in.target).onDouble1(s[in.b].d); break;
            case OpCode::MathF2: s[in.a].f = mathFunction(in.target).onFloat2(s[in.b].f, s[in.c].f); break;
            case OpCode::MathD2: s[in.a].d = mathFunction(in.target).onDouble2(s[in.b].d, s[in.c].d); break;
            case OpCode::SinCosF: sincosf(s[in.c].f, &s[in.a].f, &s[in.b].f); break;
            case OpCode::SinCosD: sincos(s[in.c].d, &s[in.a].d, &s[in.b].d); break;
            case OpCode::SinF: s[in.a].f = ::sinf(s[in.b].f); break;
            case OpCode::CosF: s[in.a].f = ::cosf(s[in.b].f); break;
            case OpCode::SinD: s[in.a].d = ::sin(s[in.b].d); break;
            case OpCode::CosD: s[in.a].d = ::cos(s[in.b].d); break;
            case OpCode::Palette: s[in.a].colour = PaletteColor(s[in.b].i); break;
            case OpCode::SetPenWidth:
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->SetPenWidth(s[in.a].i));
                break;
            case OpCode::PlotPoint:
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->PlotPoint(s[in.a].f, s[in.b].f, s[in.c].colour));
                break;
            case OpCode::PlotPointOfDoubles: {
                const Colour colour = PaletteColor(s[in.c].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(
                    m_surface->PlotPoint(static_cast<float>(s[in.a].d), static_cast<float>(s[in.b].d), colour));
                break;
            }
            case OpCode::DrawBox:
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawBox(s[in.a].f, s[in.b].f, s[in.c].f, s[in.d].f, s[in.e].colour));
                break;
            case OpCode::DrawCircle:
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawCircle(s[in.a].f, s[in.b].f, s[in.c].f, s[in.d].colour));
                break;
            case OpCode::ClearSurface:
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->ClearSurface());
                break;
            case OpCode::PlotPointOfPalette: {
                const Colour colour = PaletteColor(s[in.c].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->PlotPoint(s[in.a].f, s[in.b].f, colour));
                break;
            }
            case OpCode::DrawBoxOfPalette: {
                const Colour colour = PaletteColor(s[in.e].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawBox(s[in.a].f, s[in.b].f, s[in.c].f, s[in.d].f, colour));
                break;
            }
            case OpCode::DrawCircleOfPalette: {
                const Colour colour = PaletteColor(s[in.d].i);
                if (m_left == 0)
                    goto stop;
                surfaceMade(m_surface->DrawCircle(s[in.a].f, s[in.b].f, s[in.c].f, colour));
                break;
            }
            case OpCode::Jump: goto jump;
            case OpCode::JumpIfFalse:
                if (!s[in.a].i)
                    goto jump;
                break;
            case OpCode::JumpIfTrue:
                if (s[in.a].i)
                    goto jump;
                break;
            case OpCode::JumpUnlessLtI: if (!(s[in.a].i < s[in.b].i)) goto jump; break;
            case OpCode::JumpUnlessLeI: if (!(s[in.a].i <= s[in.b].i)) goto jump; break;
            case OpCode::JumpUnlessEqI: if (!(s[in.a].i == s[in.b].i)) goto jump; break;
            case OpCode::JumpUnlessNeI: if (!(s[in.a].i != s[in.b].i)) goto jump; break;
            case OpCode::JumpUnlessLtL: if (!(s[in.a].l < s[in.b].l)) goto jump; break;
            case OpCode::JumpUnlessLeL: if (!(s[in.a].l <= s[in.b].l)) goto jump; break;
            case OpCode::JumpUnlessEqL: if (!(s[in.a].l == s[in.b].l)) goto jump; break;
            case OpCode::JumpUnlessNeL: if (!(s[in.a].l != s[in.b].l)) goto jump; break;
            case OpCode::JumpUnlessLtF: if (!(s[in.a].f < s[in.b].f)) goto jump; break;
            case OpCode::JumpUnlessLeF: if (!(s[in.a].f <= s[in.b].f)) goto jump; break;
            case OpCode::JumpUnlessEqF: if (!(s[in.a].f == s[in.b].f)) goto jump; break;
            case OpCode::JumpUnlessNeF: if (!(s[in.a].f != s[in.b].f)) goto jump; break;
            case OpCode::JumpUnlessLtD: if (!(s[in.a].d < s[in.b].d)) goto jump; break;
            case OpCode::JumpUnlessLeD: if (!(s[in.a].d <= s[in.b].d)) goto jump; break;
            case OpCode::JumpUnlessEqD: if (!(s[in.a].d == s[in.b].d)) goto jump; break;
            case OpCode::JumpUnlessNeD: if (!(s[in.a].d != s[in.b].d)) goto jump; break;
            case OpCode::LoopBack: taken = true; goto loopTurn;
            case OpCode::LoopIfTrue: taken = s[in.a].i; goto loopTurn;
            case OpCode::LoopIfLtI: taken = s[in.a].i < s[in.b].i; goto loopTurn;
            case OpCode::LoopIfLeI: taken = s[in.a].i <= s[in.b].i; goto loopTurn;
            case OpCode::LoopIfEqI: taken = s[in.a].i == s[in.b].i; goto loopTurn;
            case OpCode::LoopIfNeI: taken = s[in.a].i != s[in.b].i; goto loopTurn;
            case OpCode::LoopIfLtL: taken = s[in.a].l < s[in.b].l; goto loopTurn;
            case OpCode::LoopIfLeL: taken = s[in.a].l <= s[in.b].l; goto loopTurn;
            case OpCode::LoopIfEqL: taken = s[in.a].l == s[in.b].l; goto loopTurn;
            case OpCode::LoopIfNeL: taken = s[in.a].l != s[in.b].l; goto loopTurn;
            case OpCode::LoopIfLtF: taken = s[in.a].f < s[in.b].f; goto loopTurn;
            case OpCode::LoopIfLeF: taken = s[in.a].f <= s[in.b].f; goto loopTurn;
            case OpCode::LoopIfEqF: taken = s[in.a].f == s[in.b].f; goto loopTurn;
            case OpCode::LoopIfNeF: taken = s[in.a].f != s[in.b].f; goto loopTurn;
            case OpCode::LoopIfLtD: taken = s[in.a].d < s[in.b].d; goto loopTurn;
            case OpCode::LoopIfLeD: taken = s[in.a].d <= s[in.b].d; goto loopTurn;
            case OpCode::LoopIfEqD: taken = s[in.a].d == s[in.b].d; goto loopTurn;
            case OpCode::LoopIfNeD: taken = s[in.a].d != s[in.b].d; goto loopTurn;
            case OpCode::SweepStart: {
                const double start = s[in.a].d, end = s[in.b].d, step = s[in.c].d;
                checkSweep(start, end, step, site(in.aux));
                const bool up = step > 0;
                if (up ? start > end : start < end) {
                    ip = code + in.target;
                    continue;
                }
                m_loops.push_back(
                    {start, end, step, 0, 0, 0, 0, 0, up, sweepMayStall(start, end, step), in.aux, nullptr});
                if (m_loops.size() <= m_recorded.size())
                    m_loops.back().recorded = &m_recorded[m_loops.size() - 1].emplace(site(in.aux));
                if (m_loops.back().recorded)
                    m_loops.back().recorded->set(start);
                s[in.d].d = start;
                if (LoopWatch::turn() && m_pausing) [[unlikely]] {
                    ++ip;
                    goto stop;
                }
                break;
            }
            case OpCode::SweepNext: {
                Loop &loop = m_loops.back();
                const double value =
                    loop.mayStall ? nextSweepValue(loop.value, loop.step, site(in.aux)) : loop.value + loop.step;
                if (loop.up ? value > loop.end : value < loop.end) [[unlikely]] {
                    if (loop.recorded)
                        m_recorded[m_loops.size() - 1].reset();
                    m_loops.pop_back();
                    break;
                }
                loop.value = value;
                if (loop.recorded)
                    loop.recorded->set(value);
                s[in.d].d = value;
                ip = code + in.target;
                if (LoopWatch::turn() && m_pausing) [[unlikely]]
                    goto stop;
                continue;
            }
            case OpCode::ColourStart: {
                const int first = s[in.a].i, change = s[in.b].i, stop = s[in.c].i;
                const int passes = colourPasses(first, change, stop, site(in.aux));
                m_loops.push_back({0, 0, 0, first, change, stop, 1, passes, false, false, in.aux, nullptr});
                if (m_loops.size() <= m_recorded.size())
                    m_loops.back().recorded = &m_recorded[m_loops.size() - 1].emplace(site(in.aux), passes);
                if (m_loops.back().recorded)
                    m_loops.back().recorded->setPass(first, 1);
                s[in.d].i = first;
                if (LoopWatch::turn() && m_pausing) [[unlikely]] {
                    ++ip;
                    goto stop;
                }
                break;
            }
            case OpCode::ColourNext: {
                Loop &loop = m_loops.back();
                loop.colour += loop.change;
                if (loop.colour == loop.stop) {
                    if (loop.recorded)
                        m_recorded[m_loops.size() - 1].reset();
                    m_loops.pop_back();
                    break;
                }
                ++loop.pass;
                if (loop.recorded)
                    loop.recorded->setPass(loop.colour, loop.pass);
                s[in.d].i = loop.colour;
                ip = code + in.target;
                if (LoopWatch::turn() && m_pausing) [[unlikely]]
                    goto stop;
                continue;
            }
            case OpCode::Call: {
                // The callee's frame begins at its arguments, where the
                // caller has put them, but for the first three, which it
                // may have left in slots of its own.
                if (m_frames.size() >= kMaxCallDepth) [[unlikely]]
                    fail(FaultKind::CallsTooDeep, {std::to_string(kMaxCallDepth)});
                const RoutineFunction &callee = m_program.functions[in.target];
                const std::uint32_t base = m_frames.back().base + in.a;
                if (m_stack.size() < base + static_cast<std::size_t>(callee.slots)) [[unlikely]] {
                    m_stack.resize((base + static_cast<std::size_t>(callee.slots)) * 2);
                    s = m_stack.data() + m_frames.back().base;
                }
                RoutineSlot *const frame = m_stack.data() + base;
                const std::uint16_t from[3] = {in.c, in.d, in.e};
                for (int i = 0; i < callee.parameters && i < 3; ++i)
                    frame[i] = s[from[i]];
                const RoutineSlot *const initial = callee.initial.data();
                for (std::size_t i = static_cast<std::size_t>(callee.parameters); i < callee.initial.size(); ++i)
                    frame[i] = initial[i];
                m_frames.push_back({static_cast<std::uint32_t>(ip + 1 - code), base, in.target, in.b});
                s = frame;
                ip = code + callee.entry;
                continue;
            }
            case OpCode::Return:
            case OpCode::ReturnVoid: {
                const RoutineSlot value = s[in.a];
                const Frame done = m_frames.back();
                m_frames.pop_back();
                if (m_frames.empty())
                    return true;
                s = m_stack.data() + m_frames.back().base;
                if (in.op == OpCode::Return)
                    s[done.result] = value;
                ip = code + done.returnTo;
                continue;
            }
            case OpCode::NoReturn:
                fail(FaultKind::NoReturnValue, {quotedForMessage(m_program.functions[m_frames.back().function].name)});
            }
            ++ip;
            continue;
        jump:
            ip = code + in.target;
            continue;
        loopTurn: {
            // The loop's turn is counted once its value is set for the
            // next, at the loop's test, whose line a failing watch names; a
            // pause stops it where it goes on.
            const bool looked = LoopWatch::turn();
            ip = taken ? code + in.target : ip + 1;
            if (looked && m_pausing) [[unlikely]]
                goto stop;
        }
        }
    stop:
        // At the first operation beyond those let through, or after the
        // turn of a loop: where the machine goes on.
        m_ip = static_cast<std::uint32_t>(ip - code);
        return false;
    } catch (...) {
        m_ip = static_cast<std::uint32_t>(ip - code);
        throw;
    }
}

} // namespace sweepdraw
