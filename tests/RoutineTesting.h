#pragma once

#include "CompiledRoutine.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

namespace sweepdraw::test {

// The lines before a routine's body in the sources written here: the body
// starts on line 7.
inline const QByteArray kRoutineHead = "#include \"DrawingSurface.h\"\n"
                                       "#include \"Palette.h\"\n"
                                       "#include \"Sweep.h\"\n"
                                       "namespace sweepdraw {\n"
                                       "void DrawTest(DrawingSurface &surface)\n"
                                       "{\n";
inline const QByteArray kRoutineTail = "}\n}\n";

inline CompiledRoutine compiled(const std::variant<CompiledRoutine, RoutineMessage> &result)
{
    if (const auto *message = std::get_if<RoutineMessage>(&result))
        qFatal("refused: %s", message->format("test.cpp").c_str());
    return std::get<CompiledRoutine>(result);
}

// The routine whose body is `body`, in test.cpp.
inline CompiledRoutine routineOf(const QByteArray &body)
{
    return compiled(CompiledRoutine::compile("test.cpp", (kRoutineHead + body + kRoutineTail).toStdString()));
}

#ifdef SWEEPDRAW_SCENES_DIR
// The text of the file `name` of scenes/, with `from` replaced by `to`, as
// a learner edits it.
inline QString sceneWith(const QString &name, const QString &from, const QString &to)
{
    QFile file(QStringLiteral(SWEEPDRAW_SCENES_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(name));
    return QString::fromUtf8(file.readAll()).replace(from, to);
}
#endif

} // namespace sweepdraw::test
