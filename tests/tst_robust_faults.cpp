#include "CodeView.h"
#include "ForwardingSurface.h"
#include "Operation.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "RoutineEditor.h"
#include "RoutineFiles.h"
#include "WindowTesting.h"
#include "robust/ImageDifference.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <sys/mount.h>

// Faults injected into the real command path: the window's command runner,
// drawing at the normal speed through a surface that fails at a chosen
// operation. Whatever fails, the failure must be told with the operation
// that failed, after what came before it has landed, and nothing must be
// drawn after it; the window then asks the program to end, as failed.

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::ForwardingSurface;
using sweepdraw::test::imageDifference;
using sweepdraw::test::ManualClock;
using Call = RecordingSurface::Call;
using Op = RecordingSurface::Op;

namespace {

// What goes wrong at the chosen operation: the surface refuses it, or one of
// its arguments arrives as a value no computation should have produced.
enum class Fault { Refused, NaN, PlusInfinity, MinusInfinity };
enum class Argument { None, X, Y, Radius };
// Which operations of the command are counted when choosing the one to fail.
enum class Among { All, PlotPoints, Boxes, Circles };
enum class Where { First, Middle, Last };

// The operations the commands perform, recorded on their way out of the
// window's command runner.
std::vector<Call> operationsOf(const QList<Button> &commands)
{
    RecordingSurface recording;
    RunnerDriver runner(recording);
    for (Button command : commands)
        runner.enqueue(command);
    runner.runToEnd();
    return recording.calls();
}

bool counts(Among among, Op op)
{
    switch (among) {
    case Among::All:
        return true;
    case Among::PlotPoints:
        return op == Op::PlotPoint;
    case Among::Boxes:
        return op == Op::DrawBox;
    case Among::Circles:
        return op == Op::DrawCircle;
    }
    return false;
}

// The number, counted from 1, of the operation that is to fail; 0 if the
// command performs none of the kind.
long long chooseOperation(const std::vector<Call> &calls, Among among, Where where)
{
    std::vector<long long> candidates;
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (counts(among, calls[i].op))
            candidates.push_back(static_cast<long long>(i) + 1);
    if (candidates.empty())
        return 0;
    switch (where) {
    case Where::First:
        return candidates.front();
    case Where::Middle:
        return candidates[candidates.size() / 2];
    case Where::Last:
        return candidates.back();
    }
    return 0;
}

// Performs `call` on `target` the way the fault makes it go wrong.
Status injectFault(DrawingSurface &target, Call call, Fault fault, Argument argument)
{
    float bad = 0;
    switch (fault) {
    case Fault::Refused:
        return Status::failure(FaultKind::DeviceRefused, operationName(call.op).data());
    case Fault::NaN:
        bad = std::numeric_limits<float>::quiet_NaN();
        break;
    case Fault::PlusInfinity:
        bad = std::numeric_limits<float>::infinity();
        break;
    case Fault::MinusInfinity:
        bad = -std::numeric_limits<float>::infinity();
        break;
    }
    switch (argument) {
    case Argument::None:
        break;
    case Argument::X:
        call.x = bad;
        break;
    case Argument::Y:
        call.y = bad;
        break;
    case Argument::Radius:
        call.radius = bad;
        break;
    }
    return RecordingSurface::perform(target, call);
}

// What threatens the learner's work in the editor.
enum class Threat { AnotherWindow, TypingOn, ClosingUnwritable };

// An editor in a window of its own, on a view it outlives.
struct Editing
{
    CodeView view;
    QWidget window;
    std::unique_ptr<RoutineEditor> editor = std::make_unique<RoutineEditor>(view, window);

    ~Editing() { editor.reset(); }

    void type(const QString &text)
    {
        view.moveCursor(QTextCursor::End);
        view.insertPlainText(text);
    }
};

QByteArray contentsOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Threat)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Argument)
Q_DECLARE_METATYPE(Among)
Q_DECLARE_METATYPE(Where)

class TestRobustFaults : public QObject
{
    Q_OBJECT

private slots:
    // As the program does at start-up.
    void initTestCase()
    {
        allowSyntheticBoldAtAnySize();
        QStandardPaths::setTestModeEnabled(true);
    }
    void failingOperationEndsTheProgram_data();
    void failingOperationEndsTheProgram();
    void errorDialogHoldsTheEnd();
    void learnersWorkIsNeverLostInSilence_data();
    void learnersWorkIsNeverLostInSilence();
    void cleanup();

private:
    QString m_mounted; // a file system mounted over the learner's folder, if any
};

