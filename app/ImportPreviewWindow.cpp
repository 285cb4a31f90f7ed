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
    setWindowTitle(QStringLiteral("Import from %1").arg(QFileInfo(sourceFileName).fileName()));
    auto* buttons = new QDialogButtonBox(this);
    m_import = buttons->addButton(QStringLiteral("Import"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    resize(640, 400);
}

std::vector<Import::Pair> ImportPreviewWindow::ChosenPairs() const
{
    return m_view->Model()->CheckedPairs();
}
