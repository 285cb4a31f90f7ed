#pragma once

#include "PopupDialog.h"

class QLabel;
class QLineEdit;

// "Coordinates": two fields. Set Label1 and Edit1/Edit2, exec(), then read the fields. The wheel
// steps the focused field within 0..ValueRules::PositionWheelMax, and never out of the signed
// 32-bit range.
class TForm07 : public PopupDialog
{
    Q_OBJECT
public:
    explicit TForm07(QWidget* parent = nullptr);

    QLabel* const Label1;   // "N - X:"
    QLineEdit* const Edit1; // x
    QLabel* const Label2;   // "Y:"
    QLineEdit* const Edit2; // y

protected:
    void arrange() override;
    bool wheelStep(int steps) override;
};
