#pragma once

#include "PopupDialog.h"

#include <QStringList>

class QListWidget;

// "ComboBox": the choice popup. SetItems(), exec(), then SelectedIndex(). The window takes the
// size of its list, which shows every entry without scrolling; the wheel moves the selection
// and stops at the first and the last entry.
class TForm05 : public PopupDialog
{
    Q_OBJECT
public:
    static constexpr int ItemHeight = 16;

    explicit TForm05(QWidget* parent = nullptr);

    // selected outside 0..items.size()-1 (for example -1) leaves no entry selected.
    void SetItems(const QStringList& items, int selected);
    // The selected row, or -1 when no entry is selected.
    int SelectedIndex() const;

    QListWidget* const ListBox1;

protected:
    void arrange() override;
    bool wheelStep(int steps) override;
};
