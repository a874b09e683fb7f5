#include "Commands.h"
#include "CoreInQt.h"
#include "Design.h"
#include "ExitStatus.h"
#include "ProgramRun.h"
#include "Recording.h"
#include "RoutineFiles.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <webp/demux.h>

#include <sys/inotify.h>
#include <unistd.h>

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

// What an animation file holds: how long each frame shows, in milliseconds,
// the last frame whole, and whether it loops.
struct Animation
{
    QList<int> delays;
    QImage last;
    bool loops = false;
};

Animation readGif(const QString &path)
{
    Animation animation;
    QImageReader reader(path, "gif");
    animation.loops = reader.loopCount() == -1;
    while (reader.canRead()) {
        animation.last = reader.read().convertToFormat(QImage::Format_RGB32);
        animation.delays << reader.nextImageDelay();
    }
    return animation;
}

Animation readWebp(const QString &path)
{
    Animation animation;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return animation;
    const QByteArray bytes = file.readAll();
    const WebPData data = {reinterpret_cast<const uint8_t *>(bytes.constData()), static_cast<size_t>(bytes.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder *decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info)) {
        WebPAnimDecoderDelete(decoder);
        return animation;
    }
    animation.loops = info.loop_count == 0;
    int before = 0;
    while (WebPAnimDecoderHasMoreFrames(decoder)) {
        uint8_t *pixels = nullptr;
        int end = 0;
        if (!WebPAnimDecoderGetNext(decoder, &pixels, &end))
            break;
        animation.delays << end - before;
        before = end;
        animation.last = QImage(pixels, static_cast<int>(info.canvas_width), static_cast<int>(info.canvas_height),
                                QImage::Format_RGBA8888)
                             .convertToFormat(QImage::Format_RGB32);
    }
    WebPAnimDecoderDelete(decoder);
    return animation;
}

// A recorded frame's time, and the last frame's, in milliseconds.
constexpr int kFrameMs = static_cast<int>(Recording::kFrameTime.count());
constexpr int kHoldMs = static_cast<int>(Recording::kHold.count());

// `count` frames of the recording's frame time, the last held instead.
QList<int> framesOf(int count)
{
    QList<int> delays(count - 1, kFrameMs);
    delays << kHoldMs;
    return delays;
}

// The labels and the buttons blacked out: GIF draws their lettering's
// antialiasing in the nearest colours its palette has.
QImage withoutLettering(QImage image)
{
    QPainter painter(&image);
    for (const QRect &lettering : {QRect(72, 368, 225, 33), QRect(128, 416, 121, 25), QRect(136, 448, 97, 25),
                                   QRect(300, 492, 473, 33)})
        painter.fillRect(lettering, Qt::black);
    return image;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runAndSave_data();
    void runAndSave();
    void routineFile_data();
    void routineFile();
    void trace();
    void record_data();
    void record();
    void fontWarning_data();
    void fontWarning();
    void savedAtDesignSizeWhateverTheScale();
    void learnersFolderLeftAlone_data();
    void learnersFolderLeftAlone();
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
    QCOMPARE(image.size(), toQSize(kDesignSize));
    // JPEG smears the one-pixel lines of the frame; the probes sit in solid
    // colour, which it keeps close.
    const bool lossy = format == "jpeg";
    const QColor seen = image.pixelColor(probe.x(), probe.y());
    const int off = qAbs(seen.red() - expected.red()) + qAbs(seen.green() - expected.green())
                  + qAbs(seen.blue() - expected.blue());
    QVERIFY2(off <= (lossy ? 24 : 0), qPrintable(seen.name()));
    if (!lossy) {
        QCOMPARE(image.pixelColor(2, 300), framed ? QColor(255, 255, 0) : QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(8, 300), QColor(0, 0, 255));
    }
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(name + ".").size(), 0);
}

