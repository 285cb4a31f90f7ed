#include "ParameterPath.h"

#include "CodePage.h"
#include "TBCFGFile.h"

#include <QStringList>
#include <vector>

namespace ParameterPath {

namespace {

// One step of a path: the escaped name and, above occurrence 0, "#n".
QString segment(const TBcfgRecAll& record)
{
    const QString name = CodePage::ToUnicode(record.NameText());
    QString out;
    out.reserve(name.size() + 4);
    for (const QChar c : name) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char('#'))
            out.append(QLatin1Char('\\'));
        out.append(c);
    }
    if (record.Occurrence > 0)
        out.append(QLatin1Char('#') + QString::number(record.Occurrence));
    return out;
}

// The steps of a path text as written (escapes kept), split at every "/"
// that no backslash escapes.
std::vector<QStringView> splitSteps(QStringView path)
{
    std::vector<QStringView> steps;
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] == QLatin1Char('\\'))
            ++i;
        else if (path[i] == QLatin1Char('/')) {
            steps.push_back(path.mid(start, i - start));
            start = i + 1;
        }
    }
    steps.push_back(path.mid(start));
    return steps;
}

const TBcfgRecAll* parentOf(const TBcfgRecAll& record)
{
    return record.Doc ? record.Doc->Record(record.ParentIndex) : nullptr;
}

} // namespace

QString Of(const TBcfgRecAll& record)
{
    QStringList steps;
    for (const TBcfgRecAll* rec = &record; rec; rec = parentOf(*rec))
        steps.prepend(segment(*rec));
    return steps.join(QLatin1Char('/'));
}

TBcfgRecAll* Find(const TBCFGFile& doc, QStringView path)
{
    const std::vector<QStringView> steps = splitSteps(path);
    // depth[i]: how many steps of path record i and its levels spell out, or
    // 0 when they leave it. A record's steps are its level's plus its own, so
    // one pass in file order (levels come before what they hold) decides all.
    const auto& records = doc.Records();
    std::vector<size_t> depth(records.size(), 0);
    for (size_t i = 0; i < records.size(); ++i) {
        const TBcfgRecAll& rec = *records[i];
        size_t above = 0;
        if (rec.ParentIndex >= 0) {
            if (size_t(rec.ParentIndex) >= i)
                continue;
            above = depth[size_t(rec.ParentIndex)];
            if (above == 0)
                continue;
        }
        if (above >= steps.size() || segment(rec) != steps[above])
            continue;
        depth[i] = above + 1;
        if (depth[i] == steps.size())
            return records[i].get();
    }
    return nullptr;
}

QByteArray LabelValue(const TBcfgRecAll& record, const QByteArray& label)
{
    const QByteArrayView open = TBcfgRecAll::ValueOpen;
    const QByteArrayView close = TBcfgRecAll::ValueClose;
    const QByteArray name = record.NameText();
    if (!label.startsWith(name))
        return {};
    const qsizetype at = label.indexOf(open, name.size());
    if (at < 0 || !label.endsWith(close))
        return {};
    const qsizetype start = at + open.size();
    const qsizetype end = label.size() - close.size();
    if (end < start)
        return {};
    const QByteArray value = label.mid(start, end - start);
    return value.isNull() ? QByteArray("") : value; // an empty value is still a value
}

QByteArray Value(const TBcfgRecAll& record)
{
    return record.ValueText();
}

} // namespace ParameterPath
