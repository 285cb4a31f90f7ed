// The open file changed on disk by another program while the window is open: the bar that
// tells so (once per change, never for the window's own saves), its Reload, Compare and
// Ignore, and Save, which asks before it overwrites what another program wrote.

#include "tst_tform1_kit.h"

#include "CompareWindow.h"
#include "DifferenceModel.h"
#include "DifferenceView.h"
#include "DiskChangeBar.h"
#include "DiskWatch.h"
#include "ModalAnswers.h"
#include "TBcfgRec0103.h"

#include <QFileInfo>
#include <QUndoStack>
#include <filesystem>

namespace {

QByteArray document(quint32 size, quint32 inner = 1)
{
    return BcfgBuilder()
        .integer(1, "Size", 0, 100, size)
        .levelBegin("Level")
        .integer(1, "Inner", 0, 100, inner)
        .levelEnd()
        .bytes();
}

bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What another program does to the file; false when it could not.
bool change(const QString& how, const QString& path, const QByteArray& bytes)
{
    if (how == "rewrite")
        return put(path, bytes);
    if (how == "rename") {
        // An atomic save of another program: a new file renamed over the old one.
        const QString temporary = path + QStringLiteral(".part");
        if (!put(temporary, bytes))
            return false;
        std::error_code failed;
        std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                                std::filesystem::path(path.toStdU16String()), failed);
        return !failed;
    }
    if (how == "touch") {
        QFile file(path);
        return file.open(QIODevice::ReadWrite) &&
               file.setFileTime(QFileInfo(path).lastModified().addSecs(60),
                                QFileDevice::FileModificationTime);
    }
    if (how == "delete")
        return QFile::remove(path);
    return false;
}

} // namespace

class TestTForm1Disk : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    kit::Window m_window;

    static DiskChangeBar* bar(TForm1& form) { return form.DiskBar(); }
    // Opens a file of its own for the test, shown, with Size changed in memory.
    kit::Window::Opened openChanged(const QString& name)
    {
        kit::Window::Opened opened = m_window.open(m_dir, name, document(5));
        if (!kit::showWithTreeFocus(opened.form))
            qWarning("the window did not show");
        setSize(opened.form, 6);
        return opened;
    }
    static void setSize(TForm1& form, quint32 value)
    {
        auto* size = static_cast<TBcfgRec0103*>(kit::record(form, "Size "));
        form.Session()->ChangeRecord(*size, [&] {
            size->Value = value;
            size->MarkModified();
            return true;
        });
    }
    // Waits until the watch has compared the file after what happened last, then for what a
    // late event could still bring.
    static bool checkedAfter(TForm1& form, int checks)
    {
        const bool checked =
            QTest::qWaitFor([&] { return bar(form)->Watch()->ChecksRun() > checks; }, 5000);
        QTest::qWait(3 * DiskWatch::SettleTime);
        return checked;
    }

