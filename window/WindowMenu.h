#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QPoint;
class QWidget;

namespace sweepdraw {

// A window's right-click menu, item by item in sections. Every item is also
// an action of the window, so that its key works while the menu is closed;
// the menu shows each item's key beside it. Items are added once, when the
// window is built, and live as long as the window.
class WindowMenu final : public QObject
{
    Q_OBJECT

public:
    explicit WindowMenu(QWidget *window);

    // Sets the items added after this apart from those before, under
    // `heading` when one is given, and with a plain line when not.
    void addSection(const QString &heading = {});

    // Adds an item to the last section and returns it, for the caller to
    // connect. The first of its keys is the one the menu shows.
    QAction *addItem(const QString &text, const QList<QKeySequence> &keys = {});

    // Everything the menu shows, in order: the items, and a separator for
    // each section, which carries the heading as its text.
    const QList<QAction *> &actions() const { return m_actions; }

    // Shows the menu at `globalPos`, on the screen, until it is closed.
    void exec(const QPoint &globalPos);

private:
    QWidget *m_window;
    QList<QAction *> m_actions;
};

} // namespace sweepdraw
