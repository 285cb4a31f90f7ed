#pragma once

#include "PopupDialog.h"

class QLabel;
class QLineEdit;

// "UInt and Int": the integer popup. Set Label2 (name), Label1 (range), Edit1 and the wheel
// bounds, exec(), then read Edit1. The wheel steps Edit1 between MinValue and MaxValue.
class TForm0103 : public PopupDialog
{
    Q_OBJECT
public:
    explicit TForm0103(QWidget* parent = nullptr);

    QLabel* const Label2;   // name
    QLineEdit* const Edit1; // value
    QLabel* const Label1;   // range
    qint64 MinValue = 0;
    qint64 MaxValue = 0;

protected:
    void arrange() override;
    bool wheelStep(int steps) override;
};
