#include "Commands.h"

#include "DrawingSurface.h"
#include "RuntimeError.h"
#include "Scenes.h"

namespace sweepdraw {

void ClearPicture(DrawingSurface &surface)
{
    check(surface.ClearSurface());
}

const std::array<Command, 6> kCommands = {{
    {Button::CmdGs, "CmdGs", "高山", "mountains", 4560, 5, DrawMountains},
    {Button::Cmdls, "Cmdls", "流水", "water", 5760, 2, DrawWater},
    {Button::Cmdyg, "Cmdyg", "阳光", "sunshine", 6960, 1, DrawSunshine},
    {Button::CmdDq, "CmdDq", "大桥", "bridge", 8160, 0, DrawBridge},
    {Button::CmdCls, "CmdCls", "清除", "clear", 9360, 3, ClearPicture},
    {Button::CmdExit, "CmdExit", "退出", nullptr, 10560, 4, nullptr},
}};

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
