#include "PlatformFile.h"

#include <QFileDevice>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace PlatformFile {

bool IsRegular(const QFileDevice& file)
{
#ifdef Q_OS_UNIX
    struct stat status;
    return ::fstat(file.handle(), &status) == 0 && S_ISREG(status.st_mode);
#else
    Q_UNUSED(file);
    return true;
#endif
}

} // namespace PlatformFile
