#include "ValueInput.h"

#include "CodePage.h"
#include "TBcfgRecString.h"
#include "ValueRules.h"

namespace ValueInput {

std::optional<QList<QStringView>> Parts(QStringView text, qsizetype count)
{
    const QList<QStringView> list = text.split(QLatin1Char(','));
    if (list.size() != count)
        return std::nullopt;
    return list;
}

int ColourFieldMax(int field)
{
    return field == 3 ? ValueRules::AlphaMax : ValueRules::ColourMax;
}

std::optional<quint16> RectField(QStringView typed)
{
    const auto v = ValueRules::ParseInt32(typed);
    if (!v || *v < 0 || *v > ValueRules::RectMax) // 65535 is refused
        return std::nullopt;
    return quint16(*v);
}

QString Text(const TBcfgRecAll& record)
{
    return CodePage::ToUnicode(TextBytes(record));
}

QByteArray TextBytes(const TBcfgRecAll& record)
{
    if (record.IsLevel())
        return {};
    QByteArray bytes("");
    AppendTextBytes(record, bytes);
    return bytes;
}

void AppendTextBytes(const TBcfgRecAll& record, QByteArray& out)
{
    // A text's value text is its editable text, but for a password's stars.
    if (const auto* text = dynamic_cast<const TBcfgRecString*>(&record))
        out.append(text->GetText());
    else
        record.AppendValueText(out);
}

bool Store(TBcfgRecAll& record, const QString& text, QString& why)
{
    return record.StoreText(text, why);
}

} // namespace ValueInput
