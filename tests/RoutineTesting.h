#pragma once

#include "CompiledRoutine.h"

#include <QByteArray>
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

} // namespace sweepdraw::test
