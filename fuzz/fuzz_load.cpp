// Loads arbitrary bytes as a configuration file and checks what must hold for every file that
// loads: it saves back byte for byte, the tree has one entry per shown record, the records are
// linked to earlier level records, and importing a file into itself keeps every record's length.
// A cut-short file (BcfgError) is an ordinary outcome.

#include "BcfgError.h"
#include "Import.h"
#include "TBCFGFile.h"
#include "TBcfgRecString.h"
#include "TreeSink.h"

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "property violated: %s\n", what);
    std::abort();
}

void check(bool holds, const char* what)
{
    if (!holds)
        fail(what);
}

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
        check(rec.TypeCode >= 1 && rec.TypeCode <= 14, "only known type codes are records");
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

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
    const Import::Result result = Import::MergeDocuments(*doc, *again, translate);
    check(result.accepted <= result.matched && result.matched <= again->Count(),
          "import counts what it saw");
    // Whichever record a path finds, taking a value over never changes a record's length.
    check(doc->Serialize().size() == bytes.size(), "import keeps every record's length");
    return 0;
}
