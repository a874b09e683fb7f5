#include "CompiledRoutine.h"
#include "Emitter.h"
#include "ForwardingSurface.h"
#include "Lexer.h"
#include "LoopRecorder.h"
#include "Palette.h"
#include "Parser.h"
#include "RecordingSurface.h"
#include "RoutineProgram.h"
#include "RoutineTesting.h"
#include "RuntimeError.h"
#include "Scenes.h"
#include "Sweep.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <numbers>

using namespace sweepdraw;
using sweepdraw::test::compiled;
using sweepdraw::test::kRoutineHead;
using sweepdraw::test::kRoutineTail;
using sweepdraw::test::routineOf;
using sweepdraw::test::sameCalls;

Q_DECLARE_METATYPE(void (*)(DrawingSurface &))

namespace {

using Action = void (*)(DrawingSurface &);

} // namespace

// A learner's routine, compiled here and read from its own text.
#define COMPILED_AND_READ(...)                                                                                         \
    __VA_ARGS__                                                                                                        \
    const char *const kText = #__VA_ARGS__;

namespace sweepdraw::learner {
COMPILED_AND_READ(
    constexpr double kTurn = 2 * std::numbers::pi;
    const int kPetals = 5;
    int collatz(int n, int steps) {
        if (n == 1)
            return steps;
        return collatz(n % 2 == 0 ? n / 2 : 3 * n + 1, steps + 1);
    }
    double petal(double a) { return std::abs(std::cos(kPetals * a / 2)) * 1000; }
    bool inside(double x, double y) { return x * x + y * y < 250000; }
    void dot(DrawingSurface &on, double x, double y, int c, bool across) {
        if (c == 0)
            return;
        if (across) {
            const double t = x;
            x = y;
            y = t;
        }
        check(on.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(c)));
    }
    int ring(int n, double r) {
        if (r < 200)
            return 0;
        while (r > 300 && n < 9) {
            r -= 100;
            ++n;
        }
        return n;
    }
    void DrawLearner(DrawingSurface &surface) {
        check(surface.SetPenWidth(std::max(1, collatz(27, 0) / 50)));
        Sweep(0, kTurn, kTurn / 500, [&](double a) {
            const double r = petal(a);
            const double x = std::cos(a) * r;
            const double y = std::sin(a) * r;
            dot(surface, x + 6000, y + 4000, inside(x, y) ? 12 : 14, false);
            if (r < 1)
                return;
            int n = 0;
            while (n < 3 && r > 500 + n * 100)
                ++n;
            dot(surface, x, y, n, false);
            dot(surface, x, y, ring(n, r) + n, true);
        });
        // Angles a few bits apart, beyond what the machine keeps: each
        // point its own angle's sine and cosine, magnified.
        Sweep(0, 300, 1, [&](double t) {
            const double a = 2.5 + t * 1e-12;
            dot(surface, (std::sin(a) - 0.5984721) * 1e12, (std::cos(a) + 0.8011436) * 1e12, 1, false);
        });
    })
} // namespace sweepdraw::learner

namespace sweepdraw {

void DrawBenchRose(DrawingSurface &surface);
void DrawBenchSpiral(DrawingSurface &surface);
void DrawBenchGrid(DrawingSurface &surface);

} // namespace sweepdraw

class TestRoutine : public QObject
{
    Q_OBJECT

private slots:
    void sceneFilesDrawAsCompiled_data();
    void sceneFilesDrawAsCompiled();
    void refused_data();
    void refused();
    void functionsAreCpp();
    void sineAndCosineAreTheCores_data();
    void sineAndCosineAreTheCores();
    void resumesAfterAnyOperation();
    void runTimeErrorNamesItsLine_data();
    void runTimeErrorNamesItsLine();
    void loopsRecordTheirLines();
    void callsBecomeTheirBodies_data();
    void callsBecomeTheirBodies();
};

