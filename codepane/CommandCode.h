#pragma once

#include "Commands.h"
#include "CommandRunner.h"
#include "RoutineLines.h"
#include "RunToStop.h"

#include <QString>

#include <string_view>

namespace sweepdraw {

class CompiledRoutine;

// What the code pane knows of the routine behind a command: the file it is
// written in, its text, how many surface operations it makes in all, and
// the loops and the surface operations' calls written in it.
//
// A scene is known from its command's tally (see tallyOf) and from its file
// (see sceneFileOf), which the build puts in the program's resources with
// every file of scenes/, read by the same parser as a routine read from a
// file. A command whose action has no loops of its own, as "清除", has no
// file and no source.
class CommandCode final
{
public:
    explicit CommandCode(const Command &command);
    CommandCode(const CompiledRoutine &routine, long long operations);

    const QString &fileName() const { return m_fileName; } // "Sunshine.cpp"
    const QString &source() const { return m_source; }
    long long operations() const { return m_operations; }

    // The questions the pane asks of the routine's lines (RoutineLines).
    const RoutineLoop *loopAt(int line) const { return m_lines.loopAt(line); }
    int loopRound(int line) const { return m_lines.loopRound(line); }
    int lineCalling(std::string_view operation, int loopLine) const
    {
        return m_lines.lineCalling(operation, loopLine);
    }
    int lineOfCallOutsideLoops(int index) const { return m_lines.lineOfCallOutsideLoops(index); }
    RunToStop stopAt(int line) const { return RunToStop::at(m_lines, line); }

private:
    void learn(const CompiledRoutine &routine);

    QString m_fileName;
    QString m_source;
    long long m_operations = 0;
    RoutineLines m_lines; // the compiled routine's, kept for the pane's questions
};

} // namespace sweepdraw
