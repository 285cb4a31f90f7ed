#pragma once

#include "TextRules.h"
#include "TypeCode.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>

class TBCFGFile;
class RecordReader;
class ShortLabel;
class EditorHost;
struct LoaderState;

// One parameter record of a document. The document owns it; Doc is a plain
// back-pointer. The virtual operations keep this slot order: DisplayText,
// ReadPayload, WritePayload, MergeFrom, Edit.
//
// A record's label is its name, ValueOpen, its value text and ValueClose (a level's label is
// its bare name). Each type gives its value text (WriteShortValue, or AppendValueText when it
// can be long) and has one operation that takes a new value in under the type's rules (Take),
// which its Edit, StoreText (parvane-cli set) and MergeFrom (import) share.
class TBcfgRecAll
{
public:
    virtual ~TBcfgRecAll() = default;
    TBcfgRecAll(const TBcfgRecAll&) = delete;
    TBcfgRecAll& operator=(const TBcfgRecAll&) = delete;

    // Records live in the record pool (RecordPool.h).
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

    // Laid out without gaps, so that the fields of most record types fit in the
    // same 64 bytes: a document may hold millions of records.
    TBCFGFile* Doc = nullptr;

private:
    const char* m_name = nullptr; // held by the document's NameStore

public:
    qint32 Occurrence = 0;
    qint32 Index = 0;
    qint32 ParentIndex = -1;
    quint32 Min = 0; // header word; signed for every type but 1
    qint32 Max = 0;
    quint8 TypeCode = 0; // TypeCode::First..Last: a record of any other code is never made
    bool Modified = false;
    bool Imported = false;

    // The 8-bit label the record had just before the last import that took a
    // value over into it (Import::MergeDocuments sets it); empty when no
    // import ever did. The document holds them: most records never get one,
    // and a record without a document keeps none.
    const QByteArray& LabelBeforeImport() const;
    void SetLabelBeforeImport(const QByteArray& label);

    // The tree label, 8-bit text: for every type what AppendDisplayText appends, so it is
    // defined here once and each type gives its label through AppendDisplayText.
    virtual QByteArray DisplayText() const;
    // Reads the payload that follows the header; throws "Stream read error"
    // when the file ends inside it.
    virtual void ReadPayload(RecordReader& in, LoaderState& state) = 0;
    virtual void WritePayload(QByteArray& out) const = 0;
    // Takes over the value of other (a record of the same type code) under the
    // type's rule; returns whether it was taken over.
    virtual bool MergeFrom(const TBcfgRecAll& other) = 0;
    // Lets the user change the value in the type's popup.
    virtual void Edit(EditorHost& host) = 0;
    // Whether other (a record of the same type code) holds this record's value in the fields
    // that MergeFrom compares for the Modified mark: MergeFrom(other) would mark nothing.
    // False for a level, which holds no value.
    virtual bool SameValue(const TBcfgRecAll& other) const;
    // Appends the tree label (DisplayText) to out, so that a whole tree is labelled
    // in one buffer: the name, ValueOpen, the value text and ValueClose, in one step when
    // the value text is short.
    virtual void AppendDisplayText(QByteArray& out) const;
    // Appends the value text: the value as the label shows it (a password as stars). By
    // default what WriteShortValue writes; nothing for a level.
    virtual void AppendValueText(QByteArray& out) const;
    // Writes a short value text (a few numbers or one 32-byte field) into label; false for a
    // type whose value text may be longer, which AppendValueText gives instead.
    virtual bool WriteShortValue(ShortLabel& label) const;

    // The type in words, as an entry's details give it: "unsigned integer", "choice of 7",
    // "text, up to 31 bytes", ...
    virtual QString TypeWords() const;
    // Steps the value by steps notches (positive: up) under the type's wheel rule, without
    // marking it. False, with nothing changed, when the wheel does not edit this type or has
    // nothing to step to. Throws BcfgError, with nothing changed, when a date cannot be stepped.
    virtual bool StepValue(int steps);
    // Stores text, read in the form ValueInput::Text gives, as the type's popup would; false,
    // with why and nothing changed, when the type's rules refuse it (ValueInput::Store).
    virtual bool StoreText(const QString& text, QString& why);
    // Whether Edit toggles the value without a popup (Space in the tree is that edit).
    virtual bool EditToggles() const { return false; }
    // Whether the type's popup opens where the label's value begins (a list or a calendar
    // dropping down from it) rather than over the whole entry.
    virtual bool PopupAtValue() const { return false; }

    // Sets the value from payload bytes as WritePayload wrote them; marks untouched. Throws
    // "Stream read error" when the bytes are too few for the type.
    void RestorePayload(const QByteArray& payload);

    // Header and payload, marks untouched.
    void AppendTo(QByteArray& out) const;
    // The header alone: type code, name, Min, Max.
    void AppendHeaderTo(QByteArray& out) const;
    // The header's length, the same for every type: what a record takes before its payload.
    static constexpr qsizetype HeaderSize = 4 + TextRules::NameSize + 4 + 4;
    // Marks this record, every enclosing level record and the document.
    void MarkModified();
    // Marks this record and every enclosing level record (not the document).
    void MarkImported();

    // The 32-byte name field exactly as read (all zero bytes when none was set).
    QByteArrayView Name() const
    {
        static constexpr char none[32] = {};
        return QByteArrayView(m_name ? m_name : none, 32);
    }
    // field: 32 bytes that outlive the record (its document's NameStore holds them).
    void SetName(const char* field) { m_name = field; }

    QByteArray NameText() const;
    // The value text (AppendValueText); a null array for a level, which has no value.
    QByteArray ValueText() const;

    // The separators around the value text in a label.
    static constexpr QByteArrayView ValueOpen{" - [ "};
    static constexpr QByteArrayView ValueClose{" ]"};
    // Min and Max widened to 64 bits in the record's own signedness: unsigned for type
    // Unsigned alone.
    qint64 Lowest() const
    {
        return TypeCode == TypeCode::Unsigned ? qint64(Min) : qint64(qint32(Min));
    }
    qint64 Highest() const
    {
        return TypeCode == TypeCode::Unsigned ? qint64(quint32(Max)) : qint64(Max);
    }
    // Labels start with the name and this separator; the popup is placed after it.
    QByteArray LabelPrefix() const;
    // Whether ParentIndex names an earlier record, the level that encloses this one, as the
    // loader always links it. False at top level (-1), and for a link to any other index,
    // which only a record made by hand can have: such a record lies in no level.
    bool HasParentBefore() const { return ParentIndex >= 0 && ParentIndex < Index; }
    bool IsLevel() const { return TypeCode == TypeCode::Level; }
    bool IsLevelBegin() const { return IsLevel() && Min != 0; }
    bool IsLevelEnd() const { return IsLevel() && Min == 0; }

protected:
    TBcfgRecAll() = default;

private:
    TBcfgRecAll* parentLevel() const;

protected:
    // Sets why to reason and returns false: how StoreText refuses.
    static bool Refuse(QString& why, const QString& reason)
    {
        why = reason;
        return false;
    }
    // The label's parts around the value: the name and ValueOpen, and ValueClose.
    void AppendLabelStart(QByteArray& out) const;
    static void AppendLabelEnd(QByteArray& out) { out.append(ValueClose); }
};