// The scenes' files, and the bench's learners' routines, whose calls are
// inlined, or made again in one frame, or bounded.
void TestRoutine::sceneFilesDrawAsCompiled_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Action>("action");
    QTest::newRow("mountains") << SWEEPDRAW_SCENES_DIR "/Mountains.cpp" << &DrawMountains;
    QTest::newRow("water") << SWEEPDRAW_SCENES_DIR "/Water.cpp" << &DrawWater;
    QTest::newRow("sunshine") << SWEEPDRAW_SCENES_DIR "/Sunshine.cpp" << &DrawSunshine;
    QTest::newRow("bridge") << SWEEPDRAW_SCENES_DIR "/Bridge.cpp" << &DrawBridge;
    QTest::newRow("rose") << SWEEPDRAW_LEARNERS_DIR "/Rose.cpp" << &DrawBenchRose;
    QTest::newRow("spiral") << SWEEPDRAW_LEARNERS_DIR "/Spiral.cpp" << &DrawBenchSpiral;
    QTest::newRow("grid") << SWEEPDRAW_LEARNERS_DIR "/Grid.cpp" << &DrawBenchGrid;
}

void TestRoutine::sceneFilesDrawAsCompiled()
{
    QFETCH(QString, path);
    QFETCH(Action, action);
    const CompiledRoutine routine = compiled(CompiledRoutine::compileFile(path.toStdString()));

    RecordingSurface asCompiled;
    action(asCompiled);
    RecordingSurface asRoutine;
    routine.run(asRoutine);

    QVERIFY2(sameCalls(asRoutine, asCompiled), "the calls differ");
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
    QTest::newRow("other function") << body("    const double e = std::erf(1.0);\n") << 7 << 27
                                    << "'std::erf' is not among the functions";
    QTest::newRow("other statement") << body("    switch (1) {}\n") << 7 << 5 << "'switch' is not part of";
    QTest::newRow("int counter for a sweep") << body("    Sweep(0, 1, 1, [&](int t) {});\n") << 7 << 24
                                             << "the counter of Sweep is a double";
    QTest::newRow("redeclared") << body("    const int a = 1;\n    const int a = 2;\n") << 8 << 15
                                << "redeclaration of 'a'";
    QTest::newRow("redeclared in the namespace")
        << QByteArray("#include \"DrawingSurface.h\"\nnamespace sweepdraw {\nconst int a = 1;\n"
                      "int a(int n) { return n; }\n")
        << 4 << 5 << "redeclaration of 'a'";
    QTest::newRow("own initializer") << body("    const int a = a + 1;\n") << 7 << 19
                                     << "'a' is used in its own initializer";
    QTest::newRow("missing semicolon") << body("    const int a = 1\n}") << 8 << 1 << "expected ';' before '}'";
    // The longest operator C++ reads, of three characters and of two.
    QTest::newRow("shift assigned") << body("    int a = 1;\n    a <<= 2;\n") << 8 << 7 << "expected ';' before '<<='";
    QTest::newRow("arrow") << body("    const int a = 1->b;\n") << 7 << 20 << "expected ';' before '->'";
    QTest::newRow("another include") << QByteArray("#include <cstdio>\n") << 1 << 1
                                     << "only the scene files' headers";
    QTest::newRow("without its header")
        << QByteArray("#include \"DrawingSurface.h\"\nnamespace sweepdraw {\nvoid DrawTest(DrawingSurface &s)\n"
                      "{\n    Sweep(0, 1, 1, [&](double t) {});\n}\n}\n")
        << 5 << 5 << "'Sweep' is used without #include \"Sweep.h\"";
    QTest::newRow("drawing function not last")
        << QByteArray(kRoutineHead + "}\nint more() { return 1; }\n}\n") << 8 << 5
        << "the last function of a routine file draws";
    QTest::newRow("counter outside its loop")
        << body("    Sweep(0, 1, 1, [&](double t) {});\n    check(surface.SetPenWidth(t));\n") << 8 << 31
        << "'t' was not declared in this scope";
    QTest::newRow("surface as a number") << body("    const double s = surface * 2;\n") << 7 << 30
                                         << "the drawing surface is not a number";
    QTest::newRow("const changed") << body("    const double r = 1;\n    r += 2;\n") << 8 << 7
                                   << "'r' is const: declare it without const to change it";
    QTest::newRow("no type") << body("    r = 2;\n") << 7 << 5 << "a variable needs its type: 'double r = ...'";
    QTest::newRow("cos without std") << body("    const double c = cos;\n") << 7 << 22
                                     << "did you mean 'std::cos(...)'?";
    QTest::newRow("macro as a name") << body("    const double M_PI = 3.14;\n") << 7 << 18 << "'M_PI' is a macro";
    QTest::newRow("break outside a loop") << body("    break;\n") << 7 << 5 << "'break' is not inside";
    QTest::newRow("remainder of doubles") << body("    const double r = 5.0 % 2;\n") << 7 << 26
                                          << "'%' takes ints, not double";
    QTest::newRow("min of two types") << body("    const double m = std::min(1, 2.0);\n") << 7 << 27
                                      << "'std::min' takes two values of one type, not int and double";
    QTest::newRow("unchecked operation") << body("    surface.ClearSurface();\n") << 7 << 13
                                         << "must be checked: 'check(surface.ClearSurface(...));'";
    QTest::newRow("argument missing") << body("    check(surface.DrawCircle(1, 2, PaletteColor(3)));\n") << 7 << 19
                                      << "'DrawCircle' takes 4 arguments, not 3";
    QTest::newRow("not an operation") << body("    check(surface.Fill());\n") << 7 << 19
                                      << "'Fill' is not an operation of the drawing surface";
    QTest::newRow("unterminated comment") << body("    /* the rays\n") << 7 << 5 << "unterminated comment";
    QTest::newRow("octal") << body("    check(surface.SetPenWidth(010));\n") << 7 << 31 << "octal";
    QTest::newRow("nested too deep") << body("    const int a = " + QByteArray(257, '(') + "1" + QByteArray(257, ')')
                                             + ";\n")
                                     << 7 << 275 << "nested deeper than 256 levels";
    QTest::newRow("columns as GCC counts them") << body("\t/* \xe5\x8d\x8a\xe5\xbe\x84 */ r = 2;\n") << 7 << 20
                                                << "a variable needs its type";
    QTest::newRow("not UTF-8") << body("    // caf\xc3\xa9 \xff\n") << 7 << 13 << "not valid UTF-8";
    // The last of eight bytes looked at together.
    QTest::newRow("a sequence cut short") << body("    // " + QByteArray(13, 'x') + "\xc3\n") << 7 << 21 << "not valid UTF-8";
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
    QVERIFY2(std::holds_alternative<FaultMessage>(result), "accepted");
    const FaultMessage &message = std::get<FaultMessage>(result);
    QVERIFY2(QString::fromStdString(inEnglish(message)).contains(what), inEnglish(message).c_str());
    QCOMPARE(message.line, line);
    QCOMPARE(message.column, column);
    QVERIFY(QString::fromStdString(inEnglish(message, "test.cpp"))
                .startsWith(QStringLiteral("test.cpp:%1:%2: error: ").arg(line).arg(column)));
}

