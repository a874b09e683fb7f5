#include "FaultEnglish.h"
#include "LoopWatch.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <QtTest>

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace sweepdraw;

class TestSweep : public QObject
{
    Q_OBJECT

private slots:
    void sweepVisits_data();
    void sweepVisits();
    void wholeStepsVisitEveryValue_data();
    void wholeStepsVisitEveryValue();
    void sweepThatCannotEndThrows_data();
    void sweepThatCannotEndThrows();
    void colourPass_data();
    void colourPass();
    void colourPassThatCannotEndThrows_data();
    void colourPassThatCannotEndThrows();
    void watchLooksInLoopsThatDrawNothing_data();
    void watchLooksInLoopsThatDrawNothing();
    void paletteColorOutOfRangeThrows_data();
    void paletteColorOutOfRangeThrows();
};

void TestSweep::sweepVisits_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("last");

    // The fractional steps stop one value short of the end: repeated
    // addition overshoots it by a hair.
    QTest::newRow("555 to 5555 by 0.1") << 555.0 << 5555.0 << 0.1 << 50000 << 5554.90000000262;
    QTest::newRow("666 to 1800 by 0.2") << 666.0 << 1800.0 << 0.2 << 5670 << 1799.8000000002578;
    QTest::newRow("3.14 to 0 by -3.14/9999")
        << 3.14 << 0.0 << -3.14 / 9999 << 9999 << 0.000314031403140;
    // Here the last value falls a hair below the end and is visited.
    QTest::newRow("0 to 6.283192 by 6.283192/32")
        << 0.0 << 6.283192 << 6.283192 / 32 << 33 << 6.283191999999994;
}

void TestSweep::sweepVisits()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, step);
    QFETCH(int, count);
    QFETCH(double, last);

    std::vector<double> values;
    Sweep(start, end, step, [&](double v) { values.push_back(v); });

    QCOMPARE(int(values.size()), count);
    QCOMPARE(values.front(), start);
    QVERIFY2(std::abs(values.back() - last) < 1e-11,
             qPrintable(QString::number(values.back(), 'g', 17)));
    QVERIFY(values.back() != end);
    if (step > 0)
        QVERIFY(values.back() <= end);
    else
        QVERIFY(values.back() > end);
}

void TestSweep::wholeStepsVisitEveryValue_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("step");
    QTest::addColumn<QList<double>>("expected");

    QTest::newRow("4 to 1 by -1") << 4.0 << 1.0 << -1.0 << QList<double>{4, 3, 2, 1};
    QTest::newRow("6350 to 10350 by 800")
        << 6350.0 << 10350.0 << 800.0 << QList<double>{6350, 7150, 7950, 8750, 9550, 10350};
    QTest::newRow("start past the end runs no body") << 5.0 << 1.0 << 1.0 << QList<double>{};
    QTest::newRow("start equal to the end runs once") << 2.0 << 2.0 << -1.0 << QList<double>{2};
}

void TestSweep::wholeStepsVisitEveryValue()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, step);
    QFETCH(QList<double>, expected);

    QList<double> values;
    Sweep(start, end, step, [&](double v) { values.push_back(v); });
    QCOMPARE(values, expected);
}

namespace {

// Where the loops under test say they are written.
const LoopSite kSite("loops.cpp", 12);

} // namespace

void TestSweep::sweepThatCannotEndThrows_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("runs"); // values the body was given before the error
    QTest::addColumn<QString>("message");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("zero step") << 0.0 << 10.0 << 0.0 << 0 << "Sweep: step 0 cannot advance from 0 to 10";
    QTest::newRow("NaN step") << 0.0 << 10.0 << nan << 0 << "Sweep: start 0, end 10 and step nan must be finite";
    QTest::newRow("NaN start") << nan << 10.0 << 1.0 << 0 << "must be finite numbers";
    QTest::newRow("infinite end") << 0.0 << inf << 1.0 << 0 << "must be finite numbers";
    QTest::newRow("step lost at the start") << 1e20 << 2e20 << 0.1 << 0 << "cannot advance from 1e+20 to 2e+20";
    QTest::newRow("step lost at the end") << 0.0 << -1e20 << -0.1 << 0 << "cannot advance from 0 to -1e+20";
    // The step moves both ends, but from 2^52 + 2 rounds back to it, ties
    // going to even: checked at the start alone, it ran for ever.
    QTest::newRow("counter stops between the ends")
        << 4503599627370497.0 << 4503599627370499.0 << 0.5 << 2
        << "Sweep: step 0.5 no longer moves the counter at 4503599627370498";
    QTest::newRow("counter stops going down")
        << -4503599627370497.0 << -4503599627370499.0 << -0.5 << 2
        << "Sweep: step -0.5 no longer moves the counter at -4503599627370498";
}

void TestSweep::sweepThatCannotEndThrows()
{
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(double, step);
    QFETCH(int, runs);
    QFETCH(QString, message);

    int ran = 0;
    try {
        Sweep(start, end, step, [&](double) { ++ran; }, kSite);
        QFAIL("the sweep ran to its end");
    } catch (const RuntimeError &error) {
        const QString what = QString::fromStdString(inEnglish(error));
        QVERIFY2(what.startsWith("loops.cpp:12: error: Sweep: ") && what.contains(message), qPrintable(what));
    }
    QCOMPARE(ran, runs);
}

