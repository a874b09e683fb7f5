#pragma once

#include "Runnable.h"
#include "RuntimeError.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sweepdraw {

class DrawingSurface;

// What the picture shows, kept so that it can be drawn again on another
// surface, at another size: the drawing commands finished since the last
// clear, in the order of their last run, each once for each pen it started
// on if what it draws may depend on that (see Runnable::startingOn), once if
// not. A command drawn again from the same pen covers everything it drew
// before, and each starts on the pen it started on, so running these on an
// empty surface gives the picture exactly.
class PictureHistory final
{
public:
    const std::vector<Runnable> &pictures() const { return m_pictures; }

    // `command` has finished on the picture.
    void finished(const Runnable &command);

    // `command` has been drawn in place of every picture `replaces` is true
    // of, where the first of them was. No finish before it can be taken back.
    void replace(const std::function<bool(const Runnable &)> &replaces, const Runnable &command);

    // The last command finished that can be taken back, if any: every
    // finish since the last replace(), the clears too, but no part of a
    // command.
    std::optional<Runnable> lastFinished() const;
    // Takes the last finish back: the pictures are again what they were
    // before the last command finished. There must be one.
    void reopenLast();

    // Draws `pictures` on `surface`, an empty one, and then the first
    // `landed` operations of the command under way, if there is one: why
    // that failed, if it did.
    static std::optional<RuntimeError> drawPictures(DrawingSurface &surface, const std::vector<Runnable> &pictures,
                                                   const std::optional<Runnable> &underWay, long long landed);

private:
    // What a finish changed: the command, and the picture it took the place
    // of, if any, and where; or, for a clear, the pictures it cleared.
    struct Finish
    {
        Runnable command;
        std::ptrdiff_t replacedAt = -1;
        std::optional<Runnable> replaced;
        std::vector<Runnable> cleared;
    };

    std::vector<Runnable> m_pictures;
    std::vector<Finish> m_finishes; // since the last replace()
};

} // namespace sweepdraw
