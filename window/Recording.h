#pragma once

#include "Runnable.h"
#include "Speed.h"

#include <QImage>
#include <QList>

#include <chrono>
#include <memory>
#include <optional>

namespace sweepdraw {

class Form1;

// Draws commands on a window by a clock of its own and takes the window's
// picture as a person watching would have seen it, a frame at a time: at
// the paced speeds every 40 ms of drawing time, 25 frames a second, however
// fast or slow the machine is; at the instant speed, where each command
// shows at once, after each command. The first frame shows the window before
// the commands are drawn and the last, held for 2 s, once they all are, just
// as --save would write it.
//
// The window is one that is never shown, at zoom 1 (see renderWindow), and
// is left to the recording while it lasts; it keeps the picture afterwards.
class Recording
{
public:
    static constexpr std::chrono::milliseconds kFrameTime{40};
    static constexpr std::chrono::milliseconds kHold{2000};

    struct Frame
    {
        QImage image;
        std::chrono::milliseconds duration;
    };

    Recording(Form1 &form, QList<Runnable> commands, Speed speed);

    bool atEnd() const;
    // The next frame; only before atEnd().
    Frame next();

    int framesTaken() const { return m_frames; }
    // How many frames the whole takes, worked out from the operations the
    // commands make: exact as long as the drawing goes as planned.
    int expectedFrames() const;

private:
    Form1 &m_form;
    QList<Runnable> m_commands;
    Speed m_speed;
    std::shared_ptr<std::chrono::nanoseconds> m_now; // the drawing's clock
    qsizetype m_run = 0; // at the instant speed, commands drawn so far
    int m_frames = 0;
};

// Records the commands drawn on `form` at `speed` into the animation file
// `path`, whose suffix names its format. Returns why it could not, or nothing
// once the file is written whole; it leaves no file behind otherwise. It
// gives up, with an empty reason, as soon as `stop` says so between frames.
std::optional<QString> recordAnimation(Form1 &form, const QList<Runnable> &commands, Speed speed,
                                       const QString &path, bool (*stop)() = nullptr);

} // namespace sweepdraw
