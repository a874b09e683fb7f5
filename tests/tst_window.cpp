#include "BackgroundRecording.h"
#include "CompiledRoutine.h"
#include "CoreInQt.h"
#include "HelpDialog.h"
#include "NumberDrag.h"
#include "Palette.h"
#include "PictureHistory.h"
#include "PictureImage.h"
#include "Routine.h"
#include "RoutineFiles.h"
#include "RoutineTesting.h"
#include "RuntimeError.h"
#include "Recording.h"
#include "Scenes.h"
#include "Stage.h"
#include "TestImages.h"
#include "Translations.h"
#include "VectorState.h"
#include "WindowColours.h"
#include "WindowImage.h"
#include "WindowTesting.h"

#include <QAccessible>
#include <QClipboard>
#include <QFontDatabase>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QProgressDialog>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextLayout>

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::buttonOf;
using sweepdraw::test::isBlank;
using sweepdraw::test::ManualClock;
using sweepdraw::test::paintedOver;
using sweepdraw::test::sceneAlone;
using sweepdraw::test::operationsOf;
using sweepdraw::test::pictureOf;
using sweepdraw::test::resizeShown;
using sweepdraw::test::sceneWith;
using sweepdraw::test::zoomOf;
using sweepdraw::test::Scene;
using sweepdraw::test::waitUntilDrawn;

namespace {

int inkOf(const QImage &image, QRgb background)
{
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != background;
    return ink;
}

QImage textImage(const QString &text, QFont font, bool bold)
{
    font.setBold(bold);
    QImage image(300, 60, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignTop, text);
    return image;
}

// Where a button's lettering is: the pixels well darker than its face
// `face`, inside its frame.
QRectF inkBounds(const QImage &button, int face)
{
    QRect ink;
    for (int y = 2; y < button.height() - 2; ++y)
        for (int x = 2; x < button.width() - 2; ++x)
            if (qGray(button.pixel(x, y)) < face - 60)
                ink |= QRect(x, y, 1, 1);
    return QRectF(ink);
}

QColor grabbedAt(QWidget &widget, QPoint p)
{
    return widget.grab().toImage().pixelColor(p);
}

// Runs the commands on the window at once, as clicks at the instant speed.
void runAtOnce(Form1 &form, std::initializer_list<Button> buttons)
{
    form.setSpeed(Speed::Instant);
    for (Button button : buttons)
        form.RunCommand(button);
    form.finishDrawing();
}

// What the commands draw on a fresh surface at a zoom, at once.
QImage drawnAt(double zoom, const QList<Button> &buttons)
{
    RasterSurface surface(kDesignSize, zoom);
    for (Button button : buttons)
        commandOf(button).action(surface);
    return imageOf(surface).copy();
}

// The sunshine's routine file, with `from` written as `to`.
// What a routine draws at once over what the commands draw.
QImage routineOver(const QList<Button> &under, const QString &routine, double zoom = 1.0)
{
    RasterSurface surface(kDesignSize, zoom);
    for (Button button : under)
        commandOf(button).action(surface);
    const auto compiled = CompiledRoutine::compile("routine.cpp", routine.toStdString());
    if (!std::holds_alternative<CompiledRoutine>(compiled))
        qFatal("refused: %s", std::get<RoutineMessage>(compiled).format("routine.cpp").c_str());
    std::get<CompiledRoutine>(compiled).run(surface);
    return imageOf(surface).copy();
}

// Opens the code pane on the sunshine drawn over `under`, and then an
// editable copy of it, with the caret at the end of its first `number`.
QPlainTextEdit *editSunshineCopy(Form1 &form, const QList<Button> &under, const QString &number)
{
    form.setSpeed(Speed::Instant);
    for (Button button : under + QList<Button>{Button::Cmdyg})
        form.RunCommand(button);
    form.finishDrawing();
    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    if (code->isReadOnly())
        return nullptr;
    QTextCursor caret = code->document()->find(number);
    caret.clearSelection();
    code->setTextCursor(caret);
    return code;
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    // As the program does at start-up.
    void initTestCase()
    {
        allowSyntheticBoldAtAnySize();
        // The learner's routines are kept apart from the user's own.
        QStandardPaths::setTestModeEnabled(true);
    }
    // Each test starts with no routine of the learner's.
    void init() { QDir(RoutineFiles::folder()).removeRecursively(); }
    void window();
    void controls_data();
    void controls();
    void labelFonts_data();
    void labelFonts();
    void boldIsVisible();
    void buttonCaptionsHaveGlyphs();
    void codeIsInACodeFont_data();
    void codeIsInACodeFont();
    void panelUnderPictures();
    void scenesDrawTheirPictures_data();
    void scenesDrawTheirPictures();
    void scenesAccumulate();
    void clearRestoresStartUp();
    void loopsRecordWhereTheDrawingIs_data();
    void loopsRecordWhereTheDrawingIs();
    void followEveryStep_data();
    void followEveryStep();
    void eachPassShowsAsItLands_data();
    void eachPassShowsAsItLands();
    void copyTakesThePictureAsItStands_data();
    void copyTakesThePictureAsItStands();
    void recordingInTheBackground_data();
    void recordingInTheBackground();
    void aboutTellsVersionAndQt();
    void tooltipsCountThePoints_data();
    void tooltipsCountThePoints();
    void exitCutsTheDrawingShort_data();
    void exitCutsTheDrawingShort();
    void zoomScalesEverything_data();
    void zoomScalesEverything();
    void zoomDrawsThePictureAfresh_data();
    void zoomDrawsThePictureAfresh();
    void codePaneBesideThePicture();
    void numbersChangeInTheirForm_data();
    void numbersChangeInTheirForm();
    void editedCopyRunsAsItsFile();
    void changedNumberRedrawsAtOnce_data();
    void changedNumberRedrawsAtOnce();
    void unreadableRoutineIsToldAndKept();
    void screenReadersSeeNamedParts();
    void closingTheWindowEndsTheProgram();
    void pictureSurvivesHiding();
};

void TestWindow::window()
{
    Form1 form(1.0);
    QCOMPARE(form.objectName(), QString("Form1"));
    QCOMPARE(form.size(), toQSize(kDesignSize));
    QCOMPARE(zoomOf(form), 1.0);
    // It can be made larger, and as small as half its size.
    QCOMPARE(form.minimumSize(), QSize(400, 276));
    QCOMPARE(form.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCOMPARE(grabbedAt(form, QPoint(2, 300)), QColor::fromRgb(WindowColour::kBackground));
    QVERIFY(isBlank(imageOf(pictureOf(form))));
}

void TestWindow::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("CmdGs") << "CmdGs" << "高山" << QRect(304, 496, 65, 25);
    QTest::newRow("CmdExit") << "CmdExit" << "退出" << QRect(704, 496, 65, 25);
    QTest::newRow("CmdCls") << "CmdCls" << "清除" << QRect(624, 496, 65, 25);
    QTest::newRow("Cmdls") << "Cmdls" << "流水" << QRect(384, 496, 65, 25);
    QTest::newRow("Cmdyg") << "Cmdyg" << "阳光" << QRect(464, 496, 65, 25);
    QTest::newRow("CmdDq") << "CmdDq" << "大桥" << QRect(544, 496, 65, 25);
    QTest::newRow("Label3") << "Label3" << "2006.11." << QRect(136, 448, 97, 25);
    QTest::newRow("Label2") << "Label2" << "Merivane" << QRect(128, 416, 121, 25);
    QTest::newRow("Label1") << "Label1" << "图形程序设计" << QRect(72, 368, 225, 33);
    QTest::newRow("Shape1") << "Shape1" << QString() << QRect(8, 8, 785, 537);
}

void TestWindow::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);

    Form1 form(1.0);
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), form.findChild<Stage *>());
    QCOMPARE(control->geometry(), geometry);
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        QCOMPARE(button->text(), caption);
        QVERIFY(!button->isDefault() && !button->autoDefault());
        QVERIFY(!button->text().contains('&'));
        QCOMPARE(button->focusPolicy(), Qt::StrongFocus);
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
        QCOMPARE(label->text(), caption);
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        QVERIFY(label->testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(label->frameShape(), QFrame::NoFrame);
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignTop);
    } else {
        QVERIFY(caption.isEmpty());
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
    }
}

