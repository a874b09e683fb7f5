#include "Accessibility.h"

#include "Panel.h"
#include "Stage.h"
#include "SurfaceView.h"

#include <QAccessibleWidget>

namespace sweepdraw {

namespace {

// The window, with the stage's parts shown to screen readers as the
// window's own, and the panel left out: it is decoration, and would be an
// unnamed filler. Hidden parts, as the code pane until it is shown, are
// left out too.
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
        QList<QObject *> objects = widget()->children();
        for (qsizetype i = 0; i < objects.size(); ++i) {
            auto *child = qobject_cast<QWidget *>(objects[i]);
            if (!child || child->isWindow() || child->isHidden() || dynamic_cast<Panel *>(child))
                continue;
            if (qobject_cast<Stage *>(child)) {
                const QObjectList parts = child->children();
                for (qsizetype j = 0; j < parts.size(); ++j)
                    objects.insert(i + 1 + j, parts[j]);
            } else {
                children << child;
            }
        }
        return children;
    }
};

QAccessibleInterface *windowParts(const QString &, QObject *object)
{
    // The window is the one that shows a stage.
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && widget->isWindow() && widget->findChild<Stage *>(QString(), Qt::FindDirectChildrenOnly))
        return new WindowInterface(widget);
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
