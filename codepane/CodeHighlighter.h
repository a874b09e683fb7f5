#pragma once

#include <QRegularExpression>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

#include <vector>

namespace sweepdraw {

// Colours C++ source for the code pane: keywords, numbers, string literals
// and comments, each by one rule; a later rule's colour wins where two
// match. Comments reach to the end of the line; the scenes have no others.
class CodeHighlighter final : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit CodeHighlighter(QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;

private:
    struct Rule
    {
        QRegularExpression pattern;
        QTextCharFormat format;
    };

    std::vector<Rule> m_rules;
};

} // namespace sweepdraw
