#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A one-line file-name field with a browse button at its right end. Every change of the
// text (a keystroke, a paste, a browse choice, setText) emits textChanged; setting the text
// the field already holds emits nothing.
class FileOpenEdit : public QWidget
{
    Q_OBJECT
public:
    explicit FileOpenEdit(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    QLineEdit* lineEdit() const { return m_edit; }
    QToolButton* browseButton() const { return m_browse; }

    // Shows the open dialog and puts the chosen full path into the field.
    void browse();

signals:
    void textChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_browse;
};
