#pragma once

#include <QObject>

class QWidget;

// While an open or an import runs, user input to one window waits for nothing: it is dropped
// until the work ends. Other windows (the boxes the work asks with) take input as usual.
class BusyInputFilter : public QObject
{
    Q_OBJECT
public:
    explicit BusyInputFilter(QWidget* window);

    void SetBusy(bool busy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
};
