#include "FontCheck.h"

#include "ErrorLine.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QLabel>

namespace sweepdraw {

void warnOfMissingFonts(const QWidget &window)
{
    // Qt draws each character in the first of the widget's fonts, or of the
    // fonts fontconfig offers in their place, that has it, and draws an empty
    // box when none has. Asking each caption's own font about each of its
    // characters checks what the window will really show, the Kai faces the
    // layout asks for and every stand-in included, with no list of font
    // names to keep here.
    QString missing;
    const auto check = [&missing](const QWidget &widget, const QString &text) {
        const QFontMetrics metrics = widget.fontMetrics();
        for (const char32_t character : text.toUcs4()) {
            const QString one = QString::fromUcs4(&character, 1);
            if (!QChar::isSpace(character) && !metrics.inFontUcs4(character) && !missing.contains(one))
                missing += one;
        }
    };
    for (const QLabel *label : window.findChildren<QLabel *>())
        check(*label, label->text());
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        check(*button, button->text());
    // Characters missing though a font for Chinese is installed are ones
    // whose font could not be loaded, as when memory runs short: no font to
    // install would help.
    if (!missing.isEmpty() && QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
        printError(QStringLiteral("warning: no installed font has the characters %1 of the captions; "
                                  "install fonts-arphic-gkai00mp, fonts-arphic-ukai, or any CJK font such as "
                                  "fonts-noto-cjk")
                       .arg(missing));
}

} // namespace sweepdraw
