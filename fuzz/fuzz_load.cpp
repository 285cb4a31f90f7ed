// Loads arbitrary bytes as a configuration file and checks what must hold for every file that
// loads: it saves back byte for byte, the tree has one entry per shown record, the records are
// linked to earlier level records, and importing a file into itself keeps every record's length.
// Then every text record is stored again (its own text and bytes of the input), and the file is
// imported into a copy of itself whose values were changed: lengths and structure stay, and every
// record with a path of its own gets its original bytes back.
// A cut-short file (BcfgError) is an ordinary outcome.

#include "BcfgError.h"
#include "FuzzProperty.h"
#include "Import.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"
#include "TBcfgRec05.h"
#include "TBcfgRec07.h"
#include "TBcfgRec08.h"
#include "TBcfgRec0B.h"
#include "TBcfgRec0C.h"
#include "TBcfgRec0D.h"
#include "TBcfgRec0E.h"
#include "TBcfgRecString.h"
#include "TextRules.h"
#include "TreeSink.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

namespace {

// Keeps every entry, so the loader's parent links and expansion are exercised.
class RecordingTree : public TreeSink
{
public:
    struct Node {
        size_t parent;
        QByteArray label;
        TBcfgRecAll* record;
    };
    static constexpr size_t Root = size_t(-1);

    Entry append(Entry parent, const QByteArray& label, TBcfgRecAll* record) override
    {
        nodes.push_back(Node{toIndex(parent), label, record});
        return toEntry(nodes.size() - 1);
    }
    Entry parentOf(Entry entry) override
    {
        const size_t parent = nodes.at(toIndex(entry)).parent;
        return parent == Root ? nullptr : toEntry(parent);
    }
    void expandAll(Entry entry) override { expanded = toIndex(entry); }

    std::vector<Node> nodes;
    size_t expanded = Root;

private:
    // Indices plus one, so that no entry is nullptr (the root).
    static Entry toEntry(size_t index) { return reinterpret_cast<Entry>(index + 1); }
    static size_t toIndex(Entry entry)
    {
        return entry ? reinterpret_cast<size_t>(entry) - 1 : Root;
    }
};

class CountingReporter : public LoadReporter
{
public:
    void loadMessage(const QString& text) override
    {
        ++messages;
        length += text.size();
    }
    int messages = 0;
    qsizetype length = 0;
};

// PathKey copies the whole path for every level, so deep nesting would only burn time.
constexpr int PathKeyDepth = 32;

int depthOf(const TBCFGFile& doc, const TBcfgRecAll& record)
{
    int depth = 0;
    for (const TBcfgRecAll* rec = doc.Record(record.ParentIndex); rec;
         rec = doc.Record(rec->ParentIndex))
        ++depth;
    return depth;
}

void checkModel(const TBCFGFile& doc)
{
    for (int i = 0; i < doc.Count(); ++i) {
        const TBcfgRecAll& rec = *doc.Record(i);
        check(rec.Index == i, "Index is the position in the document");
        check(rec.Doc == &doc, "a record belongs to its document");
        check(rec.TypeCode >= TypeCode::First && rec.TypeCode <= TypeCode::Last,
              "only known type codes are records");
        if (rec.ParentIndex != -1) {
            check(rec.ParentIndex >= 0 && rec.ParentIndex < i, "the parent comes earlier");
            check(doc.Record(rec.ParentIndex)->IsLevelBegin(), "the parent opens a level");
        }
        check(rec.Occurrence >= 0 && rec.Occurrence <= i, "occurrence counts earlier records");
    }
}

void checkTree(const TBCFGFile& doc, const RecordingTree& tree)
{
    size_t shown = 0;
    for (const auto& rec : doc.Records())
        shown += rec->IsLevelEnd() ? 0 : 1;
    check(tree.nodes.size() == shown + (doc.FullyLoaded() ? 0 : 1), "one entry per shown record");
    for (const auto& node : tree.nodes) {
        if (node.record) {
            check(node.label == node.record->DisplayText(), "an entry's label is its text");
            check(node.parent == RecordingTree::Root || tree.nodes[node.parent].record,
                  "records sit under records");
        }
    }
    if (!doc.FullyLoaded()) {
        check(!tree.nodes.back().record && tree.nodes.back().label == doc.StopLabel(),
              "the last entry stands for the unread block");
        check(tree.expanded != RecordingTree::Root &&
                  tree.nodes[tree.expanded].parent == RecordingTree::Root,
              "a top-level branch is expanded");
    }
}

void exerciseTexts(const TBCFGFile& doc)
{
    qsizetype total = 0;
    for (const auto& rec : doc.Records()) {
        total += rec->DisplayText().size();
        if (const auto* text = dynamic_cast<const TBcfgRecString*>(rec.get())) {
            check(text->Buffer.size() == text->BufferLength, "the buffer is the payload");
            total += text->GetText().size();
        }
        if (depthOf(doc, *rec) <= PathKeyDepth)
            total += Import::PathKey(*rec, rec->Index % 2 == 0).size();
    }
    check(total >= 0, "texts have a length");
}

// Numbers drawn from the input, so that a finding reproduces from its file alone.
class Stream
{
public:
    explicit Stream(const QByteArray& bytes)
    {
        std::uint64_t hash = 0xCBF29CE484222325u; // FNV-1a
        for (const char c : bytes)
            hash = (hash ^ uchar(c)) * 0x100000001B3u;
        m_state = hash | 1; // xorshift never leaves zero
    }
    std::uint32_t next()
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return std::uint32_t((m_state * 0x2545F4914F6CDD1Du) >> 32);
    }
    std::uint32_t below(std::uint64_t n) { return n ? std::uint32_t(next() % n) : 0; }

private:
    std::uint64_t m_state;
};

