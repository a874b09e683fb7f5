#include "CodePane.h"

#include "CodeView.h"
#include "CoreInQt.h"
#include "NumberDrag.h"
#include "Operation.h"
#include "Palette.h"
#include "PaneColours.h"
#include "RoutineEditor.h"
#include "RoutineList.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QTextBlock>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

namespace sweepdraw {

namespace {

// The least time between two updates of what screen readers are told.
constexpr int kTellIntervalMs = 500;


QString number(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

CodePane::CodePane(const RunnerDriver &runner, QWidget *parent)
    : QWidget(parent)
    , m_runner(runner)
    , m_header(new QLabel(this))
    , m_progress(new QLabel(this))
    , m_code(new CodeView(this))
    , m_readOnly(CodeView::makeDocument(this))
    , m_list(new RoutineList(this))
    , m_editor(new RoutineEditor(*m_code, *this))
{
    m_code->showDocument(m_readOnly, false);
    setAccessibleName(tr("Code"));
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setAccessibleName(tr("Progress"));
    m_progress->setWordWrap(true);
    m_progress->setMargin(m_progress->fontMetrics().height() / 3);
    m_progress->setAutoFillBackground(true);
    QPalette colours = m_progress->palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(PaneColour::kProgress));
    colours.setColor(QPalette::WindowText, QColor::fromRgb(PaneColour::kProgressText));
    m_progress->setPalette(colours);
    m_header->setObjectName(QStringLiteral("header"));
    m_header->setAccessibleName(tr("Routine shown"));
    m_header->setWordWrap(true);
    m_header->setMargin(m_progress->margin());
    m_header->setAutoFillBackground(true);
    m_header->setPalette(colours);
    m_header->setTextFormat(Qt::PlainText);
    m_code->setObjectName(QStringLiteral("code"));
    m_code->setAccessibleName(tr("Routine"));
    m_code->setNote(tr("Click a picture's button: the routine that draws it shows here, live.\n\n"
                       "Ctrl+E makes a copy of it that is yours to change: every change shows in the "
                       "picture at once. F5 runs your copy as a command of its own."));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_list);
    layout->addWidget(m_header);
    layout->addWidget(m_progress);
    layout->addWidget(m_code, 1);

    m_typing.setSingleShot(true);
    m_typing.setInterval(kTypingRestMs);
    const auto showChange = [this] {
        m_typing.stop();
        if (const std::optional<Runnable> routine = learnersRoutine())
            emit routineChanged(*routine);
    };
    connect(&m_typing, &QTimer::timeout, this, showChange);
    connect(m_editor, &RoutineEditor::changed, &m_typing, qOverload<>(&QTimer::start));
    connect(new NumberDrag(*m_code), &NumberDrag::numberChanged, this, showChange);
    connect(m_editor, &RoutineEditor::headerChanged, this, &CodePane::showHeader);
    connect(m_editor, &RoutineEditor::opened, this, [this] {
        showMine();
        refresh();
    });
    connect(m_list, &RoutineList::sceneChosen, this, [this](Button scene) { showReadOnly(Runnable(scene)); });
    connect(m_list, &RoutineList::routineChosen, this, [this](const QString &path) {
        if (m_editor->isOpen() && QFileInfo(m_editor->path()) == QFileInfo(path))
            showMine();
        else
            m_editor->openFile(path);
    });
    connect(m_code, &CodeView::typedReadOnly, this, &CodePane::tellReadOnly);
    m_editor->noteFolder();
    showHeader();

