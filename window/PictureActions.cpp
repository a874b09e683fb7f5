#include "PictureActions.h"

#include "AnimationFile.h"
#include "BackgroundRecording.h"
#include "RunnerDriver.h"
#include "ImageFile.h"
#include "RuntimeErrorLine.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStandardPaths>

namespace sweepdraw {

namespace {

// Where a file dialog first opens: the user's pictures.
QString picturesFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QDir(pictures).exists() ? pictures : QDir::homePath();
}

// Asks for a file to write in `folder`, offering `suffixes` in that order
// under the names `filters` gives them; a name given without one of them
// gets the chosen one. Empty when the dialog is cancelled; otherwise
// `folder` becomes the file's, for the next dialog.
QString askForFile(QWidget *parent, QString &folder, const QString &title, const QStringList &suffixes,
                   const QStringList &filters)
{
    QString chosen;
    QString path = QFileDialog::getSaveFileName(parent, title, QDir(folder).filePath(QStringLiteral("sweepdraw.") + suffixes[0]),
                                                filters.join(QStringLiteral(";;")), &chosen);
    if (path.isEmpty())
        return path;
    if (!suffixes.contains(QFileInfo(path).suffix().toLower()))
        path += QLatin1Char('.') + suffixes.value(std::max<qsizetype>(filters.indexOf(chosen), 0));
    folder = QFileInfo(path).absolutePath();
    return path;
}

} // namespace

PictureActions::PictureActions(QWidget &window, const RunnerDriver &runner, QAction *save, QAction *copy,
                               QAction *record, Snapshot snapshot)
    : QObject(&window)
    , m_window(window)
    , m_runner(runner)
    , m_snapshot(std::move(snapshot))
    , m_record(record)
    , m_folder(picturesFolder())
{
    connect(save, &QAction::triggered, this, &PictureActions::save);
    connect(copy, &QAction::triggered, this, &PictureActions::copy);
    connect(m_record, &QAction::triggered, this, &PictureActions::record);
}

void PictureActions::save()
{
    const QImage picture = m_snapshot();
    QStringList suffixes;
    for (const QByteArray &format : writableImageFormats())
        suffixes << QString::fromLatin1(format);
    suffixes.move(std::max<qsizetype>(suffixes.indexOf(QStringLiteral("png")), 0), 0);
    QStringList filters;
    for (const QString &suffix : suffixes)
        filters << tr("%1 image (*.%2)").arg(suffix.toUpper(), suffix);
    const QString title = tr("Save picture");
    const QString path = askForFile(&m_window, m_folder, title, suffixes, filters);
    if (path.isEmpty())
        return;
    if (const std::optional<QString> error = saveImage(picture, path))
        QMessageBox::warning(&m_window, title,
                             tr("The picture could not be saved to %1: %2.").arg(escapeForMessage(QDir::toNativeSeparators(path)), *error));
}

void PictureActions::copy()
{
    QGuiApplication::clipboard()->setImage(m_snapshot());
}

void PictureActions::record()
{
    if (m_recording)
        return;
    // What was drawn since the last clear, and on to the end of what is
    // queued, the command under way whole: paused part way, the recording
    // still shows the drawing the window is in the middle of.
    QList<Runnable> pictures(m_runner.pictures().begin(), m_runner.pictures().end());
    for (const Runnable &command : m_runner.queued())
        pictures << command;
    if (pictures.isEmpty()) {
        QMessageBox::information(&m_window, tr("Record animation"),
                                 tr("Nothing has been drawn since the last clear, and nothing is queued: there "
                                    "is nothing to record."));
        return;
    }
    QStringList captions;
    for (const Runnable &command : pictures)
        captions << QString::fromStdString(command.caption());
    const Speed speed = m_runner.speed();
    const QStringList suffixes = AnimationFile::suffixes();
    QStringList filters;
    for (const QString &suffix : suffixes)
        filters << tr("%1 animation (*.%2)").arg(suffix.toUpper(), suffix);
    const QString path = askForFile(&m_window, m_folder, tr("Record animation"), suffixes, filters);
    if (path.isEmpty())
        return;
    m_recording = new BackgroundRecording(pictures, speed, path, &m_window,
                                          captions.join(tr(", ", "between the captions of the pictures recorded")));
    m_record->setEnabled(false);
    connect(m_recording, &QObject::destroyed, m_record, [this] { m_record->setEnabled(true); });
}

} // namespace sweepdraw
