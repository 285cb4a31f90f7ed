#include "DesignFont.h"

#include <QApplication>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <QFile>
#include <QFontDatabase>
#endif

void RegisterDesignFont()
{
    static bool done = false;
    if (done)
        return;
    done = true;
#ifdef Q_OS_LINUX
    // Windows has Tahoma of its own; on Linux Wine's copy stands in for it.
    if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive))
        return;
    // Only the regular face: Wine's bold face (tahomabd.ttf) draws thin strokes on wider
    // advances ("BCFG File:" 67 px instead of the layout's 59), while the bold the toolkit
    // derives from the regular face keeps the layout's widths and looks bold.
    const QString regular = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");
    if (QFile::exists(regular))
        QFontDatabase::addApplicationFont(regular);
#endif
}

QFont DesignFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    return font;
}

void UseDesignFont()
{
    RegisterDesignFont();
    // Without a class name this also replaces the platform's own fonts for menus, tool tips
    // and message boxes.
    QApplication::setFont(DesignFont());
}
