#include "Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

ConsoleSetup::ConsoleSetup()
{
    // Text mode would write CRLF for every LF.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    // The output is UTF-8; a console shows it as such only with UTF-8 as its code page.
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
                         ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode);
    if (console) {
        m_oldOutputCodePage = ::GetConsoleOutputCP();
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

ConsoleSetup::~ConsoleSetup()
{
    // The console window outlives the program: its code page is given back.
    if (m_oldOutputCodePage != 0)
        ::SetConsoleOutputCP(m_oldOutputCodePage);
}
