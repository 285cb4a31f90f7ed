#pragma once

#include "TreeSink.h"

#include <QtGlobal>
#include <vector>

class CliOutput;
class TBCFGFile;

// Prints each entry as the load appends it (tree). Entries come in tree order
// (each the last child of an entry on the chain from the top to the entry
// before it), so only that chain is kept, however many entries the tree has.
class TreePrinter : public TreeSink
{
public:
    explicit TreePrinter(CliOutput& out) : m_out(out) {}

    Entry append(Entry parent, const QByteArray& label, TBcfgRecAll*) override;
    // Known for the entries on the chain, which is all a load asks about.
    Entry parentOf(Entry entry) override;
    void expandAll(Entry) override {}

private:
    static constexpr size_t NoParent = size_t(-1);
    static constexpr qint64 Spaces = 4096; // deeper indents are written in pieces
    // Entries are numbers plus one, so that no entry is nullptr (the root).
    static Entry toEntry(size_t index) { return reinterpret_cast<Entry>(index + 1); }
    static size_t toIndex(Entry entry)
    {
        return entry ? reinterpret_cast<size_t>(entry) - 1 : NoParent;
    }

    CliOutput& m_out;
    std::vector<size_t> m_chain;
    size_t m_count = 0;
};

// Every record of doc as a JSON line (records).
void PrintRecords(const TBCFGFile& doc, CliOutput& out);
