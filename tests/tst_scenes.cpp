#include "CoreInQt.h"
#include "Palette.h"
#include "PictureImage.h"
#include "RasterSurface.h"
#include "RecordingSurface.h"
#include "Scenes.h"
#include "TestImages.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace sweepdraw;
using Op = RecordingSurface::Op;
using Call = RecordingSurface::Call;
using sweepdraw::test::Scene;

namespace {

std::vector<Call> pointsOf(const std::vector<Call> &calls)
{
    std::vector<Call> points;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(points),
                 [](const Call &c) { return c.op == Op::PlotPoint; });
    return points;
}

bool near(const Call &c, QPointF p, double tolerance)
{
    return std::abs(c.x - p.x()) <= tolerance && std::abs(c.y - p.y()) <= tolerance;
}

QByteArray describe(const Call &c)
{
    return QByteArray::number(c.x, 'f', 5) + ", " + QByteArray::number(c.y, 'f', 5);
}

} // namespace

class TestScenes : public QObject
{
    Q_OBJECT

private slots:
    void colourPasses_data();
    void colourPasses();
    void mountainsRidge();
    void waterStrokesTopToBottom();
    void sunshineRays();
    void bridgeLargeArchOnce();
    void sunshineRimAroundTheDisc_data();
    void sunshineRimAroundTheDisc();
};

void TestScenes::colourPasses_data()
{
    QTest::addColumn<Scene>("scene");
    QTest::addColumn<int>("before");        // points plotted before the passes
    QTest::addColumn<QList<int>>("colours"); // one per pass, in order
    QTest::addColumn<int>("perPass");
    QTest::addColumn<QPointF>("first");     // of every pass
    QTest::addColumn<QPointF>("last");      // of every pass
    QTest::addColumn<int>("pen");           // left at the end

    QTest::newRow("mountains") << Scene(DrawMountains) << 0 << QList<int>{14, 13, 12, 11} << 50000
                               << QPointF(555, 2779.0194) << QPointF(5554.9, 4837.1457) << 3;
    QTest::newRow("water") << Scene(DrawWater) << 0 << QList<int>{14, 13, 12, 11, 10} << 160000
                           << QPointF(5150, 6100) << QPointF(9149.9, 7000) << 2;
    QTest::newRow("sunshine") << Scene(DrawSunshine) << 0 << QList<int>{9, 10, 11, 12, 13, 14} << 187110
                              << QPointF(8666, 2000) << QPointF(9799.8, 2000.012) << 1;
    QTest::newRow("bridge") << Scene(DrawBridge) << 9999 << QList<int>{9, 10, 11, 12, 13, 14} << 59994
                            << QPointF(5950.0005, 5899.0444) << QPointF(10749.99998, 5899.81158) << 2;
}

void TestScenes::colourPasses()
{
    QFETCH(Scene, scene);
    QFETCH(int, before);
    QFETCH(QList<int>, colours);
    QFETCH(int, perPass);
    QFETCH(QPointF, first);
    QFETCH(QPointF, last);
    QFETCH(int, pen);

    RecordingSurface surface;
    scene(surface);
    const auto points = pointsOf(surface.calls());
    QCOMPARE(points.size(), std::size_t(before + colours.size() * perPass));
    QCOMPARE(surface.penWidth(), pen);

    for (int p = 0; p < colours.size(); ++p) {
        const int begin = before + p * perPass;
        QVERIFY2(near(points[begin], first, 0.001), describe(points[begin]));
        QVERIFY2(near(points[begin + perPass - 1], last, 0.001), describe(points[begin + perPass - 1]));
        for (int i = begin; i < begin + perPass; ++i) {
            const Call &again = points[before + (i - begin)];
            if (points[i].colour != PaletteColor(colours[p]) || points[i].x != again.x || points[i].y != again.y)
                QFAIL(qPrintable(QString("point %1 is not the first pass's point in colour %2")
                                     .arg(i).arg(colours[p])));
        }
    }
}

void TestScenes::mountainsRidge()
{
    RecordingSurface surface;
    DrawMountains(surface);
    const auto points = pointsOf(surface.calls());
    const auto [lowest, highest] = std::minmax_element(
        points.begin(), points.end(), [](const Call &a, const Call &b) { return a.y < b.y; });

    // The highest summit (least y) is the last of the three, to the right.
    QVERIFY(std::abs(lowest->y - 1112.24f) < 0.01f);
    QVERIFY(std::abs(lowest->x - 4731.1f) < 0.1f);
    QVERIFY(std::abs(highest->y - 4837.15f) < 0.01f);
    QVERIFY(std::abs(points.back().y - 4837.1457f) < 0.001f);
}

