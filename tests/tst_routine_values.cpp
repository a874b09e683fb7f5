#include "RecordingSurface.h"
#include "RoutineTesting.h"

#include <QtTest>

#include <bit>
#include <cmath>
#include <numbers>

using namespace sweepdraw;
using sweepdraw::test::compiled;
using sweepdraw::test::routineOf;
using sweepdraw::test::sameBits;

// A routine's values are those of the same C++ compiled by g++: its
// arithmetic, its statements, its library as g++ folds it and what it
// reads in a file.
class TestRoutineValues : public QObject
{
    Q_OBJECT

private slots:
    void arithmeticIsCpp_data();
    void arithmeticIsCpp();
    void libraryAsGccFoldsIt_data();
    void libraryAsGccFoldsIt();
    void statementsAreCpp_data();
    void statementsAreCpp();
    void readAsGccReadsIt_data();
    void readAsGccReadsIt();
};

void TestRoutineValues::arithmeticIsCpp_data()
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
    ROW(-7 % 3 * 10 + 7 % -3);
    ROW(-7 / -1 * 10 + 7 % -1 + 3000000000 / -1 % 7);
    ROW((true + 1) * (2 < 3) - !0.0);
    ROW(1 < 2 && 3 > 4 ? 3.5 : 4 || 0);
    ROW((std::min(2.5f, 1.5f) + std::max(7, -7)));
    ROW(std::numbers::pi * 1000 + M_E);
    ROW(NAN != NAN);
    ROW(std::exp(1.5) + std::log(2.0f) + std::log10(3) + std::log2(5) + std::fmod(7.5, 2) + std::hypot(3.0f, 4));
    ROW(std::asin(0.5) + std::acos(0.5f) + std::atan(2) + std::sinh(1) + std::cosh(1) + std::tanh(1.0f));
    ROW(std::round(-2.5) + std::trunc(-2.7f) * 10 + std::ceil(2.1) * 100 + std::fabs(-3));
    ROW(cos(0.5f) * 1000);
    ROW(3000000000 / 7 - -2147483648);
    // Decimals an ulp away from the nearest value would move these by 16.
    ROW((0.3 + 0.6) * 1e17 - 9e16);
    ROW(1.1f * 100000000);
#undef ROW
}

void TestRoutineValues::arithmeticIsCpp()
{
    QFETCH(QByteArray, expression);
    QFETCH(float, value);
    RecordingSurface surface;
    routineOf("    check(surface.PlotPoint(" + expression + ", 0, PaletteColor(1)));\n").run(surface);
    QCOMPARE(surface.calls().size(), 1u);
    QVERIFY2(sameBits(surface.calls()[0].x, value),
             qPrintable(QStringLiteral("%1, not %2").arg(surface.calls()[0].x, 0, 'g', 9).arg(value, 0, 'g', 9)));
}

// GCC works out <cmath> of constants while it compiles, correctly rounded,
// where the library at run time (the core's sine and cosine, glibc's for
// the rest) is an ulp or two away: each row is a call where the two differ,
// as this file compiled shows, and the routine must give the compiler's
// value.
void TestRoutineValues::libraryAsGccFoldsIt_data()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<double>("folded");  // as g++ works it out while compiling this file
    QTest::addColumn<double>("atRunTime"); // as the library works it out

    volatile double x = 0; // a number the compiler cannot know
#define ROW(e, f) QTest::newRow(#e) << QByteArray(#e) << static_cast<double>(e) << static_cast<double>(f)
    ROW(std::sin(1.003), std::sin(x + 1.003));
    ROW(cos(-1.074), std::cos(x - 1.074));
    ROW(std::tan(-0.08), std::tan(x - 0.08));
    ROW(std::pow(4.61, -0.873), std::pow(x + 4.61, -0.873));
    ROW(std::atan2(-3.289, 5.04), std::atan2(x - 3.289, 5.04));
    ROW(std::exp(-7.644) * 1000, std::exp(x - 7.644) * 1000);
    ROW(std::log(4.182) * 2, std::log(x + 4.182) * 2);
    ROW(std::hypot(-8.467, 5.84), std::hypot(x - 8.467, 5.84));
#undef ROW
}

void TestRoutineValues::libraryAsGccFoldsIt()
{
    QFETCH(QByteArray, expression);
    QFETCH(double, folded);
    QFETCH(double, atRunTime);
    QVERIFY2(folded != atRunTime, "the row does not tell the compiler's value from the library's");

    const QByteArray value = QByteArray::number(folded, 'g', 17);
    RecordingSurface surface;
    routineOf("    const double v = " + expression + ";\n    check(surface.PlotPoint(v == " + value
              + " ? 1 : 0, 0, PaletteColor(1)));\n")
        .run(surface);
    QCOMPARE(surface.calls().size(), 1u);
    QCOMPARE(surface.calls()[0].x, 1.0f);
}

