#pragma once

#include "Runnable.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace sweepdraw {

class DrawingSurface;

// What the picture shows, kept so that it can be drawn again on another
// surface, at another size: the drawing commands finished since the last
// clear, in the order of their last run, each once for each pen it started
// on if what it draws depends on that (see Runnable::startingOn), once if
// not. A command drawn again from the same pen covers everything it drew
// before, and each starts on the pen it started on, so running these on an
// empty surface gives the picture exactly.
class PictureHistory final
{
public:
    const QList<Runnable> &pictures() const { return m_pictures; }

    // `command` has finished on the picture.
    void finished(const Runnable &command);

    // `command` has been drawn in place of every picture `replaces` is true
    // of.
    void replace(const std::function<bool(const Runnable &)> &replaces, const Runnable &command);

    // Draws the pictures on `surface`, an empty one: why that failed, if it
    // did.
    std::optional<QString> redraw(DrawingSurface &surface) const
    {
        return drawPictures(surface, m_pictures, std::nullopt, 0);
    }

    // Draws `pictures` on `surface`, an empty one, and then the first
    // `landed` operations of the command under way, if there is one: why
    // that failed, if it did.
    static std::optional<QString> drawPictures(DrawingSurface &surface, const QList<Runnable> &pictures,
                                               const std::optional<Runnable> &underWay, long long landed);

private:
    QList<Runnable> m_pictures;
};

} // namespace sweepdraw
