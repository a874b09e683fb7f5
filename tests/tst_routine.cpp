#include "CompiledRoutine.h"
#include "ForwardingSurface.h"
#include "LoopRecorder.h"
#include "RecordingSurface.h"
#include "RoutineTesting.h"
#include "RuntimeError.h"
#include "Scenes.h"

#include <QtTest>

#include <bit>
#include <cmath>

using namespace sweepdraw;
using Call = RecordingSurface::Call;
using sweepdraw::test::compiled;
using sweepdraw::test::kRoutineHead;
using sweepdraw::test::kRoutineTail;
using sweepdraw::test::routineOf;

Q_DECLARE_METATYPE(void (*)(DrawingSurface &))

namespace {

using Action = void (*)(DrawingSurface &);

bool sameBits(float a, float b)
{
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

bool sameBits(const Call &a, const Call &b)
{
    return a.op == b.op && sameBits(a.x, b.x) && sameBits(a.y, b.y) && sameBits(a.x2, b.x2)
        && sameBits(a.y2, b.y2) && sameBits(a.radius, b.radius) && a.width == b.width && a.colour == b.colour;
}

} // namespace

class TestRoutine : public QObject
{
    Q_OBJECT

private slots:
    void sceneFilesDrawAsCompiled_data();
    void sceneFilesDrawAsCompiled();
    void refused_data();
    void refused();
    void arithmeticIsCpp_data();
    void arithmeticIsCpp();
    void runTimeErrorNamesItsLine_data();
    void runTimeErrorNamesItsLine();
    void loopsRecordTheirLines();
};

void TestRoutine::sceneFilesDrawAsCompiled_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Action>("action");
    QTest::newRow("mountains") << "Mountains.cpp" << &DrawMountains;
    QTest::newRow("water") << "Water.cpp" << &DrawWater;
    QTest::newRow("sunshine") << "Sunshine.cpp" << &DrawSunshine;
    QTest::newRow("bridge") << "Bridge.cpp" << &DrawBridge;
}

void TestRoutine::sceneFilesDrawAsCompiled()
{
    QFETCH(QString, file);
    QFETCH(Action, action);
    const QString path = QStringLiteral(SWEEPDRAW_SCENES_DIR "/") + file;
    const CompiledRoutine routine = compiled(CompiledRoutine::compileFile(path.toStdString()));

    RecordingSurface asCompiled;
    action(asCompiled);
    RecordingSurface asRoutine;
    routine.run(asRoutine);

    QCOMPARE(asRoutine.calls().size(), asCompiled.calls().size());
    for (std::size_t i = 0; i < asCompiled.calls().size(); ++i)
        if (!sameBits(asRoutine.calls()[i], asCompiled.calls()[i]))
            QFAIL(qPrintable(QStringLiteral("call %1 differs").arg(i)));
}

