#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sweepdraw {

QLocale::Language windowLanguage(const QLocale &locale)
{
    return locale.language() == QLocale::Chinese ? QLocale::Chinese : QLocale::English;
}

void installTranslations(const QLocale &locale)
{
    static QTranslator program;
    static QTranslator qt;
    QCoreApplication::removeTranslator(&program);
    QCoreApplication::removeTranslator(&qt);

    // Numbers in the texts, %L1, are written as the window's language
    // writes them.
    QLocale::setDefault(QLocale(windowLanguage(locale)));
    const bool chinese = windowLanguage(locale) == QLocale::Chinese;
    const QString suffix = chinese ? QStringLiteral("zh_CN") : QStringLiteral("en");
    if (program.load(QStringLiteral(":/i18n/sweepdraw_") + suffix))
        QCoreApplication::installTranslator(&program);
    // Qt's own texts are English already.
    if (chinese
        && qt.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qt);
}

} // namespace sweepdraw
