#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace sweepdraw {

class DrawingSurface;

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
    // in the "Command" context.
    const char *toolTip;
    // The name --run knows it by besides its caption; nullptr for a command
    // that cannot be run from the command line.
    const char *name;
    int left;     // twips; all the buttons share a top, width and height
    int tabIndex; // the buttons are also stacked in this order, lowest first
    // Draws on the picture; nullptr for "退出", which ends the program.
    void (*action)(DrawingSurface &);

    bool clears() const { return action == ClearPicture; }
    bool draws() const { return action != nullptr && !clears(); }
};

// The window's commands, in the order of Button.
extern const std::array<Command, 6> kCommands;

inline const Command &commandOf(Button button)
{
    return kCommands[static_cast<std::size_t>(button)];
}

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
