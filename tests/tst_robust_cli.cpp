#include "CoreInQt.h"
#include "Design.h"
#include "ExitStatus.h"
#include "ProgramRun.h"
#include "robust/ProgramFolder.h"
#include "Speed.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

// The real program given bad input, or no display to work with: each case
// ends by itself, with its documented status and one plain line on stderr,
// not by a signal, and leaves no file behind, whole or partial.

using namespace sweepdraw;
using namespace sweepdraw::test;

namespace {

// A display number with no X server and no lock file.
QString unusedDisplay()
{
    for (int n = 90; n < 200; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
            && !QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            return QStringLiteral(":%1").arg(n);
    }
    return QStringLiteral(":199");
}

// Checks that the program ended by itself with `status` and said one line,
// starting with its name and holding `fragment`, or starting with the
// fragment, as a routine's refusal does, on stderr, and nothing on stdout;
// nothing on either with no fragment. With `lastLineOnly`, lines of Qt's own before it are allowed.
void checkOutcome(const Outcome &outcome, ExitStatus status, const QString &fragment, bool lastLineOnly = false)
{
    QVERIFY2(outcome.finished, "the program did not end");
    QVERIFY2(!outcome.crashed, "the program was ended by a signal");
    QVERIFY2(outcome.out.isEmpty(), outcome.out.constData());
    const QString err = QString::fromLocal8Bit(outcome.err);
    QVERIFY2(outcome.status == status,
             qPrintable(QStringLiteral("exit status %1, expected %2; stderr: %3")
                            .arg(outcome.status)
                            .arg(int(status))
                            .arg(err)));
    if (fragment.isEmpty()) {
        QVERIFY2(err.isEmpty(), qPrintable(err));
        return;
    }
    QVERIFY2(err.endsWith(QLatin1Char('\n')), qPrintable(err));
    QStringList lines = err.chopped(1).split(QLatin1Char('\n'));
    if (!lastLineOnly)
        QVERIFY2(lines.size() == 1, qPrintable(QStringLiteral("more than one line: ") + err));
    const QString line = lines.constLast();
    QVERIFY2((line.startsWith(QLatin1String("sweepdraw: ")) && line.contains(fragment)) || line.startsWith(fragment),
             qPrintable(QStringLiteral("expected \"%1\" in: %2").arg(fragment, line)));
}

} // namespace

class TestRobustCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void badInput_data();
    void badInput();
    void existingFileReplacedWhole();
    void limits_data();
    void limits();
    void cleanup();
    void noDisplay_data();
    void noDisplay();
    void waylandWithoutItsPlugin();

private:
    QProcessEnvironment environment() const;

    QTemporaryDir m_runtime; // the session's runtime folder, as a desktop has one
    std::unique_ptr<QTemporaryDir> m_scratch;
    QString m_mounted; // a small file system of the case's own, if any
};

enum class Limit { FullDisk, ReadOnly, Fifo, FileSize, Terminated, SignalledDrawing, None };

void TestRobustCommandLine::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    QVERIFY(QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QFile::exists(QStringLiteral(SWEEPDRAW_EXECUTABLE)));
}

void TestRobustCommandLine::init()
{
    // Every case starts with a folder holding an earlier picture and empty
    // subfolders named like a picture and an animation, and must leave them
    // exactly as they were.
    m_scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(m_scratch->isValid());
    QVERIFY(QDir(m_scratch->path()).mkdir(QStringLiteral("folder.png")));
    QVERIFY(QDir(m_scratch->path()).mkdir(QStringLiteral("folder.gif")));
    QVERIFY(writeFile(m_scratch->filePath(QStringLiteral("old.png")), "an earlier picture"));
    // And routine files that are not, or hold what no message may print raw.
    QCOMPARE(::mkfifo(QFile::encodeName(m_scratch->filePath(QStringLiteral("pipe.cpp"))).constData(), 0600), 0);
    QVERIFY(QDir(m_scratch->path()).mkdir(QStringLiteral("folder.cpp")));
    QVERIFY(writeFile(m_scratch->filePath(QStringLiteral("esc.cpp")), "\x1b[2J"));
    QVERIFY(writeFile(m_scratch->filePath(QStringLiteral("nul.cpp")), QByteArray("\0", 1)));
    QVERIFY(writeFile(m_scratch->filePath(QStringLiteral("bidi.cpp")), "\u202e"));
}

QProcessEnvironment TestRobustCommandLine::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    return environment;
}

