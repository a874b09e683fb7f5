#pragma once

#include <QPlainTextEdit>
#include <QPoint>
#include <QRgb>

#include <optional>
#include <vector>

class QKeyEvent;

namespace sweepdraw {

// The font code is set in, in every language: Latin letters, digits and
// punctuation from a monospaced Latin face, and only what that lacks, as
// CJK characters, from the system's fixed font.
QFont codeFont();

// Shows source code: read-only unless made editable, monospaced,
// syntax-coloured, selectable and copyable, in a dark scheme like the
// window's panel. Over the text it can
// highlight loops, each a run of lines drawn over those before it, so that
// the last, the innermost, shows the strongest; in a column to the right of
// the text it shows values beside lines, never written into the text.
//
// With text selected, Ctrl+C copies it, before the window's own use of the
// key. Editable, it keeps every key that edits or moves in the text, Ctrl+C,
// Ctrl+V and Ctrl+Z among them, from the window's own uses of them. Ctrl+plus (or Ctrl+=), Ctrl+minus and Ctrl+0 make its text larger,
// smaller and back as it was, anywhere in the window while it is shown, and
// so does Ctrl with the mouse wheel over it.
class CodeView final : public QPlainTextEdit
{
    Q_OBJECT

public:
    // Lines from `first` to `last`, counted from 1.
    struct Span
    {
        int first = 0;
        int last = 0;
        bool operator==(const Span &) const = default;
    };

    // What is shown beside a line: a colour swatch if there is one, then
    // the text.
    struct Value
    {
        int line = 0;
        QString text;
        std::optional<QRgb> swatch;
        bool operator==(const Value &) const = default;
    };

    explicit CodeView(QWidget *parent = nullptr);

    // Shows `text`, with nothing highlighted and no values, wrapped to the
    // width so that every line can be read whole beside the values.
    void setCode(const QString &text);
    void setNote(const QString &text);

    void setEditable(bool editable);

    // A text of its own, to be shown by showDocument(): plain, coloured as
    // code, and owned by `owner`.
    static QTextDocument *makeDocument(QObject *owner);
    // Shows `document`, made by makeDocument(), editable or not, with
    // nothing highlighted and no values; the document shown before keeps
    // its text, its caret and its undo steps.
    void showDocument(QTextDocument *document, bool editable);

    // Outermost first.
    void setLoops(const std::vector<Span> &loops);
    // Marks the fault at `line` and `column`, counted from 1, to the end of
    // the word there; nothing for std::nullopt.
    void setFault(std::optional<QPoint> lineAndColumn);
    void setValues(const std::vector<Value> &values);

signals:
    // A key that would have typed was pressed on a read-only text.
    void typedReadOnly();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    class ValueColumn;

    void addZoomAction(const QList<QKeySequence> &keys, int change);
    void zoomBy(int change);
    void fitValueColumn();
    void placeValueColumn();
    void paintValues(QPaintEvent *event);
    void showSelections();
    bool keepsKey(const QKeyEvent &key) const;

    ValueColumn *m_valueColumn;
    std::vector<Span> m_loops;
    std::optional<QPoint> m_fault;
    std::vector<Value> m_values;
    qreal m_defaultPointSize;
};

} // namespace sweepdraw
