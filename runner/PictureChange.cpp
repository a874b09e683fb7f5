#include "PictureChange.h"

#include "DrawInPieces.h"

#include <utility>

namespace sweepdraw {

PictureChange::PictureChange(const Runnable &command, std::function<bool(const Runnable &)> replaces,
                             DrawingSurface &picture)
    : m_command(command)
    , m_replaces(std::move(replaces))
    , m_picture(picture)
{
}

PictureChange::PictureChange(PictureHistory shown, DrawingSurface &picture)
    : m_shown(std::move(shown))
    , m_picture(picture)
{
    start();
}

void PictureChange::begin(PictureHistory history, int pen)
{
    m_shown = std::move(history);
    m_shown.replace(m_replaces, m_command->startingOn(pen));
    start();
}

void PictureChange::start()
{
    m_action = drawInPieces(m_shown.pictures(), m_picture);
}

bool PictureChange::land(const std::optional<PiecewiseDrawing::Deadline> &deadline)
{
    m_action->land(Pace::kUnlimited, deadline);
    return m_action->finished();
}

} // namespace sweepdraw