void TestRobustCommandLine::badInput_data()
{
    QTest::addColumn<QStringList>("arguments"); // "@" stands for the scratch folder
    QTest::addColumn<ExitStatus>("status");
    QTest::addColumn<QString>("message");

    const QString commands =
        "the commands are mountains (高山), water (流水), sunshine (阳光), bridge (大桥), clear (清除)";
    QTest::newRow("empty --run list") << QStringList{"--run", "", "--save", "@/out.png"} << ExitUsage
                                      << "unknown command '' in --run; " + commands;
    QTest::newRow("blank --run list") << QStringList{"--run", "  ", "--save", "@/out.png"} << ExitUsage
                                      << "unknown command '' in --run";
    QTest::newRow("empty name inside the list")
        << QStringList{"--run", "mountains,,water", "--save", "@/out.png"} << ExitUsage << "unknown command ''";
    QTest::newRow("list of commas only") << QStringList{"--run", ",", "--save", "@/out.png"} << ExitUsage
                                         << "unknown command ''";
    QTest::newRow("bad second --run list")
        << QStringList{"--run", "water", "--run", "volcano", "--save", "@/out.png"} << ExitUsage
        << "unknown command 'volcano' in --run";
    QTest::newRow("exit is not a command") << QStringList{"--run", "exit", "--save", "@/out.png"} << ExitUsage
                                           << "unknown command 'exit' in --run; " + commands;
    QTest::newRow("nor is its caption") << QStringList{"--run", "退出", "--save", "@/out.png"} << ExitUsage
                                        << "unknown command '退出' in --run";
    QTest::newRow("caption with a letter") << QStringList{"--run", "高山s", "--save", "@/out.png"} << ExitUsage
                                           << "unknown command '高山s' in --run";
    QTest::newRow("--run without its list") << QStringList{"--save", "@/out.png", "--run"} << ExitUsage
                                            << "Missing value after '--run'";
    QTest::newRow("unknown long option") << QStringList{"--colour", "--save", "@/out.png"} << ExitUsage
                                         << "Unknown option 'colour'";
    QTest::newRow("unknown short option") << QStringList{"-q", "--save", "@/out.png"} << ExitUsage
                                          << "Unknown option 'q'";
    QTest::newRow("option with a value it does not take")
        << QStringList{"--version=2", "--save", "@/out.png"} << ExitUsage << "Unexpected value after '--version'";
    QTest::newRow("stray argument") << QStringList{"--save", "@/out.png", "mountains"} << ExitUsage
                                    << "unexpected argument 'mountains'";
    QTest::newRow("unknown speed") << QStringList{"--speed", "warp", "--save", "@/out.png"} << ExitUsage
                                   << "unknown speed 'warp' for --speed; the speeds are " + QString::fromStdString(speedNames());
    QTest::newRow("speed in capitals") << QStringList{"--speed", "FAST", "--save", "@/out.png"} << ExitUsage
                                       << "unknown speed 'FAST'";
    QTest::newRow("--speed given twice") << QStringList{"--speed", "fast", "--speed", "fast", "--save", "@/out.png"}
                                         << ExitUsage << "--speed is given more than once ('fast', 'fast')";
    QTest::newRow("negative --steps") << QStringList{"--steps", "-5", "--save", "@/out.png"} << ExitUsage
                                      << "--steps takes one count of steps, 0 or more, not '-5'";
    QTest::newRow("control characters in an argument")
        << QStringList{"--run", "sun\x1b[2Jshine\rx", "--save", "@/out.png"} << ExitUsage
        << "unknown command 'sun\\x1b[2Jshine\\x0dx' in --run";
    QTest::newRow("--save with only a suffix") << QStringList{"--run", "water", "--save", "@/.png"} << ExitUsage
                                               << "--save: '@/.png' has no suffix to name its format";
    QTest::newRow("--save with a format too small for the window")
        << QStringList{"--run", "water", "--save", "@/out.ico"} << ExitUsage
        << "--save: the suffix of '@/out.ico' names no format the program can write";
    QTest::newRow("--speed without its value") << QStringList{"--save", "@/out.png", "--speed"} << ExitUsage
                                               << "Missing value after '--speed'";
    QTest::newRow("--save with an empty name") << QStringList{"--run", "water", "--save", ""} << ExitUsage
                                               << "--save needs a file name";
    QTest::newRow("--save given twice") << QStringList{"--run", "water", "--save", "@/a.png", "--save", "@/b.png"}
                                        << ExitUsage
                                        << "--save is given more than once ('@/a.png', '@/b.png'); give one file "
                                           "to save the picture to";
    QTest::newRow("--record given twice")
        << QStringList{"--run", "water", "--record", "@/a.gif", "--record", "@/b.webp"} << ExitUsage
        << "--record is given more than once ('@/a.gif', '@/b.webp'); give one file to record the drawing to";
    QTest::newRow("bad list, existing file kept") << QStringList{"--run", "water,", "--save", "@/old.png"} << ExitUsage
                                                  << "unknown command ''";
    QTest::newRow("--save without a suffix") << QStringList{"--run", "water", "--save", "@/out"} << ExitUsage
                                             << "--save: '@/out' has no suffix to name its format; "
                                                "the suffixes that work are ";
    QTest::newRow("--save with a suffix Qt cannot write")
        << QStringList{"--run", "sunshine", "--save", "@/out.gif"} << ExitUsage
        << "--save: the suffix of '@/out.gif' names no format the program can write; the suffixes that work are ";
    QTest::newRow("--record with a suffix it cannot record")
        << QStringList{"--run", "sunshine", "--record", "@/out.png"} << ExitUsage
        << "--record: the suffix of '@/out.png' names no format the program can record; the suffixes that work "
           "are gif, webp";
    QTest::newRow("name of a folder, with a slash")
        << QStringList{"--run", "bridge", "--save", "@/folder.png/"} << ExitUsage
        << "--save: '@/folder.png/' has no suffix";

    QTest::newRow("folder that does not exist")
        << QStringList{"--run", "water", "--save", "@/missing/out.png"} << ExitFailure
        << "cannot save @/missing/out.png: No such file or directory";
    QTest::newRow("folder the program cannot write to")
        << QStringList{"--run", "sunshine", "--save", "/proc/sweepdraw-robust.png"} << ExitFailure
        << "cannot save /proc/sweepdraw-robust.png: ";
    QTest::newRow("--record into a folder the program cannot write to")
        << QStringList{"--run", "mountains", "--record", "/proc/sweepdraw-robust.gif"} << ExitFailure
        << "cannot record /proc/sweepdraw-robust.gif: ";
    QTest::newRow("--record into a folder that does not exist, with --save")
        << QStringList{"--run", "water", "--record", "@/missing/out.webp", "--save", "@/out.png"} << ExitFailure
        << "cannot record @/missing/out.webp: No such file or directory";
    QTest::newRow("name of a folder") << QStringList{"--run", "bridge", "--save", "@/folder.png"} << ExitFailure
                                      << "cannot save @/folder.png: Is a directory";
    QTest::newRow("--record to the name of a folder")
        << QStringList{"--run", "bridge", "--record", "@/folder.gif"} << ExitFailure
        << "cannot record @/folder.gif: Is a directory";
    QTest::newRow("file where a folder should be")
        << QStringList{"--run", "mountains", "--save", "@/old.png/out.png"} << ExitFailure
        << "cannot save @/old.png/out.png: Not a directory";
    QTest::newRow("routine file that is a FIFO")
        << QStringList{"--run", "@/pipe.cpp", "--save", "@/out.png"} << ExitUsage
        << "@/pipe.cpp: error: cannot be read: not a regular file";
    QTest::newRow("routine file that is a folder")
        << QStringList{"--run", "@/folder.cpp", "--save", "@/out.png"} << ExitUsage
        << "@/folder.cpp: error: cannot be read: Is a directory";
    QTest::newRow("routine file that is not there")
        << QStringList{"--run", "@/missing.cpp", "--save", "@/out.png"} << ExitUsage
        << "@/missing.cpp: error: cannot be read: No such file or directory";
    QTest::newRow("control characters in a routine's name")
        << QStringList{"--run", "@/mis\x1b[2Jsing\n.cpp", "--save", "@/out.png"} << ExitUsage
        << "@/mis\\x1b[2Jsing\\n.cpp: error: cannot be read: No such file or directory";
    QTest::newRow("escape in a routine's code") << QStringList{"--run", "@/esc.cpp", "--save", "@/out.png"}
                                                << ExitUsage << "@/esc.cpp:1:1: error: unexpected character '\\x1b'";
    QTest::newRow("NUL in a routine's code") << QStringList{"--run", "@/nul.cpp", "--save", "@/out.png"}
                                             << ExitUsage << "@/nul.cpp:1:1: error: unexpected character '\\x00'";
    QTest::newRow("direction mark in a routine's code")
        << QStringList{"--run", "@/bidi.cpp", "--save", "@/out.png"} << ExitUsage
        << "@/bidi.cpp:1:1: error: unexpected character '\\u202e'";
    QTest::newRow("name too long") << QStringList{"--run", "clear", "--save", "@/" + QString(300, 'x') + ".png"}
                                   << ExitFailure << "File name too long";
}