void TestWindow::labelFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("Label1") << "Label1" << 35 << QColor::fromRgb(WindowColour::kTitle);
    QTest::newRow("Label2") << "Label2" << 21 << QColor::fromRgb(WindowColour::kName);
    QTest::newRow("Label3") << "Label3" << 21 << QColor::fromRgb(WindowColour::kDate);
}

void TestWindow::labelFonts()
{
    QFETCH(QString, name);
    QFETCH(int, pixelSize);
    QFETCH(QColor, colour);

    Form1 form(1.0);
    auto *label = form.findChild<QLabel *>(name);
    QVERIFY(label);
    const QFont font = label->font();
    QCOMPARE(font.pixelSize(), pixelSize);
    QVERIFY(font.bold());
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    // One of the stand-in Kai faces is what is really used.
    const QString used = QFontInfo(font).family();
    QVERIFY2(used == "AR PL KaitiM GB" || used == "AR PL UKai CN", qPrintable(used));

    QCOMPARE(label->palette().color(QPalette::WindowText), colour);
    const QImage shot = label->grab().toImage();
    QCOMPARE(shot.pixelColor(label->width() - 1, label->height() - 1), QColor(Qt::black));
    QVERIFY(inkOf(shot, qRgb(0, 0, 0)) > 20);
    bool textInColour = false;
    for (int y = 0; y < shot.height() && !textInColour; ++y)
        for (int x = 0; x < shot.width() && !textInColour; ++x)
            textInColour = shot.pixelColor(x, y) == colour;
    QVERIFY(textInColour);
}

void TestWindow::boldIsVisible()
{
    // The Kai faces come in one weight only, so bold must be synthesised.
    Form1 form(1.0);
    const QFont font = form.findChild<QLabel *>("Label1")->font();
    const int regular = inkOf(textImage("图形程序设计", font, false), qRgb(0, 0, 0));
    const int bold = inkOf(textImage("图形程序设计", font, true), qRgb(0, 0, 0));
    QVERIFY2(bold > regular * 1.1, qPrintable(QString("bold %1, regular %2").arg(bold).arg(regular)));
}

void TestWindow::buttonCaptionsHaveGlyphs()
{
    Form1 form(1.0);
    for (QPushButton *button : form.findChildren<QPushButton *>()) {
        QTextLayout layout(button->text(), button->font());
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        int glyphs = 0;
        for (const QGlyphRun &run : layout.glyphRuns()) {
            for (quint32 index : run.glyphIndexes()) {
                // Glyph 0 is the empty box a font shows for a missing character.
                QVERIFY2(index != 0, qPrintable(button->text()));
                ++glyphs;
            }
        }
        QCOMPARE(glyphs, 2);
    }
}

void TestWindow::codeIsInACodeFont_data()
{
    QTest::addColumn<QString>("part");
    QTest::newRow("the code pane") << "code";
    QTest::newRow("the help's command lines") << "help";
}

// In every language, and run in Chinese too, where the system's fixed font
// is a CJK face.
void TestWindow::codeIsInACodeFont()
{
    QFETCH(QString, part);

    Form1 form(1.0);
    QFont font;
    if (part == "code") {
        font = form.findChild<QPlainTextEdit *>(QStringLiteral("code"))->font();
    } else {
        HelpDialog::showFor(&form, {});
        auto *help = form.findChild<QTextBrowser *>();
        QVERIFY(help);
        QTextCursor at = help->document()->find(QStringLiteral("--run"));
        QVERIFY(!at.isNull());
        font = at.charFormat().font();
    }
    QTextLayout layout(QStringLiteral("--run a;b,c.d*e 0"), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    QVERIFY(!runs.isEmpty());
    for (const QGlyphRun &run : runs) {
        const QString family = run.rawFont().familyName();
        QVERIFY2(QFontDatabase::isFixedPitch(family), qPrintable(family));
        QVERIFY2(!QFontDatabase::writingSystems(family).contains(QFontDatabase::SimplifiedChinese), qPrintable(family));
        if (QFontDatabase::families().contains("DejaVu Sans Mono"))
            QCOMPARE(family, QString("DejaVu Sans Mono"));
    }
}

void TestWindow::panelUnderPictures()
{
    Form1 form(1.0);
    runAtOnce(form, {Button::CmdGs});
    const QImage shot = form.grab().toImage();
    QCOMPARE(shot.pixelColor(8, 300), QColor::fromRgb(WindowColour::kPanelBorder));
    QCOMPARE(shot.pixelColor(792, 300), QColor::fromRgb(WindowColour::kPanelBorder));
    QCOMPARE(shot.pixelColor(400, 8), QColor::fromRgb(WindowColour::kPanelBorder));
    QCOMPARE(shot.pixelColor(400, 544), QColor::fromRgb(WindowColour::kPanelBorder));
    QCOMPARE(shot.pixelColor(600, 300), QColor::fromRgb(WindowColour::kPanel));
    QCOMPARE(shot.pixelColor(5, 300), QColor::fromRgb(WindowColour::kBackground));
    // The mountain ridge shows over the panel, the frame over the background.
    QCOMPARE(shot.pixelColor(37, 185), QColor(0, 255, 255));
    QCOMPARE(shot.pixelColor(3, 300), QColor(255, 255, 0));
}

void TestWindow::scenesDrawTheirPictures_data()
{
    QTest::addColumn<Button>("button");
    QTest::addColumn<Scene>("scene");
    QTest::addColumn<int>("pen");
    QTest::addColumn<bool>("avx"); // whether the upper vector state may be cleared

    QTest::newRow("高山") << Button::CmdGs << Scene(DrawMountains) << 3 << true;
    QTest::newRow("流水") << Button::Cmdls << Scene(DrawWater) << 2 << true;
    QTest::newRow("阳光") << Button::Cmdyg << Scene(DrawSunshine) << 1 << true;
    QTest::newRow("大桥") << Button::CmdDq << Scene(DrawBridge) << 2 << true;
    // The path of a processor without AVX, where vzeroupper does not exist.
    QTest::newRow("阳光, no AVX") << Button::Cmdyg << Scene(DrawSunshine) << 1 << false;
}

void TestWindow::scenesDrawTheirPictures()
{
    QFETCH(Button, button);
    QFETCH(Scene, scene);
    QFETCH(int, pen);
    QFETCH(bool, avx);

    const bool clearing = upperVectorStateClearing();
    const auto restore = qScopeGuard([clearing] { setUpperVectorStateClearing(clearing); });
    setUpperVectorStateClearing(clearing && avx);
    if (!avx)
        QVERIFY(!clearUpperVectorState());
    Form1 form(1.0);
    form.setSpeed(Speed::Instant);
    QTest::mouseClick(buttonOf(form, button), Qt::LeftButton);
    QVERIFY(waitUntilDrawn(form));
    QCOMPARE(imageOf(pictureOf(form)), sceneAlone(scene));
    QCOMPARE(pictureOf(form).penWidth(), pen);
}

void TestWindow::scenesAccumulate()
{
    Form1 form(1.0);
    runAtOnce(form, {Button::Cmdyg, Button::CmdGs});
    QCOMPARE(imageOf(pictureOf(form)), paintedOver(sceneAlone(DrawSunshine), sceneAlone(DrawMountains)));
    runAtOnce(form, {Button::Cmdls, Button::CmdDq});
    QImage all = paintedOver(sceneAlone(DrawSunshine), sceneAlone(DrawMountains));
    all = paintedOver(paintedOver(all, sceneAlone(DrawWater)), sceneAlone(DrawBridge));
    QCOMPARE(imageOf(pictureOf(form)), all);
}

void TestWindow::clearRestoresStartUp()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage startUp = form.grab().toImage();
    const QObjectList controls = form.children();

    runAtOnce(form, {Button::CmdCls});
    QCOMPARE(form.grab().toImage(), startUp);

    runAtOnce(form, {Button::CmdGs, Button::Cmdls, Button::Cmdyg, Button::CmdDq});
    QVERIFY(form.grab().toImage() != startUp);
    QTest::mouseClick(buttonOf(form, Button::CmdCls), Qt::LeftButton);
    QVERIFY(waitUntilDrawn(form));
    // The click took the focus, and its frame, to "清除".
    buttonOf(form, Button::CmdDq)->setFocus();
    QCOMPARE(form.grab().toImage(), startUp);
    QCOMPARE(form.children(), controls);
    QCOMPARE(pictureOf(form).penWidth(), 2);
}

