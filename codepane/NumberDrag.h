#pragma once

#include <QObject>
#include <QString>
#include <QTextCursor>

#include <optional>

class QPlainTextEdit;

namespace sweepdraw {

// Where a number is written in a line of text: its first character and how
// many it takes.
struct NumberSpan
{
    int start = 0;
    int length = 0;
    bool operator==(const NumberSpan &) const = default;
};

// The decimal literal `position` is in or just after ("32", "0.2"), or
// nothing where there is none: digits in a name ("x2"), a literal with an
// exponent, a suffix or a base, and one with a leading zero, which C++
// reads as octal, are not numbers to change.
std::optional<NumberSpan> numberAt(const QString &line, int position);

// `literal` changed by `units` of its last digit, written the same way: no
// exponent, as many decimals, never below zero, where C++ would need a
// unary minus to read it. "0.2" by 1 is "0.3", "32" by -10 is "22".
QString steppedNumber(const QString &literal, qint64 units);

// Changes the numbers of an editable text by hand: a number pressed and
// dragged sideways changes by a unit of its last digit every few pixels,
// by ten with Shift, and by one every ten times as far with Alt; with the
// caret on a number, Alt+Up and Alt+Down change it by one unit, and by ten
// with Shift. A drag is one step for undo. Each change is an ordinary edit
// of the document, so whatever follows the text follows it too. A
// read-only text is left alone.
class NumberDrag final : public QObject
{
    Q_OBJECT

public:
    // Horizontal pixels a drag moves for one unit.
    static constexpr int kPixelsPerUnit = 6;

    explicit NumberDrag(QPlainTextEdit &editor);

    // Changes the number at `cursor` by `units`: whether there was one.
    bool step(const QTextCursor &cursor, qint64 units);

signals:
    // A number has changed, and the text with it.
    void numberChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The number under `cursor`, selected, or a null cursor.
    QTextCursor numberUnder(const QTextCursor &cursor) const;
    bool dragTo(int x, Qt::KeyboardModifiers modifiers);

    QPlainTextEdit &m_editor;
    // The objects whose events it watches, as they were made.
    const QObject *m_watchedEditor;
    const QObject *m_viewport;
    QTextCursor m_pressed; // the number pressed on, selected, while the button is down
    int m_lastX = 0;
    double m_units = 0; // moved but not yet applied, in units
    bool m_dragging = false;
    bool m_changedInDrag = false;
};

} // namespace sweepdraw
