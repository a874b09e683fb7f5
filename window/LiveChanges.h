#pragma once

#include "Runnable.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>

class QLabel;
class QWidget;

namespace sweepdraw {

class RunnerDriver;
class RasterSurface;
class SurfaceView;

// The learner's changes to their routine, shown in the picture as they are
// made. Each is drawn afresh apart from the picture, a piece a frame
// (RunnerDriver::showChange), in place of the routine's earlier versions
// and of the scene it is a copy of, and the picture shows it once it is
// whole. A change that takes longer than a moment tells how far it has come
// in a note over the picture, never drawn into it.
class LiveChanges final : public QObject
{
    Q_OBJECT

public:
    // How long a change draws before its note shows.
    static constexpr int kNoteAfterMs = 250;

    LiveChanges(RunnerDriver &runner, SurfaceView &view, QWidget &window);
    ~LiveChanges() override;

    // Shows `routine`, the learner's routine as it is now; `sceneFile` is
    // the file of the scene it is a copy of ("Sunshine.cpp"), or empty.
    void show(const Runnable &routine, const QString &sceneFile, double zoom);

    // The picture is made again at `zoom`: a change under way begins again
    // on a picture of that size.
    void rezoom(double zoom);

    // The note, to be laid over the picture; hidden but while it tells.
    QLabel *note() const { return m_note; }

signals:
    // The change failed with `message`, and the picture stays as it was.
    void failed(const QString &message);
    // The note shows or hides.
    void noteChanged();

private:
    void tell();
    void hideNote();

    QPointer<RunnerDriver> m_runner; // made before this, and gone before it at the end
    SurfaceView &m_view;
    QLabel *m_note;
    std::unique_ptr<RasterSurface> m_picture; // the change's, while it is drawn
    std::optional<Runnable> m_routine;
    QString m_sceneFile;
    QElapsedTimer m_since; // since the change began
};

} // namespace sweepdraw
