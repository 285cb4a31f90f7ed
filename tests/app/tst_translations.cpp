#include "tst_tform1_kit.h"

#include "CompareWindow.h"
#include "DiskChangeBar.h"
#include "EntryMenu.h"
#include "FindBar.h"
#include "RecordDetails.h"
#include "TForm2.h"
#include "Translations.h"

#include <QAction>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QTabWidget>

// The program under a Russian locale, as start-up installs it: what goes beyond the design
// is in Russian, the design's own texts are as the design gives them.
class TestTranslations : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        kit::startUp();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        QVERIFY(InstallTranslations());
    }
    void cleanupTestCase()
    {
        QLocale::setDefault(QLocale::c());
        InstallTranslations();
    }

    void theProgramSpeaksRussianAroundTheDesign()
    {
        const QString path =
            kit::write(m_dir, "ru.bcfg", BcfgBuilder().integer(1, "Size", 0, 100, 5).bytes());
        TForm1 form;
        form.FormCreate({path});
        QVERIFY(kit::showWithTreeFocus(form));
        kit::Entry item = kit::entry(form, "Size");
        form.TreeView1->setCurrentIndex(item);

        EntryMenu menu(form);
        QCOMPARE(menu.EditAction->text() + '\t' +
                     menu.EditAction->shortcut().toString(QKeySequence::NativeText),
                 QStringLiteral("Изменить\tEnter"));
        QCOMPARE(menu.CopyValueAction->text(), QStringLiteral("Копировать значение"));
        QCOMPARE(menu.CopyPathAction->text(), QStringLiteral("Копировать путь"));
        QCOMPARE(form.CompareWithFileAction->text(), QStringLiteral("Сравнить с файлом..."));
        // An entry's tool tip, written in document/.
        QVERIFY(
            RecordDetails::Of(*kit::record(form, "Size"))
                .startsWith(QStringLiteral("целое без знака\nдиапазон: 0 .. 100\nпуть: Size\n")));

        form.ShowFindBar();
        auto* bar = form.findChild<FindBar*>();
        QTest::keyClicks(bar->Field(), QStringLiteral("zzz"));
        QCOMPARE(bar->Status(), QStringLiteral("не найдено"));
        QTest::keyClick(bar->Field(), Qt::Key_Escape);

        // The bar about a change on disk, and Save's question after one.
        QCOMPARE(form.DiskBar()->ReloadButton()->text(), QStringLiteral("Перечитать"));
        form.CurrentDoc()->Record(0)->MarkModified();
        form.FormPaint();
        QVERIFY(kit::write(m_dir, "ru.bcfg", BcfgBuilder().integer(1, "Size", 0, 100, 6).bytes())
                    .endsWith("ru.bcfg"));
        QTRY_VERIFY(form.DiskBar()->isVisible());
        QCOMPARE(form.DiskBar()->Text()->text(),
                 QStringLiteral("Файл ru.bcfg изменён другой программой."));
        Dialogs::TakeShown();
        QTest::mouseClick(form.Button1, Qt::LeftButton); // dismissed: nothing is written
        const Dialogs::Shown overwrite = Dialogs::TakeShown().value(0);
        QCOMPARE(overwrite.caption, QStringLiteral("Файл изменён на диске"));
        QVERIFY(overwrite.text.startsWith(QStringLiteral("Файл ru.bcfg был изменён")));
        QTest::mouseClick(form.DiskBar()->IgnoreButton(), Qt::LeftButton);

        CompareWindow compare(path, {}, &form);
        QCOMPARE(compare.windowTitle(), QStringLiteral("Сравнение с ru.bcfg"));
        // Qt's own texts follow, where the system has their translation.
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                          QStringLiteral("/qtbase_ru.qm")))
            QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Да"));

        // The design's texts stay as they are.
        QCOMPARE(form.windowTitle(), QStringLiteral("Parvane"));
        QCOMPARE(form.Label1->text(), QStringLiteral("BCFG File:"));
        QCOMPARE(form.Label2->text(), QStringLiteral("* Changed *"));
        QCOMPARE(form.Button1->text(), QStringLiteral("Save"));
        QCOMPARE(form.Button2->toolTip(), QStringLiteral("Сохранить файл под другим именем"));
        QCOMPARE(form.Button4->text(), QStringLiteral("Import"));
        QCOMPARE(form.Button7->text(), QStringLiteral("Help"));
        QCOMPARE(form.Label6->text(), QStringLiteral("Import, please wait..."));
        QCOMPARE(form.SavePosition->text(), QStringLiteral("Save position"));
        QCOMPARE(ApplicationTitle(), QStringLiteral("Редактор bcfg-файлов"));
        TForm2 help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Parvane Help"));
        QCOMPARE(help.PageControl1->tabText(1), QStringLiteral("English"));
        QCOMPARE(help.Memo2->toPlainText(), TForm2::EnglishText());

        Dialogs::TakeShown();
        form.CurrentDoc()->Record(0)->MarkModified();
        Dialogs::SetNextAnswer(Dialogs::Answer::No);
        QVERIFY(form.close());
        form.LMDFileOpenEdit1->setText(m_dir.filePath("absent.bcfg"));
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.value(0).caption, QStringLiteral("Confirm"));
        QCOMPARE(shown.value(0).text, QStringLiteral("Save file before exit?"));
        QVERIFY(shown.value(1).text.startsWith(QStringLiteral("Cannot open file \"")));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
