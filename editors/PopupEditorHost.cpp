#include "PopupEditorHost.h"

#include "TForm0103.h"
#include "TForm0204.h"
#include "TForm05.h"
#include "TForm07.h"
#include "TForm080E.h"
#include "TForm0C.h"
#include "TForm0D.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>

namespace {
bool accepted(QDialog* popup)
{
    return popup->exec() == QDialog::Accepted;
}
} // namespace

PopupEditorHost::PopupEditorHost(TForm0103* form0103, TForm05* form05, TForm0204* form0204,
                                 TForm07* form07, TForm080E* form080E, TForm0D* form0D,
                                 TForm0C* form0C)
    : m_form0103(form0103), m_form05(form05), m_form0204(form0204), m_form07(form07),
      m_form080E(form080E), m_form0D(form0D), m_form0C(form0C)
{
    Q_ASSERT(form0103 && form05 && form0204 && form07 && form080E && form0D && form0C);
}

bool PopupEditorHost::ShowIntegerPopup(const IntegerPopup& popup, QString& typed)
{
    TForm0103& form = *m_form0103;
    form.Label2->setText(popup.nameLabel);
    form.Label1->setText(popup.rangeLabel);
    form.Edit1->setText(popup.value);
    form.MinValue = popup.minValue;
    form.MaxValue = popup.maxValue;
    if (!accepted(&form))
        return false;
    typed = form.Edit1->text();
    return true;
}

bool PopupEditorHost::ShowStringPopup(const StringPopup& popup, QString& typed)
{
    TForm0204& form = *m_form0204;
    form.TextLimit = popup.textLimit;
    form.FittingLength = popup.fittingLength;
    form.Label1->setText(popup.nameLabel);
    form.Edit1->setText(popup.text);
    const bool ok = accepted(&form);
    // The callback refers to the record; it must not outlive this edit.
    form.FittingLength = nullptr;
    if (!ok)
        return false;
    typed = form.Edit1->text();
    return true;
}

bool PopupEditorHost::ShowChoicePopup(const QStringList& items, int selected, int& chosen)
{
    TForm05& form = *m_form05;
    form.SetItems(items, selected);
    if (!accepted(&form))
        return false;
    chosen = form.SelectedIndex();
    return true;
}

bool PopupEditorHost::ShowCoordinatesPopup(const QString& label, const QString& x, const QString& y,
                                           QString& typedX, QString& typedY)
{
    TForm07& form = *m_form07;
    form.Label1->setText(label);
    form.Edit1->setText(x);
    form.Edit2->setText(y);
    if (!accepted(&form))
        return false;
    typedX = form.Edit1->text();
    typedY = form.Edit2->text();
    return true;
}

bool PopupEditorHost::ShowFourFieldPopup(const FourFieldPopup& popup, std::array<QString, 4>& typed)
{
    TForm080E& form = *m_form080E;
    form.EditMode = popup.mode;
    form.WheelMax = popup.wheelMax;
    for (int i = 0; i < 4; ++i) {
        form.labels()[i]->setText(popup.labels[i]);
        form.fields()[i]->setText(popup.values[i]);
    }
    if (!accepted(&form))
        return false;
    for (int i = 0; i < 4; ++i)
        typed[i] = form.fields()[i]->text();
    return true;
}

bool PopupEditorHost::ShowTimePopup(const QString& label, const QString& text, QString& typed)
{
    TForm0C& form = *m_form0C;
    form.Label1->setText(label);
    form.MaskEdit1->setText(text);
    if (!accepted(&form))
        return false;
    typed = form.TimeText();
    return true;
}

bool PopupEditorHost::ShowDatePopup(const QDate& date, QDate& chosen)
{
    TForm0D& form = *m_form0D;
    form.MonthCalendar1->setSelectedDate(date);
    if (!accepted(&form))
        return false;
    chosen = form.MonthCalendar1->selectedDate();
    return true;
}
