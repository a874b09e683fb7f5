#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QImage;

namespace sweepdraw {

// The formats the Qt libraries here can write, lower-case, in Qt's order;
// each is also the suffix that names it ("jpg" and "jpeg" are both there).
QList<QByteArray> writableImageFormats();

// The format `path` names by its suffix, in any case; empty when the suffix
// is missing or names no format in writableImageFormats().
QByteArray imageFormatOf(const QString &path);

// Writes `image` to `path` in the format its suffix names, through a
// temporary file that takes the name only once it is whole, so that a
// failure leaves no file behind and an earlier file at the path as it was.
// Returns why it could not, or nothing once written.
std::optional<QString> saveImage(const QImage &image, const QString &path);

} // namespace sweepdraw
