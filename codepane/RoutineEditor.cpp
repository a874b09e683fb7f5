#include "RoutineEditor.h"

#include "CodeView.h"
#include "RoutineFiles.h"
#include "FaultWords.h"
#include "RuntimeErrorLine.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace sweepdraw {

namespace {

// What a learner's routine is called, by the file it is kept in: a copy of
// a scene's after the scene, and a new one from the template.
struct RoutineName
{
    const char *sceneFile; // nullptr for the template's
    const char *fileName;
    const char *name; // source text for tr() in the "RoutineEditor" context
};

constexpr std::array<RoutineName, 5> kNames = {{
    {"Mountains.cpp", "MyMountains.cpp", QT_TRANSLATE_NOOP("RoutineEditor", "My mountains")},
    {"Water.cpp", "MyWater.cpp", QT_TRANSLATE_NOOP("RoutineEditor", "My water")},
    {"Sunshine.cpp", "MySunshine.cpp", QT_TRANSLATE_NOOP("RoutineEditor", "My sunshine")},
    {"Bridge.cpp", "MyBridge.cpp", QT_TRANSLATE_NOOP("RoutineEditor", "My bridge")},
    {nullptr, "MyRoutine.cpp", QT_TRANSLATE_NOOP("RoutineEditor", "My routine")},
}};

// A new routine: one sweep round a circle.
constexpr char kTemplate[] = R"(#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <cmath>

namespace sweepdraw {

void DrawMine(DrawingSurface &surface)
{
    check(surface.SetPenWidth(2));
    Sweep(0, 6.283192, 0.01, [&](double a) {
        const double x = std::cos(a) * 1500 + 6000;
        const double y = std::sin(a) * 1500 + 3500;
        check(surface.PlotPoint(static_cast<float>(x), static_cast<float>(y), PaletteColor(14)));
    });
}

} // namespace sweepdraw
)";

// The file a copy of `file` is kept in: named after the scene for a scene's
// routine, after the template's for none, and as the file itself for any
// other.
QString copyFileName(const QString &file)
{
    if (file.isEmpty())
        return QLatin1String(kNames.back().fileName);
    for (const RoutineName &name : kNames)
        if (name.sceneFile && file == QLatin1String(name.sceneFile))
            return QLatin1String(name.fileName);
    return file;
}

// The entry of the name the file at `path` is kept under, or nullptr; and
// the number after the name, if any.
const RoutineName *nameEntryOf(const QString &path, QString *number = nullptr)
{
    static const QRegularExpression numbered(QStringLiteral(R"(^(.*?)(\d*)$)"));
    const QRegularExpressionMatch parts = numbered.match(QFileInfo(path).completeBaseName());
    if (number)
        *number = parts.captured(2);
    for (const RoutineName &name : kNames)
        if (parts.captured(1) + QStringLiteral(".cpp") == QLatin1String(name.fileName))
            return &name;
    return nullptr;
}

QString fileFilter()
{
    return RoutineEditor::tr("Routine files (*.cpp)");
}

} // namespace

// "My sunshine" for MySunshine.cpp, "My sunshine 2" for MySunshine2.cpp,
// and the base name of any other file.
QString RoutineEditor::nameOf(const QString &path)
{
    QString number;
    const RoutineName *name = nameEntryOf(path, &number);
    if (!name)
        return escapeForMessage(QFileInfo(path).completeBaseName());
    const QString translated = QCoreApplication::translate("RoutineEditor", name->name);
    return number.isEmpty() ? translated : translated + u' ' + number;
}

RoutineEditor::RoutineEditor(CodeView &view, QWidget &window)
    : QObject(&window)
    , m_view(view)
    , m_window(window)
    , m_document(CodeView::makeDocument(this))
{
    m_save.setSingleShot(true);
    connect(&m_save, &QTimer::timeout, this, &RoutineEditor::write);
    connect(m_document, &QTextDocument::contentsChanged, this, &RoutineEditor::textChanged);
}

void RoutineEditor::show()
{
    if (!isOpen())
        return;
    m_view.showDocument(m_document, true);
    markFault();
}

bool RoutineEditor::isShown() const
{
    return isOpen() && m_view.document() == m_document;
}

QString RoutineEditor::text() const
{
    return m_document->toPlainText();
}

