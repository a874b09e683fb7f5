#pragma once

#include <QDialog>
#include <QList>

class QAction;

namespace sweepdraw {

// A short help for the window, in the language of the installed
// translations: what each button draws, the keys, the items of the menu with
// their keys, and the command line in brief. It is not modal: the window
// goes on drawing and taking clicks beside it.
class HelpDialog final : public QDialog
{
    Q_OBJECT

public:
    // `menu` is what the window's menu shows, in order: its items, and
    // separators whose text, if any, heads the items after them.
    HelpDialog(const QList<QAction *> &menu, QWidget *parent);

    // Shows `window`'s help, made the first time, and brings it to the front;
    // beside the window, where the screen has room, when it opens.
    static void showFor(QWidget *window, const QList<QAction *> &menu);

private:
    static QString helpText(const QList<QAction *> &menu);
};

} // namespace sweepdraw
