#include "CompiledRoutine.h"

#include "Emitter.h"
#include "Lexer.h"
#include "Parser.h"
#include "RoutineFile.h"
#include "RoutineMachine.h"
#include "RoutineProgram.h"

#include <climits>
#include <optional>

namespace sweepdraw {

namespace {

// The length of the valid UTF-8 sequence at `at`, or 0.
std::size_t utf8Length(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned first = byte(at);
    if (first < 0x80)
        return 1;
    const auto follows = [&](std::size_t i, unsigned low, unsigned high) {
        return byte(i) >= low && byte(i) <= high;
    };
    // The ranges of the well-formed sequences, which exclude overlong forms
    // and the surrogates.
    if (first >= 0xC2 && first <= 0xDF)
        return follows(at + 1, 0x80, 0xBF) ? 2 : 0;
    if (first >= 0xE0 && first <= 0xEF) {
        const unsigned low = first == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = first == 0xED ? 0x9F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2, 0x80, 0xBF) ? 3 : 0;
    }
    if (first >= 0xF0 && first <= 0xF4) {
        const unsigned low = first == 0xF0 ? 0x90 : 0x80;
        const unsigned high = first == 0xF4 ? 0x8F : 0xBF;
        return follows(at + 1, low, high) && follows(at + 2, 0x80, 0xBF) && follows(at + 3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

// Where the first byte that is not part of valid UTF-8 is, if any, the
// column counted in characters.
std::optional<std::pair<int, int>> firstInvalidUtf8(std::string_view text)
{
    int line = 1;
    int column = 1;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8Length(text, at);
        if (length == 0)
            return std::pair(line, column);
        if (text[at] == '\n') {
            ++line;
            column = 0;
        }
        ++column;
        at += length;
    }
    return std::nullopt;
}

} // namespace

CompiledRoutine::CompiledRoutine(std::shared_ptr<const RoutineProgram> program)
    : m_program(std::move(program))
{
}

std::variant<CompiledRoutine, RoutineMessage> CompiledRoutine::compile(std::string fileName, std::string_view text)
{
    if (text.size() > kMaxSize)
        return RoutineMessage{RoutineFault::TooLarge, {std::to_string(kMaxSize)}, 1, 1};
    if (const auto invalid = firstInvalidUtf8(text))
        return RoutineMessage{RoutineFault::NotUtf8, {}, invalid->first, invalid->second};
    auto program = std::make_shared<RoutineProgram>();
    program->fileName = std::move(fileName);
    program->source = std::string(text);
    try {
        const RoutineSource source(program->source);
        RoutineSyntax syntax;
        Parser(source, tokenize(source), syntax, *program).file();
        emitRoutine(syntax, *program);
    } catch (const RoutineRefusal &refusal) {
        return refusal.message;
    }
    return CompiledRoutine(std::move(program));
}

std::variant<CompiledRoutine, RoutineMessage> CompiledRoutine::compileFile(const std::string &path)
{
    auto read = readRoutineFile(path, kMaxSize);
    if (const auto *refused = std::get_if<FileRefusal>(&read))
        return RoutineMessage{RoutineFault::CannotRead, {refused->reason(kMaxSize)}, 0, 0};
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

} // namespace sweepdraw
