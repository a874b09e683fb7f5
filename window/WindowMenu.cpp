#include "WindowMenu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace sweepdraw {

WindowMenu::WindowMenu(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void WindowMenu::addSection(const QString &heading)
{
    auto *separator = new QAction(heading, this);
    separator->setSeparator(true);
    m_actions << separator;
}

QAction *WindowMenu::addItem(const QString &text, const QList<QKeySequence> &keys)
{
    auto *item = new QAction(text, this);
    item->setShortcuts(keys);
    m_window->addAction(item);
    m_actions << item;
    return item;
}

void WindowMenu::exec(const QPoint &globalPos)
{
    QMenu menu(m_window);
    // A heading is kept at the top: it names the section below it.
    menu.setSeparatorsCollapsible(false);
    menu.addActions(m_actions);
    menu.exec(globalPos);
}

} // namespace sweepdraw
