#include "BackgroundRecording.h"
#include "CompiledRoutine.h"
#include "CoreInQt.h"
#include "HelpDialog.h"
#include "Palette.h"
#include "PictureHistory.h"
#include "PictureImage.h"
#include "Recording.h"
#include "CommandCode.h"
#include "RoutineFiles.h"
#include "RuntimeError.h"
#include "Scenes.h"
#include "Stage.h"
#include "TestImages.h"
#include "Translations.h"
#include "VectorState.h"
#include "WindowColours.h"
#include "WindowImage.h"
#include "WindowTesting.h"

#include <QAccessible>
#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextLayout>

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::buttonOf;
using sweepdraw::test::forgetTheLearnersRoutines;
using sweepdraw::test::isBlank;
using sweepdraw::test::ManualClock;
using sweepdraw::test::paintedOver;
using sweepdraw::test::pictureOf;
using sweepdraw::test::runAtOnce;
using sweepdraw::test::Scene;
using sweepdraw::test::sceneAlone;
using sweepdraw::test::startAsTheProgramDoes;
using sweepdraw::test::waitUntilDrawn;
using sweepdraw::test::zoomOf;

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

QColor grabbedAt(QWidget &widget, QPoint p)
{
    return widget.grab().toImage().pixelColor(p);
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { startAsTheProgramDoes(); }
    void init() { forgetTheLearnersRoutines(); }
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
    void eachPassShowsAsItLands_data();
    void eachPassShowsAsItLands();
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
