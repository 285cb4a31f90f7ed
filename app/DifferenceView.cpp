#include "DifferenceView.h"

#include "DifferenceModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

DifferenceView::DifferenceView(std::vector<Difference> rows, DifferenceModel::Use use,
                               QWidget* parent)
    : QWidget(parent), m_model(new DifferenceModel(std::move(rows), use, this)),
      m_proxy(new QSortFilterProxyModel(this)), m_kindFilter(new QComboBox(this)),
      m_table(new QTableView(this))
{
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterRole(DifferenceModel::KindRole);
    m_proxy->setFilterKeyColumn(DifferenceModel::ChangeColumn);

    m_kindFilter->setObjectName(QStringLiteral("KindFilter"));
    m_kindFilter->addItem(tr("All (%n)", nullptr, m_model->rowCount()), -1);
    for (const Difference::Kind kind : m_model->Kinds())
        m_kindFilter->addItem(m_model->FilterText(kind), int(kind));
    connect(m_kindFilter, &QComboBox::currentIndexChanged, this, &DifferenceView::filterByKind);

    m_table->setObjectName(QStringLiteral("DifferenceTable"));
    m_table->setModel(m_proxy);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    // The path and both values share the width: a long value is elided (its row's tool tip
    // has it whole) instead of pushing the other columns out of the window.
    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(DifferenceModel::ChangeColumn, QHeaderView::ResizeToContents);
    m_table->setTextElideMode(Qt::ElideMiddle);
    m_table->setWordWrap(false);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Unsorted until a header is clicked: the rows keep the order of the list.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->installEventFilter(this);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const int row = m_proxy->mapToSource(index).row();
        if (row >= 0 && m_model->Row(row).current)
            emit recordActivated(m_model->Row(row).current);
    });

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(tr("Show:"), this);
    filterLabel->setBuddy(m_kindFilter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_kindFilter);
    filterRow->addStretch();
    m_empty = new QLabel(tr("The files hold the same values."), this);
    m_empty->setObjectName(QStringLiteral("EmptyText"));
    m_empty->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(filterRow);
    layout->addWidget(m_table);
    layout->addWidget(m_empty, 1);
    const bool empty = m_model->rowCount() == 0;
    m_table->setVisible(!empty);
    m_empty->setVisible(empty);
    m_kindFilter->setEnabled(!empty);
}

void KeepSizeForTheRun(QWidget* window, QSize& kept, const QSize& first)
{
    window->resize(kept.isValid() ? kept : first);
    window->installEventFilter(new SizeKeeper(kept, window));
}

bool SizeKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        m_kept = static_cast<QWidget*>(watched)->size();
    return QObject::eventFilter(watched, event);
}

void DifferenceView::filterByKind(int choice)
{
    // Each entry holds its kind; "All" (-1) shows every row.
    const int kind = m_kindFilter->itemData(choice).toInt();
    m_proxy->setFilterRegularExpression(choice <= 0 || kind < 0
                                            ? QRegularExpression()
                                            : QRegularExpression(QStringLiteral("^%1$").arg(kind)));
}

bool DifferenceView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        const int row = m_proxy->mapToSource(m_table->currentIndex()).row();
        if (m_model->IsCheckable(row)) {
            m_model->SetChecked(row, !m_model->IsChecked(row));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
