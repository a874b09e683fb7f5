#include "CommandCode.h"

#include "CompiledRoutine.h"
#include "SceneFile.h"

#include <QFile>
#include <QFileInfo>

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
    m_lines = RoutineLines(routine.loops(), routine.calls());
}

} // namespace sweepdraw