void TestCommandLine::routineFile_data()
{
    QTest::addColumn<QByteArray>("source"); // the file's text; empty for the sunshine's own file
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message"); // a line of stderr, @ standing for the file
    QTest::addColumn<QByteArray>("language"); // LC_ALL

    const QByteArray undeclared("#include \"Sweep.h\"\nnamespace sweepdraw {\nvoid DrawX(int n) { r = n; }\n");
    const QByteArray dividing("#include \"DrawingSurface.h\"\nnamespace sweepdraw {\n"
                              "void DrawX(DrawingSurface &surface)\n{\n    int n = 0;\n    n = 1 / n;\n}\n}\n");
    const QByteArray looping("#include \"DrawingSurface.h\"\n#include \"Sweep.h\"\nnamespace sweepdraw {\n"
                             "void DrawX(DrawingSurface &surface)\n{\n    Sweep(0, 1, 0, [&](double t) {});\n}\n}\n");
    const QByteArray intCounter("#include \"DrawingSurface.h\"\n#include \"Sweep.h\"\nnamespace sweepdraw {\n"
                                "void DrawX(DrawingSurface &surface)\n{\n    Sweep(0, 1, 1, [&](int t) {});\n}\n}\n");
    const QByteArray c("C"), zh("zh_CN.UTF-8");
    QTest::newRow("the sunshine's own file") << QByteArray() << int(ExitOk) << QString() << c;
    QTest::newRow("refused") << undeclared << int(ExitUsage)
                             << "@:3:21: error: 'r' was not declared in this scope; a variable needs its type: "
                                "'double r = ...'" << c;
    QTest::newRow("refused, in Chinese")
        << undeclared << int(ExitUsage) << "@:3:21: error: 'r' 在此作用域中尚未声明；变量需要写出类型：'double r = ...'" << zh;
    QTest::newRow("run-time error") << dividing << int(ExitFailure)
                                    << "sweepdraw: run-time error: @:6: error: int division by zero" << c;
    QTest::newRow("run-time error, in Chinese") << dividing << int(ExitFailure)
                                                << "sweepdraw: run-time error: @:6: error: int 除以零" << zh;
    QTest::newRow("the core's fault, in Chinese")
        << looping << int(ExitFailure) << "sweepdraw: run-time error: @:6: error: Sweep：步长 0 无法从 0 前进到 1" << zh;
    QTest::newRow("a phrase among the values, in Chinese")
        << intCounter << int(ExitUsage) << "@:6:24: error: Sweep 的计数器是 double 类型" << zh;
}

void TestCommandLine::routineFile()
{
    QFETCH(QByteArray, source);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QByteArray, language);

    QString file = QStringLiteral(SWEEPDRAW_SCENES_DIR "/Sunshine.cpp");
    if (!source.isEmpty()) {
        file = m_dir.filePath(QStringLiteral("routine.cpp"));
        QFile written(file);
        QVERIFY(written.open(QIODevice::WriteOnly) && written.write(source) == source.size());
    }
    const QString path = m_dir.filePath(QString(QTest::currentDataTag()) + ".png");
    QProcessEnvironment environment = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY"});
    environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(language));
    const Outcome run = runProgram({"--run", file + ",bridge", "--save", path}, environment);
    QCOMPARE(run.status, status);
    if (status != ExitOk) {
        QVERIFY2(QString::fromUtf8(run.err).split(u'\n').contains(QString(message).replace("@", file)), run.err);
        QVERIFY(!QFile::exists(path));
        return;
    }
    const QString compiled = m_dir.filePath(QStringLiteral("compiled.png"));
    QCOMPARE(runProgram({"--run", "sunshine,bridge", "--save", compiled}, environment).status, int(ExitOk));
    QCOMPARE(QImage(path), QImage(compiled));
}

// The trace says what a command made, scenes and routines alike, with no
// display; written to a file, it holds what standard output shows; a
// run-time error leaves the lines made before it, and status 1.
void TestCommandLine::trace()
{
    const QProcessEnvironment environment = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY"});
    const Outcome scene = runProgram({"--run", "sunshine", "--trace", "-"}, environment);
    QCOMPARE(scene.status, int(ExitOk));
    QVERIFY(scene.out.startsWith("SetPenWidth 3\nDrawCircle 8000 2000 500 #ffff00\nSetPenWidth 66\n"));
    QCOMPARE(scene.out.count('\n'), tallyOf(Button::Cmdyg).operations);

    const Outcome routine =
        runProgram({"--run", QStringLiteral(SWEEPDRAW_SCENES_DIR "/Sunshine.cpp"), "--trace", "-"}, environment);
    QCOMPARE(routine.status, int(ExitOk));
    QVERIFY(routine.out == scene.out);

    const QString path = m_dir.filePath(QStringLiteral("trace.txt"));
    QCOMPARE(runProgram({"--run", "sunshine", "--trace", path}, environment).status, int(ExitOk));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == scene.out);

    const QString failing = m_dir.filePath(QStringLiteral("failing.cpp"));
    QFile written(failing);
    const QByteArray source = "#include \"DrawingSurface.h\"\n#include \"Palette.h\"\n#include \"RuntimeError.h\"\n"
                              "namespace sweepdraw {\nvoid DrawX(DrawingSurface &surface)\n{\n"
                              "    check(surface.DrawBox(1.5f, -2, 1e9, 0.1, PaletteColor(9)));\n"
                              "    check(surface.SetPenWidth(0));\n}\n}\n";
    QVERIFY(written.open(QIODevice::WriteOnly) && written.write(source) == source.size());
    written.close();
    const Outcome failed = runProgram({"--run", "clear," + failing, "--trace", "-"}, environment);
    QCOMPARE(failed.status, int(ExitFailure));
    QCOMPARE(failed.out, QByteArray("ClearSurface\nDrawBox 1.5 -2 1e+09 0.100000001 #0000ff\n"));
    QVERIFY2(failed.err.contains("run-time error: " + QFile::encodeName(failing) + ":8: error: SetPenWidth"),
             failed.err);
}

