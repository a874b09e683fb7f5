#include "RecordingSurface.h"

namespace sweepdraw {

Status RecordingSurface::doSetPenWidth(int width)
{
    m_calls.push_back({.op = Op::SetPenWidth, .width = width});
    return {};
}

Status RecordingSurface::doPlotPoint(float x, float y, Colour colour)
{
    m_calls.push_back({.op = Op::PlotPoint, .x = x, .y = y, .colour = colour});
    return {};
}

Status RecordingSurface::doDrawBox(float x1, float y1, float x2, float y2, Colour colour)
{
    m_calls.push_back({.op = Op::DrawBox, .x = x1, .y = y1, .x2 = x2, .y2 = y2, .colour = colour});
    return {};
}

Status RecordingSurface::doDrawCircle(float x, float y, float radius, Colour colour)
{
    m_calls.push_back({.op = Op::DrawCircle, .x = x, .y = y, .radius = radius, .colour = colour});
    return {};
}

Status RecordingSurface::doClearSurface()
{
    m_calls.push_back({.op = Op::ClearSurface});
    return {};
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
    return Status::failure(FaultKind::UnknownOperation, "RecordingSurface");
}

} // namespace sweepdraw
