#pragma once

#include "Commands.h"

#include <QComboBox>
#include <QString>

#include <optional>

namespace sweepdraw {

// The routines the code pane can show, one click away: the scenes' and the
// learner's own, those kept in the learner's folder, newest first. The one
// shown is the current item; choosing another asks for it.
class RoutineList final : public QComboBox
{
    Q_OBJECT

public:
    explicit RoutineList(QWidget *parent = nullptr);

    // Lists the learner's routines again, as the folder holds them now.
    void refill();

    // Marks what the pane shows: a scene's routine, the learner's routine
    // kept at `path`, or, with neither, nothing.
    void mark(std::optional<Button> scene, const QString &path = {});

signals:
    void sceneChosen(sweepdraw::Button scene);
    void routineChosen(const QString &path);

private:
    // Makes the item of `scene` or `path` the current one: whether it is listed.
    bool select(std::optional<Button> scene, const QString &path);

    bool m_marking = false;
};

} // namespace sweepdraw
