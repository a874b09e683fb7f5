#include "ImageFile.h"

#include "FileWriter.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <algorithm>
#include <array>

namespace sweepdraw {

namespace {

// Formats that stop at 256 pixels a side, too small for the window.
constexpr std::array<QLatin1StringView, 2> kTooSmall{QLatin1StringView("ico"), QLatin1StringView("cur")};

} // namespace

QList<QByteArray> writableImageFormats()
{
    QList<QByteArray> formats = QImageWriter::supportedImageFormats();
    formats.removeIf([](const QByteArray &format) {
        return std::ranges::find(kTooSmall, QLatin1StringView(format)) != kTooSmall.end();
    });
    return formats;
}

QByteArray imageFormatOf(const QString &path)
{
    const QByteArray suffix = nameSuffix(path).toLatin1();
    return writableImageFormats().contains(suffix) ? suffix : QByteArray();
}

std::optional<QString> saveImage(const QImage &image, const QString &path)
{
    if (image.isNull())
        return outOfMemory();
    FileWriter file(path);
    if (!file.open())
        return file.errorString();
    // Encoded in memory first: the encoders then never see a failed write,
    // of which libpng and the JPEG library would tell on stderr in lines of
    // their own, and the file's one reason is the system's.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, imageFormatOf(path));
    if (!writer.write(image)) {
        file.cancel(writer.errorString());
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace sweepdraw
