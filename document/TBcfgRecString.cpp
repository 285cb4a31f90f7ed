#include "TBcfgRecString.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "RecordStream.h"
#include "TextRules.h"

#include <QCoreApplication>

void TBcfgRecString::AppendValueText(QByteArray& out) const
{
    // Most texts show their stored bytes up to the first zero as they are; a password shows
    // as stars.
    const QByteArrayView text = TextRules::NameView(Buffer);
    if (!TextRules::EditableAsStored(TypeCode, text)) {
        if (TypeCode == TypeCode::Utf8Text)
            TextRules::AppendUtf8InCodePage(out, text); // GetText's text, made in place
        else
            out.append(GetText());
        return;
    }
    if (TypeCode == TypeCode::Password)
        out.append(text.size(), '*');
    else
        out.append(text);
}

void TBcfgRecString::ReadPayload(RecordReader& in, LoaderState&)
{
    const qint64 length = PayloadLength(Max);
    Buffer = in.read(length); // throws before allocating when the file is shorter
    BufferLength = qint32(length);
}

void TBcfgRecString::WritePayload(QByteArray& out) const
{
    out.append(Buffer);
}

bool TBcfgRecString::MergeFrom(const TBcfgRecAll& other)
{
    const auto* source = dynamic_cast<const TBcfgRecString*>(&other);
    if (!source)
        return false;
    if (!SameValue(*source))
        MarkModified();
    if (source->BufferLength == BufferLength) {
        Buffer = source->Buffer;
    } else {
        // Keep this record's own payload length: the text is cut to fit with
        // its zero byte and the rest is zero.
        const QByteArray stored = TextRules::NameText(source->Buffer);
        const qsizetype fit = TextRules::FittingStoredLength(TypeCode, stored, BufferLength - 1);
        Buffer = stored.left(fit);
        Buffer.append(QByteArray(BufferLength - fit, '\0'));
    }
    MarkImported();
    return true;
}

bool TBcfgRecString::SameValue(const TBcfgRecAll& other) const
{
    const auto* source = dynamic_cast<const TBcfgRecString*>(&other);
    // Another payload length always counts as a change, whatever the text.
    return source && source->BufferLength == BufferLength && source->Buffer == Buffer;
}

void TBcfgRecString::Edit(EditorHost& host)
{
    EditorHost::StringPopup popup;
    popup.nameLabel = CodePage::ToUnicode(NameText() + " -");
    popup.text = CodePage::ToUnicode(GetText());
    popup.textLimit = BufferLength;
    popup.fittingLength = [this](const QString& text) { return FittingTextLength(text); };
    QString typed;
    if (host.ShowStringPopup(popup, typed))
        StoreTyped(typed);
}

bool TBcfgRecString::StoreTyped(const QString& typed)
{
    // Storing the same text again would re-encode it: characters the code page
    // cannot show would become "?", a backslash would gain its 0x1F mark and
    // damaged UTF-8 would be lost. Keep the bytes untouched and unmarked.
    const QByteArray current = GetText();
    const QByteArray text = CodePage::FromUnicode(typed);
    if (typed == CodePage::ToUnicode(current) || text == current)
        return false;
    MarkModified();
    SetText(text);
    return true;
}

bool TBcfgRecString::StoreText(const QString& text, QString& why)
{
    // The text already stored is kept as it is, whatever it would take now.
    if (text == CodePage::ToUnicode(GetText())) {
        StoreTyped(text);
        return true;
    }
    if (CodePage::ToUnicode(CodePage::FromUnicode(text)) != text)
        return Refuse(why, QStringLiteral("it holds a character the code page %1 cannot represent")
                               .arg(CodePage::Name()));
    if (FittingTextLength(text) < text.size()) {
        const qsizetype needed =
            TextRules::StoredForm(TypeCode, CodePage::FromUnicode(text)).size() + 1;
        return Refuse(why, QStringLiteral("the record holds %1 bytes, the text takes %2 with its "
                                          "zero byte")
                               .arg(BufferLength)
                               .arg(needed));
    }
    StoreTyped(text);
    return true;
}

QString TBcfgRecString::TextTypeWords(const char* kind) const
{
    const int textBytes = BufferLength - 1;
    return QCoreApplication::translate("RecordDetails", "%1, up to %n bytes", nullptr, textBytes)
        .arg(QCoreApplication::translate("RecordDetails", kind));
}

qsizetype TBcfgRecString::FittingTextLength(const QString& text) const
{
    const auto fits = [&](qsizetype length) {
        const QByteArray stored =
            TextRules::StoredForm(TypeCode, CodePage::FromUnicode(QStringView(text).left(length)));
        return stored.size() + 1 <= BufferLength;
    };
    // The stored form only grows as characters are added: search the longest prefix.
    qsizetype low = 0;
    qsizetype high = text.size();
    if (fits(high))
        return high;
    while (low + 1 < high) {
        const qsizetype mid = (low + high) / 2;
        (fits(mid) ? low : high) = mid;
    }
    if (low > 0 && text[low - 1].isHighSurrogate())
        --low;
    return low;
}

void TBcfgRecString::StoreBytes(const QByteArray& stored)
{
    if (BufferLength <= 0)
        return;
    const qsizetype fit = TextRules::FittingStoredLength(TypeCode, stored, BufferLength - 1);
    if (Buffer.size() < BufferLength)
        Buffer.resize(BufferLength, '\0');
    std::copy(stored.constBegin(), stored.constBegin() + fit, Buffer.begin());
    Buffer[fit] = '\0';
}

QByteArray TBcfgRec02::GetText() const
{
    return TextRules::EditableText(TypeCode::EscapedText, Buffer);
}
void TBcfgRec02::SetText(const QByteArray& text)
{
    StoreBytes(TextRules::StoredForm(TypeCode::EscapedText, text));
}

QByteArray TBcfgRec0406::GetText() const
{
    return TextRules::EditableText(TypeCode, Buffer);
}
void TBcfgRec0406::SetText(const QByteArray& text)
{
    StoreBytes(text);
}

QByteArray TBcfgRec0A::GetText() const
{
    return TextRules::EditableText(TypeCode::Utf8Text, Buffer);
}
void TBcfgRec0A::SetText(const QByteArray& text)
{
    StoreBytes(TextRules::StoredForm(TypeCode::Utf8Text, text));
}

QString TBcfgRec02::TypeWords() const
{
    return TextTypeWords(QT_TRANSLATE_NOOP("RecordDetails", "text, UTF-8 with escape marks"));
}

QString TBcfgRec0406::TypeWords() const
{
    return TextTypeWords(TypeCode == TypeCode::Password
                             ? QT_TRANSLATE_NOOP("RecordDetails", "password")
                             : QT_TRANSLATE_NOOP("RecordDetails", "text"));
}

QString TBcfgRec0A::TypeWords() const
{
    return TextTypeWords(QT_TRANSLATE_NOOP("RecordDetails", "text, UTF-8"));
}