void TestWindow::loopsRecordWhereTheDrawingIs_data()
{
    QTest::addColumn<Button>("button");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QStringList>("counters");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("pass");
    QTest::addColumn<QString>("file"); // run from this scene file as a routine, if given

    // At the slow speed a millisecond lands 70 operations, and the loops
    // are as they were at the 70th, which plotted the last point. The
    // counters are named as in the scenes.
    QTest::newRow("mountains: the ridge's 67th point")
        << Button::CmdGs << 1 << QStringList{"colour", "x"} << QList<double>{14, 561.6} << 1 << QString();
    QTest::newRow("water: the top stroke's 69th point")
        << Button::Cmdls << 1 << QStringList{"colour", "i", "x"} << QList<double>{14, 4, 5156.8} << 1 << QString();
    QTest::newRow("sunshine: the second ring's next to last ray")
        << Button::Cmdyg << 1 << QStringList{"colour", "r", "a"} << QList<double>{9, 666.2, 6.0868422500000009} << 1
        << QString();
    QTest::newRow("sunshine from its file: the second ring's next to last ray")
        << Button::Cmdyg << 1 << QStringList{"colour", "r", "a"} << QList<double>{9, 666.2, 6.0868422500000009} << 1
        << "Sunshine.cpp";
    QTest::newRow("bridge: the large arch, before the passes")
        << Button::CmdDq << 1 << QStringList{"t"} << QList<double>{3.1186458645864586} << 0 << QString();
    QTest::newRow("bridge: the first small arch")
        << Button::CmdDq << 200 << QStringList{"colour", "k", "t"} << QList<double>{9, 6350, 1.8845024502450244}
        << 1 << QString();
}

void TestWindow::loopsRecordWhereTheDrawingIs()
{
    QFETCH(Button, button);
    QFETCH(int, ms);
    QFETCH(QStringList, counters);
    QFETCH(QList<double>, values);
    QFETCH(int, pass);
    QFETCH(QString, file);

    std::optional<Runnable> command = button;
    if (!file.isEmpty()) {
        const auto compiled = CompiledRoutine::compileFile(SWEEPDRAW_SCENES_DIR "/" + file.toStdString());
        QVERIFY(std::holds_alternative<CompiledRoutine>(compiled));
        command = Runnable(std::get<CompiledRoutine>(compiled));
    }
    RecordingSurface picture;
    CommandRunner runner(picture);
    ManualClock clock(runner);
    runner.setSpeed(Speed::Slow);
    runner.enqueue(*command);
    clock.advance(std::chrono::milliseconds(ms));
    runner.advance();
    QCOMPARE(runner.progress().landed, ms * 70LL);

    const Routine routine = command->routine() ? Routine(*command->routine(), command->tally().operations)
                                               : Routine(commandOf(button));
    QCOMPARE(routine.operations(), operationsOf(button));
    const LoopState &loops = runner.loops();
    QCOMPARE(loops.depth(), int(counters.size()));
    for (int i = 0; i < loops.depth(); ++i) {
        const Routine::Loop *written = routine.loopAt(static_cast<int>(loops.loop(i).where.line()));
        QVERIFY2(written, qPrintable(QString("loop %1 is on no loop's line").arg(i)));
        QCOMPARE(written->counter, counters[i]);
        QVERIFY2(std::abs(loops.loop(i).value - values[i]) <= 1e-9 * std::max(1.0, std::abs(values[i])),
                 qPrintable(QString("%1 = %2").arg(counters[i]).arg(loops.loop(i).value, 0, 'g', 17)));
    }
    QCOMPARE(loops.loop(0).pass, pass);
    // The point is the one those values plotted.
    const RecordingSurface::Call &last = picture.calls().back();
    QVERIFY(loops.hasPoint());
    QCOMPARE(loops.lastPoint().x, last.x);
    QCOMPARE(loops.lastPoint().y, last.y);
    // Stopped in the middle, the action leaves no loop behind.
    runner.stop();
    QCOMPARE(loops.depth(), 0);
}

