#pragma once

#include <QString>

// Where the settings file lives. Beside the executable and named after it
// (IniFile::PathForExecutable) when the program's directory takes new files, as for a copy in a
// build or portable folder; otherwise "parvane.ini" in the user's configuration folder
// (QStandardPaths::AppConfigLocation), where an installed copy in a system directory keeps it.
// Decided once at start-up; the file is read and written by the same rules in either place.
QString SettingsPath(const QString& executablePath);

// Whether a new file can be created in dir, found by creating (and removing) one: permission
// bits alone do not tell, since an administrator may write anywhere except on a read-only
// file system.
bool DirectoryTakesNewFiles(const QString& dir);
