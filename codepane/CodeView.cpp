#include "CodeView.h"

#include "CodeHighlighter.h"
#include "PaneColours.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>

#include <algorithm>

namespace sweepdraw {

namespace {

// Laid over the text once for each loop a line is in.
constexpr QColor kLoopTint(0xff, 0xd0, 0x40, 0x30);
constexpr QColor kFaultLine(0xff, 0x40, 0x40, 0x40);
constexpr QColor kFaultUnderline(0xff, 0x50, 0x50);
constexpr qreal kSmallestPointSize = 6;
constexpr qreal kLargestPointSize = 48;
// What the value column is made wide enough for, beside its swatch.
constexpr QStringView kWidestValue = u"(00000, 00000) ";
// The face code is set in where it is installed, as Debian installs it with Qt.
constexpr QStringView kLatinCodeFamily = u"DejaVu Sans Mono";

// The face for Latin in code: kLatinCodeFamily, or otherwise the first
// monospaced face that writes Latin and no Chinese, other than `fixed`, the
// name under which the system's fixed font is known, which may stand for a
// CJK face.
QString latinMonospaced(const QString &fixed)
{
    static const QString family = [&fixed] {
        const QStringList families = QFontDatabase::families(QFontDatabase::Latin);
        if (families.contains(kLatinCodeFamily))
            return kLatinCodeFamily.toString();
        for (const QString &each : families)
            if (each.compare(fixed, Qt::CaseInsensitive) != 0 && QFontDatabase::isFixedPitch(each)
                && !QFontDatabase::writingSystems(each).contains(QFontDatabase::SimplifiedChinese))
                return each;
        return QString();
    }();
    return family;
}

} // namespace

QFont codeFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // In a Chinese locale the system's fixed font is a CJK face, whose ';'
    // looks like ':' and whose '--' runs into one dash.
    if (const QString latin = latinMonospaced(font.family()); !latin.isEmpty())
        font.setFamilies({latin, font.family()});
    font.setStyleHint(QFont::Monospace);
    return font;
}

// The column beside the text where the values are drawn.
class CodeView::ValueColumn final : public QWidget
{
public:
    explicit ValueColumn(CodeView *view)
        : QWidget(view)
        , m_view(view)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *event) override { m_view->paintValues(event); }

private:
    CodeView *m_view;
};

