// The way an action is drawn where the build has no fibers, as in the
// page's: it cannot wait part way, so it lands whole at its first land().
// The page draws every scene from its routine (RoutineDrawing), which
// leaves only "清除", of one operation, to be drawn this way.

#include "DrawInPieces.h"

#include "DrawingSurface.h"

#include <climits>
#include <utility>

namespace sweepdraw {

namespace {

// Counts what lands on the target with its meter, which lets everything
// through.
class ActionAtOnce final : public PiecewiseDrawing, private DrawingSurface::Meter
{
public:
    ActionAtOnce(Action action, DrawingSurface &target)
        : m_action(std::move(action))
        , m_target(target)
    {
    }

    long long land(long long operations, std::optional<Deadline> deadline) override
    {
        if (m_finished || operations <= 0 || (deadline && deadline->passed()))
            return 0;
        m_finished = true;
        m_target.startMetering(*this);
        try {
            m_failure = runAtOnce(m_action, m_target);
        } catch (...) {
            m_landed = m_let - m_target.stopMetering();
            throw;
        }
        m_landed = m_let - m_target.stopMetering();
        return m_landed;
    }
    long long landUntil(long long operations, const Stop &, std::optional<Deadline> deadline) override
    {
        return land(operations, deadline);
    }

    bool finished() const override { return m_finished; }
    const std::optional<RuntimeError> &failure() const override { return m_failure; }
    long long landed() const override { return m_landed; }

private:
    static constexpr long long kAll = LLONG_MAX / 4;

    long long more() override { return m_let = kAll; }
    void last(bool, float, float) override {}

    Action m_action;
    DrawingSurface &m_target;
    long long m_let = 0;
    bool m_finished = false;
    std::optional<RuntimeError> m_failure;
    long long m_landed = 0;
};

} // namespace

std::unique_ptr<PiecewiseDrawing> drawActionInPieces(Action action, DrawingSurface &target, LoopRecorder *)
{
    return std::make_unique<ActionAtOnce>(std::move(action), target);
}

} // namespace sweepdraw
