#include "Commands.h"

#include "CountingSurface.h"
#include "DrawingSurface.h"
#include "RuntimeError.h"

#include <algorithm>
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

namespace {

// Whether ASCII `a` and `b` are the same but for the case of their letters.
bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&lower](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

std::optional<Button> commandByName(std::string_view name)
{
    for (const Command &command : kCommands) {
        if (command.name && (sameIgnoringCase(name, command.name) || name == command.caption))
            return command.button;
    }
    return std::nullopt;
}

std::string commandNames()
{
    std::string names;
    for (const Command &command : kCommands) {
        if (!command.name)
            continue;
        if (!names.empty())
            names += ", ";
        names += std::string(command.name) + " (" + command.caption + ')';
    }
    return names;
}

} // namespace sweepdraw
