#include "CodeHighlighter.h"

namespace sweepdraw {

namespace {

QTextCharFormat coloured(QRgb colour, bool bold = false)
{
    QTextCharFormat format;
    format.setForeground(QColor::fromRgb(colour));
    if (bold)
        format.setFontWeight(QFont::Bold);
    return format;
}

} // namespace

CodeHighlighter::CodeHighlighter(QTextDocument *document)
    : QSyntaxHighlighter(document)
{
    const QString keywords = QStringLiteral(
        R"(\b(?:auto|bool|char|const|constexpr|double|else|float|for|if|int|long|namespace)"
        R"(|return|static|static_cast|struct|using|void|while)\b)");
    m_rules = {
        {QRegularExpression(QStringLiteral(R"(^\s*#\s*\w+)")), coloured(qRgb(0xc7, 0x92, 0xea))},
        {QRegularExpression(keywords), coloured(qRgb(0x82, 0xaa, 0xff), true)},
        {QRegularExpression(QStringLiteral(R"(\b\d+(?:\.\d*)?(?:[eE][-+]?\d+)?\b)")),
         coloured(qRgb(0xf7, 0x8c, 0x6c))},
        {QRegularExpression(QStringLiteral(R"("(?:[^"\\]|\\.)*")")), coloured(qRgb(0xc3, 0xe8, 0x8d))},
        {QRegularExpression(QStringLiteral("//.*$")), coloured(qRgb(0x7f, 0x8c, 0x8d))},
    };
}

void CodeHighlighter::highlightBlock(const QString &text)
{
    for (const Rule &rule : m_rules) {
        for (QRegularExpressionMatchIterator it = rule.pattern.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            setFormat(static_cast<int>(match.capturedStart()), static_cast<int>(match.capturedLength()),
                      rule.format);
        }
    }
}

} // namespace sweepdraw
