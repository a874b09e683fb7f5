#include "DrawInPieces.h"
#include "FiberDrawing.h"
#include "LoopRecorder.h"
#include "Palette.h"
#include "RecordingSurface.h"
#include "RoutineTesting.h"
#include "Runnable.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <memory>

using namespace sweepdraw;
using namespace std::chrono_literals;

// A drawing landed a piece at a time, both ways: a compiled action on its
// fiber, and the same drawing written as a routine, on its interpreter.
// Each table's rows run both, held to one contract.
class TestDrawing : public QObject
{
    Q_OBJECT

private slots:
    void landsWhatItIsLet_data();
    void landsWhatItIsLet();
    void waitsAtTheDeadline_data();
    void waitsAtTheDeadline();
    void stopsWhereAsked_data();
    void stopsWhereAsked();
    void failureIsKept_data();
    void failureIsKept();
    void droppedActionIsUnwound();
    void actionWithoutAStackFails();
};

namespace {

constexpr long long kOperations = 3000;

// Points along a sweep, with a pen width every 700 operations.
void drawPoints(DrawingSurface &surface)
{
    Sweep(0, kOperations - 1, 1, [&](double k) {
        if (static_cast<int>(k) % 700 == 699)
            check(surface.SetPenWidth(2));
        else
            check(surface.PlotPoint(static_cast<float>(k), static_cast<float>(k), PaletteColor(0)));
    });
}
const QByteArray kPoints = "Sweep(0, 2999, 1, [&](double k) {\n"
                           "    if (static_cast<int>(k) % 700 == 699)\n"
                           "        check(surface.SetPenWidth(2));\n"
                           "    else\n"
                           "        check(surface.PlotPoint(static_cast<float>(k), static_cast<float>(k), "
                           "PaletteColor(0)));\n"
                           "});\n";

// A pen width, then ten thousand million values, drawing nothing.
void drawNothingLong(DrawingSurface &surface)
{
    check(surface.SetPenWidth(2));
    Sweep(0, 10000000000.0, 1, [](double) {});
}
const QByteArray kNothingLong = "check(surface.SetPenWidth(2));\n"
                                "Sweep(0, 10000000000.0, 1, [&](double a) {\n"
                                "});\n";

// Two points, then a circle the surface refuses.
void drawThenFail(DrawingSurface &surface)
{
    check(surface.PlotPoint(1, 1, PaletteColor(0)));
    check(surface.PlotPoint(2, 2, PaletteColor(0)));
    check(surface.DrawCircle(3, 3, -1, PaletteColor(0)));
    check(surface.PlotPoint(4, 4, PaletteColor(0)));
}
const QByteArray kThenFail = "check(surface.PlotPoint(1, 1, PaletteColor(0)));\n"
                             "check(surface.PlotPoint(2, 2, PaletteColor(0)));\n"
                             "check(surface.DrawCircle(3, 3, -1, PaletteColor(0)));\n"
                             "check(surface.PlotPoint(4, 4, PaletteColor(0)));\n";

// The drawing `action` makes, the fiber's way, or `routine`'s, the
// interpreter's, as the runner picks it for a routine.
std::unique_ptr<PiecewiseDrawing> drawn(const QString &way, void (*action)(DrawingSurface &), const QByteArray &routine,
                                        DrawingSurface &target, LoopRecorder *points)
{
    if (way == "fiber")
        return std::make_unique<FiberDrawing>(action, target, points);
    return drawInPieces(Runnable(test::routineOf(routine)), target, points);
}

void addWays()
{
    QTest::addColumn<QString>("way");
}

} // namespace

void TestDrawing::landsWhatItIsLet_data()
{
    addWays();
    QTest::addColumn<QList<long long>>("chunks"); // let through one after another

    for (const char *way : {"fiber", "routine"}) {
        QTest::addRow("%s: one at a time, over a pen width", way) << way << QList<long long>{698, 1, 1, 1};
        QTest::addRow("%s: to a batch's end, and on", way) << way << QList<long long>{1023, 1, 1, 1024, 1};
        QTest::addRow("%s: more than there is", way) << way << QList<long long>{2999, 5};
    }
}

void TestDrawing::landsWhatItIsLet()
{
    QFETCH(QString, way);
    QFETCH(QList<long long>, chunks);

    RecordingSurface target;
    LoopRecorder points;
    const std::unique_ptr<PiecewiseDrawing> drawing = drawn(way, drawPoints, kPoints, target, &points);
    long long landed = 0;
    for (const long long chunk : chunks) {
        const long long expected = std::min(chunk, kOperations - landed);
        {
            const LoopRecorder::Activation recording(&points);
            QCOMPARE(drawing->land(chunk), expected);
        }
        landed += expected;
        QCOMPARE(drawing->landed(), landed);
        QCOMPARE(target.calls().size(), std::size_t(landed));
        QCOMPARE(drawing->finished(), landed == kOperations);
        if (drawing->finished())
            continue;
        // While it waits, the note is of its last operation: its point, if
        // a point, and the sweep's value at it.
        const RecordingSurface::Call &last = target.calls().back();
        QCOMPARE(points.noted().hasPoint(), last.op == RecordingSurface::Op::PlotPoint);
        if (points.noted().hasPoint())
            QCOMPARE(points.noted().lastPoint().x, last.x);
        QCOMPARE(points.noted().depth(), 1);
        QCOMPARE(points.noted().loop(0).value, double(landed - 1));
    }
    QVERIFY(!drawing->failure());
}

void TestDrawing::waitsAtTheDeadline_data()
{
    addWays();
    QTest::newRow("fiber") << "fiber";
    QTest::newRow("routine") << "routine";
}

