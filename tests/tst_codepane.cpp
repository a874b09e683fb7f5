// The code pane beside the picture: what it shows while the commands draw,
// and stepping through a routine.
#include "CompiledRoutine.h"
#include "RunnerDriver.h"
#include "RoutineEditor.h"
#include "CodePane.h"
#include "CoreInQt.h"
#include "PictureHistory.h"
#include "PictureImage.h"
#include "RoutineTesting.h"
#include "CommandCode.h"
#include "RoutineFiles.h"
#include "Scenes.h"
#include "TestImages.h"
#include "WindowImage.h"
#include "WindowTesting.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTextBlock>

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::forgetTheLearnersRoutines;
using sweepdraw::test::ManualClock;
using sweepdraw::test::operationsOf;
using sweepdraw::test::pictureOf;
using sweepdraw::test::runAtOnce;
using sweepdraw::test::startAsTheProgramDoes;
using sweepdraw::test::zoomOf;

class TestCodePane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { startAsTheProgramDoes(); }
    void init() { forgetTheLearnersRoutines(); }
    void followEveryStep_data();
    void followEveryStep();
    void codePaneBesideThePicture();
    void runToTheCaretStopsAt_data();
    void runToTheCaretStopsAt();
    void loopsRecordWhereTheDrawingIs_data();
    void loopsRecordWhereTheDrawingIs();
    void paneFollowsTheCommandThatDraws();
};

// A routine for Run to the caret, each line it has a word about marked at
// its end, so that the rows name lines by their marks.
const QByteArray kStops = "    check(surface.SetPenWidth(2)); // pen\n"
                          "    Sweep(1, 2, 1, [&](double i) { // outer\n"
                          "        check(surface.PlotPoint(i, i, PaletteColor(1))); // outer body\n"
                          "        Sweep(1, 2, 1, [&](double j) { // inner\n"
                          "            check(surface.PlotPoint(j, j, PaletteColor(2))); // inner body\n"
                          "        });\n"
                          "    });\n"
                          "    check(surface.PlotPoint(0, 0, PaletteColor(3))); // dot\n"
                          "    // between\n"
                          "    Sweep(1, 2, 1, [&](double k) { // last loop\n"
                          "        check(surface.PlotPoint(k, 0, PaletteColor(4)));\n"
                          "    }); // after\n";

// The line, counted from 1, of the routine made of `body` marked `mark`.
int markedLine(const QByteArray &body, const QString &mark)
{
    const QStringList lines = QString::fromUtf8(test::kRoutineHead + body).split(u'\n');
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].endsWith(QStringLiteral("// ") + mark))
            return i + 1;
    qFatal("no line marked %s", qPrintable(mark));
}

void TestCodePane::runToTheCaretStopsAt_data()
{
    QTest::addColumn<QString>("caret");    // the mark of the caret's line
    QTest::addColumn<QString>("loop");     // the mark of the loop it stops in, if any
    QTest::addColumn<int>("callOutside");  // else the call outside every loop it stops at, or -1

    QTest::newRow("a call outside the loops") << "pen" << QString() << 0;
    QTest::newRow("a loop's call") << "outer" << "outer" << -1;
    QTest::newRow("a loop's body") << "outer body" << "outer" << -1;
    QTest::newRow("the innermost loop round the caret") << "inner body" << "inner" << -1;
    QTest::newRow("the next call after the loops") << "dot" << QString() << 1;
    QTest::newRow("a line of nothing before a loop") << "between" << "last loop" << -1;
    QTest::newRow("the closing line of a loop") << "after" << "last loop" << -1;
    QTest::newRow("past everything: the end") << "end" << QString() << -1;
}

void TestCodePane::runToTheCaretStopsAt()
{
    QFETCH(QString, caret);
    QFETCH(QString, loop);
    QFETCH(int, callOutside);

    const CompiledRoutine compiled = test::routineOf(kStops);
    const CommandCode routine(compiled, 0);
    // The end is the line after the last marked.
    const int line = caret == "end" ? markedLine(kStops, "after") + 1 : markedLine(kStops, caret);
    const RunToStop stop = routine.stopAt(line);
    QCOMPARE(stop.loopLine, loop.isEmpty() ? 0 : markedLine(kStops, loop));
    QCOMPARE(stop.callOutsideLoops, callOutside);
}

