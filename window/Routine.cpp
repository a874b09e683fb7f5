#include "Routine.h"

#include "CompiledRoutine.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace sweepdraw {

namespace {

// Where the bracket closing the one at `open` is, as a line index; brackets
// in comments and in string and character literals do not count.
int closingLine(const QStringList &lines, int line, qsizetype open)
{
    int depth = 0;
    for (int at = line; at < lines.size(); ++at) {
        const QString &text = lines[at];
        QChar quote;
        for (qsizetype i = at == line ? open : 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (!quote.isNull()) {
                if (c == u'\\')
                    ++i;
                else if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'/' && text.mid(i, 2) == u"//") {
                break;
            } else if (c == u'(') {
                ++depth;
            } else if (c == u')' && --depth == 0) {
                return at;
            }
        }
    }
    return line;
}

} // namespace

Routine::Routine(const Command &command)
{
    const CommandTally &tally = tallyOf(command.button);
    m_operations = tally.operations;
    if (!tally.file)
        return;
    m_fileName = QFileInfo(QString::fromUtf8(tally.file)).fileName();
    QFile file(QStringLiteral(":/scenes/") + m_fileName);
    if (file.open(QIODevice::ReadOnly))
        m_source = QString::fromUtf8(file.readAll());
    findLoops();
}

Routine::Routine(const CompiledRoutine &routine, long long operations)
    : m_fileName(QFileInfo(QString::fromStdString(routine.fileName())).fileName())
    , m_source(QString::fromStdString(routine.source()))
    , m_operations(operations)
    , m_plotLines(routine.plotLines())
{
    for (const CompiledRoutine::Loop &loop : routine.loops())
        m_loops.emplace(loop.firstLine, Loop{loop.firstLine, loop.lastLine, QString::fromStdString(loop.counter)});
}

void Routine::findLoops()
{
    const QStringList lines = m_source.split(u'\n');
    static const QRegularExpression call(QStringLiteral(R"(\b(?:Sweep|ColourPass)\s*\()"));
    // The lambda's parameter: "[&](double r)".
    static const QRegularExpression counter(
        QStringLiteral(R"(\[[^\]]*\]\s*\(\s*(?:const\s+)?[\w:]+\s*[&*]?\s*(\w+)\s*\))"));
    for (int line = 0; line < lines.size(); ++line) {
        if (lines[line].contains(QLatin1String("PlotPoint(")))
            m_plotLines.push_back(line + 1);
        const QRegularExpressionMatch found = call.match(lines[line]);
        if (!found.hasMatch())
            continue;
        Loop loop;
        loop.firstLine = line + 1;
        loop.lastLine = closingLine(lines, line, found.capturedEnd() - 1) + 1;
        loop.counter = counter.match(lines[line], found.capturedEnd()).captured(1);
        m_loops.emplace(loop.firstLine, loop);
    }
}

const Routine::Loop *Routine::loopAt(int line) const
{
    const auto found = m_loops.find(line);
    return found == m_loops.end() ? nullptr : &found->second;
}

int Routine::plotLine(int first, int last) const
{
    for (auto line = m_plotLines.rbegin(); line != m_plotLines.rend(); ++line)
        if (*line >= first && *line <= last)
            return *line;
    return 0;
}

} // namespace sweepdraw
