#pragma once

#include "AnchorLayout.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// The help window: the short manual in Russian and in English. Created once
// and hidden between uses, so its active tab, scroll positions and any text
// typed into the English page stay until the program ends.
class TForm2 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // The two texts, lines joined by "\n".
    static QString RussianText();
    static QString EnglishText();

    // Shows the window modally, centred over its parent.
    int exec() override;

    QTabWidget* const PageControl1;
    QPlainTextEdit* const Memo1;
    QPlainTextEdit* const Memo2;
    QPushButton* const Button1;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    AnchorLayout m_layout;
};
