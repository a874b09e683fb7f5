#include "FileWriter.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace sweepdraw {

QString nameSuffix(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.mid(dot + 1).toLower() : QString();
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString outOfMemory()
{
    return QCoreApplication::translate("FileWriter", "out of memory");
}

FileWriter::FileWriter(const QString &path)
    : m_file(path)
{
}

FileWriter::~FileWriter()
{
    cancel();
}

bool FileWriter::fail(const QString &reason)
{
    cancel(reason);
    return false;
}

bool FileWriter::open()
{
    // Followed through symbolic links, as the file written will be.
    const QByteArray name = QFile::encodeName(m_file.fileName());
    struct stat target {};
    if (::stat(name.constData(), &target) == 0) {
        if (S_ISDIR(target.st_mode))
            return fail(systemReason(EISDIR));
        if (!S_ISREG(target.st_mode))
            return fail(QCoreApplication::translate("FileWriter", "it is not a regular file"));
    }
    // Qt words some of its refusals its own way ("Existing file ... is not
    // writable"); the system's reason is asked for first, and kept from the
    // open that failed otherwise.
    if (::access(name.constData(), F_OK) == 0 && ::access(name.constData(), W_OK) != 0)
        return fail(systemReason(errno));
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        return fail(error != 0 ? systemReason(error) : m_file.errorString());
    }
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 FileWriter::readData(char *, qint64)
{
    return -1;
}

qint64 FileWriter::writeData(const char *data, qint64 size)
{
    if (m_failed)
        return -1;
    errno = 0;
    if (m_file.write(data, size) != size) {
        // Qt keeps its own reason for the failure only in some of its
        // paths; errno is the system's, and set by the write that failed.
        const int error = errno;
        fail(error != 0 ? systemReason(error) : m_file.errorString());
        return -1;
    }
    return size;
}

bool FileWriter::commit()
{
    if (m_failed || !isOpen())
        return fail(QCoreApplication::translate("FileWriter", "the file is not open"));
    // Unbuffered, the flush has nothing left to write; it is checked all the
    // same, since the file is whole only once it succeeds.
    if (!m_file.flush())
        return fail(m_file.errorString());
    if (!m_file.commit()) {
        m_failed = true;
        setErrorString(m_file.errorString());
        return false;
    }
    QIODevice::close();
    return true;
}

void FileWriter::cancel(const QString &reason)
{
    if (!m_failed && !reason.isEmpty()) {
        m_failed = true;
        setErrorString(reason);
    }
    // A cancelled commit removes the temporary file at once and leaves the
    // target alone.
    if (m_file.isOpen()) {
        m_file.cancelWriting();
        (void)m_file.commit();
    }
}

} // namespace sweepdraw
