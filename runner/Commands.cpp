#include "Commands.h"

#include "CountingSurface.h"
#include "DrawingSurface.h"
#include "RuntimeError.h"

#include <mutex>

namespace sweepdraw {

void ClearPicture(DrawingSurface &surface)
{
    check(surface.ClearSurface());
}

CommandTally tallyOfDrawing(const std::function<void(DrawingSurface &)> &draw)
{
    CountingSurface counter;
    try {
        draw(counter);
    } catch (const RuntimeError &) {
        // Drawn for real, it fails at the same point; what it made before
        // is what it makes.
    }
    return {counter.operations(), counter.points(), counter.usedStartingPen()};
}

const CommandTally &tallyOf(Button button)
{
    // Each counted the first time it is asked for, on whichever thread.
    static std::array<std::once_flag, kCommands.size()> counted;
    static std::array<CommandTally, kCommands.size()> tallies;
    const auto index = static_cast<std::size_t>(button);
    std::call_once(counted[index], [index] {
        if (!kCommands[index].ends())
            tallies[index] = tallyOfDrawing(kCommands[index].action);
    });
    return tallies[index];
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