void TestRobustFaults::cleanup()
{
    if (!m_mounted.isEmpty())
        ::umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
    m_mounted.clear();
}

void TestRobustFaults::learnersWorkIsNeverLostInSilence_data()
{
    QTest::addColumn<Threat>("threat");
    QTest::newRow("a second window on the same routine") << Threat::AnotherWindow;
    QTest::newRow("typing without a pause") << Threat::TypingOn;
    QTest::newRow("closing with the folder read-only") << Threat::ClosingUnwritable;
}

void TestRobustFaults::learnersWorkIsNeverLostInSilence()
{
    QFETCH(Threat, threat);
    const QString folder = RoutineFiles::folder();
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/MyRoutine.cpp");

    Editing first;
    if (threat == Threat::ClosingUnwritable) {
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("a folder to make read-only needs root: mount: %1")
                                 .arg(QString::fromLocal8Bit(std::strerror(errno)))));
        m_mounted = folder;
    }
    first.editor->newRoutine();
    QVERIFY(QFile::exists(path));

    switch (threat) {
    case Threat::AnotherWindow: {
        // Each window writes its change; the second finds the file changed
        // under it, and keeps its own beside it.
        Editing second;
        QVERIFY(second.editor->openLastEdited());
        first.type(QStringLiteral("// the first window's\n"));
        first.editor->saveNow();
        second.type(QStringLiteral("// the second window's\n"));
        second.editor->saveNow();
        QCOMPARE(contentsOf(path), first.view.toPlainText().toUtf8());
        QCOMPARE(contentsOf(folder + QStringLiteral("/MyRoutine2.cpp")), second.view.toPlainText().toUtf8());
        QVERIFY2(second.editor->header().contains(
                     QStringLiteral("MyRoutine.cpp was changed in another window; yours is kept as MyRoutine2.cpp")),
                 qPrintable(second.editor->header()));
        // And the second goes on with its own.
        second.type(QStringLiteral("// more\n"));
        second.editor->saveNow();
        QCOMPARE(contentsOf(folder + QStringLiteral("/MyRoutine2.cpp")), second.view.toPlainText().toUtf8());
        QCOMPARE(contentsOf(path), first.view.toPlainText().toUtf8());
        break;
    }
    case Threat::TypingOn: {
        // A key every quarter of the save delay: a save that waited for a
        // pause would never come.
        const QByteArray written = contentsOf(path);
        QDeadlineTimer deadline(10000);
        int typed = 0;
        while (contentsOf(path) == written && !deadline.hasExpired()) {
            first.type(QStringLiteral("x"));
            ++typed;
            QTest::qWait(RoutineEditor::kSaveDelayMs / 4);
        }
        const QByteArray saved = contentsOf(path);
        QVERIFY2(saved != written, "nothing was written while the typing went on");
        // Whole: the text as it stood after some of the keys.
        QVERIFY(saved.startsWith(written) && saved.size() > written.size());
        QCOMPARE(saved.mid(written.size()), QByteArray(saved.size() - written.size(), 'x'));
        QVERIFY(saved.size() - written.size() <= typed);
        break;
    }
    case Threat::ClosingUnwritable: {
        QCOMPARE(::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                         "size=64k"),
                 0);
        first.type(QStringLiteral("// the last change\n"));
        // Under the name the dialog proposes: the widget-based dialog may
        // take a new folder from selectFile() before it takes a new name.
        QTemporaryDir elsewhere;
        const QString saved = elsewhere.filePath(QStringLiteral("MyRoutine.cpp"));
        QString told;
        QTimer answer;
        answer.setInterval(10);
        connect(&answer, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                told = box->text();
                box->button(QMessageBox::Save)->click();
            } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                dialog->selectFile(saved);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        answer.start();
        QVERIFY(first.editor->keepBeforeEnding(true));
        QVERIFY2(told.contains(QStringLiteral("Read-only file system")), qPrintable(told));
        QCOMPARE(contentsOf(saved), first.view.toPlainText().toUtf8());
        break;
    }
    }
}

