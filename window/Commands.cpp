#include "Commands.h"

#include "CountingSurface.h"
#include "DrawingSurface.h"
#include "LoopRecorder.h"
#include "RuntimeError.h"

#include <QCoreApplication>

namespace sweepdraw {

void ClearPicture(DrawingSurface &surface)
{
    check(surface.ClearSurface());
}

namespace {

CommandTally tally(const Command &command)
{
    if (!command.action)
        return {};
    LoopRecorder loops;
    CountingSurface counter(loops);
    {
        const LoopRecorder::Activation recording(&loops);
        try {
            command.action(counter);
        } catch (const RuntimeError &) {
            // Drawn for real, it fails at the same point; what it made
            // before is what it makes.
        }
    }
    return {counter.operations(), counter.points(), counter.file()};
}

} // namespace

const CommandTally &tallyOf(Button button)
{
    static const std::array<CommandTally, kCommands.size()> tallies = [] {
        std::array<CommandTally, kCommands.size()> all;
        for (std::size_t i = 0; i < kCommands.size(); ++i)
            all[i] = tally(kCommands[i]);
        return all;
    }();
    return tallies[static_cast<std::size_t>(button)];
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
