#include "LiveChanges.h"

#include "RunnerDriver.h"
#include "CompiledRoutine.h"
#include "PictureNote.h"
#include "RasterSurface.h"
#include "SceneFile.h"
#include "SurfaceView.h"

#include <QLabel>
#include <QLocale>

namespace sweepdraw {

LiveChanges::LiveChanges(RunnerDriver &runner, SurfaceView &view, QWidget &window)
    : QObject(&window)
    , m_runner(&runner)
    , m_view(view)
    , m_note(makePictureNote(&window, QStringLiteral("changeNote")))
{
    connect(m_runner, &RunnerDriver::changeDrawing, this, &LiveChanges::tell);
    connect(m_runner, &RunnerDriver::changeShown, this, [this] {
        m_view.setSurface(std::move(m_picture));
        m_routine.reset();
        hideNote();
    });
    connect(m_runner, &RunnerDriver::changeDropped, this, [this](const QString &failure) {
        m_picture.reset();
        m_routine.reset();
        hideNote();
        if (!failure.isEmpty())
            emit failed(failure);
    });
}

// The change draws on the picture it is given until it is dropped. A runner
// that is gone first, as the window's children go in the order they were
// made, has dropped it with its drawing.
LiveChanges::~LiveChanges()
{
    if (m_runner)
        m_runner->dropChange();
}

void LiveChanges::show(const Runnable &routine, const QString &sceneFile, double zoom)
{
    m_runner->dropChange();
    m_routine = routine;
    m_sceneFile = sceneFile;
    m_since.start();
    m_picture = m_view.makeSurface(zoom);
    const std::string file = routine.routine()->fileName();
    // Earlier versions of the routine, and the scene it is a copy of.
    const auto replaces = [file, scene = sceneFile.toStdString()](const Runnable &shown) {
        if (const CompiledRoutine *routine = shown.routine())
            return routine->fileName() == file;
        const char *sceneFile = sceneFileOf(*shown.button());
        return !scene.empty() && sceneFile && std::string_view(sceneFile).ends_with(scene);
    };
    m_runner->showChange(routine, replaces, *m_picture);
}

void LiveChanges::rezoom(double zoom)
{
    if (m_runner->isChanging() && m_routine)
        show(*m_routine, m_sceneFile, zoom);
}

void LiveChanges::tell()
{
    if (!m_since.isValid() || m_since.elapsed() < kNoteAfterMs)
        return;
    const long long landed = m_runner->progress().changing;
    m_note->setText(tr("Drawing your change · %1 operations · Shift+Esc stops").arg(QLocale().toString(landed)));
    m_note->adjustSize();
    if (m_note->isHidden()) {
        m_note->show();
        emit noteChanged();
    }
}

void LiveChanges::hideNote()
{
    m_since.invalidate();
    if (m_note->isHidden())
        return;
    m_note->hide();
    emit noteChanged();
}

} // namespace sweepdraw
