#include "CommandLine.h"

#include "Form1.h"

#include <QAbstractButton>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QLabel>
#include <QPainter>
#include <QPluginLoader>
#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace sweepdraw {

namespace {

[[noreturn]] void failUsage(const QString &message)
{
    std::fprintf(stderr, "sweepdraw: %s\n", qPrintable(message));
    std::exit(ExitUsage);
}

QtMessageHandler g_defaultMessageHandler = nullptr;

// What a platform plugin's metadata gives as its interface, a version after it.
constexpr QLatin1StringView kPlatformInterface("org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface");

// The platforms Qt could load here, lower-case, read from the plugins'
// metadata without loading them, in the folders Qt looks in for them.
QStringList availablePlatforms()
{
    QStringList platforms;
    const auto addKeys = [&](const QJsonObject &metaData) {
        if (metaData.value(QLatin1StringView("IID")).toString().startsWith(kPlatformInterface))
            for (const QJsonValue key : metaData.value(QLatin1StringView("MetaData"))
                                            .toObject()
                                            .value(QLatin1StringView("Keys"))
                                            .toArray())
                platforms << key.toString().toLower();
    };
    for (const QStaticPlugin &plugin : QPluginLoader::staticPlugins())
        addKeys(plugin.metaData());
    QStringList folders = QCoreApplication::libraryPaths();
    for (QString &folder : folders)
        folder += QStringLiteral("/platforms");
    folders.prepend(qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"));
    for (const QString &folder : folders) {
        if (folder.isEmpty())
            continue;
        const QDir dir(folder);
        for (const QString &file : dir.entryList(QDir::Files))
            addKeys(QPluginLoader(dir.filePath(file)).metaData());
    }
    platforms.sort();
    platforms.removeDuplicates();
    return platforms;
}

// The platforms named in QT_QPA_PLATFORM, a list such as "wayland;xcb" of
// which each may carry options after a colon.
QStringList namedPlatforms()
{
    QStringList names;
    for (const QString &entry : qEnvironmentVariable("QT_QPA_PLATFORM").split(QLatin1Char(';'))) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

// The platforms named in QT_QPA_PLATFORM when none of them is among those
// `available`. Empty when the variable is unset or one of them could be
// loaded: then that one failed for want of a display.
QStringList missingPlatforms(const QStringList &available)
{
    const QStringList named = namedPlatforms();
    for (const QString &name : named)
        if (available.contains(name.toLower()))
            return {};
    return named;
}

// Whether Qt was to open the window on Wayland, but has no plugin for it
// here: Debian ships Qt's Wayland plugin in a package of its own. Without
// QT_QPA_PLATFORM, Qt tries Wayland first whenever WAYLAND_DISPLAY is set,
// then X11.
bool waylandPluginMissing(const QStringList &available)
{
    if (available.contains(QLatin1String("wayland")))
        return false;
    const QStringList named = namedPlatforms();
    if (named.isEmpty())
        return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    return std::ranges::any_of(named, [](const QString &name) {
        return name.startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
    });
}

QByteArray describeVariable(const char *name)
{
    const QByteArray value = qgetenv(name);
    return QByteArray(name) + (value.isEmpty() ? QByteArray(" unset") : "='" + value + "'");
}

// Qt aborts, and leaves a core dump, on a fatal error such as a display it
// cannot connect to. End with a plain message and a status instead.
void exitOnFatalMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_defaultMessageHandler(type, context, message);
        return;
    }
    if (QGuiApplication::primaryScreen() == nullptr) {
        // Qt says the same whether the platform asked for is not installed
        // or a display it needs does not answer; only the second is the
        // display's fault.
        const QStringList available = availablePlatforms();
        if (waylandPluginMissing(available)) {
            std::fprintf(stderr, "sweepdraw: cannot open the window: Qt's Wayland plugin is not installed (%s, %s); "
                                 "install qt6-wayland, or use X11 instead with QT_QPA_PLATFORM=xcb\n",
                         describeVariable("WAYLAND_DISPLAY").constData(), describeVariable("DISPLAY").constData());
            std::_Exit(ExitUsage);
        }
        const QStringList missing = missingPlatforms(available);
        if (!missing.isEmpty()) {
            std::fprintf(stderr, "sweepdraw: cannot open the window: the %s '%s' named in QT_QPA_PLATFORM "
                                 "could not be loaded; the platforms here are %s\n",
                         missing.size() == 1 ? "platform" : "platforms",
                         qPrintable(missing.join(QStringLiteral("', '"))),
                         qPrintable(available.join(QStringLiteral(", "))));
            std::_Exit(ExitUsage);
        }
        std::fprintf(stderr, "sweepdraw: cannot open the window: no display answers (%s, %s); use --save "
                             "FILE.png to draw without one\n",
                     describeVariable("DISPLAY").constData(), describeVariable("WAYLAND_DISPLAY").constData());
        std::_Exit(ExitUsage);
    }
    std::fprintf(stderr, "sweepdraw: %s\n", qPrintable(message.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(ExitFailure);
}

QString speedNames()
{
    QStringList names;
    for (const SpeedInfo &speed : kSpeeds)
        names << QString::fromLatin1(speed.name);
    return names.join(QStringLiteral(", "));
}

int failSave(const QString &path, const QString &reason)
{
    std::fprintf(stderr, "sweepdraw: cannot save %s: %s\n", qPrintable(path), qPrintable(reason));
    return ExitFailure;
}

// The formats Qt can write here, each also the suffix that names it:
// "jpg" and "jpeg" are both among them.
QString writableSuffixes()
{
    return QString::fromLatin1(QImageWriter::supportedImageFormats().join(", "));
}

// The format to save `path` in, as its suffix names it in any case; empty
// when the suffix is missing or names a format Qt cannot write.
QByteArray saveFormat(const QString &path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

// The whole client area, one pixel per 15 twips, whatever the screen.
QImage renderWindow(Form1 &form)
{
    QImage image(form.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    form.render(&image);
    return image.convertToFormat(QImage::Format_RGB32);
}

int saveWindow(Form1 &form, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failSave(path, file.errorString());
    QImageWriter writer(&file, saveFormat(path));
    if (!writer.write(renderWindow(form))) {
        file.cancelWriting();
        return failSave(path,
                        file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString());
    }
    if (!file.commit())
        return failSave(path, file.errorString());
    return ExitOk;
}

} // namespace

Options parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws mountains, flowing water, sunshine and a bridge, point by point."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption run(
        QStringLiteral("run"),
        QStringLiteral("Runs the comma-separated commands after start-up, as if their buttons were "
                       "clicked: %1, by name in any case or by caption. Given more than once, runs "
                       "all the lists in order.")
            .arg(commandNames().join(QStringLiteral(", "))),
        QStringLiteral("list"));
    const QCommandLineOption save(
        QStringLiteral("save"),
        QStringLiteral("Opens no window: runs the --run commands, writes the window to the file in "
                       "the format its suffix names (%1) and exits. Needs no display.")
            .arg(writableSuffixes()),
        QStringLiteral("file.suffix"));
    const QCommandLineOption speed(
        QStringLiteral("speed"),
        QStringLiteral("How fast the window draws: %1; %2 unless given, at which the sunshine "
                       "takes about 4 seconds. --save always draws at once.")
            .arg(speedNames(), QLatin1String(speedInfo(kDefaultSpeed).name)),
        QStringLiteral("speed"), QLatin1String(speedInfo(kDefaultSpeed).name));
    parser.addOption(run);
    parser.addOption(save);
    parser.addOption(speed);

    if (!parser.parse(arguments))
        failUsage(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        // Without an application object yet, the parser cannot name the
        // program itself.
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QCoreApplication::applicationName());
        std::fputs(qPrintable(help), stdout);
        std::exit(ExitOk);
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    if (!parser.positionalArguments().isEmpty())
        failUsage(QStringLiteral("unexpected argument '%1' (see --help)")
                      .arg(parser.positionalArguments().constFirst()));

    Options options;
    for (const QString &list : parser.values(run)) {
        for (const QString &entry : list.split(QLatin1Char(','))) {
            const QString name = entry.trimmed();
            const std::optional<Button> button = commandByName(name);
            if (!button)
                failUsage(QStringLiteral("unknown command '%1' in --run; the commands are %2")
                              .arg(name, commandNames().join(QStringLiteral(", "))));
            options.commands.push_back(*button);
        }
    }
    const std::optional<Speed> chosen = speedByName(parser.value(speed).toStdString());
    if (!chosen)
        failUsage(QStringLiteral("unknown speed '%1' for --speed; the speeds are %2")
                      .arg(parser.value(speed), speedNames()));
    options.speed = *chosen;
    if (parser.isSet(save)) {
        options.savePath = parser.value(save);
        if (options.savePath.isEmpty())
            failUsage(QStringLiteral("--save needs a file name"));
        if (QFileInfo(options.savePath).suffix().isEmpty())
            failUsage(QStringLiteral("--save: '%1' has no suffix to name its format; the suffixes that work are %2")
                          .arg(options.savePath, writableSuffixes()));
        if (saveFormat(options.savePath).isEmpty())
            failUsage(QStringLiteral("--save: the suffix of '%1' names no format the program can write; "
                                     "the suffixes that work are %2")
                          .arg(options.savePath, writableSuffixes()));
    }
    return options;
}

void choosePlatform(const Options &options)
{
    if (!options.savePath.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return;
    }
    g_defaultMessageHandler = qInstallMessageHandler(exitOnFatalMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        failUsage(QStringLiteral("no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
                                 "are unset); use --save FILE.png to draw without one"));
}

void warnOfMissingFonts(const QWidget &window)
{
    // Qt draws each character in the first of the widget's fonts, or of the
    // fonts fontconfig offers in their place, that has it, and draws an empty
    // box when none has. Asking each caption's own font about each of its
    // characters checks what the window will really show, the Kai faces the
    // layout asks for and every stand-in included, with no list of font
    // names to keep here; a font that covers the Chinese script in general
    // but lacks one of these characters is caught too.
    QString missing;
    const auto check = [&missing](const QWidget &widget, const QString &text) {
        const QFontMetrics metrics = widget.fontMetrics();
        for (const char32_t character : text.toUcs4()) {
            const QString one = QString::fromUcs4(&character, 1);
            if (!QChar::isSpace(character) && !metrics.inFontUcs4(character) && !missing.contains(one))
                missing += one;
        }
    };
    for (const QLabel *label : window.findChildren<QLabel *>())
        check(*label, label->text());
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        check(*button, button->text());
    if (!missing.isEmpty())
        std::fprintf(stderr, "sweepdraw: warning: no installed font has the characters %s of the captions; "
                             "install fonts-arphic-gkai00mp, fonts-arphic-ukai, or any CJK font such as "
                             "fonts-noto-cjk\n",
                     qPrintable(missing));
}

int runStartupCommands(Form1 &form, const Options &options)
{
    for (const Button button : options.commands)
        form.RunCommand(button);
    if (options.savePath.isEmpty())
        return -1;
    form.finishDrawing();
    if (form.isEnding())
        return ExitFailure;
    return saveWindow(form, options.savePath);
}

} // namespace sweepdraw
