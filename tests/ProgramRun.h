#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
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
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer warns once, at the first switch to a fiber, that it
    // does not fully support them; whether that comes before the program is
    // signalled depends on the timing. The program's own lines are checked.
    static const QRegularExpression fiberWarning(
        QStringLiteral("==\\d+==WARNING: ASan doesn't fully support makecontext/swapcontext functions and may "
                       "produce false positives in some cases!\n?"));
    outcome.err = QString::fromLocal8Bit(outcome.err).remove(fiberWarning).toLocal8Bit();
#endif
    return outcome;
}

} // namespace sweepdraw::test
