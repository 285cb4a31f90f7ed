#include "TBcfgRec07.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "ShortLabel.h"
#include "TextRules.h"
#include "ValueInput.h"
#include "ValueRules.h"

QByteArray TBcfgRec07::DisplayText() const
{
    return AppendedLabel();
}

void TBcfgRec07::AppendDisplayText(QByteArray& out) const
{
    ShortLabel(*this).number(X).character(',').number(Y).appendTo(out);
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
    if (source->X != X || source->Y != Y)
        MarkModified();
    X = source->X;
    Y = source->Y;
    MarkImported();
    return true;
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
        if (!x || !y)
            continue;
        if (*x != X || *y != Y)
            MarkModified();
        X = *x;
        Y = *y;
        return;
    }
}

QString TBcfgRec07::TypeWords() const
{
    return QStringLiteral("coordinates X, Y");
}

bool TBcfgRec07::StoreText(const QString& text, QString& why)
{
    const auto xy = ValueInput::Parts(text, 2);
    const auto x = xy ? ValueRules::ParseInt32((*xy)[0]) : std::nullopt;
    const auto y = xy ? ValueRules::ParseInt32((*xy)[1]) : std::nullopt;
    if (!x || !y)
        return Refuse(why, QStringLiteral("not X,Y (two signed 32-bit integers)"));
    if (*x != X || *y != Y)
        MarkModified();
    X = *x;
    Y = *y;
    return true;
}
