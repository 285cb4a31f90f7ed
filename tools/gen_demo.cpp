// Writes the demo configuration (samples/demo.bcfg) and the fuzz seed corpora.
//
//   parvane-gen-demo demo OUT.bcfg
//   parvane-gen-demo seeds DIR
//   parvane-gen-demo settings-seeds DIR
//
// Texts are spelled in UTF-8 here and turned into windows-1251 by a fixed table, so the output
// is the same on every machine whatever its code page.

#include "BcfgBuilder.h"
#include "BcfgError.h"
#include "SettingsFuzzFile.h"
#include "SettingsText.h"
#include "TBCFGFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

namespace {

// windows-1251 bytes of a text; only the characters the demo uses are accepted.
QByteArray cp1251(const char* utf8)
{
    QByteArray out;
    for (const QChar c : QString::fromUtf8(utf8)) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            out += char(u);
        else if (u >= 0x0410 && u <= 0x044F)
            out += char(0xC0 + (u - 0x0410));
        else if (u == 0x0401) // Ё
            out += char(0xA8);
        else if (u == 0x0451) // ё
            out += char(0xB8);
        else if (u == 0x00B0) // °
            out += char(0xB0);
        else if (u == 0x2116) // №
            out += char(0xB9);
        else
            throw std::runtime_error("no windows-1251 byte for a character of " +
                                     std::string(utf8));
    }
    return out;
}

// A name or list item: the builder would silently cut a longer one.
QByteArray nm(const char* utf8)
{
    const QByteArray name = cp1251(utf8);
    if (name.size() > 32)
        throw std::runtime_error("name longer than 32 bytes: " + std::string(utf8));
    return name;
}

QList<QByteArray> items(std::initializer_list<const char*> list)
{
    QList<QByteArray> out;
    for (const char* item : list)
        out += nm(item);
    return out;
}

// A name field with bytes after its first zero, as a renamed parameter leaves it.
QByteArray renamedField(const char* name, const char* leftover)
{
    QByteArray field = nm(name) + '\0' + cp1251(leftover);
    if (field.size() > 32)
        throw std::runtime_error("renamed field longer than 32 bytes");
    return BcfgBuilder::nameField(field);
}

QByteArray utf8(const char* text)
{
    return QByteArray(text);
}

// Every byte of a literal, zero bytes inside it included.
template <size_t N> QByteArray raw(const char (&literal)[N])
{
    return QByteArray(literal, qsizetype(N - 1));
}

quint32 s32(qint32 v)
{
    return quint32(v);
}

