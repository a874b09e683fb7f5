#include "PictureHistory.h"

#include "SteppedAction.h"

namespace sweepdraw {

void PictureHistory::finished(Button button)
{
    if (commandOf(button).clears()) {
        m_pictures.clear();
        return;
    }
    m_pictures.removeOne(button);
    m_pictures.append(button);
}

std::optional<QString> PictureHistory::drawPictures(DrawingSurface &surface, const QList<Button> &pictures,
                                                    std::optional<Button> underWay, long long landed)
{
    for (Button button : pictures)
        if (std::optional<QString> failure = runAtOnce(commandOf(button).action, surface))
            return failure;
    if (!underWay)
        return std::nullopt;
    // The command under way again, as far as it has landed; the rest of it
    // is unwound with the replay.
    SteppedAction replay(commandOf(*underWay).action, surface);
    replay.land(landed);
    return replay.failure();
}

} // namespace sweepdraw
