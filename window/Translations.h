#pragma once

#include <QLocale>

namespace sweepdraw {

// The language the window speaks to a user of `locale`: Chinese where the
// user's language is Chinese, whatever the country or script, English
// everywhere else.
QLocale::Language windowLanguage(const QLocale &locale);

// Makes the window's texts, those Qt's own dialogs add included, speak the
// language windowLanguage() picks for `locale`, in place of any installed by
// an earlier call. The program's translations are built into it; Qt's are
// read from Qt's translations folder where they are installed (Debian's
// qt6-translations-l10n), and where they are not, Qt's buttons stay in
// English. Call once the application object exists, and before the window
// is made: the window reads its texts when it is built.
void installTranslations(const QLocale &locale = QLocale::system());

} // namespace sweepdraw
