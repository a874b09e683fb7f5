#include "CommandLine.h"

#include "AnimationFile.h"
#include "CompiledRoutine.h"
#include "ExitSignals.h"
#include "FileWriter.h"
#include "Form1.h"
#include "ImageFile.h"
#include "MenuItems.h"
#include "MessageText.h"
#include "Recording.h"
#include "RunTimeErrorLine.h"
#include "Stage.h"

#include <QAbstractButton>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QKeySequence>
#include <QLabel>
#include <QPluginLoader>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace sweepdraw {

namespace {

// Bytes that are not valid in the system's encoding, shown as escapes.
QString escapeBytes(const QByteArray &bytes)
{
    return QString::fromStdString(escapeForMessage(bytes.toStdString()));
}

// Says in one line on stderr what is wrong with the command line, or with
// the display it asks for.
ExitStatus reportUsage(const QString &message)
{
    printError(message);
    return ExitUsage;
}

CommandLineRequest refuse(const QString &message)
{
    return {.options = {}, .endWith = reportUsage(message)};
}

// Qt aborts the process, leaving a core dump, as soon as the handler of a
// fatal message returns: the handler cannot hand a status back to main, and
// this is the one place where the program ends the process itself. With
// _Exit, not exit: the fatal error comes from inside Qt, in the middle of
// making the application or of its event loop, where destructors and exit
// handlers would run on half-made or half-torn objects.
[[noreturn]] void endFromFatalMessage(ExitStatus status)
{
    std::fflush(nullptr);
    std::_Exit(status);
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

QString describeVariable(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return QLatin1String(name) + (value.isEmpty() ? QStringLiteral(" unset") : "='" + value + "'");
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
            printError(QStringLiteral("cannot open the window: Qt's Wayland plugin is not installed (%1, %2); "
                                      "install qt6-wayland, or use X11 instead with QT_QPA_PLATFORM=xcb")
                           .arg(describeVariable("WAYLAND_DISPLAY"), describeVariable("DISPLAY")));
            endFromFatalMessage(ExitUsage);
        }
        const QStringList missing = missingPlatforms(available);
        if (!missing.isEmpty()) {
            printError(QStringLiteral("cannot open the window: the %1 '%2' named in QT_QPA_PLATFORM "
                                      "could not be loaded; the platforms here are %3")
                           .arg(QLatin1String(missing.size() == 1 ? "platform" : "platforms"),
                                missing.join(QStringLiteral("', '")), available.join(QStringLiteral(", "))));
            endFromFatalMessage(ExitUsage);
        }
        printError(QStringLiteral("cannot open the window: no display answers (%1, %2); use --save "
                                  "FILE.png to draw without one")
                       .arg(describeVariable("DISPLAY"), describeVariable("WAYLAND_DISPLAY")));
        endFromFatalMessage(ExitUsage);
    }
    printError(message.section(QLatin1Char('\n'), 0, 0));
    endFromFatalMessage(ExitFailure);
}

// What the help says of the window's menu and its keys: the speeds, then the
// other items, from the tables the menu is built from.
QString windowKeysHelp()
{
    struct Item
    {
        QKeySequence key;
        QString text;
    };
    QList<Item> items;
    for (const SpeedInfo &speed : kSpeeds)
        items.push_back({speed.key, QStringLiteral("%1, as --speed %2")
                                        .arg(QLatin1String(speed.menuText), QLatin1String(speed.name))});
    for (const MenuItemInfo &item : kMenuItems)
        items.push_back({keysOf(item).value(0), QString::fromUtf8(item.help)});

    int keyWidth = 0;
    for (const Item &item : items)
        keyWidth = std::max(keyWidth, static_cast<int>(item.key.toString(QKeySequence::PortableText).size()));
    QString help = QStringLiteral("A right click on the window outside the buttons opens a menu. Its keys\n"
                                  "work with the menu closed too:");
    for (const Item &item : items)
        help += QStringLiteral("\n  %1  %2")
                    .arg(item.key.toString(QKeySequence::PortableText), -keyWidth)
                    .arg(item.text);
    return help;
}

ExitStatus failWrite(const char *what, const QString &path, const QString &reason)
{
    printError(QStringLiteral("cannot %1 %2: %3").arg(QLatin1String(what), path, reason));
    return ExitFailure;
}

// The formats --save can write, each also the suffix that names it: "jpg"
// and "jpeg" are both among them.
QString writableSuffixes()
{
    return QString::fromLatin1(writableImageFormats().join(", "));
}

QString recordableSuffixes()
{
    return AnimationFile::suffixes().join(QStringLiteral(", "));
}

// An option that writes one file, and what its refusals say of it.
struct FileOption
{
    const char *name;    // "--save"
    const char *purpose; // what the one file is for: "save the picture to"
    const char *verb;    // what the program does with its format: "write"
    bool (*knows)(const QString &path); // whether the path's suffix names such a format
    QString (*suffixes)();              // the suffixes that do
};

const FileOption kSaveFile{"--save", "save the picture to", "write",
                           [](const QString &path) { return !imageFormatOf(path).isEmpty(); },
                           writableSuffixes};
