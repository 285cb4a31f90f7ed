#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

// A file name as the user gave it (command line, open and save dialogs), with ".bcfg" appended
// when it holds no "." at all; a dot in a folder's name counts.
inline QString WithBcfgExtension(const QString& name)
{
    return name.contains(QLatin1Char('.')) ? name : name + QStringLiteral(".bcfg");
}

// A file as every message names it: its full path with the system's own separators.
inline QString ShownPath(const QString& fileName)
{
    return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath());
}

// A reason given for a failure on fileName, which may name the file in the toolkit's form
// ("Existing file C:/x.bcfg is not writable"): the name then has the system's separators too.
inline QString ShownReason(const QString& reason, const QString& fileName)
{
    QString shown = reason;
    for (const QString& name : {QFileInfo(fileName).absoluteFilePath(), fileName})
        if (!name.isEmpty())
            shown.replace(name, QDir::toNativeSeparators(name));
    return shown;
}
