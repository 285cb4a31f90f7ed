#include "TBcfgRec08.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueInput.h"
#include "ValueRules.h"

#include <QCoreApplication>

bool TBcfgRec08::Take(const std::array<qint64, 4>& rgba)
{
    for (int i = 0; i < 4; ++i)
        if (rgba[size_t(i)] < 0 || rgba[size_t(i)] > ValueInput::ColourFieldMax(i))
            return false;
    assign(quint8(rgba[0]), quint8(rgba[1]), quint8(rgba[2]), quint8(rgba[3]));
    return true;
}

void TBcfgRec08::assign(quint8 r, quint8 g, quint8 b, quint8 a)
{
    if (!holds(r, g, b, a))
        MarkModified();
    R = r;
    G = g;
    B = b;
    A = a;
}

bool TBcfgRec08::WriteShortValue(ShortLabel& label) const
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    const quint8 parts[] = {R, G, B, A};
    for (size_t i = 0; i < std::size(parts); ++i) {
        if (i > 0)
            label.character(',');
        label.character(Digits[parts[i] >> 4]).character(Digits[parts[i] & 15]);
    }
    return true;
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
    // Import takes a colour as the file holds it, alpha above the editor's limit included.
    const auto* source = dynamic_cast<const TBcfgRec08*>(&other);
    if (!source)
        return false;
    assign(source->R, source->G, source->B, source->A);
    MarkImported();
    return true;
}

bool TBcfgRec08::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec08*>(&other);
    return source && holds(source->R, source->G, source->B, source->A);
}

void TBcfgRec08::Edit(EditorHost& host)
{
    EditorHost::FourFieldPopup popup;
    popup.labels = {CodePage::ToUnicode(NameText() + " - R:"), QStringLiteral("G:"),
                    QStringLiteral("B:"), QStringLiteral("A:")};
    popup.mode = EditorHost::FourFieldPopup::Mode::Colour;
    popup.wheelMax = ValueRules::ColourMax;
    for (;;) {
        popup.values = {QString::number(R), QString::number(G), QString::number(B),
                        QString::number(A)};
        std::array<QString, 4> typed;
        if (!host.ShowFourFieldPopup(popup, typed))
            return;
        const auto parsed = ValueInput::FourFields<qint64>(typed, ValueRules::ParseInt32);
        if (parsed && Take(*parsed))
            return;
    }
}

QString TBcfgRec08::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "colour R, G, B, alpha");
}

bool TBcfgRec08::StoreText(const QString& text, QString& why)
{
    const auto fields = ValueInput::Parts(text, 4);
    const auto hexField = [](QStringView field) -> std::optional<qint64> {
        if (const auto byte = ValueRules::ParseHexDigits(field, 2))
            return qint64(*byte);
        return std::nullopt;
    };
    const auto v = fields ? ValueInput::FourFields<qint64>(*fields, hexField) : std::nullopt;
    if (!v || !Take(*v))
        return Refuse(why, QStringLiteral("not RR,GG,BB,AA (hexadecimal bytes, alpha at most %1)")
                               .arg(ValueInput::ColourFieldMax(3), 0, 16));
    return true;
}
