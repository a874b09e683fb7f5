#include "WebpEncoder.h"

#include "FileWriter.h"

#include <QIODevice>
#include <QImage>
#include <QSysInfo>

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
        m_error = tr("this libwebp cannot be configured");
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

// The frame taken as it lies in memory where the bytes are B, G, R, X:
// converted, Qt would split the conversion among threads, and wait for ever
// for one it cannot make.
bool WebpEncoder::importFrame(WebPPicture &picture, const QImage &frame)
{
    const int stride = static_cast<int>(frame.bytesPerLine());
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
        return WebPPictureImportBGRX(&picture, frame.constBits(), stride);
    const QImage bytes = frame.convertToFormat(QImage::Format_RGBX8888);
    return !bytes.isNull() && WebPPictureImportRGBX(&picture, bytes.constBits(), stride);
}

// libwebp says nothing when it runs out of memory while assembling, and
// names its encoding errors by number.
QString WebpEncoder::encoderError() const
{
    const QString error = QString::fromUtf8(WebPAnimEncoderGetError(m_encoder));
    if (error.isEmpty() || error.endsWith(QLatin1String("WebPEncodingError: 1.")))
        return outOfMemory();
    return error;
}

bool WebpEncoder::add(const QImage &frame, std::chrono::milliseconds duration)
{
    if (!m_error.isEmpty())
        return false;
    if (!m_encoder) {
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options))
            return fail(tr("this libwebp has no animation encoder"));
        options.anim_params.loop_count = 0; // for ever
        m_encoder = WebPAnimEncoderNew(frame.width(), frame.height(), &options);
        if (!m_encoder)
            return fail(outOfMemory());
    }
    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return fail(tr("this libwebp cannot take pictures"));
    picture.use_argb = 1;
    picture.width = frame.width();
    picture.height = frame.height();
    const bool added = importFrame(picture, frame) && WebPAnimEncoderAdd(m_encoder, &picture, m_time, &m_config);
    const WebPEncodingError error = picture.error_code;
    WebPPictureFree(&picture);
    if (!added)
        return fail(error == VP8_ENC_ERROR_OUT_OF_MEMORY ? outOfMemory() : encoderError());
    m_time += static_cast<int>(duration.count());
    return true;
}

bool WebpEncoder::finish()
{
    if (!m_error.isEmpty())
        return false;
    if (!m_encoder)
        return fail(noFrames());
    WebPData data;
    WebPDataInit(&data);
    // A last call without a picture says how long the last frame lasts.
    if (!WebPAnimEncoderAdd(m_encoder, nullptr, m_time, nullptr) || !WebPAnimEncoderAssemble(m_encoder, &data))
        return fail(encoderError());
    const qint64 size = static_cast<qint64>(data.size);
    const bool written = m_device.write(reinterpret_cast<const char *>(data.bytes), size) == size;
    WebPDataClear(&data);
    return written || fail(m_device.errorString());
}

} // namespace sweepdraw
