#include "Commands.h"

#include "DrawingSurface.h"
#include "RuntimeError.h"

#include <QCoreApplication>

namespace sweepdraw {

void ClearPicture(DrawingSurface &surface)
{
    check(surface.ClearSurface());
}

QString toolTipOf(Button button)
{
    return QCoreApplication::translate("Command", commandOf(button).toolTip);
}

std::optional<Button> commandByName(const QString &name)
{
    for (const Command &command : kCommands) {
        if (command.name
            && (name.compare(QLatin1String(command.name), Qt::CaseInsensitive) == 0
                || name == QString::fromUtf8(command.caption)))
            return command.button;
    }
    return std::nullopt;
}

QStringList commandNames()
{
    QStringList names;
    for (const Command &command : kCommands)
        if (command.name)
            names << QStringLiteral("%1 (%2)").arg(QLatin1String(command.name),
                                                   QString::fromUtf8(command.caption));
    return names;
}

} // namespace sweepdraw
