#include "DifferenceModel.h"

#include "MainTree.h"

#include <algorithm>

DifferenceModel::DifferenceModel(std::vector<Difference> rows, Use use, QObject* parent)
    : QAbstractTableModel(parent), m_rows(std::move(rows)), m_checked(m_rows.size(), false),
      m_use(use)
{
    // The user's changes go over unless unticked; a kept new default stays unless ticked.
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_checked[i] = m_rows[i].kind == Difference::Changed;
}

QString DifferenceModel::KindText(Difference::Kind kind) const
{
    const bool upgrade = m_use == Use::Upgrade;
    switch (kind) {
    case Difference::Changed:
        return upgrade ? tr("your change") : tr("changed");
    case Difference::Refused:
        return tr("refused");
    case Difference::OnlyCurrent:
        return upgrade ? tr("new parameter") : tr("only here");
    case Difference::OnlyOther:
        return upgrade ? tr("only in your file") : tr("only there");
    case Difference::Kept:
        return tr("new default");
    }
    return {};
}

QString DifferenceModel::FilterText(Difference::Kind kind) const
{
    const bool upgrade = m_use == Use::Upgrade;
    const int count = Count(kind);
    switch (kind) {
    case Difference::Changed:
        return upgrade ? tr("Your changes (%n)", nullptr, count)
                       : tr("Changed (%n)", nullptr, count);
    case Difference::Refused:
        return tr("Refused (%n)", nullptr, count);
    case Difference::OnlyCurrent:
        return upgrade ? tr("New parameters (%n)", nullptr, count)
                       : tr("Only here (%n)", nullptr, count);
    case Difference::OnlyOther:
        return upgrade ? tr("Only in your file (%n)", nullptr, count)
                       : tr("Only there (%n)", nullptr, count);
    case Difference::Kept:
        return tr("New defaults (%n)", nullptr, count);
    }
    return {};
}

std::vector<Difference::Kind> DifferenceModel::Kinds() const
{
    if (m_use == Use::Upgrade)
        return {Difference::Changed, Difference::Kept, Difference::Refused, Difference::OnlyOther,
                Difference::OnlyCurrent};
    return {Difference::Changed, Difference::Refused, Difference::OnlyCurrent,
            Difference::OnlyOther};
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
        if (IsChecked(row))
            pairs.push_back({m_rows[size_t(row)].current, m_rows[size_t(row)].other});
    return pairs;
}

int DifferenceModel::CheckedCount() const
{
    int count = 0;
    for (int row = 0; row < rowCount(); ++row)
        count += IsChecked(row) ? 1 : 0;
    return count;
}

int DifferenceModel::CheckedCount(Difference::Kind kind) const
{
    int count = 0;
    for (int row = 0; row < rowCount(); ++row)
        count += IsChecked(row) && m_rows[size_t(row)].kind == kind ? 1 : 0;
    return count;
}

bool DifferenceModel::IsCheckable(int row) const
{
    if (m_use == Use::Compare || row < 0 || row >= rowCount())
        return false;
    const Difference& d = m_rows[size_t(row)];
    // A kept value that the type's rule refuses could not be taken after all.
    return d.kind == Difference::Changed || (d.kind == Difference::Kept && !d.refused);
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
    // The check box and the colours of the whole row.
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1),
                     {Qt::CheckStateRole, Qt::ForegroundRole});
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
    if (role == Qt::ForegroundRole && IsCheckable(index.row()) && !IsChecked(index.row()))
        return DimmedText(); // looks left out, not only by its empty box
    if (role == Qt::ForegroundRole && (d.kind == Difference::Changed || IsChecked(index.row()))) {
        // As the tree will show it: the entry changed, the value taken over.
        const EntryColours colours;
        return index.column() == OtherColumn ? colours.imported : colours.modified;
    }
    if (role == Qt::BackgroundRole && d.kind == Difference::Kept)
        return KeptBackground();
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
        return m_use == Use::Upgrade ? tr("New version's value") : tr("Current value");
    case OtherColumn:
        return m_use == Use::Upgrade ? tr("Your value") : tr("Other value");
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
