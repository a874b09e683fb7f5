#pragma once

#include "PictureHistory.h"
#include "PiecewiseDrawing.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sweepdraw {

class DrawingSurface;

// A change to the picture, drawn apart from it: `command` in place of the
// pictures `replaces` is true of (see PictureHistory::replace), drawn
// afresh with the rest on a picture of its own, a piece at a time, so that
// the picture in view stays as it was until the change is whole. It waits
// until it is begun on the history as it stands then. Or, with no command,
// the pictures a history holds drawn again as they stand.
class PictureChange final
{
public:
    // Draws on `picture`, an empty surface, which must outlive it.
    PictureChange(const Runnable &command, std::function<bool(const Runnable &)> replaces, DrawingSurface &picture);
    // Draws the pictures `shown` holds on `picture`, begun at once.
    PictureChange(PictureHistory shown, DrawingSurface &picture);

    // Begins on the pictures `history` holds, the command as started on a
    // pen `pen` pixels wide.
    void begin(PictureHistory history, int pen);
    bool begun() const { return m_action != nullptr; }

    // Lands as much as there is time for before `deadline`: whether the
    // change is done, drawn whole or failed.
    bool land(const std::optional<PiecewiseDrawing::Deadline> &deadline);

    // The command in place; only for a change given one.
    const Runnable &command() const { return *m_command; }
    const std::optional<RuntimeError> &failure() const { return m_action->failure(); }
    // Operations landed so far; 0 before it begins.
    long long landed() const { return m_action ? m_action->landed() : 0; }
    // The pictures once the change is whole.
    const PictureHistory &shown() const { return m_shown; }
    DrawingSurface &picture() const { return m_picture; }

private:
    // The action that draws the pictures shown.
    void start();

    std::optional<Runnable> m_command;
    std::function<bool(const Runnable &)> m_replaces;
    PictureHistory m_shown;
    DrawingSurface &m_picture;
    std::unique_ptr<PiecewiseDrawing> m_action; // once begun
};

} // namespace sweepdraw
