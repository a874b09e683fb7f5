#include "CoreInQt.h"
#include "Palette.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "Scenes.h"
#include "TestImages.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <QtTest>

#include <cmath>
#include <functional>
#include <vector>

using namespace sweepdraw;
using sweepdraw::test::inkCount;
using sweepdraw::test::Scene;

// Pins the exact pixels each scene leaves on the raster surface, so that any
// change to how the surface draws, however it is made faster, must leave
// every picture as it was; and checks that the points the surface leaves out
// because they would change nothing really change nothing.

namespace {

// SHA-256 of the visible pixels, row by row, each pixel as its 32-bit
// premultiplied ARGB value in little-endian order: the padding at the end of
// a scanline is left out, and the digest is the same on any machine.
QByteArray imageDigest(const QImage &image)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<quint32> row(static_cast<std::size_t>(image.width()));
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[static_cast<std::size_t>(x)] = qToLittleEndian(line[x]);
        hash.addData(QByteArrayView(reinterpret_cast<const char *>(row.data()),
                                    static_cast<qsizetype>(row.size() * sizeof(quint32))));
    }
    return hash.result().toHex();
}

struct Plot
{
    float x, y;
    Colour colour;
};
using Plots = QList<Plot>;

const Colour kRed = PaletteColor(12);
const Colour kBlue = PaletteColor(9);

// Points every `step` twips from `from` for `count` points, in one colour.
Plots stroke(QPointF from, QPointF step, int count, Colour colour = kRed)
{
    Plots plots;
    for (int i = 0; i < count; ++i)
        plots.append({static_cast<float>(from.x() + i * step.x()),
                      static_cast<float>(from.y() + i * step.y()), colour});
    return plots;
}

float floatsAway(float t, int n)
{
    for (; n > 0; --n)
        t = std::nextafter(t, INFINITY);
    for (; n < 0; ++n)
        t = std::nextafter(t, -INFINITY);
    return t;
}

// Where the surface leaves one pixel for the next is known only to within a
// float or two. For every fourth pixel edge at `ratio`, and each float within
// three of a first guess at the edge, a run of points well inside one side in
// blue, then a run well inside the other side in red, ends with one red
// point on that float, each such set on a row of its own, coming from the
// left and from the right: wherever the edge really is, some set ends with
// the only red point on the pixel beyond it. With `downwards` the same runs
// go down across the rows instead.
Plots acrossEdges(double ratio, bool downwards)
{
    const double pixel = kTwipsPerPixel / ratio;
    Plots plots;
    const auto plot = [&](float along, float across, Colour colour) {
        plots.append(downwards ? Plot{across, along, colour} : Plot{along, across, colour});
    };
    for (int p = 4; p <= 160; p += 4) {
        const float edge = static_cast<float>((p - 0.5) * pixel);
        int line = 0;
        for (int from : {-6, 6}) {
            for (int last = -3; last <= 3; ++last) {
                const float across = static_cast<float>(4 * ++line * pixel);
                for (int t : {-from, -from * 5 / 6, -from * 4 / 6})
                    plot(floatsAway(edge, t), across, kBlue);
                for (int t : {from, from * 5 / 6, from * 4 / 6, last})
                    plot(floatsAway(edge, t), across, kRed);
            }
        }
    }
    return plots;
}

void plotAll(RasterSurface &surface, const Plots &plots, int pen, bool forgetEach)
{
    QVERIFY(surface.SetPenWidth(pen).ok());
    for (const Plot &p : plots) {
        // Setting the pen again makes the surface draw the next point even
        // where it would have stood for the same dot as the one before.
        if (forgetEach)
            QVERIFY(surface.SetPenWidth(pen).ok());
        QVERIFY(surface.PlotPoint(p.x, p.y, p.colour).ok());
    }
}

} // namespace

Q_DECLARE_METATYPE(QList<Scene>)
Q_DECLARE_METATYPE(Plots)
Q_DECLARE_METATYPE(std::function<Status(DrawingSurface &)>)

class TestSceneImages : public QObject
{
    Q_OBJECT

private slots:
    void digest_data();
    void digest();
    void repeatedDotsLeftOutChangeNothing_data();
    void repeatedDotsLeftOutChangeNothing();
    void runOnOneDotCountsAgainAfterOtherDrawing_data();
    void runOnOneDotCountsAgainAfterOtherDrawing();
};

void TestSceneImages::digest_data()
{
    QTest::addColumn<QList<Scene>>("scenes"); // drawn in order on one fresh surface
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QByteArray>("sha256");

    // Each scene alone, as the window shows it on an ordinary screen.
    QTest::newRow("mountains")
        << QList<Scene>{DrawMountains} << 1.0
        << QByteArray("046887da46f0b48145a6b94a1f27d6c87c0f4af0ac5db10f77dd974024bac2ad");
    QTest::newRow("water")
        << QList<Scene>{DrawWater} << 1.0
        << QByteArray("b4251d4b4676107e263cc00b814b1d7edd6c521f678d9ec3e08660209c5f6365");
    QTest::newRow("sunshine")
        << QList<Scene>{DrawSunshine} << 1.0
        << QByteArray("a2a17d4c6ae1fde29fd90e2e04c98eed930dae5b01a392de244b9c5c0d7306d6");
    QTest::newRow("bridge")
        << QList<Scene>{DrawBridge} << 1.0
        << QByteArray("25b7201b6a2ecb2beda08a3a94931d68d839d79a5e1b1e022e6831d87b3ca84e");

    // The pictures accumulate: later scenes paint over earlier ones.
    QTest::newRow("all four in turn")
        << QList<Scene>{DrawMountains, DrawWater, DrawSunshine, DrawBridge} << 1.0
        << QByteArray("daf827173b43d84a04b7dee043d35af5402c054df0e4ec94f7a0a7e077585d8c");

    // Twice the device pixels: every dot, line and ring is scaled as well.
    QTest::newRow("mountains at ratio 2")
        << QList<Scene>{DrawMountains} << 2.0
        << QByteArray("e7d48de13a3085396507db2fb36fcaee4b61894cc19d9e5d1cf88610278cf84d");
    QTest::newRow("sunshine at ratio 2")
        << QList<Scene>{DrawSunshine} << 2.0
        << QByteArray("1ed5b8bc400150bc5445c9773e0a829b2dfb34e0fe12676bee6a42d4cfa66de3");
    QTest::newRow("bridge at ratio 1.5")
        << QList<Scene>{DrawBridge} << 1.5
        << QByteArray("3c561ce0511c39fe265d364b5efa2499722f2f795b5a6e17a508831257371cb5");
}

