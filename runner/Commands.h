#pragma once

#include "Scenes.h"
#include "TableOrder.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace sweepdraw {

// The six buttons of the main window, left to right.
enum class Button { CmdGs, Cmdls, Cmdyg, CmdDq, CmdCls, CmdExit };

// Erases the picture: the action of "清除".
void ClearPicture(DrawingSurface &surface);

// One button of the window and the command it runs.
struct Command
{
    Button button;
    const char *objectName;
    const char *caption; // UTF-8, the same in every language
    // What the button does, for its tooltip: English source text for tr()
    // in the "Command" context, with %L1 for the points a drawing plots.
    const char *toolTip;
    // The name --run knows it by besides its caption; nullptr for a command
    // that cannot be run from the command line.
    const char *name;
    int left;     // twips; all the buttons share a top, width and height
    int tabIndex; // the buttons are also stacked in this order, lowest first
    // Draws on the picture; nullptr for "退出", which ends the program.
    void (*action)(DrawingSurface &);

    constexpr bool ends() const { return action == nullptr; }
    constexpr bool clears() const { return action == ClearPicture; }
    constexpr bool draws() const { return !ends() && !clears(); }
};

// The window's commands, in the order of Button.
inline constexpr std::array<Command, 6> kCommands = {{
    {Button::CmdGs, "CmdGs", "高山",
     QT_TRANSLATE_NOOP("Command", "Mountains: a sine ridge drawn in 4 colour passes, %L1 points"),
     "mountains", 4560, 5, DrawMountains},
    {Button::Cmdls, "Cmdls", "流水",
     QT_TRANSLATE_NOOP("Command", "Water: four ripples, each shorter than the one above, drawn in 5 colour "
                                  "passes, %L1 points"),
     "water", 5760, 2, DrawWater},
    {Button::Cmdyg, "Cmdyg", "阳光",
     QT_TRANSLATE_NOOP("Command", "Sunshine: a sun and 32 rays growing outward, drawn in 6 colour passes, "
                                  "%L1 points"),
     "sunshine", 6960, 1, DrawSunshine},
    {Button::CmdDq, "CmdDq", "大桥",
     QT_TRANSLATE_NOOP("Command", "Bridge: a great arch, then 6 small arches drawn in 6 colour passes, "
                                  "%L1 points"),
     "bridge", 8160, 0, DrawBridge},
    {Button::CmdCls, "CmdCls", "清除", QT_TRANSLATE_NOOP("Command", "Clear: erases every picture"), "clear",
     9360, 3, ClearPicture},
    {Button::CmdExit, "CmdExit", "退出",
     QT_TRANSLATE_NOOP("Command", "Exit: ends the program at once, even in the middle of a drawing"), nullptr,
     10560, 4, nullptr},
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

// The tooltip of the command's button, in the language of the installed
// translations.
QString toolTipOf(Button button);

// The command a name given on the command line stands for: its English name,
// in any case, or its caption. "退出" is not among them.
std::optional<Button> commandByName(const QString &name);

// The commands commandByName knows, in button order, each as its English
// name followed by its caption in brackets: "mountains (高山)".
QStringList commandNames();

} // namespace sweepdraw
