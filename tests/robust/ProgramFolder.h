#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

// What the robust command-line cases give the program and look at from
// outside it: the folder it works in, the files it holds open, the
// processor time it used, and a routine that never ends.
namespace sweepdraw::test {

// Everything under `path`, hidden files too, each with its size and inode:
// a file added, removed, rewritten or replaced shows as a change.
inline QStringList snapshot(const QString &path)
{
    QStringList entries;
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        struct stat info {};
        ::lstat(QFile::encodeName(file).constData(), &info);
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(QDir(path).relativeFilePath(file))
                       .arg(static_cast<qint64>(info.st_size))
                       .arg(static_cast<quint64>(info.st_ino))
                       .arg(info.st_mode & S_IFMT, 0, 8);
    }
    entries.sort();
    return entries;
}

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Whether the process `pid` holds a file open under the folder `path`, the
// temporary file of what it writes there among them.
inline bool writesUnder(qint64 pid, const QString &path)
{
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QString &fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        // Read as it stands: a file with no name yet shows as deleted.
        char target[4096];
        const ssize_t size = ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), target, sizeof target);
        if (size > 0 && QFile::decodeName(QByteArray(target, size)).startsWith(path + QLatin1Char('/')))
            return true;
    }
    return false;
}

// Fills the file system at `path` but for `room` bytes.
inline bool fillUpTo(const QString &path, qint64 room)
{
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(path).constData(), &fs) != 0)
        return false;
    const qint64 free = static_cast<qint64>(fs.f_bavail) * static_cast<qint64>(fs.f_frsize);
    return writeFile(path + "/filler", QByteArray(std::max<qint64>(free - room, 0), 'x'));
}

// The processor time the process `pid` has used, in clock ticks.
inline long long ticksUsed(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // The fields after the name, which ends with the last ')': utime and
    // stime are the 12th and 13th of them.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : 0;
}

// A routine whose loop draws nothing, and would not end for days.
inline constexpr char kEndlessRoutine[] = R"(#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <cmath>

namespace sweepdraw {

void DrawNothing(DrawingSurface &surface)
{
    check(surface.SetPenWidth(1));
    Sweep(0, 1e15, 1, [&](double t) {
        const double x = std::sin(t);
    });
}

} // namespace sweepdraw
)";

} // namespace sweepdraw::test
