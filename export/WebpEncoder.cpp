#include "WebpEncoder.h"

#include <QIODevice>
#include <QImage>

#include <webp/mux.h>

namespace sweepdraw {

namespace {

// Lossless at level 2 of libwebp's 0 to 9. On these pictures level 0 makes
// the file six times larger; from level 3 up the encoder holds some 20 MB
// more for a file a few percent smaller, and level 9 takes ten times as long.
constexpr int kEffort = 2;

} // namespace

WebpEncoder::WebpEncoder(QIODevice &device)
    : m_device(device)
{
    if (!WebPConfigInit(&m_config) || !WebPConfigLosslessPreset(&m_config, kEffort))
        m_error = QStringLiteral("this libwebp cannot be configured");
}

WebpEncoder::~WebpEncoder()
{
    WebPAnimEncoderDelete(m_encoder);
}

bool WebpEncoder::fail(const QString &reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

bool WebpEncoder::add(const QImage &frame, std::chrono::milliseconds duration)
{
    if (!m_error.isEmpty())
        return false;
    if (!m_encoder) {
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options))
            return fail(QStringLiteral("this libwebp has no animation encoder"));
        options.anim_params.loop_count = 0; // for ever
        m_encoder = WebPAnimEncoderNew(frame.width(), frame.height(), &options);
        if (!m_encoder)
            return fail(QStringLiteral("out of memory"));
    }
    // In bytes R, G, B, whatever the byte order of the machine.
    const QImage bytes = frame.convertToFormat(QImage::Format_RGBX8888);
    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return fail(QStringLiteral("this libwebp cannot take pictures"));
    picture.use_argb = 1;
    picture.width = bytes.width();
    picture.height = bytes.height();
    const bool added = WebPPictureImportRGBX(&picture, bytes.constBits(), static_cast<int>(bytes.bytesPerLine()))
                       && WebPAnimEncoderAdd(m_encoder, &picture, m_time, &m_config);
    WebPPictureFree(&picture);
    if (!added)
        return fail(QString::fromUtf8(WebPAnimEncoderGetError(m_encoder)));
    m_time += static_cast<int>(duration.count());
    return true;
}

bool WebpEncoder::finish()
{
    if (!m_error.isEmpty())
        return false;
    if (!m_encoder)
        return fail(QStringLiteral("the animation has no frames"));
    WebPData data;
    WebPDataInit(&data);
    // A last call without a picture says how long the last frame lasts.
    if (!WebPAnimEncoderAdd(m_encoder, nullptr, m_time, nullptr) || !WebPAnimEncoderAssemble(m_encoder, &data))
        return fail(QString::fromUtf8(WebPAnimEncoderGetError(m_encoder)));
    const qint64 size = static_cast<qint64>(data.size);
    const bool written = m_device.write(reinterpret_cast<const char *>(data.bytes), size) == size;
    WebPDataClear(&data);
    return written || fail(m_device.errorString());
}

} // namespace sweepdraw
