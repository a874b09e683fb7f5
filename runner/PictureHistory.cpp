#include "PictureHistory.h"

#include "DrawInPieces.h"

#include <algorithm>
#include <utility>

namespace sweepdraw {

void PictureHistory::finished(const Runnable &command)
{
    Finish finish{command, -1, std::nullopt, {}};
    if (command.clears()) {
        finish.cleared = std::exchange(m_pictures, {});
        m_finishes.push_back(std::move(finish));
        return;
    }
    // Drawn again on the same pen, it covers everything it drew before;
    // the history holds it once at most.
    const auto replaced = std::find_if(m_pictures.begin(), m_pictures.end(), [&command](const Runnable &picture) {
        return picture == command && picture.startingPen() == command.startingPen();
    });
    if (replaced != m_pictures.end()) {
        finish.replacedAt = replaced - m_pictures.begin();
        finish.replaced = *replaced;
        m_pictures.erase(replaced);
    }
    m_pictures.push_back(command);
    m_finishes.push_back(std::move(finish));
}

void PictureHistory::replace(const std::function<bool(const Runnable &)> &replaces, const Runnable &command)
{
    // In the place of the first it replaces, under the pictures drawn after
    // it; over them all if it replaces none.
    const auto first = std::find_if(m_pictures.cbegin(), m_pictures.cend(), replaces);
    const std::ptrdiff_t at = first - m_pictures.cbegin();
    m_pictures.erase(std::remove_if(m_pictures.begin(), m_pictures.end(), replaces), m_pictures.end());
    finished(command);
    // Where the first was: the pictures before it were all kept.
    std::rotate(m_pictures.begin() + std::min<std::ptrdiff_t>(at, std::ssize(m_pictures) - 1), m_pictures.end() - 1,
                m_pictures.end());
    m_finishes.clear();
}

std::optional<Runnable> PictureHistory::lastFinished() const
{
    if (m_finishes.empty() || !m_finishes.back().command.isWhole())
        return std::nullopt;
    return m_finishes.back().command;
}

void PictureHistory::reopenLast()
{
    Finish finish = std::move(m_finishes.back());
    m_finishes.pop_back();
    if (finish.command.clears()) {
        m_pictures = std::move(finish.cleared);
        return;
    }
    m_pictures.pop_back();
    if (finish.replaced)
        m_pictures.insert(m_pictures.begin() + finish.replacedAt, *finish.replaced);
}

std::optional<RuntimeError> PictureHistory::drawPictures(DrawingSurface &surface, const std::vector<Runnable> &pictures,
                                                        const std::optional<Runnable> &underWay, long long landed)
{
    for (const Runnable &command : pictures) {
        command.restorePenOn(surface);
        if (std::optional<RuntimeError> failure = runAtOnce(actionOf(command), surface))
            return failure;
    }
    if (!underWay)
        return std::nullopt;
    underWay->restorePenOn(surface);
    // The command under way again, as far as it has landed; the rest of it
    // is unwound with the replay.
    const std::unique_ptr<PiecewiseDrawing> replay = drawInPieces(*underWay, surface);
    replay->land(landed);
    return replay->failure();
}

} // namespace sweepdraw
