#pragma once

// Puts the standard streams into the shape the CLI writes for, for as long as it lives:
// on Windows, binary output (LF stays LF, the bytes are those of every other system)
// and, where a console window shows them, UTF-8 as the console's code page. Nothing
// to do elsewhere. (ConsoleWin.cpp, ConsolePosix.cpp)
class ConsoleSetup
{
public:
    ConsoleSetup();
    ~ConsoleSetup();
    ConsoleSetup(const ConsoleSetup&) = delete;
    ConsoleSetup& operator=(const ConsoleSetup&) = delete;

private:
    [[maybe_unused]] unsigned m_oldOutputCodePage = 0; // Windows: the console's own
};
