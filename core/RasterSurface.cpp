#include "RasterSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

namespace sweepdraw {

namespace {

// Further from the picture than any pen reaches, yet well inside int range:
// positions beyond it are clamped before they are turned into indices.
constexpr double kFar = 1e8;

// Pixels up to this far out have twips that land on them unclamped, so the
// range of those twips can be found; further out it is not looked for.
constexpr int kFarthestRange = 10'000'000;

// Steps of one float enough to reach an edge between pixels from a first
// guess at it; a guess that is further out is given up on.
constexpr int kMaxEdgeSteps = 16;

// Points after the first that land on one dot before the twips that land on
// it are worked out: a pair on one dot happens in passing, a longer run
// rarely stops short.
constexpr int kRunLength = 2;

// The bits of a float, as std::bit_cast gives them, which not every standard
// library the engine is built with has.
std::uint32_t bitsOf(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Out of line, so that the callers' common case needs no registers for it.
[[gnu::noinline]] int clampedFloorToInt(double v)
{
    v = std::clamp(v, -kFar, kFar);
    const int i = static_cast<int>(v);
    return i - (v < i);
}

int floorToInt(double v)
{
    // On the picture, where nearly everything is drawn, rounding towards zero
    // is rounding down.
    if (v >= 0 && v <= kFar) [[likely]]
        return static_cast<int>(v);
    return clampedFloorToInt(v);
}

int ceilToInt(double v)
{
    v = std::clamp(v, -kFar, kFar);
    const int i = static_cast<int>(v);
    return i + (v > i);
}

// The pixels of row `y` whose centres lie at a distance from (cx, cy) of at
// least `inner` and at most `outer`, as up to two runs [x0, x1] handed to
// `fill`. A negative `inner` leaves no hole.
template <typename Fill>
void annulusRow(int y, double cx, double cy, double inner, double outer, Fill &&fill)
{
    const double dy = y + 0.5 - cy;
    if (std::abs(dy) > outer)
        return;
    const double so = std::sqrt(outer * outer - dy * dy);
    const int left = ceilToInt(cx - so - 0.5);
    const int right = floorToInt(cx + so - 0.5);
    if (inner < 0 || std::abs(dy) >= inner) {
        fill(left, right);
        return;
    }
    const double si = std::sqrt(inner * inner - dy * dy);
    fill(left, std::min(right, floorToInt(cx - si - 0.5)));
    fill(std::max(left, ceilToInt(cx + si - 0.5)), right);
}

} // namespace

RasterSurface::RasterSurface(Size logicalSize, double devicePixelRatio)
    : m_ratio(devicePixelRatio > 0 ? devicePixelRatio : 1.0)
    , m_scale(m_ratio / kTwipsPerPixel)
{
    const long long width = std::llround(logicalSize.width * m_ratio);
    const long long height = std::llround(logicalSize.height * m_ratio);
    // Rows of at most INT_MAX bytes, as image libraries count them, and a
    // picture whose bytes a pointer difference can count.
    if (width > 0 && height > 0 && width <= INT_MAX / 4 && height <= PTRDIFF_MAX / 4 / width) {
        m_bits.reset(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(width * height)]);
        if (m_bits) {
            m_width = static_cast<int>(width);
            m_height = static_cast<int>(height);
            m_wordsPerLine = width;
        }
    }
    erase();
    (void)doSetPenWidth(penWidth());
}

// Transparent is all bits zero. A memset, never a fill of a graphics
// library's: on some processors with AVX, Qt's fill leaves the upper halves
// of the vector registers in use, and until something clears them the plain
// SSE arithmetic that all the drawing is made of runs slower: in the
// benchmark a scene drawn after such a clear took up to half as long again.
void RasterSurface::erase()
{
    if (m_bits)
        std::memset(m_bits.get(), 0, static_cast<std::size_t>(m_height * bytesPerLine()));
}

Rect RasterSurface::takeDirtyRect()
{
    Rect dirty;
    const int left = std::max(m_dirtyX0, 0);
    const int top = std::max(m_dirtyY0, 0);
    const int right = std::min(m_dirtyX1, m_width - 1);
    const int bottom = std::min(m_dirtyY1, m_height - 1);
    if (left <= right && top <= bottom)
        dirty = {left, top, right - left + 1, bottom - top + 1};
    m_dirtyX0 = m_dirtyY0 = INT_MAX;
    m_dirtyX1 = m_dirtyY1 = INT_MIN;
    return dirty;
}

// Where twips land, in device pixels from the edge of pixel 0: the pixel
// is this rounded down.
inline double RasterSurface::pixelPosition(float twips) const
{
    return static_cast<double>(twips) * m_scale + 0.5;
}

inline int RasterSurface::toPixel(float twips) const
{
    return floorToInt(pixelPosition(twips));
}

// toPixel never decreases as the twips grow, so the floats that land on
// pixel p are those from the first that lands on p or beyond up to the first
// that lands beyond p. A first guess from the inverse of toPixel is a float
// or two off at most; stepping one float at a time settles it exactly.
bool RasterSurface::firstTwipOnOrAfter(int p, float &twips) const
{
    constexpr float kMaxFloat = std::numeric_limits<float>::max();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    float t = static_cast<float>(std::clamp((p - 0.5) / m_scale, double(-kMaxFloat), double(kMaxFloat)));
    for (int steps = 0; toPixel(t) >= p; ++steps) {
        if (steps == kMaxEdgeSteps)
            return false;
        t = std::nextafter(t, -kInfinity);
    }
    for (int steps = 0; toPixel(t) < p; ++steps) {
        if (steps == kMaxEdgeSteps)
            return false;
        t = std::nextafter(t, kInfinity);
    }
    twips = t;
    return true;
}

// Pixel p's range ends where p + 1's begins, so when `known` holds a
// neighbour of p one end is known already.
RasterSurface::TwipRange RasterSurface::twipsOnPixel(int p, PixelTwips &known) const
{
    if (known.pixel == p)
        return known.twips;
    const PixelTwips neighbour = known;
    known = {p, TwipRange()};
    if (std::abs(p) > kFarthestRange)
        return known.twips;
    const bool besideKnown = !neighbour.twips.empty();
    float from, to;
    if (besideKnown && neighbour.pixel == p - 1)
        from = neighbour.twips.to;
    else if (!firstTwipOnOrAfter(p, from))
        return known.twips;
    if (besideKnown && neighbour.pixel == p + 1)
        to = neighbour.twips.from;
    else if (!firstTwipOnOrAfter(p + 1, to))
        return known.twips;
    known.twips = {from, to};
    return known.twips;
}

int RasterSurface::devicePen(int width) const
{
    return std::max(1, static_cast<int>(std::lround(width * m_ratio)));
}

// Written only where the rectangle grows, which after the first few dots of
// a command is seldom.
inline void RasterSurface::markDirty(int x0, int y0, int x1, int y1)
{
    if (x0 < m_dirtyX0)
        m_dirtyX0 = x0;
    if (y0 < m_dirtyY0)
        m_dirtyY0 = y0;
    if (x1 > m_dirtyX1)
        m_dirtyX1 = x1;
    if (y1 > m_dirtyY1)
        m_dirtyY1 = y1;
}

void RasterSurface::fillRow(int y, int x0, int x1, std::uint32_t argb)
{
    if (y < 0 || y >= m_height)
        return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, m_width - 1);
    if (x0 > x1)
        return;
    std::uint32_t *line = row(y);
    std::fill(line + x0, line + x1 + 1, argb);
}

