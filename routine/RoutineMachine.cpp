#include "RoutineMachine.h"

#include "MachineChecks.h"
#include "RasterSurface.h"
#include "RuntimeError.h"
#include "StepBudget.h"

#include <algorithm>

namespace sweepdraw {

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
    , m_code(program.code)
    , m_surface(surface)
{
#ifdef __EMSCRIPTEN__
    m_raster = dynamic_cast<RasterSurface *>(surface);
#endif
}

RoutineMachine::RoutineMachine(const RoutineProgram &program, DrawingSurface &surface)
    : RoutineMachine(program, &surface)
{
    const RoutineFunction &drawing = program.functions.back();
    m_stack.resize(std::max(static_cast<std::size_t>(drawing.slots) + 64, program.stackSlots));
    std::copy(drawing.constants.begin(), drawing.constants.end(), m_stack.begin() + drawing.firstConstant);
    m_frames.resize(kMaxCallDepth);
    m_loops.reserve(16);
    m_frames[0] = {nullptr, 0, 1, 0};
    m_frame = m_frames.data();
    m_ip = drawing.entry;
}

bool RoutineMachine::evaluate(const Instruction &instruction, RoutineSlot *slots)
{
    static const RoutineProgram none;
    RoutineMachine machine(none, nullptr);
    machine.m_code = {instruction, {}};
    RoutineSlot result = slots[0];
    try {
        machine.run(machine.m_code.data(), slots);
        return true;
    } catch (const RuntimeError &) {
        slots[0] = result;
        return false;
    }
}

void RoutineMachine::failTooDeep()
{
    machine::fail(FaultKind::CallsTooDeep, {std::to_string(kMaxCallDepth)});
}

bool RoutineMachine::resume(long long operations)
{
    if (m_ended)
        return true;
    m_left = operations < 0 ? 0 : operations;
    m_pausing = false;
    for (std::size_t depth = 0; depth < m_loops.size() && depth < m_recorded.size(); ++depth)
        record(depth);
    const Instruction *code = m_code.data();
    try {
        m_ended = run(code + m_ip, m_stack.data() + m_frame->base);
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

RoutineSlot *RoutineMachine::grow(std::size_t slots)
{
    m_stack.resize(slots * 2);
    return m_stack.data() + m_frame->base;
}

void RoutineMachine::forgetRecorded()
{
    for (auto &scope : m_recorded)
        scope.reset();
    for (Loop &loop : m_loops)
        loop.recorded = nullptr;
}

} // namespace sweepdraw
