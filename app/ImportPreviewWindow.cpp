#include "ImportPreviewWindow.h"

#include "DifferenceModel.h"
#include "DifferenceView.h"
#include "TBcfgRecAll.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

ImportPreviewWindow::ImportPreviewWindow(const QString& sourceFileName,
                                         std::vector<Difference> rows,
                                         std::vector<Import::Pair> unchanged, bool upgrade,
                                         QWidget* parent)
    : QDialog(parent),
      m_view(new DifferenceView(
          std::move(rows), upgrade ? DifferenceModel::Use::Upgrade : DifferenceModel::Use::Preview,
          this)),
      m_unchanged(std::move(unchanged))
{
    setObjectName(QStringLiteral("ImportPreviewWindow"));
    const QString name = QFileInfo(sourceFileName).fileName();
    setWindowTitle(upgrade ? tr("Upgrade from %1: preview").arg(name)
                           : tr("Import from %1: preview").arg(name));
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    if (upgrade) {
        m_summary = new QLabel(this);
        m_summary->setObjectName(QStringLiteral("UpgradeSummary"));
        layout->addWidget(m_summary);
    }
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    connect(m_view->Model(), &QAbstractItemModel::dataChanged, this,
            &ImportPreviewWindow::ticksChanged);
    ticksChanged();
    static QSize kept;
    KeepSizeForTheRun(this, kept, {640, 400});
}

void ImportPreviewWindow::ticksChanged()
{
    const DifferenceModel& model = *m_view->Model();
    const int ticked = model.CheckedCount();
    // Nothing ticked, or the same values: Import would only set marks.
    m_import->setEnabled(ticked > 0);
    if (m_summary) {
        const int kept = model.Count(Difference::Kept) - model.CheckedCount(Difference::Kept);
        m_summary->setText(tr("%1, %2", "the upgrade's numbers: carried over, kept")
                               .arg(tr("%n of your changes carried over", nullptr, ticked),
                                    // One: singular also where no translation has plurals.
                                    kept == 1 ? tr("1 new default kept")
                                              : tr("%n new defaults kept", nullptr, kept)));
    }
}

std::vector<Import::Pair> ImportPreviewWindow::ChosenPairs() const
{
    // In the source file's order, as the import itself takes them.
    std::vector<Import::Pair> pairs = m_view->Model()->CheckedPairs();
    pairs.insert(pairs.end(), m_unchanged.begin(), m_unchanged.end());
    std::stable_sort(pairs.begin(), pairs.end(), [](const Import::Pair& a, const Import::Pair& b) {
        return a.source->Index < b.source->Index;
    });
    return pairs;
}
