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

DifferenceView::DifferenceView(std::vector<Difference> rows, bool checkable, QWidget* parent)
    : QWidget(parent), m_model(new DifferenceModel(std::move(rows), checkable, this)),
      m_proxy(new QSortFilterProxyModel(this)), m_kindFilter(new QComboBox(this)),
      m_table(new QTableView(this))
{
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterRole(DifferenceModel::KindRole);
    m_proxy->setFilterKeyColumn(DifferenceModel::ChangeColumn);

    m_kindFilter->setObjectName(QStringLiteral("KindFilter"));
    m_kindFilter->addItem(QStringLiteral("All"));
    for (const Difference::Kind kind :
         {Difference::Changed, Difference::Refused, Difference::OnlyCurrent, Difference::OnlyOther})
        m_kindFilter->addItem(DifferenceModel::KindText(kind));
    connect(m_kindFilter, &QComboBox::currentIndexChanged, this, &DifferenceView::filterByKind);

    m_table->setObjectName(QStringLiteral("DifferenceTable"));
    m_table->setModel(m_proxy);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Unsorted until a header is clicked: the rows keep the order of the list.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    m_table->installEventFilter(this);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        const int row = m_proxy->mapToSource(index).row();
        if (row >= 0 && m_model->Row(row).current)
            emit recordActivated(m_model->Row(row).current);
    });

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(QStringLiteral("Show:"), this);
    filterLabel->setBuddy(m_kindFilter);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_kindFilter);
    filterRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(filterRow);
    layout->addWidget(m_table);
}

void DifferenceView::filterByKind(int choice)
{
    // Choice 0 shows every row; choice k the rows of kind k - 1.
    m_proxy->setFilterRegularExpression(
        choice <= 0 ? QRegularExpression()
                    : QRegularExpression(QStringLiteral("^%1$").arg(choice - 1)));
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
