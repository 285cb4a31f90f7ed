#include "FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

FileDrop::FileDrop(QObject* parent, std::function<bool(const QString&)> open)
    : QObject(parent), m_open(std::move(open))
{
}

void FileDrop::Watch(QWidget* widget)
{
    widget->installEventFilter(this);
}

QString FileDrop::FileOf(const QMimeData* data)
{
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return {};
}

bool FileDrop::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove &&
        event->type() != QEvent::Drop)
        return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QString fileName = FileOf(drop->mimeData());
    if (fileName.isEmpty())
        return false;
    if (event->type() != QEvent::Drop || m_open(fileName))
        drop->acceptProposedAction();
    return true;
}
