#pragma once

// The document the settings fuzzer applies its texts to, and whose dumps (tools/gen_demo.cpp,
// "settings-seeds") are its seed corpus: every record type, nested levels, names that paths
// escape or number apart, a Cyrillic name and a password.

#include "BcfgBuilder.h"

inline QByteArray SettingsFuzzFile()
{
    return BcfgBuilder()
        .integer(1, "Unsigned", 0, 0xFFFFFFFF, 7)
        .levelBegin("Level/one")
        .text(2, "Path", 31, "a:\\b\\\x1F\xD1\x86")
        .integer(3, "Signed", quint32(-5), 5, quint32(-1))
        .text(4, "Text\\#", 7, "ab")
        .text(4, "Text\\#", 7, "cd")
        .choice("Choice", 1, {"One", "Two", "Three"})
        .text(6, "Password", 7, "pw")
        .levelBegin("\xD1\xE5\xEA\xF6\xE8\xFF") // windows-1251
        .coordinates("Pos", -1, 320)
        .colour("Colour", 10, 255, 0, 64)
        .levelEnd()
        .levelEnd()
        .text(10, "Utf8", 11, "\xD0\x9F\xD1\x80\xD0\xB8")
        .checkBox("Check", 1)
        .time("Time", 23, 59)
        .date("Date", 1999, 12, 31)
        .rect("Rect", 0, 1, 65534, 3)
        .bytes();
}