QByteArray recordBytes(const TBcfgRecAll& rec)
{
    QByteArray out;
    rec.AppendTo(out);
    return out;
}

std::vector<QByteArray> recordImages(const TBCFGFile& doc)
{
    std::vector<QByteArray> images;
    images.reserve(size_t(doc.Count()));
    for (const auto& rec : doc.Records())
        images.push_back(recordBytes(*rec));
    return images;
}

QByteArray payloadOf(const QByteArray& image)
{
    return image.mid(TBcfgRecAll::HeaderSize);
}

// The part of a payload that the user sees: time and date keep hidden rest bytes after it.
QByteArray valueOf(quint32 typeCode, const QByteArray& image)
{
    const QByteArray payload = payloadOf(image);
    if (typeCode == TypeCode::Time)
        return payload.left(2);
    if (typeCode == TypeCode::Date)
        return payload.left(6);
    return payload;
}

bool isText(quint32 typeCode)
{
    return typeCode == TypeCode::EscapedText || typeCode == TypeCode::Text ||
           typeCode == TypeCode::Password || typeCode == TypeCode::Utf8Text;
}

// Types whose records take any value of their own type over.
bool alwaysTakes(quint32 typeCode)
{
    return isText(typeCode) || typeCode == TypeCode::Coordinates || typeCode == TypeCode::Colour ||
           typeCode >= TypeCode::CheckBox;
}

// Whatever values changed, the layout stays: the same records with the same headers and
// lengths, the same tail, and the bytes load again into the same structure.
void checkLayout(const TBCFGFile& doc, const TBCFGFile& original, const QByteArray& bytes)
{
    const QByteArray saved = doc.Serialize();
    check(saved.size() == bytes.size(), "a changed value keeps the file's length");
    check(doc.Count() == original.Count() && doc.Tail() == original.Tail(),
          "values change no record and no tail");
    for (int i = 0; i < doc.Count(); ++i) {
        const TBcfgRecAll& rec = *doc.Record(i);
        const TBcfgRecAll& orig = *original.Record(i);
        check(rec.TypeCode == orig.TypeCode && rec.Name() == orig.Name() && rec.Min == orig.Min &&
                  rec.Max == orig.Max,
              "a changed value leaves the header alone");
        check(recordBytes(rec).size() == recordBytes(orig).size(), "every record keeps its length");
    }
    std::unique_ptr<TBCFGFile> reloaded;
    try {
        reloaded = TBCFGFile::FromBytes(saved, nullptr, nullptr);
    } catch (const BcfgError&) {
        fail("a saved file loads again");
    }
    check(reloaded->Count() == doc.Count() && reloaded->FullyLoaded() == doc.FullyLoaded() &&
              reloaded->Tail() == doc.Tail(),
          "a saved file loads the same records");
    for (int i = 0; i < doc.Count(); ++i) {
        const TBcfgRecAll& rec = *doc.Record(i);
        const TBcfgRecAll& again = *reloaded->Record(i);
        check(again.TypeCode == rec.TypeCode && again.ParentIndex == rec.ParentIndex &&
                  again.Occurrence == rec.Occurrence,
              "a saved file loads the same structure");
    }
    check(reloaded->Serialize() == saved, "a saved file saves back byte for byte");
}

