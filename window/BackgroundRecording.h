#pragma once

#include "Runnable.h"
#include "Speed.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace sweepdraw {

class AnimationFile;
class Recording;
class Stage;

// Records commands into an animation file while the window goes on
// answering. The commands are drawn on a stage of its own that is never
// shown, a frame at a time from the event loop, and each frame is encoded
// on a worker thread, which touches nothing but the frame and the file, so
// the window's thread is never held for longer than one frame's drawing. A
// progress dialog over `window` shows how far it is, and can cancel it.
//
// It deletes itself once the file is written, or the recording has failed
// (then it says why in a message box) or been cancelled; nothing is left at
// the path unless the whole animation is written.
class BackgroundRecording final : public QObject
{
    Q_OBJECT

public:
    // `what` names the commands in the progress dialog, if given.
    BackgroundRecording(const QList<Runnable> &commands, Speed speed, const QString &path, QWidget *window,
                        const QString &what = {});
    ~BackgroundRecording() override;

private:
    void drawFrame();
    void frameWritten();
    void fail(const QString &reason);
    void cancel();
    void end();

    QPointer<QWidget> m_window;
    QString m_path;
    std::unique_ptr<Stage> m_stage;
    std::unique_ptr<Recording> m_recording;
    std::unique_ptr<AnimationFile> m_file;
    QFutureWatcher<bool> m_writing;
    QPointer<QProgressDialog> m_progress;
    bool m_cancelled = false;
};

} // namespace sweepdraw
