#include "RecordingSurface.h"

#include <algorithm>

namespace sweepdraw {

Status RecordingSurface::add(const Call &call)
{
    m_runs.push_back({call, m_size, m_points.size()});
    ++m_size;
    return {};
}

Status RecordingSurface::doSetPenWidth(int width)
{
    return add({.op = Op::SetPenWidth, .width = width});
}

Status RecordingSurface::doPlotPoint(float x, float y, QRgb colour)
{
    if (m_runs.empty() || m_runs.back().call.op != Op::PlotPoint || m_runs.back().call.colour != colour)
        m_runs.push_back({{.op = Op::PlotPoint, .colour = colour}, m_size, m_points.size()});
    m_points.push_back({x, y});
    ++m_size;
    return {};
}

Status RecordingSurface::doDrawBox(float x1, float y1, float x2, float y2, QRgb colour)
{
    return add({.op = Op::DrawBox, .x = x1, .y = y1, .x2 = x2, .y2 = y2, .colour = colour});
}

Status RecordingSurface::doDrawCircle(float x, float y, float radius, QRgb colour)
{
    return add({.op = Op::DrawCircle, .x = x, .y = y, .radius = radius, .colour = colour});
}

Status RecordingSurface::doClearSurface()
{
    return add({.op = Op::ClearSurface});
}

void RecordingSurface::clear()
{
    m_runs.clear();
    m_points.clear();
    m_size = 0;
}

std::size_t RecordingSurface::runOf(std::size_t index) const
{
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), index,
                                        [](std::size_t i, const Run &run) { return i < run.first; });
    return static_cast<std::size_t>(after - m_runs.begin()) - 1;
}

std::size_t RecordingSurface::endOf(std::size_t run) const
{
    return run + 1 < m_runs.size() ? m_runs[run + 1].first : m_size;
}

RecordingSurface::Call RecordingSurface::call(std::size_t index) const
{
    const Run &run = m_runs[runOf(index)];
    Call call = run.call;
    if (call.op == Op::PlotPoint) {
        const Point &point = m_points[run.firstPoint + (index - run.first)];
        call.x = point.x;
        call.y = point.y;
    }
    return call;
}

std::vector<RecordingSurface::Call> RecordingSurface::calls() const
{
    std::vector<Call> all;
    all.reserve(m_size);
    for (std::size_t i = 0; i < m_size; ++i)
        all.push_back(call(i));
    return all;
}

Status RecordingSurface::perform(DrawingSurface &target, const Call &call)
{
    switch (call.op) {
    case Op::SetPenWidth:
        return target.SetPenWidth(call.width);
    case Op::PlotPoint:
        return target.PlotPoint(call.x, call.y, call.colour);
    case Op::DrawBox:
        return target.DrawBox(call.x, call.y, call.x2, call.y2, call.colour);
    case Op::DrawCircle:
        return target.DrawCircle(call.x, call.y, call.radius, call.colour);
    case Op::ClearSurface:
        return target.ClearSurface();
    }
    return Status::failure("RecordingSurface: unknown operation");
}

Status RecordingSurface::replay(DrawingSurface &target, std::size_t &next, std::size_t end) const
{
    end = std::min(end, m_size);
    if (next >= end)
        return {};
    for (std::size_t run = runOf(next); next < end; ++run) {
        const Call &call = m_runs[run].call;
        const std::size_t runEnd = std::min(endOf(run), end);
        if (call.op != Op::PlotPoint) {
            const Status status = perform(target, call);
            if (!status.ok())
                return status;
            ++next;
            continue;
        }
        const Point *point = m_points.data() + m_runs[run].firstPoint + (next - m_runs[run].first);
        for (; next < runEnd; ++next, ++point) {
            const Status status = target.PlotPoint(point->x, point->y, call.colour);
            if (!status.ok()) [[unlikely]]
                return status;
        }
    }
    return {};
}

} // namespace sweepdraw
