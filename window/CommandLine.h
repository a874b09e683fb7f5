#pragma once

#include "CommandRunner.h"
#include "Commands.h"

#include <QList>
#include <QString>

class QWidget;

namespace sweepdraw {

// Exit statuses of the program.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailure = 1, // a run-time error, or the picture or animation could not be written
    ExitUsage = 2,   // bad command line, or no display to open the window on
};

struct Options
{
    QList<Button> commands; // run in order after start-up
    QString savePath;       // empty: open the window, unless recording
    QString recordPath;     // empty: record nothing
    Speed speed = kDefaultSpeed; // the window's and a recording's; a saved picture is drawn at once

    // Whether the program only writes files, and opens no window.
    bool offScreen() const { return !savePath.isEmpty() || !recordPath.isEmpty(); }
};

// Reads the program's options from its arguments, argv[0] included. Prints
// the help or version and exits for --help and --version; prints a one-line
// error and exits with ExitUsage for anything it cannot use. Works before
// any application object exists, so that the platform can still be chosen.
Options parseCommandLine(const QStringList &arguments);

// Chooses the platform before the application starts: off-screen when the
// picture is only saved or recorded. Prints an error and exits with ExitUsage when a
// window is wanted and there is no display for it.
void choosePlatform(const Options &options);

class Form1;

// Prints one warning line on stderr when no installed font can draw some
// character of the captions of `window`'s labels and buttons: they would
// show as empty boxes, on the screen and in a saved picture alike. The
// program goes on either way.
void warnOfMissingFonts(const QWidget &window);

// Queues the commands on `form` as clicks would. With a path to record to,
// draws them at the form's speed by a clock of its own and records them
// there; with a path to save to, draws them (at once, unless recorded) and
// saves the window there. Returns the program's exit status, or -1 when the
// program should go on with its event loop.
int runStartupCommands(Form1 &form, const Options &options);

} // namespace sweepdraw
