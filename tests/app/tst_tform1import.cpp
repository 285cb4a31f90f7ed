#include "tst_tform1_kit.h"

#include "BcfgError.h"
#include "EntryMenu.h"

#include <QAction>
#include <QUndoStack>

using kit::drawn;
using kit::entry;
using kit::write;

namespace {

BcfgBuilder current()
{
    return BcfgBuilder()
        .levelBegin("Normal")
        .integer(1, "Size", 0, 100, 5)
        .checkBox("Flag", 0)
        .levelEnd()
        .integer(1, "Alone", 0, 9, 1)
        .time("Alarm", 7, 30);
}

// The same with a password; shippedFlag: the check box as the old version shipped it.
BcfgBuilder withPassword(quint32 shippedFlag)
{
    return BcfgBuilder()
        .levelBegin("Normal")
        .integer(1, "Size", 0, 100, 5)
        .checkBox("Flag", shippedFlag)
        .text(6, "Pass", 7, "pw")
        .levelEnd()
        .integer(1, "Alone", 0, 9, 1)
        .time("Alarm", 7, 30);
}

const QColor Red(192, 0, 0);
const QColor Blue(0, 0, 255);

} // namespace

class TestTForm1Import : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TForm1> m_form;

    void open(const QString& name, const QByteArray& bytes)
    {
        m_form = std::make_unique<TForm1>();
        m_form->FormCreate({write(m_dir, name, bytes)});
        m_form->TreeView1->expandAll();
    }
    // Imports the named file (answering the open dialog) and returns what was shown.
    QList<Dialogs::Shown> import(const QString& answer)
    {
        Dialogs::TakeShown();
        Dialogs::SetNextFileName(answer);
        QTest::mouseClick(m_form->Button4, Qt::LeftButton);
        return Dialogs::TakeShown();
    }
    QColor colour(const QString& label)
    {
        return drawn(*m_form, entry(*m_form, label), false).text;
    }
    QColor plain() const { return m_form->TreeView1->palette().color(QPalette::Text); }

    // The window as it must be whenever no import runs.
    void verifyIdle()
    {
        QVERIFY(m_form->Panel1->isHidden());
        QVERIFY(m_form->Button2->isEnabled());
        QVERIFY(m_form->Button4->isEnabled());
        QVERIFY(!m_form->Busy());
    }

