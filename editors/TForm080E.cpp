#include "TForm080E.h"

#include "ValueRules.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int EditWidth = 32;
constexpr int EditHeight = 24;
} // namespace

TForm080E::TForm080E(QWidget* parent)
    : PopupDialog(QStringLiteral("Color and rect"), QPalette::ToolTipBase, parent),
      Label1(new QLabel(QStringLiteral("X1:"), this)), Edit1(new QLineEdit(this)),
      Label2(new QLabel(QStringLiteral("Y1:"), this)), Edit2(new QLineEdit(this)),
      Label3(new QLabel(QStringLiteral("X2:"), this)), Edit3(new QLineEdit(this)),
      Label4(new QLabel(QStringLiteral("Y2:"), this)), Edit4(new QLineEdit(this))
{
    constexpr int labelLeft[] = {0, 55, 110, 167};
    constexpr int editLeft[] = {22, 76, 132, 188};
    bindWindow(DoubleClickAccepts);
    for (int i = 0; i < 4; ++i) {
        QLabel* const label = labels()[i];
        QLineEdit* const field = fields()[i];
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        field->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
        label->move(labelLeft[i], 3);
        field->setGeometry(editLeft[i], 0, EditWidth, EditHeight);
        bind(label, DoubleClickAccepts);
        bind(field, EscEnter | DoubleClickAccepts);
    }
    setFixedSize(220, EditHeight);
}

void TForm080E::arrange()
{
    int left = 0;
    for (int i = 0; i < 4; ++i) {
        QLabel* const label = labels()[i];
        QLineEdit* const field = fields()[i];
        fitLabel(label);
        label->move(left, 3);
        field->move(rightOf(label) + 2, 0);
        left = rightOf(field) + 4;
    }
    setFixedSize(rightOf(Edit4), EditHeight);
    focusAndSelectAll(Edit1);
}

bool TForm080E::wheelStep(int steps)
{
    QWidget* const focused = focusWidget();
    for (QLineEdit* const field : fields()) {
        if (field != focused)
            continue;
        const auto value = ValueRules::ParseInt32(field->text());
        if (!value)
            return true;
        const bool colour = EditMode == Mode::Colour;
        const bool alpha = colour && field == Edit4;
        const int max = alpha ? ValueRules::AlphaMax : WheelMax;
        // Never step to a value that the record would refuse.
        const int highest = alpha    ? ValueRules::AlphaMax
                            : colour ? ValueRules::ColourMax
                                     : ValueRules::RectMax;
        field->setText(QString::number(ValueRules::StepBounded(*value, 0, max, steps, 0, highest)));
    }
    return true;
}
