#include "Form1.h"
#include "RasterSurface.h"
#include "Scenes.h"
#include "robust/ImageDifference.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QtTest>

// Random sequences of commands run on the window, each checked against a
// simple model of what the picture must be: a clear erases everything and
// nothing else does, so the picture is exactly what the scenes run since the
// last clear draw on a fresh surface.
//
// SWEEPDRAW_MODEL_SEED chooses the sequences (a failure names its seed) and
// SWEEPDRAW_MODEL_SEQUENCES how many are run; the sanitizer run uses fewer.

using namespace sweepdraw;
using sweepdraw::test::imageDifference;

namespace {

constexpr quint32 kDefaultSeed = 20061118;
constexpr int kDefaultSequences = 300;
constexpr int kLongestSequence = 6;

struct Command
{
    Button button;
    const char *name;
    void (*scene)(DrawingSurface &); // nullptr for the clear
};

constexpr Command kCommands[] = {
    {Button::CmdGs, "mountains", DrawMountains}, {Button::Cmdls, "water", DrawWater},
    {Button::Cmdyg, "sunshine", DrawSunshine},   {Button::CmdDq, "bridge", DrawBridge},
    {Button::CmdCls, "clear", nullptr},
};

quint32 fromEnvironment(const char *name, quint32 fallback)
{
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

QString describe(const QList<const Command *> &sequence)
{
    QStringList names;
    for (const Command *command : sequence)
        names << QString::fromLatin1(command->name);
    return names.join(QLatin1Char(','));
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

    // One window for every sequence, as a user would keep it open; the
    // sequences are separated by a clear, which the model accounts for.
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy ended(&form, &Form1::ended);

    int drawn = 0;
    for (quint32 i = 0; i < sequences; ++i) {
        QList<const Command *> sequence;
        const int length = random.bounded(1, kLongestSequence + 1);
        for (int k = 0; k < length; ++k)
            sequence << &kCommands[random.bounded(static_cast<int>(std::size(kCommands)))];

        form.RunCommand(Button::CmdCls);
        for (const Command *command : sequence)
            form.RunCommand(command->button);

        // The model: a fresh surface with only the scenes after the last clear.
        qsizetype sinceClear = 0;
        for (qsizetype k = 0; k < sequence.size(); ++k)
            if (!sequence[k]->scene)
                sinceClear = k + 1;
        RasterSurface reference(QSize(800, 552), 1.0);
        for (qsizetype k = sinceClear; k < sequence.size(); ++k) {
            sequence[k]->scene(reference);
            ++drawn;
        }
        const QString difference = imageDifference(form.picture().image(), reference.image());
        QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("seed %1, sequence %2 of %3 (%4): %5")
                                                      .arg(seed)
                                                      .arg(i + 1)
                                                      .arg(sequences)
                                                      .arg(describe(sequence), difference)));
        // Let the window show the picture, as it would between clicks.
        QCoreApplication::processEvents();
    }
    QCOMPARE(ended.count(), 0);
    qInfo("seed %u: %u sequences, %d scenes drawn on the model", seed, sequences, drawn);
}

QTEST_MAIN(TestRobustModel)
#include "tst_robust_model.moc"