const FileOption kRecordFile{"--record", "record the drawing to", "record", AnimationFile::canWrite,
                             recordableSuffixes};

// Why `file` cannot be given `paths`, unless it is given one file whose
// suffix names a format it can write.
std::optional<QString> fileRefusal(const FileOption &file, const QStringList &paths)
{
    const QString option = QLatin1String(file.name);
    if (paths.size() > 1)
        return QStringLiteral("%1 is given more than once ('%2'); give one file to %3")
            .arg(option, paths.join(QStringLiteral("', '")), QLatin1String(file.purpose));
    const QString &path = paths.constFirst();
    if (path.isEmpty())
        return QStringLiteral("%1 needs a file name").arg(option);
    if (nameSuffix(path).isEmpty())
        return QStringLiteral("%1: '%2' has no suffix to name its format; the suffixes that work are %3")
            .arg(option, path, file.suffixes());
    if (!file.knows(path))
        return QStringLiteral("%1: the suffix of '%2' names no format the program can %3; "
                              "the suffixes that work are %4")
            .arg(option, path, QLatin1String(file.verb), file.suffixes());
    return std::nullopt;
}

// Draws the commands and writes the files the options ask for, checking for
// a signal to end between the pieces of the work: the status to end with.
ExitStatus writeStartupFiles(Form1 &form, const Options &options)
{
    QImage picture;
    if (!options.recordPath.isEmpty()) {
        Stage stage(1.0);
        const std::optional<QString> error = recordAnimation(
            stage.picture(), [&stage] { return stage.render(); }, options.commands, options.speed,
            options.recordPath, [] { SignalWatch::check(); return false; });
        if (error)
            return failWrite("record", options.recordPath, *error);
        if (options.savePath.isEmpty())
            return ExitOk;
        picture = stage.render();
    } else {
        for (const Runnable &command : options.commands)
            form.RunCommand(command);
        form.finishDrawing();
        if (form.isEnding())
            return ExitFailure;
        picture = form.snapshot();
    }
    SignalWatch::check();
    const std::optional<QString> error = saveImage(picture, options.savePath);
    SignalWatch::check();
    return error ? failWrite("save", options.savePath, *error) : ExitOk;
}

} // namespace

void printError(const QString &message)
{
    const QByteArray line = "sweepdraw: " + escapeForMessage(message).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stderr);
    std::fflush(stderr);
}

CommandLineRequest parseCommandLine(int argc, const char *const argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString argument = QFile::decodeName(bytes);
        // A name that comes back as other bytes would be written under
        // another name than the one given, and two such names under one.
        if (QFile::encodeName(argument) != bytes)
            return refuse(QStringLiteral("the argument '%1' is not valid text in the system's encoding; "
                                         "files are written under the very name given, and this one cannot be")
                              .arg(escapeBytes(bytes)));
        arguments << argument;
    }
    return parseCommandLine(arguments);
}