void TestRoutine::functionsAreCpp()
{
    RecordingSurface asCompiled;
    learner::DrawLearner(asCompiled);
    const QByteArray source = kRoutineHead.left(kRoutineHead.indexOf("namespace")) + "#include <numbers>\n"
                              + "namespace sweepdraw {\n" + learner::kText + "\n}\n";
    RecordingSurface asRoutine;
    compiled(CompiledRoutine::compile("test.cpp", source.toStdString())).run(asRoutine);
    QVERIFY2(sameCalls(asRoutine, asCompiled), "the calls differ");
}

// The core's sine and cosine, the same in every build, wherever they are
// called: here, as g++ compiled this test, and in a routine. Each argument
// is one where glibc's differ from them in the last bit.
void TestRoutine::sineAndCosineAreTheCores_data()
{
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QByteArray>("argument");
    QTest::addColumn<QByteArray>("value"); // exactly, as a literal of the argument's type
    QTest::newRow("sin") << QByteArray("sin") << QByteArray("0.1491") << QByteArray("0.14854817810115292");
    QTest::newRow("cos") << QByteArray("cos") << QByteArray("0.0364") << QByteArray("0.99933759314339465");
    QTest::newRow("sin of a float") << QByteArray("sin") << QByteArray("0.1624f") << QByteArray("0.161687091f");
    QTest::newRow("cos of a float") << QByteArray("cos") << QByteArray("0.8141f") << QByteArray("0.68652302f");
}

