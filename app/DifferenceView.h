#pragma once

#include "Difference.h"
#include "DifferenceModel.h"
#include "TBcfgRecAll.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

// The table both the compare window and the import preview show: a filter by kind above a
// sortable table of differences. Space ticks or unticks the current row of a checkable
// table; a double click on a row with a current record asks for that record's entry.
class DifferenceView : public QWidget
{
    Q_OBJECT
public:
    // The rows' records must outlive the view.
    DifferenceView(std::vector<Difference> rows, DifferenceModel::Use use,
                   QWidget* parent = nullptr);

    DifferenceModel* Model() const { return m_model; }
    QSortFilterProxyModel* Proxy() const { return m_proxy; }
    QTableView* Table() const { return m_table; }
    // "All", then one entry per kind (DifferenceModel::Kinds), each with its count; each
    // entry's data is its kind, -1 for "All".
    QComboBox* KindFilter() const { return m_kindFilter; }
    // Shown instead of the table when there are no differences.
    QLabel* EmptyText() const { return m_empty; }

signals:
    void recordActivated(TBcfgRecAll* record);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void filterByKind(int choice);

    DifferenceModel* m_model;
    QSortFilterProxyModel* m_proxy;
    QComboBox* m_kindFilter;
    QTableView* m_table;
    QLabel* m_empty;
};

// Keeps a window's size for the rest of the run: the window opens at kept (at first when
// nothing is kept yet), and kept follows every resize.
void KeepSizeForTheRun(QWidget* window, QSize& kept, const QSize& first);

class SizeKeeper : public QObject
{
public:
    SizeKeeper(QSize& kept, QObject* parent) : QObject(parent), m_kept(kept) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize& m_kept;
};