void TestCommandLine::record_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QList<int>>("delays");

    // The mountains are 200,003 operations: at the normal speed, 11,200 to a
    // frame, they land in 18 frames after the empty window's; at the fast
    // one, 44,800 to a frame, in 5.
    const QStringList none;
    QTest::newRow("GIF") << "mountains" << none << "gif" << framesOf(19);
    QTest::newRow("WebP") << "mountains" << none << "webp" << framesOf(19);
    QTest::newRow("fast") << "mountains" << QStringList{"--speed", "fast"} << "WEBP" << framesOf(6);
    QTest::newRow("with --save") << "mountains" << QStringList{"--save", "@.png"} << "gif" << framesOf(19);
    // At the instant speed, a frame after each command; a frame that shows
    // no change only makes the one before last longer.
    const QStringList instant = {"--speed", "instant"};
    QTest::newRow("instant") << "mountains,water" << instant << "webp" << framesOf(3);
    QTest::newRow("unchanged frame") << "clear,mountains" << instant << "gif" << QList<int>{2 * kFrameMs, kHoldMs};
}

void TestCommandLine::record()
{
    QFETCH(QString, commands);
    QFETCH(QStringList, options);
    QFETCH(QString, suffix);
    QFETCH(QList<int>, delays);

    const QString name = m_dir.filePath(QString(QTest::currentDataTag()).replace(' ', '-'));
    for (QString &option : options)
        option.replace('@', name);
    const QProcessEnvironment environment = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY"});
    const Outcome recorded = runProgram(QStringList{"--run", commands, "--record", name + "." + suffix} + options,
                                        environment);
    QVERIFY2(recorded.status == ExitOk, recorded.err.constData());
    const Outcome saved = runProgram({"--run", commands, "--save", name + "-saved.png"}, environment);
    QVERIFY2(saved.status == ExitOk, saved.err.constData());
    const QImage expected = QImage(name + "-saved.png").convertToFormat(QImage::Format_RGB32);

    const bool gif = suffix.toLower() == "gif";
    const Animation animation = gif ? readGif(name + "." + suffix) : readWebp(name + "." + suffix);
    QCOMPARE(animation.delays, delays);
    QVERIFY(animation.loops);
    if (gif)
        QCOMPARE(withoutLettering(animation.last), withoutLettering(expected));
    else
        QCOMPARE(animation.last, expected);
    if (options.contains("--save"))
        QCOMPARE(QImage(name + ".png").convertToFormat(QImage::Format_RGB32), expected);
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
    QCOMPARE(QImage(path).size(), toQSize(kDesignSize));
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
    QCOMPARE(image.size(), toQSize(kDesignSize));
    QCOMPARE(image.pixelColor(620, 133), QColor(255, 255, 0));
}

void TestCommandLine::learnersFolderLeftAlone_data()
{
    QTest::addColumn<QStringList>("arguments"); // @ standing for a scratch folder

    QTest::newRow("--save") << QStringList{"--run", "clear", "--save", "@/out.png"};
    QTest::newRow("--record") << QStringList{"--run", "clear", "--record", "@/out.gif"};
}

void TestCommandLine::learnersFolderLeftAlone()
{
    QFETCH(QStringList, arguments);

    const QTemporaryDir data;
    QVERIFY(data.isValid());
    // Where the program, under its own name, keeps the learner's routines
    // with this data folder.
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    const QString name = QCoreApplication::applicationName();
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QCoreApplication::setApplicationName(QStringLiteral("sweepdraw"));
    const QString folder = RoutineFiles::folder();
    QCoreApplication::setApplicationName(name);
    dataHome.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dataHome);
    QVERIFY(folder.startsWith(data.path()));
    QVERIFY(QDir().mkpath(folder));
    QFile routine(folder + QStringLiteral("/MyRoutine.cpp"));
    QVERIFY(routine.open(QIODevice::WriteOnly) && routine.write("// the learner's\n") > 0);
    routine.close();

    // Whatever touches the folder or a file in it, a look at its entries
    // included, is an event here.
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    const auto closeWatch = qScopeGuard([watch] { ::close(watch); });
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(folder).constData(),
                                IN_OPEN | IN_ACCESS | IN_MODIFY | IN_CREATE | IN_DELETE | IN_MOVE)
            >= 0);

    QProcessEnvironment environment = environmentWithout({"DISPLAY", "WAYLAND_DISPLAY"});
    environment.insert("XDG_DATA_HOME", data.path());
    for (QString &argument : arguments)
        argument.replace('@', m_dir.path());
    const Outcome run = runProgram(arguments, environment);
    QVERIFY2(run.status == ExitOk, run.err.constData());

    QStringList touched;
    alignas(inotify_event) char events[4096];
    for (ssize_t size; (size = ::read(watch, events, sizeof events)) > 0;)
        for (ssize_t at = 0; at < size;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + at);
            touched << (event->len > 0 ? QString::fromLocal8Bit(event->name) : folder);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    QVERIFY2(touched.isEmpty(), qPrintable(touched.join(", ")));
}

void TestCommandLine::version()
{
    const Outcome run = runProgram({"--version"});
    QCOMPARE(run.status, ExitOk);
    QCOMPARE(run.out.trimmed(), QByteArray("sweepdraw " SWEEPDRAW_VERSION));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
