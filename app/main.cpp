#include "AppWindows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppWindows windows(QApplication::arguments().mid(1));
    return windows.run();
}