CodeView::CodeView(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_valueColumn(new ValueColumn(this))
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setTabChangesFocus(true);
    setFrameShape(QFrame::NoFrame);
    const QFont font = codeFont();
    setFont(font);
    m_defaultPointSize = font.pointSizeF();
    document()->setDocumentMargin(QFontMetrics(font).height() / 3);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, QColor::fromRgb(PaneColour::kCode));
    colours.setColor(QPalette::Text, QColor::fromRgb(PaneColour::kCodeText));
    colours.setColor(QPalette::Window, QColor::fromRgb(PaneColour::kCode));
    colours.setColor(QPalette::WindowText, QColor::fromRgb(PaneColour::kCodeValue));
    setPalette(colours);

    new CodeHighlighter(document());
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy != 0)
            m_valueColumn->scroll(0, dy);
        else
            m_valueColumn->update(0, rect.y(), m_valueColumn->width(), rect.height());
    });

    addZoomAction({QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1);
    addZoomAction({QKeySequence(QKeySequence::ZoomOut)}, -1);
    addZoomAction({QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
    fitValueColumn();
}

void CodeView::addZoomAction(const QList<QKeySequence> &keys, int change)
{
    auto *action = new QAction(this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, change] { zoomBy(change); });
    addAction(action);
}

// One point larger or smaller, or back to the size it started at for 0.
void CodeView::zoomBy(int change)
{
    QFont larger = font();
    const qreal size = change == 0 ? m_defaultPointSize : larger.pointSizeF() + change;
    larger.setPointSizeF(std::clamp(size, kSmallestPointSize, kLargestPointSize));
    setFont(larger);
}

void CodeView::setCode(const QString &text)
{
    m_loops.clear();
    m_fault.reset();
    m_values.clear();
    setExtraSelections({});
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setPlainText(text);
}

QTextDocument *CodeView::makeDocument(QObject *owner)
{
    auto *document = new QTextDocument(owner);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    new CodeHighlighter(document);
    return document;
}

void CodeView::showDocument(QTextDocument *document, bool editable)
{
    if (document == this->document()) {
        setEditable(editable);
        return;
    }
    m_loops.clear();
    m_fault.reset();
    m_values.clear();
    setExtraSelections({});
    document->setDefaultFont(font());
    document->setDocumentMargin(QFontMetrics(font()).height() / 3);
    setDocument(document);
    setEditable(editable);
    m_valueColumn->update();
}

void CodeView::keyPressEvent(QKeyEvent *event)
{
    if (isReadOnly() && !event->text().isEmpty() && event->text().front().isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        emit typedReadOnly();
    QPlainTextEdit::keyPressEvent(event);
}

void CodeView::setNote(const QString &text)
{
    setCode(text);
}

void CodeView::setEditable(bool editable)
{
    setReadOnly(!editable);
    setTextInteractionFlags(editable ? Qt::TextEditorInteraction
                                     : Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void CodeView::setLoops(const std::vector<Span> &loops)
{
    if (loops == m_loops)
        return;
    m_loops = loops;
    showSelections();
}

void CodeView::setFault(std::optional<QPoint> lineAndColumn)
{
    if (lineAndColumn == m_fault)
        return;
    m_fault = lineAndColumn;
    showSelections();
}

void CodeView::showSelections()
{
    QList<QTextEdit::ExtraSelection> selections;
    for (const Span &loop : m_loops) {
        for (int line = loop.first; line <= loop.last; ++line) {
            QTextEdit::ExtraSelection selection;
            selection.format.setBackground(kLoopTint);
            selection.format.setProperty(QTextFormat::FullWidthSelection, true);
            selection.cursor = QTextCursor(document()->findBlockByNumber(line - 1));
            selections << selection;
        }
    }
    if (m_fault) {
        const QTextBlock block = document()->findBlockByNumber(m_fault->x() - 1);
        QTextEdit::ExtraSelection line;
        line.format.setBackground(kFaultLine);
        line.format.setProperty(QTextFormat::FullWidthSelection, true);
        line.cursor = QTextCursor(block);
        selections << line;
        QTextEdit::ExtraSelection word;
        word.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        word.format.setUnderlineColor(kFaultUnderline);
        word.cursor = QTextCursor(block);
        word.cursor.setPosition(block.position() + std::clamp(m_fault->y() - 1, 0, std::max(0, block.length() - 2)));
        word.cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
        if (!word.cursor.hasSelection())
            word.cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        selections << word;
    }
    setExtraSelections(selections);
}

void CodeView::setValues(const std::vector<Value> &values)
{
    if (values == m_values)
        return;
    m_values = values;
    m_valueColumn->update();
}

bool CodeView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && keepsKey(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

// Read-only, the text would leave Ctrl+C to the window's shortcuts; editable,
// it would leave some of the keys it edits with, depending on the platform's.
bool CodeView::keepsKey(const QKeyEvent &key) const
{
    if (key.matches(QKeySequence::Copy))
        return textCursor().hasSelection() || !isReadOnly();
    if (isReadOnly())
        return false;
    for (const auto edit : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo,
                            QKeySequence::SelectAll})
        if (key.matches(edit))
            return true;
    // Typing and moving, and changing a number with Alt as NumberDrag
    // does; the function keys, Esc and Pause stay the window's.
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers == Qt::AltModifier)
        return key.key() == Qt::Key_Up || key.key() == Qt::Key_Down;
    if (modifiers != Qt::NoModifier)
        return false;
    if (!key.text().isEmpty() && key.text().front().isPrint())
        return true;
    switch (key.key()) {
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Backspace: case Qt::Key_Delete:
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_PageUp: case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

void CodeView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    placeValueColumn();
}

// In the margin between the text and the scroll bar.
void CodeView::placeValueColumn()
{
    const QRect text = viewport()->geometry();
    m_valueColumn->setGeometry(text.right() + 1, text.top(), m_valueColumn->width(), text.height());
}

void CodeView::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitValueColumn();
}

void CodeView::fitValueColumn()
{
    const QFontMetrics metrics(font());
    const int width = metrics.height() + metrics.horizontalAdvance(kWidestValue.toString());
    m_valueColumn->resize(width, m_valueColumn->height());
    setViewportMargins(0, 0, width, 0);
    placeValueColumn();
}

void CodeView::paintValues(QPaintEvent *event)
{
    QPainter painter(m_valueColumn);
    painter.fillRect(event->rect(), QColor::fromRgb(PaneColour::kCode));
    if (m_values.empty())
        return;
    const QFontMetrics metrics(font());
    const int swatch = metrics.ascent() * 3 / 4;
    const int gap = metrics.height() / 4;
    painter.setFont(font());
    painter.setPen(QColor::fromRgb(PaneColour::kCodeValue));
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF shown = blockBoundingGeometry(block).translated(contentOffset());
        if (shown.top() > event->rect().bottom())
            break;
        const int line = block.blockNumber() + 1;
        const auto value = std::ranges::find(m_values, line, &Value::line);
        if (value == m_values.end() || !block.isVisible())
            continue;
        const int top = static_cast<int>(shown.top());
        int left = gap;
        if (value->swatch) {
            const QRect square(left, top + (metrics.height() - swatch) / 2, swatch, swatch);
            painter.fillRect(square, QColor::fromRgb(*value->swatch));
            painter.setPen(QColor::fromRgb(PaneColour::kSwatchFrame));
            painter.drawRect(square.adjusted(0, 0, -1, -1));
            painter.setPen(QColor::fromRgb(PaneColour::kCodeValue));
            left += swatch + gap;
        }
        painter.drawText(left, top + metrics.ascent(), value->text);
    }
}

} // namespace sweepdraw
