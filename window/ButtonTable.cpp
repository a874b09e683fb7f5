#include "ButtonTable.h"

#include <QCoreApplication>

namespace sweepdraw {

QString toolTipOf(Button button)
{
    const QString text = QCoreApplication::translate("Command", buttonLookOf(button).toolTip);
    return commandOf(button).draws() ? text.arg(tallyOf(button).points) : text;
}

} // namespace sweepdraw
