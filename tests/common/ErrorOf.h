#pragma once

// Checking an error's text: errorOf runs the work and returns the text of the BcfgError it
// throws, or a text no error has when it throws none, so that one comparison checks both.

#include "BcfgError.h"

#include <QString>

inline QString errorOf(const auto& work)
{
    try {
        work();
    } catch (const BcfgError& error) {
        return error.text();
    }
    return QStringLiteral("(no error)");
}
