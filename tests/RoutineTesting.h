#pragma once

#include "CompiledRoutine.h"
#include "FaultEnglish.h"
#include "RecordingSurface.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

#include <algorithm>
#include <bit>
#include <cstdint>

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

inline CompiledRoutine compiled(const std::variant<CompiledRoutine, FaultMessage> &result)
{
    if (const auto *message = std::get_if<FaultMessage>(&result))
        qFatal("refused: %s", inEnglish(*message, "test.cpp").c_str());
    return std::get<CompiledRoutine>(result);
}

// The routine whose body is `body`, in test.cpp.
inline CompiledRoutine routineOf(const QByteArray &body)
{
    return compiled(CompiledRoutine::compile("test.cpp", (kRoutineHead + body + kRoutineTail).toStdString()));
}

// Two values, or two recorded calls, alike to the last bit.
inline bool sameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

inline bool sameBits(const RecordingSurface::Call &a, const RecordingSurface::Call &b)
{
    return a.op == b.op && sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.x2, b.x2)
        && sameBits(a.y2, b.y2) && sameBits(a.radius, b.radius) && a.width == b.width && a.colour == b.colour;
}

inline bool sameCalls(const RecordingSurface &a, const RecordingSurface &b)
{
    return std::equal(a.calls().begin(), a.calls().end(), b.calls().begin(), b.calls().end(),
                      [](const RecordingSurface::Call &x, const RecordingSurface::Call &y) { return sameBits(x, y); });
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