CommandLineRequest parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws mountains, flowing water, sunshine and a bridge, point by point.\n\n")
        + windowKeysHelp());
    // Qt's own options are not taken here, so --help-all, which would promise
    // them, shows the same help as --help.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  QStringLiteral("Displays help on commandline options."));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(help);
    parser.addOption(helpAll);
    parser.addVersionOption();
    const QCommandLineOption run(
        QStringLiteral("run"),
        QStringLiteral("Runs the comma-separated commands after start-up, as if their buttons were "
                       "clicked: %1, by name in any case or by caption, or a routine file, any item "
                       "with a / or ending in .cpp. Given more than once, runs all the lists in order.")
            .arg(commandNames().join(QStringLiteral(", "))),
        QStringLiteral("list"));
    const QCommandLineOption save(
        QStringLiteral("save"),
        QStringLiteral("Opens no window: runs the --run commands, writes the window to the file in "
                       "the format its suffix names (%1) and exits. Needs no display.")
            .arg(writableSuffixes()),
        QStringLiteral("file.suffix"));
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Opens no window: draws the --run commands at the --speed pace, records the "
                       "window as an animation in the format the file's suffix names (%1), %2 frames "
                       "a second of drawing time or, at the instant speed, a frame after each "
                       "command, the last held for %3 seconds, and exits. Needs no display. May be "
                       "given with --save.")
            .arg(recordableSuffixes())
            .arg(std::chrono::seconds(1) / Recording::kFrameTime)
            .arg(std::chrono::duration<double>(Recording::kHold).count()),
        QStringLiteral("file.suffix"));
    const QCommandLineOption speed(
        QStringLiteral("speed"),
        QStringLiteral("How fast the window draws, and --record records: %1; %2 unless given, at "
                       "which the sunshine takes about 4 seconds. --save alone draws at once.")
            .arg(speedNames(), QLatin1String(speedInfo(kDefaultSpeed).name)),
        QStringLiteral("speed"), QLatin1String(speedInfo(kDefaultSpeed).name));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Writes every drawing operation the --run commands make to the file, or to "
                       "standard output for -, one a line: its name and its arguments, as in "
                       "'PlotPoint 8666 2000 #0000ff'. Opens no window unless asked to. Needs no display."),
        QStringLiteral("file"));
    parser.addOption(run);
    parser.addOption(save);
    parser.addOption(trace);
    parser.addOption(record);
    parser.addOption(speed);

    if (!parser.parse(arguments))
        return refuse(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(help) || parser.isSet(helpAll)) {
        // Without an application object yet, the parser cannot name the
        // program itself.
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QCoreApplication::applicationName());
        std::fputs(qPrintable(help), stdout);
        return {.options = {}, .endWith = ExitOk};
    }
    if (parser.isSet(QStringLiteral("version"))) {
        // QCommandLineParser::showVersion would end the process itself.
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return {.options = {}, .endWith = ExitOk};
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1' (see --help)")
                          .arg(parser.positionalArguments().constFirst()));

    Options options;
    // Each file is read once, however often it is named.
    std::map<QString, Runnable> routines;
    for (const QString &list : parser.values(run)) {
        for (const QString &entry : list.split(QLatin1Char(','))) {
            const QString name = entry.trimmed();
            if (name.contains(QLatin1Char('/')) || name.endsWith(QLatin1String(".cpp"))) {
                auto known = routines.find(name);
                if (known == routines.end()) {
                    const auto compiled = CompiledRoutine::compileFile(QFile::encodeName(name).toStdString());
                    if (const auto *refused = std::get_if<RoutineMessage>(&compiled)) {
                        std::fprintf(stderr, "%s\n", refused->format(name.toStdString()).c_str());
                        return {.options = {}, .endWith = ExitUsage};
                    }
                    known = routines.emplace(name, Runnable(std::get<CompiledRoutine>(compiled))).first;
                }
                options.commands.push_back(known->second);
                continue;
            }
            const std::optional<Button> button = commandByName(name);
            if (!button)
                return refuse(QStringLiteral("unknown command '%1' in --run; the commands are %2")
                                  .arg(name, commandNames().join(QStringLiteral(", "))));
            options.commands.push_back(*button);
        }
    }
    if (parser.values(speed).size() > 1)
        return refuse(QStringLiteral("--speed is given more than once ('%1'); give one speed")
                          .arg(parser.values(speed).join(QStringLiteral("', '"))));
    const std::optional<Speed> chosen = speedByName(parser.value(speed).toStdString());
    if (!chosen)
        return refuse(QStringLiteral("unknown speed '%1' for --speed; the speeds are %2")
                          .arg(parser.value(speed), speedNames()));
    options.speed = *chosen;
    if (parser.isSet(save)) {
        if (const std::optional<QString> refusal = fileRefusal(kSaveFile, parser.values(save)))
            return refuse(*refusal);
        options.savePath = parser.value(save);
    }
    if (parser.isSet(record)) {
        if (const std::optional<QString> refusal = fileRefusal(kRecordFile, parser.values(record)))
            return refuse(*refusal);
        options.recordPath = parser.value(record);
    }
    if (parser.isSet(trace)) {
        if (parser.values(trace).size() > 1 || parser.value(trace).isEmpty())
            return refuse(QStringLiteral("--trace needs one file name, or - for standard output"));
        options.tracePath = parser.value(trace);
    }
    return {.options = options, .endWith = std::nullopt};
}

std::optional<ExitStatus> choosePlatform(const Options &options)
{
    if (options.offScreen()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::nullopt;
    }
    g_defaultMessageHandler = qInstallMessageHandler(exitOnFatalMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return reportUsage(QStringLiteral("no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
                                          "are unset); use --save FILE.png to draw without one"));
    return std::nullopt;
}

void warnOfMissingFonts(const QWidget &window)
{
    // Qt draws each character in the first of the widget's fonts, or of the
    // fonts fontconfig offers in their place, that has it, and draws an empty
    // box when none has. Asking each caption's own font about each of its
    // characters checks what the window will really show, the Kai faces the
    // layout asks for and every stand-in included, with no list of font
    // names to keep here.
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
    // Characters missing though a font for Chinese is installed are ones
    // whose font could not be loaded, as when memory runs short: no font to
    // install would help.
    if (!missing.isEmpty() && QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
        printError(QStringLiteral("warning: no installed font has the characters %1 of the captions; "
                                  "install fonts-arphic-gkai00mp, fonts-arphic-ukai, or any CJK font such as "
                                  "fonts-noto-cjk")
                       .arg(missing));
}

std::optional<ExitStatus> runStartupCommands(Form1 &form, const Options &options)
{
    if (!options.drawsOffScreen()) {
        for (const Runnable &command : options.commands)
            form.RunCommand(command);
        return std::nullopt;
    }
    // A signal to end, between the steps of the work or in a drawing's
    // loops, ends it with the signal's status and leaves no file half
    // written.
    SignalWatch watch;
    const LoopWatch::Activation watching(&watch);
    try {
        return writeStartupFiles(form, options);
    } catch (const EndedBySignal &ended) {
        return ExitSignals::statusFor(ended.signal);
    }
}

} // namespace sweepdraw
