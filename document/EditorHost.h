#pragma once

#include "ValueRules.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// How a record's Edit reaches its popup window without the document layer
// knowing any widget. Each Show* fills the popup, shows it modally at the
// popup position and returns true on accept (false on cancel), handing back
// what the user typed. The record decides validity and stores; the popup only
// collects. Texts are already converted from the 8-bit code page.
class EditorHost
{
public:
    virtual ~EditorHost() = default;

    // TForm0103: Label2 = nameLabel, Label1 = rangeLabel, Edit1 = value.
    // minValue/maxValue bound the popup's own wheel stepping.
    struct IntegerPopup {
        QString nameLabel;
        QString rangeLabel;
        QString value;
        qint64 minValue = 0;
        qint64 maxValue = 0;
    };
    virtual bool ShowIntegerPopup(const IntegerPopup& popup, QString& typed) = 0;

    // TForm0204: Label1 = nameLabel, Edit1 = text. On Enter or double-click the
    // popup asks fittingLength(fieldText): when it is shorter than the field's
    // text, the field is cut to that many characters and the popup stays open.
    struct StringPopup {
        QString nameLabel;
        QString text;
        int textLimit = 0;
        std::function<qsizetype(const QString&)> fittingLength;
    };
    virtual bool ShowStringPopup(const StringPopup& popup, QString& typed) = 0;

    // TForm05: the list holds items; selected is the row to select (-1: none).
    // On accept chosen is the selected row, or -1 when nothing is selected.
    virtual bool ShowChoicePopup(const QStringList& items, int selected, int& chosen) = 0;

    // TForm07: Label1 = label ("N - X:"), Edit1/Edit2 = x/y in, typed out.
    virtual bool ShowCoordinatesPopup(const QString& label, const QString& x, const QString& y,
                                      QString& typedX, QString& typedY) = 0;

    // TForm080E: four labels and four fields. mode says whether they hold a colour or a
    // rectangle, and with it what each accepts: a colour's fourth field is its alpha.
    // wheelMax bounds the wheel, except on a colour's alpha (ValueRules::AlphaMax).
    struct FourFieldPopup {
        enum class Mode { Colour, Rectangle };
        Mode mode = Mode::Colour;
        std::array<QString, 4> labels;
        std::array<QString, 4> values;
        int wheelMax = ValueRules::ColourMax;
    };
    virtual bool ShowFourFieldPopup(const FourFieldPopup& popup, std::array<QString, 4>& typed) = 0;

    // TForm0C: Label1 = label, MaskEdit1 = text ("HH:MM"); typed is the field's text.
    virtual bool ShowTimePopup(const QString& label, const QString& text, QString& typed) = 0;

    // TForm0D: the calendar shows date; on accept chosen is the calendar's date.
    virtual bool ShowDatePopup(const QDate& date, QDate& chosen) = 0;
};
