#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>

namespace sweepdraw::test {

// Long enough for a picture drawn under the sanitizers; a run that takes
// longer is taken to hang.
constexpr int kProgramTimeoutMs = 120000;

struct Outcome
{
    bool finished = false;
    bool crashed = false;
    int status = -1; // -1 unless the program ended by itself
    QByteArray out;
    QByteArray err;
};

// Runs the program under test, SWEEPDRAW_EXECUTABLE or a copy of it, to its
// end; `whileRunning`, if given, is called on it once it has started.
inline Outcome runProgram(const QStringList &arguments,
                          const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
                          const QString &workingDirectory = {},
                          const QString &program = QStringLiteral(SWEEPDRAW_EXECUTABLE),
                          const std::function<void(QProcess &)> &whileRunning = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingDirectory);
    process.start(program, arguments);
    if (whileRunning && process.waitForStarted())
        whileRunning(process);
    Outcome outcome;
    outcome.finished = process.waitForFinished(kProgramTimeoutMs);
    if (!outcome.finished) {
        process.kill();
        process.waitForFinished();
    }
    outcome.crashed = process.exitStatus() != QProcess::NormalExit;
    if (outcome.finished && !outcome.crashed)
        outcome.status = process.exitCode();
    outcome.out = process.readAllStandardOutput();
    outcome.err = process.readAllStandardError();
    return outcome;
}

} // namespace sweepdraw::test