void TestRoutine::refused_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("what");

    const auto body = [](const QByteArray &text) { return kRoutineHead + text + kRoutineTail; };
    QTest::newRow("unknown name") << body("    check(surface.SetPenWidth(w));\n") << 7 << 31
                                  << "'w' was not declared in this scope";
    QTest::newRow("number as colour") << body("    check(surface.PlotPoint(1, 2, 3));\n") << 7 << 19
                                      << "the colour of PlotPoint must be given by PaletteColor, not by int";
    QTest::newRow("colour in arithmetic")
        << body("    const double c = PaletteColor(1) * 2;\n") << 7 << 38 << "a colour from PaletteColor";
    QTest::newRow("other function") << body("    const double e = std::exp(1.0);\n") << 7 << 27
                                    << "'std::exp' is not among the functions";
    QTest::newRow("other statement") << body("    return;\n") << 7 << 5 << "expected check(...), Sweep";
    QTest::newRow("int counter for a sweep") << body("    Sweep(0, 1, 1, [&](int t) {});\n") << 7 << 24
                                             << "the counter of Sweep is a double";
    QTest::newRow("redeclared") << body("    const int a = 1;\n    const int a = 2;\n") << 8 << 15
                                << "redeclaration of 'a'";
    QTest::newRow("own initializer") << body("    const int a = a + 1;\n") << 7 << 19
                                     << "'a' is used in its own initializer";
    QTest::newRow("missing semicolon") << body("    const int a = 1\n}") << 8 << 1 << "expected ';' before '}'";
    QTest::newRow("another include") << QByteArray("#include <cstdio>\n") << 1 << 1
                                     << "only the scene files' headers";
    QTest::newRow("without its header")
        << QByteArray("#include \"DrawingSurface.h\"\nnamespace sweepdraw {\nvoid DrawTest(DrawingSurface &s)\n"
                      "{\n    Sweep(0, 1, 1, [&](double t) {});\n}\n}\n")
        << 5 << 5 << "'Sweep' is used without #include \"Sweep.h\"";
    QTest::newRow("two functions") << body("") + "void DrawMore(DrawingSurface &surface) {}\n" << 9 << 1
                                   << "a routine file defines one function";
    QTest::newRow("counter outside its loop")
        << body("    Sweep(0, 1, 1, [&](double t) {});\n    check(surface.SetPenWidth(t));\n") << 8 << 31
        << "'t' was not declared in this scope";
    QTest::newRow("surface as a number") << body("    const double s = surface * 2;\n") << 7 << 30
                                         << "the drawing surface is not a number";
    QTest::newRow("float constant") << body("    const float f = 1;\n") << 7 << 11 << "const double and const int";
    QTest::newRow("argument missing") << body("    check(surface.DrawCircle(1, 2, PaletteColor(3)));\n") << 7 << 19
                                      << "DrawCircle takes 4 arguments, not 3";
    QTest::newRow("not an operation") << body("    check(surface.Fill());\n") << 7 << 19
                                      << "'Fill' is not an operation of the drawing surface";
    QTest::newRow("unterminated comment") << body("    /* the rays\n") << 7 << 5 << "unterminated comment";
    QTest::newRow("octal") << body("    check(surface.SetPenWidth(010));\n") << 7 << 31 << "octal";
    QTest::newRow("nested too deep") << body("    const int a = " + QByteArray(70, '(') + "1" + QByteArray(70, ')')
                                             + ";\n")
                                     << 7 << 82 << "nested deeper than 64 levels";
    QTest::newRow("not UTF-8") << body("    // caf\xc3\xa9 \xff\n") << 7 << 13 << "not valid UTF-8";
    QTest::newRow("too large") << body(QByteArray(CompiledRoutine::kMaxSize, ' ')) << 1 << 1
                               << "larger than 65536 bytes";
}

void TestRoutine::refused()
{
    QFETCH(QByteArray, source);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, what);
    const auto result = CompiledRoutine::compile("test.cpp", source.toStdString());
    QVERIFY2(std::holds_alternative<RoutineMessage>(result), "accepted");
    const RoutineMessage &message = std::get<RoutineMessage>(result);
    QVERIFY2(QString::fromStdString(message.what).contains(what), message.what.c_str());
    QCOMPARE(message.line, line);
    QCOMPARE(message.column, column);
    QVERIFY(QString::fromStdString(message.format("test.cpp"))
                .startsWith(QStringLiteral("test.cpp:%1:%2: error: ").arg(line).arg(column)));
}

void TestRoutine::arithmeticIsCpp_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<float>("value"); // as the same expression compiles here

#define ROW(e) QTest::newRow(#e) << QByteArray(#e) << static_cast<float>(e)
    ROW(7 / 2);
    ROW(-7 / 2);
    ROW(7 / 2.0);
    ROW(1 / 3 * 3.0);
    ROW(static_cast<int>(-2.7) * 3);
    ROW(static_cast<float>(0.1) + 0.2);
    ROW(0.1f * 3 + 0.7f);
    ROW(static_cast<double>(0.1f) * 10);
    ROW(std::abs(-7) / 2);
    ROW(std::pow(2, 0.5) - std::sqrt(2));
    ROW(std::atan2(1.0f, 3.0f) * 1000000);
    ROW(std::floor(-2.5) + std::tan(0.3) * std::cos(7) - std::sin(-1.0));
    ROW(- -8350 + 800 * 0.7 - 3.14 / 9999);
    ROW(std::sin(0.5f) * 1000 + std::cos(0.5f));
#undef ROW
}

