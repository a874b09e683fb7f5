#pragma once

#include "PiecewiseDrawing.h"

#include <functional>
#include <memory>
#include <optional>

namespace sweepdraw {

class DrawingSurface;
class LoopRecorder;
class PictureChange;
class PictureHistory;

// The picture drawn again, after a zoom or a step back: the pictures first,
// a frame's time at a time, then the command under way landed again as far
// as it had come. The runner owes it to the picture at once, whatever the
// pace.
class Redrawing final
{
public:
    Redrawing();
    ~Redrawing();

    // Draws the pictures `history` holds on `picture`, an empty surface,
    // then the command under way as far as its first `landed` operations;
    // -1 with none under way.
    void begin(const PictureHistory &history, DrawingSurface &picture, long long landed);
    void drop();
    bool isUnderWay() const { return m_pictures || m_landed >= 0; }
    // The operations of the command under way to land again; -1 with none,
    // or no redraw under way.
    long long landed() const { return m_landed; }

    // Lands as much as there is time for before `deadline`: the pictures,
    // then the command's `action`, which `start` starts once they are whole,
    // its loops recorded on `loops`. Over once whole or failed: the failure,
    // if it failed.
    std::optional<RuntimeError> land(const std::optional<PiecewiseDrawing::Deadline> &deadline,
                                     std::unique_ptr<PiecewiseDrawing> &action, const std::function<void()> &start,
                                     LoopRecorder &loops);

private:
    std::unique_ptr<PictureChange> m_pictures; // until they are whole
    long long m_landed = -1;
};

} // namespace sweepdraw
