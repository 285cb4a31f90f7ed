#include "ParameterPath.h"

#include "CodePage.h"
#include "TBCFGFile.h"
#include "TextRules.h"

#include <QStringList>
#include <vector>

namespace ParameterPath {

namespace {

const TBcfgRecAll* parentOf(const TBcfgRecAll& record)
{
    return record.Doc ? record.Doc->Record(record.ParentIndex) : nullptr;
}

// Path steps of either form: the separators and escapes are ASCII, alike in UTF-8.
template <typename View> void stepsOf(View path, std::vector<View>& steps)
{
    steps.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] == '\\')
            ++i;
        else if (path[i] == '/') {
            steps.push_back(path.sliced(start, i - start));
            start = i + 1;
        }
    }
    steps.push_back(path.sliced(start));
}

template <typename View> std::vector<View> stepsOf(View path)
{
    std::vector<View> steps;
    stepsOf(path, steps);
    return steps;
}

} // namespace

void AppendSegmentUtf8(QByteArray& out, const TBcfgRecAll& record)
{
    // Every code page keeps ASCII, so the escapes can go in after the conversion.
    const qsizetype at = out.size();
    CodePage::AppendUtf8(out, TextRules::NameView(record.Name()));
    for (qsizetype i = at; i < out.size(); ++i) {
        const char c = out[i];
        if (c == '\\' || c == '/' || c == '#')
            out.insert(i++, '\\');
    }
    if (record.Occurrence > 0) {
        char number[24];
        out += '#';
        out.append(number, TextRules::WriteNumber(number, record.Occurrence) - number);
    }
}

QString Segment(const TBcfgRecAll& record)
{
    QByteArray utf8;
    AppendSegmentUtf8(utf8, record);
    return QString::fromUtf8(utf8);
}

std::vector<QStringView> Steps(QStringView path)
{
    return stepsOf(path);
}

std::vector<QByteArrayView> Steps(QByteArrayView utf8Path)
{
    return stepsOf(utf8Path);
}

void Steps(QByteArrayView utf8Path, std::vector<QByteArrayView>& steps)
{
    stepsOf(utf8Path, steps);
}

QString Of(const TBcfgRecAll& record)
{
    QStringList steps;
    for (const TBcfgRecAll* rec = &record; rec; rec = parentOf(*rec))
        steps.prepend(Segment(*rec));
    return steps.join(QLatin1Char('/'));
}

TBcfgRecAll* Find(const TBCFGFile& doc, QStringView path)
{
    const std::vector<QStringView> steps = Steps(path);
    // depth[i]: how many steps of path record i and its levels spell out, or
    // 0 when they leave it. A record's steps are its level's plus its own, so
    // one pass in file order (levels come before what they hold) decides all.
    const auto& records = doc.Records();
    std::vector<size_t> depth(records.size(), 0);
    for (size_t i = 0; i < records.size(); ++i) {
        const TBcfgRecAll& rec = *records[i];
        size_t above = 0;
        if (rec.ParentIndex >= 0) {
            if (!rec.HasParentBefore())
                continue;
            above = depth[size_t(rec.ParentIndex)];
            if (above == 0)
                continue;
        }
        if (above >= steps.size() || Segment(rec) != steps[above])
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
