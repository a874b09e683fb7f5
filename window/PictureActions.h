#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;

namespace sweepdraw {

class BackgroundRecording;
class Form1;

// The window's items for keeping and sharing what it draws: 保存图片…
// (Ctrl+S) saves the picture to a file in a format --save writes, 复制图片
// (Ctrl+C) puts it on the clipboard, and 录制动画… records the drawing of
// the pictures since the last 清除, at the window's speed, as an animation.
// The picture saved or copied is the whole window at its design size, as
// `snapshot` gives it at the moment the item is chosen, with whatever has
// landed of a command being drawn; the drawing goes on meanwhile. One
// recording runs at a time, and the window goes on answering while it does.
class PictureActions final : public QObject
{
    Q_OBJECT

public:
    using Snapshot = std::function<QImage()>;

    PictureActions(Form1 &window, Snapshot snapshot);

    // In the order of the menu; each belongs to the window.
    QList<QAction *> actions() const { return {m_save, m_copy, m_record}; }

private:
    void save();
    void copy();
    void record();

    Form1 &m_window;
    Snapshot m_snapshot;
    QAction *m_save;
    QAction *m_copy;
    QAction *m_record;
    QPointer<BackgroundRecording> m_recording;
};

} // namespace sweepdraw