void TestRobustCommandLine::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(ExitStatus, status);
    QFETCH(QString, message);

    const QString scratch = m_scratch->path();
    for (QString &argument : arguments)
        argument.replace(QLatin1Char('@'), scratch);
    message.replace(QLatin1Char('@'), scratch);

    const QStringList before = snapshot(scratch);
    const Outcome outcome = runProgram(arguments, environment(), scratch);
    checkOutcome(outcome, status, message);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(snapshot(scratch), before);
    QCOMPARE(contents(scratch + "/old.png"), QByteArray("an earlier picture"));
    for (const char *suffix : {"png", "gif"})
        QVERIFY(!QFile::exists(QString("/proc/sweepdraw-robust.") + suffix));
}

void TestRobustCommandLine::existingFileReplacedWhole()
{
    // A second name for the earlier picture: the program must put a new
    // file in its place, never write into the one that is there, so that a
    // reader of the old file sees it whole.
    const QString scratch = m_scratch->path();
    const QString path = scratch + "/old.png";
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(scratch + "/hard.png").constData()),
             0);

    const Outcome outcome = runProgram({"--run", "water,bridge", "--save", path}, environment(), scratch);
    QVERIFY(outcome.finished && !outcome.crashed);
    QVERIFY2(outcome.status == ExitOk && outcome.err.isEmpty(), outcome.err.constData());

    QCOMPARE(contents(scratch + "/hard.png"), QByteArray("an earlier picture"));
    const QImage saved(path);
    QCOMPARE(saved.size(), toQSize(kDesignSize));
    QCOMPARE(saved.pixelColor(557, 307), QColor(128, 0, 128)); // the bridge's large arch
    QCOMPARE(QDir(scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({"bidi.cpp", "esc.cpp", "folder.cpp", "folder.gif", "folder.png", "hard.png", "nul.cpp",
                          "old.png"}));
}

