#pragma once

#include "PopupDialog.h"

class QLabel;
class QLineEdit;

// "Time": a masked "HH:MM" field. Set Label1 and MaskEdit1, exec(), then read TimeText().
class TForm0C : public PopupDialog
{
    Q_OBJECT
public:
    explicit TForm0C(QWidget* parent = nullptr);

    // The field as the record reads it, always five characters: hour in characters 1-2,
    // ":" in 3, minute in 4-5. A one-digit hour is held behind a leading blank; unfilled
    // minute places read "_".
    QString TimeText() const;

    QLabel* const Label1;       // name
    QLineEdit* const MaskEdit1; // "HH:MM"

protected:
    void arrange() override;
};
