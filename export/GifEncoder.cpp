#include "GifEncoder.h"

#include "FileWriter.h"
#include "Palette.h"

#include <QIODevice>

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <climits>

namespace sweepdraw {

namespace {

constexpr int kColours = 256;
constexpr unsigned char kTransparent = kColours - 1;
// The longest a GIF frame can be shown, in hundredths of a second.
constexpr int kLongestDelay = 65535;

int distance(QRgb a, QRgb b)
{
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

} // namespace

GifEncoder::GifEncoder(QIODevice &device)
    : m_device(device)
{
}

GifEncoder::~GifEncoder()
{
    if (m_gif)
        EGifCloseFile(m_gif, &m_closeError);
}

int GifEncoder::write(GifFileType *gif, const unsigned char *bytes, int length)
{
    auto *self = static_cast<GifEncoder *>(gif->UserData);
    const qint64 written = self->m_device.write(reinterpret_cast<const char *>(bytes), length);
    if (written != length && self->m_error.isEmpty())
        self->m_error = self->m_device.errorString();
    return static_cast<int>(std::max<qint64>(written, 0));
}

bool GifEncoder::fail(int error)
{
    if (m_error.isEmpty())
        m_error = error == E_GIF_ERR_NOT_ENOUGH_MEM ? outOfMemory() : QString::fromLatin1(GifErrorString(error));
    return false;
}

bool GifEncoder::add(const QImage &frame, std::chrono::milliseconds duration)
{
    if (!m_gif && !start(frame))
        return false;
    long long left = (duration.count() + 5) / 10;
    // A frame too long for one GIF frame goes on in frames of one unchanged
    // pixel.
    QRect rect = changedRect(frame);
    do {
        const int delay = static_cast<int>(std::min<long long>(left, kLongestDelay));
        if (!putFrame(frame, rect, delay))
            return false;
        left -= delay;
        rect = QRect(0, 0, 1, 1);
    } while (left > 0);
    return true;
}

bool GifEncoder::start(const QImage &first)
{
    // The palette: the pictures' colours, as the frame's pixels hold them,
    // then the first frame's own, the commonest first.
    for (int n = 0; n < kPaletteSize; ++n)
        m_palette.push_back(PaletteColor(n).argb());
    QHash<QRgb, int> counts;
    for (int y = 0; y < first.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        for (int x = 0; x < first.width(); ++x)
            ++counts[line[x]];
    }
    std::vector<std::pair<int, QRgb>> byCount;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byCount.emplace_back(-it.value(), it.key());
    std::ranges::sort(byCount);
    for (const auto &[count, colour] : byCount) {
        if (m_palette.size() == kTransparent)
            break;
        if (std::ranges::find(m_palette, colour) == m_palette.end())
            m_palette.push_back(colour);
    }
    std::array<GifColorType, kColours> colours{};
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        m_indices.insert(m_palette[i], static_cast<unsigned char>(i));
        colours[i] = {static_cast<GifByteType>(qRed(m_palette[i])), static_cast<GifByteType>(qGreen(m_palette[i])),
                      static_cast<GifByteType>(qBlue(m_palette[i]))};
    }

    int error = 0;
    m_gif = EGifOpen(this, write, &error);
    if (!m_gif)
        return fail(error);
    EGifSetGifVersion(m_gif, true);
    ColorMapObject *map = GifMakeMapObject(kColours, colours.data());
    if (!map)
        return fail(E_GIF_ERR_NOT_ENOUGH_MEM);
    const int described = EGifPutScreenDesc(m_gif, first.width(), first.height(), 8, 0, map);
    GifFreeMapObject(map);
    if (described == GIF_ERROR)
        return fail(m_gif->Error);
    // The animation loops for ever.
    static constexpr unsigned char kLoopForEver[] = {1, 0, 0};
    if (EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR
        || EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") == GIF_ERROR
        || EGifPutExtensionBlock(m_gif, sizeof kLoopForEver, kLoopForEver) == GIF_ERROR
        || EGifPutExtensionTrailer(m_gif) == GIF_ERROR)
        return fail(m_gif->Error);
    m_line.resize(static_cast<std::size_t>(first.width()));
    return true;
}

QRect GifEncoder::changedRect(const QImage &frame) const
{
    if (m_shown.isNull())
        return frame.rect();
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
    const auto width = static_cast<std::size_t>(frame.width());
    for (int y = 0; y < frame.height(); ++y) {
        const auto *now = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
        const auto *before = reinterpret_cast<const QRgb *>(m_shown.constScanLine(y));
        if (std::equal(now, now + width, before))
            continue;
        int first = 0;
        while (now[first] == before[first])
            ++first;
        int last = frame.width() - 1;
        while (now[last] == before[last])
            --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (top == INT_MAX)
        return QRect(0, 0, 1, 1);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

unsigned char GifEncoder::indexOf(QRgb colour)
{
    const auto known = m_indices.constFind(colour);
    if (known != m_indices.cend())
        return *known;
    const auto nearest = std::ranges::min_element(
        m_palette, {}, [colour](QRgb entry) { return distance(entry, colour); });
    const auto index = static_cast<unsigned char>(nearest - m_palette.begin());
    m_indices.insert(colour, index);
    return index;
}

bool GifEncoder::putFrame(const QImage &frame, const QRect &rect, int centiseconds)
{
    const bool first = m_shown.isNull();
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = centiseconds;
    control.TransparentColor = first ? NO_TRANSPARENT_COLOR : kTransparent;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) == GIF_ERROR
        || EGifPutImageDesc(m_gif, rect.x(), rect.y(), rect.width(), rect.height(), false, nullptr) == GIF_ERROR)
        return fail(m_gif->Error);
    QRgb lastColour = 0;
    unsigned char lastIndex = kTransparent;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto *now = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
        const auto *before = first ? nullptr : reinterpret_cast<const QRgb *>(m_shown.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x) {
            unsigned char &index = m_line[static_cast<std::size_t>(x - rect.left())];
            if (before && now[x] == before[x]) {
                index = kTransparent;
                continue;
            }
            if (now[x] != lastColour || lastIndex == kTransparent) {
                lastColour = now[x];
                lastIndex = indexOf(lastColour);
            }
            index = lastIndex;
        }
        if (EGifPutLine(m_gif, m_line.data(), rect.width()) == GIF_ERROR)
            return fail(m_gif->Error);
    }
    m_shown = frame;
    return true;
}

bool GifEncoder::finish()
{
    if (!m_gif) {
        m_error = noFrames();
        return false;
    }
    int error = 0;
    const int closed = EGifCloseFile(m_gif, &error);
    m_gif = nullptr;
    return closed == GIF_OK || fail(error);
}

} // namespace sweepdraw
