#include "SettingsText.h"

#include "BcfgError.h"
#include "CodePage.h"
#include "FieldHash.h"
#include "ParameterPath.h"
#include "PathIndex.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

#include <QCoreApplication>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <future>
#include <optional>
#include <string_view>
#include <thread>

// Only what reads TOML: the text is written here by hand, one line per key in file order, and
// nothing needs the wide-string forms of Windows.
#define TOML_ENABLE_FORMATTERS 0
#define TOML_ENABLE_WINDOWS_COMPAT 0
#include <toml++/toml.h>

namespace SettingsText {

namespace {

// Writes utf8 at to as the inside of a TOML basic string, which takes at most six bytes a
// byte: quotation marks, backslashes and the control characters escaped, everything else as
// it is. Returns the end.
char* writeEscaped(char* to, QByteArrayView utf8)
{
    static const char hex[] = "0123456789ABCDEF";
    qsizetype plain = 0; // the start of the bytes not yet written
    const auto put = [&to](const char* text, size_t size) {
        std::memcpy(to, text, size);
        to += size;
    };
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const uchar c = uchar(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\' && c != 0x7F)
            continue;
        put(utf8.data() + plain, size_t(i - plain));
        plain = i + 1;
        switch (c) {
        case '"':
            put("\\\"", 2);
            break;
        case '\\':
            put("\\\\", 2);
            break;
        case '\t':
            put("\\t", 2);
            break;
        case '\n':
            put("\\n", 2);
            break;
        case '\r':
            put("\\r", 2);
            break;
        default:
            put("\\u00", 4);
            *to++ = hex[c >> 4];
            *to++ = hex[c & 15];
        }
    }
    put(utf8.data() + plain, size_t(utf8.size() - plain));
    return to;
}

void appendEscaped(QByteArray& out, QByteArrayView utf8)
{
    const qsizetype at = out.size();
    out.resize(at + 6 * utf8.size());
    out.resize(writeEscaped(out.data() + at, utf8) - out.constData());
}

// A value's kind in the words of the message about it.
QString kindOf(const toml::node& node)
{
    switch (node.type()) {
    case toml::node_type::table:
        return QCoreApplication::translate("Settings", "a table");
    case toml::node_type::array:
        return QCoreApplication::translate("Settings", "an array");
    case toml::node_type::floating_point:
        return QCoreApplication::translate("Settings", "a floating-point number");
    case toml::node_type::boolean:
        return QCoreApplication::translate("Settings", "a boolean");
    default:
        return QCoreApplication::translate("Settings", "a date or time");
    }
}

// A floating-point number, boolean, date or time as it stands in the text; empty for a table
// or an array.
QString valueText(const toml::node& node)
{
    if (const auto* number = node.as_floating_point())
        return QString::number(number->get(), 'g', 17);
    if (const auto* flag = node.as_boolean())
        return flag->get() ? QStringLiteral("true") : QStringLiteral("false");
    if (const auto* date = node.as_date())
        return QStringLiteral("%1-%2-%3")
            .arg(date->get().year, 4, 10, QLatin1Char('0'))
            .arg(date->get().month, 2, 10, QLatin1Char('0'))
            .arg(date->get().day, 2, 10, QLatin1Char('0'));
    return {};
}

qint64 lineOfZeroByte(QByteArrayView text, qsizetype at)
{
    return qint64(text.first(at).count('\n')) + 1;
}

} // namespace

void Write(const TBCFGFile& doc, const Options& options, QByteArray& out,
           const std::function<void()>& written)
{
    const PathIndex index(doc);
    // The escaped paths of the open levels are one text: each record adds its own step.
    struct Open {
        qint32 index;
        qsizetype pathEnd;
    };
    std::vector<Open> chain;
    QByteArray path;
    QByteArray scratch;
    QByteArray bytes;
    for (const auto& rec : doc.Records()) {
        while (!chain.empty() && chain.back().index != rec->ParentIndex)
            chain.pop_back();
        if (rec->ParentIndex >= 0 && chain.empty()) { // not inside the open levels: made whole
            path.resize(0);
            appendEscaped(path, ParameterPath::Of(*rec).toUtf8());
        } else {
            path.truncate(chain.empty() ? 0 : chain.back().pathEnd);
            if (!chain.empty())
                path += '/';
            scratch.resize(0);
            ParameterPath::AppendSegmentUtf8(scratch, *rec);
            appendEscaped(path, scratch);
        }
        if (rec->IsLevelBegin())
            chain.push_back(Open{rec->Index, path.size()});
        if (rec->IsLevel() || !index.NamedByPath(rec->Index) ||
            (options.leftOut && size_t(rec->Index) < options.leftOut->size() &&
             (*options.leftOut)[size_t(rec->Index)]))
            continue;
        // Each line is written in place: a million lines make no text of their own.
        if (rec->TypeCode == TypeCode::Password && !options.passwords) {
            // The comment names the password, so that the reader knows it was left out.
            out.append("# \"").append(path).append("\" is a password, left out\n");
        } else {
            bytes.resize(0);
            ValueInput::AppendTextBytes(*rec, bytes);
            scratch.resize(0);
            CodePage::AppendUtf8(scratch, bytes);
            const QByteArrayView value = scratch;
            // The line is written in place, in room for its longest form.
            const qsizetype at = out.size();
            out.resize(at + path.size() + 6 * value.size() + 8);
            char* to = out.data() + at;
            *to++ = '"';
            std::memcpy(to, path.constData(), size_t(path.size()));
            to += path.size();
            std::memcpy(to, "\" = \"", 5);
            to = writeEscaped(to + 5, value);
            std::memcpy(to, "\"\n", 2);
            out.resize(to + 2 - out.constData());
        }
        if (written)
            written();
    }
}

QByteArray Write(const TBCFGFile& doc, const Options& options)
{
    return OutOfMemoryAsError([&] {
        QByteArray out;
        Write(doc, options, out);
        return out;
    });
}

namespace {

// A key and its value where the text has them.
struct Entry {
    toml::source_position at;
    const toml::key* key;
    const toml::node* node;
};

// The table's entries in the order of the text: the table keeps its keys in its own order.
std::vector<Entry> inTextOrder(const toml::table& table)
{
    std::vector<Entry> entries;
    entries.reserve(table.size());
    for (const auto& [key, node] : table)
        entries.push_back(
            {key.source().begin.line > 0 ? key.source().begin : node.source().begin, &key, &node});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.at.line != b.at.line ? a.at.line < b.at.line : a.at.column < b.at.column;
    });
    return entries;
}