void RasterSurface::fillRect(int x0, int y0, int x1, int y1, std::uint32_t argb)
{
    y0 = std::max(y0, 0);
    y1 = std::min(y1, m_height - 1);
    for (int y = y0; y <= y1; ++y)
        fillRow(y, x0, x1, argb);
}

Status RasterSurface::doSetPenWidth(int width)
{
    m_pen = devicePen(width);
    // The bits of a float of +0 or more, read as an unsigned number, grow
    // with it, and those of a negative one are larger than all of them, so
    // one comparison tells the twips of the picture's pixels from 0 up.
    const auto twipsEnd = [this](int pixels) -> std::uint32_t {
        float end;
        if (m_pen != 1 || pixels <= 0 || !firstTwipOnOrAfter(pixels, end) || !(end > 0))
            return 0;
        return bitsOf(end);
    };
    m_pixelTwipsEndX = twipsEnd(m_width);
    m_pixelTwipsEndY = twipsEnd(m_height);
    // Centre of the dot, relative to the top-left corner of its pixel.
    const double centre = (m_pen % 2 == 1) ? 0.5 : 0.0;
    const double radius = m_pen / 2.0;
    m_dot.clear();
    m_dotReach = 0;
    for (int dy = -m_pen; dy <= m_pen; ++dy) {
        annulusRow(dy, centre, centre, -1.0, radius, [&](int x0, int x1) {
            if (x0 > x1)
                return;
            m_dot.push_back({dy, x0, x1});
            m_dotReach = std::max({m_dotReach, std::abs(dy), -x0, x1});
        });
    }
    forgetLastDot();
    return {};
}

void RasterSurface::forgetLastDot()
{
    m_lastX = INT_MIN;
    m_repeats = 0;
    m_sameX = m_sameY = TwipRange();
}

void RasterSurface::stampDot(int px, int py, std::uint32_t argb)
{
    if (m_pen == 1) {
        if (static_cast<unsigned>(px) < static_cast<unsigned>(m_width)
            && static_cast<unsigned>(py) < static_cast<unsigned>(m_height))
            stampPixel(row(py) + px, px, py, argb);
        return;
    }
    for (const Span &span : m_dot)
        fillRow(py + span.dy, px + span.x0, px + span.x1, argb);
    markDirty(px - m_dotReach, py - m_dotReach, px + m_dotReach, py + m_dotReach);
}

