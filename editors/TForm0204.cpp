#include "TForm0204.h"

#include "PopupPosition.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace {
constexpr int EditHeight = 24;
constexpr int EditWidth = 177;
// A field's frame, inner margins and cursor around its text.
constexpr int TextMargin = 12;
} // namespace

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
    Edit1->setGeometry(64, 0, EditWidth, EditHeight);
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
    // Wide enough for the whole value, so that it shows unscrolled and the popup covers the
    // entry's label, as far as the screen reaches.
    const int needed = Edit1->fontMetrics().horizontalAdvance(Edit1->text()) + TextMargin;
    const QScreen* screen = QGuiApplication::screenAt(QPoint(PopupLeft, PopupTop));
    const int room =
        screen ? screen->availableGeometry().right() + 1 - PopupLeft - Edit1->x() : needed;
    Edit1->resize(qMax(EditWidth, qMin(needed, room)), EditHeight);
    setFixedSize(rightOf(Edit1), EditHeight);
    focusAndSelectAll(Edit1);
}
