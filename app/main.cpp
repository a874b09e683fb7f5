#include "CommandLine.h"
#include "Form1.h"
#include "Translations.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

using namespace sweepdraw;

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("sweepdraw"));
    QCoreApplication::setApplicationVersion(QStringLiteral(SWEEPDRAW_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineRequest request = parseCommandLine(arguments);
    if (request.endWith)
        return *request.endWith;
    const Options &options = request.options;
    if (const std::optional<ExitStatus> refused = choosePlatform(options))
        return *refused;
    allowSyntheticBoldAtAnySize();

    QApplication app(argc, argv);
    installTranslations();
    QGuiApplication::setDesktopFileName(QStringLiteral(SWEEPDRAW_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sweepdraw.png")));

    Form1 form;
    warnOfMissingFonts(form);
    form.setSpeed(options.speed);
    if (options.offScreen())
        return *runStartupCommands(form, options);

    // The window's end leaves the event loop with its status, which main
    // returns.
    QObject::connect(&form, &Form1::ended, &app, &QCoreApplication::exit);
    form.setErrorDialogs(true);
    form.show();
    QTimer::singleShot(0, &form, [&] { runStartupCommands(form, options); });
    return app.exec();
}