// A clock and battery widget of the phone's standby screen.
QByteArray demo()
{
    // Exactly 32 bytes: the name field has no terminating zero.
    const QByteArray fullName = nm("Показывать при закрытом телефоне");
    if (fullName.size() != 32)
        throw std::runtime_error("the 32-byte name is not 32 bytes");

    BcfgBuilder b;
    b.checkBox(nm("Включено"), 1)
        .integer(1, nm("Интервал обновления, мс"), 100, 10000, 500)
        .choice(nm("Режим отображения"), 0,
                items({"Часы и батарея", "Только часы", "Только батарея", "Выключено"}))
        .checkBox(fullName, 0)
        .checkBox(nm("Debug log"), 0);

    b.levelBegin(nm("Часы"))
        .checkBox(nm("Показывать"), 1)
        .coordinates(nm("Позиция"), 2, 58)
        .integer(1, nm("Размер шрифта"), 0, 12, 7)
        .colour(nm("Цвет"), 0xFF, 0xFF, 0xFF, 100)
        .colour(nm("Цвет"), 0x00, 0x00, 0x00, 50) // the shadow: a second "Цвет" in one level
        .choice(nm("Формат времени"), 0, items({"24 часа", "12 часов (AM/PM)"}))
        .checkBox(nm("Секунды"), 0)
        .integer(3, nm("Сдвиг времени, мин"), s32(-720), 720, s32(-30));

    b.levelBegin(nm("Будильник"))
        .checkBox(nm("Включён"), 1)
        // The rest bytes hold the seconds the phone keeps with the time.
        .time(nm("Время"), 7, 5, BcfgBuilder::bytesOf({0x1E, 0, 0, 0, 0, 0}))
        .choice(nm("Повтор"), 1, items({"Один раз", "По будням", "Каждый день"}))
        // As stored: UTF-8, with 0x1F after the backslash that Cyrillic text follows.
        .text(2, nm("Мелодия"), 127, utf8("4:\\Zbin\\ClockBat\\\x1FБудильник.mp3"))
        .integer(1, nm("Громкость"), 0, 15, 10)
        .checkBox(nm("Вибрация"), 1)
        .integer(1, nm("Повторять через, мин"), 1, 60, 5)
        .levelEnd()
        .levelEnd(nm("Часы")); // an end record's name is carried

    b.levelBegin(nm("Батарея"))
        .checkBox(nm("Показывать"), 1)
        .rect(nm("Область"), 176, 2, 238, 14)
        .choice(nm("Вид"), 1, items({"Проценты", "Полоска", "Напряжение, мВ"}))
        .colour(nm("Цвет"), 0x00, 0xFF, 0x00, 100)
        .integer(1, nm("Порог разряда, %"), 0, 100, 20)
        .colour(nm("Цвет"), 0xFF, 0x20, 0x20, 100) // below the threshold
        .integer(3, nm("Поправка, мВ"), s32(-200), 200, s32(-35))
        .text(10, renamedField("Подпись", "батареи"), 31, utf8("Заряд:"))
        .checkBox(nm("Мигать при разряде"), 1);

    b.levelBegin(nm("Температура"))
        .checkBox(nm("Показывать"), 0)
        .coordinates(nm("Позиция"), 180, 18)
        .integer(3, nm("Поправка, °C"), s32(-10), 10, s32(-2))
        .choice(nm("Единицы"), 0, items({"Цельсий", "Фаренгейт"}))
        .levelEnd()
        .levelEnd();

    b.levelBegin(nm("Дата"))
        .checkBox(nm("Показывать"), 1)
        .coordinates(nm("Позиция"), 2, 90)
        // After the zero: what is left of a longer earlier format.
        .text(4, nm("Формат"), 15, raw("%d.%m.%Y\0, %A"))
        .text(4, nm("Дни недели"), 31, cp1251("Пн Вт Ср Чт Пт Сб Вс"))
        .text(10, nm("Месяцы"), 255,
              utf8("января,февраля,марта,апреля,мая,июня,июля,августа,сентября,октября,ноября,"
                   "декабря"))
        // The rest bytes: the day of the week (Friday) and a spare byte.
        .date(nm("Дата установки"), 2008, 3, 7, BcfgBuilder::bytesOf({5, 0}))
        .integer(1, nm("Размер шрифта"), 0, 12, 3)
        .levelEnd();

    b.levelBegin(nm("Оформление"))
        .text(2, nm("Папка скинов"), 63, utf8("4:\\Zbin\\ClockBat\\\x1FСкины\\"))
        .text(2, nm("Шрифт"), 63, utf8("0:\\Misc\\fonts\\small.ttf"))
        .text(10, nm("Приветствие"), 63, utf8("Доброе утро!"))
        // "1234" written over "qwerty": after the zero, what is left of it.
        .text(6, nm("Пароль"), 7, raw("1234\0y\0"))
        .levelEnd();

    return b.bytes();
}

