#include "TBcfgRec07.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueInput.h"
#include "ValueRules.h"

#include <QCoreApplication>

void TBcfgRec07::Take(qint32 x, qint32 y)
{
    if (!holds(x, y))
        MarkModified();
    X = x;
    Y = y;
}

bool TBcfgRec07::WriteShortValue(ShortLabel& label) const
{
    label.number(X).character(',').number(Y);
    return true;
}

void TBcfgRec07::ReadPayload(RecordReader& in, LoaderState&)
{
    X = in.i32();
    Y = in.i32();
}

void TBcfgRec07::WritePayload(QByteArray& out) const
{
    RecordWriter::u32(out, quint32(X));
    RecordWriter::u32(out, quint32(Y));
}

bool TBcfgRec07::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRec07*>(&other);
    if (!source)
        return false;
    Take(source->X, source->Y);
    MarkImported();
    return true;
}

bool TBcfgRec07::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRec07*>(&other);
    return source && holds(source->X, source->Y);
}

void TBcfgRec07::Edit(EditorHost& host)
{
    const QString label = CodePage::ToUnicode(NameText() + " - X:");
    for (;;) {
        QString typedX, typedY;
        if (!host.ShowCoordinatesPopup(label, QString::number(X), QString::number(Y), typedX,
                                       typedY))
            return;
        const auto x = ValueRules::ParseInt32(typedX);
        const auto y = ValueRules::ParseInt32(typedY);
        if (x && y) {
            Take(*x, *y);
            return;
        }
    }
}

QString TBcfgRec07::TypeWords() const
{
    return QCoreApplication::translate("RecordDetails", "coordinates X, Y");
}

bool TBcfgRec07::StoreText(const QString& text, QString& why)
{
    const auto xy = ValueInput::Parts(text, 2);
    const auto x = xy ? ValueRules::ParseInt32((*xy)[0]) : std::nullopt;
    const auto y = xy ? ValueRules::ParseInt32((*xy)[1]) : std::nullopt;
    if (!x || !y)
        return Refuse(why, QStringLiteral("not X,Y (two signed 32-bit integers)"));
    Take(*x, *y);
    return true;
}
