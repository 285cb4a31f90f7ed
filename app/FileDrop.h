#pragma once

#include <QObject>
#include <functional>

class QMimeData;
class QWidget;

// Takes a local file dropped on the widgets it watches and hands its path on. A drop that names no
// local file is left to the widget (text dropped on a field stays text).
class FileDrop : public QObject
{
    Q_OBJECT
public:
    // open: takes the path of the first local file of a drop; false when it cannot now.
    FileDrop(QObject* parent, std::function<bool(const QString&)> open);

    void Watch(QWidget* widget);
    // The first local file the data names; empty when it names none.
    static QString FileOf(const QMimeData* data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool(const QString&)> m_open;
};
