#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

class DocumentSession;

// Watches the session's file for what other programs do to it. The file and its folder are
// both watched, and after every event the file is added again: a file replaced by a rename
// (every atomic save, this program's own too) drops out of the system's watch on Linux, where
// the watch follows the file itself, and the folder tells when a file of that name comes back.
// Events come in bursts (truncate, write, rename): they are gathered for SettleTime, then the
// bytes on disk are compared with what the session last read or wrote, so a new time stamp or
// the program's own save is no change.
class DiskWatch : public QObject
{
    Q_OBJECT
public:
    explicit DiskWatch(DocumentSession& session, QObject* parent = nullptr);

    // How long events are gathered before the file is compared, in milliseconds.
    static constexpr int SettleTime = 150;
    // Comparisons made so far (tests wait for one).
    int ChecksRun() const { return m_checks; }

signals:
    // The file holds bytes the session did not read or write (missing: it is gone), and this
    // version of it was not announced before.
    void changed(bool missing);
    // The file holds what the session knows again (it saved or reloaded).
    void settled();

private:
    void schedule();
    void rewatch();
    void check();

    DocumentSession& m_session;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_fileName; // the path watched
    // The version last announced: its digest, "gone" for a missing file, empty for none.
    QByteArray m_announced;
    int m_checks = 0;
};
