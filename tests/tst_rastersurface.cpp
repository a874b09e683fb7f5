#include "CoreInQt.h"
#include "FaultEnglish.h"
#include "Palette.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "RuntimeError.h"
#include "TestImages.h"

#include <QtTest>

#include <limits>

using namespace sweepdraw;
using sweepdraw::test::isBlank;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

const Colour kRed = PaletteColor(12);
const Colour kBlue = PaletteColor(9);
const Colour kYellow = PaletteColor(14);

// Twips of the centre of pixel p at ratio 1.
constexpr float twips(int p)
{
    return 15.0f * p;
}

QRgb pixel(const RasterSurface &surface, int x, int y)
{
    return surface.pixel(x, y);
}

// The bounding box and number of the pixels that are not transparent.
struct Ink
{
    QRect bounds;
    int count = 0;
};

Ink inkOf(const QImage &image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) {
                ink.bounds |= QRect(x, y, 1, 1);
                ++ink.count;
            }
    return ink;
}

enum Operation { SetPen, Point, Box, Circle };

// Calls one operation with arguments from a test's data row, in red.
Status apply(DrawingSurface &surface, Operation operation, const QList<float> &args)
{
    switch (operation) {
    case SetPen: return surface.SetPenWidth(int(args[0]));
    case Point: return surface.PlotPoint(args[0], args[1], kRed);
    case Box: return surface.DrawBox(args[0], args[1], args[2], args[3], kRed);
    case Circle: return surface.DrawCircle(args[0], args[1], args[2], kRed);
    }
    return Status::failure(FaultKind::UnknownOperation, "apply");
}

} // namespace

class TestRasterSurface : public QObject
{
    Q_OBJECT

private slots:
    void startsTransparent();
    void twipsLandOnPixels_data();
    void twipsLandOnPixels();
    void dotShapes_data();
    void dotShapes();
    void discOfRadiusZero_data();
    void discOfRadiusZero();
    void laterColourWins();
    void repeatedPointIsRedrawnAfterOtherDrawing();
    void boxOutline();
    void circleOutline();
    void clearKeepsPenWidth();
    void offImageDrawingIsClipped_data();
    void offImageDrawingIsClipped();
    void invalidCallsFail_data();
    void invalidCallsFail();
    void dirtyRect();
    void imageReadsThePixels();
};

void TestRasterSurface::startsTransparent()
{
    RasterSurface surface(kDesignSize);
    QCOMPARE(imageOf(surface).size(), toQSize(kDesignSize));
    QVERIFY(imageOf(surface).hasAlphaChannel());
    QVERIFY(isBlank(imageOf(surface)));
    QCOMPARE(surface.penWidth(), 1);
}

void TestRasterSurface::twipsLandOnPixels_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QPoint>("expected");

    // Pen 1 is one device pixel at ratio 1 and a 2x2 block, ending on the
    // pixel, at ratios 1.5 and 2.
    QTest::newRow("on a pixel") << 1.0 << twips(10) << twips(20) << QPoint(10, 20);
    QTest::newRow("just below half") << 1.0 << twips(10) + 7.49f << twips(20) - 7.49f << QPoint(10, 20);
    QTest::newRow("halves round up") << 1.0 << twips(10) + 7.5f << twips(20) - 7.5f << QPoint(11, 20);
    QTest::newRow("origin") << 1.0 << 0.0f << 0.0f << QPoint(0, 0);
    QTest::newRow("ratio 2") << 2.0 << twips(10) << 7.5f << QPoint(20, 1);
    QTest::newRow("ratio 1.5") << 1.5 << 100.0f << 150.0f << QPoint(10, 15);
}

void TestRasterSurface::twipsLandOnPixels()
{
    QFETCH(double, ratio);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QPoint, expected);

    RasterSurface surface(Size{100, 100}, ratio);
    QVERIFY(surface.PlotPoint(x, y, kRed).ok());
    const Ink ink = inkOf(imageOf(surface));
    QCOMPARE(ink.count, ratio == 1.0 ? 1 : 4);
    QCOMPARE(ink.bounds.bottomRight(), expected);
    QCOMPARE(pixel(surface, expected.x(), expected.y()), toQRgb(kRed));
}

void TestRasterSurface::dotShapes_data()
{
    QTest::addColumn<int>("pen");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QRect>("bounds");
    QTest::addColumn<int>("count");

    // Dots centred on pixel (50, 50).
    QTest::newRow("pen 1") << 1 << 1.0 << QRect(50, 50, 1, 1) << 1;
    QTest::newRow("pen 2 is a 2x2 block") << 2 << 1.0 << QRect(49, 49, 2, 2) << 4;
    QTest::newRow("pen 3") << 3 << 1.0 << QRect(49, 49, 3, 3) << 9;
    QTest::newRow("pen 4 is round") << 4 << 1.0 << QRect(48, 48, 4, 4) << 12;
    QTest::newRow("pen 1 at ratio 2") << 1 << 2.0 << QRect(99, 99, 2, 2) << 4;
    QTest::newRow("pen 66") << 66 << 1.0 << QRect(17, 17, 66, 66) << -1;
}

