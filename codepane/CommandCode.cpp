#include "CommandCode.h"

#include "CompiledRoutine.h"
#include "SceneFile.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace sweepdraw {

CommandCode::CommandCode(const Command &command)
{
    m_operations = tallyOf(command.button).operations;
    const char *path = sceneFileOf(command.button);
    if (!path)
        return;
    m_fileName = QFileInfo(QString::fromUtf8(path)).fileName();
    QFile file(QStringLiteral(":/scenes/") + m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = file.readAll();
    m_source = QString::fromUtf8(text);
    // The scenes are written in the language routines are read in, and a
    // test holds them to it; one that were not would show without loops.
    const auto compiled = CompiledRoutine::compile(m_fileName.toStdString(), text.toStdString());
    if (const auto *routine = std::get_if<CompiledRoutine>(&compiled))
        learn(*routine);
}

CommandCode::CommandCode(const CompiledRoutine &routine, long long operations)
    : m_fileName(QFileInfo(QString::fromStdString(routine.fileName())).fileName())
    , m_source(QString::fromStdString(routine.source()))
    , m_operations(operations)
{
    learn(routine);
}

void CommandCode::learn(const CompiledRoutine &routine)
{
    for (const RoutineLoop &loop : routine.loops())
        m_loops.emplace(loop.firstLine, loop);
    m_calls = routine.calls();
}

const RoutineLoop *CommandCode::loopAt(int line) const
{
    const auto found = m_loops.find(line);
    return found == m_loops.end() ? nullptr : &found->second;
}

int CommandCode::loopRound(int line) const
{
    // By first line, so the last that holds it is the innermost.
    int innermost = 0;
    for (const auto &[first, loop] : m_loops)
        if (first <= line && line <= loop.lastLine)
            innermost = first;
    return innermost;
}

int CommandCode::lineCalling(std::string_view operation, int loopLine) const
{
    const RoutineLoop *loop = loopAt(loopLine);
    int within = 0;
    for (auto call = m_calls.rbegin(); call != m_calls.rend(); ++call) {
        if (call->operation != operation)
            continue;
        if (call->loopLine == loopLine)
            return call->line;
        // Loops nested deeper than are recorded are known by their
        // outermost unrecorded one's line.
        if (loop && within == 0 && loop->firstLine <= call->line && call->line <= loop->lastLine)
            within = call->line;
    }
    return within;
}

int CommandCode::lineOfCallOutsideLoops(int index) const
{
    for (const RoutineCall &call : m_calls)
        if (call.loopLine == 0 && index-- == 0)
            return call.line;
    return 0;
}

RunToStop CommandCode::stopAt(int line) const
{
    if (const int loop = loopRound(line))
        return {.loopLine = loop};
    // Outside every loop the routine runs straight down, so what runs next
    // from the line is the first call or outermost loop written on it or
    // after it.
    RunToStop next;
    int nextLine = std::numeric_limits<int>::max();
    int outside = 0;
    for (const RoutineCall &call : m_calls) {
        if (call.loopLine != 0)
            continue;
        if (call.line >= line) {
            next = {.callOutsideLoops = outside};
            nextLine = call.line;
            break;
        }
        ++outside;
    }
    // By first line, so the first loop on or after a line outside every
    // loop is an outermost one.
    for (const auto &[first, loop] : m_loops)
        if (first >= line)
            return first < nextLine ? RunToStop{.loopLine = first} : next;
    return next;
}

} // namespace sweepdraw