void TestCodePane::followEveryStep_data()
{
    QTest::addColumn<QList<Button>>("before"); // drawn at once first
    QTest::addColumn<Button>("button");
    QTest::addColumn<int>("ms");    // at the slow speed, 70 operations a millisecond
    QTest::addColumn<int>("steps"); // F10 presses after those
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<int>("caretLine");
    QTest::addColumn<QPoint>("click");     // with Ctrl held, on this pixel at zoom 1, instead of a key
    QTest::addColumn<long long>("landed"); // after the key
    QTest::addColumn<QString>("told");     // among what screen readers are told

    // The sunshine's sun takes five operations, and each of its six passes
    // 187,110, 33 rays to a ring; its loops are on lines 19, 20 and 22. The
    // bridge's large arch, of 9,999 points, runs on line 15, its second pen
    // is set on line 20, and its passes run on lines 21 to 23.
    const QKeySequence back(Qt::SHIFT | Qt::Key_F10);
    const QKeySequence toCaret(Qt::CTRL | Qt::Key_F10);
    QTest::newRow("a step back in the last pass")
        << QList<Button>() << Button::Cmdyg << 13'400 << 0 << back << 0 << QPoint() << 937'999LL << "pass 6 of 6";
    QTest::newRow("a step back after the drawing: its last operation again")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << back << 0 << QPoint() << 1'122'664LL
        << "paused · pass 6 of 6 · 1122664 of";
    QTest::newRow("a step back to before the first point")
        << QList<Button>() << Button::CmdGs << 0 << 4 << back << 0 << QPoint() << 3LL << "paused · 3 of";
    QTest::newRow("to the caret on a colour pass: the next pass")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << toCaret << 19 << QPoint() << 187'116LL << "pass 2 of 6";
    QTest::newRow("to the caret on a ring: the next radius")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << toCaret << 20 << QPoint() << 39LL
        << "colour = 9, r = 666.2, a = 0,";
    QTest::newRow("to the caret in a ray's body: the next ray")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << toCaret << 24 << QPoint() << 7LL
        << "colour = 9, r = 666, a = 0.19635,";
    QTest::newRow("to the caret on a loop not yet running: its first value")
        << QList<Button>() << Button::CmdDq << 0 << 1 << toCaret << 22 << QPoint() << 10'002LL
        << "colour = 9, k = 6350, t = 3.14,";
    QTest::newRow("to the caret on a call still to come: that call")
        << QList<Button>() << Button::CmdDq << 0 << 1 << toCaret << 20 << QPoint() << 10'001LL << "paused · 10001 of";
    QTest::newRow("to the caret on a line that does not run again: the end")
        << QList<Button>() << Button::CmdDq << 0 << 1 << toCaret << 14 << QPoint() << 0LL << "Finished 大桥";
    // The last pass paints the rays' pixels last, and each ring's last ray
    // over its first: pixel 600 is last painted at r = 1007.4, the 1,708th
    // ring of pass 6. The sun's middle is its disc, drawn before the passes.
    // A 3-pixel dot on x = 38 last paints the mountains' (37, 185), in the
    // 225th point of their last pass.
    const QKeySequence none;
    QTest::newRow("what drew a ray's pixel")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(600, 133) << 0LL
        << "Pixel (600, 133) was drawn by Sunshine.cpp line 25 · 阳光 · pass 6 of 6 · operation 991919 of "
           "1122665, colour = 14, r = 1007.4, a = 6.28319, last point (9007, 2000)";
    QTest::newRow("what drew the sun's middle")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(533, 133) << 0LL
        << "Pixel (533, 133) was drawn by Sunshine.cpp line 17 · 阳光 · operation 4 of 1122665";
    QTest::newRow("what drew the first point, paused")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << none << 0 << QPoint(578, 133) << 6LL
        << "line 25 · 阳光 · pass 1 of 6 · operation 6 of 1122665, colour = 9, r = 666, a = 0,";
    QTest::newRow("what drew a pixel of a picture drawn before")
        << QList<Button>{Button::CmdGs, Button::CmdDq} << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(37, 185)
        << 0LL << "Mountains.cpp line 22 · 高山 · pass 4 of 4 · operation 150228 of 200003, colour = 11, "
                  "x = 577.4,";
    QTest::newRow("where nothing was drawn")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(100, 50) << 0LL
        << "Nothing was drawn at pixel (100, 50)";
}

