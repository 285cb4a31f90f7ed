#include "DifferenceModel.h"

#include "MainTree.h"

#include <algorithm>

DifferenceModel::DifferenceModel(std::vector<Difference> rows, bool checkable, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_checked(m_rows.size(), true),
      m_checkable(checkable)
{
}

QString DifferenceModel::KindText(Difference::Kind kind)
{
    switch (kind) {
    case Difference::Changed:
        return tr("changed");
    case Difference::Refused:
        return tr("refused");
    case Difference::OnlyCurrent:
        return tr("only here");
    case Difference::OnlyOther:
        return tr("only there");
    }
    return {};
}

QString DifferenceModel::KindText(Difference::Kind kind, int count)
{
    switch (kind) {
    case Difference::Changed:
        return tr("changed (%n)", nullptr, count);
    case Difference::Refused:
        return tr("refused (%n)", nullptr, count);
    case Difference::OnlyCurrent:
        return tr("only here (%n)", nullptr, count);
    case Difference::OnlyOther:
        return tr("only there (%n)", nullptr, count);
    }
    return {};
}

int DifferenceModel::Count(Difference::Kind kind) const
{
    return int(std::count_if(m_rows.begin(), m_rows.end(),
                             [kind](const Difference& row) { return row.kind == kind; }));
}

std::vector<Import::Pair> DifferenceModel::CheckedPairs() const
{
    std::vector<Import::Pair> pairs;
    for (int row = 0; row < rowCount(); ++row)
        if (IsCheckable(row) && IsChecked(row))
            pairs.push_back({m_rows[size_t(row)].current, m_rows[size_t(row)].other});
    return pairs;
}

bool DifferenceModel::IsCheckable(int row) const
{
    return m_checkable && row >= 0 && row < rowCount() &&
           m_rows[size_t(row)].kind == Difference::Changed;
}

bool DifferenceModel::IsChecked(int row) const
{
    return IsCheckable(row) && m_checked[size_t(row)];
}

void DifferenceModel::SetChecked(int row, bool checked)
{
    if (!IsCheckable(row) || m_checked[size_t(row)] == checked)
        return;
    m_checked[size_t(row)] = checked;
    const QModelIndex cell = index(row, ChangeColumn);
    emit dataChanged(cell, cell, {Qt::CheckStateRole});
}

int DifferenceModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DifferenceModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DifferenceModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Difference& d = m_rows[size_t(index.row())];
    if (role == KindRole)
        return int(d.kind);
    if (role == Qt::CheckStateRole && index.column() == ChangeColumn && IsCheckable(index.row()))
        return IsChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ForegroundRole && d.kind == Difference::Changed) {
        // As the tree will show it: the entry changed, the value taken over.
        const EntryColours colours;
        return index.column() == OtherColumn ? colours.imported : colours.modified;
    }
    if (role == Qt::ToolTipRole) {
        // The whole row, however narrow its columns are.
        return QStringLiteral("%1\n%2: %3\n%4: %5")
            .arg(d.path, headerData(CurrentColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
                 d.currentValue.value_or(QString()),
                 headerData(OtherColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
                 d.otherValue.value_or(QString()));
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case ChangeColumn:
        return KindText(d.kind);
    case PathColumn:
        return d.path;
    case CurrentColumn:
        return d.currentValue.value_or(QString());
    case OtherColumn:
        return d.otherValue.value_or(QString());
    }
    return {};
}

QVariant DifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case ChangeColumn:
        return tr("Change");
    case PathColumn:
        return tr("Parameter path");
    case CurrentColumn:
        return tr("Current value");
    case OtherColumn:
        return tr("Other value");
    }
    return {};
}

Qt::ItemFlags DifferenceModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == ChangeColumn && IsCheckable(index.row()))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool DifferenceModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || index.column() != ChangeColumn || !IsCheckable(index.row()))
        return false;
    SetChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}
