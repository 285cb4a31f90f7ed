#pragma once

#include "PopupDialog.h"

#include <array>

class QLabel;
class QLineEdit;

// "Color and rect": four labelled fields for a colour (R, G, B, A) or a rectangle (X1, Y1, X2,
// Y2). Set the labels, the fields and WheelMax, exec(), then read the fields. The wheel steps the
// focused field within 0..WheelMax; the fourth field (alpha) stops at 100 while WheelMax is 255.
// It never steps out of what the record accepts (ValueRules::ColourMax, AlphaMax, RectMax).
class TForm080E : public PopupDialog
{
    Q_OBJECT
public:
    static constexpr int ColourWheelMax = 255;
    static constexpr int AlphaWheelMax = 100;

    explicit TForm080E(QWidget* parent = nullptr);

    QLabel* const Label1;
    QLineEdit* const Edit1;
    QLabel* const Label2;
    QLineEdit* const Edit2;
    QLabel* const Label3;
    QLineEdit* const Edit3;
    QLabel* const Label4;
    QLineEdit* const Edit4;
    // 255 while a colour is edited, 512 while a rectangle is edited.
    int WheelMax = ColourWheelMax;

    std::array<QLabel*, 4> labels() const { return {Label1, Label2, Label3, Label4}; }
    std::array<QLineEdit*, 4> fields() const { return {Edit1, Edit2, Edit3, Edit4}; }

protected:
    void arrange() override;
    bool wheelStep(int steps) override;
};
