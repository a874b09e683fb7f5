#include "ForwardingSurface.h"
#include "Form1.h"
#include "Palette.h"
#include "RasterSurface.h"
#include "Scenes.h"
#include "TestImages.h"

#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextLayout>
#include <QtTest>

using namespace sweepdraw;
using sweepdraw::test::ForwardingSurface;
using sweepdraw::test::isBlank;
using sweepdraw::test::Scene;

namespace {

// The picture a scene draws alone on a fresh surface the size of the window.
QImage sceneAlone(Scene scene)
{
    RasterSurface reference(QSize(800, 552));
    scene(reference);
    return reference.image().copy();
}

// `top` painted over `bottom`: every pixel `top` drew replaces the one below.
QImage paintedOver(QImage bottom, const QImage &top)
{
    for (int y = 0; y < top.height(); ++y)
        for (int x = 0; x < top.width(); ++x)
            if (qAlpha(top.pixel(x, y)) != 0)
                bottom.setPixel(x, y, top.pixel(x, y));
    return bottom;
}

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

Q_DECLARE_METATYPE(Button)

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void window();
    void controls_data();
    void controls();
    void stackingOrder();
    void focusAndTabOrder();
    void labelFonts_data();
    void labelFonts();
    void boldIsVisible();
    void buttonCaptionsHaveGlyphs();
    void panelUnderPictures();
    void scenesDrawTheirPictures_data();
    void scenesDrawTheirPictures();
    void spaceRunsTheBridge();
    void scenesAccumulate();
    void clearRestoresStartUp();
    void exitEndsTheProgram();
    void clickDuringCommandWaits();
    void progressIsShownWhileDrawing();
    void runTimeErrorEndsWithStatusOne();
    void runTimeErrorIsShownInAMessageBox();
    void closingTheWindowEndsTheProgram();
    void pictureSurvivesHiding();
};

void TestWindow::window()
{
    Form1 form(1.0);
    QCOMPARE(form.objectName(), QString("Form1"));
    QCOMPARE(form.windowTitle(), QString("图形程序设计 Merivane 2006.11."));
    QCOMPARE(form.size(), QSize(800, 552));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QCOMPARE(grabbedAt(form, QPoint(2, 300)), QColor(0, 128, 0));
    QVERIFY(isBlank(form.picture().image()));
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
    QCOMPARE(control->parentWidget(), &form);
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

void TestWindow::stackingOrder()
{
    Form1 form(1.0);
    QStringList fromBottom;
    for (QObject *child : form.children())
        if (child->isWidgetType())
            fromBottom << child->objectName();
    // The pictures lie between the panel and the labels.
    QCOMPARE(fromBottom, QStringList({"Shape1", "Surface", "Label1", "Label2", "Label3", "CmdDq", "Cmdyg",
                                      "Cmdls", "CmdCls", "CmdExit", "CmdGs"}));
}

void TestWindow::focusAndTabOrder()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.button(Button::CmdDq));

    QStringList order;
    for (int i = 0; i < 7; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"CmdDq", "Cmdyg", "Cmdls", "CmdCls", "CmdExit", "CmdGs", "CmdDq"}));
}

void TestWindow::labelFonts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("Label1") << "Label1" << 35 << QColor(255, 255, 0);
    QTest::newRow("Label2") << "Label2" << 21 << QColor(0, 255, 0);
    QTest::newRow("Label3") << "Label3" << 21 << QColor(0, 192, 192);
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
    QCOMPARE(font.families().value(0), QString("楷体_GB2312"));
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

