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
        .time("Alarm", 7, 30);
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
        .integer(1, "Extra", 0, 9, 1);
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
        QCOMPARE(filters, (QStringList{"All (6)", "changed (4)", "refused (1)", "only here (0)",
                                       "only there (1)"}));
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
        bool tableShown = true;
        ModalPlayer player({[&](QWidget* modal) {
            auto* window = qobject_cast<CompareWindow*>(modal);
            QVERIFY(window);
            empty = window->View()->EmptyText()->isVisible() ? window->View()->EmptyText()->text()
                                                             : QString();
            tableShown = window->View()->Table()->isVisible();
            window->reject();
        }});
        m_form->CompareWithFile();
        QCOMPARE(player.seen(), 1);
        QCOMPARE(empty, QStringLiteral("The files hold the same values."));
        QVERIFY(!tableShown);
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
                                      .bytes());
        // Index: 0 L, 1 Size, 2 Flag, 3 Pass, 4 end, 5 Alone, 6 Alarm.
        QStringList marks;
        for (const auto& rec : doc.Records())
            marks << QStringLiteral("%1%2").arg(rec->Modified ? "M" : "-",
                                                rec->Imported ? "I" : "-");
        QCOMPARE(marks, (QStringList{"MI", "MI", "--", "MI", "--", "--", "--"}));
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
