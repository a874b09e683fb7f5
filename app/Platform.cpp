#include "Platform.h"

#include "ErrorLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace sweepdraw {

namespace {

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

} // namespace

std::optional<ExitStatus> choosePlatform(bool windowWanted)
{
    if (!windowWanted) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::nullopt;
    }
    g_defaultMessageHandler = qInstallMessageHandler(exitOnFatalMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        printError(QStringLiteral("no display to open the window on (DISPLAY and WAYLAND_DISPLAY "
                                  "are unset); use --save FILE.png to draw without one"));
        return ExitUsage;
    }
    return std::nullopt;
}

} // namespace sweepdraw