void TestWindow::panelUnderPictures()
{
    Form1 form(1.0);
    form.RunCommand(Button::CmdGs);
    const QImage shot = form.grab().toImage();
    QCOMPARE(shot.pixelColor(8, 300), QColor(0, 0, 255));
    QCOMPARE(shot.pixelColor(792, 300), QColor(0, 0, 255));
    QCOMPARE(shot.pixelColor(400, 8), QColor(0, 0, 255));
    QCOMPARE(shot.pixelColor(400, 544), QColor(0, 0, 255));
    QCOMPARE(shot.pixelColor(600, 300), QColor(0, 0, 0));
    QCOMPARE(shot.pixelColor(5, 300), QColor(0, 128, 0));
    // The mountain ridge shows over the panel, the frame over the background.
    QCOMPARE(shot.pixelColor(37, 185), QColor(0, 255, 255));
    QCOMPARE(shot.pixelColor(3, 300), QColor(255, 255, 0));
}

void TestWindow::scenesDrawTheirPictures_data()
{
    QTest::addColumn<Button>("button");
    QTest::addColumn<Scene>("scene");
    QTest::addColumn<int>("pen");

    QTest::newRow("高山") << Button::CmdGs << Scene(DrawMountains) << 3;
    QTest::newRow("流水") << Button::Cmdls << Scene(DrawWater) << 2;
    QTest::newRow("阳光") << Button::Cmdyg << Scene(DrawSunshine) << 1;
    QTest::newRow("大桥") << Button::CmdDq << Scene(DrawBridge) << 2;
}

void TestWindow::scenesDrawTheirPictures()
{
    QFETCH(Button, button);
    QFETCH(Scene, scene);
    QFETCH(int, pen);

    Form1 form(1.0);
    QTest::mouseClick(form.button(button), Qt::LeftButton);
    QCOMPARE(form.picture().image(), sceneAlone(scene));
    QCOMPARE(form.picture().penWidth(), pen);
}

void TestWindow::spaceRunsTheBridge()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(form.picture().image(), sceneAlone(DrawBridge));
}

void TestWindow::scenesAccumulate()
{
    Form1 form(1.0);
    form.RunCommand(Button::Cmdyg);
    form.RunCommand(Button::CmdGs);
    QCOMPARE(form.picture().image(), paintedOver(sceneAlone(DrawSunshine), sceneAlone(DrawMountains)));
    form.RunCommand(Button::Cmdls);
    form.RunCommand(Button::CmdDq);
    QImage all = paintedOver(sceneAlone(DrawSunshine), sceneAlone(DrawMountains));
    all = paintedOver(paintedOver(all, sceneAlone(DrawWater)), sceneAlone(DrawBridge));
    QCOMPARE(form.picture().image(), all);
}

void TestWindow::clearRestoresStartUp()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage startUp = form.grab().toImage();
    const QObjectList controls = form.children();

    form.RunCommand(Button::CmdCls);
    QCOMPARE(form.grab().toImage(), startUp);

    for (Button scene : {Button::CmdGs, Button::Cmdls, Button::Cmdyg, Button::CmdDq})
        form.RunCommand(scene);
    QVERIFY(form.grab().toImage() != startUp);
    QTest::mouseClick(form.button(Button::CmdCls), Qt::LeftButton);
    QCOMPARE(form.grab().toImage(), startUp);
    QCOMPARE(form.children(), controls);
    QCOMPARE(form.picture().penWidth(), 2);
}

void TestWindow::exitEndsTheProgram()
{
    Form1 form(1.0);
    form.show();
    form.RunCommand(Button::Cmdls);
    QObject::connect(&form, &Form1::ended, qApp, &QCoreApplication::exit);
    QTimer::singleShot(0, &form, [&] { QTest::mouseClick(form.button(Button::CmdExit), Qt::LeftButton); });
    QCOMPARE(QCoreApplication::exec(), 0);

    // Once ending, the window takes no more commands.
    const QImage before = form.picture().image().copy();
    QTest::mouseClick(form.button(Button::CmdCls), Qt::LeftButton);
    QCOMPARE(form.picture().image(), before);
}

