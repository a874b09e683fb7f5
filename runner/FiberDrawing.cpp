#include "FiberDrawing.h"

#include "DrawInPieces.h"
#include "LoopRecorder.h"
#include "RuntimeError.h"
#include "VectorState.h"

#include <boost/context/protected_fixedsize_stack.hpp>

#include <algorithm>
#include <exception>
#include <memory>
#include <new>
#include <utility>

namespace sweepdraw {

namespace {

// Far more than any action needs, with room for a sanitizer's larger
// frames; only the pages touched take memory.
constexpr std::size_t kStackSize = 1024 * 1024;

} // namespace

std::unique_ptr<PiecewiseDrawing> drawActionInPieces(Action action, DrawingSurface &target, LoopRecorder *points)
{
    return std::make_unique<FiberDrawing>(std::move(action), target, points);
}

FiberDrawing::FiberDrawing(Action action, DrawingSurface &target, LoopRecorder *points)
    : m_action(std::move(action))
    , m_target(target)
    , m_points(points)
{
    namespace context = boost::context;
    try {
        m_fiber = context::fiber(std::allocator_arg, context::protected_fixedsize_stack(kStackSize),
                                 [this](context::fiber &&caller) {
                                     // Started, so that destroying it before
                                     // the first land() unwinds it like any
                                     // other.
                                     m_caller = std::move(caller).resume();
                                     try {
                                         m_action(m_target);
                                     } catch (const RuntimeError &error) {
                                         m_failure = error;
                                     } catch (const context::detail::forced_unwind &) {
                                         throw;
                                     } catch (...) {
                                         // Not the action's failure: for
                                         // land() to throw on.
                                         m_escaped = std::current_exception();
                                     }
                                     m_finished = true;
                                     return std::move(m_caller);
                                 });
    } catch (const std::bad_alloc &) {
        // No stack for the fiber: the action fails before its first
        // operation, as one that runs out of memory would.
        m_failure = RuntimeError({FaultKind::OutOfMemory, {}, 0, 0});
        m_finished = true;
        return;
    }
    m_fiber = std::move(m_fiber).resume();
}

FiberDrawing::~FiberDrawing()
{
    // Unwinds the action, if it is suspended, while everything it uses is
    // still here.
    m_fiber = {};
}

long long FiberDrawing::land(long long operations, std::optional<Deadline> deadline)
{
    if (m_finished || operations <= 0)
        return 0;
    const long long before = landed();
    m_allowed = operations;
    m_deadline = deadline;
    clearUpperVectorState();
    // Waiting, the action is always at the first operation beyond a batch.
    m_target.startMetering(*this);
    {
        const LoopWatch::Activation watching(this);
        m_fiber = std::move(m_fiber).resume();
    }
    m_left = m_target.stopMetering();
    if (m_escaped)
        std::rethrow_exception(std::exchange(m_escaped, nullptr));
    return landed() - before;
}

long long FiberDrawing::landUntil(long long operations, const Stop &stop, std::optional<Deadline> deadline)
{
    m_stop = &stop;
    const long long landed = land(operations, deadline);
    m_stop = nullptr;
    return landed;
}

long long FiberDrawing::more()
{
    m_landed += m_batch;
    m_batch = 0;
    while (m_allowed == 0 || timeUp())
        m_caller = std::move(m_caller).resume();
    m_batch = std::min(m_allowed, m_stop ? 1 : kBatch);
    m_allowed -= m_batch;
    return m_batch;
}

void FiberDrawing::look()
{
    if (!timeUp())
        return;
    // Suspended part way through a batch: what it let through and did not
    // land goes, and the next operation asks for a batch of its own. The
    // loops are noted where they are, however long since the last
    // operation.
    if (m_points)
        m_points->note();
    m_caller = std::move(m_caller).resume();
    m_batch -= m_left;
    m_left = 0;
}

// The action can wait only after the last operation of a batch, and the
// note is read only while it waits.
void FiberDrawing::last(bool point, float x, float y)
{
    if (noteLast(m_points, m_stop, point, x, y))
        m_allowed = 0;
}

} // namespace sweepdraw
