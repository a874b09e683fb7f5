#include "RasterSurface.h"
#include "WindowTesting.h"
#include "robust/ImageDifference.h"

#include <QRandomGenerator>
#include <QSignalSpy>

// Random sequences of commands clicked on the window, at a random speed and
// on a clock the test moves in frames of random length: clicks arrive while
// earlier commands are still drawing, now and then the drawing is finished
// at once, and now and then the window is resized. After each sequence the
// picture is checked against a simple model of what it must be: a clear
// erases everything and nothing else does, so the picture is exactly what
// the scenes run since the last clear draw at once on a fresh surface at the
// window's zoom, whatever the speed and however often it was resized.
//
// SWEEPDRAW_MODEL_SEED chooses the sequences (a failure names its seed) and
// SWEEPDRAW_MODEL_SEQUENCES how many are run; the sanitizer run uses fewer.

using namespace sweepdraw;
using namespace sweepdraw::test;

namespace {

constexpr quint32 kDefaultSeed = 20061118;
constexpr int kDefaultSequences = 300;
constexpr int kLongestSequence = 6;
constexpr int kLongestFrameMs = 40;
// Far more frames than the longest sequence needs at the slowest speed.
constexpr int kMostFrames = 200'000;

constexpr std::array<const char *, 4> kSpeedNames = {"slow", "normal", "fast", "instant"};

// Sizes the window is given: zooms 1, 2, 1.5 and 0.5, and two that leave
// room round the picture.
const std::array<QSize, 6> kSizes = {kDesignSize,         kDesignSize * 2,   kDesignSize * 1.5,
                                     kDesignSize * 0.5,   QSize(1000, 700), QSize(700, kDesignSize.height())};

quint32 fromEnvironment(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// The commands a sequence can hold: all but "退出".
QList<const Command *> drawingCommands()
{
    QList<const Command *> commands;
    for (const Command &command : kCommands)
        if (command.action)
            commands << &command;
    return commands;
}

QString describe(Speed speed, const QList<const Command *> &sequence)
{
    QStringList names;
    for (const Command *command : sequence)
        names << QString::fromLatin1(command->name);
    return QStringLiteral("%1: %2").arg(QLatin1String(kSpeedNames[static_cast<std::size_t>(speed)]), names.join(','));
}

} // namespace

class TestRobustModel : public QObject
{
    Q_OBJECT

private slots:
    void randomSequencesFollowTheModel();
};

void TestRobustModel::randomSequencesFollowTheModel()
{
    const quint32 seed = fromEnvironment("SWEEPDRAW_MODEL_SEED", kDefaultSeed);
    const quint32 sequences = fromEnvironment("SWEEPDRAW_MODEL_SEQUENCES", kDefaultSequences);
    QRandomGenerator random(seed);
    const QList<const Command *> commands = drawingCommands();

    // One window for every sequence, as a user would keep it open; each
    // sequence starts with a clear, which the model accounts for.
    Form1 form(1.0);
    ManualClock clock(form.runner());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy ended(&form, &Form1::ended);
    QSignalSpy finished(&form.runner(), &CommandRunner::commandFinished);

    int drawn = 0;
    int zooms = 0;
    for (quint32 i = 0; i < sequences; ++i) {
        const auto speed = static_cast<Speed>(random.bounded(static_cast<int>(kSpeedNames.size())));
        QList<const Command *> sequence = {&commandOf(Button::CmdCls)};
        const int length = random.bounded(1, kLongestSequence + 1);
        for (int k = 0; k < length; ++k)
            sequence << commands[random.bounded(static_cast<int>(commands.size()))];
        const QString what = QStringLiteral("seed %1, sequence %2 of %3 (%4)")
                                 .arg(seed)
                                 .arg(i + 1)
                                 .arg(sequences)
                                 .arg(describe(speed, sequence));

        // Click the buttons a frame or a few apart, or as soon as the
        // window is idle, and let the clock run until all is drawn.
        form.setSpeed(speed);
        finished.clear();
        qsizetype clicked = 0;
        int frames = 0;
        while (clicked < sequence.size() || !form.runner().isIdle()) {
            QVERIFY2(++frames < kMostFrames, qPrintable(what + ": never finished"));
            if (clicked < sequence.size() && (form.runner().isIdle() || random.bounded(4) == 0))
                QTest::mouseClick(buttonOf(form, sequence[clicked++]->button), Qt::LeftButton);
            if (random.bounded(200) == 0)
                form.runner().finishQueued();
            if (random.bounded(300) == 0) {
                const QSize size = kSizes[random.bounded(static_cast<int>(kSizes.size()))];
                const double before = zoomOf(form);
                QVERIFY2(resizeShown(form, size), qPrintable(what + ": could not resize"));
                zooms += zoomOf(form) != before;
            }
            clock.advance(std::chrono::milliseconds(random.bounded(kLongestFrameMs + 1)));
            form.runner().advance();
        }

        QList<Button> order;
        for (const QList<QVariant> &signal : finished)
            order << signal.at(0).value<Button>();
        QList<Button> expectedOrder;
        for (const Command *command : sequence)
            expectedOrder << command->button;
        QVERIFY2(order == expectedOrder, qPrintable(what + ": commands finished out of order"));

        // The model: a fresh surface with only the scenes after the last clear.
        qsizetype sinceClear = 0;
        for (qsizetype k = 0; k < sequence.size(); ++k)
            if (sequence[k]->clears())
                sinceClear = k + 1;
        RasterSurface reference(kDesignSize, zoomOf(form));
        for (qsizetype k = sinceClear; k < sequence.size(); ++k) {
            sequence[k]->action(reference);
            ++drawn;
        }
        const QString difference = imageDifference(pictureOf(form).image(), reference.image());
        QVERIFY2(difference.isEmpty(), qPrintable(what + ": " + difference));
        // Let the window show the picture, as it would between clicks.
        QCoreApplication::processEvents();
    }
    QCOMPARE(ended.count(), 0);
    qInfo("seed %u: %u sequences, %d scenes drawn on the model, %d zooms", seed, sequences, drawn, zooms);
}

QTEST_MAIN(TestRobustModel)
#include "tst_robust_model.moc"
