#include "tst_tform1_kit.h"

#include "CompareWindow.h"
#include "DifferenceModel.h"
#include "DifferenceView.h"
#include "ImportPreviewWindow.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QUndoStack>

using kit::entry;
using kit::write;

namespace {

BcfgBuilder current()
{
    return BcfgBuilder()
        .levelBegin("L")
        .integer(1, "Size", 0, 100, 5)
        .checkBox("Flag", 0)
        .text(6, "Pass", 7, "abc")
        .levelEnd()
        .integer(1, "Alone", 0, 9, 1)
        .time("Alarm", 7, 30)
        .integer(1, "Same", 0, 9, 3);
}

BcfgBuilder other()
{
    return BcfgBuilder()
        .levelBegin("L")
        .integer(1, "Size", 0, 100, 50)
        .checkBox("Flag", 1)
        .text(6, "Pass", 7, "xyz")
        .levelEnd()
        .integer(1, "Alone", 0, 99, 99) // above this file's Max: refused
        .time("Alarm", 8, 30)
        .integer(1, "Same", 0, 9, 3) // taken over unchanged: not listed, yet marked Imported
        .integer(1, "Extra", 0, 9, 1);
}

// Upgrading: the older version's own file, the user's file made from it and the new
// version's own file. The user changed User, the new version Default, both changed Both;
// the new version dropped Dropped (never changed) and Mine (changed), and added Added.
BcfgBuilder upgradeFile(quint32 user, quint32 defaultValue, quint32 both, bool newVersion)
{
    BcfgBuilder b;
    b.levelBegin("L")
        .integer(1, "User", 0, 9, user)
        .integer(1, "Default", 0, 9, defaultValue)
        .integer(1, "Both", 0, 9, both);
    if (newVersion)
        return b.integer(1, "Added", 0, 9, 4).levelEnd();
    return b.levelEnd().integer(1, "Dropped", 0, 9, 7).integer(1, "Mine", 0, 9, user == 2 ? 8 : 7);
}

QStringList column(const QAbstractItemModel& model, int column)
{
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells << model.index(row, column).data().toString();
    return cells;
}

// The proxy row whose path is path.
QModelIndex rowOf(const QAbstractItemModel& model, const QString& path, int column)
{
    for (int row = 0; row < model.rowCount(); ++row)
        if (model.index(row, DifferenceModel::PathColumn).data() == path)
            return model.index(row, column);
    return {};
}

// Where the check box of a cell is drawn, as the view's delegate lays it out.
QPoint checkBoxAt(QTableView* table, const QModelIndex& index)
{
    QStyleOptionViewItem option;
    option.initFrom(table->viewport());
    option.rect = table->visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return table->style()
        ->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, table)
        .center();
}

} // namespace

class TestCompareWindows : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<TForm1> m_form;
    QByteArray m_bytes;

    bool open()
    {
        m_bytes = current().bytes();
        m_form = std::make_unique<TForm1>();
        m_form->FormCreate({write(m_dir, "current.bcfg", m_bytes)});
        Dialogs::SetNextFileName(write(m_dir, "other.bcfg", other().bytes()));
        return kit::showWithTreeFocus(*m_form);
    }
    void verifyUntouched()
    {
        QCOMPARE(m_form->CurrentDoc()->Serialize(), m_bytes);
        for (const auto& rec : m_form->CurrentDoc()->Records())
            QVERIFY(!rec->Modified && !rec->Imported);
        QVERIFY(m_form->Label2->isHidden());
    }

