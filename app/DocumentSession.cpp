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
        const Dialogs::Answer answer = Dialogs::Confirm(m_dialogParent, QStringLiteral("Confirm"),
                                                        tr("Save file before opening another?"));
        if (answer == Dialogs::Answer::Cancel)
            return false;
        if (answer == Dialogs::Answer::Yes) {
            if (!saveTo(m_fileName))
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
    m_doc = std::move(doc);
    m_fileName = QFileInfo(fileName).absoluteFilePath();
    emit documentReplaced();
    SyncModified();
    return true;
}

bool DocumentSession::saveTo(const QString& fileName)
{
    try {
        m_doc->Save(fileName);
    } catch (const BcfgError& e) {
        error(e.text());
        SyncModified();
        return false;
    }
    m_history->Saved();
    SyncModified();
    return true;
}

bool DocumentSession::Save()
{
    return m_doc && !m_busy && saveTo(m_fileName);
}

void DocumentSession::SaveAs()
{
    if (!m_doc || m_busy)
        return;
    // The dialog starts at the name chosen in it last, the first time at the open file.
    const QString chosen = Dialogs::SaveFileName(
        m_dialogParent, m_saveDialogFileName.isEmpty() ? m_fileName : m_saveDialogFileName);
    if (chosen.isEmpty())
        return;
    const QString fileName = WithBcfgExtension(chosen);
    m_saveDialogFileName = fileName;
    // The dialog confirmed the name without the extension; this is another file.
    if (fileName != chosen && QFileInfo::exists(fileName) &&
        Dialogs::Confirm(m_dialogParent, tr("Confirm Save As"),
                         tr("%1 already exists.\nDo you want to replace it?")
                             .arg(QFileInfo(fileName).fileName())) != Dialogs::Answer::Yes)
        return;
    saveTo(fileName);
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
    other.fileName = chooseOther(caption);
    if (other.fileName.isEmpty())
        return false;
    other.doc = loadOther(other.fileName, true);
    if (!other.doc)
        return false;
    try {
        other.rows = ListDifferences(*m_doc, *other.doc,
                                     Import::TranslateLevelNames(currentName, other.fileName));
    } catch (const BcfgError& e) {
        error(e.text());
        return false;
    }
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
    recordChange(capture, importStepName(fileName));
    emit valuesChanged(nullptr);
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
    recordChange(capture, CodePage::ToUnicode(record.NameText()), wheel ? record.Index : -1);
    emit valuesChanged(&record);
    SyncModified();
    return outcome;
}

void DocumentSession::recordChange(const ChangeCapture& capture, const QString& what,
                                   int wheelRecord)
{
    try {
        if (auto step = m_history->Finish(capture))
            m_undoStack->push(new ChangeCommand(
                *m_history, std::move(step), what,
                [this] {
                    emit valuesChanged(nullptr);
                    SyncModified();
                },
                wheelRecord));
    } catch (const BcfgError& e) {
        // The change stays; only taking it back is lost.
        error(e.text());
    }
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
