#include "Settings.h"

#include "BcfgError.h"
#include "PathIndex.h"
#include "TBCFGFile.h"
#include "ValueInput.h"

#include <QCoreApplication>

namespace Settings {

void List::push_back(const Setting& setting)
{
    const QByteArray path = setting.path.toUtf8();
    const QByteArray value = setting.value.toUtf8();
    add(std::string_view(path.data(), size_t(path.size())),
        std::string_view(value.data(), size_t(value.size())), setting.line);
}

void List::add(std::string_view path, std::string_view value, qint64 line)
{
    m_items.push_back(
        {qsizetype(m_text.size()), qsizetype(path.size()), qsizetype(value.size()), line});
    m_text += path;
    m_text += value;
}

void List::append(const List& other, qint64 lines)
{
    const qsizetype at = qsizetype(m_text.size());
    m_text += other.m_text;
    m_items.reserve(m_items.size() + other.m_items.size());
    for (Item item : other.m_items) {
        item.at += at;
        item.line += lines;
        m_items.push_back(item);
    }
}

void List::reserve(size_t count, qsizetype bytes)
{
    m_items.reserve(count);
    m_text.reserve(size_t(bytes));
}

QByteArrayView List::pathUtf8(size_t i) const
{
    return QByteArrayView(m_text.data() + m_items[i].at, m_items[i].pathSize);
}

QByteArrayView List::valueUtf8(size_t i) const
{
    const Item& item = m_items[i];
    return QByteArrayView(m_text.data() + item.at + item.pathSize, item.valueSize);
}

Setting List::operator[](size_t i) const
{
    return {QString::fromUtf8(pathUtf8(i)), QString::fromUtf8(valueUtf8(i)), line(i)};
}

std::vector<Setting> Apply(TBCFGFile& doc, const List& settings, Missing missing)
{
    std::vector<Setting> skipped;
    const PathIndex index(doc);
    int next = 0; // a settings text mostly follows the file: the record after the last one set
    for (size_t i = 0; i < settings.size(); ++i) {
        TBcfgRecAll* found = index.Find(settings.pathUtf8(i), next);
        if (!found && missing == Missing::Skipped) {
            skipped.push_back(settings[i]);
            continue;
        }
        const QString value = QString::fromUtf8(settings.valueUtf8(i));
        // Made only for a refusal: a million settings set without one make no message.
        const auto refusal = [&] {
            return AtLine(settings.line(i),
                          QCoreApplication::translate("Settings", "Cannot set %1 to %2")
                              .arg(Quoted(QString::fromUtf8(settings.pathUtf8(i))), Quoted(value)));
        };
        if (!found || found->IsLevel())
            ValueRecord(found, refusal());
        QString why;
        if (!ValueInput::Store(*found, value, why))
            throw BcfgError(refusal() + QStringLiteral(": ") + why);
        next = found->Index + 1;
    }
    return skipped;
}

TBcfgRecAll& ValueRecord(TBcfgRecAll* found, const QString& refusal)
{
    if (!found)
        throw BcfgError(refusal +
                        QCoreApplication::translate("Settings", ": no record has this path"));
    if (found->IsLevel())
        throw BcfgError(refusal +
                        QCoreApplication::translate("Settings", ": the path names a level"));
    return *found;
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString AtLine(qint64 line, const QString& text)
{
    return line > 0 ? QCoreApplication::translate("Settings", "Line %1: %2").arg(line).arg(text)
                    : text;
}

QString NothingToApply(const QString& fileName)
{
    return QCoreApplication::translate("Settings", "Nothing to apply: %1 holds no settings")
        .arg(fileName);
}

} // namespace Settings