    m_tellLater.setSingleShot(true);
    connect(&m_tellLater, &QTimer::timeout, this, &CodePane::tellNow);
    connect(&runner, &RunnerDriver::commandFinished, this, [this](const Runnable &command) {
        m_lastFinished = command;
        if (command.draws())
            m_lastDrawn = command;
    });
    connect(&runner, &RunnerDriver::drawn, this, [this] {
        m_answer.reset();
        refresh();
    });
    connect(&runner, &RunnerDriver::idle, this, &CodePane::refresh);
}

CodePane::~CodePane()
{
    // What it has not written yet, it writes from the code, which must
    // still be there.
    delete m_editor;
}

void CodePane::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

const CommandCode &CodePane::routineOf(const Runnable &command)
{
    if (const CompiledRoutine *fromFile = command.routine()) {
        // Made again once its operations are counted.
        if (!m_fromFile || m_fromFileOf != command || m_fromFile->operations() != command.operations()) {
            m_fromFile = std::make_unique<CommandCode>(*fromFile, command.operations());
            m_fromFileOf = command;
        }
        return *m_fromFile;
    }
    std::unique_ptr<CommandCode> &routine = m_routines[static_cast<std::size_t>(*command.button())];
    if (!routine)
        routine = std::make_unique<CommandCode>(commandOf(*command.button()));
    return *routine;
}

// The learner's routine shows while it is drawn as long as it is drawn as it
// is written; any other routine, read-only.
void CodePane::showRoutine(const std::optional<Runnable> &command)
{
    if (!command)
        return;
    const CompiledRoutine *routine = command->routine();
    if (m_editor->isOpen() && routine && routine->fileName() == m_editor->path().toStdString()
        && routine->source() == m_editor->text().toStdString())
        showMine();
    else
        showReadOnly(*command);
}

void CodePane::showReadOnly(const Runnable &command)
{
    const CommandCode &routine = routineOf(command);
    if (routine.source().isEmpty())
        return;
    m_code->showDocument(m_readOnly, false);
    if (m_shown != command) {
        m_shown = command;
        m_code->setCode(routine.source());
    }
    m_list->mark(command.button(), command.routine() ? QString::fromStdString(command.routine()->fileName()) : QString());
    showHeader();
}

void CodePane::showMine()
{
    m_editor->show();
    m_list->mark(std::nullopt, m_editor->path());
    showHeader();
}

void CodePane::tellReadOnly()
{
    QToolTip::showText(m_code->viewport()->mapToGlobal(m_code->cursorRect().bottomLeft()),
                       tr("This routine is read-only: Ctrl+E makes a copy of it that is yours to change."),
                       m_code);
}

void CodePane::useActions(const RoutineActions &actions)
{
    auto *tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("routineTools"));
    tools->setAccessibleName(tr("Routine"));
    tools->addActions({actions.editCopy, actions.newRoutine, actions.open, actions.saveAs, actions.run, actions.stop});
    static_cast<QVBoxLayout *>(layout())->insertWidget(0, tools);
    QAction *show = actions.show;
    connect(actions.editCopy, &QAction::triggered, this, [this, show] {
        editCopy();
        show->setChecked(true);
    });
    connect(actions.newRoutine, &QAction::triggered, this, [this, show] {
        m_editor->newRoutine();
        show->setChecked(true);
    });
    connect(actions.open, &QAction::triggered, this, [this, show] {
        m_editor->askToOpen();
        show->setChecked(m_editor->isOpen() || show->isChecked());
    });
    connect(actions.saveAs, &QAction::triggered, m_editor, &RoutineEditor::askToSaveAs);
}

QString CodePane::whyNotRunnable() const
{
    if (!m_editor->isOpen())
        return tr("No routine of yours is open: Ctrl+E makes a copy of the one shown.");
    if (m_editor->fault())
        return tr("Your routine does not compile: %1").arg(m_editor->header());
    return {};
}

std::optional<Runnable> CodePane::learnersRoutine() const
{
    if (!m_editor->isOpen() || m_editor->fault() || !m_editor->routine())
        return std::nullopt;
    return Runnable(*m_editor->routine());
}

// A copy of what the pane shows: the scene's routine, or the learner's own;
// with nothing shown yet, the template's.
void CodePane::editCopy()
{
    if (m_editor->isShown())
        m_editor->editCopy(QFileInfo(m_editor->path()).fileName(), m_editor->text());
    else if (m_shown)
        m_editor->editCopy(routineOf(*m_shown).fileName(), routineOf(*m_shown).source());
    else
        m_editor->newRoutine();
    m_code->setFocus();
}