void TestRoutineValues::statementsAreCpp_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<double>("value"); // of v, as the same statements compile here

#define ROW(name, ...)                                                                                                \
    QTest::newRow(name) << QByteArray(#__VA_ARGS__) << [] {                                                            \
        double v = 0;                                                                                                  \
        __VA_ARGS__;                                                                                                   \
        return v;                                                                                                      \
    }()
    ROW("for", int n = 0; for (int i = 0; i < 10; ++i) {
        if (i % 3 == 0)
            continue;
        n += i;
    } v = n);
    ROW("while and break", double x = 1; while (true) {
        x *= 1.5;
        if (x > 100)
            break;
    } v = x);
    ROW("do while", int n = 10; int turns = 0; do { n -= 3; ++turns; } while (n > 0); v = n * 100 + turns);
    ROW("else if", double t = 0.3; if (t < 0) v = 1; else if (t < 0.5) v = 2; else v = 3);
    ROW("steps", int i = 5; int j = i++ + 10; int k = --i * 2; float f = 0.5f; f++; v = i * 1000 + j * 10 + k + f);
    ROW("compound", double d = 7; d /= 2; d -= 0.25; int n = 17; n %= 5; n *= -3; n += d; v = n + d);
    // A product and the sum or difference that takes it are one operation,
    // each side of it, rounded twice: b * b + d is 2^-54 if rounded once.
    ROW("products added and taken away", double e = 1.0 / 134217728; double b = 1 + e; double d = -(1 + 2 * e);
        double k = 3; v = (b * b + d) / (e * e) * 1000 + (k * 2 - 1) * 100 + (1 - k * 2) * 10 + (1 + k * 2));
    // Doubles that each take the one before run as one in the machine; a
    // loop goes back into the middle of one.
    ROW("chained doubles", double x = 0.7; double k = 3; double y = x / 2; do { y = y * 3 + k / y; } while (y < 100);
        v = y + (k - std::sin(y / k)) / x);
    // The value handed on as each operand an operation can take it as.
    ROW("chained on the right", double x = 0.7; double k = 3; double a = k + std::sin(x); double b = k - std::sin(x);
        double c = k * std::sin(x); double d = k / std::sin(x); v = a * 1000 + b * 100 + c * 10 + d);
    ROW("chained into a product's sum", double x = 0.7; double k = 3; double a = std::sin(x) * k + x;
        double b = x * std::sin(x) + k; double c = std::sin(x) + x * k; double d = std::sin(x) * k - x;
        double e = x * std::sin(x) - k; double f = k - std::sin(x) * x; double g = k - x * std::sin(x);
        double h = std::sin(x) - x * k; v = a + b * 2 + c * 4 + d * 8 + e * 16 + f * 32 + g * 64 + h * 128);
    ROW("chained into the library", double x = 0.7; double k = 3; double a = -std::cos(x * k);
        double b = std::exp(std::cos(x + k)); double c = std::pow(std::sin(x / k), k); double d = std::pow(k, std::tan(x));
        v = a * 1000 + b * 100 + c * 10 + d);
    ROW("short circuit", int n = 0; bool b = n != 0 && 10 / n > 1; bool c = n == 0 || 10 / n > 1; v = b * 10 + c);
    ROW("float and int", float f = 16777216; f += 1; int big = 2147483647; v = f + big / 2);
    // Tests made one instruction with the jump that reads them.
    ROW("tests of NaN", double z = 0; double nan = z / z; int n = 0; if (nan < 1) n += 1; if (!(nan >= 1)) n += 10;
        while (nan != nan && n < 100) n += 100; do n += 1000; while (nan == nan); v = n);
    ROW("tests joined", int n = 0; for (int i = 0; i < 20 && n < 50; i += 3) {
        if (i % 2 == 0 && i > 5)
            n += i;
        else if (i > 15 || i == 3)
            n -= 1;
    } v = n > 20 ? n : -n);
    // An int against 0 is tested alone, whichever side the 0 is on.
    ROW("tests against 0", int n = 0; for (int i = -2; i < 3; ++i) {
        if (i == 0)
            n += 1;
        if (0 != i)
            n += 10;
        if (i % 2 != 0)
            n += 100;
    } v = n);
#undef ROW
}

void TestRoutineValues::statementsAreCpp()
{
    QFETCH(QByteArray, body);
    QFETCH(double, value);
    RecordingSurface surface;
    routineOf("    double v = 0;\n" + body + ";\n    check(surface.PlotPoint(v, 0, PaletteColor(1)));\n").run(surface);
    QCOMPARE(surface.calls().size(), 1u);
    QVERIFY(sameBits(surface.calls()[0].x, static_cast<float>(value)));
}

