// The learner's editor: a copy of a scene's routine to change, its numbers
// dragged and typed, and the picture redrawn from it.
#include "CompiledRoutine.h"
#include "FaultEnglish.h"
#include "NumberDrag.h"
#include "Palette.h"
#include "PictureImage.h"
#include "CommandCode.h"
#include "RoutineFiles.h"
#include "RoutineTesting.h"
#include "Scenes.h"
#include "TestImages.h"
#include "WindowTesting.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTextBlock>

using namespace sweepdraw;
using namespace std::chrono_literals;
using sweepdraw::test::forgetTheLearnersRoutines;
using sweepdraw::test::ManualClock;
using sweepdraw::test::pictureOf;
using sweepdraw::test::sceneAlone;
using sweepdraw::test::sceneWith;
using sweepdraw::test::startAsTheProgramDoes;
using sweepdraw::test::zoomOf;

namespace {

// What a routine draws at once over what the commands draw.
QImage routineOver(const QList<Button> &under, const QString &routine, double zoom = 1.0)
{
    RasterSurface surface(kDesignSize, zoom);
    for (Button button : under)
        commandOf(button).action(surface);
    const auto compiled = CompiledRoutine::compile("routine.cpp", routine.toStdString());
    if (!std::holds_alternative<CompiledRoutine>(compiled))
        qFatal("refused: %s", inEnglish(std::get<FaultMessage>(compiled), "routine.cpp").c_str());
    std::get<CompiledRoutine>(compiled).run(surface);
    return imageOf(surface).copy();
}

// Opens the code pane on the sunshine drawn over `under`, and then an
// editable copy of it, with the caret at the end of its first `number`.
QPlainTextEdit *editSunshineCopy(Form1 &form, const QList<Button> &under, const QString &number)
{
    form.setSpeed(Speed::Instant);
    for (Button button : under + QList<Button>{Button::Cmdyg})
        form.RunCommand(button);
    form.finishDrawing();
    QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_E, Qt::ControlModifier);
    auto *code = form.findChild<QPlainTextEdit *>(QStringLiteral("code"));
    if (code->isReadOnly())
        return nullptr;
    QTextCursor caret = code->document()->find(number);
    caret.clearSelection();
    code->setTextCursor(caret);
    return code;
}

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { startAsTheProgramDoes(); }
    void init() { forgetTheLearnersRoutines(); }
    void numbersChangeInTheirForm_data();
    void numbersChangeInTheirForm();
    void editedCopyRunsAsItsFile();
    void changedNumberRedrawsAtOnce_data();
    void changedNumberRedrawsAtOnce();
    void undoRedraws();
    void unreadableRoutineIsToldAndKept();
};

void TestEditor::numbersChangeInTheirForm_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("changed"); // the line after the change, or as it was if there is no number

    QTest::newRow("a tenth up") << "Sweep(666, 1800, 0.2, [&](double r) {" << 18 << 1LL
                                << "Sweep(666, 1800, 0.3, [&](double r) {";
    QTest::newRow("a whole number, caret after it") << "const double step = 6.283192 / 32;" << 33 << 1LL
                                                    << "const double step = 6.283192 / 33;";
    QTest::newRow("ten down, with the carry") << "x = 1000 + 2;" << 5 << -10LL << "x = 990 + 2;";
    QTest::newRow("the decimals kept") << "a = 0.10;" << 6 << -1LL << "a = 0.09;";
    QTest::newRow("never below zero") << "a = 0.2;" << 5 << -5LL << "a = 0.0;";
    QTest::newRow("past its digits") << "Sweep(0, 6.283192, step" << 14 << 4000000LL << "Sweep(0, 10.283192, step";
    QTest::newRow("no dot, no exponent, however large")
        << "n = 99999999999;" << 5 << 1LL << "n = 100000000000;";
    QTest::newRow("a digit in a name") << "PaletteColor(x2)" << 15 << 1LL << "PaletteColor(x2)";
    QTest::newRow("an exponent") << "a = 1e5;" << 4 << 1LL << "a = 1e5;";
    QTest::newRow("octal") << "a = 017;" << 6 << 1LL << "a = 017;";
}

