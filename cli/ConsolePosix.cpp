#include "Console.h"

// The streams already carry bytes as they are.
ConsoleSetup::ConsoleSetup() = default;
ConsoleSetup::~ConsoleSetup() = default;