RoutineEditor::~RoutineEditor()
{
    keepBeforeEnding(false);
}

QString RoutineEditor::sceneFile() const
{
    const RoutineName *name = isOpen() ? nameEntryOf(m_path) : nullptr;
    return name && name->sceneFile ? QLatin1String(name->sceneFile) : QString();
}

QString RoutineEditor::header() const
{
    QStringList lines = m_notes;
    if (const QString shown = shownHeader(); !shown.isEmpty())
        lines.prepend(shown);
    return lines.join(QLatin1Char('\n'));
}

QString RoutineEditor::shownHeader() const
{
    if (!isOpen())
        return m_message;
    if (!m_message.isEmpty())
        return tr("%1 · yours · %2").arg(m_name, m_message);
    if (m_fault) {
        if (m_fault->line == 0)
            return tr("%1 · yours · %2").arg(m_name, wordedFault(*m_fault));
        return tr("%1 · yours · line %2, column %3: %4")
            .arg(m_name)
            .arg(m_fault->line)
            .arg(m_fault->column)
            .arg(wordedFault(*m_fault));
    }
    return tr("%1 · yours, editable").arg(m_name);
}

void RoutineEditor::editCopy(const QString &sceneFile, const QString &source)
{
    const QString path = RoutineFiles::freePath(copyFileName(sceneFile));
    open(path, nameOf(path), source);
    write();
}

void RoutineEditor::newRoutine()
{
    editCopy({}, QString::fromUtf8(kTemplate));
}

bool RoutineEditor::openFile(const QString &path)
{
    const RoutineFiles::Read read = RoutineFiles::read(path);
    if (!read.error.isEmpty()) {
        tell(read.error);
        return false;
    }
    // A file from elsewhere becomes a routine of the learner's own, kept
    // with the others; one of theirs is edited where it is.
    const QFileInfo file(path);
    const QString kept = RoutineFiles::isKept(path) ? file.absoluteFilePath() : RoutineFiles::freePath(file.fileName());
    open(kept, nameOf(kept), read.text);
    if (kept != file.absoluteFilePath())
        write();
    return true;
}

bool RoutineEditor::openLastEdited()
{
    // The newest that can be read; those that cannot, and whatever else is
    // named like a routine, are named in the header.
    const RoutineFiles::Contents folder = RoutineFiles::contents();
    QStringList notes = folder.passedOver;
    for (const QString &path : folder.routines) {
        const RoutineFiles::Read read = RoutineFiles::read(path);
        if (read.error.isEmpty()) {
            open(path, nameOf(path), read.text);
            break;
        }
        notes << read.error;
    }
    m_notes = notes;
    emit headerChanged();
    return isOpen();
}

void RoutineEditor::noteFolder()
{
    m_notes = RoutineFiles::contents().passedOver;
    emit headerChanged();
}

bool RoutineEditor::saveAs(const QString &path)
{
    const QString error = RoutineFiles::write(path, m_document->toPlainText());
    if (!error.isEmpty())
        tell(error);
    return error.isEmpty();
}

void RoutineEditor::askToOpen()
{
    const QString path = QFileDialog::getOpenFileName(&m_window, tr("Open routine"), RoutineFiles::folder(),
                                                      fileFilter());
    if (!path.isEmpty())
        openFile(path);
}

void RoutineEditor::askToSaveAs()
{
    if (!isOpen())
        return;
    const QString path = QFileDialog::getSaveFileName(&m_window, tr("Save routine as"),
                                                      QFileInfo(m_path).fileName(), fileFilter());
    if (!path.isEmpty())
        saveAs(path);
}

void RoutineEditor::saveNow()
{
    if (m_unsaved)
        write();
}

bool RoutineEditor::keepBeforeEnding(bool ask)
{
    if (!m_unsaved || write())
        return true;
    if (!ask) {
        const QString lost = tr("%1; the last changes to %2 are lost").arg(m_message, m_name);
        qWarning().noquote() << QStringLiteral("sweepdraw: ") + lost;
        m_unsaved = false;
        return true;
    }
    for (;;) {
        QMessageBox box(QMessageBox::Warning, tr("Routine not saved"),
                        tr("%1 could not be saved:\n%2").arg(m_name, m_message),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, &m_window);
        box.button(QMessageBox::Save)->setText(tr("Save elsewhere…"));
        box.setDefaultButton(QMessageBox::Save);
        const int answer = box.exec();
        if (answer == QMessageBox::Discard) {
            m_unsaved = false;
            return true;
        }
        if (answer != QMessageBox::Save)
            return false;
        const QString path = QFileDialog::getSaveFileName(&m_window, tr("Save routine as"),
                                                          QDir::homePath() + u'/' + QFileInfo(m_path).fileName(),
                                                          fileFilter());
        if (!path.isEmpty() && saveAs(path)) {
            m_unsaved = false;
            return true;
        }
    }
}