void TestRoutine::sineAndCosineAreTheCores()
{
    QFETCH(QByteArray, function);
    QFETCH(QByteArray, argument);
    QFETCH(QByteArray, value);
    const bool sine = function == "sin";
    // Read at run time, so that g++ calls the functions rather than working
    // them out while compiling; a sine and a cosine of one argument it makes
    // one call of sincos.
    const auto here = [sine](auto x) {
        const auto alone = sine ? std::sin(x) : std::cos(x);
        const auto s = std::sin(x);
        const auto c = std::cos(x);
        return std::pair(alone, sine ? s : c);
    };
    if (argument.endsWith('f')) {
        const auto [alone, paired] = here(argument.chopped(1).toFloat());
        const float expected = value.chopped(1).toFloat();
        QCOMPARE(std::bit_cast<quint32>(alone), std::bit_cast<quint32>(expected));
        QCOMPARE(std::bit_cast<quint32>(paired), std::bit_cast<quint32>(expected));
    } else {
        const auto [alone, paired] = here(argument.toDouble());
        const double expected = value.toDouble();
        QCOMPARE(std::bit_cast<quint64>(alone), std::bit_cast<quint64>(expected));
        QCOMPARE(std::bit_cast<quint64>(paired), std::bit_cast<quint64>(expected));
    }

    // In a routine, alone and, with the other of the two, as one SinCos; of
    // a sweep's counter, so that neither g++ nor the routine works them out
    // while compiling.
    const QByteArray type = argument.endsWith('f') ? "float" : "double";
    const QByteArray other = sine ? "std::cos(a)" : "std::sin(a)";
    RecordingSurface surface;
    routineOf("    Sweep(0, 1, 2, [&](double t) {\n        const " + type + " a = " + argument + " + static_cast<" + type
              + ">(t);\n        const double alone = std::" + function + "(a) == " + value
              + ";\n        const double paired = (std::" + function + "(a) == " + value + ") + (" + other
              + " <= 1);\n        check(surface.PlotPoint(alone, paired, PaletteColor(1)));\n    });\n")
        .run(surface);
    QCOMPARE(surface.calls().size(), 1u);
    QCOMPARE(surface.calls()[0].x, 1.0f);
    QCOMPARE(surface.calls()[0].y, 2.0f);
}

void TestRoutine::resumesAfterAnyOperation()
{
    // Stopping, too, in the middle of a function inlined into the loop.
    QByteArray text = kRoutineHead + "    ColourPass(3, 1, 5, [&](int c) { row(surface, c); });\n"
                      "    check(surface.ClearSurface());\n" + kRoutineTail;
    text.insert(text.indexOf("void DrawTest"),
                "void row(DrawingSurface &on, int c)\n{\n    for (int i = 0; i < 3; ++i)\n"
                "        check(on.PlotPoint(i, c, PaletteColor(c)));\n}\n");
    const CompiledRoutine routine = compiled(CompiledRoutine::compile("test.cpp", text.toStdString()));
    RecordingSurface whole;
    routine.run(whole);
    RecordingSurface pieces;
    LoopRecorder recorder;
    const LoopRecorder::Activation active(&recorder);
    RoutineRun run(routine, pieces);
    std::vector<std::size_t> landed;
    while (!run.resume(2)) {
        landed.push_back(pieces.calls().size());
        QCOMPARE(recorder.depth(), 0); // the loops' places are given back while it waits
    }
    QCOMPARE(landed, (std::vector<std::size_t>{2, 4, 6}));
    QVERIFY(sameCalls(pieces, whole));
}

