#include "HelpDialog.h"

#include "ButtonTable.h"
#include "CodeView.h"
#include "Commands.h"
#include "Speed.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <algorithm>

namespace sweepdraw {

namespace {

QString row(const QString &left, const QString &right)
{
    return QStringLiteral("<tr><td>%1</td><td>%2</td></tr>").arg(left, right.toHtmlEscaped());
}

QString heading(const QString &text)
{
    return QStringLiteral("<h3>%1</h3>").arg(text.toHtmlEscaped());
}

QString paragraph(const QString &text)
{
    return QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
}

// A command line, in the font of code, and what it does.
QString example(const QString &command, const QString &what)
{
    QStringList families;
    for (const QString &family : codeFont().families())
        families << QStringLiteral("'%1'").arg(family);
    return QStringLiteral("<p><span style=\"font-family: %1\">%2</span><br>%3</p>")
        .arg(families.join(QStringLiteral(", ")), command.toHtmlEscaped(), what.toHtmlEscaped());
}

// Where a dialog `size` large, frame included, goes beside `window` on
// `screen`: to its right, or else to its left, where either has room;
// otherwise against the edge of the screen on the side with more room,
// where it covers the least of the window.
QPoint besideWindow(const QRect &window, QSize size, const QRect &screen)
{
    const int right = screen.right() - window.right();
    const int left = window.left() - screen.left();
    int x = 0;
    if (right >= size.width())
        x = window.right() + 1;
    else if (left >= size.width())
        x = window.left() - size.width();
    else
        x = right >= left ? screen.right() + 1 - size.width() : screen.left();
    const int y = std::clamp(window.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - size.height()));
    return QPoint(std::max(x, screen.left()), y);
}

} // namespace

HelpDialog::HelpDialog(const QList<QAction *> &menu, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("HelpDialog"));
    setWindowTitle(tr("Sweepdraw Help"));
    auto *text = new QTextBrowser(this);
    text->setHtml(helpText(menu));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    resize(560, 520);
}

void HelpDialog::showFor(QWidget *window, const QList<QAction *> &menu)
{
    auto *help = window->findChild<HelpDialog *>(QString(), Qt::FindDirectChildrenOnly);
    if (!help)
        help = new HelpDialog(menu, window);
    if (!help->isVisible()) {
        if (const QScreen *screen = window->screen()) {
            // Its frame is taken to be as wide as the window's, which it
            // has not got until it is shown.
            const QSize frame = window->frameGeometry().size() - window->size();
            const QPoint corner = besideWindow(window->frameGeometry(), help->size() + frame,
                                               screen->availableGeometry());
            help->move(corner);
        }
    }
    help->show();
    help->raise();
    help->activateWindow();
}

QString HelpDialog::helpText(const QList<QAction *> &menu)
{
    QString html = heading(tr("The buttons"));
    html += paragraph(tr("Click a button to draw its picture, point by point. The pictures stay, one over "
                         "another, until 清除 clears them. Clicks made while a picture is being drawn wait "
                         "their turn."));
    html += QStringLiteral("<table cellspacing=\"4\">");
    for (const Command &command : kCommands)
        html += row(QStringLiteral("<b>%1</b>").arg(QString::fromUtf8(command.caption)), toolTipOf(command.button));
    html += QStringLiteral("</table>");

    html += heading(tr("Keys and the menu"));
    html += paragraph(tr("Tab moves from button to button; Space, Return or Enter presses the button with the "
                         "focus. A right click anywhere outside the buttons opens the menu. Its keys work with "
                         "the menu closed too."));
    html += QStringLiteral("<table cellspacing=\"4\">");
    for (const QAction *action : menu) {
        if (action->isSeparator() && !action->text().isEmpty())
            html += QStringLiteral("<tr><td colspan=\"2\"><b>%1</b></td></tr>").arg(action->text().toHtmlEscaped());
        else if (!action->isSeparator())
            html += row(action->text().toHtmlEscaped(), action->shortcut().toString(QKeySequence::NativeText));
    }
    html += QStringLiteral("</table>");

    html += heading(tr("The code pane"));
    html += QStringLiteral("<table cellspacing=\"4\">");
    html += row(tr("Ctrl+click on the picture"),
                tr("while the drawing is paused or done: the line of the routine that drew that point"));
    html += row(tr("Drag a number sideways"), tr("in your routine: changes it, and the picture shows the change"));
    html += row(tr("Alt+Up, Alt+Down"), tr("in your routine: the number at the caret one more, one less"));
    html += row(tr("Typing"), tr("in your routine: the picture shows the change once you stop typing"));
    html += QStringLiteral("</table>");

    html += heading(tr("The command line"));
    html += example(QStringLiteral("sweepdraw --run sunshine,bridge --speed fast"),
                    tr("opens the window and draws the sunshine, then the bridge, fast. The speeds are %1.")
                        .arg(QString::fromStdString(speedNames())));
    html += example(QStringLiteral("sweepdraw --run mountains,water --save picture.png"),
                    tr("opens no window: draws the mountains and the water, and saves the picture to a file."));
    html += example(QStringLiteral("sweepdraw --help"), tr("lists every option."));
    return html;
}

} // namespace sweepdraw