void TestRobustFaults::failingOperationEndsTheProgram_data()
{
    QTest::addColumn<QList<Button>>("before"); // run first, without faults
    QTest::addColumn<Button>("command");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<Argument>("argument");
    QTest::addColumn<Among>("among");
    QTest::addColumn<Where>("where");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Speed>("speed");

    // Every case twice: paced, a piece of the command each frame, at the
    // normal speed, and drawn in one go at the instant speed, as --save does.
    const auto row = [](const QString &name, const QList<Button> &before, Button command, Fault fault,
                        Argument argument, Among among, Where where, const QString &message) {
        for (Speed speed : {Speed::Normal, Speed::Instant})
            QTest::addRow("%s, %s", qPrintable(name), speed == Speed::Normal ? "paced" : "in one go")
                << before << command << fault << argument << among << where << message << speed;
    };

    const QList<Button> nothing;
    const QString pen = "SetPenWidth: the device refused it";
    const QString point = "PlotPoint: the device refused it";
    // Every scene sets its pen first and ends on a point; in the middle of
    // every one points are being plotted.
    for (const Command &scene : kCommands) {
        if (!scene.draws())
            continue;
        row(QString::fromLatin1(scene.name) + ": first operation refused", nothing, scene.button,
            Fault::Refused, Argument::None, Among::All, Where::First, pen);
        row(QString::fromLatin1(scene.name) + ": middle operation refused", nothing, scene.button,
            Fault::Refused, Argument::None, Among::All, Where::Middle, point);
        row(QString::fromLatin1(scene.name) + ": last operation refused", nothing, scene.button,
            Fault::Refused, Argument::None, Among::All, Where::Last, point);
    }
    // On top of earlier pictures, which must stay as they were.
    row("bridge over water: middle operation refused", QList<Button>{Button::Cmdls}, Button::CmdDq,
        Fault::Refused, Argument::None, Among::All, Where::Middle, point);
    row("clear refused, the water stays", QList<Button>{Button::Cmdls}, Button::CmdCls, Fault::Refused,
        Argument::None, Among::All, Where::First, "ClearSurface: the device refused it");

    // A scene's computation yields a value that is not a number, or is
    // infinite, and the picture's own checks stop it.
    row("mountains: frame corner is NaN", nothing, Button::CmdGs, Fault::NaN, Argument::X, Among::Boxes,
        Where::First, "DrawBox: x1 is not a finite number (got nan)");
    row("mountains: first ridge point is NaN", nothing, Button::CmdGs, Fault::NaN, Argument::Y,
        Among::PlotPoints, Where::First, "PlotPoint: y is not a finite number (got nan)");
    row("water: middle point is infinite", nothing, Button::Cmdls, Fault::PlusInfinity, Argument::X,
        Among::PlotPoints, Where::Middle, "PlotPoint: x is not a finite number (got inf)");
    row("sunshine: ring radius is infinite", nothing, Button::Cmdyg, Fault::PlusInfinity, Argument::Radius,
        Among::Circles, Where::First, "DrawCircle: radius is not a finite number (got inf)");
    row("sunshine: disc centre is NaN", nothing, Button::Cmdyg, Fault::NaN, Argument::X, Among::Circles,
        Where::Last, "DrawCircle: x is not a finite number (got nan)");
    row("sunshine: last ray point is minus infinity", nothing, Button::Cmdyg, Fault::MinusInfinity,
        Argument::Y, Among::PlotPoints, Where::Last, "PlotPoint: y is not a finite number (got -inf)");
    row("bridge: middle point is NaN", nothing, Button::CmdDq, Fault::NaN, Argument::X, Among::PlotPoints,
        Where::Middle, "PlotPoint: x is not a finite number (got nan)");
}

