#include "TForm05.h"

#include "ValueRules.h"

#include <QListWidget>
#include <QStyledItemDelegate>

namespace {

// Every row is ItemHeight tall whatever the font, so the list's height can be computed.
class FixedRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), TForm05::ItemHeight};
    }
};

} // namespace

TForm05::TForm05(QWidget* parent)
    : PopupDialog(QStringLiteral("ComboBox"), QPalette::Button, parent),
      ListBox1(new QListWidget(this))
{
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(0, 0, 137, 113);
    useInfoColours(ListBox1);
    ListBox1->setItemDelegate(new FixedRowDelegate(ListBox1));
    ListBox1->setUniformItemSizes(true);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFixedSize(ListBox1->size());

    bindWindow(DoubleClickAccepts);
    bind(ListBox1, EscEnter);
    // Mouse and wheel events of a list arrive at its viewport.
    bind(ListBox1->viewport(), DoubleClickAccepts);
}

void TForm05::SetItems(const QStringList& items, int selected)
{
    ListBox1->clear();
    ListBox1->addItems(items);
    ListBox1->setCurrentRow(selected >= 0 && selected < items.size() ? selected : -1);
}

int TForm05::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void TForm05::arrange()
{
    ListBox1->setGeometry(0, 0, ListBox1->width(), ListBox1->count() * ItemHeight + 4);
    setFixedSize(ListBox1->size());
    ListBox1->scrollToTop();
    ListBox1->setFocus();
}

bool TForm05::wheelStep(int steps)
{
    // Without a selection the wheel starts before the first entry, so rolling towards the
    // user selects it and rolling away does nothing.
    const int current = SelectedIndex();
    const qint64 lowest = current < 0 ? -1 : 0;
    const auto row = int(ValueRules::StepBounded(current, lowest, ListBox1->count() - 1, steps));
    if (row != current)
        ListBox1->setCurrentRow(row);
    return true;
}
