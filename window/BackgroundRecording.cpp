#include "BackgroundRecording.h"

#include "AnimationFile.h"
#include "Recording.h"
#include "RuntimeErrorLine.h"
#include "Stage.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace sweepdraw {

namespace {

// What a title bar takes beside its title, in lines of text.
constexpr int kTitleBarLines = 10;

} // namespace

BackgroundRecording::BackgroundRecording(const QList<Runnable> &commands, Speed speed, const QString &path,
                                         QWidget *window, const QString &what)
    : QObject(window)
    , m_window(window)
    , m_path(path)
    , m_stage(std::make_unique<Stage>(1.0))
    , m_file(std::make_unique<AnimationFile>(path))
{
    connect(&m_writing, &QFutureWatcher<bool>::finished, this, &BackgroundRecording::frameWritten);
    if (!m_file->open()) {
        QTimer::singleShot(0, this, [this] { fail(m_file->errorString()); });
        return;
    }
    m_recording = std::make_unique<Recording>(m_stage->picture(), [stage = m_stage.get()] { return stage->render(); },
                                              commands, speed);

    const QString label = what.isEmpty() ? tr("Recording %1…").arg(QFileInfo(path).fileName())
                                         : tr("Recording %1 to %2…").arg(what, QFileInfo(path).fileName());
    m_progress = new QProgressDialog(label, tr("Cancel"), 0,
                                     m_recording->expectedFrames(), window);
    m_progress->setWindowTitle(tr("Record animation"));
    // Wide enough that the title shows whole beside the window manager's
    // icon and buttons.
    const QFontMetrics metrics(m_progress->font());
    m_progress->setMinimumWidth(metrics.horizontalAdvance(m_progress->windowTitle())
                                + kTitleBarLines * metrics.height());
    m_progress->setWindowModality(Qt::NonModal);
    m_progress->setAutoClose(false);
    m_progress->setAutoReset(false);
    m_progress->setMinimumDuration(0);
    m_progress->setValue(0);
    connect(m_progress, &QProgressDialog::canceled, this, &BackgroundRecording::cancel);
    QTimer::singleShot(0, this, &BackgroundRecording::drawFrame);
}

BackgroundRecording::~BackgroundRecording()
{
    // The worker uses the file until it is done with the frame.
    m_writing.waitForFinished();
    delete m_progress;
}

void BackgroundRecording::drawFrame()
{
    if (m_cancelled) {
        end();
        return;
    }
    Recording::Frame frame = m_recording->next();
    if (m_recording->isCut()) {
        fail(tr("a drawing command failed"));
        return;
    }
    const bool last = m_recording->atEnd();
    m_writing.setFuture(QtConcurrent::run([file = m_file.get(), frame = std::move(frame), last] {
        return file->add(frame.image, frame.duration) && (!last || file->finish());
    }));
}

void BackgroundRecording::frameWritten()
{
    if (m_cancelled) {
        end();
        return;
    }
    if (!m_writing.result()) {
        fail(m_file->errorString());
        return;
    }
    m_progress->setValue(std::min(m_recording->framesTaken(), m_progress->maximum()));
    if (m_recording->atEnd()) {
        end();
        return;
    }
    QTimer::singleShot(0, this, &BackgroundRecording::drawFrame);
}

void BackgroundRecording::cancel()
{
    m_cancelled = true;
    if (!m_writing.isRunning())
        end();
}

void BackgroundRecording::fail(const QString &reason)
{
    if (m_cancelled)
        return;
    m_cancelled = true;
    if (m_progress)
        m_progress->hide();
    QMessageBox::warning(m_window, tr("Record animation"),
                         tr("The animation could not be recorded to %1: %2.")
                             .arg(escapeForMessage(QDir::toNativeSeparators(m_path)), reason));
    if (!m_writing.isRunning())
        end();
}

void BackgroundRecording::end()
{
    m_file.reset();
    if (m_progress)
        m_progress->hide();
    deleteLater();
}

} // namespace sweepdraw
