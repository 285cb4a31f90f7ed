#pragma once

#include "Difference.h"
#include "Import.h"

#include <QDialog>
#include <vector>

class DifferenceView;
class QPushButton;

// Import with preview: what importing another file would do, each changed row with a check
// box, all ticked. Import accepts the window (the caller then takes over ChosenPairs());
// Cancel rejects it and nothing changes.
class ImportPreviewWindow : public QDialog
{
    Q_OBJECT
public:
    // The rows' records must outlive the window.
    ImportPreviewWindow(const QString& sourceFileName, std::vector<Difference> rows,
                        QWidget* parent = nullptr);

    // The ticked rows, in the source file's order.
    std::vector<Import::Pair> ChosenPairs() const;

    DifferenceView* View() const { return m_view; }
    QPushButton* ImportButton() const { return m_import; }
    QPushButton* CancelButton() const { return m_cancel; }

private:
    DifferenceView* m_view;
    QPushButton* m_import;
    QPushButton* m_cancel;
};