// Small files, each aimed at one corner of the loader.
std::map<QString, QByteArray> seeds(const QByteArray& demoBytes)
{
    std::map<QString, QByteArray> out;
    const auto one = [](auto&& build) {
        BcfgBuilder b;
        build(b);
        return b.bytes();
    };

    out["type_01.bcfg"] = one([](BcfgBuilder& b) { b.integer(1, "Unsigned", 0, 0xFFFFFFFF, 7); });
    out["type_02.bcfg"] =
        one([](BcfgBuilder& b) { b.text(2, "Path", 31, utf8("a:\\b\\\x1F\x1Fц\\") + '\0', 'x'); });
    out["type_03.bcfg"] = one([](BcfgBuilder& b) { b.integer(3, "Signed", s32(-5), 5, s32(-1)); });
    out["type_04.bcfg"] = one([](BcfgBuilder& b) { b.text(4, "Text", 7, raw("ab\0cdef"), 'z'); });
    out["type_05.bcfg"] = one([](BcfgBuilder& b) {
        b.choice("Choice", 1, {"One", "Two", "Three"});
    });
    out["type_06.bcfg"] = one([](BcfgBuilder& b) { b.text(6, "Password", 3, "pw"); });
    out["type_07.bcfg"] = one([](BcfgBuilder& b) { b.coordinates("Pos", -1, 320); });
    out["type_08.bcfg"] = one([](BcfgBuilder& b) { b.colour("Colour", 10, 255, 0, 128); });
    out["type_09.bcfg"] = one([](BcfgBuilder& b) { b.levelBegin("Level").levelEnd(); });
    out["type_0A.bcfg"] = one([](BcfgBuilder& b) { b.text(10, "Utf8", 11, utf8("Привет")); });
    out["type_0B.bcfg"] = one([](BcfgBuilder& b) { b.checkBox("Check", 1); });
    out["type_0C.bcfg"] = one([](BcfgBuilder& b) {
        b.time("Time", 23, 59, BcfgBuilder::bytesOf({1, 2, 3, 4, 5, 6}));
    });
    out["type_0D.bcfg"] = one([](BcfgBuilder& b) {
        b.date("Date", 1999, 12, 31, BcfgBuilder::bytesOf({7, 8}));
    });
    out["type_0E.bcfg"] = one([](BcfgBuilder& b) { b.rect("Rect", 0, 0, 0xFFFF, 0xFFFF); });

    out["levels.bcfg"] = one([](BcfgBuilder& b) {
        b.levelEnd("stray end") // closes nothing at top level
            .integer(1, "A", 0, 9, 1)
            .integer(1, "A", 0, 9, 2)
            .levelBegin("Outer")
            .integer(1, "A", 0, 9, 3)
            .levelBegin("Inner", 0x80000000)
            .integer(3, "A", 0, 9, 4)
            .text(4, "A", 3, "x")
            .levelBegin("Empty")
            .levelEnd()
            .levelEnd()
            .record(1, BcfgBuilder::nameField(raw("A\0x")), 0, 9,
                    BcfgBuilder::le32(5)) // differs from "A" only after the zero
            .levelBegin("Left open");
    });
    out["unknown.bcfg"] = one([](BcfgBuilder& b) {
        b.checkBox("Before", 1)
            .levelBegin("Level")
            .integer(1, "Inside", 0, 9, 1)
            .raw(BcfgBuilder::le32(15) + QByteArray("rest of the file"));
    });
    out["unknown_ff.bcfg"] = BcfgBuilder::le32(0xFFFFFFFF) + QByteArray(40, '\x55');
    for (int stray = 1; stray <= 3; ++stray)
        out[QStringLiteral("stray_%1.bcfg").arg(stray)] =
            one([](BcfgBuilder& b) { b.checkBox("Last", 1); }) + QByteArray(stray, '\x01');
    out["text_max0.bcfg"] = one([](BcfgBuilder& b) { b.text(4, "Short", 0, "abc"); });
    out["text_max1023.bcfg"] =
        one([](BcfgBuilder& b) { b.text(10, "Long", 1023, QByteArray(1022, 'L')); });
    out["choice_max0.bcfg"] = one([](BcfgBuilder& b) { b.choice("Nothing", 0, {}); });
    out["cut_short.bcfg"] = demoBytes.left(demoBytes.size() / 2 + 2);
    out["demo.bcfg"] = demoBytes;
    return out;
}

