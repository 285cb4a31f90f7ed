#pragma once

#include <QDialog>
#include <QHash>
#include <QPalette>

class QLabel;
class QLineEdit;

// What the popup editors share: no frame, modal, shown with the top-left corner at
// PopupLeft/PopupTop every time, Esc cancels and Enter accepts only on the controls bound to
// them, and the window's close command (Alt+F4) accepts. A popup is created once and shown
// again and again; it keeps its last texts between showings.
class PopupDialog : public QDialog
{
    Q_OBJECT
public:
    // How a control, or the window itself, reacts to keys and double-clicks.
    enum Binding {
        EscEnter = 0x1,           // Esc cancels, Enter asks to accept
        DoubleClickAccepts = 0x2, // a double-click asks to accept
        DoubleClickIgnored = 0x4, // a double-click does nothing (it does not reach the window)
    };
    Q_DECLARE_FLAGS(Bindings, Binding)

    // Moves to PopupLeft/PopupTop and lays the controls out before the window appears.
    void setVisible(bool visible) override;

    // Gives a list or calendar the tool-tip colours of the popups' background.
    static void useInfoColours(QWidget* widget);

protected:
    // background: QPalette::ToolTipBase for the yellow popups, QPalette::Button for the others.
    PopupDialog(const QString& title, QPalette::ColorRole background, QWidget* parent);

    // Bindings of a child control; events the control does not bind go on as usual.
    void bind(QWidget* control, Bindings bindings);
    void bindWindow(Bindings bindings) { m_windowBindings = bindings; }

    // Where Enter and an accepting double-click end; the string popup checks the length first.
    virtual void requestAccept() { accept(); }
    // Lays the controls out for the texts just set and gives the focus; runs before each showing.
    virtual void arrange() {}
    // Wheel steps as ValueRules::WheelSteps gives them. Returns whether the popup consumes the
    // wheel; popups without wheel handling leave it to the controls.
    virtual bool wheelStep(int steps);

    // Gives field the focus with its whole text selected, also once the window is visible.
    void focusAndSelectAll(QLineEdit* field);
    // Sizes a label to its text.
    static void fitLabel(QLabel* label);
    // The right edge as a position: left + width.
    static int rightOf(const QWidget* widget);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // True when the key was Esc or Enter and bindings say what to do with it.
    bool handleKey(QKeyEvent* event, Bindings bindings);

    QHash<QObject*, Bindings> m_bindings;
    QLineEdit* m_selectedField = nullptr;
    Bindings m_windowBindings;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PopupDialog::Bindings)
