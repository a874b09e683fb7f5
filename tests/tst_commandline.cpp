#include "Design.h"
#include "ExitStatus.h"
#include "ProgramRun.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

using namespace sweepdraw;
using namespace sweepdraw::test;

namespace {

// The program's environment without the variables named.
QProcessEnvironment environmentWithout(const QStringList &names)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : names)
        environment.remove(name);
    return environment;
}

QColor colourAt(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runAndSave_data();
    void runAndSave();
    void fontWarning_data();
    void fontWarning();
    void savedAtDesignSizeWhateverTheScale();
    void version();

private:
    QTemporaryDir m_dir;
};

void TestCommandLine::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestCommandLine::runAndSave_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QPoint>("probe");
    QTest::addColumn<QColor>("expected");
    QTest::addColumn<bool>("framed");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("format"); // as the file's contents show it

    // A pixel of each picture in its last colour, or the panel where nothing
    // is; and whether the mountains' frame shows over the background.
    const QStringList none;
    const QByteArray png = "png";
    QTest::newRow("nothing") << QString() << QPoint(37, 185) << QColor(0, 0, 0) << false << none << "png" << png;
    QTest::newRow("mountains") << "mountains" << QPoint(37, 185) << QColor(0, 255, 255) << true << none << "png"
                               << png;
    QTest::newRow("captions") << "高山" << QPoint(37, 185) << QColor(0, 255, 255) << true << none << "png" << png;
    QTest::newRow("water") << "water" << QPoint(400, 407) << QColor(0, 255, 0) << false << none << "png" << png;
    QTest::newRow("sunshine") << "sunshine" << QPoint(533, 133) << QColor(255, 0, 0) << false << none << "png"
                              << png;
    QTest::newRow("bridge") << "bridge" << QPoint(557, 307) << QColor(128, 0, 128) << false << none << "png"
                            << png;
    QTest::newRow("cleared") << "mountains,清除" << QPoint(37, 185) << QColor(0, 0, 0) << false << none << "png"
                             << png;
    QTest::newRow("after a clear") << "water, clear ,mountains" << QPoint(37, 185) << QColor(0, 255, 255)
                                   << true << none << "png" << png;
    // A saved picture is drawn to the end at once, whatever speed is asked
    // for: the rays are in their last colour.
    QTest::newRow("slow speed") << "sunshine" << QPoint(620, 133) << QColor(255, 255, 0) << false
                                << QStringList{"--speed", "slow"} << "png" << png;

    // Every --run list runs, in the order given: the mountains of the first
    // stay under the water, and a clear in the second wipes them.
    const QStringList first = {"--run", "mountains"};
    QTest::newRow("two --run lists") << "water" << QPoint(37, 185) << QColor(0, 255, 255) << true << first
                                     << "png" << png;
    QTest::newRow("two --run lists, in order") << "clear" << QPoint(37, 185) << QColor(0, 0, 0) << false
                                               << first << "png" << png;
    QTest::newRow("English name capitalised") << "Mountains" << QPoint(37, 185) << QColor(0, 255, 255) << true
                                              << none << "png" << png;
    QTest::newRow("English name in capitals") << "SUNSHINE" << QPoint(533, 133) << QColor(255, 0, 0) << false
                                              << none << "png" << png;

    // The suffix names the format, in any case.
    const QPoint sun(533, 133);
    const QColor red(255, 0, 0);
    QTest::newRow("bmp") << "sunshine" << sun << red << false << none << "bmp" << QByteArray("bmp");
    QTest::newRow("jpg") << "sunshine" << sun << red << false << none << "jpg" << QByteArray("jpeg");
    QTest::newRow("JPEG") << "sunshine" << sun << red << false << none << "JPEG" << QByteArray("jpeg");
    QTest::newRow("PNG") << "sunshine" << sun << red << false << none << "PNG" << png;
}

