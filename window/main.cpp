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
    const Options options = parseCommandLine(arguments);
    choosePlatform(options);

    QApplication app(argc, argv);
    installTranslations();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.sweepdraw.Sweepdraw"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sweepdraw.png")));

    Form1 form;
    warnOfMissingFonts(form);
    form.setSpeed(options.speed);
    QObject::connect(&form, &Form1::ended, &app, &QCoreApplication::exit);
    if (!options.savePath.isEmpty())
        return runStartupCommands(form, options);

    form.setErrorDialogs(true);
    form.show();
    QTimer::singleShot(0, &form, [&] { runStartupCommands(form, options); });
    return app.exec();
}