void TestSceneImages::digest()
{
    QFETCH(QList<Scene>, scenes);
    QFETCH(double, ratio);
    QFETCH(QByteArray, sha256);

    RasterSurface surface(kDesignSize, ratio);
    for (Scene scene : scenes)
        scene(surface);

    QCOMPARE(imageOf(surface).size(), toQSize(kDesignSize) * ratio);
    QCOMPARE(imageDigest(imageOf(surface)), sha256);
}

void TestSceneImages::repeatedDotsLeftOutChangeNothing_data()
{
    QTest::addColumn<Plots>("plots");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("pen");
    QTest::addColumn<bool>("inks"); // whether any of it lands on the image

    QTest::newRow("dense stroke")
        << stroke({1500, 4500}, {0.1, 0}, 60000) << 1.0 << 2 << true;
    QTest::newRow("across pixel edges")
        << acrossEdges(1.0, false) << 1.0 << 2 << true;
    QTest::newRow("across pixel edges at ratio 1.25")
        << acrossEdges(1.25, false) << 1.25 << 1 << true;
    QTest::newRow("down across pixel edges at ratio 1.5")
        << acrossEdges(1.5, true) << 1.5 << 1 << true;
    QTest::newRow("down across pixel edges at ratio 2")
        << acrossEdges(2.0, true) << 2.0 << 3 << true;
    QTest::newRow("steep diagonal")
        << stroke({3000, 600}, {0.07, 0.9}, 8000) << 1.5 << 1 << true;
    QTest::newRow("through zero from off the image")
        << stroke({-400, -300}, {0.3, 0.2}, 3000) << 1.0 << 1 << true;
    QTest::newRow("far off the image")
        << stroke({-1e9, 1e9}, {1e4, -1e4}, 1000) + stroke({1e12, 0}, {0, 0.5}, 100) << 1.0 << 1
        << false;

    Plots alternating = stroke({4500, 1500}, {0.5, 0.1}, 4000);
    for (qsizetype i = 0; i < alternating.size(); ++i)
        alternating[i].colour = (i / 7) % 2 ? kBlue : kRed;
    QTest::newRow("colour changes on the same dot") << alternating << 1.0 << 3 << true;
}

// A point that lands on the dot drawn just before, in the same colour and
// pen, is not drawn again; the picture must be exactly what drawing every
// point gives.
void TestSceneImages::repeatedDotsLeftOutChangeNothing()
{
    QFETCH(Plots, plots);
    QFETCH(double, ratio);
    QFETCH(int, pen);
    QFETCH(bool, inks);

    RasterSurface skipping(kDesignSize, ratio);
    RasterSurface everyPoint(kDesignSize, ratio);
    plotAll(skipping, plots, pen, false);
    plotAll(everyPoint, plots, pen, true);

    QCOMPARE(inkCount(imageOf(everyPoint)) > 0, inks);
    QCOMPARE(imageOf(skipping), imageOf(everyPoint));
}

void TestSceneImages::runOnOneDotCountsAgainAfterOtherDrawing_data()
{
    using Between = std::function<Status(DrawingSurface &)>;
    QTest::addColumn<Between>("between");
    QTest::addColumn<QPoint>("reach"); // a pixel the new dot covers

    const float centre = 15 * 20;
    QTest::newRow("box over the dot")
        << Between([=](DrawingSurface &s) { return s.DrawBox(centre, centre, 600, 600, kBlue); })
        << QPoint(20, 20);
    QTest::newRow("disc over the dot")
        << Between([=](DrawingSurface &s) { return s.DrawCircle(centre, centre, 0, kBlue); })
        << QPoint(20, 20);
    QTest::newRow("clear")
        << Between([](DrawingSurface &s) { return s.ClearSurface(); }) << QPoint(20, 20);
    QTest::newRow("a wider pen")
        << Between([](DrawingSurface &s) { return s.SetPenWidth(7); }) << QPoint(23, 20);
}

// Once a run of points has landed on one dot, points on that dot are told
// apart from their twips alone; anything drawn in between must make the next
// one count again.
void TestSceneImages::runOnOneDotCountsAgainAfterOtherDrawing()
{
    using Between = std::function<Status(DrawingSurface &)>;
    QFETCH(Between, between);
    QFETCH(QPoint, reach);

    RasterSurface surface(Size{100, 100});
    QVERIFY(surface.SetPenWidth(3).ok());
    for (const Plot &p : stroke({300, 300}, {0.5, -0.5}, 6))
        QVERIFY(surface.PlotPoint(p.x, p.y, p.colour).ok());
    QVERIFY(between(surface).ok());
    QVERIFY(surface.PlotPoint(301, 299, kRed).ok());
    QCOMPARE(surface.pixel(reach.x(), reach.y()), toQRgb(kRed));
}

QTEST_GUILESS_MAIN(TestSceneImages)
#include "tst_sceneimages.moc"