void TestWindow::clickDuringCommandWaits()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPushButton *clear = form.button(Button::CmdCls);
    const QPoint centre = clear->rect().center();

    // Halfway through the mountains, a click on "清除" arrives.
    ForwardingSurface surface(form.picture(), [&](long long operation) {
        if (operation == 100000) {
            QCoreApplication::postEvent(clear, new QMouseEvent(QEvent::MouseButtonPress, centre,
                                                               clear->mapToGlobal(centre), Qt::LeftButton,
                                                               Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(clear, new QMouseEvent(QEvent::MouseButtonRelease, centre,
                                                               clear->mapToGlobal(centre), Qt::LeftButton,
                                                               Qt::NoButton, Qt::NoModifier));
        }
        return Status();
    });
    form.setDrawingSurface(&surface);
    QTest::mouseClick(form.button(Button::CmdGs), Qt::LeftButton);
    QCOMPARE(surface.operations(), 200003);
    QCOMPARE(form.picture().image(), sceneAlone(DrawMountains));

    // Afterwards the click takes effect.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(isBlank(form.picture().image()));
}

void TestWindow::progressIsShownWhileDrawing()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget *view = form.findChild<QWidget *>("Surface");
    QVERIFY(view);

    // Count the view's paints while a slowed-down command runs for about
    // 300 ms; repaints come at most about once a frame.
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    view->installEventFilter(&counter);
    ForwardingSurface surface(form.picture(), [](long long operation) {
        if (operation % 1000 == 0)
            QThread::usleep(1500);
        return Status();
    });
    form.setDrawingSurface(&surface);
    QElapsedTimer clock;
    clock.start();
    form.RunCommand(Button::CmdGs);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(counter.paints >= 3, qPrintable(QString::number(counter.paints)));
    QVERIFY2(counter.paints <= elapsed / 16 + 1,
             qPrintable(QString("%1 paints in %2 ms").arg(counter.paints).arg(elapsed)));
}

void TestWindow::runTimeErrorEndsWithStatusOne()
{
    Form1 form(1.0);
    QSignalSpy ended(&form, &Form1::ended);
    ForwardingSurface surface(form.picture(), [](long long operation) {
        return operation == 2 ? Status::failure("PlotPoint: the device is gone") : Status();
    });
    form.setDrawingSurface(&surface);

    QTest::ignoreMessage(QtCriticalMsg, "sweepdraw: run-time error: PlotPoint: the device is gone");
    form.click(Button::CmdDq);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 1);
    // The first point failed: only the pen was set, nothing was drawn.
    QVERIFY(isBlank(form.picture().image()));
    QCOMPARE(form.picture().penWidth(), 3);

    form.setDrawingSurface(nullptr);
    form.click(Button::CmdGs);
    QVERIFY(isBlank(form.picture().image()));
    QCOMPARE(ended.count(), 1);
}

void TestWindow::runTimeErrorIsShownInAMessageBox()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.setErrorDialogs(true);
    QSignalSpy ended(&form, &Form1::ended);
    ForwardingSurface surface(form.picture(), [](long long operation) {
        return operation == 1000 ? Status::failure("PlotPoint: the device is gone") : Status();
    });
    form.setDrawingSurface(&surface);

    QString title, text;
    QTimer::singleShot(50, &form, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    QTest::ignoreMessage(QtCriticalMsg, "sweepdraw: run-time error: PlotPoint: the device is gone");
    form.click(Button::Cmdls);
    QCOMPARE(title, form.windowTitle());
    QCOMPARE(text, QString("PlotPoint: the device is gone"));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 1);
}

void TestWindow::closingTheWindowEndsTheProgram()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTimer::singleShot(0, &form, &QWidget::close);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!form.isVisible());
}

void TestWindow::pictureSurvivesHiding()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.RunCommand(Button::Cmdyg);
    const QImage drawn = form.grab().toImage();
    form.showMinimized();
    form.hide();
    form.showNormal();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.grab().toImage(), drawn);
    QCOMPARE(drawn.pixelColor(533, 133), QColor(255, 0, 0));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
