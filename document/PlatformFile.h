#pragma once

#include <QStringView>

class QFileDevice;

// What only the operating system can tell about a file.
namespace PlatformFile {

// Whether an open file is a regular file, asked of its handle: the path may
// have been replaced since it was looked at. True where the system cannot say.
bool IsRegular(const QFileDevice& file);

// Whether a path names one of the devices of Windows rather than a file: a name
// such as CON, NUL, PRN, AUX, COM1-COM9 or LPT1-LPT9 in any folder and with any
// extension ("con.bcfg"), or a path into the device namespace (\\.\). Decided on
// every system; only Windows treats such paths as devices (NamesDevice).
bool IsWindowsDeviceName(QStringView path);

// IsWindowsDeviceName on Windows, false elsewhere.
bool NamesDevice(QStringView path);

} // namespace PlatformFile
