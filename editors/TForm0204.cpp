#include "TForm0204.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int EditHeight = 24;
}

TForm0204::TForm0204(QWidget* parent)
    : PopupDialog(QStringLiteral("String"), QPalette::ToolTipBase, parent),
      Label1(new QLabel(this)), Edit1(new QLineEdit(this))
{
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setPixelSize(11);
    setFont(windowFont);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // The name and the field keep the application's font.
    Label1->setFont(QApplication::font());
    Edit1->setFont(QApplication::font());
    Label1->move(0, 3);
    Edit1->setGeometry(64, 0, 177, EditHeight);
    setFixedSize(308, EditHeight);

    bindWindow(DoubleClickAccepts);
    bind(Label1, DoubleClickAccepts);
    bind(Edit1, EscEnter | DoubleClickAccepts);
}

void TForm0204::requestAccept()
{
    const QString text = Edit1->text();
    const qsizetype fitting =
        qMax(qsizetype(0), FittingLength ? FittingLength(text) : qsizetype(TextLimit));
    if (fitting < text.size()) {
        Edit1->setText(text.left(fitting));
        return;
    }
    accept();
}

void TForm0204::arrange()
{
    fitLabel(Label1);
    Edit1->move(Label1->width() + 8, 0);
    setFixedSize(rightOf(Edit1), EditHeight);
    focusAndSelectAll(Edit1);
}