void TestCommandLine::runAndSave()
{
    QFETCH(QString, commands);
    QFETCH(QPoint, probe);
    QFETCH(QColor, expected);
    QFETCH(bool, framed);
    QFETCH(QStringList, options);
    QFETCH(QString, suffix);
    QFETCH(QByteArray, format);

    const QString name = QString(QTest::currentDataTag()) + "." + suffix;
    const QString path = m_dir.filePath(name);
    QStringList arguments = options + QStringList{"--save", path};
    if (!commands.isEmpty())
        arguments << "--run" << commands;
    const Outcome run = runProgram(arguments, environmentWithout({"DISPLAY", "WAYLAND_DISPLAY"}));
    QVERIFY2(run.status == ExitOk, run.err.constData());

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QCOMPARE(image.size(), kDesignSize);
    // JPEG smears the one-pixel lines of the frame; the probes sit in solid
    // colour, which it keeps close.
    const bool lossy = format == "jpeg";
    const QColor seen = colourAt(image, probe.x(), probe.y());
    const int off = qAbs(seen.red() - expected.red()) + qAbs(seen.green() - expected.green())
                  + qAbs(seen.blue() - expected.blue());
    QVERIFY2(off <= (lossy ? 24 : 0), qPrintable(seen.name()));
    if (!lossy) {
        QCOMPARE(colourAt(image, 2, 300), framed ? QColor(255, 255, 0) : QColor(0, 128, 0));
        QCOMPARE(colourAt(image, 8, 300), QColor(0, 0, 255));
    }
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(name + ".").size(), 0);
}

void TestCommandLine::fontWarning_data()
{
    QTest::addColumn<QString>("fonts"); // the only font folder fontconfig knows; empty: the machine's own
    QTest::addColumn<bool>("warned");

    QTest::newRow("installed fonts") << QString() << false;
    QTest::newRow("no CJK font") << "/usr/share/fonts/truetype/dejavu" << true;
    QTest::newRow("a Kai font alone") << "/usr/share/fonts/truetype/arphic" << false;
}

void TestCommandLine::fontWarning()
{
    QFETCH(QString, fonts);
    QFETCH(bool, warned);

    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcessEnvironment environment = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY", "FONTCONFIG_FILE"});
    // A runtime folder of its own keeps Qt from warning about a missing one.
    environment.insert("XDG_RUNTIME_DIR", folder.path());
    if (!fonts.isEmpty()) {
        if (!QFileInfo(fonts).isDir())
            QSKIP(qPrintable(fonts + " is not installed"));
        QFile config(folder.filePath("fonts.conf"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("<?xml version=\"1.0\"?>\n<fontconfig><dir>" + fonts.toUtf8() + "</dir><cachedir>"
                     + folder.path().toUtf8() + "</cachedir></fontconfig>\n");
        config.close();
        environment.insert("FONTCONFIG_FILE", config.fileName());
    }

    const QString path = folder.filePath("sunshine.png");
    const Outcome run = runProgram({"--run", "sunshine", "--save", path}, environment);
    QVERIFY2(run.status == ExitOk, run.err.constData());
    QCOMPARE(QImage(path).size(), kDesignSize);
    const QString err = QString::fromUtf8(run.err);
    QCOMPARE(err.startsWith("sweepdraw: warning: ") && err.count('\n') == 1 && err.endsWith('\n'), warned);
    for (const char *package : {"fonts-arphic-gkai00mp", "fonts-arphic-ukai", "fonts-noto-cjk"})
        QCOMPARE(err.contains(package), warned);
}

void TestCommandLine::savedAtDesignSizeWhateverTheScale()
{
    // At scale 2 the off-screen platform's screen is only 400 pixels wide,
    // too narrow for a window at zoom 1; a saved picture is no window.
    QProcessEnvironment environment = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY"});
    environment.insert("QT_SCALE_FACTOR", "2");
    const QString path = m_dir.filePath("scaled.png");
    const Outcome run = runProgram({"--run", "sunshine", "--save", path}, environment);
    QVERIFY2(run.status == ExitOk, run.err.constData());
    const QImage image(path);
    QCOMPARE(image.size(), kDesignSize);
    QCOMPARE(colourAt(image, 620, 133), QColor(255, 255, 0));
}

void TestCommandLine::version()
{
    const Outcome run = runProgram({"--version"});
    QCOMPARE(run.status, ExitOk);
    QCOMPARE(run.out.trimmed(), QByteArray("sweepdraw " SWEEPDRAW_VERSION));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
