#include "TForm0D.h"

#include "ValueRules.h"

#include <QCalendarWidget>
#include <QTableView>

TForm0D::TForm0D(QWidget* parent)
    : PopupDialog(QStringLiteral("Date"), QPalette::Button, parent),
      MonthCalendar1(new QCalendarWidget(this))
{
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    useInfoColours(MonthCalendar1);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Typing digits would open the calendar's own date editor, which takes Enter for itself.
    MonthCalendar1->setDateEditEnabled(false);
    // A date outside these is stored as one that can never be edited again.
    MonthCalendar1->setDateRange(ValueRules::FirstDate(), ValueRules::LastDate());

    // Room for a whole month in the platform's fonts, and never less than the design size.
    MonthCalendar1->ensurePolished();
    const QSize size = MonthCalendar1->sizeHint().expandedTo(QSize(162, 163));
    MonthCalendar1->setGeometry(0, 0, size.width(), size.height());
    setFixedSize(size);

    bindWindow(EscEnter | DoubleClickAccepts);
    // Keys reach the day grid, which would take Enter for itself.
    if (auto* const days = MonthCalendar1->findChild<QTableView*>())
        bind(days, EscEnter);
}

void TForm0D::arrange()
{
    // Nothing moves inside; the day grid takes the keys so that Enter and Esc work at once.
    MonthCalendar1->setFocus();
}