void TestRobustCommandLine::cleanup()
{
    if (!m_mounted.isEmpty())
        ::umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
    m_mounted.clear();
}

void TestRobustCommandLine::limits_data()
{
    QTest::addColumn<Limit>("limit");
    // Run by sh with the program as $0 and the folder as $1.
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("signal"); // sent once the program draws, for SignalledDrawing

    QTest::newRow("full file system") << Limit::FullDisk
                                      << "exec \"$0\" --run sunshine,water,bridge,mountains --save \"$1/old.png\""
                                      << int(ExitFailure) << "cannot save @/old.png: No space left on device" << 0;
    QTest::newRow("read-only file system")
        << Limit::ReadOnly << "exec \"$0\" --run water --save \"$1/old.png\"" << int(ExitFailure)
        << "cannot save @/old.png: Read-only file system" << 0;
    QTest::newRow("FIFO") << Limit::Fifo << "exec \"$0\" --run sunshine --save \"$1/fifo.png\"" << int(ExitFailure)
                          << "cannot save @/fifo.png: it is not a regular file" << 0;
    QTest::newRow("file size limit") << Limit::FileSize
                                     << "ulimit -f 1; exec \"$0\" --run sunshine --save \"$1/old.png\""
                                     << int(ExitFailure) << "cannot save @/old.png: File too large" << 0;
    QTest::newRow("SIGTERM while recording")
        << Limit::Terminated << "exec \"$0\" --run sunshine,water,bridge,mountains --speed slow --record \"$1/old.gif\""
        << int(ExitSignal) + SIGTERM << "" << 0;
    // One signal is enough, whatever runs, even a loop that draws nothing
    // and, with no budget of steps, never ends.
    QTest::newRow("SIGTERM while --save runs a loop that draws nothing")
        << Limit::SignalledDrawing << "exec \"$0\" --run \"$1/Nothing.cpp\" --steps 0 --save \"$1/old.png\""
        << int(ExitSignal) + SIGTERM << "" << SIGTERM;
    QTest::newRow("SIGINT while --record --speed instant runs it")
        << Limit::SignalledDrawing
        << "exec \"$0\" --run \"$1/Nothing.cpp\" --steps 0 --speed instant --record \"$1/old.gif\""
        << int(ExitSignal) + SIGINT << "" << SIGINT;
    QTest::newRow("SIGHUP while --record runs it at its pace")
        << Limit::SignalledDrawing << "exec \"$0\" --run water,\"$1/Nothing.cpp\" --steps 0 --record \"$1/old.webp\""
        << int(ExitSignal) + SIGHUP << "" << SIGHUP;
    QTest::newRow("SIGTERM while the window runs it")
        << Limit::SignalledDrawing << "exec \"$0\" --run \"$1/Nothing.cpp\"" << int(ExitSignal) + SIGTERM << ""
        << SIGTERM;
    QTest::newRow("name not valid UTF-8")
        << Limit::None << "exec \"$0\" --run sunshine --save \"$1/$(printf '\\377\\376').png\"" << int(ExitUsage)
        << "the argument '@/\\xff\\xfe.png' is not valid text in the system's encoding" << 0;
}