void TestCodePane::followEveryStep()
{
    QFETCH(QList<Button>, before);
    QFETCH(Button, button);
    QFETCH(int, ms);
    QFETCH(int, steps);
    QFETCH(QKeySequence, key);
    QFETCH(int, caretLine);
    QFETCH(QPoint, click);
    QFETCH(long long, landed);
    QFETCH(QString, told);

    Form1 form(1.0);
    ManualClock clock(form);
    form.setSpeed(Speed::Slow);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *pane = form.findChild<QWidget *>(QStringLiteral("CodePane"));
    if (click.isNull())
        QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    auto *progress = form.findChild<QLabel *>(QStringLiteral("progress"));
    auto *runner = form.findChild<RunnerDriver *>(QStringLiteral("runner"));
    for (Button picture : before)
        form.RunCommand(picture);
    form.finishDrawing();
    form.RunCommand(button);
    clock.advance(std::chrono::milliseconds(ms));
    form.advanceDrawing();
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(&form, Qt::Key_F10);
    QCOMPARE(runner->progress().landed, runner->isIdle() ? 0 : ms * 70LL + steps);
    if (click.isNull()) {
        code->setTextCursor(QTextCursor(code->document()->findBlockByNumber(caretLine - 1)));
        QTest::keySequence(&form, key);
    } else {
        QTest::mouseClick(&form, Qt::LeftButton, Qt::ControlModifier, click);
        QVERIFY(QTest::qWaitFor([&] { return pane->isVisible(); }));
    }

    QCOMPARE(runner->progress().landed, landed);
    QCOMPARE(runner->isPaused(), !runner->isIdle() || !key.isEmpty());
    QVERIFY2(QTest::qWaitFor([&] { return progress->accessibleDescription().contains(told); }),
             qPrintable(progress->accessibleDescription()));

    // The ring shows the last point on the screen, and in no copy of the
    // picture.
    const LoopState at = runner->loops();
    auto *marker = form.findChild<QWidget *>(QStringLiteral("StepMarker"));
    QCOMPARE(marker->isVisible(), runner->progress().current && at.hasPoint());
    const DrawingProgress now = runner->progress();
    RasterSurface drawnAgain(kDesignSize, zoomOf(form));
    QVERIFY(!PictureHistory::drawPictures(drawnAgain, runner->pictures(), now.current, now.landed));
    QCOMPARE(imageOf(pictureOf(form)), imageOf(drawnAgain));
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->image(), renderWindow(runner->pictures(), now));

    // Back once more and on again: the same picture, at the same values.
    const QImage picture = imageOf(pictureOf(form)).copy();
    QTest::keySequence(&form, QKeySequence(Qt::SHIFT | Qt::Key_F10));
    QTest::keyClick(&form, Qt::Key_F10);
    if (runner->progress().current == button) {
        QCOMPARE(runner->progress().landed, landed);
        QCOMPARE(imageOf(pictureOf(form)), picture);
        for (int i = 0; i < at.depth(); ++i)
            QCOMPARE(runner->loops().loop(i).value, at.loop(i).value);
        QCOMPARE(runner->loops().lastPoint().x, at.lastPoint().x);
    }
}

