#pragma once

#include "TBcfgRecAll.h"

#include <QString>

// Base of the text records (types 2, 4, 6, 10). Buffer holds the whole
// payload, BufferLength bytes: the text, a zero byte, then carried bytes.
class TBcfgRecString : public TBcfgRecAll
{
public:
    QByteArray Buffer;
    qint32 BufferLength = 0;

    // Payload length of a text record: the smallest multiple of 4 above max.
    static qint64 PayloadLength(qint32 max) { return (qint64(max) / 4 + 1) * 4; }

    void ReadPayload(RecordReader& in, LoaderState& state) override;
    void WritePayload(QByteArray& out) const override;
    bool MergeFrom(const TBcfgRecAll& other) override;
    bool SameValue(const TBcfgRecAll& other) const override;
    void Edit(EditorHost& host) override;
    void AppendValueText(QByteArray& out) const override;
    bool StoreText(const QString& text, QString& why) override;

    // The editable 8-bit text of the stored bytes.
    virtual QByteArray GetText() const = 0;
    // Stores an 8-bit text, cut at the last whole character that fits in the
    // payload together with its zero byte; later bytes keep their contents.
    virtual void SetText(const QByteArray& text) = 0;

    // How many leading characters of an edited text can be stored with their
    // zero byte in this record's payload.
    qsizetype FittingTextLength(const QString& text) const;
    // Takes a typed text in, as the popup and set do: the text already stored (as
    // the popup shows it, or the same 8-bit text) keeps its bytes and marks;
    // any other is marked and stored (cut to fit). Returns whether it stored.
    bool StoreTyped(const QString& typed);

protected:
    void StoreBytes(const QByteArray& stored);
    // "kind, up to N bytes": the payload holds the stored bytes and their zero byte.
    QString TextTypeWords(const char* kind) const;
};

// Type 2: UTF-8 with a 0x1F after certain backslashes.
class TBcfgRec02 : public TBcfgRecString
{
public:
    QString TypeWords() const override;
    QByteArray GetText() const override;
    void SetText(const QByteArray& text) override;
};

// Types 4 and 6 (a password): 8-bit text stored as it is.
class TBcfgRec0406 : public TBcfgRecString
{
public:
    QString TypeWords() const override;
    QByteArray GetText() const override;
    void SetText(const QByteArray& text) override;
};

// Type 10: UTF-8.
class TBcfgRec0A : public TBcfgRecString
{
public:
    QString TypeWords() const override;
    QByteArray GetText() const override;
    void SetText(const QByteArray& text) override;
};
