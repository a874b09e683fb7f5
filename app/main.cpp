#include "CommandLine.h"
#include "ErrorLine.h"
#include "ExitSignals.h"
#include "FileWriter.h"
#include "FontCheck.h"
#include "Form1.h"
#include "OffScreenRun.h"
#include "Platform.h"
#include "FaultWords.h"
#include "TraceRun.h"
#include "Translations.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <new>

#include <unistd.h>

using namespace sweepdraw;

namespace {

// Qt is not exception safe: a std::bad_alloc thrown in its code may be
// thrown again by a destructor while the stack unwinds, and the program
// would abort. Out of memory, it says so and ends at once with its failure
// status, as it does when the exception reaches main(); the line is written
// without allocating.
void endOutOfMemory()
{
    static constexpr char kLine[] = "sweepdraw: out of memory\n";
    (void)!::write(STDERR_FILENO, kLine, sizeof kLine - 1);
    std::_Exit(ExitFailure);
}

// The status the program ends with when the window asks it to end.
ExitStatus statusFor(Form1::Ending how)
{
    return how == Form1::Ending::Failed ? ExitFailure : ExitOk;
}

int run(int argc, char *argv[])
{
    const CommandLineRequest request = parseCommandLine(argc, argv);
    if (request.refusedRoutine) {
        // Told in the user's language, which needs the translations in.
        QCoreApplication words(argc, argv);
        installTranslations();
        const auto &[file, message] = *request.refusedRoutine;
        std::fprintf(stderr, "%s\n", qPrintable(wordedRefusal(message, file)));
    }
    if (request.endWith)
        return *request.endWith;
    const Options &options = request.options;
    if (const std::optional<ExitStatus> refused = choosePlatform(!options.offScreen()))
        return *refused;
    allowSyntheticBoldAtAnySize();

    QApplication app(argc, argv);
    installTranslations();
    if (!options.tracePath.isEmpty()) {
        const ExitStatus traced = writeTrace(options);
        if (traced != ExitOk || !options.drawsOffScreen())
            return traced;
    }
    if (options.drawsOffScreen())
        return runOffScreen(options);
    QGuiApplication::setDesktopFileName(QStringLiteral(SWEEPDRAW_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sweepdraw.png")));

    Form1 form;
    warnOfMissingFonts(form);
    form.setSpeed(options.speed);
    // The window's end leaves the event loop with its status, which main
    // returns; a signal to end ends it as "退出" does, with the signal's status.
    QObject::connect(&form, &Form1::ended, &app, [](Form1::Ending how) { QCoreApplication::exit(statusFor(how)); });
    ExitSignals ending;
    QObject::connect(&ending, &ExitSignals::received, &form, [&form](int signal) {
        // No dialog holds a signal up: what cannot be kept is said on stderr.
        form.setErrorDialogs(false);
        form.RunCommand(Button::CmdExit);
        QCoreApplication::exit(ExitSignals::statusFor(signal));
    });
    form.setErrorDialogs(true);
    form.show();
    QTimer::singleShot(0, &form, [&] {
        for (const Runnable &command : options.commands)
            form.RunCommand(command);
    });
    return app.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    ExitSignals::install();
    std::set_new_handler(endOutOfMemory);
    QCoreApplication::setApplicationName(QStringLiteral("sweepdraw"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SWEEPDRAW_VERSION));
    try {
        return run(argc, argv);
    } catch (const std::bad_alloc &) {
        printError(outOfMemory());
        return ExitFailure;
    }
}
