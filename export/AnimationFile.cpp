#include "AnimationFile.h"

#include "GifEncoder.h"
#include "WebpEncoder.h"


namespace sweepdraw {

QStringList AnimationFile::suffixes()
{
    return {QStringLiteral("gif"), QStringLiteral("webp")};
}

bool AnimationFile::canWrite(const QString &path)
{
    return suffixes().contains(nameSuffix(path));
}

AnimationFile::AnimationFile(const QString &path)
    : m_file(path)
{
}

// The encoder goes first: giflib still writes as it closes.
AnimationFile::~AnimationFile()
{
    m_encoder.reset();
}

bool AnimationFile::fail(const QString &reason)
{
    m_file.cancel(reason);
    // The first reason, often the system's own from a write, is the one
    // that says why.
    m_error = m_file.errorString();
    return false;
}

bool AnimationFile::open()
{
    const QString suffix = nameSuffix(m_file.fileName());
    if (!suffixes().contains(suffix))
        return fail(tr("the suffix names no format of animation; the suffixes that work are %1")
                        .arg(suffixes().join(QStringLiteral(", "))));
    if (!m_file.open())
        return fail(m_file.errorString());
    if (suffix == QLatin1String("gif"))
        m_encoder = std::make_unique<GifEncoder>(m_file);
    else
        m_encoder = std::make_unique<WebpEncoder>(m_file);
    return true;
}

bool AnimationFile::flush()
{
    if (m_pending.isNull())
        return true;
    if (!m_encoder->add(m_pending, m_pendingDuration))
        return fail(m_encoder->errorString());
    return true;
}

bool AnimationFile::add(const QImage &frame, std::chrono::milliseconds duration)
{
    if (!m_encoder)
        return fail(tr("the file is not open"));
    if (frame.isNull())
        return fail(outOfMemory());
    if (!m_pending.isNull() && frame == m_pending) {
        m_pendingDuration += duration;
        return true;
    }
    if (!flush())
        return false;
    m_pending = frame;
    m_pendingDuration = duration;
    return true;
}

bool AnimationFile::finish()
{
    if (!m_encoder)
        return fail(tr("the file is not open"));
    if (!flush())
        return false;
    m_pending = QImage();
    if (!m_encoder->finish())
        return fail(m_encoder->errorString());
    if (!m_file.commit())
        return fail(m_file.errorString());
    return true;
}

} // namespace sweepdraw
