#include "TBcfgRec08.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueInput.h"
#include "ValueRules.h"

#include <QRegularExpression>

QByteArray TBcfgRec08::DisplayText() const
{
    return AppendedLabel();
}

void TBcfgRec08::AppendDisplayText(QByteArray& out) const
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    ShortLabel label(*this);
    const quint8 parts[] = {R, G, B, A};
    for (size_t i = 0; i < std::size(parts); ++i) {
        if (i > 0)
            label.character(',');
        label.character(Digits[parts[i] >> 4]).character(Digits[parts[i] & 15]);
    }
    label.appendTo(out);
}

void TBcfgRec08::ReadPayload(RecordReader& in, LoaderState&)
{
    R = in.u8();
    G = in.u8();
    B = in.u8();
    A = in.u8();
}

void TBcfgRec08::WritePayload(QByteArray& out) const
{
    for (quint8 v : {R, G, B, A})
        RecordWriter::u8(out, v);
}

bool TBcfgRec08::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRec08*>(&other);
    if (!source)
        return false;
    if (source->R != R || source->G != G || source->B != B || source->A != A)
        MarkModified();
    R = source->R;
    G = source->G;
    B = source->B;
    A = source->A;
    MarkImported();
    return true;
}

void TBcfgRec08::Edit(EditorHost& host)
{
    EditorHost::FourFieldPopup popup;
    popup.labels = {CodePage::ToUnicode(NameText() + " - R:"), QStringLiteral("G:"),
                    QStringLiteral("B:"), QStringLiteral("A:")};
    popup.wheelMax = 255;
    for (;;) {
        popup.values = {QString::number(R), QString::number(G), QString::number(B),
                        QString::number(A)};
        std::array<QString, 4> typed;
        if (!host.ShowFourFieldPopup(popup, typed))
            return;
        quint8 parsed[4] = {};
        bool valid = true;
        for (int i = 0; i < 4 && valid; ++i) {
            const auto v = ValueRules::ParseInt32(typed[size_t(i)]);
            valid = v && *v >= 0 && *v <= ValueInput::ColourFieldMax(i);
            if (valid)
                parsed[i] = quint8(*v);
        }
        if (!valid)
            continue;
        if (parsed[0] != R || parsed[1] != G || parsed[2] != B || parsed[3] != A)
            MarkModified();
        R = parsed[0];
        G = parsed[1];
        B = parsed[2];
        A = parsed[3];
        return;
    }
}

QString TBcfgRec08::TypeWords() const
{
    return QStringLiteral("colour R, G, B, alpha");
}

bool TBcfgRec08::StoreText(const QString& text, QString& why)
{
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-Fa-f]{1,2}$"));
    const auto fields = ValueInput::Parts(text, 4);
    std::array<quint8, 4> v{};
    for (int i = 0; i < 4; ++i) {
        const auto field = fields && hexByte.match((*fields)[i]).hasMatch()
                               ? ValueRules::ParseInt32(QLatin1Char('$') + (*fields)[i].toString())
                               : std::nullopt;
        if (!field || *field > ValueInput::ColourFieldMax(i))
            return Refuse(why, QStringLiteral("not RR,GG,BB,AA (hexadecimal bytes, alpha at "
                                              "most %1)")
                                   .arg(ValueInput::ColourFieldMax(3), 0, 16));
        v[size_t(i)] = quint8(*field);
    }
    if (v[0] != R || v[1] != G || v[2] != B || v[3] != A)
        MarkModified();
    R = v[0];
    G = v[1];
    B = v[2];
    A = v[3];
    return true;
}
