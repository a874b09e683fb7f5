#include "EditBench.h"

#include "CodePane.h"
#include "Form1.h"
#include "NumberDrag.h"
#include "RoutineEditor.h"
#include "Timing.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStandardPaths>

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
    QFile file(QString::fromUtf8(tallyOf(scene.button).file));
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
        const double start = threadCpuSeconds();
        if (!drag->step(number, units)) {
            state.SkipWithError("the scene sets no pen width to change");
            return;
        }
        const double ms = (threadCpuSeconds() - start) * 1e3;
        units = -units;
        state.SetIterationTime(ms / 1e3);
        totalMs += ms;
    }
    if (form.pictures().size() != 1)
        state.SkipWithError("the picture does not show the routine alone");
    state.counters["change_ms"] = totalMs / static_cast<double>(state.iterations());
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
    return goals;
}

} // namespace sweepdraw::bench
