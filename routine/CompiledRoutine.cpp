#include "CompiledRoutine.h"

#include "Emitter.h"
#include "Lexer.h"
#include "Parser.h"
#include "RoutineFile.h"
#include "RoutineMachine.h"
#include "RoutineProgram.h"

#include <climits>

namespace sweepdraw {

CompiledRoutine::CompiledRoutine(std::shared_ptr<const RoutineProgram> program)
    : m_program(std::move(program))
{
}

std::variant<CompiledRoutine, FaultMessage> CompiledRoutine::compile(std::string fileName, std::string_view text)
{
    if (text.size() > kMaxSize)
        return FaultMessage{FaultKind::TooLarge, {std::to_string(kMaxSize)}, 1, 1};
    if (const auto invalid = firstInvalidUtf8(text))
        return FaultMessage{FaultKind::NotUtf8, {}, invalid->first, invalid->second};
    auto program = std::make_shared<RoutineProgram>();
    program->fileName = std::move(fileName);
    program->source = std::string(text);
    // The tokens and the tree are scratch, emptied and kept from one
    // compile to the next on the thread: a large file then takes no fresh
    // memory from the system, whose first touch costs more than reading it.
    thread_local std::vector<Token> tokens;
    thread_local RoutineSyntax syntax;
    syntax.clear();
    try {
        const RoutineSource source(program->source);
        tokenize(source, tokens);
        Parser(source, tokens, syntax, *program).file();
        emitRoutine(syntax, *program);
    } catch (const RoutineRefusal &refusal) {
        return refusal.message;
    }
    return CompiledRoutine(std::move(program));
}

std::variant<CompiledRoutine, FaultMessage> CompiledRoutine::compileFile(const std::string &path)
{
    auto read = readRoutineFile(path, kMaxSize);
    if (const auto *refused = std::get_if<FileRefusal>(&read))
        return refused->fault(kMaxSize);
    return compile(path, std::get<std::string>(read));
}

void CompiledRoutine::run(DrawingSurface &surface) const
{
    RoutineMachine(*m_program, surface).resume(LLONG_MAX);
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

RoutineRun::RoutineRun(const CompiledRoutine &routine, DrawingSurface &surface)
    : m_program(routine.m_program)
    , m_machine(std::make_unique<RoutineMachine>(*m_program, surface))
{
}

RoutineRun::~RoutineRun() = default;

bool RoutineRun::resume(long long operations)
{
    return m_machine->resume(operations);
}

bool RoutineRun::ended() const
{
    return m_machine->ended();
}

void RoutineRun::pause() noexcept
{
    m_machine->pause();
}

} // namespace sweepdraw
