#include "DocumentSession.h"

#include "BcfgError.h"
#include "ChangeCommand.h"
#include "ChangeHistory.h"
#include "CodePage.h"
#include "Dialogs.h"
#include "FileName.h"
#include "TBCFGFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUndoStack>

namespace {

// A message about another file than the open one begins with that file's name, unless it
// names the file already.
QString namingFile(const QString& text, const QString& fileName)
{
    if (fileName.isEmpty())
        return text;
    const QString path = ShownPath(fileName);
    return text.contains(path) ? text : path + QStringLiteral(":\n") + text;
}

// The unknown-block message of a load, in a box with an OK button; named: the file the
// message is to name (see namingFile), none for the open document.
class BoxReporter : public LoadReporter
{
public:
    explicit BoxReporter(QWidget* parent, const QString& named = {})
        : m_parent(parent), m_named(named)
    {
    }
    void loadMessage(const QString& text) override
    {
        Dialogs::Message(m_parent, namingFile(text, m_named));
    }

private:
    QWidget* m_parent;
    QString m_named;
};

// The records of a step: the ones it changed.
QList<int> recordsOf(const ChangeStep& step)
{
    QList<int> records;
    records.reserve(qsizetype(step.Entries().size()));
    for (const ChangeStep::Entry& entry : step.Entries())
        records.append(entry.index);
    return records;
}

// A record and the levels around it: what a change of it may have altered.
QList<int> recordAndLevels(const TBcfgRecAll& record)
{
    QList<int> records;
    for (const TBcfgRecAll* rec = &record; rec; rec = record.Doc->Record(rec->ParentIndex))
        records.append(rec->Index);
    return records;
}

QString importStepName(const QString& fileName)
{
    return DocumentSession::tr("Import from %1", "the name of an import's undo step")
        .arg(QFileInfo(fileName).fileName());
}

} // namespace

OtherFile::OtherFile() = default;
OtherFile::~OtherFile() = default;

