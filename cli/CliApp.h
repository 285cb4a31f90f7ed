#pragma once

#include <QByteArray>
#include <QStringList>

// parvane-cli without the process around it: arguments in (without the program
// name), UTF-8 bytes out, the exit status returned. 0: everything loaded and
// written; 2: a file stopped at a block it could not read; 1: a file could not
// be opened, read or written, or the arguments are wrong.
int RunCli(const QStringList& arguments, QByteArray& out, QByteArray& err);