void TestWindow::followEveryStep_data()
{
    QTest::addColumn<QList<Button>>("before"); // drawn at once first
    QTest::addColumn<Button>("button");
    QTest::addColumn<int>("ms");    // at the slow speed, 70 operations a millisecond
    QTest::addColumn<int>("steps"); // F10 presses after those
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<int>("caretLine");
    QTest::addColumn<QPoint>("click");     // with Ctrl held, on this pixel at zoom 1, instead of a key
    QTest::addColumn<long long>("landed"); // after the key
    QTest::addColumn<QString>("told");     // among what screen readers are told

    // The sunshine's sun takes five operations, and each of its six passes
    // 187,110, 33 rays to a ring; its loops are on lines 19, 20 and 22. The
    // bridge's large arch, of 9,999 points, runs on line 15, its second pen
    // is set on line 20, and its passes run on lines 21 to 23.
    const QKeySequence back(Qt::SHIFT | Qt::Key_F10);
    const QKeySequence toCaret(Qt::CTRL | Qt::Key_F10);
    QTest::newRow("a step back in the last pass")
        << QList<Button>() << Button::Cmdyg << 13'400 << 0 << back << 0 << QPoint() << 937'999LL << "pass 6 of 6";
    QTest::newRow("a step back after the drawing: its last operation again")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << back << 0 << QPoint() << 1'122'664LL
        << "paused · pass 6 of 6 · 1122664 of";
    QTest::newRow("a step back to before the first point")
        << QList<Button>() << Button::CmdGs << 0 << 4 << back << 0 << QPoint() << 3LL << "paused · 3 of";
    QTest::newRow("to the caret on a colour pass: the next pass")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << toCaret << 19 << QPoint() << 187'116LL << "pass 2 of 6";
    QTest::newRow("to the caret on a ring: the next radius")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << toCaret << 20 << QPoint() << 39LL
        << "colour = 9, r = 666.2, a = 0,";
    QTest::newRow("to the caret in a ray's body: the next ray")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << toCaret << 24 << QPoint() << 7LL
        << "colour = 9, r = 666, a = 0.19635,";
    QTest::newRow("to the caret on a loop not yet running: its first value")
        << QList<Button>() << Button::CmdDq << 0 << 1 << toCaret << 22 << QPoint() << 10'002LL
        << "colour = 9, k = 6350, t = 3.14,";
    QTest::newRow("to the caret on a call still to come: that call")
        << QList<Button>() << Button::CmdDq << 0 << 1 << toCaret << 20 << QPoint() << 10'001LL << "paused · 10001 of";
    QTest::newRow("to the caret on a line that does not run again: the end")
        << QList<Button>() << Button::CmdDq << 0 << 1 << toCaret << 14 << QPoint() << 0LL << "Finished 大桥";
    // The last pass paints the rays' pixels last, and each ring's last ray
    // over its first: pixel 600 is last painted at r = 1007.4, the 1,708th
    // ring of pass 6. The sun's middle is its disc, drawn before the passes.
    // A 3-pixel dot on x = 38 last paints the mountains' (37, 185), in the
    // 225th point of their last pass.
    const QKeySequence none;
    QTest::newRow("what drew a ray's pixel")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(600, 133) << 0LL
        << "Pixel (600, 133) was drawn by Sunshine.cpp line 25 · 阳光 · pass 6 of 6 · operation 991919 of "
           "1122665, colour = 14, r = 1007.4, a = 6.28319, last point (9007, 2000)";
    QTest::newRow("what drew the sun's middle")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(533, 133) << 0LL
        << "Pixel (533, 133) was drawn by Sunshine.cpp line 17 · 阳光 · operation 4 of 1122665";
    QTest::newRow("what drew the first point, paused")
        << QList<Button>() << Button::Cmdyg << 0 << 6 << none << 0 << QPoint(578, 133) << 6LL
        << "line 25 · 阳光 · pass 1 of 6 · operation 6 of 1122665, colour = 9, r = 666, a = 0,";
    QTest::newRow("what drew a pixel of a picture drawn before")
        << QList<Button>{Button::CmdGs, Button::CmdDq} << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(37, 185)
        << 0LL << "Mountains.cpp line 22 · 高山 · pass 4 of 4 · operation 150228 of 200003, colour = 11, "
                  "x = 577.4,";
    QTest::newRow("where nothing was drawn")
        << QList<Button>() << Button::Cmdyg << 16'040 << 0 << none << 0 << QPoint(100, 50) << 0LL
        << "Nothing was drawn at pixel (100, 50)";
}

void TestWindow::followEveryStep()
{
    QFETCH(QList<Button>, before);
    QFETCH(Button, button);
    QFETCH(int, ms);
    QFETCH(int, steps);
    QFETCH(QKeySequence, key);
    QFETCH(int, caretLine);
    QFETCH(QPoint, click);
    QFETCH(long long, landed);
    QFETCH(QString, told);

    Form1 form(1.0);
    ManualClock clock(form);
    form.setSpeed(Speed::Slow);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *pane = form.findChild<QWidget *>(QStringLiteral("CodePane"));
    if (click.isNull())
        QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    auto *progress = form.findChild<QLabel *>(QStringLiteral("progress"));
    auto *runner = form.findChild<CommandRunner *>(QStringLiteral("runner"));
    for (Button picture : before)
        form.RunCommand(picture);
    form.finishDrawing();
    form.RunCommand(button);
    clock.advance(std::chrono::milliseconds(ms));
    form.advanceDrawing();
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(&form, Qt::Key_F10);
    QCOMPARE(runner->progress().landed, runner->isIdle() ? 0 : ms * 70LL + steps);
    if (click.isNull()) {
        code->setTextCursor(QTextCursor(code->document()->findBlockByNumber(caretLine - 1)));
        QTest::keySequence(&form, key);
    } else {
        QTest::mouseClick(&form, Qt::LeftButton, Qt::ControlModifier, click);
        QVERIFY(QTest::qWaitFor([&] { return pane->isVisible(); }));
    }

    QCOMPARE(runner->progress().landed, landed);
    QCOMPARE(runner->isPaused(), !runner->isIdle() || !key.isEmpty());
    QVERIFY2(QTest::qWaitFor([&] { return progress->accessibleDescription().contains(told); }),
             qPrintable(progress->accessibleDescription()));

    // The ring shows the last point on the screen, and in no copy of the
    // picture.
    const LoopState at = runner->loops();
    auto *marker = form.findChild<QWidget *>(QStringLiteral("StepMarker"));
    QCOMPARE(marker->isVisible(), runner->progress().current && at.hasPoint());
    const DrawingProgress now = runner->progress();
    RasterSurface drawnAgain(kDesignSize, zoomOf(form));
    QVERIFY(!PictureHistory::drawPictures(drawnAgain, runner->pictures(), now.current, now.landed));
    QCOMPARE(imageOf(pictureOf(form)), imageOf(drawnAgain));
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->image(), renderWindow(runner->pictures(), now));

    // Back once more and on again: the same picture, at the same values.
    const QImage picture = imageOf(pictureOf(form)).copy();
    QTest::keySequence(&form, QKeySequence(Qt::SHIFT | Qt::Key_F10));
    QTest::keyClick(&form, Qt::Key_F10);
    if (runner->progress().current == button) {
        QCOMPARE(runner->progress().landed, landed);
        QCOMPARE(imageOf(pictureOf(form)), picture);
        for (int i = 0; i < at.depth(); ++i)
            QCOMPARE(runner->loops().loop(i).value, at.loop(i).value);
        QCOMPARE(runner->loops().lastPoint().x, at.lastPoint().x);
    }
}

void TestWindow::eachPassShowsAsItLands_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QColor>("colour");

    // The mountains' four passes over the ridge take 50,000 operations, or
    // 0.18 seconds, each; the first point lands on (37, 185).
    QTest::newRow("first pass") << 150 << QColor(toQRgb(PaletteColor(14)));
    QTest::newRow("second pass") << 250 << QColor(toQRgb(PaletteColor(13)));
    QTest::newRow("third pass") << 400 << QColor(toQRgb(PaletteColor(12)));
    QTest::newRow("last pass") << 600 << QColor(toQRgb(PaletteColor(11)));
}

void TestWindow::eachPassShowsAsItLands()
{
    QFETCH(int, ms);
    QFETCH(QColor, colour);

    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    form.findChild<QWidget *>("Surface")->installEventFilter(&counter);

    QTest::mouseClick(buttonOf(form, Button::CmdGs), Qt::LeftButton);
    const int frames = ms / 50;
    for (int frame = 0; frame < frames; ++frame) {
        clock.advance(50ms);
        form.advanceDrawing();
        QCoreApplication::processEvents();
    }
    // The screen is brought up to date after every frame.
    QVERIFY2(counter.paints >= frames, qPrintable(QString("%1 paints in %2 frames").arg(counter.paints).arg(frames)));
    QCOMPARE(form.grab().toImage().pixelColor(37, 185), colour);
    QVERIFY(form.isDrawing() || ms >= 600);
}

