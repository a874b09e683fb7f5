#pragma once

#include "AnimationEncoder.h"
#include "FileWriter.h"

#include <QImage>
#include <QStringList>

#include <chrono>
#include <memory>

namespace sweepdraw {

// An animation file written a frame at a time, in the format its suffix
// names in any case: GIF or WebP. It is written through a FileWriter, so
// that a failure, or an animation never finished, leaves no file behind and
// an earlier file at the path as it was. A frame equal to the one before it only makes that one
// last longer.
//
// Only one thread at a time may call on it.
class AnimationFile
{
    Q_DECLARE_TR_FUNCTIONS(AnimationFile)

public:
    // The suffixes it knows, lower-case.
    static QStringList suffixes();
    static bool canWrite(const QString &path);

    explicit AnimationFile(const QString &path);
    ~AnimationFile();

    AnimationFile(const AnimationFile &) = delete;
    AnimationFile &operator=(const AnimationFile &) = delete;

    // Opens the temporary file; false if it cannot be.
    [[nodiscard]] bool open();
    [[nodiscard]] bool add(const QImage &frame, std::chrono::milliseconds duration);
    // Writes the last frame and gives the file its name.
    [[nodiscard]] bool finish();
    // Why the last call that failed did.
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &reason);
    bool flush();

    FileWriter m_file;
    std::unique_ptr<AnimationEncoder> m_encoder;
    QImage m_pending; // the last frame, not yet handed to the encoder
    std::chrono::milliseconds m_pendingDuration{0};
    QString m_error;
};

} // namespace sweepdraw
