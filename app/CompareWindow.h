#pragma once

#include "Difference.h"
#include "TBcfgRecAll.h"

#include <QDialog>
#include <vector>

class DifferenceView;
class QPushButton;

// Compare with file: the differences between the current document and another file, read
// only. A double click on a row asks the main window to select that record's entry.
class CompareWindow : public QDialog
{
    Q_OBJECT
public:
    // The rows' records must outlive the window.
    CompareWindow(const QString& otherFileName, std::vector<Difference> rows,
                  QWidget* parent = nullptr);

    DifferenceView* View() const { return m_view; }
    QPushButton* CloseButton() const { return m_close; }

signals:
    void recordActivated(TBcfgRecAll* record);

private:
    DifferenceView* m_view;
    QPushButton* m_close;
};
