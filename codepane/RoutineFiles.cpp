#include "RoutineFiles.h"

#include "CompiledRoutine.h"
#include "FileWriter.h"
#include "RoutineFile.h"
#include "RuntimeErrorLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>

namespace sweepdraw::RoutineFiles {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("RoutineFiles", text);
}

// How a path is named in a message.
QString shown(const QString &path)
{
    return escapeForMessage(QDir::toNativeSeparators(path));
}

QString reasonOf(const FileRefusal &refusal)
{
    switch (refusal.kind) {
    case FileRefusal::Kind::System:
        return systemReason(refusal.error);
    case FileRefusal::Kind::NotRegular:
        return tr("not a regular file");
    case FileRefusal::Kind::TooLarge:
        return tr("too large to be a routine");
    }
    return {};
}

} // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/routines");
}

Contents contents()
{
    // Every entry, FIFOs, devices and directories among them, to be named
    // if it is not a routine.
    const QFileInfoList entries =
        QDir(folder()).entryInfoList({QStringLiteral("*.cpp")},
                                     QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Time);
    Contents found;
    for (const QFileInfo &entry : entries) {
        const auto refused = routineFileRefusal(QFile::encodeName(entry.absoluteFilePath()).toStdString(), CompiledRoutine::kMaxSize);
        if (const auto *refusal = std::get_if<FileRefusal>(&refused))
            found.passedOver << tr("%1 is passed over: %2").arg(escapeForMessage(entry.fileName()), reasonOf(*refusal));
        else
            found.routines << entry.absoluteFilePath();
    }
    return found;
}

std::optional<Stamp> stampOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return Stamp{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                 static_cast<long long>(info.st_size),
                 static_cast<long long>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
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
    const auto bytes = readRoutineFile(QFile::encodeName(path).toStdString(), CompiledRoutine::kMaxSize);
    if (const auto *refusal = std::get_if<FileRefusal>(&bytes))
        return {{}, tr("%1 cannot be read: %2").arg(shown(path), reasonOf(*refusal))};
    const std::string &text = std::get<std::string>(bytes);
    if (firstInvalidUtf8(text))
        return {{}, tr("%1 is not UTF-8 text").arg(shown(path))};
    return {QString::fromStdString(text), {}};
}

QString write(const QString &path, const QString &text)
{
    FileWriter file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open() || file.write(bytes) != bytes.size() || !file.commit())
        return tr("%1 cannot be written: %2").arg(shown(path), file.errorString());
    return {};
}

} // namespace sweepdraw::RoutineFiles