class DocumentSession::BusyScope
{
public:
    explicit BusyScope(DocumentSession* session) : m_session(session) { m_session->setBusy(true); }
    ~BusyScope() { m_session->setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DocumentSession* m_session;
};

DocumentSession::DocumentSession(QWidget* dialogParent, DocumentEntries& entries, QObject* parent)
    : QObject(parent), m_dialogParent(dialogParent), m_entries(entries),
      m_undoStack(new QUndoStack(this))
{
}

DocumentSession::~DocumentSession() = default;

bool DocumentSession::Modified() const
{
    return m_doc && m_doc->Modified;
}

void DocumentSession::setBusy(bool busy)
{
    m_busy = busy;
    emit busyChanged(busy);
}

void DocumentSession::error(const QString& text)
{
    Dialogs::Error(m_dialogParent, text);
}

void DocumentSession::SyncModified()
{
    if (Modified() != m_announcedModified) {
        m_announcedModified = Modified();
        emit modifiedChanged(m_announcedModified);
    }
}

bool DocumentSession::showEntries(TBCFGFile& doc)
{
    m_entries.ClearEntries();
    try {
        doc.BuildTree(m_entries);
        return true;
    } catch (const std::bad_alloc&) {
        m_entries.ClearEntries();
        return false;
    }
}

bool DocumentSession::Open(const QString& fileName)
{
    if (m_busy)
        return false;
    BusyScope busy(this);
    std::unique_ptr<TBCFGFile> doc;
    BoxReporter reporter(m_dialogParent);
    if (!Modified()) {
        m_entries.RememberView();
        m_entries.ClearEntries();
        // The emptied tree is drawn before a long load.
        QCoreApplication::processEvents();
        try {
            doc = TBCFGFile::Load(fileName, &m_entries, &reporter);
        } catch (const BcfgError& e) {
            // Entries a load appended before it failed point into its released records: they go
            // before the box lets the tree paint. The document stays; its entries come back so
            // that what Save would write is visible.
            m_entries.ClearEntries();
            error(e.text());
            if (m_doc && showEntries(*m_doc))
                m_entries.RestoreView();
            return false;
        }
    } else {
        // Unsaved changes: the tree keeps showing them until the user has decided.
        doc = load(fileName, nullptr);
        if (!doc)
            return false;
        const Dialogs::Answer answer = Dialogs::Confirm(m_dialogParent, tr("Open another file"),
                                                        tr("Save file before opening another?"));
        if (answer == Dialogs::Answer::Cancel)
            return false;
        if (answer == Dialogs::Answer::Yes) {
            if (!saveOwn())
                return false;
            // The file to open may be the one just saved: read what is on disk now.
            doc = load(fileName, nullptr);
            if (!doc)
                return false;
        }
        m_entries.RememberView();
        if (!showEntries(*doc)) {
            error(tr("Out of memory"));
            if (showEntries(*m_doc))
                m_entries.RestoreView();
            return false;
        }
        if (!doc->FullyLoaded())
            reporter.loadMessage(doc->StopMessage());
    }
    // The steps name the old document's records.
    m_undoStack->clear();
    m_history = std::make_unique<ChangeHistory>(*doc);
    m_diskState = doc->ReadState();
    m_doc = std::move(doc);
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    emit documentReplaced();
    emit diskStateChanged();
    SyncModified();
    return true;
}

bool DocumentSession::Reload()
{
    if (!m_doc || m_busy)
        return false;
    if (Modified() &&
        Dialogs::Confirm(
            m_dialogParent, tr("Reload"),
            tr("Discard the changes and read %1 again?").arg(QFileInfo(m_fileName).fileName())) !=
            Dialogs::Answer::Yes)
        return false;
    BusyScope busy(this);
    BoxReporter reporter(m_dialogParent);
    m_entries.RememberView();
    m_entries.ClearEntries();
    std::unique_ptr<TBCFGFile> doc;
    try {
        doc = TBCFGFile::Load(m_fileName, &m_entries, &reporter);
    } catch (const BcfgError& e) {
        m_entries.ClearEntries();
        error(e.text());
        if (showEntries(*m_doc))
            m_entries.RestoreView();
        return false;
    }
    // The same file again: the user finds the sections as they were.
    m_entries.RestoreView();
    m_undoStack->clear();
    m_history = std::make_unique<ChangeHistory>(*doc);
    m_diskState = doc->ReadState();
    m_doc = std::move(doc);
    emit documentReplaced();
    emit diskStateChanged();
    SyncModified();
    return true;
}

bool DocumentSession::isOwnFile(const QString& fileName) const
{
    return !m_fileName.isEmpty() && QFileInfo(fileName) == QFileInfo(m_fileName);
}

bool DocumentSession::saveTo(const QString& fileName, const FileState* read)
{
    const bool own = isOwnFile(fileName);
    // A save clears these marks.
    QList<int> marked;
    if (m_doc->Modified)
        for (const auto& rec : m_doc->Records())
            if (rec->Modified)
                marked.append(rec->Index);
    try {
        const FileState written =
            read ? m_doc->SaveInPlace(fileName, *read) : m_doc->Save(fileName);
        if (own)
            m_diskState = written;
    } catch (const BcfgError& e) {
        error(e.text());
        SyncModified();
        return false;
    }
    m_history->Saved();
    emit recordsChanged(marked);
    if (own)
        emit diskStateChanged();
    SyncModified();
    return true;
}

bool DocumentSession::saveOwn()
{
    if (CheckDisk() == FileState::Disk::Changed) {
        enum { Overwrite, SaveAsButton, CancelButton };
        const int choice = Dialogs::Choose(
            m_dialogParent, tr("File changed on disk"),
            tr("%1 was changed by another program after it was opened. Overwrite it?")
                .arg(QFileInfo(m_fileName).fileName()),
            {tr("Overwrite"), tr("Save As…"), tr("Cancel")}, CancelButton);
        if (choice == Overwrite)
            return saveTo(m_fileName);
        if (choice == SaveAsButton)
            return saveAs();
        return false;
    }
    // A change in the moment since the check is refused rather than overwritten.
    return saveTo(m_fileName, &m_diskState);
}

bool DocumentSession::Save()
{
    return m_doc && !m_busy && saveOwn();
}

bool DocumentSession::SaveAs()
{
    return m_doc && !m_busy && saveAs();
}

bool DocumentSession::saveAs()
{
    // The dialog starts at the name chosen in it last, the first time at the open file.
    const QString chosen = Dialogs::SaveFileName(
        m_dialogParent, m_saveDialogFileName.isEmpty() ? m_fileName : m_saveDialogFileName);
    if (chosen.isEmpty())
        return false;
    const QString fileName = WithBcfgExtension(chosen);
    m_saveDialogFileName = fileName;
    // The dialog confirmed the name without the extension; this is another file.
    if (fileName != chosen && QFileInfo::exists(fileName) &&
        Dialogs::Confirm(m_dialogParent, tr("Confirm Save As"),
                         tr("%1 already exists.\nDo you want to replace it?")
                             .arg(QFileInfo(fileName).fileName())) != Dialogs::Answer::Yes)
        return false;
    return saveTo(fileName);
}

std::unique_ptr<TBCFGFile> DocumentSession::load(const QString& fileName, LoadReporter* reporter,
                                                 bool named)
{
    try {
        return TBCFGFile::Load(fileName, nullptr, reporter);
    } catch (const BcfgError& e) {
        error(named ? namingFile(e.text(), fileName) : e.text());
        return nullptr;
    }
}

std::unique_ptr<TBCFGFile> DocumentSession::loadOther(const QString& fileName, bool named)
{
    BoxReporter reporter(m_dialogParent, named ? fileName : QString());
    return load(fileName, &reporter, named);
}

QString DocumentSession::chooseOther(const QString& caption) const
{
    const QString fileName = Dialogs::OpenFileName(m_dialogParent, m_fileName, caption);
    return fileName.isEmpty() ? fileName : WithBcfgExtension(fileName);
}

void DocumentSession::Import(const QString& currentName, const ImportProgress& progress)
{
    if (!m_doc || m_busy)
        return;
    const QString fileName = chooseOther();
    if (fileName.isEmpty())
        return;
    m_lastImport = ImportResult{};
    m_lastImport.fileName = fileName;
    BusyScope busy(this);
    if (progress.started)
        progress.started();

    std::unique_ptr<TBCFGFile> source = loadOther(fileName);
    if (!source) {
        if (progress.finished)
            progress.finished();
        SyncModified();
        return;
    }
    m_lastImport.loaded = true;
    m_lastImport.records = source->Count();
    m_lastImport.progressMaximum = source->Count() - 1;
    if (progress.loaded)
        progress.loaded(m_lastImport.progressMaximum);

    m_lastImport.translated = Import::TranslateLevelNames(currentName, fileName);
    ChangeCapture capture;
    try {
        capture = m_history->BeginAll();
        m_lastImport.merge = Import::MergeDocuments(*m_doc, *source, m_lastImport.translated, [&] {
            ++m_lastImport.steps;
            if (progress.step)
                progress.step();
        });
    } catch (const BcfgError& e) {
        error(e.text());
    }
    source.reset();
    importStep(capture, fileName);
    if (progress.finished)
        progress.finished();
    SyncModified();
}

bool DocumentSession::Differences(const QString& currentName, const QString& caption,
                                  OtherFile& other)
{
    if (!m_doc || m_busy)
        return false;
    const QString fileName = chooseOther(caption);
    return !fileName.isEmpty() && DifferencesWith(fileName, currentName, other);
}

bool DocumentSession::DifferencesWith(const QString& fileName, const QString& currentName,
                                      OtherFile& other)
{
    if (!m_doc || m_busy)
        return false;
    other.fileName = fileName;
    other.doc = loadOther(other.fileName, true);
    if (!other.doc)
        return false;
    try {
        other.rows = ListDifferences(*m_doc, *other.doc,
                                     Import::TranslateLevelNames(currentName, other.fileName), {},
                                     &other.unchanged);
    } catch (const BcfgError& e) {
        error(e.text());
        return false;
    }
    return true;
}

bool DocumentSession::Upgrade(const QString& currentName, OtherFile& other)
{
    if (!m_doc || m_busy)
        return false;
    other.fileName = chooseOther(tr("Upgrade: your settings file from the older version"));
    if (other.fileName.isEmpty())
        return false;
    other.doc = loadOther(other.fileName, true);
    if (!other.doc)
        return false;
    const QString baseName = chooseOther(
        tr("Upgrade: the older version's own file, as it came with it (Cancel: without it)"));
    try {
        const bool translate = Import::TranslateLevelNames(currentName, other.fileName);
        std::vector<bool> kept;
        if (!baseName.isEmpty()) {
            other.base = loadOther(baseName, true);
            if (!other.base)
                return false;
            const std::vector<TBcfgRecAll*> counterparts =
                Import::Counterparts(*other.base, *other.doc, translate);
            kept.assign(counterparts.size(), false);
            int values = 0;
            int paired = 0;
            for (size_t i = 0; i < counterparts.size(); ++i) {
                const TBcfgRecAll& rec = *other.doc->Record(int(i));
                if (rec.IsLevel())
                    continue;
                ++values;
                paired += counterparts[i] ? 1 : 0;
                kept[i] = Import::KeptAsShipped(counterparts[i], rec);
            }
            // Another add-on's file pairs with almost nothing: each of the user's values
            // would count as their own change.
            if (2 * paired < values &&
                Dialogs::Confirm(
                    m_dialogParent, tr("Upgrade from an older version"),
                    namingFile(tr("Only %1 of the %n parameters of your file are in this file: "
                                  "it may be the file of another add-on.\n\nGo on with it as "
                                  "the older version's own file?",
                                  nullptr, values)
                                   .arg(paired),
                               baseName)) != Dialogs::Answer::Yes)
                return false;
        }
        other.rows = ListDifferences(*m_doc, *other.doc, translate, kept, &other.unchanged);
    } catch (const BcfgError& e) {
        error(e.text());
        return false;
    }
    // A value the new version refuses stays whatever the user did: it is refused, as today.
    for (Difference& row : other.rows)
        if (row.kind == Difference::Kept && row.refused)
            row.kind = Difference::Refused;
    return true;
}

void DocumentSession::TakeOver(const std::vector<Import::Pair>& pairs, const QString& fileName)
{
    ChangeCapture capture;
    try {
        capture = m_history->BeginAll();
        Import::MergeSelected(pairs);
    } catch (const BcfgError& e) {
        error(e.text());
    }
    importStep(capture, fileName);
    SyncModified();
}

void DocumentSession::importStep(const ChangeCapture& capture, const QString& fileName)
{
    // Without a step any record may have changed.
    recordChange(capture, importStepName(fileName), everyRecord());
    emit valuesChanged(nullptr);
}

QList<int> DocumentSession::everyRecord() const
{
    QList<int> every(m_doc->Count());
    for (int i = 0; i < m_doc->Count(); ++i)
        every[i] = i;
    return every;
}

DocumentSession::Change
DocumentSession::ChangeRecord(TBcfgRecAll& record, const std::function<bool()>& change, bool wheel)
{
    ChangeCapture capture;
    try {
        capture = m_history->Begin(record);
    } catch (const BcfgError& e) {
        error(e.text());
        return Change::Refused;
    }
    Change outcome = Change::Ran;
    try {
        if (!change())
            return Change::NotApplied;
    } catch (const BcfgError& e) {
        error(e.text());
        outcome = Change::Refused;
    }
    recordChange(capture, CodePage::ToUnicode(record.NameText()), recordAndLevels(record),
                 wheel ? record.Index : -1);
    emit valuesChanged(&record);
    SyncModified();
    return outcome;
}

bool DocumentSession::ChangeAll(const QString& what, const std::function<void()>& change)
{
    if (!m_doc || m_busy)
        return false;
    ChangeCapture capture;
    try {
        capture = m_history->BeginAll();
        change();
    } catch (const BcfgError& e) {
        // Undoing the part that ran leaves every record and mark as captured.
        try {
            if (const auto step = m_history->Finish(capture))
                m_history->Undo(*step);
        } catch (const BcfgError& again) {
            error(again.text());
        }
        emit recordsChanged(everyRecord());
        emit valuesChanged(nullptr);
        SyncModified();
        error(e.text());
        return false;
    }
    recordChange(capture, what, everyRecord());
    emit valuesChanged(nullptr);
    SyncModified();
    return true;
}

void DocumentSession::recordChange(const ChangeCapture& capture, const QString& what,
                                   const QList<int>& fallback, int wheelRecord)
{
    std::unique_ptr<ChangeStep> step;
    try {
        step = m_history->Finish(capture);
    } catch (const BcfgError& e) {
        // The change stays; only taking it back is lost.
        error(e.text());
        emit recordsChanged(fallback);
        return;
    }
    if (!step)
        return;
    emit recordsChanged(recordsOf(*step));
    m_undoStack->push(new ChangeCommand(
        *m_history, std::move(step), what,
        [this](const ChangeStep& done) {
            emit recordsChanged(recordsOf(done));
            emit valuesChanged(nullptr);
            SyncModified();
        },
        wheelRecord));
}

void DocumentSession::Undo()
{
    if (!m_busy)
        m_undoStack->undo();
}

void DocumentSession::Redo()
{
    if (!m_busy)
        m_undoStack->redo();
}
