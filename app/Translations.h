#pragma once

#include <QLocale>

// Installs the translation of the program's own texts for the locale (from the program's
// resources) and Qt's translation of its dialogs' texts (where the system has it installed).
// The design's fixed texts never go through a translation. Installing again replaces what an
// earlier call installed; a locale without a translation leaves the texts in English.
// Needs a QCoreApplication. Returns whether the program's own translation was found.
bool InstallTranslations(const QLocale& locale = QLocale());
