#pragma once

#include "Scenes.h"
#include "TableOrder.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sweepdraw {

// The six buttons of the main window, left to right.
enum class Button { CmdGs, Cmdls, Cmdyg, CmdDq, CmdCls, CmdExit };

// Erases the picture: the action of "清除".
void ClearPicture(DrawingSurface &surface);

// One command of the window; how its button looks is the window's
// (ButtonTable.h).
struct Command
{
    Button button;
    const char *caption; // UTF-8, the same in every language
    // The name --run knows it by besides its caption; nullptr for a command
    // that cannot be run from the command line.
    const char *name;
    // Draws on the picture; nullptr for "退出", which ends the program.
    void (*action)(DrawingSurface &);

    constexpr bool ends() const { return action == nullptr; }
    constexpr bool clears() const { return action == ClearPicture; }
    constexpr bool draws() const { return !ends() && !clears(); }
};

// The window's commands, in the order of Button.
inline constexpr std::array<Command, 6> kCommands = {{
    {Button::CmdGs, "高山", "mountains", DrawMountains},
    {Button::Cmdls, "流水", "water", DrawWater},
    {Button::Cmdyg, "阳光", "sunshine", DrawSunshine},
    {Button::CmdDq, "大桥", "bridge", DrawBridge},
    {Button::CmdCls, "清除", "clear", ClearPicture},
    {Button::CmdExit, "退出", nullptr, nullptr},
}};
static_assert(listedInOrder(kCommands, &Command::button), "kCommands must list the commands in the order of Button");

constexpr const Command &commandOf(Button button)
{
    return kCommands[static_cast<std::size_t>(button)];
}

// What a command makes when it runs, learnt by running its action once on a
// surface that only counts.
struct CommandTally
{
    long long operations = 0; // surface operations of every kind
    long long points = 0;     // the PlotPoint operations among them
    // Whether it draws with the pen it starts on before setting its own.
    bool usesStartingPen = false;
};

// The tally of the command's action, counted the first time it is asked
// for; "退出", which draws nothing, makes nothing.
const CommandTally &tallyOf(Button button);

// The tally of a drawing, counted by running it once.
CommandTally tallyOfDrawing(const std::function<void(DrawingSurface &)> &draw);

// The command a name given on the command line stands for: its English name,
// in any case, or its caption, in UTF-8. "退出" is not among them.
std::optional<Button> commandByName(std::string_view name);

// The commands commandByName knows, in button order, each as its English
// name followed by its caption in brackets, with commas between them:
// "mountains (高山), water (流水), ...".
std::string commandNames();

} // namespace sweepdraw
