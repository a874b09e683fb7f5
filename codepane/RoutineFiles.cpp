#include "RoutineFiles.h"

#include "FileWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

namespace sweepdraw::RoutineFiles {

namespace {

// Far more than any routine the compiler takes: a file this long is not a
// routine.
constexpr qint64 kLargestFile = 1024 * 1024;

QString tr(const char *text)
{
    return QCoreApplication::translate("RoutineFiles", text);
}

} // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/routines");
}

QString lastEdited()
{
    const QFileInfoList files = QDir(folder()).entryInfoList({QStringLiteral("*.cpp")}, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.front().absoluteFilePath();
}

bool isKept(const QString &path)
{
    return QFileInfo(path).absolutePath() == QFileInfo(folder()).absoluteFilePath();
}

QString freePath(const QString &fileName)
{
    // Made only when the first routine is to go in it.
    QDir().mkpath(folder());
    const QDir dir(folder());
    const QFileInfo name(fileName);
    QString path = dir.filePath(fileName);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1%2.%3").arg(name.completeBaseName()).arg(n).arg(name.suffix()));
    return path;
}

Read read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString())};
    if (file.size() > kLargestFile)
        return {{}, tr("%1 is too large to be a routine").arg(QDir::toNativeSeparators(path))};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, tr("%1 cannot be read: %2").arg(QDir::toNativeSeparators(path), file.errorString())};
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        return {{}, tr("%1 is not UTF-8 text").arg(QDir::toNativeSeparators(path))};
    return {text, {}};
}

QString write(const QString &path, const QString &text)
{
    FileWriter file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.commit())
        return tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return {};
}

} // namespace sweepdraw::RoutineFiles
