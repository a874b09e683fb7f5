#include "EditBench.h"

#include "CodePane.h"
#include "Form1.h"
#include "NumberDrag.h"
#include "RoutineEditor.h"
#include "SceneFile.h"
#include "Timing.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTimer>

namespace sweepdraw::bench {

namespace {

// From a change to the finished picture: twenty pictures a second while a
// number is dragged.
constexpr double kChangeGoalMs = 50.0;

std::string editName(const Command &scene)
{
    return std::string("BM_Edit/") + scene.name;
}

// Changes the scene's first pen width back and forth, each change drawing
// the whole routine again.
void onEdit(benchmark::State &state, const Command &scene)
{
    QFile file(QString::fromUtf8(sceneFileOf(scene.button)));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("the scene's file cannot be read");
        return;
    }
    // The copies go to a folder of their own, not among the user's.
    QStandardPaths::setTestModeEnabled(true);
    Form1 form(1.0);
    form.show();
    QCoreApplication::processEvents();
    form.findChild<CodePane *>()->editor().editCopy(QFileInfo(file).fileName(), QString::fromUtf8(file.readAll()));
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    auto *drag = form.findChild<NumberDrag *>();
    QTextCursor number = code->document()->find(QStringLiteral("SetPenWidth("));
    number.clearSelection();
    qint64 units = 1;
    double totalMs = 0;
    for (auto _ : state) {
        // The change is drawn a piece between frames: timed until the
        // picture shows it whole, the event loop's turns included.
        const double start = threadCpuSeconds();
        if (!drag->step(number, units)) {
            state.SkipWithError("the scene sets no pen width to change");
            return;
        }
        while (form.isDrawing())
            QCoreApplication::processEvents();
        const double ms = (threadCpuSeconds() - start) * 1e3;
        units = -units;
        state.SetIterationTime(ms / 1e3);
        totalMs += ms;
    }
    if (form.pictures().size() != 1)
        state.SkipWithError("the picture does not show the routine alone");
    state.counters["change_ms"] = totalMs / static_cast<double>(state.iterations());
}

// The window with the pane shown on a learner's routine, once its copy is
// written, left alone: the timers its objects hold, and the processor time a
// second of its event loop takes. A pane that draws nothing wakes for
// nothing.
void onIdle(benchmark::State &state)
{
    QStandardPaths::setTestModeEnabled(true);
    Form1 form(1.0);
    form.show();
    for (QAction *action : form.findChildren<QAction *>())
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_U))
            action->setChecked(true);
    form.findChild<CodePane *>()->editor().newRoutine();
    const auto runFor = [](int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    };
    // Long enough for the copy to be written, a second after its change.
    runFor(1500);
    double cpuMs = 0;
    for (auto _ : state) {
        const double start = threadCpuSeconds();
        runFor(1000);
        const double ms = (threadCpuSeconds() - start) * 1e3;
        state.SetIterationTime(1.0);
        cpuMs += ms;
    }
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    qsizetype timers = dispatcher->registeredTimers(&form).size();
    for (QObject *child : form.findChildren<QObject *>())
        timers += dispatcher->registeredTimers(child).size();
    state.counters["timers"] = static_cast<double>(timers);
    state.counters["cpu_ms_per_s"] = cpuMs / static_cast<double>(state.iterations());
}

// A change that asks for ten thousand million points, left to draw for a
// second: the longest the event loop waits between two turns meanwhile. A stall longer than a frame would freeze the
// window.
void onEndlessChange(benchmark::State &state)
{
    QStandardPaths::setTestModeEnabled(true);
    Form1 form(1.0);
    form.show();
    QCoreApplication::processEvents();
    CodePane *pane = form.findChild<CodePane *>();
    pane->editor().newRoutine();
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    const QString small = code->toPlainText();
    const QString endless = QString(small).replace(QStringLiteral("Sweep(0, 6.283192, 0.01"),
                                                   QStringLiteral("Sweep(0, 10000000000.0, 1"));
    const auto type = [code](const QString &text) {
        QTextCursor all(code->document());
        all.select(QTextCursor::Document);
        all.insertText(text);
    };
    double longestMs = 0;
    for (auto _ : state) {
        type(endless);
        QElapsedTimer since;
        QElapsedTimer turn;
        since.start();
        turn.start();
        while (since.elapsed() < 1000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            longestMs = std::max(longestMs, static_cast<double>(turn.nsecsElapsed()) / 1e6);
            turn.start();
        }
        state.SetIterationTime(static_cast<double>(since.elapsed()) / 1e3);
        if (!form.isDrawing())
            state.SkipWithError("the change did not go on drawing");
        for (QAction *action : form.findChildren<QAction *>())
            if (action->shortcut() == QKeySequence(Qt::SHIFT | Qt::Key_Escape))
                action->trigger();
        if (form.isDrawing())
            state.SkipWithError("Shift+Esc did not drop the change");
        type(small);
    }
    state.counters["stall_ms"] = longestMs;
}

} // namespace

std::vector<Goal> registerEditBenchmarks(std::vector<std::string> &names)
{
    std::vector<Goal> goals;
    for (const Command &scene : kCommands) {
        if (!scene.draws())
            continue;
        const std::string name = editName(scene);
        names.push_back(name);
        benchmark::RegisterBenchmark(name.c_str(), onEdit, scene)->Unit(benchmark::kMillisecond)->UseManualTime();
        goals.push_back({{name, "change_ms"}, {}, kChangeGoalMs, true});
    }
    const std::string idle = "BM_Edit/idle";
    names.push_back(idle);
    benchmark::RegisterBenchmark(idle.c_str(), onIdle)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
    goals.push_back({{idle, "timers"}, {}, 0.0, true});
    const std::string endless = "BM_Edit/endless_change";
    names.push_back(endless);
    benchmark::RegisterBenchmark(endless.c_str(), onEndlessChange)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(2);
    goals.push_back({{endless, "stall_ms"}, {}, 20.0, true});
    return goals;
}

} // namespace sweepdraw::bench
