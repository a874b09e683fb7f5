#include "SteppedAction.h"

#include "LoopRecorder.h"
#include "RuntimeError.h"
#include "VectorState.h"

#include <boost/context/protected_fixedsize_stack.hpp>

#include <algorithm>

namespace sweepdraw {

namespace {

// Far more than any action needs, with room for a sanitizer's larger
// frames; only the pages touched take memory.
constexpr std::size_t kStackSize = 1024 * 1024;

std::optional<QString> attempt(Action action, DrawingSurface &surface)
{
    try {
        action(surface);
    } catch (const RuntimeError &error) {
        return QString::fromUtf8(error.what());
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> runAtOnce(Action action, DrawingSurface &surface)
{
    clearUpperVectorState();
    return attempt(action, surface);
}

// Passes operations on to the target while the open batch lasts. Most
// operations only count down; the rest of the bookkeeping comes once a
// batch.
class SteppedAction::Gate final : public DrawingSurface
{
public:
    Gate(SteppedAction &owner, DrawingSurface &target, LoopRecorder *points)
        : m_owner(owner)
        , m_target(&target)
        , m_points(points ? points : &m_unread)
    {
    }

    void retarget(DrawingSurface &target) { m_target = &target; }
    // Below zero only in the operation that opens the next batch.
    long long left() const { return std::max(m_left, 0LL); }
    void open(long long operations) { m_left = operations; }

protected:
    Status doSetPenWidth(int width) override
    {
        pass();
        return m_target->SetPenWidth(width);
    }
    // Points come a million to a command, so within a batch a point is
    // passed on in a jump, with nothing left to do after it. It is noted
    // before it lands, then: a point the target refuses ends the action,
    // and with it the loops that the note is read with.
    Status doPlotPoint(float x, float y, QRgb colour) override
    {
        if (--m_left < 0) [[unlikely]]
            return passFirstOfBatch(x, y, colour);
        m_points->plotted(x, y);
        return passPointOn(*m_target, x, y, colour);
    }
    Status doDrawBox(float x1, float y1, float x2, float y2, QRgb colour) override
    {
        pass();
        return m_target->DrawBox(x1, y1, x2, y2, colour);
    }
    Status doDrawCircle(float x, float y, float radius, QRgb colour) override
    {
        pass();
        return m_target->DrawCircle(x, y, radius, colour);
    }
    Status doClearSurface() override
    {
        pass();
        return m_target->ClearSurface();
    }

private:
    void pass()
    {
        if (--m_left < 0) [[unlikely]] {
            m_owner.openBatch();
            --m_left;
        }
    }

    [[gnu::noinline]] Status passFirstOfBatch(float x, float y, QRgb colour)
    {
        m_owner.openBatch();
        return doPlotPoint(x, y, colour);
    }

    SteppedAction &m_owner;
    DrawingSurface *m_target;
    LoopRecorder m_unread; // where the points go when nobody reads them
    LoopRecorder *m_points;
    long long m_left = 0;
};

SteppedAction::SteppedAction(Action action, DrawingSurface &target, LoopRecorder *points)
    : m_action(action)
    , m_gate(std::make_unique<Gate>(*this, target, points))
{
    namespace context = boost::context;
    m_fiber = context::fiber(std::allocator_arg, context::protected_fixedsize_stack(kStackSize),
                             [this](context::fiber &&caller) {
                                 // Started, so that destroying it before the
                                 // first land() unwinds it like any other.
                                 m_caller = std::move(caller).resume();
                                 m_failure = attempt(m_action, *m_gate);
                                 m_finished = true;
                                 return std::move(m_caller);
                             });
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
    m_fiber = std::move(m_fiber).resume();
    return landed() - before;
}

long long SteppedAction::landed() const
{
    return m_landed + m_batch - m_gate->left();
}

void SteppedAction::retarget(DrawingSurface &target)
{
    m_gate->retarget(target);
}

bool SteppedAction::timeUp() const
{
    return m_deadline && (*m_deadline->clock)() >= m_deadline->at;
}

void SteppedAction::openBatch()
{
    m_landed += m_batch;
    m_batch = 0;
    while (m_allowed == 0 || timeUp())
        m_caller = std::move(m_caller).resume();
    m_batch = std::min(m_allowed, kBatch);
    m_allowed -= m_batch;
    m_gate->open(m_batch);
}

} // namespace sweepdraw
