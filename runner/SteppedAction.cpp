#include "SteppedAction.h"

#include "FailureWording.h"
#include "LoopRecorder.h"
#include "RuntimeError.h"
#include "VectorState.h"

#include <boost/context/protected_fixedsize_stack.hpp>

#include <algorithm>
#include <exception>
#include <utility>
#include <new>

namespace sweepdraw {

namespace {

// Far more than any action needs, with room for a sanitizer's larger
// frames; only the pages touched take memory.
constexpr std::size_t kStackSize = 1024 * 1024;

std::optional<std::string> attempt(const Action &action, DrawingSurface &surface)
{
    try {
        action(surface);
    } catch (const RuntimeError &error) {
        return wordedFailure(error);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> runAtOnce(const Action &action, DrawingSurface &surface)
{
    clearUpperVectorState();
    return attempt(action, surface);
}

SteppedAction::SteppedAction(Action action, DrawingSurface &target, LoopRecorder *points)
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
                                         m_failure = attempt(m_action, m_target);
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
        m_failure = wordedFailure(RuntimeError({FaultKind::OutOfMemory, {}, 0, 0}));
        m_finished = true;
        return;
    }
    m_fiber = std::move(m_fiber).resume();
}

SteppedAction::~SteppedAction()
{
    // Unwinds the action, if it is suspended, while everything it uses is
    // still here.
    m_fiber = {};
}

long long SteppedAction::land(long long operations, std::optional<Deadline> deadline)
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

long long SteppedAction::landUntil(long long operations, const Stop &stop, std::optional<Deadline> deadline)
{
    m_stop = &stop;
    const long long landed = land(operations, deadline);
    m_stop = nullptr;
    return landed;
}

bool SteppedAction::timeUp() const
{
    return m_deadline && (*m_deadline->clock)() >= m_deadline->at;
}

long long SteppedAction::more()
{
    m_landed += m_batch;
    m_batch = 0;
    while (m_allowed == 0 || timeUp())
        m_caller = std::move(m_caller).resume();
    m_batch = std::min(m_allowed, m_stop ? 1 : kBatch);
    m_allowed -= m_batch;
    return m_batch;
}

void SteppedAction::look()
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
// note is read only while it waits. A point is noted before it lands: a
// point the target refuses ends the action, and with it the loops that the
// note is read with.
void SteppedAction::last(bool point, float x, float y)
{
    if (!m_points)
        return;
    if (point)
        m_points->plotted(x, y);
    else
        m_points->forgetPoint();
    m_points->note();
    if (m_stop && (*m_stop)(m_points->noted()))
        m_allowed = 0;
}

} // namespace sweepdraw
