#pragma once

#include "Difference.h"
#include "FileState.h"
#include "Import.h"
#include "TreeSink.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class ChangeCapture;
class ChangeHistory;
class QUndoStack;
class QWidget;
class TBCFGFile;
class TBcfgRecAll;

// What the last import did, for the window's tests and anyone who wants to show it.
struct ImportResult {
    QString fileName;    // the chosen name, with ".bcfg" appended when it had no "."
    bool loaded = false; // the chosen file could be read
    int records = 0;     // records of the chosen file
    int steps = 0;       // progress steps taken
    int progressMaximum = 0;
    bool translated = false; // level names were translated
    Import::Result merge;
};

// The entries that show the session's document (the main window's tree); an open fills them.
class DocumentEntries : public TreeSink
{
public:
    // Removes every entry: they point into records that may be about to go.
    virtual void ClearEntries() = 0;
    // Before a load that replaces the entries and may fail: remembers, by record, which
    // sections are open, the selection and the scroll position of the document shown now.
    virtual void RememberView() {}
    // The same document's entries were appended again after a failed load, or the same
    // file's after a reload: the remembered view comes back (by record index), so the user
    // finds the tree as it was.
    virtual void RestoreView() {}
};

// What a running import shows; each part may be left empty.
struct ImportProgress {
    std::function<void()> started;           // a file is chosen, before it loads
    std::function<void(int maximum)> loaded; // it loaded: the number of steps to come
    std::function<void()> step;              // after each record of the file
    std::function<void()> finished;          // once after started, whatever happened
};

// Another file set beside the current document, and how the two differ.
struct OtherFile {
    QString fileName;
    std::unique_ptr<TBCFGFile> doc; // holds the records the rows name
    std::vector<Difference> rows;
    // The pairs an import would take over unchanged, not among the rows.
    std::vector<Import::Pair> unchanged;
    // Upgrading: the older version's own file, when the user chose one.
    std::unique_ptr<TBCFGFile> base;
    OtherFile();
    ~OtherFile();
};

// The document being edited: the loaded file, its change history and undo stack, the name it
// was opened from and whether it differs from its file. Questions, errors and file choices go
// through Dialogs, so the session runs (and is tested) without any window. Open and Import
// are busy (Busy) while they run; nothing else starts meanwhile.
class DocumentSession : public QObject
{
    Q_OBJECT
public:
    // dialogParent: the window the boxes belong to (nullptr: none). entries: where an opened
    // document's entries go; it must outlive the session.
    DocumentSession(QWidget* dialogParent, DocumentEntries& entries, QObject* parent = nullptr);
    ~DocumentSession() override;

    TBCFGFile* Doc() const { return m_doc.get(); }
    // The full path the document was opened from: Save writes there.
    const QString& FileName() const { return m_fileName; }
    bool Modified() const;
    bool Busy() const { return m_busy; }
    // Every value change of the document is one step here; opening another file clears it.
    QUndoStack* UndoStack() const { return m_undoStack; }
    const ImportResult& LastImport() const { return m_lastImport; }

    // Opens fileName in place of the document. With unsaved changes the file is read first
    // and then the user is asked whether to save them: Yes saves (and reads the file again,
    // it may be the one just saved), No discards them, Cancel keeps everything. A failure is
    // shown in a box and keeps the document. Returns whether the file became the document.
    bool Open(const QString& fileName);
    // Saves to FileName(); false (after the box) when it failed or was declined. When another
    // program has written the file since it was last read or written here, the user is asked
    // first: Overwrite, Save As (whose result this is) or Cancel (nothing is written). A file
    // that is gone is written again.
    bool Save();
    // Asks for a name and saves there; a name without a "." gets ".bcfg" and is confirmed
    // again when that file exists. The dialog offers the name chosen last. Returns whether
    // it saved.
    bool SaveAs();

