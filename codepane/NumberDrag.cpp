#include "NumberDrag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <cmath>

namespace sweepdraw {

namespace {

// More digits than this would not fit the units' arithmetic.
constexpr int kMostDigits = 17;

bool isNumberChar(QChar c)
{
    return c.isDigit() || c == u'.';
}

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

std::optional<NumberSpan> numberAt(const QString &line, int position)
{
    if (position < 0 || position > line.size())
        return std::nullopt;
    int start = position;
    while (start > 0 && isNumberChar(line[start - 1]))
        --start;
    int end = position;
    while (end < line.size() && isNumberChar(line[end]))
        ++end;
    const QStringView literal = QStringView(line).mid(start, end - start);
    const qsizetype digits = std::count_if(literal.begin(), literal.end(), [](QChar c) { return c.isDigit(); });
    if (digits == 0 || digits > kMostDigits || literal.count(u'.') > 1)
        return std::nullopt;
    if ((start > 0 && isNameChar(line[start - 1])) || (end < line.size() && isNameChar(line[end])))
        return std::nullopt;
    if (literal.size() > 1 && literal[0] == u'0' && literal[1].isDigit() && !literal.contains(u'.'))
        return std::nullopt;
    return NumberSpan{start, static_cast<int>(end - start)};
}

QString steppedNumber(const QString &literal, qint64 units)
{
    const qsizetype dot = literal.indexOf(u'.');
    const QString whole = dot < 0 ? literal : literal.left(dot);
    const QString decimals = dot < 0 ? QString() : literal.mid(dot + 1);
    bool ok = false;
    const qint64 value = (whole + decimals).toLongLong(&ok);
    if (!ok)
        return literal;
    QString digits = QString::number(std::max<qint64>(0, value + units));
    // Zeros in front, so that the whole part has a digit at least.
    if (digits.size() <= decimals.size())
        digits = QString(decimals.size() + 1 - digits.size(), u'0') + digits;
    if (dot < 0)
        return digits;
    QString wholePart = digits.left(digits.size() - decimals.size());
    // ".5" stays without its zero; a whole part that grew from nothing
    // keeps what it grew.
    if (whole.isEmpty() && wholePart == u"0")
        wholePart.clear();
    return wholePart + u'.' + digits.right(decimals.size());
}

NumberDrag::NumberDrag(QPlainTextEdit &editor)
    : QObject(&editor)
    , m_editor(editor)
    , m_watchedEditor(&editor)
    , m_viewport(editor.viewport())
{
    editor.installEventFilter(this);
    editor.viewport()->installEventFilter(this);
    editor.viewport()->setMouseTracking(true);
}

QTextCursor NumberDrag::numberUnder(const QTextCursor &cursor) const
{
    const QTextBlock block = cursor.block();
    const std::optional<NumberSpan> span = numberAt(block.text(), cursor.positionInBlock());
    if (!span)
        return {};
    QTextCursor number(block);
    number.setPosition(block.position() + span->start);
    number.setPosition(block.position() + span->start + span->length, QTextCursor::KeepAnchor);
    return number;
}

bool NumberDrag::step(const QTextCursor &cursor, qint64 units)
{
    QTextCursor number = numberUnder(cursor);
    if (number.isNull())
        return false;
    const QString changed = steppedNumber(number.selectedText(), units);
    if (changed == number.selectedText())
        return true;
    const int start = number.selectionStart();
    // Every change of one drag is one step for undo.
    if (m_changedInDrag)
        number.joinPreviousEditBlock();
    else
        number.beginEditBlock();
    number.insertText(changed);
    number.endEditBlock();
    m_changedInDrag = m_dragging;
    number.setPosition(start);
    number.setPosition(start + static_cast<int>(changed.size()), QTextCursor::KeepAnchor);
    if (m_dragging)
        m_pressed = number;
    emit numberChanged();
    return true;
}

bool NumberDrag::dragTo(int x, Qt::KeyboardModifiers modifiers)
{
    double perPixel = 1.0 / kPixelsPerUnit;
    if (modifiers & Qt::ShiftModifier)
        perPixel *= 10;
    if (modifiers & Qt::AltModifier)
        perPixel /= 10;
    m_units += (x - m_lastX) * perPixel;
    m_lastX = x;
    const auto units = static_cast<qint64>(std::trunc(m_units));
    if (units != 0) {
        m_units -= static_cast<double>(units);
        step(m_pressed, units);
    }
    return true;
}

bool NumberDrag::eventFilter(QObject *watched, QEvent *event)
{
    // Only the events it acts on reach the editor: others come while the
    // editor is being destroyed, when it is no longer one.
    const QEvent::Type type = event->type();
    const bool isKey = watched == m_watchedEditor && type == QEvent::KeyPress;
    const bool isMouse = watched == m_viewport
                       && (type == QEvent::MouseButtonPress || type == QEvent::MouseMove
                           || type == QEvent::MouseButtonRelease);
    if ((!isKey && !isMouse) || m_editor.isReadOnly())
        return false;
    if (isKey) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & Qt::AltModifier) && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
            const qint64 units = (key->key() == Qt::Key_Up ? 1 : -1) * (key->modifiers() & Qt::ShiftModifier ? 10 : 1);
            return step(m_editor.textCursor(), units);
        }
        return false;
    }
    switch (type) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_pressed = numberUnder(m_editor.cursorForPosition(mouse->position().toPoint()));
        m_lastX = mouse->position().toPoint().x();
        m_units = 0;
        m_dragging = false;
        m_changedInDrag = false;
        // Pressed, the caret goes there as on any text; it is the drag that
        // tells a change from a click.
        return false;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        if (!(mouse->buttons() & Qt::LeftButton) || m_pressed.isNull()) {
            const bool over = !numberUnder(m_editor.cursorForPosition(at)).isNull();
            m_editor.viewport()->setCursor(over ? Qt::SizeHorCursor : Qt::IBeamCursor);
            return false;
        }
        if (!m_dragging && std::abs(at.x() - m_lastX) < QApplication::startDragDistance())
            return true;
        if (!m_dragging) {
            m_dragging = true;
            m_lastX = at.x();
            QTextCursor caret = m_editor.textCursor();
            caret.clearSelection();
            m_editor.setTextCursor(caret);
        }
        return dragTo(at.x(), mouse->modifiers());
    }
    case QEvent::MouseButtonRelease: {
        const bool dragged = m_dragging;
        m_pressed = QTextCursor();
        m_dragging = false;
        m_changedInDrag = false;
        return dragged;
    }
    default:
        return false;
    }
}

} // namespace sweepdraw
