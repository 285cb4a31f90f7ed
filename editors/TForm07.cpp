#include "TForm07.h"

#include "ValueRules.h"

#include <QLabel>
#include <QLineEdit>
#include <limits>

namespace {
constexpr int EditHeight = 24;
}

TForm07::TForm07(QWidget* parent)
    : PopupDialog(QStringLiteral("Coordinates"), QPalette::ToolTipBase, parent),
      Label1(new QLabel(QStringLiteral("X:"), this)), Edit1(new QLineEdit(this)),
      Label2(new QLabel(QStringLiteral("Y:"), this)), Edit2(new QLineEdit(this))
{
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Label1->move(0, 3);
    Edit1->setGeometry(16, 0, 36, EditHeight);
    Label2->move(60, 3);
    Edit2->setGeometry(75, 0, 36, EditHeight);
    setFixedSize(113, EditHeight);

    bindWindow(EscEnter | DoubleClickAccepts);
    bind(Label1, DoubleClickAccepts);
    bind(Edit1, EscEnter | DoubleClickAccepts);
    bind(Label2, DoubleClickIgnored);
    bind(Edit2, EscEnter | DoubleClickAccepts);
}

void TForm07::arrange()
{
    fitLabel(Label1);
    fitLabel(Label2);
    Edit1->move(Label1->width() + 2, 0);
    Label2->move(rightOf(Edit1) + 4, 3);
    Edit2->move(rightOf(Label2) + 2, 0);
    setFixedSize(rightOf(Edit2), EditHeight);
    focusAndSelectAll(Edit1);
}

bool TForm07::wheelStep(int steps)
{
    QWidget* const focused = focusWidget();
    QLineEdit* const field = focused == Edit1 ? Edit1 : focused == Edit2 ? Edit2 : nullptr;
    if (!field)
        return true;
    const auto value = ValueRules::ParseInt32(field->text());
    // The field takes any 32-bit number; the wheel must not step out of that.
    if (value)
        field->setText(QString::number(ValueRules::StepBounded(
            *value, 0, ValueRules::PositionWheelMax, steps, std::numeric_limits<qint32>::min(),
            std::numeric_limits<qint32>::max())));
    return true;
}
