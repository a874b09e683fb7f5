#pragma once

#include <cstdint>

namespace sweepdraw {

// An opaque colour: red, green and blue, each 0 to 255.
//
// Trivial, so that it goes wherever a number goes, a union included: one
// made with no value holds none, and one made with {} is black.
class Colour final
{
public:
    Colour() = default;
    constexpr Colour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) noexcept
        : m_rgb(std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue)
    {
    }

    // The colour 0xRRGGBB; the bits above those are not looked at.
    static constexpr Colour fromRgb(std::uint32_t rgb) noexcept
    {
        return Colour(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                      static_cast<std::uint8_t>(rgb));
    }

    constexpr int red() const noexcept { return static_cast<int>(m_rgb >> 16 & 0xff); }
    constexpr int green() const noexcept { return static_cast<int>(m_rgb >> 8 & 0xff); }
    constexpr int blue() const noexcept { return static_cast<int>(m_rgb & 0xff); }
    // 0xRRGGBB.
    constexpr std::uint32_t rgb() const noexcept { return m_rgb; }
    // The pixel of premultiplied ARGB32 that shows the colour, 0xffRRGGBB:
    // an opaque colour is its own premultiplied form.
    constexpr std::uint32_t argb() const noexcept { return m_rgb | 0xff000000u; }

    friend constexpr bool operator==(Colour, Colour) noexcept = default;

private:
    std::uint32_t m_rgb;
};

} // namespace sweepdraw
