// The document session without any window: opening with its question, saving, importing, the
// preview's take-over, record changes and their undo steps, and what it announces.

#include "BcfgBuilder.h"
#include "BcfgError.h"
#include "DialogAnswers.h"
#include "DocumentSession.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

Q_DECLARE_METATYPE(const TBcfgRecAll*)

namespace {

// The entries an open makes, as labels.
class Labels : public DocumentEntries
{
public:
    QList<QByteArray> labels;
    Entry append(Entry, const QByteArray& label, TBcfgRecAll*) override
    {
        labels.append(label);
        return reinterpret_cast<Entry>(qintptr(labels.size()));
    }
    Entry parentOf(Entry) override { return nullptr; }
    void expandAll(Entry) override {}
    void ClearEntries() override { labels.clear(); }
};

QByteArray document(quint32 size)
{
    return BcfgBuilder()
        .integer(1, "Size", 0, 100, size)
        .levelBegin("Level")
        .checkBox("Flag", 0)
        .levelEnd()
        .bytes();
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestDocumentSession : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Labels m_entries;
    std::unique_ptr<DocumentSession> m_session;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    TBcfgRec0103& size() { return *static_cast<TBcfgRec0103*>(m_session->Doc()->Record(0)); }
    // Sets Size as the wheel would: one step, announced.
    void setSize(quint32 value)
    {
        m_session->ChangeRecord(size(), [&] {
            size().Value = value;
            size().MarkModified();
            return true;
        });
    }

private slots:
    void initTestCase()
    {
        answers::startUp();
        QVERIFY(m_dir.isValid());
    }
    void init()
    {
        Dialogs::TakeShown();
        m_session = std::make_unique<DocumentSession>(nullptr, m_entries);
        QVERIFY(m_session->Open(write("a.bcfg", document(5))));
    }

    void openShowsTheFile()
    {
        QCOMPARE(m_entries.labels, (QList<QByteArray>{"Size - [ 5 ]", "Level", "Flag - [ OFF ]"}));
        QCOMPARE(m_session->FileName(), QDir(m_dir.path()).absoluteFilePath("a.bcfg"));
        QVERIFY(!m_session->Modified() && !m_session->Busy());
        QVERIFY(Dialogs::TakeShown().isEmpty());
    }

    void failedOpenKeepsTheDocument()
    {
        TBCFGFile* before = m_session->Doc();
        QSignalSpy replaced(m_session.get(), &DocumentSession::documentReplaced);
        QFile missing(m_dir.filePath("missing.bcfg"));
        QVERIFY(!missing.open(QIODevice::ReadOnly)); // the system's own reason follows the name
        QVERIFY(!m_session->Open(missing.fileName()));
        QCOMPARE(answers::errorText(Dialogs::TakeShown()),
                 BcfgError::withFullStop(QStringLiteral("Cannot open file \"%1\". %2")
                                             .arg(QDir::toNativeSeparators(missing.fileName()),
                                                  missing.errorString())));
        QCOMPARE(m_session->Doc(), before);
        QCOMPARE(m_entries.labels.size(), 3);
        QCOMPARE(replaced.count(), 0);
    }

    // Unsaved changes: the file to open is read, then the question decides.
    void openWithUnsavedChanges_data()
    {
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<quint32>("savedSize");
        QTest::newRow("yes saves") << Dialogs::Answer::Yes << true << 7u;
        QTest::newRow("no discards") << Dialogs::Answer::No << true << 5u;
        QTest::newRow("cancel keeps") << Dialogs::Answer::Cancel << false << 5u;
    }
    void openWithUnsavedChanges()
    {
        QFETCH(Dialogs::Answer, answer);
        QFETCH(bool, opened);
        QFETCH(quint32, savedSize);
        const QString first = m_session->FileName();
        setSize(7);
        QSignalSpy modified(m_session.get(), &DocumentSession::modifiedChanged);
        Dialogs::SetNextAnswer(answer);
        QCOMPARE(m_session->Open(write("b.bcfg", document(2))), opened);
        const Dialogs::Shown asked = Dialogs::TakeShown().first();
        QCOMPARE(asked.caption, QStringLiteral("Open another file"));
        QCOMPARE(asked.text, QStringLiteral("Save file before opening another?"));
        QCOMPARE(read(first), document(savedSize));
        QCOMPARE(m_session->Modified(), !opened);
        QCOMPARE(m_session->UndoStack()->count(), opened ? 0 : 1);
        QCOMPARE(modified.count(), opened ? 1 : 0);
    }

    // Reading the file again brings what is on disk and knows it; a file that cannot be read
    // keeps the document and its entries.
    void reloadReadsTheFileAgain()
    {
        QSignalSpy disk(m_session.get(), &DocumentSession::diskStateChanged);
        write("a.bcfg", document(9));
        QCOMPARE(m_session->CheckDisk(), FileState::Disk::Changed);
        QVERIFY(m_session->Reload());
        QCOMPARE(m_entries.labels.first(), QByteArray("Size - [ 9 ]"));
        QCOMPARE(m_session->CheckDisk(), FileState::Disk::Same);
        QCOMPARE(disk.count(), 1);

        TBCFGFile* before = m_session->Doc();
        QVERIFY(QFile::remove(m_session->FileName()));
        QCOMPARE(m_session->CheckDisk(), FileState::Disk::Missing);
        QVERIFY(!m_session->Reload());
        QVERIFY(answers::errorText(Dialogs::TakeShown()).startsWith("Cannot open file \""));
        QCOMPARE(m_session->Doc(), before);
        QCOMPARE(m_entries.labels.size(), 3);
        QCOMPARE(disk.count(), 1);
    }

    void changesAreStepsAndAnnounced()
    {
        QSignalSpy values(m_session.get(), &DocumentSession::valuesChanged);
        QSignalSpy records(m_session.get(), &DocumentSession::recordsChanged);
        QSignalSpy modified(m_session.get(), &DocumentSession::modifiedChanged);
        setSize(8);
        QCOMPARE(m_session->UndoStack()->undoText(), QStringLiteral("Size"));
        QCOMPARE(values.takeFirst().at(0).value<const TBcfgRecAll*>(), &size());
        QCOMPARE(records.takeFirst().at(0).value<QList<int>>(), QList<int>{size().Index});
        QCOMPARE(modified.takeFirst().at(0).toBool(), true);

        // Taking the step back names its record alone.
        m_session->Undo();
        QCOMPARE(size().Value, 5u);
        QCOMPARE(values.takeFirst().at(0).value<const TBcfgRecAll*>(), nullptr);
        QCOMPARE(records.takeFirst().at(0).value<QList<int>>(), QList<int>{size().Index});
        QCOMPARE(modified.takeFirst().at(0).toBool(), false);

        // A change that does not apply is no step.
        QCOMPARE(m_session->ChangeRecord(size(), [] { return false; }),
                 DocumentSession::Change::NotApplied);
        QCOMPARE(m_session->UndoStack()->count(), 1);
        QVERIFY(values.isEmpty() && records.isEmpty());
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("existing");
        QTest::addColumn<Dialogs::Answer>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("as chosen") << "c.cfg" << false << Dialogs::Answer::Cancel << "c.cfg";
        QTest::newRow("extension appended") << "d" << false << Dialogs::Answer::Cancel << "d.bcfg";
        QTest::newRow("appended, exists, replace")
            << "e" << true << Dialogs::Answer::Yes << "e.bcfg";
        QTest::newRow("appended, exists, kept") << "f" << true << Dialogs::Answer::No << "";
    }
    void saveAs()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, existing);
        QFETCH(Dialogs::Answer, answer);
        QFETCH(QString, written);
        if (existing)
            write(chosen + ".bcfg", "old");
        setSize(9);
        Dialogs::SetNextFileName(m_dir.filePath(chosen));
        Dialogs::SetNextAnswer(answer);
        m_session->SaveAs();
        QCOMPARE(m_session->Modified(), written.isEmpty());
        if (!written.isEmpty())
            QCOMPARE(read(m_dir.filePath(written)), document(9));
        else
            QCOMPARE(read(m_dir.filePath(chosen + ".bcfg")), QByteArray("old"));
    }

    void importIsOneStepWithProgress()
    {
        const QString source = write("s.bcfg", document(42));
        QStringList seen;
        ImportProgress progress;
        progress.started = [&] { seen << "started"; };
        progress.loaded = [&](int maximum) { seen << QString::number(maximum); };
        progress.step = [&] {
            QVERIFY(m_session->Busy());
            seen << "step";
        };
        progress.finished = [&] { seen << "finished"; };
        Dialogs::SetNextFileName(source.chopped(5)); // ".bcfg" is appended
        m_session->Import(m_session->FileName(), progress);
        QCOMPARE(seen, (QStringList{"started", "3", "step", "step", "step", "step", "finished"}));
        QCOMPARE(m_session->LastImport().fileName, source);
        QCOMPARE(m_session->LastImport().merge.accepted, 2); // Size and Flag
        QCOMPARE(size().Value, 42u);
        QCOMPARE(m_session->UndoStack()->undoText(), QStringLiteral("Import from s.bcfg"));
        QVERIFY(m_session->Modified() && !m_session->Busy());

        seen.clear();
        Dialogs::SetNextFileName(m_dir.filePath("missing.bcfg"));
        m_session->Import(m_session->FileName(), progress);
        QCOMPARE(seen, (QStringList{"started", "finished"}));
        QVERIFY(answers::errorText(Dialogs::TakeShown()).startsWith("Cannot open file"));
    }

    void differencesAndTakeOver()
    {
        OtherFile other;
        Dialogs::SetNextFileName(write("o.bcfg", document(3)));
        QVERIFY(m_session->Differences(m_session->FileName(), {}, other));
        QCOMPARE(other.rows.size(), size_t(1));
        QCOMPARE(other.rows[0].kind, Difference::Changed);
        QCOMPARE(size().Value, 5u);

        m_session->TakeOver({{&size(), other.rows[0].other}}, other.fileName);
        QCOMPARE(size().Value, 3u);
        QCOMPARE(m_session->UndoStack()->undoText(), QStringLiteral("Import from o.bcfg"));

        OtherFile none;
        QVERIFY(!m_session->Differences(m_session->FileName(), {}, none)); // the dialog cancelled
        QVERIFY(Dialogs::TakeShown().size() == 2); // the two open dialogs, no box
    }
};

QTEST_MAIN(TestDocumentSession)
#include "tst_documentsession.moc"