// The settings fuzzer's seeds: dumps of its own document (with and without the passwords, and
// with values changed), of every file of the load seeds, and one text of each kind of value
// that the reader refuses.
std::map<QString, QByteArray> settingsSeeds(const QByteArray& demoBytes)
{
    std::map<QString, QByteArray> out;
    const auto dump = [](const QByteArray& bytes, bool passwords) {
        return SettingsText::Write(*TBCFGFile::FromBytes(bytes, nullptr, nullptr),
                                   {passwords, nullptr});
    };
    const QByteArray own = SettingsFuzzFile();
    out["own.toml"] = dump(own, true);
    out["own_no_passwords.toml"] = dump(own, false);
    out["own_changed.toml"] = "\"Unsigned\" = 8\n\"Level\\\\/one/Text\\\\\\\\\\\\##1\" = \"xy\"\n"
                              "\"Check\" = \"OFF\"\n\"Time\" = \"0:00\"\n";
    for (const auto& [name, bytes] : seeds(demoBytes)) {
        if (name == QLatin1String("cut_short.bcfg"))
            continue; // does not load
        out[QString(name).replace(QLatin1String(".bcfg"), QLatin1String(".toml"))] =
            dump(bytes, true);
    }
    out["kind_table.toml"] = "[t]\nx = \"1\"\n";
    out["kind_array.toml"] = "a = [1, \"2\"]\n";
    out["kind_float.toml"] = "a = 1.5e3\n";
    out["kind_boolean.toml"] = "a = true\n";
    out["kind_date.toml"] = "a = 1979-05-27T07:32:00Z\n";
    out["kind_inline.toml"] = "a = { b = 1 }\n";
    out["kind_dotted.toml"] = "a.b = \"1\"\n";
    // A letter where toml++ 3.3 asked whether it was whitespace (fixed in the build's copy).
    out["letter_after_equals.toml"] = "\"Unsigned\" =\xD0\xB2\xD0\xB5\xD1\x82\"\n";
    out["strings.toml"] = "'lit' = '''\nmulti'''\n\"e\" = \"\\u0416\\t\\\"\"\n";
    return out;
}

// Everything written must load whole and save back to the same bytes.
void checkRoundTrip(const QString& what, const QByteArray& bytes)
{
    const auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
    if (!doc->FullyLoaded() || doc->Serialize() != bytes)
        throw std::runtime_error(what.toStdString() + " does not load and save back unchanged");
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

int usage()
{
    std::fputs("Usage: parvane-gen-demo demo OUT.bcfg\n"
               "       parvane-gen-demo seeds DIR\n"
               "       parvane-gen-demo settings-seeds DIR\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    const QString command = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    try {
        const QByteArray demoBytes = demo();
        checkRoundTrip(QStringLiteral("the demo"), demoBytes);
        if (command == QLatin1String("demo")) {
            writeFile(target, demoBytes);
            std::printf("%s: %lld bytes\n", qPrintable(target), qlonglong(demoBytes.size()));
        } else if (command == QLatin1String("seeds")) {
            if (!QDir().mkpath(target))
                throw std::runtime_error("cannot create " + target.toStdString());
            const auto files = seeds(demoBytes);
            for (const auto& [name, bytes] : files)
                writeFile(QDir(target).filePath(name), bytes);
            std::printf("%s: %zu seed files\n", qPrintable(target), files.size());
        } else if (command == QLatin1String("settings-seeds")) {
            if (!QDir().mkpath(target))
                throw std::runtime_error("cannot create " + target.toStdString());
            const auto files = settingsSeeds(demoBytes);
            for (const auto& [name, bytes] : files)
                writeFile(QDir(target).filePath(name), bytes);
            std::printf("%s: %zu seed files\n", qPrintable(target), files.size());
        } else {
            return usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "parvane-gen-demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
