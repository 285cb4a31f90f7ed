#pragma once

#include <QString>

// A file name as the user gave it (command line, open and save dialogs), with ".bcfg" appended
// when it holds no "." at all; a dot in a folder's name counts.
inline QString WithBcfgExtension(const QString& name)
{
    return name.contains(QLatin1Char('.')) ? name : name + QStringLiteral(".bcfg");
}
