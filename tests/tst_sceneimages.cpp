#include "RasterSurface.h"
#include "Scenes.h"

#include <QCryptographicHash>
#include <QtEndian>
#include <QtTest>

#include <vector>

using namespace sweepdraw;

// Pins the exact pixels each scene leaves on the raster surface, so that any
// change to how the surface draws, however it is made faster, must leave
// every picture as it was.

namespace {

using Scene = void (*)(DrawingSurface &);

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

int inkCount(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(line[x]) != 0;
    }
    return count;
}

} // namespace

Q_DECLARE_METATYPE(Scene)
Q_DECLARE_METATYPE(QList<Scene>)

class TestSceneImages : public QObject
{
    Q_OBJECT

private slots:
    void digest_data();
    void digest();
};

void TestSceneImages::digest_data()
{
    QTest::addColumn<QList<Scene>>("scenes"); // drawn in order on one fresh surface
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("ink");              // pixels drawn on
    QTest::addColumn<QByteArray>("sha256");

    // Each scene alone, as the window shows it on an ordinary screen.
    QTest::newRow("mountains")
        << QList<Scene>{DrawMountains} << 1.0 << 8801
        << QByteArray("046887da46f0b48145a6b94a1f27d6c87c0f4af0ac5db10f77dd974024bac2ad");
    QTest::newRow("water")
        << QList<Scene>{DrawWater} << 1.0 << 2150
        << QByteArray("b4251d4b4676107e263cc00b814b1d7edd6c521f678d9ec3e08660209c5f6365");
    QTest::newRow("sunshine")
        << QList<Scene>{DrawSunshine} << 1.0 << 6802
        << QByteArray("a2a17d4c6ae1fde29fd90e2e04c98eed930dae5b01a392de244b9c5c0d7306d6");
    QTest::newRow("bridge")
        << QList<Scene>{DrawBridge} << 1.0 << 3469
        << QByteArray("25b7201b6a2ecb2beda08a3a94931d68d839d79a5e1b1e022e6831d87b3ca84e");

    // The pictures accumulate: later scenes paint over earlier ones.
    QTest::newRow("all four in turn")
        << QList<Scene>{DrawMountains, DrawWater, DrawSunshine, DrawBridge} << 1.0 << 21222
        << QByteArray("daf827173b43d84a04b7dee043d35af5402c054df0e4ec94f7a0a7e077585d8c");

    // Twice the device pixels: every dot, line and ring is scaled as well.
    QTest::newRow("mountains at ratio 2")
        << QList<Scene>{DrawMountains} << 2.0 << 34057
        << QByteArray("e7d48de13a3085396507db2fb36fcaee4b61894cc19d9e5d1cf88610278cf84d");
    QTest::newRow("sunshine at ratio 2")
        << QList<Scene>{DrawSunshine} << 2.0 << 27405
        << QByteArray("1ed5b8bc400150bc5445c9773e0a829b2dfb34e0fe12676bee6a42d4cfa66de3");
    QTest::newRow("bridge at ratio 1.5")
        << QList<Scene>{DrawBridge} << 1.5 << 7848
        << QByteArray("3c561ce0511c39fe265d364b5efa2499722f2f795b5a6e17a508831257371cb5");
}

void TestSceneImages::digest()
{
    QFETCH(QList<Scene>, scenes);
    QFETCH(double, ratio);
    QFETCH(int, ink);
    QFETCH(QByteArray, sha256);

    RasterSurface surface(QSize(800, 552), ratio);
    for (Scene scene : scenes)
        scene(surface);

    QCOMPARE(surface.image().size(), QSize(800, 552) * ratio);
    QCOMPARE(inkCount(surface.image()), ink);
    QCOMPARE(imageDigest(surface.image()), sha256);
}

QTEST_GUILESS_MAIN(TestSceneImages)
#include "tst_sceneimages.moc"
