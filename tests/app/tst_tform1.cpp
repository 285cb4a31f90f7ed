#include "tst_tform1_kit.h"

#include "AppWindows.h"
#include "BcfgError.h"
#include "IniFile.h"
#include "TBcfgRec0103.h"
#include "TForm2.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <functional>

using answers::errorText;
using kit::drawn;
using kit::entry;
using kit::labels;
using kit::write;

namespace {

BcfgBuilder sample()
{
    return BcfgBuilder()
        .integer(1, "Size", 0, 100, 5)
        .levelBegin("Colours")
        .integer(3, "Shift", quint32(-5), 5, 0)
        .levelBegin("Inner")
        .checkBox("Flag", 1)
        .levelEnd()
        .levelEnd()
        .time("Alarm", 7, 30);
}

QString cannotOpen(const QString& path, const QString& reason)
{
    return BcfgError::withFullStop(
        QStringLiteral("Cannot open file \"%1\". %2")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason));
}

struct StateRow {
    bool save;
    bool saveAs;
    bool import;
    bool marker;
    bool operator==(const StateRow&) const = default;
};

StateRow state(const TForm1& form)
{
    return {form.Button1->isEnabled(), form.Button2->isEnabled(), form.Button4->isEnabled(),
            !form.Label2->isHidden()};
}

// Settings that only read, from "section/key" entries.
TForm1::Settings readingFrom(const QMap<QString, int>& stored)
{
    return {[&stored](const QString& section, const QString& key, int fallback) {
                return stored.value(section + '/' + key, fallback);
            },
            {}};
}

const StateRow NoDocument{false, false, false, false};
const StateRow Loaded{false, true, true, false};
const StateRow Changed{true, true, true, true};

} // namespace

class TestTForm1 : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_startDir;
    kit::Window m_window;