// Stores each text record's own text, then a piece of the input, checking the stored bytes
// against the rules of the text's type.
void storeTexts(TBCFGFile& doc, const QByteArray& bytes, Stream& stream)
{
    for (const auto& rec : doc.Records()) {
        auto* text = dynamic_cast<TBcfgRecString*>(rec.get());
        if (!text)
            continue;
        const quint32 type = text->TypeCode;
        const qsizetype capacity = text->BufferLength - 1; // room for the zero byte
        check(capacity >= 3, "a text payload has at least four bytes");

        // Its own text: 8-bit texts keep their bytes; the others may lose what the code page
        // cannot show or a malformed sequence, but only once.
        const QByteArray loaded = text->Buffer;
        text->SetText(text->GetText());
        check(text->Buffer.size() == text->BufferLength, "storing its own text keeps the payload");
        if ((type == TypeCode::Text || type == TypeCode::Password) && loaded.contains('\0'))
            check(text->Buffer == loaded, "an 8-bit text stored again keeps its bytes");
        const QByteArray once = text->GetText();
        text->SetText(once);
        check(text->GetText() == once, "a text stored once reads back unchanged");

        // A piece of the input, at times longer than the payload.
        const QByteArray piece = bytes.mid(stream.below(quint64(bytes.size()) + 1),
                                           stream.below(quint64(text->BufferLength) + 8));
        const QByteArray before = text->Buffer;
        text->SetText(piece);
        const QByteArray& buffer = text->Buffer;
        check(buffer.size() == text->BufferLength, "storing a text keeps the payload length");
        const QByteArray stored = TextRules::StoredForm(type, piece);
        const qsizetype fit = TextRules::FittingStoredLength(type, stored, capacity);
        check(fit >= 0 && fit <= capacity && fit <= stored.size(),
              "the stored part fits with its zero byte");
        if (stored.size() <= capacity)
            check(fit == stored.size(), "a text that fits is stored whole");
        // A cut gives up at most the partial character (up to two bytes) or one backslash.
        check(fit >= qMin(stored.size(), capacity) - 2, "a cut keeps every whole character");
        if (fit < stored.size() && (type == TypeCode::EscapedText || type == TypeCode::Utf8Text))
            check((uchar(stored[fit]) & 0xC0) != 0x80, "a cut never splits a character");
        if (fit > 0 && fit < stored.size() && type == TypeCode::EscapedText)
            check(!(stored[fit] == '\x1F' && stored[fit - 1] == '\\'),
                  "a cut never parts a backslash from its mark");
        check(buffer.left(fit) == stored.left(fit) && buffer[fit] == '\0',
              "the payload starts with the stored text and its zero byte");
        check(buffer.mid(fit + 1) == before.mid(fit + 1), "the bytes after the text are kept");

        const QByteArray whole = TextRules::EditableText(type, stored);
        const QByteArray read = text->GetText();
        check(whole.startsWith(read), "a stored text reads back as a prefix of the text");
        if (fit == stored.size())
            check(read == whole, "a text stored whole reads back whole");
        check(read.isEmpty() == TextRules::NameText(buffer).isEmpty(),
              "stored characters read back as text");
    }
}

void flipByte(QByteArray& bytes, std::uint32_t v)
{
    if (!bytes.isEmpty())
        bytes[qsizetype(v % std::uint32_t(bytes.size()))] ^= char(1u << (v >> 29));
}