void TestRasterSurface::dotShapes()
{
    QFETCH(int, pen);
    QFETCH(double, ratio);
    QFETCH(QRect, bounds);
    QFETCH(int, count);

    RasterSurface surface(Size{100, 100}, ratio);
    QVERIFY(surface.SetPenWidth(pen).ok());
    QVERIFY(surface.PlotPoint(twips(50), twips(50), kBlue).ok());
    const Ink ink = inkOf(imageOf(surface));
    QCOMPARE(ink.bounds, bounds);
    if (count >= 0)
        QCOMPARE(ink.count, count);
    // Round: the corners of the bounding box stay clear for larger dots, the
    // middle row and column are full.
    if (pen >= 4) {
        QCOMPARE(qAlpha(pixel(surface, bounds.left(), bounds.top())), 0);
        QCOMPARE(pixel(surface, bounds.left(), 50), toQRgb(kBlue));
        QCOMPARE(pixel(surface, bounds.right(), 50), toQRgb(kBlue));
        QCOMPARE(pixel(surface, 50, bounds.top()), toQRgb(kBlue));
        QCOMPARE(pixel(surface, 50, bounds.bottom()), toQRgb(kBlue));
    }
}

void TestRasterSurface::discOfRadiusZero_data()
{
    QTest::addColumn<double>("ratio");
    QTest::newRow("ratio 1") << 1.0;
    QTest::newRow("ratio 2") << 2.0;
}

void TestRasterSurface::discOfRadiusZero()
{
    QFETCH(double, ratio);

    RasterSurface surface(kDesignSize, ratio);
    QVERIFY(surface.SetPenWidth(66).ok());
    QVERIFY(surface.DrawCircle(8000, 2000, 0, kRed).ok());
    const Ink ink = inkOf(imageOf(surface));
    const int across = qRound(66 * ratio);
    QCOMPARE(ink.bounds.width(), across);
    QCOMPARE(ink.bounds.height(), across);
    // Filled: every pixel within the disc, not just its rim.
    const QPoint centre = ink.bounds.center();
    QCOMPARE(pixel(surface, centre.x(), centre.y()), toQRgb(kRed));
    const double area = 3.14159265 * across * across / 4;
    QVERIFY2(std::abs(ink.count - area) < 0.02 * area, qPrintable(QString::number(ink.count)));
}

void TestRasterSurface::laterColourWins()
{
    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(3).ok());
    QVERIFY(surface.PlotPoint(twips(10), twips(10), kRed).ok());
    QVERIFY(surface.PlotPoint(twips(10), twips(10), kBlue).ok());
    QVERIFY(surface.PlotPoint(twips(11), twips(10), kYellow).ok());
    QCOMPARE(pixel(surface, 9, 10), toQRgb(kBlue));
    QCOMPARE(pixel(surface, 10, 10), toQRgb(kYellow));
    QCOMPARE(pixel(surface, 12, 10), toQRgb(kYellow));
}

void TestRasterSurface::repeatedPointIsRedrawnAfterOtherDrawing()
{
    // A point plotted again where the last dot was is skipped; anything drawn
    // in between must make it count again.
    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(3).ok());
    QVERIFY(surface.PlotPoint(twips(20), twips(20), kRed).ok());
    QVERIFY(surface.DrawBox(twips(20), twips(20), twips(30), twips(30), kBlue).ok());
    QVERIFY(surface.PlotPoint(twips(20), twips(20), kRed).ok());
    QCOMPARE(pixel(surface, 20, 20), toQRgb(kRed));

    QVERIFY(surface.DrawCircle(twips(20), twips(20), 0, kBlue).ok());
    QVERIFY(surface.PlotPoint(twips(20), twips(20), kRed).ok());
    QCOMPARE(pixel(surface, 20, 20), toQRgb(kRed));

    QVERIFY(surface.ClearSurface().ok());
    QVERIFY(surface.PlotPoint(twips(20), twips(20), kRed).ok());
    QCOMPARE(pixel(surface, 20, 20), toQRgb(kRed));

    // A run of points on one dot, then a dot elsewhere in another colour,
    // then that colour back on the first dot.
    for (int i = 0; i < 4; ++i)
        QVERIFY(surface.PlotPoint(twips(60), twips(60), kRed).ok());
    QVERIFY(surface.PlotPoint(twips(80), twips(80), kBlue).ok());
    QVERIFY(surface.PlotPoint(twips(60), twips(60), kBlue).ok());
    QCOMPARE(pixel(surface, 60, 60), toQRgb(kBlue));

    QVERIFY(surface.SetPenWidth(5).ok());
    QVERIFY(surface.PlotPoint(twips(20), twips(20), kRed).ok());
    QCOMPARE(pixel(surface, 22, 20), toQRgb(kRed));
}

