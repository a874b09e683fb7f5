#include "TraceSurface.h"

#include <cstdio>

namespace sweepdraw {

namespace {

using Op = RecordingSurface::Op;

void addNumber(std::string &line, float value)
{
    char text[32];
    const int size = std::snprintf(text, sizeof text, " %.9g", static_cast<double>(value));
    line.append(text, static_cast<std::size_t>(size));
}

void addColour(std::string &line, Colour colour)
{
    char text[16];
    const int size = std::snprintf(text, sizeof text, " #%06x", static_cast<unsigned>(colour.rgb()));
    line.append(text, static_cast<std::size_t>(size));
}

} // namespace

std::string TraceSurface::lineOf(const RecordingSurface::Call &call)
{
    std::string line(operationName(call.op));
    switch (call.op) {
    case Op::SetPenWidth:
        line += ' ' + std::to_string(call.width);
        break;
    case Op::PlotPoint:
        addNumber(line, call.x);
        addNumber(line, call.y);
        addColour(line, call.colour);
        break;
    case Op::DrawBox:
        addNumber(line, call.x);
        addNumber(line, call.y);
        addNumber(line, call.x2);
        addNumber(line, call.y2);
        addColour(line, call.colour);
        break;
    case Op::DrawCircle:
        addNumber(line, call.x);
        addNumber(line, call.y);
        addNumber(line, call.radius);
        addColour(line, call.colour);
        break;
    case Op::ClearSurface:
        break;
    }
    return line;
}

void TraceSurface::flush()
{
    if (m_lines.empty())
        return;
    m_writer.write(m_lines);
    m_lines.clear();
}

Status TraceSurface::add(const RecordingSurface::Call &call)
{
    m_lines += lineOf(call);
    m_lines += '\n';
    if (m_lines.size() >= kFlushSize)
        flush();
    return {};
}

Status TraceSurface::doSetPenWidth(int width)
{
    return add({.op = Op::SetPenWidth, .width = width});
}

Status TraceSurface::doPlotPoint(float x, float y, Colour colour)
{
    return add({.op = Op::PlotPoint, .x = x, .y = y, .colour = colour});
}

Status TraceSurface::doDrawBox(float x1, float y1, float x2, float y2, Colour colour)
{
    return add({.op = Op::DrawBox, .x = x1, .y = y1, .x2 = x2, .y2 = y2, .colour = colour});
}

Status TraceSurface::doDrawCircle(float x, float y, float radius, Colour colour)
{
    return add({.op = Op::DrawCircle, .x = x, .y = y, .radius = radius, .colour = colour});
}

Status TraceSurface::doClearSurface()
{
    return add({.op = Op::ClearSurface});
}

} // namespace sweepdraw
