#include "RunnerDriver.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "RoutineTesting.h"
#include "RunnerTesting.h"
#include "RuntimeError.h"
#include "TestImages.h"
#include "WhatDrew.h"

#include <QSignalSpy>

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::isBlank;
using sweepdraw::test::ManualClock;
using sweepdraw::test::operationsOf;

// The runner with no window: the queue, the pace, stepping, step back, the
// picture drawn again and changed. How a command is drawn a piece at a
// time is tst_drawing's.
class TestRunner : public QObject
{
    Q_OBJECT

private slots:
    void pacingFollowsTheClock_data();
    void pacingFollowsTheClock();
    void commandsLandWholeAndInOrder();
    void framesKeepToTheirBudget_data();
    void framesKeepToTheirBudget();
    void pacedFramesLandWhatIsDueAndSleep();
    void pauseAndStep();
    void drawnAgainAsDrawn_data();
    void drawnAgainAsDrawn();
    void stepBackOverCommands_data();
    void stepBackOverCommands();
    void loopsDrawingNothingKeepToTheFrame_data();
    void loopsDrawingNothingKeepToTheFrame();
    void changeIsDrawnApart();
};

void TestRunner::pacingFollowsTheClock_data()
{
    QTest::addColumn<Speed>("speed");
    QTest::addColumn<QList<int>>("frames"); // milliseconds from one frame to the next
    QTest::addColumn<long long>("part"); // of the sunshine, as left by a stop; -1 for all of it
    QTest::addColumn<long long>("landed");

    const QList<int> tenFrames(10, 16);
    QTest::newRow("slow") << Speed::Slow << tenFrames << -1LL << 11'200LL;
    QTest::newRow("normal") << Speed::Normal << tenFrames << -1LL << 44'800LL;
    QTest::newRow("fast") << Speed::Fast << tenFrames << -1LL << 179'200LL;
    QTest::newRow("one late frame lands all that is due") << Speed::Normal << QList<int>{250} << -1LL << 70'000LL;
    QTest::newRow("uneven frames") << Speed::Normal << QList<int>{5, 40, 1, 100} << -1LL << 40'880LL;
    QTest::newRow("a frame with no time gone lands nothing") << Speed::Normal << QList<int>{0} << -1LL << 0LL;
    // The sunshine is 1,122,665 operations: 4.0095 seconds at the normal
    // speed, 16.04 slow, 1.0024 fast.
    QTest::newRow("normal, a hair short of the end") << Speed::Normal << QList<int>{4009} << -1LL << 1'122'520LL;
    QTest::newRow("normal, to the end") << Speed::Normal << QList<int>{4010} << -1LL << 1'122'665LL;
    QTest::newRow("slow, to the end") << Speed::Slow << QList<int>{16039, 16} << -1LL << 1'122'665LL;
    QTest::newRow("fast, to the end") << Speed::Fast << QList<int>{1003} << -1LL << 1'122'665LL;
    QTest::newRow("a part, at the pace") << Speed::Slow << tenFrames << 50'000LL << 11'200LL;
    QTest::newRow("a part, to where it was stopped") << Speed::Normal << QList<int>{250} << 50'000LL << 50'000LL;
    QTest::newRow("instant: everything in one frame") << Speed::Instant << QList<int>{0} << -1LL << 1'122'665LL;
}

void TestRunner::pacingFollowsTheClock()
{
    QFETCH(Speed, speed);
    QFETCH(QList<int>, frames);
    QFETCH(long long, part);
    QFETCH(long long, landed);

    RecordingSurface picture;
    RunnerDriver runner(picture);
    ManualClock clock(runner);
    runner.setSpeed(speed);
    runner.enqueue(part < 0 ? Runnable(Button::Cmdyg) : Runnable(Button::Cmdyg).partOf(part));
    for (int ms : frames) {
        clock.advance(std::chrono::milliseconds(ms));
        runner.advance();
    }
    QCOMPARE(static_cast<long long>(picture.calls().size()), landed);
    QCOMPARE(runner.progress().landed, runner.isIdle() ? 0 : landed);
    QCOMPARE(runner.isIdle(), landed == (part < 0 ? operationsOf(Button::Cmdyg) : part));
}

