#pragma once

#include "CommandRunner.h"
#include "Commands.h"
#include "ExitStatus.h"

#include <QList>
#include <QString>

#include <optional>

class QWidget;

namespace sweepdraw {

struct Options
{
    QList<Runnable> commands; // run in order after start-up
    QString savePath;       // empty: open the window, unless recording
    QString recordPath;     // empty: record nothing
    QString tracePath;      // empty: trace nothing; "-": standard output
    Speed speed = kDefaultSpeed; // the window's and a recording's; a saved picture is drawn at once

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
};

// Reads the program's options from its arguments, argv[0] included. For
// --help and --version, prints them and asks to end with ExitOk; for anything
// it cannot use, prints a one-line error and asks to end with ExitUsage. A
// routine file given to --run that is refused gets its message in the form
// compilers use, "FILE:LINE:COLUMN: error: what", and ExitUsage too.
// Works before any application object exists, so that the platform can
// still be chosen.
CommandLineRequest parseCommandLine(const QStringList &arguments);
// The same from the bytes the program was given, each decoded in the
// system's encoding; an argument that does not come back as the same bytes,
// and so could name no file as given, is refused with ExitUsage.
CommandLineRequest parseCommandLine(int argc, const char *const argv[]);

// Prints `message` on stderr as one line after the program's name, with
// control characters escaped.
void printError(const QString &message);

// Chooses the platform before the application starts: off-screen when the
// picture is only saved or recorded. When a window is wanted and there is no
// display for it, prints an error and returns ExitUsage, the status to end with.
std::optional<ExitStatus> choosePlatform(const Options &options);

class Form1;

// Prints one warning line on stderr when no installed font can draw some
// character of the captions of `window`'s labels and buttons: they would
// show as empty boxes, on the screen and in a saved picture alike. The
// program goes on either way.
void warnOfMissingFonts(const QWidget &window);

// Queues the commands on `form` as clicks would. With a path to record to,
// draws them instead on a stage of their own at the chosen speed, by a
// clock of their own, and records them there; with a path to save to, draws them (at once, unless recorded) and
// saves the window there; either way returns the status to end with, which
// for a signal to end that came meanwhile is the signal's (ExitSignals): the
// work hears it between its pieces and in the drawing's loops, and leaves
// no file half written. Without either, returns nothing, and the program
// goes on with its event loop.
std::optional<ExitStatus> runStartupCommands(Form1 &form, const Options &options);

} // namespace sweepdraw
