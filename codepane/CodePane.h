#pragma once

#include "CodeView.h"
#include "RunnerDriver.h"
#include "Commands.h"
#include "CommandCode.h"
#include "WhatDrew.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QLabel;

namespace sweepdraw {

class CodeView;
class RoutineEditor;

// The window's items that work on the learner's routine in the code pane.
struct RoutineActions
{
    QAction *show;
    QAction *editCopy;
    QAction *newRoutine;
    QAction *open;
    QAction *saveAs;
    QAction *run;
    QAction *stop;
};

// Shows how the picture is drawn: the routine of the command being drawn,
// or of the last one drawn, with the loops it is in highlighted and each
// loop's counter beside it under the name the code gives it, the last point
// plotted beside the line that plots it, and a line on how far the drawing
// is: the command, whether the drawing is paused, the colour pass, the
// operations landed of its total, the time left at the speed, and the
// commands waiting.
//
// Everything is read from the runner, whose frames it follows while it is
// shown; nothing is computed again but the totals, counted once for each
// command the first time it is shown. Screen readers see the code as
// text, and the progress with the live values as the description of the
// progress line, brought up to date at most twice a second.
//
// Above the progress, a header says whose routine is shown: a scene's or a
// file's, read-only, or the learner's, editable (RoutineEditor), and a list
// (RoutineList) offers the scenes and the learner's routines, the one shown
// marked. While a command draws, is paused or is stepped, the pane shows
// its routine, as it was written when it was queued; once the command is
// done, what the pane shows is the learner's to choose. Nothing is opened
// when the pane is made.
class CodePane final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kTypingRestMs = 250;

    explicit CodePane(const RunnerDriver &runner, QWidget *parent = nullptr);
    ~CodePane() override;

    // Shows where the drawing is now.
    void refresh();

    // Where Run to the caret stops, with the caret on its line in the
    // routine of the command being drawn; at the command's end when another
    // routine is shown.
    RunToStop caretStop();

    // Shows what drew the pixel of the picture at `pixel`, in pixels at zoom
    // 1, in the progress line's place until the drawing moves on: the line,
    // lit, its routine, the colour pass, the loops' values and the
    // operation's number; or that nothing was drawn there.
    void showDrawnBy(const std::optional<DrawnBy> &drawn, QPoint pixel);
    // Lets `actions` work on the learner's routine: shown, the pane opens
    // on it.
    void useActions(const RoutineActions &actions);

    RoutineEditor &editor() { return *m_editor; }

    // The learner's routine as it is written, to run, if it is open and
    // compiles.
    std::optional<Runnable> learnersRoutine() const;
    // Why there is no routine of the learner's to run: none is open, or it
    // does not compile; empty when there is.
    QString whyNotRunnable() const;

signals:
    // The learner's routine changed, and compiles: the picture is to show
    // it. A number dragged or stepped tells at once, a change typed once
    // the keys have rested for kTypingRestMs.
    void routineChanged(const sweepdraw::Runnable &routine);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // What is shown over the code and beside it.
    struct Marks
    {
        std::vector<CodeView::Span> loops;
        std::vector<CodeView::Value> values;
    };
    struct Answer
    {
        std::optional<DrawnBy> drawn;
        QPoint pixel;
    };

    // The loops of `routine` running at `at`, each with its counter's value
    // beside it, and the point plotted beside the line that plots it; each
    // value is added to `told`.
    static Marks marksAt(const CommandCode &routine, const LoopState &at, QStringList &told);
    static QString passOf(const LoopState &at);
    void showAnswer();
    const CommandCode &routineOf(const Runnable &command);
    void showRoutine(const std::optional<Runnable> &command);
    QString progressLine(const DrawingProgress &progress);
    void tell(const QString &text);
    void tellNow();
    bool isShown(const Runnable &command);
    void showHeader();
    void editCopy();
    // Shows the routine of `scene` or `command`, read-only.
    void showReadOnly(const Runnable &command);
    void showMine();
    void tellReadOnly();

    const RunnerDriver &m_runner;
    QLabel *m_header;
    QLabel *m_progress;
    CodeView *m_code;
    QTextDocument *m_readOnly; // the text of a routine shown read-only
    class RoutineList *m_list;
    RoutineEditor *m_editor;
    std::array<std::unique_ptr<CommandCode>, kCommands.size()> m_routines;
    // The routine of the last command read from a file to be shown.
    std::unique_ptr<CommandCode> m_fromFile;
    std::optional<Runnable> m_fromFileOf;
    std::optional<Runnable> m_shown;        // whose routine the read-only text is
    std::optional<Runnable> m_followed;     // the command drawn when the pane last followed the drawing
    std::optional<Runnable> m_lastDrawn;    // the last drawing command finished
    std::optional<Runnable> m_lastFinished; // the last command of any kind finished
    std::optional<Answer> m_answer;       // what drew a pixel, until the drawing moves on

    // What screen readers are told, and when they were last told.
    QString m_told;
    QElapsedTimer m_sinceTold;
    QTimer m_tellLater;
    QTimer m_typing; // from a typed change until it shows
};

} // namespace sweepdraw
