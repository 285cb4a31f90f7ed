#pragma once

#include "Difference.h"
#include "Import.h"

#include <QDialog>
#include <vector>

class DifferenceView;
class QLabel;
class QPushButton;

// Import with preview: what importing another file would do, each changed row with a check
// box, all ticked. Import (enabled while a row is ticked) accepts the window (the caller then
// takes over ChosenPairs()); Cancel rejects it and nothing changes.
//
// Upgrading, the other file is the user's file from the older version: the new defaults that
// stay are listed unticked, and a line above the table says in numbers what Import would do.
class ImportPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    // The rows' and unchanged's records must outlive the window. unchanged: the pairs that
    // import would take over unchanged (not listed), merged along so that the marks are the
    // ones the whole import would leave.
    ImportPreviewWindow(const QString& sourceFileName, std::vector<Difference> rows,
                        std::vector<Import::Pair> unchanged = {}, bool upgrade = false,
                        QWidget* parent = nullptr);

    // The ticked rows and the unchanged pairs, in the source file's order.
    std::vector<Import::Pair> ChosenPairs() const;

    DifferenceView* View() const { return m_view; }
    QPushButton* ImportButton() const { return m_import; }
    QPushButton* CancelButton() const { return m_cancel; }
    // Upgrading: "12 of your changes carried over, 3 new defaults kept"; nullptr otherwise.
    QLabel* Summary() const { return m_summary; }

private:
    void ticksChanged();

    DifferenceView* m_view;
    std::vector<Import::Pair> m_unchanged;
    QLabel* m_summary = nullptr;
    QPushButton* m_import;
    QPushButton* m_cancel;
};
