#pragma once

#include "Commands.h"
#include "TableOrder.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace sweepdraw {

// How the window shows one command's button: its widget's name, where it
// stands, where it comes in the tab order and what its tooltip says.
struct ButtonLook
{
    Button button;
    const char *objectName;
    int left;     // twips; all the buttons share a top, width and height (Stage.cpp)
    int tabIndex; // the buttons are also stacked in this order, lowest first
    // What the button does: English source text for tr() in the "Command"
    // context, with %L1 for the points a drawing plots.
    const char *toolTip;
};

// The window's buttons, in the order of Button, left to right.
inline constexpr std::array<ButtonLook, 6> kButtonLooks = {{
    {Button::CmdGs, "CmdGs", 4560, 5,
     QT_TRANSLATE_NOOP("Command", "Mountains: a sine ridge drawn in 4 colour passes, %L1 points")},
    {Button::Cmdls, "Cmdls", 5760, 2,
     QT_TRANSLATE_NOOP("Command", "Water: four ripples, each shorter than the one above, drawn in 5 colour "
                                  "passes, %L1 points")},
    {Button::Cmdyg, "Cmdyg", 6960, 1,
     QT_TRANSLATE_NOOP("Command", "Sunshine: a sun and 32 rays growing outward, drawn in 6 colour passes, "
                                  "%L1 points")},
    {Button::CmdDq, "CmdDq", 8160, 0,
     QT_TRANSLATE_NOOP("Command", "Bridge: a great arch, then 6 small arches drawn in 6 colour passes, "
                                  "%L1 points")},
    {Button::CmdCls, "CmdCls", 9360, 3, QT_TRANSLATE_NOOP("Command", "Clear: erases every picture")},
    {Button::CmdExit, "CmdExit", 10560, 4,
     QT_TRANSLATE_NOOP("Command", "Exit: ends the program at once, even in the middle of a drawing")},
}};
static_assert(kButtonLooks.size() == kCommands.size(), "every command has a button");
static_assert(listedInOrder(kButtonLooks, &ButtonLook::button),
              "kButtonLooks must list the buttons in the order of Button");

constexpr const ButtonLook &buttonLookOf(Button button)
{
    return kButtonLooks[static_cast<std::size_t>(button)];
}

// The tooltip of the command's button, in the language of the installed
// translations.
QString toolTipOf(Button button);

} // namespace sweepdraw
