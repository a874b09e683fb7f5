#include "ImageFile.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>

namespace sweepdraw {

QList<QByteArray> writableImageFormats()
{
    return QImageWriter::supportedImageFormats();
}

QByteArray imageFormatOf(const QString &path)
{
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    return writableImageFormats().contains(suffix) ? suffix : QByteArray();
}

std::optional<QString> saveImage(const QImage &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QImageWriter writer(&file, imageFormatOf(path));
    if (!writer.write(image)) {
        file.cancelWriting();
        return file.error() != QFileDevice::NoError ? file.errorString() : writer.errorString();
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace sweepdraw