void TestRobustFaults::failingOperationEndsTheProgram()
{
    QFETCH(QList<Button>, before);
    QFETCH(Button, command);
    QFETCH(Fault, fault);
    QFETCH(Argument, argument);
    QFETCH(Among, among);
    QFETCH(Where, where);
    QFETCH(QString, message);
    QFETCH(Speed, speed);

    const std::vector<Call> earlier = operationsOf(before);
    const std::vector<Call> calls = operationsOf({command});
    const long long failing = chooseOperation(calls, among, where);
    QVERIFY(failing > 0);

    // Operations are counted from the first of the command's own.
    long long offset = std::numeric_limits<long long>::max() / 2;
    RasterSurface picture(kDesignSize, 1.0);
    ForwardingSurface surface(picture, [&](long long operation) {
        if (operation - offset != failing)
            return Status();
        return injectFault(picture, calls[static_cast<std::size_t>(failing - 1)], fault, argument);
    });
    RunnerDriver runner(surface);
    ManualClock clock(runner);
    runner.setSpeed(speed);
    QSignalSpy failed(&runner, &RunnerDriver::failed);
    QStringList events;
    connect(&runner, &RunnerDriver::drawn, this, [&] { events << "drawn"; });
    connect(&runner, &RunnerDriver::failed, this, [&] { events << "failed"; });
    for (Button button : before)
        runner.enqueue(button);
    runner.runToEnd();
    const long long earlierOperations = surface.operations();
    offset = earlierOperations;
    QCOMPARE(failed.count(), 0);

    // Clicks on the command, and on another after it.
    runner.enqueue(command);
    runner.enqueue(Button::CmdGs);
    if (speed == Speed::Instant)
        runner.runToEnd();
    for (int frame = 0; frame < 10'000 && !runner.isIdle(); ++frame) {
        clock.advance(16ms);
        runner.advance();
    }
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.at(0).at(0).toString(), message);
    // What was drawn before the failure was put on the screen before the
    // failure was told.
    QCOMPARE(events.constLast(), QString("failed"));
    if (failing > 1)
        QCOMPARE(events.at(events.size() - 2), QString("drawn"));
    // Nothing was tried after the failing operation...
    QCOMPARE(surface.operations(), earlierOperations + failing);
    // ...and the picture holds exactly what the operations before it drew.
    RasterSurface reference(kDesignSize, 1.0);
    for (const Call &call : earlier)
        QVERIFY(RecordingSurface::perform(reference, call).ok());
    for (long long i = 0; i + 1 < failing; ++i)
        QVERIFY(RecordingSurface::perform(reference, calls[static_cast<std::size_t>(i)]).ok());
    const QString difference = imageDifference(imageOf(picture), imageOf(reference));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // Nothing runs after a failure.
    QVERIFY(runner.isIdle());
    runner.enqueue(Button::CmdGs);
    runner.enqueue(Button::CmdCls);
    runner.runToEnd();
    QCOMPARE(surface.operations(), earlierOperations + failing);
    QCOMPARE(failed.count(), 1);
}

void TestRobustFaults::errorDialogHoldsTheEnd()
{
    // With error dialogs on, as the program runs for a user, a command that
    // fails shows its error in a message box, and the program ends only
    // once it is closed; meanwhile the window takes no command, and those
    // queued are dropped.
    Form1 form(1.0);
    form.setErrorDialogs(true);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy ended(&form, &Form1::ended);
    form.RunCommand(Button::Cmdls);
    form.RunCommand(Button::CmdGs);

    RasterSurface picture(kDesignSize, 1.0);
    ForwardingSurface failing(picture, [](long long operation) {
        return operation == 100 ? Status::failure(FaultKind::DeviceRefused, "PlotPoint") : Status();
    });
    RunnerDriver runner(failing);
    connect(&runner, &RunnerDriver::failed, &form, &Form1::reportRuntimeError);

    QString shown;
    int endedWhileShown = -1;
    bool drawingWhileShown = true;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, &form, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        closer.stop();
        shown = box->text();
        endedWhileShown = static_cast<int>(ended.count());
        form.RunCommand(Button::CmdDq);
        drawingWhileShown = form.isDrawing();
        box->accept();
    });
    closer.start();

    QTest::ignoreMessage(QtCriticalMsg, "sweepdraw: run-time error: PlotPoint: the device refused it");
    runner.enqueue(Button::Cmdyg);
    runner.runToEnd();

    QCOMPARE(shown, QString("The drawing stopped with an error:\nPlotPoint: the device refused it"));
    QCOMPARE(endedWhileShown, 0);
    QVERIFY(!drawingWhileShown);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).value<Form1::Ending>(), Form1::Ending::Failed);
}

QTEST_MAIN(TestRobustFaults)
#include "tst_robust_faults.moc"