void TestRobustCommandLine::limits()
{
    QFETCH(Limit, limit);
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(int, signal);

    QString folder = m_scratch->path();
    if (limit == Limit::FullDisk || limit == Limit::ReadOnly) {
        folder = m_scratch->filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(folder));
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP(qPrintable(QStringLiteral("a small file system to fill needs root: mount: %1")
                                 .arg(QString::fromLocal8Bit(std::strerror(errno)))));
        m_mounted = folder;
        QVERIFY(writeFile(folder + "/old.png", "an earlier picture"));
        if (limit == Limit::FullDisk)
            QVERIFY(fillUpTo(folder, 8192));
        else
            QCOMPARE(::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                             "size=64k"),
                     0);
    }
    if (limit == Limit::Fifo)
        QCOMPARE(::mkfifo(QFile::encodeName(folder + "/fifo.png").constData(), 0600), 0);
    if (limit == Limit::Terminated)
        QVERIFY(writeFile(folder + "/old.gif", "an earlier animation"));
    if (limit == Limit::SignalledDrawing)
        QVERIFY(writeFile(folder + "/Nothing.cpp", kEndlessRoutine));
    message.replace(QLatin1Char('@'), folder);

    const auto terminate = [&](QProcess &process) {
        const QDeadlineTimer deadline(kProgramTimeoutMs);
        while (!writesUnder(process.processId(), folder) && !deadline.hasExpired()
               && process.state() == QProcess::Running)
            QTest::qWait(10);
        if (process.state() == QProcess::Running)
            ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    };
    // Once the program has spent a second drawing: whenever the signal
    // comes, the program must end with its status, so the wait decides
    // nothing but that the signal comes mid-loop.
    const auto signalDrawing = [&](QProcess &process) {
        const QDeadlineTimer deadline(kProgramTimeoutMs);
        while (ticksUsed(process.processId()) < ::sysconf(_SC_CLK_TCK) && !deadline.hasExpired()
               && process.state() == QProcess::Running)
            QTest::qWait(10);
        if (process.state() == QProcess::Running)
            ::kill(static_cast<pid_t>(process.processId()), signal);
    };
    std::function<void(QProcess &)> whileRunning;
    if (limit == Limit::Terminated)
        whileRunning = terminate;
    if (limit == Limit::SignalledDrawing)
        whileRunning = signalDrawing;
    const QStringList before = snapshot(folder);
    const Outcome outcome = runProgram({"-c", script, SWEEPDRAW_EXECUTABLE, folder}, environment(), folder,
                                       QStringLiteral("/bin/sh"), whileRunning);
    checkOutcome(outcome, ExitStatus(status), message);
    // Whatever stopped it, the folder is as it was: the earlier files whole,
    // the FIFO still one, and nothing beside them.
    QCOMPARE(snapshot(folder), before);
}

