#include "CompareWindow.h"

#include "DifferenceView.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPushButton>
#include <QVBoxLayout>

CompareWindow::CompareWindow(const QString& otherFileName, std::vector<Difference> rows,
                             QWidget* parent)
    : QDialog(parent),
      m_view(new DifferenceView(std::move(rows), DifferenceModel::Use::Compare, this))
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(tr("Compare with %1").arg(QFileInfo(otherFileName).fileName()));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_close = buttons->button(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_view, &DifferenceView::recordActivated, this, &CompareWindow::recordActivated);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addWidget(buttons);
    static QSize kept;
    KeepSizeForTheRun(this, kept, {640, 400});
}
