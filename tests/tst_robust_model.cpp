#include "CompiledRoutine.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "RoutineTesting.h"
#include "WindowTesting.h"
#include "robust/ImageDifference.h"

#include <QRandomGenerator>
#include <QSignalSpy>

#include <memory>

// Random sequences of commands given to the command runner, at a random
// speed and on a clock the test moves in frames of random length: commands
// arrive while earlier ones are still drawing, now and then the drawing is
// finished at once, paused, stepped an operation at a time, stepped back and
// continued,
// and now and then the picture is drawn again at another zoom. While paused,
// a frame lands nothing. After each sequence the picture is checked against
// a simple model of what it must be: a clear erases everything and nothing
// else does, so the picture is exactly what the scenes run since the last
// clear draw at once on a fresh surface at the picture's zoom, whatever the
// speed and however it was paused or redrawn.
//
// Besides the scenes, the sequences run learner's routines, copies of the
// sunshine with another number of rays, and now and then everything is
// stopped: the command under way then stays on the picture as far as it had
// landed, and those queued after it are never drawn.
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
        if (!command.ends())
            commands << &command;
    return commands;
}

// Copies of the sunshine with 3 to 40 rays, as a learner edits them.
QList<Runnable> editedSunshines()
{
    QList<Runnable> routines;
    for (int rays : {3, 12, 40}) {
        const QString edited =
            sceneWith(QStringLiteral("Sunshine.cpp"), QStringLiteral("/ 32;"), QStringLiteral("/ %1;").arg(rays));
        auto compiled = CompiledRoutine::compile(QStringLiteral("Rays%1.cpp").arg(rays).toStdString(), edited.toStdString());
        routines << Runnable(std::get<CompiledRoutine>(compiled));
    }
    return routines;
}

QString describe(Speed speed, const QList<Runnable> &sequence)
{
    QStringList names;
    for (const Runnable &command : sequence)
        names << (command.button() ? QString::fromLatin1(commandOf(*command.button()).name) : QString::fromStdString(command.caption()));
    return QStringLiteral("%1: %2").arg(QLatin1String(speedInfo(speed).name), names.join(','));
}

// What landed of a command, in the order it landed: all of it, or, for the
// one stopped, its first `landed` operations.
struct Layer
{
    Runnable command;
    std::optional<long long> landed;
};

void drawLayer(DrawingSurface &surface, const Layer &layer)
{
    if (!layer.landed) {
        layer.command.draw(surface);
        return;
    }
    RecordingSurface operations;
    layer.command.draw(operations);
    for (long long i = 0; i < *layer.landed; ++i)
        (void)RecordingSurface::perform(surface, operations.calls()[static_cast<std::size_t>(i)]);
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
    QList<Runnable> commands;
    for (const Command *command : drawingCommands())
        commands << command->button;
    commands << editedSunshines();

    // One runner for every sequence, as the window keeps it; each sequence
    // starts with a clear, which the model accounts for.
    auto picture = std::make_unique<RasterSurface>(kDesignSize, 1.0);
    RunnerDriver runner(*picture);
    ManualClock clock(runner);
    QSignalSpy failed(&runner, &RunnerDriver::failed);
    QList<Layer> layers; // since the sequence began
    connect(&runner, &RunnerDriver::commandFinished, this,
            [&layers](const Runnable &command) { layers << Layer{command, std::nullopt}; });

    int drawn = 0;
    int zooms = 0;
    int steps = 0;
    int backs = 0;
    int reopened = 0;
    int stops = 0;
    for (quint32 i = 0; i < sequences; ++i) {
        const auto speed = static_cast<Speed>(random.bounded(static_cast<int>(kSpeeds.size())));
        QList<Runnable> sequence = {Button::CmdCls};
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
        layers.clear();
        qsizetype given = 0;
        int frames = 0;
        bool finishing = false; // some of the commands are to be drawn at once
        bool dropped = false;   // commands given were never drawn
        while (given < sequence.size() || !runner.isIdle()) {
            QVERIFY2(++frames < kMostFrames, qPrintable(what + ": never finished"));
            if (given < sequence.size() && (runner.isIdle() || random.bounded(4) == 0))
                runner.enqueue(sequence[given++]);
            if (random.bounded(200) == 0) {
                runner.finishQueued();
                finishing = true;
            }
            // A picture drawn again holds the pictures finished, and what
            // landed of a command stopped part way.
            if (random.bounded(300) == 0) {
                const double zoom = kZooms[random.bounded(static_cast<int>(kZooms.size()))];
                zooms += zoom != picture->devicePixelRatio();
                auto next = std::make_unique<RasterSurface>(kDesignSize, zoom);
                runner.redrawOn(*next);
                picture = std::move(next);
            }
            // Once the clear the sequence starts with is done.
            if (!layers.isEmpty() && random.bounded(400) == 0) {
                const DrawingProgress now = runner.progress();
                if (now.current && now.landed > 0)
                    layers << Layer{*now.current, now.landed};
                runner.dropAll();
                finishing = false;
                dropped = true;
                ++stops;
            }
            if (runner.isPaused()) {
                for (int step = random.bounded(4); step > 0; --step, ++steps)
                    runner.step();
                // To the command's end, and sometimes back over it.
                if (random.bounded(24) == 0)
                    runner.runTo({});
                // Not back into the sequence before, which the model has
                // forgotten.
                const DrawingProgress before = runner.progress();
                if ((before.landed > 0 || !layers.isEmpty()) && random.bounded(4) == 0) {
                    runner.stepBack();
                    ++backs;
                    // A step back before a command's first operation takes
                    // the last command finished back.
                    const DrawingProgress after = runner.progress();
                    if (after.current && (!before.current || after.queued > before.queued)) {
                        layers.removeLast();
                        ++reopened;
                    }
                }
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

        // Without a stop, every command given has finished, in order.
        if (!dropped) {
            QList<Runnable> order;
            for (const Layer &layer : layers)
                order << layer.command;
            QVERIFY2(order == sequence, qPrintable(what + ": commands finished out of order"));
        }

        // The model: a fresh surface with only what landed after the last clear.
        qsizetype sinceClear = 0;
        for (qsizetype k = 0; k < layers.size(); ++k)
            if (layers[k].command.clears())
                sinceClear = k + 1;
        RasterSurface reference(kDesignSize, picture->devicePixelRatio());
        for (qsizetype k = sinceClear; k < layers.size(); ++k) {
            drawLayer(reference, layers[k]);
            ++drawn;
        }
        const QString difference = imageDifference(imageOf(*picture), imageOf(reference));
        QVERIFY2(difference.isEmpty(), qPrintable(what + ": " + difference));
    }
    QCOMPARE(failed.count(), 0);
    qInfo("seed %u: %u sequences, %d commands drawn on the model, %d zooms, %d steps, %d back (%d into the command "
          "before), %d stops",
          seed, sequences, drawn, zooms, steps, backs, reopened, stops);
}

QTEST_MAIN(TestRobustModel)
#include "tst_robust_model.moc"
