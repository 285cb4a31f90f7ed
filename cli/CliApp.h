#pragma once

#include <QByteArray>
#include <QStringList>

class QIODevice;

// parvane-cli without the process around it: arguments in (without the program
// name), UTF-8 bytes out, the exit status returned. 0: everything loaded and
// written; 2: a file stopped at a block it could not read; 1: a file could not
// be opened, read or written, or the arguments are wrong.
int RunCli(const QStringList& arguments, QByteArray& out, QByteArray& err);
// The same, with the output written to device as it is made (err still at the end).
int RunCli(const QStringList& arguments, QIODevice& out, QByteArray& err);

// Called by the program when the process ends right after RunCli: documents
// are then left to the system instead of being taken apart.
void SetCliEndsProcess();