// Changes the values of most records through their fields; headers, list items and lengths
// stay, and no mark is set.
void changeValues(TBCFGFile& doc, Stream& stream)
{
    for (const auto& rec : doc.Records()) {
        if (stream.below(4) == 0)
            continue;
        const std::uint32_t v = stream.next() | 1; // the first field always changes
        const std::uint32_t w = stream.next();
        TBcfgRecAll* r = rec.get();
        if (auto* x = dynamic_cast<TBcfgRecString*>(r)) {
            flipByte(x->Buffer, v);
        } else if (auto* x = dynamic_cast<TBcfgRec0103*>(r)) {
            x->Value ^= v;
        } else if (auto* x = dynamic_cast<TBcfgRec05*>(r)) {
            x->ItemIndex ^= qint32(v);
        } else if (auto* x = dynamic_cast<TBcfgRec07*>(r)) {
            x->X ^= qint32(v);
            x->Y ^= qint32(w);
        } else if (auto* x = dynamic_cast<TBcfgRec08*>(r)) {
            x->R ^= quint8(v);
            x->G ^= quint8(v >> 8);
            x->B ^= quint8(v >> 16);
            x->A ^= quint8(v >> 24);
        } else if (auto* x = dynamic_cast<TBcfgRec0B*>(r)) {
            x->Checked ^= v;
        } else if (auto* x = dynamic_cast<TBcfgRec0C*>(r)) {
            x->Hour = qint8(x->Hour ^ qint8(v));
            x->Minute = qint8(x->Minute ^ qint8(v >> 8));
            if (w & 1)
                flipByte(x->TimeRest, w);
        } else if (auto* x = dynamic_cast<TBcfgRec0D*>(r)) {
            x->Year ^= qint32(v);
            x->Month = qint8(x->Month ^ qint8(w));
            x->Day = qint8(x->Day ^ qint8(w >> 8));
            if (w & 0x10000)
                flipByte(x->DateRest, w);
        } else if (auto* x = dynamic_cast<TBcfgRec0E*>(r)) {
            x->X1 ^= quint16(v);
            x->Y1 ^= quint16(v >> 16);
            x->X2 ^= quint16(w);
            x->Y2 ^= quint16(w >> 16);
        }
    }
}

// The import's path of every record, numbered: the parent's path, type code, occurrence and
// name text, with the level names it translates. Records with one number share a path.
std::vector<int> pathNumbers(const TBCFGFile& doc, bool translate)
{
    std::map<std::tuple<int, quint32, qint32, QByteArray>, int> numbers;
    std::vector<int> result;
    result.reserve(size_t(doc.Count()));
    for (const auto& rec : doc.Records()) {
        const int parent = rec->ParentIndex >= 0 ? result[size_t(rec->ParentIndex)] : -1;
        QByteArray name = rec->NameText();
        if (translate && rec->IsLevel() && name == "Normal")
            name = "First";
        else if (translate && rec->IsLevel() && name == "Locked")
            name = "Second";
        const auto key = std::make_tuple(parent, rec->TypeCode, rec->Occurrence, name);
        result.push_back(numbers.emplace(key, int(numbers.size())).first->second);
    }
    return result;
}

bool hasTranslatedLevel(const TBCFGFile& doc)
{
    for (const auto& rec : doc.Records())
        if (rec->IsLevel() && (rec->NameText() == "Normal" || rec->NameText() == "Locked"))
            return true;
    return false;
}