void TestWindow::copyTakesThePictureAsItStands_data()
{
    QTest::addColumn<QList<Button>>("clicked");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("seconds"); // of drawing at the normal speed, 280,000 operations each
    QTest::addColumn<bool>("drawing"); // whether the drawing goes on after that
    QTest::addColumn<bool>("paused");

    // The mountains are 200,003 operations, the sunshine 1,122,665.
    QTest::newRow("drawn, at zoom 1")
        << QList<Button>{Button::CmdGs} << toQSize(kDesignSize) << 1 << false << false;
    QTest::newRow("drawing, at zoom 1.5") << QList<Button>{Button::CmdGs, Button::Cmdyg} << QSize(1200, 828) << 1
                                          << true << false;
    QTest::newRow("drawing after a clear, at half size")
        << QList<Button>{Button::Cmdyg, Button::CmdCls, Button::Cmdls} << QSize(400, 276) << 5 << true << false;
    QTest::newRow("paused: the note shows on the window alone")
        << QList<Button>{Button::Cmdyg} << toQSize(kDesignSize) << 1 << true << true;
}

void TestWindow::copyTakesThePictureAsItStands()
{
    QFETCH(QList<Button>, clicked);
    QFETCH(QSize, size);
    QFETCH(int, seconds);
    QFETCH(bool, drawing);
    QFETCH(bool, paused);

    // The same clicks and the same time of drawing on the window and on one
    // that is never shown, at zoom 1.
    std::chrono::nanoseconds now{0};
    Form1 form(1.0);
    Form1 reference(1.0);
    for (Form1 *each : {&form, &reference}) {
        each->setClock([&now] { return now; });
        for (Button button : clicked)
            each->RunCommand(button);
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(resizeShown(form, size));
    now += std::chrono::seconds(seconds);
    form.advanceDrawing();
    reference.advanceDrawing();
    auto *note = form.findChild<QLabel *>(QStringLiteral("pauseNote"));
    QVERIFY(note && !note->isVisible());
    if (paused) {
        QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), QString("Paused · Ctrl+P to continue"));
        const QRect corner = note->geometry();
        QVERIFY(form.findChild<QWidget *>(QStringLiteral("Surface"))->geometry().contains(corner));
        QVERIFY(form.grab(corner).toImage() != reference.snapshot().copy(corner));
        QAccessibleInterface *picture = QAccessible::queryAccessibleInterface(form.findChild<SurfaceView *>());
        QVERIFY(picture->text(QAccessible::Description).endsWith(note->text()));
    }

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->image(), reference.findChild<Stage *>()->render());
    QCOMPARE(form.isDrawing(), drawing);
}

void TestWindow::recordingInTheBackground_data()
{
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("whole") << false;
    QTest::newRow("cancelled") << true;
}

void TestWindow::recordingInTheBackground()
{
    QFETCH(bool, cancelled);

    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QList<Runnable> pictures = {Button::CmdGs, Button::Cmdls};
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // About 360 frames at the slow speed.
    const QString path = folder.filePath("window.gif");
    QPointer<BackgroundRecording> recording = new BackgroundRecording(pictures, Speed::Slow, path, &form);
    if (cancelled) {
        QPointer<QProgressDialog> progress = form.findChild<QProgressDialog *>();
        QTRY_VERIFY(progress && progress->value() >= 3);
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(recording.isNull(), 60000);
    if (cancelled) {
        const QStringList left = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(' ')));
        return;
    }

    // The file the command line records.
    Stage offScreen(1.0);
    const QString direct = folder.filePath("direct.gif");
    QVERIFY(!recordAnimation(offScreen.picture(), [&offScreen] { return offScreen.render(); }, pictures,
                             Speed::Slow, direct));
    QFile recorded(path);
    QFile expected(direct);
    QVERIFY(recorded.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
    QVERIFY(recorded.readAll() == expected.readAll());
}

void TestWindow::aboutTellsVersionAndQt()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    Form1 form(1.0);
    const QList<QAction *> items = form.actions();
    const auto about = std::ranges::find(items, QString("About"), &QAction::text);
    QVERIFY(about != items.end());
    (*about)->trigger();
    auto *box = form.findChild<QMessageBox *>(QStringLiteral("AboutBox"));
    QVERIFY(box && box->isVisible());
    for (const QString &fact : {QString("1.2.3"), QString(qVersion())})
        QVERIFY2(box->text().contains(fact), qPrintable(fact));
}

void TestWindow::tooltipsCountThePoints_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<Button>("button");
    QTest::addColumn<QString>("points"); // the word after the count
    for (const QString &language : {QString("en_US points"), QString("zh_CN 个点")})
        for (const Command &command : kCommands)
            if (command.draws())
                QTest::addRow("%s %s", qPrintable(language), command.name)
                    << QLocale(language.section(' ', 0, 0)) << command.button << language.section(' ', 1);
}

void TestWindow::tooltipsCountThePoints()
{
    QFETCH(QLocale, locale);
    QFETCH(Button, button);
    QFETCH(QString, points);

    installTranslations(locale);
    const auto english = qScopeGuard([] { installTranslations(QLocale(QLocale::English)); });
    Form1 form(1.0);
    RecordingSurface recording;
    commandOf(button).action(recording);
    const auto plotted = std::ranges::count(recording.calls(), RecordingSurface::Op::PlotPoint,
                                            &RecordingSurface::Call::op);
    // With its thousands set apart by commas, in either language.
    const QString count = QLocale(QLocale::English).toString(static_cast<qlonglong>(plotted));
    const QString tip = buttonOf(form, button)->toolTip();
    QVERIFY2(tip.contains(count + ' ' + points), qPrintable(tip));
}

void TestWindow::exitCutsTheDrawingShort_data()
{
    QTest::addColumn<QList<Button>>("clicked");
    QTest::newRow("idle") << QList<Button>{};
    QTest::newRow("drawing") << QList<Button>{Button::Cmdyg};
    QTest::newRow("drawing, more queued") << QList<Button>{Button::Cmdyg, Button::CmdDq, Button::Cmdls};
}

void TestWindow::exitCutsTheDrawingShort()
{
    QFETCH(QList<Button>, clicked);

    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy ended(&form, &Form1::ended);
    for (Button button : clicked)
        QTest::mouseClick(buttonOf(form, button), Qt::LeftButton);
    clock.advance(500ms);
    form.advanceDrawing();
    const QImage before = imageOf(pictureOf(form)).copy();

    QTest::mouseClick(buttonOf(form, Button::CmdExit), Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).value<Form1::Ending>(), Form1::Ending::Asked);
    QVERIFY(!form.isDrawing());

    // Nothing more is drawn, and the window takes no more commands.
    QTest::mouseClick(buttonOf(form, Button::CmdCls), Qt::LeftButton);
    clock.advance(10s);
    form.advanceDrawing();
    QCOMPARE(imageOf(pictureOf(form)), before);
}