private slots:
    void initTestCase() { kit::startUp(); }
    void init() { Dialogs::TakeShown(); }
    void cleanup() { m_form.reset(); }

    void compareListsSortsFiltersAndSelects()
    {
        QVERIFY(open());
        // The shortcuts add nothing to the window's own context menu.
        QCOMPARE(m_form->actions(), QList<QAction*>{m_form->SavePosition});
        m_form->TreeView1->collapseAll();
        QStringList paths, kinds, sorted, refused, currentValues, filters, colours;
        QString title, tip;
        ModalPlayer player({[&](QWidget* modal) {
            auto* window = qobject_cast<CompareWindow*>(modal);
            QVERIFY(window);
            QTableView* table = window->View()->Table();
            const QAbstractItemModel& shown = *table->model();
            title = window->windowTitle();
            for (int i = 0; i < window->View()->KindFilter()->count(); ++i)
                filters << window->View()->KindFilter()->itemText(i);
            for (const char* path : {"L/Size", "Alone"}) {
                QStringList cells;
                for (const int c : {DifferenceModel::ChangeColumn, DifferenceModel::PathColumn,
                                    DifferenceModel::OtherColumn}) {
                    const QVariant colour = rowOf(shown, path, c).data(Qt::ForegroundRole);
                    cells << (colour.isValid() ? colour.value<QColor>().name() : "-");
                }
                colours << cells.join(' ');
            }
            tip = rowOf(shown, "L/Size", DifferenceModel::CurrentColumn)
                      .data(Qt::ToolTipRole)
                      .toString();
            paths = column(shown, DifferenceModel::PathColumn);
            kinds = column(shown, DifferenceModel::ChangeColumn);
            currentValues = column(shown, DifferenceModel::CurrentColumn);
            QHeaderView* header = table->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(1) + 5, header->height() / 2));
            sorted = column(shown, DifferenceModel::PathColumn);
            QTest::keyClick(window->View()->KindFilter(), Qt::Key_Down);
            QTest::keyClick(window->View()->KindFilter(), Qt::Key_Down);
            refused = column(shown, DifferenceModel::PathColumn);
            QTest::keyClick(window->View()->KindFilter(), Qt::Key_Up);
            QTest::keyClick(window->View()->KindFilter(), Qt::Key_Up);
            const QModelIndex pass = rowOf(shown, "L/Pass", DifferenceModel::OtherColumn);
            // A double click is a press and release, then the double-click press.
            const QPoint at = table->visualRect(pass).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseClick(window->CloseButton(), Qt::LeftButton);
        }});
        QTest::keyClick(m_form->TreeView1, Qt::Key_D, Qt::ControlModifier);

        QCOMPARE(player.seen(), 1);
        const Dialogs::Shown chooser = Dialogs::TakeShown().value(0);
        QCOMPARE(chooser.kind, QStringLiteral("open"));
        QCOMPARE(chooser.caption, QStringLiteral("Compare with file"));
        QCOMPARE(title, QStringLiteral("Compare with other.bcfg"));
        QCOMPARE(filters, (QStringList{"All (6)", "Changed (4)", "Refused (1)", "Only here (0)",
                                       "Only there (1)"}));
        // Changed rows as the tree shows them: the entry modified, the value taken over.
        QCOMPARE(colours, (QStringList{"#c00000 #c00000 #0000ff", "- - -"}));
        QCOMPARE(tip, QStringLiteral("L/Size\nCurrent value: 5\nOther value: 50"));
        QCOMPARE(paths, (QStringList{"L/Size", "L/Flag", "L/Pass", "Alone", "Alarm", "Extra"}));
        QCOMPARE(kinds, (QStringList{"changed", "changed", "changed", "refused", "changed",
                                     "only there"}));
        QCOMPARE(currentValues, (QStringList{"5", "OFF", "***", "1", "7:30", ""}));
        QCOMPARE(sorted, (QStringList{"Alarm", "Alone", "Extra", "L/Flag", "L/Pass", "L/Size"}));
        QCOMPARE(refused, QStringList{"Alone"});
        kit::Entry pass = entry(*m_form, "Pass");
        QCOMPARE(kit::current(*m_form), pass);
        QVERIFY(pass->parent()->isExpanded());
        verifyUntouched();
    }

    // A long value is elided in a column that fits the window, the whole of it in the row's
    // tool tip; the window keeps the size the user gave it.
    void longValuesFitAndTheWindowKeepsItsSize()
    {
        QVERIFY(open());
        const QByteArray long1(120, 'a'), long2 = QByteArray(119, 'a') + 'b';
        Dialogs::TakeShown();
        Dialogs::SetNextFileName(
            write(m_dir, "long.bcfg", current().text(4, "Long", 127, long2).bytes()));
        m_bytes = current().text(4, "Long", 127, long1).bytes();
        m_form->LMDFileOpenEdit1->setText(write(m_dir, "current-long.bcfg", m_bytes));
        QSize firstSize;
        ModalPlayer player(
            {[&](QWidget* modal) {
                 auto* window = qobject_cast<CompareWindow*>(modal);
                 QVERIFY(window);
                 QTableView* table = window->View()->Table();
                 QHeaderView* header = table->horizontalHeader();
                 QVERIFY(header->length() <= table->viewport()->width());
                 const QModelIndex value =
                     rowOf(*table->model(), "Long", DifferenceModel::OtherColumn);
                 QVERIFY(header->sectionSize(DifferenceModel::OtherColumn) <
                         table->fontMetrics().horizontalAdvance(value.data().toString()));
                 QVERIFY(value.data(Qt::ToolTipRole).toString().endsWith(long2));
                 firstSize = window->size();
                 window->resize(firstSize + QSize(90, 50));
                 window->reject();
             },
             [&](QWidget* modal) {
                 QCOMPARE(modal->size(), firstSize + QSize(90, 50));
                 qobject_cast<QDialog*>(modal)->reject();
             }});
        m_form->CompareWithFile();
        Dialogs::SetNextFileName(m_dir.filePath("long.bcfg"));
        m_form->CompareWithFile();
        QCOMPARE(player.seen(), 2);
    }

    // The same values: the window says so instead of showing an empty table.
    void sameValuesAreSaidToBeTheSame()
    {
        QVERIFY(open());
        Dialogs::TakeShown();
        Dialogs::SetNextFileName(write(m_dir, "same.bcfg", m_bytes));
        QString empty;
        bool tableShown = true, importEnabled = true;
        ModalPlayer player({[&](QWidget* modal) {
                                auto* window = qobject_cast<CompareWindow*>(modal);
                                QVERIFY(window);
                                empty = window->View()->EmptyText()->isVisible()
                                            ? window->View()->EmptyText()->text()
                                            : QString();
                                tableShown = window->View()->Table()->isVisible();
                                window->reject();
                            },
                            [&](QWidget* modal) {
                                // The preview: nothing to tick, nothing to import.
                                auto* window = qobject_cast<ImportPreviewWindow*>(modal);
                                QVERIFY(window);
                                importEnabled = window->ImportButton()->isEnabled();
                                window->reject();
                            }});
        m_form->CompareWithFile();
        Dialogs::SetNextFileName(m_dir.filePath("same.bcfg"));
        m_form->ImportWithPreview();
        QCOMPARE(player.seen(), 2);
        QCOMPARE(empty, QStringLiteral("The files hold the same values."));
        QVERIFY(!tableShown);
        QVERIFY(!importEnabled);
    }

    void previewImportsTheTickedRows()
    {
        QVERIFY(open());
        QStringList checkable, others;
        QString title;
        ModalPlayer player({[&](QWidget* modal) {
            auto* window = qobject_cast<ImportPreviewWindow*>(modal);
            QVERIFY(window);
            title = window->windowTitle();
            QTableView* table = window->View()->Table();
            const QAbstractItemModel& shown = *table->model();
            others = column(shown, DifferenceModel::OtherColumn);
            for (int row = 0; row < shown.rowCount(); ++row) {
                const QModelIndex cell = shown.index(row, DifferenceModel::ChangeColumn);
                if (cell.flags() & Qt::ItemIsUserCheckable)
                    checkable << QStringLiteral("%1 %2").arg(
                        cell.sibling(row, DifferenceModel::PathColumn).data().toString(),
                        cell.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "ticked" : "not");
            }
            // Flag: its check box clicked; Alarm: Space; Pass: Space twice.
            const QModelIndex flag = rowOf(shown, "L/Flag", DifferenceModel::ChangeColumn);
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, checkBoxAt(table, flag));
            for (const auto& [path, presses] : {std::pair{"Alarm", 1}, std::pair{"L/Pass", 2}}) {
                QTest::mouseClick(
                    table->viewport(), Qt::LeftButton, {},
                    table->visualRect(rowOf(shown, path, DifferenceModel::PathColumn)).center());
                for (int i = 0; i < presses; ++i)
                    QTest::keyClick(table, Qt::Key_Space);
            }
            QTest::mouseClick(window->ImportButton(), Qt::LeftButton);
        }});
        QTest::keyClick(m_form->TreeView1, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);

        QCOMPARE(player.seen(), 1);
        QCOMPARE(title, QStringLiteral("Import from other.bcfg: preview"));
        QCOMPARE(Dialogs::TakeShown().value(0).caption, QStringLiteral("Import with preview"));
        QCOMPARE(checkable,
                 (QStringList{"L/Size ticked", "L/Flag ticked", "L/Pass ticked", "Alarm ticked"}));
        QCOMPARE(others, (QStringList{"50", "ON", "***", "99", "8:30", "1"}));
        const TBCFGFile& doc = *m_form->CurrentDoc();
        QCOMPARE(doc.Serialize(), BcfgBuilder()
                                      .levelBegin("L")
                                      .integer(1, "Size", 0, 100, 50)
                                      .checkBox("Flag", 0)
                                      .text(6, "Pass", 7, "xyz")
                                      .levelEnd()
                                      .integer(1, "Alone", 0, 9, 1)
                                      .time("Alarm", 7, 30)
                                      .integer(1, "Same", 0, 9, 3)
                                      .bytes());
        // Index: 0 L, 1 Size, 2 Flag, 3 Pass, 4 end, 5 Alone, 6 Alarm, 7 Same (as the
        // design's Import marks a pair it takes over unchanged).
        QStringList marks;
        for (const auto& rec : doc.Records())
            marks << QStringLiteral("%1%2").arg(rec->Modified ? "M" : "-",
                                                rec->Imported ? "I" : "-");
        QCOMPARE(marks, (QStringList{"MI", "MI", "--", "MI", "--", "--", "--", "-I"}));
        QCOMPARE(doc.Record(1)->LabelBeforeImport(), QByteArray("Size - [ 5 ]"));
        QCOMPARE(entry(*m_form, "Size")->text(0), QStringLiteral("Size - [ 50 ]"));
        QCOMPARE(kit::drawn(*m_form, entry(*m_form, "Size"), false).text, QColor(192, 0, 0));
        QVERIFY(!m_form->Label2->isHidden());
        QVERIFY(m_form->Button1->isEnabled());
        // The whole preview import is one step of the history.
        QCOMPARE(m_form->UndoStack()->count(), 1);
        QVERIFY(kit::showWithTreeFocus(*m_form));
        QTest::keyClick(m_form->TreeView1, Qt::Key_Z, Qt::ControlModifier);
        verifyUntouched();
    }

    // Upgrade: each kind of row with its tick, the numbers above the table, the ticked rows
    // taken as one step that Ctrl+Z takes back; without the old original, today's preview.
    void upgradeCarriesOverWhatTheUserChanged()
    {
        m_bytes = upgradeFile(1, 3, 3, true).bytes();
        m_form = std::make_unique<TForm1>();
        m_form->FormCreate({write(m_dir, "new.bcfg", m_bytes)});
        const QString mine = write(m_dir, "old.bcfg", upgradeFile(2, 1, 2, false).bytes());
        const QString base = write(m_dir, "shipped.bcfg", upgradeFile(1, 1, 1, false).bytes());
        QVERIFY(kit::showWithTreeFocus(*m_form));
        Dialogs::SetNextFileName(mine);
        Dialogs::SetNextFileName(base);
        QStringList rows, filters, summaries;
        QString title, dimmed, keptBackground;
        bool importEnabledWithNothingTicked = true;
        {
            ModalPlayer player({[&](QWidget* modal) {
                auto* window = qobject_cast<ImportPreviewWindow*>(modal);
                QVERIFY(window && window->Summary());
                title = window->windowTitle();
                QTableView* table = window->View()->Table();
                const QAbstractItemModel& shown = *table->model();
                for (int row = 0; row < shown.rowCount(); ++row) {
                    const QModelIndex cell = shown.index(row, DifferenceModel::ChangeColumn);
                    const QVariant tick = cell.data(Qt::CheckStateRole);
                    rows
                        << QStringLiteral("%1 %2 %3 -> %4 %5")
                               .arg(
                                   cell.sibling(row, DifferenceModel::PathColumn).data().toString(),
                                   cell.data().toString(),
                                   cell.sibling(row, DifferenceModel::CurrentColumn)
                                       .data()
                                       .toString(),
                                   cell.sibling(row, DifferenceModel::OtherColumn)
                                       .data()
                                       .toString(),
                                   !tick.isValid()               ? "-"
                                   : tick.toInt() == Qt::Checked ? "ticked"
                                                                 : "unticked");
                }
                for (int i = 0; i < window->View()->KindFilter()->count(); ++i)
                    filters << window->View()->KindFilter()->itemText(i);
                const QModelIndex kept = rowOf(shown, "L/Default", DifferenceModel::PathColumn);
                dimmed = kept.data(Qt::ForegroundRole).value<QColor>().name();
                keptBackground = kept.data(Qt::BackgroundRole).value<QColor>().name();
                summaries << window->Summary()->text();
                // Ticking the new default takes the old value after all; unticking keeps it.
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                                  table->visualRect(kept).center());
                QTest::keyClick(table, Qt::Key_Space);
                summaries << window->Summary()->text();
                QTest::keyClick(table, Qt::Key_Space);
                // Nothing ticked: Import is off; the user's changes ticked again.
                for (const char* path : {"L/User", "L/Both"}) {
                    QTest::mouseClick(
                        table->viewport(), Qt::LeftButton, {},
                        table->visualRect(rowOf(shown, path, DifferenceModel::PathColumn))
                            .center());
                    QTest::keyClick(table, Qt::Key_Space);
                }
                importEnabledWithNothingTicked = window->ImportButton()->isEnabled();
                QTest::keyClick(table, Qt::Key_Space);
                QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                                  table->visualRect(rowOf(shown, "L/User", 1)).center());
                QTest::keyClick(table, Qt::Key_Space);
                QTest::mouseClick(window->ImportButton(), Qt::LeftButton);
            }});
            QTest::keyClick(m_form->TreeView1, Qt::Key_U, Qt::ControlModifier);

            QCOMPARE(player.seen(), 1);
        }
        const QList<Dialogs::Shown> asked = Dialogs::TakeShown();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].caption,
                 QStringLiteral("Upgrade: your settings file from the older version"));
        QVERIFY(asked[1].caption.startsWith("Upgrade: the older version's own file"));
        QCOMPARE(title, QStringLiteral("Upgrade from old.bcfg: preview"));
        QCOMPARE(rows,
                 (QStringList{"L/User your change 1 -> 2 ticked",
                              "L/Default new default 3 -> 1 unticked",
                              "L/Both your change 3 -> 2 ticked", "Mine only in your file  -> 8 -",
                              "L/Added new parameter 4 ->  -"}));
        QCOMPARE(filters,
                 (QStringList{"All (5)", "Your changes (2)", "New defaults (1)", "Refused (0)",
                              "Only in your file (1)", "New parameters (1)"}));
        QCOMPARE(dimmed, DifferenceModel::DimmedText().name());
        QCOMPARE(keptBackground, DifferenceModel::KeptBackground().name());
        QCOMPARE(summaries, (QStringList{"2 of your changes carried over, 1 new default kept",
                                         "3 of your changes carried over, 0 new defaults kept"}));
        QVERIFY(!importEnabledWithNothingTicked);
        const TBCFGFile& doc = *m_form->CurrentDoc();
        QCOMPARE(doc.Serialize(), upgradeFile(2, 3, 2, true).bytes());
        QStringList marks;
        for (const auto& rec : doc.Records())
            marks << QStringLiteral("%1%2").arg(rec->Modified ? "M" : "-",
                                                rec->Imported ? "I" : "-");
        QCOMPARE(marks, (QStringList{"MI", "MI", "--", "MI", "--", "--"}));
        QCOMPARE(m_form->UndoStack()->count(), 1);
        QCOMPARE(m_form->UndoStack()->undoText(), QStringLiteral("Import from old.bcfg"));
        QVERIFY(kit::showWithTreeFocus(*m_form));
        QTest::keyClick(m_form->TreeView1, Qt::Key_Z, Qt::ControlModifier);
        verifyUntouched();

        // No old original: today's preview, every value of the user's file; Cancel.
        Dialogs::SetNextFileName(mine);
        ModalPlayer today({[&](QWidget* modal) {
            auto* window = qobject_cast<ImportPreviewWindow*>(modal);
            QVERIFY(window && !window->Summary());
            rows = column(*window->View()->Table()->model(), DifferenceModel::ChangeColumn);
            QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
        }});
        m_form->UpgradeFromOlderVersion();
        QCOMPARE(today.seen(), 1);
        QCOMPARE(rows, (QStringList{"changed", "changed", "changed", "only there", "only there",
                                    "only here"}));
        verifyUntouched();

        // Another add-on's file as the original: asked about, with the number; No stops.
        Dialogs::TakeShown();
        Dialogs::SetNextFileName(mine);
        Dialogs::SetNextFileName(write(m_dir, "another.bcfg", current().bytes()));
        Dialogs::SetNextAnswer(Dialogs::Answer::No);
        m_form->UpgradeFromOlderVersion();
        const QList<Dialogs::Shown> told = Dialogs::TakeShown();
        QCOMPARE(told.size(), 3);
        QCOMPARE(told[2].kind, QStringLiteral("confirm"));
        QVERIFY2(told[2].text.contains("Only 0 of the 5 parameters of your file"),
                 qPrintable(told[2].text));
        QCOMPARE(today.seen(), 1);
        verifyUntouched();
    }

    void cancelledPreviewChangesNothing()
    {
        QVERIFY(open());
        ModalPlayer player({[](QWidget* modal) {
            auto* window = qobject_cast<ImportPreviewWindow*>(modal);
            QVERIFY(window);
            QTest::mouseClick(window->CancelButton(), Qt::LeftButton);
        }});
        m_form->ImportWithPreview();
        QCOMPARE(player.seen(), 1);
        verifyUntouched();

        // A file that cannot be read: its error box, no window.
        Dialogs::TakeShown();
        Dialogs::SetNextFileName(m_dir.filePath("absent"));
        m_form->CompareWithFile();
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        QCOMPARE(shown.size(), 2);
        QVERIFY(shown[1].text.startsWith(
            QStringLiteral("Cannot open file \"%1\"")
                .arg(QDir::toNativeSeparators(m_dir.filePath("absent.bcfg")))));
        QCOMPARE(player.seen(), 1);

        // Messages about the other file name it: one that cannot be read, one that stops.
        const QString cut =
            write(m_dir, "cut.bcfg", BcfgBuilder().raw(BcfgBuilder::le32(0x20) + "rest").bytes());
        const QString shortFile = write(m_dir, "short.bcfg", current().bytes().left(30));
        for (const QString& path : {cut, shortFile}) {
            Dialogs::SetNextFileName(path);
            m_form->ImportWithPreview();
            const QList<Dialogs::Shown> told = Dialogs::TakeShown();
            QVERIFY(told.size() >= 2);
            QVERIFY2(told[1].text.startsWith(QDir::toNativeSeparators(path) + ":\n"),
                     qPrintable(told[1].text));
        }
    }
};

QTEST_MAIN(TestCompareWindows)
#include "tst_comparewindows.moc"