void TestRunner::commandsLandWholeAndInOrder()
{
    // Clicks made while the mountains are being drawn wait for them, and
    // every operation lands once, in order.
    RecordingSurface picture;
    RunnerDriver runner(picture);
    ManualClock clock(runner);
    QSignalSpy finished(&runner, &RunnerDriver::commandFinished);
    runner.enqueue(Button::CmdGs);
    clock.advance(350ms);
    runner.advance();
    QCOMPARE(picture.calls().size(), std::size_t(98'000));
    for (Button button : {Button::CmdCls, Button::Cmdls, Button::CmdGs})
        runner.enqueue(button);
    for (int frame = 0; frame < 1000 && !runner.isIdle(); ++frame) {
        clock.advance(16ms);
        runner.advance();
    }
    QVERIFY(runner.isIdle());

    std::vector<RecordingSurface::Call> expected;
    for (Button button : {Button::CmdGs, Button::CmdCls, Button::Cmdls, Button::CmdGs}) {
        RecordingSurface alone;
        commandOf(button).action(alone);
        expected.insert(expected.end(), alone.calls().begin(), alone.calls().end());
    }
    QVERIFY(picture.calls() == expected);
    QList<Button> order;
    for (const QList<QVariant> &signal : finished)
        order << *static_cast<const Runnable *>(signal.at(0).constData())->button();
    QCOMPARE(order, (QList<Button>{Button::CmdGs, Button::CmdCls, Button::Cmdls, Button::CmdGs}));
}

void TestRunner::framesKeepToTheirBudget_data()
{
    QTest::addColumn<Speed>("speed");
    // Milliseconds a frame may draw while paced and at once, 0 for the
    // whole frame: each row binds only one, the other is looser.
    QTest::addColumn<int>("paced");
    QTest::addColumn<int>("atOnce");
    QTest::addColumn<int>("late");   // milliseconds the first frame comes after the enqueue
    QTest::addColumn<int>("atLeast"); // frames the sunshine takes

    // At 100 us a look, a 16 ms frame lets about 160,000 operations through:
    // the sunshine, of 1.1 million, takes several frames.
    QTest::newRow("at once, a whole frame") << Speed::Instant << 0 << 0 << 0 << 5;
    QTest::newRow("at once, 4 ms") << Speed::Instant << 12 << 4 << 0 << 20;
    // 70,000 operations are due after 250 ms at the normal speed: a frame
    // of 4 ms lands about 32,000 of them, and the next two the rest.
    QTest::newRow("paced, behind, 4 ms") << Speed::Normal << 4 << 12 << 250 << 3;
    // The same 70,000 land in one frame of 12 ms, and are drawn again at once
    // in frames of 4.
    QTest::newRow("paced, drawn again at once in 4 ms") << Speed::Normal << 12 << 4 << 250 << 1;
}

void TestRunner::framesKeepToTheirBudget()
{
    QFETCH(Speed, speed);
    QFETCH(int, paced);
    QFETCH(int, atOnce);
    QFETCH(int, late);
    QFETCH(int, atLeast);

    // A clock that moves 100 us each time it is read: the runner reads it
    // once every 1,024 operations.
    RasterSurface picture(kDesignSize, 1.0);
    RasterSurface again(kDesignSize, 1.0);
    RunnerDriver runner(picture);
    std::chrono::nanoseconds now{0};
    runner.setClock([&] { return now += 100us; });
    const auto budget = [](int ms) { return ms ? std::chrono::nanoseconds(std::chrono::milliseconds(ms)) : CommandRunner::kFrame; };
    runner.setFrameBudget({budget(paced), budget(atOnce)});
    const std::chrono::nanoseconds allowed = budget(speed == Speed::Instant ? atOnce : paced);
    runner.setSpeed(speed);
    // Frames for `button`'s command, each landing something; paced,
    // `atLeast` at most. The longest is kept.
    std::chrono::nanoseconds longest{0};
    const auto framesFor = [&](Button button) {
        runner.enqueue(button);
        now += std::chrono::milliseconds(late);
        int frames = 0;
        long long landed = 0;
        while (!runner.isIdle() && frames < 1000 && (speed == Speed::Instant || frames < atLeast)) {
            const std::chrono::nanoseconds begun = now;
            runner.advance();
            longest = std::max(longest, now - begun);
            if (runner.progress().landed <= landed && !runner.isIdle())
                return -1;
            landed = runner.progress().landed;
            ++frames;
        }
        return frames;
    };
    QVERIFY(framesFor(Button::Cmdyg) >= atLeast);
    // The last look may find the deadline just passed.
    QVERIFY(longest <= allowed + 200us);
    if (speed != Speed::Instant) {
        // What fell due late is landed by the frames that follow.
        QVERIFY(runner.progress().landed >= 70'000);
        // The picture drawn again, as after a zoom, is owed at once at any
        // speed: its frames keep to the budget for drawing at once.
        longest = {};
        for (int frames = 0; frames == 0 || (runner.isRedrawing() && frames < 1000); ++frames) {
            const std::chrono::nanoseconds begun = now;
            frames == 0 ? runner.redrawOn(again) : runner.advance();
            longest = std::max(longest, now - begun);
        }
        QVERIFY(!runner.isRedrawing());
        QVERIFY(longest <= budget(atOnce) + 200us);
        return;
    }
    QCOMPARE(framesFor(Button::CmdCls), 1);
    QVERIFY(isBlank(imageOf(picture)));
}

void TestRunner::pacedFramesLandWhatIsDueAndSleep()
{
    // A clock on which every look takes a microsecond, as on a machine where
    // the drawing takes time. A frame lands what is due when it wakes and
    // returns at once; one that went on landing what fell due meanwhile
    // would keep the thread busy for its whole 16 ms, and the drawing would
    // need half as many wake-ups.
    RecordingSurface picture;
    RunnerDriver runner(picture);
    std::chrono::nanoseconds now{0};
    runner.setClock([&] { return now += 1us; });
    runner.setSpeed(Speed::Fast);
    runner.enqueue(Button::Cmdyg);
    int wakeUps = 0;
    std::chrono::nanoseconds longest{0};
    while (!runner.isIdle() && wakeUps < 1000) {
        now += 16ms;
        const std::chrono::nanoseconds woke = now;
        runner.advance();
        longest = std::max(longest, now - woke);
        ++wakeUps;
    }
    // The sunshine takes 1.0024 s at the fast speed: 63 frames of 16 ms.
    QCOMPARE(wakeUps, 63);
    QVERIFY2(longest < 1ms, qPrintable(QString::number(longest.count())));
}

void TestRunner::pauseAndStep()
{
    RecordingSurface picture;
    RunnerDriver runner(picture);
    ManualClock clock(runner);
    runner.enqueue(Button::CmdGs);
    clock.advance(100ms);
    runner.advance();
    QCOMPARE(picture.calls().size(), std::size_t(28'000));

    // Paused, time passes and nothing lands but the steps.
    runner.setPaused(true);
    clock.advance(1s);
    runner.advance();
    runner.step();
    runner.step();
    QCOMPARE(picture.calls().size(), std::size_t(28'002));
    const DrawingProgress progress = runner.progress();
    QCOMPARE(progress.current, std::optional<Runnable>(Button::CmdGs));
    QCOMPARE(progress.landed, 28'002LL);

    // It goes on at the speed from where it was, with no jump for the time
    // it stood still.
    runner.setPaused(false);
    clock.advance(16ms);
    runner.advance();
    QCOMPARE(picture.calls().size(), std::size_t(28'002 + 4'480));
    RecordingSurface alone;
    DrawMountains(alone);
    QVERIFY(std::equal(picture.calls().begin(), picture.calls().end(), alone.calls().begin()));

    // Paused again, finishing what is queued still lands all of it.
    runner.setPaused(true);
    runner.enqueue(Button::CmdDq);
    QCOMPARE(runner.progress().queued, 1);
    runner.finishQueued();
    runner.advance();
    QVERIFY(runner.isIdle());
    QCOMPARE(runner.pictures(), (std::vector<Runnable>{Button::CmdGs, Button::CmdDq}));
}

namespace {

// Two dots far apart, each of a single operation, and the pen it finds.
Runnable twoDots()
{
    static const Runnable dots(test::routineOf("    check(surface.PlotPoint(500, 500, PaletteColor(12)));\n"
                                               "    check(surface.PlotPoint(1500, 500, PaletteColor(12)));\n"));
    return dots;
}

Runnable named(const QString &name)
{
    return name == "dots" ? twoDots() : Runnable(*commandByName(name.toStdString()));
}

} // namespace

void TestRunner::drawnAgainAsDrawn_data()
{
    QTest::addColumn<QStringList>("commands"); // a button's name, or "dots"

    // The dots draw with the pen they find: after the bridge, 2 pixels wide.
    QTest::newRow("drawn again after its pen's maker") << QStringList{"bridge", "dots", "mountains", "bridge"};
    QTest::newRow("after a clear") << QStringList{"bridge", "clear", "dots"};
    // The sunshine leaves a pen of 1: the wider dots stay under the others.
    QTest::newRow("drawn on two pens, the wider first") << QStringList{"bridge", "dots", "sunshine", "dots"};
}

void TestRunner::drawnAgainAsDrawn()
{
    QFETCH(QStringList, commands);

    RasterSurface picture(kDesignSize, 1.0);
    RunnerDriver runner(picture);
    // Standing still, so that no frame's time is up.
    ManualClock clock(runner);
    for (const QString &name : commands)
        runner.enqueue(named(name));
    runner.runToEnd();

    RasterSurface again(kDesignSize, 1.0);
    runner.redrawOn(again);
    QCOMPARE(imageOf(again), imageOf(picture));
    // A pixel of the first dot that only a pen of 2 paints.
    const std::optional<DrawnBy> drawn = whatDrew(runner.pictures(), std::nullopt, 0, 1.0, 32, 32);
    QVERIFY(drawn);
    QCOMPARE(drawn->command, twoDots());
}

void TestRunner::stepBackOverCommands_data()
{
    QTest::addColumn<QStringList>("commands"); // drawn to the end, then one step back
    QTest::addColumn<QStringList>("before");   // what stepping forward draws before
    QTest::addColumn<QString>("current");      // and of this command,
    QTest::addColumn<long long>("landed");     // this much

    // The dots drawn first, on the same pen, stay beside the water, as
    // stepping forward leaves them.
    QTest::newRow("into a command drawn before")
        << QStringList{"bridge", "dots", "water", "dots"} << QStringList{"bridge", "dots", "water"} << "dots" << 1LL;
    QTest::newRow("over a clear") << QStringList{"dots", "clear"} << QStringList{"dots"} << "clear" << 0LL;
}

void TestRunner::stepBackOverCommands()
{
    QFETCH(QStringList, commands);
    QFETCH(QStringList, before);
    QFETCH(QString, current);
    QFETCH(long long, landed);

    RasterSurface picture(kDesignSize, 1.0);
    RunnerDriver runner(picture);
    ManualClock clock(runner);
    for (const QString &name : commands)
        runner.enqueue(named(name));
    runner.runToEnd();
    runner.setPaused(true);
    runner.stepBack();

    QCOMPARE(runner.progress().current, std::optional(named(current)));
    QCOMPARE(runner.progress().landed, landed);
    std::vector<Runnable> drawnBefore;
    for (const QString &name : before)
        drawnBefore.push_back(named(name));
    RasterSurface forward(kDesignSize, 1.0);
    QVERIFY(!PictureHistory::drawPictures(forward, drawnBefore, named(current), landed));
    QCOMPARE(imageOf(picture), imageOf(forward));
    runner.step();
    QVERIFY(runner.isIdle());
}

QTEST_MAIN(TestRunner)
namespace {

// Ten thousand million values, drawing nothing.
const QByteArray kEmptySweep = "check(surface.SetPenWidth(2));\n"
                               "Sweep(0, 10000000000.0, 1, [&](double a) {\n"
                               "});\n";

// A loop of the routine's own that never ends.
const QByteArray kEndlessWhile = "check(surface.SetPenWidth(2));\n"
                                 "double x = 0;\n"
                                 "while (x >= 0)\n"
                                 "    x += 1;\n";

} // namespace

void TestRunner::loopsDrawingNothingKeepToTheFrame_data()
{
    // How the routine is asked for: queued at the instant speed, as a
    // change, or, once its pen has landed and the drawing is paused, with
    // F10, Ctrl+F10, or after it was dropped there, drawn again at another
    // size or stepped back over a command finished after it.
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("source");
    for (const char *how :
         {"queued", "a change", "stepped", "run to its end", "run to a call", "drawn again", "stepped back"})
        QTest::newRow(how) << QString::fromLatin1(how) << kEmptySweep;
    QTest::newRow("a while loop that never ends") << QStringLiteral("queued") << kEndlessWhile;
}

void TestRunner::loopsDrawingNothingKeepToTheFrame()
{
    QFETCH(QString, how);
    QFETCH(QByteArray, source);
    // A clock that moves 1 ms each time it is read: a frame of 16 ms is up
    // after a few thousand turns of the loop, whatever it draws.
    RecordingSurface picture;
    RecordingSurface changed;
    RecordingSurface again;
    RunnerDriver runner(picture);
    std::chrono::nanoseconds now{0};
    runner.setClock([&] { return now += 1ms; });
    runner.setSpeed(Speed::Instant);
    const Runnable routine(test::routineOf(source));
    QSignalSpy dropped(&runner, &RunnerDriver::changeDropped);
    const bool asChange = how == "a change";
    if (asChange) {
        runner.showChange(routine, [](const Runnable &) { return false; }, changed);
    } else {
        runner.enqueue(routine);
        if (how != "queued") {
            runner.setPaused(true);
            runner.step();
            QCOMPARE(runner.progress().landed, 1LL);
        }
    }
    // What it is asked for returns within a frame, and is still under way.
    const std::chrono::nanoseconds asked = now;
    if (how == "stepped") {
        runner.step();
    } else if (how == "run to its end") {
        runner.runTo({});
    } else if (how == "run to a call") {
        // Where the call lands is found by drawing the routine again.
        runner.runTo({0, 1});
    } else if (how == "drawn again" || how == "stepped back") {
        runner.dropAll();
        if (how == "stepped back") {
            runner.enqueue(Button::CmdCls);
            runner.runToEnd();
            runner.stepBack();
        } else {
            runner.redrawOn(again);
        }
        QVERIFY(runner.isRedrawing());
    }
    QVERIFY(now - asked <= 2 * CommandRunner::kFrame);
    double value = 0;
    for (int frame = 0; frame < 3; ++frame) {
        const std::chrono::nanoseconds begun = now;
        runner.advance();
        QVERIFY(now - begun <= 2 * CommandRunner::kFrame);
        QVERIFY(!runner.isIdle() || runner.isChanging() || runner.isRedrawing());
        if ((how == "queued" || how == "stepped" || how == "run to its end") && source == kEmptySweep) {
            // The sweep is further on at each frame, and the pane sees it.
            QCOMPARE(runner.loops().depth(), 1);
            QVERIFY(runner.loops().loop(0).value > value);
            value = runner.loops().loop(0).value;
        }
    }
    if (how == "drawn again" || how == "stepped back") {
        // What was dropped is drawn again as far as its pen, and no further.
        const std::vector<RecordingSurface::Call> &calls = (how == "drawn again" ? again : picture).calls();
        QCOMPARE(calls.back().op, Operation::SetPenWidth);
        runner.stop();
        return;
    }
    QCOMPARE(asChange ? runner.progress().changing : runner.progress().landed, 1LL);
    QCOMPARE(routine.operations(), -1LL);
    // What a recording made now would go on with.
    QCOMPARE(runner.queued(), asChange ? std::vector<Runnable>() : std::vector<Runnable>{routine});
    runner.dropAll();
    QVERIFY(runner.isIdle() && !runner.isChanging());
    QCOMPARE(dropped.count(), asChange ? 1 : 0);
}

void TestRunner::changeIsDrawnApart()
{
    // The mountains and the sunshine, then a copy of the sunshine with 12
    // rays in its place: drawn apart, a piece a frame, and shown whole.
    RasterSurface picture(kDesignSize, 1.0);
    RasterSurface changed(kDesignSize, 1.0);
    RunnerDriver runner(picture);
    std::chrono::nanoseconds now{0};
    runner.setClock([&] { return now += 100us; });
    runner.setSpeed(Speed::Instant);
    runner.enqueue(Button::CmdGs);
    runner.enqueue(Button::Cmdyg);
    runner.runToEnd();
    const QImage before = imageOf(picture).copy();
    const Runnable copy(test::compiled(CompiledRoutine::compile(
        "MySunshine.cpp", test::sceneWith(QStringLiteral("Sunshine.cpp"), QStringLiteral("/ 32"), QStringLiteral("/ 12"))
                              .toStdString())));
    QSignalSpy shown(&runner, &RunnerDriver::changeShown);
    runner.showChange(copy, [](const Runnable &command) { return command == Runnable(Button::Cmdyg); }, changed);
    int frames = 0;
    for (; runner.isChanging() && frames < 100; ++frames) {
        runner.advance();
        QCOMPARE(imageOf(picture), before);
    }
    QVERIFY(frames > 1);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(runner.pictures(), (std::vector<Runnable>{Button::CmdGs, copy}));
    QVERIFY(copy.operations() > 0);
    RasterSurface expected(kDesignSize, 1.0);
    DrawMountains(expected);
    copy.draw(expected);
    QCOMPARE(imageOf(changed), imageOf(expected));
}

#include "tst_runner.moc"
