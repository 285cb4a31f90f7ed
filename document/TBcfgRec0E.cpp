#include "TBcfgRec0E.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueInput.h"
#include "ValueRules.h"

QByteArray TBcfgRec0E::DisplayText() const
{
    return AppendedLabel();
}

void TBcfgRec0E::AppendDisplayText(QByteArray& out) const
{
    ShortLabel label(*this);
    label.number(X1);
    for (const quint16 v : {Y1, X2, Y2})
        label.character(',').number(v);
    label.appendTo(out);
}

void TBcfgRec0E::ReadPayload(RecordReader& in, LoaderState&)
{
    X1 = in.u16();
    Y1 = in.u16();
    X2 = in.u16();
    Y2 = in.u16();
}

void TBcfgRec0E::WritePayload(QByteArray& out) const
{
    for (quint16 v : {X1, Y1, X2, Y2})
        RecordWriter::u16(out, v);
}

bool TBcfgRec0E::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRec0E*>(&other);
    if (!source)
        return false;
    if (source->X1 != X1 || source->Y1 != Y1 || source->X2 != X2 || source->Y2 != Y2)
        MarkModified();
    X1 = source->X1;
    Y1 = source->Y1;
    X2 = source->X2;
    Y2 = source->Y2;
    MarkImported();
    return true;
}

void TBcfgRec0E::Edit(EditorHost& host)
{
    EditorHost::FourFieldPopup popup;
    popup.labels = {CodePage::ToUnicode(NameText() + " - X1:"), QStringLiteral("Y1:"),
                    QStringLiteral("X2:"), QStringLiteral("Y2:")};
    popup.wheelMax = 512;
    for (;;) {
        popup.values = {QString::number(X1), QString::number(Y1), QString::number(X2),
                        QString::number(Y2)};
        std::array<QString, 4> typed;
        if (!host.ShowFourFieldPopup(popup, typed))
            return;
        quint16 parsed[4] = {};
        bool valid = true;
        for (int i = 0; i < 4 && valid; ++i) {
            const auto v = ValueInput::RectField(typed[size_t(i)]);
            valid = v.has_value();
            if (valid)
                parsed[i] = *v;
        }
        if (!valid)
            continue;
        if (parsed[0] != X1 || parsed[1] != Y1 || parsed[2] != X2 || parsed[3] != Y2)
            MarkModified();
        X1 = parsed[0];
        Y1 = parsed[1];
        X2 = parsed[2];
        Y2 = parsed[3];
        return;
    }
}

QString TBcfgRec0E::TypeWords() const
{
    return QStringLiteral("rectangle X1, Y1, X2, Y2");
}

bool TBcfgRec0E::StoreText(const QString& text, QString& why)
{
    const auto fields = ValueInput::Parts(text, 4);
    std::array<quint16, 4> v{};
    for (int i = 0; i < 4; ++i) {
        const auto field = fields ? ValueInput::RectField((*fields)[i]) : std::nullopt;
        if (!field)
            return Refuse(
                why, QStringLiteral("not X1,Y1,X2,Y2 (each 0 to %1)").arg(ValueRules::RectMax));
        v[size_t(i)] = *field;
    }
    if (v[0] != X1 || v[1] != Y1 || v[2] != X2 || v[3] != Y2)
        MarkModified();
    X1 = v[0];
    Y1 = v[1];
    X2 = v[2];
    Y2 = v[3];
    return true;
}