void TestRoutine::runTimeErrorNamesItsLine_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("drawn");
    QTest::addColumn<QByteArray>("functions"); // before the drawing function, from line 5 on
    QTest::newRow("zero step") << QByteArray("    check(surface.SetPenWidth(1));\n    Sweep(0, 1,\n"
                                             "        0, [&](double t) {});\n")
                               << "test.cpp:8: error: Sweep: step 0 cannot advance from 0 to 1" << 1 << QByteArray();
    // The core's own checks, naming the loop's line, not the body's.
    QTest::newRow("counter stops between the ends")
        << QByteArray("    Sweep(4503599627370497.0, 4503599627370499.0, 0.5, [&](double t) {\n"
                      "        check(surface.PlotPoint(1, 2, PaletteColor(1)));\n    });\n")
        << "test.cpp:7: error: Sweep: step 0.5 no longer moves the counter at 4503599627370498" << 2 << QByteArray();
    QTest::newRow("colour pass beyond int")
        << QByteArray("    ColourPass(0, -1, -2147483647 - 1, [&](int c) {});\n")
        << "test.cpp:7: error: ColourPass: colour 0 reaches -2147483648 in steps of -1 only after 2147483648 passes, "
           "more than an int counts"
        << 0 << QByteArray();
    QTest::newRow("int division by zero")
        << QByteArray("    ColourPass(1, 1, 3, [&](int c) {\n        const int d = 4 / (2 - c);\n"
                      "        check(surface.PlotPoint(d, 0, PaletteColor(c)));\n    });\n")
        << "test.cpp:8: error: int division by zero" << 1 << QByteArray();
    QTest::newRow("int overflow") << QByteArray("    const int big = 2147483647;\n    const int more = big + 1;\n")
                                  << "test.cpp:8: error: int addition overflows" << 0 << QByteArray();
    // A constant operand is read from the instruction, and a divisor of 0
    // or -1 still looked at as the routine runs.
    QTest::newRow("int multiplication by a constant overflows")
        << QByteArray("    int big = 2147483647;\n    check(surface.SetPenWidth(big * 2));\n")
        << "test.cpp:8: error: int multiplication overflows" << 0 << QByteArray();
    QTest::newRow("int remainder of the least by a constant -1")
        << QByteArray("    int least = -2147483647 - 1;\n    check(surface.SetPenWidth(least % -1));\n")
        << "test.cpp:8: error: int remainder overflows" << 0 << QByteArray();
    QTest::newRow("int division by a constant 0")
        << QByteArray("    int n = 3;\n    check(surface.SetPenWidth(n / 0));\n")
        << "test.cpp:8: error: int division by zero" << 0 << QByteArray();
    QTest::newRow("pen width") << QByteArray("    check(surface.SetPenWidth(2000));\n")
                               << "test.cpp:7: error: SetPenWidth: width is outside 1 to 1000 pixels (got 2000)" << 0
                               << QByteArray();
    // 999 calls below the drawing function are the deepest there may be.
    QTest::newRow("recursion too deep")
        << QByteArray("    check(surface.SetPenWidth(f(998) + 1));\n    check(surface.SetPenWidth(f(999) + 1));\n")
        << "test.cpp:9: error: calls nested deeper than 1000" << 1
        << QByteArray("int f(int n)\n{\n    if (n == 0)\n        return 0;\n    return 1 + f(n - 1);\n}\n");
    // g, and h within it, are emitted into f's frame, and still fail as
    // their calls would have: h's first.
    QTest::newRow("inlined calls under recursion too deep")
        << QByteArray("    check(surface.SetPenWidth(f(996)));\n    check(surface.SetPenWidth(f(997)));\n")
        << "test.cpp:11: error: calls nested deeper than 1000" << 1
        << QByteArray("int h(int n)\n{\n    return n + 1;\n}\nint g(int n)\n{\n    return h(n) + 1;\n}\n"
                      "int f(int n)\n{\n    return n == 0 ? g(0) : 1 + f(n - 1);\n}\n");
    // down's calls of itself run in one frame, twice's in the drawing
    // function's, and each counts.
    QTest::newRow("tail calls too deep")
        << QByteArray("    check(surface.SetPenWidth(twice(997) + 1));\n"
                      "    check(surface.SetPenWidth(twice(998) + 1));\n")
        << "test.cpp:7: error: calls nested deeper than 1000" << 1
        << QByteArray("int down(int n)\n{\n    return n <= 0 ? 0 : down(n - 1);\n}\nint twice(int n)\n{\n"
                      "    return down(n) * 2;\n}\n");
    // Each turn of down tests n as it goes back.
    QTest::newRow("tail calls tested against 0 too deep")
        << QByteArray("    check(surface.SetPenWidth(down(998) + 1));\n"
                      "    check(surface.SetPenWidth(down(999) + 1));\n")
        << "test.cpp:7: error: calls nested deeper than 1000" << 1
        << QByteArray("int down(int n)\n{\n    return n == 0 ? 0 : down(n - 1);\n}\n");
    QTest::newRow("tail calls tested against nonzero too deep")
        << QByteArray("    check(surface.SetPenWidth(up(0) + 1));\n") << "test.cpp:7: error: calls nested deeper than 1000"
        << 0 << QByteArray("int up(int n)\n{\n    return n != 0 ? 0 : up(n);\n}\n");
    // down loops in g's place in f's frame, its call a call deeper than
    // f's calls and g's: f(996) reaches 1000 there, and f(997) fails at
    // the call, before any turn.
    QTest::newRow("inlined loop under recursion too deep")
        << QByteArray("    check(surface.SetPenWidth(f(996)));\n    check(surface.SetPenWidth(f(997)));\n")
        << "test.cpp:11: error: calls nested deeper than 1000" << 1
        << QByteArray("int down(int n)\n{\n    return n <= 0 ? 1 : down(n - 1);\n}\nint g(int n)\n{\n"
                      "    return down(n) + 1;\n}\nint f(int n)\n{\n    return n == 0 ? g(0) : f(n - 1);\n}\n");
    // The turn and its operation run as one loop, which leaves to the
    // operation's own code at a divisor of 0 and at an overflow, and counts
    // the calls as the turn does: each fault names its own line.
    QTest::newRow("division by zero in a turn")
        << QByteArray("    check(surface.SetPenWidth(f(1, 3) + 1));\n") << "test.cpp:8: error: int division by zero" << 0
        << QByteArray("int f(int a, int b)\n{\n    return a == 0 ? b : f(b,\n"
                      "                          a / b);\n}\n");
    QTest::newRow("overflow in a turn")
        << QByteArray("    check(surface.SetPenWidth(f(1, 1)));\n") << "test.cpp:8: error: int multiplication overflows"
        << 0
        << QByteArray("int f(int a, int b)\n{\n    return b == 0 ? a : f(b,\n                          a * 3);\n}\n");
    QTest::newRow("turns with an operation too deep")
        << QByteArray("    check(surface.SetPenWidth(f(-998, 1)));\n    check(surface.SetPenWidth(f(-999, 1)));\n")
        << "test.cpp:7: error: calls nested deeper than 1000" << 1
        << QByteArray("int f(int n, int k)\n{\n    return n == 0 ? k : f(\n        n + 1, k);\n}\n");
    // No NaN is less than 1, nor is 1 at most a NaN: the test keeps its
    // sense, and count calls itself until it is too deep.
    QTest::newRow("NaN tested before a call of itself")
        << QByteArray("    float z = 0;\n    check(surface.SetPenWidth(count(z / z, 1)));\n")
        << "test.cpp:7: error: calls nested deeper than 1000" << 0
        << QByteArray("int count(float x, int n)\n{\n    return x < 1 ? n : count(x - 1, n + 1);\n}\n");
    // less changes its copy of k, not k.
    QTest::newRow("parameter changed in an inlined function")
        << QByteArray("    int k = 1;\n    check(surface.SetPenWidth(less(k) + 1));\n"
                      "    check(surface.SetPenWidth(10 / (k - 1)));\n")
        << "test.cpp:14: error: int division by zero" << 1
        << QByteArray("int less(int n)\n{\n    n -= 1;\n    return n;\n}\n");
    QTest::newRow("fault in an inlined function")
        << QByteArray("    check(surface.SetPenWidth(half(0)));\n")
        << "test.cpp:7: error: int division by zero" << 0
        << QByteArray("int half(int n)\n{\n    return 10 / n;\n}\n");
}

