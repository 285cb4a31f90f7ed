#pragma once

// Shared by the tests of the program's windows and session: the dialog seam answered by the
// test (Dialogs in test mode records every box) and the error text of what was shown.

#include "AppGlobals.h"
#include "Dialogs.h"
#include "ModalAnswers.h"

Q_DECLARE_METATYPE(Dialogs::Answer)

namespace answers {

// Start-up as the program does it, with every box recorded instead of shown.
inline void startUp()
{
    SetApplicationTitle(DefaultApplicationTitle());
    Dialogs::SetTestMode(true);
}

// The texts of the error boxes among shown, joined.
inline QString errorText(const QList<Dialogs::Shown>& shown)
{
    QString text;
    for (const Dialogs::Shown& box : shown)
        if (box.kind == QLatin1String("error"))
            text += box.text;
    return text;
}

} // namespace answers