// Imports the original file into a copy whose texts were stored again and whose values were
// changed. A path names one record in both, so a record with a path of its own gets the
// original's bytes back (a number only when the original is in its range). Records that share a
// path (names alike up to the zero byte, or translated alike) all go to the first of them, the
// last one winning; the others keep their value.
void checkMergeIntoChangedCopy(const QByteArray& bytes, const TBCFGFile& original, bool translate,
                               Stream& stream)
{
    phase = translate ? "changed copy, translated" : "changed copy";
    const auto copy = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
    storeTexts(*copy, bytes, stream);
    changeValues(*copy, stream);
    checkLayout(*copy, original, bytes);
    check(!copy->Modified, "values set through the fields set no mark");
    const std::vector<QByteArray> before = recordImages(*copy);
    const std::vector<QByteArray> source = recordImages(original);

    phase = translate ? "import into changed copy, translated" : "import into changed copy";
    const Import::Result result = Import::MergeDocuments(*copy, original, translate);
    checkLayout(*copy, original, bytes);
    int taking = 0;
    for (const auto& rec : original.Records())
        taking += alwaysTakes(rec->TypeCode) ? 1 : 0;
    check(result.matched == original.Count(), "every record finds its path in a copy");
    check(result.accepted >= taking && result.accepted <= result.matched,
          "every record of an accepting type is taken over");

    const std::vector<int> paths = pathNumbers(original, translate);
    std::vector<int> first(paths.size(), -1), last(paths.size(), -1), members(paths.size(), 0);
    for (size_t i = 0; i < paths.size(); ++i) {
        const size_t path = size_t(paths[i]);
        if (first[path] < 0)
            first[path] = int(i);
        last[path] = int(i);
        ++members[path];
    }
    for (int i = 0; i < copy->Count(); ++i) {
        const TBcfgRecAll& rec = *copy->Record(i);
        const quint32 type = rec.TypeCode;
        const QByteArray now = recordBytes(rec);
        const size_t path = size_t(paths[size_t(i)]);
        if (type == TypeCode::Level) {
            check(now == source[size_t(i)], "level records are unchanged");
        } else if (first[path] != i) {
            check(now == before[size_t(i)], "only the first record of a path takes a value");
        } else if (members[path] == 1) {
            if (type == TypeCode::Unsigned || type == TypeCode::Signed) {
                const auto& orig = static_cast<const TBcfgRec0103&>(*original.Record(i));
                const bool inRange =
                    orig.Current() >= orig.Lowest() && orig.Current() <= orig.Highest();
                check(now == (inRange ? source[size_t(i)] : before[size_t(i)]),
                      "a number gets its own value back when it is in range");
            } else {
                check(now == source[size_t(i)], "a record with a path of its own gets it back");
            }
        } else {
            const QByteArray payload = payloadOf(now);
            const QByteArray winner = payloadOf(source[size_t(last[path])]);
            if (isText(type) && winner.size() != payload.size()) {
                const QByteArray text = TextRules::NameText(payload);
                check(TextRules::NameText(winner).startsWith(text) &&
                          payload.mid(text.size()).count('\0') == payload.size() - text.size(),
                      "a text of another length is taken as a prefix and zero bytes");
            } else if (alwaysTakes(type)) {
                check(payload == winner, "the last record of a shared path gives the value");
            } else {
                // Numbers and choices refuse some values; a choice keeps its own list.
                const qsizetype n = type == TypeCode::Choice ? 4 : payload.size();
                bool found = payload == payloadOf(before[size_t(i)]);
                for (size_t j = size_t(i); j < paths.size() && !found; ++j)
                    found =
                        paths[j] == int(path) && payloadOf(source[j]).left(n) == payload.left(n);
                check(found && (type != TypeCode::Choice ||
                                payload.mid(n) == payloadOf(before[size_t(i)]).mid(n)),
                      "a value comes from a record of the same path or stays");
            }
        }
        if (valueOf(type, now) != valueOf(type, before[size_t(i)])) {
            check(rec.Imported && copy->Modified, "a record whose value was taken is marked");
            for (const TBcfgRecAll* p = &rec; p; p = copy->Record(p->ParentIndex))
                check(p->Modified, "a changed value marks the record and its levels");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    phase = "load";

    RecordingTree tree;
    CountingReporter reporter;
    std::unique_ptr<TBCFGFile> doc;
    try {
        doc = TBCFGFile::FromBytes(bytes, &tree, &reporter);
    } catch (const BcfgError&) {
        check(tree.nodes.empty() && reporter.messages == 0, "a failed load leaves no trace");
        return 0;
    }

    if (doc->Serialize() != bytes)
        fail("a loaded file saves back byte for byte");
    check(reporter.messages == (doc->FullyLoaded() ? 0 : 1), "one message per unread block");
    check(!doc->Modified, "a loaded document is unmodified");
    checkModel(*doc);
    checkTree(*doc, tree);
    exerciseTexts(*doc);

    // The second load must not throw where the first did not.
    const auto again = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
    check(again->Count() == doc->Count(), "loading is repeatable");
    const bool translate = size > 0 && (data[0] & 1) != 0;
    phase = "import into itself";
    const Import::Result result = Import::MergeDocuments(*doc, *again, translate);
    check(result.accepted <= result.matched && result.matched <= again->Count(),
          "import counts what it saw");
    // Whichever record a path finds, taking a value over never changes a record's length.
    check(doc->Serialize().size() == bytes.size(), "import keeps every record's length");

    Stream stream(bytes);
    checkMergeIntoChangedCopy(bytes, *again, false, stream);
    // Translating only differs where a level is named so; elsewhere it would repeat the above.
    if (hasTranslatedLevel(*again))
        checkMergeIntoChangedCopy(bytes, *again, true, stream);
    return 0;
}