void TestCodePane::codePaneBesideThePicture()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *pane = form.findChild<QWidget *>(QStringLiteral("CodePane"));
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    QVERIFY(pane && code && !pane->isVisible());

    // The screen, 1280 pixels wide, has room for part of the pane: the
    // window grows as far as it can with its frame, and the picture zooms
    // down beside the pane.
    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return pane->isVisible(); }));
    QCOMPARE(form.frameGeometry().width(), form.screen()->availableGeometry().width());
    QCOMPARE(pane->geometry().right(), form.width() - 1);
    const QRect picture = form.findChild<SurfaceView *>(QStringLiteral("Surface"))->geometry();
    QVERIFY2(picture.right() < pane->x(), "the pane covers the picture");
    QVERIFY(zoomOf(form) < 1.0);

    // Every line of every scene can be read whole at the pane's width, none
    // running on under the values beside it.
    for (const Command &command : kCommands) {
        if (!command.draws())
            continue;
        runAtOnce(form, {command.button});
        QCoreApplication::processEvents();
        QVERIFY(code->toPlainText().contains(QStringLiteral("PlotPoint(")));
        QCOMPARE(code->horizontalScrollBar()->maximum(), 0);
        for (QTextBlock block = code->document()->begin(); block.isValid(); block = block.next())
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                QVERIFY2(block.layout()->lineAt(i).naturalTextRect().right() <= code->viewport()->width(),
                         qPrintable(QString("%1: %2").arg(command.name, block.text())));
    }

    // Ctrl+C copies the code selected, whatever else the window does with
    // the key.
    QAction windowCopy;
    windowCopy.setShortcut(QKeySequence::Copy);
    form.addAction(&windowCopy);
    QSignalSpy windowCopied(&windowCopy, &QAction::triggered);
    code->setFocus();
    code->selectAll();
    QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), code->toPlainText());
    QCOMPARE(windowCopied.count(), 0);

    const qreal size = code->font().pointSizeF();
    QTest::keyClick(&form, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(code->font().pointSizeF(), size + 1);
    QTest::keyClick(&form, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(code->font().pointSizeF(), size);

    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return form.size() == toQSize(kDesignSize) && !pane->isVisible(); }));
    QCOMPARE(zoomOf(form), 1.0);
}

void TestCodePane::loopsRecordWhereTheDrawingIs_data()
{
    QTest::addColumn<Button>("button");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QStringList>("counters");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("pass");
    QTest::addColumn<QString>("file"); // run from this scene file as a routine, if given

    // At the slow speed a millisecond lands 70 operations, and the loops
    // are as they were at the 70th, which plotted the last point. The
    // counters are named as in the scenes.
    QTest::newRow("mountains: the ridge's 67th point")
        << Button::CmdGs << 1 << QStringList{"colour", "x"} << QList<double>{14, 561.6} << 1 << QString();
    QTest::newRow("water: the top stroke's 69th point")
        << Button::Cmdls << 1 << QStringList{"colour", "i", "x"} << QList<double>{14, 4, 5156.8} << 1 << QString();
    QTest::newRow("sunshine: the second ring's next to last ray")
        << Button::Cmdyg << 1 << QStringList{"colour", "r", "a"} << QList<double>{9, 666.2, 6.0868422500000009} << 1
        << QString();
    QTest::newRow("sunshine from its file: the second ring's next to last ray")
        << Button::Cmdyg << 1 << QStringList{"colour", "r", "a"} << QList<double>{9, 666.2, 6.0868422500000009} << 1
        << "Sunshine.cpp";
    QTest::newRow("bridge: the large arch, before the passes")
        << Button::CmdDq << 1 << QStringList{"t"} << QList<double>{3.1186458645864586} << 0 << QString();
    QTest::newRow("bridge: the first small arch")
        << Button::CmdDq << 200 << QStringList{"colour", "k", "t"} << QList<double>{9, 6350, 1.8845024502450244}
        << 1 << QString();
}

