// Reads arbitrary bytes as a settings text and applies it to a document with every record type
// (SettingsFuzzFile.h), then checks what must hold: the text reads or throws BcfgError, its
// settings keep the text's order, and applying them changes no record's size. Then the
// document's own settings are written, read back and applied to a copy of it: the writing
// always reads as TOML, each listed record gives one setting, and applying them leaves the
// bytes as they were.

#include "BcfgError.h"
#include "FuzzProperty.h"
#include "Settings.h"
#include "SettingsFuzzFile.h"
#include "SettingsText.h"
#include "TBCFGFile.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray bytes = SettingsFuzzFile();
    const auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
    phase = "read";
    Settings::List settings;
    QString refused;
    try {
        settings = SettingsText::Read(text, 0);
    } catch (const BcfgError& e) {
        refused = e.text();
    }
    // Read a few lines at a time, the text means what it means whole.
    try {
        const Settings::List inPieces = SettingsText::Read(text, 16);
        check(refused.isEmpty(), "pieces refuse what the whole text refuses");
        check(inPieces.size() == settings.size(), "pieces give every setting");
        for (size_t i = 0; i < settings.size(); ++i)
            check(inPieces.pathUtf8(i) == settings.pathUtf8(i) &&
                      inPieces.valueUtf8(i) == settings.valueUtf8(i) &&
                      inPieces.line(i) == settings.line(i),
                  "pieces give the settings of the whole text");
    } catch (const BcfgError& e) {
        check(e.text() == refused, "pieces refuse the text as the whole text does");
    }
    if (!refused.isEmpty()) {
        check(refused.startsWith(QStringLiteral("Line ")), "a refused text names its line");
        return 0;
    }
    qint64 line = 0;
    for (const Settings::Setting& setting : settings) {
        check(setting.line >= line && setting.line >= 1, "settings keep the order of the text");
        line = setting.line;
    }

    phase = "apply";
    const bool skip = size > 0 && (data[0] & 1) != 0;
    try {
        const auto skipped = Settings::Apply(
            *doc, settings, skip ? Settings::Missing::Skipped : Settings::Missing::Refused);
        check(skipped.size() <= settings.size(), "only settings are passed over");
        check(skip || skipped.empty(), "nothing is passed over unless asked");
    } catch (const BcfgError& e) {
        check(!e.text().isEmpty(), "a refusal says why");
    }
    const QByteArray applied = doc->Serialize();
    check(applied.size() == bytes.size(), "setting values changes no record's size");

    phase = "write and read back";
    const QByteArray written = SettingsText::Write(*doc, {true, nullptr});
    Settings::List again;
    try {
        again = SettingsText::Read(written);
    } catch (const BcfgError&) {
        fail("what Write writes is TOML");
    }
    check(qsizetype(again.size()) == written.count('\n'), "one setting per line written");
    const auto copy = TBCFGFile::FromBytes(applied, nullptr, nullptr);
    try {
        Settings::Apply(*copy, again);
    } catch (const BcfgError&) {
        fail("the values written are taken back");
    }
    check(copy->Serialize() == applied, "dump and load leave the bytes as they were");
    return 0;
}
