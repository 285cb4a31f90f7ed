#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {
struct Installed {
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Installed& installed()
{
    static Installed value;
    return value;
}

// Loads file (by the locale's UI languages) from folder and installs it, or nothing.
std::unique_ptr<QTranslator> install(const QLocale& locale, const QString& file,
                                     const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, file, QStringLiteral("_"), folder))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}
} // namespace

bool InstallTranslations(const QLocale& locale)
{
    Installed& current = installed();
    // Removing a translator that is deleted is what the destructor does.
    current.program.reset();
    current.qt.reset();
    // English is the language of the source: nothing to load.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    current.qt = install(locale, QStringLiteral("qtbase"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    current.program = install(locale, QStringLiteral("parvane"), QStringLiteral(":/i18n"));
    return current.program != nullptr;
}