void TestSweep::colourPass_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("stop");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("14 down to 10") << 14 << -1 << 10 << QList<int>{14, 13, 12, 11};
    QTest::newRow("14 down to 9") << 14 << -1 << 9 << QList<int>{14, 13, 12, 11, 10};
    QTest::newRow("9 up to 15") << 9 << 1 << 15 << QList<int>{9, 10, 11, 12, 13, 14};
    QTest::newRow("one pass") << 3 << 1 << 4 << QList<int>{3};
    QTest::newRow("to the least int") << INT_MIN + 2 << -1 << INT_MIN << QList<int>{INT_MIN + 2, INT_MIN + 1};
    QTest::newRow("across the whole range") << INT_MIN << INT_MAX << INT_MAX - 1 << QList<int>{INT_MIN, -1};
}

void TestSweep::colourPass()
{
    QFETCH(int, first);
    QFETCH(int, change);
    QFETCH(int, stop);
    QFETCH(QList<int>, expected);

    QList<int> colours;
    ColourPass(first, change, stop, [&](int c) { colours.push_back(c); });
    QCOMPARE(colours, expected);
}

void TestSweep::colourPassThatCannotEndThrows_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("change");
    QTest::addColumn<int>("stop");
    QTest::addColumn<QString>("message");

    const QString never = "ColourPass: colour %1 never reaches %2 in steps of %3";
    QTest::newRow("wrong direction") << 14 << 1 << 10 << never.arg(14).arg(10).arg(1);
    QTest::newRow("already at the stop") << 5 << -1 << 5 << never.arg(5).arg(5).arg(-1);
    QTest::newRow("no change") << 1 << 0 << 3 << never.arg(1).arg(3).arg(0);
    QTest::newRow("steps over the stop") << 1 << 2 << 4 << never.arg(1).arg(4).arg(2);
    // Each of these overflowed int: the first two divided INT_MIN by -1,
    // the third wrapped its counter round for 2^31 passes.
    QTest::newRow("2^31 passes") << 0 << -1 << INT_MIN
                                 << "ColourPass: colour 0 reaches -2147483648 in steps of -1 only after 2147483648 "
                                    "passes, more than an int counts";
    QTest::newRow("down to the greatest int") << -1 << -1 << INT_MAX << never.arg(-1).arg(INT_MAX).arg(-1);
    QTest::newRow("up to the least int") << 1 << 1 << INT_MIN << never.arg(1).arg(INT_MIN).arg(1);
}

void TestSweep::colourPassThatCannotEndThrows()
{
    QFETCH(int, first);
    QFETCH(int, change);
    QFETCH(int, stop);
    QFETCH(QString, message);

    int passes = 0;
    try {
        ColourPass(first, change, stop, [&](int) { ++passes; }, kSite);
        QFAIL("the colour pass ran");
    } catch (const RuntimeError &error) {
        QCOMPARE(QString::fromStdString(inEnglish(error)), "loops.cpp:12: error: " + message);
    }
    QCOMPARE(passes, 0);
}

namespace {

// Counts its looks, and stops the drawing at the look numbered `stopAt`.
class CountingWatch final : public LoopWatch
{
public:
    explicit CountingWatch(int stopAt = 0)
        : m_stopAt(stopAt)
    {
    }
    int looks = 0;

protected:
    void look() override
    {
        if (++looks == m_stopAt)
            throw RuntimeError({FaultKind::StoppedHere, {}, 0, 0});
    }

private:
    int m_stopAt;
};

} // namespace

void TestSweep::watchLooksInLoopsThatDrawNothing_data()
{
    QTest::addColumn<std::function<void()>>("loops");
    QTest::addColumn<int>("looks");

    constexpr int turns = LoopWatch::kTurnsPerLook;
    QTest::newRow("a sweep") << std::function<void()>([] { Sweep(1, 2 * turns, 1, [](double) {}); }) << 2;
    QTest::newRow("colour passes")
        << std::function<void()>([] { ColourPass(0, 1, turns, [](int) {}); }) << 1;
    // 32 outer turns and 32 x 127 inner ones.
    QTest::newRow("nested sweeps") << std::function<void()>([] {
        static_assert(32 + 32 * 127 == turns);
        Sweep(1, 32, 1, [](double) { Sweep(1, 127, 1, [](double) {}); });
    }) << 1;
}

// However many turns came before, a watch active over a whole number of
// looks' worth of turns looks exactly that many times.
void TestSweep::watchLooksInLoopsThatDrawNothing()
{
    QFETCH(std::function<void()>, loops);
    QFETCH(int, looks);

    CountingWatch watch;
    LoopWatch::Activation active(&watch);
    loops();
    QCOMPARE(watch.looks, looks);

    // A watch that throws ends a loop that would run all but for ever.
    CountingWatch stopping(3);
    LoopWatch::Activation stops(&stopping);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Sweep(0, 1e15, 1, [](double) {}));
    QCOMPARE(stopping.looks, 3);
    // The watch round it was asked as well, each time before it.
    QCOMPARE(watch.looks, looks + 3);
}

void TestSweep::paletteColorOutOfRangeThrows_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("-1") << -1;
    QTest::newRow("one beyond the last") << kPaletteSize;
    QTest::newRow("huge") << std::numeric_limits<int>::max();
}

void TestSweep::paletteColorOutOfRangeThrows()
{
    QFETCH(int, n);
    try {
        (void)PaletteColor(n);
        QFAIL("no error");
    } catch (const RuntimeError &error) {
        const QByteArray message = QByteArray::fromStdString(inEnglish(error));
        QVERIFY2(message.contains("PaletteColor") && message.contains(QByteArray::number(n)),
                 message.constData());
    }
}

QTEST_APPLESS_MAIN(TestSweep)
#include "tst_sweep.moc"