QString utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Adds the setting of a string or an integer; false for a value of another kind.
bool add(Settings::List& settings, const Entry& entry, qint64 firstLine)
{
    const qint64 line = firstLine + qint64(entry.at.line) - 1;
    if (const auto* string = entry.node->as_string()) {
        settings.add(entry.key->str(), string->get(), line);
    } else if (const auto* integer = entry.node->as_integer()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, integer->get()).ptr;
        settings.add(entry.key->str(), std::string_view(digits, size_t(end - digits)), line);
    } else {
        return false;
    }
    return true;
}

// The whole text as one document: what decides every text, and the one way to its errors.
Settings::List readWhole(QByteArrayView text)
{
    toml::table table;
    try {
        table = toml::parse(std::string_view(text.data(), size_t(text.size())));
    } catch (const toml::parse_error& error) {
        throw BcfgError(
            QCoreApplication::translate("Settings", "Line %1, column %2: this is not TOML: %3")
                .arg(error.source().begin.line)
                .arg(error.source().begin.column)
                .arg(utf8(error.description())));
    }
    Settings::List settings;
    for (const Entry& entry : inTextOrder(table)) {
        if (add(settings, entry, 1))
            continue;
        const QString path = utf8(entry.key->str());
        const QString value = valueText(*entry.node);
        const QString what = value.isEmpty()
                                 ? QCoreApplication::translate("Settings", "Cannot set %1")
                                       .arg(Settings::Quoted(path))
                                 : QCoreApplication::translate("Settings", "Cannot set %1 to %2")
                                       .arg(Settings::Quoted(path), value);
        throw BcfgError(
            Settings::AtLine(qint64(entry.at.line),
                             what + QCoreApplication::translate(
                                        "Settings", ": a value is a string or an integer, not %1")
                                        .arg(kindOf(*entry.node))));
    }
    return settings;
}

// Settings read from a part of the text, a piece of lines at a time.
struct Part {
    Settings::List settings;   // lines counted from the part's first line
    std::vector<quint64> keys; // a hash of each key
    qint64 lines = 0;          // line breaks in the part
    int pieces = 0;
    bool read = true; // false when a piece was not read without a fault
};