void TestEditor::numbersChangeInTheirForm()
{
    QFETCH(QString, line);
    QFETCH(int, position);
    QFETCH(qint64, units);
    QFETCH(QString, changed);

    QString result = line;
    if (const std::optional<NumberSpan> span = numberAt(line, position))
        result.replace(span->start, span->length, steppedNumber(line.mid(span->start, span->length), units));
    QCOMPARE(result, changed);
}

void TestEditor::editedCopyRunsAsItsFile()
{
    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPlainTextEdit *code = editSunshineCopy(form, {}, QStringLiteral("/ 32"));
    QVERIFY(code);
    QVERIFY(code->hasFocus());
    QCOMPARE(form.findChild<QLabel *>(QStringLiteral("header"))->text(), QString("My sunshine · yours, editable"));

    // Typed in the code, the keys edit it, Space and Ctrl+Z included, and
    // Ctrl+C with nothing selected copies nothing, the picture neither.
    QSignalSpy copied(QGuiApplication::clipboard(), &QClipboard::dataChanged);
    const auto line = [code] { return code->textCursor().block().text().trimmed(); };
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClicks(code, QStringLiteral("12"));
    QTest::keyClick(code, Qt::Key_Space);
    QCOMPARE(line(), QString("const double step = 6.283192 / 12 ;"));
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(line(), QString("const double step = 6.283192 / 12 ;"));
    QTest::keyClick(code, Qt::Key_Backspace);
    QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(code->toPlainText(),
             sceneWith(QStringLiteral("Sunshine.cpp"), QStringLiteral("/ 32"), QStringLiteral("/ 12")));
    QCOMPARE(copied.count(), 0);

    // F5 queues it at the window's speed, on a cleared picture.
    form.RunCommand(Button::CmdCls);
    form.setSpeed(Speed::Fast);
    QTest::keyClick(&form, Qt::Key_F5);
    QVERIFY(form.isDrawing());
    for (int frame = 0; frame < 1000 && form.isDrawing(); ++frame) {
        clock.advance(RunnerDriver::kFrame);
        form.advanceDrawing();
    }
    QVERIFY(!form.isDrawing());
    QCOMPARE(imageOf(pictureOf(form)), routineOver({}, code->toPlainText(), zoomOf(form)));
    QCOMPARE(form.pictures().size(), 1);
    QVERIFY(imageOf(pictureOf(form)) != sceneAlone(DrawSunshine));
}

void TestEditor::changedNumberRedrawsAtOnce_data()
{
    QTest::addColumn<QString>("number"); // the caret goes after the first of these
    QTest::addColumn<int>("dragged");    // pixels to the right; 0 for Alt+Up twice
    QTest::addColumn<QString>("changed");
    QTest::addColumn<int>("failingLine"); // where the changed routine fails while drawing, or 0

    QTest::newRow("Alt+Up on the rays") << "/ 32" << 0 << "/ 34" << 0;
    QTest::newRow("a drag on the step") << "0.2" << 3 * NumberDrag::kPixelsPerUnit << "0.5" << 0;
    // On the way to 0.0, 0.1 draws.
    QTest::newRow("a drag to a zero step") << "0.2" << -2 * NumberDrag::kPixelsPerUnit << "0.0" << 20;
}