private slots:
    void initTestCase()
    {
        kit::startUp();
        QVERIFY(m_dir.isValid());
    }
    void init() { Dialogs::TakeShown(); }
    void cleanup() { m_window.reset(); }

    // Each kind of change shows the bar once, also for two changes in a row; a new time stamp
    // on the same bytes shows nothing. Save then asks exactly when the bytes differ, and writes
    // a deleted file again; the bar goes once the file holds what was saved.
    void outsideChangesShowTheBarOnce_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("twice");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("missing");
        QTest::newRow("rewritten in place") << "rewrite" << false << 1 << false;
        QTest::newRow("replaced by rename") << "rename" << false << 1 << false;
        QTest::newRow("touched only") << "touch" << false << 0 << false;
        QTest::newRow("deleted") << "delete" << false << 1 << true;
        QTest::newRow("changed twice") << "rewrite" << true << 1 << false;
    }
    void outsideChangesShowTheBarOnce()
    {
        QFETCH(QString, how);
        QFETCH(bool, twice);
        QFETCH(int, shown);
        QFETCH(bool, missing);
        auto [form, path] = openChanged("outside.bcfg");
        const int checks = bar(form)->Watch()->ChecksRun();
        QVERIFY(change(how, path, document(40)));
        if (shown == 0) {
            QVERIFY(checkedAfter(form, checks));
        } else {
            QTRY_COMPARE(bar(form)->TimesShown(), 1);
            QVERIFY(bar(form)->isVisible());
            QVERIFY(bar(form)->Text()->text().contains(QLatin1String("outside.bcfg")));
            QCOMPARE(bar(form)->ReloadButton()->isEnabled(), !missing);
            QCOMPARE(bar(form)->CompareButton()->isEnabled(), !missing);
        }
        if (twice) {
            const int again = bar(form)->Watch()->ChecksRun();
            QVERIFY(change(how, path, document(41)));
            QVERIFY(checkedAfter(form, again));
        }
        QCOMPARE(bar(form)->TimesShown(), shown);
        // The bar lies above the entries, not over them.
        if (shown)
            QVERIFY(bar(form)->geometry().bottom() < form.TreeView1->viewport()->geometry().top());
        QVERIFY(Dialogs::TakeShown().isEmpty());

        Dialogs::SetNextChoice(0); // Overwrite
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        const QList<Dialogs::Shown> asked = Dialogs::TakeShown();
        const bool differs = shown && !missing;
        QCOMPARE(asked.size(), differs ? 1 : 0);
        if (differs) {
            QCOMPARE(asked[0].kind, QStringLiteral("choose"));
            QCOMPARE(asked[0].caption, QStringLiteral("File changed on disk"));
            QCOMPARE(asked[0].text,
                     QStringLiteral("outside.bcfg was changed by another program after it was "
                                    "opened. Overwrite it?"));
        }
        QCOMPARE(kit::read(path), form.CurrentDoc()->Serialize());
        QVERIFY(!form.Session()->Modified());
        QTRY_VERIFY(bar(form)->isHidden());
        QCOMPARE(bar(form)->TimesShown(), shown);
    }

    // Each answer to the question before overwriting does what it says, for Save and for Yes
    // at the questions on closing and on opening another file.
    void saveOverAnOutsideChangeAsks_data()
    {
        QTest::addColumn<QString>("by");
        QTest::addColumn<int>("choice");
        QTest::addColumn<bool>("ours"); // the file holds the window's values afterwards
        QTest::addColumn<bool>("savedAs");
        QTest::newRow("Save, Overwrite") << "save" << 0 << true << false;
        QTest::newRow("Save, Save As") << "save" << 1 << false << true;
        QTest::newRow("Save, Cancel") << "save" << 2 << false << false;
        QTest::newRow("Save, Esc") << "save" << -1 << false << false;
        QTest::newRow("closing, Overwrite") << "close" << 0 << true << false;
        QTest::newRow("closing, Cancel") << "close" << 2 << false << false;
        QTest::newRow("opening, Save As") << "open" << 1 << false << true;
        QTest::newRow("opening, Cancel") << "open" << 2 << false << false;
    }
    void saveOverAnOutsideChangeAsks()
    {
        QFETCH(QString, by);
        QFETCH(int, choice);
        QFETCH(bool, ours);
        QFETCH(bool, savedAs);
        auto [form, path] = openChanged("asked.bcfg");
        const QString copy = m_dir.filePath("asked-copy.bcfg");
        QFile::remove(copy);
        const QByteArray theirs = document(40);
        QVERIFY(put(path, theirs));
        QTRY_COMPARE(bar(form)->TimesShown(), 1);
        const QByteArray mine = form.CurrentDoc()->Serialize();

        const QString other = kit::write(m_dir, "asked-other.bcfg", document(3));
        if (by != "save")
            Dialogs::SetNextAnswer(Dialogs::Answer::Yes);
        Dialogs::SetNextChoice(choice);
        Dialogs::SetNextFileName(copy);
        if (by == "save")
            QTest::mouseClick(form.Button1, Qt::LeftButton);
        else if (by == "close")
            form.close();
        else
            form.LMDFileOpenEdit1->setText(other);
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.last().kind, savedAs ? QStringLiteral("save") : QStringLiteral("choose"));

        const bool saved = ours || savedAs;
        QCOMPARE(kit::read(path), ours ? mine : theirs);
        QCOMPARE(kit::read(copy), savedAs ? mine : QByteArray());
        if (by == "close")
            QCOMPARE(form.isVisible(), !saved);
        if (by == "open")
            QCOMPARE(form.DocumentFileName(), saved ? QFileInfo(other).absoluteFilePath()
                                                    : QFileInfo(path).absoluteFilePath());
        else
            QCOMPARE(form.Session()->Modified(), !saved);
    }

    // The window's own saves, atomic renames each, never show the bar, and the watch still
    // hears another program after them; Ignore hides the bar until the next change.
    void ownSavesNeverShowTheBar()
    {
        auto [form, path] = openChanged("own.bcfg");
        for (quint32 value = 7; value < 10; ++value) {
            setSize(form, value);
            const int checks = bar(form)->Watch()->ChecksRun();
            QTest::mouseClick(form.Button1, Qt::LeftButton);
            QVERIFY(checkedAfter(form, checks));
            QCOMPARE(bar(form)->TimesShown(), 0);
        }
        QVERIFY(Dialogs::TakeShown().isEmpty());
        for (int round = 1; round <= 2; ++round) {
            QVERIFY(change("rename", path, document(40 + round)));
            QTRY_COMPARE(bar(form)->TimesShown(), round);
            QTest::mouseClick(bar(form)->IgnoreButton(), Qt::LeftButton);
            QVERIFY(bar(form)->isHidden());
            const int checks = bar(form)->Watch()->ChecksRun();
            QVERIFY(change("touch", path, {}));
            QVERIFY(checkedAfter(form, checks));
            QCOMPARE(bar(form)->TimesShown(), round); // ignored: the same bytes stay quiet
        }
    }

    // Compare lists the document against the file on disk; Reload asks first while there are
    // unsaved changes, then reads the file and keeps the sections and the selection as they
    // were.
    void compareAndReload()
    {
        auto [form, path] = openChanged("reload.bcfg");
        const kit::Entry level = kit::entry(form, "Level");
        level->setExpanded(true);
        form.TreeView1->setCurrentIndex(kit::entry(form, "Inner "));
        QVERIFY(put(path, document(5, 9)));
        QTRY_COMPARE(bar(form)->TimesShown(), 1);

        QString title;
        int rows = -1;
        ModalPlayer player({[&](QWidget* modal) {
            if (auto* window = qobject_cast<CompareWindow*>(modal)) {
                title = window->windowTitle();
                rows = window->View()->Model()->rowCount();
            }
            static_cast<QDialog*>(modal)->reject();
        }});
        QTest::mouseClick(bar(form)->CompareButton(), Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("Compare with reload.bcfg on disk"));
        QCOMPARE(rows, 2); // Size 6 here, 5 there; Inner 1 here, 9 there

        Dialogs::SetNextAnswer(Dialogs::Answer::No);
        QTest::mouseClick(bar(form)->ReloadButton(), Qt::LeftButton);
        QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].caption, QStringLiteral("Reload"));
        QCOMPARE(shown[0].text, QStringLiteral("Discard the changes and read reload.bcfg again?"));
        QVERIFY(form.Session()->Modified());
        QVERIFY(bar(form)->isVisible());

        Dialogs::SetNextAnswer(Dialogs::Answer::Yes);
        QTest::mouseClick(bar(form)->ReloadButton(), Qt::LeftButton);
        QCOMPARE(Dialogs::TakeShown().size(), 1);
        QVERIFY(!form.Session()->Modified());
        QCOMPARE(kit::labels(form), (QStringList{"Size - [ 5 ]", "Level", "Inner - [ 9 ]"}));
        QVERIFY(kit::entry(form, "Level")->isExpanded());
        QCOMPARE(MainTree::Label(form.TreeView1->SelectedEntry()), QStringLiteral("Inner - [ 9 ]"));
        QVERIFY(bar(form)->isHidden());
        QCOMPARE(form.UndoStack()->count(), 0);

        // Without unsaved changes it reads at once; the watch goes on.
        QVERIFY(put(path, document(7, 9)));
        QTRY_COMPARE(bar(form)->TimesShown(), 2);
        QTest::mouseClick(bar(form)->ReloadButton(), Qt::LeftButton);
        QVERIFY(Dialogs::TakeShown().isEmpty());
        QCOMPARE(kit::labels(form).first(), QStringLiteral("Size - [ 7 ]"));
    }
};

QTEST_MAIN(TestTForm1Disk)
#include "tst_tform1disk.moc"
