#include "PlatformFile.h"

#include <QFileDevice>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace PlatformFile {

bool IsRegular(const QFileDevice& file)
{
#if defined(Q_OS_UNIX)
    struct stat status;
    return ::fstat(file.handle(), &status) == 0 && S_ISREG(status.st_mode);
#elif defined(Q_OS_WIN)
    // A console, NUL or a pipe is a character device or a pipe, never a disk file.
    const auto handle = HANDLE(::_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && ::GetFileType(handle) == FILE_TYPE_DISK;
#else
    Q_UNUSED(file);
    return true;
#endif
}

bool IsWindowsDeviceName(QStringView path)
{
    const auto isSlash = [](QChar c) { return c == u'\\' || c == u'/'; };
    if (path.size() >= 4 && isSlash(path[0]) && isSlash(path[1]) && path[2] == u'.' &&
        isSlash(path[3]))
        return true;
    qsizetype start = path.size();
    while (start > 0 && !isSlash(path[start - 1]) && path[start - 1] != u':')
        --start;
    QStringView name = path.mid(start);
    // The device is named by what comes before the first dot; Windows also drops
    // trailing spaces there ("CON .txt").
    name = name.left(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
    while (!name.isEmpty() && name.back() == u' ')
        name.chop(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (name.compare(QLatin1StringView(device), Qt::CaseInsensitive) == 0)
            return true;
    if (name.size() == 4 && name[3] >= u'1' && name[3] <= u'9')
        return name.left(3).compare(u"COM", Qt::CaseInsensitive) == 0 ||
               name.left(3).compare(u"LPT", Qt::CaseInsensitive) == 0;
    return false;
}

bool NamesDevice(QStringView path)
{
#ifdef Q_OS_WIN
    return IsWindowsDeviceName(path);
#else
    Q_UNUSED(path);
    return false;
#endif
}

} // namespace PlatformFile