void TestEditor::changedNumberRedrawsAtOnce()
{
    QFETCH(QString, number);
    QFETCH(int, dragged);
    QFETCH(QString, changed);
    QFETCH(int, failingLine);

    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPlainTextEdit *code = editSunshineCopy(form, {Button::CmdGs}, number);
    QVERIFY(code);
    if (dragged == 0) {
        QTest::keyClick(code, Qt::Key_Up, Qt::AltModifier);
        QTest::keyClick(code, Qt::Key_Up, Qt::AltModifier);
    } else {
        QPoint at = code->cursorRect().center() - QPoint(2, 0);
        QTest::mousePress(code->viewport(), Qt::LeftButton, {}, at);
        // The first move past the drag distance starts the drag; the rest
        // change the number.
        const int way = dragged > 0 ? 1 : -1;
        at.rx() += way * QApplication::startDragDistance();
        QTest::mouseMove(code->viewport(), at);
        for (int moved = 0; moved < std::abs(dragged); moved += NumberDrag::kPixelsPerUnit) {
            at.rx() += way * NumberDrag::kPixelsPerUnit;
            QTest::mouseMove(code->viewport(), at);
        }
        QTest::mouseRelease(code->viewport(), Qt::LeftButton, {}, at);
    }
    const QString expected = sceneWith(QStringLiteral("Sunshine.cpp"), number, changed);
    QCOMPARE(code->toPlainText(), expected);
    // Each change drops the one before it: the picture shows the last, in
    // place of the sunshine it is a copy of, over the pictures before it.
    QVERIFY(QTest::qWaitFor([&] { return !form.isDrawing(); }));
    if (failingLine == 0) {
        QCOMPARE(imageOf(pictureOf(form)), routineOver({Button::CmdGs}, expected, zoomOf(form)));
        QCOMPARE(form.pictures().size(), 2);
        return;
    }
    // A change that fails keeps the last good picture, the one before the
    // drag, whose change to 0.1 was dropped for it, and tells where.
    auto *header = form.findChild<QLabel *>(QStringLiteral("header"));
    const QString where = QStringLiteral("line %1: ").arg(failingLine);
    QVERIFY2(header->text().contains(where), qPrintable(header->text()));
    const QImage kept = imageOf(pictureOf(form)).copy();
    QCOMPARE(kept, routineOver({Button::CmdGs}, sceneWith(QStringLiteral("Sunshine.cpp"), number, number), zoomOf(form)));
    // Run, it fails the same way without ending the program, and what is
    // queued after it is drawn.
    QTest::keyClick(&form, Qt::Key_F5);
    form.RunCommand(Button::CmdDq);
    form.finishDrawing();
    QVERIFY(!form.isEnding());
    QVERIFY(header->text().contains(where));
    QCOMPARE(form.pictures().back(), Runnable(Button::CmdDq));
    QVERIFY(imageOf(pictureOf(form)) != kept);
}

void TestEditor::undoRedraws()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QPlainTextEdit *code = editSunshineCopy(form, {}, QStringLiteral("/ 32"));
    QVERIFY(code);
    const QString before = code->toPlainText();
    QTest::keyClick(code, Qt::Key_Up, Qt::AltModifier);
    QVERIFY(QTest::qWaitFor([&] { return !form.isDrawing(); }));
    QVERIFY(imageOf(pictureOf(form)) != routineOver({}, before, zoomOf(form)));
    // Undone, the text is as it was, and so, once the keys rest, is the
    // picture.
    QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(code->toPlainText(), before);
    QVERIFY(QTest::qWaitFor([&] {
        return !form.isDrawing() && form.pictures().back().routine()->source() == before.toStdString();
    }));
    QCOMPARE(imageOf(pictureOf(form)), routineOver({}, before, zoomOf(form)));
    QCOMPARE(form.pictures().size(), 1);
}

void TestEditor::unreadableRoutineIsToldAndKept()
{
    const QString path = RoutineFiles::freePath(QStringLiteral("MySunshine.cpp"));
    const QByteArray notText("Sweep(0, 1, \xff\xfe);\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(notText);
    }
    {
        // Listed among the learner's routines, but never opened unasked:
        // chosen, it says why it cannot be shown.
        Form1 form(1.0);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(&form, Qt::Key_U, Qt::ControlModifier);
        auto *list = form.findChild<QComboBox *>(QStringLiteral("routines"));
        const int listed = list->findText(QStringLiteral("My sunshine · yours"));
        QVERIFY(listed >= 0);
        QVERIFY(form.findChild<QPlainTextEdit *>(QStringLiteral("code"))->isReadOnly());
        emit list->activated(listed);
        auto *header = form.findChild<QLabel *>(QStringLiteral("header"));
        QVERIFY2(header->text().endsWith(QStringLiteral("MySunshine.cpp is not UTF-8 text")), qPrintable(header->text()));
        QCOMPARE(header->accessibleDescription(), header->text());
        QVERIFY(form.findChild<QPlainTextEdit *>(QStringLiteral("code"))->isReadOnly());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), notText);
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
