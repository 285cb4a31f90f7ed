#include "PopupDialog.h"

#include "PopupPosition.h"
#include "ValueRules.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>

PopupDialog::PopupDialog(const QString& title, QPalette::ColorRole background, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(title);
    setModal(true);
    QPalette colours = palette();
    const QPalette system = QApplication::palette();
    colours.setColor(QPalette::Window, system.color(background));
    if (background == QPalette::ToolTipBase)
        colours.setColor(QPalette::WindowText, system.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
}

void PopupDialog::useInfoColours(QWidget* widget)
{
    QPalette colours = widget->palette();
    const QPalette system = QApplication::palette();
    const QColor back = system.color(QPalette::ToolTipBase);
    const QColor text = system.color(QPalette::ToolTipText);
    for (const auto role : {QPalette::Base, QPalette::AlternateBase, QPalette::Window})
        colours.setColor(role, back);
    for (const auto role : {QPalette::Text, QPalette::WindowText})
        colours.setColor(role, text);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

void PopupDialog::setVisible(bool visible)
{
    const bool showing = visible && !isVisible();
    if (showing) {
        m_selectedField = nullptr;
        move(PopupLeft, PopupTop);
        arrange();
    }
    QDialog::setVisible(visible);
    // Showing a dialog sends its focus widget a tab focus-in, on which a masked field drops
    // the selection for the cursor at the first blank.
    if (showing && m_selectedField)
        m_selectedField->selectAll();
}

void PopupDialog::focusAndSelectAll(QLineEdit* field)
{
    m_selectedField = field;
    field->setFocus();
    field->selectAll();
}

void PopupDialog::bind(QWidget* control, Bindings bindings)
{
    m_bindings.insert(control, bindings);
    control->installEventFilter(this);
}

bool PopupDialog::wheelStep(int)
{
    return false;
}

void PopupDialog::fitLabel(QLabel* label)
{
    label->adjustSize();
}

int PopupDialog::rightOf(const QWidget* widget)
{
    return widget->x() + widget->width();
}

bool PopupDialog::handleKey(QKeyEvent* event, Bindings bindings)
{
    if (!(bindings & EscEnter))
        return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        requestAccept();
        return true;
    default:
        return false;
    }
}

bool PopupDialog::eventFilter(QObject* watched, QEvent* event)
{
    const auto found = m_bindings.constFind(watched);
    if (found == m_bindings.constEnd())
        return QDialog::eventFilter(watched, event);
    const Bindings bindings = *found;
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent*>(event), bindings);
    case QEvent::MouseButtonDblClick:
        if (bindings & DoubleClickAccepts) {
            requestAccept();
            return true;
        }
        return bool(bindings & DoubleClickIgnored);
    case QEvent::Wheel:
        // A control that would scroll (the list) must not see the wheel when the popup steps.
        return wheelStep(
            ValueRules::WheelSteps(static_cast<QWheelEvent*>(event)->angleDelta().y()));
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void PopupDialog::keyPressEvent(QKeyEvent* event)
{
    if (handleKey(event, m_windowBindings))
        return;
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Not bound on this window: QDialog would cancel on Esc.
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PopupDialog::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_windowBindings & DoubleClickAccepts) {
        requestAccept();
        return;
    }
    QDialog::mouseDoubleClickEvent(event);
}

void PopupDialog::wheelEvent(QWheelEvent* event)
{
    if (wheelStep(ValueRules::WheelSteps(event->angleDelta().y())))
        event->accept();
    else
        QDialog::wheelEvent(event);
}

void PopupDialog::closeEvent(QCloseEvent* event)
{
    // The window system's close command ends the edit like Enter, without any check.
    if (isVisible())
        accept();
    event->accept();
}
