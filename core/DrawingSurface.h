#pragma once

#include "Colour.h"
#include "Status.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cmath>

namespace sweepdraw {

namespace detail {

// `head`, the decimal digits of `number` (0 or more), and `tail`, as a
// terminated string spelt out at compile time.
template <std::size_t Head, std::size_t Tail>
constexpr auto spellOut(const char (&head)[Head], int number, const char (&tail)[Tail])
{
    std::array<char, Head - 1 + 10 + Tail> text{};
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < Head; ++i)
        text[at++] = head[i];
    int scale = 1;
    while (number / scale >= 10)
        scale *= 10;
    for (; scale > 0; scale /= 10)
        text[at++] = static_cast<char>('0' + number / scale % 10);
    for (std::size_t i = 0; i < Tail; ++i)
        text[at++] = tail[i];
    return text;
}

} // namespace detail

// A picture with a current pen width, drawn on in twips.
//
// Coordinates are twips (15 to a pixel at 96 dots per inch), x to the right
// and y downwards from the top-left corner; callers compute in double and
// round to float at the call. Colours are opaque RGB. The pen width is in
// pixels, applies to every later operation, and is kept until set again,
// even across ClearSurface. Every operation paints opaquely over what is
// there, and anything that falls off the picture is clipped, which is not a
// failure.
//
// Every operation returns a Status, and callers check each one as it
// returns. An operation fails, and changes nothing, when an argument is out
// of its domain: a coordinate or radius that is not finite (what a division
// by zero, an invalid operation or an overflow upstream produces), a negative
// radius, or a pen width outside 1 to kMaxPenWidth. An implementation may
// fail for reasons of its own as well.
//
// The public operations check their arguments here, once for every
// implementation, and hand the valid calls to the protected do* hooks.
//
// A surface can be metered: let a drawing through so many operations at a
// time, with a Meter asked for more at the first operation beyond. The count
// is kept here, on the surface the drawing calls, so that the drawing costs
// no call more for it, and every implementation is metered alike. Every
// valid operation counts, refused by the surface or not.
class DrawingSurface
{
public:
    // Wider than the whole drawing area: anything beyond is certainly a
    // mistake, not a picture.
    static constexpr int kMaxPenWidth = 1000;
    static constexpr auto kPenWidthValues =
        detail::spellOut("SetPenWidth width ", kMaxPenWidth, "");

    class Meter
    {
    public:
        // The operation about to land is the first beyond those let
        // through: returns, once more may land, how many (at least one).
        virtual long long more() = 0;
        // The operation about to land is the last of those let through: a
        // point at (x, y), or, with `point` false, any other operation.
        virtual void last(bool point, float x, float y) = 0;

    protected:
        ~Meter() = default;
    };

    virtual ~DrawingSurface() = default;

    DrawingSurface(const DrawingSurface &) = delete;
    DrawingSurface &operator=(const DrawingSurface &) = delete;

    // Later operations draw their dots and lines `width` pixels wide.
    Status SetPenWidth(int width)
    {
        if (width < 1 || width > kMaxPenWidth) [[unlikely]]
            return Status::failure(FaultKind::PenWidthOutside, kPenWidthValues.data(), static_cast<float>(width));
        meterOperation();
        Status status = doSetPenWidth(width);
        if (status.ok())
            m_penWidth = width;
        return status;
    }

    // Sets the point (x, y) in `colour`, as a dot of the current pen width
    // centred on it.
    Status PlotPoint(float x, float y, Colour colour)
    {
        if (const Status refused = takePoint(x, y); !refused.ok()) [[unlikely]]
            return refused;
        return doPlotPoint(x, y, colour);
    }

    // Draws the outline of the axis-aligned rectangle with opposite corners
    // (x1, y1) and (x2, y2) with the current pen width; the inside is left
    // as it was.
    Status DrawBox(float x1, float y1, float x2, float y2, Colour colour)
    {
        if (!std::isfinite(x1)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawBox x1", x1);
        if (!std::isfinite(y1)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawBox y1", y1);
        if (!std::isfinite(x2)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawBox x2", x2);
        if (!std::isfinite(y2)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawBox y2", y2);
        meterOperation();
        return doDrawBox(x1, y1, x2, y2, colour);
    }

    // Draws the outline of the whole circle of `radius` about (x, y) with the
    // current pen width. Radius 0 gives a filled disc as wide as the pen.
    Status DrawCircle(float x, float y, float radius, Colour colour)
    {
        if (!std::isfinite(x)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawCircle x", x);
        if (!std::isfinite(y)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawCircle y", y);
        if (!std::isfinite(radius)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "DrawCircle radius", radius);
        if (radius < 0) [[unlikely]]
            return Status::failure(FaultKind::Negative, "DrawCircle radius", radius);
        meterOperation();
        return doDrawCircle(x, y, radius, colour);
    }

    // Erases everything drawn; the pen width stays as it is.
    Status ClearSurface()
    {
        meterOperation();
        return doClearSurface();
    }

    int penWidth() const noexcept { return m_penWidth; }

    // From now on, `meter` is asked at the next operation how many may land.
    void startMetering(Meter &meter) noexcept
    {
        m_meter = &meter;
        m_beyond = true;
        m_left = 1;
    }
    // Everything lands again, unmetered: how many of the operations let
    // through had not landed.
    long long stopMetering() noexcept
    {
        const long long left = m_beyond ? 0 : m_left;
        m_meter = nullptr;
        m_beyond = false;
        m_left = kUnmetered;
        return left;
    }

protected:
    DrawingSurface() = default;

    // PlotPoint's checks of its arguments, and its count: the failure, or
    // success when the point is to land. For a surface that calls its own
    // hook directly.
    Status takePoint(float x, float y)
    {
        if (!std::isfinite(x)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "PlotPoint x", x);
        if (!std::isfinite(y)) [[unlikely]]
            return Status::failure(FaultKind::NotFinite, "PlotPoint y", y);
        if (countOperation()) [[unlikely]]
            meterAtEnd(true, x, y);
        return {};
    }

    // Called with valid arguments only. A hook that fails must leave the
    // surface as it was.
    virtual Status doSetPenWidth(int width) = 0;
    virtual Status doPlotPoint(float x, float y, Colour colour) = 0;
    virtual Status doDrawBox(float x1, float y1, float x2, float y2, Colour colour) = 0;
    virtual Status doDrawCircle(float x, float y, float radius, Colour colour) = 0;
    virtual Status doClearSurface() = 0;

private:
    // So many that unmetered operations never reach the end.
    static constexpr long long kUnmetered = LLONG_MAX / 2;

    // True when the operation about to land is the last let through, or
    // the first beyond, and the meter is to be told before it lands.
    bool countOperation() noexcept { return --m_left == 0; }
    void meterOperation()
    {
        if (countOperation()) [[unlikely]]
            meterAtEnd(false, 0, 0);
    }
    // The operation is the last let through, or the first beyond.
    [[gnu::noinline]] void meterAtEnd(bool point, float x, float y);

    int m_penWidth = 1;
    Meter *m_meter = nullptr;
    // Operations let through and yet to land, counting down to the last;
    // after it, one more, to reach the first beyond.
    long long m_left = kUnmetered;
    bool m_beyond = false; // the last let through has landed
};

} // namespace sweepdraw
