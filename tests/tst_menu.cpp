#include "PictureImage.h"
#include "Translations.h"
#include "WindowTesting.h"

#include <QMenu>
#include <QMessageBox>
#include <QTextBrowser>

using namespace sweepdraw;
using namespace std::chrono_literals;
using namespace sweepdraw::test;

// The window's menu and keys: the focus and its order, the keys that press
// a button, Esc, and the speeds.
class TestMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { startAsTheProgramDoes(); }
    void focusAndTabOrder();
    void keysPressTheFocusedButton_data();
    void keysPressTheFocusedButton();
    void focusFrameShowsFromTheStart();
    void escapeFinishesEverythingClicked();
    void speedMenu();
    void tooltipsCountThePoints_data();
    void tooltipsCountThePoints();
    void exitCutsTheDrawingShort_data();
    void exitCutsTheDrawingShort();
    void aboutTellsVersionAndQt();
    void helpListsWhatTheMenuDoesNot_data();
    void helpListsWhatTheMenuDoesNot();
};

void TestMenu::focusAndTabOrder()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), buttonOf(form, Button::CmdDq));

    QStringList order;
    for (int i = 0; i < 7; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, QStringList({"CmdDq", "Cmdyg", "Cmdls", "CmdCls", "CmdExit", "CmdGs", "CmdDq"}));
}

void TestMenu::keysPressTheFocusedButton_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Space") << int(Qt::Key_Space) << Qt::KeyboardModifiers();
    QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
    QTest::newRow("Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
}

void TestMenu::keysPressTheFocusedButton()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    // The focus starts on "大桥".
    Form1 form(1.0);
    form.setSpeed(Speed::Instant);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    QVERIFY(waitUntilDrawn(form));
    QCOMPARE(imageOf(pictureOf(form)), sceneAlone(DrawBridge));
    // Still no default button, which would take Return from any other.
    for (QPushButton *button : form.findChildren<QPushButton *>())
        QVERIFY(!button->isDefault() && !button->autoDefault());
}

void TestMenu::focusFrameShowsFromTheStart()
{
    // The focused button looks at start-up as it does once Tab has gone
    // round the row back to it, focus frame and all.
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QPushButton *bridge = buttonOf(form, Button::CmdDq);
    QCOMPARE(QApplication::focusWidget(), bridge);
    const QImage atStart = bridge->grab().toImage();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), bridge);
    QCOMPARE(bridge->grab().toImage(), atStart);
}

void TestMenu::escapeFinishesEverythingClicked()
{
    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(buttonOf(form, Button::Cmdyg), Qt::LeftButton);
    QTest::mouseClick(buttonOf(form, Button::CmdDq), Qt::LeftButton);
    clock.advance(100ms);
    form.advanceDrawing();
    QVERIFY(!isBlank(imageOf(pictureOf(form))));

    // With the clock standing still, one frame lands all of both.
    QTest::keyClick(&form, Qt::Key_Escape);
    form.advanceDrawing();
    QVERIFY(!form.isDrawing());
    QCOMPARE(imageOf(pictureOf(form)), paintedOver(sceneAlone(DrawSunshine), sceneAlone(DrawBridge)));

    // What is clicked afterwards goes at the speed again.
    QTest::mouseClick(buttonOf(form, Button::CmdCls), Qt::LeftButton);
    QTest::mouseClick(buttonOf(form, Button::Cmdls), Qt::LeftButton);
    clock.advance(16ms);
    form.advanceDrawing();
    QVERIFY(form.isDrawing());
    QVERIFY(!isBlank(imageOf(pictureOf(form))));
    QVERIFY(imageOf(pictureOf(form)) != sceneAlone(DrawWater));
}

void TestMenu::speedMenu()
{
    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.speed(), Speed::Normal);

    // What a right click at `where` opens, as (text, shortcut, checked) rows;
    // empty when no menu opens.
    // The menu is read from inside its own event loop; the reader goes with
    // the call when no menu opens.
    const auto menuAt = [&](QPoint where) {
        QStringList rows;
        QTimer reader;
        reader.setInterval(10);
        connect(&reader, &QTimer::timeout, &form, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            // Closed only once it has the focus, as a user's would be:
            // closed sooner, it leaves the window's shortcuts deaf.
            if (menu && QGuiApplication::focusWindow() == menu->windowHandle()) {
                reader.stop();
                for (QAction *action : menu->actions())
                    rows << QString("%1 %2 %3")
                                .arg(action->isSeparator() ? "-" + action->text() : action->text(),
                                     action->shortcut().toString(), action->isChecked() ? "checked" : "")
                                .trimmed();
                menu->close();
            }
        });
        reader.start();
        QWidget *target = form.childAt(where) ? form.childAt(where) : &form;
        QContextMenuEvent event(QContextMenuEvent::Mouse, target->mapFrom(&form, where),
                                form.mapToGlobal(where));
        QApplication::sendEvent(target, &event);
        return rows;
    };

    const QStringList normal = {"-Speed", "Slowest Ctrl+1", "Slow Ctrl+2", "Normal Ctrl+3 checked", "Fast Ctrl+4", "Instant Ctrl+5",
                                "-", "Finish now Esc", "-", "Save picture… Ctrl+S", "Copy picture Ctrl+C",
                                "Record animation…", "-", "Show code Ctrl+U", "Pause Pause", "Step F10",
                                "Step back Shift+F10", "Run to the caret Ctrl+F10", "-", "Edit a copy Ctrl+E",
                                "New routine", "Open routine… Ctrl+O", "Save routine as… Ctrl+Shift+S", "Run F5",
                                "Stop Shift+Esc", "-", "Help F1", "About"};
    QCOMPARE(menuAt(QPoint(600, 300)), normal); // over the panel
    QCOMPARE(menuAt(QPoint(100, 380)), normal); // over the title
    QCOMPARE(menuAt(QPoint(3, 3)), normal);     // over the background
    QCOMPARE(menuAt(buttonOf(form, Button::Cmdyg)->geometry().center()), QStringList());

    QTest::keyClick(&form, Qt::Key_4, Qt::ControlModifier);
    QCOMPARE(form.speed(), Speed::Fast);
    QCOMPARE(menuAt(QPoint(600, 300)).at(4), QString("Fast Ctrl+4 checked"));
    QTest::keyClick(&form, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(form.speed(), Speed::Slowest);
}

