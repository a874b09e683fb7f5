#pragma once

#include "PictureHistory.h"
#include "SteppedAction.h"

#include <memory>
#include <optional>
#include <string>

namespace sweepdraw {

class DrawingSurface;

// A change to the picture, drawn apart from it: the pictures as `shown`
// holds them, drawn afresh on a picture of their own, a piece at a time, so
// that the picture in view stays as it was until the change is whole.
class PictureChange final
{
public:
    // Draws on `picture`, an empty surface, which must outlive it.
    PictureChange(PictureHistory shown, DrawingSurface &picture);

    // Lands as much as there is time for before `deadline`: whether the
    // change is done, drawn whole or failed.
    bool land(const SteppedAction::Deadline &deadline);

    const std::optional<std::string> &failure() const { return m_action->failure(); }
    long long landed() const { return m_action->landed(); }
    const PictureHistory &shown() const { return m_shown; }
    DrawingSurface &picture() const { return m_picture; }

private:
    PictureHistory m_shown;
    DrawingSurface &m_picture;
    std::unique_ptr<SteppedAction> m_action;
};

} // namespace sweepdraw