void TestWindow::zoomScalesEverything_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<QRect>("exit");
    QTest::addColumn<QRect>("picture");
    QTest::addColumn<int>("titlePixels");
    QTest::addColumn<bool>("buttonsAsScaled"); // whether the buttons are checked against Qt's own scaling

    QTest::newRow("as laid out") << toQSize(kDesignSize) << 1.0 << QRect(704, 496, 65, 25)
                                 << QRect(QPoint(), toQSize(kDesignSize)) << 35 << false;
    QTest::newRow("twice") << toQSize(kDesignSize) * 2 << 2.0 << QRect(1408, 992, 130, 50)
                           << QRect(QPoint(), toQSize(kDesignSize) * 2) << 70 << false;
    QTest::newRow("half") << QSize(400, 276) << 0.5 << QRect(352, 248, 33, 13) << QRect(0, 0, 400, 276) << 18
                          << false;
    QTest::newRow("0.6, divider dragged") << QSize(480, 332) << 0.6 << QRect(422, 298, 39, 15)
                                          << QRect(0, 0, 480, 331) << 21 << true;
    QTest::newRow("0.93, code pane at 1280") << QSize(744, 514) << 0.93 << QRect(655, 461, 60, 24)
                                             << QRect(0, 0, 744, 513) << 33 << true;
    QTest::newRow("wider: centred across")
        << toQSize(kDesignSize) + QSize(200, 0) << 1.0 << QRect(804, 496, 65, 25)
        << QRect(QPoint(100, 0), toQSize(kDesignSize)) << 35 << false;
    QTest::newRow("taller: centred down")
        << QSize(1200, 1104) << 1.5 << QRect(1056, 744 + 138, 98, 38) << QRect(0, 138, 1200, 828) << 53 << false;
}

void TestWindow::zoomScalesEverything()
{
    QFETCH(QSize, size);
    QFETCH(double, zoom);
    QFETCH(QRect, exit);
    QFETCH(QRect, picture);
    QFETCH(int, titlePixels);
    QFETCH(bool, buttonsAsScaled);

    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    resizeShown(form, size);
    QCOMPARE(zoomOf(form), zoom);
    QCOMPARE(buttonOf(form, Button::CmdExit)->geometry(), exit);
    QCOMPARE(form.findChild<QWidget *>("Surface")->geometry(), picture);
    QCOMPARE(form.findChild<QLabel *>("Label1")->font().pixelSize(), titlePixels);
    QCOMPARE(imageOf(pictureOf(form)).size(), picture.size());
    // The background shows round the panel, on every side.
    const QImage shot = form.grab().toImage();
    QCOMPARE(shot.pixelColor(picture.left() + 2, picture.center().y()), QColor::fromRgb(WindowColour::kBackground));
    QCOMPARE(shot.pixelColor(picture.right() - 2, picture.center().y()), QColor::fromRgb(WindowColour::kBackground));
    QCOMPARE(shot.pixelColor(picture.center().x(), picture.top() + 2), QColor::fromRgb(WindowColour::kBackground));
    if (picture.left() > 0)
        QCOMPARE(shot.pixelColor(picture.left() - 1, picture.center().y()), QColor::fromRgb(WindowColour::kBackground));
    // The panel's border grows with it.
    const int border = std::max(1, qRound(zoom));
    const QPoint panel = form.findChild<QWidget *>("Shape1")->geometry().topLeft();
    QCOMPARE(shot.pixelColor(panel + QPoint(border - 1, 200)), QColor::fromRgb(WindowColour::kPanelBorder));
    QCOMPARE(shot.pixelColor(panel + QPoint(border, 200)), QColor::fromRgb(WindowColour::kPanel));

    // The buttons whole, as Qt draws a button the size they have at zoom 1
    // on a painter scaled by the zoom, the way QT_SCALE_FACTOR would scale
    // it if Qt painted at ratios below 1: a frame on all four sides, and the
    // lettering in the same place, give or take the half pixel that
    // antialiasing moves it.
    if (buttonsAsScaled) {
        QPushButton *zoomed = buttonOf(form, Button::CmdExit);
        QPushButton plain(zoomed->text(), &form);
        plain.setFont(zoomed->font());
        plain.resize((QSizeF(zoomed->size()) / zoom).toSize());
        QImage scaled(zoomed->size(), QImage::Format_RGB32);
        scaled.fill(Qt::black);
        QPainter painter(&scaled);
        painter.scale(zoom, zoom);
        plain.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.end();
        QImage shown(zoomed->size(), QImage::Format_RGB32);
        shown.fill(Qt::black);
        zoomed->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        const QPoint middle = shown.rect().center();
        const int face = qGray(shown.pixel(middle.x(), 2));
        // Each side's frame within its outermost two pixels.
        const auto frameAt = [&shown, face](QPoint edge, QPoint inward) {
            return std::min(qGray(shown.pixel(edge)), qGray(shown.pixel(edge + inward))) < face - 40;
        };
        QVERIFY2(frameAt(QPoint(0, middle.y()), QPoint(1, 0)), "left");
        QVERIFY2(frameAt(QPoint(shown.width() - 1, middle.y()), QPoint(-1, 0)), "right");
        QVERIFY2(frameAt(QPoint(middle.x(), 0), QPoint(0, 1)), "top");
        QVERIFY2(frameAt(QPoint(middle.x(), shown.height() - 1), QPoint(0, -1)), "bottom");
        const QRectF lettering = inkBounds(shown, face);
        QVERIFY(!lettering.isEmpty());
        const double off = QLineF(lettering.center(), inkBounds(scaled, face).center()).length();
        QVERIFY2(off <= 1.5, qPrintable(QStringLiteral("the lettering is %1 px from where Qt puts it").arg(off)));
    }
}

void TestWindow::zoomDrawsThePictureAfresh_data()
{
    QTest::addColumn<QList<Button>>("clicked");
    QTest::addColumn<QList<QSize>>("sizes"); // one after another
    QTest::addColumn<double>("zoom");

    const QList<Button> four = {Button::CmdGs, Button::Cmdls, Button::Cmdyg, Button::CmdDq};
    QTest::newRow("one and a half") << QList<Button>{Button::Cmdyg, Button::CmdDq} << QList<QSize>{{1200, 828}}
                                    << 1.5;
    QTest::newRow("half") << QList<Button>{Button::CmdGs} << QList<QSize>{{400, 276}} << 0.5;
    QTest::newRow("there and back") << four << QList<QSize>{toQSize(kDesignSize) * 2, toQSize(kDesignSize)} << 1.0;
    QTest::newRow("a clear forgets what came before")
        << QList<Button>{Button::Cmdyg, Button::CmdCls, Button::Cmdls} << QList<QSize>{{1000, 690}} << 1.25;
    QTest::newRow("a scene again covers itself")
        << QList<Button>{Button::Cmdyg, Button::CmdGs, Button::Cmdyg} << QList<QSize>{{1200, 828}} << 1.5;
}

