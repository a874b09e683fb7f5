#pragma once

#include "DrawingSurface.h"
#include "LoopRecorder.h"

namespace sweepdraw {

// Counts the operations made on it, and the points among them, and draws
// nothing; it also notes the file of the first loop `loops` records as
// running when an operation is made.
class CountingSurface final : public DrawingSurface
{
public:
    explicit CountingSurface(const LoopRecorder &loops)
        : m_loops(loops)
    {
    }

    long long operations() const noexcept { return m_operations; }
    long long points() const noexcept { return m_points; }
    // The file as its loop's source location names it; nullptr until an
    // operation is made inside a recorded loop.
    const char *file() const noexcept { return m_file; }
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
        if (!m_file && m_loops.depth() > 0) [[unlikely]]
            m_file = m_loops.loop(0).where.file_name();
        return {};
    }

    Status draw()
    {
        m_usedStartingPen = m_usedStartingPen || !m_penSet;
        return count();
    }

    const LoopRecorder &m_loops;
    long long m_operations = 0;
    long long m_points = 0;
    const char *m_file = nullptr;
    bool m_penSet = false;
    bool m_usedStartingPen = false;
};

} // namespace sweepdraw
