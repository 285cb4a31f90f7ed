#include "TForm2.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabWidget>

namespace {

QFont tahoma(bool bold = false)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

// Design client size; the controls follow the window's edges from it.
constexpr int DesignWidth = 538;
constexpr int DesignHeight = 482;

} // namespace

QString TForm2::RussianText()
{
    return QStringList{
        QStringLiteral("Программа Parvane - это редактор файлов конфигурации эльфов."),
        QString(),
        QStringLiteral("Поддерживаются все существующие на 09.2007 типы данных (до CFG_RECT"),
        QStringLiteral("включительно)."),
        QString(),
        QStringLiteral(
            "Для редактирования любого параметра сделайте на нем double-click или, выделив"),
        QStringLiteral(
            "его, нажмите Enter. В режиме редактирования действуют клавиши Enter (сохранить"),
        QStringLiteral(
            "и вернуться) и ESC (отменить и вернуться). Вместо Enter можно использовать"),
        QStringLiteral("double-click (кроме режима редактирования даты)."),
        QStringLiteral("При редактировании числовых значений можно использовать колесико мыши."),
        QString(),
        QStringLiteral("Измененный параметр и заголовки содержащих его секций выделяются красным"),
        QStringLiteral("цветом."),
        QString(),
        QStringLiteral("Программа поддерживает импорт значений из других BCFG-файлов. Это может"),
        QStringLiteral("быть полезно, например при выходе новой версии эльфа."),
        QStringLiteral("Критерием импорта является полное совпадение имени параметра и имен"),
        QStringLiteral(
            "содержащих его секций. Импортированные параметры выделяются синим, если они"),
        QStringLiteral("остались без изменения, и красным - если изменились."),
        QString(),
        QStringLiteral("При желании можно сохранить размеры и положение окна программы, ткнув"),
        QStringLiteral("правой кнопкой в форму и выбрав пункт \"Save position\". Для возврата к"),
        QStringLiteral("размерам по умолчанию нужно будет удалить файл Parvane.ini."),
    }
        .join(QLatin1Char('\n'));
}

QString TForm2::EnglishText()
{
    return QStringList{
        QStringLiteral("Parvane is editor for ELF configuration files."),
        QString(),
        QStringLiteral("All data types existing on September 2007 are supported."),
        QString(),
        QStringLiteral("To edit a parameter value double-click it, or select it and press Enter."),
        QStringLiteral(
            "In edit mode you can use Enter key for save and return, or ESC key for cancel and "),
        QStringLiteral(
            "return. You can use double-click instead of Enter key, except if you edit a date "),
        QStringLiteral("parameter."),
        QStringLiteral(
            "When you edit an numeric value, you can use mouse wheel to change the value."),
        QString(),
        QStringLiteral("Changed parameters are shown red."),
        QString(),
        QStringLiteral(
            "Parvane can import values from other BCFG files. It may be useful when upgrade of "),
        QStringLiteral("ELF version occurs. Import criteria is full equality of parameter and its "
                       "containing "),
        QStringLiteral(
            "sections names. Imported parameters are shown blue, if no changes occured, and red, "),
        QStringLiteral("if parameters were changed."),
        QString(),
        QStringLiteral("You can save size and position of the main window, if you click the rigth "
                       "mouse button "),
        QStringLiteral("and select \"Save position\". If you want to return default size and "
                       "position, kill the "),
        QStringLiteral("Parvane.ini file."),
    }
        .join(QLatin1Char('\n'));
}

TForm2::TForm2(QWidget* parent)
    : QDialog(parent), PageControl1(new QTabWidget(this)), Memo1(new QPlainTextEdit),
      Memo2(new QPlainTextEdit), Button1(new QPushButton(QStringLiteral("Close"), this)),
      m_layout(QSize(DesignWidth, DesignHeight))
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Parvane Help"));
    setFont(tahoma());
    setSizeGripEnabled(true);
    resize(DesignWidth, DesignHeight);

    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setTabPosition(QTabWidget::South);
    m_layout.Place(PageControl1, {0, 8, 542, 445},
                   AnchorLayout::Left | AnchorLayout::Top | AnchorLayout::Right |
                       AnchorLayout::Bottom);

    for (QPlainTextEdit* memo : {Memo1, Memo2}) {
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Tab moves on to the next control, as in every other field; Ctrl+Tab turns the page.
        memo->setTabChangesFocus(true);
    }
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setFont(tahoma());
    Memo1->setPlainText(RussianText());
    Memo1->setReadOnly(true);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setPlainText(EnglishText());
    PageControl1->addTab(Memo1, QStringLiteral("Russian"));
    PageControl1->addTab(Memo2, QStringLiteral("English"));
    PageControl1->setCurrentIndex(0);

    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFont(tahoma(true));
    m_layout.Place(Button1, {428, 439, 89, 33}, AnchorLayout::Right | AnchorLayout::Bottom);
    // Enter on the focused button closes the window, as Space does.
    Button1->setAutoDefault(true);
    Button1->raise(); // it stands over the tab row, at its right end
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

    // Close first in the tab order, so it holds the focus the first time.
    setTabOrder(Button1, PageControl1);
    Button1->setFocus();
}

int TForm2::exec()
{
    if (parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(parentWidget()->frameGeometry().center());
        move(frame.topLeft());
    }
    return QDialog::exec();
}

void TForm2::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_layout.Apply(size());
}