void TestRasterSurface::boxOutline()
{
    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(2).ok());
    // Corners given the other way round make the same box.
    QVERIFY(surface.DrawBox(twips(80), twips(70), twips(10), twips(20), kYellow).ok());

    for (const QPoint p : {QPoint(10, 20), QPoint(80, 20), QPoint(10, 70), QPoint(80, 70),
                           QPoint(45, 20), QPoint(45, 70), QPoint(10, 45), QPoint(80, 45),
                           QPoint(9, 19), QPoint(45, 69)})
        QVERIFY2(pixel(surface, p.x(), p.y()) == toQRgb(kYellow), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint p : {QPoint(45, 45), QPoint(11, 21), QPoint(78, 68), QPoint(81, 45), QPoint(45, 71)})
        QVERIFY2(qAlpha(pixel(surface, p.x(), p.y())) == 0, qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    QCOMPARE(inkOf(imageOf(surface)).bounds, QRect(QPoint(9, 19), QPoint(80, 70)));
}

void TestRasterSurface::circleOutline()
{
    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(3).ok());
    QVERIFY(surface.DrawCircle(twips(50), twips(50), twips(30), kYellow).ok());

    QCOMPARE(qAlpha(pixel(surface, 50, 50)), 0);
    QCOMPARE(qAlpha(pixel(surface, 50 + 27, 50)), 0);
    QCOMPARE(qAlpha(pixel(surface, 50 + 33, 50)), 0);
    for (const QPoint p : {QPoint(80, 50), QPoint(20, 50), QPoint(50, 80), QPoint(50, 20),
                           QPoint(71, 71), QPoint(29, 29), QPoint(79, 50), QPoint(81, 50)})
        QVERIFY2(pixel(surface, p.x(), p.y()) == toQRgb(kYellow), qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    QCOMPARE(inkOf(imageOf(surface)).bounds, QRect(QPoint(19, 19), QPoint(81, 81)));
}

void TestRasterSurface::clearKeepsPenWidth()
{
    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.ClearSurface().ok());
    QVERIFY(isBlank(imageOf(surface)));

    QVERIFY(surface.SetPenWidth(66).ok());
    QVERIFY(surface.DrawCircle(twips(50), twips(50), 0, kRed).ok());
    QVERIFY(surface.DrawBox(0, 0, twips(99), twips(99), kBlue).ok());
    QVERIFY(!isBlank(imageOf(surface)));
    QVERIFY(surface.ClearSurface().ok());
    QVERIFY(isBlank(imageOf(surface)));
    QCOMPARE(surface.penWidth(), 66);
}

void TestRasterSurface::offImageDrawingIsClipped_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QList<float>>("args");
    QTest::addColumn<bool>("inks");
    QTest::addColumn<int>("pen");

    const float big = std::numeric_limits<float>::max();
    QTest::newRow("point far left") << int(Point) << QList<float>{-1000, twips(50)} << false << 66;
    QTest::newRow("point far off") << int(Point) << QList<float>{big, -big} << false << 66;
    QTest::newRow("point on the edge") << int(Point) << QList<float>{twips(100), twips(99)} << true << 66;
    QTest::newRow("box larger than the image") << int(Box) << QList<float>{-big, -big, big, big} << false << 66;
    QTest::newRow("box half off") << int(Box) << QList<float>{twips(50), twips(50), 1e9f, 1e9f} << true << 66;
    QTest::newRow("huge circle") << int(Circle) << QList<float>{twips(50), twips(50), big} << false << 66;
    QTest::newRow("circle round a corner") << int(Circle) << QList<float>{0, 0, twips(20)} << true << 66;
    // One-pixel dots by the last column and row, and at minus zero.
    QTest::newRow("pen 1 on the last column") << int(Point) << QList<float>{twips(99) + 7.49f, twips(50)} << true << 1;
    QTest::newRow("pen 1 past the last column") << int(Point) << QList<float>{twips(99) + 7.5f, twips(50)} << false << 1;
    QTest::newRow("pen 1 past the last row") << int(Point) << QList<float>{twips(50), twips(99) + 7.5f} << false << 1;
    QTest::newRow("pen 1 at minus zero") << int(Point) << QList<float>{-0.0f, -0.0f} << true << 1;
}

