#pragma once

#include "EditorHost.h"
#include "PopupDialog.h"

#include <array>

class QLabel;
class QLineEdit;

// "Color and rect": four labelled fields for a colour (R, G, B, A) or a rectangle (X1, Y1, X2,
// Y2). Set EditMode, the labels, the fields and WheelMax, exec(), then read the fields. The wheel
// steps the focused field within 0..WheelMax; a colour's fourth field (alpha) stops at
// ValueRules::AlphaMax. It never steps out of what the record accepts (ValueRules::ColourMax,
// AlphaMax, RectMax).
class TForm080E : public PopupDialog
{
    Q_OBJECT
public:
    explicit TForm080E(QWidget* parent = nullptr);

    QLabel* const Label1;
    QLineEdit* const Edit1;
    QLabel* const Label2;
    QLineEdit* const Edit2;
    QLabel* const Label3;
    QLineEdit* const Edit3;
    QLabel* const Label4;
    QLineEdit* const Edit4;
    using Mode = EditorHost::FourFieldPopup::Mode;
    Mode EditMode = Mode::Colour;
    // ValueRules::ColourMax while a colour is edited, PositionWheelMax while a rectangle is.
    int WheelMax = ValueRules::ColourMax;

    std::array<QLabel*, 4> labels() const { return {Label1, Label2, Label3, Label4}; }
    std::array<QLineEdit*, 4> fields() const { return {Edit1, Edit2, Edit3, Edit4}; }

protected:
    void arrange() override;
    bool wheelStep(int steps) override;
};