void TestMenu::tooltipsCountThePoints_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<Button>("button");
    QTest::addColumn<QString>("points"); // the word after the count
    for (const QString &language : {QString("en_US points"), QString("zh_CN 个点")})
        for (const Command &command : kCommands)
            if (command.draws())
                QTest::addRow("%s %s", qPrintable(language), command.name)
                    << QLocale(language.section(' ', 0, 0)) << command.button << language.section(' ', 1);
}

void TestMenu::tooltipsCountThePoints()
{
    QFETCH(QLocale, locale);
    QFETCH(Button, button);
    QFETCH(QString, points);

    installTranslations(locale);
    const auto english = qScopeGuard([] { installTranslations(QLocale(QLocale::English)); });
    Form1 form(1.0);
    RecordingSurface recording;
    commandOf(button).action(recording);
    const auto plotted = std::ranges::count(recording.calls(), RecordingSurface::Op::PlotPoint,
                                            &RecordingSurface::Call::op);
    // With its thousands set apart by commas, in either language.
    const QString count = QLocale(QLocale::English).toString(static_cast<qlonglong>(plotted));
    const QString tip = buttonOf(form, button)->toolTip();
    QVERIFY2(tip.contains(count + ' ' + points), qPrintable(tip));
}

void TestMenu::exitCutsTheDrawingShort_data()
{
    QTest::addColumn<QList<Button>>("clicked");
    QTest::newRow("idle") << QList<Button>{};
    QTest::newRow("drawing") << QList<Button>{Button::Cmdyg};
    QTest::newRow("drawing, more queued") << QList<Button>{Button::Cmdyg, Button::CmdDq, Button::Cmdls};
}

void TestMenu::exitCutsTheDrawingShort()
{
    QFETCH(QList<Button>, clicked);

    Form1 form(1.0);
    ManualClock clock(form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QSignalSpy ended(&form, &Form1::ended);
    for (Button button : clicked)
        QTest::mouseClick(buttonOf(form, button), Qt::LeftButton);
    clock.advance(500ms);
    form.advanceDrawing();
    const QImage before = imageOf(pictureOf(form)).copy();

    QTest::mouseClick(buttonOf(form, Button::CmdExit), Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).value<Form1::Ending>(), Form1::Ending::Asked);
    QVERIFY(!form.isDrawing());

    // Nothing more is drawn, and the window takes no more commands.
    QTest::mouseClick(buttonOf(form, Button::CmdCls), Qt::LeftButton);
    clock.advance(10s);
    form.advanceDrawing();
    QCOMPARE(imageOf(pictureOf(form)), before);
}

void TestMenu::aboutTellsVersionAndQt()
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
    Form1 form(1.0);
    const QList<QAction *> items = form.actions();
    const auto about = std::ranges::find(items, QString("About"), &QAction::text);
    QVERIFY(about != items.end());
    (*about)->trigger();
    auto *box = form.findChild<QMessageBox *>(QStringLiteral("AboutBox"));
    QVERIFY(box && box->isVisible());
    for (const QString &fact : {QString("1.2.3"), QString(qVersion())})
        QVERIFY2(box->text().contains(fact), qPrintable(fact));
}

QTEST_MAIN(TestMenu)
// What the code pane does with the mouse and with keys that no menu item
// shows, found with F1.
void TestMenu::helpListsWhatTheMenuDoesNot_data()
{
    QTest::addColumn<QString>("told");
    QTest::newRow("asking what drew a point") << "Ctrl+click";
    QTest::newRow("dragging a number") << "Drag a number";
    QTest::newRow("a number one more") << "Alt+Up";
    QTest::newRow("a number one less") << "Alt+Down";
}

void TestMenu::helpListsWhatTheMenuDoesNot()
{
    QFETCH(QString, told);

    Form1 form(1.0);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTest::keyClick(&form, Qt::Key_F1);
    auto *help = form.findChild<QTextBrowser *>();
    QVERIFY(help);
    QVERIFY2(help->toPlainText().contains(told), qPrintable(help->toPlainText()));
}

#include "tst_menu.moc"
