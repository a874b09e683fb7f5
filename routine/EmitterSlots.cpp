#include "EmitterParts.h"

#include "RoutineRefusal.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace sweepdraw::emitting {

void Emitter::function(std::uint32_t index)
{
    const FunctionSyntax &function = m_syntax.functions[index];
    m_index = index;
    const std::size_t start = m_program.code.size();
    try {
        emitFunction(function, true);
    } catch (const RoutineRefusal &) {
        // The slots of the functions inlined may be what makes the frame
        // too large: the function is refused only if it is so without.
        m_program.code.resize(start);
        m_inlined.clear();
        m_loops.clear();
        m_bodies.clear();
        emitFunction(function, false);
    }
}

void Emitter::emitFunction(const FunctionSyntax &function, bool inlining)
{
    m_name = &function;
    m_inlining = inlining;
    m_variables = function.variables;
    m_tempBase = 0;
    forgetConstants();
    m_pinned = 0;
    m_maxTemps = 0;
    const auto start = static_cast<std::uint32_t>(m_program.code.size());
    m_entry = label();
    statement(function.body);
    const std::size_t end = emit(function.result == Type::Void ? OpCode::ReturnVoid : OpCode::NoReturn, function.line);
    m_program.code[end].target = m_index;
    relocate(start);
    const int constants = static_cast<int>(m_constants.size());
    RoutineFunction made{.name = function.name,
                         .parameters = static_cast<int>(function.parameters.size()),
                         .slots = std::max(m_variables + constants + m_pinned + m_maxTemps, 3),
                         .firstConstant = m_variables,
                         .constants = m_constants,
                         .entry = start,
                         .line = function.line};
    if (made.slots > kMaxSlots)
        refuseTooLarge();
    m_program.functions.push_back(std::move(made));
}

std::size_t Emitter::emit(OpCode op, int line, int a, int b, int c, int d, int e)
{
    // Made where it goes: nearly a node of the tree is an instruction.
    Instruction &instruction = m_program.code.emplace_back();
    instruction.op = op;
    instruction.a = static_cast<std::uint16_t>(a);
    instruction.b = static_cast<std::uint16_t>(b);
    instruction.c = static_cast<std::uint16_t>(c);
    instruction.d = static_cast<std::uint16_t>(d);
    instruction.e = static_cast<std::uint16_t>(e);
    instruction.line = static_cast<std::uint32_t>(line);
    if (!m_pending.empty())
        forgetWritten(instruction);
    return m_program.code.size() - 1;
}

// Where a jump may land: no pairing reaches across it.
std::uint32_t Emitter::label()
{
    m_pending.clear();
    m_landing = m_program.code.size();
    return static_cast<std::uint32_t>(m_landing);
}

void Emitter::patch(std::size_t jump)
{
    m_program.code[jump].target = label();
}

void Emitter::patch(const std::vector<std::size_t> &jumps)
{
    for (const std::size_t jump : jumps)
        patch(jump);
}

void Emitter::forgetWritten(const Instruction &instruction)
{
    if (m_pending.empty())
        return;
    const std::array<int, 2> written = writtenBy(instruction);
    std::erase_if(m_pending, [&](const Pending &pending) {
        return pending.argument == written[0] || pending.argument == written[1];
    });
}

void Emitter::refuseTooLarge() const
{
    refuseRoutine(m_name->line, 1, FaultKind::FunctionTooLarge, {quotedForMessage(m_name->name)});
}

bool Emitter::isVariable(int slot) const
{
    return slot < m_variables || std::any_of(m_inlined.begin(), m_inlined.end(), [slot](const Inlined &inlined) {
               return slot >= inlined.first && slot < inlined.end;
           });
}

int Emitter::temp()
{
    const int slot = m_variables + m_temps++;
    m_maxTemps = std::max(m_maxTemps, m_temps);
    if (slot >= kPinned)
        refuseTooLarge();
    return slot;
}

int Emitter::constant(Type type, RoutineSlot value)
{
    // Each copy of a size known here, which the compiler makes a move.
    const bool wide = type == Type::Double || type == Type::Long;
    const auto copy = [wide](void *to, const RoutineSlot &from) {
        if (wide)
            std::memcpy(to, &from, 8);
        else
            std::memcpy(to, &from, 4);
    };
    std::uint64_t bits = 0;
    copy(&bits, value);
    const std::pair<int, std::uint64_t> key{static_cast<int>(type), bits};
    if (2 * (m_constantKeys.size() + 1) > m_constantPlaces.size())
        growConstantPlaces();
    ConstantPlace &place = constantPlace(key);
    if (place.stamp == m_stamp)
        return kConstants + static_cast<int>(place.constant);
    if (m_constants.size() + 1 >= kConstants)
        refuseTooLarge();
    place = {m_stamp, static_cast<std::uint32_t>(m_constants.size())};
    m_constantKeys.push_back(key);
    RoutineSlot clean{};
    copy(&clean, value);
    m_constants.push_back(clean);
    return kConstants + static_cast<int>(place.constant);
}

// Twice the places, or the first, with the constants of the function
// being emitted put in them again.
void Emitter::growConstantPlaces()
{
    std::vector<ConstantPlace> places(std::max<std::size_t>(64, 2 * m_constantPlaces.size()));
    m_constantPlaces.swap(places);
    for (std::size_t i = 0; i < m_constantKeys.size(); ++i)
        constantPlace(m_constantKeys[i]) = {m_stamp, static_cast<std::uint32_t>(i)};
}

void Emitter::forgetConstants()
{
    m_constants.clear();
    m_constantKeys.clear();
    if (++m_stamp == 0) {
        std::fill(m_constantPlaces.begin(), m_constantPlaces.end(), ConstantPlace{});
        m_stamp = 1;
    }
}

void Emitter::move(int to, int from, int line)
{
    if (to >= 0 && to != from)
        emit(OpCode::Move, line, to, from);
}

void Emitter::relocate(std::uint32_t start)
{
    const int constants = static_cast<int>(m_constants.size());
    // What a slot of each region, told by its top two bits, moves by: the
    // temps (but the variables below them), the pinned and the constants.
    static_assert(kPinned == 1 << 14 && kConstants == 2 << 14 && kMaxSlots < 4 << 14);
    const std::array<int, 4> moves = {constants + m_pinned, m_variables + constants - kPinned,
                                      m_variables - kConstants, m_variables - kConstants};
    const int variables = m_variables;
    const auto place = [&](std::uint16_t &slot) {
        const int v = slot;
        const int region = v >> 14;
        if (region != 0 || v >= variables)
            slot = static_cast<std::uint16_t>(v + moves[static_cast<std::size_t>(region)]);
    };
    // A call copies three slots whatever its callee's parameters, so every
    // frame has three; a call of itself copies those beyond its parameters
    // onto themselves.
    const auto parameters = static_cast<int>(m_name->parameters.size());
    const std::span<Instruction> code = std::span(m_program.code).subspan(start);
    for (Instruction &instruction : code) {
        for (std::uint16_t *const slot : {&instruction.a, &instruction.b, &instruction.c, &instruction.d, &instruction.e})
            place(*slot);
        if (instruction.op != OpCode::TailCall)
            continue;
        std::uint16_t *const copied[] = {&instruction.c, &instruction.d, &instruction.e};
        for (int p = parameters; p < 3; ++p)
            *copied[p] = static_cast<std::uint16_t>(p);
    }
}

} // namespace sweepdraw::emitting
