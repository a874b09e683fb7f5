#include "PictureChange.h"

namespace sweepdraw {

PictureChange::PictureChange(PictureHistory shown, DrawingSurface &picture)
    : m_shown(std::move(shown))
    , m_picture(picture)
{
    m_action = std::make_unique<SteppedAction>(
        [pictures = m_shown.pictures()](DrawingSurface &surface) {
            for (const Runnable &command : pictures) {
                command.restorePenOn(surface);
                command.draw(surface);
            }
        },
        picture);
}

bool PictureChange::land(const std::optional<SteppedAction::Deadline> &deadline)
{
    m_action->land(Pace::kUnlimited, deadline);
    return m_action->finished();
}

} // namespace sweepdraw