bool RoutineEditor::write()
{
    m_save.stop();
    // Another window on the same routine has written it since this one
    // read or wrote it: its version stays, and this one goes beside it.
    QString kept;
    if (const std::optional<RoutineFiles::Stamp> now = RoutineFiles::stampOf(m_path); now && now != m_stamp) {
        const QString theirs = QFileInfo(m_path).fileName();
        m_path = RoutineFiles::freePath(theirs);
        m_name = nameOf(m_path);
        kept = tr("%1 was changed in another window; yours is kept as %2")
                   .arg(escapeForMessage(theirs), escapeForMessage(QFileInfo(m_path).fileName()));
    }
    const QString error = RoutineFiles::write(m_path, m_document->toPlainText());
    if (!error.isEmpty()) {
        // Tried again at the next change, or at the end.
        m_unsavedSince.start();
        tell(error);
        return false;
    }
    m_unsaved = false;
    m_stamp = RoutineFiles::stampOf(m_path);
    if (!kept.isEmpty()) {
        m_notes << kept;
        emit headerChanged();
    }
    return true;
}

void RoutineEditor::open(const QString &path, const QString &name, const QString &text)
{
    saveNow();
    m_path = path;
    m_name = name;
    m_message.clear();
    m_notes.clear();
    m_stamp = RoutineFiles::stampOf(path);
    m_unsaved = false;
    m_routine.reset();
    m_failedLine.reset();
    m_loading = true;
    m_document->setPlainText(text);
    m_document->clearUndoRedoStacks();
    m_loading = false;
    m_view.showDocument(m_document, true);
    compile();
    emit opened();
    emit headerChanged();
}

void RoutineEditor::textChanged()
{
    if (!isOpen() || m_loading)
        return;
    m_message.clear();
    m_failedLine.reset();
    if (!m_unsaved)
        m_unsavedSince.start();
    m_unsaved = true;
    const qint64 longest = kLongestUnsavedMs - m_unsavedSince.elapsed();
    m_save.start(static_cast<int>(std::clamp<qint64>(longest, 0, kSaveDelayMs)));
    compile();
    if (!m_fault)
        emit changed();
}

void RoutineEditor::compile()
{
    auto result = CompiledRoutine::compile(m_path.toStdString(), m_document->toPlainText().toStdString());
    if (auto *message = std::get_if<FaultMessage>(&result)) {
        m_fault = *message;
    } else {
        m_fault.reset();
        m_routine = std::make_shared<const CompiledRoutine>(std::move(std::get<CompiledRoutine>(result)));
    }
    markFault();
    emit headerChanged();
}

void RoutineEditor::showRuntimeError(const QString &message)
{
    // "FILE:LINE: error: what", the file being this routine's.
    static const QRegularExpression where(QStringLiteral(R"(:(\d+): error: (.*)$)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch found = where.match(message, m_path.size());
    if (!isOpen() || !message.startsWith(m_path) || !found.hasMatch())
        return;
    m_failedLine = found.captured(1).toInt();
    m_failedWhy = found.captured(2);
    m_message = tr("line %1: %2").arg(found.captured(1), found.captured(2));
    markFault();
    emit headerChanged();
}

void RoutineEditor::markFault()
{
    if (!isShown())
        return;
    if (m_fault && m_fault->line > 0)
        m_view.setFault(QPoint(m_fault->line, m_fault->column));
    else if (m_failedLine)
        m_view.setFault(QPoint(*m_failedLine, 1));
    else
        m_view.setFault(std::nullopt);
    m_view.setToolTip(m_fault ? wordedFault(*m_fault) : m_failedLine ? m_failedWhy : QString());
}

void RoutineEditor::tell(const QString &message)
{
    m_message = message;
    emit headerChanged();
}

} // namespace sweepdraw