void TestRoutine::arithmeticIsCpp()
{
    QFETCH(QByteArray, expression);
    QFETCH(float, value);
    RecordingSurface surface;
    routineOf("    check(surface.PlotPoint(" + expression + ", 0, PaletteColor(1)));\n").run(surface);
    QCOMPARE(surface.calls().size(), 1u);
    QVERIFY2(sameBits(surface.calls()[0].x, value),
             qPrintable(QStringLiteral("%1, not %2").arg(surface.calls()[0].x, 0, 'g', 9).arg(value, 0, 'g', 9)));
}

void TestRoutine::runTimeErrorNamesItsLine_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("drawn");
    QTest::newRow("zero step") << QByteArray("    check(surface.SetPenWidth(1));\n    Sweep(0, 1,\n"
                                             "        0, [&](double t) {});\n")
                               << "test.cpp:8: error: Sweep: step 0 cannot advance from 0 to 1" << 1;
    // The core's own checks, naming the loop's line, not the body's.
    QTest::newRow("counter stops between the ends")
        << QByteArray("    Sweep(4503599627370497.0, 4503599627370499.0, 0.5, [&](double t) {\n"
                      "        check(surface.PlotPoint(1, 2, PaletteColor(1)));\n    });\n")
        << "test.cpp:7: error: Sweep: step 0.5 no longer moves the counter at 4503599627370498" << 2;
    QTest::newRow("colour pass beyond int")
        << QByteArray("    ColourPass(0, -1, -2147483647 - 1, [&](int c) {});\n")
        << "test.cpp:7: error: ColourPass: colour 0 reaches -2147483648 in steps of -1 only after 2147483648 passes, "
           "more than an int counts"
        << 0;
    QTest::newRow("int division by zero")
        << QByteArray("    ColourPass(1, 1, 3, [&](int c) {\n        const int d = 4 / (2 - c);\n"
                      "        check(surface.PlotPoint(d, 0, PaletteColor(c)));\n    });\n")
        << "test.cpp:8: error: int division by zero" << 1;
    QTest::newRow("int overflow") << QByteArray("    const int big = 2147483647;\n    const int more = big + 1;\n")
                                  << "test.cpp:8: error: int addition overflows" << 0;
    QTest::newRow("pen width") << QByteArray("    check(surface.SetPenWidth(2000));\n")
                               << "test.cpp:7: error: SetPenWidth: width is outside 1 to 1000 pixels (got 2000)" << 0;
}

void TestRoutine::runTimeErrorNamesItsLine()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, message);
    QFETCH(int, drawn);
    RecordingSurface surface;
    try {
        routineOf(body).run(surface);
        QFAIL("ran to the end");
    } catch (const RuntimeError &error) {
        QCOMPARE(QString::fromUtf8(error.what()), message);
    }
    QCOMPARE(surface.calls().size(), std::size_t(drawn));
}

void TestRoutine::loopsRecordTheirLines()
{
    // Where the loops are at the first operation.
    LoopRecorder recorder;
    std::vector<std::pair<unsigned, double>> loops;
    std::string file;
    RecordingSurface recording;
    test::ForwardingSurface probe(recording, [&](long long) {
        for (int i = 0; file.empty() && i < recorder.depth(); ++i) {
            loops.emplace_back(recorder.loop(i).where.line(), recorder.loop(i).value);
            if (i + 1 == recorder.depth())
                file = recorder.loop(i).where.file_name();
        }
        return Status();
    });
    const CompiledRoutine routine = routineOf("    ColourPass(3, 1, 5, [&](int c) {\n"
                                              "        Sweep(0.5, 2, 1, [&](double t) {\n"
                                              "            check(surface.PlotPoint(t, 0, PaletteColor(c)));\n"
                                              "        });\n    });\n");
    {
        const LoopRecorder::Activation active(&recorder);
        routine.run(probe);
    }
    QCOMPARE(file, std::string("test.cpp"));
    QCOMPARE(loops, (std::vector<std::pair<unsigned, double>>{{7, 3}, {8, 0.5}}));
    QCOMPARE(recorder.depth(), 0);
    QCOMPARE(routine.loops().size(), 2u);
    QCOMPARE(routine.loops()[1].counter, std::string("t"));
    QCOMPARE(routine.loops()[1].lastLine, 10);
    QCOMPARE(routine.loops()[0].lastLine, 11);
    QCOMPARE(recording.calls().size(), 4u);
}

QTEST_GUILESS_MAIN(TestRoutine)
#include "tst_routine.moc"
