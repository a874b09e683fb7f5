#pragma once

#include "AnimationEncoder.h"

#include <webp/encode.h>

struct WebPAnimEncoder;
class QIODevice;

namespace sweepdraw {

// Lossless animated WebP through libwebp's animation encoder, which keeps
// of each frame only what changed. The encoded frames are held in memory,
// small as they are, and the file is put together and written at the end.
class WebpEncoder final : public AnimationEncoder
{
    Q_DECLARE_TR_FUNCTIONS(WebpEncoder)

public:
    explicit WebpEncoder(QIODevice &device);
    ~WebpEncoder() override;

    bool add(const QImage &frame, std::chrono::milliseconds duration) override;
    bool finish() override;
    QString errorString() const override { return m_error; }

private:
    bool fail(const QString &reason);
    QString encoderError() const;
    static bool importFrame(WebPPicture &picture, const QImage &frame);

    QIODevice &m_device;
    WebPAnimEncoder *m_encoder = nullptr;
    WebPConfig m_config{};
    int m_time = 0; // milliseconds, when the next frame starts
    QString m_error;
};

} // namespace sweepdraw
