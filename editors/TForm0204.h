#pragma once

#include "PopupDialog.h"

#include <functional>

class QLabel;
class QLineEdit;

// "String": the text popup. Set Label1, Edit1, TextLimit and FittingLength, exec(), then read
// Edit1. Enter and double-click accept only a text that fits: a longer one is cut to what fits
// and the popup stays open for another accept.
class TForm0204 : public PopupDialog
{
    Q_OBJECT
public:
    explicit TForm0204(QWidget* parent = nullptr);

    QLabel* const Label1;   // name
    QLineEdit* const Edit1; // text
    // The most characters the text may have; the cut uses it when FittingLength is not set.
    int TextLimit = 0;
    // How many leading characters of a text fit the record (at most the text's length).
    std::function<qsizetype(const QString&)> FittingLength;

protected:
    void requestAccept() override;
    void arrange() override;
};
