#include "OffScreenRun.h"

#include "CommandLine.h"
#include "CommandRunner.h"
#include "ErrorLine.h"
#include "ExitSignals.h"
#include "FontCheck.h"
#include "ImageFile.h"
#include "Recording.h"
#include "RuntimeErrorLine.h"
#include "RunnerEvents.h"
#include "Stage.h"

namespace sweepdraw {

namespace {

ExitStatus failWrite(const char *what, const QString &path, const QString &reason)
{
    printError(QStringLiteral("cannot %1 %2: %3").arg(QLatin1String(what), path, reason));
    return ExitFailure;
}

// Draws the commands on `stage`'s picture at once, each without a fiber:
// why one failed, if one did.
std::optional<RuntimeError> drawAtOnce(Stage &stage, const QList<Runnable> &commands)
{
    struct Failure final : RunnerEvents
    {
        void stoppedByFailure(const RuntimeError &error) override { failure = error; }
        std::optional<RuntimeError> failure;
    } told;
    CommandRunner runner(stage.picture(), &told);
    for (const Runnable &command : commands)
        runner.enqueue(command);
    runner.runToEnd();
    return told.failure;
}

// The work itself, checking for a signal to end between its pieces.
ExitStatus writeFiles(Stage &stage, const Options &options)
{
    if (!options.recordPath.isEmpty()) {
        const std::optional<QString> error = recordAnimation(
            stage.picture(), [&stage] { return stage.render(); }, options.commands, options.speed,
            options.recordPath, [] { SignalWatch::check(); return false; });
        if (error)
            return failWrite("record", options.recordPath, *error);
        if (options.savePath.isEmpty())
            return ExitOk;
    } else if (const std::optional<RuntimeError> failure = drawAtOnce(stage, options.commands)) {
        writeRuntimeError(*failure, true);
        return ExitFailure;
    }
    SignalWatch::check();
    const std::optional<QString> error = saveImage(stage.render(), options.savePath);
    SignalWatch::check();
    return error ? failWrite("save", options.savePath, *error) : ExitOk;
}

} // namespace

ExitStatus runOffScreen(const Options &options)
{
    Stage stage(1.0);
    warnOfMissingFonts(stage);
    // A signal to end, between the steps of the work or in a drawing's
    // loops, ends it with the signal's status and leaves no file half
    // written.
    SignalWatch watch;
    const LoopWatch::Activation watching(&watch);
    StepBudget budget(options.steps);
    const LoopWatch::Activation budgeting(&budget);
    try {
        return writeFiles(stage, options);
    } catch (const EndedBySignal &ended) {
        return ExitSignals::statusFor(ended.signal);
    }
}

} // namespace sweepdraw
