#pragma once

#include "DrawingSurface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sweepdraw {

// Remembers every successful call in order, with its arguments exactly as
// passed, and draws nothing; the calls can be played again, all or a part at
// a time, on another surface. Calls with invalid arguments fail as on any
// surface and are not recorded.
//
// Points take eight bytes each: a run of points in one colour keeps the
// colour once. A whole scene of over a million points fits in a few
// megabytes.
class RecordingSurface final : public DrawingSurface
{
public:
    enum class Op : std::uint8_t { SetPenWidth, PlotPoint, DrawBox, DrawCircle, ClearSurface };

    // Fields an operation does not take stay zero. DrawBox uses x, y, x2, y2;
    // DrawCircle uses x, y and radius; SetPenWidth uses width.
    struct Call
    {
        Op op;
        float x = 0, y = 0;
        float x2 = 0, y2 = 0;
        float radius = 0;
        int width = 0;
        QRgb colour = 0;

        friend bool operator==(const Call &, const Call &) = default;
    };

    RecordingSurface() = default;

    // How many calls are recorded.
    std::size_t size() const noexcept { return m_size; }
    // The call at `index`, which must be below size().
    Call call(std::size_t index) const;
    // Every call, in order.
    std::vector<Call> calls() const;

    // Makes the recorded calls from `next` up to but not including `end` on
    // `target`, in order, moving `next` past each one that succeeds. Stops at
    // the first that fails, with `next` on it, and returns its status.
    Status replay(DrawingSurface &target, std::size_t &next, std::size_t end) const;

    // Makes one call on `target`.
    static Status perform(DrawingSurface &target, const Call &call);

    // Forgets every call, and keeps the memory for the next recording.
    void clear();

protected:
    Status doSetPenWidth(int width) override;
    Status doPlotPoint(float x, float y, QRgb colour) override;
    Status doDrawBox(float x1, float y1, float x2, float y2, QRgb colour) override;
    Status doDrawCircle(float x, float y, float radius, QRgb colour) override;
    Status doClearSurface() override;

private:
    struct Point
    {
        float x, y;
    };

    // One call, or for points a run of them in one colour: calls `first`
    // onwards, up to the next run's first, with their points from
    // m_points[firstPoint] on.
    struct Run
    {
        Call call;
        std::size_t first;
        std::size_t firstPoint;
    };

    Status add(const Call &call);
    std::size_t runOf(std::size_t index) const;
    std::size_t endOf(std::size_t run) const;

    std::vector<Run> m_runs;
    std::vector<Point> m_points;
    std::size_t m_size = 0;
};

} // namespace sweepdraw
