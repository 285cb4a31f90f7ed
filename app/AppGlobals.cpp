#include "AppGlobals.h"

namespace {
QString& title()
{
    static QString value;
    return value;
}
} // namespace

const QString& ApplicationTitle()
{
    return title();
}

void SetApplicationTitle(const QString& value)
{
    title() = value;
}

QString DefaultApplicationTitle()
{
    return QStringLiteral("Редактор bcfg-файлов");
}
