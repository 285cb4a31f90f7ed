#include "CliApp.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QByteArray out;
    QByteArray err;
    const int status = RunCli(app.arguments().mid(1), out, err);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fwrite(err.constData(), 1, size_t(err.size()), stderr);
    return std::fflush(stdout) == 0 ? status : 1;
}