void TestRoutine::runTimeErrorNamesItsLine()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, message);
    QFETCH(int, drawn);
    QFETCH(QByteArray, functions);
    RecordingSurface surface;
    QByteArray text = kRoutineHead + body + kRoutineTail;
    text.insert(text.indexOf("void DrawTest"), functions);
    try {
        compiled(CompiledRoutine::compile("test.cpp", text.toStdString())).run(surface);
        QFAIL("ran to the end");
    } catch (const RuntimeError &error) {
        QCOMPARE(QString::fromStdString(inEnglish(error)), message);
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

// Small functions emitted into their callers, as g++ inlines them: what
// compiling a caller then sees of them, it works on as if written there.
void TestRoutine::callsBecomeTheirBodies_data()
{
    QTest::addColumn<QByteArray>("functions");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("census"); // of the operations named
    const QByteArray along =
        "double along(double r, double a, bool across) { return across ? r * std::sin(a) : r * std::cos(a); }\n";
    const QByteArray sweep = "    Sweep(0, 1, 0.5, [&](double t) {\n        const float x = static_cast<float>(";
    QTest::newRow("a sine and a cosine of one angle, from two calls")
        << along << sweep + "along(9, t, false));\n        const float y = static_cast<float>(along(9, t, true));\n"
                            "        check(surface.PlotPoint(x, y, PaletteColor(1)));\n    });\n"
        << QByteArray("SinCosD=1 SinD=0 CosD=0 Call=0 CallBounded=0");
    QTest::newRow("the one branch of a bool given a constant")
        << along << sweep + "along(9, t, false));\n        check(surface.PlotPoint(x, 0, PaletteColor(1)));\n    });\n"
        << QByteArray("SinCosD=0 SinD=0 CosD=1 Call=0 CallBounded=0");
    QTest::newRow("a function that calls only itself as it returns")
        << QByteArray("int divisor(int a, int b) { return b == 0 ? a : divisor(b, a % b); }\n")
        << sweep + "divisor(static_cast<int>(t) + 12, 18));\n        check(surface.PlotPoint(x, x, PaletteColor(1)));\n"
                   "    });\n"
        << QByteArray("Call=0 CallBounded=0 TailCall=0 TailJumpOfTwoIfTrue=1");
}

void TestRoutine::callsBecomeTheirBodies()
{
    QFETCH(QByteArray, functions);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, census);
    const qsizetype drawing = kRoutineHead.indexOf("void DrawTest");
    const std::string text =
        (kRoutineHead.left(drawing) + functions + kRoutineHead.mid(drawing) + body + kRoutineTail).toStdString();
    RoutineProgram program;
    RoutineSyntax syntax;
    std::vector<Token> tokens;
    const RoutineSource source(text);
    tokenize(source, tokens);
    Parser(source, tokens, syntax, program).file();
    emitRoutine(syntax, program);

#define SWEEPDRAW_OPCODE_TEXT(name) #name,
    static constexpr const char *kNames[] = {SWEEPDRAW_OPCODES(SWEEPDRAW_OPCODE_TEXT)};
#undef SWEEPDRAW_OPCODE_TEXT
    // In the drawing function, which comes last, not in the functions as
    // they are for a call.
    const auto drawn = program.code.begin() + program.functions.back().entry;
    QByteArrayList counted;
    for (const QByteArray &named : census.split(' ')) {
        const QByteArray name = named.left(named.indexOf('='));
        const auto count = std::count_if(drawn, program.code.end(), [&](const Instruction &i) {
            return name == kNames[static_cast<int>(i.op)];
        });
        counted << name + '=' + QByteArray::number(count);
    }
    QCOMPARE(counted.join(' '), census);
}

QTEST_GUILESS_MAIN(TestRoutine)
#include "tst_routine.moc"

