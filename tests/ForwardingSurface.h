#pragma once

#include "DrawingSurface.h"

#include <functional>

namespace sweepdraw::test {

// Passes every operation on to another surface, and lets a test step in
// before each one: `before` sees the operation's number, counted from 1, and
// may return a failing status to stop it there.
class ForwardingSurface final : public DrawingSurface
{
public:
    using Hook = std::function<Status(long long operation)>;

    ForwardingSurface(DrawingSurface &target, Hook before)
        : m_target(target), m_before(std::move(before))
    {
    }

    long long operations() const { return m_count; }

protected:
    Status doSetPenWidth(int width) override
    {
        return step([&] { return m_target.SetPenWidth(width); });
    }
    Status doPlotPoint(float x, float y, Colour colour) override
    {
        return step([&] { return m_target.PlotPoint(x, y, colour); });
    }
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override
    {
        return step([&] { return m_target.DrawBox(x1, y1, x2, y2, colour); });
    }
    Status doDrawCircle(float x, float y, float radius, Colour colour) override
    {
        return step([&] { return m_target.DrawCircle(x, y, radius, colour); });
    }
    Status doClearSurface() override
    {
        return step([&] { return m_target.ClearSurface(); });
    }

private:
    template <typename Operation>
    Status step(Operation &&operation)
    {
        ++m_count;
        const Status verdict = m_before ? m_before(m_count) : Status();
        if (!verdict.ok())
            return verdict;
        return operation();
    }

    DrawingSurface &m_target;
    Hook m_before;
    long long m_count = 0;
};

} // namespace sweepdraw::test