void TestCodePane::loopsRecordWhereTheDrawingIs()
{
    QFETCH(Button, button);
    QFETCH(int, ms);
    QFETCH(QStringList, counters);
    QFETCH(QList<double>, values);
    QFETCH(int, pass);
    QFETCH(QString, file);

    std::optional<Runnable> command = button;
    if (!file.isEmpty()) {
        const auto compiled = CompiledRoutine::compileFile(SWEEPDRAW_SCENES_DIR "/" + file.toStdString());
        QVERIFY(std::holds_alternative<CompiledRoutine>(compiled));
        command = Runnable(std::get<CompiledRoutine>(compiled));
    }
    RecordingSurface picture;
    RunnerDriver runner(picture);
    ManualClock clock(runner);
    runner.setSpeed(Speed::Slow);
    runner.enqueue(*command);
    clock.advance(std::chrono::milliseconds(ms));
    runner.advance();
    QCOMPARE(runner.progress().landed, ms * 70LL);

    // A routine's operations are not known before it has been drawn whole.
    QCOMPARE(command->operations(), command->routine() ? -1 : operationsOf(button));
    const CommandCode routine = command->routine() ? CommandCode(*command->routine(), command->operations())
                                               : CommandCode(commandOf(button));
    const LoopState &loops = runner.loops();
    QCOMPARE(loops.depth(), int(counters.size()));
    for (int i = 0; i < loops.depth(); ++i) {
        const RoutineLoop *written = routine.loopAt(static_cast<int>(loops.loop(i).where.line()));
        QVERIFY2(written, qPrintable(QString("loop %1 is on no loop's line").arg(i)));
        QCOMPARE(QString::fromStdString(written->counter), counters[i]);
        QVERIFY2(std::abs(loops.loop(i).value - values[i]) <= 1e-9 * std::max(1.0, std::abs(values[i])),
                 qPrintable(QString("%1 = %2").arg(counters[i]).arg(loops.loop(i).value, 0, 'g', 17)));
    }
    QCOMPARE(loops.loop(0).pass, pass);
    // The point is the one those values plotted.
    const RecordingSurface::Call &last = picture.calls().back();
    QVERIFY(loops.hasPoint());
    QCOMPARE(loops.lastPoint().x, last.x);
    QCOMPARE(loops.lastPoint().y, last.y);
    // Stopped in the middle, the action leaves no loop behind.
    runner.stop();
    QCOMPARE(loops.depth(), 0);
}

QTEST_MAIN(TestCodePane)
void TestCodePane::paneFollowsTheCommandThatDraws()
{
    Form1 form(1.0);
    ManualClock clock(form);
    form.setSpeed(Speed::Slow);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    auto *pane = form.findChild<CodePane *>();
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    auto *header = form.findChild<QLabel *>(QStringLiteral("header"));
    auto *list = form.findChild<QComboBox *>(QStringLiteral("routines"));
    pane->editor().newRoutine();
    QTest::keyClicks(code, QStringLiteral("// mine"));
    const QString mine = code->toPlainText();

    // A scene drawn, paused and stepped shows its own routine, read-only,
    // marked in the list; F10 and the caret work on it.
    form.RunCommand(Button::Cmdyg);
    clock.advance(1ms);
    form.advanceDrawing();
    QTest::keyClick(&form, Qt::Key_F10);
    QVERIFY(code->isReadOnly());
    QVERIFY2(header->text().startsWith(QStringLiteral("Sunshine.cpp")), qPrintable(header->text()));
    QCOMPARE(list->currentText(), QString("阳光 · scene"));
    code->setTextCursor(QTextCursor(code->document()->findBlockByNumber(21)));
    QTest::keyClick(&form, Qt::Key_F10, Qt::ControlModifier);
    auto *runner = form.findChild<RunnerDriver *>(QStringLiteral("runner"));
    QCOMPARE(runner->loops().depth(), 3);

    // The learner's routine is one choice away, as it was left.
    emit list->activated(list->findText(QStringLiteral("My routine · yours")));
    QVERIFY(!code->isReadOnly());
    QCOMPARE(code->toPlainText(), mine);
    QVERIFY(code->document()->isUndoAvailable());

    // Nothing opens it again in the next window.
    Form1 next(1.0);
    QVERIFY(!next.findChild<CodePane *>()->editor().isOpen());
}

#include "tst_codepane.moc"
