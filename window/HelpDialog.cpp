#include "HelpDialog.h"

#include "Commands.h"
#include "Speed.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

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

// A command line, and what it does.
QString example(const QString &command, const QString &what)
{
    return QStringLiteral("<p><code>%1</code><br>%2</p>").arg(command.toHtmlEscaped(), what.toHtmlEscaped());
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

    html += heading(tr("The command line"));
    html += example(QStringLiteral("sweepdraw --run sunshine,bridge --speed fast"),
                    tr("opens the window and draws the sunshine, then the bridge, fast. The speeds are %1.")
                        .arg(speedNames()));
    html += example(QStringLiteral("sweepdraw --run mountains,water --save picture.png"),
                    tr("opens no window: draws the mountains and the water, and saves the picture to a file."));
    html += example(QStringLiteral("sweepdraw --help"), tr("lists every option."));
    return html;
}

} // namespace sweepdraw
