#pragma once

#include "Commands.h"

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace sweepdraw {

class CompiledRoutine;

// What the code pane knows of the routine behind a command: the scene file
// it is written in, its text as compiled into the program, how many surface
// operations it makes in all, and the loops written in it.
//
// All of it is learnt from the command's tally (see tallyOf), and by
// reading the file its loops named from the program's resources, where the
// build puts every file of scenes/. A command whose action has no loops of
// its own, as "清除", has no file and no source. A routine read from a file
// is known from what its parser found instead.
class Routine final
{
public:
    // A loop as written: the line it is called on, the last line of its
    // call, and the name its body gives the counter.
    struct Loop
    {
        int firstLine = 0;
        int lastLine = 0;
        QString counter;
    };

    explicit Routine(const Command &command);
    Routine(const CompiledRoutine &routine, long long operations);

    const QString &fileName() const { return m_fileName; } // "Sunshine.cpp"
    const QString &source() const { return m_source; }
    long long operations() const { return m_operations; }

    // The loop called on `line`, counted from 1, or nullptr if there is none.
    const Loop *loopAt(int line) const;

    // The last line from `first` to `last` that plots a point, or 0.
    int plotLine(int first, int last) const;

private:
    void findLoops();

    QString m_fileName;
    QString m_source;
    long long m_operations = 0;
    std::map<int, Loop> m_loops; // by first line
    std::vector<int> m_plotLines; // in order
};

} // namespace sweepdraw
