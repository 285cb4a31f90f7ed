#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

class TBCFGFile;
class TBcfgRecAll;

// Values set by parameter path, from a settings text (its line numbers kept) or from a
// command line: each with the rules of the record's popup (ValueInput::Store), the same for
// parvane-cli set, load and the window's Apply settings.
namespace Settings {

struct Setting {
    QString path;
    QString value;
    qint64 line = 0; // in the settings text; 0 when the setting came from elsewhere
};

// Settings as their UTF-8 text, in order: a million of them fit in a small part of the memory
// that as many Setting values take, and a path is looked up without being converted.
class List
{
public:
    void push_back(const Setting& setting);
    void add(std::string_view path, std::string_view value, qint64 line);
    // Appends other's settings, their lines moved on by lines.
    void append(const List& other, qint64 lines);
    void reserve(size_t count, qsizetype bytes);

    size_t size() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    QByteArrayView pathUtf8(size_t i) const;
    QByteArrayView valueUtf8(size_t i) const;
    qint64 line(size_t i) const { return m_items[i].line; }
    Setting operator[](size_t i) const;

    class const_iterator
    {
    public:
        const_iterator(const List& list, size_t at) : m_list(&list), m_at(at) {}
        Setting operator*() const { return (*m_list)[m_at]; }
        const_iterator& operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator!=(const const_iterator& other) const { return m_at != other.m_at; }

    private:
        const List* m_list;
        size_t m_at;
    };
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

private:
    struct Item {
        qsizetype at; // the path, then the value, in m_text
        qsizetype pathSize;
        qsizetype valueSize;
        qint64 line;
    };
    std::string m_text;
    std::vector<Item> m_items;
};

// A path that names no record: an error, or passed over.
enum class Missing { Refused, Skipped };

// Sets each setting's record to its value, in order (a later setting of a path wins).
// Throws BcfgError at the first setting whose path names no record (unless missing is
// Skipped) or a level, or whose value the record's rule refuses; the message gives its line
// when it has one and quotes the path and the value. The records set before it keep their new
// values then: the caller discards the document or puts them back. Returns the settings
// passed over, in order.
std::vector<Setting> Apply(TBCFGFile& doc, const List& settings,
                           Missing missing = Missing::Refused);

// The record found for path, to read or set its value: throws BcfgError "<refusal>: no record
// has this path" when found is nullptr, or "<refusal>: the path names a level".
TBcfgRecAll& ValueRecord(TBcfgRecAll* found, const QString& refusal);

// text in double quotes.
QString Quoted(const QString& text);
// text after "Line N: " when line is above 0.
QString AtLine(qint64 line, const QString& text);
// What is said when a settings text has no settings.
QString NothingToApply(const QString& fileName);

} // namespace Settings
