#pragma once

#include "PopupDialog.h"

class QCalendarWidget;

// "Date": a month calendar filling the window. Set the date with
// MonthCalendar1->setSelectedDate(), exec(), then read MonthCalendar1->selectedDate(). Enter
// accepts and Esc cancels; a double-click stays with the calendar.
class TForm0D : public PopupDialog
{
    Q_OBJECT
public:
    explicit TForm0D(QWidget* parent = nullptr);

    QCalendarWidget* const MonthCalendar1;

protected:
    void arrange() override;
};
