// Prints the window's buttons for the end-to-end tests, one a line:
// caption, object name, the name --run knows it by ("-" for none), and the
// centre of the button in the window's client area, in pixels. It reads
// them off a window built off-screen, so the tests click where the buttons
// really are.

#include "Form1.h"

#include <QApplication>
#include <QPushButton>

#include <cstdio>

using namespace sweepdraw;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Form1 form(1.0);
    for (const Command &command : kCommands) {
        const auto *button = form.findChild<QPushButton *>(QString::fromLatin1(command.objectName));
        if (!button)
            return 1;
        const QPoint centre = button->geometry().center();
        std::printf("%s %s %s %d %d\n", command.caption, command.objectName, command.name ? command.name : "-",
                    centre.x(), centre.y());
    }
    return 0;
}
