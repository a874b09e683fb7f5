#include "Redrawing.h"

#include "LoopRecorder.h"
#include "PictureChange.h"

namespace sweepdraw {

Redrawing::Redrawing() = default;
Redrawing::~Redrawing() = default;

void Redrawing::begin(const PictureHistory &history, DrawingSurface &picture, long long landed)
{
    m_pictures = std::make_unique<PictureChange>(history, picture);
    m_landed = landed;
}

void Redrawing::drop()
{
    m_pictures.reset();
    m_landed = -1;
}

std::optional<RuntimeError> Redrawing::land(const std::optional<PiecewiseDrawing::Deadline> &deadline,
                                            std::unique_ptr<PiecewiseDrawing> &action,
                                            const std::function<void()> &start, LoopRecorder &loops)
{
    if (m_pictures) {
        if (!m_pictures->land(deadline))
            return std::nullopt;
        const std::optional<RuntimeError> failure = m_pictures->failure();
        m_pictures.reset();
        if (failure) {
            drop();
            return failure;
        }
        if (m_landed >= 0)
            start();
    }
    if (m_landed >= 0) {
        const LoopRecorder::Activation recording(&loops);
        action->land(m_landed - action->landed(), deadline);
        if (const std::optional<RuntimeError> failure = action->failure()) {
            drop();
            return failure;
        }
        if (action->landed() < m_landed && !action->finished())
            return std::nullopt;
    }
    drop();
    return std::nullopt;
}

} // namespace sweepdraw
