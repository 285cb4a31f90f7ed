#include "TBcfgRec0E.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueInput.h"
#include "ValueRules.h"

#include <QCoreApplication>

void TBcfgRec0E::Take(const std::array<quint16, 4>& rect)
{
    if (!holds(rect))
        MarkModified();
    X1 = rect[0];
    Y1 = rect[1];
    X2 = rect[2];
    Y2 = rect[3];
}

bool TBcfgRec0E::WriteShortValue(ShortLabel& label) const
{
    label.number(X1);
    for (const quint16 v : {Y1, X2, Y2})
        label.character(',').number(v);
    return true;
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
    Take({source->X1, source->Y1, source->X2, source->Y2});
    MarkImported();
    return true;
}

bool TBcfgRec0E::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec0E*>(&other);
    return source && holds({source->X1, source->Y1, source->X2, source->Y2});
}

void TBcfgRec0E::Edit(EditorHost& host)
{
    EditorHost::FourFieldPopup popup;
    popup.labels = {CodePage::ToUnicode(NameText() + " - X1:"), QStringLiteral("Y1:"),
                    QStringLiteral("X2:"), QStringLiteral("Y2:")};
    popup.mode = EditorHost::FourFieldPopup::Mode::Rectangle;
    popup.wheelMax = ValueRules::PositionWheelMax;
    for (;;) {
        popup.values = {QString::number(X1), QString::number(Y1), QString::number(X2),
                        QString::number(Y2)};
        std::array<QString, 4> typed;
        if (!host.ShowFourFieldPopup(popup, typed))
            return;
        if (const auto parsed = ValueInput::FourFields<quint16>(typed, ValueInput::RectField)) {
            Take(*parsed);
            return;
        }
    }
}

QString TBcfgRec0E::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "rectangle X1, Y1, X2, Y2");
}

bool TBcfgRec0E::StoreText(const QString& text, QString& why)
{
    const auto fields = ValueInput::Parts(text, 4);
    const auto v =
        fields ? ValueInput::FourFields<quint16>(*fields, ValueInput::RectField) : std::nullopt;
    if (!v)
        return Refuse(why,
                      QStringLiteral("not X1,Y1,X2,Y2 (each 0 to %1)").arg(ValueRules::RectMax));
    Take(*v);
    return true;
}
