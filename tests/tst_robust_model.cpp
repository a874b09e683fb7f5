#include "RasterSurface.h"
#include "WindowTesting.h"
#include "robust/ImageDifference.h"

#include <QRandomGenerator>
#include <QSignalSpy>

#include <memory>

// Random sequences of commands given to the command runner, at a random
// speed and on a clock the test moves in frames of random length: commands
// arrive while earlier ones are still drawing, now and then the drawing is
// finished at once, paused, stepped an operation at a time and continued,
// and now and then the picture is drawn again at another zoom. While paused,
// a frame lands nothing. After each sequence the picture is checked against
// a simple model of what it must be: a clear erases everything and nothing
// else does, so the picture is exactly what the scenes run since the last
// clear draw at once on a fresh surface at the picture's zoom, whatever the
// speed and however it was paused or redrawn.
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

// Zooms the picture is drawn again at.
constexpr std::array<double, 6> kZooms = {1.0, 2.0, 1.5, 0.5, 1.25, 0.875};

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
    return QStringLiteral("%1: %2").arg(QLatin1String(speedInfo(speed).name), names.join(','));
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

    // One runner for every sequence, as the window keeps it; each sequence
    // starts with a clear, which the model accounts for.
    auto picture = std::make_unique<RasterSurface>(kDesignSize, 1.0);
    CommandRunner runner(*picture);
    ManualClock clock(runner);
    QSignalSpy failed(&runner, &CommandRunner::failed);
    QSignalSpy finished(&runner, &CommandRunner::commandFinished);

    int drawn = 0;
    int zooms = 0;
    int steps = 0;
    for (quint32 i = 0; i < sequences; ++i) {
        const auto speed = static_cast<Speed>(random.bounded(static_cast<int>(kSpeeds.size())));
        QList<const Command *> sequence = {&commandOf(Button::CmdCls)};
        const int length = random.bounded(1, kLongestSequence + 1);
        for (int k = 0; k < length; ++k)
            sequence << commands[random.bounded(static_cast<int>(commands.size()))];
        const QString what = QStringLiteral("seed %1, sequence %2 of %3 (%4)")
                                 .arg(seed)
                                 .arg(i + 1)
                                 .arg(sequences)
                                 .arg(describe(speed, sequence));

        // Give the commands a frame or a few apart, or as soon as the runner
        // is idle, and let the clock run until all is drawn.
        runner.setSpeed(speed);
        finished.clear();
        qsizetype given = 0;
        int frames = 0;
        bool finishing = false; // some of the commands are to be drawn at once
        while (given < sequence.size() || !runner.isIdle()) {
            QVERIFY2(++frames < kMostFrames, qPrintable(what + ": never finished"));
            if (given < sequence.size() && (runner.isIdle() || random.bounded(4) == 0))
                runner.enqueue(sequence[given++]->button);
            if (random.bounded(200) == 0) {
                runner.finishQueued();
                finishing = true;
            }
            if (random.bounded(300) == 0) {
                const double zoom = kZooms[random.bounded(static_cast<int>(kZooms.size()))];
                zooms += zoom != picture->devicePixelRatio();
                auto next = std::make_unique<RasterSurface>(kDesignSize, zoom);
                runner.redrawOn(*next);
                picture = std::move(next);
            }
            if (runner.isPaused()) {
                for (int step = random.bounded(4); step > 0; --step, ++steps)
                    runner.step();
                if (random.bounded(8) == 0)
                    runner.setPaused(false);
            } else if (random.bounded(100) == 0) {
                runner.setPaused(true);
            }
            const DrawingProgress before = runner.progress();
            clock.advance(std::chrono::milliseconds(random.bounded(kLongestFrameMs + 1)));
            runner.advance();
            const DrawingProgress after = runner.progress();
            QVERIFY2(!runner.isPaused() || finishing
                         || (after.current == before.current && after.landed == before.landed),
                     qPrintable(what + ": drew while paused"));
            finishing &= !runner.isIdle();
        }
        runner.setPaused(false);

        QList<Button> order;
        for (const QList<QVariant> &signal : finished)
            order << *static_cast<const Runnable *>(signal.at(0).constData())->button();
        QList<Button> expectedOrder;
        for (const Command *command : sequence)
            expectedOrder << command->button;
        QVERIFY2(order == expectedOrder, qPrintable(what + ": commands finished out of order"));

        // The model: a fresh surface with only the scenes after the last clear.
        qsizetype sinceClear = 0;
        for (qsizetype k = 0; k < sequence.size(); ++k)
            if (sequence[k]->clears())
                sinceClear = k + 1;
        RasterSurface reference(kDesignSize, picture->devicePixelRatio());
        for (qsizetype k = sinceClear; k < sequence.size(); ++k) {
            sequence[k]->action(reference);
            ++drawn;
        }
        const QString difference = imageDifference(picture->image(), reference.image());
        QVERIFY2(difference.isEmpty(), qPrintable(what + ": " + difference));
    }
    QCOMPARE(failed.count(), 0);
    qInfo("seed %u: %u sequences, %d scenes drawn on the model, %d zooms, %d steps", seed, sequences, drawn,
          zooms, steps);
}

QTEST_MAIN(TestRobustModel)
#include "tst_robust_model.moc"
