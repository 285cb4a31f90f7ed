#pragma once

#include <QtGlobal>

#ifdef Q_OS_UNIX

#include <QFile>
#include <QSemaphore>
#include <QString>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// A named pipe that the code under test must refuse without opening it.
// Opening it would wait for the other end for ever, so after a few seconds
// both ends are opened and closed once: such code then sees an empty pipe
// (or a closed one) and the test fails instead of hanging.
class TestFifo
{
public:
    explicit TestFifo(const QString& path)
        : m_path(QFile::encodeName(path)), m_created(::mkfifo(m_path.constData(), 0600) == 0)
    {
        m_guard = std::thread([this] {
            if (m_finished.tryAcquire(1, 3000))
                return;
            const int reader = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
            const int writer = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            for (int fd : {writer, reader})
                if (fd >= 0)
                    ::close(fd);
        });
    }
    ~TestFifo()
    {
        m_finished.release();
        m_guard.join();
    }
    TestFifo(const TestFifo&) = delete;
    TestFifo& operator=(const TestFifo&) = delete;

    bool created() const { return m_created; }
    // Whether the path still is this pipe (not replaced by a file).
    bool stillThere() const
    {
        struct stat status;
        return ::lstat(m_path.constData(), &status) == 0 && S_ISFIFO(status.st_mode);
    }

private:
    QByteArray m_path;
    bool m_created;
    QSemaphore m_finished;
    std::thread m_guard;
};

#endif