void TestRasterSurface::offImageDrawingIsClipped()
{
    QFETCH(int, operation);
    QFETCH(QList<float>, args);
    QFETCH(bool, inks);
    QFETCH(int, pen);

    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(pen).ok());
    const Status status = apply(surface, Operation(operation), args);
    QVERIFY2(status.ok(), status.message().c_str());
    QCOMPARE(!isBlank(imageOf(surface)), inks);
}

void TestRasterSurface::invalidCallsFail_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QList<float>>("args");
    QTest::addColumn<QString>("message");

    const QString penOutside = "SetPenWidth: width is outside 1 to " + QString::number(DrawingSurface::kMaxPenWidth)
                               + " pixels (got %1)";
    const int widest = DrawingSurface::kMaxPenWidth;
    QTest::newRow("pen 0") << int(SetPen) << QList<float>{0} << penOutside.arg(0);
    QTest::newRow("pen -3") << int(SetPen) << QList<float>{-3} << penOutside.arg(-3);
    QTest::newRow("pen beyond the widest") << int(SetPen) << QList<float>{widest + 1.0f} << penOutside.arg(widest + 1);
    QTest::newRow("point x NaN") << int(Point) << QList<float>{kNaN, 10} << "PlotPoint: x is not a finite number (got nan)";
    QTest::newRow("point y infinite") << int(Point) << QList<float>{10, -kInf} << "PlotPoint: y is not a finite number (got -inf)";
    QTest::newRow("box y2 NaN") << int(Box) << QList<float>{1, 2, 3, kNaN} << "DrawBox: y2 is not a finite number (got nan)";
    QTest::newRow("box x1 infinite") << int(Box) << QList<float>{kInf, 2, 3, 4} << "DrawBox: x1 is not a finite number (got inf)";
    QTest::newRow("circle radius negative") << int(Circle) << QList<float>{10, 10, -1} << "DrawCircle: radius is negative (got -1)";
    QTest::newRow("circle radius NaN") << int(Circle) << QList<float>{10, 10, kNaN} << "DrawCircle: radius is not a finite number (got nan)";
    QTest::newRow("circle x infinite") << int(Circle) << QList<float>{kInf, 10, 5} << "DrawCircle: x is not a finite number (got inf)";
}

void TestRasterSurface::invalidCallsFail()
{
    QFETCH(int, operation);
    QFETCH(QList<float>, args);
    QFETCH(QString, message);

    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(3).ok());
    QVERIFY(surface.PlotPoint(twips(5), twips(5), kBlue).ok());
    const QImage before = imageOf(surface).copy();

    const Status status = apply(surface, Operation(operation), args);
    QVERIFY(!status.ok());
    QCOMPARE(QString::fromStdString(inEnglish(status.fault())), message);
    QCOMPARE(imageOf(surface), before);
    QCOMPARE(surface.penWidth(), 3);

    // The failing status becomes the program's error, with the same words.
    try {
        check(status);
        QFAIL("no error");
    } catch (const RuntimeError &error) {
        QCOMPARE(QString::fromStdString(inEnglish(error)), message);
    }
}

void TestRasterSurface::dirtyRect()
{
    RasterSurface surface(Size{100, 100});
    (void)surface.takeDirtyRect();

    QVERIFY(surface.SetPenWidth(3).ok());
    for (int i = 1; i < 1024; ++i)
        QVERIFY(surface.PlotPoint(twips(10 + i % 5), twips(20), kRed).ok());
    QCOMPARE(toQRect(surface.takeDirtyRect()), QRect(QPoint(9, 19), QPoint(15, 21)));
    QCOMPARE(toQRect(surface.takeDirtyRect()), QRect());

    QVERIFY(surface.ClearSurface().ok());
    QCOMPARE(toQRect(surface.takeDirtyRect()), QRect(0, 0, 100, 100));
}

void TestRasterSurface::imageReadsThePixels()
{
    RasterSurface surface(Size{100, 100}, 1.5);
    const QImage image = imageOf(surface);
    QCOMPARE(image.size(), QSize(150, 150));
    QCOMPARE(image.format(), QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(image.constBits(), reinterpret_cast<const uchar *>(surface.pixels()));

    // Drawing shows in an image taken before it, and writing to the image
    // leaves the picture as it was.
    QVERIFY(surface.PlotPoint(twips(10), twips(20), kRed).ok());
    QCOMPARE(image.pixel(15, 30), toQRgb(kRed));
    QImage written = image;
    written.setPixel(15, 30, toQRgb(kBlue));
    QCOMPARE(pixel(surface, 15, 30), toQRgb(kRed));
    QCOMPARE(image.constBits(), reinterpret_cast<const uchar *>(surface.pixels()));
}

QTEST_APPLESS_MAIN(TestRasterSurface)
#include "tst_rastersurface.moc"
