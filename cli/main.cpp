#include "CliApp.h"
#include "StandardOutput.h"

#include <QCoreApplication>
#include <cstdio>
#include <new>

int main(int argc, char* argv[])
{
    // RunCli reports its own failures; this catches what happens around it
    // (memory running out while starting or while its texts are built).
    try {
        // Qt takes the arguments as Unicode (on Windows from the wide command line).
        QCoreApplication app(argc, argv);
        // Output goes out as it is made; RunCli writes in blocks of its own.
        const auto out = StandardOutput::Open(StandardOutput::Stream::Out);
        if (!out) {
            std::fputs("Cannot write to standard output.\n", stderr);
            return 1;
        }
        QByteArray err;
        SetCliEndsProcess();
        const int status = RunCli(app.arguments().mid(1), *out, err);
        if (const auto errors = StandardOutput::Open(StandardOutput::Stream::Err))
            errors->write(err);
        return status;
    } catch (const std::bad_alloc&) {
        std::fputs("Out of memory.\n", stderr);
    } catch (...) {
        std::fputs("Unexpected error.\n", stderr);
    }
    return 1;
}
