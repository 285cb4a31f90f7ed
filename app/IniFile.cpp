#include "IniFile.h"

#include "BcfgError.h"
#include "FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cctype>
#include <optional>
#include <vector>

namespace {

// One line of the file without its end, and where it ends.
struct Line {
    QByteArray text;
    QByteArray end; // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> splitLines(const QByteArray& bytes)
{
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            lines.push_back(Line{bytes.mid(start), QByteArray()});
            break;
        }
        const bool crlf = nl > start && bytes[nl - 1] == '\r';
        lines.push_back(Line{bytes.mid(start, nl - start - (crlf ? 1 : 0)), crlf ? "\r\n" : "\n"});
        start = nl + 1;
    }
    return lines;
}

// A UTF-8 byte order mark that an editor put before the first line belongs to no name.
QByteArray withoutMark(const QByteArray& line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.mid(3) : line;
}

// The section name of a "[name]" line, or nothing.
std::optional<QByteArray> sectionOf(const QByteArray& line)
{
    const QByteArray t = withoutMark(line).trimmed();
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<QByteArray> keyOf(const QByteArray& line)
{
    const QByteArray t = withoutMark(line).trimmed();
    if (t.isEmpty() || t.front() == ';')
        return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return t.left(eq).trimmed();
}

bool sameName(const QByteArray& a, const QString& b)
{
    return QString::fromUtf8(a).compare(b, Qt::CaseInsensitive) == 0;
}

std::optional<int> parseValue(const QByteArray& raw)
{
    const QByteArray v = raw.trimmed();
    QByteArray hex;
    if (v.size() > 2 && (v.startsWith("0x") || v.startsWith("0X")))
        hex = v.mid(2);
    else if (v.startsWith('$'))
        hex = v.mid(1);
    else {
        bool ok = false;
        const int value = v.toInt(&ok, 10);
        return ok ? std::optional<int>(value) : std::nullopt;
    }
    // Hexadecimal may name all 32 bits; the value is those bits as a signed number.
    if (hex.isEmpty() || hex.size() > 8)
        return std::nullopt;
    for (const char c : hex)
        if (!std::isxdigit(uchar(c)))
            return std::nullopt;
    return int(qint32(hex.toUInt(nullptr, 16)));
}

} // namespace

QString IniFile::PathForExecutable(const QString& executablePath)
{
    const QFileInfo info(executablePath);
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return info.absoluteDir().filePath(base + QStringLiteral(".ini"));
}

int IniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    QFile file(m_path);
    // Only a regular file is read: a pipe or a device put there would hang or never end.
    if (!QFileInfo(m_path).isFile() || !file.open(QIODevice::ReadOnly))
        return defaultValue;
    bool inSection = false;
    // The first matching section and key count, as on Windows.
    for (const Line& line : splitLines(file.readAll())) {
        if (const auto name = sectionOf(line.text)) {
            if (inSection)
                return defaultValue;
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        const auto name = keyOf(line.text);
        if (name && sameName(*name, key)) {
            const QByteArray value = line.text.mid(line.text.indexOf('=') + 1);
            return parseValue(value).value_or(defaultValue);
        }
    }
    return defaultValue;
}

void IniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    const BcfgError failure(QStringLiteral("Unable to write to %1").arg(ShownPath(m_path)));

    QByteArray bytes;
    QFile existing(m_path);
    if (existing.exists()) {
        if (!QFileInfo(m_path).isFile() || !existing.open(QIODevice::ReadOnly))
            throw failure;
        bytes = existing.readAll();
        existing.close(); // Windows replaces no file that is still open
    }
    std::vector<Line> lines = splitLines(bytes);
#ifdef Q_OS_WIN
    QByteArray newline = "\r\n";
#else
    QByteArray newline = "\n";
#endif
    // New lines follow the file's own line ends.
    for (const Line& line : lines)
        if (!line.end.isEmpty()) {
            newline = line.end;
            break;
        }
    const QByteArray keyText = key.toUtf8();
    const QByteArray valueText = QByteArray::number(value);

    std::optional<size_t> sectionLine;
    std::optional<size_t> lastInSection;
    std::optional<size_t> keyLine;
    for (size_t i = 0; i < lines.size() && !keyLine; ++i) {
        if (const auto name = sectionOf(lines[i].text)) {
            if (sectionLine)
                break; // the end of the first matching section
            if (sameName(*name, section)) {
                sectionLine = i;
                lastInSection = i;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (!lines[i].text.trimmed().isEmpty())
            lastInSection = i;
        const auto name = keyOf(lines[i].text);
        if (name && sameName(*name, key))
            keyLine = i;
    }

    if (keyLine) {
        // Only the value changes; the key keeps its spelling and spacing.
        QByteArray& text = lines[*keyLine].text;
        text = text.left(text.indexOf('=') + 1) + valueText;
    } else {
        const Line added{keyText + '=' + valueText, newline};
        if (sectionLine) {
            if (lines[*lastInSection].end.isEmpty())
                lines[*lastInSection].end = newline;
            lines.insert(lines.begin() + qsizetype(*lastInSection) + 1, added);
        } else {
            if (!lines.empty() && lines.back().end.isEmpty())
                lines.back().end = newline;
            lines.push_back(Line{'[' + section.toUtf8() + ']', newline});
            lines.push_back(added);
        }
    }

    QByteArray out;
    for (const Line& line : lines)
        out += line.text + line.end;
    // The user's configuration folder may not exist before the first save.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw failure;
}
