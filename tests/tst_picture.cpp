// What the window does with the picture: copies it, records it, and draws
// it afresh at another zoom.
#include "BackgroundRecording.h"
#include "CoreInQt.h"
#include "PictureImage.h"
#include "Recording.h"
#include "Scenes.h"
#include "Stage.h"
#include "TestImages.h"
#include "WindowColours.h"
#include "WindowImage.h"
#include "WindowTesting.h"

#include <QAccessible>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QPainter>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::buttonOf;
using sweepdraw::test::ManualClock;
using sweepdraw::test::pictureOf;
using sweepdraw::test::resizeShown;
using sweepdraw::test::startAsTheProgramDoes;
using sweepdraw::test::zoomOf;

namespace {

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

// What the commands draw on a fresh surface at a zoom, at once.
QImage drawnAt(double zoom, const QList<Button> &buttons)
{
    RasterSurface surface(kDesignSize, zoom);
    for (Button button : buttons)
        commandOf(button).action(surface);
    return imageOf(surface).copy();
}

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { startAsTheProgramDoes(); }
    void copyTakesThePictureAsItStands_data();
    void copyTakesThePictureAsItStands();
    void recordingInTheBackground_data();
    void recordingInTheBackground();
    void zoomScalesEverything_data();
    void zoomScalesEverything();
    void zoomDrawsThePictureAfresh_data();
    void zoomDrawsThePictureAfresh();
};

void TestPicture::copyTakesThePictureAsItStands_data()
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

void TestPicture::copyTakesThePictureAsItStands()
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

void TestPicture::recordingInTheBackground_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("whole") << "whole";
    QTest::newRow("cancelled") << "cancelled";
    // The mountains paused part way: recorded whole, and said so.
    QTest::newRow("from the menu, paused") << "paused";
}

void TestPicture::recordingInTheBackground()
{
    QFETCH(QString, how);

    const QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QList<Runnable> pictures =
        how == "paused" ? QList<Runnable>{Button::CmdGs} : QList<Runnable>{Button::CmdGs, Button::Cmdls};
    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // About 360 frames at the slow speed.
    const QString path = folder.filePath("window.gif");
    QPointer<BackgroundRecording> recording;
    if (how == "paused") {
        form.setSpeed(Speed::Slow);
        QTest::mouseClick(buttonOf(form, Button::CmdGs), Qt::LeftButton);
        clock.advance(1s);
        form.advanceDrawing();
        QTest::keyClick(&form, Qt::Key_Pause);
        // The file asked for is given as a learner would type it.
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        answer.start(10);
        const QList<QAction *> actions = form.findChildren<QAction *>();
        const auto record = std::ranges::find(actions, QString("Record animation…"), &QAction::text);
        QVERIFY(record != actions.end());
        (*record)->trigger();
        recording = form.findChild<BackgroundRecording *>();
        QVERIFY(recording);
        const QString told = form.findChild<QProgressDialog *>()->labelText();
        QVERIFY2(told.contains(QString::fromUtf8(commandOf(Button::CmdGs).caption)), qPrintable(told));
    } else {
        recording = new BackgroundRecording(pictures, Speed::Slow, path, &form);
    }
    if (how == "cancelled") {
        QPointer<QProgressDialog> progress = form.findChild<QProgressDialog *>();
        QTRY_VERIFY(progress && progress->value() >= 3);
        QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(recording.isNull(), 60000);
    if (how == "cancelled") {
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

void TestPicture::zoomScalesEverything_data()
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

void TestPicture::zoomScalesEverything()
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

void TestPicture::zoomDrawsThePictureAfresh_data()
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

void TestPicture::zoomDrawsThePictureAfresh()
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

QTEST_MAIN(TestPicture)
#include "tst_picture.moc"
