#include "SettingsLocation.h"

#include "IniFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

QString SettingsPath(const QString& executablePath)
{
    const QString beside = IniFile::PathForExecutable(executablePath);
    if (DirectoryTakesNewFiles(QFileInfo(beside).absolutePath()))
        return beside;
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(userFolder).filePath(QStringLiteral("parvane.ini"));
}

bool DirectoryTakesNewFiles(const QString& dir)
{
    QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".parvane-XXXXXX")));
    return probe.open(); // removed when the probe goes
}