inline void RasterSurface::stampPixel(std::uint32_t *pixel, int px, int py, std::uint32_t argb)
{
    // Sunshine's rays come back to the same few pixels over and over in the
    // same colour; reading first is cheaper than writing.
    if (*pixel != argb) {
        *pixel = argb;
        markDirty(px, py, px, py);
    }
}

// The last dot is the one at (px, py) from now on.
inline void RasterSurface::newLastDot(int px, int py, Colour colour)
{
    m_lastX = px;
    m_lastY = py;
    m_lastColour = colour;
    m_repeats = 0;
    // The twips of an earlier dot's run no longer tell this dot's points:
    // that dot may since have been drawn over, or be in another colour.
    m_sameX.from = std::numeric_limits<float>::infinity();
}

Status RasterSurface::landOnLastDot(int px, int py)
{
    if (++m_repeats == kRunLength)
        learnRun(px, py);
    return {};
}

// Every point ends here. Most land where the one before did, and the first
// test tells them; most of the rest are one-pixel dots on the picture, which
// need neither clipping nor rounding towards minus infinity. Everything else
// is reached by a jump, so that this needs no stack frame.
Status RasterSurface::doPlotPoint(float x, float y, Colour colour)
{
    if (m_sameX.contains(x) && m_sameY.contains(y) && colour == m_lastColour) [[likely]]
        return {};
    if (bitsOf(x) >= m_pixelTwipsEndX || bitsOf(y) >= m_pixelTwipsEndY) [[unlikely]]
        return plotDot(x, y, colour);
    const auto px = static_cast<std::ptrdiff_t>(pixelPosition(x));
    const auto py = static_cast<std::ptrdiff_t>(pixelPosition(y));
    if (px == m_lastX && py == m_lastY && colour == m_lastColour)
        return landOnLastDot(static_cast<int>(px), static_cast<int>(py));
    newLastDot(static_cast<int>(px), static_cast<int>(py), colour);
    stampPixel(row(py) + px, static_cast<int>(px), static_cast<int>(py), colour.argb());
    return {};
}

Status RasterSurface::plotDot(float x, float y, Colour colour)
{
    const int px = toPixel(x);
    const int py = toPixel(y);
    if (px == m_lastX && py == m_lastY && colour == m_lastColour)
        return landOnLastDot(px, py);
    newLastDot(px, py, colour);
    stampDot(px, py, colour.argb());
    return {};
}

// A run of points on the last dot, and more are likely to follow.
void RasterSurface::learnRun(int px, int py)
{
    m_sameX = twipsOnPixel(px, m_knownX);
    m_sameY = twipsOnPixel(py, m_knownY);
}

Status RasterSurface::doDrawBox(float x1, float y1, float x2, float y2, Colour colour)
{
    const std::uint32_t argb = colour.argb();
    const int left = std::min(toPixel(x1), toPixel(x2));
    const int right = std::max(toPixel(x1), toPixel(x2));
    const int top = std::min(toPixel(y1), toPixel(y2));
    const int bottom = std::max(toPixel(y1), toPixel(y2));
    // The line is centred on the corner pixels the way a dot of the pen is.
    const int before = m_pen / 2;
    const int after = (m_pen - 1) / 2;
    fillRect(left - before, top - before, right + after, top + after, argb);
    fillRect(left - before, bottom - before, right + after, bottom + after, argb);
    fillRect(left - before, top + after + 1, left + after, bottom - before - 1, argb);
    fillRect(right - before, top + after + 1, right + after, bottom - before - 1, argb);
    markDirty(left - before, top - before, right + after, bottom + after);
    forgetLastDot();
    return {};
}

Status RasterSurface::doDrawCircle(float x, float y, float radius, Colour colour)
{
    const std::uint32_t argb = colour.argb();
    forgetLastDot();
    if (radius == 0) {
        stampDot(toPixel(x), toPixel(y), argb);
        return {};
    }
    // Pixel centres sit half a pixel from their index, and the pixel at index
    // p stands for twip 15 p, so twip t is at t / 15 + 0.5 in this space.
    const double cx = pixelPosition(x);
    const double cy = pixelPosition(y);
    const double r = static_cast<double>(radius) * m_scale;
    const double outer = r + m_pen / 2.0;
    const double inner = r - m_pen / 2.0;
    const int y0 = std::max(floorToInt(cy - outer), 0);
    const int y1 = std::min(ceilToInt(cy + outer), m_height - 1);
    for (int row = y0; row <= y1; ++row)
        annulusRow(row, cx, cy, inner, outer, [&](int x0, int x1) { fillRow(row, x0, x1, argb); });
    markDirty(floorToInt(cx - outer), y0, ceilToInt(cx + outer), y1);
    return {};
}

Status RasterSurface::doClearSurface()
{
    erase();
    markDirty(0, 0, m_width - 1, m_height - 1);
    forgetLastDot();
    return {};
}

} // namespace sweepdraw
