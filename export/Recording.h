#pragma once

#include "RunnerEvents.h"
#include "Runnable.h"
#include "Speed.h"

#include <QImage>
#include <QList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace sweepdraw {

class CommandRunner;
class DrawingSurface;

// Draws commands on a picture by a clock of its own and takes what is to be
// seen of it as a person watching would have seen it, a frame at a time: at
// the paced speeds every 40 ms of drawing time, 25 frames a second, however
// fast or slow the machine is; at the instant speed, where each command
// shows at once, after each command. The first frame shows the picture
// before the commands are drawn and the last, held for 2 s, once they all
// are, just as --save would write it. Each frame is what `render` makes of
// the picture at that moment.
//
// The picture, empty at the start, is left to the recording while it lasts,
// and keeps what was drawn afterwards. A command that fails, or "退出", ends
// the recording there.
class Recording final : private RunnerEvents
{
public:
    static constexpr std::chrono::milliseconds kFrameTime{40};
    static constexpr std::chrono::milliseconds kHold{2000};

    using Render = std::function<QImage()>;

    struct Frame
    {
        QImage image;
        std::chrono::milliseconds duration;
    };

    Recording(DrawingSurface &picture, Render render, QList<Runnable> commands, Speed speed);
    ~Recording();
    Recording(const Recording &) = delete;
    Recording &operator=(const Recording &) = delete;

    bool atEnd() const;
    // The next frame; only before atEnd().
    Frame next();

    // Whether a command failed, or one ended the program, before the end.
    bool isCut() const { return m_cut; }

    int framesTaken() const { return m_frames; }
    // How many frames the whole takes, worked out from the operations the
    // commands make: exact as long as the drawing goes as planned; 0 when
    // a routine among them has not been counted yet.
    int expectedFrames() const;

private:
    void run(const Runnable &command);
    void stoppedByFailure(const RuntimeError &failure) override;

    std::unique_ptr<CommandRunner> m_runner;
    Render m_render;
    QList<Runnable> m_commands;
    Speed m_speed;
    std::shared_ptr<std::chrono::nanoseconds> m_now; // the drawing's clock
    qsizetype m_run = 0; // at the instant speed, commands drawn so far
    int m_frames = 0;
    bool m_cut = false;
};

// Records the commands drawn on `picture` at `speed` into the animation file
// `path`, whose suffix names its format, each frame as `render` shows it.
// Returns why it could not, or nothing once the file is written whole; it
// leaves no file behind otherwise. It gives up, with an empty reason, as
// soon as `stop` says so between frames.
std::optional<QString> recordAnimation(DrawingSurface &picture, const Recording::Render &render,
                                       const QList<Runnable> &commands, Speed speed, const QString &path,
                                       bool (*stop)() = nullptr);

} // namespace sweepdraw