void TestDrawing::waitsAtTheDeadline()
{
    QFETCH(QString, way);

    // A clock that moves 1 ms each time it is read: a deadline 16 ms on is
    // passed after a few thousand turns of the loop, which draws nothing.
    std::chrono::nanoseconds now{0};
    const Clock clock = [&now] { return now += 1ms; };
    RecordingSurface target;
    LoopRecorder points;
    const std::unique_ptr<PiecewiseDrawing> drawing = drawn(way, drawNothingLong, kNothingLong, target, &points);
    double value = 0;
    for (int frame = 0; frame < 3; ++frame) {
        const std::chrono::nanoseconds begun = now;
        {
            const LoopRecorder::Activation recording(&points);
            QCOMPARE(drawing->land(Pace::kUnlimited, PiecewiseDrawing::Deadline{&clock, now + 16ms}),
                     frame == 0 ? 1LL : 0LL);
        }
        QVERIFY(now - begun <= 32ms);
        QVERIFY(!drawing->finished());
        QCOMPARE(drawing->landed(), 1LL);
        // Noted where the loop was when the time was up, further on each
        // time.
        QCOMPARE(points.noted().depth(), 1);
        QVERIFY(points.noted().loop(0).value > value);
        value = points.noted().loop(0).value;
    }
    // A deadline passed already lets nothing through.
    QCOMPARE(drawing->land(1, PiecewiseDrawing::Deadline{&clock, now}), 0LL);
    QCOMPARE(target.calls().size(), std::size_t(1));
}

void TestDrawing::stopsWhereAsked_data()
{
    waitsAtTheDeadline_data();
}

void TestDrawing::stopsWhereAsked()
{
    QFETCH(QString, way);

    RecordingSurface target;
    LoopRecorder points;
    const std::unique_ptr<PiecewiseDrawing> drawing = drawn(way, drawPoints, kPoints, target, &points);
    const LoopRecorder::Activation recording(&points);
    // After the operation made at the value 1000, past the first pen width.
    const PiecewiseDrawing::Stop at1000 = [](const LoopState &now) { return now.loop(0).value >= 1000; };
    QCOMPARE(drawing->landUntil(Pace::kUnlimited, at1000), 1001LL);
    QCOMPARE(points.noted().loop(0).value, 1000.0);
    // Held to what it is let through, and on from there.
    QCOMPARE(drawing->landUntil(5, [](const LoopState &) { return false; }), 5LL);
    QCOMPARE(drawing->landed(), 1006LL);
    QCOMPARE(target.calls().back().x, 1005.0f);
}

void TestDrawing::failureIsKept_data()
{
    waitsAtTheDeadline_data();
}

void TestDrawing::failureIsKept()
{
    QFETCH(QString, way);

    RecordingSurface target;
    const std::unique_ptr<PiecewiseDrawing> drawing = drawn(way, drawThenFail, kThenFail, target, nullptr);
    QCOMPARE(drawing->land(1), 1LL);
    QVERIFY(!drawing->failure());
    // What it drew before the failure has landed; then it is finished.
    QCOMPARE(drawing->land(10), 1LL);
    QVERIFY(drawing->finished());
    QVERIFY(drawing->failure());
    // The failure is kept as the fault itself, for the layer that shows it to word.
    QCOMPARE(drawing->failure()->message().kind, FaultKind::Negative);
    QCOMPARE(drawing->failure()->message().values.at(1), std::string("radius"));
    QCOMPARE(drawing->land(10), 0LL);
    QCOMPARE(drawing->landed(), 2LL);
    QCOMPARE(target.calls().size(), std::size_t(2));
}

void TestDrawing::droppedActionIsUnwound()
{
    // What is on a suspended action's stack is destroyed with it, as an
    // exception would destroy it.
    static bool unwound = false;
    RecordingSurface target;
    {
        FiberDrawing action(
            [](DrawingSurface &surface) {
                const auto destroyed = qScopeGuard([] { unwound = true; });
                for (;;)
                    check(surface.PlotPoint(0, 0, {}));
            },
            target);
        QCOMPARE(action.land(10), 10LL);
        QVERIFY(!unwound);
    }
    QVERIFY(unwound);
    QCOMPARE(target.calls().size(), std::size_t(10));
}

void TestDrawing::actionWithoutAStackFails()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer's shadow memory leaves no address space to limit");
#else
    // The address space is held to what is in use and a little more, too
    // little for the action's stack.
    QFile statm(QStringLiteral("/proc/self/statm"));
    QVERIFY(statm.open(QIODevice::ReadOnly));
    const rlim_t inUse = statm.readAll().split(' ').first().toULongLong() * static_cast<rlim_t>(::getpagesize());
    rlimit before{};
    QCOMPARE(::getrlimit(RLIMIT_AS, &before), 0);
    rlimit tight = before;
    tight.rlim_cur = inUse + 256 * 1024;
    QCOMPARE(::setrlimit(RLIMIT_AS, &tight), 0);
    RecordingSurface target;
    std::optional<FiberDrawing> action;
    action.emplace([](DrawingSurface &surface) { check(surface.ClearSurface()); }, target);
    QCOMPARE(::setrlimit(RLIMIT_AS, &before), 0);

    QVERIFY(action->finished());
    QVERIFY(action->failure());
    QCOMPARE(action->failure()->message().kind, FaultKind::OutOfMemory);
    QCOMPARE(action->land(1), 0LL);
    QVERIFY(target.calls().empty());
#endif
}

QTEST_MAIN(TestDrawing)
#include "tst_drawing.moc"
