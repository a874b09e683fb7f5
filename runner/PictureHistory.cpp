#include "PictureHistory.h"

#include "SteppedAction.h"

namespace sweepdraw {

void PictureHistory::finished(const Runnable &command)
{
    if (command.clears()) {
        m_pictures.clear();
        return;
    }
    // Drawn again on the same pen, it covers everything it drew before.
    m_pictures.removeIf([&command](const Runnable &picture) {
        return picture == command && picture.startingPen() == command.startingPen();
    });
    m_pictures.append(command);
}

void PictureHistory::replace(const std::function<bool(const Runnable &)> &replaces, const Runnable &command)
{
    m_pictures.removeIf(replaces);
    finished(command);
}

std::optional<QString> PictureHistory::drawPictures(DrawingSurface &surface, const QList<Runnable> &pictures,
                                                    const std::optional<Runnable> &underWay, long long landed)
{
    for (const Runnable &command : pictures) {
        command.restorePenOn(surface);
        if (std::optional<QString> failure = runAtOnce(actionOf(command), surface))
            return failure;
    }
    if (!underWay)
        return std::nullopt;
    underWay->restorePenOn(surface);
    // The command under way again, as far as it has landed; the rest of it
    // is unwound with the replay.
    SteppedAction replay(actionOf(*underWay), surface);
    replay.land(landed);
    return replay.failure();
}

} // namespace sweepdraw
