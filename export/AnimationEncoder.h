#pragma once

#include <QCoreApplication>
#include <QString>

#include <chrono>

class QImage;

namespace sweepdraw {

// Writes an animation in one format onto a device, a frame at a time, so
// that only the frames it needs to compare with are kept, never the whole.
//
// Frames are whole pictures of one size in QImage::Format_RGB32, each
// different from the one before, and each shown for a whole number of
// milliseconds; the animation loops. Once a call has failed, errorString()
// says why and the animation is not to be used.
class AnimationEncoder
{
    Q_DECLARE_TR_FUNCTIONS(AnimationEncoder)

public:
    virtual ~AnimationEncoder() = default;

    AnimationEncoder(const AnimationEncoder &) = delete;
    AnimationEncoder &operator=(const AnimationEncoder &) = delete;

    [[nodiscard]] virtual bool add(const QImage &frame, std::chrono::milliseconds duration) = 0;
    // Ends the animation; everything is on the device once it returns true.
    [[nodiscard]] virtual bool finish() = 0;
    virtual QString errorString() const = 0;

protected:
    AnimationEncoder() = default;

    // Why an animation finished before its first frame cannot be written.
    static QString noFrames() { return tr("the animation has no frames"); }
};

} // namespace sweepdraw