// Reads part, whose first byte starts a line (the text's first when atStart), each piece its
// own document: that keeps the parser's tables small and freed as it goes. room: the text
// whose settings the part's list is to have room for.
Part readPart(QByteArrayView part, bool atStart, qsizetype pieceBytes, QByteArrayView room)
{
    Part read;
    // A dump's line takes some 40 bytes; a list of shorter lines grows as it needs.
    read.settings.reserve(size_t(room.size() / 24) + 1, room.size());
    for (qsizetype start = 0; start < part.size();) {
        qsizetype end = part.indexOf('\n', std::min(start + pieceBytes, part.size()) - 1);
        end = end < 0 ? part.size() : end + 1;
        const QByteArrayView piece = part.sliced(start, end - start);
        // The parser takes a byte order mark as the start of a document, which only the
        // text's first piece is.
        read.read = (start == 0 && atStart) || !piece.startsWith("\xEF\xBB\xBF");
        toml::table table;
        if (read.read) {
            try {
                table = toml::parse(std::string_view(piece.data(), size_t(piece.size())));
            } catch (const toml::parse_error&) {
                read.read = false;
            }
        }
        if (!read.read)
            return read;
        for (const Entry& entry : inTextOrder(table)) {
            if (!add(read.settings, entry, read.lines + 1)) {
                read.read = false;
                return read;
            }
            read.keys.push_back(FieldHash(entry.key->str().data(), entry.key->str().size()));
        }
        read.lines += piece.count('\n');
        ++read.pieces;
        start = end;
    }
    // Sorted here, on the part's own core, for the check that no key stands twice.
    std::sort(read.keys.begin(), read.keys.end());
    return read;
}

// Whether two lists in order share an element.
bool shareOne(const std::vector<quint64>& a, const std::vector<quint64>& b)
{
    for (auto i = a.begin(), j = b.begin(); i != a.end() && j != b.end();) {
        if (*i == *j)
            return true;
        *i < *j ? ++i : ++j;
    }
    return false;
}

// The text read in parts side by side, each a piece of lines at a time. That gives the whole
// text's settings whenever every piece is read without a fault: a piece then ends outside any
// string or array and holds only keys of the top-level table with strings and integers, so
// each of its lines means what it means in the whole text. No key may stand in two pieces;
// two keys of the same hash count as the same here. Empty when any of that fails: the whole
// text decides then, with its own message.
std::optional<Settings::List> readInParts(QByteArrayView text, qsizetype pieceBytes)
{
    const qsizetype partBytes = 64 * pieceBytes;
    const qsizetype parts = std::clamp<qsizetype>(
        std::min<qsizetype>(std::thread::hardware_concurrency(), text.size() / partBytes), 1, 4);
    std::vector<QByteArrayView> slices;
    for (qsizetype start = 0, k = 1; start < text.size(); ++k) {
        qsizetype end =
            k == parts ? -1 : text.indexOf('\n', std::max(start, text.size() * k / parts));
        end = end < 0 ? text.size() : end + 1;
        slices.push_back(text.sliced(start, end - start));
        start = end;
    }
    if (slices.empty())
        slices.push_back(text);
    std::vector<std::future<Part>> others;
    for (size_t k = 1; k < slices.size(); ++k)
        others.push_back(std::async(std::launch::async | std::launch::deferred, readPart, slices[k],
                                    false, pieceBytes, slices[k]));
    std::vector<Part> read;
    // The first part's list takes the others' settings after it.
    read.push_back(readPart(slices[0], true, pieceBytes, text));
    for (auto& other : others)
        read.push_back(other.get());

    int pieces = 0;
    for (const Part& part : read) {
        if (!part.read)
            return std::nullopt;
        pieces += part.pieces;
    }
    if (pieces > 1)
        for (size_t k = 0; k < read.size(); ++k) {
            const std::vector<quint64>& keys = read[k].keys;
            if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
                return std::nullopt;
            for (size_t other = k + 1; other < read.size(); ++other)
                if (shareOne(keys, read[other].keys))
                    return std::nullopt;
        }
    Settings::List settings = std::move(read[0].settings);
    qint64 lines = read[0].lines;
    for (size_t k = 1; k < read.size(); ++k) {
        settings.append(read[k].settings, lines);
        lines += read[k].lines;
        read[k].settings = {};
    }
    return settings;
}

} // namespace

Settings::List Read(QByteArrayView text, qsizetype pieceBytes)
{
    // A zero byte is no character of a text; what holds one is not a text file at all.
    if (const qsizetype zero = text.indexOf('\0'); zero >= 0)
        throw BcfgError(Settings::AtLine(
            lineOfZeroByte(text, zero),
            QCoreApplication::translate("Settings", "a zero byte: this is not a text file")));
    if (pieceBytes > 0)
        if (auto settings = readInParts(text, pieceBytes))
            return std::move(*settings);
    return readWhole(text);
}

} // namespace SettingsText
