#include "RoutineList.h"

#include "RoutineEditor.h"
#include "RoutineFiles.h"
#include "SceneFile.h"

#include <QFileInfo>

namespace sweepdraw {

namespace {

// An item's data: the scene's button, or the routine's path.
constexpr int kSceneRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

} // namespace

RoutineList::RoutineList(QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QStringLiteral("routines"));
    setAccessibleName(tr("Routines"));
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    refill();
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (m_marking)
            return;
        if (const QVariant scene = itemData(index, kSceneRole); scene.isValid())
            emit sceneChosen(static_cast<Button>(scene.toInt()));
        else
            emit routineChosen(itemData(index, kPathRole).toString());
    });
}

void RoutineList::refill()
{
    const QVariant shownScene = currentData(kSceneRole);
    const QString shownPath = currentData(kPathRole).toString();
    m_marking = true;
    clear();
    for (const Command &command : kCommands) {
        if (!sceneFileOf(command.button))
            continue;
        addItem(tr("%1 · scene").arg(QString::fromUtf8(command.caption)));
        setItemData(count() - 1, static_cast<int>(command.button), kSceneRole);
    }
    for (const QString &path : RoutineFiles::contents().routines) {
        addItem(tr("%1 · yours").arg(RoutineEditor::nameOf(path)));
        setItemData(count() - 1, QFileInfo(path).absoluteFilePath(), kPathRole);
    }
    m_marking = false;
    select(shownScene.isValid() ? std::optional(static_cast<Button>(shownScene.toInt())) : std::nullopt, shownPath);
}

void RoutineList::mark(std::optional<Button> scene, const QString &path)
{
    // A routine of the learner's made since the list was filled is listed
    // once it is shown.
    if (select(scene, path) || scene || path.isEmpty())
        return;
    refill();
    if (select(scene, path))
        return;
    // Not written yet, or not kept among the learner's.
    addItem(RoutineFiles::isKept(path) ? tr("%1 · yours").arg(RoutineEditor::nameOf(path))
                                            : QFileInfo(path).fileName());
    setItemData(count() - 1, QFileInfo(path).absoluteFilePath(), kPathRole);
    select(scene, path);
}

bool RoutineList::select(std::optional<Button> scene, const QString &path)
{
    int index = -1;
    if (scene)
        index = findData(static_cast<int>(*scene), kSceneRole);
    else if (!path.isEmpty())
        index = findData(QFileInfo(path).absoluteFilePath(), kPathRole);
    m_marking = true;
    setCurrentIndex(index);
    m_marking = false;
    return index >= 0;
}

} // namespace sweepdraw
