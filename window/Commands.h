#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sweepdraw {

// The six buttons of the main window, named as the window names them.
enum class Button { CmdGs, Cmdls, Cmdyg, CmdDq, CmdCls, CmdExit };

// The command a name given on the command line stands for: "mountains",
// "water", "sunshine", "bridge" or "clear", or the caption of the same
// button ("高山", "流水", "阳光", "大桥", "清除"). Exit is not among them.
std::optional<Button> commandByName(const QString &name);

// The names commandByName accepts in English, in button order.
QStringList commandNames();

} // namespace sweepdraw
