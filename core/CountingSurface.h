#pragma once

#include "DrawingSurface.h"

namespace sweepdraw {

// Counts the operations made on it, and the points among them, and draws
// nothing.
class CountingSurface final : public DrawingSurface
{
public:
    CountingSurface() = default;

    long long operations() const noexcept { return m_operations; }
    long long points() const noexcept { return m_points; }
    // Whether a dot or a line was drawn before the pen was first set, with
    // the pen the drawing found.
    bool usedStartingPen() const noexcept { return m_usedStartingPen; }

protected:
    Status doSetPenWidth(int) override
    {
        m_penSet = true;
        return count();
    }
    Status doPlotPoint(float, float, Colour) override
    {
        ++m_points;
        return draw();
    }
    Status doDrawBox(float, float, float, float, Colour) override { return draw(); }
    Status doDrawCircle(float, float, float, Colour) override { return draw(); }
    Status doClearSurface() override { return count(); }

private:
    Status count()
    {
        ++m_operations;
        return {};
    }

    Status draw()
    {
        m_usedStartingPen = m_usedStartingPen || !m_penSet;
        return count();
    }

    long long m_operations = 0;
    long long m_points = 0;
    bool m_penSet = false;
    bool m_usedStartingPen = false;
};

} // namespace sweepdraw
