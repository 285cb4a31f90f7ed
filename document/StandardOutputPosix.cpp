#include "StandardOutput.h"

#include <QFile>
#include <unistd.h>

namespace StandardOutput {

std::unique_ptr<QIODevice> Open(Stream stream, bool)
{
    // Consoles here take the UTF-8 bytes themselves.
    auto file = std::make_unique<QFile>();
    const int fd = stream == Stream::Out ? STDOUT_FILENO : STDERR_FILENO;
    if (!file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return nullptr;
    return file;
}

} // namespace StandardOutput
