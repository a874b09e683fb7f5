#include "CallSurface.h"

#include "LoopRecorder.h"
#include "Runnable.h"
#include "PiecewiseDrawing.h"

namespace sweepdraw {

Status CallSurface::make(Operation operation)
{
    ++m_made;
    m_last = operationName(operation).data();
    const LoopRecorder *loops = LoopRecorder::active();
    m_outsideIndex = loops && loops->depth() > 0 ? -1 : m_outside++;
    if (m_outsideIndex >= 0 && m_outsideIndex == m_stopAt)
        return Status::failure(FaultKind::StoppedHere);
    return {};
}

long long operationOutsideLoops(const Runnable &command, int index)
{
    if (index < 0)
        return 0;
    CallSurface calls(index);
    LoopRecorder loops;
    const LoopRecorder::Activation recording(&loops);
    (void)runAtOnce(actionOf(command), calls);
    return calls.stoppedAt();
}

} // namespace sweepdraw
