#include "PictureHistory.h"

#include "SteppedAction.h"

#include <algorithm>

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
    finish.replacedAt = m_pictures.indexOf(command);
    while (finish.replacedAt >= 0 && m_pictures[finish.replacedAt].startingPen() != command.startingPen())
        finish.replacedAt = m_pictures.indexOf(command, finish.replacedAt + 1);
    if (finish.replacedAt >= 0)
        finish.replaced = m_pictures.takeAt(finish.replacedAt);
    m_pictures.append(command);
    m_finishes.push_back(std::move(finish));
}

void PictureHistory::replace(const std::function<bool(const Runnable &)> &replaces, const Runnable &command)
{
    // In the place of the first it replaces, under the pictures drawn after
    // it; over them all if it replaces none.
    const auto first = std::find_if(m_pictures.cbegin(), m_pictures.cend(), replaces);
    const qsizetype at = first - m_pictures.cbegin();
    m_pictures.removeIf(replaces);
    finished(command);
    m_pictures.move(m_pictures.size() - 1, std::min(at, m_pictures.size() - 1));
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
    m_pictures.removeLast();
    if (finish.replaced)
        m_pictures.insert(finish.replacedAt, *finish.replaced);
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
