#include "AppWindows.h"
#include "CommandLine.h"
#include "DesignFont.h"
#include "Translations.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("parvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PARVANE_VERSION));
    CommandLine::AnswerWithoutWindow(argc, argv);
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral(PARVANE_APP_ID));
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/48/parvane.png"));
    icon.addFile(QStringLiteral(":/icons/256/parvane.png"));
    QApplication::setWindowIcon(icon);
    UseDesignFont();
    InstallTranslations();
    AppWindows windows(CommandLine::FileArguments(QApplication::arguments()));
    return windows.run();
}