void CodePane::showHeader()
{
    QString text = m_editor->isShown() || !m_shown ? m_editor->header() : QString();
    if (text.isEmpty() && m_shown)
        text = (m_shown->routine() ? tr("%1 · routine file, read-only") : tr("%1 · scene, read-only"))
                   .arg(routineOf(*m_shown).fileName());
    if (text.isEmpty())
        text = tr("No routine shown yet");
    if (text == m_header->text())
        return;
    m_header->setText(text);
    m_header->setAccessibleDescription(text);
}

// Whether the code shows `command`'s routine: the learner's shows while it
// is drawn as long as it is drawn as it is written.
bool CodePane::isShown(const Runnable &command)
{
    if (!m_editor->isShown())
        return command == m_shown;
    const CompiledRoutine *routine = command.routine();
    return routine && routine->fileName() == m_editor->path().toStdString()
        && routine->source() == m_editor->text().toStdString();
}

void CodePane::refresh()
{
    if (!isVisible())
        return;
    if (m_answer) {
        showAnswer();
        return;
    }
    const DrawingProgress progress = m_runner.progress();
    const bool drawing = progress.current && progress.current->draws();
    // The pane follows each command as it starts to draw, and leaves the
    // rest to the learner.
    if (drawing && progress.current != m_followed) {
        m_followed = progress.current;
        showRoutine(progress.current);
    } else if (!m_shown && !m_editor->isShown()) {
        showRoutine(m_lastDrawn);
    }

    Marks marks;
    QStringList told{progressLine(progress)};
    if (drawing && isShown(*progress.current))
        marks = marksAt(routineOf(*progress.current), m_runner.loops(), told);
    m_code->setLoops(marks.loops);
    m_code->setValues(marks.values);
    m_progress->setText(told.front());
    tell(told.join(QStringLiteral(", ")));
}

CodePane::Marks CodePane::marksAt(const CommandCode &routine, const LoopState &at, QStringList &told)
{
    Marks marks;
    for (int i = 0; i < at.depth(); ++i) {
        const LoopState::Loop &loop = at.loop(i);
        const RoutineLoop *written = routine.loopAt(static_cast<int>(loop.where.line()));
        if (!written)
            continue;
        marks.loops.push_back({written->firstLine, written->lastLine});
        const QString text = QStringLiteral("%1 = %2").arg(QString::fromStdString(written->counter), number(loop.value));
        std::optional<QRgb> swatch;
        if (loop.passes > 0 && loop.value >= 0 && loop.value < kPaletteSize)
            swatch = toQRgb(PaletteColor(static_cast<int>(loop.value)));
        marks.values.push_back({written->firstLine, text, swatch});
        told << text;
    }
    if (at.hasPoint() && !marks.loops.empty()) {
        const LoopState::Point point = at.lastPoint();
        // Twips, a fifteenth of a pixel: fractions would say nothing more.
        const QString text = QStringLiteral("(%1, %2)").arg(point.x, 0, 'f', 0).arg(point.y, 0, 'f', 0);
        if (const int line = routine.lineCalling(operationName(Operation::PlotPoint), marks.loops.back().first))
            marks.values.push_back({line, text, std::nullopt});
        told << tr("last point %1").arg(text);
    }
    return marks;
}

void CodePane::showDrawnBy(const std::optional<DrawnBy> &drawn, QPoint pixel)
{
    m_answer = Answer{drawn, pixel};
    refresh();
}

