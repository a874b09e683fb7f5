#pragma once

#include "Commands.h"
#include "CommandRunner.h"
#include "RoutineOutline.h"

#include <QString>

#include <map>
#include <string_view>
#include <vector>

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

    // The loop called on `line`, counted from 1, or nullptr if there is none.
    const RoutineLoop *loopAt(int line) const;

    // The first line of the innermost loop whose call holds `line`, or 0.
    int loopRound(int line) const;

    // The line of the last call of `operation` ("PlotPoint") made directly
    // in the loop called on `loopLine`, or anywhere within it if none is; 0
    // if there is none.
    int lineCalling(std::string_view operation, int loopLine) const;

    // The line of the call outside every loop that the routine makes
    // `index`th there, counted from 0, or 0.
    int lineOfCallOutsideLoops(int index) const;

    // Where Run to the caret stops with the caret on `line`: at the next
    // value of the innermost loop round it; outside every loop, at the
    // first call or loop written on it or after it.
    RunToStop stopAt(int line) const;

private:
    void learn(const CompiledRoutine &routine);

    QString m_fileName;
    QString m_source;
    long long m_operations = 0;
    // The compiled routine's outline, kept for the pane's questions.
    std::map<int, RoutineLoop> m_loops; // by first line
    std::vector<RoutineCall> m_calls; // as written
};

} // namespace sweepdraw
