#include "CliApp.h"

#include <QCoreApplication>
#include <cstdio>
#include <new>

int main(int argc, char* argv[])
{
    // RunCli reports its own failures; this catches what happens around it
    // (memory running out while starting or while its texts are built).
    try {
        QCoreApplication app(argc, argv);
        QByteArray out;
        QByteArray err;
        const int status = RunCli(app.arguments().mid(1), out, err);
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
        return std::fflush(stdout) == 0 ? status : 1;
    } catch (const std::bad_alloc&) {
        std::fputs("Out of memory.\n", stderr);
    } catch (...) {
        std::fputs("Unexpected error.\n", stderr);
    }
    return 1;
}
