#include "SettingsText.h"

#include "BcfgError.h"
#include "CodePage.h"
#include "ParameterPath.h"
#include "PathIndex.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

#include <QCoreApplication>
#include <algorithm>
#include <string_view>

// Only what reads TOML: the text is written here by hand, one line per key in file order, and
// nothing needs the wide-string forms of Windows.
#define TOML_ENABLE_FORMATTERS 0
#define TOML_ENABLE_WINDOWS_COMPAT 0
#include <toml++/toml.h>

namespace SettingsText {

namespace {

// Appends utf8 as the inside of a TOML basic string: quotation marks, backslashes and the
// control characters escaped, everything else as it is.
void appendEscaped(QByteArray& out, QByteArrayView utf8)
{
    static const char hex[] = "0123456789ABCDEF";
    qsizetype plain = 0; // the start of the bytes not yet appended
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const uchar c = uchar(utf8[i]);
        if (c >= 0x20 && c != '"' && c != '\\' && c != 0x7F)
            continue;
        out.append(utf8.sliced(plain, i - plain));
        plain = i + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    out.append(utf8.sliced(plain));
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
        if (rec->TypeCode == TypeCode::Password && !options.passwords) {
            // The comment names the password, so that the reader knows it was left out.
            out += "# \"" + path + "\" is a password, left out\n";
        } else {
            out += '"' + path + "\" = \"";
            scratch.resize(0);
            CodePage::AppendUtf8(scratch, ValueInput::TextBytes(*rec));
            appendEscaped(out, scratch);
            out += "\"\n";
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

std::vector<Settings::Setting> Read(QByteArrayView text)
{
    // A zero byte is no character of a text; what holds one is not a text file at all.
    if (const qsizetype zero = text.indexOf('\0'); zero >= 0)
        throw BcfgError(Settings::AtLine(
            lineOfZeroByte(text, zero),
            QCoreApplication::translate("Settings", "a zero byte: this is not a text file")));
    toml::table table;
    try {
        table = toml::parse(std::string_view(text.data(), size_t(text.size())));
    } catch (const toml::parse_error& error) {
        throw BcfgError(
            QCoreApplication::translate("Settings", "Line %1, column %2: this is not TOML: %3")
                .arg(error.source().begin.line)
                .arg(error.source().begin.column)
                .arg(QString::fromUtf8(error.description().data(),
                                       qsizetype(error.description().size()))));
    }
    // The table keeps its keys in its own order: the text's order comes from the lines.
    struct Entry {
        toml::source_position at;
        const toml::key* key;
        const toml::node* node;
    };
    std::vector<Entry> entries;
    entries.reserve(table.size());
    for (const auto& [key, node] : table)
        entries.push_back(
            {key.source().begin.line > 0 ? key.source().begin : node.source().begin, &key, &node});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.at.line != b.at.line ? a.at.line < b.at.line : a.at.column < b.at.column;
    });
    std::vector<Settings::Setting> settings;
    settings.reserve(entries.size());
    for (const Entry& entry : entries) {
        Settings::Setting setting;
        setting.path = QString::fromUtf8(entry.key->data(), qsizetype(entry.key->length()));
        setting.line = qint64(entry.at.line);
        if (const auto* string = entry.node->as_string()) {
            setting.value =
                QString::fromUtf8(string->get().data(), qsizetype(string->get().size()));
        } else if (const auto* integer = entry.node->as_integer()) {
            setting.value = QString::number(integer->get());
        } else {
            const QString value = valueText(*entry.node);
            const QString what =
                value.isEmpty() ? QCoreApplication::translate("Settings", "Cannot set %1")
                                      .arg(Settings::Quoted(setting.path))
                                : QCoreApplication::translate("Settings", "Cannot set %1 to %2")
                                      .arg(Settings::Quoted(setting.path), value);
            throw BcfgError(Settings::AtLine(
                setting.line, what + QCoreApplication::translate(
                                         "Settings", ": a value is a string or an integer, not %1")
                                         .arg(kindOf(*entry.node))));
        }
        settings.push_back(std::move(setting));
    }
    return settings;
}

} // namespace SettingsText
