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

    // The name of the file that is open, which the field shows again when it loses the focus
    // to another control of its window, or Esc is pressed in it, while it names another file;
    // empty while none is open. Settle() shows it at once. Neither emits textChanged, so
    // nothing is opened.
    void setSettledText(const QString& text) { m_settled = text; }
    void Settle();

signals:
    void textChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_edit;
    QToolButton* m_browse;
    QString m_settled;
};
