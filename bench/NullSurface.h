#pragma once

#include "DrawingSurface.h"

#include <bit>
#include <cstdint>

namespace sweepdraw::bench {

// Draws nothing: every argument it is given is folded into a checksum, so
// that the compiler must still work out every value a scene passes. Running
// a scene on it costs the scene's own arithmetic and calls, which is as fast
// as any surface can let a scene go.
class NullSurface final : public DrawingSurface
{
public:
    NullSurface() = default;

    std::uint64_t checksum() const noexcept { return m_checksum; }

protected:
    Status doSetPenWidth(int width) override
    {
        fold(static_cast<std::uint32_t>(width));
        return {};
    }
    Status doPlotPoint(float x, float y, Colour colour) override
    {
        fold(x, y, colour);
        return {};
    }
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) override
    {
        fold(x1, y1, colour);
        fold(x2, y2, colour);
        return {};
    }
    Status doDrawCircle(float x, float y, float radius, Colour colour) override
    {
        fold(x, y, colour);
        fold(std::bit_cast<std::uint32_t>(radius));
        return {};
    }
    Status doClearSurface() override
    {
        fold(0);
        return {};
    }

private:
    void fold(float x, float y, Colour colour)
    {
        const auto xy = (std::uint64_t{std::bit_cast<std::uint32_t>(x)} << 32)
                        | std::bit_cast<std::uint32_t>(y);
        m_checksum = std::rotl(m_checksum, 7) ^ xy ^ colour.rgb();
    }
    void fold(std::uint32_t value) { m_checksum = std::rotl(m_checksum, 7) ^ value; }

    std::uint64_t m_checksum = 0;
};

} // namespace sweepdraw::bench
