#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;

namespace sweepdraw {

class BackgroundRecording;
class RunnerDriver;

// What the window's items for keeping and sharing what it draws do: "Save
// picture…" saves the picture to a file in a format --save writes, "Copy
// picture" puts it on the clipboard, and "Record animation…" records the
// drawing of the pictures since the last 清除, at the window's speed, as an
// animation.
// The picture saved or copied is the whole window at its design size, as
// `snapshot` gives it at the moment the item is chosen, with whatever has
// landed of a command being drawn; the drawing goes on meanwhile. One
// recording runs at a time, and the window goes on answering while it does.
// Their file dialogs open in the folder last chosen in either, while the
// program runs.
class PictureActions final : public QObject
{
    Q_OBJECT

public:
    using Snapshot = std::function<QImage()>;

    // The items act for `window`, whose pictures `runner` draws.
    PictureActions(QWidget &window, const RunnerDriver &runner, QAction *save, QAction *copy, QAction *record,
                   Snapshot snapshot);

private:
    void save();
    void copy();
    void record();

    QWidget &m_window;
    const RunnerDriver &m_runner;
    Snapshot m_snapshot;
    QAction *m_record;
    QPointer<BackgroundRecording> m_recording;
    QString m_folder; // where the file dialogs open: the last folder chosen
};

} // namespace sweepdraw
