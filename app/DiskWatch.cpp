#include "DiskWatch.h"

#include "DocumentSession.h"
#include "FileState.h"
#include "Platform.h"

#include <QFileInfo>

DiskWatch::DiskWatch(DocumentSession& session, QObject* parent)
    : QObject(parent), m_session(session)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleTime);
    connect(&m_settle, &QTimer::timeout, this, &DiskWatch::check);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::schedule);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::schedule);
    // Opened, reloaded or saved: watch that file and tell whether it is settled again.
    connect(&session, &DocumentSession::diskStateChanged, this, [this] {
        rewatch();
        schedule();
    });
}

void DiskWatch::schedule()
{
    m_settle.start();
}

void DiskWatch::rewatch()
{
    const QString fileName = m_session.FileName();
    if (fileName != m_fileName) {
        if (!m_watcher.files().isEmpty())
            m_watcher.removePaths(m_watcher.files());
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        m_fileName = fileName;
        m_announced.clear();
    }
    if (m_fileName.isEmpty())
        return;
    const QString folder = QFileInfo(m_fileName).absolutePath();
    if (Platform::WatchFolderOfFile() && !m_watcher.directories().contains(folder) &&
        QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
    if (!m_watcher.files().contains(m_fileName) && QFileInfo(m_fileName).isFile())
        m_watcher.addPath(m_fileName);
}

void DiskWatch::check()
{
    rewatch();
    // An open or an import is reading and replacing things: compare once it is done.
    if (m_session.Busy()) {
        schedule();
        return;
    }
    ++m_checks;
    const FileState& known = m_session.DiskState();
    if (!known.known || m_fileName.isEmpty())
        return;
    const FileState now = FileState::Of(m_fileName);
    QByteArray version;
    if (now.known) {
        if (now.SameBytes(known)) {
            m_announced.clear();
            emit settled();
            return;
        }
        version = now.digest;
    } else if (!QFileInfo::exists(m_fileName)) {
        version = "gone";
    } else {
        return; // there but unreadable for now: nothing to tell yet
    }
    if (version == m_announced)
        return;
    m_announced = version;
    emit changed(!now.known);
}