// What g++ reads in a file, read alike: each row's file plots v, which
// g++ makes `value`.
void TestRoutineValues::readAsGccReadsIt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<float>("value");
    const auto file = [](const QByteArray &head, const QByteArray &body) {
        return head + "#include \"DrawingSurface.h\"\n#include \"Palette.h\" /* the colours */\n"
               "namespace sweepdraw {\nvoid DrawTest(DrawingSurface &surface)\n{\n    double v = 0;\n" + body
               + "\n    check(surface.PlotPoint(v, 0, PaletteColor(1)));\n}\n}\n";
    };
    QTest::newRow("decrement") << file("", "int x = 5; v = --x * 10 + x;") << 44.0f;
    QTest::newRow("comment joined to the next line") << file("", "v = 1; // and \\\n v = 2;") << 1.0f;
    QTest::newRow("splice after blanks") << file("", "v = 1; // and \\  \n v = 2;") << 1.0f;
    QTest::newRow("byte order mark and CR LF") << file("\xef\xbb\xbf", "v = 3;\r\n v += 1;\r") << 4.0f;
    QTest::newRow("least int") << file("", "int least = -2147483648; v = least / 1024;") << -2097152.0f;
    QTest::newRow("beyond double") << file("", "v = 1e400 > 1e308;") << 1.0f;
    QTest::newRow("empty statements and final") << file("", ";; int final = 2; v = final;;") << 2.0f;
    // The first three arguments are copied from the caller's slots, the
    // rest worked out in the callee's frame.
    QTest::newRow("four arguments")
        << QByteArray("#include \"DrawingSurface.h\"\n#include \"Palette.h\"\nnamespace sweepdraw {\n"
                      "int weigh(int a, int b, int c, int d) { return a * 1000 + b * 100 + c * 10 + d; }\n"
                      "void DrawTest(DrawingSurface &surface)\n{\n    int x = 4;\n"
                      "    check(surface.PlotPoint(weigh(x - 3, 2, x - 1, x), 0, PaletteColor(1)));\n}\n}\n")
        << 1234.0f;
    // roll's calls of itself are the turns of a loop in DrawTest's frame:
    // each reads all three parameters before it changes any.
    QTest::newRow("three parameters of a loop")
        << QByteArray("#include \"DrawingSurface.h\"\n#include \"Palette.h\"\nnamespace sweepdraw {\n"
                      "int roll(int n, int a, int b) { return n == 0 ? a * 100 + b : roll(n - 1, b, a + b); }\n"
                      "void DrawTest(DrawingSurface &surface)\n{\n"
                      "    check(surface.PlotPoint(roll(5, 0, 1), 0, PaletteColor(1)));\n}\n}\n")
        << 508.0f;
    // -7 % 3 is -1, and the next turn's divisor -1, which the loop of the
    // turn and its remainder leaves to the remainder's own code.
    QTest::newRow("a divisor of -1 in a turn")
        << QByteArray("#include \"DrawingSurface.h\"\n#include \"Palette.h\"\nnamespace sweepdraw {\n"
                      "int divisor(int a, int b) { return b == 0 ? a : divisor(b, a % b); }\n"
                      "void DrawTest(DrawingSurface &surface)\n{\n"
                      "    check(surface.PlotPoint(divisor(-7, 3) * 100 + divisor(48, 18), 0, PaletteColor(1)));\n"
                      "}\n}\n")
        << -94.0f;
    // More names in the namespace than its table first has room for.
    QByteArray constants;
    for (int i = 0; i < 40; ++i)
        constants += "const int c" + QByteArray::number(i) + " = " + QByteArray::number(i + 1) + ";\n";
    QTest::newRow("forty constants")
        << QByteArray("#include \"DrawingSurface.h\"\n#include \"Palette.h\"\nnamespace sweepdraw {\n" + constants
                      + "void DrawTest(DrawingSurface &surface)\n{\n"
                      "    check(surface.PlotPoint(c0 * 100 + c39, 0, PaletteColor(1)));\n}\n}\n")
        << 140.0f;
    // Two blocks whose statements, listed one after the other, fill more
    // than one of the tree's blocks of lists.
    const QByteArray steps = "{" + QByteArray("v += 1;").repeated(3000) + "}";
    QTest::newRow("six thousand statements") << file("", steps + steps) << 6000.0f;
    QTest::newRow("macro constants") << file("", "v = M_PI * 1000 + (NAN != NAN);") << static_cast<float>(M_PI * 1000 + 1);
}

void TestRoutineValues::readAsGccReadsIt()
{
    QFETCH(QByteArray, file);
    QFETCH(float, value);
    RecordingSurface surface;
    compiled(CompiledRoutine::compile("test.cpp", file.toStdString())).run(surface);
    QCOMPARE(surface.calls().size(), 1u);
    QCOMPARE(surface.calls()[0].x, value);
}

QTEST_GUILESS_MAIN(TestRoutineValues)
#include "tst_routine_values.moc"
