#pragma once

#include "Difference.h"
#include "Import.h"

#include <QAbstractTableModel>
#include <vector>

// The rows of a list of differences as a table: change, parameter path, current value,
// other value. Changed rows are drawn in the tree's modified colour, the value they take over
// in its imported colour; each row's tool tip holds its whole text. With checkable rows each
// changed row has a check box in its first column, ticked at first. Sorting and filtering belong to
// a proxy over this model; the kind of a row is its KindRole (Difference::Kind as an integer).
class DifferenceModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ChangeColumn, PathColumn, CurrentColumn, OtherColumn, ColumnCount };
    static constexpr int KindRole = Qt::UserRole + 1;

    // The rows' records must outlive the model.
    DifferenceModel(std::vector<Difference> rows, bool checkable, QObject* parent = nullptr);

    // "changed", "refused", "only here", "only there".
    static QString KindText(Difference::Kind kind);
    // The same with a count: "changed (6)".
    static QString KindText(Difference::Kind kind, int count);
    // The rows of a kind.
    int Count(Difference::Kind kind) const;

    const Difference& Row(int row) const { return m_rows[size_t(row)]; }
    // The ticked rows as pairs for the import, in the list's order (the other file's).
    std::vector<Import::Pair> CheckedPairs() const;
    // Ticks or unticks a changed row of a checkable model; other rows stay as they are.
    void SetChecked(int row, bool checked);
    bool IsChecked(int row) const;
    bool IsCheckable(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    std::vector<Difference> m_rows;
    std::vector<bool> m_checked;
    bool m_checkable;
};
