#pragma once

#include "EditorHost.h"

class TForm0103;
class TForm05;
class TForm0204;
class TForm07;
class TForm080E;
class TForm0D;
class TForm0C;

// The EditorHost of the running program: each Show* fills its popup window, shows it modally
// at PopupLeft/PopupTop and hands back the texts of its fields. The windows are created once
// by the application and must outlive the host; the host never deletes them.
class PopupEditorHost : public EditorHost
{
public:
    // The windows in the order the application creates them.
    PopupEditorHost(TForm0103* form0103, TForm05* form05, TForm0204* form0204, TForm07* form07,
                    TForm080E* form080E, TForm0D* form0D, TForm0C* form0C);

    bool ShowIntegerPopup(const IntegerPopup& popup, QString& typed) override;
    bool ShowStringPopup(const StringPopup& popup, QString& typed) override;
    bool ShowChoicePopup(const QStringList& items, int selected, int& chosen) override;
    bool ShowCoordinatesPopup(const QString& label, const QString& x, const QString& y,
                              QString& typedX, QString& typedY) override;
    bool ShowFourFieldPopup(const FourFieldPopup& popup, std::array<QString, 4>& typed) override;
    bool ShowTimePopup(const QString& label, const QString& text, QString& typed) override;
    bool ShowDatePopup(const QDate& date, QDate& chosen) override;

private:
    TForm0103* m_form0103;
    TForm05* m_form05;
    TForm0204* m_form0204;
    TForm07* m_form07;
    TForm080E* m_form080E;
    TForm0D* m_form0D;
    TForm0C* m_form0C;
};
