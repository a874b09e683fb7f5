#pragma once

#include <QCoreApplication>

class QWidget;

namespace sweepdraw {

// The box that says what the program is, its version, its licence and the
// version of Qt it runs on, in the language of the installed translations.
class AboutBox final
{
    Q_DECLARE_TR_FUNCTIONS(AboutBox)

public:
    // Shows the box over `parent`, where it stays until the user closes it;
    // returns at once.
    static void show(QWidget *parent);
};

} // namespace sweepdraw
