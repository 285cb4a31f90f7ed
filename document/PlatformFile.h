#pragma once

class QFileDevice;

// What only the operating system can tell about a file.
namespace PlatformFile {

// Whether an open file is a regular file, asked of its handle: the path may
// have been replaced since it was looked at. True where the system cannot say.
bool IsRegular(const QFileDevice& file);

} // namespace PlatformFile
