#pragma once

#include "AnimationEncoder.h"

#include <QHash>
#include <QImage>
#include <QRect>

#include <vector>

struct GifFileType;
class QIODevice;

namespace sweepdraw {

// GIF through giflib. The whole animation has one palette, made from the
// first frame: the 16 colours the pictures are drawn in, then the first
// frame's own colours, the commonest first, up to 255, so that every colour
// of the pictures and of the window round them is exact; the 256th entry is
// transparent. A colour that is not in the palette, as where the lettering
// is antialiased, is drawn in the nearest one that is.
//
// After the first, a frame holds only the rectangle round the pixels that
// changed, and the pixels inside it that did not are transparent, which the
// compression folds into next to nothing. A frame is shown for its duration
// to the nearest hundredth of a second, the unit GIF counts in.
class GifEncoder final : public AnimationEncoder
{
public:
    explicit GifEncoder(QIODevice &device);
    ~GifEncoder() override;

    bool add(const QImage &frame, std::chrono::milliseconds duration) override;
    bool finish() override;
    QString errorString() const override { return m_error; }

private:
    static int write(GifFileType *gif, const unsigned char *bytes, int length);
    bool start(const QImage &first);
    bool putFrame(const QImage &frame, const QRect &rect, int centiseconds);
    QRect changedRect(const QImage &frame) const;
    unsigned char indexOf(QRgb colour);
    bool fail(int error);

    QIODevice &m_device;
    GifFileType *m_gif = nullptr;
    QImage m_shown; // what the animation shows once its frames so far are drawn
    std::vector<QRgb> m_palette;
    QHash<QRgb, unsigned char> m_indices; // of every colour met so far
    std::vector<unsigned char> m_line;
    QString m_error;
    int m_closeError = 0;
};

} // namespace sweepdraw
