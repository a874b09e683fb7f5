#pragma once

#include <cstdint>
#include <string_view>

namespace sweepdraw {

// The operations a DrawingSurface takes.
enum class Operation : std::uint8_t { SetPenWidth, PlotPoint, DrawBox, DrawCircle, ClearSurface };

// The operation's name, as a scene or a routine calls it: "PlotPoint". The
// view ends in a NUL, so that data() is a C string too.
constexpr std::string_view operationName(Operation operation)
{
    switch (operation) {
    case Operation::SetPenWidth:
        return "SetPenWidth";
    case Operation::PlotPoint:
        return "PlotPoint";
    case Operation::DrawBox:
        return "DrawBox";
    case Operation::DrawCircle:
        return "DrawCircle";
    case Operation::ClearSurface:
        return "ClearSurface";
    }
    return {};
}

} // namespace sweepdraw
