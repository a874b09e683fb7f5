#include "PictureImage.h"
#include "WindowTesting.h"
#include "robust/ImageDifference.h"

#include <QFile>
#include <QSignalSpy>

// A long session: many commands in a row, clicked on the shown window, must
// not make the program grow.

using namespace sweepdraw;
using namespace sweepdraw::test;

namespace {

// The resident memory of this process in KiB, or -1 if it cannot be read.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // Files under /proc have no size, so read them whole rather than line
    // by line up to an end that is known beforehand.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
    }
    return -1;
}

constexpr Button kScenes[] = {Button::CmdGs, Button::Cmdls, Button::Cmdyg, Button::CmdDq};

} // namespace

class TestRobustEndurance : public QObject
{
    Q_OBJECT

private slots:
    // As the program does at start-up.
    void initTestCase() { allowSyntheticBoldAtAnySize(); }
    void manyCommandsKeepMemoryFlat();
};

void TestRobustEndurance::manyCommandsKeepMemoryFlat()
{
    constexpr int kCommands = 200;
    constexpr qint64 kAllowedGrowthKiB = 2048;

    Form1 form(1.0);
    form.setSpeed(Speed::Instant);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy ended(&form, &Form1::ended);
    const auto clickAndShow = [&](Button button) {
        QTest::mouseClick(buttonOf(form, button), Qt::LeftButton);
        QVERIFY(waitUntilDrawn(form));
    };

    // The first round: every scene once, so that every cache the drawing
    // and the painting fill is filled.
    for (Button scene : kScenes)
        clickAndShow(scene);
    const QImage firstRound = imageOf(pictureOf(form)).copy();
    const qint64 baseline = residentKiB();
    QVERIFY(baseline > 0);

    // Rounds of a clear and the four scenes; each round must draw the same
    // picture as the first, so every command really ran.
    int commands = 0;
    while (commands < kCommands) {
        clickAndShow(Button::CmdCls);
        for (Button scene : kScenes)
            clickAndShow(scene);
        commands += 5;
        const QString difference = imageDifference(imageOf(pictureOf(form)), firstRound);
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("after %1 commands: %2").arg(commands).arg(difference)));
    }
    QCOMPARE(ended.count(), 0);

    const qint64 after = residentKiB();
    qInfo("resident memory: %lld KiB after the first round, %lld KiB after %d more commands", baseline,
          after, commands);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory back in quarantine, so resident
    // memory says nothing here; LeakSanitizer checks this build at exit.
    QSKIP("resident memory is not a measure of growth under AddressSanitizer");
#endif
    QVERIFY2(after - baseline <= kAllowedGrowthKiB,
             qPrintable(QStringLiteral("grew by %1 KiB").arg(after - baseline)));
}

QTEST_MAIN(TestRobustEndurance)
#include "tst_robust_endurance.moc"
