#pragma once

#include <QIODevice>
#include <QSaveFile>
#include <QString>

namespace sweepdraw {

// The one way the program writes a file: whole, or not at all.
//
// The bytes go to a temporary file beside the target, and take the target's
// name only once every write, the final flush and the sync to disk have
// succeeded; until then, and after any failure, an earlier file at the path
// is left as it was and no temporary file stays behind. A target that exists
// and is not a regular file, or a symbolic link to one, is refused: a FIFO,
// a device or a socket is never replaced. Every failure is kept with the
// reason the system gave, one line such as "No space left on device"; the
// first one is the one reported.
//
// Writes are unbuffered, so that a write fails where the system refuses it
// and the failure cannot be lost in a buffer flushed later.
class FileWriter final : public QIODevice
{
public:
    explicit FileWriter(const QString &path);
    ~FileWriter() override;

    // Opens the temporary file; false, with the reason, if it cannot be.
    [[nodiscard]] bool open();
    // Gives the file its name; false, with the reason, unless all of it was
    // written.
    [[nodiscard]] bool commit();
    // Abandons the file, with `reason` as errorString() unless a failure was
    // already kept.
    void cancel(const QString &reason = {});

    QString fileName() const { return m_file.fileName(); }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool fail(const QString &reason);

    QSaveFile m_file;
    bool m_failed = false;
};

// The suffix that names the format of the file at `path`, lower-case: what
// follows the last dot of its name. Empty when there is none, and when the
// name is only a dot and a suffix, as a hidden file's name is.
QString nameSuffix(const QString &path);

// The reason the system gives for `error`, an errno value, as it gives it.
QString systemReason(int error);

// The reason given wherever memory runs out: a picture, an encoder or the
// drawing itself.
QString outOfMemory();

} // namespace sweepdraw
