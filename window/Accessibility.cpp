#include "Accessibility.h"

#include "Form1.h"
#include "Panel.h"
#include "SurfaceView.h"

#include <QAccessibleWidget>

namespace sweepdraw {

namespace {

// The window, with the panel left out of what screen readers are shown: it
// is decoration, and would be an unnamed filler. Hidden parts, as the code
// pane until it is shown, are left out too.
class WindowInterface final : public QAccessibleWidget
{
public:
    explicit WindowInterface(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    int childCount() const override { return static_cast<int>(shown().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shown();
        if (index < 0 || index >= children.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(children.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (!child)
            return -1;
        return static_cast<int>(shown().indexOf(qobject_cast<QWidget *>(child->object())));
    }

private:
    QList<QWidget *> shown() const
    {
        QList<QWidget *> children;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->isHidden() && !dynamic_cast<Panel *>(child))
                children << child;
        }
        return children;
    }
};

QAccessibleInterface *windowParts(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<Form1 *>(object))
        return new WindowInterface(window);
    if (auto *picture = qobject_cast<SurfaceView *>(object))
        return new QAccessibleWidget(picture, QAccessible::Graphic);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(windowParts);
        return true;
    }();
    (void)installed;
}

} // namespace sweepdraw
