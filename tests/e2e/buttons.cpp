// Prints the window's buttons for the end-to-end tests, one a line:
// caption, object name, the name --run knows it by ("-" for none), and the
// centre of the button in the window's client area, in pixels. It reads
// them off a window built off-screen, so the tests click where the buttons
// really are.
//
// With --facts, prints instead, as shell assignments, what the tests must
// know of the program and would otherwise write again: the window's design
// size, its colours as "r,g,b", and the program's exit statuses.

#include "ButtonTable.h"
#include "Design.h"
#include "ExitStatus.h"
#include "Form1.h"
#include "WindowColours.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>
#include <cstring>

using namespace sweepdraw;

namespace {

void printColour(const char *name, QRgb colour)
{
    std::printf("%s=%d,%d,%d\n", name, qRed(colour), qGreen(colour), qBlue(colour));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--facts") == 0) {
        std::printf("E2E_DESIGN_WIDTH=%d\nE2E_DESIGN_HEIGHT=%d\n", kDesignSize.width, kDesignSize.height);
        std::printf("E2E_EXIT_OK=%d\nE2E_EXIT_FAILURE=%d\nE2E_EXIT_USAGE=%d\n", ExitOk, ExitFailure, ExitUsage);
        printColour("E2E_BACKGROUND", WindowColour::kBackground);
        printColour("E2E_PANEL", WindowColour::kPanel);
        printColour("E2E_PANEL_BORDER", WindowColour::kPanelBorder);
        printColour("E2E_DIVIDER", WindowColour::kDivider);
        return ExitOk;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    allowSyntheticBoldAtAnySize();
    QApplication app(argc, argv);
    Form1 form(1.0);
    for (const Command &command : kCommands) {
        const char *objectName = buttonLookOf(command.button).objectName;
        const auto *button = form.findChild<QPushButton *>(QString::fromLatin1(objectName));
        if (!button)
            return ExitFailure;
        const QPoint centre = button->geometry().center();
        std::printf("%s %s %s %d %d\n", command.caption, objectName, command.name ? command.name : "-",
                    centre.x(), centre.y());
    }
    return ExitOk;
}