void TestRobustCommandLine::noDisplay_data()
{
    QTest::addColumn<QStringList>("set"); // NAME=value; "@" stands for a display with no server
    QTest::addColumn<QStringList>("unset");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<ExitStatus>("status");
    QTest::addColumn<QString>("message");

    const QStringList all = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    QTest::newRow("no display at all, with commands to run")
        << QStringList() << all << QStringList{"--run", "sunshine"} << ExitUsage
        << "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); use --save FILE.png to draw "
           "without one";
    QTest::newRow("display with no server behind it")
        << QStringList{"DISPLAY=@"} << QStringList{"WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}
        << QStringList{"--run", "mountains"} << ExitUsage
        << "cannot open the window: no display answers (DISPLAY='@', WAYLAND_DISPLAY unset)";
    QTest::newRow("X11 asked for, no display named")
        << QStringList{"QT_QPA_PLATFORM=xcb"} << QStringList{"DISPLAY", "WAYLAND_DISPLAY"} << QStringList() << ExitUsage
        << "cannot open the window: no display answers (DISPLAY unset, WAYLAND_DISPLAY unset)";
    QTest::newRow("X11 asked for in capitals")
        << QStringList{"QT_QPA_PLATFORM=XCB", "DISPLAY=@"} << QStringList{"WAYLAND_DISPLAY"} << QStringList() << ExitUsage
        << "cannot open the window: no display answers (DISPLAY='@', WAYLAND_DISPLAY unset)";
    // A platform that is not installed is no fault of the display's, even
    // with displays named.
    QTest::newRow("platform that is not installed")
        << QStringList{"QT_QPA_PLATFORM=sweepdraw-none", "DISPLAY=@", "WAYLAND_DISPLAY=sweepdraw-none"}
        << QStringList() << QStringList() << ExitUsage
        << "cannot open the window: the platform 'sweepdraw-none' named in QT_QPA_PLATFORM could not be "
           "loaded; the platforms here are ";
    QTest::newRow("platform that is not installed, with options")
        << QStringList{"QT_QPA_PLATFORM=sweepdraw-none:size=800x600"} << QStringList{"DISPLAY", "WAYLAND_DISPLAY"}
        << QStringList{"--run", "water"} << ExitUsage << "the platform 'sweepdraw-none' named in QT_QPA_PLATFORM";
    QTest::newRow("missing platform, then X11 with no server")
        << QStringList{"QT_QPA_PLATFORM=sweepdraw-none;xcb", "DISPLAY=@"} << QStringList{"WAYLAND_DISPLAY"}
        << QStringList() << ExitUsage << "cannot open the window: no display answers (DISPLAY='@', WAYLAND_DISPLAY unset)";
    QTest::newRow("Wayland display that is not there")
        << QStringList{"WAYLAND_DISPLAY=sweepdraw-none"} << QStringList{"DISPLAY", "QT_QPA_PLATFORM"}
        << QStringList() << ExitUsage
        << "cannot open the window: no display answers (DISPLAY unset, WAYLAND_DISPLAY='sweepdraw-none')";
}

void TestRobustCommandLine::noDisplay()
{
    QFETCH(QStringList, set);
    QFETCH(QStringList, unset);
    QFETCH(QStringList, arguments);
    QFETCH(ExitStatus, status);
    QFETCH(QString, message);

    const QString display = unusedDisplay();
    message.replace(QLatin1Char('@'), display);
    QProcessEnvironment changed = environment();
    for (const QString &name : unset)
        changed.remove(name);
    for (QString entry : set) {
        entry.replace(QLatin1Char('@'), display);
        changed.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
    }

    const QString scratch = m_scratch->path();
    const QStringList before = snapshot(scratch);
    // Qt says why its platform did not load before the program's own line.
    checkOutcome(runProgram(arguments, changed, scratch), status, message, true);
    QCOMPARE(snapshot(scratch), before);
}

void TestRobustCommandLine::waylandWithoutItsPlugin()
{
    // A copy of the program whose qt.conf points Qt at a folder of no plugins.
    QTemporaryDir copy;
    QVERIFY(QFile::copy(SWEEPDRAW_EXECUTABLE, copy.filePath("sweepdraw"))
            && writeFile(copy.filePath("qt.conf"), "[Paths]\nPlugins=.\n"));
    QProcessEnvironment wayland = environment();
    wayland.remove("DISPLAY");
    wayland.remove("QT_QPA_PLATFORM");
    wayland.insert("WAYLAND_DISPLAY", "wl-test");
    checkOutcome(runProgram({}, wayland, m_scratch->path(), copy.filePath("sweepdraw")), ExitUsage,
                 "cannot open the window: Qt's Wayland plugin is not installed (WAYLAND_DISPLAY='wl-test', DISPLAY "
                 "unset); install qt6-wayland, or use X11 instead with QT_QPA_PLATFORM=xcb", true);
}

QTEST_GUILESS_MAIN(TestRobustCommandLine)
#include "tst_robust_cli.moc"