// The line that made the operation, lit over the loops it ran in, and what
// it is told in the progress line's place.
void CodePane::showAnswer()
{
    const QString where = QStringLiteral("(%1, %2)").arg(m_answer->pixel.x()).arg(m_answer->pixel.y());
    if (!m_answer->drawn) {
        const QString text = tr("Nothing was drawn at pixel %1").arg(where);
        m_code->setLoops({});
        m_code->setValues({});
        m_progress->setText(text);
        tell(text);
        return;
    }
    const DrawnBy &drawn = *m_answer->drawn;
    showRoutine(drawn.command);
    const CommandCode &routine = routineOf(drawn.command);
    const int innermost = drawn.at.depth() > 0 ? static_cast<int>(drawn.at.loop(drawn.at.depth() - 1).where.line()) : 0;
    const int line = innermost > 0 ? routine.lineCalling(drawn.call, innermost)
                                   : routine.lineOfCallOutsideLoops(drawn.outsideIndex);

    QStringList parts{tr("Pixel %1 was drawn by %2 line %3").arg(where, routine.fileName()).arg(line)};
    parts << QString::fromStdString(drawn.command.caption());
    if (const QString pass = passOf(drawn.at); !pass.isEmpty())
        parts << pass;
    parts << (routine.operations() < 0 ? tr("operation %1").arg(drawn.operation)
                                       : tr("operation %1 of %2").arg(drawn.operation).arg(routine.operations()));
    QStringList told{parts.join(QStringLiteral(" · "))};
    Marks marks = marksAt(routine, drawn.at, told);
    if (line > 0) {
        marks.loops.push_back({line, line});
        m_code->setTextCursor(QTextCursor(m_code->document()->findBlockByNumber(line - 1)));
        m_code->centerCursor();
    }
    m_code->setLoops(marks.loops);
    m_code->setValues(marks.values);
    m_progress->setText(told.front());
    tell(told.join(QStringLiteral(", ")));
}

RunToStop CodePane::caretStop()
{
    const std::optional<Runnable> current = m_runner.progress().current;
    if (!current || !isShown(*current))
        return {};
    return routineOf(*current).stopAt(m_code->textCursor().blockNumber() + 1);
}

QString CodePane::passOf(const LoopState &at)
{
    for (int i = 0; i < at.depth(); ++i)
        if (at.loop(i).passes > 0)
            return tr("pass %1 of %2").arg(at.loop(i).pass).arg(at.loop(i).passes);
    return {};
}

QString CodePane::progressLine(const DrawingProgress &progress)
{
    const QString paused = m_runner.isPaused() ? tr("paused") : QString();
    if (!progress.current) {
        QStringList parts{m_lastFinished ? tr("Finished %1").arg(QString::fromStdString(m_lastFinished->caption()))
                                         : tr("Nothing drawn yet")};
        if (!paused.isEmpty())
            parts << paused;
        if (progress.queued > 0)
            parts << tr("%n waiting", nullptr, progress.queued);
        return parts.join(QStringLiteral(" · "));
    }
    const CommandCode &routine = routineOf(*progress.current);
    QStringList parts{QString::fromStdString(progress.current->caption())};
    if (!paused.isEmpty())
        parts << paused;
    if (const QString pass = passOf(m_runner.loops()); !pass.isEmpty())
        parts << pass;
    // A routine's total is known once it has been drawn whole.
    if (routine.operations() < 0)
        parts << tr("%1 operations so far").arg(progress.landed);
    else
        parts << tr("%1 of %2 operations").arg(progress.landed).arg(routine.operations());
    if (const long long rate = operationsPerSecond(m_runner.speed()); rate > 0 && routine.operations() >= 0) {
        const double left = static_cast<double>(std::max(routine.operations() - progress.landed, 0LL)) / rate;
        parts << tr("%1 s left").arg(left, 0, 'f', 1);
    }
    parts << tr("%n waiting", nullptr, progress.queued);
    return parts.join(QStringLiteral(" · "));
}

// Screen readers are told at most every kTellIntervalMs; a change that comes
// sooner is told once that time is up.
void CodePane::tell(const QString &text)
{
    m_told = text;
    if (m_tellLater.isActive())
        return;
    const qint64 since = m_sinceTold.isValid() ? m_sinceTold.elapsed() : kTellIntervalMs;
    if (since >= kTellIntervalMs)
        tellNow();
    else
        m_tellLater.start(static_cast<int>(kTellIntervalMs - since));
}

void CodePane::tellNow()
{
    if (m_progress->accessibleDescription() == m_told)
        return;
    m_progress->setAccessibleDescription(m_told);
    m_sinceTold.restart();
}

} // namespace sweepdraw