private slots:
    void initTestCase() { kit::startUp(); }
    void init() { Dialogs::TakeShown(); }
    void cleanup() { m_form.reset(); }

    void identicalCopyMarksImportedOnly()
    {
        open("same.bcfg", current().bytes());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        struct Step {
            bool panelShown, saveAsEnabled, importEnabled;
            int progress;
        };
        QList<Step> steps;
        bool closedDuringImport = true;
        m_form->SetImportStepObserver([&] {
            TForm1& form = *m_form;
            steps.append({form.Panel1->isVisible(), form.Button2->isEnabled(),
                          form.Button4->isEnabled(), form.ProgressBar1->value()});
            if (steps.size() == 1) {
                // Exit, the close box and typing in the file field are inert meanwhile.
                QTest::mouseClick(form.Button3, Qt::LeftButton);
                closedDuringImport = form.close();
                QTest::keyClick(form.LMDFileOpenEdit1->lineEdit(), Qt::Key_X);
            }
        });

        const QList<Dialogs::Shown> shown = import(write(m_dir, "copy.bcfg", current().bytes()));

        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QStringLiteral("open"));
        const ImportResult& result = m_form->LastImport();
        QCOMPARE(result.records, 6);
        QCOMPARE(result.steps, 6);
        QCOMPARE(result.progressMaximum, 5);
        QCOMPARE(m_form->ProgressBar1->maximum(), 5);
        QCOMPARE(result.merge.accepted, 4);
        QCOMPARE(steps.size(), 6);
        for (qsizetype i = 0; i < steps.size(); ++i) {
            QVERIFY(steps[i].panelShown);
            QVERIFY(!steps[i].saveAsEnabled && !steps[i].importEnabled);
            QCOMPARE(steps[i].progress, qMin(int(i) + 1, 5));
        }
        QVERIFY(!closedDuringImport);
        QVERIFY(m_form->isVisible());
        QVERIFY(!m_form->LMDFileOpenEdit1->text().endsWith('x'));

        verifyIdle();
        QVERIFY(!m_form->CurrentDoc()->Modified);
        QVERIFY(m_form->Label2->isHidden());
        QVERIFY(!m_form->Button1->isEnabled());
        for (const char* label : {"Normal", "Size", "Flag", "Alone", "Alarm"})
            QCOMPARE(colour(label), Blue);
        QCOMPARE(drawn(*m_form, entry(*m_form, "Size"), true).text, QColor(160, 160, 255));
    }

    void changedValuesAreRelabelledAndMarked()
    {
        open("changed.bcfg", current().bytes());
        import(write(m_dir, "newer.bcfg",
                     BcfgBuilder()
                         .levelBegin("Normal")
                         .integer(1, "Size", 0, 100, 50)
                         .integer(1, "Flag", 0, 100, 1) // another type under the same name
                         .levelEnd()
                         .time("Alarm", 7, 30)
                         .integer(1, "Missing", 0, 9, 1)
                         .bytes()));

        QCOMPARE(entry(*m_form, "Size")->text(0), QStringLiteral("Size - [ 50 ]"));
        QCOMPARE(colour("Size"), Red);
        QCOMPARE(colour("Normal"), Red);
        QCOMPARE(colour("Flag"), plain());
        QCOMPARE(colour("Alone"), plain());
        QCOMPARE(colour("Alarm"), Blue);
        QVERIFY(!m_form->Label2->isHidden());
        QVERIFY(m_form->Button1->isEnabled());
        verifyIdle();
    }

    void chosenNameWithoutDotGetsTheExtension()
    {
        open("base.bcfg", current().bytes());
        write(m_dir, "plain.bcfg", BcfgBuilder().integer(1, "Alone", 0, 9, 2).bytes());

        QVERIFY(import(m_dir.filePath("plain")).size() == 1);

        QCOMPARE(m_form->LastImport().fileName, m_dir.filePath("plain.bcfg"));
        QCOMPARE(entry(*m_form, "Alone")->text(0), QStringLiteral("Alone - [ 2 ]"));
    }

    void cancellingTheDialogDoesNothing()
    {
        open("cancel.bcfg", current().bytes());
        import(QString());
        QVERIFY(!m_form->LastImport().loaded);
        QCOMPARE(m_form->LastImport().steps, 0);
        QCOMPARE(colour("Size"), plain());
        verifyIdle();
    }

    void unreadableSourceIsReportedAndNothingMerged()
    {
        open("target.bcfg", current().bytes());
        const QList<Dialogs::Shown> shown = import(m_dir.filePath("absent.bcfg"));

        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].kind, QStringLiteral("error"));
        const QString absent = m_dir.filePath("absent.bcfg");
        QCOMPARE(shown[1].text,
                 BcfgError::withFullStop(
                     QStringLiteral("Cannot open file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(absent), kit::missingFileReason(absent))));
        QVERIFY(!m_form->LastImport().loaded);
        QCOMPARE(colour("Size"), plain());
        verifyIdle();

        // A source cut inside a record is a read error.
        QByteArray cut = current().bytes();
        cut.chop(3);
        QCOMPARE(import(write(m_dir, "cut.bcfg", cut)).value(1).text,
                 QStringLiteral("Stream read error."));
        QCOMPARE(colour("Alone"), plain());
        verifyIdle();
    }

    void unknownBlocks()
    {
        open("withunknown.bcfg", current().raw(BcfgBuilder::le32(0x10)).bytes());
        const QString unknownLabel = QStringLiteral("Unknown Block: 0x10");
        QVERIFY(entry(*m_form, unknownLabel));

        // Records before an unknown block of the source are imported.
        const QList<Dialogs::Shown> shown = import(write(m_dir, "partial.bcfg",
                                                         BcfgBuilder()
                                                             .levelBegin("Normal")
                                                             .integer(1, "Size", 0, 100, 60)
                                                             .raw(BcfgBuilder::le32(0x0F))
                                                             .checkBox("Flag", 1)
                                                             .bytes()));

        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].text, QStringLiteral("Unknown Block: 0x0F\n\rFile is not fully loaded"));
        QCOMPARE(m_form->LastImport().records, 2);
        QCOMPARE(entry(*m_form, "Size")->text(0), QStringLiteral("Size - [ 60 ]"));
        QCOMPARE(entry(*m_form, "Flag")->text(0), QStringLiteral("Flag - [ OFF ]"));
        QVERIFY(entry(*m_form, unknownLabel));
        QCOMPARE(colour(unknownLabel), QColor(224, 0, 0));
        verifyIdle();
    }

    void levelNamesTranslateBetweenNumberedFiles_data()
    {
        QTest::addColumn<QString>("currentName");
        QTest::addColumn<QString>("chosenName");
        QTest::addColumn<bool>("translated");
        QTest::newRow("16 from 15") << "EXTRAINFO16.bcfg"
                                    << "extrainfo15.bcfg" << true;
        QTest::newRow("15 from 16") << "EXTRAINFO15.bcfg"
                                    << "EXTRAINFO16.bcfg" << false;
    }
    void levelNamesTranslateBetweenNumberedFiles()
    {
        QFETCH(QString, currentName);
        QFETCH(QString, chosenName);
        QFETCH(bool, translated);
        open(currentName, current().bytes());
        import(write(
            m_dir, chosenName,
            BcfgBuilder().levelBegin("First").integer(1, "Size", 0, 100, 70).levelEnd().bytes()));

        QCOMPARE(m_form->LastImport().translated, translated);
        QCOMPARE(entry(*m_form, "Size")->text(0),
                 translated ? QStringLiteral("Size - [ 70 ]") : QStringLiteral("Size - [ 5 ]"));
    }

    // Settings as text: Ctrl+E writes the values (a password only when asked for, only what
    // differs from a base when asked for), Ctrl+Shift+E applies a text as one step.
    void exportSettings_data()
    {
        QTest::addColumn<QList<bool>>("checks"); // only what differs, include passwords
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("values") << QList<bool>{false, false}
                                << QByteArray("\"Normal/Size\" = \"5\"\n\"Normal/Flag\" = \"OFF\"\n"
                                              "# \"Normal/Pass\" is a password, left out\n"
                                              "\"Alone\" = \"1\"\n\"Alarm\" = \"7:30\"\n");
        QTest::newRow("with passwords")
            << QList<bool>{false, true}
            << QByteArray("\"Normal/Size\" = \"5\"\n\"Normal/Flag\" = \"OFF\"\n"
                          "\"Normal/Pass\" = \"pw\"\n\"Alone\" = \"1\"\n\"Alarm\" = \"7:30\"\n");
        QTest::newRow("what differs from the base")
            << QList<bool>{true, false} << QByteArray("\"Normal/Flag\" = \"OFF\"\n");
    }
    void exportSettings()
    {
        QFETCH(QList<bool>, checks);
        QFETCH(QByteArray, text);
        open("export.bcfg", withPassword(0).bytes());
        QVERIFY(kit::showWithTreeFocus(*m_form));
        const QString out = m_dir.filePath("export.toml");
        QFile::remove(out);
        const QString base = write(m_dir, "shipped.bcfg", withPassword(1).bytes());

        const QList<Dialogs::Shown> shown =
            kit::pressAnswering(*m_form, Qt::Key_E, Qt::ControlModifier, {out, base}, checks);

        QCOMPARE(shown.value(0).kind, QStringLiteral("save"));
        QCOMPARE(shown.value(0).caption, QStringLiteral("Export settings"));
        QCOMPARE(shown.value(0).text, m_dir.filePath("export.toml")); // beside the open file
        QCOMPARE(shown.size(), checks[0] ? 2 : 1);                    // the base was asked for
        QCOMPARE(kit::read(out), text);
        QVERIFY(!m_form->CurrentDoc()->Modified);
    }

    void applySettings()
    {
        const QByteArray bytes = withPassword(0).bytes();
        const QString file = write(m_dir, "apply.bcfg", bytes);
        open("apply.bcfg", bytes);
        QVERIFY(kit::showWithTreeFocus(*m_form));
        const QUndoStack* undo = m_form->UndoStack();
        const auto apply = [&](const QByteArray& text) {
            return kit::pressAnswering(*m_form, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier,
                                       {write(m_dir, "apply.toml", text)});
        };
        const QStringList before = kit::labels(*m_form);

        // A valid file: one undo step, which Ctrl+Z takes back.
        QCOMPARE(apply("# from a friend\n\"Normal/Size\" = 50\n\"Alarm\" = \"8:15\"\n").size(), 1);
        QCOMPARE(entry(*m_form, "Size")->text(0), QStringLiteral("Size - [ 50 ]"));
        QCOMPARE(entry(*m_form, "Alarm")->text(0), QStringLiteral("Alarm - [ 8:15 ]"));
        QCOMPARE(colour("Size"), Red);
        QCOMPARE(undo->count(), 1);
        QCOMPARE(undo->undoText(), QStringLiteral("Apply settings from apply.toml"));
        QVERIFY(m_form->Button1->isEnabled());
        QTest::keyClick(m_form->TreeView1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(kit::labels(*m_form), before);
        QVERIFY(!m_form->CurrentDoc()->Modified);
        QCOMPARE(m_form->CurrentDoc()->Serialize(), bytes);

        // One refused line: nothing changes, and the box names the line, the path and the value.
        const QList<Dialogs::Shown> refused = apply("\"Normal/Size\" = 60\n\"Alone\" = \"10\"\n");
        QCOMPARE(answers::errorText(refused),
                 QStringLiteral("Line 2: Cannot set \"Alone\" to \"10\": out of range 0 .. 9."));
        QCOMPARE(kit::labels(*m_form), before);
        QCOMPARE(colour("Size"), plain());
        QVERIFY(!m_form->CurrentDoc()->Modified);
        QCOMPARE(undo->index(), 0);
        QCOMPARE(answers::errorText(apply("[Normal]\nSize = 60\n")),
                 QStringLiteral("Line 1: Cannot set \"Normal\": a value is a string or an integer, "
                                "not a table."));
        QCOMPARE(apply("# nothing\n").value(1).text,
                 QStringLiteral("Nothing to apply: apply.toml holds no settings."));
        QCOMPARE(kit::labels(*m_form), before);

        // A path the file does not have: the rest is applied, the path listed after the step.
        const QList<Dialogs::Shown> missing = apply("\"Gone\" = \"1\"\n\"Alone\" = 3\n");
        QCOMPARE(missing.size(), 2);
        QCOMPARE(missing[1].kind, QStringLiteral("message"));
        QCOMPARE(missing[1].text, QStringLiteral("These paths of apply.toml name no parameter of "
                                                 "this file and were passed over:\nLine 1: Gone"));
        QCOMPARE(entry(*m_form, "Alone")->text(0), QStringLiteral("Alone - [ 3 ]"));
        QCOMPARE(undo->index(), 1);
        QTest::keyClick(m_form->TreeView1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(kit::labels(*m_form), before);
        QCOMPARE(kit::read(file), bytes); // only Save writes the file

        // The commands are entries of the entry menu too.
        const EntryMenu menu(*m_form);
        QVERIFY(menu.actions().contains(m_form->ExportSettingsAction));
        QVERIFY(menu.actions().contains(m_form->ApplySettingsAction));
        QCOMPARE(m_form->ApplySettingsAction->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    }
};

QTEST_MAIN(TestTForm1Import)
#include "tst_tform1import.moc"