void TestWindow::zoomDrawsThePictureAfresh()
{
    QFETCH(QList<Button>, clicked);
    QFETCH(QList<QSize>, sizes);
    QFETCH(double, zoom);

    // All but the last command drawn, then a second of the last at the
    // normal speed, 280,000 operations, and then the window is resized.
    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QList<Button> done = clicked;
    const Button last = done.takeLast();
    for (Button button : done)
        QTest::mouseClick(buttonOf(form, button), Qt::LeftButton);
    form.finishDrawing();
    QTest::mouseClick(buttonOf(form, last), Qt::LeftButton);
    clock.advance(1s);
    form.advanceDrawing();
    for (QSize size : sizes)
        resizeShown(form, size);
    QCOMPARE(zoomOf(form), zoom);

    // What was drawn, and what has landed of the last command, at the new size.
    RasterSurface expected(kDesignSize, zoom);
    for (Button button : done)
        commandOf(button).action(expected);
    RecordingSurface lastOperations;
    commandOf(last).action(lastOperations);
    const std::size_t landed = std::min<std::size_t>(lastOperations.calls().size(), 280'000);
    for (std::size_t i = 0; i < landed; ++i)
        QVERIFY(RecordingSurface::perform(expected, lastOperations.calls()[i]).ok());
    QCOMPARE(imageOf(pictureOf(form)), imageOf(expected));

    // The rest lands at the new size, once.
    QSignalSpy finished(&form, &Form1::drawingIdle);
    form.finishDrawing();
    QCOMPARE(finished.count(), lastOperations.calls().size() > 280'000 ? 1 : 0);
    QCOMPARE(imageOf(pictureOf(form)), drawnAt(zoom, clicked));

    // Drawn afresh once more, from what the window keeps of the commands.
    const QSize other = zoom == 1.25 ? toQSize(kDesignSize) : QSize(1000, 690);
    resizeShown(form, other);
    QCOMPARE(imageOf(pictureOf(form)), drawnAt(zoomOf(form), clicked));
}

void TestWindow::codePaneBesideThePicture()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *pane = form.findChild<QWidget *>(QStringLiteral("CodePane"));
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    QVERIFY(pane && code && !pane->isVisible());

    // The screen, 1280 pixels wide, has room for part of the pane: the
    // window grows as far as it can with its frame, and the picture zooms
    // down beside the pane.
    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return pane->isVisible(); }));
    QCOMPARE(form.frameGeometry().width(), form.screen()->availableGeometry().width());
    QCOMPARE(pane->geometry().right(), form.width() - 1);
    const QRect picture = form.findChild<SurfaceView *>(QStringLiteral("Surface"))->geometry();
    QVERIFY2(picture.right() < pane->x(), "the pane covers the picture");
    QVERIFY(zoomOf(form) < 1.0);

    // Every line of every scene can be read whole at the pane's width, none
    // running on under the values beside it.
    for (const Command &command : kCommands) {
        if (!command.draws())
            continue;
        runAtOnce(form, {command.button});
        QCoreApplication::processEvents();
        QVERIFY(code->toPlainText().contains(QStringLiteral("PlotPoint(")));
        QCOMPARE(code->horizontalScrollBar()->maximum(), 0);
        for (QTextBlock block = code->document()->begin(); block.isValid(); block = block.next())
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                QVERIFY2(block.layout()->lineAt(i).naturalTextRect().right() <= code->viewport()->width(),
                         qPrintable(QString("%1: %2").arg(command.name, block.text())));
    }

    // Ctrl+C copies the code selected, whatever else the window does with
    // the key.
    QAction windowCopy;
    windowCopy.setShortcut(QKeySequence::Copy);
    form.addAction(&windowCopy);
    QSignalSpy windowCopied(&windowCopy, &QAction::triggered);
    code->setFocus();
    code->selectAll();
    QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), code->toPlainText());
    QCOMPARE(windowCopied.count(), 0);

    const qreal size = code->font().pointSizeF();
    QTest::keyClick(&form, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(code->font().pointSizeF(), size + 1);
    QTest::keyClick(&form, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(code->font().pointSizeF(), size);

    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return form.size() == toQSize(kDesignSize) && !pane->isVisible(); }));
    QCOMPARE(zoomOf(form), 1.0);
}

void TestWindow::numbersChangeInTheirForm_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("changed"); // the line after the change, or as it was if there is no number

    QTest::newRow("a tenth up") << "Sweep(666, 1800, 0.2, [&](double r) {" << 18 << 1LL
                                << "Sweep(666, 1800, 0.3, [&](double r) {";
    QTest::newRow("a whole number, caret after it") << "const double step = 6.283192 / 32;" << 33 << 1LL
                                                    << "const double step = 6.283192 / 33;";
    QTest::newRow("ten down, with the carry") << "x = 1000 + 2;" << 5 << -10LL << "x = 990 + 2;";
    QTest::newRow("the decimals kept") << "a = 0.10;" << 6 << -1LL << "a = 0.09;";
    QTest::newRow("never below zero") << "a = 0.2;" << 5 << -5LL << "a = 0.0;";
    QTest::newRow("past its digits") << "Sweep(0, 6.283192, step" << 14 << 4000000LL << "Sweep(0, 10.283192, step";
    QTest::newRow("no dot, no exponent, however large")
        << "n = 99999999999;" << 5 << 1LL << "n = 100000000000;";
    QTest::newRow("a digit in a name") << "PaletteColor(x2)" << 15 << 1LL << "PaletteColor(x2)";
    QTest::newRow("an exponent") << "a = 1e5;" << 4 << 1LL << "a = 1e5;";
    QTest::newRow("octal") << "a = 017;" << 6 << 1LL << "a = 017;";
}

void TestWindow::numbersChangeInTheirForm()
{
    QFETCH(QString, line);
    QFETCH(int, position);
    QFETCH(qint64, units);
    QFETCH(QString, changed);

    QString result = line;
    if (const std::optional<NumberSpan> span = numberAt(line, position))
        result.replace(span->start, span->length, steppedNumber(line.mid(span->start, span->length), units));
    QCOMPARE(result, changed);
}

