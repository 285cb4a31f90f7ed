#include "TForm0103.h"

#include "ValueRules.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int Height = 22;
}

TForm0103::TForm0103(QWidget* parent)
    : PopupDialog(QStringLiteral("UInt and Int"), QPalette::ToolTipBase, parent),
      Label2(new QLabel(this)), Edit1(new QLineEdit(QStringLiteral("0"), this)),
      Label1(new QLabel(this))
{
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->move(0, 3);
    Edit1->setGeometry(48, 0, 57, Height);
    Label1->move(109, 3);
    setFixedSize(146, Height);

    bindWindow(DoubleClickAccepts);
    bind(Edit1, EscEnter | DoubleClickAccepts);
    bind(Label1, DoubleClickAccepts);
    bind(Label2, DoubleClickAccepts);
}

void TForm0103::arrange()
{
    fitLabel(Label2);
    fitLabel(Label1);
    Edit1->move(Label2->width() + 8, 0);
    Label1->move(rightOf(Edit1) + 8, 3);
    setFixedSize(rightOf(Label1) + 8, Height);
    focusAndSelectAll(Edit1);
}

bool TForm0103::wheelStep(int steps)
{
    const auto value = ValueRules::ParseInt64(Edit1->text());
    if (!value)
        return true;
    Edit1->setText(QString::number(ValueRules::StepBounded(*value, MinValue, MaxValue, steps)));
    focusAndSelectAll(Edit1);
    return true;
}
