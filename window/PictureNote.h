#pragma once

#include <QLabel>

namespace sweepdraw {

// A note laid over the picture, never drawn into it, so that no saved,
// copied or recorded picture shows it: light text on a dark glass that lets
// the picture show through, and clicks pass to the picture. Hidden at first.
inline QLabel *makePictureNote(QWidget *parent, const QString &objectName)
{
    auto *note = new QLabel(parent);
    note->setObjectName(objectName);
    note->setMargin(note->fontMetrics().height() / 3);
    note->setAutoFillBackground(true);
    note->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette colours = note->palette();
    colours.setColor(QPalette::Window, QColor::fromRgba(qRgba(0, 0, 0, 0xc0)));
    colours.setColor(QPalette::WindowText, QColor::fromRgb(qRgb(0xff, 0xff, 0xff)));
    note->setPalette(colours);
    note->hide();
    return note;
}

} // namespace sweepdraw
