#pragma once

#include <QStringList>

// The program's command line: --help and --version answer on standard output; otherwise the
// first argument names the file to open (the main window appends ".bcfg" to a name without
// a ".").
namespace CommandLine {

// Answers --help, --help-all or --version and ends the program when one of them is given; returns
// otherwise. Call it before the QApplication exists, so that neither needs a display.
void AnswerWithoutWindow(int& argc, char** argv);

// The arguments that name files, from QApplication::arguments() (the toolkit's own options
// already taken out); the first one as a local file name. Ends the program with a message on
// standard error for an option it does not know.
QStringList FileArguments(const QStringList& arguments);

// A file:// URL (what some file managers pass) as its local path; anything else unchanged.
QString LocalFileName(const QString& argument);

} // namespace CommandLine
