#pragma once

#include "Difference.h"
#include "Import.h"

#include <QAbstractTableModel>
#include <QColor>
#include <vector>

// The rows of a list of differences as a table: change, parameter path, current value,
// other value. Changed rows are drawn in the tree's modified colour, the value they take over
// in its imported colour; each row's tool tip holds its whole text. In a preview each changed
// row has a check box in its first column, ticked at first, and an unticked row is dimmed.
// Upgrading, the rows speak of the user's file and the new version, and a new default that
// stays (Kept) has a colour of its own and a check box, unticked at first: ticking it takes
// the user's old value after all. Sorting and filtering belong to a proxy over this model;
// the kind of a row is its KindRole (Difference::Kind as an integer).
class DifferenceModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { ChangeColumn, PathColumn, CurrentColumn, OtherColumn, ColumnCount };
    static constexpr int KindRole = Qt::UserRole + 1;
    // Compare: read only; Preview: an import's, with check boxes; Upgrade: the same, the
    // other file being the user's file from the older version.
    enum class Use { Compare, Preview, Upgrade };

    // The rows' records must outlive the model.
    DifferenceModel(std::vector<Difference> rows, Use use, QObject* parent = nullptr);

    // A row's kind in its first column: "changed", "refused", "only here", "only there"; when
    // upgrading "your change", "new default", "refused", "only in your file", "new parameter".
    QString KindText(Difference::Kind kind) const;
    // The filter's entry for a kind, with its count: "Changed (6)", "New defaults (3)".
    QString FilterText(Difference::Kind kind) const;
    // The kinds the filter offers, in its order.
    std::vector<Difference::Kind> Kinds() const;
    // The rows of a kind.
    int Count(Difference::Kind kind) const;
    Use Usage() const { return m_use; }
    // The colour a kept new default's row is drawn on.
    static QColor KeptBackground() { return QColor(255, 240, 200); }
    // The colour of an unticked row's texts.
    static QColor DimmedText() { return QColor(128, 128, 128); }

    const Difference& Row(int row) const { return m_rows[size_t(row)]; }
    // The ticked rows as pairs for the import, in the list's order (the other file's).
    std::vector<Import::Pair> CheckedPairs() const;
    // How many rows are ticked, and of them of kind.
    int CheckedCount() const;
    int CheckedCount(Difference::Kind kind) const;
    // Ticks or unticks a row that has a check box; other rows stay as they are.
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
    Use m_use;
};
