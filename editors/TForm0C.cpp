#include "TForm0C.h"

#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int Height = 24;
constexpr QChar Blank = u'_';
} // namespace

TForm0C::TForm0C(QWidget* parent)
    : PopupDialog(QStringLiteral("Time"), QPalette::ToolTipBase, parent), Label1(new QLabel(this)),
      MaskEdit1(new QLineEdit(this))
{
    Label1->setObjectName(QStringLiteral("Label1"));
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    // An optional and a required hour digit, the literal ":", two required minute digits.
    MaskEdit1->setInputMask(QStringLiteral("09:99;_"));
    MaskEdit1->setText(QStringLiteral("  :  "));
    Label1->move(0, 3);
    MaskEdit1->setGeometry(72, 0, 41, Height);
    setFixedSize(108, Height);

    bindWindow(EscEnter | DoubleClickAccepts);
    bind(Label1, DoubleClickAccepts);
    bind(MaskEdit1, EscEnter | DoubleClickAccepts);
}

QString TForm0C::TimeText() const
{
    // The field fills from the left, so "9:05" shows as "9_:05"; QLineEdit::text() would drop
    // the unfilled places altogether. Read what is shown and right-align the hour.
    const QString shown = MaskEdit1->displayText();
    QString hour = shown.left(2);
    hour.remove(Blank);
    return hour.rightJustified(2, u' ') + shown.mid(2);
}

void TForm0C::arrange()
{
    fitLabel(Label1);
    MaskEdit1->move(Label1->width() + 12, 0);
    setFixedSize(rightOf(MaskEdit1) + 8, Height);
    focusAndSelectAll(MaskEdit1);
}
