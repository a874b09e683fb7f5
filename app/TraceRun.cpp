#include "TraceRun.h"

#include "CommandLine.h"
#include "ErrorLine.h"
#include "ExitSignals.h"
#include "FileWriter.h"
#include "RuntimeErrorLine.h"
#include "RuntimeError.h"
#include "TraceSurface.h"

#include <cstdio>

namespace sweepdraw {

namespace {

class StandardOutput final : public TraceSurface::Writer
{
public:
    void write(std::string_view lines) override
    {
        std::fwrite(lines.data(), 1, lines.size(), stdout);
        std::fflush(stdout);
    }
};

class FileOutput final : public TraceSurface::Writer
{
public:
    explicit FileOutput(FileWriter &file)
        : m_file(file)
    { }

    // A failed write is kept by the file, and reported when it is committed.
    void write(std::string_view lines) override { (void)m_file.write(lines.data(), static_cast<qint64>(lines.size())); }

private:
    FileWriter &m_file;
};

// Runs the commands on `surface`: whether they all ran to their end.
bool runAll(const Options &options, TraceSurface &surface)
{
    try {
        for (const Runnable &command : options.commands) {
            if (command.hasAction())
                command.draw(surface);
            SignalWatch::check();
        }
        surface.flush();
        return true;
    } catch (const RuntimeError &error) {
        surface.flush();
        writeRuntimeError(error, true);
        return false;
    }
}

} // namespace

ExitStatus writeTrace(const Options &options)
{
    SignalWatch watch;
    const LoopWatch::Activation watching(&watch);
    StepBudget budget(options.steps);
    const LoopWatch::Activation budgeting(&budget);
    if (options.tracePath == QLatin1String("-")) {
        StandardOutput output;
        TraceSurface surface(output);
        try {
            return runAll(options, surface) ? ExitOk : ExitFailure;
        } catch (const EndedBySignal &ended) {
            return ExitSignals::statusFor(ended.signal);
        }
    }
    FileWriter file(options.tracePath);
    if (!file.open()) {
        printError(QStringLiteral("cannot trace to %1: %2").arg(options.tracePath, file.errorString()));
        return ExitFailure;
    }
    FileOutput output(file);
    TraceSurface surface(output);
    bool ran = false;
    try {
        ran = runAll(options, surface);
    } catch (const EndedBySignal &ended) {
        file.cancel();
        return ExitSignals::statusFor(ended.signal);
    }
    if (!file.commit()) {
        printError(QStringLiteral("cannot trace to %1: %2").arg(options.tracePath, file.errorString()));
        return ExitFailure;
    }
    return ran ? ExitOk : ExitFailure;
}

} // namespace sweepdraw
