#include "WhatDrew.h"

#include "CallSurface.h"
#include "RasterSurface.h"
#include "DrawInPieces.h"

#include <cstdint>

namespace sweepdraw {

namespace {

// Colours are 24 bits, far more than the operations of any scene.
constexpr std::uint32_t kNumberMask = 0xffffff;

// Paints each operation in a colour of its own, its number counted from 1,
// where the picture's surface would paint it.
class NumberingSurface final : public DrawingSurface
{
public:
    explicit NumberingSurface(double devicePixelRatio)
        : m_raster(kDesignSize, devicePixelRatio)
    {
    }

    // Blank again, for `command` drawn alone, numbered from 1, on the pen
    // it started on; that is no operation of its.
    void restart(const Runnable &command)
    {
        (void)m_raster.ClearSurface();
        command.restorePenOn(m_raster);
        m_count = 0;
    }

    // The number of the operation that painted the pixel at (x, y) last, or 0.
    long long numberAt(int x, int y) const
    {
        const Size size = m_raster.size();
        if (x < 0 || x >= size.width || y < 0 || y >= size.height || m_count > kNumberMask)
            return 0;
        // Transparent, alpha 0, where nothing was drawn.
        const std::uint32_t argb = m_raster.pixel(x, y);
        return argb >> 24 == 0 ? 0 : argb & kNumberMask;
    }

protected:
    Status doSetPenWidth(int width) override
    {
        ++m_count;
        return m_raster.SetPenWidth(width);
    }
    Status doPlotPoint(float x, float y, Colour) override { return m_raster.PlotPoint(x, y, next()); }
    Status doDrawBox(float x1, float y1, float x2, float y2, Colour) override
    {
        return m_raster.DrawBox(x1, y1, x2, y2, next());
    }
    Status doDrawCircle(float x, float y, float radius, Colour) override
    {
        return m_raster.DrawCircle(x, y, radius, next());
    }
    Status doClearSurface() override
    {
        ++m_count;
        return m_raster.ClearSurface();
    }

private:
    Colour next() { return Colour::fromRgb(static_cast<std::uint32_t>(++m_count)); }

    RasterSurface m_raster;
    long long m_count = 0;
};

} // namespace

std::optional<DrawnBy> whatDrew(const std::vector<Runnable> &pictures, const std::optional<Runnable> &underWay,
                                long long landed, double devicePixelRatio, int x, int y)
{
    // Each command starts on the pen it started on, so each paints the same
    // pixels drawn alone as drawn after the others; the last to paint the
    // pixel, asked first, made the last operation there.
    NumberingSurface numbered(devicePixelRatio);
    std::optional<Runnable> maker;
    long long number = 0;
    if (underWay) {
        numbered.restart(*underWay);
        drawInPieces(*underWay, numbered)->land(landed);
        if ((number = numbered.numberAt(x, y)) > 0)
            maker = underWay;
    }
    for (auto picture = pictures.rbegin(); !maker && picture != pictures.rend(); ++picture) {
        numbered.restart(*picture);
        (void)runAtOnce(actionOf(*picture), numbered);
        if ((number = numbered.numberAt(x, y)) > 0)
            maker = *picture;
    }
    if (!maker)
        return std::nullopt;

    CallSurface calls;
    LoopRecorder loops;
    {
        const LoopRecorder::Activation recording(&loops);
        drawInPieces(*maker, calls, &loops)->land(number);
    }
    return DrawnBy{*maker, number, loops.noted(), calls.last(), calls.outsideIndex()};
}

} // namespace sweepdraw
