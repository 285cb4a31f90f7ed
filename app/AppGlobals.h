#pragma once

#include <QString>

// The application title: the caption of every error box. Start-up sets it; until then
// it is empty.
const QString& ApplicationTitle();
void SetApplicationTitle(const QString& title);

// The title start-up gives the program ("editor of bcfg files").
QString DefaultApplicationTitle();
