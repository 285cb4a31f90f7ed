#include "Console.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
// The streams already carry bytes as they are.
ConsoleSetup::ConsoleSetup() = default;
ConsoleSetup::~ConsoleSetup() = default;
#endif
