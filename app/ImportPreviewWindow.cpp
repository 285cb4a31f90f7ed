#include "ImportPreviewWindow.h"

#include "DifferenceModel.h"
#include "DifferenceView.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

ImportPreviewWindow::ImportPreviewWindow(const QString& sourceFileName,
                                         std::vector<Difference> rows, QWidget* parent)
    : QDialog(parent), m_view(new DifferenceView(std::move(rows), true, this))
{
    setObjectName(QStringLiteral("ImportPreviewWindow"));
    setWindowTitle(tr("Import from %1: preview").arg(QFileInfo(sourceFileName).fileName()));
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    static QSize kept;
    KeepSizeForTheRun(this, kept, {640, 400});
}

std::vector<Import::Pair> ImportPreviewWindow::ChosenPairs() const
{
    return m_view->Model()->CheckedPairs();
}