private slots:
    void initTestCase()
    {
        kit::startUp();
        QVERIFY(m_dir.isValid());
        m_startDir = QDir::currentPath();
    }
    void init()
    {
        Dialogs::TakeShown();
        QDir::setCurrent(m_dir.path());
    }
    void cleanup()
    {
        m_window.reset();
        QDir::setCurrent(m_startDir);
    }

    void commandLineNamesTheFile_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("opened");
        QTest::newRow("no dot gets the extension") << "abc"
                                                   << "abc.bcfg";
        QTest::newRow("other extension kept") << "abc.cfg"
                                              << "abc.cfg";
        QTest::newRow("dot in a directory") << "dir.old/abc"
                                            << "dir.old/abc";
    }
    void commandLineNamesTheFile()
    {
        QFETCH(QString, argument);
        QFETCH(QString, opened);
        write(m_dir, opened, sample().bytes());

        TForm1& form = m_window.start({argument, QStringLiteral("ignored")});

        QCOMPARE(form.LMDFileOpenEdit1->text(), opened);
        QVERIFY(form.CurrentDoc());
        QCOMPARE(labels(form).first(), QStringLiteral("Size - [ 5 ]"));
        QVERIFY(Dialogs::TakeShown().isEmpty());
        QVERIFY(state(form) == Loaded);
    }

    void withoutArgumentNothingOpens()
    {
        TForm1& form = m_window.start();
        QVERIFY(!form.CurrentDoc());
        QCOMPARE(form.TreeView1->model()->rowCount(), 0);
        QVERIFY(state(form) == NoDocument);
        // The commands on a document wait for one; finding needs none.
        QVERIFY(!form.CompareWithFileAction->isEnabled() && !form.SaveAction->isEnabled());
        QVERIFY(!form.EditAction->isEnabled() && !form.UndoAction->isEnabled());
        QVERIFY(form.FindAction->isEnabled());
    }

    void failedCommandLineOpenIsReportedBeforeTheWindowShows()
    {
        AppWindows windows({QStringLiteral("missing")});
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QStringLiteral("error"));
        QCOMPARE(shown[0].caption, QStringLiteral("Редактор bcfg-файлов"));
        QCOMPARE(shown[0].text, cannotOpen(m_dir.filePath("missing.bcfg"),
                                           kit::missingFileReason(m_dir.filePath("missing.bcfg"))));
        QVERIFY(!windows.main()->isVisible());
        QVERIFY(!windows.main()->CurrentDoc());
        QVERIFY(state(*windows.main()) == NoDocument);
    }

    void typingAPathTriesEveryPrefix()
    {
        write(m_dir, "t.bcfg", sample().bytes());
        TForm1& form = m_window.start();

        QTest::keyClicks(form.LMDFileOpenEdit1->lineEdit(), "t.bcfg");

        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 5); // "t" ... "t.bcf"
        QCOMPARE(shown.last().text, cannotOpen(m_dir.filePath("t.bcf"),
                                               kit::missingFileReason(m_dir.filePath("t.bcf"))));
        QVERIFY(form.CurrentDoc());
        QCOMPARE(form.TreeView1->model()->rowCount(), 3);
        QVERIFY(state(form) == Loaded);
    }

    void failedOpenKeepsThePreviousDocumentAndShowsItAgain()
    {
        auto [form, path] = m_window.open(m_dir, "keep.bcfg", sample().bytes());
        TBCFGFile* before = form.CurrentDoc();
        static_cast<TBcfgRec0103*>(kit::record(form, "Size"))->Value = 6;
        kit::record(form, "Size")->MarkModified();
        form.TreeView1->ValuesChanged(kit::record(form, "Size"));
        form.FormPaint();
        const QStringList shownBefore = labels(form);

        // Deleting the whole text is an open attempt too.
        QLineEdit* edit = form.LMDFileOpenEdit1->lineEdit();
        edit->selectAll();
        QTest::ignoreMessage(QtWarningMsg, "QFSFileEngine::open: No file name specified");
        QTest::keyClick(edit, Qt::Key_Backspace);

        QVERIFY(errorText(Dialogs::TakeShown()).startsWith("Cannot open file \""));
        QCOMPARE(form.CurrentDoc(), before);
        QCOMPARE(labels(form), shownBefore);
        QVERIFY(state(form) == Changed);
        // The tree is coloured from the same records as before.
        QCOMPARE(drawn(form, entry(form, "Size"), false).text, QColor(192, 0, 0));

        // A damaged file in the field: Save still writes the kept document to its own file and
        // leaves the damaged one alone.
        const QByteArray damaged = sample().bytes().left(30);
        const QString other = write(m_dir, "other.bcfg", damaged);
        Dialogs::SetNextFileName(other);
        QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton);
        QCOMPARE(errorText(Dialogs::TakeShown()), QStringLiteral("Stream read error."));
        // The field names the file that is open again.
        QCOMPARE(form.LMDFileOpenEdit1->text(), path);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(kit::read(other), damaged);
        QCOMPARE(kit::read(path), before->Serialize());
        QVERIFY(kit::read(path) != sample().bytes());
        QVERIFY(state(form) == Loaded);

        // Without changes the tree is emptied for the load; a failure brings back the open
        // sections and the selection as the user left them.
        entry(form, "Colours")->setExpanded(true);
        entry(form, "Inner")->setExpanded(true);
        form.TreeView1->setCurrentIndex(entry(form, "Flag"));
        Dialogs::SetNextFileName(other);
        QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton);
        QCOMPARE(errorText(Dialogs::TakeShown()), QStringLiteral("Stream read error."));
        QCOMPARE(form.CurrentDoc(), before);
        QVERIFY(entry(form, "Colours")->isExpanded());
        QVERIFY(entry(form, "Inner")->isExpanded());
        QCOMPARE(form.TreeView1->SelectedEntry(), entry(form, "Flag"));
        entry(form, "Inner")->setExpanded(false);
        form.TreeView1->setCurrentIndex(entry(form, "Alarm"));
        Dialogs::SetNextFileName(other);
        QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton);
        QCOMPARE(errorText(Dialogs::TakeShown()), QStringLiteral("Stream read error."));
        QVERIFY(entry(form, "Colours")->isExpanded());
        QVERIFY(!entry(form, "Inner")->isExpanded());
        QCOMPARE(form.TreeView1->SelectedEntry(), entry(form, "Alarm"));
    }

    void unknownBlockIsReportedAndShown()
    {
        auto [form, path] = m_window.open(m_dir, "unknown.bcfg",
                                          BcfgBuilder()
                                              .integer(1, "First", 0, 9, 1)
                                              .levelBegin("Section")
                                              .integer(1, "Inside", 0, 9, 2)
                                              .raw(BcfgBuilder::le32(0x0F))
                                              .bytes());

        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QStringLiteral("message"));
        QCOMPARE(shown[0].caption, QStringLiteral("Редактор bcfg-файлов"));
        QCOMPARE(shown[0].text, QStringLiteral("Unknown Block: 0x0F\n\rFile is not fully loaded"));

        kit::Entry unknown = entry(form, "Unknown Block: 0x0F");
        QVERIFY(unknown);
        QCOMPARE(unknown->parent(), entry(form, "Section"));
        QVERIFY(unknown->parent()->isExpanded());
        QCOMPARE(drawn(form, unknown, false).text, QColor(224, 0, 0));
        QCOMPARE(drawn(form, unknown, true).text, QColor(224, 0, 0));
        QVERIFY(form.CurrentDoc());
    }

    void browsing_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("switches");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes saves, then opens") << int(Dialogs::Answer::Yes) << true << true;
        QTest::newRow("No opens") << int(Dialogs::Answer::No) << true << false;
        QTest::newRow("dismissed keeps the changes")
            << int(Dialogs::Answer::Cancel) << false << false;
    }
    void browsing()
    {
        QFETCH(int, answer);
        QFETCH(bool, switches);
        QFETCH(bool, saved);
        const QString first = QDir::toNativeSeparators(write(m_dir, "b1.bcfg", sample().bytes()));
        const QString second = QDir::toNativeSeparators(
            write(m_dir, "b2.bcfg", BcfgBuilder().integer(1, "Other", 0, 9, 3).bytes()));
        TForm1& form = m_window.start({first});
        TBCFGFile* doc = form.CurrentDoc();
        static_cast<TBcfgRec0103*>(kit::record(form, "Size"))->Value = 6;
        kit::record(form, "Size")->MarkModified();
        const QStringList before = labels(form);

        // Choosing the path already in the field reopens nothing; the changes stay.
        Dialogs::SetNextFileName(first);
        QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton);
        QCOMPARE(form.CurrentDoc(), doc);
        QVERIFY(doc->Modified);
        QCOMPARE(Dialogs::TakeShown().size(), 1);

        // Another file: the unsaved changes are asked about first.
        Dialogs::SetNextFileName(second);
        Dialogs::SetNextAnswer(Dialogs::Answer(answer));
        QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton);
        QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].kind, QStringLiteral("confirm"));
        QCOMPARE(shown[1].text, QStringLiteral("Save file before opening another?"));
        // Declined or dismissed: the field names the file that stays open.
        QCOMPARE(form.LMDFileOpenEdit1->text(), switches ? second : first);
        QCOMPARE(labels(form), switches ? QStringList{"Other - [ 3 ]"} : before);
        QCOMPARE(form.CurrentDoc() == doc, !switches);
        QCOMPARE(kit::read(first) != sample().bytes(), saved);
        QCOMPARE(form.DocumentFileName(), QFileInfo(switches ? second : first).absoluteFilePath());

        // Cancelling the dialog changes nothing; an unmodified document goes without a question.
        QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton);
        QCOMPARE(form.LMDFileOpenEdit1->text(), switches ? second : first);
        if (!switches) {
            form.CurrentDoc()->Record(0)->Modified = false;
            form.CurrentDoc()->Modified = false;
            form.LMDFileOpenEdit1->setText(first);
            form.LMDFileOpenEdit1->setText(second);
            QCOMPARE(labels(form), QStringList{"Other - [ 3 ]"});
        }
        shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, QStringLiteral("open"));
    }

    void everyFileDialogStartsAtTheOpenFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::newRow("browse") << "browse"
                                << "open"
                                << "Open file";
        QTest::newRow("Save As") << "Save As"
                                 << "save"
                                 << "";
        QTest::newRow("Import") << "Import"
                                << "open"
                                << "";
        QTest::newRow("compare") << "compare"
                                 << "open"
                                 << "Compare with file";
        QTest::newRow("preview") << "preview"
                                 << "open"
                                 << "Import with preview";
    }
    void everyFileDialogStartsAtTheOpenFile()
    {
        QFETCH(QString, command);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        // Not in the working folder, which holds a file of the same name.
        write(m_dir, "демо.bcfg", sample().bytes());
        auto [form, path] = m_window.open(m_dir, "Папка/демо.bcfg", sample().bytes());
        const QMap<QString, std::function<void()>> commands{
            {"browse",
             [&] { QTest::mouseClick(form.LMDFileOpenEdit1->browseButton(), Qt::LeftButton); }},
            {"Save As", [&] { QTest::mouseClick(form.Button2, Qt::LeftButton); }},
            {"Import", [&] { QTest::mouseClick(form.Button4, Qt::LeftButton); }},
            {"compare", [&] { form.CompareWithFileAction->trigger(); }},
            {"preview", [&] { form.ImportWithPreviewAction->trigger(); }},
        };
        Dialogs::TakeShown();
        commands[command]();
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].kind, kind);
        QCOMPARE(shown[0].caption, caption);
        QCOMPARE(shown[0].start.folder, QDir::toNativeSeparators(m_dir.filePath("Папка")));
        QCOMPARE(shown[0].start.name, QStringLiteral("демо.bcfg"));
        if (command != "Save As")
            return;
        // Save As starts next time at the name chosen in it.
        Dialogs::SetNextFileName(m_dir.filePath("Другая/копия"));
        QVERIFY(QDir(m_dir.path()).mkdir("Другая"));
        commands[command]();
        Dialogs::TakeShown();
        commands[command]();
        const Dialogs::Start again = Dialogs::TakeShown().value(0).start;
        QCOMPARE(again.folder, QDir::toNativeSeparators(m_dir.filePath("Другая")));
        QCOMPARE(again.name, QStringLiteral("копия.bcfg"));
    }

    void saveWritesToTheFieldName()
    {
        auto [form, path] = m_window.open(m_dir, "save.bcfg", sample().bytes());
        auto* size = kit::record(form, "Size");
        size->MarkModified();
        form.FormPaint();
        QVERIFY(state(form) == Changed);
        // A level that holds no changed record keeps the tree's colour.
        QCOMPARE(drawn(form, entry(form, "Colours"), false).text,
                 form.TreeView1->palette().color(QPalette::Text));

        QTest::mouseClick(form.Button1, Qt::LeftButton);

        QVERIFY(Dialogs::TakeShown().isEmpty());
        QCOMPARE(kit::read(path), form.CurrentDoc()->Serialize());
        QVERIFY(!size->Modified);
        QVERIFY(state(form) == Loaded);
    }

    void saveFailureKeepsTheChanges()
    {
        auto [form, path] = m_window.open(m_dir, "gone/fail.bcfg", sample().bytes());
        form.CurrentDoc()->Record(0)->MarkModified();
        form.FormPaint();
        // A folder where the file was: nothing may be written there. (Removing the file's folder
        // fails no save under Wine while a watch holds the folder: it is gone only once the
        // handle closes.)
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));

        Dialogs::SetNextChoice(0); // Overwrite, when asked about what is there now
        QTest::mouseClick(form.Button1, Qt::LeftButton);

        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QVERIFY2(errorText(shown).startsWith("Cannot create file \""),
                 qPrintable(shown.isEmpty() ? QStringLiteral("no box")
                                            : shown.last().kind + ": " + shown.last().text));
        QVERIFY(form.CurrentDoc()->Modified);
        QVERIFY(state(form) == Changed);
    }

    void saveAs_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("no dot") << "new"
                                << "new.bcfg";
        QTest::newRow("own extension") << "new.cfg"
                                       << "new.cfg";
        QTest::newRow("dot in a directory") << "d.x/new"
                                            << "d.x/new";
    }
    void saveAs()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QDir(m_dir.path()).mkpath("d.x");
        QVERIFY(!m_dir.path().contains('.'));
        auto [form, path] = m_window.open(m_dir, "orig.bcfg", sample().bytes());
        form.CurrentDoc()->Record(0)->MarkModified();

        Dialogs::SetNextFileName(m_dir.filePath(chosen));
        QTest::mouseClick(form.Button2, Qt::LeftButton);

        QCOMPARE(kit::read(m_dir.filePath(written)), sample().bytes());
        QCOMPARE(form.LMDFileOpenEdit1->text(), path);
        QVERIFY(state(form) == Loaded);

        // The dialog offers the name written last; Save still writes to the field's name.
        Dialogs::TakeShown();
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QCOMPARE(Dialogs::TakeShown().value(0).text, m_dir.filePath(written));
        QFile::remove(m_dir.filePath(written));
        form.CurrentDoc()->Record(0)->MarkModified();
        form.FormPaint();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QVERIFY(!QFile::exists(m_dir.filePath(written)));
        QVERIFY(!form.CurrentDoc()->Modified);
    }

    void saveAsConfirmsTheNameItCompleted()
    {
        const QString path = write(m_dir, "src.bcfg", sample().bytes());
        const QString target = write(m_dir, "exists.bcfg", "old");
        TForm1& form = m_window.start({path});
        form.CurrentDoc()->Record(0)->MarkModified();

        Dialogs::SetNextFileName(m_dir.filePath("exists"));
        Dialogs::SetNextAnswer(Dialogs::Answer::No);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].kind, QStringLiteral("confirm"));
        QCOMPARE(shown[1].caption, QStringLiteral("Confirm Save As"));
        QCOMPARE(shown[1].text,
                 QStringLiteral("exists.bcfg already exists.\nDo you want to replace it?"));
        QCOMPARE(kit::read(target), QByteArray("old"));
        QVERIFY(form.CurrentDoc()->Modified);

        Dialogs::SetNextFileName(m_dir.filePath("exists"));
        Dialogs::SetNextAnswer(Dialogs::Answer::Yes);
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QCOMPARE(kit::read(target), sample().bytes());
        QVERIFY(!form.CurrentDoc()->Modified);

        // A failing Save As keeps the marks.
        form.CurrentDoc()->Record(0)->MarkModified();
        Dialogs::TakeShown();
        Dialogs::SetNextFileName(m_dir.filePath("nowhere/x.bcfg"));
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QVERIFY(errorText(Dialogs::TakeShown()).startsWith("Cannot create file \""));
        QVERIFY(form.CurrentDoc()->Modified);
    }

    void closeQuery_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("byCloseBox");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("closes");
        QTest::newRow("modified, No")
            << true << int(Dialogs::Answer::No) << false << true << false << true;
        QTest::newRow("modified, Yes")
            << true << int(Dialogs::Answer::Yes) << false << true << true << true;
        QTest::newRow("close box, Yes")
            << true << int(Dialogs::Answer::Yes) << true << true << true << true;
        QTest::newRow("question dismissed")
            << true << int(Dialogs::Answer::Cancel) << false << true << false << false;
        QTest::newRow("close box, question dismissed")
            << true << int(Dialogs::Answer::Cancel) << true << true << false << false;
        QTest::newRow("unmodified")
            << false << int(Dialogs::Answer::Yes) << false << false << false << true;
    }
    void closeQuery()
    {
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(bool, byCloseBox);
        QFETCH(bool, asked);
        QFETCH(bool, saved);
        QFETCH(bool, closes);
        auto [form, path] = m_window.open(m_dir, "close.bcfg", sample().bytes());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto* size = static_cast<TBcfgRec0103*>(kit::record(form, "Size"));
        if (modified) {
            size->Value = 6;
            size->MarkModified();
        }

        Dialogs::SetNextAnswer(Dialogs::Answer(answer));
        if (byCloseBox)
            form.windowHandle()->close();
        else
            QTest::mouseClick(form.Button3, Qt::LeftButton);

        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(!shown.isEmpty(), asked);
        if (asked) {
            QCOMPARE(shown[0].caption, QStringLiteral("Confirm"));
            QCOMPARE(shown[0].text, QStringLiteral("Save file before exit?"));
        }
        QCOMPARE(form.isVisible(), !closes);
        QCOMPARE(kit::read(path) == sample().bytes(), !saved);
        if (!closes) {
            QCOMPARE(form.CurrentDoc()->Modified, modified);
            QCOMPARE(size->Value, 6u);
        }
    }

    void closeStaysOpenWhenTheSaveFails()
    {
        auto [form, path] = m_window.open(m_dir, "gone/stay.bcfg", sample().bytes());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.CurrentDoc()->Record(0)->MarkModified();
        QVERIFY(QDir(m_dir.filePath("gone")).removeRecursively());

        Dialogs::SetNextAnswer(Dialogs::Answer::Yes);
        QTest::mouseClick(form.Button3, Qt::LeftButton);

        QVERIFY(errorText(Dialogs::TakeShown()).startsWith("Cannot create file \""));
        QVERIFY(form.isVisible());
        QVERIFY(form.CurrentDoc()->Modified);
    }

    void realBoxesLookAsSpecifiedByTheProgram()
    {
        auto [form, path] = m_window.open(m_dir, "lost/boxes.bcfg", sample().bytes());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.CurrentDoc()->Record(0)->MarkModified();

        struct Seen {
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::NoIcon;
            QMessageBox::StandardButtons buttons;
            bool captionFits = false; // wide enough for its whole caption
        };
        QList<Seen> seen;
        const auto record = [&seen](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box)
                seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                             box->width() >= Dialogs::CaptionWidth(*box)});
            return box;
        };
        const auto answer = [record](QMessageBox::StandardButton button) {
            return [record, button](QWidget* modal) {
                if (QMessageBox* box = record(modal))
                    box->button(button)->click();
            };
        };
        const auto escape = [record](QWidget* modal) {
            if (QMessageBox* box = record(modal))
                QTest::keyClick(box, Qt::Key_Escape);
        };
        const auto closeBox = [record](QWidget* modal) {
            if (QMessageBox* box = record(modal))
                box->windowHandle()->close();
        };
        Dialogs::SetTestMode(false);
        {
            // Esc and the close box keep the window; Yes with a save that fails keeps it too;
            // only No closes it.
            QVERIFY(QDir(m_dir.filePath("lost")).removeRecursively());
            ModalPlayer player({escape, closeBox, answer(QMessageBox::Yes), answer(QMessageBox::Ok),
                                answer(QMessageBox::No)});
            QVERIFY(!form.close());
            QVERIFY(form.CurrentDoc()->Modified);
            QVERIFY(!form.close());
            QVERIFY(!form.close());
            QVERIFY(form.close());
        }
        Dialogs::SetTestMode(true);

        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen[1].text, QStringLiteral("Save file before exit?"));
        QCOMPARE(seen[2].text, QStringLiteral("Save file before exit?"));
        seen.remove(0, 2);
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen[0].title, QStringLiteral("Confirm"));
        QCOMPARE(seen[0].text, QStringLiteral("Save file before exit?"));
        QCOMPARE(seen[0].icon, QMessageBox::Question);
        QCOMPARE(seen[0].buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(seen[1].title, QStringLiteral("Редактор bcfg-файлов"));
        QVERIFY(seen[1].text.startsWith("Cannot create file \""));
        QVERIFY(seen[1].text.endsWith('.'));
        QCOMPARE(seen[1].icon, QMessageBox::Critical);
        QCOMPARE(seen[1].buttons, QMessageBox::Ok);
        QVERIFY(seen[1].captionFits);
        QCOMPARE(seen[2].title, QStringLiteral("Confirm"));

        // A question with buttons of its own: Esc is its cancel button, the others answer.
        const auto clickSecond = [record](QWidget* modal) {
            if (QMessageBox* box = record(modal))
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == QStringLiteral("Save As…"))
                        button->click();
        };
        const QStringList buttons{"Overwrite", "Save As…", "Cancel"};
        Dialogs::SetTestMode(false);
        {
            ModalPlayer player({escape, clickSecond});
            QCOMPARE(Dialogs::Choose(&form, "Changed", "Overwrite it?", buttons, 2), -1);
            QCOMPARE(Dialogs::Choose(&form, "Changed", "Overwrite it?", buttons, 2), 1);
        }
        Dialogs::SetTestMode(true);
        QCOMPARE(seen.size(), 5);
        QCOMPARE(seen[4].icon, QMessageBox::Question);
        QVERIFY(seen[4].captionFits);
    }

    void expandAndCollapseEverySection()
    {
        auto [form, path] = m_window.open(m_dir, "tree.bcfg", sample().bytes());
        kit::Entry colours = entry(form, "Colours");
        kit::Entry inner = entry(form, "Inner");
        QVERIFY(!colours->isExpanded() && !inner->isExpanded());

        QTest::mouseClick(form.Button5, Qt::LeftButton);
        QVERIFY(colours->isExpanded() && inner->isExpanded());

        QTest::mouseClick(form.Button6, Qt::LeftButton);
        QVERIFY(!colours->isExpanded() && !inner->isExpanded());
    }

    void entryColours()
    {
        auto [form, path] = m_window.open(m_dir, "colours.bcfg",
                                          BcfgBuilder()
                                              .levelBegin("Level")
                                              .integer(1, "Both", 0, 9, 1)
                                              .levelEnd()
                                              .integer(1, "Changed", 0, 9, 1)
                                              .integer(1, "Imported", 0, 9, 1)
                                              .integer(1, "Plain", 0, 9, 1)
                                              .bytes());
        kit::record(form, "Both")->MarkImported();
        kit::record(form, "Both")->MarkModified();
        kit::record(form, "Changed")->MarkModified();
        kit::record(form, "Imported")->MarkImported();
        const QPalette palette = form.TreeView1->palette();

        struct Row {
            const char* label;
            QColor normal, selected;
        };
        const Row rows[] = {
            {"Level", {192, 0, 0}, {255, 160, 160}},
            {"Both", {192, 0, 0}, {255, 160, 160}},
            {"Changed", {192, 0, 0}, {255, 160, 160}},
            {"Imported", {0, 0, 255}, {160, 160, 255}},
            {"Plain", palette.color(QPalette::Text), palette.color(QPalette::HighlightedText)},
        };
        // Contrast as the accessibility guidelines define it, from relative luminances.
        const auto contrast = [](const QColor& a, const QColor& b) {
            const auto luminance = [](const QColor& c) {
                double sum = 0;
                const double weights[] = {0.2126, 0.7152, 0.0722};
                const double channels[] = {c.redF(), c.greenF(), c.blueF()};
                for (int i = 0; i < 3; ++i)
                    sum += weights[i] * (channels[i] <= 0.04045
                                             ? channels[i] / 12.92
                                             : std::pow((channels[i] + 0.055) / 1.055, 2.4));
                return sum;
            };
            const double la = luminance(a), lb = luminance(b);
            return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
        };
        for (const Row& row : rows) {
            kit::Entry item = entry(form, row.label);
            QCOMPARE(drawn(form, item, false).text, row.normal);
            QCOMPARE(drawn(form, item, true).text, row.selected);
            QVERIFY(!drawn(form, item, false).background.isValid());
            // A selected entry is readable on the tree's highlight, focused or not.
            for (const auto group : {QPalette::Active, QPalette::Inactive}) {
                const double ratio =
                    contrast(row.selected, palette.color(group, QPalette::Highlight));
                QVERIFY2(ratio >= 4.5,
                         qPrintable(QStringLiteral("%1: %2:1").arg(row.label).arg(ratio)));
            }
        }
    }

    void stateFollowsTheDocumentAtEveryRepaint()
    {
        const QString path = write(m_dir, "state.bcfg", sample().bytes());
        TForm1& form = m_window.start();
        QVERIFY(state(form) == NoDocument);
        form.LMDFileOpenEdit1->setText(path);
        QVERIFY(state(form) == Loaded);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        // A change made behind the window's back shows at its next repaint.
        form.CurrentDoc()->Record(0)->MarkModified();
        form.repaint();
        QVERIFY(state(form) == Changed);

        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QVERIFY(state(form) == Loaded);
        QVERIFY(form.Label2->isHidden());
    }

    void dpiScaling_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QSize>("size");
        QTest::newRow("96") << 96 << QSize(496, 518);
        QTest::newRow("below 96 stays") << 72 << QSize(496, 518);
        QTest::newRow("120, half to even") << 120 << QSize(620, 648);
        QTest::newRow("144") << 144 << QSize(744, 777);
        QTest::newRow("100, half to even") << 100 << QSize(517, 540);
    }
    void dpiScaling()
    {
        QFETCH(int, dpi);
        QFETCH(QSize, size);
        QCOMPARE(TForm1::DpiScaledSize(TForm1::DesignOuterSize(), dpi), size);
    }

    void anchorsFollowTheWindowSize()
    {
        TForm1& form = m_window.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(TForm1::DesignClientSize());
        QCOMPARE(form.TreeView1->geometry(), QRect(8, 40, 365, 436));
        QCOMPARE(form.Button5->geometry(), QRect(388, 455, 41, 21));

        form.resize(TForm1::DesignClientSize() + QSize(100, 60));
        QCOMPARE(form.LMDFileOpenEdit1->geometry(), QRect(112, 8, 361, 22));
        QCOMPARE(form.Label2->geometry().topLeft(), QPoint(491, 12));
        QCOMPARE(form.TreeView1->geometry(), QRect(8, 40, 465, 496));
        QCOMPARE(form.Button1->geometry(), QRect(488, 48, 89, 33));
        QCOMPARE(form.Button3->geometry(), QRect(488, 353, 89, 33));
        QCOMPARE(form.Button6->geometry(), QRect(536, 515, 41, 21));
        QCOMPARE(form.Label7->geometry().topLeft(), QPoint(384, 408));
        QCOMPARE(form.Panel1->geometry(), QRect(80, 208, 233, 73));

        form.resize(100, 100);
        QVERIFY(form.width() >= 320 - 8 && form.height() >= 460 - 27);
    }

    void tabOrder()
    {
        auto [form, path] = m_window.open(m_dir, "tab.bcfg", sample().bytes());
        form.CurrentDoc()->Record(0)->MarkModified();
        form.FormPaint();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.LMDFileOpenEdit1->setFocus();

        QStringList order;
        for (int i = 0; i < 9; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"TreeView1", "Button1", "Button2", "Button3", "Button4",
                                     "Button5", "Button6", "Button7", "Edit"}));
    }

    void diagnosticLabel()
    {
        auto [form, path] = m_window.open(m_dir, "diag.bcfg",
                                          BcfgBuilder()
                                              .integer(3, "Twice", quint32(-5), 5, quint32(-1))
                                              .integer(1, "Twice", 0, 4000000000u, 7)
                                              .raw(BcfgBuilder::le32(0x20))
                                              .bytes());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const auto click = [&form](const QString& label) {
            kit::Entry item = entry(form, label);
            QTest::mouseClick(form.TreeView1->viewport(), Qt::LeftButton, {},
                              form.TreeView1->visualRect(item).center());
        };

        click("Twice - [ -1");
        QCOMPARE(form.Label7->text(), QStringLiteral("-5 5 0"));
        click("Twice - [ 7");
        QCOMPARE(form.Label7->text(), QStringLiteral("0 -294967296 1"));
        click("Unknown Block");
        QCOMPARE(form.Label7->text(), QStringLiteral("0 -294967296 1"));
        QVERIFY(form.Label7->isHidden());
    }

    void positionIsRestoredOnceTheWindowRuns()
    {
        QMap<QString, int> stored{{"Position/Top", 100}, {"Position/Width", 100}};
        QStringList reads;
        TForm1 form;
        form.SetSettings({[&](const QString& section, const QString& key, int fallback) {
                              reads << key;
                              return stored.value(section + '/' + key, fallback);
                          },
                          {}});
        form.FormCreate({});
        // Centred at the design size until the stored values apply.
        const int centredLeft =
            form.screen()->availableGeometry().center().x() - TForm1::DesignOuterSize().width() / 2;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(!form.PositionRestorePending());

        QCOMPARE(reads, (QStringList{"Top", "Left", "Height", "Width"}));
        QCOMPARE(form.frameGeometry().top(), 100);
        QCOMPARE(form.frameGeometry().left(), centredLeft);
        QCOMPARE(form.height(), TForm1::DesignClientSize().height());
        // 100 is below the minimum outer width.
        QCOMPARE(form.frameGeometry().width(), TForm1::MinimumOuterSize().width());

        // The timer does not run again.
        reads.clear();
        QTest::qWait(20);
        QVERIFY(reads.isEmpty());
    }

    void restoredPlacement_data()
    {
        QTest::addColumn<qint64>("top");
        QTest::addColumn<qint64>("left");
        QTest::addColumn<qint64>("height");
        QTest::addColumn<qint64>("width");
        QTest::addColumn<QRect>("expected"); // empty: design size, centred
        const qint64 big = std::numeric_limits<int>::max();
        const qint64 small = std::numeric_limits<int>::min();
        QTest::newRow("as saved") << qint64(100) << qint64(50) << qint64(500) << qint64(400)
                                  << QRect(50, 100, 400, 500);
        QTest::newRow("below the minimum size")
            << qint64(0) << qint64(0) << qint64(10) << qint64(10) << QRect(0, 0, 320, 460);
        QTest::newRow("taller than the desktop")
            << qint64(0) << qint64(0) << big << big << QRect(0, 0, 2100, 1000);
        QTest::newRow("partly off the desktop") << qint64(-300) << qint64(1200) << qint64(500)
                                                << qint64(400) << QRect(1200, -300, 400, 500);
        QTest::newRow("just off the right edge")
            << qint64(0) << qint64(2100) << qint64(500) << qint64(400) << QRect();
        QTest::newRow("below the smaller screen")
            << qint64(600) << qint64(1400) << qint64(500) << qint64(400) << QRect();
        QTest::newRow("at the end of the range") << big << big << big << big << QRect();
        QTest::newRow("at the start of the range") << small << small << small << small << QRect();
        QTest::newRow("wrapping onto the screen")
            << qint64(0) << big - 100 << qint64(500) << qint64(400) << QRect();
        QTest::newRow("on the second screen") << qint64(10) << qint64(1400) << qint64(500)
                                              << qint64(400) << QRect(1400, 10, 400, 500);
    }
    void restoredPlacement()
    {
        QFETCH(qint64, top);
        QFETCH(qint64, left);
        QFETCH(qint64, height);
        QFETCH(qint64, width);
        QFETCH(QRect, expected);
        const QList<QRect> screens{{0, 0, 1280, 1000}, {1300, 0, 800, 600}};
        const auto restored = WindowPlacement::Restored({top, left, height, width},
                                                        TForm1::MinimumOuterSize(), screens);
        QCOMPARE(restored.value_or(QRect()), expected);
    }

    void positionOffEveryScreenGivesTheDesignSize()
    {
        const int end = std::numeric_limits<int>::max();
        QMap<QString, int> stored{{"Position/Top", end},
                                  {"Position/Left", end},
                                  {"Position/Height", end},
                                  {"Position/Width", end}};
        TForm1 form;
        form.SetSettings(readingFrom(stored));
        form.FormCreate({});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(0, 0); // the restore must bring it back to the middle
        QTRY_VERIFY(!form.PositionRestorePending());
        const QRect available = form.screen()->availableGeometry();
        QCOMPARE(form.frameGeometry().size(), TForm1::DesignOuterSize());
        QVERIFY(qAbs(form.frameGeometry().center().x() - available.center().x()) <= 1);
        QVERIFY(qAbs(form.frameGeometry().center().y() - available.center().y()) <= 1);
    }

    void restoreWaitsForTheWindowWhenABoxComesFirst()
    {
        QMap<QString, int> stored{{"Position/Top", 20},
                                  {"Position/Left", 30},
                                  {"Position/Height", 600},
                                  {"Position/Width", 500}};
        TForm1 form;
        form.SetSettings(readingFrom(stored));
        // A failed command-line open shows its box before the window: its event loop runs the
        // timer while the window is still hidden.
        Dialogs::SetTestMode(false);
        {
            ModalPlayer player({[&form](QWidget* modal) {
                QTRY_VERIFY(!form.Timer1->isActive());
                qobject_cast<QDialog*>(modal)->accept();
            }});
            form.FormCreate({QStringLiteral("missing")});
            QCOMPARE(player.seen(), 1);
        }
        Dialogs::SetTestMode(true);
        QVERIFY(form.PositionRestorePending());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(!form.PositionRestorePending());
        // The saved outer frame becomes the outer frame, not the client area.
        QCOMPARE(form.frameGeometry(), QRect(30, 20, 500, 600));
    }

    void savePositionWritesTheOuterBounds()
    {
        QStringList written;
        QString failAt;
        TForm1 form;
        form.SetSettings({{}, [&](const QString& section, const QString& key, int value) {
                              if (key == failAt)
                                  throw BcfgError("Unable to write to /x/Parvane.ini");
                              written << QStringLiteral("%1/%2=%3").arg(section, key).arg(value);
                          }});
        form.FormCreate({});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.move(40, 30);
        QTRY_COMPARE(form.frameGeometry().topLeft(), QPoint(40, 30));
        const QRect outer = form.frameGeometry();

        // Right mouse button on the window, then the menu's only item.
        QStringList menuItems;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &form, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            poll.stop();
            for (QAction* action : menu->actions())
                menuItems << action->text();
            menu->actions().constFirst()->trigger();
            menu->close();
        });
        poll.start(5);
        const QPoint onLabel = form.Label5->rect().center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, onLabel,
                                form.Label5->mapToGlobal(onLabel));
        QApplication::sendEvent(form.Label5, &click);
        QCOMPARE(menuItems, QStringList{"Save position"});
        QCOMPARE(written, (QStringList{"Position/Top=30", "Position/Left=40",
                                       QStringLiteral("Position/Height=%1").arg(outer.height()),
                                       QStringLiteral("Position/Width=%1").arg(outer.width())}));
        QVERIFY(Dialogs::TakeShown().isEmpty());

        written.clear();
        failAt = QStringLiteral("Left");
        form.SavePosition->trigger();
        QCOMPARE(written, QStringList{"Position/Top=30"});
        QCOMPARE(errorText(Dialogs::TakeShown()),
                 QStringLiteral("Unable to write to /x/Parvane.ini."));
    }

    void startUpWiresTheSettingsFileAndTheHelpWindow()
    {
        const QString ini = IniFile::PathForExecutable(QCoreApplication::applicationFilePath());
        QFile::remove(ini);
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Position]\r\nTop=100\r\nLeft=0x20\r\n");
        }
        {
            AppWindows windows({});
            TForm1& form = *windows.main();
            form.show();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QTRY_VERIFY(!form.PositionRestorePending());
            QCOMPARE(form.frameGeometry().topLeft(), QPoint(32, 100));

            form.SavePosition->trigger();
            const QRect outer = form.frameGeometry();
            IniFile settings(ini);
            QCOMPARE(settings.ReadInteger("Position", "Width", 0), outer.width());
            QCOMPARE(settings.ReadInteger("Position", "Height", 0), outer.height());

            QString shown;
            ModalPlayer player({[&shown](QWidget* modal) {
                shown = QString::fromLatin1(modal->metaObject()->className());
                QTest::mouseClick(qobject_cast<TForm2*>(modal)->Button1, Qt::LeftButton);
            }});
            QTest::mouseClick(form.Button7, Qt::LeftButton);
            QCOMPARE(shown, QStringLiteral("TForm2"));
            QVERIFY(form.isVisible());
        }
        QFile::remove(ini);
    }

    void inputDuringAnOpenIsSwallowed()
    {
        const QString path = write(m_dir, "busy.bcfg", sample().bytes());
        TForm1& form = m_window.start();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        bool ranDuringOpen = false;
        bool closed = true;
        QTimer::singleShot(0, &form, [&] {
            ranDuringOpen = form.Busy();
            QTest::keyClick(form.LMDFileOpenEdit1->lineEdit(), Qt::Key_X);
            closed = form.close();
        });

        form.LMDFileOpenEdit1->setText(path);

        QVERIFY(ranDuringOpen);
        QVERIFY(!closed);
        QCOMPARE(form.LMDFileOpenEdit1->text(), path);
        QVERIFY(form.CurrentDoc());
        QVERIFY(!form.Busy());
        QVERIFY(Dialogs::TakeShown().isEmpty());
    }
};

QTEST_MAIN(TestTForm1)
#include "tst_tform1.moc"
