#pragma once

#include "CompiledRoutine.h"
#include "RoutineFiles.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTextDocument>
#include <QTimer>

#include <memory>
#include <optional>

namespace sweepdraw {

class CodeView;

// The learner's routine in the code pane: an editable routine file of the
// scenes' shape, started as a copy of a scene's routine, from a template,
// or from a file, and kept among the learner's routines (RoutineFiles),
// written about a second after each change, and at least every two seconds
// while the changes go on, each time whole or not at all, and once more
// when the editor goes. The scenes' own files are never changed.
//
// Nothing is written over: when the file has changed since this editor read
// or wrote it, in another window on the same routine, that version stays
// and this one is written beside it, under the next free name, which the
// editor goes on with; the header says so. A change that cannot be written
// before the program ends is never dropped in silence (keepBeforeEnding).
//
// Every change is compiled at once. The routine as last compiled without
// a fault is kept; a refused text is marked in the view at the fault's
// line and column, with the message as a tooltip and in header().
class RoutineEditor final : public QObject
{
    Q_OBJECT

public:
    // How long after the last change the routine is written, and the
    // longest a change waits however the changes go on.
    static constexpr int kSaveDelayMs = 1000;
    static constexpr int kLongestUnsavedMs = 2000;

    // Edits a text of its own, shown in `view` while show() leaves it
    // there; its dialogs open over `window`, its owner, which must destroy
    // it before the view.
    RoutineEditor(CodeView &view, QWidget &window);
    ~RoutineEditor() override;

    // Whether a routine of the learner's is open.
    bool isOpen() const { return !m_path.isEmpty(); }
    // Shows the routine in the view, editable, with its fault marked.
    void show();
    // Whether the view shows it.
    bool isShown() const;
    // The routine's text as it is now.
    QString text() const;
    const QString &name() const { return m_name; } // "My sunshine"
    const QString &path() const { return m_path; }
    // The file of the scene the routine is a copy of, as its name tells
    // ("Sunshine.cpp" for "My sunshine 2"), or empty.
    QString sceneFile() const;

    // The routine as last compiled without a fault, if it ever was; and
    // what is wrong with the text now, if anything.
    const std::shared_ptr<const CompiledRoutine> &routine() const { return m_routine; }
    const std::optional<FaultMessage> &fault() const { return m_fault; }

    // One line on what is shown: whose routine, and what is wrong with it
    // if anything; with none shown, why a file could not be read, if one
    // could not. After it, until another routine is opened, a line for each
    // file of the learner's folder passed over at start-up, with why, and
    // for each version kept beside another window's.
    QString header() const;

    // Opens a copy of `source`, the routine of the scene file `sceneFile`
    // ("Sunshine.cpp"), as the learner's, named after the scene; a copy of
    // a learner's routine is named after it.
    void editCopy(const QString &sceneFile, const QString &source);
    // Opens a new routine from a short template.
    void newRoutine();
    // Opens the routine file at `path` as a learner's routine of its own:
    // whether it could be read.
    bool openFile(const QString &path);
    // Opens the learner's routine edited last, if there is one.
    bool openLastEdited();
    // Notes the files of the learner's folder that are passed over, with
    // why, for header(), and opens nothing.
    void noteFolder();

    // The name the learner's routine kept at `path` is shown under.
    static QString nameOf(const QString &path);
    // Writes the routine, as it is now, to `path` too.
    bool saveAs(const QString &path);
    // Asks for a file with the platform's dialog, and opens or writes it.
    void askToOpen();
    void askToSaveAs();

    // Writes a change not written yet, now.
    void saveNow();

    // Writes a change not written yet before the program ends: whether it
    // may end. When it cannot be written, with `ask`, a dialog over the
    // window says why and offers to save it elsewhere, to end without it,
    // or not to end; without, a line on stderr says why and that it is
    // lost.
    bool keepBeforeEnding(bool ask);

    // Marks where the routine failed while drawing, as `message` says:
    // "FILE:LINE: error: what", for this routine's file; until the next
    // change.
    void showRuntimeError(const QString &message);

signals:
    // The learner's routine is now shown in the view.
    void opened();
    // header() says something else.
    void headerChanged();
    // The text was changed, and compiles.
    void changed();

private:
    void open(const QString &path, const QString &name, const QString &text);
    bool write();
    void textChanged();
    void compile();
    void markFault();
    void tell(const QString &message);
    QString shownHeader() const;

    CodeView &m_view;
    QWidget &m_window;
    QTextDocument *m_document;
    QString m_path; // where the routine is kept
    QString m_name;
    std::shared_ptr<const CompiledRoutine> m_routine;
    std::optional<FaultMessage> m_fault;
    std::optional<int> m_failedLine; // where it failed while drawing, until the next change
    QString m_failedWhy;
    QString m_message; // why a file could not be read or written, until the next change
    QStringList m_notes; // on files passed over or kept beside others, until another routine is opened
    std::optional<RoutineFiles::Stamp> m_stamp; // the file as this editor last read or wrote it
    bool m_unsaved = false;                      // a change not written yet
    QElapsedTimer m_unsavedSince;                // since the first change not written
    QTimer m_save;
    bool m_loading = false; // the text is being set from a file
};

} // namespace sweepdraw
