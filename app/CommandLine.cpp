#include "CommandLine.h"

#include "AnimationFile.h"
#include "CompiledRoutine.h"
#include "ErrorLine.h"
#include "FileWriter.h"
#include "ImageFile.h"
#include "MenuItems.h"
#include "MessageText.h"
#include "Recording.h"
#include "SpeedItems.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QKeySequence>

#include <algorithm>
#include <cmath>
#include <cstdio>
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
    return {.options = {}, .endWith = reportUsage(message), .refusedRoutine = std::nullopt};
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
    for (const SpeedItem &speed : kSpeedItems)
        items.push_back({speed.key, QStringLiteral("%1, as --speed %2")
                                        .arg(QLatin1String(speed.menuText),
                                             QLatin1String(speedInfo(speed.speed).name))});
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

// How long the sunshine takes at the default speed, to the nearest second.
long long sunshineSeconds()
{
    const double operations = static_cast<double>(tallyOf(Button::Cmdyg).operations);
    return std::llround(operations / static_cast<double>(operationsPerSecond(kDefaultSpeed)));
}

// Declares the program's options on `parser`; with their descriptions only
// when `described`, for the help, which alone needs them and the figures
// they quote.
void declareOptions(QCommandLineParser &parser, bool described)
{
    const auto text = [described](const auto &describe) { return described ? describe() : QString(); };
    if (described)
        parser.setApplicationDescription(
            QStringLiteral("Draws mountains, flowing water, sunshine and a bridge, point by point.\n\n")
            + windowKeysHelp());
    // Qt's own options are not taken here, so --help-all, which would promise
    // them, shows the same help as --help.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                        QStringLiteral("Displays help on commandline options.")));
    QCommandLineOption helpAll(QStringLiteral("help-all"));
    helpAll.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(helpAll);
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("run"), text([] {
            return QStringLiteral("Runs the comma-separated commands after start-up, as if their buttons were "
                                  "clicked: %1, by name in any case or by caption, or a routine file, any item "
                                  "with a / or ending in .cpp. Given more than once, runs all the lists in order.")
                .arg(QString::fromStdString(commandNames()));
        }),
        QStringLiteral("list")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("save"), text([] {
            return QStringLiteral("Opens no window: runs the --run commands, writes the window to the file in "
                                  "the format its suffix names (%1) and exits. Needs no display.")
                .arg(writableSuffixes());
        }),
        QStringLiteral("file.suffix")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("record"), text([] {
            return QStringLiteral("Opens no window: draws the --run commands at the --speed pace, records the "
                                  "window as an animation in the format the file's suffix names (%1), %2 frames "
                                  "a second of drawing time or, at the instant speed, a frame after each "
                                  "command, the last held for %3 seconds, and exits. Needs no display. May be "
                                  "given with --save.")
                .arg(recordableSuffixes())
                .arg(std::chrono::seconds(1) / Recording::kFrameTime)
                .arg(std::chrono::duration<double>(Recording::kHold).count());
        }),
        QStringLiteral("file.suffix")));
    const QString defaultSpeed = QLatin1String(speedInfo(kDefaultSpeed).name);
    parser.addOption(QCommandLineOption(
        QStringLiteral("speed"), text([&defaultSpeed] {
            return QStringLiteral("How fast the window draws, and --record records: %1; %2 unless given, at "
                                  "which the sunshine takes about %3 seconds. --save alone draws at once.")
                .arg(QString::fromStdString(speedNames()), defaultSpeed)
                .arg(sunshineSeconds());
        }),
        QStringLiteral("speed"), defaultSpeed));
    parser.addOption(QCommandLineOption(
        QStringLiteral("steps"), text([] {
            return QStringLiteral("How many turns of the drawing's loops --save, --record and --trace take, all "
                                  "commands together, before they stop with a run-time error that names the "
                                  "loop's line: a routine that never ends ends so. 0 for no limit; %1 unless "
                                  "given. The window has Stop instead.")
                .arg(StepBudget::kDefault);
        }),
        QStringLiteral("count"), QString::number(StepBudget::kDefault)));
    parser.addOption(QCommandLineOption(
        QStringLiteral("trace"), text([] {
            return QStringLiteral("Writes every drawing operation the --run commands make to the file, or to "
                                  "standard output for -, one a line: its name and its arguments, as in "
                                  "'PlotPoint 8666 2000 #0000ff'. Opens no window unless asked to. Needs no "
                                  "display.");
        }),
        QStringLiteral("file")));
}

} // namespace

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
    declareOptions(parser, false);
    if (!parser.parse(arguments))
        return refuse(parser.errorText() + QStringLiteral(" (see --help)"));
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        QCommandLineParser described;
        declareOptions(described, true);
        // Without an application object yet, the parser cannot name the
        // program itself.
        QString help = described.helpText();
        help.replace(QStringLiteral("<executable_name>"), QCoreApplication::applicationName());
        std::fputs(qPrintable(help), stdout);
        return {.options = {}, .endWith = ExitOk, .refusedRoutine = std::nullopt};
    }
    if (parser.isSet(QStringLiteral("version"))) {
        // QCommandLineParser::showVersion would end the process itself.
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return {.options = {}, .endWith = ExitOk, .refusedRoutine = std::nullopt};
    }
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("unexpected argument '%1' (see --help)")
                          .arg(parser.positionalArguments().constFirst()));

    Options options;
    // Each file is read once, however often it is named.
    std::map<QString, Runnable> routines;
    for (const QString &list : parser.values(QStringLiteral("run"))) {
        for (const QString &entry : list.split(QLatin1Char(','))) {
            const QString name = entry.trimmed();
            if (name.contains(QLatin1Char('/')) || name.endsWith(QLatin1String(".cpp"))) {
                auto known = routines.find(name);
                if (known == routines.end()) {
                    const auto compiled = CompiledRoutine::compileFile(QFile::encodeName(name).toStdString());
                    if (const auto *refused = std::get_if<FaultMessage>(&compiled))
                        return {.options = {}, .endWith = ExitUsage, .refusedRoutine = {{name, *refused}}};
                    known = routines.emplace(name, Runnable(std::get<CompiledRoutine>(compiled))).first;
                }
                options.commands.push_back(known->second);
                continue;
            }
            const std::optional<Button> button = commandByName(name.toStdString());
            if (!button)
                return refuse(QStringLiteral("unknown command '%1' in --run; the commands are %2")
                                  .arg(name, QString::fromStdString(commandNames())));
            options.commands.push_back(*button);
        }
    }
    if (parser.values(QStringLiteral("speed")).size() > 1)
        return refuse(QStringLiteral("--speed is given more than once ('%1'); give one speed")
                          .arg(parser.values(QStringLiteral("speed")).join(QStringLiteral("', '"))));
    const std::optional<Speed> chosen = speedByName(parser.value(QStringLiteral("speed")).toStdString());
    if (!chosen)
        return refuse(QStringLiteral("unknown speed '%1' for --speed; the speeds are %2")
                          .arg(parser.value(QStringLiteral("speed")), QString::fromStdString(speedNames())));
    options.speed = *chosen;
    const QStringList steps = parser.values(QStringLiteral("steps"));
    bool number = steps.size() <= 1;
    if (!steps.isEmpty())
        options.steps = steps.front().toLongLong(&number);
    if (!number || options.steps < 0)
        return refuse(QStringLiteral("--steps takes one count of steps, 0 or more, not '%1'")
                          .arg(steps.join(QStringLiteral("', '"))));
    if (parser.isSet(QStringLiteral("save"))) {
        if (const std::optional<QString> refusal = fileRefusal(kSaveFile, parser.values(QStringLiteral("save"))))
            return refuse(*refusal);
        options.savePath = parser.value(QStringLiteral("save"));
    }
    if (parser.isSet(QStringLiteral("record"))) {
        if (const std::optional<QString> refusal = fileRefusal(kRecordFile, parser.values(QStringLiteral("record"))))
            return refuse(*refusal);
        options.recordPath = parser.value(QStringLiteral("record"));
    }
    if (parser.isSet(QStringLiteral("trace"))) {
        const QStringList traces = parser.values(QStringLiteral("trace"));
        if (traces.size() > 1 || traces.front().isEmpty())
            return refuse(QStringLiteral("--trace needs one file name, or - for standard output"));
        options.tracePath = traces.front();
    }
    return {.options = options, .endWith = std::nullopt, .refusedRoutine = std::nullopt};
}

} // namespace sweepdraw