void TestScenes::waterStrokesTopToBottom()
{
    RecordingSurface surface;
    DrawWater(surface);
    const auto points = pointsOf(surface.calls());

    struct Stroke { float y, from, end; int count; };
    const QList<Stroke> strokes = {{6100, 5150, 11550, 64000}, {6400, 5950, 10750, 48000},
                                   {6700, 6750, 9950, 32000}, {7000, 7550, 9150, 16000}};
    std::size_t i = 0;
    for (int pass = 0; pass < 5; ++pass) {
        for (const Stroke &stroke : strokes) {
            QCOMPARE(points[i].x, stroke.from);
            for (int n = 0; n < stroke.count; ++n, ++i) {
                if (points[i].y != stroke.y || points[i].x >= stroke.end)
                    QFAIL(qPrintable(QString("point %1 (%2) is off its stroke").arg(i).arg(describe(points[i]))));
            }
            QVERIFY(std::abs(points[i - 1].x - (stroke.end - 0.1f)) < 0.001f);
        }
    }
    QCOMPARE(i, points.size());
}

void TestScenes::sunshineRays()
{
    RecordingSurface surface;
    DrawSunshine(surface);
    const auto points = pointsOf(surface.calls());
    QVERIFY2(near(points[1], QPointF(8653.203, 2129.930), 0.001), describe(points[1]));
    const auto outermost = std::max_element(points.begin(), points.end(),
                                            [](const Call &a, const Call &b) { return a.x < b.x; });
    QCOMPARE(outermost->x, 9799.7998046875f);
    QCOMPARE(outermost->y, 2000.0f);
    // The rays start outside the ring and never reach radius 1800.
    for (const Call &p : points) {
        const double r = std::hypot(p.x - 8000.0, p.y - 2000.0);
        if (r < 665.99 || r > 1799.81)
            QFAIL(qPrintable(QString("a ray point lies at radius %1").arg(r)));
    }
}

void TestScenes::bridgeLargeArchOnce()
{
    RecordingSurface surface;
    DrawBridge(surface);
    const auto points = pointsOf(surface.calls());
    QCOMPARE(points.size(), 369963u);
    const auto purple = [](const Call &c) { return c.colour == PaletteColor(5); };
    QVERIFY(std::all_of(points.begin(), points.begin() + 9999, purple));
    QVERIFY(std::none_of(points.begin() + 9999, points.end(), purple));
    QVERIFY2(near(points.front(), QPointF(4900.0044, 5997.7703), 0.001), describe(points.front()));
    QVERIFY2(near(points[9998], QPointF(11799.99983, 5999.56036), 0.001), describe(points[9998]));

    // The crown, where the arch is highest.
    const auto crown = std::min_element(points.begin(), points.begin() + 9999,
                                        [](const Call &a, const Call &b) { return a.y < b.y; });
    QVERIFY2(std::abs(crown->y - 4600) < 0.001 && std::abs(crown->x - 8350) < 2, describe(*crown));
}

void TestScenes::sunshineRimAroundTheDisc_data()
{
    QTest::addColumn<QPoint>("direction");
    QTest::newRow("right") << QPoint(1, 0);
    QTest::newRow("left") << QPoint(-1, 0);
    QTest::newRow("down") << QPoint(0, 1);
    QTest::newRow("up") << QPoint(0, -1);
}

void TestScenes::sunshineRimAroundTheDisc()
{
    QFETCH(QPoint, direction);

    RasterSurface surface(kDesignSize);
    DrawSunshine(surface);
    const QImage image = imageOf(surface);
    // Walk out from the sun's centre: red disc, then a yellow rim at least a
    // pixel wide, then the panel before the rays begin.
    QPoint p(533, 133);
    int red = 0, yellow = 0;
    for (; image.pixel(p) == toQRgb(PaletteColor(12)); p += direction)
        ++red;
    for (; image.pixel(p) == toQRgb(PaletteColor(14)); p += direction)
        ++yellow;
    QVERIFY2(red >= 32 && red <= 34, qPrintable(QString::number(red)));
    QVERIFY2(yellow >= 1 && yellow <= 3, qPrintable(QString::number(yellow)));
    QCOMPARE(qAlpha(image.pixel(p)), 0);
}

QTEST_APPLESS_MAIN(TestScenes)
#include "tst_scenes.moc"