    // --- the file on disk ---
    // What FileName() held when it was last read or written here (not known before an open).
    const FileState& DiskState() const { return m_diskState; }
    // How FileName() stands now against it.
    FileState::Disk CheckDisk() const { return m_diskState.Compare(m_fileName); }
    // Reads FileName() again in place of the document, keeping the tree's open sections,
    // selection and scroll position. With unsaved changes the user is asked first. A failure
    // is shown in a box and keeps the document. Returns whether it was read.
    bool Reload();
    // Lists how the document differs from fileName (the file on disk, for one); false after
    // the box when it cannot be read.
    bool DifferencesWith(const QString& fileName, const QString& currentName, OtherFile& other);
    // Asks for a file and takes its matching values over as one step. currentName: the name
    // in the window's file field, which decides whether level names are translated.
    void Import(const QString& currentName, const ImportProgress& progress);
    // Asks for a file (caption: the file dialog's title) and lists how it differs from the
    // document; false (after any box, which names that file) when cancelled or failed.
    bool Differences(const QString& currentName, const QString& caption, OtherFile& other);
    // Upgrading: asks for the user's file from the older version, then for the older
    // version's own file as it came with it (cancelled: none), and lists how the user's file
    // differs from the document, the values the user never changed listed as kept (Kept, a
    // refused one as Refused). A base of which less than half of the user's parameters pair
    // is asked about before it is used. false (after any box, which names that file) when
    // cancelled or failed.
    bool Upgrade(const QString& currentName, OtherFile& other);
    // Takes the chosen pairs over as one step named after fileName (the preview's import).
    void TakeOver(const std::vector<Import::Pair>& pairs, const QString& fileName);

    // A change of one record as one undo step named after it. change returns false when it
    // did not apply (nothing changed); a BcfgError it throws is shown in a box once the
    // change has unwound. wheel: rolls on the same record in a quick burst fold into one step.
    enum class Change { NotApplied, Ran, Refused };
    Change ChangeRecord(TBcfgRecAll& record, const std::function<bool()>& change,
                        bool wheel = false);
    // A change that may alter any record (a settings text applied), as one undo step named
    // what. When change throws BcfgError, whatever it changed is put back, no step is made and
    // the error is shown. Returns whether change ran to its end.
    bool ChangeAll(const QString& what, const std::function<void()>& change);
    // Take back or make again a step; nothing while busy.
    void Undo();
    void Redo();

    // Announces the modified state when it is not the one last announced. The session does it
    // after each of its own changes; a change made straight on the records, behind the
    // session's back, needs it called.
    void SyncModified();

signals:
    // Another file became the document (the entries already show it).
    void documentReplaced();
    // Values and marks changed: only that record's, or any record's when only is nullptr.
    void valuesChanged(const TBcfgRecAll* only);
    // The values or marks of these records (by Index) changed; the marks of the levels
    // around them may have changed with them. Announced after every change, undo and redo.
    void recordsChanged(const QList<int>& records);
    void modifiedChanged(bool modified);
    void busyChanged(bool busy);
    // FileName() was read or written here: DiskState() describes what it holds now.
    void diskStateChanged();

private:
    class BusyScope;
    void setBusy(bool busy);
    // read: the file's state when last read or written here, checked just before it is
    // replaced (nullptr: replaced whatever it holds).
    bool saveTo(const QString& fileName, const FileState* read = nullptr);
    // Save and Save As, also while busy (inside Open's question).
    bool saveOwn();
    bool saveAs();
    // Whether fileName is the document's own file.
    bool isOwnFile(const QString& fileName) const;
    // Shows doc's entries; false, with no entries, when memory runs out.
    bool showEntries(TBCFGFile& doc);
    // Loads a file without entries; nullptr (after the error box) when it cannot be read.
    // named: the box names the file (a file compared with, not the design's open or import).
    std::unique_ptr<TBCFGFile> load(const QString& fileName, LoadReporter* reporter,
                                    bool named = false);
    // The same, showing the unknown-block message in a box.
    std::unique_ptr<TBCFGFile> loadOther(const QString& fileName, bool named = false);
    // Asks for another file, starting at the open file (caption: the dialog's title, the
    // platform's when empty); empty when cancelled.
    QString chooseOther(const QString& caption = {}) const;
    // Makes what happened since capture one undo step, when anything changed, and announces
    // its records (fallback's when the step could not be made).
    void recordChange(const ChangeCapture& capture, const QString& what, const QList<int>& fallback,
                      int wheelRecord = -1);
    void importStep(const ChangeCapture& capture, const QString& fileName);
    // The index of every record of the document, for a change that may touch any.
    QList<int> everyRecord() const;
    void error(const QString& text);

    QWidget* m_dialogParent;
    DocumentEntries& m_entries;
    std::unique_ptr<TBCFGFile> m_doc;
    // Declared after the document, so it goes first: its steps name the document's records.
    std::unique_ptr<ChangeHistory> m_history;
    QUndoStack* m_undoStack;
    QString m_fileName;
    QString m_saveDialogFileName;
    FileState m_diskState;
    bool m_busy = false;
    bool m_announcedModified = false;
    ImportResult m_lastImport;
};
