#pragma once

#include "Commands.h"
#include "ExitStatus.h"
#include "Runnable.h"
#include "Fault.h"
#include "Speed.h"
#include "StepBudget.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace sweepdraw {

struct Options
{
    QList<Runnable> commands; // run in order after start-up
    // The files the program writes instead of opening the window: a picture
    // or a recording is drawn on a stage alone (OffScreenRun.h), a trace on a
    // surface that draws nothing (TraceRun.h).
    QString savePath;   // empty: save no picture
    QString recordPath; // empty: record nothing
    QString tracePath;  // empty: trace nothing; "-": standard output
    Speed speed = kDefaultSpeed; // the window's and a recording's; a saved picture is drawn at once
    long long steps = StepBudget::kDefault; // the turns of loops a run without a window takes; 0: any

    // Whether the program draws a picture only to write it to a file.
    bool drawsOffScreen() const { return !savePath.isEmpty() || !recordPath.isEmpty(); }
    // Whether the program only writes files, and opens no window.
    bool offScreen() const { return drawsOffScreen() || !tracePath.isEmpty(); }
};

// What the command line asks for: the options to run with, or, when
// `endWith` is set, that the program end at once with that status, having
// said all there was to say.
struct CommandLineRequest
{
    Options options;
    std::optional<ExitStatus> endWith;
    // A routine file given to --run that is refused, and why: for the caller
    // to print in the user's language (wordedRefusal) once the translations
    // are in, before it ends with ExitUsage.
    std::optional<std::pair<QString, FaultMessage>> refusedRoutine;
};

// Reads the program's options from its arguments, argv[0] included. For
// --help and --version, prints them and asks to end with ExitOk; for anything
// it cannot use, prints a one-line error and asks to end with ExitUsage. A
// routine file given to --run that is refused is handed back, with
// ExitUsage, for its message to be printed in the form compilers use,
// "FILE:LINE:COLUMN: error: what".
// Works before any application object exists, so that the platform can
// still be chosen.
CommandLineRequest parseCommandLine(const QStringList &arguments);
// The same from the bytes the program was given, each decoded in the
// system's encoding; an argument that does not come back as the same bytes,
// and so could name no file as given, is refused with ExitUsage.
CommandLineRequest parseCommandLine(int argc, const char *const argv[]);

} // namespace sweepdraw
