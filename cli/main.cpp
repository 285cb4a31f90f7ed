#include "CliApp.h"
#include "Console.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <new>

int main(int argc, char* argv[])
{
    // RunCli reports its own failures; this catches what happens around it
    // (memory running out while starting or while its texts are built).
    try {
        const ConsoleSetup console;
        // Qt takes the arguments as Unicode (on Windows from the wide command line).
        QCoreApplication app(argc, argv);
        // Output goes out as it is made; RunCli writes in blocks of its own.
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            std::fputs("Cannot write to standard output.\n", stderr);
            return 1;
        }
        QByteArray err;
        SetCliEndsProcess();
        const int status = RunCli(app.arguments().mid(1), out, err);
        std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
        return std::fflush(stdout) == 0 ? status : 1;
    } catch (const std::bad_alloc&) {
        std::fputs("Out of memory.\n", stderr);
    } catch (...) {
        std::fputs("Unexpected error.\n", stderr);
    }
    return 1;
}