void TestWindow::editedCopyRunsAsItsFile()
{
    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPlainTextEdit *code = editSunshineCopy(form, {}, QStringLiteral("/ 32"));
    QVERIFY(code);
    QVERIFY(code->hasFocus());
    QCOMPARE(form.findChild<QLabel *>(QStringLiteral("header"))->text(), QString("My sunshine · yours, editable"));

    // Typed in the code, the keys edit it, Space and Ctrl+Z included, and
    // Ctrl+C with nothing selected copies nothing, the picture neither.
    QSignalSpy copied(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    const auto line = [code] { return code->textCursor().block().text().trimmed(); };
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClicks(code, QStringLiteral("12"));
    QTest::keyClick(code, Qt::Key_Space);
    QCOMPARE(line(), QString("const double step = 6.283192 / 12 ;"));
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(line(), QString("const double step = 6.283192 / 12 ;"));
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(code->toPlainText(),
             sceneWith(QStringLiteral("Sunshine.cpp"), QStringLiteral("/ 32"), QStringLiteral("/ 12")));
    QCOMPARE(copied.count(), 0);

    // F5 queues it at the window's speed, on a cleared picture.
    form.RunCommand(Button::CmdCls);
    form.setSpeed(Speed::Fast);
    QTest::keyClick(&form, Qt::Key_F5);
    QVERIFY(form.isDrawing());
    for (int frame = 0; frame < 1000 && form.isDrawing(); ++frame) {
        clock.advance(CommandRunner::kFrame);
        form.advanceDrawing();
    }
    QVERIFY(!form.isDrawing());
    QCOMPARE(imageOf(pictureOf(form)), routineOver({}, code->toPlainText(), zoomOf(form)));
    QCOMPARE(form.pictures().size(), 1);
    QVERIFY(imageOf(pictureOf(form)) != sceneAlone(DrawSunshine));
}

void TestWindow::changedNumberRedrawsAtOnce_data()
{
    QTest::addColumn<QString>("number"); // the caret goes after the first of these
    QTest::addColumn<int>("dragged");    // pixels to the right; 0 for Alt+Up twice
    QTest::addColumn<QString>("changed");
    QTest::addColumn<int>("failingLine"); // where the changed routine fails while drawing, or 0

    QTest::newRow("Alt+Up on the rays") << "/ 32" << 0 << "/ 34" << 0;
    QTest::newRow("a drag on the step") << "0.2" << 3 * NumberDrag::kPixelsPerUnit << "0.5" << 0;
    // On the way to 0.0, 0.1 draws.
    QTest::newRow("a drag to a zero step") << "0.2" << -2 * NumberDrag::kPixelsPerUnit << "0.0" << 20;
}

void TestWindow::changedNumberRedrawsAtOnce()
{
    QFETCH(QString, number);
    QFETCH(int, dragged);
    QFETCH(QString, changed);
    QFETCH(int, failingLine);

    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPlainTextEdit *code = editSunshineCopy(form, {Button::CmdGs}, number);
    QVERIFY(code);
    if (dragged == 0) {
        QTest::keyClick(code, Qt::Key_Up, Qt::AltModifier);
        QTest::keyClick(code, Qt::Key_Up, Qt::AltModifier);
    } else {
        QPoint at = code->cursorRect().center() - QPoint(2, 0);
        QTest::mousePress(code->viewport(), Qt::LeftButton, {}, at);
        // The first move past the drag distance starts the drag; the rest
        // change the number.
        const int way = dragged > 0 ? 1 : -1;
        at.rx() += way * QApplication::startDragDistance();
        QTest::mouseMove(code->viewport(), at);
        for (int moved = 0; moved < std::abs(dragged); moved += NumberDrag::kPixelsPerUnit) {
            at.rx() += way * NumberDrag::kPixelsPerUnit;
            QTest::mouseMove(code->viewport(), at);
        }
        QTest::mouseRelease(code->viewport(), Qt::LeftButton, {}, at);
    }
    const QString expected = sceneWith(QStringLiteral("Sunshine.cpp"), number, changed);
    QCOMPARE(code->toPlainText(), expected);
    QVERIFY(!form.isDrawing());
    if (failingLine == 0) {
        // No frame has passed: the picture shows the last change finished,
        // over the pictures drawn before, and nothing of the first change.
        QCOMPARE(imageOf(pictureOf(form)), routineOver({Button::CmdGs, Button::Cmdyg}, expected, zoomOf(form)));
        QCOMPARE(form.pictures().size(), 3);
        return;
    }
    // A change that fails keeps the last good picture, of the change before
    // it, and tells where.
    auto *header = form.findChild<QLabel *>(QStringLiteral("header"));
    const QString where = QStringLiteral("line %1: ").arg(failingLine);
    QVERIFY2(header->text().contains(where), qPrintable(header->text()));
    const QImage kept = imageOf(pictureOf(form)).copy();
    QCOMPARE(kept, routineOver({Button::CmdGs, Button::Cmdyg},
                               sceneWith(QStringLiteral("Sunshine.cpp"), number, QStringLiteral("0.1")), zoomOf(form)));
    // Run, it fails the same way without ending the program, and what is
    // queued after it is drawn.
    QTest::keyClick(&form, Qt::Key_F5);
    form.RunCommand(Button::CmdDq);
    form.finishDrawing();
    QVERIFY(!form.isEnding());
    QVERIFY(header->text().contains(where));
    QCOMPARE(form.pictures().last(), Runnable(Button::CmdDq));
    QVERIFY(imageOf(pictureOf(form)) != kept);
}

void TestWindow::unreadableRoutineIsToldAndKept()
{
    const QString path = RoutineFiles::freePath(QStringLiteral("MySunshine.cpp"));
    const QByteArray notText("Sweep(0, 1, \xff\xfe);\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(notText);
    }
    {
        // The last edited, it is what the pane would open on.
        Form1 form(1.0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
        auto *header = form.findChild<QLabel *>(QStringLiteral("header"));
        QVERIFY2(header->text().endsWith(QStringLiteral("MySunshine.cpp is not UTF-8 text")), qPrintable(header->text()));
        QCOMPARE(header->accessibleDescription(), header->text());
        QVERIFY(form.findChild<QPlainTextEdit *>(QStringLiteral("code"))->isReadOnly());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), notText);
}

void TestWindow::screenReadersSeeNamedParts()
{
    Form1 form(1.0);
    form.setSpeed(Speed::Instant);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&form);
    QVERIFY(window);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), form.windowTitle());

    // Three labels, the picture and six buttons, each named; no panel.
    QAccessibleInterface *picture = nullptr;
    QMap<QString, QAccessibleInterface *> buttons;
    QStringList names;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *child = window->child(i);
        QVERIFY(child);
        QCOMPARE(window->indexOfChild(child), i);
        const QString name = child->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(QString("child %1 has no name").arg(i)));
        names << name;
        if (child->role() == QAccessible::Graphic)
            picture = child;
        if (child->role() == QAccessible::Button)
            buttons[name] = child;
    }
    QCOMPARE(names.size(), 10);
    QVERIFY(picture);
    QCOMPARE(picture->text(QAccessible::Name), QString("Picture"));
    QCOMPARE(picture->text(QAccessible::Description), QString("Blank"));
    for (const Command &command : kCommands)
        QVERIFY2(buttons.contains(QString::fromUtf8(command.caption)), command.caption);

    // Pressed through their actions, the buttons run their commands, and
    // the picture says what is on it, in the order drawn.
    const auto press = [&](const char *caption) {
        QAccessibleActionInterface *action = buttons.value(QString::fromUtf8(caption))->actionInterface();
        QVERIFY(action);
        QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
        // The button shows itself pressed for a moment before it clicks.
        QSignalSpy clicked(buttons.value(QString::fromUtf8(caption))->object(), SIGNAL(clicked()));
        action->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(clicked.wait());
        QVERIFY(waitUntilDrawn(form));
    };
    press("阳光");
    QCOMPARE(picture->text(QAccessible::Description), QString("阳光"));
    QCOMPARE(imageOf(pictureOf(form)), sceneAlone(DrawSunshine));
    press("高山");
    press("大桥");
    press("高山");
    QCOMPARE(picture->text(QAccessible::Description), QString("阳光, 大桥, 高山"));
    press("清除");
    QCOMPARE(picture->text(QAccessible::Description), QString("Blank"));
}

void TestWindow::closingTheWindowEndsTheProgram()
{
    // Even while a drawing is under way and more are queued.
    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.RunCommand(Button::Cmdyg);
    form.RunCommand(Button::Cmdyg);
    clock.advance(100ms);
    form.advanceDrawing();
    QTimer::singleShot(0, &form, &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!form.isVisible());
    QVERIFY(!form.isDrawing());
}

void TestWindow::pictureSurvivesHiding()
{
    // Above the row of buttons, whose focus frame may come and go.
    const QRect aboveButtons(0, 0, kDesignSize.width, 490);
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    runAtOnce(form, {Button::Cmdyg});
    QCoreApplication::processEvents();
    const QImage drawn = form.grab(aboveButtons).toImage();
    form.showMinimized();
    form.hide();
    form.showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.grab(aboveButtons).toImage(), drawn);
    QCOMPARE(drawn.pixelColor(533, 133), QColor(255, 0, 0));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
