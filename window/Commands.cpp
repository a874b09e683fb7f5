#include "Commands.h"

#include "DrawingSurface.h"
#include "RuntimeError.h"
#include "Scenes.h"

#include <QCoreApplication>

namespace sweepdraw {

void ClearPicture(DrawingSurface &surface)
{
    check(surface.ClearSurface());
}

const std::array<Command, 6> kCommands = {{
    {Button::CmdGs, "CmdGs", "高山",
     QT_TRANSLATE_NOOP("Command", "Mountains: a sine ridge drawn in 4 colour passes, 200,000 points"),
     "mountains", 4560, 5, DrawMountains},
    {Button::Cmdls, "Cmdls", "流水",
     QT_TRANSLATE_NOOP("Command", "Water: four ripples, each shorter than the one above, drawn in 5 colour "
                                  "passes, 800,000 points"),
     "water", 5760, 2, DrawWater},
    {Button::Cmdyg, "Cmdyg", "阳光",
     QT_TRANSLATE_NOOP("Command", "Sunshine: a sun and 32 rays growing outward, drawn in 6 colour passes, "
                                  "1,122,660 points"),
     "sunshine", 6960, 1, DrawSunshine},
    {Button::CmdDq, "CmdDq", "大桥",
     QT_TRANSLATE_NOOP("Command", "Bridge: a great arch, then 6 small arches drawn in 6 colour passes, "
                                  "369,963 points"),
     "bridge", 8160, 0, DrawBridge},
    {Button::CmdCls, "CmdCls", "清除", QT_TRANSLATE_NOOP("Command", "Clear: erases every picture"), "clear",
     9360, 3, ClearPicture},
    {Button::CmdExit, "CmdExit", "退出",
     QT_TRANSLATE_NOOP("Command", "Exit: ends the program at once, even in the middle of a drawing"), nullptr,
     10560, 4, nullptr},
}};

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
