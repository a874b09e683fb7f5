#include "CallSearch.h"

#include "DrawInPieces.h"
#include "Pace.h"

namespace sweepdraw {

CallSearch::CallSearch(const Runnable &command, int index)
    : m_calls(index)
    , m_drawing(drawInPieces(command, m_calls))
{
}

bool CallSearch::land(std::optional<PiecewiseDrawing::Deadline> deadline)
{
    const LoopRecorder::Activation recording(&m_loops);
    m_drawing->land(Pace::kUnlimited, deadline);
    return m_drawing->finished();
}

long long CallSearch::found() const
{
    return m_calls.stoppedAt();
}

} // namespace sweepdraw
